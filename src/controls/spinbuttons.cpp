#include "controls/spinbuttons.h"

#include <QKeyEvent>
#include <QToolButton>
#include <QWheelEvent>

SpinButtons::SpinButtons(int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_minimum(minimum), m_maximum(maximum),
      m_up(new QToolButton(this)), m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton *button : {m_up, m_down}) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { setValue(m_value + 1); });
    connect(m_down, &QToolButton::clicked, this, [this] { setValue(m_value - 1); });
    setFocusPolicy(Qt::StrongFocus);
}

void SpinButtons::setValue(int value)
{
    value = qBound(m_minimum, value, m_maximum);
    if (value == m_value)
        return;
    m_value = value;
    m_up->setEnabled(m_value < m_maximum);
    m_down->setEnabled(m_value > m_minimum);
    emit valueChanged(m_value);
}

void SpinButtons::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Plus:
        setValue(m_value + 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Minus:
        setValue(m_value - 1);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void SpinButtons::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        setValue(m_value + steps);
    event->accept();
}

void SpinButtons::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
