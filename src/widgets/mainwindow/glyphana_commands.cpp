// The main window's commands: the preview, the narrow and wide layouts.
#include "mainwindow/glyphana.h"

#include "app/twips.h"
#include "controls/familysamplelabel.h"
#include "controls/flatbutton.h"
#include "controls/plainmessage.h"
#include "controls/sortedlistwidget.h"
#include "controls/spinbuttons.h"
#include "mainwindow/layouts.h"
#include "preview/vorschau.h"

#include <QLabel>

void Glyphana::connectCommandHandlers()
{
    connect(cmd_Drucken, &FlatButton::clicked, this, &Glyphana::cmd_Drucken_Click);
    connect(cmd_More, &FlatButton::clicked, this, &Glyphana::cmd_More_Click);
    connect(cmd_Ende, &FlatButton::clicked, this, &QWidget::close);
    connect(Ende, &QAction::triggered, this, &QWidget::close);
}

void Glyphana::cmd_Drucken_Click()
{
    if (List_zuDrucken->count() == 0) {
        showPlainMessage(
            this, {QMessageBox::Information, QStringLiteral("Wählen Sie zuvor die zu druckenden Schriften aus.")});
        return;
    }
    openPreview();
}

void Glyphana::cmd_More_Click()
{
    m_wide = !m_wide;
    const MainWindowLayout &next = m_wide ? WideLayout : NarrowLayout;
    setOuterWidth(next.outerWidthTwips);
    cmd_More->setGlyph(next.glyph);
    cmd_More->setAccessibleName(QString::fromUtf8(next.moreCommand));
    cmd_More->setToolTip(cmd_More->accessibleName());
    UpDown->move(twips(next.upDownLeftTwips), UpDown->y());
    ZeigeSchrift->resize(twips(next.sampleWidthTwips), ZeigeSchrift->height());
    hideWhatLiesBeyondTheEdge();
}

void Glyphana::openPreview()
{
    // The preview reads the options once, now; it is modal, so nothing here
    // changes while it is open, and it is built afresh at every opening.
    Vorschau preview(printOptions(), printList(), this);
    preview.exec();
}
