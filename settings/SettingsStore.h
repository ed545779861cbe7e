#pragma once

#include <QString>

// The per-user settings store: texts addressed by application name, section
// and key. Nothing is cached: every read and every write opens the store at
// that moment, and every write is on disk before it returns.
namespace morvex::settings {

// The running executable's file name without its extension. It keys the
// store, so a renamed executable starts from the defaults.
QString applicationName();

// The stored text, or `defaultValue` when the entry is missing or the store
// cannot be read.
QString readSetting(const QString &appName, const QString &section, const QString &key,
                    const QString &defaultValue);

// Creates or replaces the entry. Returns false when the store could not be
// written; the first such failure of a run is reported on standard error.
bool writeSetting(const QString &appName, const QString &section, const QString &key,
                  const QString &value);

// Re-arms the report of a failed write: the first failure after this call
// is reported. Each run of the program starts armed.
void resetFailureReport();

// Holds the store for one window's unload, so that the entries it writes
// reach the file together even when another copy of the program is closing
// at the same moment. Best effort: if the lock cannot be had in a few
// seconds (or cannot be created at all) the writes go ahead without it.
class WriteGroup {
public:
    explicit WriteGroup(const QString &appName);
    ~WriteGroup();
    WriteGroup(const WriteGroup &) = delete;
    WriteGroup &operator=(const WriteGroup &) = delete;

private:
    struct Lock;
    Lock *lock_;
};

// Where the store of an application lives (for tests and diagnostics).
QString storePath(const QString &appName);

} // namespace morvex::settings
