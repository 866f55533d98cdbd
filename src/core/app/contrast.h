// How well a colour reads on the colour behind it, measured as WCAG 2 does,
// and the shade of a design colour that reads on a given background.
#pragma once

#include <QColor>

class QFont;

// WCAG 2, level AA: text, and text of 18 pt and more (14 pt bold). Marks that
// are no text, such as a focus frame, need the lower figure as well.
inline constexpr double ReadableContrast = 4.5;
inline constexpr double LargeTextContrast = 3.0;

double relativeLuminance(const QColor &color);
// From 1 (the same colour) to 21 (black and white), whichever is lighter.
double contrastRatio(const QColor &one, const QColor &other);
// The contrast text in `font` needs.
double neededContrast(const QFont &font);

// `design` itself where it reads on `background`; otherwise the shade of its
// hue nearest to it that does, lighter on a dark background and darker on a
// light one.
QColor readableOn(const QColor &design, const QColor &background, double ratio = ReadableContrast);
