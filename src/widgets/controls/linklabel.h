// An address shown underlined that turns red under the mouse and opens in the
// browser or mail program on a click, on Enter or Space once it has the focus,
// or by a screen reader's press action, which finds it as a link.
#pragma once

#include <QLabel>
#include <QUrl>

class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    LinkLabel(const QString &caption, const QUrl &target, QWidget *parent = nullptr);

    QUrl target() const { return m_target; }
    void open();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void setHighlighted(bool highlighted);

    QUrl m_target;
};
