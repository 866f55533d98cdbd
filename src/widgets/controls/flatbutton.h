// A push button drawn flat: a small numbered glyph beside its caption, face
// colours for normal, pressed and disabled, and a hand-shaped pointer.
#pragma once

#include <QAbstractButton>

class FlatButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit FlatButton(const QString &caption, int glyph, QWidget *parent = nullptr);

    int glyph() const { return m_glyph; }
    void setGlyph(int glyph);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_glyph = 0;
};
