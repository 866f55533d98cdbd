// The texts the About window builds from the program's version and the date.
#pragma once

#include "app/appinfo.h"

#include <QDate>
#include <QString>

// " Version 2.01.02": minor and revision each get a literal "0" in front,
// whatever their size, so a minor of 12 reads "012".
QString versionLine(const VersionNumber &version);

// "© 2026 Made by Orvik" with the year of `today`.
QString authorLine(const QDate &today);
