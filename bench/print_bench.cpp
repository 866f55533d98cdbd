// Prints the catalogue of every installed family (sample size 20) to a PDF file
// and reports pages, seconds, peak memory and PDF size. Each case runs in a
// process of its own so that their peak memory does not mix:
//   job       the print job, from accepting the print dialog to the finished PDF,
//             on a catalogue the preview has already laid out
//   preview   from opening the preview to the finished PDF: "&Drucken" at once,
//             the dialog answered at once
//   cancel    the print job cancelled in its progress window after 300 ms
//   baseline  QTextDocument::print of the same laid-out catalogue
// It also reports the longest the progress window went without repainting.
// Usage: print_bench [case [pdf]]   (no argument: every case, in child processes;
// with a file name the case leaves its PDF there)
#include "app/application.h"
#include "benchsupport.h"
#include "preview/cataloguebuilder.h"
#include "printjob/printjob.h"
#include "preview/vorschau.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int TickMs = 10;
constexpr int CancelAfterMs = 300;

// Plays the user: in the print dialog chooses "print to file" with `pdf`,
// answers every message box, cancels the progress window when asked to, and
// measures how long the progress window went without a turn of the event loop.
struct User {
    QString pdf;
    bool cancel = false;
    QElapsedTimer clock;
    qint64 accepted = -1;
    qint64 progressShown = -1;
    qint64 cancelClicked = -1;
    qint64 cancelAnswered = -1;
    qint64 messageShown = -1;
    qint64 lastTick = -1;
    qint64 longestStall = 0;
    QString message;
    QTimer timer;

    void start()
    {
        clock.start();
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
        timer.start(TickMs);
    }

    void tick()
    {
        const qint64 now = clock.elapsed();
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
            printers->setCurrentIndex(printers->count() - 1);
            dialog->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(pdf);
            accepted = clock.elapsed();
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto *progress = qobject_cast<QProgressDialog *>(modal)) {
            if (progressShown < 0)
                progressShown = now;
            else
                longestStall = std::max(longestStall, now - lastTick);
            if (cancelClicked >= 0 && cancelAnswered < 0 && progress->labelText().contains(QStringLiteral("abgebrochen")))
                cancelAnswered = now;
            if (cancel && cancelClicked < 0 && now - progressShown >= CancelAfterMs) {
                cancelClicked = now;
                progress->findChild<QAbstractButton *>()->click();
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messageShown = now;
            message = box->text();
            box->button(QMessageBox::Ok)->click();
        }
        lastTick = now;
    }
};

int pdfPages(const QString &pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished();
    for (const QByteArray &line : info.readAllStandardOutput().split('\n'))
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    return 0;
}

void report(const char *name, const User &user, qint64 total)
{
    std::printf("%-9s pages %4d  %6.2f s  peak %5ld MB  pdf %5.1f MB", name, pdfPages(user.pdf), total / 1000.0,
                peakRssMb(), QFileInfo(user.pdf).size() / 1048576.0);
    if (user.progressShown >= 0)
        std::printf("  progress window from %lld ms, longest stall %lld ms", user.progressShown - user.accepted,
                    user.longestStall);
    if (user.cancelClicked >= 0)
        std::printf("  cancel: window answered in %lld ms, job ended in %lld ms", user.cancelAnswered - user.cancelClicked,
                    user.messageShown - user.cancelClicked);
    std::printf("  [%s]\n", qPrintable(user.message.simplified()));
}

void waitForLayout(QTextEdit &view)
{
    view.document()->documentLayout()->documentSize();
    (void)view.document()->pageCount();
}

int runJob(const char *name, bool cancel, const QString &pdf)
{
    const QStringList names = everyInstalledFamily();
    QWidget window;
    QTextEdit view(&window);
    QLabel status(&window);
    window.resize(600, 450);
    view.resize(580, 400);
    buildCatalogue(view.document(), benchOptions(), names, QDateTime::currentDateTime(), QLocale(QLocale::German));
    window.show();
    waitForLayout(view);

    User user;
    user.pdf = pdf;
    user.cancel = cancel;
    user.start();
    PrintJob job(&view, &status, &window);
    job.run();
    report(name, user, user.messageShown - user.accepted);
    return 0;
}

int runPreview(const QString &pdf)
{
    User user;
    user.pdf = pdf;
    user.start();
    const qint64 opened = user.clock.elapsed();
    Vorschau preview(benchOptions(), everyInstalledFamily());
    QTimer::singleShot(0, &preview, [&preview] {
        preview.Drucken->trigger();
        preview.close();
    });
    preview.exec();
    report("preview", user, user.messageShown - opened);
    return 0;
}

int runBaseline(const QString &pdf)
{
    const QStringList names = everyInstalledFamily();
    QWidget window;
    QTextEdit view(&window);
    window.resize(600, 450);
    view.resize(580, 400);
    buildCatalogue(view.document(), benchOptions(), names, QDateTime::currentDateTime(), QLocale(QLocale::German));
    window.show();
    waitForLayout(view);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    User user;
    user.pdf = pdf;
    QElapsedTimer clock;
    clock.start();
    view.document()->print(&printer);
    const qint64 total = clock.elapsed();
    report("baseline", user, total);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    runOffscreenUnlessChosen();
    QApplication app(argc, argv);
    setUpApplication(app);
    QTemporaryDir dir;
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("katalog.pdf"));
    if (which == QLatin1String("job"))
        return runJob("job", false, pdf);
    if (which == QLatin1String("cancel"))
        return runJob("cancel", true, pdf);
    if (which == QLatin1String("preview"))
        return runPreview(pdf);
    if (which == QLatin1String("baseline"))
        return runBaseline(pdf);

    std::printf("%lld families, sample size 20\n", static_cast<long long>(everyInstalledFamily().size()));
    std::fflush(stdout);
    for (const char *name : {"job", "preview", "cancel", "baseline"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(name)});
        child.waitForFinished(-1);
    }
    return 0;
}
