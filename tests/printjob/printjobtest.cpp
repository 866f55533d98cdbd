#include "printfixture.h"

#include "app/appinfo.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "printjob/printjob.h"
#include "printjob/printpipeline.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Cancelled = QStringLiteral("Abbrechen wurde gewählt.");
} // namespace

class PrintJobTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void initTestCase();

    void wholeDocumentWithoutSelection_data();
    void wholeDocumentWithoutSelection();
    void onlyTheSelection_data();
    void onlyTheSelection();
    void cancelShowsNoMessageAndPrintsNothing_data();
    void cancelShowsNoMessageAndPrintsNothing();
    void statusClearedWhenTheDialogCloses();
    void longJobShowsProgress_data();
    void longJobShowsProgress();
    void copiesLastPageFirstInAFile();

private:
    QTemporaryDir m_dir;
    ModalDriver m_modal{this};
};

void PrintJobTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(), "poppler-utils missing");
    if (!cupsAvailable())
        qWarning("%s; the tests that print to a queue are skipped", NoCups);
}

void PrintJobTest::wholeDocumentWithoutSelection_data()
{
    QTest::addColumn<bool>("toQueue");
    QTest::newRow("cups-pdf queue") << true;
    QTest::newRow("PDF file") << false;
}

void PrintJobTest::wholeDocumentWithoutSelection()
{
    QFETCH(bool, toQueue);
    if (toQueue && !cupsAvailable())
        QSKIP(NoCups);
    PreviewStandIn preview;
    const QString pdf = m_dir.filePath(QStringLiteral("ganz-%1.pdf").arg(QTest::currentDataTag()));
    const QStringList before = printedFiles();
    bool allPreset = false;
    bool selectionPreset = true;
    bool rangeOffered = true;
    bool selectionOffered = false;

    // Hidden or not: a screen reader reaches every choice that is enabled.
    const auto rangeChoiceOffered = [](QPrintDialog *dialog) {
        return isChoosable(dialog, "printRange") || isChoosable(dialog, "pagesRadioButton")
            || isChoosable(dialog, "printCurrentPage");
    };
    MessageLog log;
    // The user looks at the other kind of printer first.
    const QString chosen = toQueue ? queue("LETTERLOOM_PRINTER") : pdf;
    const QString first = toQueue ? pdf : queue("LETTERLOOM_PRINTER");
    const PrintOutcome outcome = preview.print(chosen, [&](QPrintDialog *dialog) {
        chooseTarget(dialog, first);
        showOptions(dialog);
        allPreset = isChecked(dialog, "printAll");
        selectionPreset = isChecked(dialog, "printSelection");
        rangeOffered = rangeChoiceOffered(dialog);
        selectionOffered = isEnabled(dialog, "printSelection");
        chooseTarget(dialog, chosen);
        rangeOffered = rangeOffered || rangeChoiceOffered(dialog);
    });

    QVERIFY(allPreset);
    QVERIFY(!selectionPreset);
    QVERIFY(!rangeOffered);
    QVERIFY(selectionOffered);
    QCOMPARE(log.messages.size(), 1);
    const MessageLog::Message &message = log.messages.first();
    QCOMPARE(message.text, Done);
    QCOMPARE(message.title, AppTitle);
    QCOMPARE(message.icon, QMessageBox::NoIcon);
    QCOMPARE(message.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(message.format, Qt::PlainText);
    QCOMPARE(outcome.text, Done);
    QCOMPARE(outcome.kind, PrintOutcome::Done);

    QString printout = pdf;
    if (toQueue)
        QVERIFY(waitForPrintout(before, &printout));
    QCOMPARE(squeezed(pdfText(printout)), squeezed(preview.view->toPlainText()));
    QCOMPARE(testFontsNotEmbedded(printout), QStringList());
    // The printout says what it is: cups-pdf names its file after the job.
    if (toQueue) {
        QVERIFY2(QFileInfo(printout).fileName().startsWith(CatalogueTitle), qPrintable(printout));
    } else {
        QCOMPARE(pdfInfo(printout, QStringLiteral("Title")), CatalogueTitle);
        QCOMPARE(pdfInfo(printout, QStringLiteral("Creator")), QStringLiteral("Letterloom 2.01.0002"));
    }
}

void PrintJobTest::onlyTheSelection_data()
{
    QTest::addColumn<bool>("toQueue");
    QTest::addColumn<bool>("switchToAll");
    QTest::newRow("cups-pdf queue, selection as preset") << true << false;
    QTest::newRow("cups-pdf queue, user switches to all pages") << true << true;
    QTest::newRow("PDF file, selection as preset") << false << false;
    QTest::newRow("PDF file, user switches to all pages") << false << true;
}

void PrintJobTest::onlyTheSelection()
{
    QFETCH(bool, toQueue);
    QFETCH(bool, switchToAll);
    if (toQueue && !cupsAvailable())
        QSKIP(NoCups);
    PreviewStandIn preview;
    preview.selectSample(QStringLiteral("Liberation Serif"));
    const QString selected = preview.selectedText();
    QVERIFY(selected.startsWith(QStringLiteral("Liberation Serif: ")));
    const QString pdf = m_dir.filePath(QStringLiteral("auswahl-%1.pdf").arg(QTest::currentDataTag()));
    const QStringList before = printedFiles();
    bool allPreset = true;
    bool selectionPreset = false;

    MessageLog log;
    preview.print(toQueue ? queue("LETTERLOOM_PRINTER") : pdf, [&](QPrintDialog *dialog) {
        showOptions(dialog);
        allPreset = isChecked(dialog, "printAll");
        selectionPreset = isChecked(dialog, "printSelection");
        if (switchToAll)
            check(dialog, "printAll");
    });

    QVERIFY(selectionPreset);
    QVERIFY(!allPreset);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages.first().text, Done);
    QCOMPARE(preview.selectedText(), selected);

    QString printout = pdf;
    if (toQueue)
        QVERIFY(waitForPrintout(before, &printout));
    QCOMPARE(squeezed(pdfText(printout)), squeezed(selected));
    QCOMPARE(embeddedFonts(printout), QStringList{QStringLiteral("LiberationSerif")});
}

