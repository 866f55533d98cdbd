// An address shown underlined that turns red under the mouse and opens in the
// browser or mail program on a click, or on Enter or Space once it has the focus.
#pragma once

#include <QLabel>
#include <QUrl>

class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString &caption, const QUrl &target, QWidget *parent = nullptr);

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setHighlighted(bool highlighted);
    void open();

    QUrl m_target;
};
