#include "fixtures/findcontrol.h"
#include "app/installedtypeface.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "fixtures/listfontsource.h"
#include "fixtures/testmain.h"
#include "mainwindow/glyphana.h"
#include "startup/bittewarten.h"
#include "startup/fontsource.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include <optional>

namespace {
QStringList comboEntries(const QComboBox *box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries.append(box->itemText(i));
    return entries;
}

// What the census observed: the load routine's runs with the size of the
// size list and the font list each time, and the count text after every tick.
struct CensusRecord {
    QList<int> fontsAtLoad;
    QList<int> sizesAtLoad;
    QStringList infoTexts;
    bool barFullAtHandover = false;
};

void record(BitteWarten &startup, CensusRecord &seen)
{
    QObject::connect(&startup, &BitteWarten::mainWindowCreated, &startup, [&seen, &startup](Glyphana *window) {
        QObject::connect(window, &Glyphana::loaded, window, [&seen, &startup, window] {
            seen.fontsAtLoad.append(control<SortedListWidget>(*window, "List_Fonts")->count());
            seen.sizesAtLoad.append(control<QComboBox>(*window, "SGröße")->count());
            const auto *bar = control<QProgressBar>(startup, "ProgressBar");
            if (seen.fontsAtLoad.size() == 2)
                seen.barFullAtHandover = bar->value() == bar->maximum();
        });
    });
    QObject::connect(control<QTimer>(startup, "Timer1"), &QTimer::timeout, &startup,
                     [&seen, &startup] { seen.infoTexts.append(control<QLabel>(startup, "txt_Info")->text()); });
}

// A census over `fonts`, started and recorded; handedOver() waits for its end.
struct CensusRun {
    explicit CensusRun(const QStringList &fonts) : source(fonts), startup(source)
    {
        record(startup, seen);
        startup.show();
    }

    bool handedOver()
    {
        return QTest::qWaitFor([this] { return !startup.isVisible(); }) && startup.mainWindow().isVisible();
    }

    const ListFontSource source;
    BitteWarten startup;
    CensusRecord seen;
};
} // namespace

class CensusTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { testEnvironment().clearSettings(); }

    void startsEmptyAndCentred();
    void fillsBothListsInGermanOrderAndHandsOver();
    void handsOverWithOneFontOrNone_data();
    void handsOverWithOneFontOrNone();
    void systemSourceListsOnlyInstalledFamilies();
    void designTypefacesShowAsInstalledFamilies();
};

