// Every family shows what it looks like: a family without Latin letters shows
// its sample in its own script, in its own glyphs, in the catalogue, on paper
// and in the main window's sample display; neither a sample the program
// chooses nor a rule is ever a row of boxes.
#include "previewfixture.h"

#include "app/application.h"
#include "app/familycoverage.h"
#include "fixtures/findcontrol.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testenvironment.h"
#include "mainwindow/glyphana.h"
#include "preview/cataloguebuilder.h"
#include "preview/vorschau.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QApplication>
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
const QString Adlam = QStringLiteral("Letterloom Adlam");
const QString Oriya = QStringLiteral("Letterloom Oriya");
const QString Symbols = QStringLiteral("Letterloom Symbols");
const QString Thaana = QStringLiteral("Letterloom Thaana");
const QString Sans = QStringLiteral("Liberation Sans");
const QString Rule(113, QLatin1Char('_'));
const QString MissingGlyph = QStringLiteral("missing glyph");

// The fonts the block's laid-out text is drawn in, each glyph one the font has.
QStringList drawnIn(const QTextBlock &block)
{
    QStringList families;
    for (int i = 0; i < block.layout()->lineCount(); ++i) {
        for (const QGlyphRun &run : block.layout()->lineAt(i).glyphRuns()) {
            const QList<quint32> glyphs = run.glyphIndexes();
            families.append(glyphs.contains(0) ? MissingGlyph : run.rawFont().familyName());
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

QList<QTextBlock> laidOutBlockOf(QTextDocument &document, const QString &family, const PrintOptions &options)
{
    buildCatalogue(&document, options, {family}, QDateTime::currentDateTime(), QLocale());
    document.documentLayout()->documentSize();
    return blockOf(document, family);
}
} // namespace

Q_DECLARE_METATYPE(SampleKind)

class OwnScriptTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void sampleIsInTheFamilysOwnScript_data();
    void sampleIsInTheFamilysOwnScript();
    void latinFamilyKeepsItsSample_data();
    void latinFamilyKeepsItsSample();
    void handEnteredTextStaysAsTyped_data();
    void handEnteredTextStaysAsTyped();
    void printedSelectionHasTheSameLines();
    void sampleDisplayShowsTheOwnScriptAfterTheName_data();
    void sampleDisplayShowsTheOwnScriptAfterTheName();

private:
    ModalDriver m_modal{this};
};

void OwnScriptTest::sampleIsInTheFamilysOwnScript_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<SampleKind>("kind");
    // Script_Unknown for a face of symbols.
    QTest::addColumn<int>("script");
    QTest::addColumn<QString>("shown");
    const QList<std::pair<SampleKind, QString>> kinds{{SampleKind::Alphabet, QStringLiteral("Alphabet")},
                                                      {SampleKind::SomeOfEach, QStringLiteral("von jedem etwas")},
                                                      {SampleKind::AllCharacters, QStringLiteral("alle Zeichen")}};
    const struct {
        QString family;
        QChar::Script script;
        QStringList shown; // by kind
    } faces[] = {
        {Adlam,
         QChar::Script_Adlam,
         {QStringLiteral("𞤀𞤁𞤂"), QStringLiteral("𞥑𞥒𞥓𞥔𞥕"), QStringLiteral("𞤀𞤁𞤂")}},
        {Oriya, QChar::Script_Oriya, {QStringLiteral("ଅଆଇ"), QStringLiteral("୧୨୩୪୫"), QStringLiteral("ଅଆଇ")}},
        {Hebrew, QChar::Script_Hebrew, {QStringLiteral("אבגד"), QStringLiteral("אבגד"), QStringLiteral("אבגד")}},
        {Cherokee, QChar::Script_Cherokee, {QStringLiteral("ᎠᎡᎢ"), QStringLiteral("ᎠᎡᎢ"), QStringLiteral("ᎠᎡᎢ")}},
        {Symbols, QChar::Script_Unknown, {QStringLiteral("▢▣▤"), QStringLiteral("▢▣▤"), QStringLiteral("▢▣▤")}},
        // Qt draws Thaana, with merging off, only in a font whose layout
        // tables substitute for it, and this face's only position: it shows
        // what it has besides.
        {Thaana, QChar::Script_Unknown, {QStringLiteral("١٢٣"), QStringLiteral("١٢٣"), QStringLiteral("١٢٣")}},
    };
    for (const auto &face : faces) {
        for (qsizetype i = 0; i < kinds.size(); ++i)
            QTest::addRow("%s, %s", qPrintable(face.family), qPrintable(kinds.at(i).second))
                << face.family << kinds.at(i).first << int(face.script) << face.shown.at(i);
    }
}

