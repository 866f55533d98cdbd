#include "controls/spinbuttons.h"

#include "controls/focusframe.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QToolButton>
#include <QWheelEvent>

namespace {
// Room around the buttons where the focus frame is drawn: the buttons fill
// the control and would hide a frame drawn underneath them.
constexpr int FocusMargin = 2;

// A spin box to a screen reader: its value and range, and the two buttons as
// children that can be pressed.
class AccessibleSpinButtons : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleSpinButtons(SpinButtons *spin) : QAccessibleWidget(spin, QAccessible::SpinBox) { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text type) const override
    {
        if (type == QAccessible::Value)
            return QLocale().toString(spin()->reading().current());
        return QAccessibleWidget::text(type);
    }

    QVariant currentValue() const override { return spin()->reading().current(); }
    QVariant maximumValue() const override { return spin()->reading().maximum; }
    QVariant minimumValue() const override { return spin()->reading().minimum; }
    QVariant minimumStepSize() const override { return 1.0; }
    // The reading moves one for one with the spin's steps.
    void setCurrentValue(const QVariant &value) override
    {
        spin()->setValue(spin()->value() + qRound(value.toDouble() - spin()->reading().current()));
    }

private:
    SpinButtons *spin() const { return static_cast<SpinButtons *>(widget()); }
};

QAccessibleInterface *accessibleSpinButtons(const QString &, QObject *object)
{
    if (auto *spin = qobject_cast<SpinButtons *>(object))
        return new AccessibleSpinButtons(spin);
    return nullptr;
}
} // namespace

SpinButtons::SpinButtons(int minimum, int maximum, QWidget *parent)
    : QWidget(parent),
      m_minimum(minimum),
      m_maximum(maximum),
      m_up(new QToolButton(this)),
      m_down(new QToolButton(this)),
      m_reading{[this] { return double(m_value); }, double(minimum), double(maximum)}
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleSpinButtons), true);
    Q_UNUSED(factoryInstalled)
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
    QAccessibleValueChangeEvent changed(this, m_reading.current());
    QAccessible::updateAccessibility(&changed);
}

void SpinButtons::setStepNames(const QString &up, const QString &down)
{
    m_up->setAccessibleName(up);
    m_up->setToolTip(up);
    m_down->setAccessibleName(down);
    m_down->setToolTip(down);
}

void SpinButtons::setReading(const Reading &reading)
{
    m_reading = reading;
}

SpinButtons::Reading SpinButtons::reading() const
{
    return m_reading;
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
    const QRect inside = rect().adjusted(FocusMargin, FocusMargin, -FocusMargin, -FocusMargin);
    const int half = inside.height() / 2;
    m_up->setGeometry(inside.x(), inside.y(), inside.width(), half);
    m_down->setGeometry(inside.x(), inside.y() + half, inside.width(), inside.height() - half);
}

void SpinButtons::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFocusFrame(this, painter);
}
