// A copy of the catalogue, or of the user's selection, laid out in pages for
// one page layout, a stretch at a time, and painted page by page onto any
// paged device.
#pragma once

#include <QPageLayout>
#include <QSizeF>
#include <QTextDocument>

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
    void paintPage(QPainter &painter, int index) const;

private:
    const QTextDocument &m_source;
    int m_next;
    int m_to;
    QTextDocument m_document;
    QSizeF m_sourceDpi;
    QSizeF m_pageSize;
};
