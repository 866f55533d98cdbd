#include "fixtures/coretestmain.h"
#include "settings/numbertext.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(testEnvironment().settingsFile()); }

    void numberConversion_data();
    void numberConversion();
    void writesLandInTheSectionOfTheVendorsFile();
    void valuesReadBackAsQSettingsWritesAndReadsThem_data();
    void valuesReadBackAsQSettingsWritesAndReadsThem();
    void handWrittenLinesAreReadAsText_data();
    void handWrittenLinesAreReadAsText();
    void aWriteChangesOnlyItsOwnLine_data();
    void aWriteChangesOnlyItsOwnLine();
    void failedWriteIsReportedAndLaterWritesAreTried_data();
    void failedWriteIsReportedAndLaterWritesAreTried();
};

void SettingsStoreTest::numberConversion_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<qint64>("value");
    const auto row = [](int bits, const char *tag, const char *text, bool converts, qint64 value) {
        QTest::addRow("%d bits, %s", bits, tag) << bits << QString::fromUtf8(text) << converts << value;
    };
    row(16, "plain", "20", true, 20);
    row(16, "blanks around", "  7 ", true, 7);
    row(16, "negative", "-15", true, -15);
    row(16, "half rounds to even, down", "2.5", true, 2);
    row(16, "half rounds to even, up", "3.5", true, 4);
    row(16, "negative half to even", "-2.5", true, -2);
    row(16, "top of range", "32767", true, 32767);
    row(16, "bottom of range", "-32768", true, -32768);
    row(16, "just over", "32768", false, 0);
    row(16, "rounds over the top", "32767.5", false, 0);
    row(16, "text", "abc", false, 0);
    row(16, "empty", "", false, 0);
    row(16, "digits then text", "12abc", false, 0);
    row(32, "white", "16777215", true, 16777215);
    row(32, "beyond 16 bits", "40000", true, 40000);
    row(32, "top of range", "2147483647", true, 2147483647);
    row(32, "beyond 32 bits", "4294967296", false, 0);
    row(32, "just over", "2147483648", false, 0);
    row(32, "text", "rot", false, 0);
}

void SettingsStoreTest::numberConversion()
{
    QFETCH(int, bits);
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(qint64, value);
    const auto widened = [](auto number) { return number ? std::optional<qint64>(*number) : std::nullopt; };
    const std::optional<qint64> result = bits == 16 ? widened(toInt16(text)) : widened(toInt32(text));
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(*result, value);
}

void SettingsStoreTest::writesLandInTheSectionOfTheVendorsFile()
{
    SettingsStore store;
    QVERIFY(store.writeText(SettingKey::Titel, QStringLiteral("Meine Schriften")));
    QVERIFY(store.writeColor(SettingsStore::colorKey(1), QColor(255, 0, 0)));
    QVERIFY(store.writeText(SettingKey::Titel, QString()));
    QVERIFY(store.writeNumber(SettingKey::FontSize, 14));

    QCOMPARE(SettingsStore::filePath(), testEnvironment().settingsFile());
    QSettings file(testEnvironment().settingsFile(), QSettings::IniFormat);
    QCOMPARE(file.childGroups(), QStringList{QStringLiteral("Typecaddy")});
    QCOMPARE(file.value(QStringLiteral("Typecaddy/FontColor1")).toString(), QStringLiteral("255"));
    QCOMPARE(file.value(QStringLiteral("Typecaddy/FontSize")).toString(), QStringLiteral("14"));
    // An empty title is stored as such and does not fall back to the default.
    QVERIFY(file.contains(QStringLiteral("Typecaddy/Titel")));
    QCOMPARE(store.text(SettingKey::Titel), QString());
    QCOMPARE(store.color(SettingKey::FontColor1), QColor(255, 0, 0));
    QCOMPARE(store.number(SettingKey::FontSize), 14);
}

void SettingsStoreTest::valuesReadBackAsQSettingsWritesAndReadsThem_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << QStringLiteral("Schriftenübersicht");
    QTest::newRow("comma") << QStringLiteral("Hallo, Welt");
    QTest::newRow("semicolon and equals") << QStringLiteral("a;b=c");
    QTest::newRow("blanks around") << QStringLiteral("  Katalog  ");
    QTest::newRow("quotes and backslashes") << QStringLiteral("\"C:\\Schriften\\\" \\\\");
    QTest::newRow("at sign first") << QStringLiteral("@Variant(x)");
    QTest::newRow("controls") << QStringLiteral("Zeile 1\nZeile 2\tTab\r\a");
    QTest::newRow("NUL before a digit") << QString(QStringLiteral("a") + QChar(0) + QStringLiteral("7f"));
    QTest::newRow("outside the BMP") << QString::fromUtf8("Schrift \xF0\x9D\x84\x9E und \xE2\x82\xAC");
}

void SettingsStoreTest::valuesReadBackAsQSettingsWritesAndReadsThem()
{
    // Files written by earlier versions through QSettings keep working, and
    // QSettings reads what the store writes.
    QFETCH(QString, value);
    SettingsStore store;
    QVERIFY(store.writeText(SettingKey::Titel, value));
    QCOMPARE(QSettings(testEnvironment().settingsFile(), QSettings::IniFormat).value(QStringLiteral("Typecaddy/Titel")),
             QVariant(value));

    testEnvironment().clearSettings();
    testEnvironment().writeSettings({{QStringLiteral("Still"), value}});
    QCOMPARE(store.text(SettingKey::Still), value);
}