void PrintJobTest::cancelShowsNoMessageAndPrintsNothing_data()
{
    wholeDocumentWithoutSelection_data();
}

void PrintJobTest::cancelShowsNoMessageAndPrintsNothing()
{
    QFETCH(bool, toQueue);
    if (toQueue && !cupsAvailable())
        QSKIP(NoCups);
    PreviewStandIn preview;
    const QString pdf = m_dir.filePath(QStringLiteral("abgebrochen-%1.pdf").arg(QTest::currentDataTag()));
    const QString printer = queue("LETTERLOOM_PRINTER");
    const int jobsBefore = toQueue ? jobCount(printer) : 0;

    MessageLog log;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        chooseTarget(dialog, toQueue ? printer : pdf);
        clickCancel(dialog);
    });
    PrintJob job(preview.view, &preview.window);
    QList<PrintOutcome> shown;
    job.setOnDialogClosed([&shown](const PrintOutcome &outcome) { shown.append(outcome); });
    const PrintOutcome outcome = job.run();

    QVERIFY(log.messages.isEmpty());
    QCOMPARE(outcome.text, Cancelled);
    QCOMPARE(outcome.kind, PrintOutcome::Failed);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, Cancelled);
    QVERIFY(!QFile::exists(pdf));
    if (toQueue)
        QCOMPARE(jobCount(printer), jobsBefore);
}

// Once the dialog has closed the window is told the job has not succeeded
// (yet), so the last job's "fertig" does not stand while this one runs.
void PrintJobTest::statusClearedWhenTheDialogCloses()
{
    PreviewStandIn preview;
    MessageLog log;
    PrintJob job(preview.view, &preview.window);
    QList<PrintOutcome> shown;
    job.setOnDialogClosed([&shown](const PrintOutcome &outcome) { shown.append(outcome); });
    QCOMPARE(preview.print(m_dir.filePath(QStringLiteral("erst.pdf")), {}, &job).kind, PrintOutcome::Done);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().kind, PrintOutcome::Failed);
    QCOMPARE(shown.first().text, QString());

    whenModal<QPrintDialog>([](QPrintDialog *dialog) { clickCancel(dialog); });
    const PrintOutcome cancelled = job.run();
    QCOMPARE(cancelled.text, Cancelled);
    QCOMPARE(cancelled.kind, PrintOutcome::Failed);
    QCOMPARE(log.messages.size(), 1);
}

void PrintJobTest::longJobShowsProgress_data()
{
    QTest::addColumn<bool>("toQueue");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("PDF file, cancel button") << false << QStringLiteral("button");
    QTest::newRow("cups-pdf queue, cancel button") << true << QStringLiteral("button");
    QTest::newRow("PDF file, window closed") << false << QStringLiteral("close");
    QTest::newRow("PDF file, cancel on the last pages") << false << QStringLiteral("late");
    QTest::newRow("cups-pdf queue, cancel on the last pages") << true << QStringLiteral("late");
    QTest::newRow("PDF file, to the end") << false << QString();
    QTest::newRow("cups-pdf queue, to the end") << true << QString();
}

