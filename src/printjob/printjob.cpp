#include "printjob/printjob.h"

#include "app/appinfo.h"
#include "app/colors.h"
#include "controls/designlayout.h"
#include "printjob/printrun.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>

namespace {
const QColor ErrorColor = colorFromBgr(DarkRed);
const QColor DoneColor(0, 0, 0);
const QString DoneText = QStringLiteral("Druckauftrag fertig.");
const QString FailedText = QStringLiteral("Druckauftrag fehlerhaft");
} // namespace

PrintJob::PrintJob(QTextEdit *view, QLabel *statusLine, QWidget *window)
    : m_view(view), m_statusLine(statusLine), m_window(window)
{
}

void PrintJob::run()
{
    QPrinter printer(QPrinter::HighResolution);
    run(printer);
}

void PrintJob::run(QPrinter &printer)
{
    m_pageCount = 0;
    const QTextCursor cursor = m_view->textCursor();
    const bool hasSelection = cursor.selectionEnd() - cursor.selectionStart() > 0;

    m_fault = askForPrinter(printer, hasSelection);
    setStatus(m_fault.description, ErrorColor);
    if (m_fault.cause == PrintFault::Cancelled)
        return;
    if (m_fault.isSet()) {
        showMessage(m_fault.description);
        return;
    }

    m_fault = print(printer, hasSelection);
    if (!m_fault.isSet()) {
        showMessage(DoneText);
        setStatus(DoneText, DoneColor);
        return;
    }
    showMessage(FailedText + QLatin1Char('\n') + m_fault.description);
    setStatus(m_fault.description, ErrorColor);
}

PrintFault PrintJob::askForPrinter(QPrinter &printer, bool hasSelection)
{
    printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
    QPrintDialog dialog(&printer, m_window);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    // With CUPS, Qt's dialog offers its page-range choices even when they are
    // switched off, and again whenever another printer is picked; the catalogue
    // has no page numbers to choose by, so they are taken away each time.
    const auto withoutPageRanges = [&dialog] {
        for (const char *name : {"printRange", "pagesRadioButton"})
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
    m_chosenPrinter = printers && printer.outputFormat() == QPrinter::NativeFormat ? printers->currentText() : QString();
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.printerName().isEmpty())
        return PrintFault::of(PrintFault::NoPrinterOffered);
    return PrintFault();
}

// The selection is printed whenever there is one, whatever the dialog's range
// says; without one, the whole document.
PrintFault PrintJob::print(QPrinter &printer, bool hasSelection)
{
    if (!m_chosenPrinter.isEmpty() && printer.printerName() != m_chosenPrinter)
        return PrintFault::of(PrintFault::PrinterMissing);
    const QTextDocumentFragment part =
        hasSelection ? m_view->textCursor().selection() : QTextDocumentFragment(m_view->document());
    PrintProgress progress(m_window, m_progressDelayMs);
    PrintRun run(printer, progress);
    const PrintFault fault = run.print(*m_view->document(), part);
    m_pageCount = run.pageCount();
    return fault;
}

void PrintJob::showMessage(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, AppTitle, text, QMessageBox::Ok, m_window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void PrintJob::setStatus(const QString &text, const QColor &color)
{
    setTextColor(m_statusLine, color);
    m_statusLine->setTextFormat(Qt::PlainText);
    m_statusLine->setText(text);
}
