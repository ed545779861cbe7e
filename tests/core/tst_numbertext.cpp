// Reading the user's numbers and writing amounts and singles, in the
// Japanese locale the program was made for and in others.
#include "core/CommonModule.h"
#include "core/Conversions.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"
#include "tests/core/ErrorOf.h"

#include <QLocale>
#include <QTest>
#include <limits>

using namespace morvex;
using morvex::test::errorOf;

namespace {

const double inf = std::numeric_limits<double>::infinity();
const double NotNumeric = std::numeric_limits<double>::quiet_NaN();

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    // What the input check accepts and the number it then stands for.
    void reading_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value"); // NaN: not numeric
        QString locale = u"ja_JP"_qs;
        auto row = [&](const char *tag, const QString &text, double value) {
            QTest::newRow(tag) << locale << text << value;
        };
        row("plain", u"1000"_qs, 1000);
        row("decimal", u"3.0"_qs, 3);
        row("grouped", u"150,000"_qs, 150000);
        row("groups of three", u"12,345,678"_qs, 12345678);
        row("grouped with a fraction", u"1,000.5"_qs, 1000.5);
        row("2,5 groups nothing", u"2,5"_qs, NotNumeric);
        row("two digits after a separator", u"1,00"_qs, NotNumeric);
        row("four digits after a separator", u"1,0000"_qs, NotNumeric);
        row("leading separator", u",100"_qs, NotNumeric);
        row("trailing separator", u"100,"_qs, NotNumeric);
        row("separator after the point", u"1.000,5"_qs, NotNumeric);
        row("full-width grouped", u"１５０，０００"_qs, 150000);
        row("full-width sign and point", u"－２．５"_qs, -2.5);
        row("trailing letters", u"100abc"_qs, NotNumeric);
        row("empty", u""_qs, NotNumeric);
        row("blank", u" \t"_qs, NotNumeric);
        row("blanks around", u"\t 99 \r\n"_qs, 99);
        row("full-width blanks around", u"　1000　"_qs, 1000);
        row("blank inside", u"1 000"_qs, NotNumeric);
        row("no-break space is no blank", u"\u00a01000"_qs, NotNumeric);
        row("exponent", u"1e20"_qs, 1e20);
        row("exponent upper case, signed", u"2.5E-3"_qs, 0.0025);
        row("beyond the double range", u"1e400"_qs, inf);
        row("negative beyond the range", u"-1e400"_qs, -inf);
        row("lone sign", u"-"_qs, NotNumeric);
        row("plus sign", u"+5"_qs, 5);
        row("exponent without digits", u"1e"_qs, NotNumeric);
        row("exponent sign without digits", u"7e+"_qs, NotNumeric);
        row("exponent alone", u"e5"_qs, NotNumeric);
        row("point alone", u"."_qs, NotNumeric);
        row("leading point", u".5"_qs, 0.5);
        row("trailing point", u"5."_qs, 5);
        row("double sign", u"--1"_qs, NotNumeric);
        row("two points", u"1.2.3"_qs, NotNumeric);
        row("emoji", u"5😀"_qs, NotNumeric);
        row("very long digits", QString(5000, u'9'), inf);
        row("very long fraction", u"0."_qs + QString(5000, u'3'), 1.0 / 3.0);
        row("a stored position", u"1.234568E+07"_qs, 12345680);
        locale = u"C"_qs;
        row("C: grouped", u"1,000"_qs, 1000);
        row("C: full-width grouped", u"１５０，０００"_qs, 150000);
        row("C: 2,5", u"2,5"_qs, NotNumeric);
        locale = u"de_DE"_qs;
        row("de: decimal comma", u"2,5"_qs, 2.5);
        row("de: grouped", u"1.000"_qs, 1000);
        row("de: grouped with a fraction", u"1.000,5"_qs, 1000.5);
        row("de: 2.5", u"2.5"_qs, NotNumeric);
    }

    void reading() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, value);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(IsNumeric(text), !std::isnan(value));
        double read = NotNumeric;
        QCOMPARE(errorOf([&] { read = ToNumber(text); }), std::isnan(value) ? TypeMismatch : 0);
        if (!std::isnan(value))
            QCOMPARE(read, value);
    }

    // The table's profit: the difference of the two figures shown, digit for
    // digit.
    void amountDifference_data() {
        QTest::addColumn<QString>("minuend");
        QTest::addColumn<QString>("subtrahend");
        QTest::addColumn<QString>("difference");
        QTest::newRow("positive") << u"6,900"_qs << u"4,800"_qs << u"2,100"_qs;
        QTest::newRow("negative") << u"1,788"_qs << u"1,800"_qs << u"-12"_qs;
        QTest::newRow("zero") << u"1,000"_qs << u"1,000"_qs << u"0"_qs;
        QTest::newRow("borrows across groups") << u"1,000,000"_qs << u"1"_qs << u"999,999"_qs;
        QTest::newRow("minus a negative") << u"5"_qs << u"-7"_qs << u"12"_qs;
        QTest::newRow("both negative") << u"-5"_qs << u"-7"_qs << u"2"_qs;
        QTest::newRow("beyond 2^53")
            << u"36,028,806,279,987,200"_qs << u"6,442,451,700"_qs << u"36,028,799,837,535,500"_qs;
        QTest::newRow("beyond 64 bits")
            << u"1,000,000,015,047,466,219,876,688,855,040,000"_qs << u"10,000"_qs
            << u"1,000,000,015,047,466,219,876,688,855,030,000"_qs;
        QTest::newRow("a fraction is no amount") << u"1.5"_qs << u"1"_qs << QString();
        QTest::newRow("text is no amount") << u"1"_qs << u"abc"_qs << QString();
    }

    void amountDifference() {
        QFETCH(QString, minuend);
        QFETCH(QString, subtrahend);
        QFETCH(QString, difference);
        QString result;
        QCOMPARE(errorOf([&] { result = AmountDifference(minuend, subtrahend); }),
                 difference.isNull() ? TypeMismatch : 0);
        QCOMPARE(result, difference);
    }

    void integerConversions_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("int32");
        QTest::addColumn<int>("int32Error");
        QTest::addColumn<int>("int16Error");
        QTest::newRow("1000.5 ties to even, down") << 1000.5 << 1000 << 0 << 0;
        QTest::newRow("1001.5 ties to even, up") << 1001.5 << 1002 << 0 << 0;
        QTest::newRow("-2.5") << -2.5 << -2 << 0 << 0;
        QTest::newRow("32767.4 fits 16 bits") << 32767.4 << 32767 << 0 << 0;
        QTest::newRow("32767.5 leaves 16 bits") << 32767.5 << 32768 << 0 << Overflow;
        QTest::newRow("-32768.5 ties to -32768") << -32768.5 << -32768 << 0 << 0;
        QTest::newRow("-32769 leaves 16 bits") << -32769.0 << -32769 << 0 << Overflow;
        QTest::newRow("2147483647.4 fits") << 2147483647.4 << 2147483647 << 0 << Overflow;
        QTest::newRow("2147483647.5 overflows") << 2147483647.5 << 0 << Overflow << Overflow;
        QTest::newRow("-2147483648.5 ties to the lowest")
            << -2147483648.5 << int(-2147483648LL) << 0 << Overflow;
        QTest::newRow("-2147483649 overflows") << -2147483649.0 << 0 << Overflow << Overflow;
        QTest::newRow("infinity") << inf << 0 << Overflow << Overflow;
        QTest::newRow("NaN") << NotNumeric << 0 << Overflow << Overflow;
    }

    void integerConversions() {
        QFETCH(double, value);
        QFETCH(int, int32);
        QFETCH(int, int32Error);
        QFETCH(int, int16Error);
        std::int32_t result = 0;
        QCOMPARE(errorOf([&] { result = ToInt32(value); }), int32Error);
        if (int32Error == 0)
            QCOMPARE(result, int32);
        std::int16_t result16 = 0;
        QCOMPARE(errorOf([&] { result16 = ToInt16(value); }), int16Error);
        if (int16Error == 0)
            QCOMPARE(int(result16), int32);
    }

    void toSingle() {
        QCOMPARE(ToSingle(3.0), 3.0f);
        QCOMPARE(ToSingle(1.00000001), 1.0f);
        QCOMPARE(ToSingle(3.4028235e38), std::numeric_limits<float>::max());
        QCOMPARE(ToSingle(0x1.ffffffp+127 - 0x1p+75), std::numeric_limits<float>::max());
        QCOMPARE(ToSingle(0x1.ffffffp+127), std::numeric_limits<float>::infinity());
        QCOMPARE(ToSingle(-1e39), -std::numeric_limits<float>::infinity());
    }

    void formatAmount_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("under a thousand") << 999.0 << "999";
        QTest::newRow("thousands") << 2300.0 << "2,300";
        QTest::newRow("millions") << 1023000.0 << "1,023,000";
        QTest::newRow("negative") << -1550.0 << "-1,550";
        QTest::newRow("half rounds away from zero") << 4250.5 << "4,251";
        QTest::newRow("negative half rounds away from zero") << -2.5 << "-3";
        QTest::newRow("small negative shows 0, never -0") << -0.4 << "0";
        QTest::newRow("beyond 64 bits, digit for digit")
            << 1e33 << "999,999,999,999,999,945,575,230,987,042,816";
    }

    void formatAmount() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatAmount(value), text);
        QLocale::setDefault(
            QLocale::c()); // Qt's C locale groups only when asked; amounts always do
        QCOMPARE(FormatAmount(value), text);
    }

    void formatAmountFromFixedPoint() {
        QCOMPARE(FormatAmount(Amount::fromRaw(23000000)), u"2,300"_qs);
        QCOMPARE(FormatAmount(Amount::fromRaw(42505000)), u"4,251"_qs);
        QCOMPARE(FormatAmount(Amount::fromRaw(42504999)), u"4,250"_qs);
        QCOMPARE(FormatAmount(Amount::fromRaw(-42505000)), u"-4,251"_qs);
        QCOMPARE(FormatAmount(Amount::fromRaw(-4999)), u"0"_qs);
        QCOMPARE(FormatAmount(Amount::fromRaw(std::numeric_limits<qint64>::min())),
                 u"-922,337,203,685,478"_qs);
        QLocale::setDefault(QLocale(u"de_DE"_qs));
        QCOMPARE(FormatAmount(Amount::fromRaw(23000000)), u"2.300"_qs);
    }

    void singleText_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.5") << 1.5f << "1.5";
        QTest::newRow("3") << 3.0f << "3";
        QTest::newRow("5/3") << float(5.0 / 3.0) << "1.666667";
        QTest::newRow("-1200") << -1200.0f << "-1200";
        QTest::newRow("seven digits") << 1234567.0f << "1234567";
        QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07";
        QTest::newRow("1e8") << 1e8f << "1E+08";
        QTest::newRow("up-rate of odds 1.01") << CalcUpRate(1.01f) << "101.0001";
        QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << "INF";
        QTest::newRow("negative zero") << -0.0f << "0";
    }

    void singleText() {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(SingleText(value), text);
        if (std::isfinite(value))
            QCOMPARE(ToSingle(ToNumber(text)), value);
        QLocale::setDefault(QLocale(u"de_DE"_qs));
        QCOMPARE(SingleText(value), QString(text).replace(u'.', u','));
    }
};

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
