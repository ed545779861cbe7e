// The usage window as a user meets it: its fixed texts and their font, the
// lined-up glossary, one window at a time, the keys, where it reopens, and
// how it goes when the main window closes.
#include "tests/TestSupport.h"

#include "core/NumberText.h"
#include "core/Twips.h"
#include "settings/SettingsStore.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <memory>

using namespace morvex;
using namespace morvex::test;

namespace {

QWidget *mainWindow() {
    return loadedWindow(u"frmMain"_qs);
}

// Presses the main window's usage button and returns the loaded usage window.
QWidget *pressUsage() {
    child<QPushButton>(mainWindow(), u"btnUsage"_qs)->click();
    return loadedWindow(u"frmUsage"_qs);
}

int visibleWindowsNamed(const QString &name) {
    int count = 0;
    for (const QWidget *widget : QApplication::topLevelWidgets())
        count += widget->objectName() == name && widget->isVisible();
    return count;
}

QString storedPosition(const QString &key) {
    return settings::readSetting(settings::applicationName(), u"UsageWindow"_qs, key, u"-"_qs);
}

const QStringList Glossary{u"Label5"_qs, u"Label6"_qs, u"Label7"_qs,  u"Label14"_qs,
                           u"Label8"_qs, u"Label9"_qs, u"Label10"_qs, u"Label11"_qs};

const QStringList MonospaceFamilies{u"ＭＳ ゴシック"_qs, u"MS Gothic"_qs, u"IPAGothic"_qs,
                                    u"Noto Sans Mono CJK JP"_qs};

} // namespace

class TestUsageWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void fonts();
    void textsFitTheirBoxes();
    void glossaryColonsLineUp();
    void secondPressOpensNoSecondWindow();
    void pressRightAfterCloseOpensAFreshWindow();
    void escLeavesItOpenEnterCloses();
    void firstOpenAtDefaultPosition();
    void reopensWhereItWasClosed();
    void reopensWhereItWasClosedAfterRestart();
    void closingMainWindowClosesItAndEndsTheProgram();
    void closingMainWindowLeavesTheTableWindowOpen();

private:
    std::unique_ptr<ScopedConfigDir> config_;
};

void TestUsageWindow::init() {
    config_ = std::make_unique<ScopedConfigDir>();
    startProgram();
    QVERIFY(mainWindow());
}

void TestUsageWindow::cleanup() {
    closeAllWindows();
    config_.reset();
}

