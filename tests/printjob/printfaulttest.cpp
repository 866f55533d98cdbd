// The print job's failures: each reported as a failure, with its cause, and
// never as "Druckauftrag fertig.".
#include "printfixture.h"

#include "app/appinfo.h"
#include "fixtures/modaldriver.h"
#include "fixtures/testmain.h"
#include "printjob/printjob.h"
#include "printjob/printprogress.h"
#include "printjob/printrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>

#include <csignal>

#include <sys/resource.h>

namespace {
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

} // namespace

class PrintFaultTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_modal.cleanup(); }
    void initTestCase();

    void failureIsNeverReportedAsSuccess_data();
    void failureIsNeverReportedAsSuccess();
    void stoppedQueueSpoolsTheJob();
    void printerFallenBackToNowhereIsReported();
    void fullSpoolStopsAtTheFirstFailedWrite();
    void stoppedSchedulerIsNamed_data();
    void stoppedSchedulerIsNamed();
    void silentSchedulerFreezesTheWindowAtMostTwoSeconds_data();
    void silentSchedulerFreezesTheWindowAtMostTwoSeconds();

private:
    QTemporaryDir m_dir;
    ModalDriver m_modal{this};
};

void PrintFaultTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (!cupsAvailable())
        qWarning("%s; the tests that print to a queue are skipped", NoCups);
}

void PrintFaultTest::failureIsNeverReportedAsSuccess_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("description");
    QTest::newRow("queue rejects jobs") << QStringLiteral("rejecting")
                                        << QStringLiteral("Der Drucker „LetterloomRejecting“ nimmt keine Aufträge an.");
    QTest::newRow("queue removed after it was chosen")
        << QStringLiteral("removed after choosing")
        << QStringLiteral("Den Drucker „LetterloomVanishing“ gibt es nicht.");
    QTest::newRow("queue removed before it was chosen")
        << QStringLiteral("removed before choosing")
        << QStringLiteral("Der gewählte Drucker ist nicht mehr vorhanden; es wurde nichts gedruckt.");
    QTest::newRow("file that takes no data")
        << QStringLiteral("/dev/full") << QStringLiteral("Die Datei „/dev/full“ konnte nicht geschrieben werden.");
}

