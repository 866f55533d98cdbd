// Developer tool: lays out the catalogue of every installed family, as the
// preview does, and counts the families whose sample lines (the rule not
// counted) draw at least eight glyphs from the family's own font, glyphs the
// font has and that show something. Qt's PDF writer maps only the Basic
// Multilingual Plane back to text, so a count from a printed catalogue misses
// the scripts beyond it; this one does not.
// Usage: ownglyph_count [KIND] [--list]   KIND is the sample kind, 0 to 3 (default 1)
#include "app/application.h"
#include "preview/cataloguebuilder.h"
#include "startup/fontsource.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainterPath>
#include <QRawFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cstdio>

namespace {
constexpr int LeastGlyphs = 8;
// Families laid out at a time, so the fonts of one batch go before the next.
constexpr int Batch = 50;

bool isOwnFont(const QRawFont &font, const QString &family)
{
    return font.familyName() == family || family.startsWith(font.familyName() + QStringLiteral(" ["));
}

// Glyphs of the paragraphs below `name` up to its rule, drawn in the family's own font.
int ownGlyphs(QTextBlock name, const QString &family)
{
    const QString rule(113, QLatin1Char('_'));
    int own = 0;
    for (QTextBlock block = name.next(); block.isValid() && block.text() != rule; block = block.next()) {
        for (int line = 0; line < block.layout()->lineCount(); ++line) {
            for (const QGlyphRun &run : block.layout()->lineAt(line).glyphRuns()) {
                if (!isOwnFont(run.rawFont(), family))
                    continue;
                for (quint32 glyph : run.glyphIndexes())
                    own += glyph != 0 && !run.rawFont().pathForGlyph(glyph).isEmpty();
            }
        }
    }
    return own;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool list = arguments.contains(QStringLiteral("--list"));
    bool kindGiven = false;
    const int kind = arguments.value(0).toInt(&kindGiven);
    if (arguments.size() > 2 || (kindGiven && (kind < 0 || kind > 3))
        || (!kindGiven && !arguments.isEmpty() && !list)) {
        std::fprintf(stderr, "usage: ownglyph_count [KIND] [--list]   KIND: sample kind 0 to 3, default 1\n");
        return 2;
    }
    PrintOptions options;
    options.title = QStringLiteral("Katalog");
    options.headingTypeface = QStringLiteral("Arial");
    options.sampleSize = 20;
    options.sampleKind = SampleKind(kindGiven ? kind : 1);

    const QStringList families = installedFamilies(QFontDatabase::families());
    int showing = 0;
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
            const int own = ownGlyphs(block, family);
            showing += own >= LeastGlyphs;
            if (list && own < LeastGlyphs)
                std::printf("  %s: %d\n", qPrintable(family), own);
        }
    }
    std::printf("%d of %lld families draw at least %d glyphs of their samples from their own font\n", showing,
                static_cast<long long>(families.size()), LeastGlyphs);
    return 0;
}
