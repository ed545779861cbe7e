// The progression table as a user meets it: opened and refreshed from the
// main window's table button, its figures, its failures, its keyboard, the
// position it remembers, and the copy of its figures.
#include "TestSupport.h"
#include "core/Twips.h"
#include "settings/SettingsStore.h"
#include "ui/Controls.h"
#include "ui/frmInvestTable.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Overflow = u"オーバーフロー / 金額が大きくなり過ぎて計算不能です。\r\n"
                         u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_qs;

// Rows as "defeats stake total payout profit".
const QStringList Table1000x3{
    u"0 1,000 1,000 3,000 2,000"_qs,    u"1 1,500 2,500 4,500 2,000"_qs,
    u"2 2,300 4,800 6,900 2,100"_qs,    u"3 3,400 8,200 10,200 2,000"_qs,
    u"4 5,100 13,300 15,300 2,000"_qs,  u"5 7,600 20,900 22,800 1,900"_qs,
    u"6 11,400 32,300 34,200 1,900"_qs, u"7 17,100 49,400 51,300 1,900"_qs,
    u"8 25,600 75,000 76,800 1,800"_qs, u"9 38,400 113,400 115,200 1,800"_qs,
};
const QStringList Headings1000x3{u"開始金額：1,000円"_qs, u"倍率：3倍"_qs, u"上昇率：1.5倍"_qs};

// Start 1000 with odds 1.01: the stakes leave the fixed-point range at row 6.
const QStringList Table1000x101{
    u"0 1,000 1,000 1,010 10"_qs,
    u"1 101,000 102,000 102,010 10"_qs,
    u"2 10,201,000 10,303,000 10,303,010 10"_qs,
    u"3 1,030,304,000 1,040,607,000 1,040,607,030 30"_qs,
    u"4 104,060,809,800 105,101,416,800 105,101,416,906 106"_qs,
    u"5 10,510,152,105,800 10,615,253,522,600 10,615,253,526,625 4,025"_qs};

const char *const Columns[] = {"lblDefeats", "lblInvest", "lblTotal", "lblRecovery", "lblProfit"};

// The message boxes shown since the last call, as "title / text"; one that
// is not a warning is marked.
QStringList takeMessages(MessageRecorder &boxes) {
    QStringList shown;
    for (const Message &box : std::exchange(boxes.messages, {}))
        shown.append(box.title + u" / "_qs + box.text +
                     (box.icon == QMessageBox::Warning ? QString() : u" (no warning icon)"_qs));
    return shown;
}

} // namespace

class TestInvestTable : public QObject {
    Q_OBJECT

    std::optional<ProgramRun> run_;
    std::unique_ptr<MessageRecorder> boxes_;

    static QString indexed(QString array, int i) { return array + u'_' + QString::number(i); }
    static QWidget *mainWindow() { return loadedWindow(u"frmMain"_qs); }
    static Form *tableWindow() { return loadedWindow(u"frmInvestTable"_qs); }
    static QString text(const QString &name) { return child<QLabel>(tableWindow(), name)->text(); }
    static QStringList headingTexts() {
        return {text(u"lblStartAmount"_qs), text(u"lblOdds"_qs), text(u"lblUpRate"_qs)};
    }
    static QStringList rows() {
        QStringList all;
        for (int i = 0; i < 10; ++i) {
            QStringList cells;
            for (const char *array : Columns)
                cells.append(text(indexed(array, i)));
            all.append(cells.join(u' '));
        }
        return all;
    }
    static void pressTable(const QString &start, const QString &odds) {
        typeInto(child<QLineEdit>(mainWindow(), u"txtStartAmount"_qs), start);
        typeInto(child<QLineEdit>(mainWindow(), u"txtOdds"_qs), odds);
        QTest::mouseClick(child<QPushButton>(mainWindow(), u"btnTable"_qs), Qt::LeftButton);
        flushDeletes();
    }
    static QString storedTable(const char *key) {
        return settings::readSetting(settings::applicationName(), u"TableWindow"_qs,
                                     QString::fromLatin1(key), u"none"_qs);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init() {
        run_.emplace();
        boxes_ = std::make_unique<MessageRecorder>();
    }
    void cleanup() {
        boxes_.reset();
        run_.reset();
    }

    // Header cells are centred on the 3-D light colour; the defeats column is
    // centred and the figures right-aligned on the tooltip colour. Only the
    // button takes the focus, so that Enter always presses it.
    void window() {
        pressTable(u"1000"_qs, u"3"_qs);
        QWidget *window = tableWindow();
        QCOMPARE(window->windowTitle(), u"投資額表"_qs);
        QCOMPARE(window->size(), QSize(twipsToPixels(4995), twipsToPixels(3855)));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!window->isModal());

        auto at = [&](const QString &name) { return child<QWidget>(window, name)->geometry(); };
        QCOMPARE(at(u"lblStartAmount"_qs), controls::twipsRect(240, 120, 1935, 255));
        QCOMPARE(at(u"lblOdds"_qs), controls::twipsRect(2040, 120, 1455, 255));
        QCOMPARE(at(u"lblUpRate"_qs), controls::twipsRect(3360, 120, 1695, 255));
        QCOMPARE(at(u"OKButton"_qs), controls::twipsRect(3480, 3360, 1215, 375));
        for (const QString &name : {u"lblStartAmount"_qs, u"lblOdds"_qs, u"lblUpRate"_qs})
            QCOMPARE(child<QLabel>(window, name)->frameShape(), QFrame::NoFrame);
        const int left[] = {240, 960, 1920, 2880, 3840};
        const int width[] = {735, 975, 975, 975, 975};
        for (int i = -1; i < 10; ++i) { // -1: the header row
            for (int c = 0; c < 5; ++c) {
                const bool header = i < 0;
                auto *cell = child<QLabel>(window, header ? indexed("lblHeader", c)
                                                          : indexed(Columns[c], i));
                QCOMPARE(cell->geometry(),
                         controls::twipsRect(left[c], header ? 480 : 720 + 240 * i, width[c], 255));
                QCOMPARE(cell->alignment() & Qt::AlignHorizontal_Mask,
                         header || c == 0 ? Qt::AlignHCenter : Qt::AlignRight);
                QCOMPARE(cell->backgroundRole(),
                         header ? QPalette::Midlight : QPalette::ToolTipBase);
                QVERIFY(cell->autoFillBackground());
                QCOMPARE(cell->frameShape(), QFrame::Box);
                QCOMPARE(cell->lineWidth(), 1);
                QVERIFY(cell->fontMetrics().horizontalAdvance(cell->text()) <=
                        cell->contentsRect().width());
            }
        }
        for (QWidget *w : window->findChildren<QWidget *>())
            QVERIFY(w->focusPolicy() == Qt::NoFocus || w->objectName() == u"OKButton"_qs);
    }

