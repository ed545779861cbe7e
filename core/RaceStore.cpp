#include "core/RaceStore.h"

#include "core/FilePlace.h"
#include "core/RaceLog.h"
#include "core/RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

QString &folderInUse() {
    static QString folder;
    return folder;
}

// The user_version of the record this program makes.
constexpr int RecordVersion = 1;
// How long a change waits for another copy's change to end.
constexpr int BusyTimeoutMs = 5000;

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// SQLite's primary result code of a failure.
int resultCode(const QSqlError &error) {
    return error.nativeErrorCode().toInt() & 0xff;
}

// Why a statement failed, in the user's words where there are any.
QString reason(const QSqlError &error) {
    switch (resultCode(error)) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return u"他のMorvexが記録を使用中です"_s;
    case 8: // SQLITE_READONLY
        return u"記録に書き込みできません"_s;
    case 13: // SQLITE_FULL
        return u"ディスクがいっぱいです"_s;
    default:
        return error.text();
    }
}

QString unusable(const QString &what) {
    return what + u"記録は使えません（他の機能はそのまま使えます）。"_s;
}

// The record's one table. Every value is checked as it is written, so a
// record only ever holds races the program can show.
QString tableStatement() {
    QStringList tickets, results;
    for (int i = 0; i < TicketTypes; ++i)
        tickets.append(u'\'' + TicketName(TicketType(i)) + u'\'');
    for (RaceResult result : {RaceResult::Pending, RaceResult::Hit, RaceResult::Miss})
        results.append(u'\'' + ResultName(result) + u'\'');
    return uR"(CREATE TABLE races (
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    date TEXT NOT NULL CHECK (date IS date(date)),
    name TEXT NOT NULL CHECK (length(name) <= 40),
    ticket TEXT NOT NULL CHECK (ticket IN (%1)),
    odds INTEGER NOT NULL CHECK (odds > 10),
    stake INTEGER NOT NULL CHECK (stake >= 100 AND stake % 100 = 0 AND stake <= %3),
    result TEXT NOT NULL CHECK (result IN (%2)),
    payout INTEGER NOT NULL CHECK (payout >= 0 AND payout <= %3 AND (result = '的中' OR payout = 0))
) STRICT)"_s.arg(tickets.join(u", "_s), results.join(u", "_s),
                 QString::number(qint64(MostWholeYen)));
}

// What a database holds: this program's record, nothing yet, something
// else (a damaged file, or not a database at all), or what cannot be told
// now (another copy holds it, the disk fails).
enum class Found { Record, Nothing, NotARecord, Unreadable };

Found inspect(const QSqlDatabase &db, QString &why) {
    QSqlQuery query(db);
    const auto failed = [&] {
        why = reason(query.lastError());
        const int code = resultCode(query.lastError());
        return code == 11 /* SQLITE_CORRUPT */ || code == 26 /* SQLITE_NOTADB */
                   ? Found::NotARecord
                   : Found::Unreadable;
    };
    if (!query.exec(u"PRAGMA quick_check"_s) || !query.next())
        return failed();
    if (query.value(0).toString() != u"ok"_s)
        return Found::NotARecord;
    if (!query.exec(u"SELECT (SELECT user_version FROM pragma_user_version), "
                    u"(SELECT count(*) FROM sqlite_master)"_s) ||
        !query.next())
        return failed();
    const int version = query.value(0).toInt(), objects = query.value(1).toInt();
    if (version == RecordVersion)
        return Found::Record;
    return version == 0 && objects == 0 ? Found::Nothing : Found::NotARecord;
}

// Makes the record's table in a database that holds nothing. Another copy
// may be making it at the same moment: the first one does.
QString makeRecord(const QSqlDatabase &db) {
    QSqlQuery query(db);
    if (!query.exec(u"BEGIN IMMEDIATE"_s))
        return reason(query.lastError());
    QString why;
    switch (inspect(db, why)) {
    case Found::Nothing:
        if (!query.exec(tableStatement()) ||
            !query.exec(u"PRAGMA user_version = %1"_s.arg(RecordVersion))) {
            why = reason(query.lastError());
            break;
        }
        [[fallthrough]];
    case Found::Record:
        if (query.exec(u"COMMIT"_s))
            return {};
        why = reason(query.lastError());
        break;
    case Found::NotARecord:
        why = u"記録ではありません"_s;
        break;
    case Found::Unreadable:
        break;
    }
    query.exec(u"ROLLBACK"_s);
    return why;
}

