#include "core/Risk.h"

#include "core/Natural.h"
#include "core/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

struct Fraction {
    Natural numerator, denominator;
};

// Single-precision odds above 1 exactly as held: a 24-bit mantissa over a
// power of two.
Fraction exactly(float odds) {
    int exponent;
    const Natural mantissa = std::uint64_t(std::ldexp(std::frexp(odds, &exponent), 24));
    if (exponent >= 24)
        return {mantissa * Power(2, exponent - 24), 1};
    return {mantissa, Power(2, 24 - exponent)};
}

QString yen(Amount amount) {
    return FormatAmount(amount) + u"円"_s;
}

} // namespace

std::optional<PlanRisk> CalcPlanRisk(const Plan &plan, Amount bankroll, TicketType ticket,
                                     float odds) {
    const int k = RacesCovered(plan, bankroll);
    if (k == 0 || !(odds > 1) || std::isinf(odds))
        return std::nullopt;
    // p = R ÷ O = r·d ÷ (1000·n) for R = r/1000 and O = n/d; q = (1000·n − r·d) ÷ (1000·n)
    const Fraction o = exactly(odds);
    const Natural r = std::uint64_t(PayoutRatePermille(ticket));
    const Natural qDenominator = o.numerator * 1000;
    const Natural qNumerator = qDenominator - r * o.denominator;
    PlanRisk risk;
    risk.races = k;
    risk.hitTenths = RoundedQuotient(r * o.denominator, o.numerator).toUInt64();
    risk.allLostTenths =
        RoundedQuotient(Power(qNumerator, k) * 1000, Power(qDenominator, k)).toUInt64();
    // (1 − R) × Σ qⁱ·sᵢ over the common denominator 1000 · qDenominator^(k−1) · 10,000
    // (stakes are held in ten-thousandths of a yen)
    Natural sum;
    for (int i = 0; i < k; ++i)
        sum = sum + Power(qNumerator, i) * Power(qDenominator, k - 1 - i) *
                        std::uint64_t(plan[i].stake.raw());
    const Natural loss =
        RoundedQuotient((Natural(1000) - r) * sum, Power(qDenominator, k - 1) * 1000 * 10000);
    risk.expected = Amount() - Yen(std::int64_t(loss.toUInt64()));
    return risk;
}

QString RiskSentence(const Plan &plan, Amount bankroll, TicketType ticket, float odds) {
    const std::optional<PlanRisk> risk = CalcPlanRisk(plan, bankroll, ticket, odds);
    if (!risk)
        return {};
    const int k = risk->races;
    const QString allLost = PercentText(risk->allLostTenths);
    const QString rest =
        k == 1 ? u"1ﾚｰｽ目が外れて軍資金が尽きる確率は %1、その1ﾚｰｽの期待収支は "_s.arg(allLost)
        : k == PlanRows
            ? u"%1ﾚｰｽ続けて外れる確率は %2、的中か %1ﾚｰｽ目で止める追い上げ1回の期待収支は "_s.arg(
                  QString::number(k), allLost)
            : u"%1ﾚｰｽ続けて外れて軍資金が尽きる確率は %2、的中か %1ﾚｰｽ目で止める追い上げ1回の"
              u"期待収支は "_s.arg(QString::number(k), allLost);
    return TicketName(ticket) + u"の払戻率 "_s + PayoutRateText(ticket) + u"と倍率 "_s +
           SingleText(odds) + u"倍から推定した的中率は "_s + PercentText(risk->hitTenths) +
           u"（予想ではありません）で、"_s + rest + yen(risk->expected) + u"です"_s;
}

std::int64_t HitChanceTenths(TicketType ticket, std::int64_t oddsTenths) {
    // p = (r/1000) ÷ (o/10), in tenths of a percent: 10·r ÷ o
    return RoundedQuotient(std::uint64_t(10 * PayoutRatePermille(ticket)),
                           std::uint64_t(oddsTenths))
        .toUInt64();
}

QString HitChanceLine(TicketType ticket, std::int64_t oddsTenths) {
    return u"的中率の目安 "_s + PercentText(HitChanceTenths(ticket, oddsTenths)) + u"（"_s +
           TicketName(ticket) + u"の払戻率 "_s + PayoutRateText(ticket) + u"÷倍率 "_s +
           OddsText(oddsTenths) + u"倍による推定で、予想ではありません）"_s;
}

} // namespace morvex
