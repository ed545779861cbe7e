#pragma once

// What every fuzz target shares: catching the program's run-time errors,
// and stopping with a readable report, its texts spelled out, when an
// invariant breaks (the abort makes libFuzzer keep the input).

#include "core/RuntimeError.h"
#include "tests/core/ErrorOf.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace morvex::fuzz {

using namespace Qt::StringLiterals;

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
    return u'"' + text.left(64) + u"\" ["_s + units + u" ] ("_s + QString::number(text.size()) +
           u" units)"_s;
}

} // namespace morvex::fuzz