// The block keeps its four paragraphs; the sample shows letters of the
// family's script (or, for a face of symbols, its symbols), never ASCII
// digits or punctuation, and not one box.
void OwnScriptTest::sampleIsInTheFamilysOwnScript()
{
    QFETCH(QString, family);
    QFETCH(SampleKind, kind);
    QFETCH(int, script);
    QFETCH(QString, shown);
    QTextDocument document;
    const QList<QTextBlock> paragraphs = laidOutBlockOf(document, family, catalogueOptions(kind));
    QCOMPARE(paragraphs.size(), 2);
    const QTextBlock sample = paragraphs.first();
    QVERIFY2(sample.text().contains(shown), qPrintable(sample.text()));
    QCOMPARE(drawnIn(sample), QStringList{family});
    QCOMPARE(sample.charFormat().fontPointSize(), 20);

    int own = 0;
    int others = 0;
    for (uint code : sample.text().toUcs4()) {
        QVERIFY2(code >= 0x80 || code == ' ', qPrintable(sample.text()));
        if (code == ' ')
            continue;
        const bool letter = QChar::isLetter(code) && QChar::script(code) == QChar::Script(script);
        (letter || (script == QChar::Script_Unknown && !QChar::isLetter(code)) ? own : others) += 1;
    }
    QVERIFY2(own >= 8, qPrintable(sample.text()));
    QVERIFY2(own > others, qPrintable(sample.text()));
}

void OwnScriptTest::latinFamilyKeepsItsSample_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<SampleKind>("kind");
    QTest::addColumn<QString>("ruleIn");
    QTest::newRow("Alphabet") << Sans << SampleKind::Alphabet << Sans;
    QTest::newRow("von jedem etwas") << Sans << SampleKind::SomeOfEach << Sans;
    QTest::newRow("alle Zeichen, no box for a control") << Sans << SampleKind::AllCharacters << Sans;
    QTest::newRow("without underscore, rule from the fallback")
        << Plain << SampleKind::Alphabet << FamilyCoverage::installed().fallbackFamily(U'_');
}

void OwnScriptTest::latinFamilyKeepsItsSample()
{
    QFETCH(QString, family);
    QFETCH(SampleKind, kind);
    QFETCH(QString, ruleIn);
    QTextDocument document;
    const QList<QTextBlock> paragraphs = laidOutBlockOf(document, family, catalogueOptions(kind));
    QCOMPARE(paragraphs.size(), 2);
    QCOMPARE(paragraphs.first().text(), CatalogueBuilder::sampleLine(kind, family, QString()));
    QCOMPARE(drawnIn(paragraphs.first()), QStringList{family});
    QCOMPARE(paragraphs.last().text(), Rule);
    QCOMPARE(drawnIn(paragraphs.last()), QStringList{ruleIn});
}

void OwnScriptTest::handEnteredTextStaysAsTyped_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("boxes");
    QTest::addColumn<QString>("ownScript");
    QTest::newRow("Latin text in a Hebrew family, then Hebrew")
        << Hebrew << QStringLiteral("ABC abc 123") << true << QStringLiteral("אבגד");
    QTest::newRow("Hebrew text in a Hebrew family") << Hebrew << QStringLiteral("שלום עולם") << false << QString();
    QTest::newRow("Latin family, a character it lacks")
        << Sans << QStringLiteral("Zwölf Boxkämpfer 𞤀") << true << QString();
}

// Its boxes tell the user which of their characters the font lacks; where it
// lacks most of them, a line of the family's own script follows.
void OwnScriptTest::handEnteredTextStaysAsTyped()
{
    QFETCH(QString, family);
    QFETCH(QString, typed);
    QFETCH(bool, boxes);
    QFETCH(QString, ownScript);
    PrintOptions options = catalogueOptions(SampleKind::HandEntered);
    options.handEnteredSample = typed;
    QTextDocument document;
    const QList<QTextBlock> paragraphs = laidOutBlockOf(document, family, options);
    QCOMPARE(paragraphs.size(), ownScript.isEmpty() ? 2 : 3);
    QCOMPARE(paragraphs.first().text(), typed);
    QCOMPARE(drawnIn(paragraphs.first()).contains(MissingGlyph), boxes);
    if (!ownScript.isEmpty()) {
        QVERIFY2(paragraphs.at(1).text().startsWith(ownScript), qPrintable(paragraphs.at(1).text()));
        QCOMPARE(drawnIn(paragraphs.at(1)), QStringList{family});
    }
}

void OwnScriptTest::printedSelectionHasTheSameLines()
{
    Vorschau preview(catalogueOptions(), {Plain, Cherokee, Sans});
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    QTextEdit *view = control<QTextEdit>(preview, "RichTextBox");
    const QTextBlock cherokeeSample = blockOf(*view->document(), Cherokee).constFirst();
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
    QCOMPARE(QString::fromUtf8(pdftotext.readAllStandardOutput()).remove(blank),
             QString(Rule + Cherokee + cherokeeSample.text() + Rule + Sans + sansSample.text()).remove(blank));
}

void OwnScriptTest::sampleDisplayShowsTheOwnScriptAfterTheName_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Hebrew") << Hebrew << Hebrew + QStringLiteral(" אבגד");
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
