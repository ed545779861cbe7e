#include "app/Program.h"

#include "ui/Fonts.h"
#include "ui/LoadedWindows.h"
#include "ui/ProgramIcon.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// Qt's own texts (the save dialog, its question before it replaces a file,
// the standard buttons, a text box's context menu) in the language of the
// system's locale, where Qt's catalogue for it is there: Qt's translations
// folder (on Debian, qt6-translations-l10n), else the folder "translations"
// beside the executable (the Windows folder carries qtbase_ja.qm there). The
// program's own texts are Japanese whatever the locale.
void translateQtTexts() {
    auto *translator = new QTranslator(qApp);
    for (const QString &folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QCoreApplication::applicationDirPath() + u"/translations"_s})
        if (translator->load(QLocale::system(), u"qtbase"_s, u"_"_s, folder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    delete translator;
}

#ifdef Q_OS_UNIX
// Closes every window the way its close box does, the main window first, so
// that each one's unload saves what it keeps (one the main window's unload
// has closed already is not unloaded again). A window already closing (the
// signal came while it showed a message) has its message answered and is
// left to finish.
void closeEveryWindow() {
    LoadedWindows::dismissNested();
    const QList<Form *> loaded = LoadedWindows::forms();
    for (const QPointer<Form> &window : QList<QPointer<Form>>(loaded.cbegin(), loaded.cend()))
        if (window) // not deleted under a message that a closing window showed
            window->close();
}

int signalSocket[2] = {-1, -1};

// Never blocks and leaves errno as it found it for the code it interrupted.
// A full socket drops the byte: one waiting byte already wakes the loop.
void noteSignal(int) {
    const int interrupted = errno;
    const char byte = 0;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[1], &byte, 1);
    errno = interrupted;
}

// A logout, a session manager or kill ends the program as closing its
// windows would. The handler only notes the signal; the windows are closed
// from the event loop, which reads every byte noted so far at once: a storm
// of signals closes the program as one does. The buffer is kept small: what
// nobody reads (the loop busy closing, or ended) soon fills it, and the
// handler drops the rest.
void closeOnTerminationSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    for (int end : signalSocket)
        ::fcntl(end, F_SETFL, O_NONBLOCK);
    const int smallest = 1; // the system rounds it up to its minimum
    ::setsockopt(signalSocket[1], SOL_SOCKET, SO_SNDBUF, &smallest, sizeof smallest);
    auto *notifier = new QSocketNotifier(signalSocket[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char bytes[64];
        while (::read(signalSocket[0], bytes, sizeof bytes) > 0) {
        }
        closeEveryWindow();
    });
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
#endif

} // namespace

void startProgram() {
    static const bool once = [] {
        QApplication::setQuitOnLastWindowClosed(false);
        translateQtTexts();
        // Ties the windows to the desktop entry: the id of the installed
        // com.example.morvex.desktop (Wayland's app id; on X11 the entry's
        // StartupWMClass names the window class, the executable's name).
        QGuiApplication::setDesktopFileName(QStringLiteral(MORVEX_APP_ID));
        QApplication::setWindowIcon(programIcon());
        QApplication::setFont(uiFont()); // message boxes too
        QObject::connect(&LoadedWindows::instance(), &LoadedWindows::allUnloaded, qApp,
                         &QCoreApplication::quit, Qt::QueuedConnection);
#ifdef Q_OS_UNIX
        closeOnTerminationSignals();
#endif
        return true;
    }();
    Q_UNUSED(once);
    Form::load<frmMain>()->show();
}

} // namespace morvex
