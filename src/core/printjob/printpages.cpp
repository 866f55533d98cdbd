#include "printjob/printpages.h"

#include "textlayout/eventloopturn.h"
#include "textlayout/fontrelease.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextFrameFormat>

#include <cmath>

namespace {
// Every page keeps at least this much paper round the text, or the printer's
// own unprintable border if that is wider.
constexpr qreal MinimumMarginMm = 20.0;
// Paragraphs copied and laid out at a time: a catalogue block is four or five.
constexpr int BlocksPerStretch = 16;

QSizeF dpiOf(const QTextDocument &document)
{
    if (const QPaintDevice *device = document.documentLayout()->paintDevice())
        return QSizeF(device->logicalDpiX(), device->logicalDpiY());
    // A document without a device lays out at the primary screen's resolution.
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSizeF(96, 96);
    return QSizeF(std::round(screen->logicalDotsPerInchX()), std::round(screen->logicalDotsPerInchY()));
}
} // namespace

PrintPages::PrintPages(const QTextDocument &source, int from, int to, const QPageLayout &pageLayout)
    : m_source(source),
      m_from(from),
      m_next(from),
      m_to(to),
      m_sourceDpi(dpiOf(source))
{
    m_document.setDefaultFont(source.defaultFont());
    m_document.setDefaultTextOption(source.defaultTextOption());
    m_document.setUseDesignMetrics(true);
    m_document.setDocumentMargin(0);

    const qreal pxPerMmX = m_sourceDpi.width() / 25.4;
    const qreal pxPerMmY = m_sourceDpi.height() / 25.4;
    const QRectF printable = pageLayout.paintRect(QPageLayout::Millimeter);
    const QMarginsF printerMargins
        = pageLayout.mode() == QPageLayout::FullPageMode ? QMarginsF() : pageLayout.margins(QPageLayout::Millimeter);
    QTextFrameFormat frame = m_document.rootFrame()->frameFormat();
    frame.setLeftMargin(qMax(0.0, MinimumMarginMm - printerMargins.left()) * pxPerMmX);
    frame.setRightMargin(qMax(0.0, MinimumMarginMm - printerMargins.right()) * pxPerMmX);
    frame.setTopMargin(qMax(0.0, MinimumMarginMm - printerMargins.top()) * pxPerMmY);
    frame.setBottomMargin(qMax(0.0, MinimumMarginMm - printerMargins.bottom()) * pxPerMmY);
    m_document.rootFrame()->setFrameFormat(frame);

    m_pageSize = QSizeF(printable.width() * pxPerMmX, printable.height() * pxPerMmY);
    m_document.setPageSize(m_pageSize);
    // Laying the copy out on the preview's own device reuses the fonts the
    // preview has already resolved; resolving a thousand fonts afresh for the
    // printer's resolution is what makes printing slow.
    m_document.documentLayout()->setPaintDevice(source.documentLayout()->paintDevice());
}

// The copy is filled from the source a stretch of paragraphs per step, each
// laid out as it arrives. Copied as a whole, the document would be laid out in
// one go, and copying alone takes long: text formats that differ only in
// their font family all look alike to Qt's format table, so each new one is
// compared with every one before it. Neither could be interrupted to repaint
// the progress window or to cancel.
bool PrintPages::layoutStep()
{
    QElapsedTimer step;
    step.start();
    while (m_next < m_to && step.elapsed() < EventLoopTurnMs) {
        QTextCursor stretch(const_cast<QTextDocument *>(&m_source));
        stretch.setPosition(m_next);
        const QTextBlock first = m_source.findBlock(m_next);
        QTextBlock block = first;
        for (int i = 0; i < BlocksPerStretch && block.isValid(); ++i)
            block = block.next();
        m_next = block.isValid() ? qMin(block.position(), m_to) : m_to;
        stretch.setPosition(m_next, QTextCursor::KeepAnchor);
        QTextCursor end(&m_document);
        end.movePosition(QTextCursor::End);
        end.insertFragment(stretch.selection());
        // Placing a cursor shapes the line it is on: the source's blocks at
        // both ends of the stretch would keep their fonts for good.
        releaseBlockFont(first);
        releaseBlockFont(m_source.findBlock(m_next));
    }
    return m_next < m_to;
}

