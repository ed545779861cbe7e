#pragma once

#include <QString>

// The places where the program keeps a file of its own: only a regular file
// is ever opened there, and a file that is not what it should be is moved
// out of the way rather than overwritten.
namespace morvex {

// The regular file (or the place for a new one, in an existing folder) that
// `path` stands for, following symbolic links. Empty when something else
// stands there: a folder, a device, a pipe, a socket, a loop of links.
QString RegularFile(const QString &path);

// Moves a file aside to the first free name of <file>.damaged,
// <file>.damaged.1, …; its bytes stay as they are. The name it now has, or
// empty when it could not be moved.
QString SetAside(const QString &path);

} // namespace morvex