    void figures_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("odds");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QStringList>("headings");
        // The payout comes from the stake as shown, the profit from the two
        // whole numbers shown beside it.
        QTest::newRow("1000 x 2.5")
            << u"1000"_qs << u"2.5"_qs << u"1 1,700 2,700 4,250 1,550"_qs
            << QStringList{u"開始金額：1,000円"_qs, u"倍率：2.5倍"_qs, u"上昇率：1.666667倍"_qs};
        // A payout of 1,787.5 shows as 1,788; the profit is 1,788 − 1,800, not
        // 1,787.5 − 1,800 rounded away from zero.
        QTest::newRow("100 x 1.375")
            << u"100"_qs << u"1.375"_qs << u"2 1,300 1,800 1,788 -12"_qs
            << QStringList{u"開始金額：100円"_qs, u"倍率：1.375倍"_qs, u"上昇率：3.666667倍"_qs};
        QTest::newRow("1000.5 reads 1000")
            << u"1000.5"_qs << u"3"_qs << Table1000x3[2] << Headings1000x3;
        // The up-rate rounds to 1, so every stake is 1,000; the payout is 1e30
        // as a single, 1,000,000,015,047,466,219,876,688,855,040, times 1,000,
        // shown digit for digit.
        QTest::newRow("1000 x 1e30")
            << u"1000"_qs << u"1e30"_qs
            << u"9 1,000 10,000 %1 %1"_qs.arg(u"1,000,000,015,047,466,219,876,688,855,040,000"_qs)
            << QStringList{u"開始金額：1,000円"_qs, u"倍率：1E+30倍"_qs, u"上昇率：1倍"_qs};
    }

    void figures() {
        QFETCH(QString, start);
        QFETCH(QString, odds);
        QFETCH(QString, row);
        QFETCH(QStringList, headings);
        pressTable(start, odds);
        QCOMPARE(takeMessages(*boxes_), QStringList());
        QVERIFY2(rows().contains(row), qPrintable(rows().join(u'\n')));
        QCOMPARE(headingTexts(), headings);
    }

    // The rows run from 0 to 9 defeats whatever the main window's choice.
    // Every press refills the one window and brings it to the front.
    void refill() {
        for (int selected : {-1, 2, 15}) {
            child<QComboBox>(mainWindow(), u"cmbDefeats"_qs)->setCurrentIndex(selected);
            pressTable(u"1000"_qs, u"3"_qs);
            QCOMPARE(rows(), Table1000x3);
            QCOMPARE(headingTexts(), Headings1000x3);
        }
        QPointer<Form> first = tableWindow();
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QApplication::setActiveWindow(mainWindow());
        pressTable(u"500"_qs, u"5"_qs);
        QCOMPARE(LoadedWindows::names(), (QStringList{u"frmMain"_qs, u"frmInvestTable"_qs}));
        QTRY_COMPARE(QApplication::activeWindow(), first.data());
        QCOMPARE(rows()[9], u"9 3,700 16,600 18,500 1,900"_qs);
        QCOMPARE(headingTexts(),
                 (QStringList{u"開始金額：500円"_qs, u"倍率：5倍"_qs, u"上昇率：1.25倍"_qs}));
    }

    // First open at the default corner. Esc leaves the window open; Enter on
    // the focused button closes it, and its place is restored next time.
    // Closing the main window closes the table too, which saves its place.
    void keyboardAndPosition() {
        pressTable(u"1000"_qs, u"3"_qs);
        QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
        QCOMPARE(tableWindow()->pos(), QPoint(twipsToPixels(1300), twipsToPixels(1300)));
        tableWindow()->move(200, 150);
        QTest::keyClick(tableWindow(), Qt::Key_Escape);
        flushDeletes();
        QVERIFY(tableWindow() && tableWindow()->isVisible());
        auto *ok = child<QPushButton>(tableWindow(), u"OKButton"_qs);
        QCOMPARE(ok->text(), u"OK"_qs);
        QTRY_COMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Return);
        flushDeletes();
        QCOMPARE(LoadedWindows::names(), QStringList{u"frmMain"_qs});
        QCOMPARE(storedTable("WindowTop"), u"2250"_qs);
        QCOMPARE(storedTable("WindowLeft"), u"3000"_qs);

        pressTable(u"2000"_qs, u"4"_qs);
        QCOMPARE(tableWindow()->pos(), QPoint(200, 150));
        tableWindow()->move(240, 180);
        mainWindow()->close();
        flushDeletes();
        QVERIFY(LoadedWindows::forms().isEmpty());
        startProgram();
        pressTable(u"1000"_qs, u"3"_qs);
        QCOMPARE(tableWindow()->pos(), QPoint(240, 180));
    }

    // Each failure is reported once. A closed table stays closed: a window
    // loaded for the press is unloaded unseen, and nothing is stored for it.
    // An open one stays open with the rows written before the failure and
    // the rest of its previous figures and headings.
    void failureLeavesTable_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("odds");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("written"); // rows refilled before the failure
        // Which input earns which message is the main window's test; here, one
        // rejection per field shows the table is left alone.
        QTest::newRow("start 99") << u"99"_qs << u"3"_qs
                                  << u"開始金額 / １００円以上を設定して下さい。"_qs << 0;
        QTest::newRow("odds 1") << u"1000"_qs << u"1"_qs
                                << u"倍率 / 1.0倍より大きい値を設定して下さい。"_qs << 0;
        QTest::newRow("start beyond 32 bits") << u"1e20"_qs << u"3"_qs << Overflow << 0;
        QTest::newRow("odds beyond a single") << u"1000"_qs << u"1e39"_qs << Overflow << 0;
        QTest::newRow("odds 1 as a single")
            << u"1000"_qs << u"1.00000001"_qs << u"Morvex / 0 で除算しました。"_qs << 0;
        QTest::newRow("overflow at row 6") << u"1000"_qs << u"1.01"_qs << Overflow << 6;
    }

    void failureLeavesTable() {
        QFETCH(QString, start);
        QFETCH(QString, odds);
        QFETCH(QString, message);
        QFETCH(int, written);
        pressTable(start, odds);
        QCOMPARE(takeMessages(*boxes_), QStringList{message});
        QCOMPARE(LoadedWindows::names(), QStringList{u"frmMain"_qs});
        QCOMPARE(storedTable("WindowTop"), u"none"_qs);

        pressTable(u"1000"_qs, u"3"_qs);
        QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
        pressTable(start, odds);
        QCOMPARE(takeMessages(*boxes_), QStringList{message});
        QVERIFY(tableWindow() && tableWindow()->isVisible());
        QCOMPARE(rows(), Table1000x101.mid(0, written) + Table1000x3.mid(written));
        QCOMPARE(headingTexts(), Headings1000x3);
    }

    // Ctrl+C and the context menu copy the table as shown, tab-separated,
    // every line ending in a line feed.
    void copy() {
        pressTable(u"1000"_qs, u"3.0"_qs);
        QVERIFY(QTest::qWaitForWindowActive(tableWindow()));
        QTest::keyClick(child<QPushButton>(tableWindow(), u"OKButton"_qs), Qt::Key_C,
                        Qt::ControlModifier);
        QStringList lines{Headings1000x3.join(u' '),
                          u"連敗数 今回投資額 累計投資額 的中回収額 的中時利益"_qs};
        QCOMPARE(QApplication::clipboard()->text(),
                 (lines + Table1000x3).join(u'\n').replace(u' ', u'\t') + u'\n');

        pressTable(u"1000"_qs, u"1.01"_qs); // a partial refill
        QCOMPARE(tableWindow()->contextMenuPolicy(), Qt::ActionsContextMenu);
        QAction *menuCopy = tableWindow()->actions().value(0);
        QVERIFY(menuCopy && menuCopy->text() == u"表をコピー"_qs);
        menuCopy->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 (lines + Table1000x101 + Table1000x3.mid(6)).join(u'\n').replace(u' ', u'\t') +
                     u'\n');
    }
};

QTEST_MAIN(TestInvestTable)
#include "tst_frminvesttable.moc"
