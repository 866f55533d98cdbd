// The small modal window of a long print job: "Seite x von y" and a cancel
// button. It appears only once the job has run for a moment, and from then on
// the job lets it repaint between steps.
#pragma once

#include <QElapsedTimer>
#include <QString>

#include <memory>

class PrintProgressWindow;
class QWidget;

class PrintProgress
{
public:
    explicit PrintProgress(QWidget *parent, int showAfterMs = DefaultShowAfterMs);
    ~PrintProgress();

    enum PageCount { Exact, Expected };
    // Page `page` of `pageCount` is being printed; 0 pages while they are still
    // being counted. An expected count is what the pages laid out so far promise.
    void setPage(int page, int pageCount, PageCount kind = Exact);
    // Every page is drawn; the parts they were drawn in become one job.
    void setJoining();
    // Called between short steps of work; keeps the window alive.
    void tick();
    bool wasCancelled() const { return m_cancelled; }

    static constexpr int DefaultShowAfterMs = 500;

private:
    void showIfDue();
    QString labelText() const;

    QWidget *m_parent;
    int m_showAfterMs;
    QElapsedTimer m_running;
    QElapsedTimer m_sinceEvents;
    std::unique_ptr<PrintProgressWindow> m_window;
    int m_page = 0;
    int m_pageCount = 0;
    PageCount m_pageCountKind = Exact;
    bool m_joining = false;
    bool m_cancelled = false;
};
