#include "ui/FileDialog.h"

#include <QFileDialog>

namespace morvex {
namespace {

std::function<QString(const QString &, const QString &)> &hook() {
    static std::function<QString(const QString &, const QString &)> installed;
    return installed;
}

} // namespace

QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &suggestedPath,
                        const QString &filter) {
    if (hook())
        return hook()(caption, suggestedPath);
    return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
}

void setSaveFileNameHook(std::function<QString(const QString &, const QString &)> newHook) {
    hook() = std::move(newHook);
}

} // namespace morvex
