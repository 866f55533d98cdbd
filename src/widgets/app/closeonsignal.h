// Ends the program as a close does when it is asked to end by a signal: SIGTERM
// from the desktop at logout or from `kill`, SIGINT, SIGHUP. Open dialogs close
// one after the other, a running print job is cancelled and removes its parts,
// and the main window closes last, keeping the title as it always does.
#pragma once

#include <QObject>
#include <QTimer>

class CloseOnSignal : public QObject
{
public:
    // Needs the QApplication.
    CloseOnSignal();
    ~CloseOnSignal() override;

    // Whether such a signal has arrived. Work that runs long without handling
    // events (a print job before its progress window shows) asks it to stop
    // at once rather than finish first.
    static bool endRequested();

private:
    void closeNext();

    QTimer m_closing;
};
