#include "printjob/printfault.h"

namespace {
QString sentence(PrintFault::Cause cause, const QString &detail)
{
    switch (cause) {
    case PrintFault::None:
        return QString();
    case PrintFault::Cancelled:
        return QStringLiteral("Abbrechen wurde gewählt.");
    case PrintFault::DialogFailed:
        return QStringLiteral("Der Druckdialog konnte nicht angezeigt werden.");
    case PrintFault::NoPrinterOffered:
        return QStringLiteral("Der Druckdialog hat keinen Drucker angeboten.");
    case PrintFault::PrinterMissing:
        return QStringLiteral("Der gewählte Drucker ist nicht mehr vorhanden; es wurde nichts gedruckt.");
    case PrintFault::PrinterInvalid:
        return QStringLiteral("Der gewählte Drucker ist nicht betriebsbereit.");
    case PrintFault::PrinterInError:
        return QStringLiteral("Der Drucker meldet einen Fehler.");
    case PrintFault::OutputNotWritable:
        return QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.").arg(detail);
    case PrintFault::SpoolFileFailed:
        return QStringLiteral("Die Zwischendatei für den Druckauftrag konnte nicht geschrieben werden.");
    case PrintFault::PaintFailed:
        return QStringLiteral("Die Druckseiten konnten nicht erzeugt werden.");
    case PrintFault::QueueNotAccepting:
        return QStringLiteral("Der Drucker „%1“ nimmt keine Aufträge an.").arg(detail);
    case PrintFault::QueueMissing:
        return QStringLiteral("Den Drucker „%1“ gibt es nicht.").arg(detail);
    case PrintFault::SchedulerUnreachable:
        return QStringLiteral("Das Drucksystem ist nicht erreichbar.");
    case PrintFault::SchedulerSilent:
        return QStringLiteral("Das Drucksystem antwortet nicht.");
    case PrintFault::QueueForbidden:
        return QStringLiteral("Der Drucker „%1“ nimmt von diesem Benutzer keine Aufträge an.").arg(detail);
    case PrintFault::QueueFailed:
        return QStringLiteral("Das Drucksystem hat den Auftrag nicht angenommen (Fehler %1).").arg(detail);
    case PrintFault::Aborted:
        return QStringLiteral("Der Druckauftrag wurde abgebrochen.");
    }
    return QString();
}
} // namespace

PrintFault PrintFault::of(Cause cause, const QString &detail)
{
    return PrintFault{cause, sentence(cause, detail)};
}
