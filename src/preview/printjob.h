// Prints the preview's catalogue, or its selection, through the print dialog and reports the outcome.
#pragma once

class QLabel;
class QTextEdit;
class QWidget;

class PrintJob {
public:
    PrintJob(QTextEdit *view, QLabel *statusLine, QWidget *window);
    void run();

private:
    QTextEdit *m_view;
    QLabel *m_statusLine;
    QWidget *m_window;
};
