// A drop-down list of names that keeps itself in alphabetical order and, unlike
// a plain QComboBox, does not choose an entry by itself when names arrive.
#pragma once

#include <QComboBox>

class SortedComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit SortedComboBox(QWidget *parent = nullptr);

    int addSorted(const QString &name);
};
