#include "core/Export.h"

#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace morvex {

QByteArray CsvDocument(const QList<QStringList> &records) {
    QString text;
    for (const QStringList &record : records) {
        QStringList cells;
        for (QString cell : record) {
            if (cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\r') ||
                cell.contains(u'\n'))
                cell = u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
            cells.append(cell);
        }
        text += cells.join(u',') + u"\r\n"_s;
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}

QString WriteWholeFile(const QString &path, const QByteArray &bytes) {
    // Unbuffered: a write that fails says so at once. With a buffer, the
    // failure would come only while committing, and some Qt versions then
    // commit what was written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace morvex
