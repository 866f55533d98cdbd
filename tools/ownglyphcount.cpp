// Developer tool: lays out the catalogue of every installed family, as the
// preview does, in each sample kind, and counts per kind what each family's
// sample paragraphs (the rule not counted) show:
//   - own letters: letters of the face's main script (the Unicode script with
//     most letters in the face), drawn from the family's own font; for a face
//     without letters, its own symbols, anything beyond ASCII;
//   - other characters: digits, punctuation, letters of other scripts, and
//     anything drawn from another font;
//   - boxes: glyphs the font does not have, split into families that lack most
//     of the kind's Latin sample and the rest.
// The main script is read here from the face's characters, not taken from the
// program, so the count holds for any version of it.
// Usage: ownglyph_count [KIND] [--list]   KIND: 0 to 3, default every kind;
// --list names the families that miss a mark.
#include "app/application.h"
#include "app/familycoverage.h"
#include "preview/cataloguebuilder.h"
#include "startup/fontsource.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QRawFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int LeastOwnLetters = 8;
// Families laid out at a time, so the fonts of one batch go before the next.
constexpr int Batch = 50;
const QString Rule(113, QLatin1Char('_'));

// The main script of each family's most regular face; Script_Unknown for a
// face without letters.
QHash<QString, QChar::Script> mainScripts()
{
    FcPattern *all = FcPatternCreate();
    FcObjectSet *wanted = FcObjectSetBuild(FC_FAMILY, FC_FOUNDRY, FC_CHARSET, FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, all, wanted);
    QHash<QString, int> distances;
    QHash<QString, QChar::Script> scripts;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        const FcPattern *font = fonts->fonts[i];
        int weight = FC_WEIGHT_REGULAR;
        int slant = FC_SLANT_ROMAN;
        FcCharSet *characters = nullptr;
        FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &slant);
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &characters) != FcResultMatch)
            continue;
        const int distance = std::abs(weight - FC_WEIGHT_REGULAR) + (slant == FC_SLANT_ROMAN ? 0 : 1000);
        std::array<int, QChar::ScriptCount> letters{};
        FcChar32 map[FC_CHARSET_MAP_SIZE];
        FcChar32 next = 0;
        for (FcChar32 page = FcCharSetFirstPage(characters, map, &next); page != FC_CHARSET_DONE;
             page = FcCharSetNextPage(characters, map, &next)) {
            for (FcChar32 bit = 0; bit < 256; ++bit) {
                const char32_t code = page + bit;
                if (((map[bit / 32] >> (bit % 32)) & 1u) && QChar::isLetter(code)
                    && QChar::script(code) > QChar::Script_Common)
                    ++letters[QChar::script(code)];
            }
        }
        const auto most = std::max_element(letters.cbegin(), letters.cend());
        const QChar::Script script = *most > 0 ? QChar::Script(most - letters.cbegin()) : QChar::Script_Unknown;
        FcChar8 *foundry = nullptr;
        FcPatternGetString(font, FC_FOUNDRY, 0, &foundry);
        FcChar8 *name = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            // Also as Qt names the family where more than one foundry makes it.
            const QString family = QString::fromUtf8(reinterpret_cast<const char *>(name));
            QStringList keys{family};
            if (foundry)
                keys.append(family + QStringLiteral(" [") + QString::fromUtf8(reinterpret_cast<const char *>(foundry))
                            + QLatin1Char(']'));
            for (const QString &key : keys) {
                if (!distances.contains(key) || distance < distances.value(key)) {
                    distances.insert(key, distance);
                    scripts.insert(key, script);
                }
            }
        }
    }
    FcFontSetDestroy(fonts);
    FcObjectSetDestroy(wanted);
    FcPatternDestroy(all);
    return scripts;
}

// Where no font has the layout tables Qt wants for a script, Qt draws each
// character as a box, from a stand-in font that has no name and claims every
// character, even a noncharacter.
bool boxesOnly(const QRawFont &font)
{
    return !font.isValid() || font.supportsCharacter(char32_t(0xFFFF));
}

enum class DrawnAs { Box, OwnFont, OtherFont };

DrawnAs drawnAs(const QGlyphRun &run, const QString &family)
{
    const QRawFont font = run.rawFont();
    if (boxesOnly(font) || run.glyphIndexes().isEmpty() || run.glyphIndexes().contains(0))
        return DrawnAs::Box;
    const QString name = font.familyName();
    return name == family || family.startsWith(name + QStringLiteral(" [")) ? DrawnAs::OwnFont : DrawnAs::OtherFont;
}

struct Shown {
    int ownLetters = 0;
    int others = 0;
    int boxes = 0;
};

