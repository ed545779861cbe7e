// The progression arithmetic and the Amount type: the worked examples of the
// betting plan, the rounding rules and every fault the procedures can raise.
#include "core/CommonModule.h"
#include "core/RuntimeError.h"
#include "tests/core/ErrorOf.h"

#include <QTest>
#include <limits>

using namespace morvex;
using morvex::test::errorOf;

Q_DECLARE_METATYPE(morvex::Amount)

namespace {

Amount yen(std::int64_t whole) {
    return Amount::fromRaw(whole * 10000);
}

} // namespace

class TestCommonModule : public QObject {
    Q_OBJECT
private slots:
    void stakesAndTotals_data();
    void stakesAndTotals();
    void upRate_data();
    void upRate();
    void roundAmount_data();
    void roundAmount();
    void totalRoundsTheRunningSum();
    void negativeDefeats();
    void faults_data();
    void faults();
    void profitDrift();
    void toAmount_data();
    void toAmount();
    void amountArithmeticOverflows();
};

void TestCommonModule::stakesAndTotals_data() {
    QTest::addColumn<int>("start");
    QTest::addColumn<float>("odds");
    QTest::addColumn<QList<qint64>>("stakes");
    QTest::addColumn<QList<qint64>>("totals");

    QTest::newRow("1000 at odds 3")
        << 1000 << 3.0f
        << QList<qint64>{1000, 1500, 2300, 3400, 5100, 7600, 11400, 17100, 25600, 38400}
        << QList<qint64>{1000, 2500, 4800, 8200, 13300, 20900, 32300, 49400, 75000, 113400};
    QTest::newRow("1000 at odds 2 doubles exactly")
        << 1000 << 2.0f
        << QList<qint64>{1000, 2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000, 512000}
        << QList<qint64>{1000, 3000, 7000, 15000, 31000, 63000, 127000, 255000, 511000, 1023000};
    QTest::newRow("500 at odds 5")
        << 500 << 5.0f << QList<qint64>{500, 600, 800, 1000, 1200, 1500, 1900, 2400, 3000, 3700}
        << QList<qint64>{500, 1100, 1900, 2900, 4100, 5600, 7500, 9900, 12900, 16600};
    QTest::newRow("1000 at odds 2.5")
        << 1000 << 2.5f
        << QList<qint64>{1000, 1700, 2800, 4600, 7700, 12900, 21400, 35700, 59500, 99200}
        << QList<qint64>{1000, 2700, 5500, 10100, 17800, 30700, 52100, 87800, 147300, 246500};
    QTest::newRow("150 at odds 3: the first stake is rounded already")
        << 150 << 3.0f << QList<qint64>{200, 200} << QList<qint64>{200, 400};
}

void TestCommonModule::stakesAndTotals() {
    QFETCH(int, start);
    QFETCH(float, odds);
    QFETCH(QList<qint64>, stakes);
    QFETCH(QList<qint64>, totals);
    const float rate = CalcUpRate(odds);
    for (qsizetype n = 0; n < stakes.size(); ++n) {
        const auto defeats = std::int16_t(n);
        QCOMPARE(CalcInvestAmount(start, rate, defeats), yen(stakes[n]));
        QCOMPARE(CalcTotalAmount(start, rate, defeats), yen(totals[n]));
    }
}

void TestCommonModule::upRate_data() {
    QTest::addColumn<float>("odds");
    QTest::addColumn<float>("rate");
    QTest::newRow("3") << 3.0f << 1.5f;
    QTest::newRow("2") << 2.0f << 2.0f;
    QTest::newRow("5") << 5.0f << 1.25f;
    QTest::newRow("2.5 is the single nearest 5/3") << 2.5f << float(5.0 / 3.0);
    QTest::newRow("huge odds give 1") << 1e30f << 1.0f;
}

void TestCommonModule::upRate() {
    QFETCH(float, odds);
    QFETCH(float, rate);
    QCOMPARE(CalcUpRate(odds), rate);
}

