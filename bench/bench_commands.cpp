// The main window's commands driven through the real widgets, as a user
// drives them: the calculation button and the table button, with the
// message boxes answered by a recorder (none may appear for these inputs).
#include "TestSupport.h"
#include "core/CommonModule.h"
#include "core/NumberText.h"
#include "ui/frmInvestTable.h"

#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <ctime>
#include <vector>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_s, Table = u"frmInvestTable"_s;

} // namespace

class BenchCommands : public QObject {
    Q_OBJECT
    ProgramRun run_;
    MessageRecorder recorder_;

private slots:
    void initTestCase() {
        QVERIFY(QTest::qWaitForWindowExposed(window(Main)));
        enterInputs(u"1000"_s, u"3.0"_s, 2);
    }

    // A benchmark that measured a rejected input or an error box would be
    // worthless: every command must have run to the end.
    void cleanup() { QCOMPARE(recorder_.take(), QStringList()); }

    // One command per pass. A label given its own text again does nothing,
    // so every pass changes an input (the defeats between 2 and 3, or the
    // odds between 3.0 and 2.5) to have the figures really change. "click"
    // is the mouse press and release the user makes; "command" the handler
    // alone, as Enter runs it; "repainted" adds the paint of the window.
    void command_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("how");
        for (const char *how : {"click", "command", "repainted"})
            QTest::addRow("calculation, %s", how) << u"btnCalcAmount"_s << QString::fromLatin1(how);
        for (const char *how : {"click", "repainted"})
            QTest::addRow("table refill, %s", how) << u"btnTable"_s << QString::fromLatin1(how);
    }

    void command() {
        QFETCH(QString, button);
        QFETCH(QString, how);
        const bool table = button == u"btnTable"_s;
        if (table && !window(Table))
            press(Main, button);
        auto *defeats = control<QComboBox>(Main, u"cmbDefeats"_s);
        auto *odds = control<QLineEdit>(Main, u"txtOdds"_s);
        auto *target = control<QPushButton>(Main, button);
        int pass = 0;
        QBENCHMARK {
            if (table)
                odds->setText((++pass & 1) ? u"2.5"_s : u"3.0"_s);
            else
                defeats->setCurrentIndex(2 + (++pass & 1));
            if (how == u"command"_s)
                target->click();
            else
                press(Main, button);
            if (how == u"repainted"_s)
                QCoreApplication::processEvents();
        }
        const float rate = CalcUpRate(table && (pass & 1) ? 2.5f : 3.0f);
        QCOMPARE(table ? text(Table, u"lblTotal_9"_s) : text(Main, u"lblInvestAmount"_s),
                 FormatAmount(table ? CalcTotalAmount(1000, rate, 9)
                                    : CalcInvestAmount(1000, rate, std::int16_t(2 + (pass & 1)))));
        odds->setText(u"3.0"_s);
        defeats->setCurrentIndex(2);
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
        std::vector<qint64> nanoseconds;
        for (int run = 0; run < Runs; ++run) {
            if (Form *open = window(Table))
                open->close();
            flushDeletes();
            const qint64 start = now();
            press(Main, u"btnTable"_s);
            nanoseconds.push_back(now() - start);
            QVERIFY(window(Table));
        }
        std::nth_element(nanoseconds.begin(), nanoseconds.begin() + Runs / 2, nanoseconds.end());
        QTest::setBenchmarkResult(double(nanoseconds[Runs / 2]), QTest::WalltimeNanoseconds);
    }
};

QTEST_MAIN(BenchCommands)
#include "bench_commands.moc"
