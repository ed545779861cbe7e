// The main window as a user meets it: the input checks and where they put
// the focus, readings in other locales, the keyboard, results that go stale,
// the copy of the results, what assistive technology hears, and what the
// window remembers. (Every figure and message for many more inputs is the
// window fuzz target's, replayed by the tests.)
#include "TestSupport.h"
#include "settings/Keys.h"
#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QProxyStyle>
#include <QStyleFactory>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_qs;
const QStringList Fields{u"lblInvestAmount"_qs, u"lblTotalAmount"_qs, u"lblRecovery"_qs,
                         u"lblProfit"_qs, u"lblUpRate"_qs};
const QString Typical = u"2,300 4,800 6,900 2,100 1.5"_qs;

QString results() {
    QStringList texts;
    for (const QString &field : Fields)
        texts.append(text(Main, field));
    return texts.join(u' ');
}

// Whether the five fields are drawn stale; they never differ.
bool stale() {
    int count = 0;
    for (const QString &field : Fields)
        count += control<controls::Cell>(Main, field)->isStale();
    if (count % 5 != 0)
        qFatal("only some result fields are stale");
    return count == 5;
}

QAccessibleInterface *accessible(QObject *object) {
    return QAccessible::queryAccessibleInterface(object);
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
        const int key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event)->key() : 0;
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            static_cast<QComboBox *>(watched)->showPopup();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
};

