#include "preview/cataloguefeeder.h"

#include "app/appinfo.h"
#include "textlayout/eventloopturn.h"
#include "textlayout/fontrelease.h"
#include "textlayout/layoutprogress.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>

namespace {
// Blocks written before the window first shows: at the design size three
// blocks of a 20-point sample fill the view. Each costs a font lookup when the
// window shows, which with thousands of installed families takes up to a
// tenth of a second, so no more; whatever the view has room for besides comes
// in the first turns after.
constexpr int FirstScreenBlocks = 3;
// While the view lays out again after a resize, look again this often.
constexpr int WaitForLayoutMs = 10;
} // namespace

CatalogueFeeder::CatalogueFeeder(QTextEdit *view, const PrintOptions &options, const QStringList &fontNames,
                                 const QDateTime &now, const QLocale &locale, QObject *parent)
    : QObject(parent),
      m_view(view),
      m_builder(view->document(), options, fontNames, now, locale),
      m_fontRelease(new FontRelease(view->document(), this))
{
    // Scrolling draws blocks again, and each loads its font again.
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, m_fontRelease, &FontRelease::releaseSoon);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CatalogueFeeder::feed);
}

void CatalogueFeeder::start()
{
    m_builder.start();
    // The view's own cursor sat where the header went in and would travel with
    // the text to the end, and showing the window scrolls to the cursor. Put
    // back at the start, it keeps the title in view; a cursor the user moves to
    // the end stays there instead of following what is added.
    QTextCursor top(m_view->document());
    top.setKeepPositionOnInsert(true);
    m_view->setTextCursor(top);
    for (int block = 0; block < FirstScreenBlocks; ++block) {
        if (!m_builder.step())
            break;
    }
    if (m_builder.isFinished())
        emit finished();
    else
        m_timer.start(0);
}

// Writing the rest in one go would freeze the window while the view lays it
// all out (seconds for a thousand families); the turns go on instead, and the
// user sees them go.
bool CatalogueFeeder::completeUnderProgress(QWidget *window)
{
    if (m_builder.isFinished())
        return true;
    QProgressDialog progress(QStringLiteral("Der Katalog wird fertig aufgebaut …"), QStringLiteral("Abbrechen"), 0,
                             m_builder.fontCount(), window);
    progress.setWindowTitle(AppTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    connect(this, &CatalogueFeeder::progressed, &progress, &QProgressDialog::setValue);
    connect(this, &CatalogueFeeder::finished, &progress, &QProgressDialog::accept);
    // Showing the window lets the build go on; it may be done before the wait begins.
    progress.setValue(m_builder.fontsWritten());
    return m_builder.isFinished() || progress.exec() == QDialog::Accepted;
}

void CatalogueFeeder::stop()
{
    m_timer.stop();
}

void CatalogueFeeder::feed()
{
    // The view lays a changed document out in steps of its own; appending while
    // it is behind would make it catch up in one go.
    if (!isLaidOutToTheEnd(*m_view->document())) {
        m_timer.start(WaitForLayoutMs);
        return;
    }
    // A font block costs about a millisecond to lay out, most of it for
    // loading the font.
    QElapsedTimer turn;
    turn.start();
    while (m_builder.step()) {
        if (turn.elapsed() >= EventLoopTurnMs) {
            emit progressed(m_builder.fontsWritten());
            m_timer.start(0);
            return;
        }
    }
    emit finished();
}
