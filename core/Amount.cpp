#include "core/Amount.h"

#include "core/Rounding.h"
#include "core/RuntimeError.h"

namespace morvex {

Amount Amount::operator+(Amount other) const {
    std::int64_t sum;
    if (__builtin_add_overflow(raw_, other.raw_, &sum))
        throw RuntimeError(Overflow);
    return fromRaw(sum);
}

Amount Amount::operator-(Amount other) const {
    std::int64_t difference;
    if (__builtin_sub_overflow(raw_, other.raw_, &difference))
        throw RuntimeError(Overflow);
    return fromRaw(difference);
}

Amount ToAmount(double value) {
    const double scaled = roundHalfEven(value * 10000.0);
    // −2^63 is a double and the lowest raw value; 2^63 is the first value
    // above the range. NaN fails both comparisons.
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0))
        throw RuntimeError(Overflow);
    return Amount::fromRaw(static_cast<std::int64_t>(scaled));
}

} // namespace morvex
