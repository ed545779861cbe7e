#pragma once

#include "core/Amount.h"

#include <QString>
#include <cstdint>
#include <optional>

// Reading numbers from the user's text and writing amounts and singles as
// text, in the user's locale. Full-width digits, signs, period, comma and
// space, as a Japanese input method types them, count as their ASCII
// counterparts wherever a number is read.
namespace morvex {

// True when the whole text, blanks around it allowed, is a number in the
// user's locale: an optional sign, digits, an optional decimal separator
// with digits, an optional exponent ("-2.5", "1e20"). A group separator
// counts only where it groups: followed by exactly three digits and before
// the decimal separator ("1,000" and "12,345,678", but not "2,5", "1,0000",
// ",100" or "100,"). Empty or blank text, and "100abc", are not numbers.
bool IsNumeric(const QString &text);

// The number IsNumeric accepts ("1,500" is 1500); beyond the double range
// ±infinity. Raises TypeMismatch when the text is not a number.
double ToNumber(const QString &text);

// The number IsNumeric accepts, exactly as written, times 10^places, when
// that is a whole number within the 64-bit range: "2.5" at one place is 25,
// "2.50" too, "1e3" at none 1000, "0.1" at one place exactly 1. Nothing for a
// text that is not a number, a value with more decimals than `places`
// ("2.55" at one place) or one beyond the range.
std::optional<std::int64_t> ToScaledInteger(const QString &text, int places);

// The difference of two whole-number texts as an amount text ("6,900" less
// "4,800" gives "2,100"), worked out digit by digit: exact however many
// digits the figures have. Raises TypeMismatch for anything but whole
// numbers.
QString AmountDifference(const QString &minuend, const QString &subtrahend);

// A whole-number text without group separators, as other programs read a
// number ("-1,234" gives "-1234"). Raises TypeMismatch for anything but a
// whole number.
QString PlainWholeNumber(const QString &text);

// The "#,##0" text: a whole number (halves away from zero) with the locale's
// group separator and a leading "-" when negative; never "-0".
QString FormatAmount(double value);
QString FormatAmount(Amount value);

// The general single-precision text: up to seven significant digits, no
// trailing zeros, exponent form beyond seven integer digits (1.5, 3,
// 1.666667, -1200, 1.234568E+07, 1E+08).
QString SingleText(float value);

} // namespace morvex
