// The main window as a user meets it: its layout and texts, the input
// checks, the calculation, the keyboard, and what it remembers.
#include "TestSupport.h"
#include "core/Twips.h"
#include "settings/SettingsStore.h"
#include "ui/Controls.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolTip>

using namespace morvex;
using namespace morvex::test;

namespace {

QWidget *mainWindow() {
    return loadedWindow(u"frmMain"_qs);
}
QLineEdit *startBox() {
    return child<QLineEdit>(mainWindow(), u"txtStartAmount"_qs);
}
QLineEdit *oddsBox() {
    return child<QLineEdit>(mainWindow(), u"txtOdds"_qs);
}
QComboBox *defeatsList() {
    return child<QComboBox>(mainWindow(), u"cmbDefeats"_qs);
}
QString shown(const char *name) {
    return child<QLabel>(mainWindow(), QLatin1String(name))->text();
}
QPushButton *calcButton() {
    return child<QPushButton>(mainWindow(), u"btnCalcAmount"_qs);
}

// The five result fields, in the order stake, total, payout, profit, up-rate.
QStringList results() {
    return {shown("lblInvestAmount"), shown("lblTotalAmount"), shown("lblRecovery"),
            shown("lblProfit"), shown("lblUpRate")};
}

const QStringList untouched{u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"1.5"_qs};

void enterInputs(const QString &start, const QString &odds, int defeats) {
    typeInto(startBox(), start);
    typeInto(oddsBox(), odds);
    defeatsList()->setCurrentIndex(defeats);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void resultFieldsAreInfoCells();
    void defeatsList_();
    void captionsFit();
    void firstRun();
    void calculation_data();
    void calculation();
    void checkInput_data();
    void checkInput();
    void enterCalculates_data();
    void enterCalculates();
    void raceLabel();
    void tabOrder();
    void accessibility();
    void wideFiguresAreCutVisibly();

    void fileAfterFirstClose();
    void restoresAcrossRestart();
    void textThatIsNotANumberRoundTrips();
    void storedValuesThatAreNotNumbers_data();
    void storedValuesThatAreNotNumbers();
    void offScreenPositionComesBack();
    void maximisedWindowSavesNormalPosition();
    void programEndsWhenMainWindowCloses();

private:
    std::unique_ptr<ScopedConfigDir> config_;
};

void TestMainWindow::init() {
    config_ = std::make_unique<ScopedConfigDir>();
    startProgram();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
}

void TestMainWindow::cleanup() {
    closeAllWindows();
    config_.reset();
}

void TestMainWindow::layout_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    auto row = [](const char *name, const QString &text, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << text << QRect(l, t, w, h);
    };
    row("btnUsage", u"使い方"_qs, 0, 0, 1300, 375);
    row("btnTable", u"投資額表"_qs, 1300, 0, 1300, 375);
    row("btnAbout", u"ﾊﾞｰｼﾞｮﾝ情報"_qs, 2600, 0, 1300, 375);
    row("btnExit", u"終了"_qs, 3900, 0, 1300, 375);
    row("Label1", u"開始金額"_qs, 240, 720, 855, 375);
    row("txtStartAmount", u"1000"_qs, 1200, 680, 855, 300);
    row("Label8_0", u"円"_qs, 2160, 720, 255, 255);
    row("Label2", u"倍率(ｵｯｽﾞ)"_qs, 240, 1320, 855, 255);
    row("txtOdds", u"3"_qs, 1200, 1280, 855, 300);
    row("Label8_1", u"倍"_qs, 2160, 1320, 255, 255);
    row("Label3", u"連敗数"_qs, 240, 1920, 615, 375);
    row("cmbDefeats", u"0"_qs, 1200, 1880, 855, 300);
    row("lblRaceNum", u"[1ﾚｰｽ目]"_qs, 1200, 2280, 855, 255);
    row("Label9", u"上昇率"_qs, 240, 2640, 735, 255);
    row("lblUpRate", u"1.5"_qs, 1200, 2600, 855, 300);
    row("Label8_6", u"倍"_qs, 2160, 2640, 255, 255);
    row("btnCalcAmount", u"今回投資額算出"_qs, 2640, 1200, 1095, 855);
    row("Label5", u"今回投資額"_qs, 4080, 720, 1095, 255);
    row("lblInvestAmount", u"0"_qs, 5280, 680, 975, 300);
    row("Label8_2", u"円"_qs, 6360, 720, 255, 255);
    row("Label4", u"累計投資額"_qs, 4080, 1320, 975, 255);
    row("lblTotalAmount", u"0"_qs, 5280, 1280, 975, 300);
    row("Label8_3", u"円"_qs, 6360, 1320, 255, 255);
    row("Label6", u"的中時回収額"_qs, 4080, 1920, 1095, 375);
    row("lblRecovery", u"0"_qs, 5280, 1880, 975, 300);
    row("Label8_4", u"円"_qs, 6360, 1920, 255, 255);
    row("Label7", u"的中時利益"_qs, 4080, 2520, 1095, 255);
    row("lblProfit", u"0"_qs, 5280, 2480, 975, 300);
    row("Label8_5", u"円"_qs, 6360, 2520, 255, 255);
}

