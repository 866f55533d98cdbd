// The preview window: its catalogue, layout on resize, print entry points and closing.
#include "previewfixture.h"

#include "app/twips.h"
#include "controls/flatbutton.h"
#include "fixtures/findcontrol.h"
#include "fixtures/modaldriver.h"
#include "fixtures/shownarea.h"
#include "fixtures/testmain.h"
#include "preview/vorschau.h"
#include "textlayout/fontrelease.h"

#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>

namespace {
const QStringList Fonts{QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Liberation Serif")};

PrintOptions someOptions()
{
    PrintOptions options = catalogueOptions(SampleKind::SomeOfEach);
    options.sampleColor = QColor(0, 0, 192);
    return options;
}

QWidget *client(Vorschau &preview)
{
    return preview.findChild<QWidget *>(QStringLiteral("client"));
}

// Makes the client area `width` × `height` pixels, as dragging the frame would.
void resizeClient(Vorschau &preview, int width, int height)
{
    QWidget *area = client(preview);
    preview.resize(preview.width() + width - area->width(), preview.height() + height - area->height());
    QTRY_COMPARE(area->size(), QSize(width, height));
}

QStringList manyFonts(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(Fonts.at(i % 3));
    return names;
}

// The first line the view shows is the catalogue's title line.
bool titleIsAtTheTop(QTextEdit *view)
{
    return view->cursorForPosition(QPoint(4, 4)).block() == view->document()->firstBlock();
}

int outerHeight(Vorschau &preview)
{
    return toTwips(client(preview)->height()) + 760;
}
} // namespace

class VorschauTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void windowAsDesigned();
    void catalogueShowsEveryFontInItsOwnFace();
    void opensAtTheTitle_data();
    void opensAtTheTitle();
    void theBuildNeverMovesTheUser();
    void viewIsReadOnlyButSelectable();
    void lettingFontsGoChangesNothingOnScreen();
    void layoutFollowsTheSize_data();
    void layoutFollowsTheSize();
    void tooSmallKeepsLastSizes();
    void menuEntryPrintsWithoutSubMenu();
    void printButtonPrints_data();
    void printButtonPrints();
    void backClosesAndStopsTheBuild();
    void closingMidBuildIsSafe();

private:
    ModalDriver m_modal{this};
};

void VorschauTest::windowAsDesigned()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));

    QCOMPARE(preview.windowTitle(), QStringLiteral("Vorschau"));
    QVERIFY(!preview.windowIcon().isNull());
    const Qt::WindowFlags flags = preview.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(client(preview)->size(), QSize(twips(8745), twips(6570)));

    QCOMPARE(control<FlatButton>(preview, "cmd_Print")->text(), QStringLiteral("&Drucken"));
    QCOMPARE(control<FlatButton>(preview, "cmd_Ende")->text(), QStringLiteral("zurück"));
    QVERIFY(control<QLabel>(preview, "txt_Error")->text().isEmpty());
    QCOMPARE(control<QLabel>(preview, "txt_Error")->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    QCOMPARE(QApplication::focusWidget(), control<FlatButton>(preview, "cmd_Ende"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<FlatButton>(preview, "cmd_Print"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<QTextEdit>(preview, "RichTextBox"));
    for (QWidget *control : client(preview)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty(),
                 qPrintable(control->objectName()));

    // The band below the view sits 1210 and 1110 twips above the outer bottom edge.
    QCOMPARE(control<FlatButton>(preview, "cmd_Ende")->y(), twips(outerHeight(preview) - 1210));
    QCOMPARE(control<QLabel>(preview, "txt_Error")->y(), twips(outerHeight(preview) - 1110));
    QCOMPARE(control<QTextEdit>(preview, "RichTextBox")->geometry(), QRect(twips(30), 0, twips(8655), twips(6045)));
}

// What the user reads in the view, written out from the layout's table: one
// block per font in list order, every sample and rule drawn in its own font.
void VorschauTest::catalogueShowsEveryFontInItsOwnFace()
{
    const QStringList many = manyFonts(60);
    Vorschau preview(someOptions(), many);
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());

    QStringList lines{QStringLiteral("Katalog (60 Schriften)")};
    for (const QString &name : many)
        lines << QString() << name << QStringLiteral("ABCDEFG abcdefg ÄäÜüÖö 12345 @§$%&-+, ") + name
              << QString(113, QLatin1Char('_'));
    lines << QStringLiteral("© http://www.letterloom.example");
    const QTextDocument *document = control<QTextEdit>(preview, "RichTextBox")->document();
    QCOMPARE(document->toPlainText().split(QLatin1Char('\n')), lines);
    QCOMPARE(document->blockCount(), lines.size());

    for (int i = 0; i < many.size(); ++i) {
        for (int sampleOrRule : {3, 4}) {
            const QTextBlock block = document->findBlockByNumber(4 * i + sampleOrRule);
            const QFont face = block.begin().fragment().charFormat().font();
            QCOMPARE(QFontInfo(face).family(), many.at(i));
            QCOMPARE(QFontInfo(face).pointSize(), 20);
        }
    }
}

void VorschauTest::opensAtTheTitle_data()
{
    QTest::addColumn<int>("fontCount");
    QTest::newRow("three fonts, longer than the view") << 3;
    QTest::newRow("3000 fonts, built while open") << 3000;
}

void VorschauTest::opensAtTheTitle()
{
    QFETCH(int, fontCount);
    Vorschau preview(someOptions(), manyFonts(fontCount));
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QTextEdit *view = control<QTextEdit>(preview, "RichTextBox");
    QVERIFY(view->verticalScrollBar()->maximum() > 0);
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    QVERIFY(titleIsAtTheTop(view));

    QTRY_VERIFY(preview.isCatalogueComplete());
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    QVERIFY(titleIsAtTheTop(view));
}

// While the rest of the catalogue goes in, the user pages down and selects;
// the place they went to and their selection stay as they left them.
void VorschauTest::theBuildNeverMovesTheUser()
{
    Vorschau preview(someOptions(), manyFonts(3000));
    preview.show();
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    QTextEdit *view = control<QTextEdit>(preview, "RichTextBox");
    view->setFocus();
    QTest::keyClick(view, Qt::Key_PageDown);
    QTest::keyClick(view, Qt::Key_PageDown);
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(!preview.isCatalogueComplete());
    const int scrolledTo = view->verticalScrollBar()->value();
    QVERIFY(scrolledTo > 0);
    const QTextCursor selection = view->textCursor();
    QVERIFY(selection.hasSelection());

    QTRY_VERIFY(preview.isCatalogueComplete());
    QCOMPARE(view->verticalScrollBar()->value(), scrolledTo);
    QCOMPARE(view->textCursor().anchor(), selection.anchor());
    QCOMPARE(view->textCursor().position(), selection.position());
}

void VorschauTest::viewIsReadOnlyButSelectable()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    QTextEdit *view = control<QTextEdit>(preview, "RichTextBox");
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->textInteractionFlags(), Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    const int before = view->document()->characterCount();
    view->setFocus();
    QTest::keyClicks(view, QStringLiteral("xyz"));
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(view->document()->characterCount(), before);
    QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(view->textCursor().selectedText(), QStringLiteral("Katalog (3 Schriften)"));
}

