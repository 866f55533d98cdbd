#include "textlayout/fontrelease.h"

#include "textlayout/layoutprogress.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <malloc.h>

namespace {
// Long enough that a user scrolling through the catalogue does not reload the
// fonts of each screen twice.
constexpr int StillForMs = 500;

// Blocks laid out between two releases: some 64 families, about 15 MB of
// fonts. Each release makes Qt look up the fonts still in use again (the
// headings', the window's), so releasing after every block would cost more
// time than it saves memory; and Qt's font cache, once it holds hundreds of
// fonts that are all in use, looks through all of them at each new font, so
// holding many costs time as well.
constexpr int FontReleaseBatchBlocks = 256;

// Lets the block's layout go of the font it last shaped with; the font itself
// is freed with the next QFont::cleanup().
void releaseBlockFont(const QTextBlock &block)
{
    QTextLayout *layout = block.layout();
    if (layout && layout->lineCount() > 0)
        layout->setFont(layout->font());
}

// Each block's layout holds the font it shaped with last, and Qt's font cache
// keeps every font that a format has asked for: a FreeType face, HarfBuzz data
// and copies of the layout tables, about a quarter of a megabyte per family.
// Setting a block layout's font (which a document's blocks do not use) drops
// what it holds; clearing the cache then frees every font nothing holds any
// more.
void releaseFonts(const QTextDocument &document, int firstBlock, int lastBlock)
{
    QTextBlock block = document.findBlockByNumber(firstBlock);
    for (int number = firstBlock; block.isValid() && number <= lastBlock; ++number, block = block.next())
        releaseBlockFont(block);
    QFont::cleanup();
}
} // namespace

FontRelease::FontRelease(QTextDocument *document, QObject *parent) : QObject(parent), m_document(document)
{
    m_batch.setSingleShot(true);
    m_batch.setInterval(0);
    connect(&m_batch, &QTimer::timeout, this, [this] { release(m_laidOutAtLastRelease); });
    m_soon.setSingleShot(true);
    m_soon.setInterval(StillForMs);
    connect(&m_soon, &QTimer::timeout, this, [this] {
        release(0);
        // The freed font data lies scattered in the heap; once things are at
        // rest, hand it back to the system. While the layout goes on, the
        // next batch reuses it.
        malloc_trim(0);
    });
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this, &FontRelease::layoutProgressed);
    connect(layout, &QAbstractTextDocumentLayout::update, this, &FontRelease::layoutProgressed);
}

void FontRelease::layoutProgressed()
{
    // The layout reports progress from inside its own work: let go only once
    // it has returned, when no font it uses is on the stack. Blocks on screen
    // are drawn again and take their fonts back; the release at rest catches them.
    if (laidOutBlocks(*m_document) - m_laidOutAtLastRelease >= FontReleaseBatchBlocks)
        m_batch.start();
    releaseSoon();
}

void FontRelease::releaseSoon()
{
    m_soon.start();
}

void FontRelease::release(int fromBlock)
{
    m_batch.stop();
    m_soon.stop();
    releaseFonts(*m_document, fromBlock, m_document->blockCount() - 1);
    m_laidOutAtLastRelease = laidOutBlocks(*m_document);
    emit released();
}
