#include "shownarea.h"

#include <QLabel>
#include <QStyle>

QRect shownArea(const QWidget *element)
{
    const auto *label = qobject_cast<const QLabel *>(element);
    if (!label)
        return element->geometry();
    const QSize content = label->pixmap().isNull() ? label->fontMetrics().size(0, label->text())
                                                    : label->pixmap().deviceIndependentSize().toSize();
    return QStyle::alignedRect(label->layoutDirection(), label->alignment(), content, label->contentsRect())
        .translated(label->pos());
}

bool isPlain(const QImage &shot, const QRect &area)
{
    const QPoint corner = area.topLeft() * shot.devicePixelRatio();
    const QRgb first = shot.pixel(corner);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (shot.pixel(QPoint(x, y) * shot.devicePixelRatio()) != first)
                return false;
    return true;
}
