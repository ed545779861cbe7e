// The main window as a user meets it: the input checks, the calculation, the
// keyboard, results that go stale, the copy of the results, what assistive
// technology hears, and what the window remembers.
#include "TestSupport.h"
#include "settings/Keys.h"
#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QProxyStyle>
#include <QStyleFactory>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_qs;
const QStringList Fields{u"lblInvestAmount"_qs, u"lblTotalAmount"_qs, u"lblRecovery"_qs,
                         u"lblProfit"_qs, u"lblUpRate"_qs};
const QStringList Untouched{u"0"_qs, u"0"_qs, u"0"_qs, u"0"_qs, u"1.5"_qs};
const QString Overflow = u"オーバーフロー / 金額が大きくなり過ぎて計算不能です。\r\n"
                         u"開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。"_qs;

QStringList results() {
    QStringList texts;
    for (const QString &field : Fields)
        texts.append(text(Main, field));
    return texts;
}

bool stale() {
    bool all = true, any = false;
    for (const QString &field : Fields) {
        const bool s = control<controls::Cell>(Main, field)->isStale();
        all = all && s;
        any = any || s;
    }
    if (all != any)
        qFatal("only some result fields are stale");
    return all;
}

// Opens a closed drop-down list on Enter, as some platform themes have it.
class EnterOpensList : public QProxyStyle {
public:
    EnterOpensList() : QProxyStyle(QStyleFactory::create(u"Fusion"_qs)) {}
    void polish(QWidget *widget) override {
        QProxyStyle::polish(widget);
        if (qobject_cast<QComboBox *>(widget))
            widget->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (event->type() != QEvent::KeyPress ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
            return false;
        static_cast<QComboBox *>(watched)->showPopup();
        return true;
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        run_.emplace();
        QVERIFY(QTest::qWaitForWindowExposed(window(Main)));
    }
    void cleanup() { run_.reset(); }

    // The calculation command: the input checks (message, title, focus), the
    // figures, and the error messages, with the fields an error leaves alone.
    // A row without figures expects new figures of any kind.
    void command_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("odds");
        QTest::addColumn<int>("defeats");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QString locale = u"ja_JP"_qs;
        auto row = [&](const char *tag, const QString &start, const QString &odds, int defeats,
                       const char *figures, const QString &message = {}, const char *focus = "") {
            QTest::newRow(tag) << locale << start << odds << defeats
                               << (*figures ? QString::fromUtf8(figures).split(u' ') : Untouched)
                               << message << QString::fromLatin1(focus);
        };
        const QString number = u"数値を入力して下さい。"_qs;
        const QString startNumber = u"開始金額 / "_qs + number, oddsNumber = u"倍率 / "_qs + number;
        const QString hundred = u"開始金額 / １００円以上を設定して下さい。"_qs;
        const QString aboveOne = u"倍率 / 1.0倍より大きい値を設定して下さい。"_qs;
        const char *start = "txtStartAmount", *odds = "txtOdds";
        const char *typical = "2,300 4,800 6,900 2,100 1.5";

        row("typical request", u"1000"_qs, u"3.0"_qs, 2, typical);
        row("no defeats yet", u"1000"_qs, u"3.0"_qs, 0, "1,000 1,000 3,000 2,000 1.5");
        row("five defeats", u"1000"_qs, u"3"_qs, 5, "7,600 20,900 22,800 1,900 1.5");
        row("odds 2.5", u"1000"_qs, u"2.5"_qs, 1, "1,700 2,700 4,250 1,550 1.666667");
        row("1000.5 reads 1000", u"1000.5"_qs, u"2"_qs, 9, "512,000 1,023,000 1,024,000 1,000 2");
        row("1001.5 reads 1002", u"1001.5"_qs, u"2"_qs, 9, "513,000 1,025,000 1,026,000 1,000 2");
        row("full-width digits", u"１０００"_qs, u"３"_qs, 2, typical);
        row("grouped start", u"150,000"_qs, u"3"_qs, 0, "150,000 150,000 450,000 300,000 1.5");
        row("1,000 is a thousand", u"1,000"_qs, u"3"_qs, 2, typical);
        row("grouped with a fraction", u"1,000.5"_qs, u"3"_qs, 2, typical);
        row("full-width grouped", u"１５０，０００"_qs, u"3"_qs, 0,
            "150,000 150,000 450,000 300,000 1.5");
        row("no defeats item: nothing happens", u"1000"_qs, u"3"_qs, -1, "");
        row("empty start", u""_qs, u"3"_qs, 3, "", startNumber, start);
        row("99", u"99"_qs, u"3"_qs, 3, "", hundred, start);
        row("100 passes", u"100"_qs, u"3"_qs, 3, "300 800 900 100 1.5");
        row("-1e400 reads as less than 100", u"-1e400"_qs, u"3"_qs, 3, "", hundred, start);
        row("100abc", u"100abc"_qs, u"3"_qs, 3, "", startNumber, start);
        row("start checked first", u"abc"_qs, u"abc"_qs, 3, "", startNumber, start);
        for (const char *loose : {"1,00", ",100", "1,0000", "100,"})
            row(loose, QString::fromLatin1(loose), u"3"_qs, 3, "", startNumber, start);
        row("odds 2,5 groups nothing", u"1000"_qs, u"2,5"_qs, 2, "", oddsNumber, odds);
        row("odds abc", u"1000"_qs, u"abc"_qs, 3, "", oddsNumber, odds);
        row("odds 1", u"1000"_qs, u"1"_qs, 3, "", aboveOne, odds);
        row("odds 1.0", u"1000"_qs, u"1.0"_qs, 3, "", aboveOne, odds);
        row("odds 1.01 pass", u"1000"_qs, u"1.01"_qs, 0, "1,000 1,000 1,010 10 101.0001");
        row("start beyond 32 bits", u"1e20"_qs, u"3"_qs, 2, "", Overflow);
        row("odds 1.01, 6 defeats", u"1000"_qs, u"1.01"_qs, 6, "", Overflow);
        row("odds 1 in single precision", u"1000"_qs, u"1.00000001"_qs, 2, "",
            u"Morvex / 0 で除算しました。"_qs);
        row("odds beyond the single range", u"1000"_qs, u"1e39"_qs, 2, "", Overflow);
        row("payout overflows after total and stake are shown", u"2000000000"_qs, u"1000000"_qs, 0,
            "2,000,000,000 2,000,000,000 0 0 1.5", Overflow);
        locale = u"C"_qs;
        row("C: grouped", u"1,000"_qs, u"3"_qs, 2, typical);
        row("C: full-width grouped", u"１５０，０００"_qs, u"3"_qs, 0,
            "150,000 150,000 450,000 300,000 1.5");
        row("C: 2,5", u"1000"_qs, u"2,5"_qs, 2, "", oddsNumber, odds);
        locale = u"de_DE"_qs;
        row("de: decimal comma", u"1000"_qs, u"2,5"_qs, 2, "2.800 5.500 7.000 1.500 1,666667");
        row("de: grouped", u"1.000"_qs, u"3"_qs, 2, "2.300 4.800 6.900 2.100 1,5");
        row("de: 2.5 groups nothing", u"1000"_qs, u"2.5"_qs, 2, "", oddsNumber, odds);
    }

