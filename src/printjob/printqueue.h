// Hands a finished PDF to a CUPS queue with the options the print dialog chose,
// and tells whether the scheduler took the job.
#pragma once

#include "printjob/printfault.h"

#include <QByteArray>
#include <QPrinter>
#include <QStringList>

#include <utility>
#include <vector>

class QPageLayout;
class QString;

class PrintQueue
{
public:
    using Options = std::vector<std::pair<QByteArray, QByteArray>>;

    // `printer` is a native printer as the print dialog left it.
    static PrintFault submit(const QPrinter &printer, const QString &pdfFile);
    // The CUPS job options for what the dialog chose (paper, copies, sides,
    // orientation, and the options of its printer properties page as name and
    // value after each other): the ones Qt's CUPS engine sends.
    static Options jobOptions(const QPageLayout &layout, int copies, bool collate, QPrinter::DuplexMode duplex,
                              const QStringList &printerOptions);
    // Whether the CUPS scheduler answers at all.
    static bool schedulerReachable();
};
