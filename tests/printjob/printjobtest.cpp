#include "printfixture.h"

#include "app/appinfo.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "printjob/printjob.h"
#include "printjob/printprogress.h"
#include "printjob/printrun.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>

namespace {
const QString Done = QStringLiteral("Druckauftrag fertig.");
const QString Cancelled = QStringLiteral("Abbrechen wurde gewählt.");
// Long enough that the job spends some tenths of a second on its pages, so a
// user can see the progress window and cancel it.
constexpr int LongDocumentBlocks = 800;
const char *const NoCups = "no CUPS test queue: source scripts/test-services/printer.sh first (as root)";

QString compact(const QString &family)
{
    return QString(family).remove(QLatin1Char(' '));
}
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
    void cancelAfterSuccessTurnsStatusRedAgain();
    void failureIsNeverReportedAsSuccess_data();
    void failureIsNeverReportedAsSuccess();
    void stoppedQueueSpoolsTheJob();
    void printerFallenBackToNowhereIsReported();
    void longJobShowsProgress_data();
    void longJobShowsProgress();

private:
    bool cupsAvailable() const { return !queue("LETTERLOOM_PRINTER").isEmpty(); }
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

    MessageLog log;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        showOptions(dialog);
        allPreset = isChecked(dialog, "printAll");
        selectionPreset = isChecked(dialog, "printSelection");
        rangeOffered = isEnabled(dialog, "printRange") || isEnabled(dialog, "pagesRadioButton");
        selectionOffered = isEnabled(dialog, "printSelection");
        // The user looks at the other kind of printer first.
        if (toQueue) {
            choosePdfFile(dialog, pdf);
            choosePrinter(dialog, queue("LETTERLOOM_PRINTER"));
        } else {
            choosePrinter(dialog, queue("LETTERLOOM_PRINTER"));
            choosePdfFile(dialog, pdf);
        }
        rangeOffered = rangeOffered || isEnabled(dialog, "printRange") || isEnabled(dialog, "pagesRadioButton");
        clickPrint(dialog);
    });
    PrintJob(preview.view, preview.status, &preview.window).run();

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
    QCOMPARE(preview.status->text(), Done);
    QCOMPARE(preview.statusColor(), QColor(Qt::black));

    QString printout = pdf;
    if (toQueue)
        QVERIFY(waitForPrintout(before, &printout));
    QCOMPARE(squeezed(pdfText(printout)), squeezed(preview.view->toPlainText()));
    const QStringList fonts = embeddedFonts(printout);
    for (const QString &family : TestFamilies)
        QVERIFY2(fonts.contains(compact(family)), qPrintable(fonts.join(QLatin1Char(','))));
    QCOMPARE(fontsNotEmbedded(printout), QStringList());
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
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        showOptions(dialog);
        allPreset = isChecked(dialog, "printAll");
        selectionPreset = isChecked(dialog, "printSelection");
        if (switchToAll)
            check(dialog, "printAll");
        if (toQueue)
            choosePrinter(dialog, queue("LETTERLOOM_PRINTER"));
        else
            choosePdfFile(dialog, pdf);
        clickPrint(dialog);
    });
    PrintJob(preview.view, preview.status, &preview.window).run();

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
    QTest::addColumn<bool>("toQueue");
    QTest::newRow("queue chosen, then cancelled") << true;
    QTest::newRow("PDF file chosen, then cancelled") << false;
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
        if (toQueue)
            choosePrinter(dialog, printer);
        else
            choosePdfFile(dialog, pdf);
        clickCancel(dialog);
    });
    PrintJob(preview.view, preview.status, &preview.window).run();

    QVERIFY(log.messages.isEmpty());
    QCOMPARE(preview.status->text(), Cancelled);
    QCOMPARE(preview.statusColor(), DarkRed);
    QVERIFY(!QFile::exists(pdf));
    if (toQueue)
        QCOMPARE(jobCount(printer), jobsBefore);
}