// Every control where the layout puts it, with its first text (the inputs
// as restored on a first run).
void TestMainWindow::layout() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QWidget *control = child<QWidget>(mainWindow(), name);
    QCOMPARE(control->geometry(),
             controls::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QString actual;
    if (auto *label = qobject_cast<QLabel *>(control))
        actual = label->text();
    else if (auto *box = qobject_cast<QLineEdit *>(control))
        actual = box->text();
    else if (auto *button = qobject_cast<QPushButton *>(control))
        actual = button->text();
    else if (auto *list = qobject_cast<QComboBox *>(control))
        actual = list->currentText();
    QCOMPARE(actual, text);
}

void TestMainWindow::resultFieldsAreInfoCells() {
    const char *fields[] = {"lblInvestAmount", "lblTotalAmount", "lblRecovery", "lblProfit",
                            "lblUpRate"};
    for (const char *name : fields) {
        auto *field = child<QLabel>(mainWindow(), QLatin1String(name));
        QCOMPARE(field->backgroundRole(), QPalette::ToolTipBase);
        QVERIFY(field->autoFillBackground());
        QCOMPARE(field->frameShape(), QFrame::Box);
        QVERIFY(field->alignment() & Qt::AlignLeft);
        QCOMPARE(field->focusPolicy(), Qt::NoFocus);
    }
    QVERIFY(calcButton()->isDefault());
    QCOMPARE(mainWindow()->windowTitle(), u"Morvex"_qs);
    QCOMPARE(mainWindow()->size(), QSize(twipsToPixels(6765), twipsToPixels(3105)));
    QVERIFY(mainWindow()->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(mainWindow()->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!mainWindow()->windowIcon().isNull());
}

void TestMainWindow::defeatsList_() {
    QComboBox *list = defeatsList();
    QVERIFY(!list->isEditable());
    QCOMPARE(list->count(), 20);
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(list->itemText(i), QString::number(i));
        QCOMPARE(list->itemData(i).toInt(), 0);
    }
}

// No caption is cut off by its box, and the calculation button's caption
// takes exactly two centred lines.
void TestMainWindow::captionsFit() {
    const auto labels = mainWindow()->findChildren<QLabel *>();
    for (const QLabel *label : labels) {
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                 qPrintable(label->objectName()));
        QVERIFY2(metrics.height() <= label->height(), qPrintable(label->objectName()));
    }
    const auto buttons = mainWindow()->findChildren<QPushButton *>();
    for (const QPushButton *button : buttons) {
        if (button == calcButton())
            continue;
        QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(button->text()) <
                     button->width() - 8,
                 qPrintable(button->objectName()));
    }
    const QFontMetrics metrics(calcButton()->font());
    const QRect area = calcButton()->rect().adjusted(4, 4, -4, -4);
    QVERIFY(metrics.horizontalAdvance(calcButton()->text()) > area.width());
    const QRect wrapped =
        metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, calcButton()->text());
    const int lines = 1 + (wrapped.height() - metrics.height()) / metrics.lineSpacing();
    QCOMPARE(lines, 2);
    QVERIFY(area.contains(wrapped));
    QVERIFY(QFontInfo(calcButton()->font()).family().contains(u"Gothic"_qs) ||
            QFontInfo(calcButton()->font()).family().contains(u"CJK"_qs));
}

