// A picture that reports a click, and Enter or Space once it has the focus.
#pragma once

#include <QLabel>

class ClickableImage : public QLabel
{
    Q_OBJECT
public:
    explicit ClickableImage(const QPixmap &picture, QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
