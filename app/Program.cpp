#include "app/Program.h"

#include "settings/SettingsStore.h"
#include "ui/Fonts.h"
#include "ui/LoadedWindows.h"
#include "ui/ProgramIcon.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QGuiApplication>

namespace morvex {

void startProgram() {
    QApplication::setQuitOnLastWindowClosed(false);
    // Ties the windows to the desktop entry: the id of the installed
    // com.example.morvex.desktop (Wayland's app id; on X11 the entry's
    // StartupWMClass names the window class, the executable's name).
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVEX_APP_ID));
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
