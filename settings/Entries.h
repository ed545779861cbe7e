#pragma once

#include <QList>
#include <QString>

namespace morvex::settings {

// One setting: a text under a key in a section.
struct Entry {
    QString section;
    QString key;
    QString value;
    friend bool operator==(const Entry &, const Entry &) = default;
};

// Settings in the order they were read or set; where a key stands twice, the
// later entry counts.
using Entries = QList<Entry>;

} // namespace morvex::settings
