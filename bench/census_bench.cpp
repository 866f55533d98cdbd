// Measures the start-up census on the fonts fontconfig reports on this
// machine, and the two add commands of the print list on the full font list.
// Prints the time per tick (overall and per tenth of the census, which shows
// whether the cost grows with the list) and the add commands' times.
#include "app/application.h"
#include "benchsupport.h"
#include "controls/flatbutton.h"
#include "controls/sortedlistwidget.h"
#include "mainwindow/glyphana.h"
#include "startup/bittewarten.h"
#include "startup/fontsource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
double millisecondsFor(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e6;
}

void markFirst(QListWidget *list, int count)
{
    list->clearSelection();
    for (int row = 0; row < count; ++row)
        list->item(row)->setSelected(true);
}
} // namespace

int main(int argc, char *argv[])
{
    runOffscreenUnlessChosen();
    QApplication app(argc, argv);
    setUpApplication(app);
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());

    const SystemFontSource fonts;
    const int count = fonts.count();
    BitteWarten startup(fonts);
    QList<qint64> tickEnds;
    QElapsedTimer clock;
    QObject::connect(startup.Timer1, &QTimer::timeout, &startup, [&] { tickEnds.append(clock.nsecsElapsed()); });
    int loads = 0;
    QObject::connect(&startup, &BitteWarten::mainWindowCreated, &startup, [&](Glyphana *window) {
        QObject::connect(window, &Glyphana::loaded, window, [&] {
            if (++loads == 2)
                QTimer::singleShot(0, &app, &QCoreApplication::quit);
        });
    });
    clock.start();
    startup.show();
    app.exec();
    const double totalMs = clock.nsecsElapsed() / 1e6;

    std::printf("census: %d families, %lld ticks, %.1f ms in all, %.3f ms per tick\n", count,
                static_cast<long long>(tickEnds.size()), totalMs, count > 0 ? totalMs / count : 0.0);
    if (tickEnds.size() >= 20) {
        std::printf("census: ms per tick by tenth of the census:");
        const qsizetype tenth = tickEnds.size() / 10;
        for (int part = 0; part < 10; ++part) {
            const qsizetype first = part * tenth;
            const qsizetype last = (part == 9 ? tickEnds.size() : first + tenth) - 1;
            std::printf(" %.3f", (tickEnds[last] - tickEnds[first]) / 1e6 / double(last - first));
        }
        std::printf("\n");
    }

    Glyphana &main = startup.mainWindow();
    const double addAll = millisecondsFor([&] { main.cmd_AlleEinfügen->click(); });
    main.cmd_Clear->click();
    markFirst(main.List_Fonts, count / 2);
    const double addHalf = millisecondsFor([&] { main.cmd_TeilEinfügen->click(); });
    main.cmd_Clear->click();
    markFirst(main.List_Fonts, count);
    const double addMarked = millisecondsFor([&] { main.cmd_TeilEinfügen->click(); });
    const double addMarkedAgain = millisecondsFor([&] { main.cmd_TeilEinfügen->click(); });
    std::printf("print list: alle hinzufuegen %.2f ms; markierte hinzufuegen with all %d marked %.2f ms, "
                "with half marked %.2f ms, again with all already listed %.2f ms\n",
                addAll, count, addMarked, addHalf, addMarkedAgain);
    return 0;
}
