// Every family shows what it looks like: families without Latin letters get a
// line of their own script, in their own glyphs, in the catalogue, on paper
// and in the main window's sample display; a rule is never a row of boxes.
#include "previewfixture.h"

#include "app/application.h"
#include "fixtures/findcontrol.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testenvironment.h"
#include "mainwindow/glyphana.h"
#include "preview/cataloguebuilder.h"
#include "preview/vorschau.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace {
const QString Hebrew = QStringLiteral("Letterloom Hebrew");
const QString Cherokee = QStringLiteral("Letterloom Cherokee");
const QString Plain = QStringLiteral("Letterloom Plain");
const QString Sans = QStringLiteral("Liberation Sans");
const QString Rule(113, QLatin1Char('_'));

// The fonts the block's laid-out text is drawn in, each glyph one the font has.
QStringList drawnIn(const QTextBlock &block)
{
    QStringList families;
    for (int i = 0; i < block.layout()->lineCount(); ++i) {
        for (const QGlyphRun &run : block.layout()->lineAt(i).glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            families.append(glyphs.contains(0) ? QStringLiteral("missing glyph") : run.rawFont().familyName());
        }
    }
    families.removeDuplicates();
    return families;
}

// The paragraphs of the family's block after its name, up to its rule.
QList<QTextBlock> blockOf(const QTextDocument &document, const QString &family)
{
    QTextBlock block = document.begin();
    while (block.isValid() && block.text() != family)
        block = block.next();
    QList<QTextBlock> paragraphs;
    for (block = block.next(); block.isValid() && (paragraphs.isEmpty() || paragraphs.last().text() != Rule);
         block = block.next())
        paragraphs.append(block);
    return paragraphs;
}
} // namespace

class OwnScriptTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void blockShowsTheFamilysOwnGlyphs_data();
    void blockShowsTheFamilysOwnGlyphs();
    void printedSelectionHasTheSameLines();
    void sampleDisplayShowsTheOwnScriptAfterTheName_data();
    void sampleDisplayShowsTheOwnScriptAfterTheName();

private:
    ModalDriver m_modal{this};
};

void OwnScriptTest::blockShowsTheFamilysOwnGlyphs_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("ownScriptStart");
    QTest::addColumn<bool>("ruleInItsOwnFont");
    QTest::newRow("Hebrew, Qt's sample for it")
        << Hebrew << QFontDatabase::writingSystemSample(QFontDatabase::Hebrew) << false;
    QTest::newRow("Cherokee, its first characters") << Cherokee << QStringLiteral("ᎠᎡᎢᎣᎤ") << false;
    QTest::newRow("Latin, unchanged") << Sans << QString() << true;
    QTest::newRow("Latin without underscore") << Plain << QString() << false;
}

void OwnScriptTest::blockShowsTheFamilysOwnGlyphs()
{
    QFETCH(QString, family);
    QFETCH(QString, ownScriptStart);
    QFETCH(bool, ruleInItsOwnFont);
    QTextDocument document;
    buildCatalogue(&document, catalogueOptions(), {family}, QDateTime::currentDateTime(), QLocale());
    document.documentLayout()->documentSize();

    const QList<QTextBlock> paragraphs = blockOf(document, family);
    QCOMPARE(paragraphs.size(), ownScriptStart.isEmpty() ? 2 : 3);
    QCOMPARE(paragraphs.first().text(), CatalogueBuilder::sampleLine(SampleKind::Alphabet, family, QString()));
    if (!ownScriptStart.isEmpty()) {
        const QTextBlock ownScript = paragraphs.at(1);
        QVERIFY2(ownScript.text().startsWith(ownScriptStart), qPrintable(ownScript.text()));
        QVERIFY(ownScript.text().size() >= 8);
        QCOMPARE(ownScript.charFormat().fontPointSize(), 20);
        QCOMPARE(drawnIn(ownScript), QStringList{family});
    }
    const QTextBlock rule = paragraphs.last();
    QCOMPARE(rule.text(), Rule);
    const QStringList ruleFonts = drawnIn(rule);
    QCOMPARE(ruleFonts.size(), 1);
    QVERIFY2(ruleFonts.first() != QStringLiteral("missing glyph"), "the rule shows boxes");
    QCOMPARE(ruleFonts.first() == family, ruleInItsOwnFont);
}

void OwnScriptTest::printedSelectionHasTheSameLines()
{
    Vorschau preview(catalogueOptions(), {Plain, Cherokee, Sans});
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    QTextEdit *view = control<QTextEdit>(preview, "RichTextBox");
    const QList<QTextBlock> cherokee = blockOf(*view->document(), Cherokee);
    const QTextBlock sansSample = blockOf(*view->document(), Sans).constFirst();
    QTextCursor selection(blockOf(*view->document(), Plain).constLast());
    selection.setPosition(sansSample.position() + sansSample.length() - 1, QTextCursor::KeepAnchor);
    view->setTextCursor(selection);

    const QString pdf = testEnvironment().root() + QStringLiteral("/auswahl.pdf");
    QCOMPARE(printToPdfFile(preview, pdf), QStringLiteral("Druckauftrag fertig."));

    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(pdftotext.waitForFinished(60000));
    static const QRegularExpression blank(QStringLiteral("\\s"));
    // The Cherokee sample line is empty boxes, which have no text; every other
    // line of the selection is there, in order.
    QCOMPARE(QString::fromUtf8(pdftotext.readAllStandardOutput()).remove(blank),
             QString(Rule + Cherokee + cherokee.at(1).text() + Rule + Sans + sansSample.text()).remove(blank));
}

void OwnScriptTest::sampleDisplayShowsTheOwnScriptAfterTheName_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Hebrew") << Hebrew
                            << Hebrew + QLatin1Char(' ') + QFontDatabase::writingSystemSample(QFontDatabase::Hebrew);
    QTest::newRow("Latin") << Sans << Sans;
}

void OwnScriptTest::sampleDisplayShowsTheOwnScriptAfterTheName()
{
    QFETCH(QString, family);
    QFETCH(QString, shown);
    Glyphana window;
    window.Form_Load();
    auto *fonts = window.findChild<QListWidget *>(QStringLiteral("List_Fonts"));
    fonts->addItems({Hebrew, Sans});
    window.Form_Load();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QListWidgetItem *entry = fonts->findItems(family, Qt::MatchExactly).constFirst();
    QTest::mouseClick(fonts->viewport(), Qt::LeftButton, {}, fonts->visualItemRect(entry).center());

    const auto *display = window.findChild<QLabel *>(QStringLiteral("ZeigeSchrift"));
    QVERIFY2(display->text().startsWith(shown), qPrintable(display->text()));
    QCOMPARE(display->text() == family, shown == family);
    QCOMPARE(display->font().family(), family);
    QCOMPARE(QAccessible::queryAccessibleInterface(const_cast<QLabel *>(display))->text(QAccessible::Name),
             QStringLiteral("Schriftbeispiel: ") + family);
}

// The test's fonts are made before fontconfig first reads the font folder.
int main(int argc, char *argv[])
{
    QTemporaryDir made;
    QProcess maker;
    maker.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(TEST_FONTS_SCRIPT), made.path()});
    if (!maker.waitForFinished(120000) || maker.exitCode() != 0)
        qFatal("%s", maker.readAllStandardError().constData());
    TestEnvironment environment(
        TestEnvironment::defaultFontFiles()
        + QString::fromUtf8(maker.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts));
    QApplication app(argc, argv);
    setUpApplication(app);
    environment.redirectSettings();
    OwnScriptTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ownscripttest.moc"
