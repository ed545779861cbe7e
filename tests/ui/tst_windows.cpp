// The windows as a user meets them. The main window: the input checks and
// where they put the focus, readings in other locales, the keyboard, results
// that go stale, the copy of the results, what assistive technology hears,
// and what it remembers. The table: its figures, refills, failures,
// keyboard, position, copy and saving. The chart: its sentences and checks,
// its description, copy, place, money and ticket type, and how it follows
// the table and closes with it. The usage and version windows: their keys,
// the version window's modality and address box, where both reopen, and how
// the main window's close takes them along. (Every figure and message for
// many more inputs is the window fuzz target's, replayed by the tests.)
#include "TestData.h"
#include "TestSupport.h"
#include "settings/Keys.h"
#include "ui/Controls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#ifndef Q_OS_WIN
#include <sys/mount.h>
#endif

using namespace Qt::StringLiterals;

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_s, Table = u"frmInvestTable"_s, Usage = u"frmUsage"_s,
              About = u"frmAbout"_s, Chart = u"frmChart"_s;
const QStringList Fields{u"lblInvestAmount"_s, u"lblTotalAmount"_s, u"lblRecovery"_s,
                         u"lblProfit"_s, u"lblUpRate"_s};
const QString Typical = u"2,300 4,800 6,900 2,100 1.5"_s;

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
struct EnterOpensList : QObject {
    bool eventFilter(QObject *watched, QEvent *event) override {
        const int key =
            event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event)->key() : 0;
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            static_cast<QComboBox *>(watched)->showPopup();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
};

// The table for 1000 and 3: headings, column headers and the ten rows.
QStringList table1000x3() {
    QStringList lines;
    for (const QStringList &row : rowsOf("ui/table-1000x3.txt"))
        lines.append(row[1]);
    return lines;
}

// The table's labels line by line (by their top edge), each from the left,
// as `cell` shows it, separated by `between`.
QStringList tableLines(const std::function<QString(const QLabel *)> &cell, const QString &between) {
    QMap<int, QMap<int, QString>> lines;
    for (const QLabel *label : window(Table)->findChildren<QLabel *>())
        lines[label->y()][label->x()] = cell(label);
    QStringList texts;
    for (const QMap<int, QString> &line : lines)
        texts.append(QStringList(line.cbegin(), line.cend()).join(between));
    return texts;
}

// The table as its labels show it, a line each, cells separated by blanks.
QStringList shown() {
    return tableLines([](const QLabel *label) { return label->text(); }, u" "_s);
}

// How the table's headings and figures are drawn and heard, line by line,
// each cell from the left: f fresh, s stale, ? drawn one way and heard the
// other; the fixed headers and defeats are left out.
QString tableDrawn() {
    const QStringList lines = tableLines(
        [](const QLabel *label) {
            const auto *cell = qobject_cast<const controls::Cell *>(label);
            if (label->objectName().contains(u"Header") || label->objectName().contains(u"Defeats"))
                return QString();
            return cell->accessibleDescription().endsWith(u"（未更新）"_s) != cell->isStale()
                       ? u"?"_s
                   : cell->isStale() ? u"s"_s
                                     : u"f"_s;
        },
        QString());
    return lines.mid(0, 1).join(QString()) + u' ' + lines.mid(2).join(u' ');
}

void pressTable(const QString &start, const QString &odds) {
    type(control<QLineEdit>(Main, u"txtStartAmount"_s), start);
    type(control<QLineEdit>(Main, u"txtOdds"_s), odds);
    press(Main, u"btnTable"_s);
    flushDeletes();
}

// A home folder of its own while it lives, with or without its documents
// folder. (Windows' documents folder is its own, whatever HOME says.)
struct ScratchHome {
    explicit ScratchHome(bool documents) {
        qputenv("HOME", QFile::encodeName(folder.path()));
        if (documents)
            QDir(folder.path()).mkdir(u"Documents"_s);
    }
    ~ScratchHome() { qputenv("HOME", previous); }
    const QByteArray previous = qgetenv("HOME");
    QTemporaryDir folder;
};

// What the screen shows of a window once it has painted what is due.
QImage onScreen(QWidget *window) {
    QCoreApplication::processEvents();
    return window->screen()->grabWindow(window->winId()).toImage();
}

