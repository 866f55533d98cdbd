#include "printjob/printrun.h"

#include "printjob/pdfjoin.h"
#include "printjob/printpages.h"
#include "printjob/printprogress.h"
#include "printjob/printqueue.h"
#include "printjob/printscratch.h"
#include "printjob/printsink.h"
#include "printjob/sheetorder.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <climits>

#include <memory>
#include <vector>

namespace {
// Sheets per part of the PDF. Qt's PDF writer embeds a part's fonts only when
// the part ends, in one call that nothing can interrupt: small parts keep that
// call short, so a cancel is answered soon, and the writer's copies of the
// fonts it embeds go with each part.
constexpr int SheetsPerPart = 16;
} // namespace

PrintRun::PrintRun(QPrinter &printer, PrintProgress &progress) : m_printer(printer), m_progress(progress) { }

PrintFault PrintRun::print(const QTextDocument &source, int from, int to)
{
    if (const PrintFault fault = unusablePrinter(); fault.isSet())
        return fault;

    auto pages = std::make_unique<PrintPages>(source, from, to, m_printer.pageLayout());
    // Pages drawn once each and in their own order are drawn as soon as they
    // are laid out, while their fonts are still loaded; any other order needs
    // every page laid out first, and each font loaded again to draw it.
    // A queue makes the copies itself; a PDF file holds what it is given.
    m_copies = m_printer.outputFormat() == QPrinter::NativeFormat ? 1 : qMax(1, m_printer.copyCount());
    m_inPageOrder = m_copies == 1 && m_printer.pageOrder() != QPrinter::LastPageFirst;
    if (!m_inPageOrder && !layOut(*pages, INT_MAX))
        return PrintFault::of(PrintFault::Aborted);

    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return printToFile(std::move(pages));
    return printToQueue(std::move(pages));
}

// QPrinter falls back to writing a PDF to nowhere when its printer is gone, and
// then prints nothing without complaint: such a printer must not get the job.
PrintFault PrintRun::unusablePrinter() const
{
    if (m_printer.outputFormat() == QPrinter::PdfFormat && m_printer.outputFileName().isEmpty())
        return PrintFault::of(PrintFault::PrinterMissing);
    // Drawing a long job for a scheduler that has gone away would only end in
    // the same failure, much later; and the printer's state below is asked of
    // the scheduler.
    if (m_printer.outputFormat() == QPrinter::NativeFormat)
        if (const PrintFault fault = PrintQueue::schedulerFault(); fault.isSet())
            return fault;
    if (!m_printer.isValid())
        return PrintFault::of(PrintFault::PrinterInvalid);
    if (m_printer.printerState() == QPrinter::Error)
        return PrintFault::of(PrintFault::PrinterInError);
    if (m_printer.outputFormat() == QPrinter::NativeFormat && m_printer.printerName().isEmpty())
        return PrintFault::of(PrintFault::PrinterMissing);
    return PrintFault();
}

// Lays out until `pages` pages are final, or all of them.
bool PrintRun::layOut(PrintPages &pages, int pageCount)
{
    while (pages.finishedPages() < pageCount && pages.layoutStep()) {
        if (!m_inPageOrder)
            pages.releaseLaidOutFonts();
        // Once sheets are being drawn the window keeps saying which one.
        if (m_sheetsDrawn == 0)
            m_progress.setPage(0, 0);
        else
            m_progress.tick();
        if (m_progress.wasCancelled())
            return false;
    }
    if (!m_inPageOrder)
        pages.releaseLaidOutFonts();
    if (pages.allLaidOut())
        m_pageCount = pages.pageCount();
    return !m_progress.wasCancelled();
}

PrintFault PrintRun::printToFile(std::unique_ptr<PrintPages> pages)
{
    const QString fileName = m_printer.outputFileName();
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PrintFault::of(PrintFault::OutputNotWritable, fileName);
    PrintFault fault = writePdf(std::move(pages), file, PrintFault::of(PrintFault::OutputNotWritable, fileName));
    if (!fault.isSet() && (!file.flush() || file.error() != QFileDevice::NoError))
        fault = PrintFault::of(PrintFault::OutputNotWritable, fileName);
    file.close();
    // Half a PDF is no use to anybody; a device or pipe the user named stays.
    if (fault.isSet() && QFileInfo(fileName).isFile())
        QFile::remove(fileName);
    return fault;
}

