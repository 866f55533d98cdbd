// A list of names that keeps itself in alphabetical order (see collatedorder.h);
// a plain sorted QListWidget would order by character code instead.
#pragma once

#include <QListWidget>

class SortedListWidget : public QListWidget
{
    Q_OBJECT
public:
    explicit SortedListWidget(QWidget *parent = nullptr);

    // Inserts `name` at its alphabetical place and returns that row.
    int addSorted(const QString &name);
    QStringList names() const;
};
