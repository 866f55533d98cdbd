#include "fixtures/findcontrol.h"
#include "mainwindowfixture.h"

#include "controls/flatbutton.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "fixtures/testmain.h"

#include <QLabel>

namespace {
void mark(QListWidget *list, const QStringList &names)
{
    for (const QString &name : names) {
        const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY(!found.isEmpty());
        for (QListWidgetItem *item : found)
            item->setSelected(true);
    }
}

QStringList marked(const QListWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected())
            names.append(list->item(row)->text());
    }
    return names;
}

void clickEntry(QListWidget *list, const QString &name)
{
    QListWidgetItem *item = list->findItems(name, Qt::MatchExactly).value(0);
    QVERIFY(item);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}
} // namespace

class PrintListTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { testEnvironment().clearSettings(); }

    void addMarkedAddsEachNameOnceAndKeepsMarks();
    void addMarkedComparesExactlyWithCase();
    void addMarkedWithNothingMarkedRewritesTheCount();
    void addAllReplacesThePrintList();
    void addAllWithNoFontsLeavesItEmpty();
    void undoMarksKeepsPrintListAndClearKeepsMarks();
    void clickShowsTheFontInItselfAtTheCurrentSize();
    void keyboardMarksAndAccelerators();
};

void PrintListTest::addMarkedAddsEachNameOnceAndKeepsMarks()
{
    const auto window = loadedMainWindow();
    mark(control<SortedListWidget>(*window, "List_Fonts"),
         {QStringLiteral("Liberation Serif"), QStringLiteral("Liberation Mono")});
    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->names(),
             (QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Serif")}));
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("2 Schriften in der Druckliste "));
    QCOMPARE(marked(control<SortedListWidget>(*window, "List_Fonts")),
             (QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Serif")}));

    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 2);

    mark(control<SortedListWidget>(*window, "List_Fonts"), {QStringLiteral("Liberation Sans")});
    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->names(),
             control<SortedListWidget>(*window, "List_Fonts")->names());
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("3 Schriften in der Druckliste "));
}

void PrintListTest::addMarkedComparesExactlyWithCase()
{
    const QStringList fonts{QStringLiteral("Gamma"), QStringLiteral("gamma"), QStringLiteral("Gamma "),
                            QStringLiteral("Delta"), QStringLiteral("Delta")};
    const auto window = loadedMainWindow(fonts);
    mark(control<SortedListWidget>(*window, "List_Fonts"), fonts);
    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    // The duplicate font-list entry is added once; case and blanks count.
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 4);
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("4 Schriften in der Druckliste "));
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->names().count(QStringLiteral("Delta")), 1);
}

void PrintListTest::addMarkedWithNothingMarkedRewritesTheCount()
{
    const auto window = loadedMainWindow();
    control<FlatButton>(*window, "cmd_AlleEinfügen")->click();
    control<QLabel>(*window, "txt_Schriften", 1)->setText(QStringLiteral("stale"));
    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 3);
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("3 Schriften in der Druckliste "));
}

void PrintListTest::addAllReplacesThePrintList()
{
    const auto window = loadedMainWindow();
    mark(control<SortedListWidget>(*window, "List_Fonts"), {QStringLiteral("Liberation Sans")});
    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    control<FlatButton>(*window, "cmd_AlleEinfügen")->click();
    control<FlatButton>(*window, "cmd_AlleEinfügen")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->names(),
             control<SortedListWidget>(*window, "List_Fonts")->names());
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("3 Schriften in der Druckliste "));
    QCOMPARE(marked(control<SortedListWidget>(*window, "List_Fonts")), QStringList{QStringLiteral("Liberation Sans")});
}

void PrintListTest::addAllWithNoFontsLeavesItEmpty()
{
    const auto window = loadedMainWindow({});
    control<FlatButton>(*window, "cmd_AlleEinfügen")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 0);
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("0 Schriften in der Druckliste "));
}

void PrintListTest::undoMarksKeepsPrintListAndClearKeepsMarks()
{
    const auto window = loadedMainWindow();
    mark(control<SortedListWidget>(*window, "List_Fonts"),
         {QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Mono")});
    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();

    control<FlatButton>(*window, "cmd_Clear")->click();
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 0);
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("0 Schriften in der Druckliste "));
    QCOMPARE(marked(control<SortedListWidget>(*window, "List_Fonts")).size(), 2);

    control<FlatButton>(*window, "cmd_TeilEinfügen")->click();
    control<FlatButton>(*window, "cmd_Re")->click();
    QVERIFY(marked(control<SortedListWidget>(*window, "List_Fonts")).isEmpty());
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 2);
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("2 Schriften in der Druckliste "));
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 0)->text(), QStringLiteral("3 Schriften gefunden "));
}

void PrintListTest::clickShowsTheFontInItselfAtTheCurrentSize()
{
    const auto window = shownMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    control<SpinButtons>(*window, "UpDown")->setValue(-5);

    clickEntry(control<SortedListWidget>(*window, "List_Fonts"), QStringLiteral("Liberation Serif"));
    QCOMPARE(marked(control<SortedListWidget>(*window, "List_Fonts")), QStringList{QStringLiteral("Liberation Serif")});
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->text(), QStringLiteral("Liberation Serif"));
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->font().family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->font().pointSize(), 18);

    clickEntry(control<SortedListWidget>(*window, "List_Fonts"), QStringLiteral("Liberation Mono"));
    // A second click removes the mark and still shows the font.
    clickEntry(control<SortedListWidget>(*window, "List_Fonts"), QStringLiteral("Liberation Serif"));
    QCOMPARE(marked(control<SortedListWidget>(*window, "List_Fonts")), QStringList{QStringLiteral("Liberation Mono")});
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->text(), QStringLiteral("Liberation Serif"));
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 0);
    window->close();
}

void PrintListTest::keyboardMarksAndAccelerators()
{
    const auto window = shownMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    control<SortedListWidget>(*window, "List_Fonts")->setFocus();
    control<SortedListWidget>(*window, "List_Fonts")->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    QTest::keyClick(control<SortedListWidget>(*window, "List_Fonts"), Qt::Key_Space);
    QTest::keyClick(control<SortedListWidget>(*window, "List_Fonts"), Qt::Key_Down);
    QTest::keyClick(control<SortedListWidget>(*window, "List_Fonts"), Qt::Key_Down);
    QTest::keyClick(control<SortedListWidget>(*window, "List_Fonts"), Qt::Key_Space);
    QCOMPARE(marked(control<SortedListWidget>(*window, "List_Fonts")),
             (QStringList{QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Serif")}));

    QTest::keyClick(control<SortedListWidget>(*window, "List_Fonts"), Qt::Key_Return);
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->text(), QStringLiteral("Liberation Serif"));

    QTest::keyClick(control<SortedListWidget>(*window, "List_Fonts"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<FlatButton>(*window, "cmd_TeilEinfügen"));
    QTest::keyClick(control<FlatButton>(*window, "cmd_TeilEinfügen"), Qt::Key_Space);
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 2);
    window->close();
}

LETTERLOOM_TEST_MAIN(PrintListTest)
#include "printlisttest.moc"
