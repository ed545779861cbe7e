#include "ui/FileDialog.h"

#include "ui/LoadedWindows.h"

#include <QFileDialog>

namespace morvex {
namespace {

std::function<QString(const QString &, const QString &)> &hook() {
    static std::function<QString(const QString &, const QString &)> installed;
    return installed;
}

} // namespace

// The dialog's loop is a nested one like a message box's: a close from
// outside dismisses it, as if cancelled.
QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                        const QString &filter) {
    if (hook())
        return hook()(caption, suggestedPath);
    QFileDialog dialog(parent, caption, suggestedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowModality(Qt::ApplicationModal);
    bool accepted = false;
    LoadedWindows::runNested(&dialog, [&] { accepted = dialog.exec() == QDialog::Accepted; });
    return accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().constFirst()
                                                         : QString();
}

void setSaveFileNameHook(std::function<QString(const QString &, const QString &)> newHook) {
    hook() = std::move(newHook);
}

} // namespace morvex
