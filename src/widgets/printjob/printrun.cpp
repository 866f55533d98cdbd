#include "printjob/printrun.h"

#include "printjob/printparagraphs.h"
#include "printjob/printpipeline.h"
#include "printjob/printprogress.h"
#include "printjob/printqueue.h"
#include "printjob/printscratch.h"
#include "printjob/printsetup.h"
#include "printjob/sheetorder.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QThread>

#include <cmath>
#include <memory>

namespace {
// How long the job's own thread waits for the parts' threads between two
// looks at the progress window, and how long it copies paragraphs for them at
// a time: together with a turn of the event loop, short enough that the
// window never stutters.
constexpr int WaitMs = 5;
constexpr int CopyMs = 10;
} // namespace

PrintRun::PrintRun(QPrinter &printer, PrintProgress &progress) : m_printer(printer), m_progress(progress) { }

PrintFault PrintRun::print(const QTextDocument &source, int from, int to)
{
    if (const PrintFault fault = unusablePrinter(); fault.isSet())
        return fault;

    // A queue makes the copies itself; a PDF file holds what it is given.
    m_copies = m_printer.outputFormat() == QPrinter::NativeFormat ? 1 : qMax(1, m_printer.copyCount());
    m_inPageOrder = m_copies == 1 && m_printer.pageOrder() != QPrinter::LastPageFirst;
    const PrintSetup setup = setupFor(source);
    PrintParagraphs paragraphs(source, from, to);
    QTemporaryDir folder(PrintScratch::partsFolderTemplate());
    if (!folder.isValid())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        return printToFile(paragraphs, setup, folder.path());
    return printToQueue(paragraphs, setup, folder.path());
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

// What the printer and the preview's document say, read here, on the thread
// that owns them, for the threads that write the parts.
PrintSetup PrintRun::setupFor(const QTextDocument &source) const
{
    PrintSetup setup;
    setup.pageLayout = m_printer.pageLayout();
    if (const QPaintDevice *device = source.documentLayout()->paintDevice()) {
        setup.sourceDpi = QSizeF(device->logicalDpiX(), device->logicalDpiY());
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        // A document without a device lays out at the primary screen's resolution.
        setup.sourceDpi = QSizeF(std::round(screen->logicalDotsPerInchX()), std::round(screen->logicalDotsPerInchY()));
    }
    setup.defaultFont = source.defaultFont().toString();
    setup.defaultTextOption = source.defaultTextOption();
    setup.resolution = m_printer.resolution();
    setup.pdfVersion = m_printer.pdfVersion();
    setup.title = m_printer.docName();
    setup.creator = m_printer.creator();
    return setup;
}

PrintFault PrintRun::printToFile(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder)
{
    const QString fileName = m_printer.outputFileName();
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return PrintFault::of(PrintFault::OutputNotWritable, fileName);
    const PrintFault notWritable = PrintFault::of(PrintFault::OutputNotWritable, fileName);
    PrintFault fault = writeJoined(paragraphs, setup, folder, file, notWritable);
    if (!fault.isSet() && (!file.flush() || file.error() != QFileDevice::NoError))
        fault = notWritable;
    file.close();
    // Half a PDF is no use to anybody; a device or pipe the user named stays.
    if (fault.isSet() && QFileInfo(fileName).isFile())
        QFile::remove(fileName);
    return fault;
}

// A queue gets one PDF, joined as the parts come. Its parts could go to the
// queue as the documents of one job, but CUPS hands those to the printer one
// after the other, and a printer that makes a PDF of them (cups-pdf) keeps only
// the first.
PrintFault PrintRun::printToQueue(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder)
{
    QTemporaryFile spool(PrintScratch::spoolFileTemplate());
    if (!spool.open())
        return PrintFault::of(PrintFault::SpoolFileFailed);
    const PrintFault spoolFault = PrintFault::of(PrintFault::SpoolFileFailed);
    if (const PrintFault fault = writeJoined(paragraphs, setup, folder, spool, spoolFault); fault.isSet())
        return fault;
    if (!spool.flush() || spool.error() != QFileDevice::NoError)
        return spoolFault;
    m_progress.setJoining();
    const PrintQueue::Job job = PrintQueue::jobFor(m_printer);
    return runAside([&] { return PrintQueue::submit(job, spool.fileName(), m_cancelled); });
}

// Pages in their own order are joined as their parts come, each part let go
// once it is in; any other order needs every part written first.
PrintFault PrintRun::writeJoined(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder,
                                 QIODevice &target, const PrintFault &targetFault)
{
    PdfJoin join(target, [this] { return !m_cancelled; });
    std::vector<Part> parts;
    const PrintFault fault = writeParts(paragraphs, setup, folder, [&](const QString &part, int pages) {
        if (!m_inPageOrder) {
            parts.emplace_back(part, pages);
            return PrintFault();
        }
        const PdfJoin::Result joined = join.addPart(part);
        QFile::remove(part);
        return faultOf(joined, targetFault);
    });
    if (fault.isSet())
        return fault;
    if (!m_inPageOrder)
        m_progress.setJoining();
    // The page tree and the table of every object close the file: at ten
    // thousand families, too long to keep the window waiting.
    return runAside([&] {
        if (!m_inPageOrder)
            if (const PrintFault joinFault = joinInSheetOrder(join, parts, targetFault); joinFault.isSet())
                return joinFault;
        return faultOf(join.finish(), targetFault);
    });
}

// The parts are written on threads of their own; this thread copies the
// paragraphs for them, keeps the progress window up to date and takes a cancel.
PrintFault PrintRun::writeParts(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder,
                                const std::function<PrintFault(const QString &, int)> &deliver)
{
    PrintPipeline pipeline(paragraphs, setup, folder, deliver);
    pipeline.start(QThread::idealThreadCount());
    bool copying = true;
    do {
        if (copying)
            copying = paragraphs.copyStep(CopyMs);
        showProgress(pipeline);
        if (m_cancelled)
            pipeline.cancel();
    } while (!pipeline.waitFor(copying ? 0 : WaitMs));
    m_pageCount = pipeline.pageCount();
    if (m_cancelled)
        return PrintFault::of(PrintFault::Aborted);
    return pipeline.fault();
}

// Sheets of one part that follow each other are added together; a part that
// comes again later (another copy) keeps what it added.
PrintFault PrintRun::joinInSheetOrder(PdfJoin &join, const std::vector<Part> &parts, const PrintFault &targetFault)
{
    std::vector<int> partOfPage;
    std::vector<int> firstPageOf;
    for (size_t part = 0; part < parts.size(); ++part) {
        firstPageOf.push_back(int(partOfPage.size()));
        partOfPage.insert(partOfPage.end(), size_t(parts[part].second), int(part));
    }
    const std::vector<int> order = sheetOrder(int(partOfPage.size()), m_copies, m_printer.collateCopies(),
                                              m_printer.pageOrder() == QPrinter::LastPageFirst);
    std::vector<size_t> lastSheetOf(parts.size(), 0);
    for (size_t sheet = 0; sheet < order.size(); ++sheet)
        lastSheetOf[size_t(partOfPage[size_t(order[sheet])])] = sheet;
    for (size_t sheet = 0; sheet < order.size();) {
        const int part = partOfPage[size_t(order[sheet])];
        std::vector<int> pages;
        for (; sheet < order.size() && partOfPage[size_t(order[sheet])] == part; ++sheet)
            pages.push_back(order[sheet] - firstPageOf[size_t(part)]);
        const bool lastTime = sheet > lastSheetOf[size_t(part)];
        if (const PrintFault fault = faultOf(join.addPages(parts[size_t(part)].first, pages, lastTime), targetFault);
            fault.isSet())
            return fault;
    }
    return PrintFault();
}

// Work that takes a while runs on a thread of its own, while this one keeps
// the progress window alive and takes a cancel.
PrintFault PrintRun::runAside(const std::function<PrintFault()> &work)
{
    PrintFault fault;
    const std::unique_ptr<QThread> thread(QThread::create([&fault, &work] { fault = work(); }));
    thread->start();
    while (!thread->wait(WaitMs))
        tick();
    return m_cancelled ? PrintFault::of(PrintFault::Aborted) : fault;
}

void PrintRun::showProgress(const PrintPipeline &pipeline)
{
    const int written = pipeline.pagesWritten();
    if (const int pages = pipeline.pageCount(); pages > 0) {
        m_progress.setPage(qMin(written + 1, pages), pages);
    } else if (const int laidOut = pipeline.pagesLaidOut(); laidOut > 0) {
        const double share = pipeline.shareLaidOut();
        const int expected = share > 0 ? qMax(laidOut + 1, int(std::ceil(laidOut / share))) : laidOut + 1;
        m_progress.setPage(qMin(written + 1, expected), expected, PrintProgress::Expected);
    } else {
        m_progress.setPage(0, 0);
    }
    if (m_progress.wasCancelled())
        m_cancelled = true;
}

void PrintRun::tick()
{
    m_progress.tick();
    if (m_progress.wasCancelled())
        m_cancelled = true;
}

PrintFault PrintRun::faultOf(PdfJoin::Result result, const PrintFault &targetFault)
{
    switch (result) {
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
