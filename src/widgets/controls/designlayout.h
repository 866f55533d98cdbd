// Helpers for building windows as they were designed: named controls at fixed
// places, the design's typefaces, colours and plain-text captions.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

template <typename Control>
Control *place(Control *control, const QString &name, QRect geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// The object name of element `index` of a control array, e.g. "Label1(0)".
QString indexed(const char *name, int index);

QFont designFont(const QString &family, qreal pointSize, bool bold = false);

void setColor(QWidget *widget, QPalette::ColorRole role, const QColor &color);
inline void setTextColor(QWidget *widget, const QColor &color)
{
    setColor(widget, QPalette::WindowText, color);
}

// A plain-text caption. The design's typefaces are narrower than the ones
// installed here: a caption takes the room it needs rather than lose its
// last letters.
QLabel *captionLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry);