void TestCommonModule::roundAmount_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("digits");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2250 half rounds up") << 2250.0 << -2 << 2300.0;
    QTest::newRow("5062.5 rounds up") << 5062.5 << -2 << 5100.0;
    QTest::newRow("25628.9 rounds down") << 25628.90625 << -2 << 25600.0;
    QTest::newRow("150 half rounds up") << 150.0 << -2 << 200.0;
    QTest::newRow("149.99996 rounds down") << 149.99996 << -2 << 100.0;
    QTest::newRow("-150 half rounds towards +inf") << -150.0 << -2 << -100.0;
    QTest::newRow("-151 rounds down") << -151.0 << -2 << -200.0;
    // Halves in both directions: a scale one unit in the last place off
    // moves a negative half to the next hundred down.
    QTest::newRow("250 half rounds up") << 250.0 << -2 << 300.0;
    QTest::newRow("-250 half rounds towards +inf") << -250.0 << -2 << -200.0;
    QTest::newRow("-2250 half rounds towards +inf") << -2250.0 << -2 << -2200.0;
    QTest::newRow("-5062.5 rounds down") << -5062.5 << -2 << -5100.0;
    QTest::newRow("50 half rounds up") << 50.0 << -2 << 100.0;
    QTest::newRow("-50 half rounds to 0") << -50.0 << -2 << 0.0;
    QTest::newRow("-15 half at tens") << -15.0 << -1 << -10.0;
    QTest::newRow("-2500 half at thousands") << -2500.0 << -3 << -2000.0;
    QTest::newRow("-0.25 at 1 digit") << -0.25 << 1 << -0.2;
    QTest::newRow("-2.5 at 0 digits") << -2.5 << 0 << -2.0;
    QTest::newRow("tenths: 0.25 at 1 digit") << 0.25 << 1 << 0.3;
    QTest::newRow("units: 2.5 at 0 digits") << 2.5 << 0 << 3.0;
}

void TestCommonModule::roundAmount() {
    QFETCH(double, value);
    QFETCH(int, digits);
    QFETCH(double, rounded);
    QCOMPARE(RoundAmount(value, std::int16_t(digits)), rounded);
}

// The running total converts each term to four decimals before rounding, so
// a term of 149.99996 adds 200 to the total while its own stake rounds to 100.
void TestCommonModule::totalRoundsTheRunningSum() {
    const float rate = 1.4999996f;
    QCOMPARE(double(rate) * 100, 149.99996423721313);
    QCOMPARE(CalcInvestAmount(100, rate, 1), yen(100));
    QCOMPARE(CalcTotalAmount(100, rate, 0), yen(100));
    QCOMPARE(CalcTotalAmount(100, rate, 1), yen(300));
}

void TestCommonModule::negativeDefeats() {
    QCOMPARE(CalcTotalAmount(1000, 1.5f, -1), Amount());
    // Even an up-rate that would overflow computes nothing.
    QCOMPARE(CalcTotalAmount(1000, std::numeric_limits<float>::max(), -1), Amount());
}

void TestCommonModule::faults_data() {
    QTest::addColumn<std::function<void()>>("call");
    QTest::addColumn<int>("error");
    const float nearOne = float(1.00000001);
    const float inf = std::numeric_limits<float>::infinity();
    const float rate101 = CalcUpRate(1.01f);
    QTest::newRow("odds 1 in single precision divide by zero")
        << std::function<void()>([=] { CalcUpRate(nearOne); }) << DivisionByZero;
    QTest::newRow("odds 1 exactly")
        << std::function<void()>([] { CalcUpRate(1.0f); }) << DivisionByZero;
    QTest::newRow("infinite odds are invalid")
        << std::function<void()>([=] { CalcUpRate(inf); }) << Overflow;
    QTest::newRow("odds 1.01, stake after 5 defeats computes")
        << std::function<void()>([=] { CalcInvestAmount(1000, rate101, 5); }) << 0;
    QTest::newRow("odds 1.01, total after 5 defeats computes")
        << std::function<void()>([=] { CalcTotalAmount(1000, rate101, 5); }) << 0;
    QTest::newRow("odds 1.01, stake after 6 defeats leaves the range")
        << std::function<void()>([=] { CalcInvestAmount(1000, rate101, 6); }) << Overflow;
    QTest::newRow("odds 1.01, total after 6 defeats leaves the range")
        << std::function<void()>([=] { CalcTotalAmount(1000, rate101, 6); }) << Overflow;
    QTest::newRow("power overflows the double range")
        << std::function<void()>([] { CalcInvestAmount(1000, 1e30f, 19); }) << Overflow;
    QTest::newRow("rounding a huge value overflows")
        << std::function<void()>([] { RoundAmount(1.7e308, 2); }) << Overflow;
    QTest::newRow("rounding at -400 digits divides by zero")
        << std::function<void()>([] { RoundAmount(1.0, -400); }) << DivisionByZero;
    QTest::newRow("the 16-bit counter cannot step past 32767")
        << std::function<void()>([] { CalcTotalAmount(100, 1.0f, 32767); }) << Overflow;
}

