// Alphabetical order as a German reader expects it: case ignored, "Ä" with "A".
#pragma once

#include <QCollator>
#include <QString>

const QCollator &listCollator();

// The row at which `name` keeps an alphabetically ordered list in order; equal
// names go after the ones already there. `textAt(row)` reads the list.
template <typename TextAt>
int sortedInsertionRow(const QString &name, int count, TextAt textAt)
{
    const QCollator &collator = listCollator();
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (collator.compare(name, textAt(middle)) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}
