// The general single-precision text (odds, up-rates and stored window
// positions) and its reading back. The first four bytes are the single.
//
// Seven significant digits do not name every single: 1.0000001 (the single
// after 1) shows as "1". What the text does promise is checked here: its form,
// that it is the nearest seven-digit decimal, that it reads back to the same
// single wherever seven digits are finer than the singles' spacing, and that
// showing what was read back gives the same text again.
#include "FuzzCheck.h"

#include "core/Conversions.h"
#include "core/NumberText.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

struct Decimal {
    int significantDigits = 0;
    int exponent = 0; // of the first significant digit
};

// Takes the text apart; false when it is not in the general form. "-0"
// counts as the form of negative zero.
bool parseGeneralForm(const QString &text, Decimal &decimal) {
    static const QRegularExpression plain(
        QStringLiteral("^-?(0|[1-9][0-9]{0,6})(\\.[0-9]*[1-9])?$"));
    static const QRegularExpression scientific(
        QStringLiteral("^-?([1-9])(\\.[0-9]*[1-9])?E([+-][0-9]{2})$"));
    QString digits;
    if (const auto m = plain.match(text); m.hasMatch()) {
        const QString integral = m.captured(1);
        const QString fraction = m.captured(2).mid(1);
        digits = integral + fraction;
        if (integral != u"0"_qs) {
            decimal.exponent = int(integral.size()) - 1;
        } else {
            qsizetype zeros = 0;
            while (zeros < fraction.size() && fraction[zeros] == u'0')
                ++zeros;
            decimal.exponent = zeros == fraction.size() ? 0 : -int(zeros) - 1;
        }
    } else if (const auto m = scientific.match(text); m.hasMatch()) {
        digits = m.captured(1) + m.captured(2).mid(1);
        decimal.exponent = m.captured(3).toInt();
    } else {
        return false;
    }
    while (digits.startsWith(u'0'))
        digits.remove(0, 1);
    decimal.significantDigits = int(digits.size());
    return true;
}

void check(float value) {
    const QString text = SingleText(value);
    if (!std::isfinite(value))
        return;
    Decimal decimal;
    FUZZ_REQUIRE(parseGeneralForm(text, decimal), "SingleText gives the general form",
                 describe(value) + u" → "_qs + describe(text));
    FUZZ_REQUIRE(decimal.significantDigits <= 7,
                 "SingleText shows at most seven significant digits",
                 describe(value) + u" → "_qs + describe(text));
    // The plain form runs up to seven integer digits and down to 0.0001.
    const bool scientificForm = text.contains(u'E');
    if (value != 0.0f)
        FUZZ_REQUIRE(scientificForm == (decimal.exponent >= 7 || decimal.exponent < -4),
                     "SingleText switches to the exponent form beyond seven integer digits",
                     describe(value) + u" → "_qs + describe(text));

    double read = 0;
    const int error = errorOf([&] { read = ToNumber(text); });
    FUZZ_REQUIRE(error == 0, "the text of a finite single is a number",
                 describe(value) + u" → "_qs + describe(text) + u" error "_qs +
                     QString::number(error));

    // Nearest seven-digit decimal: within half a unit of the seventh digit
    // (with a margin for the double that holds the text's value; at a tie
    // the distance is exactly half a unit).
    const double unit = std::pow(10.0, decimal.exponent - 6);
    FUZZ_REQUIRE(std::fabs(read - double(value)) <=
                     0.5 * unit * (1 + 1e-12) + std::fabs(read) * 0x1p-50,
                 "SingleText is the nearest seven-digit decimal",
                 describe(value) + u" → "_qs + describe(text));

    const float back = ToSingle(read);
    // Where the decimal steps are finer than the singles around the value, the
    // text names the value alone. (== lets -0 equal 0.)
    const float magnitude = std::fabs(value);
    const float below = magnitude - std::nextafter(magnitude, 0.0f);
    const float above = std::nextafter(magnitude, std::numeric_limits<float>::infinity()) -
                        magnitude; // infinite above the largest single
    const double spacing = magnitude == 0.0f ? below : std::fmin(below, above);
    if (value == 0.0f || unit < spacing)
        FUZZ_REQUIRE(back == value, "the text reads back to the same single",
                     describe(value) + u" → "_qs + describe(text) + u" → "_qs + describe(back));

    // Showing what was read back gives the same text: a single that went
    // through a text box and back is displayed unchanged.
    FUZZ_REQUIRE(SingleText(back) == text, "SingleText is stable under reading back",
                 describe(value) + u" → "_qs + describe(text) + u" → "_qs + describe(back) +
                     u" → "_qs + describe(SingleText(back)));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useJapaneseLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    Bytes bytes(data, size);
    check(bytes.take<float>());
    return 0;
}
