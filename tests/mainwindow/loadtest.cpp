#include "fixtures/findcontrol.h"
#include "mainwindowfixture.h"

#include "app/twips.h"
#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"

#include <QAccessible>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>

namespace {
// Notices every message box shown while it lives and closes it at once, so
// that a box that should not appear ends the test as a failure, not a hang.
class MessageBoxWatch : public QObject
{
public:
    MessageBoxWatch() { qApp->installEventFilter(this); }
    ~MessageBoxWatch() override { qApp->removeEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(watched);
        if (box && event->type() == QEvent::Show) {
            texts.append(box->text());
            QMetaObject::invokeMethod(box, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};
} // namespace

class LoadTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { testEnvironment().clearSettings(); }
    void cleanup()
    {
        testEnvironment().redirectSettings();
        m_modal.cleanup();
    }

    void firstStartShowsTheDefaults();
    void storedOptionsComeBack();
    void badStoredValuesLeaveJustThatControl_data();
    void badStoredValuesLeaveJustThatControl();
    void windowIsFixedNarrowWithItsMenu();
    void closingStoresTheTitle_data();
    void closingStoresTheTitle();
    void storedFileKeepsWhatTheProgramDoesNotChange_data();
    void storedFileKeepsWhatTheProgramDoesNotChange();
    void failedWriteWarnsOncePerRun();
    void lockThatCannotBeTakenNeitherHangsNorStopsTheProgram();
    void everyControlHasAnAccessibleNameAndTabOrder();

private:
    ModalDriver m_modal{this};
};

void LoadTest::firstStartShowsTheDefaults()
{
    const auto window = loadedMainWindow(liberationFonts() << QStringLiteral("Arial"));
    QCOMPARE(control<QComboBox>(*window, "SGröße")->count(), 15);
    QCOMPARE(control<QComboBox>(*window, "SGröße")->itemText(0), QStringLiteral("14"));
    QCOMPARE(control<QComboBox>(*window, "SGröße")->itemText(14), QStringLiteral("28"));
    QCOMPARE(control<QComboBox>(*window, "SGröße")->currentText(), QStringLiteral("20"));
    QCOMPARE(control<SortedComboBox>(*window, "Combo_SArt")->currentText(), QStringLiteral("Arial"));
    QVERIFY(control<QRadioButton>(*window, "Option_Testdruck", 1)->isChecked());
    QVERIFY(!control<QLineEdit>(*window, "txt_Handvorgabe")->isEnabled());
    QCOMPARE(control<QLineEdit>(*window, "txt_Handvorgabe")->text(), QStringLiteral("ABC abc 123"));
    QVERIFY(!control<QCheckBox>(*window, "Check_Fett")->isChecked());
    QVERIFY(control<QCheckBox>(*window, "Check_Now")->isChecked());
    QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->text(), QStringLiteral("Schriftenübersicht"));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 0)), QColor(Qt::black));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 1)), QColor(Qt::black));
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 0)->text(), QStringLiteral("4 Schriften gefunden "));
    QCOMPARE(control<QLabel>(*window, "txt_Schriften", 1)->text(), QStringLiteral("0 Schriften in der Druckliste "));
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->text(), QStringLiteral("Arial"));
    QCOMPARE(control<QLabel>(*window, "ZeigeSchrift")->font().pointSizeF(), 19.5);
    QCOMPARE(control<QLabel>(*window, "SeitenZahl")->text(), QStringLiteral("Benötigt 0 A4 Seiten"));
    QCOMPARE(control<SpinButtons>(*window, "UpDown")->value(), 0);
    // Loading applies the stored values; it has nothing to write back.
    QVERIFY(!QFile::exists(testEnvironment().settingsFile()));
}

