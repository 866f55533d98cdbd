// Family names in right-to-left scripts: their lines start at the left margin
// like every other line, in the view and on paper.
#include "previewfixture.h"

#include "controls/flatbutton.h"
#include "fixtures/findcontrol.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "preview/vorschau.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace {
const QString Hebrew = QStringLiteral("אותיות עבריות");
const QString Arabic = QStringLiteral("خط عربي");
const QString Sans = QStringLiteral("Liberation Sans");

bool inRightToLeftScript(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.direction() == QChar::DirR || c.direction() == QChar::DirAL; });
}

// The leftmost x of the block's text in the view, wherever its logical ends fall.
int leftEdge(QTextEdit *view, const QTextBlock &block)
{
    QTextCursor start(block);
    QTextCursor end(block);
    end.movePosition(QTextCursor::EndOfBlock);
    return std::min(view->cursorRect(start).left(), view->cursorRect(end).left());
}

// x of the leftmost word on each line of `pdf` that holds right-to-left text,
// top to bottom, and of the word `reference`.
struct PaperEdges {
    QList<double> rightToLeft;
    double reference = -1;
};

PaperEdges paperEdges(const QString &pdf, const QString &reference)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    pdftotext.waitForFinished(60000);
    const QString page = QString::fromUtf8(pdftotext.readAllStandardOutput());
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    PaperEdges edges;
    QMap<double, double> leftmostByLine;
    for (auto match = word.globalMatch(page); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        const double x = found.captured(1).toDouble();
        if (found.captured(3) == reference)
            edges.reference = x;
        if (inRightToLeftScript(found.captured(3))) {
            const double line = found.captured(2).toDouble();
            leftmostByLine[line] = leftmostByLine.contains(line) ? std::min(leftmostByLine[line], x) : x;
        }
    }
    edges.rightToLeft = leftmostByLine.values();
    return edges;
}
} // namespace

class LeftToRightTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup() { m_modal.cleanup(); }
    void namesStartAtTheLeftMargin_data();
    void namesStartAtTheLeftMargin();
    void namesStartAtTheLeftMarginOnPaper_data();
    void namesStartAtTheLeftMarginOnPaper();

private:
    QTemporaryDir m_dir;
    ModalDriver m_modal{this};
};

// Two real fonts whose family names are Hebrew and Arabic, as users have them.
void LeftToRightTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString noto = QStringLiteral("/usr/share/fonts/truetype/noto/");
    const QList<std::pair<QString, QString>> fonts{{noto + QStringLiteral("NotoSansHebrew-Regular.ttf"), Hebrew},
                                                   {noto + QStringLiteral("NotoSansArabic-Regular.ttf"), Arabic}};
    for (const auto &[source, family] : fonts) {
        const QString target = m_dir.filePath(QFileInfo(source).fileName());
        QCOMPARE(
            QProcess::execute(QStringLiteral("/usr/bin/python3"),
                              {QStringLiteral(FONTSET_SCRIPT), QStringLiteral("--rename"), source, target, family}),
            0);
        const int id = QFontDatabase::addApplicationFont(target);
        QVERIFY(id >= 0);
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{family});
    }
}

void LeftToRightTest::namesStartAtTheLeftMargin_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("Hebrew") << Hebrew;
    QTest::newRow("Arabic") << Arabic;
}

void LeftToRightTest::namesStartAtTheLeftMargin()
{
    QFETCH(QString, family);
    Vorschau preview(catalogueOptions(), {family, Sans});
    preview.show();
    QTRY_VERIFY(preview.isCatalogueComplete());
    QTextEdit *view = control<QTextEdit>(preview, "RichTextBox");
    const QTextDocument *document = view->document();
    const int margin = leftEdge(view, document->firstBlock());

    const QTextBlock name = document->findBlockByNumber(2);
    QCOMPARE(name.text(), family);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        QCOMPARE(leftEdge(view, block), margin);
}

void LeftToRightTest::namesStartAtTheLeftMarginOnPaper_data()
{
    namesStartAtTheLeftMargin_data();
}

void LeftToRightTest::namesStartAtTheLeftMarginOnPaper()
{
    QFETCH(QString, family);
    Vorschau preview(catalogueOptions(), {family, Sans});
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    const QString pdf = m_dir.filePath(QStringLiteral("catalogue.pdf"));
    QCOMPARE(printToPdfFile(preview, pdf), QStringLiteral("Druckauftrag fertig."));

    const PaperEdges edges = paperEdges(pdf, QStringLiteral("Katalog"));
    QVERIFY(edges.reference > 0);
    // The name, then the sample in the family's own script. Joined letters
    // whose shapes the font's character map does not name have no text in
    // the PDF, so the sample's leftmost word need not be its leftmost glyph:
    // the name's line is the one measured.
    QVERIFY(edges.rightToLeft.size() >= 2);
    const double name = edges.rightToLeft.constFirst();
    QVERIFY2(std::abs(name - edges.reference) < 1.0,
             qPrintable(QStringLiteral("name at %1 pt, margin at %2 pt").arg(name).arg(edges.reference)));
}

LETTERLOOM_TEST_MAIN(LeftToRightTest)
#include "lefttorighttest.moc"
