// Colours are kept as 0x00BBGGRR integers: red in the low byte, blue in the third.
#pragma once

#include <QColor>

constexpr quint32 bgr(int red, int green, int blue)
{
    return quint32(red) | (quint32(green) << 8) | (quint32(blue) << 16);
}

inline QColor colorFromBgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

inline quint32 bgrFromColor(const QColor &color)
{
    return bgr(color.red(), color.green(), color.blue());
}
