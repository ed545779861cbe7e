#pragma once

#include "settings/Entries.h"

#include <QString>

// The per-user settings: texts addressed by section and key, kept per
// application name. Windows read them while they load and write them while
// they unload; nothing is kept in memory in between, so each load sees the
// store as it is at that moment, changes made from outside included.
namespace morvex::settings {

// The running executable's file name without its extension, as the system
// stores it (a name that is not valid UTF-8 has its stray bytes written as
// %XX). It keys the store, so a renamed executable starts from the defaults.
QString applicationName();

// Keeps the settings under another name, or again under the executable's
// name when `name` is empty: for tests and tools, which must not touch the
// user's own settings.
void useApplicationName(const QString &name);

// Where the settings are kept, as a user would look for them: a file or a
// registry key.
QString location();

// The settings as they stand when the store is read: read once for a
// window's load.
class Store {
public:
    static Store read();

    // The stored text, or `defaultValue` when the entry is missing or the
    // store cannot be read.
    QString value(const QString &section, const QString &key, const QString &defaultValue) const;

private:
    Entries entries_;
};

// The entries one window's unload writes. They reach the store together in
// one write, whatever else is going on: a second copy of the program closing
// at the same moment, or the program being killed halfway, leaves the store
// as it was before or as it is after, never a mix. A transaction begun while
// another is open (a window closed by the main window's unload) joins it.
class Transaction {
public:
    Transaction();
    ~Transaction(); // commits if commit() was not called
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void setValue(const QString &section, const QString &key, const QString &value);

    // Writes the entries (the outermost transaction; a joined one leaves
    // that to it). Returns where a settings file that could not be read was
    // set aside before a fresh one was written, or nothing.
    QString commit();

private:
    Transaction *outer_;
    Entries changes_;
    bool committed_ = false;
};

} // namespace morvex::settings