// The races of the record, in the order recorded, or why they cannot be read.
QString readRaces(const QSqlDatabase &db, QList<Race> &races) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(u"SELECT id, date, name, ticket, odds, stake, result, payout FROM races "
                    u"ORDER BY id"_s))
        return reason(query.lastError());
    while (query.next()) {
        const std::optional<TicketType> ticket = TicketNamed(query.value(3).toString());
        const std::optional<RaceResult> result = ResultNamed(query.value(6).toString());
        const QDate date = QDate::fromString(query.value(1).toString(), Qt::ISODate);
        if (!ticket || !result || !date.isValid())
            return u"%1番のレースが読めません"_s.arg(query.value(0).toLongLong());
        races.append({query.value(0).toLongLong(), date, query.value(2).toString(), *ticket,
                      query.value(4).toLongLong(), Yen(query.value(5).toLongLong()), *result,
                      Yen(query.value(7).toLongLong())});
    }
    return query.lastError().isValid() ? reason(query.lastError()) : QString();
}

// Binds a race's fields in the order of the table's columns after its id.
void bindRace(QSqlQuery &query, const Race &race) {
    query.addBindValue(race.date.toString(Qt::ISODate));
    query.addBindValue(race.name.isNull() ? u""_s : race.name);
    query.addBindValue(TicketName(race.ticket));
    query.addBindValue(qint64(race.oddsTenths));
    query.addBindValue(qint64(WholeYen(race.stake)));
    query.addBindValue(ResultName(race.result));
    query.addBindValue(qint64(WholeYen(race.payout)));
}

// A race as it is kept: only a 的中 has a payout.
Race kept(Race race) {
    if (race.result != RaceResult::Hit)
        race.payout = Amount();
    return race;
}

} // namespace

QString RecordFile() {
    const QString folder =
        !folderInUse().isEmpty()
            ? folderInUse()
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/morvex"_s;
    return folder + u"/racelog.db"_s;
}

void UseRecordFolder(const QString &folder) {
    folderInUse() = folder;
}

RaceStore::RaceStore(const QString &file) : file_(file) {
    static int count = 0;
    connection_ = u"morvex-record-%1"_s.arg(++count);
    notice_ = open();
}

RaceStore::~RaceStore() {
    disconnect();
}

QString RaceStore::open() {
    const QString folder = QFileInfo(file_).absolutePath();
    if (!QDir().mkpath(folder))
        return unusable(u"レース記録のフォルダ %1 を作れないため、"_s.arg(shown(folder)));
    // Nothing but a regular file is opened: SQLite would wait for ever on a
    // pipe, its own journal included.
    const QString path = RegularFile(file_);
    const QString journal = path + u"-journal"_s;
    if (path.isEmpty() || (QFileInfo(journal).exists() && RegularFile(journal).isEmpty()))
        return unusable(u"レース記録 %1 の場所にファイルでないもの（フォルダなど）があるため、"
                        u"開かずにそのままにしました。"_s.arg(shown(file_)));
    const bool exists = QFileInfo::exists(path);
    const bool writable = QFileInfo(QFileInfo(path).absolutePath()).isWritable() &&
                          (!exists || QFileInfo(path).isWritable());
    if (!exists && !writable)
        return unusable(u"レース記録 %1 を作れない（書き込みできない）ため、"_s.arg(shown(file_)));
    file_ = path;
    if (const QString problem = connect(!writable); !problem.isEmpty())
        return problem;

    QString why, notice;
    Found found = inspect(QSqlDatabase::database(connection_, false), why);
    if (found == Found::NotARecord) {
        disconnect();
        if (!writable)
            return unusable(u"レース記録 %1 は壊れているか記録ではないため読めません。"
                            u"書き込みできない場所なのでそのままにしました。"_s.arg(shown(path)));
        const QString keptAs = SetAside(path);
        if (keptAs.isEmpty())
            return unusable(
                u"レース記録 %1 は壊れているか記録ではないため読めず、"
                u"別の名前に移すこともできないため、そのままにしました。"_s.arg(shown(path)));
        // A journal goes with its file, never rolled back into a fresh one.
        if (QFileInfo::exists(journal))
            QFile::rename(journal, keptAs + u"-journal"_s);
        notice = u"レース記録 %1 は壊れていたため %2 として残し、新しい記録を始めました。"_s.arg(
            shown(path), shown(keptAs));
        if (const QString problem = connect(false); !problem.isEmpty())
            return problem;
        found = inspect(QSqlDatabase::database(connection_, false), why);
    }
    if (found == Found::Unreadable || found == Found::NotARecord) {
        disconnect();
        return unusable(u"レース記録 %1 を読めない（%2）ため、"_s.arg(shown(path), why));
    }
    if (found == Found::Nothing && writable) {
        if (const QString problem = makeRecord(QSqlDatabase::database(connection_, false));
            !problem.isEmpty()) {
            disconnect();
            return unusable(u"レース記録 %1 を作れない（%2）ため、"_s.arg(shown(path), problem));
        }
    }
    empty_ = found == Found::Nothing && !writable;
    access_ = writable ? Access::Changes : Access::ReadOnly;
    if (!writable)
        notice =
            u"レース記録 %1 は書き込みできないため、記録を表示するだけで変更は保存できません。"_s
                .arg(shown(path));
    return notice;
}

