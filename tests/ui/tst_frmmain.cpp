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
template <typename W = QLabel> W *control(const char *name) {
    return child<W>(mainWindow(), QLatin1String(name));
}
QString shown(const char *name) {
    return control(name)->text();
}

const char *const resultFields[] = {"lblInvestAmount", "lblTotalAmount", "lblRecovery", "lblProfit",
                                    "lblUpRate"};
QStringList results() {
    QStringList texts;
    for (const char *field : resultFields)
        texts.append(shown(field));
    return texts;
}
const QStringList untouched{u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"1.5"_qs};

void enterInputs(const QString &start, const QString &odds, int defeats) {
    typeInto(control<QLineEdit>("txtStartAmount"), start);
    typeInto(control<QLineEdit>("txtOdds"), odds);
    control<QComboBox>("cmbDefeats")->setCurrentIndex(defeats);
}

QString stored(const QString &section, const QString &key) {
    return settings::readSetting(settings::applicationName(), section, key, QString());
}
void store(const QString &section, const QString &key, const QString &value) {
    settings::writeSetting(settings::applicationName(), section, key, value);
}

const QString overflow = u"金額が大きくなり過ぎて計算不能です。\r\n"
                         u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_qs;

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void firstRun();
    void captionsFit();
    void command_data();
    void command();
    void keyboard();
    void accessibility();
    void wideFiguresAreCutVisibly();

    void fileAfterFirstClose();
    void restoresAcrossRestart();
    void storedValuesThatAreNotNumbers_data();
    void storedValuesThatAreNotNumbers();
    void offScreenPositionComesBack();
    void maximisedWindowSavesNormalPosition();

private:
    std::optional<ProgramRun> run_;
};

void TestMainWindow::init() {
    run_.emplace();
    QVERIFY(QTest::qWaitForWindowExposed(mainWindow()));
}

void TestMainWindow::cleanup() {
    run_.reset();
}

void TestMainWindow::layout_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");
    auto row = [](const char *name, const QString &text, int l, int t, int w, int h) {
        QTest::newRow(name) << text << QRect(l, t, w, h);
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
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    QWidget *widget = control<QWidget>(QTest::currentDataTag());
    QCOMPARE(widget->geometry(),
             controls::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    const char *property = qobject_cast<QComboBox *>(widget) ? "currentText" : "text";
    QCOMPARE(widget->property(property).toString(), text);
}

void TestMainWindow::firstRun() {
    QWidget *window = mainWindow();
    QCOMPARE(window->windowTitle(), u"Morvex"_qs);
    QCOMPARE(window->size(), QSize(twipsToPixels(6765), twipsToPixels(3105)));
    QVERIFY(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->pos(), QPoint(twipsToPixels(1200), twipsToPixels(1200)));
    QCOMPARE(QApplication::focusWidget(), control<QLineEdit>("txtStartAmount"));
    QVERIFY(control<QPushButton>("btnCalcAmount")->isDefault());
    for (const char *name : resultFields) {
        QLabel *field = control(name);
        QCOMPARE(field->backgroundRole(), QPalette::ToolTipBase);
        QCOMPARE(field->frameShape(), QFrame::Box);
        QVERIFY(field->alignment() & Qt::AlignLeft);
        QCOMPARE(field->focusPolicy(), Qt::NoFocus);
    }
    auto *list = control<QComboBox>("cmbDefeats");
    QVERIFY(!list->isEditable());
    QCOMPARE(list->count(), 20);
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(list->itemText(i), QString::number(i));
        QCOMPARE(list->itemData(i).toInt(), 0);
    }
}

// No caption is cut off by its box, and the calculation button's caption
// takes exactly two lines inside the button.
void TestMainWindow::captionsFit() {
    for (const QLabel *label : mainWindow()->findChildren<QLabel *>()) {
        const QFontMetrics metrics(label->font());
        QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width() &&
                     metrics.height() <= label->height(),
                 qPrintable(label->objectName()));
    }
    auto *calc = control<QPushButton>("btnCalcAmount");
    for (const QPushButton *button : mainWindow()->findChildren<QPushButton *>())
        QVERIFY2(button == calc || QFontMetrics(button->font()).horizontalAdvance(button->text()) <
                                       button->width() - 8,
                 qPrintable(button->objectName()));
    const QFontMetrics metrics(calc->font());
    const QRect area = calc->rect().adjusted(4, 4, -4, -4);
    const QRect wrapped =
        metrics.boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, calc->text());
    QCOMPARE(1 + (wrapped.height() - metrics.height()) / metrics.lineSpacing(), 2);
    QVERIFY(area.contains(wrapped));
}

