// What went wrong in a print job: one cause per way a job can fail, each with
// the German sentence the preview shows for it.
#pragma once

#include <QString>

struct PrintFault {
    enum Cause {
        None,
        Cancelled,
        DialogFailed,
        NoPrinterOffered,
        PrinterMissing,
        PrinterInvalid,
        PrinterInError,
        OutputNotWritable,
        SpoolFileFailed,
        PaintFailed,
        QueueNotAccepting,
        QueueMissing,
        SchedulerUnreachable,
        SchedulerSilent,
        QueueForbidden,
        QueueFailed,
        Aborted,
    };

    Cause cause = None;
    QString description;

    bool isSet() const { return cause != None; }

    // `detail` names the file or queue concerned, or the scheduler's status code.
    static PrintFault of(Cause cause, const QString &detail = QString());
};
