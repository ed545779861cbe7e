#include "app/CommandLine.h"

#include "core/Version.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

enum class CommandLineRequest { Start, Help, Version };

CommandLineRequest commandLineRequest(const QStringList &arguments) {
    QCommandLineParser parser;
    // "-reverse" or "-stylesheet" (Qt's own options) are single words, not
    // runs of one-letter options that would contain -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{u"h"_s, u"help"_s});
    const QCommandLineOption version(QStringList{u"v"_s, u"version"_s});
    parser.addOption(help);
    parser.addOption(version);
    parser.parse(arguments); // unknown options are no error: they are ignored
    if (parser.isSet(help))
        return CommandLineRequest::Help;
    if (parser.isSet(version))
        return CommandLineRequest::Version;
    return CommandLineRequest::Start;
}

// The application title and the version: "Morvex 1.0.0".
QString versionText() {
    return u"%1 %2.%3.%4\n"_s.arg(QString::fromUtf8(ApplicationTitle))
        .arg(VersionMajor)
        .arg(VersionMinor)
        .arg(VersionRevision);
}

QString helpText(const QString &program, const QLocale &locale) {
    if (locale.language() == QLocale::Japanese)
        return u"使い方: %1 [--help | --version]\n"
               "競馬の「追い上げ」投資額を計算するウィンドウを開きます。\n"
               "ほかの引数は受け付けず、指定しても無視します。\n"
               "\n"
               "  -h, --help     この説明を表示して終了します\n"
               "  -v, --version  バージョンを表示して終了します\n"_s.arg(program);
    return u"Usage: %1 [--help | --version]\n"
           "Opens a window that works out the stakes of a progressive betting plan\n"
           "on horse races. Any other argument is ignored.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "  -v, --version  show the version and exit\n"_s.arg(program);
}

// Writes the answer to standard output as UTF-8: a terminal, or the file or
// pipe it is redirected to. A windowed program on Windows typed at a
// console's prompt has no standard output: it writes to the console of the
// process that started it instead, as UTF-16, so that the console's code
// page does not matter; started without any console, it shows nothing.
bool writeAnswer(const QString &text) {
#ifdef Q_OS_WIN
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE)
        out = nullptr;
    DWORD mode = 0;
    const bool console = out != nullptr && GetConsoleMode(out, &mode);
    if (console || out == nullptr || GetFileType(out) == FILE_TYPE_UNKNOWN) {
        if (!console)
            out = AttachConsole(ATTACH_PARENT_PROCESS)
                      ? CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr)
                      : nullptr;
        if (out == nullptr || out == INVALID_HANDLE_VALUE)
            return false;
        const QString lines = QString(text).replace(u'\n', u"\r\n"_s);
        DWORD written = 0;
        return WriteConsoleW(out, lines.utf16(), DWORD(lines.size()), &written, nullptr) &&
               written == DWORD(lines.size());
    }
#endif
    std::fputs(text.toUtf8().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString text;
    switch (commandLineRequest(arguments)) {
    case CommandLineRequest::Start:
        return std::nullopt;
    case CommandLineRequest::Help:
        text = helpText(QFileInfo(arguments.value(0)).fileName(), QLocale::system());
        break;
    case CommandLineRequest::Version:
        text = versionText();
        break;
    }
    return writeAnswer(text) ? 0 : 1;
}

} // namespace morvex
