#include "core/Plan.h"

#include "core/CommonModule.h"
#include "core/Conversions.h"
#include "core/Messages.h"
#include "core/NumberText.h"

#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// The rule the start amount and the money at hand share: a number in the
// user's locale, at least 100 (yen). The number, or the message.
struct YenReading {
    double value = 0;
    QString problem;
};

YenReading readYen(const QString &text) {
    if (!IsNumeric(text))
        return {0, message::NotANumber};
    const double value = ToNumber(text);
    if (value < 100)
        return {value, message::Below100Yen};
    return {value, QString()};
}

template <typename T> Shown<T> shown(T value, const QString &text) {
    return {value, text};
}

Shown<Amount> shown(Amount value) {
    return {value, FormatAmount(value)};
}

// A figure of the table fresh from a fill.
TableCell cellOf(const QString &text) {
    return {text, PlainWholeNumber(text), false};
}

QString yen(Amount amount) {
    return FormatAmount(amount) + u"円"_s;
}

} // namespace

InputReading ReadInputs(const QString &startAmount, const QString &odds) {
    using Field = InputProblem::Field;
    const YenReading start = readYen(startAmount);
    if (!start.problem.isEmpty())
        return {std::nullopt, InputProblem{Field::StartAmount, u"開始金額"_s, start.problem}};
    if (!IsNumeric(odds))
        return {std::nullopt, InputProblem{Field::Odds, u"倍率"_s, message::NotANumber}};
    const double oddsValue = ToNumber(odds);
    if (oddsValue <= 1)
        return {std::nullopt, InputProblem{Field::Odds, u"倍率"_s, message::OddsNotAboveOne}};
    return {PlanInputs{ToInt32(start.value), ToSingle(oddsValue)}, std::nullopt};
}

RaceFigures CalcRace(const PlanInputs &inputs, std::int16_t defeats) {
    RaceFigures figures;
    try {
        const float upRate = CalcUpRate(inputs.odds);
        const Amount total = CalcTotalAmount(inputs.startAmount, upRate, defeats);
        if (total == Amount())
            return figures; // no run of defeats picked
        figures.total = shown(total);
        const Amount stake = CalcInvestAmount(inputs.startAmount, upRate, defeats);
        figures.stake = shown(stake);
        const Amount payout = MainPayout(stake, inputs.odds);
        figures.payout = shown(payout);
        figures.profit = shown(payout - total);
        figures.upRate = shown(upRate, SingleText(upRate));
    } catch (const RuntimeError &error) {
        figures.failure = error;
    }
    return figures;
}

Amount MainPayout(Amount stake, float odds) {
    return ToAmount(CalcPayout(stake.toDouble(), odds));
}

double TablePayout(Amount stake, float odds) {
    return CalcPayout(double(stake.wholeYen()), odds);
}

const QStringList PlanTable::Headers{u"連敗数"_s, u"今回投資額"_s, u"累計投資額"_s, u"的中回収額"_s,
                                     u"的中時利益"_s};

// The payout and the profit are worked out from the figures as shown, so
// that the profit is always the difference of the two whole numbers in its
// row, exactly, however large they are.
void PlanTable::fill(const PlanInputs &inputs) {
    inputs_ = inputs;
    failure_.reset();
    failedRow_ = -1;
    for (TableCell &heading : headings_)
        heading.stale = true;
    for (auto &row : figures_)
        for (TableCell &cell : row)
            cell.stale = true;
    int row = 0;
    try {
        const float up = CalcUpRate(inputs.odds);
        for (; row < PlanRows; ++row) {
            const auto defeats = std::int16_t(row);
            auto &cells = figures_[row];
            plan_[row].stake = CalcInvestAmount(inputs.startAmount, up, defeats);
            cells[Stake] = cellOf(FormatAmount(plan_[row].stake));
            plan_[row].total = CalcTotalAmount(inputs.startAmount, up, defeats);
            cells[Total] = cellOf(FormatAmount(plan_[row].total));
            cells[Payout] = cellOf(FormatAmount(TablePayout(plan_[row].stake, inputs.odds)));
            cells[Profit] = cellOf(AmountDifference(cells[Payout].text, cells[Total].text));
        }
        const QString headings[] = {u"開始金額："_s + FormatAmount(double(inputs.startAmount)) +
                                        u"円"_s,
                                    u"倍率："_s + SingleText(inputs.odds) + u"倍"_s,
                                    u"上昇率："_s + SingleText(up) + u"倍"_s};
        for (int i = 0; i < 3; ++i)
            headings_[i] = {headings[i], headings[i], false};
    } catch (const RuntimeError &error) {
        failure_ = error;
        failedRow_ = row;
        throw;
    }
}

Plan PlanTable::plan() const {
    return plan_;
}

QString PlanTable::title() const {
    return headings_[0].text + u"　"_s + headings_[1].text + u"　"_s + headings_[2].text;
}

QString PlanTable::text() const {
    auto line = [](const QStringList &cells) { return cells.join(u'\t') + u'\n'; };
    QString text = line({headings_[0].text, headings_[1].text, headings_[2].text});
    text += line(Headers);
    for (int i = 0; i < PlanRows; ++i) {
        QStringList row{QString::number(i)};
        for (const TableCell &cell : figures_[i])
            row.append(cell.text);
        text += line(row);
    }
    return text;
}

// The figures without their group separators, so that a spreadsheet in any
// locale reads them as numbers and no cell needs quotes.
QList<QStringList> PlanTable::csvRecords() const {
    QList<QStringList> records{{headings_[0].plain, headings_[1].plain, headings_[2].plain},
                               Headers};
    for (int i = 0; i < PlanRows; ++i) {
        QStringList &row = records.emplace_back(QStringList{QString::number(i)});
        for (const TableCell &cell : figures_[i])
            row.append(cell.plain);
    }
    return records;
}

QString PlanTable::fileName() const {
    return u"投資額表_%1円_%2倍.csv"_s.arg(inputs_.startAmount).arg(SingleText(inputs_.odds));
}

Plan MakePlan(const PlanInputs &inputs) {
    PlanTable table;
    table.fill(inputs);
    return table.plan();
}

BankrollReading ReadBankroll(const QString &text) {
    const YenReading read = readYen(text);
    if (!read.problem.isEmpty())
        return {std::nullopt, read.problem};
    const double whole = std::nearbyint(read.value); // ties to even
    if (!(whole <= MostWholeYen))
        return {std::nullopt, message::AtMostLargest(u"円"_s)};
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

QString PlanDescription(const Plan &plan) {
    QStringList rows;
    for (int i = 0; i < PlanRows; ++i)
        rows.append(u"%1連敗 今回投資額 %2 累計投資額 %3"_s.arg(i).arg(yen(plan[i].stake),
                                                                       yen(plan[i].total)));
    return rows.join(u"、"_s) + u"。"_s;
}

QString ValueAxis::label(int k) const {
    return FormatAmount(step * k);
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
