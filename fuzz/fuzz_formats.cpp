// The texts of figures: "#,##0" amounts of doubles and of fixed-point
// amounts, and the general single-precision text of odds and up-rates. The
// first eight bytes of the input are taken as a double and as the raw value
// of an amount, the first four as a single.
//
// Seven significant digits do not name every single (1.0000001 shows as
// "1"); what a single's text does promise is checked: its form, that it is
// the nearest seven-digit decimal, that it names the single wherever seven
// digits are finer than the singles around it, and that showing what was
// read back gives the same text.
#include "FuzzCheck.h"

#include "core/Conversions.h"
#include "core/NumberText.h"

#include <QRegularExpression>
#include <cmath>
#include <cstring>
#include <limits>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

bool isAmountText(const QString &text) {
    static const QRegularExpression pattern(u"^(0|-?[1-9][0-9]{0,2}(,[0-9]{3})*)$"_qs);
    return pattern.match(text).hasMatch();
}

// An amount text shows `whole` (an integer) and reads back as it.
void checkAmountText(const QString &text, double whole, const QString &what) {
    double read = 0;
    FUZZ_REQUIRE(isAmountText(text) && errorOf([&] { read = ToNumber(text); }) == 0 &&
                     read == whole,
                 "an amount shows its value whole, halves away from zero", what + u" → "_qs + text);
}

void checkDouble(double value) {
    if (!std::isfinite(value))
        return; // the callers fault-check before they format
    // Halves away from zero, worked out apart from the code under test.
    const double integral = std::trunc(value), fraction = value - integral;
    checkAmountText(FormatAmount(value),
                    integral + (fraction >= 0.5    ? 1.0
                                : fraction <= -0.5 ? -1.0
                                                   : 0.0),
                    describe(value));
}

void checkAmount(std::int64_t raw) {
    // Whole yen, halves away from zero, in 128-bit arithmetic: (2·raw ±
    // 10000) / 20000 truncates towards zero; |whole| < 2^50 fits a double.
    const __int128 whole = (__int128(raw) * 2 + (raw < 0 ? -10000 : 10000)) / 20000;
    const QString text = FormatAmount(Amount::fromRaw(raw));
    checkAmountText(text, double(std::int64_t(whole)), QString::number(raw) + u" raw"_qs);
    FUZZ_REQUIRE(AmountDifference(text, u"0"_qs) == text && AmountDifference(text, text) == u"0"_qs,
                 "amount texts subtract exactly", text);
}

void checkSingle(float value) {
    const QString text = SingleText(value);
    if (!std::isfinite(value))
        return;
    static const QRegularExpression plain(u"^-?(0|[1-9][0-9]{0,6})(\\.[0-9]*[1-9])?$"_qs);
    static const QRegularExpression scientific(u"^-?[1-9](\\.[0-9]*[1-9])?E[+-][0-9]{2}$"_qs);
    const bool isPlain = plain.match(text).hasMatch();
    QString digits = text;
    digits.remove(QRegularExpression(u"E.*|[-.]"_qs)).remove(QRegularExpression(u"^0+"_qs));
    FUZZ_REQUIRE((isPlain || scientific.match(text).hasMatch()) && digits.size() <= 7,
                 "the general form, at most seven significant digits", describe(value) + text);
    // The exponent form beyond seven integer digits and below 0.0001.
    const int exponent = value == 0.0f ? 0 : int(std::floor(std::log10(std::fabs(double(value)))));
    const double read = ToNumber(text);
    const int shownExponent = read == 0 ? 0 : int(std::floor(std::log10(std::fabs(read))));
    if (value != 0.0f)
        FUZZ_REQUIRE(isPlain == (shownExponent < 7 && shownExponent >= -4),
                     "the exponent form beyond seven integer digits", describe(value) + text);
    // The nearest seven-digit decimal (a tie lies exactly half a unit off).
    const double unit = std::pow(10.0, std::max(exponent, shownExponent) - 6);
    FUZZ_REQUIRE(std::fabs(read - double(value)) <=
                     0.5 * unit * (1 + 1e-12) + std::fabs(read) * 0x1p-50,
                 "the nearest seven-digit decimal", describe(value) + u" → "_qs + text);
    const float back = ToSingle(read);
    const float magnitude = std::fabs(value);
    const double spacing =
        std::fmin(magnitude - std::nextafter(magnitude, 0.0f),
                  std::nextafter(magnitude, std::numeric_limits<float>::infinity()) - magnitude);
    FUZZ_REQUIRE((back == value || (magnitude != 0.0f && unit >= spacing)) &&
                     SingleText(back) == text,
                 "the text names the single, and reads back to the same text",
                 describe(value) + u" → "_qs + text + u" → "_qs + describe(back));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useJapaneseLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    unsigned char bytes[8] = {};
    std::memcpy(bytes, data, std::min(size, sizeof bytes));
    double asDouble;
    std::int64_t asRaw;
    float asSingle;
    std::memcpy(&asDouble, bytes, sizeof asDouble);
    std::memcpy(&asRaw, bytes, sizeof asRaw);
    std::memcpy(&asSingle, bytes, sizeof asSingle);
    checkDouble(asDouble);
    checkAmount(asRaw);
    checkSingle(asSingle);
    return 0;
}
