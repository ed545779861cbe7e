// The usage and version windows as a user meets them: their texts, fonts and
// layout, the keys, where they reopen, and how the usage window goes when the
// main window closes.
#include "tests/TestSupport.h"

#include "core/Twips.h"
#include "settings/SettingsStore.h"
#include "ui/Controls.h"
#include "ui/Fonts.h"
#include "ui/ProgramIcon.h"

#include <QFontInfo>
#include <QGroupBox>
#include <QPointer>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <functional>
#include <memory>

using namespace morvex;
using namespace morvex::test;

namespace {

const QString Main = u"frmMain"_qs, Usage = u"frmUsage"_qs, About = u"frmAbout"_qs;

QWidget *mainWindow() {
    return loadedWindow(Main);
}

QWidget *pressUsage() {
    child<QPushButton>(mainWindow(), u"btnUsage"_qs)->click();
    return loadedWindow(Usage);
}

// Presses the window's button on the main window and runs `whileOpen` on
// the window. The version window is modal: the press returns only once it
// has closed, so `whileOpen` runs from inside that wait, and what it leaves
// open is closed after it.
void open(const QString &window, const std::function<void(QWidget *)> &whileOpen) {
    const bool modal = window == About;
    bool ran = false;
    auto inspect = [&] {
        ran = true;
        QPointer<QWidget> shown = loadedWindow(window);
        QVERIFY(shown);
        whileOpen(shown);
        if (modal && shown)
            shown->close();
    };
    QObject scope; // ends the timer should the press not wait
    if (modal)
        QTimer::singleShot(0, &scope, inspect);
    child<QPushButton>(mainWindow(), modal ? u"btnAbout"_qs : u"btnUsage"_qs)->click();
    if (!modal)
        inspect();
    QVERIFY2(ran, "the press did not wait for the version window");
}

// Notes caption and version text each time a version window is shown.
struct ShowWatch : QObject {
    QStringList shown;
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show && watched->objectName() == About)
            shown << watched->property("windowTitle").toString() + u' ' +
                         watched->findChild<QLabel *>(u"lblVersion"_qs)->text();
        return false;
    }
};

} // namespace

class TestInfoWindows : public QObject {
    Q_OBJECT
    std::optional<ProgramRun> run_;

private slots:
    void init() { run_.emplace(); }
    void cleanup() { run_.reset(); }

