#include "ui/FileDialog.h"

#include "core/Export.h"
#include "ui/LoadedWindows.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

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

void SaveCsvFile(QWidget *parent, const QString &name, const QByteArray &contents) {
    const QString path =
        GetSaveFileName(parent, QStringLiteral("CSVで保存"), DocumentsFolder() + u'/' + name,
                        QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)"));
    if (path.isEmpty())
        return;
    const QString reason = WriteWholeFile(path, contents);
    if (!reason.isEmpty())
        MsgBox(QStringLiteral("%1 に保存できませんでした。\r\n%2")
                   .arg(QDir::toNativeSeparators(path), reason));
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void setSaveFileNameHook(std::function<QString(const QString &, const QString &)> newHook) {
    hook() = std::move(newHook);
}

} // namespace morvex
