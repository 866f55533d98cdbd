// The catalogue read back paragraph by paragraph and run by run.
#include "cataloguereader.h"

#include "fixtures/testmain.h"
#include "preview/cataloguebuilder.h"

#include <QTextDocument>

Q_DECLARE_METATYPE(PrintOptions)

namespace {
const QString Sans = QStringLiteral("Liberation Sans");
const QString Serif = QStringLiteral("Liberation Serif");
const QString Mono = QStringLiteral("Liberation Mono");
// The test's fonts hold no Arial: the catalogue names the installed
// metric-compatible family that is shown in its place.
const QString ArialStandIn = Sans;
const QColor Blue(0, 0, 192);
const QColor Green(0, 128, 0);
const QString Rule(113, QLatin1Char('_'));
const QString Alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz");
const QString SomeOfEach = QStringLiteral("ABCDEFG abcdefg ÄäÜüÖö 12345 @§$%&-+, ");
// Codes 33 to 255 as a German Windows shows them, without DEL and the five
// codes Windows-1252 leaves empty, which are controls and no characters.
const QString AllCharacters = QStringLiteral(
    "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"
    "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ"
    "\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ");
const QString Footer = QStringLiteral("© http://www.letterloom.example");
const QDateTime Evening(QDate(2024, 3, 5), QTime(21, 7, 45));
const QLocale German(QLocale::German, QLocale::Germany);

PrintOptions someOptions()
{
    PrintOptions options;
    options.title = QStringLiteral("Schriftenübersicht");
    options.headingTypeface = Serif;
    options.sampleSize = 24;
    options.boldSamples = false;
    options.dateLine = true;
    options.sampleKind = SampleKind::Alphabet;
    options.handEnteredSample = QStringLiteral("ABC abc 123");
    options.headingColor = Blue;
    options.sampleColor = Green;
    return options;
}

QList<Paragraph> build(const PrintOptions &options, const QStringList &names)
{
    QTextDocument document;
    buildCatalogue(&document, options, names, Evening, German);
    return readCatalogue(&document);
}

// The layout as a typist following the table would type it; the headings in
// `heading`, or the options' typeface when it is empty.
QList<Paragraph> expected(const PrintOptions &options, const QStringList &names, QString heading = {})
{
    const QColor c0 = options.headingColor;
    const QColor c1 = options.sampleColor;
    const bool b = options.boldSamples;
    const qreal size = options.sampleSize;
    if (heading.isEmpty())
        heading = options.headingTypeface;
    const auto sample = [&options](const QString &name) {
        switch (options.sampleKind) {
        case SampleKind::Alphabet:
            return Alphabet;
        case SampleKind::SomeOfEach:
            return SomeOfEach + name;
        case SampleKind::HandEntered:
            return options.handEnteredSample;
        case SampleKind::AllCharacters:
            break;
        }
        return AllCharacters;
    };
    QList<Paragraph> paragraphs;
    Paragraph header;
    if (!options.title.isEmpty())
        header.append({options.title, heading, 14, true, true, c0, false});
    header.append({QStringLiteral(" (%1 Schriften)").arg(names.size()), heading, 10, false, false, c0, false});
    paragraphs.append(header);
    if (options.dateLine)
        paragraphs.append({{QStringLiteral("Dienstag, 5. März 2024 um 21:07"), heading, 10, false, false, c0, false}});
    for (const QString &name : names) {
        paragraphs.append({{QString(), heading, 10, false, true, c0, false}});
        paragraphs.append({{name, heading, 10, false, true, c0, false}});
        paragraphs.append({{sample(name), name, size, b, false, c1, true}});
        paragraphs.append({{Rule, name, size, b, false, c1, true}});
    }
    paragraphs.append({{Footer, ArialStandIn, 8, b, false, c1, false}});
    return paragraphs;
}

void compareParagraphs(const QList<Paragraph> &actual, const QList<Paragraph> &wanted)
{
    for (qsizetype i = 0; i < qMin(actual.size(), wanted.size()); ++i) {
        QVERIFY2(actual[i].size() == wanted[i].size(), qPrintable(QStringLiteral("paragraph %1").arg(i)));
        for (qsizetype j = 0; j < actual[i].size(); ++j)
            QCOMPARE(actual[i][j], wanted[i][j]);
    }
    QCOMPARE(actual.size(), wanted.size());
}
} // namespace