void LoadTest::storedOptionsComeBack()
{
    testEnvironment().writeSettings({{QStringLiteral("FontSize"), QStringLiteral("28")},
                                     {QStringLiteral("Still"), QStringLiteral("Liberation Serif")},
                                     {QStringLiteral("Print_Art"), QStringLiteral("3")},
                                     {QStringLiteral("Check_Fett"), QStringLiteral("1")},
                                     {QStringLiteral("Titel"), QString()},
                                     {QStringLiteral("FontColor0"), QStringLiteral("255")},
                                     {QStringLiteral("FontColor1"), QStringLiteral("16777215")},
                                     {QStringLiteral("Check_Now"), QStringLiteral("0")}});
    const auto window = loadedMainWindow();
    QCOMPARE(control<QComboBox>(*window, "SGröße")->currentText(), QStringLiteral("28"));
    QCOMPARE(control<SortedComboBox>(*window, "Combo_SArt")->currentText(), QStringLiteral("Liberation Serif"));
    QVERIFY(control<QRadioButton>(*window, "Option_Testdruck", 3)->isChecked());
    QVERIFY(control<QLineEdit>(*window, "txt_Handvorgabe")->isEnabled());
    QVERIFY(control<QCheckBox>(*window, "Check_Fett")->isChecked());
    QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->text(), QString());
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 0)), QColor(255, 0, 0));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 1)), QColor(Qt::white));
    QVERIFY(!control<QCheckBox>(*window, "Check_Now")->isChecked());
}

void LoadTest::badStoredValuesLeaveJustThatControl_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("size not in the list") << QStringLiteral("FontSize") << QStringLiteral("30");
    QTest::newRow("size is text") << QStringLiteral("FontSize") << QStringLiteral("zwanzig");
    QTest::newRow("typeface not installed") << QStringLiteral("Still") << QStringLiteral("Comic Nowhere");
    QTest::newRow("option index 7") << QStringLiteral("Print_Art") << QStringLiteral("7");
    QTest::newRow("option index negative") << QStringLiteral("Print_Art") << QStringLiteral("-1");
    QTest::newRow("option index is text") << QStringLiteral("Print_Art") << QStringLiteral("drei");
    QTest::newRow("option index beyond 16 bits") << QStringLiteral("Print_Art") << QStringLiteral("70000");
    QTest::newRow("bold is text") << QStringLiteral("Check_Fett") << QStringLiteral("ja");
    QTest::newRow("bold is 5") << QStringLiteral("Check_Fett") << QStringLiteral("5");
    QTest::newRow("colour beyond 32 bits") << QStringLiteral("FontColor0") << QStringLiteral("4294967296");
    QTest::newRow("colour with a top byte") << QStringLiteral("FontColor1") << QStringLiteral("16777216");
    QTest::newRow("colour is text") << QStringLiteral("FontColor1") << QStringLiteral("blau");
    QTest::newRow("date line is text") << QStringLiteral("Check_Now") << QStringLiteral("nein");
}

void LoadTest::badStoredValuesLeaveJustThatControl()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    testEnvironment().writeSettings({{key, value}, {QStringLiteral("Still"), QStringLiteral("Liberation Mono")}});
    if (key == QLatin1String("Still"))
        testEnvironment().writeSettings({{key, value}});
    const auto window = loadedMainWindow();

    const bool sizeBad = key == QLatin1String("FontSize");
    QCOMPARE(control<QComboBox>(*window, "SGröße")->currentIndex(), sizeBad ? -1 : 6);
    QCOMPARE(control<QComboBox>(*window, "SGröße")->currentText(), sizeBad ? QString() : QStringLiteral("20"));
    // With no size chosen the catalogue uses the size a first start chooses.
    QCOMPARE(window->printOptions().sampleSize, 20);
    const bool faceBad = key == QLatin1String("Still");
    QCOMPARE(control<SortedComboBox>(*window, "Combo_SArt")->currentText(),
             faceBad ? QString() : QStringLiteral("Liberation Mono"));
    // A bad option index leaves the design's choice, "Alphabet", switched on.
    const bool kindBad = key == QLatin1String("Print_Art");
    QCOMPARE(control<QRadioButton>(*window, "Option_Testdruck", 0)->isChecked(), kindBad);
    QCOMPARE(control<QRadioButton>(*window, "Option_Testdruck", 1)->isChecked(), !kindBad);
    QVERIFY(!control<QLineEdit>(*window, "txt_Handvorgabe")->isEnabled());
    QVERIFY(!control<QCheckBox>(*window, "Check_Fett")->isChecked());
    QCOMPARE(control<QCheckBox>(*window, "Check_Now")->isChecked(), key != QLatin1String("Check_Now"));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 0)), QColor(Qt::black));
    QCOMPARE(textColor(control<QLabel>(*window, "txt_Color", 1)), QColor(Qt::black));
    QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->text(), QStringLiteral("Schriftenübersicht"));
}

