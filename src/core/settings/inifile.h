// The settings file, kept as its lines: the program changes the one line of the
// value it stores and leaves every other byte as it was (other groups,
// comments, a byte-order mark, bytes that are no valid UTF-8, line endings).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class IniFile
{
public:
    explicit IniFile(const QByteArray &contents);

    // The last value of `key` in any section named `group`, or none.
    std::optional<QString> value(const QByteArray &group, const QByteArray &key) const;
    // Replaces the line that value() reads, or adds one at the end of the
    // group, or the group at the end of the file.
    void setValue(const QByteArray &group, const QByteArray &key, const QString &value);

    QByteArray contents() const;

    // A value as QSettings writes it, so that files stay readable by it:
    // quoted when it holds a comma, semicolon or equals sign or starts or ends
    // with a blank, with C escapes for quotes, backslashes and controls.
    static QByteArray escaped(const QString &value);
    // Reads what escaped() writes. Unlike QSettings, a comma outside quotes is
    // part of the text: a hand-written "Hallo, Welt" is one title, not a list.
    static QString unescaped(QByteArrayView raw);

private:
    // Index of the line holding `key` in `group`, and of the last line that
    // belongs to the group's last section; -1 where there is none.
    struct Place {
        qsizetype keyLine = -1;
        qsizetype groupEnd = -1;
    };
    Place find(const QByteArray &group, const QByteArray &key) const;
    QByteArray lineEnding() const;

    QList<QByteArray> m_lines; // each with its own line ending
};
