// Lets go of the fonts that the laid-out blocks of a document hold, so a
// catalogue of thousands of families keeps only the fonts of what is on screen loaded.
#pragma once

#include <QObject>
#include <QTimer>

// Blocks laid out between two releases: some 64 families, about 15 MB of
// fonts. Each release makes Qt look up the fonts still in use again (the
// headings', the window's), so releasing after every block would cost more
// time than it saves memory; and Qt's font cache, once it holds hundreds of
// fonts that are all in use, looks through all of them at each new font, so
// holding many costs time as well.
constexpr int FontReleaseBatchBlocks = 256;

class QTextBlock;
class QTextDocument;

// Lets the laid-out blocks `firstBlock` up to `lastBlock` of `document` go of
// the fonts they hold, then frees every font that nothing holds any more.
// Lines and positions stay; a block drawn again loads its font again. Only
// for when no layout and no painter is using a font.
void releaseFonts(const QTextDocument &document, int firstBlock, int lastBlock);

// Lets the block's layout go of the font it last shaped with; the font itself
// is freed with the next release above.
void releaseBlockFont(const QTextBlock &block);

class FontRelease : public QObject
{
    Q_OBJECT
public:
    // Watches the document's layout: lets go whenever a batch of blocks has
    // been laid out, and once the layout has come to rest.
    explicit FontRelease(QTextDocument *document, QObject *parent = nullptr);

    // Lets go once the document has been still for a moment, e.g. after the
    // view scrolled and drew blocks again.
    void releaseSoon();

signals:
    void released();

private:
    void layoutProgressed();
    void release(int fromBlock);

    const QTextDocument *m_document;
    int m_laidOutAtLastRelease = 0;
    QTimer m_batch;
    QTimer m_soon;
};
