#pragma once

// The sizes the program icon comes in. Built as a static library that links
// the icon resources, the way the windows' library does, so the test sees
// what an executable gets through such a library.
#include <array>

namespace morvex::test {

extern const std::array<int, 7> IconSizes;

} // namespace morvex::test
