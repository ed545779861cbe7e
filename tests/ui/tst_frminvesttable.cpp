// The progression table as a user meets it: opened and refreshed from the
// main window's table button, its figures, its failures, its keyboard, the
// position it remembers, and the copy of its figures. (Every figure and
// message for many more inputs is the window fuzz target's.)
#include "TestSupport.h"
#include "settings/Keys.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_qs, Table = u"frmInvestTable"_qs;

// Rows as "defeats stake total payout profit".
const QStringList Table1000x3{
    u"0 1,000 1,000 3,000 2,000"_qs,    u"1 1,500 2,500 4,500 2,000"_qs,
    u"2 2,300 4,800 6,900 2,100"_qs,    u"3 3,400 8,200 10,200 2,000"_qs,
    u"4 5,100 13,300 15,300 2,000"_qs,  u"5 7,600 20,900 22,800 1,900"_qs,
    u"6 11,400 32,300 34,200 1,900"_qs, u"7 17,100 49,400 51,300 1,900"_qs,
    u"8 25,600 75,000 76,800 1,800"_qs, u"9 38,400 113,400 115,200 1,800"_qs,
};
const QString Headings1000x3 = u"開始金額：1,000円 倍率：3倍 上昇率：1.5倍"_qs;

// The rows, then the headings.
QStringList shown() {
    QStringList all;
    for (int i = 0; i < 10; ++i) {
        QStringList cells;
        for (const char *column :
             {"lblDefeats", "lblInvest", "lblTotal", "lblRecovery", "lblProfit"})
            cells.append(text(Table, QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(i)));
        all.append(cells.join(u' '));
    }
    return all << text(Table, u"lblStartAmount"_qs) + u' ' + text(Table, u"lblOdds"_qs) + u' ' +
                      text(Table, u"lblUpRate"_qs);
}

void pressTable(const QString &start, const QString &odds) {
    type(control<QLineEdit>(Main, u"txtStartAmount"_qs), start);
    type(control<QLineEdit>(Main, u"txtOdds"_qs), odds);
    press(Main, u"btnTable"_qs);
    flushDeletes();
}

} // namespace

