#include "app/familycoverage.h"

#include <QStringList>

#include <cstdlib>

namespace {
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

// Colour glyphs held as pictures, not outlines (Noto Color Emoji): Qt's PDF
// writer embeds the font, but its glyphs print as nothing.
bool colourBitmaps(const FcPattern *font)
{
    FcBool colour = FcFalse;
    FcBool outline = FcTrue;
    FcPatternGetBool(font, FC_COLOR, 0, &colour);
    FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
    return colour && !outline;
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

QString FamilyCoverage::ownScriptSample(const QString &family, SampleKind kind)
{
    Face *found = face(family);
    if (!found || colourBitmaps(found->font))
        return {};
    if (kind == SampleKind::HandEntered)
        kind = SampleKind::Alphabet;
    std::optional<QString> &sample = found->samples[size_t(kind)];
    if (!sample) {
        if (!found->mainScript)
            found->mainScript.emplace(found->font);
        const MainScriptSample &script = *found->mainScript;
        sample = kind == SampleKind::Alphabet ? script.alphabet()
            : kind == SampleKind::SomeOfEach  ? script.someOfEach()
                                              : script.allCharacters();
    }
    return *sample;
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
        FcChar8 *foundry = nullptr;
        FcPatternGetString(font, FC_FOUNDRY, 0, &foundry);
        FcChar8 *name = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            // Where foundries make the same family, Qt names each one's
            // "Family [Foundry]", and their files can map other characters
            // (URW's dingbats as Type 1 to their own code points, as OpenType
            // to ASCII).
            QStringList keys{stringOf(name)};
            if (foundry)
                keys.append(keys.constFirst() + QStringLiteral(" [") + stringOf(foundry) + QLatin1Char(']'));
            for (const QString &key : keys) {
                // A family's faces almost always share their characters; where
                // they do not, the regular face is the one a sample is first shown in.
                Face &entry = m_faces[key];
                if (!entry.characters || distance < entry.distanceFromRegular) {
                    entry.font = font;
                    entry.characters = characters;
                    entry.distanceFromRegular = distance;
                }
            }
        }
    }
}
