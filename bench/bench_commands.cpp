// The main window's commands driven through the real widgets, as a user
// drives them: the calculation button and the table button, with the
// message boxes answered by a recorder (none may appear for these inputs).
#include "TestSupport.h"
#include "core/CommonModule.h"
#include "core/NumberText.h"
#include "ui/frmInvestTable.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <ctime>
#include <vector>

using namespace morvex;
using namespace morvex::test;

namespace {

// The typical request: 1000 yen, odds 3.0, two defeats so far.
constexpr std::int32_t Start = 1000;
constexpr float Odds = 3.0f;
constexpr int Defeats = 2;

QWidget *mainWindow() {
    return loadedWindow(u"frmMain"_qs);
}

QPushButton *button(const char *name) {
    return child<QPushButton>(mainWindow(), QLatin1String(name));
}

void click(QPushButton *target) {
    QTest::mouseClick(target, Qt::LeftButton);
}

} // namespace

class BenchCommands : public QObject {
    Q_OBJECT

    ScopedConfigDir config_;
    MessageRecorder recorder_;

    QLineEdit *oddsBox() { return child<QLineEdit>(mainWindow(), u"txtOdds"_qs); }
    QComboBox *defeatsList() { return child<QComboBox>(mainWindow(), u"cmbDefeats"_qs); }

private slots:
    void initTestCase() {
        startProgram();
        QVERIFY(mainWindow());
        QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
        typeInto(child<QLineEdit>(mainWindow(), u"txtStartAmount"_qs), QString::number(Start));
        typeInto(oddsBox(), u"3.0"_qs);
        defeatsList()->setCurrentIndex(Defeats);
    }

    void init() { recorder_.messages.clear(); }

    // A benchmark that measured a rejected input or an error box would be
    // worthless: every command must have run to the end.
    void cleanup() {
        QVERIFY2(recorder_.messages.isEmpty(),
                 qPrintable(recorder_.messages.value(0).title + u": "_qs +
                            recorder_.messages.value(0).text));
        defeatsList()->setCurrentIndex(Defeats);
        oddsBox()->setText(u"3.0"_qs);
    }

    void cleanupTestCase() { closeAllWindows(); }

    // One press of the calculation button: the input checks, the arithmetic
    // and the five result fields. A label given its own text again does
    // nothing, so every pass alternates between two and three defeats (as
    // the list box sets it) to have the figures really change.
    void calculation() {
        QPushButton *calc = button("btnCalcAmount");
        QComboBox *defeats = defeatsList();
        int pass = 0;
        QBENCHMARK {
            defeats->setCurrentIndex(Defeats + (++pass & 1));
            click(calc);
        }
        QCOMPARE(child<QLabel>(mainWindow(), u"lblInvestAmount"_qs)->text(),
                 FormatAmount(CalcInvestAmount(Start, CalcUpRate(Odds), Defeats + (pass & 1))));
    }

    // The command alone, as the default button runs it for the Enter key:
    // no press or release to draw.
    void calculationCommand() {
        QPushButton *calc = button("btnCalcAmount");
        QComboBox *defeats = defeatsList();
        int pass = 0;
        QBENCHMARK {
            defeats->setCurrentIndex(Defeats + (++pass & 1));
            calc->click();
        }
        QCOMPARE(child<QLabel>(mainWindow(), u"lblInvestAmount"_qs)->text(),
                 FormatAmount(CalcInvestAmount(Start, CalcUpRate(Odds), Defeats + (pass & 1))));
    }

    // The same, and the window repainted with the new figures.
    void calculationRepainted() {
        QPushButton *calc = button("btnCalcAmount");
        QComboBox *defeats = defeatsList();
        int pass = 0;
        QBENCHMARK {
            defeats->setCurrentIndex(Defeats + (++pass & 1));
            click(calc);
            QCoreApplication::processEvents();
        }
    }

    // The table button with the table window already open: the input
    // checks, fifty cells refilled, the window brought forward. Every pass
    // alternates the odds between 3.0 and 2.5 so that the cells change.
    void tableFill() {
        click(button("btnTable"));
        frmInvestTable *table = frmInvestTable::instance();
        QVERIFY(table);
        QVERIFY(QTest::qWaitForWindowExposed(table));
        QPushButton *tableButton = button("btnTable");
        QLineEdit *odds = oddsBox();
        const QString oddsTexts[2] = {u"3.0"_qs, u"2.5"_qs};
        int pass = 0;
        QBENCHMARK {
            odds->setText(oddsTexts[++pass & 1]);
            click(tableButton);
        }
        QCOMPARE(child<QLabel>(table, u"lblTotal_9"_qs)->text(),
                 FormatAmount(CalcTotalAmount(Start, CalcUpRate((pass & 1) ? 2.5f : Odds), 9)));
    }

    void tableFillRepainted() {
        QVERIFY(frmInvestTable::instance());
        QPushButton *tableButton = button("btnTable");
        QLineEdit *odds = oddsBox();
        const QString oddsTexts[2] = {u"3.0"_qs, u"2.5"_qs};
        int pass = 0;
        QBENCHMARK {
            odds->setText(oddsTexts[++pass & 1]);
            click(tableButton);
            QCoreApplication::processEvents();
        }
    }

    // The table button with no table open: the window is built, its position
    // restored, filled and shown. Closing it again (which saves its position)
    // is left out of the figure, so QBENCHMARK's loop does not fit; this
    // reports the median of its own runs, in wall time, or in this thread's
    // CPU time when MORVEX_BENCH_CLOCK is "cpu" (as with -perf).
    void tableFirstOpen() {
        constexpr int Runs = 31;
        const bool cpuClock = qgetenv("MORVEX_BENCH_CLOCK") == "cpu";
        auto now = [cpuClock] {
            timespec ts{};
            clock_gettime(cpuClock ? CLOCK_THREAD_CPUTIME_ID : CLOCK_MONOTONIC, &ts);
            return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
        };
        QPushButton *tableButton = button("btnTable");
        std::vector<qint64> nanoseconds;
        for (int run = 0; run < Runs; ++run) {
            if (frmInvestTable *open = frmInvestTable::instance())
                open->close();
            flushDeletes();
            QVERIFY(!frmInvestTable::instance());
            const qint64 start = now();
            click(tableButton);
            nanoseconds.push_back(now() - start);
            QVERIFY(frmInvestTable::instance());
        }
        std::nth_element(nanoseconds.begin(), nanoseconds.begin() + Runs / 2, nanoseconds.end());
        QTest::setBenchmarkResult(double(nanoseconds[Runs / 2]), QTest::WalltimeNanoseconds);
    }
};

QTEST_MAIN(BenchCommands)
#include "bench_commands.moc"
