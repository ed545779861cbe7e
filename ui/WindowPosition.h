#pragma once

#include <QString>

class QWidget;

namespace morvex {

namespace settings {
class Store;
class Transaction;
} // namespace settings

// Every window restores its position when it loads and saves it when it
// unloads: the outer top-left corner in twips, screen coordinates, under
// the keys WindowTop and WindowLeft of the window's own section. Where the
// platform neither tells a window's place nor lets the program set it
// (Wayland), both do nothing: the window opens where the compositor puts it
// and the stored position stays as it was.

// Moves the window to its stored position (or to `defaultTwips` for both
// edges). A stored value that is not a number falls back to the default; a
// position whose title bar would lie off every screen is brought onto the
// primary screen.
void restorePosition(QWidget *window, const settings::Store &store, const QString &section,
                     int defaultTwips);

// Writes the window's position; a minimised or maximised window saves the
// position of its normal geometry.
void savePosition(const QWidget *window, settings::Transaction &save, const QString &section);

} // namespace morvex
