#pragma once

// Finding the program's windows and driving them as a user would: typing
// into the real boxes, picking from the list, pressing the buttons. Shared
// by the tests, the fuzz targets and the screenshot tool.
#include "ui/Form.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QRectF>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

namespace morvex::driver {

// Settings of their own for a run that must not touch the user's: a fresh
// configuration folder and application name (on Windows, a fresh registry
// key), and a race record in that folder, removed afterwards.
class ScratchSettings {
public:
    ScratchSettings();
    ~ScratchSettings();
    ScratchSettings(const ScratchSettings &) = delete;
    ScratchSettings &operator=(const ScratchSettings &) = delete;
    QString folder() const { return folder_.path(); }

private:
    QByteArray previous_;
    QTemporaryDir folder_;
    QString name_;
};

// Every message box the program would show, as "title / text", answered at
// once: a question with `answer`, a message with OK; a box that is neither
// a warning with a single OK button nor a question is marked.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QStringList take() { return std::exchange(messages, {}); }
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

// Every save dialog the program would show answered at once with `path`
// (empty: cancelled); each one's caption and suggested path noted, as
// "caption / path".
class SaveDialogAnswer {
public:
    explicit SaveDialogAnswer(const QString &path);
    ~SaveDialogAnswer();
    QStringList asked;
};

// The loaded window of that name, or nullptr.
Form *window(const QString &name);

// The named control of a loaded window. Stops the program, naming what it
// looked for, when there is none.
QWidget *findControl(const QString &window, const QString &name);
template <typename W = QWidget> W *control(const QString &window, const QString &name) {
    W *widget = qobject_cast<W *>(findControl(window, name));
    if (!widget)
        qFatal("%s in %s is not of the type asked for", qPrintable(name), qPrintable(window));
    return widget;
}

// What a label, box, button or list of a loaded window shows.
QString text(const QString &window, const QString &name);

// Replaces the text of a box the way a user would: select all, delete, type.
// Text beyond ASCII arrives as an input method commits it.
void type(QLineEdit *box, const QString &text);

// Fills in the main window: start amount, odds and the defeats item (-1:
// none picked).
void enterInputs(const QString &start, const QString &odds, int defeats);

// Clicks a button of a loaded window with the mouse.
void press(const QString &window, const QString &button);

// Presses the main window's version button and runs `whileOpen` on the
// version window while the press waits for it to close (it is modal); what
// `whileOpen` leaves open is closed after it. Stops the program when the
// window is not shown or the press does not wait.
void withVersionWindow(const std::function<void(QWidget *)> &whileOpen);

// Runs `run` on the loaded window of that name; the version window is opened
// as above and `run` runs while it is open.
void onWindow(const QString &name, const std::function<void(QWidget *)> &run);

// Triggers a loaded window's action (a context-menu entry) by its name.
void trigger(const QString &window, const QString &action);

// Each piece of text the widget draws and the box it covers (pixels).
QList<QPair<QString, QRectF>> drawnTexts(QWidget *widget);

// The text a label draws and the box it covers, in the label.
std::pair<QString, QRectF> drawnText(QWidget *label);

// True when the label draws its whole text inside its contents (a figure
// too wide is condensed, never cut).
bool shownWhole(QWidget *label);

// Lets windows closed since the last call really go away.
void flushDeletes();

// Closes every loaded window, the last loaded first.
void closeAll();

// Opens the chart from the table for these inputs (no defeats item picked)
// and draws it for this bankroll, typed and shown with the chart's button.
void showChart(const QString &start, const QString &odds, const QString &bankroll);

// The program after the typical request, as the screenshots show it: start
// 1000, odds 3.0, 2 defeats calculated, the table, its chart and the usage
// window open.
void showTypicalRequest();

// Opens the race record from the main window and types odds of 3.0 for the
// next race, as its reference picture shows it.
void showRaceLog();

} // namespace morvex::driver
