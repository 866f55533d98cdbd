#include "settings/inifile.h"

#include <QStringDecoder>

#include <array>
#include <utility>

namespace {
const QByteArray ByteOrderMark("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView withoutEnding(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == '\n' || line.back() == '\r'))
        line.chop(1);
    return line;
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// What one line says: a section header, a key with its raw value, or nothing
// the store reads (blank line, comment, anything else).
struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    QByteArrayView name;
    QByteArrayView rawValue;
};

Line parse(QByteArrayView line, bool first)
{
    QByteArrayView text = withoutEnding(line);
    if (first && text.startsWith(ByteOrderMark))
        text = text.sliced(ByteOrderMark.size());
    text = trimmed(text);
    if (text.isEmpty() || text.front() == ';' || text.front() == '#')
        return {};
    if (text.front() == '[') {
        const qsizetype close = text.lastIndexOf(']');
        if (close < 0)
            return {};
        return {Line::Section, trimmed(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf('=');
    if (equals <= 0)
        return {};
    return {Line::Entry, trimmed(text.first(equals)), text.sliced(equals + 1)};
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octValue(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

// Reads the digits of a \x or \0 escape from `i` on into one UTF-16 unit.
char16_t escapedUnit(QByteArrayView raw, qsizetype &i, int base)
{
    char16_t unit = 0;
    for (; i < raw.size(); ++i) {
        const int digit = base == 16 ? hexValue(raw[i]) : octValue(raw[i]);
        if (digit < 0)
            break;
        unit = char16_t(unit * base + digit);
    }
    return unit;
}

constexpr std::array<std::pair<char, char>, 7> ControlEscapes{{
    {'\a', 'a'},
    {'\b', 'b'},
    {'\f', 'f'},
    {'\n', 'n'},
    {'\r', 'r'},
    {'\t', 't'},
    {'\v', 'v'},
}};

char escapeLetter(char control)
{
    for (const auto &[character, letter] : ControlEscapes) {
        if (character == control)
            return letter;
    }
    return 0;
}

// The character a backslash and `letter` stand for, or 0 for no such escape.
char escapedCharacter(char letter)
{
    for (const auto &[character, code] : ControlEscapes) {
        if (code == letter)
            return character;
    }
    return letter == '"' || letter == '?' || letter == '\'' || letter == '\\' ? letter : 0;
}
} // namespace

IniFile::IniFile(const QByteArray &contents)
{
    qsizetype start = 0;
    while (start < contents.size()) {
        const qsizetype newline = contents.indexOf('\n', start);
        const qsizetype end = newline < 0 ? contents.size() : newline + 1;
        m_lines.append(contents.mid(start, end - start));
        start = end;
    }
}

IniFile::Place IniFile::find(const QByteArray &group, const QByteArray &key) const
{
    Place place;
    bool inGroup = false;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const Line line = parse(m_lines[i], i == 0);
        if (line.kind == Line::Section)
            inGroup = line.name == group;
        if (!inGroup || trimmed(withoutEnding(m_lines[i])).isEmpty())
            continue;
        place.groupEnd = i;
        if (line.kind == Line::Entry && line.name == key)
            place.keyLine = i;
    }
    return place;
}

std::optional<QString> IniFile::value(const QByteArray &group, const QByteArray &key) const
{
    const Place place = find(group, key);
    if (place.keyLine < 0)
        return std::nullopt;
    return unescaped(parse(m_lines[place.keyLine], place.keyLine == 0).rawValue);
}

void IniFile::setValue(const QByteArray &group, const QByteArray &key, const QString &value)
{
    const QByteArray ending = lineEnding();
    const QByteArray entry = key + '=' + escaped(value);
    const Place place = find(group, key);
    if (place.keyLine >= 0) {
        QByteArray &line = m_lines[place.keyLine];
        line = entry + line.sliced(withoutEnding(line).size());
        return;
    }
    if (!m_lines.isEmpty() && !m_lines.last().endsWith('\n'))
        m_lines.last().append(ending);
    if (place.groupEnd >= 0) {
        m_lines.insert(place.groupEnd + 1, entry + ending);
        return;
    }
    if (!m_lines.isEmpty())
        m_lines.append(ending);
    m_lines.append('[' + group + ']' + ending);
    m_lines.append(entry + ending);
}

QByteArray IniFile::contents() const
{
    QByteArray result;
    for (const QByteArray &line : m_lines)
        result += line;
    return result;
}

QByteArray IniFile::lineEnding() const
{
    // New lines end like the last line that has an ending.
    for (auto line = m_lines.crbegin(); line != m_lines.crend(); ++line) {
        if (line->endsWith('\n'))
            return line->endsWith("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    }
    return QByteArrayLiteral("\n");
}

QByteArray IniFile::escaped(const QString &value)
{
    // QSettings reads a leading "@" as the mark of a typed value and doubles a
    // literal one.
    const QString text = value.startsWith(u'@') ? u'@' + value : value;
    QByteArray result;
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        // A digit right after \x or \0 would be read as part of that escape.
        if (escapeNextIfDigit && c < 0x80 && hexValue(char(c)) >= 0) {
            result += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfDigit = false;
        const char ascii = char(c);
        if (c == 0) {
            result += "\\0";
            escapeNextIfDigit = true;
        } else if (c == '"' || c == '\\') {
            result += '\\';
            result += ascii;
        } else if (c < 0x20 && escapeLetter(ascii)) {
            result += '\\';
            result += escapeLetter(ascii);
        } else if (c < 0x20) {
            result += "\\x" + QByteArray::number(c, 16);
            escapeNextIfDigit = true;
        } else if (c < 0x80) {
            result += ascii;
        } else {
            // A run at once, so that surrogate pairs are encoded as one character.
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() >= 0x80)
                ++end;
            result += QStringView(text).sliced(i, end - i).toUtf8();
            i = end - 1;
        }
    }
    if (needsQuotes || (!result.isEmpty() && (result.front() == ' ' || result.back() == ' ')))
        result = '"' + result + '"';
    return result;
}

QString IniFile::unescaped(QByteArrayView raw)
{
    QString result;
    bool quoted = false;
    bool inQuotes = false;
    qsizetype keepFrom = 0; // blanks before this position came from escapes or quotes
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < raw.size() && isBlank(raw[i]))
            ++i;
    };
    skipBlanks();
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '\\') {
            if (++i >= raw.size())
                break;
            const char code = raw[i++];
            if (const char plain = escapedCharacter(code))
                result += QLatin1Char(plain);
            else if (code == 'x')
                result += QChar(escapedUnit(raw, i, 16));
            else if (octValue(code) >= 0)
                result += QChar(escapedUnit(raw, --i, 8));
            keepFrom = result.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                keepFrom = result.size();
                skipBlanks();
            }
        } else {
            qsizetype end = i + 1;
            while (end < raw.size() && raw[end] != '\\' && raw[end] != '"')
                ++end;
            // Runs end at ASCII, so no UTF-8 sequence is split between two of
            // them; a U+FEFF that starts a run is text, not a byte-order mark.
            QStringDecoder decode(QStringDecoder::Utf8,
                                  QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
            result += decode(raw.sliced(i, end - i));
            i = end;
        }
    }
    if (!quoted) {
        qsizetype end = result.size();
        while (end > keepFrom && (result[end - 1] == u' ' || result[end - 1] == u'\t'))
            --end;
        result.truncate(end);
    }
    // QSettings doubles a leading "@" and wraps text holding a NUL in @String().
    if (result.startsWith(QLatin1String("@@")))
        result.remove(0, 1);
    else if (result.startsWith(QLatin1String("@String(")) && result.endsWith(u')'))
        result = result.mid(8, result.size() - 9);
    return result;
}
