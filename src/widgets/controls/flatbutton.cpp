#include "controls/flatbutton.h"

#include "app/designcolors.h"
#include "controls/designlayout.h"
#include "controls/focusframe.h"

#include <QFile>
#include <QIcon>
#include <QPainter>

namespace {
constexpr int GlyphSize = 16;
constexpr int Padding = 4;

QString glyphPath(int glyph)
{
    return QStringLiteral(":/glyphs/%1.png").arg(glyph);
}

QString withoutMnemonic(QString caption)
{
    caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    caption.remove(QLatin1Char('&'));
    caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return caption;
}
} // namespace

FlatButton::FlatButton(const QString &caption, int glyph, QWidget *parent) : QAbstractButton(parent), m_glyph(glyph)
{
    setText(caption);
    setFont(designFont(QStringLiteral("Verdana"), 8.25));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    if (!caption.isEmpty())
        setAccessibleName(withoutMnemonic(caption));
}

void FlatButton::setGlyph(int glyph)
{
    m_glyph = glyph;
    update();
}

QSize FlatButton::sizeHint() const
{
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text());
    return QSize(textSize.width() + GlyphSize + 3 * Padding, qMax(textSize.height(), GlyphSize) + 2 * Padding);
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool down = isDown() || isChecked();
    const Surface &surface = !isEnabled() ? DesignColors::ButtonOff
        : down                            ? DesignColors::ButtonPressed
                                          : DesignColors::ButtonFace;
    const QColor face = colorFromBgr(surface.background);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), face);

    const QColor light = face.lighter(112);
    const QColor dark = face.darker(140);
    painter.setPen(down ? dark : light);
    painter.drawLine(frame.topLeft(), frame.topRight());
    painter.drawLine(frame.topLeft(), frame.bottomLeft());
    painter.setPen(down ? light : dark);
    painter.drawLine(frame.bottomLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomRight());

    QRect content = rect().adjusted(Padding, Padding, -Padding, -Padding);
    if (down)
        content.translate(1, 1);

    if (m_glyph > 0 && QFile::exists(glyphPath(m_glyph))) {
        const int glyphLeft = text().isEmpty() ? content.center().x() - GlyphSize / 2 + 1 : content.left();
        const QRect target(glyphLeft, content.center().y() - GlyphSize / 2 + 1, GlyphSize, GlyphSize);
        QIcon(glyphPath(m_glyph))
            .paint(&painter, target, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
        content.setLeft(content.left() + GlyphSize + Padding);
    }

    if (!text().isEmpty()) {
        painter.setPen(colorFromBgr(surface.text));
        painter.drawText(content, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic, text());
    }

    drawFocusFrame(this, painter, rect().adjusted(2, 2, -2, -2), face);
}
