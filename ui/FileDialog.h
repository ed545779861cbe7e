#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace morvex {

// Asks where to save a file: the platform's save dialog (the native one
// where there is one), modal to `parent`, opening on `suggestedPath` and
// showing files that match `filter`. The dialog itself asks before an
// existing file is replaced. Returns the chosen path, or nothing when the
// user cancels.
QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                        const QString &filter);

// Saves a comma-separated file where the user says: the save dialog opens
// on `name` in the documents folder, the file is written whole or not at
// all, and a failure is told with its reason.
void SaveCsvFile(QWidget *parent, const QString &name, const QByteArray &contents);

// The user's documents folder, where a file is saved first; the home folder
// where there is none (a desktop without its user folders).
QString DocumentsFolder();

// While a hook is set, every save dialog is skipped: the hook gets the
// caption and the suggested path and answers in the user's place (empty:
// cancelled). Pass an empty function to show the dialogs again.
void setSaveFileNameHook(std::function<QString(const QString &, const QString &)> hook);

} // namespace morvex
