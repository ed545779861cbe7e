#include "core/NumberText.h"

#include "core/RuntimeError.h"

#include <QLocale>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>
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

// The one reading of a number from text, for the numeric test and every
// conversion: the whole text, blanks around it allowed, in the user's
// locale. Gives the number as plain ASCII ("-1234.5e6", group separators
// dropped), or nothing when the text is not a number.
std::optional<std::string> scanNumber(const QString &text) {
    const QLocale locale;
    const QString group = locale.groupSeparator();
    const QString decimal = locale.decimalPoint();
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        s.append(halfWidth(c));
    qsizetype i = 0, n = s.size();
    while (i < n && isBlank(s[i]))
        ++i;
    while (n > i && isBlank(s[n - 1]))
        --n;

    auto at = [&](const QString &token) {
        return !token.isEmpty() && QStringView(s).sliced(i, n - i).startsWith(token);
    };
    auto digitAt = [&](qsizetype k) { return k < n && isAsciiDigit(s[k]); };
    std::string ascii;
    auto takeDigits = [&] {
        qsizetype count = 0;
        while (digitAt(i)) {
            ascii += char(s[i++].unicode());
            ++count;
        }
        return count;
    };

    if (i < n && (s[i] == u'+' || s[i] == u'-'))
        ascii += char(s[i++].unicode());
    else if (at(locale.negativeSign()))
        ascii += '-', i += locale.negativeSign().size();
    else if (at(locale.positiveSign()))
        i += locale.positiveSign().size();

    qsizetype digits = takeDigits();
    // A group separator groups: it follows a digit and exactly three digits
    // follow it.
    while (digits > 0 && group != decimal && at(group)) {
        const qsizetype next = i + group.size();
        if (!(digitAt(next) && digitAt(next + 1) && digitAt(next + 2)) || digitAt(next + 3))
            return std::nullopt;
        i = next;
        digits += takeDigits();
    }
    if (at(decimal)) {
        i += decimal.size();
        ascii += '.';
        digits += takeDigits();
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (s[i] == u'e' || s[i] == u'E')) {
        ascii += 'e';
        ++i;
        if (i < n && (s[i] == u'+' || s[i] == u'-'))
            ascii += char(s[i++].unicode());
        if (takeDigits() == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    return ascii;
}

// Decimal digits with the locale's group separator every three digits.
QString groupDigits(const std::string &digits, bool negative) {
    const QString group = QLocale().groupSeparator();
    QString out;
    out.reserve(qsizetype(digits.size() + digits.size() / 3 * group.size() + 1));
    if (negative)
        out += u'-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += group;
        out += QLatin1Char(digits[i]);
    }
    return out;
}

// Whole-number digits of a value already rounded to an integer.
QString groupedInteger(double integral) {
    if (std::isnan(integral))
        return QStringLiteral("NaN");
    if (std::isinf(integral))
        return integral > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
    char buffer[400]; // the largest double has 309 digits
    std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(integral));
    return groupDigits(buffer, integral < 0);
}

// A whole number as sign and digits, without leading zeros.
struct Whole {
    bool negative = false;
    std::string digits;
};

Whole wholeOf(const QString &text) {
    const std::optional<std::string> number = scanNumber(text);
    if (!number || number->find_first_of(".e") != std::string::npos)
        throw RuntimeError(TypeMismatch);
    Whole whole;
    whole.negative = number->front() == '-';
    whole.digits = number->substr(number->find_first_not_of("+-0") == std::string::npos
                                      ? number->size()
                                      : number->find_first_not_of("+-0"));
    if (whole.digits.empty())
        whole = {false, "0"};
    return whole;
}

