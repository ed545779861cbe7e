#include "core/FaultWatch.h"

#include "core/Conversions.h"
#include "core/RuntimeError.h"

namespace morvex {

float FaultWatch::narrow(double value) {
    const float result = ToSingle(value);
    if (std::isinf(result) && std::isfinite(value))
        overflowOrInvalid_ = true;
    return result;
}

void FaultWatch::check() {
    const bool divisionByZero = divisionByZero_;
    const bool overflowOrInvalid = overflowOrInvalid_;
    divisionByZero_ = overflowOrInvalid_ = false;
    if (divisionByZero)
        throw RuntimeError(DivisionByZero);
    if (overflowOrInvalid)
        throw RuntimeError(Overflow);
}

} // namespace morvex
