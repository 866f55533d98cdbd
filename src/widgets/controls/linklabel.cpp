#include "controls/linklabel.h"

#include "app/designcolors.h"
#include "controls/focusframe.h"
#include "controls/readabletext.h"
#include "controls/waitcursor.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace {
// A link to a screen reader: named by the address it shows, described by where
// it leads, and pressed like a button.
class AccessibleLinkLabel : public QAccessibleWidget
{
public:
    explicit AccessibleLinkLabel(LinkLabel *link) : QAccessibleWidget(link, QAccessible::Link) { }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return link()->target().toString();
        return QAccessibleWidget::text(type);
    }

    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }

    // The reply to the screen reader goes out before the browser starts.
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            QTimer::singleShot(0, link(), &LinkLabel::open);
        else
            QAccessibleWidget::doAction(actionName);
    }

private:
    LinkLabel *link() const { return static_cast<LinkLabel *>(widget()); }
};

QAccessibleInterface *accessibleLinkLabel(const QString &, QObject *object)
{
    if (auto *link = qobject_cast<LinkLabel *>(object))
        return new AccessibleLinkLabel(link);
    return nullptr;
}
} // namespace

LinkLabel::LinkLabel(const QString &caption, const QUrl &target, QWidget *parent) : QLabel(parent), m_target(target)
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleLinkLabel), true);
    Q_UNUSED(factoryInstalled)
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

// At rest the address is written as the window's other texts are: black on a
// light window.
void LinkLabel::setHighlighted(bool highlighted)
{
    if (highlighted)
        keepReadable(this, colorFromBgr(DesignColors::LinkUnderMouse));
    else
        followPalette(this);
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
    QPainter painter(this);
    drawFocusFrame(this, painter);
}

void LinkLabel::open()
{
    // Starting a browser can take a moment before anything appears. Like the
    // menu's home-page link, a desktop without a browser or mail program
    // simply shows nothing.
    const WaitCursor waiting;
    QDesktopServices::openUrl(m_target);
}