bool lessInMagnitude(const std::string &a, const std::string &b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// |a| + |b| or, with `subtract` and |a| ≥ |b|, |a| − |b|, as digits.
std::string combine(const std::string &a, const std::string &b, bool subtract) {
    std::string out;
    int carry = 0;
    for (std::size_t i = 0; i < a.size() || i < b.size() || carry; ++i) {
        const int x = i < a.size() ? a[a.size() - 1 - i] - '0' : 0;
        const int y = i < b.size() ? b[b.size() - 1 - i] - '0' : 0;
        int digit = subtract ? x - y - carry : x + y + carry;
        carry = subtract ? digit < 0 : digit > 9;
        digit += subtract ? (digit < 0 ? 10 : 0) : (digit > 9 ? -10 : 0);
        out.insert(out.begin(), char('0' + digit));
    }
    const std::size_t first = out.find_first_not_of('0');
    return first == std::string::npos ? "0" : out.substr(first);
}

} // namespace

bool IsNumeric(const QString &text) {
    return scanNumber(text).has_value();
}

double ToNumber(const QString &text) {
    const std::optional<std::string> number = scanNumber(text);
    if (!number)
        throw RuntimeError(TypeMismatch);
    return parseAscii(*number);
}

std::optional<std::int64_t> ToScaledInteger(const QString &text, int places) {
    const std::optional<std::string> number = scanNumber(text);
    if (!number)
        return std::nullopt;
    // [sign] digits [. digits] [e [sign] digits]: the value scaled is the
    // digits without their point, times 10 to the power `shift`.
    const std::size_t e = std::min(number->find('e'), number->size());
    std::string digits;
    long long shift = places;
    bool afterPoint = false;
    for (char c : number->substr(0, e)) {
        afterPoint = afterPoint || c == '.';
        if (c >= '0' && c <= '9') {
            digits += c;
            shift -= afterPoint;
        }
    }
    long long exponent = 0; // beyond 10^9 as good as any larger
    for (std::size_t i = e + 1; i < number->size(); ++i)
        if ((*number)[i] >= '0' && (*number)[i] <= '9')
            exponent = std::min(exponent * 10 + ((*number)[i] - '0'), 1000000000LL);
    shift += number->find("e-") == std::string::npos ? exponent : -exponent;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    for (; shift < 0 && !digits.empty(); ++shift) {
        if (digits.back() != '0')
            return std::nullopt; // a fraction remains
        digits.pop_back();
    }
    if (digits.empty())
        return 0;
    if (qsizetype(digits.size()) + shift > 19)
        return std::nullopt;
    digits.append(std::size_t(shift), '0');
    // accumulated negatively, so that the lowest value fits
    std::int64_t value = 0;
    for (char c : digits)
        if (__builtin_mul_overflow(value, 10, &value) ||
            __builtin_sub_overflow(value, c - '0', &value))
            return std::nullopt;
    if (number->front() != '-' && __builtin_mul_overflow(value, -1, &value))
        return std::nullopt;
    return value;
}

QString AmountDifference(const QString &minuend, const QString &subtrahend) {
    const Whole a = wholeOf(minuend);
    Whole b = wholeOf(subtrahend);
    b.negative = !b.negative && b.digits != "0"; // a − b = a + (−b)
    if (a.negative == b.negative)
        return groupDigits(combine(a.digits, b.digits, false), a.negative);
    const bool aLarger = !lessInMagnitude(a.digits, b.digits);
    const std::string digits =
        aLarger ? combine(a.digits, b.digits, true) : combine(b.digits, a.digits, true);
    return groupDigits(digits, digits != "0" && (aLarger ? a.negative : b.negative));
}

QString PlainWholeNumber(const QString &text) {
    const Whole whole = wholeOf(text);
    return QString::fromLatin1(whole.negative ? "-" : "") + QString::fromStdString(whole.digits);
}

QString FormatAmount(double value) {
    // std::round takes halves away from zero; −0.4 becomes −0 and shows "0".
    return groupedInteger(std::round(value));
}

QString FormatAmount(Amount value) {
    // |whole yen| < 2^53, so the double holds it exactly.
    return groupedInteger(double(value.wholeYen()));
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
