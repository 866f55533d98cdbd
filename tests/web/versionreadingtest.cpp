// How the version file's text is read: field positions, number conversion,
// blank trimming and the comparison with the program's own version.
#include "fixtures/coretestmain.h"
#include "web/versionreading.h"

class VersionReadingTest : public QObject
{
    Q_OBJECT

private slots:
    void readsVersionText_data();
    void readsVersionText();
    void comparesWithOwnVersion_data();
    void comparesWithOwnVersion();
};

void VersionReadingTest::readsVersionText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("received");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("shown");

    auto row = [](const char *name, const QString &text, int major, int minor, int revision, bool newer,
                  const QString &shown) {
        QTest::newRow(name) << text << true << major << minor << revision << newer << shown;
    };
    row("newer revision", "2.01.0003.", 2, 1, 3, true, "2.01.0003.");
    row("revision without final dot", "2.01.0003", 2, 1, 0, false, "2.01.0003");
    row("own version", "2.01.0002.", 2, 1, 2, false, "2.01.0002.");
    row("newer major", "3.0.", 3, 0, 0, true, "3.0.");
    row("minor without final dot", "3.0", 3, 0, 0, true, "3.0");
    row("newer revision in short fields", "2.1.5.", 2, 1, 5, true, "2.1.5.");
    row("newer minor", "2.2.0.", 2, 2, 0, true, "2.2.0.");
    row("older minor newer revision", "2.0.9.", 2, 0, 9, false, "2.0.9.");
    row("line end after version", "2.01.0003.\r\n", 2, 1, 3, true, "2.01.0003.\r\n");
    row("outer blanks trimmed", "  2.2.0.  ", 2, 2, 0, true, "2.2.0.");
    row("blanks inside fields", "2. 2 .0.", 2, 2, 0, true, "2. 2 .0.");
    row("signed fields", "+3.-1.-5.", 3, -1, -5, true, "+3.-1.-5.");
    row("negative major", "-3.9.9.", -3, 9, 9, false, "-3.9.9.");
    row("first dot at position 6", "00003.2.1.", 0, 2, 1, false, "00003.2.1.");
    row("first dot at position 8", "1234567.5.9.", 0, 7, 5, false, "1234567.5.9.");
    row("minor dot after position 10", "2.0000000003.5.", 2, 0, 3, false, "2.0000000003.5.");
    row("revision dot after position 15", "2.1.00000000003.", 2, 1, 0, false, "2.1.00000000003.");
    row("revision read at its first dot", "2.1.3.9.", 2, 1, 3, true, "2.1.3.9.");
    row("empty revision", "2.1..5.", 2, 1, 0, false, "2.1..5.");
    row("largest field", "2.1.32767.", 2, 1, 32767, true, "2.1.32767.");
    row("field over range", "2.1.32768.", 2, 1, 0, false, "2.1.32768.");
    row("smallest field", "2.1.-32768.", 2, 1, -32768, false, "2.1.-32768.");
    row("failed major keeps others", "x.3.0.", 0, 3, 0, false, "x.3.0.");
    row("letters", "a.b.c.", 0, 0, 0, false, "a.b.c.");
    row("words", "Version 3.0.", 0, 0, 0, false, "Version 3.0.");
    row("sign alone", "+.-.3.", 0, 0, 3, false, "+.-.3.");
    row("tab is no blank", "\t3.0.", 0, 0, 0, false, "\t3.0.");
    row("tab only", "\t", 0, 0, 0, false, "\t");
    row("non-ASCII digit", QStringLiteral("\u0663.0."), 0, 0, 0, false, QStringLiteral("\u0663.0."));
    row("hexadecimal", "&H3.0.", 0, 0, 0, false, "&H3.0.");
    row("decimal fraction", "3,5.0.", 0, 0, 0, false, "3,5.0.");

    QTest::newRow("empty") << QString() << false << 0 << 0 << 0 << false << QString();
    QTest::newRow("blanks only") << QStringLiteral("     ") << false << 0 << 0 << 0 << false << QString();
}

void VersionReadingTest::readsVersionText()
{
    QFETCH(QString, text);
    QFETCH(bool, received);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(bool, newer);
    QFETCH(QString, shown);

    const VersionReading reading = readVersionText(text);
    QCOMPARE(reading.received, received);
    QCOMPARE(reading.found.major, major);
    QCOMPARE(reading.found.minor, minor);
    QCOMPARE(reading.found.revision, revision);
    QCOMPARE(reading.newer, newer);
    QCOMPARE(reading.shownText, shown);
}

void VersionReadingTest::comparesWithOwnVersion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("newer");

    QTest::newRow("same") << "5.5.5." << false;
    QTest::newRow("revision higher") << "5.5.6." << true;
    QTest::newRow("revision lower") << "5.5.4." << false;
    QTest::newRow("minor higher, revision lower") << "5.6.0." << true;
    QTest::newRow("minor lower, revision higher") << "5.4.9." << false;
    QTest::newRow("major higher, rest lower") << "6.0.0." << true;
    QTest::newRow("major lower, rest higher") << "4.9.9." << false;
}

void VersionReadingTest::comparesWithOwnVersion()
{
    QFETCH(QString, text);
    QFETCH(bool, newer);
    QCOMPARE(readVersionText(text, VersionNumber{5, 5, 5}).newer, newer);
}

LETTERLOOM_CORE_TEST_MAIN(VersionReadingTest)
#include "versionreadingtest.moc"
