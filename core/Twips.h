#pragma once

#include <cmath>

// Positions and sizes of the windows are given in twips, 1/1440 inch: 15
// twips to a device-independent pixel. This is the one place that converts.
namespace morvex {

inline constexpr int TwipsPerPixel = 15;

// Far-off or non-numeric positions are clamped to a range a screen can hold.
inline int twipsToPixels(double twips) {
    const double pixels = twips / TwipsPerPixel;
    if (!(pixels > -1e6))
        return pixels < 0 ? -1000000 : 0; // −∞ and NaN
    return int(std::lround(std::fmin(pixels, 1e6)));
}
inline double pixelsToTwips(int pixels) {
    return double(pixels) * TwipsPerPixel;
}

} // namespace morvex
