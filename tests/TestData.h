#pragma once

// Test data kept as tables in text files beside the tests: one row a line,
// its cells separated by "|" (one blank on either side of a cell is not
// part of it), the first cell the row's tag; a line starting with "#" is a
// comment. In a cell, \t, \r, \n, \\, \xHH and \uHHHH stand for those
// characters (\xHH for U+00HH, so that a cell of bytes reads back with
// toLatin1()).
#include <QFile>
#include <QTest>

namespace morvex::test {

inline QString unescaped(const QString &cell) {
    QString out;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        const QChar e = i + 1 < cell.size() ? cell[i + 1] : QChar();
        if (c != u'\\' || !QStringView(u"trn\\xu").contains(e)) {
            out += c;
        } else if (e == u'x' || e == u'u') {
            const int digits = e == u'x' ? 2 : 4;
            out += QChar(char16_t(cell.mid(i + 2, digits).toUShort(nullptr, 16)));
            i += 1 + digits;
        } else {
            out += e == u't' ? u'\t' : e == u'r' ? u'\r' : e == u'n' ? u'\n' : u'\\';
            ++i;
        }
    }
    return out;
}

// The rows of the file (a path under tests/), each as its cells.
inline QList<QStringList> rowsOf(const char *file) {
    QFile table(QStringLiteral(MORVEX_SOURCE_DIR "/tests/") + QLatin1String(file));
    if (!table.open(QIODevice::ReadOnly))
        qFatal("no test data %s", file);
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(table.readAll()).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        rows.append(line.split(u'|'));
        for (QString &cell : rows.last())
            cell = unescaped(
                cell.sliced(cell.startsWith(u' ')).chopped(cell.size() > 1 && cell.endsWith(u' ')));
    }
    return rows;
}

// Adds one QString column per name and a test row per row of the file.
inline void addRowsFrom(const char *file, std::initializer_list<const char *> columns) {
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    for (QStringList cells : rowsOf(file)) {
        if (cells.size() != qsizetype(columns.size()) + 1)
            qFatal("%s: not %d cells: %s", file, int(columns.size()) + 1,
                   qPrintable(cells.join(u'|')));
        QTestData &row = QTest::newRow(qPrintable(cells.takeFirst()));
        for (const QString &cell : cells)
            row << cell;
    }
}

} // namespace morvex::test
