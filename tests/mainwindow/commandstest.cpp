#include "fixtures/findcontrol.h"
#include "mainwindowfixture.h"

#include "about/copyright.h"
#include "app/twips.h"
#include "controls/clickableimage.h"
#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "preview/vorschau.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace {
struct Geometry {
    int windowWidth;
    int upDownLeft;
    int sampleWidth;
    int glyph;
    bool panelShown;
    bool spinShown;
    // What a screen reader says pressing cmd_More does.
    QString moreName;
};

Geometry geometryOf(const Glyphana &window)
{
    return {window.width(), control<SpinButtons>(window, QStringLiteral("UpDown"))->x(), control<QLabel>(window, QStringLiteral("ZeigeSchrift"))->width(), control<FlatButton>(window, QStringLiteral("cmd_More"))->glyph(),
            control<SortedComboBox>(window, QStringLiteral("Combo_SArt"))->isVisible(), control<SpinButtons>(window, QStringLiteral("UpDown"))->isVisible(), control<FlatButton>(window, QStringLiteral("cmd_More"))->accessibleName()};
}

void compareGeometry(const Geometry &actual, const Geometry &expected)
{
    QCOMPARE(actual.windowWidth, expected.windowWidth);
    QCOMPARE(actual.upDownLeft, expected.upDownLeft);
    QCOMPARE(actual.sampleWidth, expected.sampleWidth);
    QCOMPARE(actual.glyph, expected.glyph);
    QCOMPARE(actual.panelShown, expected.panelShown);
    QCOMPARE(actual.spinShown, expected.spinShown);
    QCOMPARE(actual.moreName, expected.moreName);
}

const QString ShowOptions = QStringLiteral("Druckoptionen einblenden");
const QString HideOptions = QStringLiteral("Druckoptionen ausblenden");

QImage looks(QWidget *control)
{
    return control->grab().toImage();
}
} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void init() { testEnvironment().clearSettings(); }

    void moreSwitchesBetweenNarrowAndWide();
    void closingWideStartsNarrowAgain();
    void emptyPrintListIsRefused();
    void previewShowsTheCurrentOptionsEachTime();
    void acceleratorsWorkFromTheKeyboard();
    void spinAndLogoShowTheFocusAndTheLogoOpensTheAboutWindow();

private:
    ModalDriver m_modal{this};
};

void CommandsTest::moreSwitchesBetweenNarrowAndWide()
{
    const auto window = loadedMainWindow();
    window->show();
    const Geometry narrow{twips(8820 - 90), twips(8430), twips(7995), 73, false, true, ShowOptions};
    compareGeometry(geometryOf(*window), narrow);

    control<FlatButton>(*window, QStringLiteral("cmd_More"))->click();
    compareGeometry(geometryOf(*window), {twips(11970 - 90), twips(11610), twips(11175), 72, true, true, HideOptions});
    QCOMPARE(control<SpinButtons>(*window, QStringLiteral("UpDown"))->x() - (control<QLabel>(*window, QStringLiteral("ZeigeSchrift"))->x() + control<QLabel>(*window, QStringLiteral("ZeigeSchrift"))->width()), 1);
    QVERIFY(control<FlatButton>(*window, QStringLiteral("cmd_More"))->text().isEmpty());
    QVERIFY(control<QLabel>(*window, "txt_Color", 1)->isVisible());
    QVERIFY(control<QLineEdit>(*window, QStringLiteral("txt_Überschrift"))->isVisible());

    control<FlatButton>(*window, QStringLiteral("cmd_More"))->click();
    compareGeometry(geometryOf(*window), narrow);
    QVERIFY(control<FlatButton>(*window, QStringLiteral("cmd_More"))->text().isEmpty());
    window->close();
}

void CommandsTest::closingWideStartsNarrowAgain()
{
    {
        const auto window = loadedMainWindow();
        window->show();
        control<FlatButton>(*window, QStringLiteral("cmd_More"))->click();
        window->close();
    }
    const auto window = loadedMainWindow();
    window->show();
    compareGeometry(geometryOf(*window), {twips(8820 - 90), twips(8430), twips(7995), 73, false, true, ShowOptions});
    window->close();
}

void CommandsTest::emptyPrintListIsRefused()
{
    const auto window = loadedMainWindow();
    window->show();
    SeenMessage message;
    answerMessageBox(message, QMessageBox::Ok);
    control<FlatButton>(*window, QStringLiteral("cmd_Drucken"))->click();
    QVERIFY(message.shown);
    QCOMPARE(message.text, QStringLiteral("Wählen Sie zuvor die zu druckenden Schriften aus."));
    QCOMPARE(message.title, QStringLiteral("Letterloom"));
    QCOMPARE(message.icon, QMessageBox::Information);
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(message.format, Qt::PlainText);
    window->close();
}

