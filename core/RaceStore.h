#pragma once

#include "core/Race.h"

#include <QList>
#include <QString>
#include <functional>

// The record of races as it lasts between runs: an SQLite database, changed
// one transaction per change, committed before the change returns. A
// program killed at any moment keeps every change it had shown as done and
// leaves no damaged file; copies of the program open at once each keep what
// they record, since every change re-reads the record as it stands then.
namespace morvex {

// Where the record is kept: racelog.db in the program's folder of the
// user's data ($XDG_DATA_HOME/morvex, on Windows the local application
// data folder's morvex), or in the folder last given to UseRecordFolder.
QString RecordFile();

// Keeps the record in `folder` instead, or again in the user's data folder
// when `folder` is empty: for tests and tools, which must not touch the
// user's own record.
void UseRecordFolder(const QString &folder);

class RaceStore {
public:
    // What the store can do: change the record, only show it, or nothing.
    enum class Access { Changes, ReadOnly, None };

    // Opens the record, making it when there is none. Nothing that stands
    // in its place is ever overwritten or waited for: a file that is not a
    // record (damaged, or not a database) is set aside as <file>.damaged
    // (.damaged.1, …) and a fresh record made; a folder, pipe, socket or
    // device is left alone and not opened; a file or folder that cannot be
    // written is only read.
    explicit RaceStore(const QString &file = RecordFile());
    ~RaceStore();
    RaceStore(const RaceStore &) = delete;
    RaceStore &operator=(const RaceStore &) = delete;

    Access access() const { return access_; }
    // What opening found and did, for the user (empty when all was well):
    // 「レース記録 <file> は壊れていたため <file>.damaged として残し、新しい記録
    // を始めました。」, 「…は書き込みできないため、記録を表示するだけで変更は保存
    // できません。」, ….
    const QString &notice() const { return notice_; }

    // The races as they stand now, in the order recorded, or why they
    // cannot be read.
    struct Contents {
        QList<Race> races;
        QString problem;
    };
    Contents load() const;

    // The changes, each committed before it returns: empty when done, else
    // why not (nothing changed). A change that would take a figure of the
    // record beyond the Amount range raises Overflow, nothing changed.
    QString add(const Race &race);    // its id is given by the record
    QString change(const Race &race); // the race with its id
    QString remove(std::int64_t id);

private:
    QString open();
    QString connect(bool readOnly);
    void disconnect();
    QString edit(const std::function<QString(QList<Race> &)> &apply,
                 const std::function<QString()> &write);

    QString file_;
    QString connection_;
    Access access_ = Access::None;
    bool empty_ = false; // a database that holds nothing yet, only read
    QString notice_;
};

} // namespace morvex
