#pragma once

#include "core/Amount.h"
#include "core/RuntimeError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

// The betting plan as the windows show it: the inputs read from the main
// window's text boxes, the main window's five figures, the table of stakes,
// totals, payouts and profits for runs of 0 to 9 defeats, and what the money
// at hand makes of the plan in the chart window. Everything a window shows
// of the plan is worked out here, as values and as the texts shown; the
// windows only display it.
namespace morvex {

// ---- The inputs ------------------------------------------------------------

// The start amount and the odds as the plan is worked out from them.
struct PlanInputs {
    std::int32_t startAmount = 0;
    float odds = 0.0f;
};

// A text that an input does not accept: the field, the caption the message
// goes under, and the message.
struct InputProblem {
    enum class Field { StartAmount, Odds };
    Field field;
    QString title;
    QString message;
};

// The two texts read once, in the order the checks run: the start amount
// must be a number of at least 100 (yen), the odds a number greater than 1.
// Gives the first problem, or the inputs converted: the start amount to a
// 32-bit integer (nearest, ties to even; beyond its range Overflow is
// raised), the odds to single precision (beyond its range infinite).
struct InputReading {
    std::optional<PlanInputs> inputs;
    std::optional<InputProblem> problem;
};
InputReading ReadInputs(const QString &startAmount, const QString &odds);

// ---- The main window's figures ------------------------------------------------

// A figure and the text a window shows for it.
template <typename T> struct Shown {
    T value;
    QString text;
};

// The five figures for the race after `defeats` defeats, in the order they
// are worked out and written: the total, the stake, the payout, the profit
// and the up-rate. A run-time error leaves the figures from the failing
// one on empty and is kept in `failure`. With no run of defeats picked
// (defeats < 0) the total is 0 and nothing at all is given.
struct RaceFigures {
    std::optional<Shown<Amount>> total, stake, payout, profit;
    std::optional<Shown<float>> upRate;
    std::optional<RuntimeError> failure;
};
RaceFigures CalcRace(const PlanInputs &inputs, std::int16_t defeats);

// What a winning stake pays back. The main window takes stake × odds as an
// amount; the table takes the stake as it shows it, in whole yen, times the
// odds in double precision, and shows that to the yen (so that its profit
// is the difference of two whole figures shown). The two differ only where
// the product lies within half a ten-thousandth of a half yen.
Amount MainPayout(Amount stake, float odds);
double TablePayout(Amount stake, float odds);

// ---- The table -----------------------------------------------------------------

inline constexpr int PlanRows = 10;

// The stake for the next race and everything staked through it, for each run
// of 0 to 9 defeats: the plan that the chart draws.
struct PlanStep {
    Amount stake;
    Amount total;
};
using Plan = std::array<PlanStep, PlanRows>;

// One cell of the table as shown: its text, the number as other programs
// read it (no group separators), and whether it belongs to the inputs of the
// last fill.
struct TableCell {
    QString text;
    QString plain;
    bool stale = false;
};

// The table window's figures: three headings and, for each run of defeats,
// the stake, the total, the payout and the profit. Each fill works the
// cells out in the order the window writes them (row by row, then the
// headings) over what the table held: a run-time error stops it there, the
// cells written so far hold the new figures and the others keep theirs,
// stale. The table remembers its inputs, whether the last fill came through
// whole, and where a failed one stopped.
class PlanTable {
public:
    enum Column { Stake, Total, Payout, Profit };
    static constexpr int FigureColumns = 4;
    // The column headers, the defeats column's first.
    static const QStringList Headers;

    // Fills the table for these inputs; raises the error that stopped it.
    void fill(const PlanInputs &inputs);

    const PlanInputs &inputs() const { return inputs_; }
    bool isWhole() const { return !failure_; }
    // The row the last fill stopped at (0 when the up-rate failed, before
    // any row), or -1 when it came through.
    int failedRow() const { return failedRow_; }

    const TableCell &heading(int index) const { return headings_[index]; }
    const TableCell &figure(int row, Column column) const { return figures_[row][column]; }

    // The plan of a table that came through whole.
    Plan plan() const;

    // The headings joined into one title line, as the chart shows them.
    QString title() const;

    // The table as tab-separated text, exactly as shown: the heading line,
    // the column headers and the ten rows, each line ending in a line feed.
    QString text() const;

    // The table for a spreadsheet: the headings, the column headers and the
    // ten rows, the figures as plain numbers.
    QList<QStringList> csvRecords() const;

    // The name its file is offered under: 「投資額表_1000円_3倍.csv」.
    QString fileName() const;

private:
    PlanInputs inputs_;
    Plan plan_{};
    std::array<TableCell, 3> headings_;
    std::array<std::array<TableCell, FigureColumns>, PlanRows> figures_;
    std::optional<RuntimeError> failure_;
    int failedRow_ = -1;
};

// The plan for these inputs. Raises what the arithmetic raises.
Plan MakePlan(const PlanInputs &inputs);

// ---- The money at hand -------------------------------------------------------

// The money at hand read from the user's text (a number of at least 100, as
// the start amount; whole yen, ties to even; at most the most an amount
// holds), or the message that says what is wrong with the text.
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

// What the chart tells a screen reader of the plan: each run's stake and
// total, 「0連敗 今回投資額 1,000円 累計投資額 1,000円、…。」.
QString PlanDescription(const Plan &plan);

// A value axis from 0 that holds `highest`: `steps` equal steps of a round
// size (1, 2 or 5 times a power of ten), at most six of them.
struct ValueAxis {
    double step;
    int steps;
    double top() const { return step * steps; }
    // The amount at step k, as the axis shows it.
    QString label(int k) const;
};
ValueAxis AxisFor(double highest);

} // namespace morvex
