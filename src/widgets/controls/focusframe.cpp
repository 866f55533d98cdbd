#include "controls/focusframe.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QWidget>

void drawFocusFrame(QWidget *widget, QPainter &painter, const QRect &area, const QColor &background)
{
    if (!widget->hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(widget);
    if (area.isValid())
        option.rect = area;
    option.backgroundColor = background.isValid() ? background : widget->palette().color(QPalette::Window);
    widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}
