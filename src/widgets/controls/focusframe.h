// The focus mark of controls that paint themselves.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

// Draws the focus frame around `area` of `widget` (default: all of it, on the
// window colour) while it has the focus, in the desktop's highlight or a shade
// of it that stands out from `background`. Like the style's own marks, it
// shows once the keyboard has moved the focus.
void drawFocusFrame(QWidget *widget, QPainter &painter, const QRect &area = {}, const QColor &background = {});
