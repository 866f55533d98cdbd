#include "preview/cataloguebuilder.h"

#include "app/appinfo.h"
#include "app/familycoverage.h"
#include "app/installedtypeface.h"

#include <QTextBlock>
#include <QTextDocument>

#include <array>

namespace {
const QString LineBreak = QStringLiteral("\r\n");
const QString Rule = QString(113, QLatin1Char('_'));
const QString FooterTypeface = QStringLiteral("Arial");
const QString DefaultTypeface = QStringLiteral("Arial");
constexpr int HeadingSize = 10;
constexpr int TitleSize = 14;
constexpr int FooterSize = 8;

// Windows-1252 between 0x80 and 0x9F; Windows decodes the five codes it leaves
// empty to the C1 control of the same number.
constexpr std::array<char16_t, 32> Windows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// A paragraph takes its direction from its text unless told otherwise, and a
// Hebrew or Arabic family name would move its line to the right margin. The
// catalogue is a left-aligned list: every paragraph runs left to right, while
// the name inside is still ordered as its script wants.
QTextBlockFormat leftToRight()
{
    QTextBlockFormat format;
    format.setLayoutDirection(Qt::LeftToRight);
    return format;
}
} // namespace

CatalogueBuilder::CatalogueBuilder(QTextDocument *document, const PrintOptions &options, const QStringList &fontNames,
                                   const QDateTime &now, const QLocale &locale)
    : m_document(document),
      m_options(options),
      m_fontNames(fontNames),
      m_now(now),
      m_locale(locale),
      m_headingTypeface(
          installedTypeface(options.headingTypeface.isEmpty() ? DefaultTypeface : options.headingTypeface)),
      m_sampleSize(options.sampleSize),
      m_ruleFallback(FamilyCoverage::installed().fallbackFamily(U'_'))
{ }

QString CatalogueBuilder::allCharacters()
{
    QString characters;
    characters.reserve(223);
    for (int code = 33; code <= 255; ++code) {
        const QChar character = code >= 0x80 && code <= 0x9F ? QChar(Windows1252High[code - 0x80]) : QChar(code);
        // Controls are no characters: every font draws DEL and the C1 controls
        // as empty boxes, which would say the font lacks something.
        if (character.category() != QChar::Other_Control)
            characters.append(character);
    }
    return characters;
}

QString CatalogueBuilder::sampleLine(SampleKind kind, const QString &fontName, const QString &handEntered)
{
    switch (kind) {
    case SampleKind::Alphabet:
        return QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz");
    case SampleKind::SomeOfEach:
        return QStringLiteral("ABCDEFG abcdefg ÄäÜüÖö 12345 @§$%&-+, ") + fontName;
    case SampleKind::HandEntered:
        return handEntered;
    case SampleKind::AllCharacters:
        break;
    }
    return allCharacters();
}

void CatalogueBuilder::start()
{
    m_document->clear();
    // The document says what it is: the print job names its PDF and its
    // printer job after it.
    m_document->setMetaInformation(QTextDocument::DocumentTitle, m_options.title);
    m_cursor = QTextCursor(m_document);
    m_cursor.setBlockFormat(leftToRight());
    m_format = QTextCharFormat();
    m_next = 0;
    m_finished = false;

    m_cursor.beginEditBlock();
    setBold(true);
    setEmphasis(true);
    setSize(TitleSize);
    setColor(m_options.headingColor);
    setTypeface(m_headingTypeface);
    append(m_options.title);
    setEmphasis(false);
    setBold(false);
    setSize(HeadingSize);
    append(QStringLiteral(" (") + QString::number(m_fontNames.size()) + QStringLiteral(" Schriften)") + LineBreak);
    setSize(HeadingSize);
    if (m_options.dateLine)
        append(m_locale.toString(m_now.date(), QLocale::LongFormat) + QStringLiteral(" um ")
               + m_now.time().toString(QStringLiteral("hh:mm")) + LineBreak);
    m_cursor.endEditBlock();
}

bool CatalogueBuilder::step()
{
    if (m_finished)
        return false;
    // Each block is one edit, so a view lays out what was added once per block.
    m_cursor.beginEditBlock();
    if (m_next < m_fontNames.size())
        appendFontBlock(m_fontNames.at(m_next++));
    else
        appendFooter();
    m_cursor.endEditBlock();
    return !m_finished;
}

