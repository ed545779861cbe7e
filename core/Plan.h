#pragma once

#include "core/Amount.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// The plan for runs of 0 to 9 defeats as a whole, and what the money at hand
// makes of it: how many races it pays for and what it lacks for the next.
namespace morvex {

inline constexpr int PlanRows = 10;

// One run of defeats: the stake for the next race and everything staked
// through it, as the table's 今回投資額 and 累計投資額 columns show them.
struct PlanStep {
    Amount stake;
    Amount total;
};
using Plan = std::array<PlanStep, PlanRows>;

// The plan for these inputs. Raises what the progression arithmetic raises.
Plan MakePlan(std::int32_t startAmount, float odds);

// The three headings of the plan: "開始金額：1,000円", "倍率：3倍",
// "上昇率：1.5倍".
QStringList PlanHeadings(std::int32_t startAmount, float odds, float upRate);

// The money at hand read from the user's text (numeric in the user's
// locale, at least 100, whole yen ties to even, at most the largest whole
// amount), or the message that says what is wrong with the text.
struct BankrollReading {
    std::optional<Amount> bankroll;
    QString problem;
};
BankrollReading ReadBankroll(const QString &text);

// How many races of the plan the money pays for from the first on: the
// runs whose running total it covers (0 … 10).
int RacesCovered(const Plan &plan, Amount bankroll);

// One sentence on how far the money reaches, exact to the yen: 「軍資金
// 100,000円で 8連敗後の 9ﾚｰｽ目まで賭けられます（10ﾚｰｽ目には 13,400円不足）」.
QString ReachSentence(const Plan &plan, Amount bankroll);

// A value axis from 0 that holds `highest`: `steps` equal steps of a round
// size (1, 2 or 5 times a power of ten), at most six of them.
struct ValueAxis {
    double step;
    int steps;
    double top() const { return step * steps; }
};
ValueAxis AxisFor(double highest);

} // namespace morvex
