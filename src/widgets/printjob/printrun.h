// Carries out one print onto the printer the print dialog chose: pages the
// document and writes it as PDF in parts, on every core the machine has, with
// progress, and delivers the parts: joined into the chosen file, or to the
// chosen CUPS queue as one job. Only a job that arrived counts as printed.
#pragma once

#include "printjob/pdfjoin.h"
#include "printjob/printfault.h"

#include <QString>

#include <atomic>
#include <functional>
#include <utility>
#include <vector>

class PrintParagraphs;
class PrintPipeline;
class PrintProgress;
class QIODevice;
class QPrinter;
class QTextDocument;
struct PrintSetup;

class PrintRun
{
public:
    PrintRun(QPrinter &printer, PrintProgress &progress);

    // Prints characters `from` up to `to` (the selection, or all) of `source`.
    PrintFault print(const QTextDocument &source, int from, int to);

    int pageCount() const { return m_pageCount; }

private:
    // A written part: its file and its number of pages.
    using Part = std::pair<QString, int>;

    PrintFault unusablePrinter() const;
    PrintSetup setupFor(const QTextDocument &source) const;
    PrintFault printToFile(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder);
    PrintFault printToQueue(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder);
    PrintFault writeJoined(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder,
                           QIODevice &target, const PrintFault &targetFault);
    PrintFault writeParts(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder,
                          const std::function<PrintFault(const QString &, int)> &deliver);
    PrintFault joinInSheetOrder(PdfJoin &join, const std::vector<Part> &parts, const PrintFault &targetFault);
    PrintFault runAside(const std::function<PrintFault()> &work);
    void showProgress(const PrintPipeline &pipeline);
    void tick();
    static PrintFault faultOf(PdfJoin::Result result, const PrintFault &targetFault);

    QPrinter &m_printer;
    PrintProgress &m_progress;
    std::atomic_bool m_cancelled{false};
    int m_copies = 1;
    bool m_inPageOrder = true;
    int m_pageCount = 0;
};
