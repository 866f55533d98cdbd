// Opens the preview with every family fontconfig lists in the print list and
// prints, as min / median / max of three runs each in a process of its own:
//   preview        first screen, fully built (the moment the view has laid out
//                  the last block of the finished catalogue), longest stall of the
//                  event loop from the start to then, the slowest of ten scrolls
//                  across the finished catalogue (from the jump to the drawn view),
//                  peak RSS and private memory once built
//   print-early    "Drucken" pressed while the catalogue is still being built:
//                  how soon the print dialog (or a progress window) comes, and the
//                  longest stall until it does
//   preview-fontconfig-match  the preview case with the program's font match
//                  left to fontconfig, to compare
//   nomerge        baseline: the catalogue built in one go into a plain QTextEdit,
//                  font merging off for samples and rules as the preview has it
//   plain          the same with font merging on (not run by default: slow)
// Usage: preview_bench [preview|print-early|nomerge|plain]
//   no argument runs preview, preview-fontconfig-match, print-early and nomerge,
//   three times each.
//   Large font sets: FONTCONFIG_FILE=$(bench/make-fontset.py 10000 /tmp/fonts10k) preview_bench
//   With a screen reader's accessibility bus: bench/with-accessibility-bus.sh build/bench/preview_bench
#include "app/application.h"
#include "controls/flatbutton.h"
#include "benchsupport.h"
#include "preview/cataloguebuilder.h"
#include "preview/vorschau.h"
#include "textlayout/layoutprogress.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int TickMs = 10;
constexpr qint64 PrintAfterFirstScreenMs = 200;
constexpr qint64 GiveUpMs = 590000;
constexpr int Runs = 3;
constexpr int ScrollPlaces = 10;

// Watches a view from before its window is made: first paint, the end of the
// layout (checked whenever the layout reports progress) and the longest gap
// between two ticks of a 10 ms timer.
class Watch : public QObject
{
public:
    Watch(QTextEdit *view, const QElapsedTimer &clock, std::function<bool()> complete)
        : m_view(view),
          m_complete(std::move(complete)),
          m_clock(clock)
    {
        view->viewport()->installEventFilter(this);
        QObject::connect(view->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
                         [this] { checkBuilt(); });
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { tick(); });
        m_tick.start(TickMs);
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && m_firstPaint < 0)
            m_firstPaint = m_clock.elapsed();
        return false;
    }

    void checkBuilt()
    {
        if (m_built < 0 && m_complete() && isLaidOutToTheEnd(*m_view->document())) {
            m_built = m_clock.elapsed();
            m_stallUntilBuilt = m_longestStall;
        }
    }

    std::function<void(qint64 now)> onTick;
    qint64 firstPaint() const { return m_firstPaint; }
    qint64 built() const { return m_built; }
    qint64 stallUntilBuilt() const { return m_stallUntilBuilt; }
    qint64 longestStall() const { return m_longestStall; }
    void resetStall() { m_longestStall = 0; }

private:
    void tick()
    {
        const qint64 now = m_clock.elapsed();
        m_longestStall = std::max(m_longestStall, now - m_lastTick);
        m_lastTick = now;
        checkBuilt();
        if (onTick)
            onTick(now);
        if (now > GiveUpMs)
            QCoreApplication::exit(1);
    }

    QTextEdit *m_view;
    std::function<bool()> m_complete;
    const QElapsedTimer &m_clock;
    QTimer m_tick;
    qint64 m_lastTick = 0;
    qint64 m_firstPaint = -1;
    qint64 m_built = -1;
    qint64 m_stallUntilBuilt = -1;
    qint64 m_longestStall = 0;
};

// Jumps to ten places spread over the catalogue and returns the longest any
// jump took until the view had drawn it.
double slowestScrollMs(QTextEdit *view)
{
    QScrollBar *bar = view->verticalScrollBar();
    double slowest = 0;
    for (int place = ScrollPlaces; place >= 1; --place) {
        QElapsedTimer jump;
        jump.start();
        bar->setValue(int(qint64(bar->maximum()) * place / ScrollPlaces));
        view->viewport()->grab();
        slowest = std::max(slowest, jump.nsecsElapsed() / 1e6);
    }
    return slowest;
}

// The preview opens from the main window, which has drawn its buttons and
// labels: the window's own font is loaded by then.
void drawLikeTheMainWindow()
{
    QPushButton button(QStringLiteral("&Druckvorschau"));
    button.grab();
}

void reportMemory()
{
    reportFigure("peak-RSS", double(peakRssMb()), "MB");
    reportFigure("private-memory", double(privateMemoryMb()), "MB");
}

