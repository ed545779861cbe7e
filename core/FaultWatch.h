#pragma once

#include <cmath>

namespace morvex {

// Watches a run of floating-point operations the way the hardware status
// flags would, but on the values themselves so that it is portable and the
// compiler cannot move it: a zero divisor, an infinite result from finite
// operands (overflow) or a NaN from non-NaN operands (invalid) is noted, and
// check() raises the matching RuntimeError for everything noted since the
// previous check. Operations between two checks are covered by the later one.
class FaultWatch {
public:
    double add(double a, double b) { return note(a + b, a, b); }
    double sub(double a, double b) { return note(a - b, a, b); }
    double mul(double a, double b) { return note(a * b, a, b); }
    double div(double a, double b) {
        if (b == 0.0)
            divisionByZero_ = true;
        return note(a / b, a, b);
    }
    double pow(double base, double exponent) {
        return note(std::pow(base, exponent), base, exponent);
    }
    // Narrowing to single precision; a finite double beyond the single range
    // overflows to infinity.
    float narrow(double value);

    // Raises DivisionByZero if a division had a zero divisor, otherwise
    // Overflow if an operation overflowed or was invalid; then starts afresh.
    void check();

private:
    double note(double result, double a, double b) {
        if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
            overflowOrInvalid_ = true;
        else if (std::isnan(result) && !std::isnan(a) && !std::isnan(b))
            overflowOrInvalid_ = true;
        return result;
    }

    bool divisionByZero_ = false;
    bool overflowOrInvalid_ = false;
};

} // namespace morvex
