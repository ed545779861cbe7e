#pragma once

#include <cstdint>

// Conversions of a double to the narrower types the program calculates with.
namespace morvex {

// Nearest integer, ties to even; Overflow outside the type's range or for NaN.
std::int32_t ToInt32(double value);
std::int16_t ToInt16(double value);

// double → single with IEEE round-to-nearest-even. A value whose rounding
// lies beyond the largest single becomes ±infinity, with no error (the
// conversion the hardware does, written out so that it is defined behaviour
// in C++).
float ToSingle(double value);

} // namespace morvex