void TestMainWindow::firstRun() {
    QCOMPARE(mainWindow()->pos(), QPoint(twipsToPixels(1200), twipsToPixels(1200)));
    QCOMPARE(startBox()->text(), u"1000"_qs);
    QCOMPARE(oddsBox()->text(), u"3"_qs);
    QCOMPARE(defeatsList()->currentIndex(), 0);
    QCOMPARE(shown("lblRaceNum"), u"[1ﾚｰｽ目]"_qs);
    QCOMPARE(results(), untouched);
    QCOMPARE(QApplication::focusWidget(), startBox());
}

void TestMainWindow::calculation_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<int>("defeats");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    const QString overflow = u"金額が大きくなり過ぎて計算不能です。\r\n"
                             u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_qs;
    auto fields = [](const char *a, const char *b, const char *c, const char *d, const char *e) {
        return QStringList{QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c),
                           QString::fromUtf8(d), QString::fromUtf8(e)};
    };
    QTest::newRow("typical request")
        << "1000"
        << "3.0" << 2 << fields("2,300", "4,800", "6,900", "2,100", "1.5") << ""
        << "";
    QTest::newRow("no defeats yet")
        << "1000"
        << "3.0" << 0 << fields("1,000", "1,000", "3,000", "2,000", "1.5") << ""
        << "";
    QTest::newRow("five defeats") << "1000"
                                  << "3" << 5 << fields("7,600", "20,900", "22,800", "1,900", "1.5")
                                  << ""
                                  << "";
    QTest::newRow("odds 2.5") << "1000"
                              << "2.5" << 1
                              << fields("1,700", "2,700", "4,250", "1,550", "1.666667") << ""
                              << "";
    QTest::newRow("1000.5 reads 1000")
        << "1000.5"
        << "2" << 9 << fields("512,000", "1,023,000", "1,024,000", "1,000", "2") << ""
        << "";
    QTest::newRow("1001.5 reads 1002")
        << "1001.5"
        << "2" << 9 << fields("513,000", "1,025,000", "1,026,000", "1,000", "2") << ""
        << "";
    QTest::newRow("full-width digits") << u"１０００"_qs << u"３"_qs << 2
                                       << fields("2,300", "4,800", "6,900", "2,100", "1.5") << ""
                                       << "";
    QTest::newRow("start beyond 32 bits")
        << "1e20"
        << "3" << 2 << untouched << u"オーバーフロー"_qs << overflow;
    QTest::newRow("odds 1.01 with 6 defeats")
        << "1000"
        << "1.01" << 6 << untouched << u"オーバーフロー"_qs << overflow;
    QTest::newRow("odds 1 in single precision")
        << "1000"
        << "1.00000001" << 2 << untouched << u"Morvex"_qs << u"0 で除算しました。"_qs;
    QTest::newRow("odds beyond the single range")
        << "1000"
        << "1e39" << 2 << untouched << u"オーバーフロー"_qs << overflow;
    QTest::newRow("payout leaves the range after total and stake are shown")
        << "2000000000"
        << "1000000" << 0 << fields("2,000,000,000", "2,000,000,000", "0", "0", "1.5")
        << u"オーバーフロー"_qs << overflow;
    QTest::newRow("no defeats item picked: nothing happens") << "1000"
                                                             << "3" << -1 << untouched << ""
                                                             << "";
}

