#include "app/contrast.h"

#include <QFont>

#include <algorithm>
#include <cmath>

namespace {
double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

constexpr qreal LargeText = 18.0;
constexpr qreal LargeBoldText = 14.0;
// Pixel sizes are counted at the desktop's 96 pixels to the inch.
constexpr qreal PointsPerPixel = 0.75;
} // namespace

double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor &one, const QColor &other)
{
    const double first = relativeLuminance(one);
    const double second = relativeLuminance(other);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

double neededContrast(const QFont &font)
{
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * PointsPerPixel;
    const bool large = points >= LargeText || (font.bold() && points >= LargeBoldText);
    return large ? LargeTextContrast : ReadableContrast;
}

QColor readableOn(const QColor &design, const QColor &background, double ratio)
{
    if (contrastRatio(design, background) >= ratio)
        return design;
    const bool lighter = contrastRatio(Qt::white, background) > contrastRatio(Qt::black, background);
    const QColor hsl = design.toHsl();
    const int step = lighter ? 1 : -1;
    for (int lightness = hsl.lightness() + step; lightness >= 0 && lightness <= 255; lightness += step) {
        const QColor shade = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness).toRgb();
        if (contrastRatio(shade, background) >= ratio)
            return shade;
    }
    return lighter ? QColor(Qt::white) : QColor(Qt::black);
}
