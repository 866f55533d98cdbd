#include "startup/fontsource.h"

#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

namespace {
bool fontconfigKnows(const QString &family)
{
    FcPattern *pattern = FcPatternCreate();
    const QByteArray utf8 = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(utf8.constData()));
    FcObjectSet *properties = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, properties);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(properties);
    FcPatternDestroy(pattern);
    return found;
}
} // namespace

QStringList installedFamilies(const QStringList &databaseFamilies)
{
    static const QStringList GenericAliases{QStringLiteral("Serif"), QStringLiteral("Sans Serif"),
                                            QStringLiteral("Monospace")};
    QStringList result;
    result.reserve(databaseFamilies.size());
    for (const QString &family : databaseFamilies) {
        if (GenericAliases.contains(family) && !fontconfigKnows(family))
            continue;
        result.append(family);
    }
    return result;
}

SystemFontSource::SystemFontSource()
    : m_families(installedFamilies(QFontDatabase::families()))
{
}

int SystemFontSource::count() const
{
    return int(m_families.size());
}

QString SystemFontSource::name(int index) const
{
    return m_families.at(index);
}
