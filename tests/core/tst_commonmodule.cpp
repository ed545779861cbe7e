// The progression arithmetic and the Amount type: the worked examples of the
// betting plan, the rounding rules and every fault the procedures can raise.
// (Every figure the windows show for many more inputs is checked against a
// second working of the arithmetic by the window fuzz target.)
#include "core/CommonModule.h"
#include "core/RuntimeError.h"
#include "tests/core/ErrorOf.h"

#include <QTest>
#include <limits>

using namespace morvex;
using morvex::test::errorOf;

class TestCommonModule : public QObject {
    Q_OBJECT
private slots:
    // Stakes and running totals for 0 … 9 defeats (thousands of yen).
    void stakesAndTotals_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<float>("rate");
        QTest::addColumn<QList<double>>("stakes");
        QTest::addColumn<QList<double>>("totals");
        QTest::newRow("1000 at odds 3")
            << 1000 << CalcUpRate(3.0f)
            << QList<double>{1, 1.5, 2.3, 3.4, 5.1, 7.6, 11.4, 17.1, 25.6, 38.4}
            << QList<double>{1, 2.5, 4.8, 8.2, 13.3, 20.9, 32.3, 49.4, 75, 113.4};
        QTest::newRow("1000 at odds 2 doubles exactly")
            << 1000 << CalcUpRate(2.0f) << QList<double>{1, 2, 4, 8, 16, 32, 64, 128, 256, 512}
            << QList<double>{1, 3, 7, 15, 31, 63, 127, 255, 511, 1023};
        QTest::newRow("500 at odds 5")
            << 500 << CalcUpRate(5.0f) << QList<double>{.5, .6, .8, 1, 1.2, 1.5, 1.9, 2.4, 3, 3.7}
            << QList<double>{.5, 1.1, 1.9, 2.9, 4.1, 5.6, 7.5, 9.9, 12.9, 16.6};
        QTest::newRow("1000 at odds 2.5")
            << 1000 << CalcUpRate(2.5f)
            << QList<double>{1, 1.7, 2.8, 4.6, 7.7, 12.9, 21.4, 35.7, 59.5, 99.2}
            << QList<double>{1, 2.7, 5.5, 10.1, 17.8, 30.7, 52.1, 87.8, 147.3, 246.5};
        QTest::newRow("150 at odds 3: the first stake rounded already")
            << 150 << CalcUpRate(3.0f) << QList<double>{.2, .2} << QList<double>{.2, .4};
        // A term of 149.99996 converts to 150.0000 and so adds 200 to the
        // running total, while its own stake rounds down to 100.
        QTest::newRow("100 at the up-rate 1.4999996")
            << 100 << 1.4999996f << QList<double>{.1, .1} << QList<double>{.1, .3};
    }

    void stakesAndTotals() {
        QFETCH(int, start);
        QFETCH(float, rate);
        QFETCH(QList<double>, stakes);
        QFETCH(QList<double>, totals);
        for (qsizetype n = 0; n < stakes.size(); ++n) {
            QCOMPARE(CalcInvestAmount(start, rate, std::int16_t(n)), ToAmount(stakes[n] * 1000));
            QCOMPARE(CalcTotalAmount(start, rate, std::int16_t(n)), ToAmount(totals[n] * 1000));
        }
        QCOMPARE(CalcTotalAmount(start, rate, -1), Amount()); // no pass at all
    }

    // Half up at the decimal position: a half goes towards +∞ whatever its
    // sign, with every C library.
    void roundAmount_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("digits");
        QTest::addColumn<double>("rounded");
        const double rows[][3] = {{2250, -2, 2300},
                                  {-2250, -2, -2200},
                                  {150, -2, 200},
                                  {-150, -2, -100},
                                  {250, -2, 300},
                                  {-250, -2, -200},
                                  {50, -2, 100},
                                  {-50, -2, 0},
                                  {5062.5, -2, 5100},
                                  {-5062.5, -2, -5100},
                                  {25628.90625, -2, 25600},
                                  {149.99996, -2, 100},
                                  {-151, -2, -200},
                                  {-15, -1, -10},
                                  {-2500, -3, -2000},
                                  {0.25, 1, 0.3},
                                  {-0.25, 1, -0.2},
                                  {2.5, 0, 3},
                                  {-2.5, 0, -2}};
        for (const auto &[value, digits, rounded] : rows)
            QTest::addRow("%g at %g", value, digits) << value << int(digits) << rounded;
    }

    void roundAmount() {
        QFETCH(double, value);
        QFETCH(int, digits);
        QFETCH(double, rounded);
        QCOMPARE(RoundAmount(value, std::int16_t(digits)), rounded);
    }

    void faults_data() {
        QTest::addColumn<std::function<void()>>("call");
        QTest::addColumn<int>("error");
        const Amount max = Amount::fromRaw(std::numeric_limits<qint64>::max());
        const Amount min = Amount::fromRaw(std::numeric_limits<qint64>::min());
        auto row = [](const char *tag, int error, std::function<void()> call) {
            QTest::newRow(tag) << call << error;
        };
        row("a power beyond the doubles", Overflow, [] { CalcInvestAmount(1000, 1e30f, 19); });
        row("rounding a huge value", Overflow, [] { RoundAmount(1.7e308, 2); });
        row("rounding at -400 digits", DivisionByZero, [] { RoundAmount(1.0, -400); });
        row("a payout beyond the doubles", Overflow, [] { CalcPayout(1e300, 1e30f); });
        row("the 16-bit counter past 32767", Overflow, [] { CalcTotalAmount(100, 1.0f, 32767); });
        row("an amount above the range", Overflow, [=] { (void)(max + Amount::fromRaw(1)); });
        row("an amount below the range", Overflow, [=] { (void)(min - Amount::fromRaw(1)); });
        row("the lowest amount negated", Overflow, [=] { (void)(Amount() - min); });
        row("just inside the range", 0,
            [=] { (void)(max - Amount::fromRaw(1) + Amount::fromRaw(1)); });
    }

    void faults() {
        QFETCH(std::function<void()>, call);
        QFETCH(int, error);
        QCOMPARE(errorOf(call), error);
    }

    // Rounding drives the profit far from start × (odds − 1) for odds close
    // to 1: 20,816.8724, shown as 20,817, where a first win leaves 200.
    void profitDrift() {
        const float rate = CalcUpRate(1.2f);
        const Amount total = CalcTotalAmount(1000, rate, 12);
        const Amount payout =
            ToAmount(CalcPayout(CalcInvestAmount(1000, rate, 12).toDouble(), 1.2f));
        QCOMPARE((payout - total).raw(), qint64(208168724));
    }

    // value × 10,000 to the nearest integer, ties to even, within the range.
    void toAmount_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<qint64>("raw"); // 0 with Overflow
        const std::pair<double, qint64> rows[] = {
            {2300, 23000000},
            {0.00025, 2},
            {0.00035, 4},
            {-0.00025, -2},
            {149.99996, 1500000},
            {-922337203685477.5808, std::numeric_limits<qint64>::min()},
            {std::nextafter(-922337203685477.5808, -INFINITY), 0},
            {922337203685477.5, 9223372036854774784},
            {std::nextafter(922337203685477.5, INFINITY), 0},
            {INFINITY, 0},
            {NAN, 0}};
        for (const auto &[value, raw] : rows)
            QTest::addRow("%.17g", value) << value << raw;
    }

    void toAmount() {
        QFETCH(double, value);
        QFETCH(qint64, raw);
        Amount result;
        QCOMPARE(errorOf([&] { result = ToAmount(value); }), raw == 0 ? Overflow : 0);
        if (raw != 0)
            QCOMPARE(result.raw(), raw);
        QCOMPARE(Amount::fromRaw(-15000).toDouble(), -1.5);
    }
};

QTEST_APPLESS_MAIN(TestCommonModule)
#include "tst_commonmodule.moc"
