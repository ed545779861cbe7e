#pragma once

// Test data kept as tables in text files beside the tests: one row a line,
// its cells separated by "|" (one blank on either side of a cell is not
// part of it), the first cell the row's tag; a line starting with "#" is a
// comment. In a cell, \t, \r, \n, \\, \xHH and \uHHHH stand for those
// characters (\xHH for U+00HH, so that a cell of bytes reads back with
// toLatin1()).
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <array>
#include <utility>
#ifndef Q_OS_WIN
#include <sys/mount.h>
#endif

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

// The bytes of a regular file, or none (a pipe in its place is not read).
inline QByteArray contents(const QString &path) {
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                      : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

#ifndef Q_OS_WIN
// Writes to the file until the disk is full.
void fill(const QString &path) {
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
}

// A file system of 64 KiB of its own, mounted on a folder while it lives.
struct SmallDisk {
    explicit SmallDisk(const QString &folder)
        : where(QFile::encodeName(folder)),
          mounted(::mount("tmpfs", where, "tmpfs", 0, "size=64k") == 0) {}
    ~SmallDisk() {
        if (mounted)
            ::umount2(where, MNT_DETACH);
    }
    QByteArray where;
    bool mounted;
};
#endif

// The rows of the file (a path under tests/), each as its cells.
inline QList<QStringList> rowsOf(const char *file) {
    QFile table(QFINDTESTDATA(file));
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

// Adds a test row per row of the file, its cells in one column.
inline void addRowsFrom(const char *file) {
    QTest::addColumn<QStringList>("row");
    for (QStringList cells : rowsOf(file))
        QTest::newRow(qPrintable(cells.takeFirst())) << cells;
}

// Adds a test row per row of the file, its cells in typed columns of these
// names (QVariant's conversions from text: "inf" for an infinite float):
//   addRowsFrom<qint32, float, QString>("core/races.txt", {"start", "odds", "figures"});
template <typename... T>
void addRowsFrom(const char *file, const std::array<const char *, sizeof...(T)> &names) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (QTest::addColumn<T>(names[I]), ...);
        for (QStringList cells : rowsOf(file)) {
            const QString tag = cells.takeFirst();
            if (cells.size() != qsizetype(sizeof...(T)))
                qFatal("%s, row %s: not %d cells", file, qPrintable(tag), int(sizeof...(T)));
            (QTest::newRow(qPrintable(tag)) << ... << QVariant(cells[I]).value<T>());
        }
    }
    (std::index_sequence_for<T...>{});
}

// The current test row's N cells, to be bound to names:
//   const auto [start, odds] = cells<2>();
template <std::size_t N> std::array<QString, N> cells() {
    QFETCH(QStringList, row);
    if (row.size() != qsizetype(N))
        qFatal("row %s: not %d cells", QTest::currentDataTag(), int(N));
    std::array<QString, N> named;
    std::copy(row.begin(), row.end(), named.begin());
    return named;
}

} // namespace morvex::test
