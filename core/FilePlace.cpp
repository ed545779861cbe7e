#include "core/FilePlace.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace morvex {

QString RegularFile(const QString &path) {
    QString current = path;
    for (int hop = 0; hop < 40; ++hop) {
        const QFileInfo info(current);
        if (info.isSymbolicLink()) {
            current = info.symLinkTarget(); // absolute
            if (current.isEmpty())
                return {};
        } else if (info.exists()) {
            return info.isFile() ? current : QString();
        } else {
            return QFileInfo(info.absolutePath()).isDir() ? current : QString();
        }
    }
    return {}; // a loop of links
}

QString SetAside(const QString &path) {
    for (int n = 0; n < 1000; ++n) {
        const QString kept = path + u".damaged"_s + (n > 0 ? u'.' + QString::number(n) : QString());
        if (!QFileInfo::exists(kept) && !QFileInfo(kept).isSymLink() && QFile::rename(path, kept))
            return kept;
    }
    return {};
}

} // namespace morvex