QString RaceStore::connect(bool readOnly) {
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection_);
    if (!db.isValid())
        return unusable(u"レース記録に使う SQLite を読み込めないため、"_s);
    db.setDatabaseName(file_);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(BusyTimeoutMs) +
                         (readOnly ? u";QSQLITE_OPEN_READONLY"_s : QString()));
    if (!db.open())
        return unusable(
            u"レース記録 %1 を開けない（%2）ため、"_s.arg(shown(file_), reason(db.lastError())));
    return {};
}

void RaceStore::disconnect() {
    if (!QSqlDatabase::contains(connection_))
        return;
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

RaceStore::Contents RaceStore::load() const {
    Contents contents;
    if (access_ == Access::None || empty_)
        return contents;
    contents.problem = readRaces(QSqlDatabase::database(connection_, false), contents.races);
    if (!contents.problem.isEmpty())
        contents = {{}, u"レース記録を読めませんでした（%1）。"_s.arg(contents.problem)};
    return contents;
}

QString RaceStore::edit(const std::function<QString(QList<Race> &)> &apply,
                        const std::function<QString()> &write) {
    if (access_ != Access::Changes)
        return access_ == Access::ReadOnly
                   ? u"レース記録は書き込みできないため、変更は保存できません。"_s
                   : u"レース記録が使えないため、変更は保存できません。"_s;
    QSqlQuery transaction(QSqlDatabase::database(connection_, false));
    if (!transaction.exec(u"BEGIN IMMEDIATE"_s))
        return u"変更を保存できませんでした（%1）。"_s.arg(reason(transaction.lastError()));
    QList<Race> races;
    QString problem = readRaces(QSqlDatabase::database(connection_, false), races);
    if (problem.isEmpty())
        problem = apply(races);
    if (problem.isEmpty()) {
        try {
            RaceRows(races);
            Summarize(races);
        } catch (const RuntimeError &) {
            transaction.exec(u"ROLLBACK"_s);
            throw;
        }
        problem = write();
    }
    if (problem.isEmpty() && !transaction.exec(u"COMMIT"_s))
        problem = reason(transaction.lastError());
    if (problem.isEmpty())
        return {};
    transaction.exec(u"ROLLBACK"_s);
    return u"変更を保存できませんでした（%1）。"_s.arg(problem);
}

QString RaceStore::add(const Race &race) {
    const Race added = kept(race);
    return edit([&](QList<Race> &races) { return races.append(added), QString(); },
                [&] {
                    QSqlQuery query(QSqlDatabase::database(connection_, false));
                    query.prepare(u"INSERT INTO races (date, name, ticket, odds, stake, result, "
                                  u"payout) VALUES (?, ?, ?, ?, ?, ?, ?)"_s);
                    bindRace(query, added);
                    return query.exec() ? QString() : reason(query.lastError());
                });
}

QString RaceStore::change(const Race &race) {
    const Race changed = kept(race);
    return edit(
        [&](QList<Race> &races) {
            for (Race &r : races)
                if (r.id == changed.id)
                    return r = changed, QString();
            return u"このレースはもう記録にありません"_s;
        },
        [&] {
            QSqlQuery query(QSqlDatabase::database(connection_, false));
            query.prepare(u"UPDATE races SET date = ?, name = ?, ticket = ?, odds = ?, stake = ?, "
                          u"result = ?, payout = ? WHERE id = ?"_s);
            bindRace(query, changed);
            query.addBindValue(qint64(changed.id));
            return query.exec() ? QString() : reason(query.lastError());
        });
}

QString RaceStore::remove(std::int64_t id) {
    return edit(
        [&](QList<Race> &races) {
            return races.removeIf([&](const Race &r) { return r.id == id; }) > 0
                       ? QString()
                       : u"このレースはもう記録にありません"_s;
        },
        [&] {
            QSqlQuery query(QSqlDatabase::database(connection_, false));
            query.prepare(u"DELETE FROM races WHERE id = ?"_s);
            query.addBindValue(qint64(id));
            return query.exec() ? QString() : reason(query.lastError());
        });
}

} // namespace morvex