void PrintFaultTest::failureIsNeverReportedAsSuccess()
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
    const QString chosen = toFile              ? target
        : target == QLatin1String("rejecting") ? queue("LETTERLOOM_PRINTER_REJECTING")
                                               : vanishing;
    const PrintOutcome outcome = preview.print(chosen, [&](QPrintDialog *dialog) {
        if (target == QLatin1String("removed before choosing")) {
            chooseTarget(dialog, m_dir.filePath(QStringLiteral("vorher.pdf")));
            removeQueue(vanishing);
            chooseTarget(dialog, vanishing);
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

void PrintFaultTest::stoppedQueueSpoolsTheJob()
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
void PrintFaultTest::printerFallenBackToNowhereIsReported()
{
    PreviewStandIn preview;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString());
    printer.setPrinterName(QStringLiteral("LetterloomGibtEsNicht"));
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
    QCOMPARE(printer.outputFileName(), QString());

    PrintProgress progress(&preview.window);
    PrintRun run(printer, progress);
    const PrintFault fault = run.print(*preview.view->document(), 0, preview.view->document()->characterCount() - 1);
    QCOMPARE(fault.cause, PrintFault::PrinterMissing);
    QCOMPARE(fault.description,
             QStringLiteral("Der gewählte Drucker ist nicht mehr vorhanden; es wurde nichts gedruckt."));
}

// The spool folder runs full after a few pages: the job stops at the first
// write that fails and says so, rather than drawing every page first.
void PrintFaultTest::fullSpoolStopsAtTheFirstFailedWrite()
{
    PreviewStandIn preview(LongDocumentBlocks);
    const QString pdf = m_dir.filePath(QStringLiteral("voll.pdf"));
    int lastPageSeen = 0;
    int pagesInAll = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&lastPageSeen, &pagesInAll] {
        if (auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget())) {
            const QRegularExpressionMatch page
                = QRegularExpression(QStringLiteral("^Seite (\\d+) von (?:etwa )?(\\d+)$"))
                      .match(progress->labelText());
            if (page.hasMatch()) {
                lastPageSeen = qMax(lastPageSeen, page.captured(1).toInt());
                pagesInAll = page.captured(2).toInt();
            }
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

    const QString description
        = QStringLiteral("Die Zwischendatei für den Druckauftrag konnte nicht geschrieben werden.");
    QCOMPARE(outcome.text, description);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages.first().text, QStringLiteral("Druckauftrag fehlerhaft\n") + description);
    QVERIFY(pagesInAll > 20);
    QVERIFY2(lastPageSeen < pagesInAll / 2, qPrintable(QString::number(lastPageSeen)));
    QVERIFY(!QFile::exists(pdf));
}

void PrintFaultTest::stoppedSchedulerIsNamed_data()
{
    QTest::addColumn<bool>("whileDialogOpen");
    QTest::newRow("stopped while the dialog is open") << true;
    QTest::newRow("stopped in the middle of the job") << false;
}

// Without a scheduler the job fails, and says that the print system cannot be
// reached, not that the printer does not exist.
void PrintFaultTest::stoppedSchedulerIsNamed()
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

void PrintFaultTest::silentSchedulerFreezesTheWindowAtMostTwoSeconds_data()
{
    QTest::addColumn<bool>("afterTheDialog");
    QTest::newRow("silent when the dialog is to open") << false;
    QTest::newRow("silent once the queue is chosen") << true;
}

// The print dialog and the job ask the scheduler for its queues; one that
// takes connections and never answers must not hold the window, and the user
// is told why nothing was printed.
void PrintFaultTest::silentSchedulerFreezesTheWindowAtMostTwoSeconds()
{
    QFETCH(bool, afterTheDialog);
    if (afterTheDialog && !cupsAvailable())
        QSKIP(NoCups);
    QLocalServer silent;
    QVERIFY(silent.listen(m_dir.filePath(QStringLiteral("silent.sock"))));
    // CUPS reads the variable again only once the server it remembers is cleared.
    const QByteArray before = qgetenv("CUPS_SERVER");
    const auto restore = qScopeGuard([&before] {
        before.isNull() ? qunsetenv("CUPS_SERVER") : qputenv("CUPS_SERVER", before);
        cupsSetServer(nullptr);
    });
    QElapsedTimer sinceTick;
    qint64 frozen = 0;
    QTimer ticks;
    connect(&ticks, &QTimer::timeout, this, [&] { frozen = qMax(frozen, sinceTick.restart()); });
    const auto silence = [&] {
        qputenv("CUPS_SERVER", silent.fullServerName().toLocal8Bit());
        cupsSetServer(nullptr);
        sinceTick.start();
        ticks.start(10);
    };
    // A dialog that lists no queue is no answer either: it must not come at all.
    bool dialogShown = false;
    QTimer refuse;
    connect(&refuse, &QTimer::timeout, this, [&dialogShown] {
        if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
            dialogShown = true;
            clickCancel(dialog);
        }
    });
    PreviewStandIn preview;
    MessageLog log;
    PrintJob job(preview.view, &preview.window);
    PrintOutcome outcome;
    if (afterTheDialog) {
        job.setOnDialogClosed([&](const PrintOutcome &) { silence(); });
        outcome = preview.print(queue("LETTERLOOM_PRINTER"), {}, &job);
    } else {
        refuse.start(10);
        silence();
        outcome = job.run();
    }
    frozen = qMax(frozen, sinceTick.elapsed());
    qInfo("longest freeze: %lld ms", frozen);

    QVERIFY2(frozen <= 2000, qPrintable(QStringLiteral("frozen for %1 ms").arg(frozen)));
    QVERIFY(!dialogShown);
    const QString description = QStringLiteral("Das Drucksystem antwortet nicht.");
    QCOMPARE(outcome.text, description);
    QCOMPARE(log.messages.size(), 1);
    QCOMPARE(log.messages.first().text,
             afterTheDialog ? QStringLiteral("Druckauftrag fehlerhaft\n") + description : description);
}

LETTERLOOM_TEST_MAIN(PrintFaultTest)
#include "printfaulttest.moc"
