// The "#,##0" amount text. The first eight bytes of the input are taken both
// as a double and as the raw value of a fixed-point amount.
#include "FuzzCheck.h"

#include "core/Amount.h"
#include "core/NumberText.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdint>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

// A whole number with a group separator every three digits: no leading zeros,
// no "-0", nothing else.
bool isAmountText(const QString &text) {
    static const QRegularExpression pattern(QStringLiteral("^(0|-?[1-9][0-9]{0,2}(,[0-9]{3})*)$"));
    return pattern.match(text).hasMatch();
}

// Halves away from zero, worked out apart from the code under test: the
// integer part plus one step outwards when the fraction is at least a half
// (both the truncation and the subtraction are exact).
double wholeAwayFromZero(double value) {
    const double integral = std::trunc(value);
    const double fraction = value - integral;
    if (fraction >= 0.5)
        return integral + 1.0;
    if (fraction <= -0.5)
        return integral - 1.0;
    return integral;
}

void checkDouble(double value) {
    const QString text = FormatAmount(value);
    if (!std::isfinite(value))
        return; // the callers fault-check before they format
    FUZZ_REQUIRE(isAmountText(text), "FormatAmount(double) gives #,##0 text",
                 describe(value) + u" → "_qs + describe(text));
    // Every double is a terminating decimal, so the text reads back exactly.
    const double expected = wholeAwayFromZero(value);
    double read = 0;
    const int error = errorOf([&] { read = ToNumber(text); });
    FUZZ_REQUIRE(error == 0 && read == expected,
                 "FormatAmount(double) shows the value rounded half away from zero",
                 describe(value) + u" → "_qs + describe(text) + u" reads "_qs + describe(read));
}

void checkAmount(std::int64_t raw) {
    const Amount amount = Amount::fromRaw(raw);
    const QString text = FormatAmount(amount);
    FUZZ_REQUIRE(isAmountText(text), "FormatAmount(Amount) gives #,##0 text",
                 describe(amount) + u" → "_qs + describe(text));

    // Whole yen, halves away from zero, in 128-bit arithmetic so that nothing
    // can overflow: (2·raw ± 10000) / 20000 truncates towards zero.
    const __int128 twice = __int128(raw) * 2;
    const __int128 whole = (twice + (raw < 0 ? -10000 : 10000)) / 20000;
    // |whole| < 2^50, so the double holds it exactly.
    const double wholeValue = double(std::int64_t(whole));
    FUZZ_REQUIRE(text == FormatAmount(wholeValue),
                 "FormatAmount(Amount) equals FormatAmount of the rounded value",
                 describe(amount) + u" → "_qs + describe(text) + u" expected "_qs +
                     describe(wholeValue));

    // Through a double the same text comes out where the division cannot move
    // the value across or onto a half: up to 2^52 raw units the quotient is
    // within 2^-15 of the exact value, while a fourth decimal other than the
    // half lies at least 0.0001 from it (and the halves are exact doubles).
    if (raw >= -(std::int64_t(1) << 52) && raw <= (std::int64_t(1) << 52))
        FUZZ_REQUIRE(text == FormatAmount(amount.toDouble()),
                     "FormatAmount(Amount) equals FormatAmount of its double",
                     describe(amount) + u" → "_qs + describe(text) + u" via double "_qs +
                         FormatAmount(amount.toDouble()));

    double read = 0;
    const int error = errorOf([&] { read = ToNumber(text); });
    FUZZ_REQUIRE(error == 0 && read == wholeValue, "an amount text reads back as its value",
                 describe(amount) + u" → "_qs + describe(text) + u" reads "_qs + describe(read));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useJapaneseLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Bytes asDouble(data, size);
    checkDouble(asDouble.take<double>());
    Bytes asRaw(data, size);
    checkAmount(asRaw.take<std::int64_t>());
    return 0;
}
