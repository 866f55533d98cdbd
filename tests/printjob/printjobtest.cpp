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
#include <QTimer>

#include <csignal>

#include <sys/resource.h>

namespace {
const QString Done = QStringLiteral("Druckauftrag fertig.");
const QString Cancelled = QStringLiteral("Abbrechen wurde gewählt.");
// Long enough that the job spends some tenths of a second on its pages, so a
// user can see the progress window and cancel it.
constexpr int LongDocumentBlocks = 800;
const char *const NoCups = "no CUPS test queue: source scripts/test-services/printer.sh first (as root)";

// Makes writing beyond `bytes` fail with "file too large" in every file of
// this process, as a full disk would, until it goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_before); }

private:
    rlimit m_before{};
};

QString compact(const QString &family)
{
    return QString(family).remove(QLatin1Char(' '));
}
} // namespace

class PrintJobTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void wholeDocumentWithoutSelection_data();
    void wholeDocumentWithoutSelection();
    void onlyTheSelection_data();
    void onlyTheSelection();
    void cancelShowsNoMessageAndPrintsNothing_data();
    void cancelShowsNoMessageAndPrintsNothing();
    void statusClearedWhenTheDialogCloses();
    void failureIsNeverReportedAsSuccess_data();
    void failureIsNeverReportedAsSuccess();
    void stoppedQueueSpoolsTheJob();
    void printerFallenBackToNowhereIsReported();
    void longJobShowsProgress_data();
    void longJobShowsProgress();
    void fullSpoolStopsAtTheFirstFailedWrite();
    void stoppedSchedulerIsNamed_data();
    void stoppedSchedulerIsNamed();

private:
    bool cupsAvailable() const { return !queue("LETTERLOOM_PRINTER").isEmpty(); }
    QTemporaryDir m_dir;
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

    const auto rangeChoiceOffered = [](QPrintDialog *dialog) {
        return isEnabled(dialog, "printRange") || isEnabled(dialog, "pagesRadioButton")
               || isEnabled(dialog, "printCurrentPage");
    };
    MessageLog log;
    // The user looks at the other kind of printer first.
    const QString first = toQueue ? pdf : queue("LETTERLOOM_PRINTER");
    const PrintOutcome outcome = preview.print(toQueue ? queue("LETTERLOOM_PRINTER") : pdf, [&](QPrintDialog *dialog) {
        const QString chosen = toQueue ? queue("LETTERLOOM_PRINTER") : pdf;
        if (first.startsWith(QLatin1Char('/')))
            choosePdfFile(dialog, first);
        else
            choosePrinter(dialog, first);
        showOptions(dialog);
        allPreset = isChecked(dialog, "printAll");
        selectionPreset = isChecked(dialog, "printSelection");
        rangeOffered = rangeChoiceOffered(dialog);
        selectionOffered = isEnabled(dialog, "printSelection");
        if (chosen.startsWith(QLatin1Char('/')))
            choosePdfFile(dialog, chosen);
        else
            choosePrinter(dialog, chosen);
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
    const QString chosen = toFile                                   ? target
                           : target == QLatin1String("rejecting") ? queue("LETTERLOOM_PRINTER_REJECTING")
                                                                    : vanishing;
    const PrintOutcome outcome = preview.print(chosen, [&](QPrintDialog *dialog) {
        if (target == QLatin1String("removed before choosing")) {
            choosePdfFile(dialog, m_dir.filePath(QStringLiteral("vorher.pdf")));
            removeQueue(vanishing);
            choosePrinter(dialog, vanishing);
        } else if (target == QLatin1String("removed after choosing")) {
            removeQueue(vanishing);
        }
    });

    QVERIFY(!log.messages.isEmpty());
    for (const MessageLog::Message &message : std::as_const(log.messages))
        QVERIFY(!message.text.contains(Done));
    const MessageLog::Message &failure = log.messages.last();
    QCOMPARE(failure.text.split(QLatin1Char('\n')),
             (QStringList{QStringLiteral("Druckauftrag fehlerhaft"), description}));
    QCOMPARE(failure.title, AppTitle);
    QCOMPARE(failure.icon, QMessageBox::NoIcon);
    QCOMPARE(failure.format, Qt::PlainText);
    QCOMPARE(outcome.text, description);
    QCOMPARE(outcome.kind, PrintOutcome::Failed);
}

void PrintJobTest::stoppedQueueSpoolsTheJob()
{
    if (!cupsAvailable())
        QSKIP(NoCups);
    const QString stopped = queue("LETTERLOOM_PRINTER_STOPPED");
    const int pendingBefore = pendingJobCount(stopped);
    PreviewStandIn preview;
    MessageLog log;
    preview.print(stopped);

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
    QTest::newRow("PDF file, cancel on the last pages") << false << QStringLiteral("late");
    QTest::newRow("cups-pdf queue, cancel on the last pages") << true << QStringLiteral("late");
    QTest::newRow("PDF file, to the end") << false << QString();
}

// A long job is written in several parts and joined: every page, every font
// embedded, and a cancel is answered in the last part and the join as well.
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
    const QRegularExpression pageLabel(QStringLiteral("^Seite (\\d+) von (\\d+)$"));
    QString label;
    bool stillShownAfterCancel = false;
    QString labelAfterCancel;

    MessageLog log;
    const auto due = [&](const QString &text) {
        const QRegularExpressionMatch page = pageLabel.match(text);
        if (cancel != QLatin1String("late"))
            return page.hasMatch();
        return (page.hasMatch() && page.captured(1).toInt() + 3 >= page.captured(2).toInt())
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
    QCOMPARE(page.captured(2).toInt(), job.pageCount());
    QVERIFY(job.pageCount() > 20);
    QCOMPARE(log.messages.size(), 1);
    if (cancel.isEmpty()) {
        QCOMPARE(log.messages.first().text, Done);
        QCOMPARE(pdfText(pdf).count(QStringLiteral("Zwölf Boxkämpfer")), 3 * LongDocumentBlocks);
        QCOMPARE(pdfPageCount(pdf), job.pageCount());
        const QStringList fonts = embeddedFonts(pdf);
        for (const QString &family : TestFamilies)
            QVERIFY2(fonts.contains(compact(family)), qPrintable(fonts.join(QLatin1Char(','))));
        QCOMPARE(fontsNotEmbedded(pdf), QStringList());
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
    if (toQueue)
        QCOMPARE(jobCount(printer), jobsBefore);
}

// The spool folder runs full after a few pages: the job stops at the first
// write that fails and says so, rather than drawing every page first.
void PrintJobTest::fullSpoolStopsAtTheFirstFailedWrite()
{
    PreviewStandIn preview(LongDocumentBlocks);
    const QString pdf = m_dir.filePath(QStringLiteral("voll.pdf"));
    int lastPageSeen = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&lastPageSeen] {
        if (auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())) {
            const QRegularExpressionMatch page =
                QRegularExpression(QStringLiteral("^Seite (\\d+) von \\d+$")).match(progress->labelText());
            if (page.hasMatch())
                lastPageSeen = qMax(lastPageSeen, page.captured(1).toInt());
        }
    });
    watch.start(5);
    MessageLog log;
    PrintJob job(preview.view, &preview.window);
    job.setProgressDelay(0);
    PrintOutcome outcome;
    {
        // Every file of this process may grow to a few pages' worth, no more.
        const FileSizeLimit limit(16 * 1024);
        outcome = preview.print(pdf, {}, &job);
    }

    const QString description =
        QStringLiteral("Die Zwischendatei für den Druckauftrag konnte nicht geschrieben werden.");
    QCOMPARE(outcome.text, description);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages.first().text, QStringLiteral("Druckauftrag fehlerhaft\n") + description);
    QVERIFY(job.pageCount() > 20);
    QVERIFY2(lastPageSeen < job.pageCount() / 2, qPrintable(QString::number(lastPageSeen)));
    QVERIFY(!QFile::exists(pdf));
}

