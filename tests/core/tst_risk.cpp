// What the payout rate says of the risk: the chance of a hit, of losing
// every race the money pays for and the expected result of a run of the
// plan, each rounded once from exact fractions (exact halves away from
// zero), and the sentences that tell them.
#include "core/Natural.h"
#include "core/NumberText.h"
#include "core/Risk.h"
#include "tests/TestData.h"

#include <QLocale>
#include <QTest>
#include <cmath>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

class TestRisk : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void planRisk_data() { addRowsFrom("core/risk.txt"); }

    void planRisk() {
        const auto [ticket, start, odds, bankroll, races, hit, allLost, expected] = cells<8>();
        const std::optional<PlanRisk> risk =
            CalcPlanRisk(MakePlan(start.toInt(), odds.toFloat()), Yen(bankroll.toLongLong()),
                         *TicketNamed(ticket), odds.toFloat());
        QCOMPARE(risk
                     ? QStringList({QString::number(risk->races), PercentText(risk->hitTenths),
                                    PercentText(risk->allLostTenths), FormatAmount(risk->expected)})
                           .join(u' ')
                     : u"none"_s,
                 QStringList({races, hit, allLost, expected}).join(u' ').trimmed());
    }

    void sentences_data() {
        QTest::addColumn<qint64>("bankroll");
        QTest::addColumn<QString>("sentence");
        QTest::newRow("nine races")
            << 100000LL
            << u"単勝の払戻率 80%と倍率 3倍から推定した的中率は 26.7%（予想ではありません）で、"
               u"9ﾚｰｽ続けて外れて軍資金が尽きる確率は 6.1%、的中か 9ﾚｰｽ目で止める追い上げ1回の"
               u"期待収支は -2,726円です"_s;
        QTest::newRow("one race")
            << 1000LL
            << u"単勝の払戻率 80%と倍率 3倍から推定した的中率は 26.7%（予想ではありません）で、"
               u"1ﾚｰｽ目が外れて軍資金が尽きる確率は 73.3%、その1ﾚｰｽの期待収支は -200円です"_s;
        QTest::newRow("all ten")
            << 113400LL
            << u"単勝の払戻率 80%と倍率 3倍から推定した的中率は 26.7%（予想ではありません）で、"
               u"10ﾚｰｽ続けて外れる確率は 4.5%、的中か 10ﾚｰｽ目で止める追い上げ1回の期待収支は "
               u"-3,197円です"_s;
        QTest::newRow("none: the chart says what the money lacks") << 999LL << QString();
    }

    void sentences() {
        QFETCH(qint64, bankroll);
        QFETCH(QString, sentence);
        QCOMPARE(RiskSentence(MakePlan(1000, 3.0f), Yen(bankroll), TicketType::Win, 3.0f),
                 sentence);
    }

    // Over a range of odds and every ticket type, each figure is the one
    // extended precision gives, to within its rounding.
    void againstExtendedPrecision() {
        for (int tenths = 11; tenths <= 300; tenths += 7) {
            const float odds = float(tenths) / 10;
            const Plan plan = MakePlan(1000, odds);
            for (int t = 0; t < TicketTypes; ++t) {
                const long double p = PayoutRatePermille(TicketType(t)) / (1000.0L * odds);
                const std::optional<PlanRisk> risk =
                    CalcPlanRisk(plan, Yen(100000), TicketType(t), odds);
                QVERIFY(risk);
                long double expected = 0;
                for (int i = 0; i < risk->races; ++i)
                    expected += std::pow(1 - p, i) * plan[i].stake.toDouble();
                expected *= PayoutRatePermille(TicketType(t)) / 1000.0L - 1;
                QVERIFY(std::fabs(risk->hitTenths - 1000 * p) <= 0.5L);
                QVERIFY(std::fabs(risk->allLostTenths - 1000 * std::pow(1 - p, risk->races)) <=
                        0.5L);
                QVERIFY(std::fabs(WholeYen(risk->expected) - expected) <= 0.5L);
            }
        }
    }

    void hitChance_data() {
        QTest::addColumn<int>("ticket");
        QTest::addColumn<qint64>("odds");
        QTest::addColumn<QString>("line");
        QTest::newRow("単勝 3.0")
            << 0 << 30LL
            << u"的中率の目安 26.7%（単勝の払戻率 80%÷倍率 3.0倍による推定で、"
               u"予想ではありません）"_s;
        QTest::newRow("a half, up")
            << 0 << 640LL
            << u"的中率の目安 1.3%（単勝の払戻率 80%÷倍率 64.0倍による推定で、"
               u"予想ではありません）"_s;
        QTest::newRow("ワイド 1.1") << 4 << 11LL
                                    << u"的中率の目安 70.5%（ワイドの払戻率 77.5%÷倍率 1.1倍による"
                                       u"推定で、予想ではありません）"_s;
    }

    void hitChance() {
        QFETCH(int, ticket);
        QFETCH(qint64, odds);
        QFETCH(QString, line);
        QCOMPARE(HitChanceLine(TicketType(ticket), odds), line);
    }

    // Quotients of numbers far beyond 64 bits: q·b ≤ a < (q + 1)·b, and the
    // rounded one within half of b.
    void naturals() {
        const Natural big = Power(3, 100) + Power(2, 90);
        for (const Natural &b : {Natural(1), Natural(7), Power(10, 25) + 3, big}) {
            const Natural a = Power(big, 3) + 12345, q = a / b, r = RoundedQuotient(a, b);
            QVERIFY(q * b <= a && a < (q + 1) * b);
            const Natural twiceRest = (a - q * b) + (a - q * b);
            QVERIFY(r == q ? twiceRest < b : r == q + 1 && twiceRest >= b);
        }
        QCOMPARE(RoundedQuotient(5, 2), Natural(3));
        QCOMPARE(RoundedQuotient(Power(2, 100) + Power(2, 99), Power(2, 100)), Natural(2));
        QCOMPARE((Power(2, 64) - 1).toUInt64(), ~std::uint64_t(0));
    }
};

QTEST_APPLESS_MAIN(TestRisk)
#include "tst_risk.moc"
