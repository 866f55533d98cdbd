#include "printjob/printpart.h"

#include "printjob/printparagraphs.h"
#include "printjob/printsink.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextFrame>
#include <QTextFrameFormat>
#include <QTextLayout>

#include <cmath>

namespace {
// Every page keeps at least this much paper round the text, or the printer's
// own unprintable border if that is wider.
constexpr qreal MinimumMarginMm = 20.0;
constexpr qreal MillimetresPerInch = 25.4;
constexpr qreal InchesPerMetre = 39.37007874;
constexpr qreal FixedSteps = 64;
} // namespace

PrintPart::PrintPart(PrintParagraphs &paragraphs, const PrintSetup &setup, PrintStart start)
    : m_paragraphs(paragraphs),
      m_setup(setup),
      m_start(start),
      m_resolution(1, 1, QImage::Format_ARGB32),
      m_cursor(&m_document)
{
    // Fonts are sized for the resolution of the preview's document, so the
    // copy breaks its lines and pages as the preview's own layout would.
    m_resolution.setDotsPerMeterX(qRound(setup.sourceDpi.width() * InchesPerMetre));
    m_resolution.setDotsPerMeterY(qRound(setup.sourceDpi.height() * InchesPerMetre));
    QFont defaultFont;
    defaultFont.fromString(setup.defaultFont);
    defaultFont.setHintingPreference(QFont::PreferNoHinting);
    m_document.setDefaultFont(defaultFont);
    m_document.setDefaultTextOption(setup.defaultTextOption);
    m_document.setUseDesignMetrics(true);
    m_document.setDocumentMargin(0);

    const qreal pxPerMmX = setup.sourceDpi.width() / MillimetresPerInch;
    const qreal pxPerMmY = setup.sourceDpi.height() / MillimetresPerInch;
    const QPageLayout &page = setup.pageLayout;
    const QRectF printable = page.paintRect(QPageLayout::Millimeter);
    const QMarginsF printerMargins
        = page.mode() == QPageLayout::FullPageMode ? QMarginsF() : page.margins(QPageLayout::Millimeter);
    QTextFrameFormat frame = m_document.rootFrame()->frameFormat();
    frame.setLeftMargin(qMax(0.0, MinimumMarginMm - printerMargins.left()) * pxPerMmX);
    frame.setRightMargin(qMax(0.0, MinimumMarginMm - printerMargins.right()) * pxPerMmX);
    frame.setTopMargin(qMax(0.0, MinimumMarginMm - printerMargins.top()) * pxPerMmY);
    frame.setBottomMargin(qMax(0.0, MinimumMarginMm - printerMargins.bottom()) * pxPerMmY);
    m_document.rootFrame()->setFrameFormat(frame);

    // The layout keeps positions in 64ths of a pixel, and places page n at n
    // times the page height in those units: a height between two such steps
    // would put each page's text a little further from where the page is
    // drawn, the further the more pages come before it.
    m_pageSize = QSizeF(std::round(printable.width() * pxPerMmX * FixedSteps) / FixedSteps,
                        std::round(printable.height() * pxPerMmY * FixedSteps) / FixedSteps);
    m_document.setPageSize(m_pageSize);
    m_document.documentLayout()->setPaintDevice(&m_resolution);
}

// Paragraphs are added one at a time, each laid out as it arrives, until a
// line stands on the page after the part's last: lines and pages above it
// can no longer change.
PrintPart::Ending PrintPart::layOut(int pages, const std::atomic_bool &stop, PrintStart *next)
{
    const qreal boundary = pages * m_pageSize.height();
    const QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    for (int index = m_start.paragraph;; ++index) {
        if (stop)
            return Stopped;
        const std::optional<PrintParagraph> paragraph = m_paragraphs.paragraph(index);
        if (!paragraph) {
            if (stop)
                return Stopped;
            m_pageCount = m_document.pageCount();
            return LastPart;
        }
        append(*paragraph, index == m_start.paragraph ? m_start.offset : 0);
        if (layout->blockBoundingRect(m_document.lastBlock()).bottom() <= boundary)
            continue;
        if (const std::optional<PrintStart> start = startOfPage(pages)) {
            *next = *start;
            return Continues;
        }
    }
}

