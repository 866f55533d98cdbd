#include "printjob/sheetorder.h"

#include <algorithm>
#include <cstddef>

std::vector<int> sheetOrder(int pageCount, int copies, bool collate, bool lastPageFirst)
{
    copies = std::max(1, copies);
    pageCount = std::max(0, pageCount);
    const int documentCopies = collate ? copies : 1;
    const int pageCopies = collate ? 1 : copies;
    std::vector<int> order;
    order.reserve(std::size_t(pageCount) * std::size_t(copies));
    for (int d = 0; d < documentCopies; ++d) {
        for (int i = 0; i < pageCount; ++i) {
            const int page = lastPageFirst ? pageCount - 1 - i : i;
            order.insert(order.end(), std::size_t(pageCopies), page);
        }
    }
    return order;
}
