#pragma once

#include "core/RuntimeError.h"

namespace morvex::test {

// The number of the RuntimeError a call raises, or 0 when it returns
// normally. Any other exception escapes.
template <typename F> int errorOf(F &&call) {
    try {
        call();
    } catch (const RuntimeError &e) {
        return int(e.number);
    }
    return 0;
}

} // namespace morvex::test
