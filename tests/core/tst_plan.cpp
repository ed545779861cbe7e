// The plan as the windows show it: the inputs read once (the checks, their
// order and messages, in the user's locale), the main window's five figures
// and where a failure leaves them, the two payouts, the table's cells, where
// a failed fill stops and what it leaves stale. (Its copy and its file are
// the table window's, compared byte for byte there.)
#include "core/NumberText.h"
#include "core/Plan.h"
#include "tests/TestData.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

// The five figures as "total stake payout profit up-rate", "-" for one not
// given.
QString figuresOf(const RaceFigures &figures) {
    QStringList texts;
    auto add = [&](const auto &figure) { texts.append(figure ? figure->text : u"-"_s); };
    add(figures.total);
    add(figures.stake);
    add(figures.payout);
    add(figures.profit);
    add(figures.upRate);
    return texts.join(u' ');
}

// A table's row as shown, "stake total payout profit", each cell with a
// "*" when stale.
QString rowOf(const PlanTable &table, int row) {
    QStringList cells;
    for (auto column : {PlanTable::Stake, PlanTable::Total, PlanTable::Payout, PlanTable::Profit}) {
        const TableCell &cell = table.figure(row, column);
        cells.append(cell.text + (cell.stale ? u"*"_s : QString()));
    }
    return cells.join(u' ');
}

} // namespace

class TestPlan : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    // The checks run in order and stop at the first problem; the values are
    // read in the user's locale and converted only once both texts pass.
    void inputs_data() {
        addRowsFrom<QString, QString, QString, QString>("core/plan-inputs.txt",
                                                        {"locale", "start", "odds", "read"});
    }

    void inputs() {
        QFETCH(QString, locale);
        QFETCH(QString, start);
        QFETCH(QString, odds);
        QFETCH(QString, read);
        QLocale::setDefault(QLocale(locale));
        const InputReading reading = ReadInputs(start, odds);
        QCOMPARE(reading.inputs.has_value(), !reading.problem.has_value());
        const QString got =
            reading.inputs ? u"%1 %2"_s.arg(reading.inputs->startAmount).arg(reading.inputs->odds)
                           : reading.problem->title + u" / "_s + reading.problem->message;
        QCOMPARE(got, read);
        if (reading.problem) // the field that gets the focus goes with the title
            QCOMPARE(reading.problem->field == InputProblem::Field::StartAmount,
                     reading.problem->title == u"開始金額"_s);
    }

    void startBeyond32Bits() {
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ReadInputs(u"1e20"_s, u"3"_s));
    }

    // The figures in the order they are written; a failure keeps those
    // before it.
    void race_data() {
        addRowsFrom<qint32, float, int, QString, int>(
            "core/plan-figures.txt", {"start", "odds", "defeats", "figures", "error"});
    }

    void race() {
        QFETCH(qint32, start);
        QFETCH(float, odds);
        QFETCH(int, defeats);
        QFETCH(QString, figures);
        QFETCH(int, error);
        const RaceFigures race = CalcRace({start, odds}, std::int16_t(defeats));
        QCOMPARE(figuresOf(race), figures);
        QCOMPARE(race.failure ? int(race.failure->number) : 0, error);
    }

    // The main window's payout is an amount of the product, the table's the
    // product shown to the yen: they differ where the product lies within
    // half a ten-thousandth below a half yen.
    void payouts_data() {
        addRowsFrom<qint64, float, QString, QString>("core/payouts.txt",
                                                     {"stake", "odds", "main", "table"});
    }

    void payouts() {
        QFETCH(qint64, stake);
        QFETCH(float, odds);
        QFETCH(QString, main);
        QFETCH(QString, table);
        const Amount amount = ToAmount(double(stake));
        QString shown = u"overflow"_s;
        try {
            shown = FormatAmount(MainPayout(amount, odds));
        } catch (const RuntimeError &) {
        }
        QCOMPARE(shown, main);
        QCOMPARE(FormatAmount(TablePayout(amount, odds)), table);
    }

    // The table's rows, its headings, and its title for the chart.
    void table_data() {
        addRowsFrom<qint32, float, int, QString, QString>(
            "core/plan-tables.txt", {"start", "odds", "row", "figures", "headings"});
    }

    void table() {
        QFETCH(qint32, start);
        QFETCH(float, odds);
        QFETCH(int, row);
        QFETCH(QString, figures);
        QFETCH(QString, headings);
        PlanTable table;
        table.fill({start, odds});
        QVERIFY(table.isWhole());
        QCOMPARE(table.failedRow(), -1);
        QCOMPARE(rowOf(table, row), figures);
        QCOMPARE(table.heading(0).text + u' ' + table.heading(1).text + u' ' +
                     table.heading(2).text,
                 headings);
        QCOMPARE(table.title(), table.heading(0).text + u"　"_s + table.heading(1).text + u"　"_s +
                                    table.heading(2).text);
        const Plan plan = table.plan();
        QCOMPARE(FormatAmount(plan[row].stake) + u' ' + FormatAmount(plan[row].total),
                 figures.section(u' ', 0, 1));
    }

    // A fill that fails stops at its row: the rows before it and the cells
    // of that row already worked out hold the new figures, the rest what
    // the table held, stale, the headings too; the next whole fill makes
    // everything current.
    void failedFill_data() {
        QTest::addColumn<float>("odds");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("row");
        QTest::newRow("odds 1 as a single: the up-rate") << 1.0f << int(DivisionByZero) << 0;
        QTest::newRow("odds 1.01: overflow at row 6") << 1.01f << int(Overflow) << 6;
        QTest::newRow("odds 1.001: overflow at row 4") << 1.001f << int(Overflow) << 4;
    }

    void failedFill() {
        QFETCH(float, odds);
        QFETCH(int, error);
        QFETCH(int, row);
        PlanTable table;
        table.fill({1000, 3.0f});
        const QString before = table.text();
        int raised = 0;
        try {
            table.fill({1000, odds});
        } catch (const RuntimeError &e) {
            raised = int(e.number);
        }
        QCOMPARE(raised, error);
        QVERIFY(!table.isWhole());
        QCOMPARE(table.failedRow(), row);
        QCOMPARE(table.inputs().odds, odds);
        const QStringList lines = table.text().split(u'\n'), old = before.split(u'\n');
        for (int i = 0; i < PlanRows; ++i) {
            const bool rewritten = i < row;
            QCOMPARE(table.figure(i, PlanTable::Stake).stale, !rewritten);
            QCOMPARE(table.figure(i, PlanTable::Profit).stale, !rewritten);
            QCOMPARE(lines[2 + i] == old[2 + i], !rewritten);
        }
        QVERIFY(table.heading(0).stale && table.heading(2).stale);
        QCOMPARE(lines[0], old[0]); // the headings of the last inputs that came through
        table.fill({1000, 3.0f});
        QVERIFY(table.isWhole() && !table.heading(1).stale &&
                !table.figure(9, PlanTable::Total).stale);
        QCOMPARE(table.text(), before);
    }
};

QTEST_APPLESS_MAIN(TestPlan)
#include "tst_plan.moc"
