// Hands a finished PDF to a CUPS queue with the options the print dialog chose,
// and tells whether the scheduler took the job.
#pragma once

#include "printjob/printfault.h"

class QPrinter;
class QString;

class PrintQueue
{
public:
    // `printer` is a native printer as the print dialog left it.
    static PrintFault submit(const QPrinter &printer, const QString &pdfFile);
};
