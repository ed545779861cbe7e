// Hands for the real program where no tool from outside can type or click
// into its windows (Wayland lets no other client do either). Qt loads it into
// the program as a generic plugin: QT_QPA_GENERIC_PLUGINS=morvexdrive:<how>,
// with the folder above generic/ on QT_PLUGIN_PATH. It prints the platform's
// name, then, once the main window is on the screen, types new inputs
// (2000, 4.5, the fourth defeats item), opens the usage window, the table
// and its chart, draws a bankroll of 75000, opens the race record and types
// a target profit of 3000, and opens the version window.
// Then, <how>:
// - "signal": prints "ready" and leaves every window open, the version
//   window too, for a termination signal from outside to close;
// - "close": closes the version window with OK, the chart, the table and the
//   record by their close boxes and last the main window by its close box,
//   whose unload takes the usage window along.
// Whatever it cannot find or do stops the program, so that the test fails.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void say(const QString &line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The shown window of that name, once it is on the screen.
QWidget *window(const QString &name) {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name && widget->isVisible()) {
            if (!QTest::qWaitForWindowExposed(widget))
                qFatal("%s is not exposed", qPrintable(name));
            return widget;
        }
    qFatal("no window %s is shown", qPrintable(name));
}

template <typename T> T *control(const QString &window, const QString &name) {
    if (T *found = ::window(window)->findChild<T *>(name))
        return found;
    qFatal("%s has no %s", qPrintable(window), qPrintable(name));
}

void type(const QString &window, const QString &box, const QString &text) {
    auto *edit = control<QLineEdit>(window, box);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void press(const QString &window, const QString &button) {
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

// As the compositor's close button closes a window.
void closeBox(const QString &name) {
    window(name)->windowHandle()->close();
}

void drive(const QString &how) {
    const QString Main = u"frmMain"_s, Table = u"frmInvestTable"_s, Chart = u"frmChart"_s,
                  About = u"frmAbout"_s, RaceLog = u"frmRaceLog"_s;
    type(Main, u"txtStartAmount"_s, u"2000"_s);
    type(Main, u"txtOdds"_s, u"4.5"_s);
    auto *defeats = control<QComboBox>(Main, u"cmbDefeats"_s);
    defeats->setFocus();
    for (Qt::Key key : {Qt::Key_Home, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down})
        QTest::keyClick(defeats, key);
    press(Main, u"btnUsage"_s);
    press(Main, u"btnTable"_s);
    control<QAction>(Table, u"chartAction"_s)->trigger(); // its context menu's グラフ
    type(Chart, u"txtBankroll"_s, u"75000"_s);
    QTest::keyClick(control<QLineEdit>(Chart, u"txtBankroll"_s), Qt::Key_Return);
    control<QAction>(Main, u"raceLogAction"_s)->trigger(); // its context menu's レース記録...
    type(RaceLog, u"txtTarget"_s, u"3000"_s);
    // The version window is modal: the press returns once it has closed.
    QTimer::singleShot(0, [how, About] {
        if (how == u"signal"_s)
            say(window(About)->windowTitle() + u" ready"_s);
        else
            press(About, u"cmdOK"_s);
    });
    press(Main, u"btnAbout"_s);
    if (how == u"close"_s) {
        closeBox(Chart);
        closeBox(Table);
        closeBox(RaceLog);
        closeBox(Main);
    }
}

class DrivePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "drive.json")
public:
    QObject *create(const QString &, const QString &how) override {
        if (how != u"signal"_s && how != u"close"_s)
            qFatal("morvexdrive: say how the windows close, signal or close");
        auto *hands = new QObject;
        // The program shows its main window before its event loop starts.
        QTimer::singleShot(0, hands, [how] {
            say(u"platform "_s + QGuiApplication::platformName());
            drive(how);
        });
        return hands;
    }
};

} // namespace

#include "drive.moc"
