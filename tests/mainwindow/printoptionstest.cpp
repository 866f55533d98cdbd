#include "fixtures/findcontrol.h"
#include "mainwindowfixture.h"

#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/spinbuttons.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"

#include <QAccessible>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {
// Steps through the closed list with the arrow keys, as a user does.
void chooseEntry(QComboBox *box, const QString &text)
{
    const int target = box->findText(text);
    QVERIFY(target >= 0);
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
}

QString stored(const char *key)
{
    return testEnvironment().storedValue(QString::fromLatin1(key));
}
} // namespace

class PrintOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void init() { testEnvironment().clearSettings(); }

    void eachChangeIsStoredAtOnce();
    void accessibilityActionsAreStored_data();
    void accessibilityActionsAreStored();
    void sampleKindSwitchesTheHandEntryBox();
    void colourDialogStoresOnlyAChosenColour_data();
    void colourDialogStoresOnlyAChosenColour();
    void spinSizesOnlyTheSampleDisplay_data();
    void spinSizesOnlyTheSampleDisplay();
    void optionsDoNotTouchTheSampleDisplay();
    void roundTripThroughTheSettingsFile();
    void printOptionsReadTheControls();

private:
    ModalDriver m_modal{this};
};

void PrintOptionsTest::eachChangeIsStoredAtOnce()
{
    const auto window = loadedMainWindow();
    control<QCheckBox>(*window, "Check_Fett")->click();
    QCOMPARE(stored("Check_Fett"), QStringLiteral("1"));
    control<QCheckBox>(*window, "Check_Now")->click();
    QCOMPARE(stored("Check_Now"), QStringLiteral("0"));
    chooseEntry(control<SortedComboBox>(*window, "Combo_SArt"), QStringLiteral("Liberation Mono"));
    QCOMPARE(stored("Still"), QStringLiteral("Liberation Mono"));
    chooseEntry(control<QComboBox>(*window, "SGröße"), QStringLiteral("14"));
    QCOMPARE(stored("FontSize"), QStringLiteral("14"));
    control<QRadioButton>(*window, "Option_Testdruck", 2)->click();
    QCOMPARE(stored("Print_Art"), QStringLiteral("2"));
    // The title waits for the window to close; the hand-entered text is never stored.
    control<QLineEdit>(*window, "txt_Überschrift")->setText(QStringLiteral("Neu"));
    control<QRadioButton>(*window, "Option_Testdruck", 3)->click();
    control<QLineEdit>(*window, "txt_Handvorgabe")->setText(QStringLiteral("Quax"));
    QCOMPARE(stored("Titel"), QString());
    window->close();
    QCOMPARE(stored("Titel"), QStringLiteral("Neu"));
    QVERIFY(!testEnvironment().settingsBytes().contains("Quax"));
}

void PrintOptionsTest::accessibilityActionsAreStored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("bold on") << QStringLiteral("Check_Fett") << QStringLiteral("Check_Fett") << QStringLiteral("1");
    QTest::newRow("date line off") << QStringLiteral("Check_Now") << QStringLiteral("Check_Now") << QStringLiteral("0");
    QTest::newRow("all characters") << QStringLiteral("Option_Testdruck(2)") << QStringLiteral("Print_Art")
                                    << QStringLiteral("2");
    QTest::newRow("hand-entered") << QStringLiteral("Option_Testdruck(3)") << QStringLiteral("Print_Art")
                                  << QStringLiteral("3");
}

void PrintOptionsTest::accessibilityActionsAreStored()
{
    // A screen reader's "Toggle" changes the control without a click.
    QFETCH(QString, name);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const auto window = shownMainWindow();
    control<FlatButton>(*window, "cmd_More")->click();
    auto *widget = window->findChild<QAbstractButton *>(name);
    QVERIFY(widget && widget->isVisible());
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible && accessible->actionInterface());
    const QString toggle = QAccessibleActionInterface::toggleAction();
    QVERIFY(accessible->actionInterface()->actionNames().contains(toggle));
    accessible->actionInterface()->doAction(toggle);
    QCOMPARE(testEnvironment().storedValue(key), value);
    QCOMPARE(control<QLineEdit>(*window, "txt_Handvorgabe")->isEnabled(), name == QLatin1String("Option_Testdruck(3)"));
    window->close();
}

