// The order in which a print job draws its sheets: each page once per copy the
// job makes itself, copies collated or not, and the last page first on request.
#pragma once

#include <vector>

// Page indices (from 0) in the order they are drawn. `copies` below 1 counts as 1.
std::vector<int> sheetOrder(int pageCount, int copies, bool collate, bool lastPageFirst);