void PrintJobTest::stoppedSchedulerIsNamed_data()
{
    QTest::addColumn<bool>("whileDialogOpen");
    QTest::newRow("stopped while the dialog is open") << true;
    QTest::newRow("stopped in the middle of the job") << false;
}

// Without a scheduler the job fails, and says that the print system cannot be
// reached, not that the printer does not exist.
void PrintJobTest::stoppedSchedulerIsNamed()
{
    QFETCH(bool, whileDialogOpen);
    if (!cupsAvailable())
        QSKIP(NoCups);
    if (qEnvironmentVariableIsEmpty("LETTERLOOM_CUPSD_PIDFILE"))
        QSKIP("the CUPS scheduler was not started by scripts/test-services/printer.sh, so it is not stopped here");
    PreviewStandIn preview(whileDialogOpen ? 1 : LongDocumentBlocks);
    bool stopped = false;
    if (!whileDialogOpen) {
        whenModal<QProgressDialog>([&](QProgressDialog *) { stopped = stopScheduler(); });
    }
    MessageLog log;
    PrintJob job(preview.view, &preview.window);
    job.setProgressDelay(0);
    const PrintOutcome outcome = preview.print(
        queue("LETTERLOOM_PRINTER"),
        [&](QPrintDialog *) {
            if (whileDialogOpen)
                stopped = stopScheduler();
        },
        &job);
    const bool restarted = startScheduler();

    QVERIFY(stopped);
    QVERIFY(restarted);
    const QString description = QStringLiteral("Das Drucksystem ist nicht erreichbar.");
    QCOMPARE(outcome.text, description);
    QCOMPARE(outcome.kind, PrintOutcome::Failed);
    QCOMPARE(log.messages.last().text, QStringLiteral("Druckauftrag fehlerhaft\n") + description);
}

LETTERLOOM_TEST_MAIN(PrintJobTest)
#include "printjobtest.moc"
