#include "web/userinputblock.h"

#include <QEvent>
#include <QGuiApplication>

UserInputBlock::UserInputBlock()
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
    // A click on a window's close box is input like any other. Once a modal
    // box is up, modality keeps it from the windows behind, and the box must
    // be able to close itself.
    case QEvent::Close:
        if (QGuiApplication::modalWindow())
            return false;
        event->ignore();
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
