// Carries out one print onto the printer the print dialog chose: pages the
// document, writes it as PDF, page by page with progress, and delivers the PDF
// to the chosen file or CUPS queue. Only a job that arrived counts as printed.
#pragma once

#include "printjob/printfault.h"

class PrintPages;
class PrintProgress;
class QIODevice;
class QPrinter;
class QTextDocument;
class QTextDocumentFragment;

class PrintRun
{
public:
    PrintRun(QPrinter &printer, PrintProgress &progress);

    // Prints `part` (the selection, or all) of `source`.
    PrintFault print(const QTextDocument &source, const QTextDocumentFragment &part);

    int pageCount() const { return m_pageCount; }

private:
    PrintFault unusablePrinter() const;
    bool layOut(PrintPages &pages);
    PrintFault render(const PrintPages &pages, QIODevice &target, PrintFault::Cause writeFault,
                      const QString &targetName);
    PrintFault printToFile(const PrintPages &pages);
    PrintFault printToQueue(const PrintPages &pages);

    QPrinter &m_printer;
    PrintProgress &m_progress;
    int m_pageCount = 0;
};
