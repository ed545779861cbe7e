// The race record kept in its database: changes last and come back, every
// kind of thing that can stand in the record's place is either read, set
// aside or left alone (never overwritten, never waited for), copies of the
// program recording at once each keep their races, and a copy killed at any
// moment loses nothing it had shown as done.
//
// Some cases run copies: this test started again as
//   tst_racestore adder FILE PREFIX N  records N races, PREFIX0 … PREFIXn
//   tst_racestore recorder FILE        records a race, sets it 的中, records
//                                      the next, … printing a line after
//                                      each change, until killed
#include "core/RaceStore.h"
#include "core/RuntimeError.h"
#include "tests/TestData.h"
#include "tests/core/ErrorOf.h"
#include "tools/Driver.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <functional>
#ifndef Q_OS_WIN
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

Race race(const QString &name, RaceResult result = RaceResult::Pending, qint64 payout = 0) {
    return {0, QDate(2025, 6, 1), name, TicketType::Win, 30, Yen(1000), result, Yen(payout)};
}

QString names(const QList<Race> &races) {
    QStringList list;
    for (const Race &r : races)
        list.append(r.name + (r.result == RaceResult::Hit ? u"*"_s : QString()));
    return list.join(u' ');
}

QString kind(const QString &path) {
    const QFileInfo info(path);
    return !info.exists()  ? u"missing"_s
           : info.isDir()  ? u"folder"_s
           : info.isFile() ? u"file"_s
                           : u"other"_s;
}

// A record of `count` races at `file`.
void recordRaces(const QString &file, int count) {
    RaceStore store(file);
    for (int i = 0; i < count; ++i)
        if (!store.add(race(u"R%1"_s.arg(i))).isEmpty())
            qFatal("cannot record");
}

QString integrity(const QString &file) {
    QString result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(file);
        QSqlQuery query(db);
        result = db.open() && query.exec(u"PRAGMA integrity_check"_s) && query.next()
                     ? query.value(0).toString()
                     : u"not read"_s;
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    return result;
}

// Makes a file or a folder read-only for this process, root included, until
// the returned undo runs; nothing when the system does not let it.
using Undo = std::function<void()>;
std::optional<Undo> makeReadOnly(const QString &path) {
#ifdef Q_OS_WIN
    if (QFileInfo(path).isDir()) // a folder's read-only mark keeps no file out
        return std::nullopt;
#else
    if (::geteuid() == 0) { // root writes whatever the permissions say
        const QByteArray name = QFile::encodeName(path);
        if (::mount(name, name, nullptr, MS_BIND, nullptr) != 0)
            return std::nullopt;
        if (::mount(nullptr, name, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0)
            return [=] { ::umount(name); };
        ::umount(name);
        return std::nullopt;
    }
#endif
    const QFileDevice::Permissions was = QFile::permissions(path);
    QFile::setPermissions(path, was & ~QFileDevice::Permissions(0x2222)); // no Write* flags
    return [=] { QFile::setPermissions(path, was); };
}

// Makes what the test names stand at the record's place; its undo, or
// nothing where this system cannot make it.
std::optional<Undo> place(const QString &what, const QString &file) {
    const QString folder = QFileInfo(file).absolutePath();
    if (what == u"damaged page"_s || what == u"damaged header"_s) {
        recordRaces(file, 50);
        QByteArray bytes = contents(file);
        // the table's first page, or the file's first 16 bytes
        writeFile(file, what.endsWith(u"page"_s) ? bytes.replace(4096, 4096, QByteArray(4096, 'Z'))
                                                 : bytes.replace(0, 16, QByteArray(16, 'Z')));
    } else if (what == u"text, another set aside before"_s) {
        writeFile(file + u".damaged"_s, "kept before");
        writeFile(file, "1000,3.0\r\n");
    } else if (what == u"another program's database"_s) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"other"_s);
            db.setDatabaseName(file);
            db.open();
            QSqlQuery(db).exec(u"CREATE TABLE notes (text)"_s);
        }
        QSqlDatabase::removeDatabase(u"other"_s);
    } else if (what == u"empty file"_s) {
        writeFile(file, {});
    } else if (what == u"held by another copy"_s) {
        // a copy in the middle of a change for longer than the store waits
        recordRaces(file, 1);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"holder"_s);
        db.setDatabaseName(file);
        if (!db.open() || !QSqlQuery(db).exec(u"BEGIN EXCLUSIVE"_s))
            qFatal("cannot hold the record");
        return Undo([] {
            QSqlDatabase::database(u"holder"_s, false).close();
            QSqlDatabase::removeDatabase(u"holder"_s);
        });
    } else if (what == u"folder"_s) {
        QDir().mkpath(file);
    } else if (what == u"read-only record"_s) {
        recordRaces(file, 3);
        return makeReadOnly(file);
    } else if (what.startsWith(u"read-only folder"_s)) {
        if (what.endsWith(u"record"_s))
            recordRaces(file, 2);
        if (what.endsWith(u"text"_s))
            writeFile(file, "not a record");
        if (what.endsWith(u"empty file"_s))
            writeFile(file, {});
        return makeReadOnly(folder);
#ifndef Q_OS_WIN
    } else if (what == u"pipe"_s || what == u"pipe for its journal"_s) {
        if (what.endsWith(u"journal"_s))
            recordRaces(file, 1);
        ::mkfifo(
            QFile::encodeName(file + (what.endsWith(u"journal"_s) ? u"-journal"_s : QString())),
            0644);
    } else if (what == u"link to a device"_s) {
        QFile::link(u"/dev/null"_s, file);
    } else if (what == u"link to a folder"_s) {
        QDir().mkpath(file + u".d"_s);
        QFile::link(file + u".d"_s, file);
#endif
    } else {
        return std::nullopt;
    }
    return Undo([] {});
}

