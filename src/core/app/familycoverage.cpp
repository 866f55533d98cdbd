#include "app/familycoverage.h"

#include <QFontDatabase>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace {
// Characters of an own-script line. Qt's sample with more letters of its
// script needs fewer to show the script than a face's first characters do;
// every one costs a glyph to load and shape for each family.
constexpr int OwnScriptLength = 40;
constexpr int ScriptSampleLength = 16;

// The script of each writing system Qt names, read from Qt's sample for it.
struct WritingSystemScript {
    QFontDatabase::WritingSystem system;
    QChar::Script script;
    QString sample;
};

const QList<WritingSystemScript> &writingSystemScripts()
{
    static const QList<WritingSystemScript> scripts = [] {
        QList<WritingSystemScript> list;
        for (int i = 0; i < QFontDatabase::WritingSystemsCount; ++i) {
            const auto system = QFontDatabase::WritingSystem(i);
            if (system == QFontDatabase::Any || system == QFontDatabase::Symbol)
                continue;
            const QString sample = QFontDatabase::writingSystemSample(system);
            list.append({system, QChar::script(sample.toUcs4().constFirst()), sample});
        }
        return list;
    }();
    return scripts;
}

bool hasAll(const FcCharSet *characters, const QString &text)
{
    const QList<uint> codes = text.toUcs4();
    return std::all_of(codes.cbegin(), codes.cend(),
                       [characters](uint code) { return QChar::isSpace(code) || FcCharSetHasChar(characters, code); });
}

// Alone, without a letter to sit on, a mark shows as a dotted circle, and
// spaces and controls show nothing.
bool printable(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
        return false;
    case QChar::Other_NotAssigned:
        // Scripts newer than Qt's character tables are still the face's own.
        return !QChar::isNonCharacter(code);
    default:
        return true;
    }
}

// Calls `take` with the face's characters in code-point order until it returns false.
template <typename Take>
void forEachCharacter(const FcCharSet *characters, Take take)
{
    FcChar32 map[FC_CHARSET_MAP_SIZE];
    FcChar32 next = 0;
    for (FcChar32 page = FcCharSetFirstPage(characters, map, &next); page != FC_CHARSET_DONE;
         page = FcCharSetNextPage(characters, map, &next)) {
        for (FcChar32 word = 0; word < FC_CHARSET_MAP_SIZE; ++word) {
            for (FcChar32 bit = 0; bit < 32; ++bit) {
                if (((map[word] >> bit) & 1u) && !take(char32_t(page + word * 32 + bit)))
                    return;
            }
        }
    }
}

// Qt shapes the scripts from Syriac to Sinhala, Khmer and N'Ko only with a
// font that has layout tables for them, and looks for one in another family
// even when merging is off; a family that claims the writing system has them.
// Other characters Qt draws in the family itself.
bool drawnInTheFamily(char32_t code, const QList<QFontDatabase::WritingSystem> &claimed)
{
    const QChar::Script script = QChar::script(code);
    const bool needsLayoutTables = (script >= QChar::Script_Syriac && script <= QChar::Script_Sinhala)
        || script == QChar::Script_Khmer || script == QChar::Script_Nko;
    if (!needsLayoutTables)
        return true;
    const auto &scripts = writingSystemScripts();
    return std::any_of(scripts.cbegin(), scripts.cend(), [&](const WritingSystemScript &known) {
        return known.script == script && claimed.contains(known.system);
    });
}

// Where the family claims a writing system other than Latin and has the
// characters of Qt's sample for it, the sample, then more letters of the same
// script, since Qt's sample is four letters or so. Else, for a script Qt names
// no writing system for (Cherokee, Adlam, Tifinagh), symbols or icons, what
// the face has, in code-point order.
QString makeOwnScript(const FcCharSet *characters, const QList<QFontDatabase::WritingSystem> &claimed)
{
    QStringList samples;
    for (const WritingSystemScript &known : writingSystemScripts()) {
        if (known.system != QFontDatabase::Latin && known.system != QFontDatabase::Vietnamese
            && claimed.contains(known.system) && hasAll(characters, known.sample) && !samples.contains(known.sample))
            samples.append(known.sample);
    }
    QString line = samples.join(QLatin1Char(' '));
    QSet<char32_t> shown;
    for (uint code : line.toUcs4())
        shown.insert(code);
    const bool ofScript = !samples.isEmpty();
    const QChar::Script script
        = ofScript ? QChar::script(samples.first().toUcs4().constFirst()) : QChar::Script_Unknown;
    QString more;
    forEachCharacter(characters, [&](char32_t code) {
        const bool wanted = ofScript ? QChar::script(code) == script && QChar::isLetterOrNumber(code)
                                     : printable(code) && drawnInTheFamily(code, claimed);
        if (wanted && !shown.contains(code)) {
            shown.insert(code);
            more.append(QString::fromUcs4(&code, 1));
        }
        return shown.size() < (ofScript ? ScriptSampleLength : OwnScriptLength);
    });
    if (!line.isEmpty() && !more.isEmpty())
        line.append(QLatin1Char(' '));
    return line + more;
}

