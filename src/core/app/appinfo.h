// The program's name, version and the vendor's addresses, shared by every window.
#pragma once

#include <QString>

struct VersionNumber {
    qint16 major;
    qint16 minor;
    qint16 revision;
};

inline const QString AppTitle = QStringLiteral("Letterloom");
// The vendor's name, under which the options are stored.
inline const QString VendorName = QStringLiteral("Made by Orvik");
inline constexpr VersionNumber AppVersion{2, 1, 2};
// The file and product version as the program's metadata spells it.
inline const QString AppVersionText = QStringLiteral("2.01.0002");

// No public site exists yet: the reserved .example domain makes sure that no
// request ever reaches somebody else's server.
inline const QString VendorSiteUrl = QStringLiteral("http://www.letterloom.example");
inline const QString VendorMailAddress = QStringLiteral("info@letterloom.example");
inline const QString UpdateFileUrl = VendorSiteUrl + QStringLiteral("/update/version_glyphana.txt");
