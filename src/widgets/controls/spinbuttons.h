// A pair of up/down arrow buttons without a text field, holding a whole number
// within a range; arrow keys and the mouse wheel step it too.
#pragma once

#include <QWidget>

#include <functional>

class QToolButton;

class SpinButtons : public QWidget
{
    Q_OBJECT
public:
    SpinButtons(int minimum, int maximum, QWidget *parent = nullptr);

    int value() const { return m_value; }
    void setValue(int value);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // The buttons have no caption, so a screen reader needs a name for each.
    void setStepNames(const QString &up, const QString &down);

    // What a screen reader hears as the control's value: by default the
    // number itself; a control that sizes something reports that size, which
    // is what the user sees change.
    struct Reading {
        std::function<double()> current;
        double minimum;
        double maximum;
    };
    void setReading(const Reading &reading);
    Reading reading() const;

signals:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_minimum;
    int m_maximum;
    int m_value = 0;
    QToolButton *m_up;
    QToolButton *m_down;
    Reading m_reading;
};