// Opens the window from the main window and runs `whileOpen` on it.
void open(const QString &name, const std::function<void(QWidget *)> &whileOpen) {
    if (name != About)
        press(Main, name == Usage ? u"btnUsage"_s : u"btnTable"_s);
    onWindow(name, whileOpen);
}

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;

private slots:
    void initTestCase() {
        QVERIFY2(japaneseDesktopLacks().isEmpty(), qPrintable(japaneseDesktopLacks()));
    }
    void init() {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        run_.emplace();
        QVERIFY(QTest::qWaitForWindowExposed(window(Main)));
        QVERIFY(stale()); // the first start has calculated nothing
    }
    void cleanup() { run_.reset(); }

    void command_data() { addRowsFrom("ui/commands.txt"); }

    void command() {
        const auto [locale, start, odds, defeats, fields, message, focus] = cells<7>();
        QLocale::setDefault(QLocale(locale));
        MessageRecorder boxes;
        enterInputs(start, odds, defeats.toInt());
        press(Main, u"btnCalcAmount"_s);
        QCOMPARE(results(), fields);
        QCOMPARE(boxes.take().join(u'|'), message);
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        // Figures stand for the inputs only after a calculation that succeeded.
        QCOMPARE(stale(), !message.isEmpty() || defeats.toInt() < 0);
    }

    // Enter calculates from a box and from the closed list, whatever the
    // platform theme makes of Enter, and never opens the list (Alt+Down does).
    void enterCalculates_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("openingTheme");
        for (bool opening : {false, true})
            for (const auto &[input, key] : {std::pair{"txtStartAmount", Qt::Key_Return},
                                             {"cmbDefeats", Qt::Key_Return},
                                             {"cmbDefeats", Qt::Key_Enter}})
                QTest::addRow("%s, %s%s", input, key == Qt::Key_Enter ? "keypad Enter" : "Return",
                              opening ? ", a theme where Enter opens the list" : "")
                    << QString::fromLatin1(input) << int(key) << opening;
    }

    void enterCalculates() {
        QFETCH(QString, input);
        QFETCH(int, key);
        QFETCH(bool, openingTheme);
        EnterOpensList opening;
        auto *list = control<QComboBox>(Main, u"cmbDefeats"_s);
        if (openingTheme)
            list->installEventFilter(&opening);
        enterInputs(u"1000"_s, u"3.0"_s, 2);
        QVERIFY(activate(window(Main)));
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
        QTest::keyClick(control(Main, u"cmbDefeats"_s), Qt::Key_End);
        QCOMPARE(text(Main, u"lblRaceNum"_s), u"[20ﾚｰｽ目]"_s);
        QVERIFY(activate(window(Main)));
        control(Main, u"txtStartAmount"_s)->setFocus();
        QStringList order;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order.join(u' '), u"txtOdds cmbDefeats btnCalcAmount btnExit btnAbout btnUsage "
                                   u"btnTable txtStartAmount"_s);
    }

    // A change to any input marks the figures stale, in light and dark
    // palettes alike: drawn differently, still legible on the field, and
    // heard so (the description says so); a calculation makes them current
    // again. The texts and names stay as they are.
    void staleResults() {
        QPalette dark(QColor(40, 40, 40));
        dark.setColor(QPalette::ToolTipBase, QColor(30, 30, 30));
        dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
        auto *field = control<controls::Cell>(Main, u"lblTotalAmount"_s);
        auto heard = [&] {
            return accessible(field)->text(QAccessible::Name) + u' ' +
                   accessible(field)->text(QAccessible::Description);
        };
        for (const QPalette &palette :
             {std::unique_ptr<QStyle>(QStyleFactory::create(u"Fusion"_s))->standardPalette(),
              dark}) {
            window(Main)->setPalette(palette);
            for (const char *input : {"txtStartAmount", "txtOdds", "cmbDefeats"}) {
                enterInputs(u"1000"_s, u"3.0"_s, 2);
                press(Main, u"btnCalcAmount"_s);
                const QImage fresh = field->grab().toImage();
                QVERIFY(!stale());
                QCOMPARE(heard(), u"4,800 累計投資額"_s);
                if (input[0] == 'c')
                    control<QComboBox>(Main, u"cmbDefeats"_s)->setCurrentIndex(3);
                else
                    control<QLineEdit>(Main, QLatin1String(input))->insert(u"0"_s);
                QVERIFY2(stale() && results() == Typical && field->grab().toImage() != fresh,
                         input);
                QCOMPARE(heard(), u"4,800 累計投資額（未更新）"_s);
            }
            const QImage shown = field->grab().toImage();
            int legible = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x)
                    legible += std::abs(shown.pixelColor(x, y).lightness() -
                                        palette.color(QPalette::ToolTipBase).lightness()) > 60;
            QVERIFY2(legible > 20, qPrintable(QString::number(legible)));
        }
    }

    // Ctrl+C from the list or from a box without a selection, and the result
    // fields' context menu, copy inputs and results as shown; a selection in
    // a box is copied as usual.
    void copyResults() {
        enterInputs(u"1000"_s, u"3.0"_s, 2);
        press(Main, u"btnCalcAmount"_s);
        const QString expected = u"開始金額\t1000\n倍率(ｵｯｽﾞ)\t3.0\n連敗数\t2\n今回投資額\t2,300\n"
                                 u"累計投資額\t4,800\n的中時回収額\t6,900\n的中時利益\t2,100\n"
                                 u"上昇率\t1.5\n"_s;
        QClipboard *clipboard = QApplication::clipboard();
        QVERIFY(activate(window(Main)));
        for (const QString &from : {u"cmbDefeats"_s, u"txtOdds"_s}) {
            clipboard->clear();
            control(Main, from)->setFocus();
            QTest::keyClick(control(Main, from), Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(clipboard->text(), expected);
        }
        control<QLineEdit>(Main, u"txtOdds"_s)->selectAll();
        QTest::keyClick(control(Main, u"txtOdds"_s), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(clipboard->text(), u"3.0"_s);
        for (const QString &field : Fields + QStringList{Main})
            QCOMPARE(menuOf(field == Main ? window(Main) : control(Main, field)),
                     u"結果をコピー レース記録..."_s);
        control(Main, u"lblProfit"_s)->actions()[0]->trigger();
        QCOMPARE(clipboard->text(), expected);
    }

    // Each figure is named by what it shows and described by its caption;
    // each input and the version window's address are labelled by their
    // captions; the main window is a frame, the others dialogs; the program
    // names its desktop entry.
    void accessibility() {
        enterInputs(u"1000"_s, u"3.0"_s, 2);
        press(Main, u"btnCalcAmount"_s);
        QStringList heard;
        for (const QString &field : Fields)
            heard << accessible(control(Main, field))->text(QAccessible::Name) + u' ' +
                         accessible(control(Main, field))->text(QAccessible::Description);
        for (const char *input : {"txtStartAmount", "txtOdds", "cmbDefeats"})
            for (const auto &[label, relation] :
                 accessible(control(Main, QLatin1String(input)))->relations(QAccessible::Label))
                heard << label->text(QAccessible::Name);
        QCOMPARE(heard.join(u", "_s),
                 u"2,300 今回投資額, 4,800 累計投資額, 6,900 的中時回収額, "
                 u"2,100 的中時利益, 1.5 上昇率, 開始金額, 倍率(ｵｯｽﾞ), 連敗数"_s);
        QCOMPARE(accessible(window(Main))->role(), QAccessible::Window);
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_s,
                 QFileInfo(QStringLiteral(MORVEX_DESKTOP_FILE)).fileName());
        press(Main, u"btnUsage"_s);
        press(Main, u"btnTable"_s);
        for (const QString &other : {Usage, Table})
            QCOMPARE(accessible(window(other))->role(), QAccessible::Dialog);
        withVersionWindow([&](QWidget *about) {
            QCOMPARE(accessible(about)->role(), QAccessible::Dialog);
            QCOMPARE(accessible(control(About, u"Text1"_s))->text(QAccessible::Name), u"E-Mail"_s);
        });
    }

    // A first close writes the position, then the inputs; a new start
    // restores everything, also a start amount that is no number, which the
    // next calculation reports; the figures are stale until one succeeds.
    void restoresAcrossRestart() {
        window(Main)->close();
        flushDeletes();
#ifndef Q_OS_WIN
        QFile file(settings::location());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "[MainWindow]\nWindowTop=1200\nWindowLeft=1200\n\n"
                                 "[Condition]\nStartAmount=1000\nOdds=3\nDefeats=0\n");
#endif
        QCOMPARE(stored(settings::Condition, settings::Odds), u"3"_s);
        startProgram();
        window(Main)->move(300, 150);
        enterInputs(u"abc"_s, u"4.5"_s, 7);
        window(Main)->close();
        flushDeletes();
        startProgram();
        QCOMPARE(window(Main)->pos(), QPoint(300, 150));
        QCOMPARE(text(Main, u"txtStartAmount"_s) + text(Main, u"txtOdds"_s) +
                     text(Main, u"cmbDefeats"_s) + text(Main, u"lblRaceNum"_s),
                 u"abc4.57[8ﾚｰｽ目]"_s);
        QVERIFY(stale()); // the design texts are no results of the odds 4.5
        MessageRecorder boxes;
        press(Main, u"btnCalcAmount"_s);
        QCOMPARE(boxes.take(), QStringList{u"開始金額 / 数値を入力して下さい。"_s});
        type(control<QLineEdit>(Main, u"txtStartAmount"_s), u"1000"_s);
        press(Main, u"btnCalcAmount"_s);
        QVERIFY(!stale() && results() != u"0 0 0 0 1.5"_s);
    }

    void storedValues_data() {
        addRowsFrom("ui/stored-values.txt");
    }

    void storedValues() {
        const auto [top, left, defeats, position, index] = cells<5>();
        closeAll();
        settings::Transaction save;
        save.setValue(settings::MainWindow, settings::WindowTop, top);
        save.setValue(settings::MainWindow, settings::WindowLeft, left);
        save.setValue(settings::Condition, settings::Defeats, defeats);
        save.commit();
        startProgram();
        const QPoint corner = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
        QCOMPARE(window(Main)->pos(), position == u"corner"_s
                                          ? corner + QPoint(80, 80)
                                          : QPoint(position.section(u' ', 0, 0).toInt(),
                                                   position.section(u' ', 1).toInt()));
        QCOMPARE(text(Main, u"cmbDefeats"_s), index);
    }

    void maximisedWindowSavesNormalPosition() {
        window(Main)->move(210, 120);
        window(Main)->showMaximized();
        QTRY_VERIFY(window(Main)->isMaximized());
        window(Main)->close();
        flushDeletes();
        QCOMPARE(stored(settings::MainWindow, settings::WindowLeft), u"3150"_s);
        QCOMPARE(stored(settings::MainWindow, settings::WindowTop), u"1800"_s);
    }

    // ---- The table window

    // The table shows the plan's figures for runs of 0 to 9 defeats whatever
    // the main window's choice, refilled in place.
    void tableFigures() {
        MessageRecorder boxes;
        control<QComboBox>(Main, u"cmbDefeats"_s)->setCurrentIndex(15);
        pressTable(u"2000"_s, u"4"_s);
        pressTable(u"1000"_s, u"3"_s);
        QCOMPARE(boxes.take(), QStringList());
        QCOMPARE(shown(), table1000x3());
        QCOMPARE(LoadedWindows::names(), (QStringList{Main, Table}));
        pressTable(u"2147483647"_s, u"16777217"_s); // the widest headings
        // A heading condensed to its room ends short of the next one, by
        // less than a character.
        for (auto [left, right] :
             {std::pair{"lblStartAmount", "lblOdds"}, {"lblOdds", "lblUpRate"}}) {
            QWidget *heading = control(Table, QLatin1String(left));
            const auto [text, box] = drawnText(heading);
            const qreal gap =
                control(Table, QLatin1String(right))->x() - heading->x() - box.right();
            QVERIFY2(gap > 0 && (gap < heading->fontMetrics().averageCharWidth() ||
                                 box.width() + 1 >= heading->fontMetrics().horizontalAdvance(text)),
                     left);
        }
    }

    // A failure is reported once. A closed table stays closed: a window
    // loaded for the press goes unseen, and nothing is stored for it. An open
    // one is refilled in place: it stays open with the rows written before
    // the failure; what a failed fill did not write again (the rest of the
    // previous figures, the headings) is drawn stale, and the next fill that
    // succeeds makes everything fresh.
    void failureLeavesTable_data() {
        addRowsFrom("ui/table-failures.txt");
    }

    void failureLeavesTable() {
        const auto [odds, message, drawn] = cells<3>();
        MessageRecorder boxes;
        pressTable(u"1000"_s, odds);
        QCOMPARE(boxes.take(), QStringList{message});
        QCOMPARE(LoadedWindows::names(), QStringList{Main});
        QCOMPARE(stored(settings::TableWindow, settings::WindowTop), u"none"_s);
        pressTable(u"1000"_s, u"3"_s);
        pressTable(u"1000"_s, odds);
        QCOMPARE(boxes.take(), QStringList{message});
        QCOMPARE(LoadedWindows::names(), (QStringList{Main, Table})); // refilled in place
        QVERIFY(window(Table)->isVisible());
        QCOMPARE(shown()[0], table1000x3()[0]); // the headings of the inputs that came through
        QCOMPARE(tableDrawn(), drawn);
        if (drawn.startsWith(u's')) { // a table the fill left unfinished is not saved
            const SaveDialogAnswer answer{QString()};
            trigger(Table, u"saveAction"_s);
            QCOMPARE(answer.asked, QStringList());
            QCOMPARE(boxes.take(), QStringList{message});
        }
        pressTable(u"1000"_s, u"3"_s);
        QCOMPARE(tableDrawn(), u"fff"_s + u" ffff"_s.repeated(10));
    }

    // Ctrl+C and the context menu copy the table as shown, tab-separated,
    // every line ending in a line feed.
    void tableCopy() {
        pressTable(u"1000"_s, u"3.0"_s);
        QVERIFY(QTest::qWaitForWindowActive(window(Table)));
        const QString expected = table1000x3().join(u'\n').replace(u' ', u'\t') + u'\n';
        QTest::keyClick(control(Table, u"OKButton"_s), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), expected);
        QCOMPARE(menuOf(window(Table)), u"表をコピー CSVで保存... グラフ"_s);
        QApplication::clipboard()->clear();
        window(Table)->actions().value(0)->trigger(); // its context menu's 表をコピー
        QCOMPARE(QApplication::clipboard()->text(), expected);
    }

    // The table closed by the window system while its context menu is open
    // takes the menu along; the main window goes on.
    void tableClosedUnderItsMenu() {
        pressTable(u"1000"_s, u"3.0"_s);
        QWidget *cell = control(Table, u"lblTotal_4"_s);
        QString left = u"no menu"_s;
        QTimer::singleShot(0, [&] {
            left = QApplication::activePopupWidget() ? u"menu open"_s : u"no menu"_s;
            window(Table)->windowHandle()->close();
            if (QWidget *menu = QApplication::activePopupWidget()) {
                left = u"menu left open"_s;
                menu->close();
            }
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2),
                                     cell->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(cell, &rightClick);
        flushDeletes();
        QCOMPARE(left, u"menu open"_s);
        QCOMPARE(LoadedWindows::names(), QStringList{Main});
    }

    // Ctrl+S saves the table where the dialog says, starting in the
    // documents folder: the file a spreadsheet reads, byte for byte. A save
    // that fails says why and leaves the folder as it was: an older file
    // stays whole and nothing of the new one is left.
    void tableSave_data() {
        QTest::addColumn<QString>("where");
        for (const char *where : {"a new file", "over a file", "cancelled", "a name too long",
                                  "a read-only folder", "a full disk"})
            QTest::newRow(where) << QString::fromLatin1(where);
    }

    void tableSave() {
        QFETCH(QString, where);
        QTemporaryDir scratch;
        const QString folder = scratch.path(), file = folder + u"/plan.csv"_s;
        const QString path = where.endsWith(u"long"_s) ? folder + u'/' + QString(300, u'x') : file;
        const bool fails = path != file || where.endsWith(u"folder"_s) || where.endsWith(u"disk"_s);
#ifndef Q_OS_WIN
        SmallDisk disk(folder);
        if (where.endsWith(u"folder"_s) || where.endsWith(u"disk"_s)) {
            if (!disk.mounted)
                QSKIP("needs the right to mount a small file system (run as root)");
            writeFile(file, "older\r\n");
            if (where.endsWith(u"folder"_s))
                ::mount("tmpfs", disk.where, "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k");
            else
                fill(folder + u"/filler"_s);
        }
#else
        if (where.endsWith(u"folder"_s) || where.endsWith(u"disk"_s))
            QSKIP("needs a small file system of its own");
#endif
        if (where != u"a new file"_s && !QFile::exists(file))
            writeFile(file, "older\r\n");
        const ScratchHome home(true);
        pressTable(u"1000"_s, u"3.0"_s);
        QVERIFY(QTest::qWaitForWindowActive(window(Table)));
        SaveDialogAnswer answer(where == u"cancelled"_s ? QString() : path);
        MessageRecorder boxes;
        QTest::keyClick(control(Table, u"OKButton"_s), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(answer.asked,
                 QStringList{u"CSVで保存 / "_s +
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                             u"/投資額表_1000円_3倍.csv"_s});
        const QString failed =
            u"Morvex / "_s + QDir::toNativeSeparators(path) + u" に保存できませんでした。\r\n"_s;
        const QStringList told = boxes.take();
        QCOMPARE(told.size(), int(fails));
        QVERIFY2(!fails || (told[0].startsWith(failed) && told[0].size() > failed.size()),
                 qPrintable(told.value(0)));
        QCOMPARE(QDir(folder).entryList(QDir::Files).join(u' '),
                 where.endsWith(u"disk"_s) ? u"filler plan.csv"_s : u"plan.csv"_s);
        QCOMPARE(contents(file),
                 fails || where == u"cancelled"_s
                     ? QByteArray("older\r\n")
                     : contents(QStringLiteral(MORVEX_SOURCE_DIR "/tests/ui/table-1000x3.csv")));
    }

    // Without a hook the dialog is a save dialog of its own, at the name it
    // suggests in the documents folder (at home where there is none), asking
    // before it replaces a file. Its texts and its question are in the
    // language of the system's locale, Japanese under a Japanese one.
    void saveDialog_data() {
        QTest::addColumn<bool>("documents");
        QTest::newRow("a documents folder") << true;
        QTest::newRow("none") << false;
    }

    void saveDialog() {
#ifdef Q_OS_WIN
        QSKIP("the native dialog runs a loop of its own; the smoke test saves through it");
#endif
        QFETCH(bool, documents);
        const ScratchHome home(documents);
        const QString file = home.folder.path() + (documents ? u"/Documents"_s : u""_s) +
                             u"/投資額表_1000円_3倍.csv"_s;
        writeFile(file, "older\r\n");
        pressTable(u"1000"_s, u"3.0"_s);
        QString shown = u"no dialog"_s, asked = u"not asked"_s;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            shown = dialog->windowTitle() + u' ' + dialog->selectedFiles().value(0);
            if (dialog->acceptMode() != QFileDialog::AcceptSave)
                shown += u" (not a save dialog)"_s;
            for (const QAbstractButton *button : dialog->findChild<QDialogButtonBox *>()->buttons())
                shown += u" ["_s + button->text() + u']';
            QTimer::singleShot(0, [&] {
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    asked = box->text();
                    for (const QAbstractButton *button : box->buttons())
                        asked += u" ["_s + button->text() + u']';
                    QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
                }
            });
            QTest::mouseClick(
                dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save),
                Qt::LeftButton);
            dialog->reject();
        });
        trigger(Table, u"saveAction"_s);
        const bool japanese = QLocale::system().language() == QLocale::Japanese;
        QCOMPARE(shown, u"CSVで保存 "_s + file +
                            (japanese ? u" [保存(&S)] [キャンセル]"_s : u" [&Save] [Cancel]"_s));
        QCOMPARE(asked,
                 u"投資額表_1000円_3倍.csv"_s +
                     (japanese ? u" は既に存在します。\n置き換えますか? [はい(&Y)] [いいえ(&N)]"_s
                               : u" already exists.\nDo you want to replace it? [&Yes] [&No]"_s));
        QCOMPARE(contents(file), "older\r\n"); // answered No
    }

    // ---- The chart window

    // It opens from the table at the default corner, with the money it
    // drew last (first the default), and follows the table's refills. A
    // bad bankroll is told, the focus goes back to its box and the sentence
    // stays; a good one is drawn. Ctrl+C copies the picture. It closes with
    // the table, saving its place, money and ticket type.
    void chartWindow() {
        pressTable(u"1000"_s, u"3"_s);
        trigger(Table, u"chartAction"_s);
        QVERIFY(QTest::qWaitForWindowActive(window(Chart)));
        QCOMPARE(window(Chart)->pos(), QPoint(87, 87)); // 1300 twips
        auto *box = control<QLineEdit>(Chart, u"txtBankroll"_s);
        QCOMPARE(box->text() + u' ' + text(Chart, u"lblReach"_s),
                 u"100000 軍資金 100,000円で 8連敗後の 9ﾚｰｽ目まで賭けられます"
                 u"（10ﾚｰｽ目には 13,400円不足）"_s);
        // The risk for the ticket type picked (単勝 the first time), as the
        // money stands.
        QVERIFY2(
            text(Chart, u"lblRisk"_s).startsWith(u"単勝の払戻率 80%と倍率 3倍から"_s) &&
                text(Chart, u"lblRisk"_s).contains(u"26.7%"_s) &&
                text(Chart, u"lblRisk"_s).contains(u"9ﾚｰｽ続けて外れて軍資金が尽きる確率は 6.1%"_s),
            qPrintable(text(Chart, u"lblRisk"_s)));
        control<QComboBox>(Chart, u"cmbTicket"_s)->setCurrentIndex(7);
        QVERIFY(text(Chart, u"lblRisk"_s).startsWith(u"3連単の払戻率 72.5%"_s));
        QAccessibleInterface *chart = accessible(control(Chart, u"picChart"_s));
        QCOMPARE(chart->role(), QAccessible::Chart);
        QCOMPARE(chart->text(QAccessible::Name), u"開始金額：1,000円　倍率：3倍　上昇率：1.5倍"_s);
        QVERIFY2(chart->text(QAccessible::Description)
                         .startsWith(u"0連敗 今回投資額 1,000円 累計投資額 1,000円、1連敗 "_s) &&
                     chart->text(QAccessible::Description)
                         .endsWith(u"9連敗 今回投資額 38,400円 累計投資額 113,400円。"_s +
                                   text(Chart, u"lblReach"_s)),
                 qPrintable(chart->text(QAccessible::Description)));
        QCOMPARE(
            accessible(box)->relations(QAccessible::Label).value(0).first->text(QAccessible::Name),
            u"軍資金"_s);

        MessageRecorder boxes;
        type(box, u"99"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(boxes.take(), QStringList{u"軍資金 / １００円以上を設定して下さい。"_s});
        QCOMPARE(QApplication::focusWidget(), box);
        QVERIFY(text(Chart, u"lblReach"_s).contains(u"13,400円不足"_s));
        type(box, u"75,000"_s);
        press(Chart, u"btnDraw"_s);
        QVERIFY(text(Chart, u"lblReach"_s).startsWith(u"軍資金 75,000円で 8連敗後の"_s));
        QCOMPARE(onScreen(window(Chart)), window(Chart)->grab().toImage()); // drawn anew
        box->setFocus();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(
            QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
            control(Chart, u"picChart"_s)->grab().toImage().convertToFormat(QImage::Format_RGB32));

        pressTable(u"2000"_s, u"4"_s);
        QCOMPARE(chart->text(QAccessible::Name),
                 u"開始金額：2,000円　倍率：4倍　上昇率：1.333333倍"_s);
        QCOMPARE(text(Chart, u"lblReach"_s), u"軍資金 75,000円で 8連敗後の 9ﾚｰｽ目まで賭けられます"
                                             u"（10ﾚｰｽ目には 25,500円不足）"_s);
        QCOMPARE(onScreen(window(Chart)), window(Chart)->grab().toImage());
        // 終了 with the table and its chart open: the table takes its chart
        // along, the program ends, and both places are kept.
        window(Chart)->move(200, 150);
        QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
        press(Main, u"btnExit"_s);
        flushDeletes();
        QCOMPARE(LoadedWindows::names(), QStringList());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(stored(settings::ChartWindow, settings::WindowTop) + u' ' +
                     stored(settings::ChartWindow, settings::WindowLeft) + u' ' +
                     stored(settings::ChartWindow, settings::Bankroll) + u' ' +
                     stored(settings::ChartWindow, settings::Ticket) + u' ' +
                     stored(settings::TableWindow, settings::WindowTop),
                 u"2250 3000 75000 3連単 1305"_s);
        startProgram();
        pressTable(u"1000"_s, u"3"_s);
        trigger(Table, u"chartAction"_s);
        QCOMPARE(window(Chart)->pos(), QPoint(200, 150));
        QCOMPARE(text(Chart, u"txtBankroll"_s) + u' ' + text(Chart, u"cmbTicket"_s),
                 u"75000 3連単"_s);
    }

    // ---- The usage and version windows

    // The button is not the default one (Enter presses it as it has the
    // focus). A second press brings the same window forward where it is.
    void usageWindowStaysOpen() {
        open(Usage, [](QWidget *usage) {
            QVERIFY(!control<QPushButton>(Usage, u"OKButton"_s)->isDefault());
            QCOMPARE(usage->focusWidget(), control(Usage, u"OKButton"_s));
            usage->move(210, 140);
            usage->showMinimized();
            press(Main, u"btnUsage"_s);
            QVERIFY(!usage->isMinimized());
            QCOMPARE(usage->pos(), QPoint(210, 140)); // not loaded again
            QCOMPARE(LoadedWindows::names(), (QStringList{Main, Usage}));
        });
    }

    // Modal; OK has the focus and is the default; Tab goes to the address,
    // which can be selected but not changed.
    void versionWindow() {
        open(About, [](QWidget *about) {
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            auto *address = control<QLineEdit>(About, u"Text1"_s);
            QCOMPARE(about->focusWidget()->objectName(), u"cmdOK"_s);
            QVERIFY(control<QPushButton>(About, u"cmdOK"_s)->isDefault());
            QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
            QCOMPARE(about->focusWidget(), address);
            QTest::keyClick(address, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(address, u"x"_s);
            QCOMPARE(address->selectedText() + address->text(),
                     u"morvex@example.commorvex@example.com"_s);
        });
    }

    void closeAndReopen_data() {
        addRowsFrom("ui/close-and-reopen.txt");
    }

    // However a window is closed it saves its position and opens there
    // again, first at the default corner. Esc closes the version window
    // only: the other two have no cancel button.
    void closeAndReopen() {
        const auto [window, how, restart] = cells<3>();
        open(window, [&](QWidget *shown) {
            QCOMPARE(shown->pos(), QPoint(87, 87)); // 1300 twips
            if (window != About)
                QTest::keyClick(shown->focusWidget(), Qt::Key_Escape);
            QVERIFY(shown->isVisible());
            shown->move(170, 120);
            if (how == u"OK"_s)
                QTest::mouseClick(shown->findChild<QPushButton *>(), Qt::LeftButton);
            else if (how == u"close box"_s)
                shown->close();
            else if (how == u"main window"_s)
                driver::window(Main)->close();
            else if (how == u"Enter in the address"_s)
                QTest::keyClick(control(About, u"Text1"_s), Qt::Key_Enter);
            else
                QTest::keyClick(shown->focusWidget(),
                                how == u"Esc"_s ? Qt::Key_Escape : Qt::Key_Return);
            QVERIFY(!driver::window(window));
        });
        const QString section = window == About   ? settings::AboutWindow
                                : window == Usage ? settings::UsageWindow
                                                  : settings::TableWindow;
        QCOMPARE(stored(section, settings::WindowLeft) + u' ' +
                     stored(section, settings::WindowTop),
                 u"2550 1800"_s); // 170 and 120 pixels
        if (restart == u"yes"_s) {
            closeAll();
            startProgram();
        }
        open(window, [&](QWidget *shown) { QCOMPARE(shown->pos(), QPoint(170, 120)); });
    }

    // The main window closes the first other window in load order, the
    // usage window here; the table window stays and the program ends with it.
    void mainWindowClosesTheFirstOtherOnly() {
        press(Main, u"btnUsage"_s);
        press(Main, u"btnTable"_s);
        QPointer<QWidget> usage = window(Usage), table = window(Table);
        QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
        window(Main)->close();
        flushDeletes();
        QVERIFY(!usage && table->isVisible());
        QCOMPARE(LoadedWindows::names(), QStringList{Table});
        QCOMPARE(ended.count(), 0);
        table->close();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(stored(settings::UsageWindow, settings::WindowTop), u"1305"_s); // 87 pixels
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
