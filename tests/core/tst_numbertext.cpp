// Reading the user's numbers in the Japanese locale the program was made for
// and in others, the texts of amounts and singles, exact differences of
// amount texts, and the conversions to the narrower types.
#include "core/Conversions.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"
#include "tests/TestData.h"
#include "tests/core/ErrorOf.h"

#include <QLocale>
#include <QTest>
#include <climits>
#include <limits>

using namespace morvex;
using namespace morvex::test;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double No = std::numeric_limits<double>::quiet_NaN(); // not numeric

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void reading_data() {
        addRowsFrom("core/readings.txt", {"locale", "text", "number"});
        QTest::newRow("very long fraction")
            << u"ja_JP"_qs << u"0."_qs + QString(5000, u'3') << QString::number(1.0 / 3, 'g', 17);
    }

    void reading() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, number);
        QLocale::setDefault(QLocale(locale));
        const bool numeric = number != u"no"_qs;
        QCOMPARE(IsNumeric(text), numeric);
        double read = No;
        QCOMPARE(errorOf([&] { read = ToNumber(text); }), numeric ? 0 : TypeMismatch);
        if (numeric)
            QCOMPARE(read, number.toDouble());
    }

    void amountDifference_data() {
        addRowsFrom("core/differences.txt", {"minuend", "subtrahend", "difference"});
    }

    void amountDifference() {
        QFETCH(QString, minuend);
        QFETCH(QString, subtrahend);
        QFETCH(QString, difference);
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        QString result = u"no"_qs;
        QCOMPARE(errorOf([&] { result = AmountDifference(minuend, subtrahend); }),
                 difference == u"no"_qs ? TypeMismatch : 0);
        QCOMPARE(result, difference);
    }

    // Nearest integer, ties to even; beyond the range Overflow. A single
    // beyond its range becomes infinite.
    void conversions_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("int32"); // 0 with Overflow
        QTest::addColumn<bool>("fits16");
        const std::tuple<double, int, bool> rows[] = {
            {1000.5, 1000, true},      {1001.5, 1002, true},
            {-2.5, -2, true},          {32767.4, 32767, true},
            {32767.5, 32768, false},   {-32768.5, -32768, true},
            {-32769, -32769, false},   {2147483647.4, 2147483647, false},
            {2147483647.5, 0, false},  {-2147483648.5, INT_MIN, false},
            {-2147483649.0, 0, false}, {inf, 0, false},
            {std::nan(""), 0, false}};
        for (const auto &[value, int32, fits16] : rows)
            QTest::addRow("%.17g", value) << value << int32 << fits16;
    }

    void conversions() {
        QFETCH(double, value);
        QFETCH(int, int32);
        QFETCH(bool, fits16);
        std::int32_t result32 = 0;
        std::int16_t result16 = 0;
        QCOMPARE(errorOf([&] { result32 = ToInt32(value); }), int32 != 0 ? 0 : Overflow);
        QCOMPARE(errorOf([&] { result16 = ToInt16(value); }), fits16 ? 0 : Overflow);
        // (What a call that raised left in its target is not to be read.)
        QCOMPARE(int32 != 0 ? result32 : 0, int32);
        QCOMPARE(fits16 ? int(result16) : int32, int32);
    }

    // "#,##0" amounts, halves away from zero, never "-0"; the general text
    // of a single: at most seven significant digits, the exponent form
    // beyond seven integer digits and below 0.0001.
    void formats() {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        for (const auto &[value, text] : std::initializer_list<std::pair<double, const char *>>{
                 {0, "0"},
                 {999, "999"},
                 {-1550, "-1,550"},
                 {4250.5, "4,251"},
                 {-2.5, "-3"},
                 {-0.4, "0"},
                 {1e33, "999,999,999,999,999,945,575,230,987,042,816"}})
            QCOMPARE(FormatAmount(value), QLatin1String(text));
        for (const auto &[raw, text] : std::initializer_list<std::pair<qint64, const char *>>{
                 {42505000, "4,251"},
                 {42504999, "4,250"},
                 {-42505000, "-4,251"},
                 {-4999, "0"},
                 {std::numeric_limits<qint64>::min(), "-922,337,203,685,478"}})
            QCOMPARE(FormatAmount(Amount::fromRaw(raw)), QLatin1String(text));
        for (const auto &[value, text] :
             std::initializer_list<std::pair<float, const char *>>{{1.5f, "1.5"},
                                                                   {float(5.0 / 3), "1.666667"},
                                                                   {-1200, "-1200"},
                                                                   {1234567, "1234567"},
                                                                   {12345680, "1.234568E+07"},
                                                                   {1e8f, "1E+08"},
                                                                   {0.0001f, "0.0001"},
                                                                   {0.00001f, "1E-05"},
                                                                   {-0.0f, "0"},
                                                                   {INFINITY, "INF"}})
            QCOMPARE(SingleText(value), QLatin1String(text));
        QLocale::setDefault(QLocale(u"de_DE"_qs));
        QCOMPARE(FormatAmount(Amount::fromRaw(23000000)) + u' ' + SingleText(1.5f),
                 u"2.300 1,5"_qs);
    }

    void toSingle() {
        QCOMPARE(ToSingle(0x1.ffffffp+127 - 0x1p+75), std::numeric_limits<float>::max());
        QCOMPARE(ToSingle(0x1.ffffffp+127), std::numeric_limits<float>::infinity());
        QCOMPARE(ToSingle(-0x1.ffffffp+127), -std::numeric_limits<float>::infinity());
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
