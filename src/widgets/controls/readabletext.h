// Text colours that read whatever palette the desktop hands the program: on a
// background the design fixes, and on the window's own background.
#pragma once

#include "app/designcolors.h"

#include <QColor>
#include <QPalette>

#include <functional>

class QWidget;

// A background the design fixes, with the text colour that reads on it, in
// every state of `widget`. `background` is the role behind its text: Window
// for a label, Base for a list or a text field.
void setSurface(QWidget *widget, const Surface &surface, QPalette::ColorRole background = QPalette::Window);

// Shows `widget`'s text in the colour `rule` finds for it, now and whenever its
// palette or font changes, as when the desktop turns dark.
void keepTextColor(QWidget *widget, std::function<QColor(const QWidget &)> rule);
// A text colour the design sets on the window's own background: `design` where
// it reads on the window colour, elsewhere the nearest shade of it that does.
void keepReadable(QWidget *widget, const QColor &design);
// Hands `widget`'s text colour back to the palette; `widget` sets no other colour.
void followPalette(QWidget *widget);
