// Moving fonts from the font list into the print list, and the sample display.
#include "mainwindow/glyphana.h"

#include "controls/familysamplelabel.h"
#include "controls/flatbutton.h"
#include "controls/sortedcombobox.h"
#include "controls/sortedlistwidget.h"

#include <QLabel>
#include <QSet>

#include <algorithm>

void Glyphana::connectPrintListHandlers()
{
    connect(cmd_TeilEinfügen, &FlatButton::clicked, this, &Glyphana::cmd_TeilEinfuegen_Click);
    connect(cmd_AlleEinfügen, &FlatButton::clicked, this, &Glyphana::cmd_AlleEinfuegen_Click);
    connect(cmd_Re, &FlatButton::clicked, this, [this] { List_Fonts->clearSelection(); });
    connect(cmd_Clear, &FlatButton::clicked, this, &Glyphana::cmd_Clear_Click);
    connect(List_Fonts, &QListWidget::itemClicked, this, &Glyphana::List_Fonts_Click);
    // From the keyboard, Space marks the current entry and Enter shows it.
    connect(List_Fonts, &QListWidget::itemActivated, this, &Glyphana::List_Fonts_Click);
}

void Glyphana::showPrintListCount(int count)
{
    txt_Schriften[1]->setText(QString::number(count) + QStringLiteral(" Schriften in der Druckliste "));
}

void Glyphana::cmd_TeilEinfuegen_Click()
{
    // Asking every entry whether it is marked costs a walk over all marks per
    // entry; reading the marks once and comparing names through a set keeps
    // the command linear in the number of fonts.
    QList<int> markedRows;
    const QModelIndexList marks = List_Fonts->selectionModel()->selectedIndexes();
    markedRows.reserve(marks.size());
    for (const QModelIndex &mark : marks)
        markedRows.append(mark.row());
    std::sort(markedRows.begin(), markedRows.end());

    QSet<QString> listed;
    listed.reserve(List_zuDrucken->count() + markedRows.size());
    for (int row = 0; row < List_zuDrucken->count(); ++row)
        listed.insert(List_zuDrucken->item(row)->text());

    for (int row : markedRows) {
        const QString name = List_Fonts->item(row)->text();
        if (listed.contains(name))
            continue;
        listed.insert(name);
        List_zuDrucken->addSorted(name);
    }
    showPrintListCount(List_zuDrucken->count());
}

void Glyphana::cmd_AlleEinfuegen_Click()
{
    List_zuDrucken->clear();
    List_zuDrucken->addItems(List_Fonts->names());
    showPrintListCount(List_zuDrucken->count());
}

void Glyphana::addFont(const QString &family)
{
    List_Fonts->addSorted(family);
    Combo_SArt->addSorted(family);
}

void Glyphana::cmd_Clear_Click()
{
    List_zuDrucken->clear();
    showPrintListCount(0);
}

void Glyphana::List_Fonts_Click()
{
    const QListWidgetItem *current = List_Fonts->currentItem();
    if (!current)
        return;
    ZeigeSchrift->showFamily(current->text());
}
