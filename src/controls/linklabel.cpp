#include "controls/linklabel.h"

#include "app/colors.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {
constexpr quint32 Black = 0x00000000;
constexpr quint32 Red = 0x000000FF;
} // namespace

LinkLabel::LinkLabel(const QString &caption, const QUrl &target, QWidget *parent)
    : QLabel(parent), m_target(target)
{
    setTextFormat(Qt::PlainText);
    setText(caption);
    // Only the underline is set, so family and size still follow the window's font.
    QFont underlined;
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(caption);
    setAccessibleDescription(target.toString());
    setHighlighted(false);
}

void LinkLabel::setHighlighted(bool highlighted)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, colorFromBgr(highlighted ? Red : Black));
    setPalette(colours);
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    setHighlighted(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    setHighlighted(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open();
    else
        QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)
        open();
    else
        QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void LinkLabel::open()
{
    // Starting a browser can take a moment before anything appears. Like the
    // menu's home-page link, a desktop without a browser or mail program
    // simply shows nothing.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QDesktopServices::openUrl(m_target);
    QGuiApplication::restoreOverrideCursor();
}
