// Prints the catalogue of every installed family (sample size 20) to a PDF file
// and reports time, pages, peak memory and PDF size. Each case runs three times,
// each run in a process of its own so that their peak memory does not mix:
//   job         the print job, from accepting the print dialog to the finished
//               PDF, on a catalogue built but never laid out on screen, so that
//               the figures are the print job's own
//   job-fontconfig-match  the job with the program's font match left to
//               fontconfig, to show what narrowing it to the font's file saves
//   preview     from opening the preview to the finished PDF: "&Drucken" at
//               once, the dialog answered at once
//   cancel      the print job cancelled in its progress window after 300 ms
//   cancel-end  the print job cancelled on its last page, while the last part's
//               fonts are embedded and the parts are joined
//   baseline    QTextDocument::print of the same catalogue
// With --against, the job alone, by turns with the same benchmark built from
// another commit, on the system's fonts and on larger font sets
// (bench/make-fontset.py), to measure a change against what came before.
// Figures: seconds, peak RSS (VmHWM), the most private memory seen, pages,
// when the progress window appeared after the dialog's OK, how long cancelling
// took to end the job, and the longest the progress window went without repainting.
// The font set is the one fontconfig gives; FONTCONFIG_FILE chooses another.
#include "app/application.h"
#include "benchsupport.h"
#include "preview/cataloguebuilder.h"
#include "printjob/printjob.h"
#include "preview/vorschau.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
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
#include <memory>

namespace {
constexpr int TickMs = 10;
constexpr int CancelAfterMs = 300;
constexpr int Runs = 3;
const char *const Cases[] = {"job", "job-fontconfig-match", "preview", "cancel", "cancel-end", "baseline"};
const char *const ResultTag = "#result";

enum class Cancel { Never, Early, OnLastPage };

int usage()
{
    std::fprintf(stderr,
                 "usage: print_bench                    every case, %d runs each, with minimum / median / maximum\n"
                 "       print_bench --only CASE,CASE   those cases only, as above\n"
                 "       print_bench CASE [PDF]         one run of CASE (job, preview, cancel, cancel-end, baseline),\n"
                 "                                      leaving its PDF in PDF if given\n"
                 "       print_bench --against OTHER [--fontset FONTS.CONF]... [--runs N]\n"
                 "                                      the job of this program and of OTHER (this benchmark\n"
                 "                                      built from another commit) by turns, N runs each (%d),\n"
                 "                                      on the system's fonts and on each font set named\n"
                 "       print_bench families           how many families the font set has\n",
                 Runs, Runs);
    return 2;
}

bool onLastPage(const QString &label)
{
    const QStringList words = label.split(QLatin1Char(' '));
    return (words.size() == 4 && words.at(0) == QLatin1String("Seite") && words.at(1) == words.at(3))
        || label.contains(QStringLiteral("zusammengefügt"));
}

// Notes when the job's progress window is shown after the print dialog's OK,
// whether or not the event loop turns soon after. The preview's own progress
// window, while it finishes the catalogue, comes before the dialog.
class ShowWatch : public QObject
{
public:
    ShowWatch(const QElapsedTimer &clock, const qint64 &accepted) : m_clock(clock), m_accepted(accepted)
    {
        qApp->installEventFilter(this);
    }
    qint64 shown = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (shown < 0 && m_accepted >= 0 && event->type() == QEvent::Show && qobject_cast<QProgressDialog *>(watched))
            shown = m_clock.elapsed();
        return false;
    }

private:
    const QElapsedTimer &m_clock;
    const qint64 &m_accepted;
};

// Plays the user: in the print dialog chooses "print to file" with `pdf`,
// answers every message box, cancels the progress window when asked to, and
// measures how long the progress window went without a turn of the event loop.
struct User {
    QString pdf;
    Cancel cancel = Cancel::Never;
    QElapsedTimer clock;
    qint64 accepted = -1;
    qint64 progressShown = -1;
    qint64 cancelClicked = -1;
    qint64 messageShown = -1;
    qint64 lastTick = -1;
    qint64 longestStall = 0;
    long mostPrivateMb = 0;
    QString message;
    QTimer timer;
    ShowWatch showWatch{clock, accepted};

    void start()
    {
        clock.start();
        QObject::connect(&timer, &QTimer::timeout, [this] { tick(); });
        timer.start(TickMs);
    }

