#include "controls/designlayout.h"

#include "app/installedtypeface.h"

#include <QLabel>

QString indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QFont designFont(const QString &family, qreal pointSize, bool bold)
{
    QFont font(installedTypeface(family));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void setColor(QWidget *widget, QPalette::ColorRole role, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::All, role, color);
    widget->setPalette(palette);
    if (role == QPalette::Window)
        widget->setAutoFillBackground(true);
}

QLabel *captionLabel(QWidget *parent, const QString &name, const QString &text, QRect geometry)
{
    auto *label = place(new QLabel(parent), name, geometry);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->resize(qMax(geometry.width(), label->sizeHint().width()), geometry.height());
    return label;
}
