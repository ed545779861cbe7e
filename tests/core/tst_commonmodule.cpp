// The progression arithmetic and the Amount type: the worked examples of the
// betting plan, the rounding rules and every fault the procedures can raise;
// what a bankroll makes of the plan, and the chart's axis.
// (Every figure the windows show for many more inputs is checked against a
// second working of the arithmetic by the window fuzz target.)
#include "core/CommonModule.h"
#include "core/Plan.h"
#include "core/RuntimeError.h"
#include "tests/TestData.h"
#include "tests/core/ErrorOf.h"

#include <QTest>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

class TestCommonModule : public QObject {
    Q_OBJECT
private slots:
    void stakesAndTotals_data() { addRowsFrom("core/stakes.txt"); }

    void stakesAndTotals() {
        const auto [start, odds, stakes, totals] = cells<4>();
        const float rate =
            odds.startsWith(u"rate ") ? odds.sliced(5).toFloat() : CalcUpRate(odds.toFloat());
        const QStringList stake = stakes.split(u' '), total = totals.split(u' ');
        for (std::int16_t n = 0; n < stake.size(); ++n) {
            QCOMPARE(CalcInvestAmount(start.toInt(), rate, n),
                     ToAmount(stake[n].toDouble() * 1000));
            QCOMPARE(CalcTotalAmount(start.toInt(), rate, n), ToAmount(total[n].toDouble() * 1000));
        }
        QCOMPARE(CalcTotalAmount(start.toInt(), rate, -1), Amount()); // no pass at all
    }

    void bankroll_data() { addRowsFrom("core/bankroll.txt"); }

    void bankroll() {
        const auto [start, odds, text, seen] = cells<4>();
        const BankrollReading read = ReadBankroll(text);
        QCOMPARE(read.bankroll
                     ? ReachSentence(MakePlan({start.toInt(), odds.toFloat()}), *read.bankroll)
                     : read.problem,
                 seen);
    }

    void axis_data() { addRowsFrom("core/axes.txt"); }

    void axis() {
        const auto [highest, step, steps] = cells<3>();
        const ValueAxis axis = AxisFor(highest.toDouble());
        QCOMPARE(QString::number(axis.step, 'f', 0) + u' ' + QString::number(axis.steps),
                 step + u' ' + steps);
    }

    void roundAmount_data() { addRowsFrom("core/rounding.txt"); }

    void roundAmount() {
        const auto [value, digits, rounded] = cells<3>();
        QCOMPARE(RoundAmount(value.toDouble(), std::int16_t(digits.toInt())), rounded.toDouble());
    }

    void faults_data() {
        QTest::addColumn<std::function<void()>>("call");
        QTest::addColumn<int>("error");
        const Amount max = Amount::fromRaw(std::numeric_limits<qint64>::max());
        const Amount min = Amount::fromRaw(std::numeric_limits<qint64>::min());
        auto row = [](const char *tag, std::optional<ErrorNumber> error,
                      std::function<void()> call) {
            QTest::newRow(tag) << call << (error ? int(*error) : 0);
        };
        row("a power beyond the doubles", Overflow, [] { CalcInvestAmount(1000, 1e30f, 19); });
        row("rounding a huge value", Overflow, [] { RoundAmount(1.7e308, 2); });
        row("rounding at -400 digits", DivisionByZero, [] { RoundAmount(1.0, -400); });
        row("a payout beyond the doubles", Overflow, [] { CalcPayout(1e300, 1e30f); });
        row("the 16-bit counter past 32767", Overflow, [] { CalcTotalAmount(100, 1.0f, 32767); });
        row("an amount above the range", Overflow, [=] { (void)(max + Amount::fromRaw(1)); });
        row("an amount below the range", Overflow, [=] { (void)(min - Amount::fromRaw(1)); });
        row("the lowest amount negated", Overflow, [=] { (void)(Amount() - min); });
        row("just inside the range", std::nullopt,
            [=] { (void)(max - Amount::fromRaw(1) + Amount::fromRaw(1)); });
    }

    void faults() {
        QFETCH(std::function<void()>, call);
        QFETCH(int, error);
        QCOMPARE(errorOf(call), error);
    }

    void toAmount_data() { addRowsFrom("core/amounts.txt"); }

    void toAmount() {
        const auto [value, raw] = cells<2>();
        Amount result;
        QCOMPARE(errorOf([&] { result = ToAmount(value.toDouble()); }),
                 raw == u"overflow"_s ? int(Overflow) : 0);
        if (raw != u"overflow"_s) // (what a call that raised left is not to be read)
            QCOMPARE(result.raw(), raw.toLongLong());
        QCOMPARE(Amount::fromRaw(-15000).toDouble(), -1.5);
    }
};

QTEST_APPLESS_MAIN(TestCommonModule)
#include "tst_commonmodule.moc"
