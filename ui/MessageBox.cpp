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

} // namespace

void MsgBox(const QString &text, const QString &title) {
    QMessageBox box(QMessageBox::Warning,
                    title.isEmpty() ? QString::fromUtf8(ApplicationTitle) : title, text,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    if (hook())
        hook()(box);
    else
        LoadedWindows::runNested(&box, [&] { box.exec(); });
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
