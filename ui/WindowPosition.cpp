#include "ui/WindowPosition.h"

#include "core/Conversions.h"
#include "core/NumberText.h"
#include "core/RuntimeError.h"
#include "settings/Keys.h"
#include "settings/Store.h"
#include "ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <cmath>

using namespace Qt::StringLiterals;

namespace morvex {
namespace {

// Whether the platform tells the program where its windows stand and lets
// it place them. A Wayland compositor places every window itself and tells
// nothing: pos() is only the origin less Qt's own frame, and move() is not
// carried out. There the windows open where the compositor puts them and
// the stored positions are neither read nor written, so that they are still
// good when the program runs on X11 (or XWayland) again.
bool platformPlacesWindows() {
    return !QGuiApplication::platformName().startsWith(u"wayland"_s);
}

// A stored edge in twips, or the default when the text is no usable number.
double storedEdge(const settings::Store &store, const QString &section, const QString &key,
                  int defaultTwips) {
    const QString text = store.value(section, key, QString::number(defaultTwips));
    try {
        const float twips = ToSingle(ToNumber(text));
        if (std::isfinite(twips))
            return twips;
    } catch (const RuntimeError &) {
    }
    return defaultTwips;
}

// True when enough of the title bar lies on some screen to grab it.
bool titleBarReachable(const QWidget *window, QPoint topLeft) {
    const int titleHeight = std::max(window->style()->pixelMetric(QStyle::PM_TitleBarHeight), 16);
    const QRect titleBar(topLeft, QSize(window->width(), titleHeight));
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect visible = titleBar.intersected(screen->availableGeometry());
        if (visible.width() >= std::min(40, titleBar.width()) &&
            visible.height() >= titleHeight / 2)
            return true;
    }
    return false;
}

} // namespace

void restorePosition(QWidget *window, const settings::Store &store, const QString &section,
                     int defaultTwips) {
    if (!platformPlacesWindows())
        return;
    const double top = storedEdge(store, section, settings::WindowTop, defaultTwips);
    const double left = storedEdge(store, section, settings::WindowLeft, defaultTwips);
    QPoint position(twipsToPixels(left), twipsToPixels(top));
    if (!titleBarReachable(window, position)) {
        if (const QScreen *primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            const int offset = twipsToPixels(defaultTwips);
            position = area.topLeft() + QPoint(offset, offset);
        }
    }
    window->move(position);
}

void savePosition(const QWidget *window, settings::Transaction &save, const QString &section) {
    if (!platformPlacesWindows())
        return;
    QPoint topLeft = window->pos(); // outer corner, frame included
    if (window->windowState() &
        (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        const QRect normal = window->normalGeometry();
        if (normal.isValid()) {
            // normalGeometry() is the client area; step back over the frame.
            const QPoint frame = window->geometry().topLeft() - window->frameGeometry().topLeft();
            topLeft = normal.topLeft() - frame;
        }
    }
    save.setValue(section, settings::WindowTop, SingleText(float(pixelsToTwips(topLeft.y()))));
    save.setValue(section, settings::WindowLeft, SingleText(float(pixelsToTwips(topLeft.x()))));
}

} // namespace morvex
