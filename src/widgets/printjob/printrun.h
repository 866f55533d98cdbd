// Carries out one print onto the printer the print dialog chose: pages the
// document, writes it as PDF in parts, page by page with progress, joins the
// parts and delivers the PDF to the chosen file or CUPS queue. Only a job that
// arrived counts as printed.
#pragma once

#include "printjob/printfault.h"

#include <cstddef>
#include <memory>
#include <vector>

class PrintPages;
class PrintProgress;
class QIODevice;
class QPrinter;
class QTextDocument;

class PrintRun
{
public:
    PrintRun(QPrinter &printer, PrintProgress &progress);

    // Prints characters `from` up to `to` (the selection, or all) of `source`.
    PrintFault print(const QTextDocument &source, int from, int to);

    int pageCount() const { return m_pageCount; }

private:
    PrintFault unusablePrinter() const;
    bool layOut(PrintPages &pages, int pageCount);
    PrintFault writePdf(std::unique_ptr<PrintPages> pages, QIODevice &target, const PrintFault &targetFault);
    PrintFault writePart(PrintPages &pages, const std::vector<int> &order, size_t first, size_t end,
                         const QString &fileName);
    PrintFault printToFile(std::unique_ptr<PrintPages> pages);
    PrintFault printToQueue(std::unique_ptr<PrintPages> pages);

    QPrinter &m_printer;
    PrintProgress &m_progress;
    int m_copies = 1;
    bool m_inPageOrder = true;
    int m_sheetsDrawn = 0;
    int m_pageCount = 0;
};
