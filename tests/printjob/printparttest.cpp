// A job laid out and written in parts, on several threads, gives the very
// pages one long document gives: as many pages, and on each the same words at
// the same places, also where a paragraph runs over from one part to the next.
#include "fixtures/coretestmain.h"
#include "printjob/pdfjoin.h"
#include "printjob/printparagraphs.h"
#include "printjob/printpipeline.h"
#include "printjob/printsetup.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {
const QStringList Families{QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Serif"),
                           QStringLiteral("Liberation Mono")};
const QString Words = QStringLiteral("Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich. ");

// Paragraphs of every size the catalogue uses, long ones that wrap and run
// over a page's end, and empty ones.
void fill(QTextDocument &document)
{
    QTextCursor cursor(&document);
    for (int i = 0; i < 150; ++i) {
        if (i > 0)
            cursor.insertBlock();
        QTextCharFormat format;
        format.setFontFamilies({Families.at(i % Families.size())});
        format.setFontPointSize(QList<int>{10, 14, 20, 36}.at(i % 4));
        format.setFontWeight(i % 3 == 0 ? QFont::Bold : QFont::Normal);
        cursor.setBlockCharFormat(format);
        if (i % 9 != 4)
            cursor.insertText(QStringLiteral("Absatz %1: ").arg(i) + Words.repeated(i % 6 + 1), format);
    }
}

// The words of each page with their places, as poppler reads them back, the
// places to a hundredth of a point: the PDF writer rounds its last digit.
QStringList wordsOnPages(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    pdftotext.waitForFinished(60000);
    if (!pdftotext.readAllStandardError().isEmpty())
        return {QStringLiteral("unreadable")};
    static const QRegularExpression element(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    QStringList words;
    auto match = element.globalMatch(QString::fromUtf8(pdftotext.readAllStandardOutput()));
    while (match.hasNext()) {
        const QRegularExpressionMatch word = match.next();
        if (word.captured(3).isEmpty())
            words.append(QStringLiteral("page"));
        else
            words.append(QStringLiteral("%1 %2 %3")
                             .arg(word.captured(1).toDouble(), 0, 'f', 2)
                             .arg(word.captured(2).toDouble(), 0, 'f', 2)
                             .arg(word.captured(3)));
    }
    return words;
}
} // namespace

class PrintPartTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void splitJobGivesTheSamePages_data();
    void splitJobGivesTheSamePages();

private:
    QString print(int threads, int sheetsPerPart, int from, int to);

    QTextDocument m_document;
    QTemporaryDir m_dir;
    int m_printed = 0;
};

void PrintPartTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    fill(m_document);
}

void PrintPartTest::splitJobGivesTheSamePages_data()
{
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("sheetsPerPart");
    QTest::addColumn<bool>("selection");
    QTest::newRow("two threads, parts of two pages") << 2 << 2 << false;
    QTest::newRow("four threads, parts of one page") << 4 << 1 << false;
    QTest::newRow("a selection from and to the middle of a paragraph") << 3 << 1 << true;
}

void PrintPartTest::splitJobGivesTheSamePages()
{
    QFETCH(int, threads);
    QFETCH(int, sheetsPerPart);
    QFETCH(bool, selection);
    const QTextBlock first = m_document.findBlockByNumber(5);
    const QTextBlock last = m_document.findBlockByNumber(140);
    const int from = selection ? first.position() + first.length() / 2 : 0;
    const int to = selection ? last.position() + last.length() / 2 : m_document.characterCount() - 1;

    const QStringList whole = wordsOnPages(print(1, 100000, from, to));
    const QStringList split = wordsOnPages(print(threads, sheetsPerPart, from, to));
    QVERIFY(whole.count(QStringLiteral("page")) > 10);
    QCOMPARE(split.count(QStringLiteral("page")), whole.count(QStringLiteral("page")));
    QCOMPARE(split, whole);
}

// Prints characters `from` to `to` of the document as the print job does and
// joins the parts as they come; the path of the PDF.
QString PrintPartTest::print(int threads, int sheetsPerPart, int from, int to)
{
    PrintSetup setup;
    setup.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                   QPageLayout::Millimeter);
    setup.defaultFont = m_document.defaultFont().toString();
    setup.title = QStringLiteral("Probe");
    const QString pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(++m_printed));
    QFile file(pdf);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QTemporaryDir parts(m_dir.filePath(QStringLiteral("teile-XXXXXX")));
    PdfJoin join(file, [] { return true; });
    PrintParagraphs paragraphs(m_document, from, to);
    PrintPipeline pipeline(
        paragraphs, setup, parts.path(),
        [&join](const QString &part, int) {
            return join.addPart(part) == PdfJoin::Joined ? PrintFault() : PrintFault::of(PrintFault::SpoolFileFailed);
        },
        sheetsPerPart);
    pipeline.start(threads);
    bool copying = true;
    do {
        if (copying)
            copying = paragraphs.copyStep(10);
    } while (!pipeline.waitFor(copying ? 0 : 5));
    if (pipeline.fault().isSet() || join.finish() != PdfJoin::Joined)
        return QString();
    return pdf;
}

LETTERLOOM_TEST_MAIN_WITH(QGuiApplication, Q_UNUSED, PrintPartTest)
#include "printparttest.moc"