    void controls_data();
    void controls() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QString, text);
        QFETCH(QRect, drawn);
        open(window, [&](QWidget *shown) {
            QWidget *control = name == window ? shown : child<QWidget>(shown, name);
            QVERIFY(control->isVisible());
            QCOMPARE(control->parent() ? control->parent()->objectName() : QString(), parent);
            // Labels, buttons and boxes have a text, frames a title; a
            // shape has neither.
            const bool frame = qobject_cast<QGroupBox *>(control);
            const char *property = control->isWindow() ? "windowTitle" : frame ? "title" : "text";
            QCOMPARE(control->property(property).toString(), text);
            if (auto *label = qobject_cast<QLabel *>(control)) // nothing cut off
                QVERIFY(label->sizeHint().boundedTo(label->size()) == label->sizeHint());
            if (control == shown) { // a fixed size, without minimise or maximise button
                QCOMPARE(control->minimumSize(), control->maximumSize());
                QVERIFY(!(control->windowFlags() & Qt::WindowMinMaxButtonsHint));
            }
            QRect box(control->pos(), control->size());
            if (name == u"Text1"_qs) { // widened to show the address, short of the button
                QVERIFY(box.width() >= drawn.width());
                QVERIFY(box.right() < child<QWidget>(shown, u"cmdOK"_qs)->x());
                box.setWidth(drawn.width());
            }
            QCOMPARE(box, drawn);
        });
    }

    // The help lines are monospaced, so that the glossary's full-width spaces
    // line its colons up; the frames and the button keep the window's font.
    void usageFontsLineUpTheGlossary() {
        QWidget *usage = pressUsage();
        const QStringList monospaced{u"ＭＳ ゴシック"_qs, u"MS Gothic"_qs, u"IPAGothic"_qs,
                                     u"Noto Sans Mono CJK JP"_qs};
        QCOMPARE(usage->findChildren<QLabel *>().size(), 14);
        for (const QLabel *label : usage->findChildren<QLabel *>()) {
            const QFontInfo font(label->font());
            QVERIFY(monospaced.contains(font.family()) && font.pointSize() == 9 && !font.bold());
        }
        for (const char *name : {"Frame1", "Frame2", "OKButton"})
            QCOMPARE(child<QWidget>(usage, QLatin1String(name))->font(), uiFont());

        QSet<int> colons; // x in the frame
        for (const QLabel *label : child<QWidget>(usage, u"Frame2"_qs)->findChildren<QLabel *>()) {
            const QString term = label->text().section(u'：', 0, 0);
            colons << label->x() + label->fontMetrics().horizontalAdvance(term);
        }
        QCOMPARE(colons.size(), 1);
    }

    // Esc does nothing: the button is neither default nor cancel (Enter
    // presses it as it has the focus). A second press brings up the same
    // window, where it is.
    void usageWindowStaysOpen() {
        QWidget *usage = pressUsage();
        auto *ok = child<QPushButton>(usage, u"OKButton"_qs);
        QVERIFY(!ok->isDefault());
        QTest::keyClick(ok, Qt::Key_Escape);
        QVERIFY(usage->isVisible());
        usage->move(210, 140);
        QCOMPARE(pressUsage(), usage);
        QCOMPARE(usage->pos(), QPoint(210, 140)); // not loaded again from the store
        QCOMPARE(LoadedWindows::names(), (QStringList{Main, Usage}));
    }

    // Modal, shown once with its texts already set; the program's icon; down
    // the middle, the frame's top edge and the etched separator. OK has the focus and is the
    // default; Tab goes to the address, which can be selected but not changed, and shows whole:
    // with the cursor at its end (the box scrolls to the cursor when it
    // paints) the text has not moved.
    void versionWindow() {
        ShowWatch watch;
        qApp->installEventFilter(&watch);
        open(About, [](QWidget *about) {
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            QCOMPARE(child<QLabel>(about, u"picIcon"_qs)->pixmap().toImage(),
                     programIcon().pixmap(32, 32).toImage());
            const QImage image = about->grab().toImage();
            auto at = [&](int y) { return image.pixelColor(about->width() / 2, twipsToPixels(y)); };
            QCOMPARE((QList<QColor>{at(1200), at(2445), at(2460)}),
                     (QList<QColor>{about->palette().windowText().color(), QColor(128, 128, 128),
                                    Qt::white}));

            auto *ok = child<QPushButton>(about, u"cmdOK"_qs);
            auto *address = child<QLineEdit>(about, u"Text1"_qs);
            auto cursorX = [address] {
                address->grab();
                return address->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
            };
            const int start = cursorX();
            QCOMPARE(about->focusWidget(), ok);
            QVERIFY(ok->isDefault());
            QTest::keyClick(ok, Qt::Key_Tab);
            QCOMPARE(about->focusWidget(), address);
            QTest::keyClick(address, Qt::Key_A, Qt::ControlModifier);
            QCOMPARE(address->selectedText(), u"morvex@example.com"_qs);
            const int end = cursorX();
            QCOMPARE(end - start, address->fontMetrics().horizontalAdvance(address->text()));
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

    // However a window is closed it saves its position and opens there again,
    // also when pressed for before the old one is deleted (open() finds only
    // loaded windows).
    void closeAndReopen() {
        QFETCH(QString, window);
        QFETCH(QString, how);
        QFETCH(bool, restart);
        open(window, [&](QWidget *shown) {
            shown->move(170, 120);
            if (how == u"OK"_qs) {
                QTest::mouseClick(shown->findChild<QPushButton *>(), Qt::LeftButton);
            } else if (how == u"close box"_qs) {
                shown->close();
            } else if (how == u"main window"_qs) {
                mainWindow()->close();
                QVERIFY(LoadedWindows::forms().isEmpty()); // the program ends
            } else if (how == u"Enter in the address"_qs) {
                child<QLineEdit>(shown, u"Text1"_qs)->setFocus();
                QTest::keyClick(shown->focusWidget(), Qt::Key_Enter);
            } else {
                QTest::keyClick(shown->focusWidget(),
                                how == u"Esc"_qs ? Qt::Key_Escape : Qt::Key_Return);
            }
            QVERIFY(!loadedWindow(window));
        });
        const QString section = window == About ? u"AboutWindow"_qs : u"UsageWindow"_qs;
        QCOMPARE(settings::readSetting(settings::applicationName(), section, u"WindowLeft"_qs, {}),
                 u"2550"_qs); // 170 pixels in twips
        if (restart) {
            closeAllWindows();
            startProgram();
        }
        open(window, [&](QWidget *shown) { QCOMPARE(shown->pos(), QPoint(170, 120)); });
    }

    // The main window closes the first other window in load order, the usage
    // window here; the table window stays and the program ends with it. (With
    // only the usage window open, see closeAndReopen.)
    void mainWindowClosesTheUsageWindowOnly() {
        QPointer<QWidget> usage = pressUsage();
        child<QPushButton>(mainWindow(), u"btnTable"_qs)->click();
        QPointer<QWidget> table = loadedWindow(u"frmInvestTable"_qs);
        QVERIFY(usage && table);
        QSignalSpy ended(&LoadedWindows::instance(), &LoadedWindows::allUnloaded);
        mainWindow()->close();
        flushDeletes();
        QVERIFY(!usage);
        QCOMPARE(LoadedWindows::names(), QStringList{u"frmInvestTable"_qs});
        QVERIFY(table->isVisible());
        QCOMPARE(ended.count(), 0);
        table->close();
        QCOMPARE(ended.count(), 1);
    }
};

// Every text of both windows, and each control's box in twips relative
// to its parent. A window's own row gives its caption, where it first
// opens and its client size.
void TestInfoWindows::controls_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("drawn");
    QString window = Usage, parent;
    auto row = [&](const char *name, const char *text, QRect t) {
        QTest::addRow("%s %s", qPrintable(window), name)
            << window << QString::fromLatin1(name) << parent << QString::fromUtf8(text)
            << controls::twipsRect(t.x(), t.y(), t.width(), t.height());
    };
    row("frmUsage", "Morvexの使い方", {1300, 1300, 6060, 6210});
    parent = Usage;
    row("Frame1", "使い方", {240, 120, 5655, 2655});
    row("Frame2", "用語の説明", {240, 3000, 5655, 2535});
    row("OKButton", "OK", {4560, 5760, 1215, 375});
    parent = u"Frame1"_qs;
    row("Label1", "開始金額，倍率，連敗数を設定して", {240, 360, 3975, 255});
    row("Label2", "[今回投資額算出]ボタンを押すだけです。", {240, 720, 3495, 255});
    row("Label3", "あとは今回投資額分の馬券を買うだけです。 Good Luck!", {240, 1080, 4815, 255});
    row("Label4", "なお、いかなる損害が出ようとも作者は一切責任を負いません。",
        {240, 1440, 5295, 255});
    row("Label12", "個人的には配当3倍のﾜｲﾄﾞなら10ﾚｰｽ以内に当たると思いますが",
        {240, 1800, 5295, 255});
    row("Label13", "運悪く10連敗しないとは限りまへん。", {240, 2160, 5295, 255});
    parent = u"Frame2"_qs;
    row("Label5", "開始金額　　：投資の基本金額（通常１ﾚｰｽに使う位の額）", {360, 360, 4935, 255});
    row("Label6", "倍率　　　　：10ﾚｰｽ以内に当てる自信のあるオッズ", {360, 600, 4455, 255});
    row("Label7", "連敗数　　　：何連敗中か、的中直後は０", {360, 840, 4455, 255});
    row("Label14", "上昇率　　　：不的中時の投資額の追い上げ率", {360, 1080, 4455, 255});
    row("Label8", "今回投資額　：今回の投資金額", {360, 1440, 4455, 255});
    row("Label9", "累計投資額　：今回までの投資金額合計", {360, 1680, 4455, 255});
    row("Label10", "的中時回収額：今回の投資が成功した場合の払戻金額", {360, 1920, 4455, 255});
    row("Label11", "的中時利益　：累計投資額－的中時回収額", {360, 2160, 4455, 255});

    window = About;
    parent.clear();
    row("frmAbout", "Morvexのﾊﾞｰｼﾞｮﾝ情報", {1300, 1300, 5430, 3720});
    parent = About;
    row("picIcon", "", {240, 240, 540, 540});
    row("lblTitle", "Morvex For Windows98", {1050, 240, 2085, 360});
    row("lblVersion", "Version 1.0.0", {3240, 240, 1215, 255});
    row("llblCopyRight", "Copyright (C) 2026 Morvex project", {1080, 720, 4365, 345});
    row("Shape1", "", {840, 1200, 4215, 1095});
    row("lblDescription", "例えば３倍の配当の馬券を、１０回以内に当てる", {1080, 1440, 4245, 330});
    row("Label2", "自信があれば確実に利益が出せます。", {1080, 1800, 3375, 375});
    row("lblDisclaimer", "このソフトはフリーソフトなのでコピー等ご自由にどうぞ～",
        {255, 2625, 4590, 345});
    row("Label1", "E-Mail", {240, 3195, 735, 255});
    row("Text1", "morvex@example.com", {1080, 3120, 1335, 362});
    row("cmdOK", "OK", {3960, 3240, 1140, 345});
}

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