class TestInvestTable : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;
    std::optional<MessageRecorder> boxes_;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init() {
        run_.emplace();
        boxes_.emplace();
    }
    void cleanup() {
        boxes_.reset();
        run_.reset();
    }

    // The payout comes from the stake as shown, the profit from the two
    // whole numbers shown beside it, exactly, however large they are. The
    // rows run from 0 to 9 defeats whatever the main window's choice.
    void figures_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("odds");
        QTest::addColumn<QStringList>("expected"); // rows and headings that must be there
        QTest::newRow("1000 x 3") << u"1000"_qs << u"3"_qs
                                  << Table1000x3 + QStringList{Headings1000x3};
        // A payout of 1,787.5 shows as 1,788: the profit is 1,788 − 1,800.
        QTest::newRow("100 x 1.375")
            << u"100"_qs << u"1.375"_qs
            << QStringList{u"2 1,300 1,800 1,788 -12"_qs,
                           u"開始金額：100円 倍率：1.375倍 上昇率：3.666667倍"_qs};
        QTest::newRow("figures far beyond 2^53")
            << u"2147483647"_qs << u"16777217"_qs
            << QStringList{u"2 2,147,484,200 6,442,451,700 36,028,806,279,987,200 "
                           u"36,028,799,837,535,500"_qs,
                           u"開始金額：2,147,483,647円 倍率：1.677722E+07倍 上昇率：1倍"_qs};
    }

    void figures() {
        QFETCH(QString, start);
        QFETCH(QString, odds);
        QFETCH(QStringList, expected);
        for (int selected : {-1, 15}) {
            control<QComboBox>(Main, u"cmbDefeats"_qs)->setCurrentIndex(selected);
            pressTable(start, odds);
            QCOMPARE(boxes_->take(), QStringList());
            for (const QString &line : expected)
                QVERIFY2(shown().contains(line), qPrintable(shown().join(u'\n')));
        }
    }

    // Every press refills the one window in place and brings it forward.
    void refill() {
        pressTable(u"1000"_qs, u"3"_qs);
        QPointer<QWidget> first = window(Table);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        first->showMinimized();
        QApplication::setActiveWindow(window(Main));
        pressTable(u"500"_qs, u"5"_qs);
        QCOMPARE(LoadedWindows::names(), (QStringList{Main, Table}));
        QTRY_COMPARE(QApplication::activeWindow(), first.data());
        QVERIFY(!first->isMinimized());
        QCOMPARE(shown().mid(9), (QStringList{u"9 3,700 16,600 18,500 1,900"_qs,
                                              u"開始金額：500円 倍率：5倍 上昇率：1.25倍"_qs}));
    }

    // First open at the default corner. Esc leaves the window open; Enter
    // on the focused button closes it, and its place is restored next time.
    // Closing the main window closes the table too, which saves its place.
    void keyboardAndPosition() {
        pressTable(u"1000"_qs, u"3"_qs);
        QVERIFY(QTest::qWaitForWindowActive(window(Table)));
        QCOMPARE(window(Table)->pos(), QPoint(87, 87)); // 1300 twips
        window(Table)->move(200, 150);
        QTest::keyClick(window(Table), Qt::Key_Escape);
        QVERIFY(window(Table) && window(Table)->isVisible());
        QCOMPARE(QApplication::focusWidget()->objectName(), u"OKButton"_qs);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        flushDeletes();
        QCOMPARE(LoadedWindows::names(), QStringList{Main});
        QCOMPARE(stored(settings::TableWindow, settings::WindowTop) + u' ' +
                     stored(settings::TableWindow, settings::WindowLeft),
                 u"2250 3000"_qs);
        pressTable(u"2000"_qs, u"4"_qs);
        QCOMPARE(window(Table)->pos(), QPoint(200, 150));
        window(Table)->move(240, 180);
        window(Main)->close();
        flushDeletes();
        QVERIFY(LoadedWindows::forms().isEmpty());
        startProgram();
        pressTable(u"1000"_qs, u"3"_qs);
        QCOMPARE(window(Table)->pos(), QPoint(240, 180));
    }

    // A failure is reported once. A closed table stays closed: a window
    // loaded for the press goes unseen, and nothing is stored for it. An open
    // one stays open with the rows written before the failure and the rest
    // of its previous figures and headings.
    void failureLeavesTable_data() {
        QTest::addColumn<QString>("odds");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("written"); // rows refilled before the failure
        QTest::newRow("odds 2,5") << u"2,5"_qs << u"倍率 / 数値を入力して下さい。"_qs << 0;
        QTest::newRow("odds 1 as a single")
            << u"1.00000001"_qs << u"Morvex / 0 で除算しました。"_qs << 0;
        QTest::newRow("overflow at row 6")
            << u"1.01"_qs
            << u"オーバーフロー / 金額が大きくなり過ぎて計算不能です。\r\n"
               u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_qs
            << 6;
    }

    void failureLeavesTable() {
        QFETCH(QString, odds);
        QFETCH(QString, message);
        QFETCH(int, written);
        pressTable(u"1000"_qs, odds);
        QCOMPARE(boxes_->take(), QStringList{message});
        QCOMPARE(LoadedWindows::names(), QStringList{Main});
        QCOMPARE(stored(settings::TableWindow, settings::WindowTop), u"none"_qs);
        pressTable(u"1000"_qs, u"3"_qs);
        pressTable(u"1000"_qs, odds);
        QCOMPARE(boxes_->take(), QStringList{message});
        QVERIFY(window(Table) && window(Table)->isVisible());
        const QStringList now = shown();
        QCOMPARE(now.mid(written), Table1000x3.mid(written) + QStringList{Headings1000x3});
        for (int i = 0; i < written; ++i)
            QVERIFY2(now[i] != Table1000x3[i] && now[i].startsWith(QString::number(i)),
                     qPrintable(now[i]));
    }

    // Ctrl+C and the context menu copy the table as shown, tab-separated,
    // every line ending in a line feed.
    void copy() {
        pressTable(u"1000"_qs, u"3.0"_qs);
        QVERIFY(QTest::qWaitForWindowActive(window(Table)));
        const QString expected =
            (QStringList{Headings1000x3, u"連敗数 今回投資額 累計投資額 的中回収額 的中時利益"_qs} +
             Table1000x3)
                .join(u'\n')
                .replace(u' ', u'\t') +
            u'\n';
        QTest::keyClick(control(Table, u"OKButton"_qs), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), expected);
        QApplication::clipboard()->clear();
        QCOMPARE(window(Table)->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction *menuCopy = window(Table)->actions().value(0);
        QVERIFY(menuCopy && menuCopy->text() == u"表をコピー"_qs);
        menuCopy->trigger();
        QCOMPARE(QApplication::clipboard()->text(), expected);
    }
};

QTEST_MAIN(TestInvestTable)
#include "tst_frminvesttable.moc"
