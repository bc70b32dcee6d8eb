#pragma once

// Word's Shrink and Grow of a font: each step moves a size to the previous or next size of
// the font size list (8 9 10 11 12 14 16 18 20 22 24 26 28 36 48 72), in steps of 10 points
// above 72 and of 1 point below 8, never below 1 point.

namespace kelvara::word::lo {

double shrunkFontSize(double size);
double grownFontSize(double size);
// steps > 0 grows that many times, steps < 0 shrinks.
double steppedFontSize(double size, int steps);

}  // namespace kelvara::word::lo
