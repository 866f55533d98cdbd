#include "app/installedtypeface.h"

#include <QFont>
#include <QHash>

#include <fontconfig/fontconfig.h>

namespace {
FcPattern *familyPattern(const QString &family)
{
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.toUtf8().constData()));
    return pattern;
}

QString fontconfigMatch(const QString &family)
{
    FcPattern *pattern = familyPattern(family);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        return family;
    FcChar8 *name = nullptr;
    QString matched = family;
    if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        matched = QString::fromUtf8(reinterpret_cast<const char *>(name));
    FcPatternDestroy(match);
    return matched;
}

// The family name as the installed font spells it (Qt keeps substitutes in
// lower case), or nothing when no font carries it.
QString installedSpelling(const QString &family)
{
    FcPattern *pattern = familyPattern(family);
    FcObjectSet *properties = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, properties);
    QString spelling;
    FcChar8 *name = nullptr;
    for (int i = 0; fonts && fonts->nfont > 0 && spelling.isEmpty()
         && FcPatternGetString(fonts->fonts[0], FC_FAMILY, i, &name) == FcResultMatch;
         ++i) {
        const QString candidate = QString::fromUtf8(reinterpret_cast<const char *>(name));
        if (candidate.compare(family, Qt::CaseInsensitive) == 0)
            spelling = candidate;
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(properties);
    FcPatternDestroy(pattern);
    return spelling;
}

QString standIn(const QString &family)
{
    if (family.isEmpty())
        return family;
    if (const QString installed = installedSpelling(family); !installed.isEmpty())
        return installed;
    const QStringList substitutes = QFont::substitutes(family);
    for (const QString &substitute : substitutes)
        if (const QString installed = installedSpelling(substitute); !installed.isEmpty())
            return installed;
    return fontconfigMatch(family);
}
} // namespace

bool isInstalledFamily(const QString &family)
{
    return !installedSpelling(family).isEmpty();
}

QString installedTypeface(const QString &family)
{
    static QHash<QString, QString> known;
    const auto found = known.constFind(family);
    if (found != known.constEnd())
        return *found;
    const QString installed = standIn(family);
    known.insert(family, installed);
    return installed;
}
