// A copy of the catalogue, or of the user's selection, laid out in pages for
// one page layout, a stretch at a time, and painted page by page onto any
// paged device.
#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <QTextDocument>

#include <vector>

class QPainter;

class PrintPages
{
public:
    // `source` lends its default font and its screen, whose font resolution the
    // copy shares; its characters `from` up to `to` are what is to be printed.
    // It must not change until every page is laid out.
    PrintPages(const QTextDocument &source, int from, int to, const QPageLayout &pageLayout);

    // Lays out the next stretch of paragraphs; false once every page is laid out.
    bool layoutStep();
    bool allLaidOut() const { return m_next >= m_to; }
    // Pages of the paragraphs laid out so far; all once layoutStep() has returned false.
    int pageCount() const;
    // Pages that later paragraphs can no longer change.
    int finishedPages() const;
    // The page count once everything is laid out, judged from the share of
    // the text laid out so far until then.
    int expectedPageCount() const;
    // Paints page `index` (from 0) onto `painter`, whose device starts at the page's printable area.
    void paintPage(QPainter &painter, int index);
    // Lets go of the fonts of the paragraphs laid out since the last call,
    // once there are enough of them, for pages painted only after the whole
    // copy is laid out. Only while nothing is painting.
    void releaseLaidOutFonts();
    // Lets go of the fonts of the paragraphs painted since the last call.
    // Only while nothing is painting: a painter's device may still need them.
    void releasePaintedFonts();

private:
    int firstBlockOnPage(int index);

    const QTextDocument &m_source;
    int m_from;
    int m_next;
    int m_to;
    QTextDocument m_document;
    QSizeF m_sourceDpi;
    QSizeF m_pageSize;
    int m_releasedBlocks = 0;
    int m_firstPainted = -1;
    int m_lastPainted = -1;
    // For each page, the first block that shows on it, as far as known.
    std::vector<int> m_pageStarts;
    int m_firstUnplacedBlock = 0;
};