void PrintPart::append(const PrintParagraph &paragraph, int offset)
{
    m_cursor.beginEditBlock();
    const QTextBlockFormat blockFormat = format(paragraph.blockFormat).toBlockFormat();
    const QTextCharFormat blockCharFormat = format(paragraph.blockCharFormat).toCharFormat();
    if (m_sourcePositions.empty()) {
        m_cursor.setBlockFormat(blockFormat);
        m_cursor.setBlockCharFormat(blockCharFormat);
    } else {
        m_cursor.insertBlock(blockFormat, blockCharFormat);
    }
    m_sourcePositions.push_back(paragraph.sourcePosition + offset);
    for (const PrintParagraph::Run &run : paragraph.runs) {
        const int start = qMax(run.start, offset);
        const int end = run.start + run.length;
        if (end > start)
            m_cursor.insertText(paragraph.text.mid(start, end - start), format(run.format).toCharFormat());
    }
    m_cursor.endEditBlock();
}

// The first line whose top lies at or below the top of page `page`, and the
// page it stands on; none while no line reaches that far.
std::optional<PrintStart> PrintPart::startOfPage(int page)
{
    const qreal top = page * m_pageSize.height();
    const QAbstractTextDocumentLayout *layout = m_document.documentLayout();
    QTextBlock block = m_document.lastBlock();
    while (block.previous().isValid() && layout->blockBoundingRect(block).top() >= top)
        block = block.previous();
    for (; block.isValid(); block = block.next()) {
        const QTextLayout *lines = block.layout();
        for (int i = 0; i < lines->lineCount(); ++i) {
            const qreal lineTop = lines->position().y() + lines->lineAt(i).y();
            if (lineTop < top)
                continue;
            // A line taller than a page leaves the page after it without a
            // line of its own: that page belongs to this part.
            m_pageCount = int(std::floor(lineTop / m_pageSize.height()));
            const int number = block.blockNumber();
            const int offset = number == 0 ? m_start.offset : 0;
            const int textStart = lines->lineAt(i).textStart();
            return PrintStart{m_start.paragraph + number, offset + textStart,
                              m_sourcePositions[size_t(number)] + textStart};
        }
    }
    return std::nullopt;
}

PrintFault PrintPart::write(const QString &fileName, const std::function<bool()> &onPage)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PrintFault::of(PrintFault::SpoolFileFailed);
    PrintSink sink(&file);
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setPdfVersion(m_setup.pdfVersion);
    writer.setResolution(m_setup.resolution);
    writer.setPageLayout(m_setup.pageLayout);
    writer.setTitle(m_setup.title);
    writer.setCreator(m_setup.creator);

    QPainter painter;
    if (!painter.begin(&writer))
        return PrintFault::of(PrintFault::PaintFailed);
    PrintFault fault;
    for (int page = 0; page < m_pageCount && !fault.isSet(); ++page) {
        if (sink.failed())
            fault = PrintFault::of(PrintFault::SpoolFileFailed);
        else if (page > 0 && !writer.newPage())
            fault = PrintFault::of(PrintFault::PaintFailed);
        else
            paintPage(painter, page);
        if (!fault.isSet() && !onPage())
            fault = PrintFault::of(PrintFault::Aborted);
    }
    const bool ended = painter.end();
    if (fault.isSet())
        return fault;
    if (sink.failed() || !file.flush())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    if (!ended)
        return PrintFault::of(PrintFault::PaintFailed);
    return PrintFault();
}

void PrintPart::paintPage(QPainter &painter, int index)
{
    const QRectF page(0, index * m_pageSize.height(), m_pageSize.width(), m_pageSize.height());
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / m_setup.sourceDpi.width(),
                  device->logicalDpiY() / m_setup.sourceDpi.height());
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

const QTextFormat &PrintPart::format(int index)
{
    if (size_t(index) >= m_formats.size())
        m_formats.resize(size_t(index) + 1);
    std::optional<QTextFormat> &own = m_formats[size_t(index)];
    if (!own) {
        own = m_paragraphs.format(index);
        // The copy is laid out with the fonts' own advances (design metrics),
        // which hinting does not change: it would only cost time.
        if (own->isCharFormat())
            own->setProperty(QTextFormat::FontHintingPreference, QFont::PreferNoHinting);
    }
    return *own;
}
