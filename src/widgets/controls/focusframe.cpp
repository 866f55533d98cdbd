#include "controls/focusframe.h"

#include "app/contrast.h"

#include <QPainter>
#include <QWidget>

void drawFocusFrame(QWidget *widget, QPainter &painter, const QRect &area, const QColor &background)
{
    if (!widget->hasFocus() || !widget->window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    // The style's own mark is a faint tint of the highlight, and a desktop picks
    // its highlight for its own window colour, not for a fixed face: this line
    // stands out from whatever it is drawn on.
    const QColor behind = background.isValid() ? background : widget->palette().color(QPalette::Window);
    painter.save();
    painter.setPen(readableOn(widget->palette().color(QPalette::Highlight), behind, LargeTextContrast));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect((area.isValid() ? area : widget->rect()).adjusted(0, 0, -1, -1));
    painter.restore();
}
