#pragma once

#include <cstdint>
#include <vector>

// Whole numbers of any size, for figures that must come out exact: a ratio
// worked out as a fraction of two naturals and rounded once, at the end.
namespace morvex {

class Natural {
public:
    Natural(std::uint64_t value = 0);

    friend Natural operator+(const Natural &a, const Natural &b);
    // a − b; b must not exceed a.
    friend Natural operator-(const Natural &a, const Natural &b);
    friend Natural operator*(const Natural &a, const Natural &b);
    // The whole part of a ÷ b; b must not be 0.
    friend Natural operator/(const Natural &a, const Natural &b);
    friend bool operator==(const Natural &a, const Natural &b) = default;
    friend bool operator<(const Natural &a, const Natural &b) { return compare(a, b) < 0; }
    friend bool operator<=(const Natural &a, const Natural &b) { return compare(a, b) <= 0; }
    friend bool operator>=(const Natural &a, const Natural &b) { return compare(a, b) >= 0; }

    // The value; it must fit.
    std::uint64_t toUInt64() const;

private:
    // −1, 0 or 1 as a is below, equal to or above b.
    static int compare(const Natural &a, const Natural &b);
    void trim();
    bool bit(std::size_t i) const { return limbs_[i / 32] >> (i % 32) & 1; }

    std::vector<std::uint32_t> limbs_; // lowest first, no leading zeros
};

// a ÷ b to the nearest whole number, an exact half upwards (away from zero).
Natural RoundedQuotient(const Natural &a, const Natural &b);

// a raised to n.
Natural Power(const Natural &a, int n);

} // namespace morvex
