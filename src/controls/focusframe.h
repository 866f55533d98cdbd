// The style's focus mark for controls that paint themselves.
#pragma once

class QPainter;
class QWidget;

// Draws the focus frame around `widget` while it has the focus. Like the
// style's own controls, it shows once the keyboard has moved the focus.
void drawFocusFrame(QWidget *widget, QPainter &painter);
