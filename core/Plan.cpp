#include "core/Plan.h"

#include "core/CommonModule.h"
#include "core/Messages.h"
#include "core/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

QString yen(Amount amount) {
    return FormatAmount(amount) + u"円"_s;
}

} // namespace

Plan MakePlan(std::int32_t startAmount, float odds) {
    const float up = CalcUpRate(odds);
    Plan plan;
    for (std::int16_t i = 0; i < PlanRows; ++i)
        plan[i] = {CalcInvestAmount(startAmount, up, i), CalcTotalAmount(startAmount, up, i)};
    return plan;
}

QStringList PlanHeadings(std::int32_t startAmount, float odds, float upRate) {
    return {u"開始金額："_s + FormatAmount(double(startAmount)) + u"円"_s,
            u"倍率："_s + SingleText(odds) + u"倍"_s, u"上昇率："_s + SingleText(upRate) + u"倍"_s};
}

BankrollReading ReadBankroll(const QString &text) {
    if (!IsNumeric(text))
        return {std::nullopt, message::NotANumber};
    const double value = ToNumber(text);
    if (value < 100)
        return {std::nullopt, message::Below100Yen};
    const double whole = std::nearbyint(value); // ties to even
    if (!(whole <= MostWholeYen))
        return {std::nullopt, FormatAmount(MostWholeYen) + u"円以下を設定して下さい。"_s};
    return {ToAmount(whole), QString()};
}

int RacesCovered(const Plan &plan, Amount bankroll) {
    int races = 0;
    while (races < PlanRows && plan[races].total <= bankroll)
        ++races;
    return races;
}

QString ReachSentence(const Plan &plan, Amount bankroll) {
    const int races = RacesCovered(plan, bankroll);
    const QString money = u"軍資金 "_s + yen(bankroll);
    if (races == 0)
        return money + u"では 1ﾚｰｽ目の "_s + yen(plan[0].stake) + u"に "_s +
               yen(plan[0].total - bankroll) + u"足りません"_s;
    const QString reach =
        races == 1 ? u"1ﾚｰｽ目まで"_s : u"%1連敗後の %2ﾚｰｽ目まで"_s.arg(races - 1).arg(races);
    const QString rest = races == PlanRows ? u"残り "_s + yen(bankroll - plan[PlanRows - 1].total)
                                           : u"%1ﾚｰｽ目には "_s.arg(races + 1) +
                                                 yen(plan[races].total - bankroll) + u"不足"_s;
    return money + u"で "_s + reach + u"賭けられます（"_s + rest + u"）"_s;
}

ValueAxis AxisFor(double highest) {
    double power = 1;
    for (;;) {
        for (double size : {1.0, 2.0, 5.0}) {
            const double step = size * power;
            const double steps = std::max(1.0, std::ceil(highest / step));
            if (steps <= 6)
                return {step, int(steps)};
        }
        power *= 10;
    }
}

} // namespace morvex
