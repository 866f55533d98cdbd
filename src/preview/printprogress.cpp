#include "preview/printprogress.h"

#include "app/appinfo.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {
// Often enough that the window never looks frozen, rarely enough that handling
// events costs the job next to nothing.
constexpr int EventIntervalMs = 40;
} // namespace

PrintProgress::PrintProgress(QWidget *parent, int showAfterMs) : m_parent(parent), m_showAfterMs(showAfterMs)
{
    m_running.start();
    m_sinceEvents.start();
}

PrintProgress::~PrintProgress() = default;

bool PrintProgress::isShown() const
{
    return m_window && m_window->isVisible();
}

void PrintProgress::setPage(int page, int pageCount)
{
    m_page = page;
    m_pageCount = pageCount;
    if (m_window) {
        m_window->setMaximum(qMax(pageCount, 1));
        m_window->setValue(qMin(page, qMax(pageCount, 1)));
        m_window->setLabelText(labelText());
    }
    tick();
}

void PrintProgress::tick()
{
    showIfDue();
    // Closing the window any way at all is cancelling: the job must not go on
    // without it, with the preview open to input.
    if (m_window && !m_window->isVisible())
        m_cancelled = true;
    // Until the modal window is up, events could reach the preview behind it
    // (and close it in the middle of the job), so none are handled before.
    if (!m_window || m_sinceEvents.elapsed() < EventIntervalMs)
        return;
    m_sinceEvents.restart();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void PrintProgress::showIfDue()
{
    if (m_window || m_running.elapsed() < m_showAfterMs)
        return;
    m_window = std::make_unique<QProgressDialog>(m_parent);
    m_window->setWindowTitle(AppTitle);
    m_window->setWindowModality(Qt::ApplicationModal);
    m_window->setAutoReset(false);
    m_window->setAutoClose(false);
    m_window->setMinimumDuration(0);
    m_window->setCancelButtonText(QStringLiteral("Abbrechen"));
    m_window->setMaximum(qMax(m_pageCount, 1));
    m_window->setValue(qMin(m_page, qMax(m_pageCount, 1)));
    m_window->setLabelText(labelText());
    QObject::connect(m_window.get(), &QProgressDialog::canceled, [this] { m_cancelled = true; });
    m_window->show();
    m_sinceEvents.restart();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString PrintProgress::labelText() const
{
    if (m_pageCount <= 0)
        return QStringLiteral("Seiten werden umbrochen …");
    return QStringLiteral("Seite %1 von %2").arg(m_page).arg(m_pageCount);
}
