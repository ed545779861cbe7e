#pragma once

#include "core/Amount.h"

#include <cstdint>

// The progression arithmetic. Given a start amount S, odds O and a run of n
// defeats, the stake for the next race is S·rⁿ rounded to hundreds with the
// up-rate r = O/(O − 1), so that a win recovers everything staked and leaves
// about the profit a win of the first race would have left. Stateless; every
// procedure may raise a RuntimeError and none catches one.
namespace morvex {

// Rounds half up (towards +∞) at decimal position `digits` (−2: hundreds).
double RoundAmount(double value, std::int16_t digits);

// odds / (odds − 1), held in single precision. Odds equal to 1 raise
// DivisionByZero; infinite odds raise Overflow.
float CalcUpRate(float odds);

// The stake for the race after `defeats` defeats: start × upRate^defeats,
// rounded to hundreds.
Amount CalcInvestAmount(std::int32_t startAmount, float upRate, std::int16_t defeats);

// Everything staked through the race after `defeats` defeats: the running
// total is rounded to hundreds after each stake is added. 0 for defeats < 0.
Amount CalcTotalAmount(std::int32_t startAmount, float upRate, std::int16_t defeats);

// What a winning stake pays back: stake × odds in double precision. A
// product beyond the double range raises Overflow.
double CalcPayout(double stake, float odds);

} // namespace morvex
