#include "printjob.h"

PrintJob::PrintJob(QTextEdit *view, QLabel *statusLine, QWidget *window)
    : m_view(view), m_statusLine(statusLine), m_window(window)
{
}

void PrintJob::run()
{
}
