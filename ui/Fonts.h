#pragma once

#include <QFont>

namespace morvex {

// The windows' font: 9 points of a Japanese UI gothic. The families are
// named explicitly, first present wins, so that Qt does not go searching
// through every installed font for Japanese glyphs. Where neither the
// system's own gothic nor an installed IPA gothic is there (a Windows
// without its Japanese fonts), the IPA gothic the program carries beside
// its executable (fonts/) is loaded, the one the layout is measured with.
QFont uiFont();

// The monospaced Japanese gothic at 9 points, for texts lined up with
// full-width spaces.
QFont monospaceFont();

} // namespace morvex
