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

// Shared design colours: the grey of disabled fields and lists, the red of failure texts.
inline constexpr quint32 LightGrey = bgr(224, 224, 224);
inline constexpr quint32 DarkRed = bgr(192, 0, 0);
