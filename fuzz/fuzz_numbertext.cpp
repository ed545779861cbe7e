// Reading a number from text (the numeric test and the conversion), on any
// text taken as UTF-8 and as UTF-16, in the Japanese and the C locale. The C
// library's strtod is the second opinion on plain ASCII numbers; blanks
// around a number change nothing.
#include "FuzzCheck.h"

#include "core/NumberText.h"

#include <QLocale>
#include <algorithm>
#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::fuzz;

namespace {

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// The reading: the number, or NaN when the text is not numeric.
double reading(const QString &text) {
    double value = std::nan("");
    const int error = errorOf([&] { value = ToNumber(text); });
    FUZZ_REQUIRE((error == 0) == IsNumeric(text) && (error == 0 || error == int(TypeMismatch)),
                 "the conversion succeeds exactly where the numeric test does", describe(text));
    FUZZ_REQUIRE(error != 0 || !std::isnan(value), "a number is never NaN", describe(text));
    return value;
}

void check(const QString &text) {
    const double value = reading(text);
    FUZZ_REQUIRE(sameBits(reading(u" \t"_s + text + u"\u3000\n"_s), value) || std::isnan(value),
                 "blanks around a number change nothing", describe(text));

    // Plain ASCII digits, signs, points and exponents: as strtod reads them.
    const bool plain = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return QStringView(u"0123456789+-.eE").contains(c);
    });
    if (!plain)
        return;
    const QByteArray ascii = text.toLatin1();
    char *end = nullptr;
    const double strtodValue = std::strtod(ascii.constData(), &end);
    const bool whole = *end == '\0';
    FUZZ_REQUIRE(whole == !std::isnan(value), "numeric exactly where strtod reads the whole text",
                 describe(text));
    if (!whole)
        return;
    FUZZ_REQUIRE(sameBits(value, strtodValue), "the number strtod reads",
                 describe(text) + u" → "_s + QString::number(value, 'g', 17) + u", strtod "_s +
                     QString::number(strtodValue, 'g', 17));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    std::setlocale(LC_ALL, "C"); // strtod's decimal point
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    // The bytes as UTF-8 text (malformed sequences become U+FFFD, as typed
    // text never holds them) and as UTF-16 code units (which reach every
    // QChar, lone surrogates included).
    std::u16string units(size / 2, u'\0');
    if (!units.empty())
        std::memcpy(units.data(), data, units.size() * 2);
    for (const QLocale &locale : {QLocale(QLocale::Japanese, QLocale::Japan), QLocale::c()}) {
        QLocale::setDefault(locale);
        check(QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size)));
        check(QString::fromStdU16String(units));
    }
    return 0;
}