class CatalogueBuilderTest : public QObject
{
    Q_OBJECT

private slots:
    void followsTheTable_data();
    void followsTheTable();
    void missingTypefaceFallsBackToArial();
    void namesAndTitleStayPlainText();
    void stepwiseBuildFollowsTheTable();
    void rebuildingReplacesTheDocument();
};

void CatalogueBuilderTest::followsTheTable_data()
{
    QTest::addColumn<PrintOptions>("options");
    QTest::addColumn<QStringList>("names");

    PrintOptions options = someOptions();
    QTest::newRow("alphabet, one font, date line") << options << QStringList{Sans};
    options.dateLine = false;
    QTest::newRow("alphabet, three fonts, no date line") << options << QStringList{Mono, Sans, Serif};
    options.sampleKind = SampleKind::SomeOfEach;
    options.boldSamples = true;
    QTest::newRow("some of each, bold samples") << options << QStringList{Sans, Serif};
    options.sampleKind = SampleKind::AllCharacters;
    QTest::newRow("all characters, bold samples") << options << QStringList{Sans, Mono};
    options.boldSamples = false;
    options.sampleKind = SampleKind::HandEntered;
    options.handEnteredSample = QStringLiteral("  Zwölf Boxkämpfer jagen Viktor  ");
    QTest::newRow("hand-entered, kept as entered") << options << QStringList{Serif, Sans};
    options.handEnteredSample.clear();
    QTest::newRow("hand-entered, empty") << options << QStringList{Sans};
    options.title.clear();
    options.dateLine = true;
    QTest::newRow("empty title, one font") << options << QStringList{Sans};
    options.headingColor = Qt::black;
    options.sampleColor = Qt::red;
    options.sampleSize = 8;
    QTest::newRow("empty title, twelve fonts") << options << QStringList(12, Mono);
}

void CatalogueBuilderTest::followsTheTable()
{
    QFETCH(PrintOptions, options);
    QFETCH(QStringList, names);
    // Codes 33 to 255, one character each, the six controls left out.
    QCOMPARE(AllCharacters.size(), 217);
    compareParagraphs(build(options, names), expected(options, names));
}

void CatalogueBuilderTest::missingTypefaceFallsBackToArial()
{
    PrintOptions options = someOptions();
    options.headingTypeface.clear();
    compareParagraphs(build(options, {Mono}), expected(options, {Mono}, ArialStandIn));
}

void CatalogueBuilderTest::namesAndTitleStayPlainText()
{
    PrintOptions options = someOptions();
    options.title = QStringLiteral("<b>Titel</b> &amp;");
    const QString name = QStringLiteral("<i>Fake</i> Font & Co");
    const QList<Paragraph> catalogue = build(options, {name});
    QCOMPARE(catalogue[0][0].text, options.title);
    QCOMPARE(catalogue[3][0].text, name);
    QCOMPARE(catalogue[4][0].family, name);
}

// The preview writes one block per turn of the event loop; the document it
// ends with is the one the table describes.
void CatalogueBuilderTest::stepwiseBuildFollowsTheTable()
{
    PrintOptions options = someOptions();
    options.sampleKind = SampleKind::SomeOfEach;
    const QStringList names{Mono, Sans, Serif, Sans};

    QTextDocument document;
    CatalogueBuilder builder(&document, options, names, Evening, German);
    builder.start();
    int steps = 0;
    while (builder.step())
        ++steps;
    QCOMPARE(steps, names.size());
    QVERIFY(builder.isFinished());
    QVERIFY(!builder.step());
    compareParagraphs(readCatalogue(&document), expected(options, names));
}

void CatalogueBuilderTest::rebuildingReplacesTheDocument()
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("left over\r\nfrom before"));
    buildCatalogue(&document, someOptions(), {Sans}, Evening, German);
    compareParagraphs(readCatalogue(&document), expected(someOptions(), {Sans}));
}

LETTERLOOM_TEST_MAIN(CatalogueBuilderTest)
#include "cataloguebuildertest.moc"
