#pragma once

#include <QFont>

namespace morvex {

// The windows' font: 9 points of a Japanese UI gothic. The families are
// named explicitly, first present wins, so that Qt does not go searching
// through every installed font for Japanese glyphs.
QFont uiFont();

// The monospaced Japanese gothic at 9 points, for texts lined up with
// full-width spaces.
QFont monospaceFont();

} // namespace morvex
