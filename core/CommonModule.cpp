#include "core/CommonModule.h"

#include "core/FaultWatch.h"
#include "core/RuntimeError.h"

#include <limits>

namespace morvex {

double RoundAmount(double value, std::int16_t digits) {
    FaultWatch fp;
    const double scale = fp.pow(10.0, digits);
    double t = fp.mul(scale, value);
    fp.check();
    t = fp.add(t, 0.5);
    fp.check();
    t = std::floor(t);
    // A division by the power, not a multiplication by its inverse: with
    // digits = −2 this gives exactly 100 times the integer.
    const double result = fp.div(t, fp.pow(10.0, digits));
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
