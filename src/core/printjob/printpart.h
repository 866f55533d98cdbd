// One part of a print job: the pages from a given place in the paragraphs on,
// laid out in a document of its own and drawn into a PDF file of its own, all
// on the thread that makes the part, which keeps the fonts it loads to itself.
// Parts follow each other without a seam: the next part begins with the line
// that begins the page after this part's last, on a page of its own, where
// that line stands in one long document too.
#pragma once

#include "printjob/printfault.h"
#include "printjob/printsetup.h"

#include <QImage>
#include <QSizeF>
#include <QTextFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class PrintParagraphs;
class QPainter;
struct PrintParagraph;

// Where a part begins: a paragraph, and how many of its characters earlier
// parts printed.
struct PrintStart {
    int paragraph = 0;
    int offset = 0;
    // Where that is in the preview's document.
    int sourcePosition = 0;
};

class PrintPart
{
public:
    PrintPart(PrintParagraphs &paragraphs, const PrintSetup &setup, PrintStart start);

    enum Ending { Continues, LastPart, Stopped };
    // Lays out until `pages` pages are complete, or to the last paragraph.
    // Where the part continues, `next` is where the next part begins.
    Ending layOut(int pages, const std::atomic_bool &stop, PrintStart *next);
    int pageCount() const { return m_pageCount; }

    // Writes the part's pages into `fileName`; `onPage` is told of each page
    // drawn and answers whether to go on.
    PrintFault write(const QString &fileName, const std::function<bool()> &onPage);

private:
    void append(const PrintParagraph &paragraph, int offset);
    std::optional<PrintStart> startOfPage(int page);
    void paintPage(QPainter &painter, int index);
    const QTextFormat &format(int index);

    PrintParagraphs &m_paragraphs;
    const PrintSetup &m_setup;
    const PrintStart m_start;
    QImage m_resolution;
    QTextDocument m_document;
    QTextCursor m_cursor;
    QSizeF m_pageSize;
    // The source position of each paragraph laid out.
    std::vector<int> m_sourcePositions;
    int m_pageCount = 0;
    // The job's formats as this part's own copies, by the job's index.
    std::vector<std::optional<QTextFormat>> m_formats;
};
