#include "ui/ProgramIcon.h"

#include <QtCore/qapplicationstatic.h>

namespace morvex {
namespace {

// QIcon decodes every PNG as it is added, and each window hands every size
// it has to the window manager. So the icon is built once, with the sizes a
// title bar, a task bar or a task switcher shows; the large ones belong to
// the desktop entry, which takes them from the installed icon theme.
QIcon buildProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/morvex-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

Q_APPLICATION_STATIC(QIcon, theProgramIcon, buildProgramIcon())

QIcon programIcon() {
    return *theProgramIcon;
}

} // namespace morvex