void TestMainWindow::calculation() {
    QFETCH(QString, start);
    QFETCH(QString, odds);
    QFETCH(int, defeats);
    QFETCH(QStringList, fields);
    QFETCH(QString, title);
    QFETCH(QString, message);
    MessageRecorder boxes;
    enterInputs(start, odds, defeats);
    QTest::mouseClick(calcButton(), Qt::LeftButton);
    QCOMPARE(results(), fields);
    if (message.isEmpty()) {
        QCOMPARE(boxes.messages.size(), 0);
    } else {
        QCOMPARE(boxes.messages.size(), 1);
        QCOMPARE(boxes.messages[0].title, title);
        QCOMPARE(boxes.messages[0].text, message);
        QCOMPARE(boxes.messages[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
}

void TestMainWindow::checkInput_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QString number = u"数値を入力して下さい。"_qs;
    const QString hundred = u"１００円以上を設定して下さい。"_qs;
    const QString aboveOne = u"1.0倍より大きい値を設定して下さい。"_qs;
    const QString start = u"開始金額"_qs, odds = u"倍率"_qs;
    QTest::newRow("empty start") << ""
                                 << "3" << start << number << "txtStartAmount";
    QTest::newRow("99") << "99"
                        << "3" << start << hundred << "txtStartAmount";
    QTest::newRow("100 passes") << "100"
                                << "3"
                                << ""
                                << ""
                                << "";
    QTest::newRow("1,000 reads as 1") << "1,000"
                                      << "3" << start << hundred << "txtStartAmount";
    QTest::newRow("100abc") << "100abc"
                            << "3" << start << number << "txtStartAmount";
    QTest::newRow("start checked before odds") << "abc"
                                               << "abc" << start << number << "txtStartAmount";
    QTest::newRow("odds abc") << "1000"
                              << "abc" << odds << number << "txtOdds";
    QTest::newRow("empty odds") << "1000"
                                << "" << odds << number << "txtOdds";
    QTest::newRow("odds 1") << "1000"
                            << "1" << odds << aboveOne << "txtOdds";
    QTest::newRow("odds 1.0") << "1000"
                              << "1.0" << odds << aboveOne << "txtOdds";
    QTest::newRow("odds 1.01 passes") << "1000"
                                      << "1.01"
                                      << ""
                                      << ""
                                      << "";
}

void TestMainWindow::checkInput() {
    QFETCH(QString, start);
    QFETCH(QString, odds);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    MessageRecorder boxes;
    enterInputs(start, odds, 3);
    QTest::mouseClick(calcButton(), Qt::LeftButton);
    if (message.isEmpty()) {
        QCOMPARE(boxes.messages.size(), 0);
        QVERIFY(results() != untouched);
        return;
    }
    // One message only: a failed check stops the others.
    QCOMPARE(boxes.messages.size(), 1);
    QCOMPARE(boxes.messages[0].title, title);
    QCOMPARE(boxes.messages[0].text, message);
    QCOMPARE(boxes.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(results(), untouched);
}

void TestMainWindow::enterCalculates_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("start amount") << "txtStartAmount";
    QTest::newRow("odds") << "txtOdds";
    QTest::newRow("defeats") << "cmbDefeats";
}

void TestMainWindow::enterCalculates() {
    QFETCH(QString, input);
    enterInputs(u"1000"_qs, u"3.0"_qs, 2);
    QWidget *widget = child<QWidget>(mainWindow(), input);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Return);
    QCOMPARE(shown("lblInvestAmount"), u"2,300"_qs);
    defeatsList()->setCurrentIndex(0);
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Enter);
    QCOMPARE(shown("lblInvestAmount"), u"1,000"_qs);
}

void TestMainWindow::raceLabel() {
    QComboBox *list = defeatsList();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(list->currentIndex(), 19);
    QCOMPARE(shown("lblRaceNum"), u"[20ﾚｰｽ目]"_qs);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(shown("lblRaceNum"), u"[1ﾚｰｽ目]"_qs);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(shown("lblRaceNum"), u"[3ﾚｰｽ目]"_qs);
}

void TestMainWindow::tabOrder() {
    QApplication::setActiveWindow(mainWindow());
    startBox()->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order,
             (QStringList{u"txtOdds"_qs, u"cmbDefeats"_qs, u"btnCalcAmount"_qs, u"btnExit"_qs,
                          u"btnAbout"_qs, u"btnUsage"_qs, u"btnTable"_qs, u"txtStartAmount"_qs}));
}

