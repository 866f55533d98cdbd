// A main window stand-in for the update check's tests: it counts its repaints,
// takes typed text, and is typed at the way the window system types.
#pragma once

#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QWidget>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

class InputWindow : public QWidget
{
public:
    InputWindow()
    {
        resize(200, 100);
        edit.setGeometry(10, 10, 180, 24);
    }

    // Queued like keys from the window system, so only an event loop that
    // takes user input delivers them. They go to the window that has the
    // focus now, or, `onDelivery`, to the one that has it when they are delivered.
    static void type(Qt::Key key, const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                     bool onDelivery = false)
    {
        QWindow *target = onDelivery ? nullptr : QGuiApplication::focusWindow();
        QWindowSystemInterface::handleKeyEvent(target, QEvent::KeyPress, key, modifiers, text);
        QWindowSystemInterface::handleKeyEvent(target, QEvent::KeyRelease, key, modifiers, text);
    }

    int paints = 0;
    QLineEdit edit{this};

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        QPainter(this).fillRect(rect(), Qt::white);
    }
};
