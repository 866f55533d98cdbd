// Which characters each installed family really has, from the character sets
// fontconfig keeps for its faces, and samples of the family's own script to
// show where it has few of the characters a sample asks for.
#pragma once

#include "app/fontsetsseen.h"
#include "app/mainscriptsample.h"
#include "app/printoptions.h"

#include <QHash>
#include <QString>

#include <fontconfig/fontconfig.h>

#include <array>
#include <optional>

class FamilyCoverage
{
public:
    // The installed fonts, looked up on first use and kept for the run; looked
    // up again only when fontconfig's font sets change. GUI thread only.
    static FamilyCoverage &installed();

    FamilyCoverage(const FamilyCoverage &) = delete;
    FamilyCoverage &operator=(const FamilyCoverage &) = delete;

    // Whether fontconfig lists `family` and its regular face lacks `character`.
    bool lacks(const QString &family, char32_t character);
    // Whether fontconfig lists `family` and its regular face lacks more than
    // half of the characters of `text` that are not blank.
    bool lacksMostOf(const QString &family, const QString &text);
    // The sample of `kind` in the main script of the family's regular face
    // (for a hand-entered text, its alphabet), every character one the face
    // has and Qt draws in the family; empty when fontconfig does not list the
    // family, its face has nothing of its own to show or none that prints.
    QString ownScriptSample(const QString &family, SampleKind kind);
    // The family fontconfig falls back to for `character` in sans-serif text.
    QString fallbackFamily(char32_t character);

private:
    struct Face {
        const FcPattern *font = nullptr;
        const FcCharSet *characters = nullptr;
        int distanceFromRegular = 0;
        std::optional<MainScriptSample> mainScript;
        // By sample kind, the hand-entered one aside.
        std::array<std::optional<QString>, 3> samples;
    };

    FamilyCoverage() = default;
    Face *face(const QString &family);
    void lookUpAgainIfChanged();
    void addFaces(const FcFontSet *fonts);

    // The character sets are the configuration's, valid while its font sets
    // stay as they are.
    FontSetsSeen m_seen;
    // By each of the family names fontconfig lists a face under.
    QHash<QString, Face> m_faces;
    QHash<char32_t, QString> m_fallbacks;
};
