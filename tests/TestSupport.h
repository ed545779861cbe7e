#pragma once

// Shared by the window tests: the program run for one test with settings of
// its own, and what the store holds.
#include "app/Program.h"
#include "settings/Store.h"
#include "tools/Driver.h"

#include <QAction>
#include <QFontDatabase>
#include <QTest>
#include <clocale>

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

// Under a Japanese locale the suite runs where the program's users are: the
// C library has the locale, the font database speaks Japanese (it lists the
// IPA gothics by their Japanese names) and Noto Sans CJK is installed beside
// them. What of that is missing, or nothing (also in any other locale).
inline QString japaneseDesktopLacks() {
    if (QLocale::system().language() != QLocale::Japanese)
        return {};
    QStringList lacks;
    if (!QByteArray(std::setlocale(LC_CTYPE, nullptr)).startsWith("ja_JP"))
        lacks.append(u"the locale (locale-gen ja_JP.UTF-8)"_s);
    if (!QFontDatabase::families().contains(u"IPA Pゴシック"_s))
        lacks.append(u"the IPA gothics by their Japanese names"_s);
    if (!QFontDatabase::hasFamily(u"Noto Sans CJK JP"_s))
        lacks.append(u"Noto Sans CJK (fonts-noto-cjk)"_s);
    return lacks.join(u", "_s);
}

// What a right click on the widget offers: its menu's entries, or "no menu".
inline QString menuOf(const QWidget *widget) {
    QStringList entries;
    for (const QAction *action : widget->actions())
        entries.append(action->text());
    return widget->contextMenuPolicy() == Qt::ActionsContextMenu ? entries.join(u' ')
                                                                 : u"no menu"_s;
}

// What the store holds under a key, or "none".
inline QString stored(const QString &section, const QString &key) {
    return settings::Store::read().value(section, key, u"none"_s);
}

} // namespace morvex::test