void CommandsTest::previewShowsTheCurrentOptionsEachTime()
{
    const auto window = loadedMainWindow();
    window->show();
    control<FlatButton>(*window, QStringLiteral("cmd_AlleEinfügen"))->click();
    control<QLineEdit>(*window, QStringLiteral("txt_Überschrift"))->setText(QStringLiteral("Erster Katalog"));

    QStringList shownTexts;
    const auto readPreviewAndClose = [&shownTexts] {
        whenModal<Vorschau>([&shownTexts](Vorschau *preview) {
            QTRY_VERIFY(preview->isCatalogueComplete());
            shownTexts.append(preview->RichTextBox->toPlainText());
            preview->cmd_Ende->click();
        });
    };
    const QString settingsBefore = testEnvironment().storedValue(QStringLiteral("Titel"));

    readPreviewAndClose();
    control<FlatButton>(*window, QStringLiteral("cmd_Drucken"))->click();
    control<QLineEdit>(*window, QStringLiteral("txt_Überschrift"))->setText(QStringLiteral("Zweiter Katalog"));
    control<QRadioButton>(*window, "Option_Testdruck", 0)->click();
    readPreviewAndClose();
    control<FlatButton>(*window, QStringLiteral("cmd_Drucken"))->click();

    QCOMPARE(shownTexts.size(), 2);
    QVERIFY(shownTexts[0].startsWith(QStringLiteral("Erster Katalog (3 Schriften)")));
    QVERIFY(!shownTexts[0].contains(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz")));
    QVERIFY(shownTexts[1].startsWith(QStringLiteral("Zweiter Katalog (3 Schriften)")));
    QVERIFY(shownTexts[1].contains(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz")));
    // The preview reads the main window and writes nothing back.
    QCOMPARE(control<QLineEdit>(*window, QStringLiteral("txt_Überschrift"))->text(), QStringLiteral("Zweiter Katalog"));
    QCOMPARE(control<SortedListWidget>(*window, QStringLiteral("List_zuDrucken"))->count(), 3);
    QCOMPARE(testEnvironment().storedValue(QStringLiteral("Titel")), settingsBefore);
    window->close();
}

void CommandsTest::acceleratorsWorkFromTheKeyboard()
{
    const auto window = loadedMainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());

    SeenMessage message;
    answerMessageBox(message, QMessageBox::Ok);
    QTest::keyClick(window.get(), Qt::Key_D, Qt::AltModifier);
    QTRY_VERIFY(message.shown);
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());

    QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(!window->isVisible());
    QCOMPARE(testEnvironment().storedValue(QStringLiteral("Titel")), QStringLiteral("Schriftenübersicht"));
}

void CommandsTest::spinAndLogoShowTheFocusAndTheLogoOpensTheAboutWindow()
{
    const auto window = loadedMainWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    const QImage spinAlone = looks(control<SpinButtons>(*window, QStringLiteral("UpDown")));
    const QImage logoAlone = looks(control<ClickableImage>(*window, QStringLiteral("Logo")));

    control<FlatButton>(*window, QStringLiteral("cmd_Drucken"))->setFocus();
    QTest::keyClick(control<FlatButton>(*window, QStringLiteral("cmd_Drucken")), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<SpinButtons>(*window, QStringLiteral("UpDown")));
    QVERIFY(looks(control<SpinButtons>(*window, QStringLiteral("UpDown"))) != spinAlone);

    control<FlatButton>(*window, QStringLiteral("cmd_More"))->setFocus();
    QTest::keyClick(control<FlatButton>(*window, QStringLiteral("cmd_More")), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<ClickableImage>(*window, QStringLiteral("Logo")));
    QVERIFY(looks(control<ClickableImage>(*window, QStringLiteral("Logo"))) != logoAlone);
    QVERIFY(looks(control<SpinButtons>(*window, QStringLiteral("UpDown"))) == spinAlone);

    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        bool aboutOpened = false;
        whenModal<Copyright>([&aboutOpened](Copyright *about) {
            aboutOpened = true;
            about->cmdOK->click();
        });
        QTest::keyClick(control<ClickableImage>(*window, QStringLiteral("Logo")), key);
        QVERIFY2(aboutOpened, qPrintable(QKeySequence(key).toString()));
    }
    window->close();
}

LETTERLOOM_TEST_MAIN(CommandsTest)
#include "commandstest.moc"
