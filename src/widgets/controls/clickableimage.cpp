#include "controls/clickableimage.h"

#include "controls/focusframe.h"

#include <QKeyEvent>
#include <QPainter>

ClickableImage::ClickableImage(const QPixmap &picture, QWidget *parent) : QAbstractButton(parent), m_picture(picture)
{
    setCursor(Qt::PointingHandCursor);
}

// A button knows only Space; on a picture that opens something, users press
// Enter just as often.
void ClickableImage::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        click();
    else
        QAbstractButton::keyPressEvent(event);
}

void ClickableImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    drawFocusFrame(this, painter);
}
