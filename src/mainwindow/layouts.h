// The main window's two widths: narrow shows the print list, wide also the
// option panel. The glyph on cmd_More shows which one is showing.
#pragma once

struct MainWindowLayout {
    int outerWidthTwips;
    int upDownLeftTwips;
    int sampleWidthTwips;
    int glyph;
};

inline constexpr MainWindowLayout NarrowLayout{8820, 8430, 7995, 73};
inline constexpr MainWindowLayout WideLayout{11970, 11610, 11175, 72};