void TestUsageWindow::window() {
    QWidget *usage = pressUsage();
    QVERIFY(usage);
    QVERIFY(usage->isVisible());
    QCOMPARE(usage->windowTitle(), u"Morvexの使い方"_qs);
    QCOMPARE(usage->size(), QSize(404, 414)); // 6060 × 6210 twips
    QCOMPARE(usage->minimumSize(), usage->maximumSize());
    QVERIFY(!(usage->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(usage->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!usage->parentWidget());
    QVERIFY(!usage->isModal());
    QCOMPARE(LoadedWindows::names(), (QStringList{u"frmMain"_qs, u"frmUsage"_qs}));
}

void TestUsageWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");

    auto row = [](const QString &name, const QString &parent, const QString &text, QRect twips) {
        QTest::newRow(qPrintable(name)) << name << parent << text << twips;
    };
    row(u"Frame1"_qs, u"frmUsage"_qs, u"使い方"_qs, {240, 120, 5655, 2655});
    row(u"Label1"_qs, u"Frame1"_qs, u"開始金額，倍率，連敗数を設定して"_qs, {240, 360, 3975, 255});
    row(u"Label2"_qs, u"Frame1"_qs, u"[今回投資額算出]ボタンを押すだけです。"_qs,
        {240, 720, 3495, 255});
    row(u"Label3"_qs, u"Frame1"_qs, u"あとは今回投資額分の馬券を買うだけです。 Good Luck!"_qs,
        {240, 1080, 4815, 255});
    row(u"Label4"_qs, u"Frame1"_qs,
        u"なお、いかなる損害が出ようとも作者は一切責任を負いません。"_qs, {240, 1440, 5295, 255});
    row(u"Label12"_qs, u"Frame1"_qs, u"個人的には配当3倍のﾜｲﾄﾞなら10ﾚｰｽ以内に当たると思いますが"_qs,
        {240, 1800, 5295, 255});
    row(u"Label13"_qs, u"Frame1"_qs, u"運悪く10連敗しないとは限りまへん。"_qs,
        {240, 2160, 5295, 255});
    row(u"Frame2"_qs, u"frmUsage"_qs, u"用語の説明"_qs, {240, 3000, 5655, 2535});
    row(u"Label5"_qs, u"Frame2"_qs, u"開始金額　　：投資の基本金額（通常１ﾚｰｽに使う位の額）"_qs,
        {360, 360, 4935, 255});
    row(u"Label6"_qs, u"Frame2"_qs, u"倍率　　　　：10ﾚｰｽ以内に当てる自信のあるオッズ"_qs,
        {360, 600, 4455, 255});
    row(u"Label7"_qs, u"Frame2"_qs, u"連敗数　　　：何連敗中か、的中直後は０"_qs,
        {360, 840, 4455, 255});
    row(u"Label14"_qs, u"Frame2"_qs, u"上昇率　　　：不的中時の投資額の追い上げ率"_qs,
        {360, 1080, 4455, 255});
    row(u"Label8"_qs, u"Frame2"_qs, u"今回投資額　：今回の投資金額"_qs, {360, 1440, 4455, 255});
    row(u"Label9"_qs, u"Frame2"_qs, u"累計投資額　：今回までの投資金額合計"_qs,
        {360, 1680, 4455, 255});
    row(u"Label10"_qs, u"Frame2"_qs, u"的中時回収額：今回の投資が成功した場合の払戻金額"_qs,
        {360, 1920, 4455, 255});
    row(u"Label11"_qs, u"Frame2"_qs, u"的中時利益　：累計投資額－的中時回収額"_qs,
        {360, 2160, 4455, 255});
    row(u"OKButton"_qs, u"frmUsage"_qs, u"OK"_qs, {4560, 5760, 1215, 375});
}

void TestUsageWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QString, text);
    QFETCH(QRect, twips);

    QWidget *usage = pressUsage();
    QWidget *control = child<QWidget>(usage, name);
    QCOMPARE(control->parentWidget()->objectName(), parent);
    QString shown;
    if (auto *label = qobject_cast<QLabel *>(control))
        shown = label->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(control))
        shown = frame->title();
    else if (auto *button = qobject_cast<QPushButton *>(control))
        shown = button->text();
    else
        QFAIL("not a label, frame or button");
    QCOMPARE(shown, text);
    QCOMPARE(control->geometry(),
             controls::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QVERIFY(control->isVisible());
}

void TestUsageWindow::fonts() {
    QWidget *usage = pressUsage();
    const QList<QLabel *> labels = usage->findChildren<QLabel *>();
    QCOMPARE(labels.size(), 14);
    for (const QLabel *label : labels) {
        const QFontInfo shown(label->font());
        QVERIFY2(MonospaceFamilies.contains(shown.family()),
                 qPrintable(label->objectName() + u" in "_qs + shown.family()));
        QCOMPARE(shown.family(), QFontInfo(monospaceFont()).family());
        QCOMPARE(label->font().pointSize(), 9);
        QCOMPARE(label->font().weight(), QFont::Normal);
    }
    // Frame captions and the button keep the window's own font.
    for (const char *name : {"Frame1", "Frame2", "OKButton"}) {
        const QWidget *control = child<QWidget>(usage, QLatin1String(name));
        QCOMPARE(QFontInfo(control->font()).family(), QFontInfo(usage->font()).family());
        QCOMPARE(control->font(), uiFont());
    }
}

// Nothing is cut off at the edge of its box.
void TestUsageWindow::textsFitTheirBoxes() {
    QWidget *usage = pressUsage();
    for (const QLabel *label : usage->findChildren<QLabel *>()) {
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(label->objectName()));
        QVERIFY2(metrics.height() <= label->contentsRect().height(),
                 qPrintable(label->objectName()));
        QVERIFY2(label->parentWidget()->rect().contains(label->geometry()),
                 qPrintable(label->objectName()));
    }
}

void TestUsageWindow::glossaryColonsLineUp() {
    QWidget *usage = pressUsage();
    QList<int> colons;
    for (const QString &name : Glossary) {
        const QLabel *label = child<QLabel>(usage, name);
        const QString text = label->text();
        const qsizetype colon = text.indexOf(u'：');
        QVERIFY2(colon > 0, qPrintable(name));
        colons.append(label->x() + QFontMetrics(label->font()).horizontalAdvance(text.left(colon)));
    }
    for (int i = 1; i < colons.size(); ++i)
        QVERIFY2(colons[i] == colons[0],
                 qPrintable(Glossary[i] + u": colon at "_qs + QString::number(colons[i]) +
                            u", "_qs + Glossary[0] + u" at "_qs + QString::number(colons[0])));
}

