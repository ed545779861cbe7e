#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Files for other programs: comma-separated values as a spreadsheet opens
// them, and a file written whole or not at all.
namespace morvex {

// Comma-separated values: one record a line, each line ending in CR LF, in
// UTF-8 after a byte-order mark (without one a Japanese spreadsheet takes
// the file for Shift-JIS). A cell holding a comma, a double quote or a line
// break is quoted, its double quotes doubled; other cells stand as they are.
QByteArray CsvDocument(const QList<QStringList> &records);

// Replaces or creates the file at `path` with `bytes` in one step: a
// failure leaves no partial file, and an existing file as it was. Returns
// the reason of a failure, or nothing.
QString WriteWholeFile(const QString &path, const QByteArray &bytes);

} // namespace morvex
