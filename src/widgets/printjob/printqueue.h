// Hands a finished PDF to a CUPS queue with the options the print dialog chose,
// and tells whether the scheduler took the job.
#pragma once

#include "printjob/printfault.h"

#include <QByteArray>
#include <QPrinter>
#include <QStringList>

#include <atomic>
#include <utility>
#include <vector>

class QPageLayout;
class QString;

class PrintQueue
{
public:
    using Options = std::vector<std::pair<QByteArray, QByteArray>>;

    // A job as the print dialog chose it, read from the printer on its own thread.
    struct Job {
        QString queue;
        QString title;
        Options options;
    };
    // `printer` is a native printer as the print dialog left it.
    static Job jobFor(const QPrinter &printer);
    // Hands the PDF `pdfFile` to the queue as one job, on any thread; the
    // scheduler prints nothing of it before all of it has arrived, and nothing
    // at all once `cancelled` is set on the way.
    static PrintFault submit(const Job &job, const QString &pdfFile, const std::atomic_bool &cancelled);
    // The CUPS job options for what the dialog chose (paper, copies, sides,
    // orientation, and the options of its printer properties page as name and
    // value after each other): the ones Qt's CUPS engine sends.
    static Options jobOptions(const QPageLayout &layout, int copies, bool collate, QPrinter::DuplexMode duplex,
                              const QStringList &printerOptions);
    enum SchedulerState { Answering, Unreachable, Silent };
    // Asks the CUPS scheduler a small question on a connection whose every
    // wait is bounded, so that a scheduler that takes connections and never
    // answers holds the window for 1.5 s at most. Silent covers a connection
    // that is neither taken nor refused in time.
    static SchedulerState askScheduler();
    // The fault of a scheduler that does not answer; none when it does.
    static PrintFault schedulerFault();
};
