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
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Overflow = u"金額が大きくなり過ぎて計算不能です。\r\n"
                         u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_qs;
const QString OverflowTitle = u"オーバーフロー"_qs;

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
    u"5 10,510,152,105,800 10,615,253,522,600 10,615,253,526,625 4,025"_qs,
};

QWidget *mainWindow() {
    return loadedWindow(u"frmMain"_qs);
}
Form *tableWindow() {
    return loadedWindow(u"frmInvestTable"_qs);
}
QString cellText(const QString &name) {
    return child<QLabel>(tableWindow(), name)->text();
}
QString indexed(const char *array, int index) {
    return QString::fromLatin1(array) + u'_' + QString::number(index);
}

// One row of the table as "defeats stake total payout profit".
QString row(int i) {
    QStringList texts;
    for (const char *array : {"lblDefeats", "lblInvest", "lblTotal", "lblRecovery", "lblProfit"})
        texts.append(cellText(indexed(array, i)));
    return texts.join(u' ');
}
QStringList rows() {
    QStringList all;
    for (int i = 0; i < 10; ++i)
        all.append(row(i));
    return all;
}
QStringList headingTexts() {
    return {cellText(u"lblStartAmount"_qs), cellText(u"lblOdds"_qs), cellText(u"lblUpRate"_qs)};
}

void pressTable(const QString &start, const QString &odds) {
    typeInto(child<QLineEdit>(mainWindow(), u"txtStartAmount"_qs), start);
    typeInto(child<QLineEdit>(mainWindow(), u"txtOdds"_qs), odds);
    QTest::mouseClick(child<QPushButton>(mainWindow(), u"btnTable"_qs), Qt::LeftButton);
}

QString storedTable(const char *key) {
    return settings::readSetting(settings::applicationName(), u"TableWindow"_qs,
                                 QString::fromLatin1(key), u"none"_qs);
}

int tableWindowsLoaded() {
    return int(LoadedWindows::names().count(u"frmInvestTable"_qs));
}

// Every message box shown, as "title / text"; one that is not a warning is
// marked.
QStringList shownMessages(const MessageRecorder &boxes) {
    QStringList shown;
    for (const Message &box : boxes.messages)
        shown.append(box.title + u" / "_qs + box.text +
                     (box.icon == QMessageBox::Warning ? QString() : u" (no warning icon)"_qs));
    return shown;
}
QStringList oneMessage(const QString &title, const QString &text) {
    return {title + u" / "_qs + text};
}

} // namespace

class TestInvestTable : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void cellStyles();
    void windowFrame();
    void figures_data();
    void figures();
    void headings_data();
    void headings();
    void selectedDefeatsPlayNoPart_data();
    void selectedDefeatsPlayNoPart();
    void secondPressRefillsTheOpenWindow();
    void okAndKeyboard();
    void positionRestored();
    void positionAcrossRestart();
    void closedWithTheMainWindow();
    void rejectedInputLeavesTable_data();
    void rejectedInputLeavesTable();
    void overflowPartwayOnFirstOpen();
    void overflowPartwayInOpenWindow();
    void hugeOddsShownInFull();
    void copyWithKeyboard();
    void copyFromContextMenu();

private:
    std::unique_ptr<ScopedConfigDir> config_;
    std::unique_ptr<MessageRecorder> boxes_;
};

void TestInvestTable::init() {
    config_ = std::make_unique<ScopedConfigDir>();
    boxes_ = std::make_unique<MessageRecorder>();
    startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
}

void TestInvestTable::cleanup() {
    closeAllWindows();
    boxes_.reset();
    config_.reset();
}

