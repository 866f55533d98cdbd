// Writes the font catalogue into a text document the way a typist would: one
// current character format, attributes set one at a time, text always added at the end.
#pragma once

#include "app/printoptions.h"

#include <QDateTime>
#include <QLocale>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

class CatalogueBuilder
{
public:
    CatalogueBuilder(QTextDocument *document, const PrintOptions &options, const QStringList &fontNames,
                     const QDateTime &now, const QLocale &locale);

    // Empties the document and writes the header (and the date line).
    void start();
    // Writes the next font block, or the footer once every block is written.
    // Returns false when there is nothing left to write.
    bool step();
    void finish();

    bool isFinished() const { return m_finished; }
    int fontsWritten() const { return m_next; }
    int fontCount() const { return int(m_fontNames.size()); }

    // The Latin sample line of `kind` for the font `fontName`.
    static QString sampleLine(SampleKind kind, const QString &fontName, const QString &handEntered);
    // The characters Windows-1252 gives codes 33 to 255, its controls left out.
    static QString allCharacters();

private:
    void appendFontBlock(const QString &fontName);
    void appendSample(const QString &fontName);
    void appendFooter();

    void setTypeface(const QString &family, bool ownGlyphsOnly = false);
    void setSize(int points);
    void setBold(bool on);
    void setEmphasis(bool on);
    void setColor(const QColor &color);
    void append(const QString &text);
    void endParagraph();

    QTextDocument *m_document;
    PrintOptions m_options;
    QStringList m_fontNames;
    QDateTime m_now;
    QLocale m_locale;
    QString m_headingTypeface;
    int m_sampleSize;
    QString m_ruleFallback;

    QTextCursor m_cursor;
    QTextCharFormat m_format;
    int m_next = 0;
    bool m_finished = false;
};

// Builds the whole catalogue in one go.
void buildCatalogue(QTextDocument *document, const PrintOptions &options, const QStringList &fontNames,
                    const QDateTime &now, const QLocale &locale);
