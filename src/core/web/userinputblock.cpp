#include "web/userinputblock.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWindow>

UserInputBlock::UserInputBlock(std::function<void()> onCloseRequest) : m_onCloseRequest(std::move(onCloseRequest))
{
    QCoreApplication::instance()->installEventFilter(this);
}

UserInputBlock::~UserInputBlock()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void UserInputBlock::release()
{
    // The round trip to the display server makes sure every key it sent
    // before this moment has arrived and is waiting in the queue.
    QGuiApplication::sync();
    QCoreApplication::processEvents();
    QCoreApplication::instance()->removeEventFilter(this);
}

void UserInputBlock::passOnClose()
{
    QCoreApplication::instance()->removeEventFilter(this);
    if (!m_closing)
        return;
    // The window system asks the window; the program's own close() asks the
    // widget, whose close is a slot this library can call without knowing widgets.
    if (auto *window = qobject_cast<QWindow *>(m_closing.data()))
        window->close();
    else
        QMetaObject::invokeMethod(m_closing.data(), "close");
}

bool UserInputBlock::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
        return true;
    // Once a modal box is up, modality keeps clicks from the windows behind,
    // and the box must be able to close itself.
    case QEvent::Close:
        if (QGuiApplication::modalWindow())
            return false;
        event->ignore();
        if (!m_closeRequested) {
            m_closeRequested = true;
            m_closing = watched;
            if (m_onCloseRequest)
                m_onCloseRequest();
        }
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
