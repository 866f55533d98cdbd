#include "printjob/printqueue.h"

#include "app/appinfo.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPageLayout>
#include <QPrintEngine>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <cups/cups.h>

#include <utility>
#include <vector>

namespace {
// Qt keeps the options of the dialog's printer properties page (pages per
// sheet, page set, banners, job priority...) under this engine key.
constexpr auto CupsOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);
// Libcups waits up to a minute for each answer and asks several times; Qt's
// list of printers and a job's submission ask without a bound of their own,
// so they are only asked once the scheduler has answered within these times.
constexpr int ConnectTimeoutMs = 500;
constexpr int AnswerTimeoutMs = 1500;
// How often libcups asks whether to go on waiting for an answer.
constexpr double WaitStepSeconds = 0.25;
constexpr qsizetype DocumentPieceBytes = 64 * 1024;

struct AnswerWait {
    QDeadlineTimer deadline{AnswerTimeoutMs};
    bool gaveUp = false;
};

int goOnWaiting(http_t *, void *data)
{
    auto *wait = static_cast<AnswerWait *>(data);
    wait->gaveUp = wait->deadline.hasExpired();
    return wait->gaveUp ? 0 : 1;
}

bool acceptsJobs(const cups_dest_t *dest)
{
    const char *accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    return !accepting || qstrcmp(accepting, "false") != 0;
}

// The scheduler's status alone is not always telling (a queue deleted a moment
// ago may come back as an internal error), so the queue itself is looked up too.
PrintFault faultFromScheduler(const QString &queue)
{
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
        return PrintFault::of(PrintFault::SchedulerUnreachable);
    if (const PrintFault fault = PrintQueue::schedulerFault(); fault.isSet())
        return fault;
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.toLocal8Bit().constData(), nullptr);
    if (!dest) {
        if (cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE)
            return PrintFault::of(PrintFault::SchedulerUnreachable);
        return PrintFault::of(PrintFault::QueueMissing, queue);
    }
    const bool accepting = acceptsJobs(dest);
    cupsFreeDests(1, dest);
    if (status == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS || !accepting)
        return PrintFault::of(PrintFault::QueueNotAccepting, queue);
    switch (status) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return PrintFault::of(PrintFault::QueueMissing, queue);
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return PrintFault::of(PrintFault::QueueForbidden, queue);
    default:
        return PrintFault::of(PrintFault::QueueFailed,
                              QStringLiteral("0x%1").arg(unsigned(status), 4, 16, QLatin1Char('0')));
    }
}
// The one document of job `job`, read from `file`, sent in pieces so a cancel
// is answered on the way.
bool sendDocument(const QByteArray &queue, int job, const QString &file, const std::atomic_bool &cancelled)
{
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return false;
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, QFile::encodeName(QFileInfo(file).fileName()),
                          CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        return false;
    QByteArray piece(DocumentPieceBytes, Qt::Uninitialized);
    qint64 read = 0;
    bool sent = true;
    while (sent && !cancelled && (read = pdf.read(piece.data(), piece.size())) > 0)
        sent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, piece.constData(), size_t(read)) == HTTP_STATUS_CONTINUE;
    // The request is finished in any case; the scheduler's answer says whether it took the document.
    const ipp_status_t status = cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData());
    return sent && read == 0 && !cancelled && status <= IPP_STATUS_OK_CONFLICTING;
}
} // namespace

PrintQueue::Options PrintQueue::jobOptions(const QPageLayout &layout, int copies, bool collate,
                                           QPrinter::DuplexMode duplex, const QStringList &printerOptions)
{
    Options options;
    options.emplace_back("media", layout.pageSize().key().toUtf8());
    if (copies > 1) {
        options.emplace_back("copies", QByteArray::number(copies));
        if (collate)
            options.emplace_back("Collate", "True");
    }
    const bool portrait = layout.orientation() == QPageLayout::Portrait;
    switch (duplex) {
    case QPrinter::DuplexNone:
        options.emplace_back("sides", "one-sided");
        break;
    case QPrinter::DuplexAuto:
        options.emplace_back("sides", portrait ? "two-sided-long-edge" : "two-sided-short-edge");
        break;
    case QPrinter::DuplexLongSide:
        options.emplace_back("sides", "two-sided-long-edge");
        break;
    case QPrinter::DuplexShortSide:
        options.emplace_back("sides", "two-sided-short-edge");
        break;
    }
    if (!portrait)
        options.emplace_back("landscape", "");

    for (qsizetype i = 0; i + 1 < printerOptions.size(); i += 2)
        options.emplace_back(printerOptions.at(i).toUtf8(), printerOptions.at(i + 1).toUtf8());
    return options;
}

// Without a running scheduler every request fails, and the status a failed
// request leaves names the queue it asked about as missing; only a connection
// of our own tells the two apart.
PrintQueue::SchedulerState PrintQueue::askScheduler()
{
    AnswerWait wait;
    QElapsedTimer connecting;
    connecting.start();
    http_t *http
        = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ConnectTimeoutMs, nullptr);
    if (!http)
        return connecting.elapsed() >= ConnectTimeoutMs ? Silent : Unreachable;
    httpSetTimeout(http, WaitStepSeconds, goOnWaiting, &wait);
    // Any answer counts, even "there is no default printer".
    ippDelete(cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/"));
    httpClose(http);
    return wait.gaveUp ? Silent : Answering;
}

PrintFault PrintQueue::schedulerFault()
{
    switch (askScheduler()) {
    case Answering:
        return PrintFault();
    case Unreachable:
        return PrintFault::of(PrintFault::SchedulerUnreachable);
    case Silent:
        break;
    }
    return PrintFault::of(PrintFault::SchedulerSilent);
}

PrintQueue::Job PrintQueue::jobFor(const QPrinter &printer)
{
    Job job;
    // An instance "queue/instance" only chooses stored options; jobs go to the queue.
    job.queue = printer.printerName().section(QLatin1Char('/'), 0, 0);
    job.title = printer.docName().isEmpty() ? AppTitle : printer.docName();
    QPrintEngine *engine = printer.printEngine();
    job.options = jobOptions(printer.pageLayout(), printer.copyCount(), printer.collateCopies(), printer.duplex(),
                             engine ? engine->property(CupsOptionsKey).toStringList() : QStringList());
    return job;
}

PrintFault PrintQueue::submit(const Job &job, const QString &pdfFile, const std::atomic_bool &cancelled)
{
    if (job.queue.isEmpty())
        return PrintFault::of(PrintFault::PrinterMissing);
    QList<cups_option_t> cupsOptions;
    cupsOptions.reserve(job.options.size());
    for (const auto &option : job.options)
        cupsOptions.append(
            cups_option_t{const_cast<char *>(option.first.constData()), const_cast<char *>(option.second.constData())});

    if (const PrintFault fault = schedulerFault(); fault.isSet())
        return fault;
    const QByteArray queue = job.queue.toLocal8Bit();
    const int id = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), job.title.toUtf8().constData(),
                                 int(cupsOptions.size()), cupsOptions.data());
    if (id <= 0)
        return faultFromScheduler(job.queue);
    if (!cancelled && sendDocument(queue, id, pdfFile, cancelled))
        return PrintFault();
    const PrintFault fault = cancelled ? PrintFault::of(PrintFault::Aborted) : faultFromScheduler(job.queue);
    // A job whose document never arrived whole is held: taken back and purged,
    // nothing of it is printed and no trace of it stays in the queue.
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), id, 1);
    return fault;
}