struct Command {
    const char *tag, *locale, *start, *odds;
    int defeats;
    const char *figures, *message, *focus;
};
struct Stored {
    const char *tag, *top, *left, *defeats;
    QPoint position; // (-1, -1): the screen's corner
    int index;
};

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Stored)

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

    // The calculation command: figures or the message (title / text) and
    // the box the focus goes to; a row without figures expects the design
    // texts untouched.
    void command_data() {
        const char *none = "0 0 0 0 1.5", *typical = "2,300 4,800 6,900 2,100 1.5";
        const char *startNumber = "開始金額 / 数値を入力して下さい。";
        const char *oddsNumber = "倍率 / 数値を入力して下さい。";
        addRows<Command>({
            {"typical request", "ja_JP", "1000", "3.0", 2, typical, "", ""},
            {"grouped start", "ja_JP", "150,000", "3", 0, "150,000 150,000 450,000 300,000 1.5", "",
             ""},
            {"no defeats item", "ja_JP", "1000", "3", -1, none, "", ""},
            {"empty start", "ja_JP", "", "3", 3, none, startNumber, "txtStartAmount"},
            {"99", "ja_JP", "99", "3", 3, none, "開始金額 / １００円以上を設定して下さい。",
             "txtStartAmount"},
            {"loose separator", "ja_JP", "1,00", "abc", 3, none, startNumber, "txtStartAmount"},
            {"odds 2,5", "ja_JP", "1000", "2,5", 2, none, oddsNumber, "txtOdds"},
            {"odds 1", "ja_JP", "1000", "1", 3, none, "倍率 / 1.0倍より大きい値を設定して下さい。",
             "txtOdds"},
            {"odds 1 as a single", "ja_JP", "1000", "1.00000001", 2, none,
             "Morvex / 0 で除算しました。", ""},
            {"payout overflows after total and stake", "ja_JP", "2000000000", "1000000", 0,
             "2,000,000,000 2,000,000,000 0 0 1.5",
             "オーバーフロー / 金額が大きくなり過ぎて計算不能です。\r\n"
             "開始金額を下げるか倍率を上げるか連敗数を下げるかしてくだされ。",
             ""},
            {"C: full-width grouped", "C", "１，０００", "3.0", 2, typical, "", ""},
            {"C: 2,5", "C", "1000", "2,5", 2, none, oddsNumber, "txtOdds"},
            {"de: decimal comma", "de_DE", "1000", "2,5", 2, "2.800 5.500 7.000 1.500 1,666667", "",
             ""},
            {"de: grouped", "de_DE", "1.000", "3", 2, "2.300 4.800 6.900 2.100 1,5", "", ""},
            {"de: 2.5", "de_DE", "1000", "2.5", 2, none, oddsNumber, "txtOdds"},
        });
    }

    void command() {
        QFETCH(Command, row);
        QLocale::setDefault(QLocale(QLatin1String(row.locale)));
        MessageRecorder boxes;
        enterInputs(QString::fromUtf8(row.start), QString::fromUtf8(row.odds), row.defeats);
        press(Main, u"btnCalcAmount"_qs);
        QCOMPARE(results(), QString::fromUtf8(row.figures));
        QCOMPARE(boxes.take().join(u'|'), QString::fromUtf8(row.message));
        if (*row.focus)
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(row.focus));
        // Figures stand for the inputs only after a calculation that succeeded.
        QCOMPARE(stale(), *row.message || row.defeats < 0);
    }

    // Enter calculates from a box and from the closed list, whatever the
    // style, and never opens the list (Alt+Down does).
    void enterCalculates_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("openingStyle");
        for (bool opening : {false, true})
            for (const auto &[input, key] : {std::pair{"txtStartAmount", Qt::Key_Return},
                                             {"cmbDefeats", Qt::Key_Return},
                                             {"cmbDefeats", Qt::Key_Enter}})
                QTest::addRow("%s %d %s", input, key, opening ? "list opening on Enter" : "Fusion")
                    << QString::fromLatin1(input) << int(key) << opening;
    }

    void enterCalculates() {
        QFETCH(QString, input);
        QFETCH(int, key);
        QFETCH(bool, openingStyle);
        static QStyle *const fusion = QStyleFactory::create(u"Fusion"_qs);
        static QStyle *const opening = new EnterOpensList;
        auto *list = control<QComboBox>(Main, u"cmbDefeats"_qs);
        list->setStyle(openingStyle ? opening : fusion);
        enterInputs(u"1000"_qs, u"3.0"_qs, 2);
        QApplication::setActiveWindow(window(Main));
        control(Main, input)->setFocus();
        QTest::keyClick(control(Main, input), Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        QCOMPARE(results(), Typical);
        QVERIFY(!list->view()->isVisible());
        QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(list->view()->isVisible());
        list->hidePopup();
    }

    // The race label follows the list; Tab walks the inputs, the
    // calculation button, then the top buttons.
    void raceLabelAndTabOrder() {
        QTest::keyClick(control(Main, u"cmbDefeats"_qs), Qt::Key_End);
        QCOMPARE(text(Main, u"lblRaceNum"_qs), u"[20ﾚｰｽ目]"_qs);
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
    // palettes alike: drawn differently, still legible on the field. Texts,
    // names and descriptions stay as they are.
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
            QCOMPARE(results(), Typical);
        }
        QCOMPARE(accessible(field)->text(QAccessible::Name), u"4,800"_qs);
        QCOMPARE(accessible(field)->text(QAccessible::Description), u"累計投資額"_qs);
        const QImage shown = field->grab().toImage();
        QVERIFY(shown != fresh);
        int legible = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                legible += std::abs(shown.pixelColor(x, y).lightness() -
                                    palette.color(QPalette::ToolTipBase).lightness()) > 60;
        QVERIFY2(legible > 20, qPrintable(QString::number(legible)));
    }

    // Ctrl+C from the list or from a box without a selection, and the result
    // fields' context menu, copy inputs and results as shown; a selection in
    // a box is copied as usual.
    void copyResults() {
        enterInputs(u"1000"_qs, u"3.0"_qs, 2);
        press(Main, u"btnCalcAmount"_qs);
        const QString expected = u"開始金額\t1000\n倍率(ｵｯｽﾞ)\t3.0\n連敗数\t2\n今回投資額\t2,300\n"
                                 u"累計投資額\t4,800\n的中時回収額\t6,900\n的中時利益\t2,100\n"
                                 u"上昇率\t1.5\n"_qs;
        QClipboard *clipboard = QApplication::clipboard();
        QApplication::setActiveWindow(window(Main));
        for (const QString &from : {u"cmbDefeats"_qs, u"txtOdds"_qs}) {
            clipboard->clear();
            control(Main, from)->setFocus();
            QTest::keyClick(control(Main, from), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(clipboard->text(), expected);
        }
        control<QLineEdit>(Main, u"txtOdds"_qs)->selectAll();
        QTest::keyClick(control(Main, u"txtOdds"_qs), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), u"3.0"_qs);
        for (const QString &field : Fields) {
            QCOMPARE(control(Main, field)->contextMenuPolicy(), Qt::ActionsContextMenu);
            QCOMPARE(control(Main, field)->actions().value(0)->text(), u"結果をコピー"_qs);
        }
        control(Main, u"lblProfit"_qs)->actions()[0]->trigger();
        QCOMPARE(clipboard->text(), expected);
    }

    // Each figure is named by what it shows and described by its caption;
    // each input and the version window's address are labelled by their
    // captions; the main window is a frame, the others dialogs; the program
    // names its desktop entry.
    void accessibility() {
        enterInputs(u"1000"_qs, u"3.0"_qs, 2);
        press(Main, u"btnCalcAmount"_qs);
        const QStringList captions{u"今回投資額"_qs, u"累計投資額"_qs, u"的中時回収額"_qs,
                                   u"的中時利益"_qs, u"上昇率"_qs};
        for (int i = 0; i < Fields.size(); ++i) {
            QCOMPARE(accessible(control(Main, Fields[i]))->text(QAccessible::Name),
                     Typical.section(u' ', i, i));
            QCOMPARE(accessible(control(Main, Fields[i]))->text(QAccessible::Description),
                     captions[i]);
        }
        for (const auto &[input, caption] : {std::pair{"txtStartAmount", "開始金額"},
                                             {"txtOdds", "倍率(ｵｯｽﾞ)"},
                                             {"cmbDefeats", "連敗数"}}) {
            const auto labels =
                accessible(control(Main, QLatin1String(input)))->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels[0].first->text(QAccessible::Name), QString::fromUtf8(caption));
        }
        QCOMPARE(accessible(window(Main))->role(), QAccessible::Window);
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_qs,
                 QFileInfo(QStringLiteral(MORVEX_DESKTOP_FILE)).fileName());
        press(Main, u"btnUsage"_qs);
        press(Main, u"btnTable"_qs);
        for (const QString &other : {u"frmUsage"_qs, u"frmInvestTable"_qs})
            QCOMPARE(accessible(window(other))->role(), QAccessible::Dialog);
        withVersionWindow([&](QWidget *about) {
            QCOMPARE(accessible(about)->role(), QAccessible::Dialog);
            QCOMPARE(accessible(control(u"frmAbout"_qs, u"Text1"_qs))->text(QAccessible::Name),
                     u"E-Mail"_qs);
        });
    }

    // A first close writes the position, then the inputs; a new start
    // restores everything, also a start amount that is no number, which the
    // next calculation reports.
    void restoresAcrossRestart() {
        window(Main)->close();
        flushDeletes();
#ifndef Q_OS_WIN
        QFile file(settings::location());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "[MainWindow]\nWindowTop=1200\nWindowLeft=1200\n\n"
                                 "[Condition]\nStartAmount=1000\nOdds=3\nDefeats=0\n");
