// The usage and version windows as a user meets them: the keys, the
// version window's modality and address box, where both reopen, and how
// the main window's close takes them along.
#include "TestSupport.h"
#include "settings/Keys.h"

#include <QLabel>
#include <QSignalSpy>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_qs, Usage = u"frmUsage"_qs, About = u"frmAbout"_qs;

// Opens the window from the main window and runs `whileOpen` on it.
void open(const QString &name, const std::function<void(QWidget *)> &whileOpen) {
    bool ran = false;
    auto run = [&](QWidget *shown) { ran = true, whileOpen(shown); };
    if (name == About)
        withVersionWindow(run);
    else
        press(Main, u"btnUsage"_qs), run(window(Usage));
    QVERIFY2(ran, "the press did not wait for the version window");
}

} // namespace

class TestInfoWindows : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;

private slots:
    void init() { run_.emplace(); }
    void cleanup() { run_.reset(); }

    // Esc does nothing: the button is neither default nor cancel (Enter
    // presses it as it has the focus). A second press brings the same
    // window forward where it is.
    void usageWindowStaysOpen() {
        open(Usage, [](QWidget *usage) {
            QTest::keyClick(control(Usage, u"OKButton"_qs), Qt::Key_Escape);
            QVERIFY(usage->isVisible() &&
                    !control<QPushButton>(Usage, u"OKButton"_qs)->isDefault());
            usage->move(210, 140);
            usage->showMinimized();
            press(Main, u"btnUsage"_qs);
            QCOMPARE(window(Usage), usage);
            QVERIFY(!usage->isMinimized());
            QCOMPARE(usage->pos(), QPoint(210, 140)); // not loaded again
            QCOMPARE(LoadedWindows::names(), (QStringList{Main, Usage}));
        });
    }

    // Modal, shown once and with its texts already set. OK has the focus
    // and is the default; Tab goes to the address, which can be selected
    // but not changed.
    void versionWindow() {
        struct ShowWatch : QObject {
            QStringList shown;
            bool eventFilter(QObject *watched, QEvent *event) override {
                if (event->type() == QEvent::Show && watched->objectName() == About)
                    shown << text(About, u"lblVersion"_qs) + u' ' +
                                 static_cast<QWidget *>(watched)->windowTitle();
                return false;
            }
        } watch;
        qApp->installEventFilter(&watch);
        open(About, [](QWidget *about) {
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            auto *address = control<QLineEdit>(About, u"Text1"_qs);
            QCOMPARE(about->focusWidget()->objectName(), u"cmdOK"_qs);
            QVERIFY(control<QPushButton>(About, u"cmdOK"_qs)->isDefault());
            QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
            QCOMPARE(about->focusWidget(), address);
            QTest::keyClick(address, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(address, u"x"_qs);
            QCOMPARE(address->selectedText() + address->text(),
                     u"morvex@example.commorvex@example.com"_qs);
        });
        qApp->removeEventFilter(&watch);
        QCOMPARE(watch.shown, QStringList{u"Version 1.0.0 Morvexのﾊﾞｰｼﾞｮﾝ情報"_qs});
    }

    void closeAndReopen_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("restart");
        for (const char *how : {"OK", "Enter", "close box", "main window"})
            QTest::addRow("usage, %s", how) << Usage << QString::fromLatin1(how) << (how[0] == 'm');
        for (const char *how : {"Esc", "Enter in the address", "OK", "close box"})
            QTest::addRow("version, %s", how)
                << About << QString::fromLatin1(how) << (how[0] == 'E');
    }

    // However a window is closed it saves its position and opens there
    // again, first at the default corner.
    void closeAndReopen() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        QFETCH(bool, restart);
        open(window, [&](QWidget *shown) {
            QCOMPARE(shown->pos(), QPoint(87, 87)); // 1300 twips
            shown->move(170, 120);
            if (how == u"OK"_qs)
                QTest::mouseClick(shown->findChild<QPushButton *>(), Qt::LeftButton);
            else if (how == u"close box"_qs)
                shown->close();
            else if (how == u"main window"_qs)
                driver::window(Main)->close();
            else if (how == u"Enter in the address"_qs)
                QTest::keyClick(control(About, u"Text1"_qs), Qt::Key_Enter);
            else
                QTest::keyClick(shown->focusWidget(),
                                how == u"Esc"_qs ? Qt::Key_Escape : Qt::Key_Return);
            QVERIFY(!driver::window(window));
        });
        const QString section = window == About ? settings::AboutWindow : settings::UsageWindow;
        QCOMPARE(stored(section, settings::WindowLeft) + u' ' +
                     stored(section, settings::WindowTop),
                 u"2550 1800"_qs); // 170 and 120 pixels
        if (restart) {
            closeAll();
            startProgram();
        }
        open(window, [&](QWidget *shown) { QCOMPARE(shown->pos(), QPoint(170, 120)); });
    }

    // The main window closes the first other window in load order, the
    // usage window here; the table window stays and the program ends with it.
    void mainWindowClosesTheFirstOtherOnly() {
        press(Main, u"btnUsage"_qs);
        press(Main, u"btnTable"_qs);
        QPointer<QWidget> usage = window(Usage), table = window(u"frmInvestTable"_qs);
        QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
        window(Main)->close();
        flushDeletes();
        QVERIFY(!usage && table->isVisible());
        QCOMPARE(LoadedWindows::names(), QStringList{u"frmInvestTable"_qs});
        QCOMPARE(ended.count(), 0);
        table->close();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(stored(settings::UsageWindow, settings::WindowTop), u"1305"_qs); // 87 pixels
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
