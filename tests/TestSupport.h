#pragma once

// Shared by the window tests: a private settings directory per test, message
// boxes captured instead of shown, and driving the real widgets.
#include "app/Program.h"
#include "ui/Form.h"
#include "ui/LoadedWindows.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace morvex::test {

// Points the settings store at a fresh temporary directory for its lifetime.
class ScopedConfigDir {
public:
    ScopedConfigDir() : previous_(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
    }
    ~ScopedConfigDir() { qputenv("XDG_CONFIG_HOME", previous_); }
    QString path() const { return dir_.path(); }

private:
    QByteArray previous_;
    QTemporaryDir dir_;
};

struct Message {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

// Records every message box the program would show, and answers it at once.
class MessageRecorder {
public:
    MessageRecorder() {
        setMessageBoxHook([this](QMessageBox &box) {
            messages.append({box.windowTitle(), box.text(), box.icon(), box.standardButtons()});
        });
    }
    ~MessageRecorder() { setMessageBoxHook({}); }
    QList<Message> messages;
};

// The loaded window of that name, or nullptr.
inline Form *loadedWindow(const QString &name) {
    for (Form *form : LoadedWindows::forms())
        if (form->formName() == name)
            return form;
    return nullptr;
}

// Lets windows closed since the last call really go away.
inline void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closes every loaded window, last loaded first, and flushes them.
inline void closeAllWindows() {
    while (!LoadedWindows::forms().isEmpty())
        LoadedWindows::forms().constLast()->close();
    flushDeletes();
}

// One run of the program for one test: its own settings directory, the
// program started, and every window closed again at the end.
class ProgramRun {
public:
    ProgramRun() { startProgram(); }
    ~ProgramRun() { closeAllWindows(); }

private:
    ScopedConfigDir config_; // made before the start, removed after the close
};

template <typename W> W *child(QWidget *window, const QString &name) {
    W *widget = window ? window->findChild<W *>(name) : nullptr;
    if (!widget)
        qFatal("no %s in the window", qPrintable(name));
    return widget;
}

// Replaces the text of a box the way a user would: select all, delete, type.
// Text beyond Latin-1 arrives as an input method commits it.
inline void typeInto(QLineEdit *box, const QString &text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    bool latin1 = true;
    for (QChar c : text)
        latin1 = latin1 && c.unicode() < 0x80 && c.unicode() >= 0x20;
    if (latin1) {
        QTest::keyClicks(box, text);
    } else {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
    }
}

} // namespace morvex::test