void TestInvestTable::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    auto add = [](const QString &name, int l, int t, int w, int h) {
        QTest::newRow(qPrintable(name)) << name << QRect(l, t, w, h);
    };
    add(u"lblStartAmount"_qs, 240, 120, 1935, 255);
    add(u"lblOdds"_qs, 2040, 120, 1455, 255);
    add(u"lblUpRate"_qs, 3360, 120, 1695, 255);
    const int left[] = {240, 960, 1920, 2880, 3840};
    const int width[] = {735, 975, 975, 975, 975};
    for (int c = 0; c < 5; ++c)
        add(indexed("lblHeader", c), left[c], 480, width[c], 255);
    const char *arrays[] = {"lblDefeats", "lblInvest", "lblTotal", "lblRecovery", "lblProfit"};
    for (int i = 0; i < 10; ++i)
        for (int c = 0; c < 5; ++c)
            add(indexed(arrays[c], i), left[c], 720 + 240 * i, width[c], 255);
    add(u"OKButton"_qs, 3480, 3360, 1215, 375);
}

void TestInvestTable::layout() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    pressTable(u"1000"_qs, u"3"_qs);
    QCOMPARE(child<QWidget>(tableWindow(), name)->geometry(),
             controls::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
}

// Header cells centred on the 3-D light colour; the defeats column centred
// and the figures right-aligned on the tooltip colour; every grid cell with a
// single-line border; the headings without one; nothing but the button
// takes the focus.
void TestInvestTable::cellStyles() {
    pressTable(u"1000"_qs, u"3"_qs);
    const QStringList headers{u"連敗数"_qs, u"今回投資額"_qs, u"累計投資額"_qs, u"的中回収額"_qs,
                              u"的中時利益"_qs};
    for (int c = 0; c < 5; ++c) {
        auto *header = child<QLabel>(tableWindow(), indexed("lblHeader", c));
        QCOMPARE(header->text(), headers[c]);
        QCOMPARE(header->backgroundRole(), QPalette::Midlight);
        QVERIFY(header->autoFillBackground());
        QCOMPARE(header->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(header->frameShape(), QFrame::Box);
        // The header texts are fixed: each fits its cell.
        QVERIFY(header->fontMetrics().horizontalAdvance(header->text()) <=
                header->contentsRect().width());
    }
    for (int i = 0; i < 10; ++i) {
        auto *defeats = child<QLabel>(tableWindow(), indexed("lblDefeats", i));
        QCOMPARE(defeats->text(), QString::number(i));
        QCOMPARE(defeats->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(defeats->backgroundRole(), QPalette::ToolTipBase);
        QCOMPARE(defeats->frameShape(), QFrame::Box);
        for (const char *array : {"lblInvest", "lblTotal", "lblRecovery", "lblProfit"}) {
            auto *figure = child<QLabel>(tableWindow(), indexed(array, i));
            QCOMPARE(figure->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
            QCOMPARE(figure->backgroundRole(), QPalette::ToolTipBase);
            QVERIFY(figure->autoFillBackground());
            QCOMPARE(figure->frameShape(), QFrame::Box);
            QCOMPARE(figure->lineWidth(), 1);
            QVERIFY(figure->fontMetrics().horizontalAdvance(figure->text()) <=
                    figure->contentsRect().width());
        }
    }
    for (const QString &name : {u"lblStartAmount"_qs, u"lblOdds"_qs, u"lblUpRate"_qs})
        QCOMPARE(child<QLabel>(tableWindow(), name)->frameShape(), QFrame::NoFrame);

    QList<QWidget *> focusable;
    for (QWidget *widget : tableWindow()->findChildren<QWidget *>())
        if (widget->focusPolicy() != Qt::NoFocus)
            focusable.append(widget);
    QCOMPARE(focusable.size(), 1);
    QCOMPARE(focusable[0]->objectName(), u"OKButton"_qs);
    // The copy adds no control: three headings, 5 headers, 50 cells, the button.
    QCOMPARE(tableWindow()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).size(), 59);
}

void TestInvestTable::windowFrame() {
    pressTable(u"1000"_qs, u"3"_qs);
    QWidget *window = tableWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->windowTitle(), u"投資額表"_qs);
    QCOMPARE(window->size(), QSize(twipsToPixels(4995), twipsToPixels(3855)));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(window->parent() == nullptr);
    auto *ok = child<QPushButton>(window, u"OKButton"_qs);
    QCOMPARE(ok->text(), u"OK"_qs);
    QVERIFY(!ok->isDefault());
    QVERIFY(!ok->autoDefault());
    // Modeless: the main window still takes input.
    QVERIFY(!window->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestInvestTable::figures_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    for (int i = 0; i < 10; ++i)
        QTest::addRow("1000 x 3, row %d", i) << u"1000"_qs << u"3.0"_qs << i << Table1000x3[i];
    // The payout comes from the stake as shown, the profit from the two
    // whole numbers shown beside it.
    QTest::newRow("1000 x 2.5, row 1")
        << u"1000"_qs << u"2.5"_qs << 1 << u"1 1,700 2,700 4,250 1,550"_qs;
    QTest::newRow("1000 x 2.5, row 9")
        << u"1000"_qs << u"2.5"_qs << 9 << u"9 99,200 246,500 248,000 1,500"_qs;
    // A payout of 1,787.5 shows as 1,788; the profit is 1,788 − 1,800, not
    // 1,787.5 − 1,800 rounded away from zero.
    QTest::newRow("100 x 1.375, row 2: half payout, profit below zero")
        << u"100"_qs << u"1.375"_qs << 2 << u"2 1,300 1,800 1,788 -12"_qs;
    QTest::newRow("500 x 5, row 9")
        << u"500"_qs << u"5"_qs << 9 << u"9 3,700 16,600 18,500 1,900"_qs;
    QTest::newRow("150 x 3, rows 0 and 1 both 200")
        << u"150"_qs << u"3"_qs << 1 << u"1 200 400 600 200"_qs;
    QTest::newRow("1000 x 2, row 9")
        << u"1000"_qs << u"2"_qs << 9 << u"9 512,000 1,023,000 1,024,000 1,000"_qs;
    QTest::newRow("1000.5 reads 1000")
        << u"1000.5"_qs << u"3"_qs << 2 << u"2 2,300 4,800 6,900 2,100"_qs;
}

void TestInvestTable::figures() {
    QFETCH(QString, start);
    QFETCH(QString, odds);
    QFETCH(int, index);
    QFETCH(QString, expected);
    const MessageRecorder &boxes = *boxes_;
    pressTable(start, odds);
    QCOMPARE(shownMessages(boxes), QStringList());
    QVERIFY(tableWindow());
    QCOMPARE(row(index), expected);
}

void TestInvestTable::headings_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("1000 x 3.0") << u"1000"_qs << u"3.0"_qs << Headings1000x3;
    QTest::newRow("1000 x 2.5") << u"1000"_qs << u"2.5"_qs
                                << QStringList{u"開始金額：1,000円"_qs, u"倍率：2.5倍"_qs,
                                               u"上昇率：1.666667倍"_qs};
    QTest::newRow("grouped start, odds as a single")
        << u"1234567"_qs << u"1.5"_qs
        << QStringList{u"開始金額：1,234,567円"_qs, u"倍率：1.5倍"_qs, u"上昇率：3倍"_qs};
}

void TestInvestTable::headings() {
    QFETCH(QString, start);
    QFETCH(QString, odds);
    QFETCH(QStringList, expected);
    pressTable(start, odds);
    QCOMPARE(headingTexts(), expected);
}

void TestInvestTable::selectedDefeatsPlayNoPart_data() {
    QTest::addColumn<int>("selected");
    QTest::newRow("none") << -1;
    QTest::newRow("0") << 0;
    QTest::newRow("2") << 2;
    QTest::newRow("15") << 15;
    QTest::newRow("19") << 19;
}

void TestInvestTable::selectedDefeatsPlayNoPart() {
    QFETCH(int, selected);
    child<QComboBox>(mainWindow(), u"cmbDefeats"_qs)->setCurrentIndex(selected);
    pressTable(u"1000"_qs, u"3"_qs);
    QCOMPARE(rows(), Table1000x3);
    QCOMPARE(headingTexts(), Headings1000x3);
}

void TestInvestTable::secondPressRefillsTheOpenWindow() {
    pressTable(u"1000"_qs, u"3"_qs);
    QPointer<Form> first = tableWindow();
    QVERIFY(first);
    QVERIFY(QTest::qWaitForWindowExposed(first));
    QCOMPARE(frmInvestTable::instance(), first.data());

    // Another window in front; the second press brings the table back.
    QApplication::setActiveWindow(mainWindow());
    pressTable(u"500"_qs, u"5"_qs);
    flushDeletes();
    QVERIFY(first);
    QCOMPARE(tableWindow(), first.data());
    QCOMPARE(tableWindowsLoaded(), 1);
    int tops = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        tops += widget->objectName() == u"frmInvestTable"_qs;
    QCOMPARE(tops, 1);
    QVERIFY(first->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), first.data());
    QCOMPARE(row(0), u"0 500 500 2,500 2,000"_qs);
    QCOMPARE(row(9), u"9 3,700 16,600 18,500 1,900"_qs);
    QCOMPARE(headingTexts(),
             (QStringList{u"開始金額：500円"_qs, u"倍率：5倍"_qs, u"上昇率：1.25倍"_qs}));
}

