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
    // Pages of the paragraphs laid out so far; all once layoutStep() has returned false.
    int pageCount() const;
    // Paints page `index` (from 0) onto `painter`, whose device starts at the page's printable area.
    void paintPage(QPainter &painter, int index);
    // Lets go of the fonts of the paragraphs painted since the last call, and
    // of those laid out since then once there are enough of them. Only while
    // nothing is painting: a painter's device may still need its fonts.
    void releaseFonts();

private:
    int firstBlockOnPage(int index);

    const QTextDocument &m_source;
    int m_next;
    int m_to;
    QTextDocument m_document;
    QSizeF m_sourceDpi;
    QSizeF m_pageSize;
    int m_releasedBlocks = 0;
    int m_firstPainted = -1;
    int m_lastPainted = -1;
    // For each page, the first block that shows on it.
    std::vector<int> m_pageStarts;
};