int distanceFromRegular(const FcPattern *font)
{
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    int width = FC_WIDTH_NORMAL;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    FcPatternGetInteger(font, FC_WIDTH, 0, &width);
    return std::abs(weight - FC_WEIGHT_REGULAR) + std::abs(width - FC_WIDTH_NORMAL)
        + (slant == FC_SLANT_ROMAN ? 0 : 1000);
}

QString stringOf(const FcChar8 *text)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(text));
}
} // namespace

FamilyCoverage &FamilyCoverage::installed()
{
    static FamilyCoverage coverage;
    return coverage;
}

bool FamilyCoverage::lacks(const QString &family, char32_t character)
{
    const Face *found = face(family);
    return found && !FcCharSetHasChar(found->characters, character);
}

bool FamilyCoverage::lacksMostOf(const QString &family, const QString &text)
{
    const Face *found = face(family);
    if (!found)
        return false;
    int characters = 0;
    int missing = 0;
    for (uint code : text.toUcs4()) {
        if (QChar::isSpace(code))
            continue;
        ++characters;
        if (!FcCharSetHasChar(found->characters, code))
            ++missing;
    }
    return 2 * missing > characters;
}

QString FamilyCoverage::ownScriptSample(const QString &family)
{
    Face *found = face(family);
    if (!found)
        return {};
    if (!found->ownScriptMade) {
        found->ownScript = makeOwnScript(found->characters, QFontDatabase::writingSystems(family));
        found->ownScriptMade = true;
    }
    return found->ownScript;
}

// Charset outranks family in fontconfig's matching: the pattern finds the
// sans-serif family of the configuration, or the next that has the character.
QString FamilyCoverage::fallbackFamily(char32_t character)
{
    lookUpAgainIfChanged();
    if (const auto known = m_fallbacks.constFind(character); known != m_fallbacks.constEnd())
        return *known;
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>("sans-serif"));
    FcCharSet *wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, character);
    FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
    FcCharSetDestroy(wanted);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    QString family;
    FcChar8 *name = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch)
        family = stringOf(name);
    if (match)
        FcPatternDestroy(match);
    m_fallbacks.insert(character, family);
    return family;
}

FamilyCoverage::Face *FamilyCoverage::face(const QString &family)
{
    lookUpAgainIfChanged();
    auto found = m_faces.find(family);
    // Qt names a family that more than one foundry makes "Family [Foundry]".
    if (const qsizetype foundry = family.lastIndexOf(QStringLiteral(" ["));
        found == m_faces.end() && foundry > 0 && family.endsWith(QLatin1Char(']')))
        found = m_faces.find(family.left(foundry));
    return found == m_faces.end() ? nullptr : &*found;
}

// One pass over fontconfig's fonts, however many families are asked for later:
// asking fontconfig for each family's fonts would compare every font with
// each request.
void FamilyCoverage::lookUpAgainIfChanged()
{
    FcConfig *config = FcConfigGetCurrent();
    if (!m_seen.changed(config))
        return;
    m_faces.clear();
    m_fallbacks.clear();
    addFaces(FcConfigGetFonts(config, FcSetSystem));
    addFaces(FcConfigGetFonts(config, FcSetApplication));
}

void FamilyCoverage::addFaces(const FcFontSet *fonts)
{
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        const FcPattern *font = fonts->fonts[i];
        FcCharSet *characters = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) != FcResultMatch)
            continue;
        const int distance = distanceFromRegular(font);
        FcChar8 *name = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            // A family's faces almost always share their characters; where they
            // do not, the regular face is the one a sample is first shown in.
            Face &entry = m_faces[stringOf(name)];
            if (!entry.characters || distance < entry.distanceFromRegular) {
                entry.characters = characters;
                entry.distanceFromRegular = distance;
            }
        }
    }
}
