// The sample display: a family's name in the family itself, followed by a
// sample of the family's own script where the name shows little of the family.
#pragma once

#include "controls/readablelabel.h"

class FamilySampleLabel : public ReadableLabel
{
    Q_OBJECT
public:
    explicit FamilySampleLabel(const QString &caption, QWidget *parent = nullptr);

    // Shows `family` in itself at the current size. A screen reader reads the
    // caption and the family's name.
    void showFamily(const QString &family);

protected:
    QString spokenText() const override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fit();

    QString m_family;
    QList<uint> m_ownScript;
};