struct Guard {
    Undo undo;
    ~Guard() {
        if (undo)
            undo();
    }
};

int child(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    RaceStore store(args[2]);
    if (args[1] == u"adder"_s) {
        for (int i = 0; i < args[4].toInt(); ++i)
            if (const QString problem = store.add(race(args[3] + QString::number(i)));
                !problem.isEmpty())
                return std::fprintf(stderr, "%s\n", qPrintable(problem)), 1;
        return 0;
    }
    for (;;) {
        const QList<Race> races = store.load().races;
        if (!races.isEmpty() && races.last().result == RaceResult::Pending) {
            Race hit = races.last();
            hit.result = RaceResult::Hit;
            hit.payout = Yen(3000);
            if (store.change(hit).isEmpty())
                std::printf("hit %s\n", qPrintable(hit.name));
        } else {
            const QString name = u"R%1"_s.arg(races.size());
            if (store.add(race(name)).isEmpty())
                std::printf("added %s\n", qPrintable(name));
        }
        std::fflush(stdout);
    }
}

} // namespace

class TestRaceStore : public QObject {
    Q_OBJECT
    std::optional<driver::ScratchSettings> scratch_;

private slots:
    // Each case has a scratch record of its own, as every window test has.
    void init() {
        scratch_.emplace();
        QVERIFY(RecordFile().startsWith(scratch_->folder()));
    }
    void cleanup() { scratch_.reset(); }

    void changesLast() {
        {
            RaceStore store;
            QCOMPARE(store.access(), RaceStore::Access::Changes);
            QCOMPARE(store.notice(), QString());
            for (const QString &name : {u"東京11R"_s, u"中山12R"_s, QString(), u"last"_s})
                QCOMPARE(store.add(race(name)), QString());
            QList<Race> races = store.load().races;
            QCOMPARE(names(races), u"東京11R 中山12R  last"_s);
            QVERIFY(races[0].id < races[1].id && races[1].id < races[2].id);

            races[1] = {races[1].id, QDate(2025, 6, 2),    u"阪神1R"_s,     TicketType::Win5,
                        12345,       Yen(900000000000000), RaceResult::Hit, Yen(922337203685477)};
            QCOMPARE(store.change(races[1]), QString());
            races[2].result = RaceResult::Miss;
            races[2].payout = Yen(500); // only a 的中 keeps a payout
            QCOMPARE(store.change(races[2]), QString());
            QCOMPARE(store.remove(races[0].id), QString());
            QCOMPARE(store.remove(races[3].id), QString());
            const QString gone =
                u"変更を保存できませんでした（このレースはもう記録にありません）。"_s;
            QCOMPARE(store.remove(races[0].id), gone);
            QCOMPARE(store.change(races[0]), gone);
            // A number is never given again, even that of the last race removed.
            QCOMPARE(store.add(race(u"new"_s)), QString());
            QVERIFY(store.load().races.last().id > races[3].id);
        }
        const QList<Race> races = RaceStore().load().races;
        QCOMPARE(names(races), u"阪神1R*  new"_s);
        QCOMPARE(races[0].date, QDate(2025, 6, 2));
        QCOMPARE(races[0].ticket, TicketType::Win5);
        QCOMPARE(races[0].oddsTenths, 12345);
        QCOMPARE(races[0].stake, Yen(900000000000000));
        QCOMPARE(races[0].payout, Yen(922337203685477));
        QCOMPARE(races[1].result, RaceResult::Miss);
        QCOMPARE(races[1].payout, Amount());
    }

    // A change that takes a figure beyond the range raises Overflow and
    // records nothing.
    void overflowRecordsNothing() {
        RaceStore store;
        Race large = race(u"large"_s);
        large.stake = Yen(922337203685400);
        QCOMPARE(store.add(large), QString());
        QCOMPARE(errorOf([&] { store.add(race(u"one more"_s)); }), int(Overflow));
        Race changed = store.load().races[0];
        changed.name = u"changed"_s;
        QCOMPARE(store.change(changed), QString());
        QCOMPARE(names(store.load().races), u"changed"_s);
    }

    // Whatever stands in the record's place: what the store can do, what it
    // says and how many races it shows. A record it can change takes a race
    // and has set aside what stood there byte for byte; any other leaves the
    // place as it was.
    void inItsPlace_data() { addRowsFrom("core/places.txt"); }

