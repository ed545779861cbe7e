// The calculation command of the main window and the fill of the table
// window, replayed with the core procedures in the windows' own order on
// whatever the user might type.
//
// Input: "<defeats>|<start amount>|<odds>", the two texts in UTF-8. The
// defeats field is the selected index of the defeats list: "-" for no
// selection, otherwise its digits modulo 20 ("2|1000|3.0").
#include "FuzzCheck.h"

#include "core/Amount.h"
#include "core/CommonModule.h"
#include "core/FaultWatch.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"

#include <QByteArray>
#include <cmath>
#include <cstdint>
#include <vector>

using namespace morvex;
using namespace morvex::fuzz;

namespace {

constexpr int TableRows = 10;

struct Typed {
    QString start;
    QString odds;
    std::int16_t defeats = 0;
};

Typed parse(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArray> fields = bytes.split('|');
    Typed typed;
    const QByteArray defeats = fields.value(0);
    if (defeats.startsWith('-')) {
        typed.defeats = -1;
    } else {
        int index = 0;
        for (char c : defeats.left(4))
            if (c >= '0' && c <= '9')
                index = index * 10 + (c - '0');
        typed.defeats = std::int16_t(index % 20);
    }
    // The odds take the rest, so that they may contain '|' themselves.
    const qsizetype oddsBegin = defeats.size() + 1 + fields.value(1).size() + 1;
    typed.start = QString::fromUtf8(fields.value(1));
    typed.odds = QString::fromUtf8(bytes.mid(oddsBegin));
    return typed;
}

QString typedText(const Typed &typed) {
    return u"start "_qs + describe(typed.start) + u", odds "_qs + describe(typed.odds) +
           u", defeats "_qs + QString::number(typed.defeats);
}

// CheckInput: the four checks in order, stopping at the first that fails.
bool checkInput(const Typed &typed) {
    if (!IsNumeric(typed.start))
        return false;
    if (Val(typed.start) < 100)
        return false;
    if (!IsNumeric(typed.odds))
        return false;
    if (Val(typed.odds) <= 1)
        return false;
    return true;
}

// Reading the two inputs, as both the calculation command and the table
// button do after the check.
struct Inputs {
    std::int32_t start = 0;
    float odds = 0;
};

Inputs readInputs(const Typed &typed) {
    Inputs inputs;
    inputs.start = ToInt32(Val(typed.start));
    inputs.odds = ToSingle(Val(typed.odds));
    FUZZ_REQUIRE(inputs.start >= 100, "a start amount that passed the check is at least 100",
                 typedText(typed));
    FUZZ_REQUIRE(inputs.odds >= 1.0f, "odds that passed the check are at least 1 as a single",
                 typedText(typed));
    return inputs;
}

struct MainFigures {
    bool complete = false;
    float odds = 0;
    bool exactStake = false;
    double payoutProduct = 0;
    QString total, stake, payout, profit, upRate;
};

// The calculation command from the inputs on; returns the error it raised.
int calculate(const Typed &typed, MainFigures &shown) {
    return errorOf([&] {
        const Inputs inputs = readInputs(typed);
        shown.odds = inputs.odds;
        const float upRate = CalcUpRate(inputs.odds);
        const Amount total = CalcTotalAmount(inputs.start, upRate, typed.defeats);
        FUZZ_REQUIRE(isWholeHundreds(total), "the total is a whole number of hundreds",
                     typedText(typed) + u" → "_qs + describe(total));
        if (total == Amount()) {
            FUZZ_REQUIRE(typed.defeats < 0, "the total is 0 only with no defeats item selected",
                         typedText(typed));
            return;
        }
        FUZZ_REQUIRE(typed.defeats >= 0, "with no defeats item selected the total is 0",
                     typedText(typed) + u" → "_qs + describe(total));
        shown.total = FormatAmount(total);

        const Amount stake = CalcInvestAmount(inputs.start, upRate, typed.defeats);
        FUZZ_REQUIRE(isWholeHundreds(stake), "the stake is a whole number of hundreds",
                     typedText(typed) + u" → "_qs + describe(stake));
        FUZZ_REQUIRE(total >= stake, "the total includes the stake",
                     typedText(typed) + u" → stake "_qs + describe(stake) + u", total "_qs +
                         describe(total));
        shown.stake = FormatAmount(stake);

        FaultWatch fp;
        const double product = fp.mul(stake.toDouble(), double(inputs.odds));
        fp.check();
        const Amount payout = ToAmount(product);
        shown.exactStake = stake.raw() % RawPerHundred == 0;
        shown.payoutProduct = product;
        shown.payout = FormatAmount(payout);
        shown.profit = FormatAmount(payout - total);
        shown.upRate = SingleText(upRate);
        shown.complete = true;
    });
}

struct TableRow {
    QString invest, total, recovery, profit;
};

// The table fill from the inputs on; rows filled before an error stay.
int fillTable(const Typed &typed, std::vector<TableRow> &rows) {
    return errorOf([&] {
        const Inputs inputs = readInputs(typed);
        const float upRate = CalcUpRate(inputs.odds);
        Amount previousTotal;
        Amount previousInvest;
        for (std::int16_t i = 0; i < TableRows; ++i) {
            auto row = [&] { return typedText(typed) + u", row "_qs + QString::number(i); };
            TableRow shown;
            const Amount invest = CalcInvestAmount(inputs.start, upRate, i);
            shown.invest = FormatAmount(invest);
            const Amount total = CalcTotalAmount(inputs.start, upRate, i);
            shown.total = FormatAmount(total);
            FUZZ_REQUIRE(isWholeHundreds(invest) && isWholeHundreds(total),
                         "table stakes and totals are whole numbers of hundreds",
                         row() + u": "_qs + describe(invest) + u", "_qs + describe(total));
            FUZZ_REQUIRE(total >= invest, "a table total includes its stake",
                         row() + u": "_qs + describe(invest) + u", "_qs + describe(total));
            FUZZ_REQUIRE(invest >= previousInvest, "the stakes do not fall from row to row",
                         row() + u": "_qs + describe(previousInvest) + u" then "_qs +
                             describe(invest));
            // The running total grows by the rounded stake, or by one hundred
            // more where the four-decimal conversion of the term crosses the
            // rounding boundary first.
            const Amount step = total - previousTotal;
            const std::int64_t stepHundreds = hundredsOf(step);
            FUZZ_REQUIRE(
                stepHundreds == hundredsOf(invest) || stepHundreds == hundredsOf(invest) + 1,
                "a table total grows by its row's stake",
                row() + u": step "_qs + describe(step) + u", stake "_qs + describe(invest));

            FaultWatch fp;
            const double investRead = ToNumber(shown.invest);
            FUZZ_REQUIRE(investRead == double(hundredsOf(invest)) * 100,
                         "a stake's text reads back as the stake",
                         row() + u": "_qs + describe(shown.invest) + u" reads "_qs +
                             describe(investRead));
            const double recovery = fp.mul(investRead, double(inputs.odds));
            fp.check();
            shown.recovery = FormatAmount(recovery);
            const double profit = fp.sub(ToNumber(shown.recovery), ToNumber(shown.total));
            fp.check();
            shown.profit = FormatAmount(profit);
            rows.push_back(shown);
            previousTotal = total;
            previousInvest = invest;
        }
        // The headings come last.
        (void)FormatAmount(double(inputs.start));
        (void)SingleText(inputs.odds);
        (void)SingleText(upRate);
    });
}

bool knownError(int error) {
    return error == 0 || error == Overflow || error == DivisionByZero;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useJapaneseLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const Typed typed = parse(data, size);
    bool accepted = false;
    const int checkError = errorOf([&] { accepted = checkInput(typed); });
    FUZZ_REQUIRE(checkError == 0, "CheckInput raises nothing",
                 typedText(typed) + u" error "_qs + QString::number(checkError));
    if (!accepted)
        return 0;

    MainFigures shown;
    const int error = calculate(typed, shown);
    FUZZ_REQUIRE(knownError(error), "the calculation raises only Overflow or DivisionByZero",
                 typedText(typed) + u" error "_qs + QString::number(error));
    if (error == DivisionByZero)
        FUZZ_REQUIRE(shown.odds == 1.0f, "only odds of 1 as a single divide by zero",
                     typedText(typed));

    std::vector<TableRow> rows;
    const int tableError = fillTable(typed, rows);
    FUZZ_REQUIRE(knownError(tableError), "the table fill raises only Overflow or DivisionByZero",
                 typedText(typed) + u" error "_qs + QString::number(tableError));
    FUZZ_REQUIRE(tableError != 0 || rows.size() == TableRows, "a table without error has ten rows",
                 typedText(typed));

    // What the main window could compute, the table can show too, and both
    // show the same figures for the same number of defeats.
    if (shown.complete && typed.defeats < TableRows) {
        FUZZ_REQUIRE(qsizetype(rows.size()) > typed.defeats,
                     "the table fills every row the calculation could compute",
                     typedText(typed) + u": "_qs + QString::number(rows.size()) +
                         u" rows, error "_qs + QString::number(tableError));
        const TableRow &row = rows[std::size_t(typed.defeats)];
        FUZZ_REQUIRE(row.invest == shown.stake && row.total == shown.total,
                     "the table's row shows the calculation's stake and total",
                     typedText(typed) + u": "_qs + row.invest + u" / "_qs + row.total +
                         u" against "_qs + shown.stake + u" / "_qs + shown.total);
        // Both round the same product (where the stake's double is the whole
        // number its text shows); they may differ only where the product's
        // fraction lies just below a half, which the four-decimal amount lifts
        // to one.
        const double product = shown.payoutProduct;
        const double fraction = product - std::floor(product);
        if (shown.exactStake && std::fabs(fraction - 0.5) > 1e-4)
            FUZZ_REQUIRE(row.recovery == shown.payout,
                         "the table's payout matches the calculation's",
                         typedText(typed) + u": "_qs + row.recovery + u" against "_qs +
                             shown.payout + u" from "_qs + describe(product));
        if (shown.exactStake && fraction == 0.0)
            FUZZ_REQUIRE(row.profit == shown.profit, "the table's profit matches the calculation's",
                         typedText(typed) + u": "_qs + row.profit + u" against "_qs + shown.profit);
    }
    return 0;
}
