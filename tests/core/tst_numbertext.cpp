// Reading the user's numbers and writing amounts and singles, in the
// Japanese locale the program was made for and in the bare C locale.
#include "core/CommonModule.h"
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

} // namespace

class TestNumberText : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void readingInput_data();
    void readingInput();
    void toNumber_data();
    void toNumber();
    void integerConversions_data();
    void integerConversions();
    void toSingle();
    void formatAmount_data();
    void formatAmount();
    void formatAmountFromFixedPoint();
    void groupSeparatorInCLocale();
    void singleText_data();
    void singleText();
};

// IsNumeric and Val side by side: what the input check decides and reads.
void TestNumberText::readingInput_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "1000" << true << 1000.0;
    QTest::newRow("decimal") << "3.0" << true << 3.0;
    QTest::newRow("grouped is numeric but reads 1") << "1,000" << true << 1.0;
    QTest::newRow("trailing letters") << "100abc" << false << 100.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("surrounding blanks") << "  99 " << true << 99.0;
    QTest::newRow("blanks inside are skipped by the reading") << "1 0\t0\n0" << false << 1000.0;
    QTest::newRow("exponent") << "1e20" << true << 1e20;
    QTest::newRow("exponent upper case, signed") << "2.5E-3" << true << 0.0025;
    QTest::newRow("beyond the double range") << "1e400" << true << inf;
    QTest::newRow("negative beyond the range") << "-1e400" << true << -inf;
    QTest::newRow("lone sign") << "-" << false << 0.0;
    QTest::newRow("plus sign") << "+5" << true << 5.0;
    QTest::newRow("exponent without digits") << "1e" << false << 1.0;
    QTest::newRow("exponent sign without digits") << "7e+" << false << 7.0;
    QTest::newRow("exponent alone") << "e5" << false << 0.0;
    QTest::newRow("point alone") << "." << false << 0.0;
    QTest::newRow("leading point") << ".5" << true << 0.5;
    QTest::newRow("trailing point") << "5." << true << 5.0;
    QTest::newRow("double sign") << "--1" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 1.2;
    QTest::newRow("full-width digits") << u"１０００"_qs << true << 1000.0;
    QTest::newRow("full-width grouped") << u"１，０００"_qs << true << 1.0;
    QTest::newRow("full-width sign and point") << u"－２．５"_qs << true << -2.5;
    QTest::newRow("full-width blanks around") << u"　1000　"_qs << true << 1000.0;
    QTest::newRow("full-width space inside is skipped") << u"12　3"_qs << false << 123.0;
    QTest::newRow("no-break space is no blank") << u"\u00a01000"_qs << false << 0.0;
    QTest::newRow("NUL inside") << QString::fromUtf16(u"12\0"
                                                      "3",
                                                      4)
                                << false << 12.0;
    QTest::newRow("emoji") << u"5😀"_qs << false << 5.0;
    QTest::newRow("very long digits") << QString(5000, u'9') << true << inf;
    QTest::newRow("very long fraction") << "0." + QString(5000, u'3') << true << 1.0 / 3.0;
}

void TestNumberText::readingInput() {
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, value);
    QCOMPARE(IsNumeric(text), numeric);
    QCOMPARE(Val(text), value);
}

void TestNumberText::toNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("error");
    QTest::newRow("grouped") << "1,500" << 1500.0 << 0;
    QTest::newRow("a figure of the table") << "113,400" << 113400.0 << 0;
    QTest::newRow("stored position") << "1.234568E+07" << 12345680.0 << 0;
    QTest::newRow("negative") << "-1200" << -1200.0 << 0;
    QTest::newRow("blanks around") << " 19 " << 19.0 << 0;
    QTest::newRow("not a number") << "abc" << 0.0 << TypeMismatch;
    QTest::newRow("empty") << "" << 0.0 << TypeMismatch;
    QTest::newRow("trailing text") << "12px" << 0.0 << TypeMismatch;
    QTest::newRow("beyond the double range") << "1e999" << 0.0 << Overflow;
}

void TestNumberText::toNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, error);
    double result = 0;
    QCOMPARE(errorOf([&] { result = ToNumber(text); }), error);
    QCOMPARE(result, value);
}

