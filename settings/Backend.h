#pragma once

#include "settings/Entries.h"

// The backing store of the settings: on Windows the user's registry area
// for program settings, elsewhere an INI file per application name in the
// user's configuration folder. The build compiles exactly one of the two.
namespace morvex::settings::backend {

// Where the settings of the application live, as a user would look for
// them: a file or a registry key.
QString location(const QString &appName);

// Everything stored for the application now; nothing when there is nothing
// usable (the reason is reported).
Entries read(const QString &appName);

// Stores the entries together: all of them or, when that fails, none (the
// reason is reported). Other entries stay as they are. Returns where a file
// that was not a settings file was set aside before the fresh one was
// written, or nothing.
QString write(const QString &appName, const Entries &changes);

// One line on standard error, the first time this text comes up in a run.
void report(const QString &line);

} // namespace morvex::settings::backend
