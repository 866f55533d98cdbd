// Fetches the vendor's version file with one bounded HTTP GET; every kind of
// failure gives an empty text.
#pragma once

#include <QString>
#include <QUrl>

class VersionDownload {
public:
    static constexpr qint64 MaxBodySize = 64 * 1024;
    static constexpr int DefaultTimeout = 60000;

    explicit VersionDownload(QUrl url, int timeoutMilliseconds = DefaultTimeout);

    // Waits in a local event loop that keeps user input away from every window
    // but lets them repaint; the mouse pointer stays as it is.
    QString fetch() const;

private:
    QUrl m_url;
    int m_timeout;
};
