#include "settings/WindowPosition.h"

#include "core/NumberText.h"
#include "core/RuntimeError.h"
#include "core/Twips.h"
#include "settings/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <cmath>

namespace morvex {
namespace {

const QString WindowTop = QStringLiteral("WindowTop");
const QString WindowLeft = QStringLiteral("WindowLeft");

// A stored edge in twips, or the default when the text is no usable number.
double storedEdge(const QString &section, const QString &key, int defaultTwips) {
    const QString fallback = QString::number(defaultTwips);
    const QString text = settings::readSetting(settings::applicationName(), section, key, fallback);
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

void restorePosition(QWidget *window, const QString &section, int defaultTwips) {
    const double top = storedEdge(section, WindowTop, defaultTwips);
    const double left = storedEdge(section, WindowLeft, defaultTwips);
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

void savePosition(const QWidget *window, const QString &section) {
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
    const QString app = settings::applicationName();
    settings::WriteGroup group(app);
    settings::writeSetting(app, section, WindowTop, SingleText(float(pixelsToTwips(topLeft.y()))));
    settings::writeSetting(app, section, WindowLeft, SingleText(float(pixelsToTwips(topLeft.x()))));
}

} // namespace morvex