void CensusTest::startsEmptyAndCentred()
{
    // Before the application's event loop runs, show() of a splash-screen
    // window runs the pending events once, so that it paints; a tick that is
    // due by then comes inside show(). How soon that is depends on the
    // build's speed, so the state before the first tick is read before
    // show(), and the first tick checks that the window is on screen.
    const ListFontSource fonts({QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Serif")});
    BitteWarten startup(fonts);
    auto *timer = control<QTimer>(startup, "Timer1");
    QCOMPARE(control<QLabel>(startup, "txt_Info")->text(), QStringLiteral("0 Schriften gefunden"));
    QCOMPARE(control<QProgressBar>(startup, "ProgressBar")->value(), 0);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1);
    QCOMPARE(startup.size(), QSize(224, 82));
    QVERIFY(startup.windowFlags().testFlag(Qt::FramelessWindowHint));

    std::optional<QRect> shownAtFirstTick; // the frame, empty when not visible
    QObject::connect(timer, &QTimer::timeout, &startup, [&startup, &shownAtFirstTick] {
        if (!shownAtFirstTick)
            shownAtFirstTick = startup.isVisible() ? startup.frameGeometry() : QRect();
    });
    startup.show();
    QTRY_VERIFY(shownAtFirstTick);
    QVERIFY(!shownAtFirstTick->isEmpty());
    QCOMPARE(shownAtFirstTick->center(), startup.screen()->availableGeometry().center());
}

void CensusTest::fillsBothListsInGermanOrderAndHandsOver()
{
    // Duplicates stay, case is ignored and "Ä" sorts with "A": character-code
    // order would put "zeta" after "Zeta" and "Äpfel" last.
    CensusRun run({QStringLiteral("zeta"), QStringLiteral("Beta"), QStringLiteral("Äpfel"), QStringLiteral("alpha"),
                   QStringLiteral("Beta"), QStringLiteral("Ast"), QStringLiteral("Zeta")});
    QVERIFY(run.handedOver());
    Glyphana &main = run.startup.mainWindow();
    const CensusRecord &seen = run.seen;

    const QStringList expected{QStringLiteral("alpha"), QStringLiteral("Äpfel"), QStringLiteral("Ast"),
                               QStringLiteral("Beta"),  QStringLiteral("Beta"),  QStringLiteral("zeta"),
                               QStringLiteral("Zeta")};
    QCOMPARE(control<SortedListWidget>(main, "List_Fonts")->names(), expected);
    QCOMPARE(comboEntries(control<SortedComboBox>(main, "Combo_SArt")), expected);

    QCOMPARE(seen.fontsAtLoad, (QList<int>{0, 7}));
    QCOMPARE(seen.sizesAtLoad, (QList<int>{15, 15}));
    QVERIFY(seen.barFullAtHandover);
    QCOMPARE(seen.infoTexts.size(), 7);
    QCOMPARE(seen.infoTexts.first(), QStringLiteral("1 Schriften gefunden"));
    QCOMPARE(seen.infoTexts.last(), QStringLiteral("7 Schriften gefunden"));

    QCOMPARE(control<QLabel>(main, "txt_Schriften", 0)->text(), QStringLiteral("7 Schriften gefunden "));
    QCOMPARE(control<QLabel>(main, "ZeigeSchrift")->text(), QStringLiteral("alpha"));
    QCOMPARE(control<QLabel>(main, "ZeigeSchrift")->font().family(), QStringLiteral("alpha"));
    // Arial is not among the fonts, so no typeface is chosen.
    QCOMPARE(control<SortedComboBox>(main, "Combo_SArt")->currentIndex(), -1);
    main.close();
}

void CensusTest::handsOverWithOneFontOrNone_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::newRow("no fonts") << QStringList();
    QTest::newRow("one font") << QStringList{QStringLiteral("Liberation Mono")};
}

void CensusTest::handsOverWithOneFontOrNone()
{
    QFETCH(QStringList, names);
    CensusRun run(names);
    QVERIFY(run.handedOver());
    Glyphana &main = run.startup.mainWindow();
    QCOMPARE(run.seen.fontsAtLoad.size(), 2);
    QCOMPARE(control<SortedListWidget>(main, "List_Fonts")->names(), names);
    QCOMPARE(control<QLabel>(main, "txt_Schriften", 0)->text(),
             QString::number(names.size()) + QStringLiteral(" Schriften gefunden "));
    QCOMPARE(control<QLabel>(main, "ZeigeSchrift")->text(), names.value(0));
    main.close();
}

void CensusTest::systemSourceListsOnlyInstalledFamilies()
{
    // The test's font folder holds the three Liberation families; Qt adds its
    // generic names, which are no installed fonts.
    QVERIFY(QFontDatabase::families().contains(QStringLiteral("Sans Serif")));
    const SystemFontSource fonts;
    QStringList names;
    for (int i = 0; i < fonts.count(); ++i)
        names.append(fonts.name(i));
    names.sort();
    QCOMPARE(names,
             (QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("Liberation Serif")}));
}

// The windows were designed in typefaces this machine lacks; they show the
// metric-compatible family that is installed, named as that font names itself.
void CensusTest::designTypefacesShowAsInstalledFamilies()
{
    const QString sans = QStringLiteral("Liberation Sans");
    QCOMPARE(installedTypeface(QStringLiteral("Arial")), sans);
    QCOMPARE(installedTypeface(QStringLiteral("MS Sans Serif")), sans);
    QCOMPARE(installedTypeface(QStringLiteral("Courier New")), QStringLiteral("Liberation Mono"));
    QCOMPARE(installedTypeface(QStringLiteral("liberation serif")), QStringLiteral("Liberation Serif"));
    // A name nothing stands in for gets what fontconfig would show for it.
    QVERIFY(isInstalledFamily(installedTypeface(QStringLiteral("Keine solche Schrift"))));
    // Menus and dialogs use the desktop's font, Qt's generic name here.
    QVERIFY2(isInstalledFamily(QApplication::font().family()), qPrintable(QApplication::font().family()));
}

LETTERLOOM_TEST_MAIN(CensusTest)
#include "censustest.moc"
