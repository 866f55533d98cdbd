// How far a document's layout has come: a view and a print copy both lay a
// document out from the top, in steps of their own.
#pragma once

class QTextDocument;

// Blocks laid out so far: those before the first block without lines.
int laidOutBlocks(const QTextDocument &document);

// Whether the layout has reached the last block.
bool isLaidOutToTheEnd(const QTextDocument &document);
