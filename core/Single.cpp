#include "core/Single.h"

#include <limits>

namespace morvex {

float narrowToSingle(double value) {
    // Halfway between FLT_MAX and 2^128: from here on the nearest single
    // (ties to even) is infinity.
    constexpr double limit = 0x1.ffffffp+127;
    if (value >= limit)
        return std::numeric_limits<float>::infinity();
    if (value <= -limit)
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace morvex