void PrintOptionsTest::sampleKindSwitchesTheHandEntryBox()
{
    const auto window = loadedMainWindow();
    QLineEdit *box = control<QLineEdit>(*window, "txt_Handvorgabe");
    control<QRadioButton>(*window, "Option_Testdruck", 3)->click();
    QVERIFY(box->isEnabled());
    QCOMPARE(box->palette().color(QPalette::Base), QColor(Qt::white));
    box->setText(QStringLiteral("Quax"));

    for (int kind : {0, 1, 2}) {
        control<QRadioButton>(*window, "Option_Testdruck", kind)->click();
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->palette().color(QPalette::Base), QColor(0xE0, 0xE0, 0xE0));
        QCOMPARE(box->text(), QStringLiteral("Quax"));
    }
    control<QRadioButton>(*window, "Option_Testdruck", 3)->click();
    QVERIFY(box->isEnabled());
    QCOMPARE(box->text(), QStringLiteral("Quax"));
}

void PrintOptionsTest::colourDialogStoresOnlyAChosenColour_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("accept");
    QTest::newRow("names, white") << 0 << true;
    QTest::newRow("samples, white") << 1 << true;
    QTest::newRow("names, cancelled") << 0 << false;
    QTest::newRow("samples, cancelled") << 1 << false;
}

void PrintOptionsTest::colourDialogStoresOnlyAChosenColour()
{
    QFETCH(int, index);
    QFETCH(bool, accept);
    testEnvironment().writeSettings({{QStringLiteral("FontColor%1").arg(index), QStringLiteral("255")}});
    const auto window = loadedMainWindow();

    QColor offered;
    whenModal<QColorDialog>([&offered, accept](QColorDialog *dialog) {
        offered = dialog->currentColor();
        dialog->setCurrentColor(Qt::white);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
    control<FlatButton>(*window, "cmd_Color", index)->click();

    QCOMPARE(offered, QColor(255, 0, 0));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", index)), accept ? QColor(Qt::white) : QColor(255, 0, 0));
    QCOMPARE(stored(index == 0 ? "FontColor0" : "FontColor1"),
             accept ? QStringLiteral("16777215") : QStringLiteral("255"));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 1 - index)), QColor(Qt::black));
}

void PrintOptionsTest::spinSizesOnlyTheSampleDisplay_data()
{
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("points");
    QTest::newRow("first step up") << QList<int>{1} << 24;
    QTest::newRow("first step down") << QList<int>{-1} << 22;
    QTest::newRow("down to the bottom") << QList<int>(20, -1) << 8;
    QTest::newRow("up to the top") << QList<int>(15, 1) << 33;
}

void PrintOptionsTest::spinSizesOnlyTheSampleDisplay()
{
    QFETCH(QList<int>, steps);
    QFETCH(int, points);
    const auto window = shownMainWindow();
    control<SpinButtons>(*window, "UpDown")->setFocus();
    for (int step : steps)
        QTest::keyClick(control<SpinButtons>(*window, "UpDown"), step > 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->font().pointSize(), points);
    QCOMPARE(control<SpinButtons>(*window, "UpDown")->value(), points - 23);
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->text(), QStringLiteral("Liberation Mono"));
    window->close();
}

void PrintOptionsTest::optionsDoNotTouchTheSampleDisplay()
{
    const auto window = loadedMainWindow();
    const QFont before = control<QLabel>(*window, "ZeigeSchrift")->font();
    const QPalette colours = control<QLabel>(*window, "ZeigeSchrift")->palette();
    control<QCheckBox>(*window, "Check_Fett")->click();
    chooseEntry(control<SortedComboBox>(*window, "Combo_SArt"), QStringLiteral("Liberation Serif"));
    chooseEntry(control<QComboBox>(*window, "SGröße"), QStringLiteral("28"));
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(Qt::blue);
        dialog->accept();
    });
    control<FlatButton>(*window, "cmd_Color", 1)->click();
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->font(), before);
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->palette(), colours);
}

