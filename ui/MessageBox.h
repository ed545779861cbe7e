#pragma once

#include <QString>
#include <functional>

class QMessageBox;

namespace morvex {

struct RuntimeError;

// Shows a modal message box with the warning icon and a single OK button.
// An empty title shows the application title.
void MsgBox(const QString &text, const QString &title = QString());

// Asks a question in a modal box with the question icon and the buttons
// Yes and No (No the default); true for Yes. An empty title shows the
// application title.
bool AskYesNo(const QString &text, const QString &title = QString());

// Explains a run-time error to the user: the overflow message for Overflow,
// the error's description under the application title for anything else.
void ShowRuntimeError(const RuntimeError &error);

// While a hook is set, every box is built exactly as it would be shown and
// handed to the hook instead of being shown (tests read title, text and icon
// there, and answer a question with QMessageBox::done). Pass an empty
// function to show boxes again.
void setMessageBoxHook(std::function<void(QMessageBox &)> hook);

} // namespace morvex
