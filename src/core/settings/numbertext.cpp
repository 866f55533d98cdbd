#include "settings/numbertext.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {
std::optional<double> toNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    double value = QLocale().toDouble(trimmed, &ok);
    if (!ok)
        value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Integer>
std::optional<Integer> toInteger(const QString &text)
{
    const std::optional<double> number = toNumber(text);
    if (!number)
        return std::nullopt;
    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(*number);
    if (rounded < double(std::numeric_limits<Integer>::min()) || rounded > double(std::numeric_limits<Integer>::max()))
        return std::nullopt;
    return Integer(rounded);
}
} // namespace

std::optional<qint16> toInt16(const QString &text)
{
    return toInteger<qint16>(text);
}

std::optional<qint32> toInt32(const QString &text)
{
    return toInteger<qint32>(text);
}
