// Lays out and writes a print job's parts on threads of their own, one part
// per thread at a time: each part is laid out once the part before it is, so
// the pages break as in one long document, while the parts before are still
// being drawn and their fonts embedded. Finished parts are handed on in their
// order, one at a time. The thread that starts the job stays free to copy the
// paragraphs, repaint and take a cancel.
#pragma once

#include "printjob/printfault.h"
#include "printjob/printpart.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class PrintParagraphs;
class QThread;
struct PrintSetup;

class PrintPipeline
{
public:
    // Takes part `file` with its `pages` pages; a fault ends the job.
    using Deliver = std::function<PrintFault(const QString &file, int pages)>;

    // Parts of `sheetsPerPart` pages are written into `folder` as "1.pdf", "2.pdf"...
    PrintPipeline(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder, Deliver deliver,
                  int sheetsPerPart = SheetsPerPart);
    // Stops the job and waits for its threads.
    ~PrintPipeline();

    void start(int threads);
    // Stops every thread at its next page or paragraph; a part whose fonts are
    // being embedded is finished first.
    void cancel();
    // Waits up to `ms` for something to change; true once the job is over.
    bool waitFor(int ms);
    // The job's fault; none when every part was delivered.
    PrintFault fault() const;

    // Pages drawn so far, in all parts.
    int pagesWritten() const { return m_pagesWritten; }
    // Pages laid out for good so far, and the share of the text they hold.
    int pagesLaidOut() const;
    double shareLaidOut() const;
    // Every page once the last part is laid out, else 0.
    int pageCount() const;

    // Qt's PDF writer embeds a part's fonts only when the part ends, in one
    // call that nothing can interrupt: small parts keep that call short, so a
    // cancel is answered soon, and the writer's copies of the fonts go with each part.
    static constexpr int SheetsPerPart = 16;

private:
    void work();
    bool nextPart(int *part, PrintStart *start);
    void laidOut(PrintPart::Ending ending, const PrintPart &part, const PrintStart &next);
    void written(int part, int pages, const PrintFault &fault);
    void deliverInOrder();
    bool takeDeliverable(int *part, int *pages);
    void fail(const PrintFault &fault);
    QString fileOf(int part) const;

    PrintParagraphs &m_paragraphs;
    const PrintSetup &m_setup;
    const QString m_folder;
    const Deliver m_deliver;
    const int m_sheetsPerPart;
    std::vector<std::unique_ptr<QThread>> m_threads;
    std::atomic_bool m_stop{false};
    std::atomic_int m_pagesWritten{0};

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    PrintFault m_fault;
    // Laying out goes from part to part: the next part's start, once known.
    int m_nextPart = 0;
    PrintStart m_nextStart;
    bool m_startKnown = true;
    bool m_allLaidOut = false;
    int m_partCount = 0;
    int m_pagesLaidOut = 0;
    int m_positionLaidOut = 0;
    // The page count of each part written, -1 until it is.
    std::vector<int> m_writtenPages;
    int m_nextToDeliver = 0;
    int m_running = 0;
    std::mutex m_delivering;
};
