// Reading whole numbers from stored text: locale-aware, rounding halves to even,
// failing (no value) for text that is no number or lies outside the range.
#pragma once

#include <QString>

#include <optional>

std::optional<qint16> toInt16(const QString &text);
std::optional<qint32> toInt32(const QString &text);
