// The user's stored print options: eight text values under the application
// "Made by Orvik", section "Typecaddy", in a per-user INI file.
#pragma once

#include <QObject>
#include <QString>

enum class SettingKey { FontSize, Still, Print_Art, Check_Fett, Titel, FontColor0, FontColor1, Check_Now };

class SettingsStore : public QObject
{
    Q_OBJECT
public:
    explicit SettingsStore(QObject *parent = nullptr);

    static QString name(SettingKey key);
    static QString defaultValue(SettingKey key);
    // The colour keys are "FontColor" followed by the index of the colour button.
    static SettingKey colorKey(int index);

    // The stored text, or the key's default when nothing is stored.
    QString read(SettingKey key) const;
    // Writes and flushes at once; a write that does not reach the disk is
    // reported through writeFailed() and leaves what was stored before intact.
    bool write(SettingKey key, const QString &value);

    static QString filePath();

signals:
    void writeFailed(const QString &path);
};