void PrintJobTest::cancelAfterSuccessTurnsStatusRedAgain()
{
    PreviewStandIn preview;
    MessageLog log;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        choosePdfFile(dialog, m_dir.filePath(QStringLiteral("erst.pdf")));
        clickPrint(dialog);
    });
    PrintJob(preview.view, preview.status, &preview.window).run();
    QCOMPARE(preview.status->text(), Done);
    QCOMPARE(preview.statusColor(), QColor(Qt::black));

    whenModal<QPrintDialog>([](QPrintDialog *dialog) { clickCancel(dialog); });
    PrintJob(preview.view, preview.status, &preview.window).run();
    QCOMPARE(preview.status->text(), Cancelled);
    QCOMPARE(preview.statusColor(), DarkRed);
    QCOMPARE(log.messages.size(), 1);
}

void PrintJobTest::failureIsNeverReportedAsSuccess_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("description");
    QTest::newRow("queue rejects jobs") << QStringLiteral("rejecting")
                                        << QStringLiteral("Der Drucker „LetterloomRejecting“ nimmt keine Aufträge an.");
    QTest::newRow("queue removed after it was chosen")
        << QStringLiteral("removed after choosing") << QStringLiteral("Den Drucker „LetterloomVanishing“ gibt es nicht.");
    QTest::newRow("queue removed before it was chosen")
        << QStringLiteral("removed before choosing")
        << QStringLiteral("Der gewählte Drucker ist nicht mehr vorhanden; es wurde nichts gedruckt.");
    QTest::newRow("file that takes no data") << QStringLiteral("/dev/full")
                                             << QStringLiteral("Die Datei „/dev/full“ konnte nicht geschrieben werden.");
}

void PrintJobTest::failureIsNeverReportedAsSuccess()
{
    QFETCH(QString, target);
    QFETCH(QString, description);
    const bool toFile = target.startsWith(QLatin1Char('/'));
    if (!toFile && !cupsAvailable())
        QSKIP(NoCups);
    const QString vanishing = QStringLiteral("LetterloomVanishing");
    if (target.startsWith(QLatin1String("removed")))
        QVERIFY(addQueue(vanishing));
    PreviewStandIn preview;

    MessageLog log;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        if (toFile) {
            choosePdfFile(dialog, target);
        } else if (target == QLatin1String("rejecting")) {
            choosePrinter(dialog, queue("LETTERLOOM_PRINTER_REJECTING"));
        } else if (target == QLatin1String("removed after choosing")) {
            choosePrinter(dialog, vanishing);
            removeQueue(vanishing);
        } else {
            removeQueue(vanishing);
            choosePrinter(dialog, vanishing);
        }
        clickPrint(dialog);
    });
    PrintJob(preview.view, preview.status, &preview.window).run();

    QVERIFY(!log.messages.isEmpty());
    for (const MessageLog::Message &message : std::as_const(log.messages))
        QVERIFY(!message.text.contains(Done));
    const MessageLog::Message &failure = log.messages.last();
    QCOMPARE(failure.text.split(QLatin1Char('\n')),
             (QStringList{QStringLiteral("Druckauftrag fehlerhaft"), description}));
    QCOMPARE(failure.title, AppTitle);
    QCOMPARE(failure.icon, QMessageBox::NoIcon);
    QCOMPARE(failure.format, Qt::PlainText);
    QCOMPARE(preview.status->text(), description);
    QCOMPARE(preview.statusColor(), DarkRed);
}

void PrintJobTest::stoppedQueueSpoolsTheJob()
{
    if (!cupsAvailable())
        QSKIP(NoCups);
    const QString stopped = queue("LETTERLOOM_PRINTER_STOPPED");
    const int pendingBefore = pendingJobCount(stopped);
    PreviewStandIn preview;
    MessageLog log;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        choosePrinter(dialog, stopped);
        clickPrint(dialog);
    });
    PrintJob(preview.view, preview.status, &preview.window).run();

    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages.first().text, Done);
    QCOMPARE(pendingJobCount(stopped), pendingBefore + 1);
}

