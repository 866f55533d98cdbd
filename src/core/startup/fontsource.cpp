#include "startup/fontsource.h"

#include "app/installedtypeface.h"

#include <QFontDatabase>

QStringList installedFamilies(const QStringList &databaseFamilies)
{
    static const QStringList GenericAliases{QStringLiteral("Serif"), QStringLiteral("Sans Serif"),
                                            QStringLiteral("Monospace")};
    QStringList result;
    result.reserve(databaseFamilies.size());
    for (const QString &family : databaseFamilies) {
        if (GenericAliases.contains(family) && !isInstalledFamily(family))
            continue;
        result.append(family);
    }
    return result;
}

SystemFontSource::SystemFontSource() : m_families(installedFamilies(QFontDatabase::families())) { }

int SystemFontSource::count() const
{
    return int(m_families.size());
}

QString SystemFontSource::name(int index) const
{
    return m_families.at(index);
}
