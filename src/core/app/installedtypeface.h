// The design names typefaces of another system ("Arial", "Courier New"). Where
// such a typeface is not installed, Qt looks for its stand-in by checking
// fontconfig's whole ranked list of fonts against every installed family, once
// for each style and script: with ten thousand families that takes about a
// second each time. Naming an installed family instead is found at once.
#pragma once

#include <QString>

// Whether fontconfig lists a font under this family name (any of its names).
bool isInstalledFamily(const QString &family);

// `family` itself when it is installed; otherwise the first installed of its
// substitutes (QFont::substitutes), or else the family fontconfig matches to
// it. GUI thread only.
QString installedTypeface(const QString &family);
