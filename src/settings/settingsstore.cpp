#include "settings/settingsstore.h"

#include <QSettings>

#include <array>

namespace {
struct Definition {
    SettingKey key;
    const char *name;
    const char *defaultValue;
};

// Every stored key with the value the program uses when none is stored.
constexpr std::array<Definition, 8> Definitions{{
    {SettingKey::FontSize, "FontSize", "20"},
    {SettingKey::Still, "Still", "Arial"},
    {SettingKey::Print_Art, "Print_Art", "1"},
    {SettingKey::Check_Fett, "Check_Fett", "0"},
    {SettingKey::Titel, "Titel", "Schriftenübersicht"},
    {SettingKey::FontColor0, "FontColor0", "0"},
    {SettingKey::FontColor1, "FontColor1", "0"},
    {SettingKey::Check_Now, "Check_Now", "1"},
}};

const Definition &definition(SettingKey key)
{
    return Definitions[static_cast<size_t>(key)];
}

const QString Application = QStringLiteral("Made by Orvik");
const QString Section = QStringLiteral("Typecaddy");

QString qualified(SettingKey key)
{
    return Section + QLatin1Char('/') + SettingsStore::name(key);
}
} // namespace

SettingsStore::SettingsStore(QObject *parent)
    : QObject(parent)
{
}

QString SettingsStore::name(SettingKey key)
{
    return QString::fromLatin1(definition(key).name);
}

QString SettingsStore::defaultValue(SettingKey key)
{
    return QString::fromUtf8(definition(key).defaultValue);
}

SettingKey SettingsStore::colorKey(int index)
{
    return index == 0 ? SettingKey::FontColor0 : SettingKey::FontColor1;
}

QString SettingsStore::read(SettingKey key) const
{
    const QSettings settings(QSettings::IniFormat, QSettings::UserScope, Application);
    return settings.value(qualified(key), defaultValue(key)).toString();
}

bool SettingsStore::write(SettingKey key, const QString &value)
{
    // A fresh QSettings per write gives every write its own status; QSettings
    // replaces the file atomically, so a failed write leaves the old one whole.
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, Application);
    settings.setValue(qualified(key), value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    emit writeFailed(settings.fileName());
    return false;
}

QString SettingsStore::filePath()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, Application).fileName();
}
