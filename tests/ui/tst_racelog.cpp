// The race record as a user meets it: opened from the main window, the
// typical day typed into the real boxes (each race at its own odds, its
// result set from the buttons and the table), what the bottom line says,
// the record's file, what each bad input is told and where the focus goes,
// a race corrected and deleted, and what lasts across a restart.
#include "TestData.h"
#include "TestSupport.h"
#include "core/RaceStore.h"
#include "settings/Keys.h"
#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTableView>

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_s, Log = u"frmRaceLog"_s;

QTableView *grid() {
    return control<QTableView>(Log, u"grdRaces"_s);
}

// The next race's three figures, as shown.
QString figures() {
    return text(Log, u"lblInvestAmount"_s) + u' ' + text(Log, u"lblRecovery"_s) + u' ' +
           text(Log, u"lblProfit"_s);
}

// A row of the table as shown, cells separated by blanks, from the date on.
QString row(int r) {
    QStringList cells;
    for (int c = 0; c < grid()->model()->columnCount(); ++c)
        cells.append(grid()->model()->index(r, c).data().toString());
    return cells.join(u' ');
}

// Enter in a cell's editor: the view commits it from its loop, and the
// correction is taken up once the editor has gone.
void commit(QWidget *editor) {
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Types into a cell of the table as a user does: the cell's editor, the
// text, Enter.
void typeInto(int r, int column, const QString &value) {
    const QModelIndex index = grid()->model()->index(r, column);
    grid()->setCurrentIndex(index);
    grid()->edit(index);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!editor)
        qFatal("no editor for %d/%d", r, column);
    type(editor, value);
    commit(editor);
}

// Records the next race at these odds, with its result from the buttons.
void recordRace(const QString &odds, const char *result) {
    type(control<QLineEdit>(Log, u"txtOdds"_s), odds);
    press(Log, u"btnRecord"_s);
    grid()->selectRow(grid()->model()->rowCount() - 1);
    press(Log, QLatin1String(result));
}

} // namespace