// Fonts of blocks that are done are let go to save memory; the view still
// draws every block as before, loading the fonts again.
void VorschauTest::lettingFontsGoChangesNothingOnScreen()
{
    Vorschau preview(someOptions(), manyFonts(300));
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    auto *release = preview.findChild<FontRelease *>();
    QVERIFY(release);
    QWidget *page = control<QTextEdit>(preview, "RichTextBox")->viewport();
    QScrollBar *bar = control<QTextEdit>(preview, "RichTextBox")->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const QImage before = page->grab().toImage();

    QSignalSpy released(release, &FontRelease::released);
    bar->setValue(bar->value() + bar->pageStep());
    bar->setValue(bar->maximum() / 2);
    QVERIFY(released.wait());
    QCOMPARE(page->grab().toImage(), before);
}

void VorschauTest::layoutFollowsTheSize_data()
{
    QTest::addColumn<int>("extraWidth");
    QTest::addColumn<int>("extraHeight");
    QTest::newRow("as designed") << 0 << 0;
    QTest::newRow("wider by one pixel") << 1 << 0;
    QTest::newRow("wider and taller") << 250 << 120;
    QTest::newRow("narrower and lower") << -100 << -80;
}

// At any size the buttons stay whole in the bottom right corner, "zurück"
// rightmost, the status line runs up to the print button, and the view fills
// the rest of the window.
void VorschauTest::layoutFollowsTheSize()
{
    QFETCH(int, extraWidth);
    QFETCH(int, extraHeight);
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    const QWidget *area = client(preview);
    const QWidget *view = control<QTextEdit>(preview, "RichTextBox");
    const QWidget *print = control<FlatButton>(preview, "cmd_Print");
    const QWidget *back = control<FlatButton>(preview, "cmd_Ende");
    const QWidget *status = control<QLabel>(preview, "txt_Error");
    const QSize margins = area->size() - view->size();
    const QPoint backFromCorner = area->rect().bottomRight() - back->geometry().bottomRight();

    resizeClient(preview, area->width() + extraWidth, area->height() + extraHeight);

    QCOMPARE(clippedOrOverlapping(*area).join(u';'), QString());
    QCOMPARE(area->size() - view->size(), margins);
    QCOMPARE(area->rect().bottomRight() - back->geometry().bottomRight(), backFromCorner);
    QCOMPARE(print->y(), back->y());
    QVERIFY(print->geometry().right() < back->x());
    QVERIFY(status->geometry().right() < print->x());
    QVERIFY(status->y() > view->geometry().bottom());
}

