#include "controls/sortedcombobox.h"

#include "controls/collatedorder.h"

#include <QListView>

SortedComboBox::SortedComboBox(QWidget *parent) : QComboBox(parent)
{
    auto *list = new QListView(this);
    list->setUniformItemSizes(true);
    setView(list);
}

int SortedComboBox::addSorted(const QString &name)
{
    const bool nothingChosen = currentIndex() < 0;
    const int row = sortedInsertionRow(name, count(), [this](int r) { return itemText(r); });
    insertItem(row, name);
    if (nothingChosen)
        setCurrentIndex(-1);
    return row;
}