class TestRaceLog : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        run_.emplace();
        QVERIFY(activate(window(Main)));
        QTest::keyClick(window(Main), Qt::Key_R, Qt::ControlModifier); // レース記録...
        QVERIFY(window(Log) && activate(window(Log)));
    }
    void cleanup() { run_.reset(); }

    // Start 1000, odds 3 in the main window: a target of 2,000. Race 1 at
    // 3.0 asks 1,000 and loses; race 2 at 2.5 asks 2,000 and loses; race 3 at
    // 4.0 asks 1,700 and hits, paying 6,800 at the odds bought at: the
    // series is won back with 2,100 over, and a new one starts.
    void typicalDay() {
        QCOMPARE(text(Log, u"txtTarget"_s) + u' ' + text(Log, u"txtCoefficient"_s), u"2000 1.0"_s);
        type(control<QLineEdit>(Log, u"txtOdds"_s), u"3.0"_s);
        QCOMPARE(figures(), u"1,000 3,000 2,000"_s);
        QCOMPARE(
            text(Log, u"lblHitChance"_s),
            u"的中率の目安 26.7%（単勝の払戻率 80%÷倍率 3.0倍による推定で、予想ではありません）"_s);
        recordRace(u"3.0"_s, "btnMiss");
        type(control<QLineEdit>(Log, u"txtOdds"_s), u"2.5"_s);
        QCOMPARE(figures(), u"2,000 5,000 2,000"_s);
        recordRace(u"2.5"_s, "btnMiss");
        type(control<QLineEdit>(Log, u"txtOdds"_s), u"4.0"_s);
        QCOMPARE(figures(), u"1,700 6,800 2,100"_s);
        recordRace(u"4.0"_s, "btnHit");
        // The proposed payout is open for correcting; taken as it is.
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), u"6,800"_s);
        commit(editor);
        QStringList headings;
        for (int c = 0; c < grid()->model()->columnCount(); ++c)
            headings.append(grid()->model()->headerData(c, Qt::Horizontal).toString());
        QCOMPARE(headings.join(u' '), u"日付 レース 券種 倍率 投資額 結果 払戻額 収支 損失累計"_s);
        const QString today = QDate::currentDate().toString(u"yyyy/MM/dd"_s);
        QCOMPARE(row(0), today + u"  単勝 3.0 1,000 不的中 0 -1,000 1,000"_s);
        QCOMPARE(row(1), today + u"  単勝 2.5 2,000 不的中 0 -2,000 3,000"_s);
        QCOMPARE(row(2), today + u"  単勝 4.0 1,700 的中 6,800 5,100 0"_s);
        QCOMPARE(text(Log, u"lblSummary"_s),
                 u"投資合計 4,700円　払戻合計 6,800円　収支 2,100円　回収率 144.7%\n"
                 u"的中率 33.3%　最大連敗 2連敗　現在 0連敗（損失累計 0円）"_s);
        QCOMPARE(figures(), u"700 2,800 2,100"_s); // a new series: the target alone

        // The record as a file, byte for byte.
        for (int r = 0; r < 3; ++r)
            typeInto(r, 0, u"2026/12/6"_s);
        QCOMPARE(menuOf(grid()), u"的中 不的中 削除... CSVで保存..."_s);
        QTemporaryDir folder;
        const QString path = folder.path() + u"/day.csv"_s;
        SaveDialogAnswer answer(path);
        QTest::keyClick(grid(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(answer.asked.size(), 1);
        QFile file(path), expected(QFINDTESTDATA("ui/racelog-typical.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected.readAll());
    }

    // Each bad input is told under its field's caption, the focus goes back
    // to it, and nothing is recorded.
    void badInput_data() {
        addRowsFrom<QString, QString, QString>("ui/racelog-bad-inputs.txt",
                                               {"field", "typed", "told"});
    }

    void badInput() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, told);
        type(control<QLineEdit>(Log, u"txtOdds"_s), u"3.0"_s);
        type(control<QLineEdit>(Log, field), typed);
        MessageRecorder boxes;
        press(Log, u"btnRecord"_s);
        QCOMPARE(boxes.take(), QStringList{told});
        if (!told.startsWith(u"オーバーフロー"_s))
            QCOMPARE(QApplication::focusWidget()->objectName(), field);
        QCOMPARE(grid()->model()->rowCount(), 0);
    }

    // A correction the field does not take is told and the cell offered
    // again; one it takes moves what follows. A race goes only when the
    // question is answered Yes.
    void correctAndDelete() {
        type(control<QLineEdit>(Log, u"txtStake"_s), u"1000"_s);
        recordRace(u"3.0"_s, "btnMiss");
        recordRace(u"3.0"_s, "btnMiss");
        QCOMPARE(row(1).section(u' ', -1), u"2,500"_s); // 1,000 typed, then the 1,500 asked
        MessageRecorder boxes;
        typeInto(0, 4, u"150"_s);
        QCOMPARE(boxes.take(), QStringList{u"投資額 / １００円単位で設定して下さい。"_s});
        QCOMPARE(grid()->currentIndex(), grid()->model()->index(0, 4));
        QCOMPARE(QApplication::focusWidget()->parentWidget(), grid()->viewport()); // its editor
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        typeInto(0, 4, u"2,000"_s);
        QCOMPARE(row(1).section(u' ', -1), u"3,500"_s);
        grid()->selectRow(0);
        boxes.answer = QMessageBox::No;
        trigger(Log, u"deleteAction"_s);
        QCOMPARE(grid()->model()->rowCount(), 2);
        boxes.answer = QMessageBox::Yes;
        trigger(Log, u"deleteAction"_s);
        QCOMPARE(boxes.take().size(), 2);
        QCOMPARE(grid()->model()->rowCount(), 1);
        QCOMPARE(row(0).section(u' ', -1), u"1,500"_s);
        // The last race goes too; with none left the buttons do nothing.
        trigger(Log, u"deleteAction"_s);
        for (const char *button : {"btnHit", "btnMiss", "btnDelete"})
            press(Log, QLatin1String(button));
        QCOMPARE(boxes.take().size(), 1);
        QCOMPARE(grid()->model()->rowCount(), 0);
    }

    // The record, the target and the coefficient come back after a restart;
    // the window opens where it was.
    void lastsAcrossRestart() {
        type(control<QLineEdit>(Log, u"txtTarget"_s), u"3000"_s);
        type(control<QLineEdit>(Log, u"txtCoefficient"_s), u"1.2"_s);
        recordRace(u"2.0"_s, "btnMiss");
        window(Log)->move(160, 130);
        closeAll();
        QCOMPARE(stored(settings::RaceLogWindow, settings::TargetProfit), u"3000"_s);
        startProgram();
        trigger(Main, u"raceLogAction"_s);
        QVERIFY(activate(window(Log)));
        QCOMPARE(window(Log)->pos(), QPoint(160, 130));
        QCOMPARE(text(Log, u"txtTarget"_s) + u' ' + text(Log, u"txtCoefficient"_s), u"3000 1.2"_s);
        QCOMPARE(grid()->model()->rowCount(), 1);
        type(control<QLineEdit>(Log, u"txtOdds"_s), u"2.0"_s);
        // 1.2 × (3,600 + 3,000) ÷ (2.0 − 1), up to hundreds.
        QCOMPARE(text(Log, u"lblInvestAmount"_s), u"8,000"_s);
    }

    // A damaged record is set aside with a word to the user and a fresh one
    // begun; the main window is not affected.
    void damagedRecord() {
        closeAll();
        QVERIFY(QDir().mkpath(QFileInfo(RecordFile()).path()));
        writeFile(RecordFile(), "Dear diary,\n");
        startProgram();
        MessageRecorder boxes;
        trigger(Main, u"raceLogAction"_s);
        QVERIFY(activate(window(Log)));
        QCOMPARE(boxes.take().value(0).section(u" / "_s, 0, 0), u"レース記録"_s);
        QVERIFY(QFile::exists(RecordFile() + u".damaged"_s));
        recordRace(u"3.0"_s, "btnHit");
        QCOMPARE(grid()->model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestRaceLog)
#include "tst_racelog.moc"