    void tick()
    {
        const qint64 now = clock.elapsed();
        mostPrivateMb = std::max(mostPrivateMb, anonymousMemoryMb());
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
            printers->setCurrentIndex(printers->count() - 1);
            dialog->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(pdf);
            accepted = clock.elapsed();
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        } else if (auto *progress = qobject_cast<QProgressDialog *>(modal)) {
            // The first turn of the event loop after the window was shown counts too.
            if (progressShown < 0)
                progressShown = now;
            longestStall = std::max(longestStall, now - std::max(lastTick, showWatch.shown));
            const QString label = progress->labelText();
            const bool due = cancel == Cancel::Early ? now - progressShown >= CancelAfterMs
                                                     : cancel == Cancel::OnLastPage && onLastPage(label);
            if (due && cancelClicked < 0) {
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

// One line for the reader, then one for the parent process to gather.
void report(const char *name, const User &user, qint64 total)
{
    const int pages = pdfPages(user.pdf);
    const long privateNow = std::max(user.mostPrivateMb, anonymousMemoryMb());
    const qint64 progressMs = user.showWatch.shown >= 0 ? user.showWatch.shown - user.accepted : -1;
    const qint64 cancelMs = user.cancelClicked >= 0 ? user.messageShown - user.cancelClicked : -1;
    std::printf("  %-10s %6.2f s  peak %5ld MB  private %5ld MB  pages %4d  progress window %5lld ms  stall %4lld ms",
                name, total / 1000.0, peakRssMb(), privateNow, pages, progressMs, user.longestStall);
    if (cancelMs >= 0)
        std::printf("  cancel ended the job in %lld ms", cancelMs);
    std::printf("  [%s]\n", qPrintable(user.message.simplified()));
    std::printf("%s %.3f %ld %ld %d %lld %lld %lld\n", ResultTag, total / 1000.0, peakRssMb(), privateNow, pages,
                progressMs, cancelMs, user.longestStall);
    std::fflush(stdout);
}

int runJob(const char *name, Cancel cancel, const QString &pdf)
{
    const QStringList names = everyInstalledFamily();
    QWidget window;
    QTextEdit view(&window);
    window.resize(600, 450);
    view.resize(580, 400);
    buildCatalogue(view.document(), benchOptions(), names, QDateTime::currentDateTime(), QLocale(QLocale::German));

    User user;
    user.pdf = pdf;
    user.cancel = cancel;
    user.start();
    PrintJob(&view, &window).run();
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
        preview.findChild<QAction *>(QStringLiteral("Drucken"))->trigger();
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

struct Figures {
    QList<double> seconds, peak, privateMb, progress, cancel, stall;
    int pages = 0;
};

// Gathers the figures of one run from the child's output, passing the rest on.
bool gather(QProcess &child, Figures &figures)
{
    child.waitForFinished(-1);
    bool found = false;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.value(0) != ResultTag || fields.size() < 8) {
            if (!line.isEmpty())
                std::printf("%s\n", line.constData());
            continue;
        }
        found = true;
        figures.seconds.append(fields.at(1).toDouble());
        figures.peak.append(fields.at(2).toDouble());
        figures.privateMb.append(fields.at(3).toDouble());
        figures.pages = fields.at(4).toInt();
        if (fields.at(5).toLongLong() >= 0)
            figures.progress.append(fields.at(5).toDouble());
        if (fields.at(6).toLongLong() >= 0)
            figures.cancel.append(fields.at(6).toDouble());
        figures.stall.append(fields.at(7).toDouble());
    }
    std::fflush(stdout);
    return found;
}

// Runs `name` in a child process and gathers its figures.
bool runChild(const char *name, Figures &figures)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startCase(child, QString::fromLatin1(name));
    return gather(child, figures);
}

// One run of `arguments` by `program` on the font set `fontConfig` (the
// system's when empty).
QProcess *startOn(const QString &program, const QStringList &arguments, const QString &fontConfig)
{
    auto *child = new QProcess;
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!fontConfig.isEmpty())
        environment.insert(QStringLiteral("FONTCONFIG_FILE"), fontConfig);
    child->setProcessEnvironment(environment);
    child->start(program, arguments);
    return child;
}

