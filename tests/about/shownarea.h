// What a window shows where: for checking a layout by its visible result.
#pragma once

#include <QImage>
#include <QRect>

class QWidget;

// Where `element` shows something, in its parent's coordinates: a label's text
// or picture where its alignment puts it, anything else over its whole size.
QRect shownArea(const QWidget *element);

// Whether `area` of `shot` is all one colour, so nothing shows there.
bool isPlain(const QImage &shot, const QRect &area);