    void command() {
        QFETCH(QString, locale);
        QFETCH(QString, start);
        QFETCH(QString, odds);
        QFETCH(int, defeats);
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QLocale::setDefault(QLocale(locale));
        MessageRecorder boxes;
        enterInputs(start, odds, defeats);
        press(Main, u"btnCalcAmount"_qs);
        QCOMPARE(results(), fields);
        QCOMPARE(boxes.take(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        // Figures stand for their inputs only after a calculation that
        // succeeded.
        QCOMPARE(stale(), !message.isEmpty() || defeats < 0);
    }

    // Enter calculates from every input, the drop-down list too, whatever
    // the style: with the list closed Enter never opens it (Alt+Down does).
    void enterCalculates_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("openingStyle");
        for (bool opening : {false, true}) {
            const char *style = opening ? "list style opening on Enter" : "Fusion";
            QTest::addRow("start, Return, %s", style)
                << u"txtStartAmount"_qs << int(Qt::Key_Return) << opening;
            QTest::addRow("odds, Enter, %s", style)
                << u"txtOdds"_qs << int(Qt::Key_Enter) << opening;
            QTest::addRow("list, Return, %s", style)
                << u"cmbDefeats"_qs << int(Qt::Key_Return) << opening;
            QTest::addRow("list, keypad Enter, %s", style)
                << u"cmbDefeats"_qs << int(Qt::Key_Enter) << opening;
        }
    }

    void enterCalculates() {
        QFETCH(QString, input);
        QFETCH(int, key);
        QFETCH(bool, openingStyle);
        auto *list = control<QComboBox>(Main, u"cmbDefeats"_qs);
        static QStyle *const fusion = QStyleFactory::create(u"Fusion"_qs);
        static QStyle *const opening = new EnterOpensList;
        list->setStyle(openingStyle ? opening : fusion);
        enterInputs(u"1000"_qs, u"3.0"_qs, 2);
        QWidget *widget = control(Main, input);
        QApplication::setActiveWindow(window(Main));
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(results()[0], u"2,300"_qs);
        QVERIFY(!list->view()->isVisible());
        QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(list->view()->isVisible());
        list->hidePopup();
    }

    // The race label follows the list; Tab walks the inputs, the
    // calculation button, then the top buttons.
    void raceLabelAndTabOrder() {
        auto *list = control<QComboBox>(Main, u"cmbDefeats"_qs);
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(text(Main, u"lblRaceNum"_qs), u"[20ﾚｰｽ目]"_qs);
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(text(Main, u"lblRaceNum"_qs), u"[1ﾚｰｽ目]"_qs);
        QApplication::setActiveWindow(window(Main));
        control(Main, u"txtStartAmount"_qs)->setFocus();
        QStringList order;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order.join(u' '), u"txtOdds cmbDefeats btnCalcAmount btnExit btnAbout btnUsage "
                                   u"btnTable txtStartAmount"_qs);
    }

