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

// Notes caption and version text each time a version window is shown.
struct ShowWatch : QObject {
    QStringList shown;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched->objectName() == About)
            shown << static_cast<QWidget *>(watched)->windowTitle() + u' ' +
                         watched->findChild<QLabel *>(u"lblVersion"_qs)->text();
        return false;
    }
};

// Opens the window from the main window and runs `whileOpen` on it.
void open(const QString &name, const std::function<void(QWidget *)> &whileOpen) {
    if (name == About) {
        bool ran = false;
        withVersionWindow([&](QWidget *about) {
            ran = true;
            whileOpen(about);
        });
        QVERIFY2(ran, "the press did not wait for the version window");
    } else {
        press(Main, u"btnUsage"_qs);
        whileOpen(window(Usage));
    }
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
        press(Main, u"btnUsage"_qs);
        QWidget *usage = window(Usage);
        auto *ok = control<QPushButton>(Usage, u"OKButton"_qs);
        QVERIFY(!ok->isDefault());
        QTest::keyClick(ok, Qt::Key_Escape);
        QVERIFY(usage->isVisible());
        usage->move(210, 140);
        usage->showMinimized();
        press(Main, u"btnUsage"_qs);
        QCOMPARE(window(Usage), usage);
        QVERIFY(!usage->isMinimized());
        QCOMPARE(usage->pos(), QPoint(210, 140)); // not loaded again from the store
        QCOMPARE(LoadedWindows::names(), (QStringList{Main, Usage}));
    }

    // Modal, shown once with its texts already set. OK has the focus and is
    // the default; Tab goes to the address, which can be selected but not
    // changed.
    void versionWindow() {
        ShowWatch watch;
        qApp->installEventFilter(&watch);
        open(About, [](QWidget *about) {
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            QVERIFY(QApplication::activeModalWidget() == about || about->isModal());
            auto *ok = control<QPushButton>(About, u"cmdOK"_qs);
            auto *address = control<QLineEdit>(About, u"Text1"_qs);
            QCOMPARE(about->focusWidget(), ok);
            QVERIFY(ok->isDefault());
            QTest::keyClick(ok, Qt::Key_Tab);
            QCOMPARE(about->focusWidget(), address);
            QTest::keyClick(address, Qt::Key_A, Qt::ControlModifier);
            QCOMPARE(address->selectedText(), u"morvex@example.com"_qs);
            QTest::keyClicks(address, u"x"_qs);
            QTest::keyClick(address, Qt::Key_Backspace);
            QCOMPARE(address->text(), u"morvex@example.com"_qs);
        });
        qApp->removeEventFilter(&watch);
        QCOMPARE(watch.shown, QStringList{u"Morvexのﾊﾞｰｼﾞｮﾝ情報 Version 1.0.0"_qs});
    }

    void closeAndReopen_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("restart");
        for (const char *how : {"OK", "Enter", "close box"})
            QTest::addRow("usage, %s", how) << Usage << QString::fromLatin1(how) << false;
        QTest::newRow("usage, with the main window") << Usage << u"main window"_qs << true;
        for (const char *how : {"Esc", "Enter", "Enter in the address", "OK", "close box"})
            QTest::addRow("version, %s", how) << About << QString::fromLatin1(how) << false;
        QTest::newRow("version, Esc, restart") << About << u"Esc"_qs << true;
    }

    // However a window is closed it saves its position and opens there
    // again, first at the default corner.
    void closeAndReopen() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        QFETCH(bool, restart);
        open(window, [&](QWidget *shown) {
            QCOMPARE(shown->pos(), QPoint(twipsToPixels(1300), twipsToPixels(1300)));
            shown->move(170, 120);
            if (how == u"OK"_qs) {
                QTest::mouseClick(shown->findChild<QPushButton *>(), Qt::LeftButton);
            } else if (how == u"close box"_qs) {
                shown->close();
            } else if (how == u"main window"_qs) {
                driver::window(Main)->close();
                QVERIFY(LoadedWindows::forms().isEmpty()); // the program ends
            } else {
                if (how == u"Enter in the address"_qs)
                    control(About, u"Text1"_qs)->setFocus();
                QTest::keyClick(shown->focusWidget(),
                                how == u"Esc"_qs ? Qt::Key_Escape : Qt::Key_Return);
            }
            QVERIFY(!driver::window(window));
        });
        const QString section = window == About ? settings::AboutWindow : settings::UsageWindow;
        QCOMPARE(stored(section, settings::WindowLeft), u"2550"_qs); // 170 pixels in twips
        QCOMPARE(stored(section, settings::WindowTop), u"1800"_qs);
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
        QVERIFY(!usage);
        QCOMPARE(LoadedWindows::names(), QStringList{u"frmInvestTable"_qs});
        QVERIFY(table->isVisible());
        QCOMPARE(ended.count(), 0);
        table->close();
        QCOMPARE(ended.count(), 1);
        QCOMPARE(stored(settings::UsageWindow, settings::WindowTop), u"1305"_qs); // 87 pixels
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