// OK closes the window; Esc does not; Enter on the focused button does.
void TestInvestTable::okAndKeyboard() {
    pressTable(u"1000"_qs, u"3"_qs);
    QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
    QTest::keyClick(tableWindow(), Qt::Key_Escape);
    flushDeletes();
    QVERIFY(tableWindow());
    QVERIFY(tableWindow()->isVisible());

    auto *ok = child<QPushButton>(tableWindow(), u"OKButton"_qs);
    QTRY_COMPARE(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Return);
    flushDeletes();
    QCOMPARE(tableWindow(), nullptr);
    QCOMPARE(frmInvestTable::instance(), nullptr);

    pressTable(u"1000"_qs, u"3"_qs);
    QVERIFY(tableWindow());
    QTest::mouseClick(child<QPushButton>(tableWindow(), u"OKButton"_qs), Qt::LeftButton);
    flushDeletes();
    QCOMPARE(tableWindow(), nullptr);
    QCOMPARE(LoadedWindows::names(), QStringList{u"frmMain"_qs});
}

void TestInvestTable::positionRestored() {
    pressTable(u"1000"_qs, u"3"_qs);
    QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
    // First use: the default corner, and nothing stored until it closes.
    QCOMPARE(tableWindow()->pos(), QPoint(twipsToPixels(1300), twipsToPixels(1300)));
    QCOMPARE(storedTable("WindowTop"), u"none"_qs);

    tableWindow()->move(200, 150);
    QTRY_COMPARE(tableWindow()->pos(), QPoint(200, 150));
    QTest::mouseClick(child<QPushButton>(tableWindow(), u"OKButton"_qs), Qt::LeftButton);
    flushDeletes();
    QCOMPARE(storedTable("WindowTop"), u"2250"_qs);
    QCOMPARE(storedTable("WindowLeft"), u"3000"_qs);

    pressTable(u"2000"_qs, u"4"_qs);
    QCOMPARE(tableWindow()->pos(), QPoint(200, 150));
    QCOMPARE(row(0), u"0 2,000 2,000 8,000 6,000"_qs);
}

