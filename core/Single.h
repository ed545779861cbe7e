#pragma once

namespace morvex {

// double → single with IEEE round-to-nearest-even. A value whose rounding
// lies beyond the largest single becomes ±infinity (the conversion the
// hardware does, written out so that it is defined behaviour in C++).
float narrowToSingle(double value);

} // namespace morvex
