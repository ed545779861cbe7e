// The three ways the program reads a number from text: the numeric test
// (IsNumeric), the leading-number reading (Val) and the whole-text conversion
// (ToNumber). The input is tried as UTF-8 and as UTF-16.
#include "FuzzCheck.h"

#include "core/NumberText.h"
#include "core/RuntimeError.h"

#include <bit>
#include <cmath>
#include <cstdint>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

bool isReadingBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// True when everything the numeric test trims off the ends of `text` is a
// blank that the leading-number reading skips as well.
bool trimmedBlanksAreReadingBlanks(const QString &text) {
    qsizetype first = 0;
    while (first < text.size() && text[first].isSpace()) {
        if (!isReadingBlank(text[first]))
            return false;
        ++first;
    }
    for (qsizetype last = text.size() - 1; last >= first && text[last].isSpace(); --last) {
        if (!isReadingBlank(text[last]))
            return false;
    }
    return true;
}

bool hasGroupSeparator(const QString &text) {
    return text.contains(QLocale().groupSeparator()) || text.contains(u'，');
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

void check(const QString &text) {
    const bool numeric = IsNumeric(text);
    const double value = Val(text);
    FUZZ_REQUIRE(!std::isnan(value), "Val never gives NaN", describe(text));

    double number = 0;
    const int error = errorOf([&] { number = ToNumber(text); });
    if (numeric) {
        FUZZ_REQUIRE(error == 0 || error == Overflow,
                     "a numeric text converts or overflows, nothing else",
                     describe(text) + u" error "_qs + QString::number(error));
        FUZZ_REQUIRE(error != 0 || std::isfinite(number), "ToNumber returns a finite value",
                     describe(text) + u" → "_qs + describe(number));
    } else {
        FUZZ_REQUIRE(error == TypeMismatch, "a text that is not numeric raises TypeMismatch",
                     describe(text) + u" error "_qs + QString::number(error));
    }

    // Without group separators, and with nothing around the number that only
    // one of them skips, both readings take the same digits.
    if (numeric && !hasGroupSeparator(text) && trimmedBlanksAreReadingBlanks(text)) {
        if (error == 0)
            FUZZ_REQUIRE(sameBits(value, number), "Val and ToNumber agree on a plain numeric text",
                         describe(text) + u" Val "_qs + describe(value) + u" ToNumber "_qs +
                             describe(number));
        else
            FUZZ_REQUIRE(std::isinf(value), "Val reads ±infinity where ToNumber overflows",
                         describe(text) + u" Val "_qs + describe(value));
    }

    // The reading stops at the first character that cannot continue a number,
    // and blanks in front of it are skipped.
    FUZZ_REQUIRE(sameBits(Val(text + u'x'), value), "Val ignores what follows the number",
                 describe(text));
    FUZZ_REQUIRE(sameBits(Val(u" \t"_qs + text), value), "Val skips leading blanks",
                 describe(text));
    // Blanks around a number are allowed by the numeric test.
    FUZZ_REQUIRE(IsNumeric(u' ' + text + u'\n') == numeric,
                 "IsNumeric allows blanks around the text", describe(text));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useJapaneseLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    check(utf8Text(data, size));
    check(utf16Text(data, size));
    return 0;
}
