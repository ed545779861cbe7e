// The version window as a user meets it: opened modally from the main
// window, its texts and separator, the keys that close it, and where it
// reopens.
#include "tests/TestSupport.h"

#include "core/NumberText.h"
#include "core/Twips.h"
#include "settings/SettingsStore.h"
#include "ui/Controls.h"
#include "ui/ProgramIcon.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

using namespace morvex;
using namespace morvex::test;

namespace {

QWidget *mainWindow() {
    return loadedWindow(u"frmMain"_qs);
}

QString storedPosition(const QString &key) {
    return settings::readSetting(settings::applicationName(), u"AboutWindow"_qs, key, u"-"_qs);
}

// Presses the main window's version button and runs `whileOpen` on the
// window once it is up; `whileOpen` is expected to close it. Returns false
// when the window did not close (it is then closed here, so nothing hangs).
bool pressAbout(const std::function<void(QWidget *)> &whileOpen) {
    // Timers owned here, so that none of them outlives this call.
    bool ran = false;
    QTimer inspect;
    inspect.setSingleShot(true);
    QObject::connect(&inspect, &QTimer::timeout, [&] {
        ran = true;
        whileOpen(loadedWindow(u"frmAbout"_qs));
    });
    bool closedByCaller = true;
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        if (QWidget *left = loadedWindow(u"frmAbout"_qs)) {
            closedByCaller = false;
            left->close();
        }
    });
    inspect.start(0);
    rescue.start(2000);
    child<QPushButton>(mainWindow(), u"btnAbout"_qs)->click();
    return ran && closedByCaller && !loadedWindow(u"frmAbout"_qs);
}

// Records texts of the version window at the moment it is first shown.
class ShowWatcher : public QObject {
public:
    QString versionAtShow;
    QString captionAtShow;
    int shows = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched->objectName() == u"frmAbout"_qs) {
            auto *window = static_cast<QWidget *>(watched);
            if (shows++ == 0) {
                versionAtShow = child<QLabel>(window, u"lblVersion"_qs)->text();
                captionAtShow = window->windowTitle();
            }
        }
        return false;
    }
};

} // namespace

class TestVersionWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void textsFitTheirBoxes();
    void versionIsSetBeforeTheWindowShows();
    void modalUntilClosed();
    void okFirstInFocusOrder();
    void icon();
    void separatorAndFrameAreDrawn();
    void addressCanBeSelectedNotEdited();
    void closesAndSavesPosition_data();
    void closesAndSavesPosition();
    void firstOpenAtDefaultPosition();
    void reopensWhereItWasClosedAfterRestart();

private:
    std::unique_ptr<ScopedConfigDir> config_;
};

void TestVersionWindow::init() {
    config_ = std::make_unique<ScopedConfigDir>();
    startProgram();
    QVERIFY(mainWindow());
}

void TestVersionWindow::cleanup() {
    closeAllWindows();
    config_.reset();
}

void TestVersionWindow::window() {
    QVERIFY(pressAbout([](QWidget *about) {
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), u"Morvexのﾊﾞｰｼﾞｮﾝ情報"_qs);
        QCOMPARE(about->size(), QSize(362, 248)); // 5430 × 3720 twips
        QCOMPARE(about->minimumSize(), about->maximumSize());
        QVERIFY(!(about->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(about->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!about->parentWidget());
        QCOMPARE(LoadedWindows::names(), (QStringList{u"frmMain"_qs, u"frmAbout"_qs}));
        about->close();
    }));
}

void TestVersionWindow::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("twips");

    auto row = [](const QString &name, const QString &text, QRect twips) {
        QTest::newRow(qPrintable(name)) << name << text << twips;
    };
    row(u"picIcon"_qs, QString(), {240, 240, 540, 540});
    row(u"lblTitle"_qs, u"Morvex For Windows98"_qs, {1050, 240, 2085, 360});
    row(u"lblVersion"_qs, u"Version 1.0.0"_qs, {3240, 240, 1215, 255});
    row(u"llblCopyRight"_qs, u"Copyright (C) 2026 Morvex project"_qs, {1080, 720, 4365, 345});
    row(u"Shape1"_qs, QString(), {840, 1200, 4215, 1095});
    row(u"lblDescription"_qs, u"例えば３倍の配当の馬券を、１０回以内に当てる"_qs,
        {1080, 1440, 4245, 330});
    row(u"Label2"_qs, u"自信があれば確実に利益が出せます。"_qs, {1080, 1800, 3375, 375});
    row(u"lblDisclaimer"_qs, u"このソフトはフリーソフトなのでコピー等ご自由にどうぞ～"_qs,
        {255, 2625, 4590, 345});
    row(u"Label1"_qs, u"E-Mail"_qs, {240, 3195, 735, 255});
    // The address box is at least as wide as drawn; it grows to show the
    // whole address.
    row(u"Text1"_qs, u"morvex@example.com"_qs, {1080, 3120, 1335, 362});
    row(u"cmdOK"_qs, u"OK"_qs, {3960, 3240, 1140, 345});
}