// What the paragraphs below the family's name up to its rule show.
Shown shownBelow(const QTextBlock &name, const QString &family, QChar::Script script)
{
    Shown shown;
    for (QTextBlock block = name.next(); block.isValid() && block.text() != Rule; block = block.next()) {
        const QTextLayout *layout = block.layout();
        for (int line = 0; line < layout->lineCount(); ++line) {
            for (const QGlyphRun &run : layout->lineAt(line).glyphRuns())
                shown.boxes += int(boxesOnly(run.rawFont()) ? run.glyphIndexes().size() : run.glyphIndexes().count(0));
        }
        const QString text = block.text();
        for (int i = 0; i < text.size(); ++i) {
            const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const char32_t code = text.mid(i, length).toUcs4().constFirst();
            const QList<QGlyphRun> runs = layout->glyphRuns(i, length);
            i += length - 1;
            bool drawn = !runs.isEmpty();
            bool own = drawn;
            for (const QGlyphRun &run : runs) {
                const DrawnAs as = drawnAs(run, family);
                drawn = drawn && as != DrawnAs::Box;
                own = own && as == DrawnAs::OwnFont;
            }
            if (QChar::isSpace(code) || !drawn)
                continue;
            const bool ownCharacter = script == QChar::Script_Unknown
                ? code >= 0x80
                : QChar::isLetter(code) && QChar::script(code) == script;
            if (own && ownCharacter)
                ++shown.ownLetters;
            else
                ++shown.others;
        }
    }
    return shown;
}

struct Tally {
    int families = 0;
    int withLetters = 0;
    int enoughOwn = 0;
    int enoughOwnWithLetters = 0;
    int moreOthers = 0;
    int boxesLackingMost = 0;
    int familiesBoxedLackingMost = 0;
    int boxesRest = 0;
    int familiesBoxedRest = 0;
};

Tally count(SampleKind kind, const QStringList &families, const QHash<QString, QChar::Script> &scripts, bool list)
{
    PrintOptions options;
    options.title = QStringLiteral("Katalog");
    options.headingTypeface = QStringLiteral("Arial");
    options.sampleSize = 20;
    options.sampleKind = kind;
    options.handEnteredSample = QStringLiteral("ABC abc 123");
    Tally tally;
    for (qsizetype start = 0; start < families.size(); start += Batch) {
        const QStringList batch = families.mid(start, Batch);
        QTextDocument document;
        document.setPageSize(QSizeF(700, 1e9));
        buildCatalogue(&document, options, batch, QDateTime::currentDateTime(), QLocale());
        document.documentLayout()->documentSize();
        QTextBlock block = document.begin();
        for (const QString &family : batch) {
            while (block.isValid() && block.text() != family)
                block = block.next();
            const QChar::Script script = scripts.value(
                family, scripts.value(family.left(family.lastIndexOf(QStringLiteral(" ["))), QChar::Script_Unknown));
            const Shown shown = shownBelow(block, family, script);
            const bool lackingMost = FamilyCoverage::installed().lacksMostOf(
                family, CatalogueBuilder::sampleLine(kind, family, options.handEnteredSample));
            const bool enough = shown.ownLetters >= LeastOwnLetters;
            ++tally.families;
            tally.withLetters += script != QChar::Script_Unknown;
            tally.enoughOwn += enough;
            tally.enoughOwnWithLetters += enough && script != QChar::Script_Unknown;
            tally.moreOthers += shown.others > shown.ownLetters;
            (lackingMost ? tally.boxesLackingMost : tally.boxesRest) += shown.boxes;
            (lackingMost ? tally.familiesBoxedLackingMost : tally.familiesBoxedRest) += shown.boxes > 0;
            if (list && (!enough || shown.others > shown.ownLetters || shown.boxes > 0))
                std::printf("  kind %d  %s (%s): %d own, %d other, %d boxes%s\n", int(kind), qPrintable(family),
                            script == QChar::Script_Unknown ? "no letters" : "letters", shown.ownLetters, shown.others,
                            shown.boxes, lackingMost ? ", lacks most of the Latin sample" : "");
        }
    }
    return tally;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication(app);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool list = arguments.removeAll(QStringLiteral("--list")) > 0;
    bool kindGiven = false;
    const int kind = arguments.value(0).toInt(&kindGiven);
    if (arguments.size() > 1 || (!arguments.isEmpty() && (!kindGiven || kind < 0 || kind > 3))) {
        std::fprintf(stderr, "usage: ownglyph_count [KIND] [--list]   KIND: sample kind 0 to 3, default all\n");
        return 2;
    }
    const QStringList families = installedFamilies(QFontDatabase::families());
    const QHash<QString, QChar::Script> scripts = mainScripts();
    std::printf("kind | families (with letters) | >= %d own letters or symbols (of those with letters) | more other "
                "characters than own | boxes where most of the sample is lacking (families) | boxes elsewhere "
                "(families)\n",
                LeastOwnLetters);
    for (int k = kindGiven ? kind : 0; k <= (kindGiven ? kind : 3); ++k) {
        const Tally t = count(SampleKind(k), families, scripts, list);
        std::printf("%d | %d (%d) | %d (%d) | %d | %d (%d) | %d (%d)\n", k, t.families, t.withLetters, t.enoughOwn,
                    t.enoughOwnWithLetters, t.moreOthers, t.boxesLackingMost, t.familiesBoxedLackingMost, t.boxesRest,
                    t.familiesBoxedRest);
        std::fflush(stdout);
    }
    return 0;
}
