#include "core/Conversions.h"

#include "core/Rounding.h"
#include "core/RuntimeError.h"

#include <limits>

namespace morvex {

std::int32_t ToInt32(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        throw RuntimeError(Overflow);
    return static_cast<std::int32_t>(rounded);
}

std::int16_t ToInt16(double value) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        throw RuntimeError(Overflow);
    return static_cast<std::int16_t>(rounded);
}

float ToSingle(double value) {
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
