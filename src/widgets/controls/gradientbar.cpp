#include "controls/gradientbar.h"

#include "app/designcolors.h"
#include "controls/designlayout.h"

#include <QLinearGradient>
#include <QPainter>

GradientBar::GradientBar(const QString &caption, QWidget *parent) : QWidget(parent)
{
    setFont(designFont(QStringLiteral("MS Sans Serif"), 9.75, true));
    setCaption(caption);
}

void GradientBar::setCaption(const QString &caption)
{
    m_caption = caption;
    setAccessibleName(caption.trimmed());
    update();
}

void GradientBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0.0, colorFromBgr(DesignColors::CaptionBarTop.background));
    gradient.setColorAt(1.0, colorFromBgr(DesignColors::CaptionBarBottom.background));
    painter.fillRect(rect(), gradient);

    // The text runs from the bottom edge upwards, starting at the bottom.
    painter.translate(0, height());
    painter.rotate(-90);
    // The table's text colour reads on every shade of the gradient; white would not on its red end.
    painter.setPen(colorFromBgr(DesignColors::CaptionBarBottom.text));
    painter.drawText(QRect(0, 0, height(), width()), Qt::AlignLeft | Qt::AlignVCenter, m_caption);
}