void LoadTest::windowIsFixedNarrowWithItsMenu()
{
    const auto window = shownMainWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Letterloom"));
    QCOMPARE(window->width(), twips(8820 - 90));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->centralWidget()->height(), twips(4710));
    // The option panel lies beyond the narrow window's edge.
    QVERIFY(!control<SortedComboBox>(*window, "Combo_SArt")->isVisible());
    QVERIFY(control<FlatButton>(*window, "cmd_More")->isVisible());

    QCOMPARE(control<QMenu>(*window, "Menü")->title(), QStringLiteral("Typecaddy"));
    const QList<QAction *> items = control<QMenu>(*window, "Menü")->actions();
    QCOMPARE(items.size(), 4);
    QCOMPARE(items[0]->text(), QStringLiteral("aktuelle Version suchen"));
    QCOMPARE(items[1]->text(), QStringLiteral("Homepage besuchen"));
    QVERIFY(items[2]->isSeparator());
    QCOMPARE(items[3]->text(), QStringLiteral("Ende"));
    window->close();
}

void LoadTest::closingStoresTheTitle_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("title");
    QTest::newRow("close box") << QStringLiteral("close box") << QStringLiteral("Meine Schriften");
    QTest::newRow("Schließen") << QStringLiteral("button") << QStringLiteral("Alle Schriften");
    QTest::newRow("menu Ende") << QStringLiteral("menu") << QStringLiteral("Katalog 2026");
    QTest::newRow("empty title") << QStringLiteral("close box") << QStringLiteral("");
}

void LoadTest::closingStoresTheTitle()
{
    QFETCH(QString, how);
    QFETCH(QString, title);
    {
        const auto window = shownMainWindow();
        control<QLineEdit>(*window, "txt_Überschrift")->setText(title);
        if (how == QLatin1String("button"))
            control<FlatButton>(*window, "cmd_Ende")->click();
        else if (how == QLatin1String("menu"))
            control<QAction>(*window, "Ende")->trigger();
        else
            window->close();
        QVERIFY(!window->isVisible());
    }
    QVERIFY(
        QSettings(testEnvironment().settingsFile(), QSettings::IniFormat).contains(QStringLiteral("Typecaddy/Titel")));
    QCOMPARE(testEnvironment().storedValue(QStringLiteral("Titel")), title);
    const auto next = loadedMainWindow();
    QCOMPARE(control<QLineEdit>(*next, "txt_Überschrift")->text(), title);
}

void LoadTest::storedFileKeepsWhatTheProgramDoesNotChange_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("title");

    const QByteArray ours = QByteArrayLiteral("[Typecaddy]\nTitel=Katalog\n");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" + ours) << QStringLiteral("Katalog");
    QTest::newRow("random bytes") << (QByteArrayLiteral("\x9C\x01\xFF=\x00\x7F]\xC3\n") + ours)
                                  << QStringLiteral("Katalog");
    QTest::newRow("foreign group with invalid UTF-8")
        << QByteArray("; von Hand\r\n[Andere Werkzeuge]\nName=Caf\xE9 \xFF\xFE\nListe=a, b\n\n" + ours)
        << QStringLiteral("Katalog");
    const QString longTitle = QStringLiteral("Schriftenübersicht Nummer ").repeated(1600).left(40000);
    QTest::newRow("40,000-character title") << ("[Typecaddy]\nTitel=" + longTitle.toUtf8() + '\n') << longTitle;
    QTest::newRow("hand-written comma title")
        << QByteArrayLiteral("[Typecaddy]\nTitel=Hallo, Welt\n") << QStringLiteral("Hallo, Welt");
    QTest::newRow("title with invalid UTF-8")
        << QByteArrayLiteral("[Typecaddy]\nTitel=Caf\xE9\n") << QStringLiteral("Caf\uFFFD");
}

void LoadTest::storedFileKeepsWhatTheProgramDoesNotChange()
{
    // A run that changes one option and closes must leave every other byte
    // as it was, report no failure, and come back the same the next time.
    QFETCH(QByteArray, before);
    QFETCH(QString, title);
    QVERIFY(testEnvironment().writeSettingsBytes(before));
    const QByteArray after = before + "Check_Fett=1\n";
    for (int run = 0; run < 2; ++run) {
        const MessageBoxWatch boxes;
        const auto window = loadedMainWindow();
        QCOMPARE(control<QLineEdit>(*window, "txt_Überschrift")->text(), title);
        QCOMPARE(control<QCheckBox>(*window, "Check_Fett")->isChecked(), run == 1);
        if (run == 0)
            control<QCheckBox>(*window, "Check_Fett")->click();
        window->close();
        QCOMPARE(boxes.texts, QStringList());
        QCOMPARE(testEnvironment().settingsBytes(), after);
    }
}

