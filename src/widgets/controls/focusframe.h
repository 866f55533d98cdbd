// The style's focus mark for controls that paint themselves.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

// Draws the focus frame around `area` of `widget` (default: all of it, on the
// window colour) while it has the focus. Like the style's own controls, it
// shows once the keyboard has moved the focus.
void drawFocusFrame(QWidget *widget, QPainter &painter, const QRect &area = {}, const QColor &background = {});