void TestCommonModule::faults() {
    QFETCH(std::function<void()>, call);
    QFETCH(int, error);
    QCOMPARE(errorOf(call), error);
}

// Rounding drives the profit far from start × (odds − 1) for odds close to 1.
void TestCommonModule::profitDrift() {
    const float odds = 1.2f;
    const float rate = CalcUpRate(odds);
    const Amount stake = CalcInvestAmount(1000, rate, 12);
    const Amount total = CalcTotalAmount(1000, rate, 12);
    const Amount payout = ToAmount(stake.toDouble() * double(odds));
    // 20,816.8724: shown as 20,817 where start × (odds − 1) would be 200.
    QCOMPARE((payout - total).raw(), qint64(208168724));
}

void TestCommonModule::toAmount_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<int>("error");
    QTest::newRow("whole") << 2300.0 << qint64(23000000) << 0;
    QTest::newRow("2.5 ten-thousandths ties to even, down") << 0.00025 << qint64(2) << 0;
    QTest::newRow("3.5 ten-thousandths ties to even, up") << 0.00035 << qint64(4) << 0;
    QTest::newRow("negative tie") << -0.00025 << qint64(-2) << 0;
    QTest::newRow("149.99996 becomes 150") << 149.99996 << qint64(1500000) << 0;
    QTest::newRow("lowest value") << -922337203685477.5808 << std::numeric_limits<qint64>::min()
                                  << 0;
    QTest::newRow("one step below the lowest")
        << std::nextafter(-922337203685477.5808, -INFINITY) << qint64(0) << Overflow;
    QTest::newRow("highest double in range")
        << 922337203685477.5 << qint64(9223372036854774784) << 0;
    QTest::newRow("one step above the highest")
        << std::nextafter(922337203685477.5, INFINITY) << qint64(0) << Overflow;
    QTest::newRow("infinity") << double(INFINITY) << qint64(0) << Overflow;
    QTest::newRow("NaN") << double(NAN) << qint64(0) << Overflow;
}

void TestCommonModule::toAmount() {
    QFETCH(double, value);
    QFETCH(qint64, raw);
    QFETCH(int, error);
    Amount result;
    QCOMPARE(errorOf([&] { result = ToAmount(value); }), error);
    if (error == 0)
        QCOMPARE(result.raw(), raw);
}

void TestCommonModule::amountArithmeticOverflows() {
    const Amount max = Amount::fromRaw(std::numeric_limits<qint64>::max());
    const Amount min = Amount::fromRaw(std::numeric_limits<qint64>::min());
    const Amount tiny = Amount::fromRaw(1);
    QCOMPARE(errorOf([&] { (void)(max + tiny); }), Overflow);
    QCOMPARE(errorOf([&] { (void)(min - tiny); }), Overflow);
    QCOMPARE(errorOf([&] { (void)(Amount() - min); }), Overflow);
    QCOMPARE((max - tiny) + tiny, max);
    QCOMPARE(yen(6900) - yen(4800), yen(2100));
    QVERIFY(yen(1) < yen(2));
    QCOMPARE(Amount::fromRaw(-15000).toDouble(), -1.5);
}

QTEST_APPLESS_MAIN(TestCommonModule)
#include "tst_commonmodule.moc"
