// Reads the vendor's version file text and decides whether it names a newer
// version than the running program.
#pragma once

#include "app/appinfo.h"

#include <QString>

struct VersionReading {
    // False when the text is empty or holds blanks only: nothing was received.
    bool received = false;
    // False when not even the major number could be read: a body without a
    // dot in its first five characters, or whose first field is no number,
    // such as the login page of a hotel's network, holds no version at all.
    bool holdsVersion = false;
    VersionNumber found{0, 0, 0};
    bool newer = false;
    // The text with its outer blanks removed, as the user is shown it.
    QString shownText;
};

VersionReading readVersionText(const QString &versionText, VersionNumber own = AppVersion);