void TestMainWindow::accessibility() {
    enterInputs(u"1000"_qs, u"3.0"_qs, 2);
    QTest::mouseClick(calcButton(), Qt::LeftButton);
    const QStringList fields{u"lblInvestAmount"_qs, u"lblTotalAmount"_qs, u"lblRecovery"_qs,
                             u"lblProfit"_qs, u"lblUpRate"_qs};
    const QStringList captions{u"今回投資額"_qs, u"累計投資額"_qs, u"的中時回収額"_qs,
                               u"的中時利益"_qs, u"上昇率"_qs};
    const QStringList figures{u"2,300"_qs, u"4,800"_qs, u"6,900"_qs, u"2,100"_qs, u"1.5"_qs};
    for (int i = 0; i < fields.size(); ++i) {
        QAccessibleInterface *field =
            QAccessible::queryAccessibleInterface(child<QLabel>(mainWindow(), fields[i]));
        QVERIFY(field);
        QCOMPARE(field->text(QAccessible::Name), figures[i]);
        QCOMPARE(field->text(QAccessible::Description), captions[i]);
    }
    // Each input is labelled by its caption (the relation screen readers
    // follow); the text boxes also take it as their name.
    const QStringList inputs{u"txtStartAmount"_qs, u"txtOdds"_qs, u"cmbDefeats"_qs};
    const QStringList labels{u"Label1"_qs, u"Label2"_qs, u"Label3"_qs};
    for (int i = 0; i < inputs.size(); ++i) {
        QAccessibleInterface *input =
            QAccessible::queryAccessibleInterface(child<QWidget>(mainWindow(), inputs[i]));
        const auto relations = input->relations(QAccessible::Label);
        QCOMPARE(relations.size(), 1);
        QCOMPARE(relations[0].first->object()->objectName(), labels[i]);
        if (i < 2)
            QCOMPARE(input->text(QAccessible::Name),
                     child<QLabel>(mainWindow(), labels[i])->text());
    }
}

// A figure wider than its field is drawn with an ellipsis and shown whole in
// its tooltip; its text and accessible name stay whole.
void TestMainWindow::wideFiguresAreCutVisibly() {
    MessageRecorder boxes;
    enterInputs(u"2000000000"_qs, u"1000000"_qs, 0);
    calcButton()->click();
    auto *total = child<controls::Cell>(mainWindow(), u"lblTotalAmount"_qs);
    auto *upRate = child<controls::Cell>(mainWindow(), u"lblUpRate"_qs);
    QCOMPARE(total->text(), u"2,000,000,000"_qs);
    QVERIFY(total->isCut());
    QVERIFY(!upRate->isCut());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), total->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(total, &hover);
    QTRY_COMPARE(QToolTip::text(), u"2,000,000,000"_qs);
    const QImage cut = total->grab().toImage();
    total->setText(u"2,000"_qs);
    QVERIFY(!total->isCut());
    QVERIFY(total->grab().toImage() != cut);
}

void TestMainWindow::fileAfterFirstClose() {
    const QString file = settings::storePath(settings::applicationName());
    mainWindow()->close();
    flushDeletes();
    QFile stored(file);
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(stored.readAll()),
             u"[Condition]\nDefeats=0\nOdds=3\nStartAmount=1000\n\n"
             u"[MainWindow]\nWindowLeft=1200\nWindowTop=1200\n"_qs);
}

void TestMainWindow::restoresAcrossRestart() {
    mainWindow()->move(300, 150);
    enterInputs(u"2,500"_qs, u"4.5"_qs, 7);
    child<QPushButton>(mainWindow(), u"btnExit"_qs)->click();
    flushDeletes();
    QVERIFY(LoadedWindows::forms().isEmpty());

    startProgram();
    QCOMPARE(mainWindow()->pos(), QPoint(300, 150));
    QCOMPARE(startBox()->text(), u"2,500"_qs);
    QCOMPARE(oddsBox()->text(), u"4.5"_qs);
    QCOMPARE(defeatsList()->currentIndex(), 7);
    QCOMPARE(shown("lblRaceNum"), u"[8ﾚｰｽ目]"_qs);
}

