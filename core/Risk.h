#pragma once

#include "core/Plan.h"
#include "core/Race.h"

#include <QString>
#include <optional>

// What the payout rate says of a progression's risk. The chance of a hit is
// estimated as p = R ÷ O from the ticket type's payout rate R and the odds O
// (an estimate from the rate, not a prediction), q = 1 − p the chance of a
// miss. Percentages are in tenths of a percent and yen whole, both rounded
// once, halves away from zero, from the exact fractions.
namespace morvex {

// The plan against the money at hand, at the plan's own odds: k, the races
// the money pays for (RacesCovered); p; the chance qᵏ that all k lose and
// the money is gone; and the expected result of one run of the plan that
// stops at the first hit or after k races, (R − 1) × Σᵢ₌₀ᵏ⁻¹ qⁱ·sᵢ yen (a
// loss). Nothing where the money pays for no race, or the odds are not
// above 1.
struct PlanRisk {
    int races = 0;
    std::int64_t hitTenths = 0;
    std::int64_t allLostTenths = 0;
    Amount expected;
};
std::optional<PlanRisk> CalcPlanRisk(const Plan &plan, Amount bankroll, TicketType ticket,
                                     float odds);

// The chart's sentence on it: 「単勝の払戻率 80%と倍率 3倍から推定した的中率は
// 26.7%（予想ではありません）で、9ﾚｰｽ続けて外れて軍資金が尽きる確率は 6.1%、
// 的中か 9ﾚｰｽ目で止める追い上げ1回の期待収支は -2,726円です」; for money that pays
// for one race 「…で、1ﾚｰｽ目が外れて軍資金が尽きる確率は 73.3%、その1ﾚｰｽの期待
// 収支は -200円です」, for all ten 「…で、10ﾚｰｽ続けて外れる確率は 4.5%、的中か
// 10ﾚｰｽ目で止める…」. Empty where the money pays for no race.
QString RiskSentence(const Plan &plan, Amount bankroll, TicketType ticket, float odds);

// The next race's chance of a hit, for its ticket type and odds (tenths,
// above 10), and the line the record window shows beside it:
// 「的中率の目安 26.7%（単勝の払戻率 80%÷倍率 3.0倍による推定で、予想ではありません）」.
std::int64_t HitChanceTenths(TicketType ticket, std::int64_t oddsTenths);
QString HitChanceLine(TicketType ticket, std::int64_t oddsTenths);

// The record window's plain notice, its bottom line.
inline const QString RaceLogNotice = QStringLiteral(
    "追い上げは連敗が続くと投資額が急に大きくなります。当日より前に使う金額の上限を決め"
    "（購入限度額を設定しておくこともできます）、必ず守って下さい。"
    "20歳未満の方は馬券を購入できません。");

} // namespace morvex
