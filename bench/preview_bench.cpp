// Opens the preview with every installed family in the print list and prints
// how soon the first screen shows, when the whole catalogue is laid out, the
// longest stall of the event loop meanwhile and the peak memory. Each approach
// runs in a process of its own so that their memory does not mix:
//   preview    the preview window as the program opens it
//   plain      the catalogue built in one go into a plain QTextEdit, font merging on
//   nomerge    the same with merging off for samples and rules
// Usage: preview_bench [approach]   (no argument: all three, in child processes)
#include "app/application.h"
#include "benchsupport.h"
#include "preview/cataloguebuilder.h"
#include "preview/vorschau.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int TickMs = 10;
constexpr qint64 ResizeAtMs = 1000;
constexpr qint64 ScrollAtMs = 1500;
constexpr qint64 GiveUpMs = 120000;

bool laidOutToTheEnd(const QTextEdit *view)
{
    const QTextLayout *layout = view->document()->lastBlock().layout();
    return layout && layout->lineCount() > 0;
}

// Watches a view from the moment its window opens: first paint, end of the
// layout, longest gap between two ticks of a 10 ms timer. Halfway it plays the
// user: the window grows, then the view scrolls to its middle.
class Watch : public QObject
{
public:
    Watch(QWidget *window, QTextEdit *view, std::function<bool()> complete, const QElapsedTimer &clock)
        : m_window(window), m_view(view), m_complete(std::move(complete)), m_clock(clock)
    {
        view->viewport()->installEventFilter(this);
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { tick(); });
        m_tick.start(TickMs);
        m_lastTick = m_clock.elapsed();
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_firstPaint < 0)
            m_firstPaint = m_clock.elapsed();
        return false;
    }

    void report(const char *approach, qsizetype families) const
    {
        std::printf("%-8s families %d  first screen %5lld ms  laid out %6lld ms  longest stall %6lld ms  "
                    "peak RSS %4ld MB  scroll range %d\n",
                    approach, int(families), m_firstPaint, m_laidOut, m_longestStall,
                    peakRssMb(), m_view->verticalScrollBar()->maximum());
        std::fflush(stdout);
    }

private:
    void tick()
    {
        const qint64 now = m_clock.elapsed();
        m_longestStall = std::max(m_longestStall, now - m_lastTick);
        m_lastTick = now;
        if (!m_resized && now >= ResizeAtMs) {
            m_resized = true;
            m_window->resize(m_window->width() + 200, m_window->height() + 100);
        }
        if (!m_scrolled && now >= ScrollAtMs) {
            m_scrolled = true;
            m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum() / 2);
        }
        if (m_resized && m_scrolled && m_firstPaint >= 0 && m_complete() && laidOutToTheEnd(m_view)) {
            m_laidOut = now;
            QCoreApplication::quit();
        }
        if (now > GiveUpMs)
            QCoreApplication::exit(1);
    }

    QWidget *m_window;
    QTextEdit *m_view;
    std::function<bool()> m_complete;
    const QElapsedTimer &m_clock;
    QTimer m_tick;
    qint64 m_lastTick = 0;
    qint64 m_firstPaint = -1;
    qint64 m_laidOut = -1;
    qint64 m_longestStall = 0;
    bool m_resized = false;
    bool m_scrolled = false;
};

int runPreview(const QStringList &names)
{
    QElapsedTimer clock;
    clock.start();
    Vorschau preview(benchOptions(), names);
    Watch watch(&preview, preview.RichTextBox, [&preview] { return preview.isCatalogueComplete(); }, clock);
    preview.show();
    const int result = QApplication::exec();
    watch.report("preview", names.size());
    return result;
}

int runPlain(const QStringList &names, bool merging)
{
    QElapsedTimer clock;
    clock.start();
    QWidget window;
    window.resize(583, 460);
    auto *view = new QTextEdit(&window);
    view->setGeometry(2, 0, 577, 403);
    view->setReadOnly(true);
    buildCatalogue(view->document(), benchOptions(), names, QDateTime::currentDateTime(), QLocale());
    if (merging) {
        QTextCursor all(view->document());
        all.select(QTextCursor::Document);
        QTextCharFormat withFallback;
        withFallback.setFontStyleStrategy(QFont::PreferDefault);
        all.mergeCharFormat(withFallback);
    }
    Watch watch(&window, view, [] { return true; }, clock);
    window.show();
    const int result = QApplication::exec();
    watch.report(merging ? "plain" : "nomerge", names.size());
    return result;
}
} // namespace

int main(int argc, char *argv[])
{
    runOffscreenUnlessChosen();
    QApplication app(argc, argv);
    setUpApplication(app);
    const QString approach = QCoreApplication::arguments().value(1);
    if (approach.isEmpty()) {
        int failures = 0;
        for (const char *each : {"plain", "nomerge", "preview"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(each)});
            child.waitForFinished(int(GiveUpMs) + 30000);
            failures += child.exitCode() != 0;
        }
        return failures;
    }
    const QStringList names = everyInstalledFamily();
    if (approach == QLatin1String("preview"))
        return runPreview(names);
    return runPlain(names, approach == QLatin1String("plain"));
}