// The calculation command: the input checks (message, title, focus), the
// figures, and the error messages, with the fields an error leaves alone.
// A row without fields expects new figures of any kind.
void TestMainWindow::command_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("odds");
    QTest::addColumn<int>("defeats");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    auto row = [](const char *tag, const QString &start, const QString &odds, int defeats,
                  const QStringList &fields, const QString &title = {}, const QString &message = {},
                  const QString &focus = {}) {
        QTest::newRow(tag) << start << odds << defeats << fields << title << message << focus;
    };
    auto figures = [](const char *text) { return QString::fromUtf8(text).split(u' '); };
    const QString number = u"数値を入力して下さい。"_qs,
                  hundred = u"１００円以上を設定して下さい。"_qs;
    const QString aboveOne = u"1.0倍より大きい値を設定して下さい。"_qs;
    const QString start = u"開始金額"_qs, odds = u"倍率"_qs;
    const QString startBox = u"txtStartAmount"_qs, oddsBox = u"txtOdds"_qs;

    row("typical request", u"1000"_qs, u"3.0"_qs, 2, figures("2,300 4,800 6,900 2,100 1.5"));
    row("no defeats yet", u"1000"_qs, u"3.0"_qs, 0, figures("1,000 1,000 3,000 2,000 1.5"));
    row("five defeats", u"1000"_qs, u"3"_qs, 5, figures("7,600 20,900 22,800 1,900 1.5"));
    row("odds 2.5", u"1000"_qs, u"2.5"_qs, 1, figures("1,700 2,700 4,250 1,550 1.666667"));
    row("1000.5 reads 1000", u"1000.5"_qs, u"2"_qs, 9,
        figures("512,000 1,023,000 1,024,000 1,000 2"));
    row("1001.5 reads 1002", u"1001.5"_qs, u"2"_qs, 9,
        figures("513,000 1,025,000 1,026,000 1,000 2"));
    row("full-width digits", u"１０００"_qs, u"３"_qs, 2, figures("2,300 4,800 6,900 2,100 1.5"));
    row("100 passes", u"100"_qs, u"3"_qs, 3, {});
    row("odds 1.01 pass", u"1000"_qs, u"1.01"_qs, 0, {});
    row("no defeats item: nothing happens", u"1000"_qs, u"3"_qs, -1, untouched);
    row("empty start", u""_qs, u"3"_qs, 3, untouched, start, number, startBox);
    row("99", u"99"_qs, u"3"_qs, 3, untouched, start, hundred, startBox);
    row("1,000 reads as 1", u"1,000"_qs, u"3"_qs, 3, untouched, start, hundred, startBox);
    row("100abc", u"100abc"_qs, u"3"_qs, 3, untouched, start, number, startBox);
    row("start checked first", u"abc"_qs, u"abc"_qs, 3, untouched, start, number, startBox);
    row("odds abc", u"1000"_qs, u"abc"_qs, 3, untouched, odds, number, oddsBox);
    row("odds 1", u"1000"_qs, u"1"_qs, 3, untouched, odds, aboveOne, oddsBox);
    row("odds 1.0", u"1000"_qs, u"1.0"_qs, 3, untouched, odds, aboveOne, oddsBox);
    row("start beyond 32 bits", u"1e20"_qs, u"3"_qs, 2, untouched, u"オーバーフロー"_qs, overflow);
    row("odds 1.01, 6 defeats", u"1000"_qs, u"1.01"_qs, 6, untouched, u"オーバーフロー"_qs,
        overflow);
    row("odds 1 in single precision", u"1000"_qs, u"1.00000001"_qs, 2, untouched, u"Morvex"_qs,
        u"0 で除算しました。"_qs);
    row("odds beyond the single range", u"1000"_qs, u"1e39"_qs, 2, untouched, u"オーバーフロー"_qs,
        overflow);
    row("payout overflows after total and stake are shown", u"2000000000"_qs, u"1000000"_qs, 0,
        figures("2,000,000,000 2,000,000,000 0 0 1.5"), u"オーバーフロー"_qs, overflow);
}

