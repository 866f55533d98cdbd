#include "about/abouttexts.h"

QString versionLine(const VersionNumber &version)
{
    return QStringLiteral(" Version %1.0%2.0%3").arg(version.major).arg(version.minor).arg(version.revision);
}

QString authorLine(const QDate &today)
{
    return QStringLiteral("© %1 ").arg(today.year(), 4, 10, QLatin1Char('0')) + VendorName;
}
