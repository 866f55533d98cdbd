#include "printjob/printrun.h"

#include "printjob/printpages.h"
#include "printjob/printprogress.h"
#include "printjob/printqueue.h"
#include "printjob/printsink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryFile>
#include <QTextDocumentFragment>

#include <vector>

namespace {
// The order the sheets leave the printer in: reversed when the user asked for
// the last page first, and each copy drawn here when the device cannot make
// copies itself (a PDF file holds what it is given).
std::vector<int> sheetOrder(const QPrinter &printer, int pageCount, bool deviceMakesCopies)
{
    const int copies = deviceMakesCopies ? 1 : qMax(1, printer.copyCount());
    const int documentCopies = printer.collateCopies() ? copies : 1;
    const int pageCopies = printer.collateCopies() ? 1 : copies;
    const bool reversed = printer.pageOrder() == QPrinter::LastPageFirst;
    std::vector<int> order;
    order.reserve(size_t(pageCount) * size_t(copies));
    for (int d = 0; d < documentCopies; ++d) {
        for (int i = 0; i < pageCount; ++i) {
            const int page = reversed ? pageCount - 1 - i : i;
            for (int c = 0; c < pageCopies; ++c)
                order.push_back(page);
        }
    }
    return order;
}
} // namespace

PrintRun::PrintRun(QPrinter &printer, PrintProgress &progress) : m_printer(printer), m_progress(progress)
{
}

PrintFault PrintRun::print(const QTextDocument &source, const QTextDocumentFragment &part)
{
    if (const PrintFault fault = unusablePrinter(); fault.isSet())
        return fault;

    PrintPages pages(source, part, m_printer.pageLayout());
    if (!layOut(pages))
        return PrintFault::of(PrintFault::Aborted);
    m_pageCount = pages.pageCount();

    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return printToFile(pages);
    return printToQueue(pages);
}

// QPrinter falls back to writing a PDF to nowhere when its printer is gone, and
// then prints nothing without complaint: such a printer must not get the job.
PrintFault PrintRun::unusablePrinter() const
{
    if (m_printer.outputFormat() == QPrinter::PdfFormat && m_printer.outputFileName().isEmpty())
        return PrintFault::of(PrintFault::PrinterMissing);
    if (!m_printer.isValid())
        return PrintFault::of(PrintFault::PrinterInvalid);
    if (m_printer.printerState() == QPrinter::Error)
        return PrintFault::of(PrintFault::PrinterInError);
    if (m_printer.outputFormat() == QPrinter::NativeFormat && m_printer.printerName().isEmpty())
        return PrintFault::of(PrintFault::PrinterMissing);
    return PrintFault();
}

bool PrintRun::layOut(PrintPages &pages)
{
    while (pages.layoutStep()) {
        m_progress.setPage(0, 0);
        if (m_progress.wasCancelled())
            return false;
    }
    return !m_progress.wasCancelled();
}

PrintFault PrintRun::printToFile(const PrintPages &pages)
{
    const QString fileName = m_printer.outputFileName();
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PrintFault::of(PrintFault::OutputNotWritable, fileName);
    PrintFault fault = render(pages, file, PrintFault::OutputNotWritable, fileName);
    if (!fault.isSet() && (!file.flush() || file.error() != QFileDevice::NoError))
        fault = PrintFault::of(PrintFault::OutputNotWritable, fileName);
    file.close();
    // Half a PDF is no use to anybody; a device or pipe the user named stays.
    if (fault.isSet() && QFileInfo(fileName).isFile())
        QFile::remove(fileName);
    return fault;
}

PrintFault PrintRun::printToQueue(const PrintPages &pages)
{
    QTemporaryFile spool(QDir::tempPath() + QStringLiteral("/letterloom-druck-XXXXXX.pdf"));
    if (!spool.open())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    if (const PrintFault fault = render(pages, spool, PrintFault::SpoolFileFailed, QString()); fault.isSet())
        return fault;
    if (!spool.flush() || spool.error() != QFileDevice::NoError)
        return PrintFault::of(PrintFault::SpoolFileFailed);
    return PrintQueue::submit(m_printer, spool.fileName());
}

PrintFault PrintRun::render(const PrintPages &pages, QIODevice &target, PrintFault::Cause writeFault,
                            const QString &targetName)
{
    PrintSink sink(&target, [this] { m_progress.tick(); });
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setPdfVersion(m_printer.pdfVersion());
    writer.setResolution(m_printer.resolution());
    writer.setPageLayout(m_printer.pageLayout());
    writer.setTitle(m_printer.docName());
    writer.setCreator(m_printer.creator());

    const bool deviceMakesCopies = m_printer.outputFormat() == QPrinter::NativeFormat;
    const std::vector<int> order = sheetOrder(m_printer, m_pageCount, deviceMakesCopies);

    QPainter painter;
    if (!painter.begin(&writer))
        return PrintFault::of(PrintFault::PaintFailed);
    for (size_t sheet = 0; sheet < order.size(); ++sheet) {
        m_progress.setPage(int(sheet) + 1, int(order.size()));
        if (m_progress.wasCancelled()) {
            painter.end();
            return PrintFault::of(PrintFault::Aborted);
        }
        if (sheet > 0 && !writer.newPage()) {
            painter.end();
            return PrintFault::of(PrintFault::PaintFailed);
        }
        pages.paintPage(painter, order[sheet]);
    }
    const bool ended = painter.end();
    if (m_progress.wasCancelled())
        return PrintFault::of(PrintFault::Aborted);
    if (!ended)
        return PrintFault::of(PrintFault::PaintFailed);
    if (sink.failed())
        return PrintFault::of(writeFault, targetName);
    return PrintFault();
}