int PrintPages::pageCount() const
{
    return m_document.pageCount();
}

// The last paragraph still grows with the next stretch; the pages above its
// top are final.
int PrintPages::finishedPages() const
{
    if (allLaidOut())
        return pageCount();
    const qreal openTop = m_document.documentLayout()->blockBoundingRect(m_document.lastBlock()).top();
    return qMin(pageCount(), int(openTop / m_pageSize.height()));
}

int PrintPages::expectedPageCount() const
{
    if (allLaidOut() || m_next <= m_from)
        return pageCount();
    return qMax(pageCount(), int(std::ceil(qreal(pageCount()) * (m_to - m_from) / (m_next - m_from))));
}

void PrintPages::paintPage(QPainter &painter, int index)
{
    m_firstPainted = m_firstPainted < 0 ? index : qMin(m_firstPainted, index);
    m_lastPainted = qMax(m_lastPainted, index);
    const QRectF page(0, index * m_pageSize.height(), m_pageSize.width(), m_pageSize.height());
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / m_sourceDpi.width(), device->logicalDpiY() / m_sourceDpi.height());
    painter.translate(0, -page.top());
    painter.setClipRect(page);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = page;
    // The palette's text colour only shows where a run has no colour of its own;
    // on paper that is black, whatever the screen's theme.
    context.palette.setColor(QPalette::Text, Qt::black);
    m_document.documentLayout()->draw(&painter, context);
    painter.restore();
}

// A laid-out block keeps the font it was shaped with, and Qt's font cache
// keeps every font any block asked for: without letting go, a catalogue holds
// all its fonts at once until the job ends. Blocks painted again load theirs
// again, so a later part still embeds them.
void PrintPages::releaseLaidOutFonts()
{
    const int laidOut = m_document.blockCount();
    if (laidOut - m_releasedBlocks < FontReleaseBatchBlocks && !(allLaidOut() && laidOut > m_releasedBlocks))
        return;
    ::releaseFonts(m_document, m_releasedBlocks, laidOut - 1);
    // The next stretch goes on in the last block, which takes a font again.
    m_releasedBlocks = allLaidOut() ? laidOut : laidOut - 1;
}

// Blocks laid out but not yet painted keep their fonts: they are only dropped
// from Qt's cache once no block holds them.
void PrintPages::releasePaintedFonts()
{
    if (m_firstPainted < 0)
        return;
    const int from = firstBlockOnPage(m_firstPainted);
    const int to = firstBlockOnPage(m_lastPainted + 1);
    m_firstPainted = m_lastPainted = -1;
    ::releaseFonts(m_document, from, to);
}

// A block running on from the page before shows on the page as well, and the
// first block of the next page may begin on this one. Pages are found as far
// as the layout has gone; the open last block is placed once it is laid out.
int PrintPages::firstBlockOnPage(int index)
{
    const QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    const int placeable = allLaidOut() ? m_document.blockCount() : m_document.blockCount() - 1;
    for (QTextBlock block = m_document.findBlockByNumber(m_firstUnplacedBlock);
         block.isValid() && block.blockNumber() < placeable; block = block.next()) {
        const qreal bottom = layout->blockBoundingRect(block).bottom();
        while (bottom > qreal(m_pageStarts.size()) * m_pageSize.height())
            m_pageStarts.push_back(block.blockNumber());
        m_firstUnplacedBlock = block.blockNumber() + 1;
    }
    return index < int(m_pageStarts.size()) ? m_pageStarts[index] : m_document.blockCount() - 1;
}