    // A change to any input marks the figures stale, in light and dark
    // palettes alike: drawn in a colour of their own that still stands out
    // from the field. Texts, names and descriptions stay as they are.
    void staleResults_data() {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QStyleFactory::create(u"Fusion"_qs)->standardPalette();
        QPalette dark(QColor(40, 40, 40));
        dark.setColor(QPalette::ToolTipBase, QColor(30, 30, 30));
        dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
        QTest::newRow("dark") << dark;
    }

    void staleResults() {
        QFETCH(QPalette, palette);
        window(Main)->setPalette(palette);
        auto *field = control<controls::Cell>(Main, u"lblTotalAmount"_qs);
        QAccessibleInterface *name = QAccessible::queryAccessibleInterface(field);
        const QStringList typical{u"2,300"_qs, u"4,800"_qs, u"6,900"_qs, u"2,100"_qs, u"1.5"_qs};
        QImage fresh;
        for (const char *input : {"txtStartAmount", "txtOdds", "cmbDefeats"}) {
            enterInputs(u"1000"_qs, u"3.0"_qs, 2);
            press(Main, u"btnCalcAmount"_qs);
            QVERIFY(!stale());
            fresh = field->grab().toImage();
            if (input[0] == 'c')
                control<QComboBox>(Main, u"cmbDefeats"_qs)->setCurrentIndex(3);
            else
                control<QLineEdit>(Main, QLatin1String(input))->insert(u"0"_qs);
            QVERIFY2(stale(), input);
            QCOMPARE(results(), typical);
        }
        QCOMPARE(name->text(QAccessible::Name), u"4,800"_qs);
        QCOMPARE(name->text(QAccessible::Description), u"累計投資額"_qs);
        const QImage shown = field->grab().toImage();
        QVERIFY(shown != fresh);
        const QColor background = palette.color(QPalette::ToolTipBase);
        int legible = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                legible +=
                    std::abs(shown.pixelColor(x, y).lightness() - background.lightness()) > 60;
        QVERIFY2(legible > 20, qPrintable(QString::number(legible)));
    }

