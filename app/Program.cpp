#include "app/Program.h"

#include "settings/SettingsStore.h"
#include "ui/Fonts.h"
#include "ui/LoadedWindows.h"
#include "ui/ProgramIcon.h"
#include "ui/frmMain.h"

#include <QApplication>

namespace morvex {

void startProgram() {
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(programIcon());
    QApplication::setFont(uiFont()); // message boxes too
    static const QMetaObject::Connection quitWhenUnloaded =
        QObject::connect(&LoadedWindows::instance(), &LoadedWindows::allUnloaded, qApp,
                         &QCoreApplication::quit, Qt::QueuedConnection);
    settings::resetFailureReport();
    auto *window = new frmMain;
    window->show();
}

} // namespace morvex