PrintFault PrintRun::printToQueue(std::unique_ptr<PrintPages> pages)
{
    QTemporaryFile spool(PrintScratch::spoolFileTemplate());
    if (!spool.open())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    if (const PrintFault fault = writePdf(std::move(pages), spool, PrintFault::of(PrintFault::SpoolFileFailed));
        fault.isSet())
        return fault;
    if (!spool.flush() || spool.error() != QFileDevice::NoError)
        return PrintFault::of(PrintFault::SpoolFileFailed);
    return PrintQueue::submit(m_printer, spool.fileName());
}

// The PDF is drawn in parts, each a file of its own in a private folder, and
// the parts are then joined into `target`. The laid-out copy goes before the
// join, which needs memory of its own in proportion to the pages.
PrintFault PrintRun::writePdf(std::unique_ptr<PrintPages> pages, QIODevice &target, const PrintFault &targetFault)
{
    QTemporaryDir folder(PrintScratch::partsFolderTemplate());
    if (!folder.isValid())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    std::vector<int> order;
    if (!m_inPageOrder)
        order = sheetOrder(pages->pageCount(), m_copies, m_printer.collateCopies(),
                           m_printer.pageOrder() == QPrinter::LastPageFirst);
    QStringList parts;
    for (size_t first = 0;; first += SheetsPerPart) {
        if (m_inPageOrder) {
            if (!layOut(*pages, int(first) + SheetsPerPart))
                return PrintFault::of(PrintFault::Aborted);
            for (int page = int(order.size()); page < pages->finishedPages(); ++page)
                order.push_back(page);
        }
        if (first >= order.size())
            break;
        const size_t end = qMin(order.size(), first + size_t(SheetsPerPart));
        parts.append(folder.filePath(QStringLiteral("%1.pdf").arg(parts.size() + 1)));
        if (const PrintFault fault = writePart(*pages, order, first, end, parts.last()); fault.isSet())
            return fault;
        m_sheetsDrawn = int(end);
        // The part's writer has embedded its fonts and is gone.
        pages->releasePaintedFonts();
    }
    pages.reset();

    m_progress.setJoining();
    const auto keepGoing = [this] {
        m_progress.tick();
        return !m_progress.wasCancelled();
    };
    switch (PdfJoin::join(parts, target, keepGoing)) {
    case PdfJoin::Joined:
        return PrintFault();
    case PdfJoin::Cancelled:
        return PrintFault::of(PrintFault::Aborted);
    case PdfJoin::PartUnreadable:
        return PrintFault::of(PrintFault::SpoolFileFailed);
    case PdfJoin::WriteFailed:
        break;
    }
    return targetFault;
}

// Draws sheets `first` up to `end` of `order` into a PDF file of their own.
// The first write that fails ends the part: nothing after it could arrive.
PrintFault PrintRun::writePart(PrintPages &pages, const std::vector<int> &order, size_t first, size_t end,
                               const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PrintFault::of(PrintFault::SpoolFileFailed);
    PrintSink sink(&file, [this] { m_progress.tick(); });
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setPdfVersion(m_printer.pdfVersion());
    writer.setResolution(m_printer.resolution());
    writer.setPageLayout(m_printer.pageLayout());
    writer.setTitle(m_printer.docName());
    writer.setCreator(m_printer.creator());

    QPainter painter;
    if (!painter.begin(&writer))
        return PrintFault::of(PrintFault::PaintFailed);
    PrintFault fault;
    for (size_t sheet = first; sheet < end && !fault.isSet(); ++sheet) {
        if (pages.allLaidOut())
            m_progress.setPage(int(sheet) + 1, int(order.size()));
        else
            m_progress.setPage(int(sheet) + 1, pages.expectedPageCount(), PrintProgress::Expected);
        if (m_progress.wasCancelled())
            fault = PrintFault::of(PrintFault::Aborted);
        else if (sink.failed())
            fault = PrintFault::of(PrintFault::SpoolFileFailed);
        else if (sheet > first && !writer.newPage())
            fault = PrintFault::of(PrintFault::PaintFailed);
        else
            pages.paintPage(painter, order[sheet]);
    }
    const bool ended = painter.end();
    if (fault.isSet())
        return fault;
    if (m_progress.wasCancelled())
        return PrintFault::of(PrintFault::Aborted);
    if (sink.failed() || !file.flush())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    if (!ended)
        return PrintFault::of(PrintFault::PaintFailed);
    return PrintFault();
}
