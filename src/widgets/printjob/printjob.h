// Prints the preview's catalogue, or the part the user selected, on a printer
// chosen in the print dialog, reports the outcome in a message box and returns
// it for the preview's status line.
#pragma once

#include "printjob/printfault.h"
#include "printjob/printoutcome.h"
#include "printjob/printprogress.h"

#include <QString>

#include <functional>

class QPrinter;
class QTextEdit;
class QWidget;

class PrintJob
{
public:
    PrintJob(QTextEdit *view, QWidget *window);

    // The whole procedure: dialog, printing, message; the outcome for the status line.
    PrintOutcome run();

    // Told as soon as the print dialog has closed, with what is known by then
    // (the dialog's failure, or nothing yet), so the status line stops showing
    // the last job's outcome while this one runs.
    void setOnDialogClosed(std::function<void(const PrintOutcome &)> show) { m_onDialogClosed = std::move(show); }
    // How long a job runs before its progress window appears.
    void setProgressDelay(int ms) { m_progressDelayMs = ms; }
    // How many pages the last run printed.
    int pageCount() const { return m_pageCount; }

private:
    PrintFault askForPrinter(QPrinter &printer, bool hasSelection);
    PrintFault print(QPrinter &printer, bool hasSelection);
    void showMessage(const QString &text);

    QTextEdit *m_view;
    QWidget *m_window;
    std::function<void(const PrintOutcome &)> m_onDialogClosed;
    int m_progressDelayMs = PrintProgress::DefaultShowAfterMs;
    QString m_chosenPrinter;
    int m_pageCount = 0;
};
