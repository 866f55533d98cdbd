// Measures the start-up on the fonts fontconfig lists, as min / median / max of
// three runs, each in a process of its own:
//   launch     from the process's start (as the kernel recorded it) to the main
//              window shown: Qt's start, the font list, the census, the hand-over
//   census     the census alone: time per tick, overall and in the first and last
//              tenth of the census (equal when the cost does not grow with the
//              list), and the two add commands of the print list on the full list
//   baseline   a bare Qt program from its start to an empty window shown after
//              reading the font list: what every Qt program pays
// Each also reports peak RSS and private memory.
// Usage: census_bench [launch|census|baseline]   (no argument: all three)
//   Large font sets: FONTCONFIG_FILE=$(bench/make-fontset.py 10000 /tmp/fonts10k) census_bench
#include "app/application.h"
#include "benchsupport.h"
#include "controls/flatbutton.h"
#include "controls/sortedlistwidget.h"
#include "mainwindow/glyphana.h"
#include "startup/bittewarten.h"
#include "startup/fontsource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

#include <unistd.h>

namespace {
constexpr int Runs = 3;

double millisecondsFor(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

// Milliseconds since the kernel started this process (10 ms resolution).
double sinceProcessStartMs()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Field 22, counted after the command name, which may hold spaces.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startedMs = fields.value(19).toDouble() * 1000.0 / double(sysconf(_SC_CLK_TCK));
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6 - startedMs;
}

void markFirst(QListWidget *list, int count)
{
    list->clearSelection();
    for (int row = 0; row < count; ++row)
        list->item(row)->setSelected(true);
}

void reportMemory()
{
    reportFigure("peak-RSS", double(peakRssMb()), "MB");
    reportFigure("private-memory", double(privateMemoryMb()), "MB");
}

// Runs the start-up as the program does and calls `ready` once the main
// window has been loaded the second time, with the full font list.
void startUp(BitteWarten &startup, const std::function<void()> &ready)
{
    QObject::connect(&startup, &BitteWarten::mainWindowCreated, &startup, [ready](Glyphana *window) {
        auto loads = std::make_shared<int>(0);
        QObject::connect(window, &Glyphana::loaded, window, [ready, loads] {
            if (++*loads == 2)
                QTimer::singleShot(0, ready);
        });
    });
    startup.show();
}

int runLaunch(QApplication &app)
{
    const SystemFontSource fonts;
    BitteWarten startup(fonts);
    double readyMs = -1;
    startUp(startup, [&] {
        readyMs = sinceProcessStartMs();
        app.quit();
    });
    app.exec();
    std::printf("launch: %d families\n", fonts.count());
    reportFigure("launch-to-main-window", readyMs, "ms");
    reportMemory();
    return readyMs < 0;
}

int runBaseline(QApplication &app)
{
    QWidget window;
    window.setWindowTitle(QString::number(QFontDatabase::families().size()));
    window.show();
    double readyMs = -1;
    QTimer::singleShot(0, &app, [&] {
        readyMs = sinceProcessStartMs();
        app.quit();
    });
    app.exec();
    reportFigure("launch-to-empty-window", readyMs, "ms");
    reportMemory();
    return readyMs < 0;
}

int runCensus(QApplication &app)
{
    const SystemFontSource fonts;
    const int count = fonts.count();
    BitteWarten startup(fonts);
    QList<qint64> tickEnds;
    QElapsedTimer clock;
    QObject::connect(startup.findChild<QTimer *>(QStringLiteral("Timer1")), &QTimer::timeout, &startup,
                     [&] { tickEnds.append(clock.nsecsElapsed()); });
    clock.start();
    startUp(startup, [&app] { app.quit(); });
    app.exec();
    const double totalMs = clock.nsecsElapsed() / 1e6;

    std::printf("census: %d families, %lld ticks\n", count, static_cast<long long>(tickEnds.size()));
    reportFigure("census", totalMs, "ms");
    reportFigure("per-tick", count > 0 ? totalMs / count : 0.0, "ms");
    if (tickEnds.size() >= 20) {
        const qsizetype tenth = tickEnds.size() / 10;
        const qsizetype last = tickEnds.size() - 1;
        reportFigure("per-tick-first-tenth", (tickEnds[tenth] - tickEnds[0]) / 1e6 / double(tenth), "ms");
        reportFigure("per-tick-last-tenth", (tickEnds[last] - tickEnds[last - tenth]) / 1e6 / double(tenth), "ms");
    }
    reportMemory();

    Glyphana &main = startup.mainWindow();
    auto *addAll = main.findChild<FlatButton *>(QStringLiteral("cmd_AlleEinfügen"));
    auto *addMarked = main.findChild<FlatButton *>(QStringLiteral("cmd_TeilEinfügen"));
    auto *clear = main.findChild<FlatButton *>(QStringLiteral("cmd_Clear"));
    auto *fontList = main.findChild<SortedListWidget *>(QStringLiteral("List_Fonts"));
    reportFigure("alle-hinzufuegen", millisecondsFor([&] { addAll->click(); }), "ms");
    clear->click();
    markFirst(fontList, count / 2);
    reportFigure("markierte-hinzufuegen-half", millisecondsFor([&] { addMarked->click(); }), "ms");
    clear->click();
    markFirst(fontList, count);
    reportFigure("markierte-hinzufuegen-all", millisecondsFor([&] { addMarked->click(); }), "ms");
    reportFigure("markierte-hinzufuegen-again", millisecondsFor([&] { addMarked->click(); }), "ms");
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: census_bench [launch|census|baseline]\n"
                 "  no argument: all three, %d runs each\n",
                 Runs);
    return 2;
}
} // namespace

int main(int argc, char *argv[])
{
    runOffscreenUnlessChosen();
    QApplication app(argc, argv);
    setUpApplication(app);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        int failures = 0;
        for (const char *each : {"launch", "census", "baseline"})
            failures += runAndSummarise(each, QString::fromLatin1(each), Runs);
        return failures;
    }
    if (arguments.size() > 1)
        return usage();
    if (arguments.first() == QLatin1String("launch"))
        return runLaunch(app);
    if (arguments.first() == QLatin1String("census"))
        return runCensus(app);
    if (arguments.first() == QLatin1String("baseline"))
        return runBaseline(app);
    return usage();
}
