// A caption bar that writes its text upwards on a vertical grey-to-red gradient.
#pragma once

#include <QWidget>

class GradientBar : public QWidget
{
    Q_OBJECT
public:
    explicit GradientBar(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};
