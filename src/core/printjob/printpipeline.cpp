#include "printjob/printpipeline.h"

#include "printjob/printparagraphs.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QThread>

PrintPipeline::PrintPipeline(PrintParagraphs &paragraphs, const PrintSetup &setup, const QString &folder,
                             Deliver deliver, int sheetsPerPart)
    : m_paragraphs(paragraphs),
      m_setup(setup),
      m_folder(folder),
      m_deliver(std::move(deliver)),
      m_sheetsPerPart(qMax(1, sheetsPerPart))
{ }

PrintPipeline::~PrintPipeline()
{
    cancel();
    for (const auto &thread : m_threads)
        thread->wait();
}

void PrintPipeline::start(int threads)
{
    {
        const std::lock_guard lock(m_mutex);
        m_running = qMax(1, threads);
    }
    for (int i = 0; i < qMax(1, threads); ++i) {
        m_threads.emplace_back(QThread::create([this] { work(); }));
        m_threads.back()->start();
    }
}

void PrintPipeline::cancel()
{
    m_stop = true;
    m_paragraphs.stop();
    const std::lock_guard lock(m_mutex);
    m_changed.notify_all();
}

bool PrintPipeline::waitFor(int ms)
{
    std::unique_lock lock(m_mutex);
    const auto over = [this] { return m_running == 0; };
    m_changed.wait_for(lock, std::chrono::milliseconds(ms), over);
    return over();
}

PrintFault PrintPipeline::fault() const
{
    const std::lock_guard lock(m_mutex);
    if (!m_fault.isSet() && m_stop)
        return PrintFault::of(PrintFault::Aborted);
    return m_fault;
}

int PrintPipeline::pagesLaidOut() const
{
    const std::lock_guard lock(m_mutex);
    return m_pagesLaidOut;
}

double PrintPipeline::shareLaidOut() const
{
    int position = 0;
    {
        const std::lock_guard lock(m_mutex);
        if (m_allLaidOut)
            return 1.0;
        if (m_pagesLaidOut == 0)
            return 0.0;
        position = m_positionLaidOut;
    }
    return m_paragraphs.shareBefore(position);
}

int PrintPipeline::pageCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_allLaidOut ? m_pagesLaidOut : 0;
}

// Each thread takes the next part as soon as the part before it is laid out,
// lays it out, tells where the part after it begins, and writes it. The fonts
// a part loaded go with it.
void PrintPipeline::work()
{
    int part = 0;
    PrintStart start;
    while (nextPart(&part, &start)) {
        int pages = 0;
        PrintFault fault;
        {
            PrintPart piece(m_paragraphs, m_setup, start);
            PrintStart next;
            const PrintPart::Ending ending = piece.layOut(m_sheetsPerPart, m_stop, &next);
            laidOut(ending, piece, next);
            if (ending == PrintPart::Stopped)
                break;
            pages = piece.pageCount();
            fault = piece.write(fileOf(part), [this] {
                ++m_pagesWritten;
                return !m_stop;
            });
        }
        QFont::cleanup();
        written(part, pages, fault);
        deliverInOrder();
    }
    const std::lock_guard lock(m_mutex);
    --m_running;
    m_changed.notify_all();
}

bool PrintPipeline::nextPart(int *part, PrintStart *start)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || m_allLaidOut || m_startKnown; });
    if (m_stop || m_allLaidOut)
        return false;
    *part = m_nextPart++;
    *start = m_nextStart;
    m_startKnown = false;
    m_writtenPages.push_back(-1);
    return true;
}

void PrintPipeline::laidOut(PrintPart::Ending ending, const PrintPart &part, const PrintStart &next)
{
    if (ending == PrintPart::Continues)
        m_paragraphs.forgetBefore(next.paragraph);
    const std::lock_guard lock(m_mutex);
    switch (ending) {
    case PrintPart::Continues:
        m_nextStart = next;
        m_startKnown = true;
        m_positionLaidOut = next.sourcePosition;
        break;
    case PrintPart::LastPart:
        m_allLaidOut = true;
        m_partCount = m_nextPart;
        break;
    case PrintPart::Stopped:
        return;
    }
    m_pagesLaidOut += part.pageCount();
    m_changed.notify_all();
}

void PrintPipeline::written(int part, int pages, const PrintFault &fault)
{
    if (fault.isSet()) {
        fail(fault);
        return;
    }
    const std::lock_guard lock(m_mutex);
    m_writtenPages[size_t(part)] = pages;
}

// One thread at a time hands parts on. A thread that finds another at it
// leaves its part to that one, which looks once more after letting go.
void PrintPipeline::deliverInOrder()
{
    for (;;) {
        std::unique_lock delivering(m_delivering, std::try_to_lock);
        if (!delivering.owns_lock())
            return;
        int part = 0;
        int pages = 0;
        while (takeDeliverable(&part, &pages)) {
            const QString file = fileOf(part);
            if (const PrintFault fault = m_deliver(file, pages); fault.isSet())
                fail(fault);
        }
        delivering.unlock();
        const std::lock_guard lock(m_mutex);
        if (m_stop || m_nextToDeliver >= int(m_writtenPages.size()) || m_writtenPages[size_t(m_nextToDeliver)] < 0)
            return;
    }
}

bool PrintPipeline::takeDeliverable(int *part, int *pages)
{
    const std::lock_guard lock(m_mutex);
    if (m_stop || m_nextToDeliver >= int(m_writtenPages.size()) || m_writtenPages[size_t(m_nextToDeliver)] < 0)
        return false;
    *part = m_nextToDeliver;
    *pages = m_writtenPages[size_t(m_nextToDeliver)];
    ++m_nextToDeliver;
    return true;
}

void PrintPipeline::fail(const PrintFault &fault)
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_fault.isSet())
            m_fault = fault;
    }
    cancel();
}

QString PrintPipeline::fileOf(int part) const
{
    return QDir(m_folder).filePath(QStringLiteral("%1.pdf").arg(part + 1));
}
