#include "printjob/printprogresswindow.h"

#include "app/appinfo.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>

PrintProgressWindow::PrintProgressWindow(QWidget *parent)
    : QProgressDialog(parent),
      m_cancelButton(new QPushButton(QStringLiteral("Abbrechen"), this))
{
    setWindowTitle(AppTitle);
    setWindowModality(Qt::ApplicationModal);
    setAutoReset(false);
    setAutoClose(false);
    setMinimumDuration(0);
    setCancelButton(m_cancelButton);
    if (auto *bar = findChild<QProgressBar *>())
        bar->setAccessibleName(QStringLiteral("Druckfortschritt"));
    // QProgressDialog hides itself when its button says "canceled"; this window
    // waits for the job, so the button asks the job to stop and nothing more.
    m_cancelButton->disconnect(this);
    connect(m_cancelButton, &QPushButton::clicked, this, &PrintProgressWindow::requestCancel);
}

void PrintProgressWindow::reject()
{
    requestCancel();
}

void PrintProgressWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    requestCancel();
}

void PrintProgressWindow::requestCancel()
{
    if (m_cancelRequested)
        return;
    m_cancelRequested = true;
    m_cancelButton->setEnabled(false);
    setLabelText(QStringLiteral("Der Druckauftrag wird abgebrochen …"));
}
