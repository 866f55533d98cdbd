// Hands a finished PDF to a CUPS queue with the options the print dialog chose,
// and tells whether the scheduler took the job.
#pragma once

#include "printjob/printfault.h"

#include <QByteArray>

#include <utility>
#include <vector>

class QPrinter;
class QString;

class PrintQueue
{
public:
    using Options = std::vector<std::pair<QByteArray, QByteArray>>;

    // `printer` is a native printer as the print dialog left it.
    static PrintFault submit(const QPrinter &printer, const QString &pdfFile);
    // The CUPS job options for what the dialog chose (paper, copies, sides,
    // orientation, the printer's own options): the ones Qt's CUPS engine sends.
    static Options jobOptions(const QPrinter &printer);
    // Whether the CUPS scheduler answers at all.
    static bool schedulerReachable();
};