void SettingsStoreTest::handWrittenLinesAreReadAsText_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("title");
    QTest::newRow("comma, no quotes") << QByteArray("[Typecaddy]\nTitel=Hallo, Welt\n") << "Hallo, Welt";
    QTest::newRow("blanks around the sign") << QByteArray("[Typecaddy]\n  Titel =  Katalog \t\n") << "Katalog";
    QTest::newRow("Windows line ends") << QByteArray("[Typecaddy]\r\nTitel=Katalog\r\n") << "Katalog";
    QTest::newRow("no line end") << QByteArray("[Typecaddy]\nTitel=Katalog") << "Katalog";
    QTest::newRow("other group only") << QByteArray("[Andere]\nTitel=Fremd\n") << "Schriftenübersicht";
    QTest::newRow("section twice, last wins")
        << QByteArray("[Typecaddy]\nTitel=Alt\n[Andere]\nTitel=Fremd\n[Typecaddy]\nTitel=Neu\n") << "Neu";
    QTest::newRow("comment line") << QByteArray("[Typecaddy]\n;Titel=Alt\n#Titel=Alt\nTitel=Neu\n") << "Neu";
}

void SettingsStoreTest::handWrittenLinesAreReadAsText()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, title);
    QVERIFY(testEnvironment().writeSettingsBytes(contents));
    QCOMPARE(SettingsStore().text(SettingKey::Titel), title);
}

void SettingsStoreTest::aWriteChangesOnlyItsOwnLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[Typecaddy]\nCheck_Fett=1\n");
    QTest::newRow("value replaced in place")
        << QByteArray("\xEF\xBB\xBF[Typecaddy]\r\nCheck_Fett=0 ; alt\r\nTitel=Caf\xE9\r\n")
        << QByteArray("\xEF\xBB\xBF[Typecaddy]\r\nCheck_Fett=1\r\nTitel=Caf\xE9\r\n");
    QTest::newRow("key added to its group")
        << QByteArray("[Typecaddy]\nTitel=A\n\n[Andere]\nx=\xFF\xFE\n")
        << QByteArray("[Typecaddy]\nTitel=A\nCheck_Fett=1\n\n[Andere]\nx=\xFF\xFE\n");
    QTest::newRow("group added after foreign text without line end")
        << QByteArray("[Andere]\nx=\x01\x02") << QByteArray("[Andere]\nx=\x01\x02\n\n[Typecaddy]\nCheck_Fett=1\n");
    QTest::newRow("same value leaves the file alone")
        << QByteArray("[Typecaddy]\nCheck_Fett = \"1\"\n") << QByteArray("[Typecaddy]\nCheck_Fett = \"1\"\n");
}

void SettingsStoreTest::aWriteChangesOnlyItsOwnLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QVERIFY(testEnvironment().writeSettingsBytes(before));
    SettingsStore store;
    QSignalSpy failures(&store, &SettingsStore::writeFailed);
    QVERIFY(store.writeFlag(SettingKey::Check_Fett, true));
    QCOMPARE(testEnvironment().settingsBytes(), after);
    QCOMPARE(failures.count(), 0);
}

void SettingsStoreTest::failedWriteIsReportedAndLaterWritesAreTried_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::newRow("folder below a file") << "folder";
    QTest::newRow("lock is a folder") << "lock";
    QTest::newRow("settings file is a folder") << "file";
}

void SettingsStoreTest::failedWriteIsReportedAndLaterWritesAreTried()
{
    // Root may write anywhere, so the file is made impossible instead.
    QFETCH(QString, blocked);
    const QString blocker = testEnvironment().root() + QStringLiteral("/blocker");
    const QString settingsFile = testEnvironment().settingsFile();
    if (blocked == QLatin1String("folder")) {
        QFile(blocker).open(QIODevice::WriteOnly);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker + QStringLiteral("/config"));
    } else {
        QVERIFY(
            QDir().mkpath(blocked == QLatin1String("lock") ? settingsFile + QStringLiteral(".lock") : settingsFile));
    }

    SettingsStore store;
    QSignalSpy failures(&store, &SettingsStore::writeFailed);
    QVERIFY(!store.writeFlag(SettingKey::Check_Fett, true));
    QCOMPARE(failures.count(), 1);
    QCOMPARE(failures.at(0).at(0).toString(), SettingsStore::filePath());
    QVERIFY(failures.at(0).at(0).toString().endsWith(QStringLiteral("/Made by Orvik.ini")));

    testEnvironment().redirectSettings();
    QDir(blocker).removeRecursively();
    QFile::remove(blocker);
    QDir(settingsFile + QStringLiteral(".lock")).removeRecursively();
    QDir(settingsFile).removeRecursively();
    QVERIFY(store.writeFlag(SettingKey::Check_Fett, true));
    QCOMPARE(failures.count(), 1);
    QCOMPARE(store.flag(SettingKey::Check_Fett), true);
}

LETTERLOOM_CORE_TEST_MAIN(SettingsStoreTest)
#include "settingsstoretest.moc"
