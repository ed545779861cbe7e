#pragma once

#include "settings/Entries.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace morvex::settings {

// A settings file in INI form, kept as its lines so that a change touches
// only the entries it sets: other sections, unknown keys, comments and the
// order of everything stay as they were. Values are written the way the
// files of earlier versions were written (quotes around a text with ";",
// "," or "=" or with blanks at an end, backslash escapes for quotes,
// backslashes and control characters, a doubled "@" in front), and read the
// same way, so files pass between versions unchanged.
class IniDocument {
public:
    // The document of a file, or nothing when the bytes are not a settings
    // file: not UTF-8, a NUL byte, or a line that is neither blank, a
    // comment, a [section] nor a key=value line. A UTF-8 byte-order mark is
    // kept and does not count as damage.
    static std::optional<IniDocument> parse(const QByteArray &bytes);

    Entries entries() const;

    // Sets the entries, each in place where it stands; a new key goes at the
    // end of its section, a new section at the end of the file.
    void set(const Entries &changes);

    QByteArray bytes() const;

private:
    struct Line {
        QByteArray text; // without the line end
        QString section; // the section the line belongs to
        QString key;     // for a key=value line, else empty
        bool header = false;
    };
    void setValue(const QString &section, const QString &key, const QString &value);

    QList<Line> lines_;
    bool byteOrderMark_ = false;
    QByteArray lineEnd_ = "\n";
};

} // namespace morvex::settings