void TestInvestTable::positionAcrossRestart() {
    pressTable(u"1000"_qs, u"3"_qs);
    QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
    tableWindow()->move(240, 180);
    QTRY_COMPARE(tableWindow()->pos(), QPoint(240, 180));
    closeAllWindows();
    QVERIFY(LoadedWindows::forms().isEmpty());

    startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
    QCOMPARE(tableWindowsLoaded(), 0);
    pressTable(u"1000"_qs, u"3"_qs);
    QCOMPARE(tableWindow()->pos(), QPoint(240, 180));
}

// Closing the main window closes the table (the first other window) and
// saves its position; the program then has nothing left loaded.
void TestInvestTable::closedWithTheMainWindow() {
    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    pressTable(u"1000"_qs, u"3"_qs);
    QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
    tableWindow()->move(120, 90);
    QTRY_COMPARE(tableWindow()->pos(), QPoint(120, 90));
    mainWindow()->close();
    flushDeletes();
    QVERIFY(LoadedWindows::forms().isEmpty());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(storedTable("WindowTop"), u"1350"_qs);
    QCOMPARE(storedTable("WindowLeft"), u"1800"_qs);
}

// Inputs the check rejects, and inputs that fail before any cell is written:
// the user is told, and the table stays as it was, closed or open.
void TestInvestTable::rejectedInputLeavesTable_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<bool>("openBefore");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    struct Case {
        const char *name;
        QString start, odds, title, message;
    };
    const Case cases[] = {
        {"empty start", u""_qs, u"3"_qs, u"開始金額"_qs, u"数値を入力して下さい。"_qs},
        {"start 99", u"99"_qs, u"3"_qs, u"開始金額"_qs, u"１００円以上を設定して下さい。"_qs},
        {"odds abc", u"1000"_qs, u"abc"_qs, u"倍率"_qs, u"数値を入力して下さい。"_qs},
        {"odds 1", u"1000"_qs, u"1"_qs, u"倍率"_qs, u"1.0倍より大きい値を設定して下さい。"_qs},
        {"start beyond 32 bits", u"1e20"_qs, u"3"_qs, OverflowTitle, Overflow},
        {"odds beyond the single range", u"1000"_qs, u"1e39"_qs, OverflowTitle, Overflow},
        {"odds 1 in single precision", u"1000"_qs, u"1.00000001"_qs, u"Morvex"_qs,
         u"0 で除算しました。"_qs},
    };
    for (const Case &c : cases) {
        QTest::addRow("%s, table closed", c.name)
            << c.start << c.odds << false << c.title << c.message;
        QTest::addRow("%s, table open", c.name)
            << c.start << c.odds << true << c.title << c.message;
    }
}