void TestNumberText::integerConversions_data() {
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
    QTest::newRow("2147483647.4 fits") << 2147483647.4 << 2147483647 << 0 << Overflow;
    QTest::newRow("2147483647.5 overflows") << 2147483647.5 << 0 << Overflow << Overflow;
    QTest::newRow("-2147483648.5 ties to the lowest")
        << -2147483648.5 << int(-2147483648LL) << 0 << Overflow;
    QTest::newRow("1e20") << 1e20 << 0 << Overflow << Overflow;
    QTest::newRow("infinity") << inf << 0 << Overflow << Overflow;
    QTest::newRow("NaN") << double(NAN) << 0 << Overflow << Overflow;
}

void TestNumberText::integerConversions() {
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

void TestNumberText::toSingle() {
    QCOMPARE(ToSingle(3.0), 3.0f);
    QCOMPARE(ToSingle(1.00000001), 1.0f);
    QCOMPARE(ToSingle(1e30), 1e30f);
    QCOMPARE(ToSingle(3.4028235e38), std::numeric_limits<float>::max());
    QVERIFY(std::isinf(ToSingle(1e39)) && ToSingle(1e39) > 0);
    QVERIFY(std::isinf(ToSingle(-1e39)) && ToSingle(-1e39) < 0);
    QVERIFY(std::isinf(ToSingle(inf)));
}

void TestNumberText::formatAmount_data() {
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
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("beyond 64 bits, digit for digit")
        << 1e33 << "999,999,999,999,999,945,575,230,987,042,816";
    QTest::newRow("largest double") << 1.7976931348623157e308
                                    << "179,769,313,486,231,570,814,527,423,731,704,356,798,070,"
                                       "567,525,844,996,598,917,476,803,157,260,780,028,538,760,"
                                       "589,558,632,766,878,171,540,458,953,514,382,464,234,321,"
                                       "326,889,464,182,768,467,546,703,537,516,986,049,910,576,"
                                       "551,282,076,245,490,090,389,328,944,075,868,508,455,133,"
                                       "942,304,583,236,903,222,948,165,808,559,332,123,348,274,"
                                       "797,826,204,144,723,168,738,177,180,919,299,881,250,404,"
                                       "026,184,124,858,368";
}

void TestNumberText::formatAmount() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatAmount(value), text);
}

void TestNumberText::formatAmountFromFixedPoint() {
    QCOMPARE(FormatAmount(Amount::fromRaw(23000000)), u"2,300"_qs);
    QCOMPARE(FormatAmount(Amount::fromRaw(42505000)), u"4,251"_qs);
    QCOMPARE(FormatAmount(Amount::fromRaw(-42505000)), u"-4,251"_qs);
    QCOMPARE(FormatAmount(Amount::fromRaw(-4999)), u"0"_qs);
    QCOMPARE(FormatAmount(Amount::fromRaw(std::numeric_limits<qint64>::max())),
             u"922,337,203,685,478"_qs);
    QCOMPARE(FormatAmount(Amount::fromRaw(std::numeric_limits<qint64>::min())),
             u"-922,337,203,685,478"_qs);
}

// Qt's C locale omits group separators by default; amounts still carry them.
void TestNumberText::groupSeparatorInCLocale() {
    QLocale::setDefault(QLocale::c());
    QCOMPARE(FormatAmount(2300.0), u"2,300"_qs);
    QCOMPARE(IsNumeric(u"1,000"_qs), true);
    QCOMPARE(ToNumber(u"1,500"_qs), 1500.0);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

void TestNumberText::singleText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.5") << 1.5f << "1.5";
    QTest::newRow("3") << 3.0f << "3";
    QTest::newRow("5/3") << float(5.0 / 3.0) << "1.666667";
    QTest::newRow("1200") << 1200.0f << "1200";
    QTest::newRow("-1200") << -1200.0f << "-1200";
    QTest::newRow("1.25") << 1.25f << "1.25";
    QTest::newRow("seven digits") << 1234567.0f << "1234567";
    QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07";
    QTest::newRow("1e8") << 1e8f << "1E+08";
    QTest::newRow("up-rate of odds 1.01") << CalcUpRate(1.01f) << "101.0001";
    QTest::newRow("binary tie rounds to even like printf") << 0.125f << "0.125";
    QTest::newRow("infinity") << std::numeric_limits<float>::infinity() << "INF";
    QTest::newRow("negative zero") << -0.0f << "0";
}

void TestNumberText::singleText() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(SingleText(value), text);
    if (std::isfinite(value))
        QCOMPARE(ToSingle(ToNumber(text)), value);
}

QTEST_APPLESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
