#include "printfixture.h"

#include "fixtures/modaldriver.h"
#include "printjob/printjob.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTest>

#include <algorithm>

const QString Done = QStringLiteral("Druckauftrag fertig.");
const char *const NoCups = "no CUPS test queue: source scripts/test-services/printer.sh first (as root)";
const QStringList TestFamilies{QStringLiteral("Liberation Sans"), QStringLiteral("Liberation Serif"),
                               QStringLiteral("Liberation Mono")};

namespace {
QTextCharFormat format(const QString &family, int points, bool italic = false, bool ownGlyphsOnly = false)
{
    QTextCharFormat result;
    result.setFontFamilies({family});
    result.setFontPointSize(points);
    result.setFontItalic(italic);
    result.setForeground(QColor(0, 0, 128));
    if (ownGlyphsOnly)
        result.setFontStyleStrategy(QFont::NoFontMerging);
    return result;
}

QString sampleOf(const QString &family, int repetition)
{
    return family
        + QStringLiteral(": Zwölf Boxkämpfer jagen Viktor quer über den großen Sylter Deich %1").arg(repetition);
}

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

int run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QRadioButton *radio(QPrintDialog *dialog, const char *name)
{
    return dialog->findChild<QRadioButton *>(QString::fromLatin1(name));
}

// Each line of pdffonts: name, type (one or two words), encoding, then the
// columns emb, sub, uni, object and generation.
QStringList fontsWhoseEmbeddingIs(const QString &pdf, const QString &embedded)
{
    QStringList fonts;
    const QStringList lines = output(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QStringList columns = lines.at(i).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (columns.size() < 7 || columns.at(columns.size() - 5) != embedded)
            continue;
        const QString name = columns.first();
        const QString withoutSubset = name.section(QLatin1Char('+'), -1);
        if (!fonts.contains(withoutSubset))
            fonts.append(withoutSubset);
    }
    return fonts;
}
} // namespace

PreviewStandIn::PreviewStandIn(int blocks) : view(new QTextEdit(&window))
{
    window.resize(600, 450);
    view->setGeometry(2, 0, 577, 403);

    view->document()->setMetaInformation(QTextDocument::DocumentTitle, CatalogueTitle);
    QTextCursor cursor(view->document());
    cursor.insertText(CatalogueTitle, format(QStringLiteral("Liberation Sans"), 14, true));
    cursor.insertText(QStringLiteral(" (%1 Schriften)").arg(blocks * TestFamilies.size()),
                      format(QStringLiteral("Liberation Sans"), 10));
    for (int repetition = 1; repetition <= blocks; ++repetition) {
        for (const QString &family : TestFamilies) {
            cursor.insertBlock(QTextBlockFormat(), format(QStringLiteral("Liberation Sans"), 10, true));
            cursor.insertBlock();
            cursor.insertText(family);
            cursor.insertBlock(QTextBlockFormat(), format(family, 20, false, true));
            cursor.insertText(sampleOf(family, repetition));
            cursor.insertBlock();
            cursor.insertText(QString(113, QLatin1Char('_')));
        }
    }
    cursor.insertBlock(QTextBlockFormat(), format(QStringLiteral("Liberation Sans"), 8));
    cursor.insertText(QStringLiteral("© www.letterloom.example"));
    window.show();
}

void PreviewStandIn::selectSample(const QString &family)
{
    const QString sample = sampleOf(family, 1);
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text() == sample) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            view->setTextCursor(cursor);
            return;
        }
    }
}

QString PreviewStandIn::selectedText() const
{
    return view->textCursor().selection().toPlainText();
}

PrintOutcome PreviewStandIn::print(const QString &target, const std::function<void(QPrintDialog *)> &alsoInDialog,
                                   PrintJob *job)
{
    whenModal<QPrintDialog>([&](QPrintDialog *dialog) {
        chooseTarget(dialog, target);
        if (alsoInDialog)
            alsoInDialog(dialog);
        clickPrint(dialog);
    });
    if (job)
        return job->run();
    return PrintJob(view, &window).run();
}

MessageLog::MessageLog()
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        messages.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->textFormat()});
        QAbstractButton *answer = box->button(QMessageBox::Ok);
        if (!answer)
            answer = box->button(QMessageBox::Yes);
        if (answer)
            answer->click();
    });
    m_timer.start(10);
}

void chooseTarget(QPrintDialog *dialog, const QString &target)
{
    auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
    if (!target.startsWith(QLatin1Char('/'))) {
        printers->setCurrentIndex(printers->findText(target));
        return;
    }
    printers->setCurrentIndex(printers->count() - 1);
    dialog->findChild<QLineEdit *>(QStringLiteral("filename"))->setText(target);
}

void showOptions(QPrintDialog *dialog)
{
    auto *buttons = dialog->findChild<QDialogButtonBox *>();
    for (QAbstractButton *button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::ResetRole)
            button->click();
}

void clickPrint(QPrintDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
}

void clickCancel(QPrintDialog *dialog)
{
    dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->click();
}

