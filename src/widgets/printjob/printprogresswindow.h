// The progress window of a print job. Cancelling does not close it: it stays,
// saying that the job is being cancelled, until the job has wound down, so the
// preview behind it never takes input in the middle of a job.
#pragma once

#include <QProgressDialog>

class QPushButton;

class PrintProgressWindow : public QProgressDialog
{
    Q_OBJECT

public:
    explicit PrintProgressWindow(QWidget *parent);

    bool cancelRequested() const { return m_cancelRequested; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void requestCancel();

    QPushButton *m_cancelButton;
    bool m_cancelRequested = false;
};