void CatalogueBuilder::finish()
{
    while (step()) { }
}

void CatalogueBuilder::appendFontBlock(const QString &fontName)
{
    setTypeface(m_headingTypeface);
    setColor(m_options.headingColor);
    setSize(HeadingSize);
    setBold(false);
    setEmphasis(true);
    append(LineBreak + fontName + LineBreak);
    setEmphasis(false);
    setTypeface(fontName, true);
    setSize(m_sampleSize);
    setBold(m_options.boldSamples);
    setColor(m_options.sampleColor);
    appendSample(fontName);
    setColor(m_options.sampleColor);
    // The rule separates the blocks and shows nothing of the font: a family
    // without "_" draws it in the font the system falls back to, not as boxes.
    if (!m_ruleFallback.isEmpty() && FamilyCoverage::installed().lacks(fontName, U'_'))
        setTypeface(m_ruleFallback, true);
    append(Rule + LineBreak);
}

// Most families of a desktop have no Latin letters, and a Latin sample is a
// row of empty boxes in them, which reads as fonts that failed to load. Such a
// family shows the sample in its own script instead. A hand-entered text stays
// as typed, its boxes telling which of the user's characters the font lacks,
// and the family's own script follows it.
void CatalogueBuilder::appendSample(const QString &fontName)
{
    const SampleKind kind = m_options.sampleKind;
    const QString sample = sampleLine(kind, fontName, m_options.handEnteredSample);
    FamilyCoverage &coverage = FamilyCoverage::installed();
    const bool lacksMost = coverage.lacksMostOf(fontName, sample);
    if (!lacksMost || kind == SampleKind::HandEntered)
        append(sample + LineBreak);
    if (!lacksMost)
        return;
    // A sample the program chooses keeps its paragraph even where the family
    // has nothing of its own to show.
    if (const QString ownScript = coverage.ownScriptSample(fontName, kind);
        kind != SampleKind::HandEntered || !ownScript.isEmpty())
        append(ownScript + LineBreak);
}

void CatalogueBuilder::appendFooter()
{
    setSize(FooterSize);
    setTypeface(installedTypeface(FooterTypeface));
    append(QStringLiteral("© ") + VendorSiteUrl);
    // The paragraph still open keeps the format it was written in.
    m_cursor.setBlockCharFormat(m_format);
    m_finished = true;
}

// A sample and its rule show only what the font itself holds: merging would
// fill its gaps from other fonts and hide them.
void CatalogueBuilder::setTypeface(const QString &family, bool ownGlyphsOnly)
{
    // Set as one name rather than a list of one: the document keeps each
    // distinct format once, finding it by a hash that counts a list by its type
    // alone, so with lists every family's format would be compared with every
    // other's, which grows with the square of the families. The font is the same.
    m_format.setProperty(QTextFormat::FontFamilies, family);
    if (ownGlyphsOnly)
        m_format.setFontStyleStrategy(QFont::NoFontMerging);
    else
        m_format.clearProperty(QTextFormat::FontStyleStrategy);
}

void CatalogueBuilder::setSize(int points)
{
    m_format.setFontPointSize(points);
}

void CatalogueBuilder::setBold(bool on)
{
    m_format.setFontWeight(on ? QFont::Bold : QFont::Normal);
}

void CatalogueBuilder::setEmphasis(bool on)
{
    m_format.setFontItalic(on);
}

void CatalogueBuilder::setColor(const QColor &color)
{
    m_format.setForeground(color);
}

void CatalogueBuilder::append(const QString &text)
{
    const QStringList lines = text.split(LineBreak);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            endParagraph();
        if (!lines.at(i).isEmpty())
            m_cursor.insertText(lines.at(i), m_format);
    }
}

// A paragraph takes the format that is current when its line break is typed,
// so an empty paragraph still shows the format it was written in.
void CatalogueBuilder::endParagraph()
{
    m_cursor.setBlockCharFormat(m_format);
    m_cursor.insertBlock(leftToRight(), m_format);
}

void buildCatalogue(QTextDocument *document, const PrintOptions &options, const QStringList &fontNames,
                    const QDateTime &now, const QLocale &locale)
{
    CatalogueBuilder builder(document, options, fontNames, now, locale);
    builder.start();
    builder.finish();
}