    // Ctrl+C, from the list or from a text box without a selection, and the
    // result fields' context menu copy inputs and results as shown; a
    // selection in a text box is copied as usual.
    void copyResults() {
        enterInputs(u"1000"_qs, u"3.0"_qs, 2);
        press(Main, u"btnCalcAmount"_qs);
        const QString expected = u"開始金額\t1000\n倍率(ｵｯｽﾞ)\t3.0\n連敗数\t2\n今回投資額\t2,300\n"
                                 u"累計投資額\t4,800\n的中時回収額\t6,900\n的中時利益\t2,100\n"
                                 u"上昇率\t1.5\n"_qs;
        QClipboard *clipboard = QApplication::clipboard();
        QApplication::setActiveWindow(window(Main));
        for (const char *from : {"cmbDefeats", "txtOdds"}) {
            clipboard->clear();
            QWidget *widget = control(Main, QLatin1String(from));
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(clipboard->text(), expected);
        }
        auto *odds = control<QLineEdit>(Main, u"txtOdds"_qs);
        odds->selectAll();
        QTest::keyClick(odds, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), u"3.0"_qs);
        for (const QString &field : Fields) {
            QWidget *cell = control(Main, field);
            QCOMPARE(cell->contextMenuPolicy(), Qt::ActionsContextMenu);
            QCOMPARE(cell->actions().size(), 1);
            QCOMPARE(cell->actions()[0]->text(), u"結果をコピー"_qs);
        }
        clipboard->clear();
        control(Main, u"lblProfit"_qs)->actions()[0]->trigger();
        QCOMPARE(clipboard->text(), expected);
    }

    // Each figure is named by what it shows and described by its caption;
    // each input is labelled by its caption; the main window is a frame and
    // the others are dialogs.
    void accessibility() {
        enterInputs(u"1000"_qs, u"3.0"_qs, 2);
        press(Main, u"btnCalcAmount"_qs);
        const QStringList captions{u"今回投資額"_qs, u"累計投資額"_qs, u"的中時回収額"_qs,
                                   u"的中時利益"_qs, u"上昇率"_qs};
        for (int i = 0; i < Fields.size(); ++i) {
            QAccessibleInterface *field =
                QAccessible::queryAccessibleInterface(control(Main, Fields[i]));
            QCOMPARE(field->text(QAccessible::Name), results()[i]);
            QCOMPARE(field->text(QAccessible::Description), captions[i]);
        }
        auto labelOf = [](QWidget *input) {
            const auto relations =
                QAccessible::queryAccessibleInterface(input)->relations(QAccessible::Label);
            return relations.size() == 1 ? relations[0].first->object() : nullptr;
        };
        for (const auto &[input, label] : {std::pair{"txtStartAmount", "Label1"},
                                           {"txtOdds", "Label2"},
                                           {"cmbDefeats", "Label3"}})
            QCOMPARE(labelOf(control(Main, QLatin1String(input))),
                     control(Main, QLatin1String(label)));
        QCOMPARE(QAccessible::queryAccessibleInterface(control(Main, u"txtOdds"_qs))
                     ->text(QAccessible::Name),
                 u"倍率(ｵｯｽﾞ)"_qs);
        QCOMPARE(QAccessible::queryAccessibleInterface(window(Main))->role(), QAccessible::Window);
        press(Main, u"btnUsage"_qs);
        press(Main, u"btnTable"_qs);
        for (const QString &other : {u"frmUsage"_qs, u"frmInvestTable"_qs})
            QCOMPARE(QAccessible::queryAccessibleInterface(window(other))->role(),
                     QAccessible::Dialog);
        withVersionWindow([&](QWidget *about) {
            QCOMPARE(QAccessible::queryAccessibleInterface(about)->role(), QAccessible::Dialog);
            QAccessibleInterface *box =
                QAccessible::queryAccessibleInterface(control(u"frmAbout"_qs, u"Text1"_qs));
            QCOMPARE(box->text(QAccessible::Name), u"E-Mail"_qs);
        });
    }

    // A first close writes the position, then the inputs; a new start
    // restores everything, also a start amount that is no number, which the
    // next calculation reports.
    void restoresAcrossRestart() {
        window(Main)->close();
        flushDeletes();
        QFile file(settings::location());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "[MainWindow]\nWindowTop=1200\nWindowLeft=1200\n\n"
                                 "[Condition]\nStartAmount=1000\nOdds=3\nDefeats=0\n");
        startProgram();
        window(Main)->move(300, 150);
        enterInputs(u"abc"_qs, u"4.5"_qs, 7);
        window(Main)->close();
        flushDeletes();
        startProgram();
        QCOMPARE(window(Main)->pos(), QPoint(300, 150));
        QCOMPARE(text(Main, u"txtStartAmount"_qs), u"abc"_qs);
        QCOMPARE(text(Main, u"txtOdds"_qs), u"4.5"_qs);
        QCOMPARE(text(Main, u"cmbDefeats"_qs), u"7"_qs);
        QCOMPARE(text(Main, u"lblRaceNum"_qs), u"[8ﾚｰｽ目]"_qs);
        MessageRecorder boxes;
        press(Main, u"btnCalcAmount"_qs);
        QCOMPARE(boxes.take(), QStringList{u"開始金額 / 数値を入力して下さい。"_qs});
    }

    // A stored value that is no usable number falls back to its default; the
    // others still restore. A title bar off every screen comes back.
    void storedValues_data() {
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
        row("all fine", "1500", "3000", "4", {200, 100}, 4);
        row("top not a number", "abc", "3000", "4", {200, 80}, 4);
        row("left empty", "1500", "", "4", {80, 100}, 4);
        row("left infinite", "1500", "1e999", "4", {80, 100}, 4);
        row("defeats not a number", "1500", "3000", "x", {200, 100}, 0);
        row("defeats beyond the list", "1500", "3000", "20", {200, 100}, 0);
        row("defeats negative", "1500", "3000", "-1", {200, 100}, 0);
        row("defeats beyond 16 bits", "1500", "3000", "1e10", {200, 100}, 0);
        row("defeats rounds to even", "1500", "3000", "2.5", {200, 100}, 2);
        row("grouped position", "1,500", "3,000", "19", {200, 100}, 19);
        row("off every screen", "-90000", "1E+08", "1", {-1, -1}, 1);
    }

    void storedValues() {
        QFETCH(QString, top);
        QFETCH(QString, left);
        QFETCH(QString, defeats);
        QFETCH(QPoint, position);
        QFETCH(int, index);
        closeAll();
        {
            settings::Transaction save;
            save.setValue(settings::MainWindow, settings::WindowTop, top);
            save.setValue(settings::MainWindow, settings::WindowLeft, left);
            save.setValue(settings::Condition, settings::Defeats, defeats);
        }
        startProgram();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(window(Main)->pos(),
                 position.x() < 0 ? screen.topLeft() + QPoint(80, 80) : position);
        QCOMPARE(control<QComboBox>(Main, u"cmbDefeats"_qs)->currentIndex(), index);
        QCOMPARE(text(Main, u"lblRaceNum"_qs), u"[%1ﾚｰｽ目]"_qs.arg(index + 1));
    }

    void maximisedWindowSavesNormalPosition() {
        window(Main)->move(210, 120);
        window(Main)->showMaximized();
        QTRY_VERIFY(window(Main)->isMaximized());
        window(Main)->close();
        flushDeletes();
        QCOMPARE(stored(settings::MainWindow, settings::WindowLeft), u"3150"_qs);
        QCOMPARE(stored(settings::MainWindow, settings::WindowTop), u"1800"_qs);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_frmmain.moc"
