// The main window's two widths: narrow shows the print list, wide also the
// option panel. The glyph on cmd_More tells which one is showing, and its name
// tells a screen reader what pressing it does.
#pragma once

struct MainWindowLayout {
    int outerWidthTwips;
    int upDownLeftTwips;
    int sampleWidthTwips;
    int glyph;
    const char *moreCommand;
};

inline constexpr MainWindowLayout NarrowLayout{8820, 8430, 7995, 73, "Druckoptionen einblenden"};
inline constexpr MainWindowLayout WideLayout{11970, 11610, 11175, 72, "Druckoptionen ausblenden"};

// The sample display shows the spin value plus this many points.
inline constexpr int SampleDisplayBasePoints = 23;
