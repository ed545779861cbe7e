// The main window as a user meets it: the input checks and where they put
// the focus, readings in other locales, the keyboard, results that go stale,
// the copy of the results, what assistive technology hears, and what the
// window remembers. (Every figure and message for many more inputs is the
// window fuzz target's, replayed by the tests.)
#include "TestData.h"
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

    void command_data() {
        addRowsFrom("ui/commands.txt",
                    {"locale", "start", "odds", "defeats", "fields", "message", "focus"});
    }

    void command() {
        QFETCH(QString, locale);
        QFETCH(QString, start);
        QFETCH(QString, odds);
        QFETCH(QString, defeats);
        QFETCH(QString, fields);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QLocale::setDefault(QLocale(locale));
        MessageRecorder boxes;
        enterInputs(start, odds, defeats.toInt());
        press(Main, u"btnCalcAmount"_qs);
        QCOMPARE(results(), fields);
        QCOMPARE(boxes.take().join(u'|'), message);
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        // Figures stand for the inputs only after a calculation that succeeded.
        QCOMPARE(stale(), !message.isEmpty() || defeats.toInt() < 0);
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

    void storedValues_data() {
        addRowsFrom("ui/stored-values.txt", {"top", "left", "defeats", "position", "index"});
    }

    void storedValues() {
        QFETCH(QString, top);
        QFETCH(QString, left);
        QFETCH(QString, defeats);
        QFETCH(QString, position);
        QFETCH(QString, index);
        closeAll();
        settings::Transaction save;
        save.setValue(settings::MainWindow, settings::WindowTop, top);
        save.setValue(settings::MainWindow, settings::WindowLeft, left);
        save.setValue(settings::Condition, settings::Defeats, defeats);
        save.commit();
        startProgram();
        const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
        QCOMPARE(window(Main)->pos(), position == u"corner"_qs
                                          ? corner + QPoint(80, 80)
                                          : QPoint(position.section(u' ', 0, 0).toInt(),
                                                   position.section(u' ', 1).toInt()));
        QCOMPARE(text(Main, u"cmbDefeats"_qs), index);
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