void TestMainWindow::command() {
    QFETCH(QString, start);
    QFETCH(QString, odds);
    QFETCH(int, defeats);
    QFETCH(QStringList, fields);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    MessageRecorder boxes;
    enterInputs(start, odds, defeats);
    QTest::mouseClick(control<QPushButton>("btnCalcAmount"), Qt::LeftButton);
    if (fields.isEmpty())
        QVERIFY(results() != untouched);
    else
        QCOMPARE(results(), fields);
    QCOMPARE(boxes.messages.size(), message.isEmpty() ? 0 : 1);
    if (message.isEmpty())
        return;
    QCOMPARE(boxes.messages[0].title, title);
    QCOMPARE(boxes.messages[0].text, message);
    QCOMPARE(boxes.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(boxes.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    if (!focus.isEmpty())
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
}

// Enter in each input calculates; the race label follows the list; Tab
// walks the inputs, the calculation button, then the top buttons.
void TestMainWindow::keyboard() {
    enterInputs(u"1000"_qs, u"3.0"_qs, 2);
    auto *list = control<QComboBox>("cmbDefeats");
    for (const char *input : {"txtStartAmount", "txtOdds", "cmbDefeats"}) {
        control<QLabel>("lblInvestAmount")->setText(u"0"_qs);
        QWidget *widget = control<QWidget>(input);
        widget->setFocus();
        QTest::keyClick(widget, input[0] == 'c' ? Qt::Key_Enter : Qt::Key_Return);
        QCOMPARE(shown("lblInvestAmount"), u"2,300"_qs);
    }
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(shown("lblRaceNum"), u"[20ﾚｰｽ目]"_qs);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(shown("lblRaceNum"), u"[1ﾚｰｽ目]"_qs);

    QApplication::setActiveWindow(mainWindow());
    control<QLineEdit>("txtStartAmount")->setFocus();
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(order.join(u' '), u"txtOdds cmbDefeats btnCalcAmount btnExit btnAbout btnUsage "
                               u"btnTable txtStartAmount"_qs);
}

// Each figure is named by what it shows and described by its caption; each
// input is labelled by its caption (and the text boxes named by it).
void TestMainWindow::accessibility() {
    enterInputs(u"1000"_qs, u"3.0"_qs, 2);
    control<QPushButton>("btnCalcAmount")->click();
    const QStringList captions{u"今回投資額"_qs, u"累計投資額"_qs, u"的中時回収額"_qs,
                               u"的中時利益"_qs, u"上昇率"_qs};
    const QStringList figures{u"2,300"_qs, u"4,800"_qs, u"6,900"_qs, u"2,100"_qs, u"1.5"_qs};
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface *field =
            QAccessible::queryAccessibleInterface(control(resultFields[i]));
        QCOMPARE(field->text(QAccessible::Name), figures[i]);
        QCOMPARE(field->text(QAccessible::Description), captions[i]);
    }
    const std::pair<const char *, const char *> inputs[] = {
        {"txtStartAmount", "Label1"}, {"txtOdds", "Label2"}, {"cmbDefeats", "Label3"}};
    for (const auto &[input, label] : inputs) {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(control<QWidget>(input));
        const auto relations = box->relations(QAccessible::Label);
        QCOMPARE(relations.size(), 1);
        QCOMPARE(relations[0].first->object(), control(label));
        if (!qobject_cast<QComboBox *>(control<QWidget>(input)))
            QCOMPARE(box->text(QAccessible::Name), shown(label));
    }
}

// A figure wider than its field is drawn with an ellipsis and shown whole in
// its tooltip; its text and accessible name stay whole.
void TestMainWindow::wideFiguresAreCutVisibly() {
    MessageRecorder boxes;
    enterInputs(u"2000000000"_qs, u"1000000"_qs, 0);
    control<QPushButton>("btnCalcAmount")->click();
    auto *total = control<controls::Cell>("lblTotalAmount");
    QCOMPARE(total->text(), u"2,000,000,000"_qs);
    QVERIFY(total->isCut());
    QVERIFY(!control<controls::Cell>("lblUpRate")->isCut());
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), total->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(total, &hover);
    QTRY_COMPARE(QToolTip::text(), u"2,000,000,000"_qs);
    const QImage cut = total->grab().toImage();
    total->setText(u"2,000"_qs);
    QVERIFY(!total->isCut() && total->grab().toImage() != cut);
}

