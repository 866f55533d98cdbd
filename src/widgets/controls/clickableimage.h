// A picture that works as a push button: a click, Enter or Space once it has
// the focus, or a screen reader's press action run it.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

class ClickableImage : public QAbstractButton
{
    Q_OBJECT
public:
    explicit ClickableImage(const QPixmap &picture, QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