// A QPrinter whose queue could not be found writes a PDF to nowhere: printing
// on it would silently do nothing.
void PrintJobTest::printerFallenBackToNowhereIsReported()
{
    PreviewStandIn preview;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString());
    printer.setPrinterName(QStringLiteral("LetterloomGibtEsNicht"));
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer.outputFileName(), QString());

    PrintProgress progress(&preview.window);
    PrintRun run(printer, progress);
    const PrintFault fault = run.print(*preview.view->document(), QTextDocumentFragment(preview.view->document()));
    QCOMPARE(fault.cause, PrintFault::PrinterMissing);
    QCOMPARE(fault.description,
             QStringLiteral("Der gewählte Drucker ist nicht mehr vorhanden; es wurde nichts gedruckt."));
}

void PrintJobTest::longJobShowsProgress_data()
{
    QTest::addColumn<bool>("toQueue");
    QTest::addColumn<QString>("cancel");
    QTest::newRow("PDF file, cancel button") << false << QStringLiteral("button");
    QTest::newRow("cups-pdf queue, cancel button") << true << QStringLiteral("button");
    QTest::newRow("PDF file, window closed") << false << QStringLiteral("close");
    QTest::newRow("PDF file, to the end") << false << QString();
}

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
    QString label;
    bool stillShownAfterCancel = false;
    QString labelAfterCancel;

    MessageLog log;
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        if (toQueue)
            choosePrinter(dialog, printer);
        else
            choosePdfFile(dialog, pdf);
        clickPrint(dialog);
    });
    std::function<void(QProgressDialog *)> watch = [&](QProgressDialog *progress) {
        if (!progress->labelText().startsWith(QStringLiteral("Seite "))) {
            whenModal<QProgressDialog>(watch);
            return;
        }
        label = progress->labelText();
        if (!cancel.isEmpty()) {
            if (cancel == QLatin1String("button"))
                progress->findChild<QPushButton *>()->click();
            else
                progress->close();
            stillShownAfterCancel = progress->isVisible();
            labelAfterCancel = progress->labelText();
        }
    };
    whenModal<QProgressDialog>(watch);
    PrintJob job(preview.view, preview.status, &preview.window);
    job.setProgressDelay(0);
    job.run();

    const QRegularExpressionMatch page = QRegularExpression(QStringLiteral("^Seite (\\d+) von (\\d+)$")).match(label);
    QVERIFY2(page.hasMatch(), qPrintable(label));
    QCOMPARE(page.captured(2).toInt(), job.pageCount());
    QVERIFY(job.pageCount() > 20);
    QCOMPARE(log.messages.size(), 1);
    if (cancel.isEmpty()) {
        QCOMPARE(log.messages.first().text, Done);
        QCOMPARE(pdfText(pdf).count(QStringLiteral("Zwölf Boxkämpfer")), 3 * LongDocumentBlocks);
        return;
    }
    // The window stays until the job has wound down, so nothing behind it takes input meanwhile.
    QVERIFY(stillShownAfterCancel);
    QCOMPARE(labelAfterCancel, QStringLiteral("Der Druckauftrag wird abgebrochen …"));
    const QString aborted = QStringLiteral("Der Druckauftrag wurde abgebrochen.");
    QCOMPARE(log.messages.first().text, QStringLiteral("Druckauftrag fehlerhaft\n") + aborted);
    QCOMPARE(preview.status->text(), aborted);
    QCOMPARE(preview.statusColor(), DarkRed);
    QVERIFY(!QFile::exists(pdf));
    if (toQueue)
        QCOMPARE(jobCount(printer), jobsBefore);
}

LETTERLOOM_TEST_MAIN(PrintJobTest)
#include "printjobtest.moc"