bool isChecked(QPrintDialog *dialog, const char *radioName)
{
    QRadioButton *button = radio(dialog, radioName);
    return button && button->isVisible() && button->isChecked();
}

bool isEnabled(QPrintDialog *dialog, const char *radioName)
{
    QRadioButton *button = radio(dialog, radioName);
    return button && button->isVisible() && button->isEnabled();
}

bool isChoosable(QPrintDialog *dialog, const char *radioName)
{
    QRadioButton *button = radio(dialog, radioName);
    return button && button->isEnabled();
}

void check(QPrintDialog *dialog, const char *radioName)
{
    radio(dialog, radioName)->click();
}

bool cupsAvailable()
{
    return !queue("LETTERLOOM_PRINTER").isEmpty();
}

QString queue(const char *variable)
{
    return qEnvironmentVariable(variable);
}

QString printOutFolder()
{
    return qEnvironmentVariable("LETTERLOOM_PRINT_OUT");
}

QStringList printedFiles()
{
    return QDir(printOutFolder()).entryList({QStringLiteral("*.pdf")}, QDir::Files);
}

int jobCount(const QString &queue)
{
    return int(
        output(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), queue})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
            .size());
}

int pendingJobCount(const QString &queue)
{
    return int(output(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue})
                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                   .size());
}

bool addQueue(const QString &name)
{
    return run(QStringLiteral("lpadmin"),
               {QStringLiteral("-p"), name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/letterloom"),
                QStringLiteral("-E"), QStringLiteral("-m"), QStringLiteral("lsb/usr/cups-pdf/CUPS-PDF_opt.ppd")})
        == 0;
}

bool removeQueue(const QString &name)
{
    return run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name}) == 0;
}

namespace {
bool schedulerRunning()
{
    return output(QStringLiteral("lpstat"), {QStringLiteral("-r")}).contains(QStringLiteral("scheduler is running"));
}

QString schedulerPidFile()
{
    return qEnvironmentVariable("LETTERLOOM_CUPSD_PIDFILE");
}
} // namespace

bool stopScheduler()
{
    QFile file(schedulerPidFile());
    if (schedulerPidFile().isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const qint64 pid = file.readAll().trimmed().toLongLong();
    if (pid <= 0 || run(QStringLiteral("kill"), {QString::number(pid)}) != 0)
        return false;
    return QTest::qWaitFor([] { return !schedulerRunning(); }, 20000);
}

// The scheduler started here belongs to the script's shell all the same: its
// pid goes where the script looks when it stops the scheduler.
bool startScheduler()
{
    // Its output goes nowhere: a scheduler holding the test's output open
    // would keep CTest waiting for the test to end long after it has.
    QProcess cupsd;
    cupsd.setProgram(QStringLiteral("cupsd"));
    cupsd.setArguments({QStringLiteral("-f")});
    cupsd.setStandardInputFile(QProcess::nullDevice());
    cupsd.setStandardOutputFile(QProcess::nullDevice());
    cupsd.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!cupsd.startDetached(&pid))
        return false;
    QFile file(schedulerPidFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(QByteArray::number(pid));
    file.close();
    return QTest::qWaitFor([] { return schedulerRunning(); }, 20000);
}

QString pdfText(const QString &pdf)
{
    return output(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

QString pdfInfo(const QString &pdf, const QString &field)
{
    for (const QString &line : output(QStringLiteral("pdfinfo"), {pdf}).split(QLatin1Char('\n')))
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    return QString();
}

int pdfPageCount(const QString &pdf)
{
    const QString pages = pdfInfo(pdf, QStringLiteral("Pages"));
    return pages.isEmpty() ? -1 : pages.toInt();
}

QStringList leftovers()
{
    return QDir::temp().entryList({QStringLiteral("letterloom-*-%1-*").arg(QCoreApplication::applicationPid())},
                                  QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
}

QStringList embeddedFonts(const QString &pdf)
{
    return fontsWhoseEmbeddingIs(pdf, QStringLiteral("yes"));
}

QStringList testFontsNotEmbedded(const QString &pdf)
{
    QStringList missing = fontsWhoseEmbeddingIs(pdf, QStringLiteral("no"));
    const QStringList embedded = embeddedFonts(pdf);
    for (const QString &family : TestFamilies)
        if (!embedded.contains(QString(family).remove(QLatin1Char(' '))))
            missing.append(family);
    return missing;
}

QString squeezed(const QString &text)
{
    QString result = text;
    result.erase(std::remove_if(result.begin(), result.end(), [](QChar c) { return c.isSpace(); }), result.end());
    return result;
}

bool waitForPrintout(const QStringList &before, QString *printout)
{
    const QString printer = queue("LETTERLOOM_PRINTER");
    return QTest::qWaitFor(
        [&] {
            if (pendingJobCount(printer) > 0)
                return false;
            for (const QString &file : printedFiles()) {
                if (!before.contains(file)) {
                    *printout = printOutFolder() + QLatin1Char('/') + file;
                    return true;
                }
            }
            return false;
        },
        60000);
}