void TestVersionWindow::controls() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QRect, twips);
    const QRect drawn = controls::twipsRect(twips.x(), twips.y(), twips.width(), twips.height());

    QVERIFY(pressAbout([&](QWidget *about) {
        auto *control = child<QWidget>(about, name);
        about->close();
        QCOMPARE(control->parentWidget(), about);
        if (auto *label = qobject_cast<QLabel *>(control))
            QCOMPARE(label->text(), text);
        else if (auto *box = qobject_cast<QLineEdit *>(control))
            QCOMPARE(box->text(), text);
        else if (auto *button = qobject_cast<QPushButton *>(control))
            QCOMPARE(button->text(), text);
        else
            QVERIFY(text.isEmpty());
        if (name == u"Text1"_qs) {
            QCOMPARE(control->pos(), drawn.topLeft());
            QCOMPARE(control->height(), drawn.height());
            QVERIFY(control->width() >= drawn.width());
            auto *ok = child<QWidget>(about, u"cmdOK"_qs);
            QVERIFY(control->geometry().right() < ok->x());
        } else {
            QCOMPARE(control->geometry(), drawn);
        }
    }));
}

void TestVersionWindow::textsFitTheirBoxes() {
    QVERIFY(pressAbout([](QWidget *about) {
        about->close();
        for (const QLabel *label : about->findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->contentsRect().height(),
                     qPrintable(label->objectName()));
        }
        // The whole address shows at once: with the cursor at its end the
        // box has not scrolled (it scrolls when it paints).
        auto *address = child<QLineEdit>(about, u"Text1"_qs);
        address->setCursorPosition(0);
        address->grab();
        const int start = address->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        address->setCursorPosition(int(address->text().size()));
        address->grab();
        const int end = address->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        QCOMPARE(end - start, address->fontMetrics().horizontalAdvance(address->text()));
        QVERIFY(end < address->width());
    }));
}

void TestVersionWindow::versionIsSetBeforeTheWindowShows() {
    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    QVERIFY(pressAbout([](QWidget *about) {
        QCOMPARE(child<QLabel>(about, u"lblVersion"_qs)->text(), u"Version 1.0.0"_qs);
        about->close();
    }));
    qApp->removeEventFilter(&watcher);
    QCOMPARE(watcher.shows, 1);
    QCOMPARE(watcher.versionAtShow, u"Version 1.0.0"_qs);
    QCOMPARE(watcher.captionAtShow, u"Morvexのﾊﾞｰｼﾞｮﾝ情報"_qs);
}

// The button's handler returns only once the window has closed (pressAbout
// inspects it from inside the handler's wait).
void TestVersionWindow::modalUntilClosed() {
    QVERIFY(pressAbout([](QWidget *about) {
        QVERIFY(about);
        QCOMPARE(about->windowModality(), Qt::ApplicationModal);
        QCOMPARE(QApplication::activeModalWidget(), about);
        QTest::qWait(20); // more events go by, and it stays
        QVERIFY(about->isVisible());
        QCOMPARE(loadedWindow(u"frmAbout"_qs), about);
        about->close();
    }));
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(LoadedWindows::names(), QStringList{u"frmMain"_qs});
}

void TestVersionWindow::okFirstInFocusOrder() {
    QVERIFY(pressAbout([](QWidget *about) {
        auto *ok = child<QPushButton>(about, u"cmdOK"_qs);
        QCOMPARE(about->focusWidget(), ok);
        QVERIFY(ok->isDefault());
        // Tab goes on to the address box and comes back.
        QTest::keyClick(ok, Qt::Key_Tab);
        QCOMPARE(about->focusWidget(), child<QWidget>(about, u"Text1"_qs));
        QTest::keyClick(about->focusWidget(), Qt::Key_Tab);
        QCOMPARE(about->focusWidget(), ok);
        about->close();
    }));
}

void TestVersionWindow::icon() {
    QVERIFY(!programIcon().pixmap(32, 32).isNull());
    QVERIFY(pressAbout([](QWidget *about) {
        const QPixmap shown = child<QLabel>(about, u"picIcon"_qs)->pixmap();
        about->close();
        QCOMPARE(shown.size(), QSize(32, 32));
        QCOMPARE(shown.toImage(), programIcon().pixmap(32, 32).toImage());
    }));
}

