// Reads a catalogue document back paragraph by paragraph and run by run.
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

struct Run {
    QString text;
    QString family;
    qreal size = 0;
    bool bold = false;
    bool italic = false;
    QColor color;
    bool ownGlyphsOnly = false;

    bool operator==(const Run &other) const
    {
        return text == other.text && family == other.family && size == other.size && bold == other.bold
            && italic == other.italic && color == other.color && ownGlyphsOnly == other.ownGlyphsOnly;
    }
};
using Paragraph = QList<Run>;

inline Run runOf(const QString &text, const QTextCharFormat &format)
{
    return Run{text,
               format.font().family(),
               format.fontPointSize(),
               format.font().bold(),
               format.fontItalic(),
               format.foreground().color(),
               (format.fontStyleStrategy() & QFont::NoFontMerging) != 0};
}

// An empty paragraph is read as one empty run in the paragraph's own format.
inline QList<Paragraph> readCatalogue(const QTextDocument *document)
{
    QList<Paragraph> paragraphs;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            paragraph.append(runOf(it.fragment().text(), it.fragment().charFormat()));
        if (paragraph.isEmpty())
            paragraph.append(runOf(QString(), block.charFormat()));
        paragraphs.append(paragraph);
    }
    return paragraphs;
}

inline char *toString(const Run &run)
{
    return qstrdup(QStringLiteral("\"%1\" (%2, %3, bold %4, italic %5, %6%7)")
                       .arg(run.text.left(40), run.family)
                       .arg(run.size)
                       .arg(run.bold)
                       .arg(run.italic)
                       .arg(run.color.name(), run.ownGlyphsOnly ? QStringLiteral(", own glyphs only") : QString())
                       .toUtf8()
                       .constData());
}
