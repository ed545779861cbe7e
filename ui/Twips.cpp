#include "ui/Twips.h"

#include <cmath>

namespace morvex {

int twipsToPixels(double twips) {
    const double pixels = twips / TwipsPerPixel;
    if (!(pixels > -1e6))
        return pixels < 0 ? -1000000 : 0; // −∞ and NaN
    return int(std::lround(std::fmin(pixels, 1e6)));
}

double pixelsToTwips(int pixels) {
    return double(pixels) * TwipsPerPixel;
}

} // namespace morvex
