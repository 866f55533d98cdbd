// Prints the preview's catalogue, or the part the user selected, on a printer
// chosen in the print dialog, and reports the outcome in a message box and in
// the preview's status line.
#pragma once

#include "printjob/printfault.h"
#include "printjob/printprogress.h"

#include <QString>

class QColor;
class QLabel;
class QPrinter;
class QTextEdit;
class QWidget;

class PrintJob
{
public:
    PrintJob(QTextEdit *view, QLabel *statusLine, QWidget *window);

    // The whole procedure: dialog, printing, message and status line.
    void run();
    // The same on a printer of the caller's; the dialog still sets it up.
    void run(QPrinter &printer);

    // How long a job runs before its progress window appears.
    void setProgressDelay(int ms) { m_progressDelayMs = ms; }
    // The outcome of the last run, and how many pages it printed.
    const PrintFault &fault() const { return m_fault; }
    int pageCount() const { return m_pageCount; }

private:
    PrintFault askForPrinter(QPrinter &printer, bool hasSelection);
    PrintFault print(QPrinter &printer, bool hasSelection);
    void showMessage(const QString &text);
    void setStatus(const QString &text, const QColor &color);

    QTextEdit *m_view;
    QLabel *m_statusLine;
    QWidget *m_window;
    int m_progressDelayMs = PrintProgress::DefaultShowAfterMs;
    QString m_chosenPrinter;
    PrintFault m_fault;
    int m_pageCount = 0;
};
