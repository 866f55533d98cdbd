#include "controls/sortedlistwidget.h"

#include "controls/collatedorder.h"

SortedListWidget::SortedListWidget(QWidget *parent) : QListWidget(parent)
{
    // Without uniform item sizes every insertion re-measures the whole list.
    setUniformItemSizes(true);
}

int SortedListWidget::addSorted(const QString &name)
{
    const int row = sortedInsertionRow(name, count(), [this](int r) { return item(r)->text(); });
    insertItem(row, name);
    return row;
}

QStringList SortedListWidget::names() const
{
    QStringList result;
    result.reserve(count());
    for (int row = 0; row < count(); ++row)
        result.append(item(row)->text());
    return result;
}
