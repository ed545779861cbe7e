#pragma once

// Shared by the window tests: the program run for one test with settings of
// its own, and what the store holds.
#include "app/Program.h"
#include "settings/Store.h"
#include "tools/Driver.h"

#include <QTest>

namespace morvex::test {

using namespace Qt::StringLiterals;

using namespace driver;

// One run of the program for one test: its own settings, the program
// started, and every window closed again at the end.
class ProgramRun {
public:
    ProgramRun() { startProgram(); }
    ~ProgramRun() { closeAll(); }
    ScratchSettings settings; // made before the start, removed after the close
};

// Makes a window the active one, as a click on it does, and waits until the
// platform says so.
inline bool activate(QWidget *window) {
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// What the store holds under a key, or "none".
inline QString stored(const QString &section, const QString &key) {
    return settings::Store::read().value(section, key, u"none"_s);
}

} // namespace morvex::test