void PrintOptionsTest::roundTripThroughTheSettingsFile()
{
    {
        const auto window = loadedMainWindow();
        control<QCheckBox>(*window, "Check_Fett")->click();
        control<QCheckBox>(*window, "Check_Now")->click();
        chooseEntry(control<SortedComboBox>(*window, "Combo_SArt"), QStringLiteral("Liberation Serif"));
        chooseEntry(control<QComboBox>(*window, "SGröße"), QStringLiteral("16"));
        control<QRadioButton>(*window, "Option_Testdruck", 3)->click();
        control<QLineEdit>(*window, "txt_Handvorgabe")->setText(QStringLiteral("Quax"));
        control<QLineEdit>(*window, "txt_Überschrift")->setText(QStringLiteral("Mein Katalog"));
        control<SpinButtons>(*window, "UpDown")->setValue(4);
        whenModal<QColorDialog>([](QColorDialog *dialog) {
            dialog->setCurrentColor(Qt::white);
            dialog->accept();
        });
        control<FlatButton>(*window, "cmd_Color", 1)->click();
        window->close();
    }
    const auto window = loadedMainWindow();
    QVERIFY(control<QCheckBox>(*window, "Check_Fett")->isChecked());
    QVERIFY(!control<QCheckBox>(*window, "Check_Now")->isChecked());
    QCOMPARE(control<SortedComboBox>(*window, "Combo_SArt")->currentText(), QStringLiteral("Liberation Serif"));
    QCOMPARE(control<QComboBox>(*window, "SGröße")->currentText(), QStringLiteral("16"));
    QVERIFY(control<QRadioButton>(*window, "Option_Testdruck", 3)->isChecked());
    QVERIFY(control<QLineEdit>(*window, "txt_Handvorgabe")->isEnabled());
    QCOMPARE(control<QLineEdit>(*window, "txt_Handvorgabe")->text(), QStringLiteral("ABC abc 123"));
    QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->text(), QStringLiteral("Mein Katalog"));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 1)), QColor(Qt::white));
    QCOMPARE(stored("FontColor1"), QStringLiteral("16777215"));
    QCOMPARE(control<SpinButtons>(*window, "UpDown")->value(), 0);
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->font().pointSizeF(), 19.5);
}

void PrintOptionsTest::printOptionsReadTheControls()
{
    const auto window = loadedMainWindow();
    control<QLineEdit>(*window, "txt_Überschrift")->setText(QStringLiteral("Titel"));
    control<QCheckBox>(*window, "Check_Fett")->click();
    control<QRadioButton>(*window, "Option_Testdruck", 3)->click();
    control<QLineEdit>(*window, "txt_Handvorgabe")->setText(QStringLiteral("Hamburgefonts"));
    const PrintOptions options = window->printOptions();
    QCOMPARE(options.title, QStringLiteral("Titel"));
    QCOMPARE(options.headingTypeface, QString());
    QCOMPARE(options.sampleSize, 20);
    QVERIFY(options.boldSamples);
    QVERIFY(options.dateLine);
    QCOMPARE(options.sampleKind, SampleKind::HandEntered);
    QCOMPARE(options.handEnteredSample, QStringLiteral("Hamburgefonts"));
    QCOMPARE(options.headingColor, QColor(Qt::black));
    for (const auto &[button, kind] : {std::pair{2, SampleKind::AllCharacters}, std::pair{0, SampleKind::Alphabet},
                                       std::pair{1, SampleKind::SomeOfEach}}) {
        control<QRadioButton>(*window, "Option_Testdruck", button)->click();
        QCOMPARE(window->printOptions().sampleKind, kind);
    }
    chooseEntry(control<QComboBox>(*window, "SGröße"), QStringLiteral("16"));
    QCOMPARE(window->printOptions().sampleSize, 16);
    whenModal<QColorDialog>([](QColorDialog *dialog) {
        dialog->setCurrentColor(Qt::red);
        dialog->accept();
    });
    control<FlatButton>(*window, "cmd_Color", 0)->click();
    QCOMPARE(window->printOptions().headingColor, QColor(Qt::red));
    QCOMPARE(window->printOptions().sampleColor, QColor(Qt::black));
}

LETTERLOOM_TEST_MAIN(PrintOptionsTest)
#include "printoptionstest.moc"
