#pragma once

#include <QPoint>
#include <QRect>

// Positions and sizes of the windows and their controls are given in twips,
// 1/1440 inch: 15 twips to a device-independent pixel. twipsToPixels() and
// pixelsToTwips() are the one place that converts.
namespace morvex {

inline constexpr int TwipsPerPixel = 15;

// Far-off or non-numeric positions are clamped to a range a screen can hold.
int twipsToPixels(double twips);
double pixelsToTwips(int pixels);

struct TwipsPoint {
    int x = 0, y = 0;
    QPoint pixels() const { return {twipsToPixels(x), twipsToPixels(y)}; }
};

// A control's box as a window's layout gives it: left, top, width, height.
struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    QRect pixels() const {
        return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                twipsToPixels(height)};
    }
};

} // namespace morvex
