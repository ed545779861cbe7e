#include "core/CommonModule.h"

#include "core/FaultWatch.h"
#include "core/RuntimeError.h"

#include <iterator>
#include <limits>

namespace morvex {
namespace {

// 10 raised to `digits`, the double nearest to it wherever the table reaches:
// the powers up to 10^22 are exact doubles, and a negative power is one
// division of 1 by the exact positive power, so it is rounded once. The C
// library's pow() is not correctly rounded everywhere (one unit in the last
// place off for 10^-2 on some runtimes turns -150 into -200). Beyond ±22 the
// power is pow()'s, with its overflow and underflow.
double powerOfTen(FaultWatch &fp, std::int16_t digits) {
    static constexpr double exact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    constexpr int last = int(std::size(exact)) - 1;
    if (digits >= 0 && digits <= last)
        return exact[digits];
    if (digits < 0 && digits >= -last)
        return 1.0 / exact[-digits];
    return fp.pow(10.0, digits);
}

} // namespace

double RoundAmount(double value, std::int16_t digits) {
    FaultWatch fp;
    const double scale = powerOfTen(fp, digits);
    double t = fp.mul(scale, value);
    fp.check();
    t = fp.add(t, 0.5);
    fp.check();
    t = std::floor(t);
    // A division by the power, not a multiplication by its inverse: with
    // digits = −2 this gives exactly 100 times the integer.
    const double result = fp.div(t, powerOfTen(fp, digits));
    fp.check();
    return result;
}

float CalcUpRate(float odds) {
    FaultWatch fp;
    const double o = odds;
    const double rate = fp.div(o, fp.sub(o, 1.0));
    const float upRate = fp.narrow(rate);
    fp.check();
    return upRate;
}

Amount CalcInvestAmount(std::int32_t startAmount, float upRate, std::int16_t defeats) {
    FaultWatch fp;
    const double power = fp.pow(double(upRate), double(defeats));
    const double term = fp.mul(power, double(startAmount));
    fp.check();
    return ToAmount(RoundAmount(term, -2));
}

Amount CalcTotalAmount(std::int32_t startAmount, float upRate, std::int16_t defeats) {
    FaultWatch fp;
    Amount total;
    // The counter is a 16-bit integer: stepping it past 32,767 overflows.
    for (std::int16_t i = 0; i <= defeats;) {
        const double term = fp.mul(fp.pow(double(upRate), double(i)), double(startAmount));
        fp.check();
        const Amount sum = total + ToAmount(term);
        total = ToAmount(RoundAmount(sum.toDouble(), -2));
        if (i == std::numeric_limits<std::int16_t>::max())
            throw RuntimeError(Overflow);
        ++i;
    }
    return total;
}

double CalcPayout(double stake, float odds) {
    FaultWatch fp;
    const double payout = fp.mul(stake, double(odds));
    fp.check();
    return payout;
}

} // namespace morvex
