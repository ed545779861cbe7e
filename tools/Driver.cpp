#include "tools/Driver.h"

#include "core/RaceStore.h"
#include "settings/Store.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPointer>
#include <QSettings>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace morvex::driver {
namespace {

// A paint device that notes each text drawn on it and the box it covers.
class TextRecorder : public QPaintDevice, QPaintEngine {
public:
    explicit TextRecorder(QSize size) : QPaintEngine(AllFeatures), size_(size) {}
    QList<QPair<QString, QRectF>> texts;

    QPaintEngine *paintEngine() const override { return const_cast<TextRecorder *>(this); }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &state) override {
        if (state.state() & DirtyTransform)
            transform_ = state.transform();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {} // frames, lines and shapes; no text
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF &at, const QTextItem &item) override {
        const QRectF box(at.x(), at.y() - item.ascent(), item.width(),
                         item.ascent() + item.descent());
        texts.append({item.text(), transform_.mapRect(box)});
    }
    Type type() const override { return User; }
    int metric(PaintDeviceMetric m) const override {
        const bool dpi =
            m == PdmDpiX || m == PdmDpiY || m == PdmPhysicalDpiX || m == PdmPhysicalDpiY;
        return m == PdmWidth                    ? size_.width()
               : m == PdmHeight                 ? size_.height()
               : dpi                            ? 96
               : m == PdmDevicePixelRatioScaled ? int(devicePixelRatioFScale())
               : m == PdmDepth                  ? 32
                                                : 1;
    }

private:
    QSize size_;
    QTransform transform_;
};

} // namespace

QList<QPair<QString, QRectF>> drawnTexts(QWidget *widget) {
    TextRecorder drawn(widget->size());
    widget->render(&drawn);
    return drawn.texts;
}

std::pair<QString, QRectF> drawnText(QWidget *label) {
    std::pair<QString, QRectF> whole;
    for (const auto &[text, box] : drawnTexts(label))
        whole = {whole.first + text, whole.second | box};
    return whole;
}

bool shownWhole(QWidget *label) {
    const QRectF room =
        QRectF(qobject_cast<QFrame *>(label)->contentsRect()).adjusted(-0.5, 0, 1.5, 0);
    const auto [text, box] = drawnText(label);
    return text == label->property("text").toString() && box.left() >= room.left() &&
           box.right() <= room.right();
}

ScratchSettings::ScratchSettings() : previous_(qgetenv("XDG_CONFIG_HOME")) {
    static int count = 0;
    qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
    name_ = u"MorvexScratch-%1-%2"_s.arg(QCoreApplication::applicationPid()).arg(++count);
    settings::useApplicationName(name_);
    UseRecordFolder(folder_.path());
}

ScratchSettings::~ScratchSettings() {
#ifdef Q_OS_WIN
    QSettings(u"HKEY_CURRENT_USER\\Software\\"_s + name_, QSettings::NativeFormat).remove({});
#endif
    settings::useApplicationName({});
    UseRecordFolder({});
    qputenv("XDG_CONFIG_HOME", previous_);
}

MessageRecorder::MessageRecorder() {
    setMessageBoxHook([this](QMessageBox &box) {
        const bool plain =
            box.icon() == QMessageBox::Warning && box.standardButtons() == QMessageBox::Ok;
        const bool question = box.icon() == QMessageBox::Question &&
                              box.standardButtons() == (QMessageBox::Yes | QMessageBox::No);
        messages.append(box.windowTitle() + u" / "_s + box.text() +
                        (plain || question ? QString() : u" (not a warning with OK)"_s));
        box.done(question ? answer : QMessageBox::Ok);
    });
}

MessageRecorder::~MessageRecorder() {
    setMessageBoxHook({});
}

SaveDialogAnswer::SaveDialogAnswer(const QString &path) {
    setSaveFileNameHook([this, path](const QString &caption, const QString &suggested) {
        asked.append(caption + u" / "_s + suggested);
        return path;
    });
}

SaveDialogAnswer::~SaveDialogAnswer() {
    setSaveFileNameHook({});
}

Form *window(const QString &name) {
    for (Form *form : LoadedWindows::forms())
        if (form->formName() == name)
            return form;
    return nullptr;
}

QWidget *findControl(const QString &windowName, const QString &name) {
    Form *form = window(windowName);
    QWidget *widget = form ? form->findChild<QWidget *>(name) : nullptr;
    if (!widget)
        qFatal("no %s in %s", qPrintable(name), qPrintable(windowName));
    return widget;
}

QString text(const QString &window, const QString &name) {
    QWidget *widget = findControl(window, name);
    if (auto *list = qobject_cast<QComboBox *>(widget))
        return list->currentText();
    return widget->property("text").toString();
}

void type(QLineEdit *box, const QString &text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7f;
    if (ascii) {
        QTest::keyClicks(box, text);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
    }
}

void enterInputs(const QString &start, const QString &odds, int defeats) {
    type(control<QLineEdit>(u"frmMain"_s, u"txtStartAmount"_s), start);
    type(control<QLineEdit>(u"frmMain"_s, u"txtOdds"_s), odds);
    control<QComboBox>(u"frmMain"_s, u"cmbDefeats"_s)->setCurrentIndex(defeats);
}

void press(const QString &window, const QString &button) {
    QTest::mouseClick(control<QAbstractButton>(window, button), Qt::LeftButton);
}

void withVersionWindow(const std::function<void(QWidget *)> &whileOpen) {
    QObject scope; // ends the timer should the press not wait
    bool ran = false;
    QTimer::singleShot(0, &scope, [&] {
        QPointer<QWidget> about = window(u"frmAbout"_s);
        if (!about || !about->isVisible())
            qFatal("the version button showed no version window");
        ran = true;
        whileOpen(about);
        if (about)
            about->close();
    });
    control<QAbstractButton>(u"frmMain"_s, u"btnAbout"_s)->click();
    if (!ran)
        qFatal("the version button did not wait for its window");
}

void onWindow(const QString &name, const std::function<void(QWidget *)> &run) {
    if (name == u"frmAbout"_s)
        withVersionWindow(run);
    else
        run(window(name));
}

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void closeAll() {
    while (!LoadedWindows::forms().isEmpty())
        LoadedWindows::forms().constLast()->close();
    flushDeletes();
}

void trigger(const QString &window, const QString &action) {
    Form *form = driver::window(window);
    auto *found = form ? form->findChild<QAction *>(action) : nullptr;
    if (!found)
        qFatal("no action %s in %s", qPrintable(action), qPrintable(window));
    found->trigger();
}

void showChart(const QString &start, const QString &odds, const QString &bankroll) {
    enterInputs(start, odds, -1);
    press(u"frmMain"_s, u"btnTable"_s);
    trigger(u"frmInvestTable"_s, u"chartAction"_s);
    type(control<QLineEdit>(u"frmChart"_s, u"txtBankroll"_s), bankroll);
    press(u"frmChart"_s, u"btnDraw"_s);
}

void showTypicalRequest() {
    enterInputs(u"1000"_s, u"3.0"_s, 2);
    press(u"frmMain"_s, u"btnCalcAmount"_s);
    press(u"frmMain"_s, u"btnTable"_s);
    trigger(u"frmInvestTable"_s, u"chartAction"_s);
    press(u"frmMain"_s, u"btnUsage"_s);
}

void showRaceLog() {
    trigger(u"frmMain"_s, u"raceLogAction"_s);
    type(control<QLineEdit>(u"frmRaceLog"_s, u"txtOdds"_s), u"3.0"_s);
}

} // namespace morvex::driver
