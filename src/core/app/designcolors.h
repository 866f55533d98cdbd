// The fixed colours of the program's windows, as designed (0x00BBGGRR). A
// background the design fixes comes with the text colour that reads on it,
// whatever palette the desktop hands the program. A text colour the design
// sets on the window's own background is shown where it reads on the
// palette's window colour, and as a shade of it that does elsewhere
// (readableOn in app/contrast.h).
#pragma once

#include "app/colors.h"

struct Surface {
    quint32 background;
    quint32 text;
};

namespace DesignColors {
inline constexpr quint32 Black = bgr(0, 0, 0);
inline constexpr quint32 White = bgr(255, 255, 255);
inline constexpr quint32 LightGrey = bgr(224, 224, 224);
inline constexpr quint32 LightYellow = bgr(255, 255, 192);
inline constexpr quint32 Red = bgr(255, 0, 0);
inline constexpr quint32 DarkRed = bgr(192, 0, 0);
inline constexpr quint32 Blue = bgr(0, 0, 192);
// Text on a light face that is switched off: dimmer than black, still readable.
inline constexpr quint32 DimGrey = bgr(89, 89, 89);

// The sample display, the family's name on light yellow.
inline constexpr Surface SampleDisplay{LightYellow, Black};
// The print list, and the box of the hand-entered sample while it is switched off.
inline constexpr Surface PrintList{LightGrey, Black};
inline constexpr Surface FieldOff{LightGrey, DimGrey};
inline constexpr Surface FieldOn{White, Black};
// The two colour labels show the user's colours as their text, black until one
// is picked.
inline constexpr Surface ColorLabel{White, Black};
// The flat buttons' faces.
inline constexpr Surface ButtonFace{bgr(247, 247, 239), Black};
inline constexpr Surface ButtonPressed{bgr(224, 224, 215), Black};
inline constexpr Surface ButtonOff{bgr(245, 244, 234), DimGrey};
// The caption bars' gradient runs from the first to the second; their caption
// reads on every shade between.
inline constexpr Surface CaptionBarTop{LightGrey, Black};
inline constexpr Surface CaptionBarBottom{Red, Black};
// The preview's view shows the catalogue as it prints: on white paper.
inline constexpr Surface Paper{White, Black};

// Text colours on the window's own background: the options' blue headings, the
// preview's failure line and a link under the mouse.
inline constexpr quint32 HeadingText = Blue;
inline constexpr quint32 FailureText = DarkRed;
inline constexpr quint32 LinkUnderMouse = Red;
} // namespace DesignColors
