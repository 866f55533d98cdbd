// Window geometry is laid out in twips, 15 to a logical pixel; Qt scales
// logical pixels on HiDPI screens.
#pragma once

#include <QRect>

constexpr int TwipsPerPixel = 15;

constexpr int twips(int value)
{
    return value >= 0 ? (value + TwipsPerPixel / 2) / TwipsPerPixel : -((-value + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr int toTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// Outer sizes include a window frame; these allowances make the layouts the
// same with or without a window manager.
constexpr int FrameWidthTwips = 90;
