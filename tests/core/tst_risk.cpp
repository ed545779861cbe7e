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
            CalcPlanRisk(MakePlan({start.toInt(), odds.toFloat()}), Yen(bankroll.toLongLong()),
                         *TicketNamed(ticket), odds.toFloat());
        QCOMPARE(risk
                     ? QStringList({QString::number(risk->races), PercentText(risk->hitTenths),
                                    PercentText(risk->allLostTenths), FormatAmount(risk->expected)})
                           .join(u' ')
                     : u"none"_s,
                 QStringList({races, hit, allLost, expected}).join(u' ').trimmed());
    }

    void sentences_data() { addRowsFrom("core/sentences.txt"); }

    void sentences() {
        const auto [ticket, start, odds, bankroll, sentence] = cells<5>();
        QCOMPARE(RiskSentence(MakePlan({start.toInt(), odds.toFloat()}), Yen(bankroll.toLongLong()),
                              *TicketNamed(ticket), odds.toFloat()),
                 sentence);
    }

    // Over a range of odds and every ticket type, each figure is the one
    // extended precision gives, to within its rounding.
    void againstExtendedPrecision() {
        for (int tenths = 11; tenths <= 300; tenths += 7) {
            const float odds = float(tenths) / 10;
            const Plan plan = MakePlan({1000, odds});
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

    void hitChance_data() { addRowsFrom("core/hitchance.txt"); }

    void hitChance() {
        const auto [ticket, odds, line] = cells<3>();
        QCOMPARE(HitChanceLine(*TicketNamed(ticket), odds.toLongLong()), line);
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