// The etched separator: a grey pixel row with two white rows right below,
// across the window; and the rectangle's border around the description,
// which does not hide the labels inside it.
void TestVersionWindow::separatorAndFrameAreDrawn() {
    QVERIFY(pressAbout([](QWidget *about) {
        const QImage image = about->grab().toImage();
        const int grey = twipsToPixels(2445);
        const int white = twipsToPixels(2460);
        for (int x : {twipsToPixels(150), about->width() / 2, about->width() - 1}) {
            QCOMPARE(image.pixelColor(x, grey), QColor(128, 128, 128));
            QCOMPARE(image.pixelColor(x, white), QColor(Qt::white));
            QCOMPARE(image.pixelColor(x, white + 1), QColor(Qt::white));
        }
        const QRect shape = controls::twipsRect(840, 1200, 4215, 1095);
        const QColor border = about->palette().color(QPalette::WindowText);
        QCOMPARE(image.pixelColor(shape.left(), shape.center().y()), border);
        QCOMPARE(image.pixelColor(shape.center().x(), shape.top()), border);
        for (const char *name : {"lblDescription", "Label2"}) {
            auto *label = child<QLabel>(about, QLatin1String(name));
            QCOMPARE(about->childAt(label->geometry().center()), label);
        }
        about->close();
    }));
}

void TestVersionWindow::addressCanBeSelectedNotEdited() {
    QVERIFY(pressAbout([](QWidget *about) {
        auto *address = child<QLineEdit>(about, u"Text1"_qs);
        QVERIFY(address->isReadOnly());
        QVERIFY(address->isEnabled());
        QVERIFY(address->focusPolicy() & Qt::TabFocus);
        address->setFocus();
        QTest::keyClick(address, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(address->selectedText(), u"morvex@example.com"_qs);
        QTest::keyClicks(address, u"x"_qs);
        QTest::keyClick(address, Qt::Key_Backspace);
        QCOMPARE(address->text(), u"morvex@example.com"_qs);
        about->close();
    }));
}

void TestVersionWindow::closesAndSavesPosition_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Esc") << u"Esc"_qs;
    QTest::newRow("Enter") << u"Enter"_qs;
    QTest::newRow("Enter in the address box") << u"Enter in Text1"_qs;
    QTest::newRow("OK button") << u"OK"_qs;
    QTest::newRow("close box") << u"close box"_qs;
}

void TestVersionWindow::closesAndSavesPosition() {
    QFETCH(QString, how);
    const QPoint moved(170, 120);
    QVERIFY(pressAbout([&](QWidget *about) {
        about->move(moved);
        auto *ok = child<QPushButton>(about, u"cmdOK"_qs);
        if (how == u"Esc"_qs) {
            QTest::keyClick(about->focusWidget(), Qt::Key_Escape);
        } else if (how == u"Enter"_qs) {
            QTest::keyClick(about->focusWidget(), Qt::Key_Return);
        } else if (how == u"Enter in Text1"_qs) {
            auto *address = child<QLineEdit>(about, u"Text1"_qs);
            address->setFocus();
            QTest::keyClick(address, Qt::Key_Enter);
        } else if (how == u"OK"_qs) {
            QTest::mouseClick(ok, Qt::LeftButton);
        } else {
            about->close();
        }
    }));
    QCOMPARE(storedPosition(u"WindowTop"_qs), SingleText(float(moved.y() * TwipsPerPixel)));
    QCOMPARE(storedPosition(u"WindowLeft"_qs), SingleText(float(moved.x() * TwipsPerPixel)));
    flushDeletes();

    QPoint reopened;
    QVERIFY(pressAbout([&](QWidget *about) {
        reopened = about->pos();
        about->close();
    }));
    QCOMPARE(reopened, moved);
}

void TestVersionWindow::firstOpenAtDefaultPosition() {
    QPoint opened;
    QVERIFY(pressAbout([&](QWidget *about) {
        opened = about->pos();
        about->close();
    }));
    QCOMPARE(opened, QPoint(twipsToPixels(1300), twipsToPixels(1300)));
}

void TestVersionWindow::reopensWhereItWasClosedAfterRestart() {
    const QPoint moved(260, 200);
    QVERIFY(pressAbout([&](QWidget *about) {
        about->move(moved);
        QTest::keyClick(about->focusWidget(), Qt::Key_Escape);
    }));
    mainWindow()->close();
    QVERIFY(LoadedWindows::forms().isEmpty());
    flushDeletes();

    startProgram();
    QPoint reopened;
    QVERIFY(pressAbout([&](QWidget *about) {
        reopened = about->pos();
        about->close();
    }));
    QCOMPARE(reopened, moved);
}

QTEST_MAIN(TestVersionWindow)
#include "tst_frmabout.moc"
