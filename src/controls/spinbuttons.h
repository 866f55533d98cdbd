// A pair of up/down arrow buttons without a text field, holding a whole number
// within a range; arrow keys and the mouse wheel step it too.
#pragma once

#include <QWidget>

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

signals:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int m_minimum;
    int m_maximum;
    int m_value = 0;
    QToolButton *m_up;
    QToolButton *m_down;
};