void LoadTest::failedWriteWarnsOncePerRun()
{
    const auto window = shownMainWindow();
    const QString blocker = testEnvironment().root() + QStringLiteral("/blocker");
    QFile(blocker).open(QIODevice::WriteOnly);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker + QStringLiteral("/config"));

    SeenMessage warning;
    answerMessageBox(warning, QMessageBox::Ok);
    control<QCheckBox>(*window, "Check_Fett")->click();
    QVERIFY(warning.shown);
    QCOMPARE(warning.title, QStringLiteral("Letterloom"));
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.text,
             QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\n") + blocker
                 + QStringLiteral("/config/Made by Orvik.ini"));

    const MessageBoxWatch boxes;
    control<QCheckBox>(*window, "Check_Fett")->click();
    control<QRadioButton>(*window, "Option_Testdruck", 2)->click();
    QCOMPARE(boxes.texts, QStringList());
    QVERIFY(control<QRadioButton>(*window, "Option_Testdruck", 2)->isChecked());

    // Once the folder can be written again, so can the options.
    testEnvironment().redirectSettings();
    control<QCheckBox>(*window, "Check_Fett")->click();
    QCOMPARE(testEnvironment().storedValue(QStringLiteral("Check_Fett")), QStringLiteral("1"));
    window->close();
}

void LoadTest::lockThatCannotBeTakenNeitherHangsNorStopsTheProgram()
{
    // A folder where the lock file belongs can never be taken as a lock.
    testEnvironment().writeSettings({{QStringLiteral("Print_Art"), QStringLiteral("3")}});
    const QString lock = testEnvironment().settingsFile() + QStringLiteral(".lock");
    QVERIFY(QDir().mkpath(lock));
    const QByteArray before = testEnvironment().settingsBytes();

    const auto window = shownMainWindow();
    QVERIFY(control<QRadioButton>(*window, "Option_Testdruck", 3)->isChecked());
    SeenMessage warning;
    answerMessageBox(warning, QMessageBox::Ok);
    control<QCheckBox>(*window, "Check_Fett")->click();
    QVERIFY(warning.shown);
    QVERIFY(warning.text.startsWith(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\n")));
    QVERIFY(control<QCheckBox>(*window, "Check_Fett")->isChecked());
    QCOMPARE(testEnvironment().settingsBytes(), before);

    QVERIFY(QDir(lock).removeRecursively());
    control<QCheckBox>(*window, "Check_Now")->click();
    QCOMPARE(testEnvironment().storedValue(QStringLiteral("Check_Now")), QStringLiteral("0"));
    window->close();
}

void LoadTest::everyControlHasAnAccessibleNameAndTabOrder()
{
    const auto window = loadedMainWindow();
    for (QWidget *control : window->centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
    }
    QCOMPARE(control<SortedListWidget>(*window, "List_Fonts")->accessibleName(),
             QStringLiteral("Verfügbare Schriften"));
    QCOMPARE(control<FlatButton>(*window, "cmd_TeilEinfügen")->accessibleName(),
             QStringLiteral("markierte hinzufügen"));
    QCOMPARE(control<FlatButton>(*window, "cmd_Drucken")->accessibleName(), QStringLiteral("Druckvorschau"));

    // Tab walks the controls the narrow window shows, in the designed order.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    control<SortedListWidget>(*window, "List_Fonts")->setFocus();
    QStringList chain;
    for (int i = 0; i < 12; ++i) {
        chain.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(chain,
             (QStringList{QStringLiteral("List_Fonts"), QStringLiteral("cmd_TeilEinfügen"),
                          QStringLiteral("cmd_AlleEinfügen"), QStringLiteral("cmd_Re"), QStringLiteral("cmd_Clear"),
                          QStringLiteral("List_zuDrucken"), QStringLiteral("Option_Testdruck(1)"),
                          QStringLiteral("cmd_Drucken"), QStringLiteral("UpDown"), QStringLiteral("cmd_Ende"),
                          QStringLiteral("cmd_More"), QStringLiteral("Logo")}));
    window->close();
}

LETTERLOOM_TEST_MAIN(LoadTest)
#include "loadtest.moc"
