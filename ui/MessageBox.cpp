#include "ui/MessageBox.h"

#include "core/Messages.h"
#include "core/RuntimeError.h"
#include "core/Version.h"
#include "ui/LoadedWindows.h"

#include <QApplication>
#include <QMessageBox>

namespace morvex {
namespace {

std::function<void(QMessageBox &)> &hook() {
    static std::function<void(QMessageBox &)> installed;
    return installed;
}

// The box is shown as a nested loop of the window that asks (a close from
// outside dismisses it, as if the default were answered) or handed to the
// hook. Returns the button answered.
int show(QMessageBox::Icon icon, const QString &text, const QString &title,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, title.isEmpty() ? QString::fromUtf8(ApplicationTitle) : title, text,
                    buttons, QApplication::activeWindow());
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(defaultButton);
    box.setWindowModality(Qt::ApplicationModal);
    if (hook())
        hook()(box);
    else
        LoadedWindows::runNested(&box, [&] { box.exec(); });
    return box.result();
}

} // namespace

void MsgBox(const QString &text, const QString &title) {
    show(QMessageBox::Warning, text, title, QMessageBox::Ok, QMessageBox::Ok);
}

bool AskYesNo(const QString &text, const QString &title) {
    return show(QMessageBox::Question, text, title, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

void ShowRuntimeError(const RuntimeError &error) {
    if (error.number == Overflow)
        MsgBox(message::OverflowText, message::OverflowTitle);
    else
        MsgBox(QString::fromStdString(error.description));
}

void setMessageBoxHook(std::function<void(QMessageBox &)> newHook) {
    hook() = std::move(newHook);
}

} // namespace morvex