#endif
        QCOMPARE(stored(settings::Condition, settings::Odds), u"3"_qs);
        startProgram();
        window(Main)->move(300, 150);
        enterInputs(u"abc"_qs, u"4.5"_qs, 7);
        window(Main)->close();
        flushDeletes();
        startProgram();
        QCOMPARE(window(Main)->pos(), QPoint(300, 150));
        QCOMPARE(text(Main, u"txtStartAmount"_qs) + text(Main, u"txtOdds"_qs) +
                     text(Main, u"cmbDefeats"_qs) + text(Main, u"lblRaceNum"_qs),
                 u"abc4.57[8ﾚｰｽ目]"_qs);
        MessageRecorder boxes;
        press(Main, u"btnCalcAmount"_qs);
        QCOMPARE(boxes.take(), QStringList{u"開始金額 / 数値を入力して下さい。"_qs});
    }

    // A stored value that is no usable number falls back to its default; the
    // others still restore. A title bar off every screen comes back onto it.
    void storedValues_data() {
        addRows<Stored>({
            {"all fine", "1500", "3000", "4", {200, 100}, 4},
            {"top not a number", "abc", "3000", "4", {200, 80}, 4},
            {"left empty", "1500", "", "4", {80, 100}, 4},
            {"left infinite", "1500", "1e999", "4", {80, 100}, 4},
            {"defeats not a number", "1500", "3000", "x", {200, 100}, 0},
            {"defeats beyond the list", "1500", "3000", "20", {200, 100}, 0},
            {"defeats negative", "1500", "3000", "-1", {200, 100}, 0},
            {"defeats beyond 16 bits", "1500", "3000", "1e10", {200, 100}, 0},
            {"defeats rounds to even", "1500", "3000", "2.5", {200, 100}, 2},
            {"grouped position", "1,500", "3,000", "19", {200, 100}, 19},
            {"off every screen", "-90000", "1E+08", "1", {-1, -1}, 1},
        });
    }

    void storedValues() {
        QFETCH(Stored, row);
        closeAll();
        settings::Transaction save;
        save.setValue(settings::MainWindow, settings::WindowTop, QLatin1String(row.top));
        save.setValue(settings::MainWindow, settings::WindowLeft, QLatin1String(row.left));
        save.setValue(settings::Condition, settings::Defeats, QLatin1String(row.defeats));
        save.commit();
        startProgram();
        const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
        QCOMPARE(window(Main)->pos(),
                 row.position.x() < 0 ? corner + QPoint(80, 80) : row.position);
        QCOMPARE(text(Main, u"lblRaceNum"_qs), u"[%1ﾚｰｽ目]"_qs.arg(row.index + 1));
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