void TestMainWindow::textThatIsNotANumberRoundTrips() {
    typeInto(startBox(), u"abc"_qs);
    mainWindow()->close();
    flushDeletes();
    QCOMPARE(settings::readSetting(settings::applicationName(), u"Condition"_qs, u"StartAmount"_qs,
                                   QString()),
             u"abc"_qs);
    startProgram();
    QCOMPARE(startBox()->text(), u"abc"_qs);
    MessageRecorder boxes;
    calcButton()->click();
    QCOMPARE(boxes.messages.size(), 1);
    QCOMPARE(boxes.messages[0].text, u"数値を入力して下さい。"_qs);
}

void TestMainWindow::storedValuesThatAreNotNumbers_data() {
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("defeats");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("index");
    QTest::newRow("all fine") << "1500"
                              << "3000"
                              << "4" << QPoint(200, 100) << 4;
    QTest::newRow("top not a number") << "abc"
                                      << "3000"
                                      << "4" << QPoint(200, 80) << 4;
    QTest::newRow("left empty") << "1500"
                                << ""
                                << "4" << QPoint(80, 100) << 4;
    QTest::newRow("defeats not a number") << "1500"
                                          << "3000"
                                          << "x" << QPoint(200, 100) << 0;
    QTest::newRow("defeats beyond the list") << "1500"
                                             << "3000"
                                             << "20" << QPoint(200, 100) << 0;
    QTest::newRow("defeats negative") << "1500"
                                      << "3000"
                                      << "-1" << QPoint(200, 100) << 0;
    QTest::newRow("defeats beyond 16 bits") << "1500"
                                            << "3000"
                                            << "1e10" << QPoint(200, 100) << 0;
    QTest::newRow("defeats rounds to even") << "1500"
                                            << "3000"
                                            << "2.5" << QPoint(200, 100) << 2;
    QTest::newRow("grouped position") << "1,500"
                                      << "3,000"
                                      << "19" << QPoint(200, 100) << 19;
}

void TestMainWindow::storedValuesThatAreNotNumbers() {
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QString, defeats);
    QFETCH(QPoint, position);
    QFETCH(int, index);
    closeAllWindows();
    const QString app = settings::applicationName();
    settings::writeSetting(app, u"MainWindow"_qs, u"WindowTop"_qs, top);
    settings::writeSetting(app, u"MainWindow"_qs, u"WindowLeft"_qs, left);
    settings::writeSetting(app, u"Condition"_qs, u"Odds"_qs, u"2.5"_qs);
    settings::writeSetting(app, u"Condition"_qs, u"Defeats"_qs, defeats);
    startProgram();
    QCOMPARE(mainWindow()->pos(), position);
    QCOMPARE(defeatsList()->currentIndex(), index);
    QCOMPARE(oddsBox()->text(), u"2.5"_qs);
    QCOMPARE(shown("lblRaceNum"), u"[%1ﾚｰｽ目]"_qs.arg(index + 1));
}

void TestMainWindow::offScreenPositionComesBack() {
    closeAllWindows();
    const QString app = settings::applicationName();
    settings::writeSetting(app, u"MainWindow"_qs, u"WindowTop"_qs, u"-90000"_qs);
    settings::writeSetting(app, u"MainWindow"_qs, u"WindowLeft"_qs, u"1E+08"_qs);
    startProgram();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(screen.contains(mainWindow()->pos()));
}

void TestMainWindow::maximisedWindowSavesNormalPosition() {
    mainWindow()->move(210, 120);
    mainWindow()->showMaximized();
    QTRY_VERIFY(mainWindow()->isMaximized());
    mainWindow()->close();
    flushDeletes();
    const QString app = settings::applicationName();
    QCOMPARE(settings::readSetting(app, u"MainWindow"_qs, u"WindowLeft"_qs, QString()), u"3150"_qs);
    QCOMPARE(settings::readSetting(app, u"MainWindow"_qs, u"WindowTop"_qs, QString()), u"1800"_qs);
}

void TestMainWindow::programEndsWhenMainWindowCloses() {
    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    child<QPushButton>(mainWindow(), u"btnExit"_qs)->click();
    QCOMPARE(ended.count(), 1);
    QVERIFY(LoadedWindows::forms().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_frmmain.moc"
