#include "web/versionreading.h"

#include <optional>

namespace {

constexpr QChar Blank = QLatin1Char(' ');
constexpr QChar Dot = QLatin1Char('.');

QString trimBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == Blank)
        ++first;
    while (end > first && text.at(end - 1) == Blank)
        --end;
    return text.mid(first, end - first);
}

// A field is a whole decimal number in the 16-bit signed range, optionally
// signed and surrounded by blanks; anything else leaves the field unread.
std::optional<qint16> toField(const QString &field)
{
    const QString number = trimBlanks(field);
    qsizetype at = 0;
    bool negative = false;
    if (at < number.size() && (number.at(at) == QLatin1Char('+') || number.at(at) == QLatin1Char('-'))) {
        negative = number.at(at) == QLatin1Char('-');
        ++at;
    }
    if (at == number.size())
        return std::nullopt;
    int value = 0;
    for (; at < number.size(); ++at) {
        const char16_t c = number.at(at).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > 32768)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

// Positions count from 1; a position past the end of the text holds nothing.
bool dotAt(const QString &text, int position)
{
    return position <= text.size() && text.at(position - 1) == Dot;
}

bool readField(const QString &text, int from, int dot, qint16 &field)
{
    const std::optional<qint16> value = toField(text.mid(from - 1, dot - from));
    if (value)
        field = *value;
    return value.has_value();
}

bool isNewer(VersionNumber found, VersionNumber own)
{
    if (own.major != found.major)
        return own.major < found.major;
    if (own.minor != found.minor)
        return own.minor < found.minor;
    return own.revision < found.revision;
}

} // namespace

VersionReading readVersionText(const QString &versionText, VersionNumber own)
{
    VersionReading reading;
    reading.shownText = trimBlanks(versionText);
    reading.received = !reading.shownText.isEmpty();
    if (!reading.received)
        return reading;

    int majorDot = 6;
    for (int p = 1; p <= 5; ++p) {
        if (dotAt(versionText, p)) {
            reading.holdsVersion = readField(versionText, 1, p, reading.found.major);
            majorDot = p;
            break;
        }
    }
    int minorDot = 11;
    for (int p = majorDot + 1; p <= 10; ++p) {
        if (dotAt(versionText, p)) {
            readField(versionText, majorDot + 1, p, reading.found.minor);
            minorDot = p;
            break;
        }
    }
    // The revision is read again at every dot; a field that runs over an
    // earlier dot never converts, so the first dot decides.
    for (int p = minorDot + 1; p <= 15; ++p) {
        if (dotAt(versionText, p))
            readField(versionText, minorDot + 1, p, reading.found.revision);
    }
    reading.newer = isNewer(reading.found, own);
    return reading;
}