// A window too small for its band cuts the print button off at its left edge;
// what cannot shrink further keeps the size it last had.
void VorschauTest::tooSmallKeepsLastSizes()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    const QWidget *status = control<QLabel>(preview, "txt_Error");
    const QWidget *view = control<QTextEdit>(preview, "RichTextBox");
    const int statusWidth = status->width();

    resizeClient(preview, 300, 200);
    QCOMPARE(status->width(), statusWidth);
    QVERIFY(control<FlatButton>(preview, "cmd_Print")->x() < 0);
    const QSize viewSize = view->size();

    resizeClient(preview, 4, 20);
    QCOMPARE(view->size(), viewSize);
    QVERIFY(control<FlatButton>(preview, "cmd_Ende")->x() < 0);
}

void VorschauTest::menuEntryPrintsWithoutSubMenu()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto *menuBar = preview.findChild<QMenuBar *>();
    QVERIFY(menuBar);
    QCOMPARE(menuBar->actions().size(), 1);
    QAction *entry = control<QAction>(preview, "Drucken");
    QCOMPARE(menuBar->actions().first(), entry);
    QCOMPARE(entry->text(), QStringLiteral("Drucken"));
    QVERIFY(!entry->menu());

    bool dialogShown = false;
    whenModal<QPrintDialog>([&dialogShown](QPrintDialog *dialog) {
        dialogShown = true;
        dialog->reject();
    });
    QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(entry).center());
    QTRY_VERIFY(dialogShown);
    const QLabel *status = control<QLabel>(preview, "txt_Error");
    QTRY_COMPARE(status->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QVERIFY(!status->text().isEmpty());
}

// Pressed while the catalogue is still being built, "Drucken" shows the rest
// being built under a progress window, then the print dialog with the
// catalogue complete; cancelling the wait prints nothing and the build goes on.
void VorschauTest::printButtonPrints_data()
{
    QTest::addColumn<bool>("waitForTheBuild");
    QTest::newRow("waited for") << true;
    QTest::newRow("wait cancelled") << false;
}

void VorschauTest::printButtonPrints()
{
    QFETCH(bool, waitForTheBuild);
    Vorschau preview(someOptions(), manyFonts(3000));
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QVERIFY(!preview.isCatalogueComplete());

    bool progressShown = false;
    whenModal<QProgressDialog>([&](QProgressDialog *progress) {
        progressShown = true;
        QCOMPARE(progress->labelText(), QStringLiteral("Der Katalog wird fertig aufgebaut …"));
        if (!waitForTheBuild)
            QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    });
    bool dialogShown = false;
    bool completeWhenAsked = false;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        dialogShown = true;
        completeWhenAsked = preview.isCatalogueComplete();
        dialog->reject();
    });
    QTest::mouseClick(control<FlatButton>(preview, "cmd_Print"), Qt::LeftButton);
    QVERIFY(progressShown);
    QCOMPARE(dialogShown, waitForTheBuild);
    QCOMPARE(completeWhenAsked, waitForTheBuild);
    QTRY_VERIFY(preview.isCatalogueComplete());
}

void VorschauTest::backClosesAndStopsTheBuild()
{
    const QStringList many = manyFonts(10000);
    Vorschau preview(someOptions(), many);
    QSignalSpy finished(&preview, &QDialog::finished);
    preview.open();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QTest::mouseClick(control<FlatButton>(preview, "cmd_Ende"), Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(preview.result(), int(QDialog::Rejected));
    QVERIFY(!preview.isVisible());

    QVERIFY(!preview.isCatalogueComplete());
    const int written = control<QTextEdit>(preview, "RichTextBox")->document()->blockCount();
    // Long enough for a running build to have had many turns of its own.
    int turns = 0;
    QTimer turn;
    connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
    turn.start(10);
    QTRY_VERIFY(turns >= 20);
    QCOMPARE(control<QTextEdit>(preview, "RichTextBox")->document()->blockCount(), written);
}

void VorschauTest::closingMidBuildIsSafe()
{
    const QStringList many = manyFonts(10000);
    auto *preview = new Vorschau(someOptions(), many);
    preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    const QTextDocument *catalogue = control<QTextEdit>(*preview, "RichTextBox")->document();
    const int firstScreen = catalogue->blockCount();
    QTRY_VERIFY(catalogue->blockCount() > firstScreen);
    QVERIFY(!preview->isCatalogueComplete());
    preview->close();
    delete preview;

    Vorschau again(someOptions(), Fonts);
    again.show();
    QTRY_VERIFY(again.isCatalogueComplete());
    QCOMPARE(client(again)->size(), QSize(twips(8745), twips(6570)));
}

LETTERLOOM_TEST_MAIN(VorschauTest)
#include "vorschautest.moc"