void TestUsageWindow::secondPressOpensNoSecondWindow() {
    QWidget *first = pressUsage();
    QVERIFY(first);
    first->move(210, 140);
    QWidget *second = pressUsage();
    QCOMPARE(second, first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->pos(), QPoint(210, 140)); // not loaded again from the store
    QCOMPARE(visibleWindowsNamed(u"frmUsage"_qs), 1);
    QCOMPARE(LoadedWindows::names(), (QStringList{u"frmMain"_qs, u"frmUsage"_qs}));
}

// A window closed but not yet deleted is unloaded: the next press loads anew.
void TestUsageWindow::pressRightAfterCloseOpensAFreshWindow() {
    QPointer<QWidget> first = pressUsage();
    child<QPushButton>(first, u"OKButton"_qs)->click();
    QVERIFY(!loadedWindow(u"frmUsage"_qs));
    QWidget *second = pressUsage();
    QVERIFY(second);
    QVERIFY(second != first.data());
    QVERIFY(second->isVisible());
    QCOMPARE(LoadedWindows::names(), (QStringList{u"frmMain"_qs, u"frmUsage"_qs}));
    flushDeletes();
    QVERIFY(!first);
    QCOMPARE(loadedWindow(u"frmUsage"_qs), second);
}

void TestUsageWindow::escLeavesItOpenEnterCloses() {
    QWidget *usage = pressUsage();
    auto *ok = child<QPushButton>(usage, u"OKButton"_qs);
    QVERIFY(!ok->isDefault());
    QCOMPARE(usage->focusWidget(), ok);

    QTest::keyClick(ok, Qt::Key_Escape);
    QTest::keyClick(usage, Qt::Key_Escape);
    QCOMPARE(loadedWindow(u"frmUsage"_qs), usage);
    QVERIFY(usage->isVisible());

    QTest::keyClick(ok, Qt::Key_Return);
    QVERIFY(!loadedWindow(u"frmUsage"_qs));
    QCOMPARE(LoadedWindows::names(), QStringList{u"frmMain"_qs});
}

void TestUsageWindow::firstOpenAtDefaultPosition() {
    QWidget *usage = pressUsage();
    QCOMPARE(usage->pos(), QPoint(twipsToPixels(1300), twipsToPixels(1300)));
}

void TestUsageWindow::reopensWhereItWasClosed() {
    QWidget *usage = pressUsage();
    usage->move(230, 170);
    usage->close();
    QCOMPARE(storedPosition(u"WindowTop"_qs), SingleText(float(170 * TwipsPerPixel)));
    QCOMPARE(storedPosition(u"WindowLeft"_qs), SingleText(float(230 * TwipsPerPixel)));
    flushDeletes();
    QCOMPARE(pressUsage()->pos(), QPoint(230, 170));
}

void TestUsageWindow::reopensWhereItWasClosedAfterRestart() {
    QWidget *usage = pressUsage();
    usage->move(250, 190);
    mainWindow()->close(); // takes the usage window with it
    QVERIFY(LoadedWindows::forms().isEmpty());
    flushDeletes();

    startProgram();
    QCOMPARE(pressUsage()->pos(), QPoint(250, 190));
}

void TestUsageWindow::closingMainWindowClosesItAndEndsTheProgram() {
    QPointer<QWidget> usage = pressUsage();
    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    mainWindow()->close();
    QVERIFY(!usage->isVisible());
    QVERIFY(LoadedWindows::forms().isEmpty());
    QCOMPARE(ended.count(), 1);
    flushDeletes();
    QVERIFY(!usage);
}

// The main window closes only the first other window in load order: the
// usage window here. The table window stays and keeps the program running
// until it is closed itself.
void TestUsageWindow::closingMainWindowLeavesTheTableWindowOpen() {
    QPointer<QWidget> usage = pressUsage();
    child<QPushButton>(mainWindow(), u"btnTable"_qs)->click();
    QPointer<QWidget> table = loadedWindow(u"frmInvestTable"_qs);
    QVERIFY(table);
    QCOMPARE(LoadedWindows::names(),
             (QStringList{u"frmMain"_qs, u"frmUsage"_qs, u"frmInvestTable"_qs}));

    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    mainWindow()->close();
    QCOMPARE(LoadedWindows::names(), QStringList{u"frmInvestTable"_qs});
    QVERIFY(!usage->isVisible());
    QVERIFY(table->isVisible());
    QCOMPARE(ended.count(), 0);
    flushDeletes();
    QVERIFY(!usage);
    QVERIFY(table);

    table->close();
    QVERIFY(LoadedWindows::forms().isEmpty());
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(TestUsageWindow)
#include "tst_frmusage.moc"
