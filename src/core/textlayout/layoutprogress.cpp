#include "textlayout/layoutprogress.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {
bool isLaidOut(const QTextBlock &block)
{
    const QTextLayout *layout = block.layout();
    return layout && layout->lineCount() > 0;
}
} // namespace

int laidOutBlocks(const QTextDocument &document)
{
    for (QTextBlock block = document.lastBlock(); block.isValid(); block = block.previous()) {
        if (isLaidOut(block))
            return block.blockNumber() + 1;
    }
    return 0;
}

bool isLaidOutToTheEnd(const QTextDocument &document)
{
    return isLaidOut(document.lastBlock());
}