// The print job of this program and of `other` (the same benchmark built from
// another commit), run by turns on each font set, so that both meet the same
// machine; the figures side by side.
int compare(const QString &other, const QStringList &fontConfigs, int runs)
{
    const QStringList programs{QCoreApplication::applicationFilePath(), other};
    std::printf("print job, %d runs each, by turns; each figure min / median / max\n", runs);
    std::printf("%-28s %-8s %8s %5s  %-22s %-18s %-18s %s\n", "font set", "program", "families", "pages", "seconds",
                "peak RSS MB", "private MB", "longest stall ms");
    for (const QString &fontConfig : fontConfigs) {
        QProcess *counting = startOn(programs.first(), {QStringLiteral("families")}, fontConfig);
        counting->waitForFinished(-1);
        const QByteArray families = counting->readAllStandardOutput().trimmed();
        delete counting;
        QList<Figures> figures(programs.size());
        for (int run = 0; run < runs; ++run) {
            for (qsizetype program = 0; program < programs.size(); ++program) {
                std::unique_ptr<QProcess> child(startOn(programs.at(program), {QStringLiteral("job")}, fontConfig));
                if (!gather(*child, figures[program]))
                    return 1;
            }
        }
        for (qsizetype program = 0; program < programs.size(); ++program) {
            const Figures &f = figures.at(program);
            std::printf("%-28s %-8s %8s %5d  %-22s %-18s %-18s %s\n",
                        qPrintable(fontConfig.isEmpty() ? QStringLiteral("system") : fontConfig),
                        program == 0 ? "this" : "other", families.constData(), f.pages,
                        qPrintable(minMedianMax(f.seconds, 2)), qPrintable(minMedianMax(f.peak, 0)),
                        qPrintable(minMedianMax(f.privateMb, 0)), qPrintable(minMedianMax(f.stall, 0)));
        }
        std::fflush(stdout);
    }
    return 0;
}

int runAll(const QStringList &only)
{
    std::printf("%lld families, sample size 20, %d runs per case; each figure min / median / max\n",
                static_cast<long long>(everyInstalledFamily().size()), Runs);
    std::fflush(stdout);
    QList<std::pair<const char *, Figures>> results;
    for (const char *name : Cases) {
        if (!only.isEmpty() && !only.contains(QLatin1String(name)))
            continue;
        Figures figures;
        for (int run = 0; run < Runs; ++run)
            if (!runChild(name, figures))
                return 1;
        results.append({name, figures});
    }
    std::printf("\n%-10s %5s  %-22s %-22s %-22s %-22s %-22s %s\n", "case", "pages", "seconds", "peak RSS MB",
                "private MB", "progress window ms", "cancel -> end ms", "longest stall ms");
    for (const auto &[name, f] : results)
        std::printf("%-10s %5d  %-22s %-22s %-22s %-22s %-22s %s\n", name, f.pages,
                    qPrintable(minMedianMax(f.seconds, 2)), qPrintable(minMedianMax(f.peak, 0)),
                    qPrintable(minMedianMax(f.privateMb, 0)), qPrintable(minMedianMax(f.progress, 0)),
                    qPrintable(minMedianMax(f.cancel, 0)), qPrintable(minMedianMax(f.stall, 0)));
    return 0;
}
// --against OTHER [--fontset FONTS.CONF]... [--runs N]
int compareArguments(const QStringList &arguments)
{
    QString other;
    QStringList fontConfigs{QString()};
    int runs = Runs;
    for (qsizetype i = 0; i + 1 < arguments.size(); i += 2) {
        const QString &value = arguments.at(i + 1);
        if (arguments.at(i) == QLatin1String("--against"))
            other = value;
        else if (arguments.at(i) == QLatin1String("--fontset"))
            fontConfigs.append(value);
        else if (arguments.at(i) == QLatin1String("--runs"))
            runs = value.toInt();
        else
            return usage();
    }
    if (other.isEmpty() || arguments.size() % 2 != 0 || runs < 1)
        return usage();
    return compare(other, fontConfigs, runs);
}
} // namespace

int main(int argc, char *argv[])
{
    runOffscreenUnlessChosen();
    QApplication app(argc, argv);
    setUpApplication(app);
    QTemporaryDir dir;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.value(0) == QLatin1String("--against"))
        return compareArguments(arguments);
    if (arguments == QStringList{QStringLiteral("families")}) {
        std::printf("%lld\n", static_cast<long long>(everyInstalledFamily().size()));
        return 0;
    }
    if (argc > 3)
        return usage();
    const QString which = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.filePath(QStringLiteral("katalog.pdf"));
    if (which.isEmpty())
        return runAll({});
    if (which == QLatin1String("--only")) {
        const QStringList only = QString::fromLocal8Bit(argc > 2 ? argv[2] : "").split(QLatin1Char(','));
        for (const QString &name : only)
            if (std::find(std::begin(Cases), std::end(Cases), name) == std::end(Cases))
                return usage();
        return runAll(only);
    }
    // The print dialog would ask before overwriting a file of an earlier run.
    QFile::remove(pdf);
    if (which == QLatin1String("job"))
        return runJob("job", Cancel::Never, pdf);
    if (which == QLatin1String("cancel"))
        return runJob("cancel", Cancel::Early, pdf);
    if (which == QLatin1String("cancel-end"))
        return runJob("cancel-end", Cancel::OnLastPage, pdf);
    if (which == QLatin1String("preview"))
        return runPreview(pdf);
    if (which == QLatin1String("baseline"))
        return runBaseline(pdf);
    return usage();
}
