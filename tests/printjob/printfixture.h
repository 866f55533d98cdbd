// What the print-job tests stand on: a preview stand-in holding a document in
// the three test fonts, a user at the print dialog and the message boxes, and
// readers for what arrived at the CUPS queue or in a PDF file.
#pragma once

#include "printjob/printoutcome.h"

#include <QColor>
#include <QMessageBox>
#include <QStringList>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>

class QPrintDialog;

#include <functional>

class PrintJob;

// The parts of the preview window a print job uses.
struct PreviewStandIn {
    // `blocks` repeats the three font blocks, for a long document.
    explicit PreviewStandIn(int blocks = 1);

    QWidget window;
    QTextEdit *view;

    // Selects the sample paragraph of `family` (in the first repetition).
    void selectSample(const QString &family);
    QString selectedText() const;

    // Prints as the user does: in the print dialog picks `target` (a queue, or
    // a PDF file when it is a path), lets `alsoInDialog` act, then clicks
    // "Drucken". `job` defaults to a job of this preview.
    PrintOutcome print(const QString &target, const std::function<void(QPrintDialog *)> &alsoInDialog = {},
                       PrintJob *job = nullptr);
};

// Every message box that comes up while it lives, answered with OK.
class MessageLog
{
public:
    struct Message {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        Qt::TextFormat format;
    };
    MessageLog();
    QList<Message> messages;

private:
    QTimer m_timer;
};

extern const QStringList TestFamilies;
extern const QString Done;
// Long enough that the job spends some tenths of a second on its pages, in
// several parts, so a user can see the progress window and cancel it.
constexpr int LongDocumentBlocks = 800;
const QString CatalogueTitle = QStringLiteral("Schriftenkatalog");
extern const char *const NoCups;
bool cupsAvailable();

// The user's moves in the print dialog.
// `target` is a queue, or a PDF file when it is a path.
void chooseTarget(QPrintDialog *dialog, const QString &target);
void showOptions(QPrintDialog *dialog);
void clickPrint(QPrintDialog *dialog);
void clickCancel(QPrintDialog *dialog);
bool isChecked(QPrintDialog *dialog, const char *radioName);
bool isEnabled(QPrintDialog *dialog, const char *radioName);
// Enabled, whether shown or not.
bool isChoosable(QPrintDialog *dialog, const char *radioName);
void check(QPrintDialog *dialog, const char *radioName);

// The test queues that scripts/test-services/printer.sh set up; empty without CUPS.
QString queue(const char *variable);
QString printOutFolder();
QStringList printedFiles();
// Jobs of `queue` in every state, finished or not.
int jobCount(const QString &queue);
int pendingJobCount(const QString &queue);
// Waits until the test queue has finished its jobs and a PDF has appeared that
// is not among `before`.
bool waitForPrintout(const QStringList &before, QString *printout);
// Adds or removes a cups-pdf queue of its own for a test.
bool addQueue(const QString &name);
bool removeQueue(const QString &name);
// Stops the CUPS scheduler that scripts/test-services/printer.sh started, and
// starts it again; false when the script did not start it.
bool stopScheduler();
bool startScheduler();

QString pdfText(const QString &pdf);
int pdfPageCount(const QString &pdf);
// A field of the PDF's document information ("Title", "Creator"...), as pdfinfo reads it.
QString pdfInfo(const QString &pdf, const QString &field);
// What a print job of this process left in the temporary folder: parts folders, spool files.
QStringList leftovers();
// The embedded fonts of `pdf` without subset prefixes, e.g. "LiberationSerif".
QStringList embeddedFonts(const QString &pdf);
// The fonts of `pdf` that are not embedded, and the test families it lacks.
QStringList testFontsNotEmbedded(const QString &pdf);
// Text without any white space: wrapping and page breaks differ between the
// screen and the paper, the characters and their order must not.
QString squeezed(const QString &text);
