#include "controls/collatedorder.h"

#include <QLocale>

const QCollator &listCollator()
{
    static const QCollator collator = [] {
        QCollator german{QLocale(QLocale::German, QLocale::Germany)};
        german.setCaseSensitivity(Qt::CaseInsensitive);
        return german;
    }();
    return collator;
}
