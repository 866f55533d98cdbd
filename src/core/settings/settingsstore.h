// The user's stored print options: eight values under the vendor's name,
// section "Typecaddy", in a per-user INI file. Each key has one entry in the
// store's table with its type, its check and its default; callers get a valid
// typed value or none.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>

#include <optional>

enum class SettingKey { FontSize, Still, Print_Art, Check_Fett, Titel, FontColor0, FontColor1, Check_Now };

class SettingsStore : public QObject
{
    Q_OBJECT
public:
    explicit SettingsStore(QObject *parent = nullptr);

    // The colour keys are "FontColor" followed by the index of the colour button.
    static SettingKey colorKey(int index);
    // The lowest and highest value a number key accepts; for FontSize the
    // first and last entry of the size list.
    static int lowest(SettingKey key);
    static int highest(SettingKey key);
    static int defaultNumber(SettingKey key);

    // The stored value, or the key's default when nothing is stored; none when
    // the stored text fails the key's check.
    std::optional<int> number(SettingKey key) const;
    std::optional<bool> flag(SettingKey key) const;
    std::optional<QColor> color(SettingKey key) const;
    QString text(SettingKey key) const;

    // Each write changes only its own line of the file and leaves the file
    // untouched when it already holds the value. A write that does not reach
    // the disk (also when the file is locked for longer than a moment) is
    // reported through writeFailed() and leaves the file as it was.
    bool writeNumber(SettingKey key, int value);
    bool writeFlag(SettingKey key, bool value);
    bool writeColor(SettingKey key, const QColor &value);
    bool writeText(SettingKey key, const QString &value);

    static QString filePath();

signals:
    void writeFailed(const QString &path);

private:
    std::optional<QString> stored(SettingKey key) const;
};