// A long job is written in several parts on several threads and joined: every
// page in order, every font embedded, nothing left behind; and a cancel is
// answered in the last parts and the join as well.
void PrintJobTest::longJobShowsProgress()
{
    QFETCH(bool, toQueue);
    QFETCH(QString, cancel);
    if (toQueue && !cupsAvailable())
        QSKIP(NoCups);
    PreviewStandIn preview(LongDocumentBlocks);
    const QString pdf = m_dir.filePath(QStringLiteral("lang-%1.pdf").arg(QTest::currentDataTag()));
    const QString printer = queue("LETTERLOOM_PRINTER");
    const int jobsBefore = toQueue ? jobCount(printer) : 0;
    const QStringList printedBefore = toQueue ? printedFiles() : QStringList();
    // Until the last pages are laid out the count is what the pages so far promise.
    const QRegularExpression pageLabel(QStringLiteral("^Seite (\\d+) von (etwa )?(\\d+)$"));
    QString label;
    bool stillShownAfterCancel = false;
    QString labelAfterCancel;

    MessageLog log;
    const auto due = [&](const QString &text) {
        const QRegularExpressionMatch page = pageLabel.match(text);
        if (cancel != QLatin1String("late"))
            return page.hasMatch();
        // The last two parts are drawn at once, and the first parts joined meanwhile.
        return (page.hasMatch()
                && page.captured(1).toInt() + 2 * PrintPipeline::SheetsPerPart >= page.captured(3).toInt())
            || text.contains(QStringLiteral("zusammengefügt"));
    };
    std::function<void(QProgressDialog *)> watch = [&](QProgressDialog *progress) {
        if (pageLabel.match(progress->labelText()).hasMatch())
            label = progress->labelText();
        if (!due(progress->labelText())) {
            whenModal<QProgressDialog>(watch);
            return;
        }
        if (!cancel.isEmpty()) {
            if (cancel == QLatin1String("close"))
                progress->close();
            else
                progress->findChild<QPushButton *>()->click();
            stillShownAfterCancel = progress->isVisible();
            labelAfterCancel = progress->labelText();
        }
    };
    whenModal<QProgressDialog>(watch);
    PrintJob job(preview.view, &preview.window);
    job.setProgressDelay(0);
    const PrintOutcome outcome = preview.print(toQueue ? printer : pdf, {}, &job);

    const QRegularExpressionMatch page = pageLabel.match(label);
    QVERIFY2(page.hasMatch(), qPrintable(label));
    QCOMPARE(log.messages.size(), 1);
    if (cancel.isEmpty()) {
        QVERIFY(job.pageCount() > 20);
        // A promise that holds within a few pages.
        const int told = page.captured(3).toInt();
        if (page.captured(2).isEmpty())
            QCOMPARE(told, job.pageCount());
        else
            QVERIFY2(qAbs(told - job.pageCount()) <= job.pageCount() / 10, qPrintable(label));
        QCOMPARE(log.messages.first().text, Done);
        QString printout = pdf;
        if (toQueue)
            QVERIFY(waitForPrintout(printedBefore, &printout));
        // Every page, in order.
        QCOMPARE(squeezed(pdfText(printout)), squeezed(preview.view->toPlainText()));
        QCOMPARE(pdfPageCount(printout), job.pageCount());
        QCOMPARE(testFontsNotEmbedded(printout), QStringList());
        QCOMPARE(leftovers(), QStringList());
        return;
    }
    // The window stays until the job has wound down, so nothing behind it takes input meanwhile.
    QVERIFY(stillShownAfterCancel);
    QCOMPARE(labelAfterCancel, QStringLiteral("Der Druckauftrag wird abgebrochen …"));
    const QString aborted = QStringLiteral("Der Druckauftrag wurde abgebrochen.");
    QCOMPARE(log.messages.first().text, QStringLiteral("Druckauftrag fehlerhaft\n") + aborted);
    QCOMPARE(outcome.text, aborted);
    QCOMPARE(outcome.kind, PrintOutcome::Failed);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(leftovers(), QStringList());
    if (toQueue)
        QCOMPARE(jobCount(printer), jobsBefore);
}

// A PDF file holds every copy itself. Pages in any order but their own are
// drawn only once every page is laid out; they are the same pages.
void PrintJobTest::copiesLastPageFirstInAFile()
{
    PreviewStandIn preview(LongDocumentBlocks);
    const QString once = m_dir.filePath(QStringLiteral("einmal.pdf"));
    const QString twice = m_dir.filePath(QStringLiteral("zweimal-rueckwaerts.pdf"));
    MessageLog log;
    preview.print(once);
    preview.print(twice, [](QPrintDialog *dialog) {
        showOptions(dialog);
        dialog->findChild<QSpinBox *>(QStringLiteral("copies"))->setValue(2);
        dialog->findChild<QCheckBox *>(QStringLiteral("collate"))->setChecked(true);
        dialog->findChild<QCheckBox *>(QStringLiteral("reverse"))->setChecked(true);
    });
    QCOMPARE(log.messages.size(), 2);
    QCOMPARE(log.messages.last().text, Done);

    QStringList pages = pdfText(once).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    QVERIFY(pages.size() > 20);
    std::reverse(pages.begin(), pages.end());
    QCOMPARE(pdfText(twice).split(QLatin1Char('\f'), Qt::SkipEmptyParts), pages + pages);
}

LETTERLOOM_TEST_MAIN(PrintJobTest)
#include "printjobtest.moc"