    void inItsPlace() {
        const auto [what, access, notice, shown] = cells<4>();
        const QString file = scratch_->folder() + u"/record/racelog.db"_s;
        QDir().mkpath(scratch_->folder() + u"/record"_s);
        const std::optional<Undo> undo = place(what, file);
        if (!undo)
            QSKIP("this system cannot make that place for this process");
        const Guard guard{*undo};
        const QString was = kind(file);
        const QByteArray bytes = contents(file);
        const QStringList around = QDir(scratch_->folder() + u"/record"_s).entryList();

        RaceStore store(file);
        const auto expected =
            RaceStore::Access(QStringList{u"changes"_s, u"read-only"_s, u"none"_s}.indexOf(access));
        QCOMPARE(store.access(), expected);
        const QString keptAs =
            file + (notice.contains(u"%2.1"_s) ? u".damaged.1"_s : u".damaged"_s);
        QCOMPARE(store.notice(),
                 QString(notice)
                     .replace(u"%2"_s, QDir::toNativeSeparators(file + u".damaged"_s))
                     .replace(u"%1"_s, QDir::toNativeSeparators(file)));
        QCOMPARE(store.load().races.size(), shown.toInt());
        const QString added = store.add(race(u"new"_s));
        if (expected == RaceStore::Access::Changes) {
            QCOMPARE(added, QString());
            QCOMPARE(names(RaceStore(file).load().races), u"new"_s);
            if (!notice.isEmpty())
                QCOMPARE(contents(keptAs), bytes);
        } else {
            QCOMPARE(added, expected == RaceStore::Access::ReadOnly
                                ? u"レース記録は書き込みできないため、変更は保存できません。"_s
                                : u"レース記録が使えないため、変更は保存できません。"_s);
            QCOMPARE(kind(file), was);
            QCOMPARE(contents(file), bytes);
            QCOMPARE(QDir(scratch_->folder() + u"/record"_s).entryList(), around);
        }
    }

    // Two copies recording at the same time each keep every race.
    void twoCopiesAtOnce() {
        QProcess copies[2];
        for (int i = 0; i < 2; ++i)
            copies[i].start(QCoreApplication::applicationFilePath(),
                            {u"adder"_s, RecordFile(), QString(QChar(u'A' + i)), u"40"_s});
        for (QProcess &copy : copies) {
            QVERIFY(copy.waitForFinished(60000));
            QCOMPARE(copy.readAllStandardError(), QByteArray());
            QCOMPARE(copy.exitCode(), 0);
        }
        QStringList a, b;
        for (const Race &r : RaceStore().load().races)
            (r.name.startsWith(u'A') ? a : b).append(r.name);
        QStringList expectedA, expectedB;
        for (int i = 0; i < 40; ++i)
            expectedA.append(u"A%1"_s.arg(i)), expectedB.append(u"B%1"_s.arg(i));
        QCOMPARE(a, expectedA);
        QCOMPARE(b, expectedB);
        QCOMPARE(integrity(RecordFile()), u"ok"_s);
    }

    // A copy killed at random moments, many times: every change it had
    // printed as done is in the record, at most the one it was making
    // besides, and the database is whole.
    void killedWhileRecording() {
#ifdef Q_OS_WIN
        QSKIP("kills by signal: Linux only");
#else
        const QString file = RecordFile();
        int changes = 0;
        for (int kill = 0; kill < 40; ++kill) {
            QProcess copy;
            copy.start(QCoreApplication::applicationFilePath(), {u"recorder"_s, file});
            // once it has recorded, at a random moment of what follows
            QVERIFY(copy.waitForReadyRead(30000));
            QThread::usleep(QRandomGenerator::global()->bounded(100000));
            copy.kill(); // SIGKILL
            QVERIFY(copy.waitForFinished());
            const QList<QByteArray> printed = copy.readAllStandardOutput().split('\n');
            QCOMPARE(integrity(file), u"ok"_s);
            const QList<Race> races = RaceStore(file).load().races;
            const int now = 2 * int(races.size()) -
                            (!races.isEmpty() && races.last().result == RaceResult::Pending);
            const int done = int(printed.size()) - 1; // the last line is empty
            QVERIFY2(now - changes == done || now - changes == done + 1,
                     qPrintable(u"%1 changes printed, %2 made"_s.arg(done).arg(now - changes)));
            for (const QByteArray &line : printed.first(done)) {
                const int i = line.mid(line.indexOf(" R") + 2).toInt();
                QCOMPARE(races.value(i).name, u"R%1"_s.arg(i));
                if (line.startsWith("hit"))
                    QCOMPARE(races[i].result, RaceResult::Hit);
            }
            changes = now;
        }
#endif
    }
};

int main(int argc, char *argv[]) {
    if (argc > 1 && QByteArrayList{"adder", "recorder"}.contains(argv[1]))
        return child(argc, argv);
    QCoreApplication app(argc, argv);
    TestRaceStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_racestore.moc"
