#include "core/Natural.h"

#include <algorithm>

namespace morvex {

Natural::Natural(std::uint64_t value) {
    for (; value != 0; value >>= 32)
        limbs_.push_back(std::uint32_t(value));
}

void Natural::trim() {
    while (!limbs_.empty() && limbs_.back() == 0)
        limbs_.pop_back();
}

Natural operator+(const Natural &a, const Natural &b) {
    Natural sum;
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < std::max(a.limbs_.size(), b.limbs_.size()) || carry; ++i) {
        carry += i < a.limbs_.size() ? a.limbs_[i] : 0;
        carry += i < b.limbs_.size() ? b.limbs_[i] : 0;
        sum.limbs_.push_back(std::uint32_t(carry));
        carry >>= 32;
    }
    return sum;
}

Natural operator-(const Natural &a, const Natural &b) {
    Natural difference = a;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < difference.limbs_.size(); ++i) {
        std::int64_t limb =
            std::int64_t(difference.limbs_[i]) - borrow - (i < b.limbs_.size() ? b.limbs_[i] : 0);
        borrow = limb < 0;
        difference.limbs_[i] = std::uint32_t(limb + (borrow << 32));
    }
    difference.trim();
    return difference;
}

Natural operator*(const Natural &a, const Natural &b) {
    Natural product;
    product.limbs_.assign(a.limbs_.size() + b.limbs_.size(), 0);
    for (std::size_t i = 0; i < a.limbs_.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.limbs_.size() || carry; ++j) {
            carry += product.limbs_[i + j] +
                     std::uint64_t(a.limbs_[i]) * (j < b.limbs_.size() ? b.limbs_[j] : 0);
            product.limbs_[i + j] = std::uint32_t(carry);
            carry >>= 32;
        }
    }
    product.trim();
    return product;
}

// Long division, one bit at a time: plain, and fast enough for the few
// hundred bits the program's fractions have.
Natural operator/(const Natural &a, const Natural &b) {
    Natural quotient, rest;
    quotient.limbs_.assign(a.limbs_.size(), 0);
    for (std::size_t i = a.limbs_.size() * 32; i-- > 0;) {
        rest = rest + rest + Natural(a.bit(i));
        if (rest >= b) {
            rest = rest - b;
            quotient.limbs_[i / 32] |= std::uint32_t(1) << (i % 32);
        }
    }
    quotient.trim();
    return quotient;
}

int Natural::compare(const Natural &a, const Natural &b) {
    if (a.limbs_.size() != b.limbs_.size())
        return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
        if (a.limbs_[i] != b.limbs_[i])
            return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    return 0;
}

std::uint64_t Natural::toUInt64() const {
    std::uint64_t value = 0;
    for (std::size_t i = std::min<std::size_t>(limbs_.size(), 2); i-- > 0;)
        value = value << 32 | limbs_[i];
    return value;
}

Natural RoundedQuotient(const Natural &a, const Natural &b) {
    return (a + a + b) / (b + b);
}

Natural Power(const Natural &a, int n) {
    Natural power = 1;
    for (int i = 0; i < n; ++i)
        power = power * a;
    return power;
}

} // namespace morvex
