#pragma once

// Shared by the window tests: a private settings store per test, message
// boxes captured instead of shown, and the program run for one test.
#include "app/Program.h"
#include "settings/Store.h"
#include "tools/Driver.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace morvex::test {

using namespace driver;

// Settings of its own for one test, never the user's: a fresh configuration
// folder and application name (a fresh registry key on Windows), removed
// afterwards.
class ScopedSettings {
public:
    ScopedSettings() : previous_(qgetenv("XDG_CONFIG_HOME")) {
        static int count = 0;
        qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
        name_ =
            QStringLiteral("MorvexTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
        settings::useApplicationName(name_);
    }
    ~ScopedSettings() {
#ifdef Q_OS_WIN
        QSettings(u"HKEY_CURRENT_USER\\Software\\"_qs + name_, QSettings::NativeFormat).remove({});
#endif
        settings::useApplicationName({});
        qputenv("XDG_CONFIG_HOME", previous_);
    }
    QString folder() const {
        return dir_.path();
    }
    QString name() const {
        return name_;
    }

private:
    QByteArray previous_;
    QTemporaryDir dir_;
    QString name_;
};

// Every message box the program would show, as "title / text", answered at
// once. A box that is not a warning with a single OK button is marked.
class MessageRecorder {
public:
    MessageRecorder() {
        setMessageBoxHook([this](QMessageBox &box) {
            const bool plain =
                box.icon() == QMessageBox::Warning && box.standardButtons() == QMessageBox::Ok;
            messages.append(box.windowTitle() + u" / "_qs + box.text() +
                            (plain ? QString() : u" (not a warning with OK)"_qs));
        });
    }
    ~MessageRecorder() { setMessageBoxHook({}); }
    QStringList take() { return std::exchange(messages, {}); }
    QStringList messages;
};

// One run of the program for one test: its own settings, the program
// started, and every window closed again at the end.
class ProgramRun {
public:
    ProgramRun() { startProgram(); }
    ~ProgramRun() { closeAll(); }
    ScopedSettings settings; // made before the start, removed after the close
};

// What the store holds under a key, or "none".
inline QString stored(const QString &section, const QString &key) {
    return settings::Store::read().value(section, key, u"none"_qs);
}

} // namespace morvex::test