int runPreview(const QStringList &names)
{
    drawLikeTheMainWindow();
    QElapsedTimer clock;
    clock.start();
    Vorschau preview(benchOptions(), names);
    auto *view = preview.findChild<QTextEdit *>(QStringLiteral("RichTextBox"));
    Watch watch(view, clock, [&preview] { return preview.isCatalogueComplete(); });
    watch.onTick = [&watch](qint64) {
        if (watch.built() >= 0 && watch.firstPaint() >= 0)
            QCoreApplication::quit();
    };
    preview.show();
    if (QApplication::exec() != 0)
        return 1;
    std::printf("preview: %d families, accessibility %s\n", int(names.size()),
                QAccessible::isActive() ? "active" : "off");
    reportFigure("first-screen", double(watch.firstPaint()), "ms");
    reportFigure("fully-built", double(watch.built()), "ms");
    reportFigure("longest-stall", double(watch.stallUntilBuilt()), "ms");
    reportFigure("slowest-scroll-draw", slowestScrollMs(view), "ms");
    reportMemory();
    return 0;
}

int runPrintEarly(const QStringList &names)
{
    drawLikeTheMainWindow();
    QElapsedTimer clock;
    clock.start();
    Vorschau preview(benchOptions(), names);
    Watch watch(preview.findChild<QTextEdit *>(QStringLiteral("RichTextBox")), clock,
                [&preview] { return preview.isCatalogueComplete(); });
    auto *print = preview.findChild<FlatButton *>(QStringLiteral("cmd_Print"));
    qint64 pressed = -1;
    qint64 progressShown = -1;
    qint64 dialogShown = -1;
    bool buildingWhenPressed = false;
    watch.onTick = [&](qint64 now) {
        if (pressed < 0 && watch.firstPaint() >= 0 && now >= watch.firstPaint() + PrintAfterFirstScreenMs) {
            buildingWhenPressed = !preview.isCatalogueComplete();
            watch.resetStall();
            pressed = clock.elapsed();
            // Pressed from a timer of its own, so the press can block like a click would.
            QTimer::singleShot(0, print, [print] { print->click(); });
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (progressShown < 0 && qobject_cast<QProgressDialog *>(modal))
            progressShown = now;
        if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            dialogShown = now;
            dialog->reject();
            QCoreApplication::quit();
        }
    };
    preview.show();
    if (QApplication::exec() != 0)
        return 1;
    std::printf("print-early: %d families, %s when pressed\n", int(names.size()),
                buildingWhenPressed ? "still building" : "already built");
    reportFigure("dialog-after-press", double(dialogShown - pressed), "ms");
    if (progressShown >= 0)
        reportFigure("progress-after-press", double(progressShown - pressed), "ms");
    reportFigure("longest-stall-after-press", double(watch.longestStall()), "ms");
    reportMemory();
    return 0;
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
    Watch watch(view, clock, [] { return true; });
    watch.onTick = [&watch](qint64) {
        if (watch.built() >= 0 && watch.firstPaint() >= 0)
            QCoreApplication::quit();
    };
    window.show();
    if (QApplication::exec() != 0)
        return 1;
    std::printf("%s: %d families\n", merging ? "plain" : "nomerge", int(names.size()));
    reportFigure("first-screen", double(watch.firstPaint()), "ms");
    reportFigure("fully-built", double(watch.built()), "ms");
    reportFigure("longest-stall", double(watch.stallUntilBuilt()), "ms");
    reportFigure("slowest-scroll-draw", slowestScrollMs(view), "ms");
    reportMemory();
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: preview_bench [preview|print-early|nomerge|plain]\n"
                 "  no argument: preview, the preview with fontconfig's own font match, print-early\n"
                 "  and nomerge (the baseline), %d runs each\n",
                 Runs);
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    runOffscreenUnlessChosen();
    QApplication app(argc, argv);
    setUpApplication(app);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QStringList approaches{QStringLiteral("preview"), QStringLiteral("print-early"), QStringLiteral("nomerge"),
                                 QStringLiteral("plain")};
    if (arguments.size() > 1 || (arguments.size() == 1 && !approaches.contains(arguments.first())))
        return usage();
    if (arguments.isEmpty()) {
        int failures = 0;
        for (const char *each : {"preview", "preview-fontconfig-match", "print-early", "nomerge"})
            failures += runAndSummarise(each, QString::fromLatin1(each), Runs);
        return failures;
    }
    const QStringList names = everyInstalledFamily();
    const QString approach = arguments.first();
    if (approach == QLatin1String("preview"))
        return runPreview(names);
    if (approach == QLatin1String("print-early"))
        return runPrintEarly(names);
    return runPlain(names, approach == QLatin1String("plain"));
}