void TestInvestTable::rejectedInputLeavesTable() {
    QFETCH(QString, start);
    QFETCH(QString, odds);
    QFETCH(bool, openBefore);
    QFETCH(QString, title);
    QFETCH(QString, message);
    if (openBefore) {
        pressTable(u"1000"_qs, u"3"_qs);
        QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
    }
    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    const MessageRecorder &boxes = *boxes_;
    pressTable(start, odds);
    flushDeletes();
    QCOMPARE(shownMessages(boxes), oneMessage(title, message));
    if (openBefore) {
        QVERIFY(tableWindow()->isVisible());
        QCOMPARE(rows(), Table1000x3);
        QCOMPARE(headingTexts(), Headings1000x3);
    } else {
        QCOMPARE(tableWindowsLoaded(), 0);
        QCOMPARE(frmInvestTable::instance(), nullptr);
    }
    // The program carries on, and still ends when the main window closes.
    QVERIFY(mainWindow());
    pressTable(u"1000"_qs, u"2"_qs);
    QCOMPARE(row(9), u"9 512,000 1,023,000 1,024,000 1,000"_qs);
    mainWindow()->close();
    flushDeletes();
    QCOMPARE(ended.count(), 1);
}

// The first fill fails at row 6 after the window was loaded: it is unloaded
// again, never shown, and its position is not written.
void TestInvestTable::overflowPartwayOnFirstOpen() {
    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    const MessageRecorder &boxes = *boxes_;
    pressTable(u"1000"_qs, u"1.01"_qs);
    flushDeletes();
    QCOMPARE(shownMessages(boxes), oneMessage(OverflowTitle, Overflow));
    QCOMPARE(LoadedWindows::names(), QStringList{u"frmMain"_qs});
    QCOMPARE(frmInvestTable::instance(), nullptr);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(widget->objectName() != u"frmInvestTable"_qs);
    QCOMPARE(storedTable("WindowTop"), u"none"_qs);
    QCOMPARE(storedTable("WindowLeft"), u"none"_qs);

    // Nothing hidden keeps the program alive.
    mainWindow()->close();
    flushDeletes();
    QCOMPARE(ended.count(), 1);
}

// An open window keeps the rows written before the failure and the rest of
// its previous figures, headings included, and stays open.
void TestInvestTable::overflowPartwayInOpenWindow() {
    pressTable(u"1000"_qs, u"3"_qs);
    QVERIFY(QTest::qWaitForWindowExposed(tableWindow()));
    QPointer<Form> window = tableWindow();
    const MessageRecorder &boxes = *boxes_;
    pressTable(u"1000"_qs, u"1.01"_qs);
    flushDeletes();
    QCOMPARE(shownMessages(boxes), oneMessage(OverflowTitle, Overflow));
    QVERIFY(window);
    QCOMPARE(tableWindow(), window.data());
    QVERIFY(window->isVisible());
    QCOMPARE(rows(), Table1000x101 + Table1000x3.mid(6));
    QCOMPARE(headingTexts(), Headings1000x3);
}

