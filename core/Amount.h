#pragma once

#include <cstdint>

namespace morvex {

// A signed 64-bit fixed-point number with four decimal places: the value
// times 10,000 held as an integer. Range −922,337,203,685,477.5808 …
// 922,337,203,685,477.5807. Addition and subtraction raise Overflow when the
// result leaves the range.
class Amount {
public:
    constexpr Amount() = default;
    static constexpr Amount fromRaw(std::int64_t raw) {
        Amount a;
        a.raw_ = raw;
        return a;
    }

    constexpr std::int64_t raw() const { return raw_; }
    double toDouble() const { return double(raw_) / 10000.0; }
    // Whole yen, halves away from zero, without passing through a double.
    constexpr std::int64_t wholeYen() const {
        const std::int64_t rest = raw_ % 10000;
        return raw_ / 10000 + (rest >= 5000 ? 1 : rest <= -5000 ? -1 : 0);
    }

    Amount operator+(Amount other) const;
    Amount operator-(Amount other) const;

    friend constexpr bool operator==(Amount a, Amount b) { return a.raw_ == b.raw_; }
    friend constexpr bool operator!=(Amount a, Amount b) { return a.raw_ != b.raw_; }
    friend constexpr bool operator<(Amount a, Amount b) { return a.raw_ < b.raw_; }
    friend constexpr bool operator<=(Amount a, Amount b) { return a.raw_ <= b.raw_; }
    friend constexpr bool operator>(Amount a, Amount b) { return a.raw_ > b.raw_; }
    friend constexpr bool operator>=(Amount a, Amount b) { return a.raw_ >= b.raw_; }

private:
    std::int64_t raw_ = 0;
};

// The most whole yen an amount holds.
inline constexpr double MostWholeYen = 922337203685477.0;

// value × 10,000 (in double precision) rounded to the nearest integer, ties
// to even. Raises Overflow outside the range, and for NaN.
Amount ToAmount(double value);

} // namespace morvex
