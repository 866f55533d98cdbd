#include "settings/settingsstore.h"

#include "app/appinfo.h"
#include "app/colors.h"
#include "settings/inifile.h"
#include "settings/numbertext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>

#include <array>

namespace {
enum class Check {
    SizeFromList, // the exact text of an entry of the size list, lowest … highest
    Integer16,    // a 16-bit number between lowest and highest
    Flag,         // a 16-bit number, 0 or 1
    BgrColor,     // a 32-bit 0x00BBGGRR colour
    Text,         // any text
};

struct Definition {
    SettingKey key;
    const char *name;
    Check check;
    int lowest;
    int highest;
    const char *defaultText;
};

// Every stored key with its check and the value the program uses when none is stored.
constexpr std::array<Definition, 8> Definitions{{
    {SettingKey::FontSize, "FontSize", Check::SizeFromList, 14, 28, "20"},
    {SettingKey::Still, "Still", Check::Text, 0, 0, "Arial"},
    {SettingKey::Print_Art, "Print_Art", Check::Integer16, 0, 3, "1"},
    {SettingKey::Check_Fett, "Check_Fett", Check::Flag, 0, 1, "0"},
    {SettingKey::Titel, "Titel", Check::Text, 0, 0, "Schriftenübersicht"},
    {SettingKey::FontColor0, "FontColor0", Check::BgrColor, 0, 0x00FFFFFF, "0"},
    {SettingKey::FontColor1, "FontColor1", Check::BgrColor, 0, 0x00FFFFFF, "0"},
    {SettingKey::Check_Now, "Check_Now", Check::Flag, 0, 1, "1"},
}};

constexpr bool tableFollowsTheKeys()
{
    for (size_t i = 0; i < Definitions.size(); ++i) {
        if (Definitions[i].key != static_cast<SettingKey>(i))
            return false;
    }
    return Definitions.size() == static_cast<size_t>(SettingKey::Check_Now) + 1;
}
static_assert(tableFollowsTheKeys(), "Definitions must list every SettingKey once, in the enum's order");

const QByteArray Section = QByteArrayLiteral("Typecaddy");

// Long enough for another copy of the program to finish its write, short
// enough that a lock that is never released (a folder in its place, a hung
// process) does not freeze the window.
constexpr int LockWaitMilliseconds = 1000;

const Definition &definition(SettingKey key)
{
    return Definitions[static_cast<size_t>(key)];
}

std::optional<qint32> checkedNumber(const Definition &entry, const QString &text)
{
    std::optional<qint32> value;
    switch (entry.check) {
    case Check::SizeFromList:
        // The size list selects its entries by their exact text.
        for (int size = entry.lowest; size <= entry.highest; ++size) {
            if (text == QString::number(size))
                value = size;
        }
        break;
    case Check::Integer16:
    case Check::Flag:
        value = toInt16(text);
        break;
    case Check::BgrColor:
        value = toInt32(text);
        break;
    case Check::Text:
        break;
    }
    if (!value || *value < entry.lowest || *value > entry.highest)
        return std::nullopt;
    return value;
}

// Writes `value` under `name` while holding the same lock file QSettings
// uses, so that two copies of the program never interleave their writes.
bool storeLine(const QString &path, const QByteArray &name, const QString &value)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMilliseconds))
        return false;

    QByteArray contents;
    QFile current(path);
    if (current.exists()) {
        // A file that cannot be read is not replaced: what it holds would be lost.
        if (!current.open(QIODevice::ReadOnly))
            return false;
        contents = current.readAll();
        if (current.error() != QFileDevice::NoError)
            return false;
    }
    IniFile file(contents);
    if (file.value(Section, name) == value)
        return true;
    file.setValue(Section, name, value);

    // QSaveFile replaces the file in one rename, so a failed write leaves the old one whole.
    QSaveFile out(path);
    const QByteArray written = file.contents();
    return out.open(QIODevice::WriteOnly) && out.write(written) == written.size() && out.commit();
}
} // namespace

SettingsStore::SettingsStore(QObject *parent) : QObject(parent) { }

SettingKey SettingsStore::colorKey(int index)
{
    return index == 0 ? SettingKey::FontColor0 : SettingKey::FontColor1;
}

int SettingsStore::lowest(SettingKey key)
{
    return definition(key).lowest;
}

int SettingsStore::highest(SettingKey key)
{
    return definition(key).highest;
}

int SettingsStore::defaultNumber(SettingKey key)
{
    const Definition &entry = definition(key);
    return checkedNumber(entry, QString::fromLatin1(entry.defaultText)).value_or(0);
}

std::optional<QString> SettingsStore::stored(SettingKey key) const
{
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return IniFile(file.readAll()).value(Section, definition(key).name);
}

QString SettingsStore::text(SettingKey key) const
{
    return stored(key).value_or(QString::fromUtf8(definition(key).defaultText));
}

std::optional<int> SettingsStore::number(SettingKey key) const
{
    return checkedNumber(definition(key), text(key));
}

std::optional<bool> SettingsStore::flag(SettingKey key) const
{
    Q_ASSERT(definition(key).check == Check::Flag);
    const std::optional<int> value = number(key);
    if (!value)
        return std::nullopt;
    return *value == 1;
}

std::optional<QColor> SettingsStore::color(SettingKey key) const
{
    Q_ASSERT(definition(key).check == Check::BgrColor);
    const std::optional<int> value = number(key);
    if (!value)
        return std::nullopt;
    return colorFromBgr(quint32(*value));
}

bool SettingsStore::writeNumber(SettingKey key, int value)
{
    return writeText(key, QString::number(value));
}

bool SettingsStore::writeFlag(SettingKey key, bool value)
{
    return writeText(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool SettingsStore::writeColor(SettingKey key, const QColor &value)
{
    return writeText(key, QString::number(bgrFromColor(value)));
}

bool SettingsStore::writeText(SettingKey key, const QString &value)
{
    const QString path = filePath();
    if (storeLine(path, definition(key).name, value))
        return true;
    emit writeFailed(path);
    return false;
}

QString SettingsStore::filePath()
{
    // QSettings knows where the per-user INI file lives, and tests move it with QSettings::setPath.
    return QSettings(QSettings::IniFormat, QSettings::UserScope, VendorName).fileName();
}
