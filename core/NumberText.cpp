#include "core/NumberText.h"

#include "core/Rounding.h"
#include "core/RuntimeError.h"
#include "core/Single.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace morvex {
namespace {

// Full-width digits, sign, period, comma and space as their ASCII
// counterparts, as a Japanese input method may type them.
QChar halfWidth(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0xFF10 && u <= 0xFF19)
        return QChar(char16_t(u'0' + (u - 0xFF10)));
    switch (u) {
    case 0xFF0B:
        return u'+';
    case 0xFF0D:
        return u'-';
    case 0xFF0E:
        return u'.';
    case 0xFF0C:
        return u',';
    case 0x3000:
        return u' ';
    default:
        return c;
    }
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isSign(QChar c) {
    return c == u'+' || c == u'-';
}
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

// Decimal text made of ASCII sign, digits, '.' and exponent only, to double,
// whatever the C library's current locale. Overflow gives ±HUGE_VAL.
double parseAscii(const std::string &number) {
#ifdef _WIN32
    // The Windows C library has its own locale objects in place of newlocale.
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    return _strtod_l(number.c_str(), nullptr, cLocale);
#else
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(number.c_str(), nullptr, cLocale);
#endif
}

// The numeric test and the whole-text conversion share this reader: it
// returns false when `text` is not a number in the locale, and otherwise
// leaves the number, group separators removed, as ASCII text in `ascii`.
bool readLocaleNumber(const QString &text, std::string &ascii) {
    const QLocale locale;
    const QString group = locale.groupSeparator();
    const QString decimal = locale.decimalPoint();
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        s.append(halfWidth(c));
    // Blanks around the number are allowed: the same blanks Val() skips.
    qsizetype first = 0, last = s.size();
    while (first < last && isBlank(s[first]))
        ++first;
    while (last > first && isBlank(s[last - 1]))
        --last;
    s = s.mid(first, last - first);

    qsizetype i = 0;
    const qsizetype n = s.size();
    auto at = [&](const QString &token) {
        return !token.isEmpty() && s.mid(i, token.size()) == token;
    };
    ascii.clear();
    if (i < n && isSign(s[i]))
        ascii += char(s[i++].unicode());
    else if (at(locale.negativeSign()))
        ascii += '-', i += locale.negativeSign().size();
    else if (at(locale.positiveSign()))
        i += locale.positiveSign().size();

    int digits = 0;
    for (;;) {
        if (i < n && isAsciiDigit(s[i])) {
            ascii += char(s[i++].unicode());
            ++digits;
        } else if (digits > 0 && at(group) && group != decimal) {
            i += group.size();
        } else {
            break;
        }
    }
    if (at(decimal)) {
        i += decimal.size();
        ascii += '.';
        while (i < n && isAsciiDigit(s[i])) {
            ascii += char(s[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < n && isSign(s[i]))
            ascii += char(s[i++].unicode());
        int exponentDigits = 0;
        while (i < n && isAsciiDigit(s[i])) {
            ascii += char(s[i++].unicode());
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    return i == n;
}

// Whole-number digits of a value already rounded to an integer, with the
// locale's group separator every three digits.
QString groupedInteger(double integral) {
    if (integral == 0.0 || std::isnan(integral))
        return std::isnan(integral) ? QStringLiteral("NaN") : QStringLiteral("0");
    if (std::isinf(integral))
        return integral > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    char buffer[400]; // the largest double has 309 digits
    std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(integral));
    const QString digits = QString::fromLatin1(buffer);
    const QString group = QLocale().groupSeparator();
    QString out;
    out.reserve(digits.size() + digits.size() / 3 * group.size() + 1);
    if (integral < 0)
        out += u'-';
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += group;
        out += digits[i];
    }
    return out;
}

} // namespace

bool IsNumeric(const QString &text) {
    std::string ascii;
    return readLocaleNumber(text, ascii);
}

double Val(const QString &text) {
    std::string ascii;
    qsizetype i = 0;
    const qsizetype n = text.size();
    // Blanks are skipped wherever they stand, so each read goes through next().
    auto next = [&]() -> QChar {
        while (i < n && isBlank(halfWidth(text[i])))
            ++i;
        return i < n ? halfWidth(text[i]) : QChar();
    };
    if (isSign(next())) {
        ascii += char(next().unicode());
        ++i;
    }
    bool anyDigit = false;
    while (isAsciiDigit(next())) {
        ascii += char(next().unicode());
        ++i;
        anyDigit = true;
    }
    if (next() == u'.') {
        ascii += '.';
        ++i;
        while (isAsciiDigit(next())) {
            ascii += char(next().unicode());
            ++i;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return 0.0;
    const QChar e = next();
    if (e == u'e' || e == u'E') {
        const qsizetype mark = i;
        std::string exponent = "e";
        ++i;
        if (isSign(next())) {
            exponent += char(next().unicode());
            ++i;
        }
        bool exponentDigit = false;
        while (isAsciiDigit(next())) {
            exponent += char(next().unicode());
            ++i;
            exponentDigit = true;
        }
        if (exponentDigit)
            ascii += exponent;
        else
            i = mark;
    }
    return parseAscii(ascii);
}

double ToNumber(const QString &text) {
    std::string ascii;
    if (!readLocaleNumber(text, ascii))
        throw RuntimeError(TypeMismatch);
    const double value = parseAscii(ascii);
    if (std::isinf(value))
        throw RuntimeError(Overflow);
    return value;
}

std::int32_t ToInt32(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw RuntimeError(Overflow);
    return static_cast<std::int32_t>(rounded);
}

std::int16_t ToInt16(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw RuntimeError(Overflow);
    return static_cast<std::int16_t>(rounded);
}

float ToSingle(double value) {
    return narrowToSingle(value);
}

QString FormatAmount(double value) {
    // std::round takes halves away from zero; −0.4 becomes −0 and shows "0".
    return groupedInteger(std::round(value));
}

QString FormatAmount(Amount value) {
    // Whole yen from the fixed-point value without passing through a double:
    // halves away from zero.
    std::int64_t whole = value.raw() / 10000;
    const std::int64_t rest = value.raw() % 10000;
    if (rest >= 5000)
        ++whole;
    else if (rest <= -5000)
        --whole;
    // |whole| < 2^53, so the double holds it exactly.
    return groupedInteger(double(whole));
}

QString SingleText(float value) {
    if (value == 0.0f)
        value = 0.0f; // no "-0"
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7G", double(value));
    QString text = QString::fromLatin1(buffer);
    // printf writes the C library's decimal point; show the user's.
    const QString cPoint = QString::fromLatin1(std::localeconv()->decimal_point);
    return text.replace(cPoint, QLocale().decimalPoint());
}

} // namespace morvex
