#include "fixtures/testmain.h"
#include "settings/numbertext.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { testEnvironment().clearSettings(); }

    void int16Conversion_data();
    void int16Conversion();
    void int32Conversion_data();
    void int32Conversion();
    void missingKeysGiveTheirDefaults();
    void writesLandInTheSectionOfTheVendorsFile();
    void failedWriteIsReportedAndLaterWritesAreTried();
};

void SettingsStoreTest::int16Conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "20" << true << 20;
    QTest::newRow("blanks around") << "  7 " << true << 7;
    QTest::newRow("negative") << "-15" << true << -15;
    QTest::newRow("half rounds to even, down") << "2.5" << true << 2;
    QTest::newRow("half rounds to even, up") << "3.5" << true << 4;
    QTest::newRow("negative half to even") << "-2.5" << true << -2;
    QTest::newRow("top of range") << "32767" << true << 32767;
    QTest::newRow("bottom of range") << "-32768" << true << -32768;
    QTest::newRow("just over") << "32768" << false << 0;
    QTest::newRow("rounds over the top") << "32767.5" << false << 0;
    QTest::newRow("text") << "abc" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("digits then text") << "12abc" << false << 0;
}

void SettingsStoreTest::int16Conversion()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, value);
    const std::optional<qint16> result = toInt16(text);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(int(*result), value);
}

void SettingsStoreTest::int32Conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<qint64>("value");
    QTest::newRow("white") << "16777215" << true << qint64(16777215);
    QTest::newRow("beyond 16 bits") << "40000" << true << qint64(40000);
    QTest::newRow("top of range") << "2147483647" << true << qint64(2147483647);
    QTest::newRow("beyond 32 bits") << "4294967296" << false << qint64(0);
    QTest::newRow("just over") << "2147483648" << false << qint64(0);
    QTest::newRow("text") << "rot" << false << qint64(0);
}

void SettingsStoreTest::int32Conversion()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(qint64, value);
    const std::optional<qint32> result = toInt32(text);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(qint64(*result), value);
}

void SettingsStoreTest::missingKeysGiveTheirDefaults()
{
    SettingsStore store;
    QCOMPARE(store.read(SettingKey::FontSize), QStringLiteral("20"));
    QCOMPARE(store.read(SettingKey::Still), QStringLiteral("Arial"));
    QCOMPARE(store.read(SettingKey::Print_Art), QStringLiteral("1"));
    QCOMPARE(store.read(SettingKey::Check_Fett), QStringLiteral("0"));
    QCOMPARE(store.read(SettingKey::Titel), QStringLiteral("Schriftenübersicht"));
    QCOMPARE(store.read(SettingKey::FontColor0), QStringLiteral("0"));
    QCOMPARE(store.read(SettingKey::FontColor1), QStringLiteral("0"));
    QCOMPARE(store.read(SettingKey::Check_Now), QStringLiteral("1"));
}

void SettingsStoreTest::writesLandInTheSectionOfTheVendorsFile()
{
    SettingsStore store;
    QVERIFY(store.write(SettingKey::Titel, QStringLiteral("Meine Schriften")));
    QVERIFY(store.write(SettingsStore::colorKey(1), QStringLiteral("255")));
    QVERIFY(store.write(SettingKey::Titel, QString()));

    QCOMPARE(SettingsStore::filePath(), testEnvironment().settingsFile());
    QSettings file(testEnvironment().settingsFile(), QSettings::IniFormat);
    QCOMPARE(file.childGroups(), QStringList{QStringLiteral("Typecaddy")});
    QCOMPARE(file.value(QStringLiteral("Typecaddy/FontColor1")).toString(), QStringLiteral("255"));
    // An empty title is stored as such and does not fall back to the default.
    QVERIFY(file.contains(QStringLiteral("Typecaddy/Titel")));
    QCOMPARE(store.read(SettingKey::Titel), QString());
}

void SettingsStoreTest::failedWriteIsReportedAndLaterWritesAreTried()
{
    // Root may write anywhere, so the file is made impossible instead: its
    // folder lies below a plain file.
    const QString blocker = testEnvironment().root() + QStringLiteral("/blocker");
    QFile(blocker).open(QIODevice::WriteOnly);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker + QStringLiteral("/config"));

    SettingsStore store;
    QSignalSpy failures(&store, &SettingsStore::writeFailed);
    QVERIFY(!store.write(SettingKey::Check_Fett, QStringLiteral("1")));
    QCOMPARE(failures.count(), 1);
    QVERIFY(failures.at(0).at(0).toString().endsWith(QStringLiteral("Made by Orvik.ini")));

    testEnvironment().redirectSettings();
    QVERIFY(store.write(SettingKey::Check_Fett, QStringLiteral("1")));
    QCOMPARE(failures.count(), 1);
    QCOMPARE(store.read(SettingKey::Check_Fett), QStringLiteral("1"));
}

LETTERLOOM_TEST_MAIN(SettingsStoreTest)
#include "settingsstoretest.moc"
