#include "mainwindowfixture.h"

#include "about/copyright.h"
#include "app/twips.h"
#include "controls/clickableimage.h"
#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "fixtures/findcontrol.h"
#include "fixtures/shownarea.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "preview/vorschau.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTextEdit>

namespace {
// What the user sees of the window's width: how wide it is, whether the option
// panel shows, the glyph on cmd_More and what a screen reader says pressing it does.
struct Width {
    int window;
    bool panelShown;
    int glyph;
    QString moreName;
    bool operator==(const Width &other) const
    {
        return window == other.window && panelShown == other.panelShown && glyph == other.glyph
            && moreName == other.moreName;
    }
};

Width widthOf(const Glyphana &window)
{
    const FlatButton *more = control<FlatButton>(window, "cmd_More");
    return {window.width(), control<SortedComboBox>(window, "Combo_SArt")->isVisible(), more->glyph(),
            more->accessibleName()};
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
    void emptyPrintListIsRefused();
    void previewShowsTheCurrentOptionsEachTime();
    void acceleratorsWorkFromTheKeyboard();
    void spinAndLogoShowTheFocusAndTheLogoOpensTheAboutWindow();

private:
    ModalDriver m_modal{this};
};

// Both widths show every control whole and none on top of another; the sample
// display reaches up to the spin buttons in each.
void CommandsTest::moreSwitchesBetweenNarrowAndWide()
{
    const auto window = shownMainWindow();
    const Width narrow = widthOf(*window);
    QCOMPARE(narrow.glyph, 73);
    QCOMPARE(narrow.moreName, ShowOptions);
    QVERIFY(!narrow.panelShown);
    auto *more = control<FlatButton>(*window, "cmd_More");
    const QLabel *sample = control<QLabel>(*window, "ZeigeSchrift");
    const SpinButtons *spin = control<SpinButtons>(*window, "UpDown");

    for (const bool wide : {true, false}) {
        more->click();
        QCOMPARE(clippedOrOverlapping(*window->centralWidget()).join(u';'), QString());
        QVERIFY(spin->isVisible());
        QCOMPARE(spin->x() - (sample->x() + sample->width()), 1);
        QVERIFY(more->text().isEmpty());
        QCOMPARE(control<QLabel>(*window, "txt_Color", 1)->isVisible(), wide);
        QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->isVisible(), wide);
        if (wide) {
            QCOMPARE(more->glyph(), 72);
            QCOMPARE(more->accessibleName(), HideOptions);
            QVERIFY(window->width() > narrow.window);
        } else {
            QVERIFY(widthOf(*window) == narrow);
        }
    }
    // Closed wide, it starts narrow again.
    more->click();
    window->close();
    const auto again = shownMainWindow();
    QVERIFY(widthOf(*again) == narrow);
    again->close();
}

void CommandsTest::emptyPrintListIsRefused()
{
    const auto window = shownMainWindow();
    SeenMessage message;
    answerMessageBox(message, QMessageBox::Ok);
    control<FlatButton>(*window, "cmd_Drucken")->click();
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
    const auto window = shownMainWindow();
    control<FlatButton>(*window, "cmd_AlleEinfügen")->click();
    control<QLineEdit>(*window, "txt_Überschrift")->setText(QStringLiteral("Erster Katalog"));

    QStringList shownTexts;
    const auto readPreviewAndClose = [&shownTexts] {
        whenModal<Vorschau>([&shownTexts](Vorschau *preview) {
            QTRY_VERIFY(preview->isCatalogueComplete());
            shownTexts.append(control<QTextEdit>(*preview, "RichTextBox")->toPlainText());
            control<FlatButton>(*preview, "cmd_Ende")->click();
        });
    };
    const QString settingsBefore = testEnvironment().storedValue(QStringLiteral("Titel"));

    readPreviewAndClose();
    control<FlatButton>(*window, "cmd_Drucken")->click();
    control<QLineEdit>(*window, "txt_Überschrift")->setText(QStringLiteral("Zweiter Katalog"));
    control<QRadioButton>(*window, "Option_Testdruck", 0)->click();
    readPreviewAndClose();
    control<FlatButton>(*window, "cmd_Drucken")->click();

    QCOMPARE(shownTexts.size(), 2);
    QVERIFY(shownTexts[0].startsWith(QStringLiteral("Erster Katalog (3 Schriften)")));
    QVERIFY(!shownTexts[0].contains(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz")));
    QVERIFY(shownTexts[1].startsWith(QStringLiteral("Zweiter Katalog (3 Schriften)")));
    QVERIFY(shownTexts[1].contains(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz")));
    // The preview reads the main window and writes nothing back.
    QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->text(), QStringLiteral("Zweiter Katalog"));
    QCOMPARE(control<SortedListWidget>(*window, "List_zuDrucken")->count(), 3);
    QCOMPARE(testEnvironment().storedValue(QStringLiteral("Titel")), settingsBefore);
    window->close();
}

void CommandsTest::acceleratorsWorkFromTheKeyboard()
{
    const auto window = shownMainWindow();
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
    const auto window = shownMainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    const QImage spinAlone = looks(control<SpinButtons>(*window, "UpDown"));
    const QImage logoAlone = looks(control<ClickableImage>(*window, "Logo"));

    control<FlatButton>(*window, "cmd_Drucken")->setFocus();
    QTest::keyClick(control<FlatButton>(*window, "cmd_Drucken"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<SpinButtons>(*window, "UpDown"));
    QVERIFY(looks(control<SpinButtons>(*window, "UpDown")) != spinAlone);

    control<FlatButton>(*window, "cmd_More")->setFocus();
    QTest::keyClick(control<FlatButton>(*window, "cmd_More"), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), control<ClickableImage>(*window, "Logo"));
    QVERIFY(looks(control<ClickableImage>(*window, "Logo")) != logoAlone);
    QVERIFY(looks(control<SpinButtons>(*window, "UpDown")) == spinAlone);

    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
        bool aboutOpened = false;
        whenModal<Copyright>([&aboutOpened](Copyright *about) {
            aboutOpened = true;
            control<FlatButton>(*about, "cmdOK")->click();
        });
        QTest::keyClick(control<ClickableImage>(*window, "Logo"), key);
        QVERIFY2(aboutOpened, qPrintable(QKeySequence(key).toString()));
    }
    window->close();
}

LETTERLOOM_TEST_MAIN(CommandsTest)
#include "commandstest.moc"
