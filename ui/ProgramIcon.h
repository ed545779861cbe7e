#pragma once

#include <QIcon>

namespace morvex {

// The program icon at every size it is drawn in.
QIcon programIcon();

} // namespace morvex
