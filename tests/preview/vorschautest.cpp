// The preview window: its catalogue, layout on resize, print entry points and closing.
#include "cataloguereader.h"

#include "app/twips.h"
#include "controls/flatbutton.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "preview/cataloguebuilder.h"
#include "preview/vorschau.h"

#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QSignalSpy>
#include <QTextEdit>

namespace {
const QStringList Fonts{QStringLiteral("Liberation Mono"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Liberation Serif")};

PrintOptions someOptions()
{
    PrintOptions options;
    options.title = QStringLiteral("Katalog");
    options.headingTypeface = QStringLiteral("Liberation Sans");
    options.sampleSize = 20;
    options.dateLine = false;
    options.sampleKind = SampleKind::SomeOfEach;
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

int outerWidth(Vorschau &preview)
{
    return toTwips(client(preview)->width()) + 90;
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
    void windowAsDesigned();
    void catalogueIsTheBuiltOne();
    void viewIsReadOnlyButSelectable();
    void bottomBandFollowsTheSize_data();
    void bottomBandFollowsTheSize();
    void tooSmallKeepsLastSizes();
    void menuEntryPrintsWithoutSubMenu();
    void printButtonPrints();
    void backClosesAndStopsTheBuild();
    void closingMidBuildIsSafe();
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

    QCOMPARE(preview.cmd_Print->text(), QStringLiteral("&Drucken"));
    QCOMPARE(preview.cmd_Ende->text(), QStringLiteral("zurück"));
    QVERIFY(preview.txt_Error->text().isEmpty());
    QCOMPARE(preview.txt_Error->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QVERIFY(QTest::qWaitForWindowActive(&preview));
    QCOMPARE(QApplication::focusWidget(), preview.cmd_Ende);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), preview.cmd_Print);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), preview.RichTextBox);
    for (QWidget *control : client(preview)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));

    // The band below the view sits 1210 and 1110 twips above the outer bottom edge.
    QCOMPARE(preview.cmd_Ende->y(), twips(outerHeight(preview) - 1210));
    QCOMPARE(preview.txt_Error->y(), twips(outerHeight(preview) - 1110));
    QCOMPARE(preview.RichTextBox->geometry(), QRect(twips(30), 0, twips(8655), twips(6045)));
}

void VorschauTest::catalogueIsTheBuiltOne()
{
    QStringList many;
    for (int i = 0; i < 60; ++i)
        many.append(Fonts.at(i % 3));
    Vorschau preview(someOptions(), many);
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());

    QTextDocument expected;
    buildCatalogue(&expected, someOptions(), many, QDateTime::currentDateTime(), QLocale());
    QCOMPARE(readCatalogue(preview.RichTextBox->document()), readCatalogue(&expected));
}

