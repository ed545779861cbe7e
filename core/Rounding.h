#pragma once

#include <cmath>

namespace morvex {

// Nearest integer, exact halves to the even neighbour, whatever the current
// floating-point rounding mode. Infinities and NaN come back unchanged.
inline double roundHalfEven(double value) {
    const double down = std::floor(value);
    const double fraction = value - down; // exact for every finite double
    if (fraction > 0.5)
        return down + 1.0;
    if (fraction < 0.5)
        return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

} // namespace morvex
