// Where the census reads the installed font families from, by index.
#pragma once

#include <QStringList>

class FontSource
{
public:
    virtual ~FontSource() = default;
    virtual int count() const = 0;
    virtual QString name(int index) const = 0;
};

// The families installed on this machine, in the font database's order.
class SystemFontSource : public FontSource
{
public:
    SystemFontSource();
    int count() const override;
    QString name(int index) const override;

private:
    QStringList m_families;
};

// Qt lists its generic families "Serif", "Sans Serif" and "Monospace" among
// the installed ones; they are aliases unless a font of that name exists.
QStringList installedFamilies(const QStringList &databaseFamilies);