void VorschauTest::viewIsReadOnlyButSelectable()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    QTextEdit *view = preview.RichTextBox;
    QVERIFY(view->isReadOnly());
    QCOMPARE(view->textInteractionFlags(), Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    const int before = view->document()->characterCount();
    view->setFocus();
    QTest::keyClicks(view, QStringLiteral("xyz"));
    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(view->document()->characterCount(), before);

    view->moveCursor(QTextCursor::Start);
    QTest::keyClick(view, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(view->textCursor().selectedText(), QStringLiteral("Katalog (3 Schriften)"));
}

void VorschauTest::bottomBandFollowsTheSize_data()
{
    QTest::addColumn<int>("extraWidth");
    QTest::addColumn<int>("extraHeight");
    QTest::newRow("wider by one pixel") << 1 << 0;
    QTest::newRow("wider and taller") << 250 << 120;
    QTest::newRow("narrower and lower") << -100 << -80;
}

void VorschauTest::bottomBandFollowsTheSize()
{
    QFETCH(int, extraWidth);
    QFETCH(int, extraHeight);
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    const QRect view = preview.RichTextBox->geometry();
    const QRect print = preview.cmd_Print->geometry();
    const QRect back = preview.cmd_Ende->geometry();
    const QRect status = preview.txt_Error->geometry();

    resizeClient(preview, client(preview)->width() + extraWidth, client(preview)->height() + extraHeight);

    QCOMPARE(preview.RichTextBox->geometry(), view.adjusted(0, 0, extraWidth, extraHeight));
    QCOMPARE(preview.cmd_Print->geometry(), print.translated(extraWidth, extraHeight));
    QCOMPARE(preview.cmd_Ende->geometry(), back.translated(extraWidth, extraHeight));
    QCOMPARE(preview.txt_Error->geometry(), status.adjusted(0, extraHeight, extraWidth, extraHeight));
    QCOMPARE(preview.cmd_Ende->x() - preview.cmd_Print->x(), twips(3270));
    QCOMPARE(preview.cmd_Ende->x(), twips(outerWidth(preview) - 1635));
    QCOMPARE(preview.RichTextBox->width(), twips(outerWidth(preview) - 180));
    QCOMPARE(preview.RichTextBox->height(), twips(outerHeight(preview) - 1285));
}

void VorschauTest::tooSmallKeepsLastSizes()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));

    // 300 px is 4500 twips: the status line keeps its width, the print button
    // starts left of the window.
    resizeClient(preview, 300, 200);
    QCOMPARE(preview.txt_Error->width(), twips(8745 + 90 - 5070));
    QVERIFY(preview.cmd_Print->x() < 0);
    QCOMPARE(preview.cmd_Print->x(), twips(4500 + 90 - 4905));
    QCOMPARE(preview.RichTextBox->width(), twips(4500 + 90 - 180));

    // 4 × 20 px: below 180 and 1285 twips of outer size the view keeps its size too.
    resizeClient(preview, 4, 20);
    QCOMPARE(preview.RichTextBox->size(), QSize(twips(4500 + 90 - 180), twips(3000 + 760 - 1285)));
    QCOMPARE(preview.cmd_Ende->pos(), QPoint(twips(60 + 90 - 1635), twips(300 + 760 - 1210)));
    QCOMPARE(preview.txt_Error->y(), twips(300 + 760 - 1110));
}

void VorschauTest::menuEntryPrintsWithoutSubMenu()
{
    Vorschau preview(someOptions(), Fonts);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto *menuBar = preview.findChild<QMenuBar *>();
    QVERIFY(menuBar);
    QCOMPARE(menuBar->actions().size(), 1);
    QCOMPARE(menuBar->actions().first(), preview.Drucken);
    QCOMPARE(preview.Drucken->text(), QStringLiteral("Drucken"));
    QVERIFY(!preview.Drucken->menu());

    bool dialogShown = false;
    whenModal<QPrintDialog>([&dialogShown](QPrintDialog *dialog) {
        dialogShown = true;
        dialog->reject();
    });
    QTest::mouseClick(menuBar, Qt::LeftButton, {}, menuBar->actionGeometry(preview.Drucken).center());
    QTRY_VERIFY(dialogShown);
    QTRY_COMPARE(preview.txt_Error->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QVERIFY(!preview.txt_Error->text().isEmpty());
}

void VorschauTest::printButtonPrints()
{
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many.append(Fonts.at(i % 3));
    Vorschau preview(someOptions(), many);
    preview.show();
    bool completeWhenAsked = false;
    whenModal<QPrintDialog>([&completeWhenAsked, &preview](QPrintDialog *dialog) {
        completeWhenAsked = preview.isCatalogueComplete();
        dialog->reject();
    });
    QTest::mouseClick(preview.cmd_Print, Qt::LeftButton);
    QTRY_VERIFY(completeWhenAsked);
}

void VorschauTest::backClosesAndStopsTheBuild()
{
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many.append(Fonts.at(i % 3));
    Vorschau preview(someOptions(), many);
    QSignalSpy finished(&preview, &QDialog::finished);
    preview.open();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QTest::mouseClick(preview.cmd_Ende, Qt::LeftButton);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(preview.result(), int(QDialog::Rejected));
    QVERIFY(!preview.isVisible());

    QVERIFY(!preview.isCatalogueComplete());
    const int written = preview.RichTextBox->document()->blockCount();
    QTest::qWait(200);
    QCOMPARE(preview.RichTextBox->document()->blockCount(), written);
}

void VorschauTest::closingMidBuildIsSafe()
{
    QStringList many;
    for (int i = 0; i < 10000; ++i)
        many.append(Fonts.at(i % 3));
    auto *preview = new Vorschau(someOptions(), many);
    preview->show();
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QTest::qWait(50);
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
