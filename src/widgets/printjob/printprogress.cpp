#include "printjob/printprogress.h"

#include "app/closeonsignal.h"
#include "printjob/printprogresswindow.h"
#include "textlayout/eventloopturn.h"

#include <QCoreApplication>

PrintProgress::PrintProgress(QWidget *parent, int showAfterMs) : m_parent(parent), m_showAfterMs(showAfterMs)
{
    m_running.start();
    m_sinceEvents.start();
}

PrintProgress::~PrintProgress() = default;

void PrintProgress::setPage(int page, int pageCount, PageCount kind)
{
    m_page = page;
    m_pageCount = pageCount;
    m_pageCountKind = kind;
    if (m_window && !m_window->cancelRequested()) {
        m_window->setMaximum(qMax(pageCount, 1));
        m_window->setValue(qMin(page, qMax(pageCount, 1)));
        m_window->setLabelText(labelText());
    }
    tick();
}

void PrintProgress::setJoining()
{
    m_joining = true;
    if (m_window && !m_window->cancelRequested())
        m_window->setLabelText(labelText());
    tick();
}

void PrintProgress::tick()
{
    showIfDue();
    // Until the modal window is up, events could reach the preview behind it
    // (and close it in the middle of the job), so none are handled before.
    if (m_window && m_sinceEvents.elapsed() >= EventLoopTurnMs) {
        m_sinceEvents.restart();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    // Should the window be gone all the same, the job must not go on without it.
    if (m_window && (m_window->cancelRequested() || !m_window->isVisible()))
        m_cancelled = true;
    if (CloseOnSignal::endRequested())
        m_cancelled = true;
}

void PrintProgress::showIfDue()
{
    if (m_window || m_running.elapsed() < m_showAfterMs)
        return;
    m_window = std::make_unique<PrintProgressWindow>(m_parent);
    m_window->setMaximum(qMax(m_pageCount, 1));
    m_window->setValue(qMin(m_page, qMax(m_pageCount, 1)));
    m_window->setLabelText(labelText());
    m_window->show();
    m_sinceEvents.restart();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString PrintProgress::labelText() const
{
    if (m_joining)
        return QStringLiteral("Die Seiten werden zu einem Druckauftrag zusammengefügt …");
    if (m_pageCount <= 0)
        return QStringLiteral("Seiten werden umbrochen …");
    if (m_pageCountKind == Expected)
        return QStringLiteral("Seite %1 von etwa %2").arg(m_page).arg(m_pageCount);
    return QStringLiteral("Seite %1 von %2").arg(m_page).arg(m_pageCount);
}
