#pragma once

#include "core/Amount.h"

#include <QString>
#include <cstdint>

// Reading numbers from the user's text and writing amounts and singles as
// text. Full-width digits, sign, period, comma and space, as a Japanese input
// method types them, count as their ASCII counterparts wherever a number is
// read.
namespace morvex {

// True when the whole text, blanks around it allowed, is a number in the
// user's locale: an optional sign, digits with optional group separators, an
// optional decimal separator with digits, an optional exponent ("1,000",
// "-2.5", "1e20"). Empty or blank text, and "100abc", are not numbers.
bool IsNumeric(const QString &text);

// The leading number of the text: spaces, tabs, CR and LF are dropped
// wherever they stand, then an optional sign, digits, an optional "." with
// digits (whatever the locale) and an optional exponent are read up to the
// first other character. "1,000" reads 1, "12abc" 12, no digits 0. A number
// beyond the double range reads as ±infinity.
double Val(const QString &text);

// The whole text as a number in the user's locale, group separators allowed
// ("1,500" is 1500). Raises TypeMismatch when the text is not a number and
// Overflow when it lies beyond the double range.
double ToNumber(const QString &text);

// Nearest integer, ties to even; Overflow outside the type's range or for NaN.
std::int32_t ToInt32(double value);
std::int16_t ToInt16(double value);

// Narrowing to single precision; beyond the single range the value becomes
// ±infinity, with no error.
float ToSingle(double value);

// The "#,##0" text: a whole number (halves away from zero) with the locale's
// group separator and a leading "-" when negative; never "-0".
QString FormatAmount(double value);
QString FormatAmount(Amount value);

// The general single-precision text: up to seven significant digits, no
// trailing zeros, exponent form beyond seven integer digits (1.5, 3,
// 1.666667, -1200, 1.234568E+07, 1E+08).
QString SingleText(float value);

} // namespace morvex
