// The plan as the windows show it: the inputs read once (the checks, their
// order and messages, in the user's locale), the main window's five figures
// and where a failure leaves them, the two payouts, the table's cells, where
// a failed fill stops and what it leaves stale, its copy and its file, and
// the money at hand against the plan.
#include "core/Export.h"
#include "core/Messages.h"
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
// given, and the failure's number after a "|".
QString figuresOf(const RaceFigures &figures) {
    QStringList texts;
    auto add = [&](const auto &figure) { texts.append(figure ? figure->text : u"-"_s); };
    add(figures.total);
    add(figures.stake);
    add(figures.payout);
    add(figures.profit);
    add(figures.upRate);
    if (figures.failure)
        texts.append(u"| "_s + QString::number(int(figures.failure->number)));
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
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("odds");
        QTest::addColumn<QString>("read"); // "start odds", or "title / message"
        const QString notNumber = message::NotANumber, below = message::Below100Yen,
                      notAbove = message::OddsNotAboveOne;
        QTest::newRow("typical") << "ja_JP"
                                 << "1000"
                                 << "3.0"
                                 << "1000 3";
        QTest::newRow("grouped start") << "ja_JP"
                                       << "150,000"
                                       << "3"
                                       << "150000 3";
        QTest::newRow("full-width") << "C"
                                    << "１，０００"
                                    << "２．５"
                                    << "1000 2.5";
        QTest::newRow("a half to even, down") << "ja_JP"
                                              << "1000.5"
                                              << "3"
                                              << "1000 3";
        QTest::newRow("a half to even, up") << "ja_JP"
                                            << "1001.5"
                                            << "3"
                                            << "1002 3";
        QTest::newRow("odds become a single") << "ja_JP"
                                              << "1000"
                                              << "1.00000001"
                                              << "1000 1";
        QTest::newRow("odds beyond a single") << "ja_JP"
                                              << "1000"
                                              << "1e39"
                                              << "1000 inf";
        QTest::newRow("empty start") << "ja_JP"
                                     << ""
                                     << "3" << u"開始金額 / "_s + notNumber;
        QTest::newRow("start 99") << "ja_JP"
                                  << "99"
                                  << "3" << u"開始金額 / "_s + below;
        QTest::newRow("start 100") << "ja_JP"
                                   << "100"
                                   << "1.01"
                                   << "100 1.01";
        QTest::newRow("1,000 with a loose separator") << "ja_JP"
                                                      << "1,00"
                                                      << "abc" << u"開始金額 / "_s + notNumber;
        QTest::newRow("start 100abc") << "ja_JP"
                                      << "100abc"
                                      << "3" << u"開始金額 / "_s + notNumber;
        QTest::newRow("odds abc") << "ja_JP"
                                  << "1000"
                                  << "abc" << u"倍率 / "_s + notNumber;
        QTest::newRow("odds 2,5") << "ja_JP"
                                  << "1000"
                                  << "2,5" << u"倍率 / "_s + notNumber;
        QTest::newRow("odds 1") << "ja_JP"
                                << "1000"
                                << "1" << u"倍率 / "_s + notAbove;
        QTest::newRow("odds 1.0") << "ja_JP"
                                  << "1000"
                                  << "1.0" << u"倍率 / "_s + notAbove;
        QTest::newRow("de: decimal comma") << "de_DE"
                                           << "1.000"
                                           << "2,5"
                                           << "1000 2.5";
        QTest::newRow("de: 2.5") << "de_DE"
                                 << "1000"
                                 << "2.5" << u"倍率 / "_s + notNumber;
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
        QTest::addColumn<qint32>("start");
        QTest::addColumn<float>("odds");
        QTest::addColumn<int>("defeats");
        QTest::addColumn<QString>("figures"); // total stake payout profit up-rate
        QTest::newRow("no defeats") << 1000 << 3.0f << 0 << "1,000 1,000 3,000 2,000 1.5";
        QTest::newRow("typical request") << 1000 << 3.0f << 2 << "4,800 2,300 6,900 2,100 1.5";
        QTest::newRow("5 defeats") << 1000 << 3.0f << 5 << "20,900 7,600 22,800 1,900 1.5";
        QTest::newRow("odds 2.5") << 1000 << 2.5f << 1 << "2,700 1,700 4,250 1,550 1.666667";
        QTest::newRow("the drift near odds 1")
            << 1000 << 1.2f << 12
            << "2,612,133,903,900 2,176,778,184,100 2,612,133,924,717 20,817 5.999999";
        QTest::newRow("no defeats item picked") << 1000 << 3.0f << -1 << "- - - - -";
        QTest::newRow("odds 1 as a single: divided by zero")
            << 1000 << 1.0f << 2 << "- - - - - | 11";
        QTest::newRow("infinite odds")
            << 1000 << std::numeric_limits<float>::infinity() << 0 << "- - - - - | 6";
        QTest::newRow("payout overflows after total and stake")
            << 2000000000 << 1000000.0f << 0 << "2,000,000,000 2,000,000,000 - - - | 6";
        QTest::newRow("odds 1.01, 5 defeats still compute")
            << 1000 << 1.01f << 5
            << "10,615,253,522,600 10,510,152,105,800 10,615,253,526,625 4,025 101.0001";
        QTest::newRow("odds 1.01, 6 defeats overflow") << 1000 << 1.01f << 6 << "- - - - - | 6";
    }

    void race() {
        QFETCH(qint32, start);
        QFETCH(float, odds);
        QFETCH(int, defeats);
        QFETCH(QString, figures);
        QCOMPARE(figuresOf(CalcRace({start, odds}, std::int16_t(defeats))), figures);
    }

    // The main window's payout is an amount of the product, the table's the
    // product shown to the yen: they differ where the product lies within
    // half a ten-thousandth below a half yen.
    void payouts_data() {
        QTest::addColumn<qint64>("stake");
        QTest::addColumn<float>("odds");
        QTest::addColumn<QString>("main");
        QTest::addColumn<QString>("table");
        QTest::newRow("whole") << 2300ll << 3.0f << "6,900"
                               << "6,900";
        QTest::newRow("a half yen, away from zero") << 1300ll << 1.375f << "1,788"
                                                    << "1,788";
        QTest::newRow("just below a half yen") << 100ll << 1.0049996f << "101"
                                               << "100";
        QTest::newRow("beyond an amount") << 2000000000ll << 1000000.0f << "overflow"
                                          << "2,000,000,000,000,000";
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
        QTest::addColumn<qint32>("start");
        QTest::addColumn<float>("odds");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("shown"); // the row, then the headings
        QTest::newRow("1000 x 3, row 2") << 1000 << 3.0f << 2
                                         << "2,300 4,800 6,900 2,100 | 開始金額：1,000円 "
                                            "倍率：3倍 上昇率：1.5倍";
        QTest::newRow("odds 2.5, row 1") << 1000 << 2.5f << 1
                                         << "1,700 2,700 4,250 1,550 | 開始金額：1,000円 "
                                            "倍率：2.5倍 上昇率：1.666667倍";
        // A payout of 1,787.5 shows as 1,788: the profit is 1,788 − 1,800.
        QTest::newRow("a half-yen payout") << 100 << 1.375f << 2
                                           << "1,300 1,800 1,788 -12 | 開始金額：100円 "
                                              "倍率：1.375倍 上昇率：3.666667倍";
        QTest::newRow("figures far beyond 2^53")
            << 2147483647 << 16777217.0f << 2
            << "2,147,484,200 6,442,451,700 36,028,806,279,987,200 36,028,799,837,535,500 | "
               "開始金額：2,147,483,647円 倍率：1.677722E+07倍 上昇率：1倍";
    }

    void table() {
        QFETCH(qint32, start);
        QFETCH(float, odds);
        QFETCH(int, row);
        QFETCH(QString, shown);
        PlanTable table;
        table.fill({start, odds});
        QVERIFY(table.isWhole());
        QCOMPARE(table.failedRow(), -1);
        QCOMPARE(rowOf(table, row) + u" | "_s + table.heading(0).text + u' ' +
                     table.heading(1).text + u' ' + table.heading(2).text,
                 shown);
        QCOMPARE(table.title(), table.heading(0).text + u"　"_s + table.heading(1).text + u"　"_s +
                                    table.heading(2).text);
        const Plan plan = table.plan();
        QCOMPARE(FormatAmount(plan[row].stake) + u' ' + FormatAmount(plan[row].total),
                 shown.section(u' ', 0, 1));
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

    // The copy is the table as shown, tab-separated; the file a spreadsheet
    // reads holds the same figures without group separators.
    void textAndFile() {
        PlanTable table;
        table.fill({1000, 3.0f});
        QStringList lines;
        for (const QStringList &row : rowsOf("ui/table-1000x3.txt"))
            lines.append(row[1]);
        QCOMPARE(table.text(), lines.join(u'\n').replace(u' ', u'\t') + u'\n');
        QFile file(QFINDTESTDATA("ui/table-1000x3.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(CsvDocument(table.csvRecords()), file.readAll());
    }
};

QTEST_APPLESS_MAIN(TestPlan)
#include "tst_plan.moc"
