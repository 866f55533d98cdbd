#include "printjob/printjob.h"

#include "app/appinfo.h"
#include "app/logcategories.h"
#include "controls/plainmessage.h"
#include "printjob/printqueue.h"
#include "printjob/printrun.h"

#include <QComboBox>
#include <QDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <optional>

namespace {
const QString DoneText = QStringLiteral("Druckauftrag fertig.");
const QString FailedText = QStringLiteral("Druckauftrag fehlerhaft");
// Some thousand families, four or five paragraphs each.
constexpr int LongJobBlocks = 4000;
} // namespace

PrintJob::PrintJob(QTextEdit *view, QWidget *window) : m_view(view), m_window(window) { }

// Qt asks the scheduler for its printers without a bound on the wait, for the
// default printer as soon as a printer is made and for every printer when the
// dialog opens; a scheduler that does not answer gets no such question. One
// that is not there at all is no hold-up: the dialog still prints to a file.
PrintOutcome PrintJob::run()
{
    m_pageCount = 0;
    const QTextCursor cursor = m_view->textCursor();
    const bool hasSelection = cursor.selectionEnd() - cursor.selectionStart() > 0;

    std::optional<QPrinter> printer;
    PrintFault dialogFault = PrintFault::of(PrintFault::SchedulerSilent);
    if (PrintQueue::askScheduler() != PrintQueue::Silent) {
        printer.emplace(QPrinter::HighResolution);
        printer->setDocName(m_view->document()->metaInformation(QTextDocument::DocumentTitle));
        printer->setCreator(AppTitle + QLatin1Char(' ') + AppVersionText);
        dialogFault = askForPrinter(*printer, hasSelection);
    }
    const PrintOutcome failed{PrintOutcome::Failed, dialogFault.description};
    if (m_onDialogClosed)
        m_onDialogClosed(failed);
    if (dialogFault.cause == PrintFault::Cancelled)
        return failed;
    if (dialogFault.isSet()) {
        qCWarning(lcPrint).noquote() << "print dialog:" << dialogFault.description;
        showMessage(dialogFault.description);
        return failed;
    }

    const PrintFault printFault = print(*printer, hasSelection);
    if (!printFault.isSet()) {
        showMessage(DoneText);
        return {PrintOutcome::Done, DoneText};
    }
    qCWarning(lcPrint).noquote() << "print job:" << printFault.description;
    showMessage(FailedText + QLatin1Char('\n') + printFault.description);
    return {PrintOutcome::Failed, printFault.description};
}

PrintFault PrintJob::askForPrinter(QPrinter &printer, bool hasSelection)
{
    printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
    QPrintDialog dialog(&printer, m_window);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // With CUPS, Qt's dialog offers its page-range choices even when they are
    // switched off, and again whenever another printer is picked; the catalogue
    // has no page numbers to choose by, so they are taken away each time. The
    // current page is such a choice too: the preview shows no pages.
    const auto withoutPageRanges = [&dialog] {
        for (const char *name : {"printRange", "pagesRadioButton", "printCurrentPage"})
            if (auto *choice = dialog.findChild<QRadioButton *>(QLatin1String(name)))
                choice->setEnabled(false);
    };
    QTimer::singleShot(0, &dialog, withoutPageRanges);
    if (auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers")))
        QObject::connect(printers, &QComboBox::currentIndexChanged, &dialog, withoutPageRanges);
    const int answer = dialog.exec();
    if (answer == QDialog::Rejected)
        return PrintFault::of(PrintFault::Cancelled);
    if (answer != QDialog::Accepted)
        return PrintFault::of(PrintFault::DialogFailed);
    // A queue that vanished before the user picked it leaves the printer on the
    // queue it had before; only the dialog still knows which one was chosen.
    const auto *printers = dialog.findChild<QComboBox *>(QStringLiteral("printers"));
    m_chosenPrinter
        = printers && printer.outputFormat() == QPrinter::NativeFormat ? printers->currentText() : QString();
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty())
        return PrintFault::of(PrintFault::NoPrinterOffered);
    return PrintFault();
}

// The selection is printed whenever there is one, whatever the dialog's range
// says; without one, the whole document.
PrintFault PrintJob::print(QPrinter &printer, bool hasSelection)
{
    if (!m_chosenPrinter.isEmpty() && printer.printerName() != m_chosenPrinter) {
        const PrintFault scheduler = PrintQueue::schedulerFault();
        return scheduler.isSet() ? scheduler : PrintFault::of(PrintFault::PrinterMissing);
    }
    const QTextDocument &document = *m_view->document();
    const QTextCursor selection = m_view->textCursor();
    const int from = hasSelection ? selection.selectionStart() : 0;
    const int to = hasSelection ? selection.selectionEnd() : document.characterCount() - 1;
    // A thousand families take seconds on any machine, and the first step
    // alone can take one: the window of such a job comes at once.
    const bool longJob = document.findBlock(to).blockNumber() - document.findBlock(from).blockNumber() > LongJobBlocks;
    PrintProgress progress(m_window, longJob ? 0 : m_progressDelayMs);
    progress.tick();
    PrintRun run(printer, progress);
    const PrintFault fault = run.print(document, from, to);
    m_pageCount = run.pageCount();
    return fault;
}

void PrintJob::showMessage(const QString &text)
{
    showPlainMessage(m_window, {QMessageBox::NoIcon, text});
}
