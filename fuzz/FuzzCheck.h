#pragma once

// What every fuzz target shares: turning the fuzzer's bytes into text,
// catching the program's run-time errors, and stopping with a readable report
// when an invariant breaks (the abort makes libFuzzer keep the input).

#include "core/RuntimeError.h"
#include "tests/core/ErrorOf.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace morvex::fuzz {

[[noreturn]] inline void fail(const char *invariant, const QString &detail) {
    std::fprintf(stderr, "\n*** broken invariant: %s\n    %s\n", invariant,
                 detail.toUtf8().constData());
    std::abort();
}

// Checks an invariant; the detail (a QString expression) is only worked out
// when the invariant is broken, so the checks cost next to nothing.
#define FUZZ_REQUIRE(condition, invariant, detail)                                                 \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::morvex::fuzz::fail(invariant, detail);                                               \
    } while (false)

using test::errorOf; // any exception but a RuntimeError reaches libFuzzer as a crash

// A text for a report: quoted, with its UTF-16 code units, since the
// interesting characters are often invisible or look like others.
inline QString describe(const QString &text) {
    QString units;
    for (QChar c : text.left(64))
        units += QString::asprintf(" %04X", unsigned(c.unicode()));
    return u'"' + text.left(64) + u"\" ["_qs + units + u" ] ("_qs + QString::number(text.size()) +
           u" units)"_qs;
}

// A double in a form that shows every bit.
inline QString describe(double value) {
    return QString::asprintf("%.17g", value);
}

// The input as UTF-8 text (malformed sequences become U+FFFD, as typed text
// never contains them) and as UTF-16 code units (which reach every QChar,
// lone surrogates included).
inline QString utf8Text(const std::uint8_t *data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}
inline QString utf16Text(const std::uint8_t *data, std::size_t size) {
    std::u16string units(size / 2, u'\0');
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * 2);
    return QString::fromStdU16String(units);
}

} // namespace morvex::fuzz
