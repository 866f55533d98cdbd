// A label that a screen reader reads with what it is and what it shows, e.g.
// "Status: Gedruckt" or "Schriftbeispiel: Liberation Serif", whatever text it
// is given later.
#pragma once

#include <QLabel>

class ReadableLabel : public QLabel
{
    Q_OBJECT
public:
    ReadableLabel(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return m_caption; }
    // The caption, then the text when there is one.
    QString spokenName() const;

private:
    QString m_caption;
};