void TestMainWindow::fileAfterFirstClose() {
    QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
    control<QPushButton>("btnExit")->click();
    QCOMPARE(ended.count(), 1); // the program ends with its last window
    QFile file(settings::storePath(settings::applicationName()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             u"[Condition]\nDefeats=0\nOdds=3\nStartAmount=1000\n\n"
             u"[MainWindow]\nWindowLeft=1200\nWindowTop=1200\n"_qs);
}

// Start, change, close, start again: everything comes back, also a start
// amount that is no number, which the next calculation then reports.
void TestMainWindow::restoresAcrossRestart() {
    mainWindow()->move(300, 150);
    enterInputs(u"abc"_qs, u"4.5"_qs, 7);
    mainWindow()->close();
    flushDeletes();
    QCOMPARE(stored(u"Condition"_qs, u"StartAmount"_qs), u"abc"_qs);
    startProgram();
    QCOMPARE(mainWindow()->pos(), QPoint(300, 150));
    QCOMPARE(control<QLineEdit>("txtStartAmount")->text(), u"abc"_qs);
    QCOMPARE(control<QLineEdit>("txtOdds")->text(), u"4.5"_qs);
    QCOMPARE(control<QComboBox>("cmbDefeats")->currentIndex(), 7);
    QCOMPARE(shown("lblRaceNum"), u"[8ﾚｰｽ目]"_qs);
    MessageRecorder boxes;
    control<QPushButton>("btnCalcAmount")->click();
    QCOMPARE(boxes.messages.size(), 1);
    QCOMPARE(boxes.messages[0].text, u"数値を入力して下さい。"_qs);
}

void TestMainWindow::storedValuesThatAreNotNumbers_data() {
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("defeats");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<int>("index");
    auto row = [](const char *tag, const char *top, const char *left, const char *defeats,
                  QPoint position, int index) {
        QTest::newRow(tag) << QString::fromUtf8(top) << QString::fromUtf8(left)
                           << QString::fromUtf8(defeats) << position << index;
    };
    row("all fine", "1500", "3000", "4", QPoint(200, 100), 4);
    row("top not a number", "abc", "3000", "4", QPoint(200, 80), 4);
    row("left empty", "1500", "", "4", QPoint(80, 100), 4);
    row("defeats not a number", "1500", "3000", "x", QPoint(200, 100), 0);
    row("defeats beyond the list", "1500", "3000", "20", QPoint(200, 100), 0);
    row("defeats negative", "1500", "3000", "-1", QPoint(200, 100), 0);
    row("defeats beyond 16 bits", "1500", "3000", "1e10", QPoint(200, 100), 0);
    row("defeats rounds to even", "1500", "3000", "2.5", QPoint(200, 100), 2);
    row("grouped position", "1,500", "3,000", "19", QPoint(200, 100), 19);
}

// A value that is no usable number falls back to its default; the others
// still restore.
void TestMainWindow::storedValuesThatAreNotNumbers() {
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QString, defeats);
    QFETCH(QPoint, position);
    QFETCH(int, index);
    closeAllWindows();
    store(u"MainWindow"_qs, u"WindowTop"_qs, top);
    store(u"MainWindow"_qs, u"WindowLeft"_qs, left);
    store(u"Condition"_qs, u"Odds"_qs, u"2.5"_qs);
    store(u"Condition"_qs, u"Defeats"_qs, defeats);
    startProgram();
    QCOMPARE(mainWindow()->pos(), position);
    QCOMPARE(control<QComboBox>("cmbDefeats")->currentIndex(), index);
    QCOMPARE(control<QLineEdit>("txtOdds")->text(), u"2.5"_qs);
    QCOMPARE(shown("lblRaceNum"), u"[%1ﾚｰｽ目]"_qs.arg(index + 1));
}

void TestMainWindow::offScreenPositionComesBack() {
    closeAllWindows();
    store(u"MainWindow"_qs, u"WindowTop"_qs, u"-90000"_qs);
    store(u"MainWindow"_qs, u"WindowLeft"_qs, u"1E+08"_qs);
    startProgram();
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(mainWindow()->pos()));
}

void TestMainWindow::maximisedWindowSavesNormalPosition() {
    mainWindow()->move(210, 120);
    mainWindow()->showMaximized();
    QTRY_VERIFY(mainWindow()->isMaximized());
    mainWindow()->close();
    flushDeletes();
    QCOMPARE(stored(u"MainWindow"_qs, u"WindowLeft"_qs), u"3150"_qs);
    QCOMPARE(stored(u"MainWindow"_qs, u"WindowTop"_qs), u"1800"_qs);
}

QTEST_MAIN(TestMainWindow)
#include "tst_frmmain.moc"
