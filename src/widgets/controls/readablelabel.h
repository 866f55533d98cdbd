// A label that a screen reader reads with what it is and what it shows, e.g.
// "Status: Druckauftrag fertig." or "Schriftbeispiel: Liberation Serif", whatever text it
// is given later.
#pragma once

#include <QLabel>

class ReadableLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ReadableLabel(const QString &caption, QWidget *parent = nullptr);

    // The caption, then the text when there is one.
    QString spokenName() const;

protected:
    // What the label shows, in words; by default its text.
    virtual QString spokenText() const;

private:
    QString m_caption;
};