// Payouts far beyond the fixed-point range are shown whole, digit for digit.
void TestInvestTable::hugeOddsShownInFull() {
    const MessageRecorder &boxes = *boxes_;
    pressTable(u"1000"_qs, u"1e30"_qs);
    QCOMPARE(shownMessages(boxes), QStringList());
    // 1e30 as a single is 1,000,000,015,047,466,219,876,688,855,040; the
    // up-rate rounds to 1, so every stake is 1,000 and the total grows by it.
    const QString payout = u"1,000,000,015,047,466,219,876,688,855,040,000"_qs;
    for (int i = 0; i < 10; ++i) {
        const QString total = QString::number(i + 1) + u",000"_qs;
        QCOMPARE(row(i),
                 QStringList({QString::number(i), u"1,000"_qs, total, payout, payout}).join(u' '));
    }
    QCOMPARE(headingTexts(),
             (QStringList{u"開始金額：1,000円"_qs, u"倍率：1E+30倍"_qs, u"上昇率：1倍"_qs}));
}

const QString CopyOf1000x3 = u"開始金額：1,000円\t倍率：3倍\t上昇率：1.5倍\n"
                             u"連敗数\t今回投資額\t累計投資額\t的中回収額\t的中時利益\n"
                             u"0\t1,000\t1,000\t3,000\t2,000\n"
                             u"1\t1,500\t2,500\t4,500\t2,000\n"
                             u"2\t2,300\t4,800\t6,900\t2,100\n"
                             u"3\t3,400\t8,200\t10,200\t2,000\n"
                             u"4\t5,100\t13,300\t15,300\t2,000\n"
                             u"5\t7,600\t20,900\t22,800\t1,900\n"
                             u"6\t11,400\t32,300\t34,200\t1,900\n"
                             u"7\t17,100\t49,400\t51,300\t1,900\n"
                             u"8\t25,600\t75,000\t76,800\t1,800\n"
                             u"9\t38,400\t113,400\t115,200\t1,800\n"_qs;

void TestInvestTable::copyWithKeyboard() {
    pressTable(u"1000"_qs, u"3.0"_qs);
    QVERIFY(QTest::qWaitForWindowActive(tableWindow()));
    QApplication::clipboard()->setText(u"before"_qs);
    QTest::keyClick(child<QPushButton>(tableWindow(), u"OKButton"_qs), Qt::Key_C,
                    Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), CopyOf1000x3);
    // Copying leaves the window open.
    flushDeletes();
    QVERIFY(tableWindow());
}

void TestInvestTable::copyFromContextMenu() {
    pressTable(u"1000"_qs, u"3"_qs);
    QWidget *window = tableWindow();
    QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction *copy = nullptr;
    for (QAction *action : window->actions())
        if (action->text() == u"表をコピー"_qs)
            copy = action;
    QVERIFY(copy);
    QApplication::clipboard()->setText(u"before"_qs);
    copy->trigger();
    QCOMPARE(QApplication::clipboard()->text(), CopyOf1000x3);

    // A refill is copied as shown, the last figures and headings included.
    pressTable(u"1000"_qs, u"1.01"_qs);
    copy->trigger();
    const QStringList lines = QApplication::clipboard()->text().split(u'\n');
    QCOMPARE(lines.size(), 13); // 12 lines, each ending in a line feed
    QCOMPARE(lines[0], u"開始金額：1,000円\t倍率：3倍\t上昇率：1.5倍"_qs);
    QCOMPARE(lines[7], u"5\t10,510,152,105,800\t10,615,253,522,600\t10,615,253,526,625\t4,025"_qs);
    QCOMPARE(lines[8], u"6\t11,400\t32,300\t34,200\t1,900"_qs);
}

QTEST_MAIN(TestInvestTable)
#include "tst_frminvesttable.moc"
