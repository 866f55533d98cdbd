// Fetches the vendor's version file with one bounded HTTP GET; every kind of
// failure gives an empty text.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class VersionDownload
{
public:
    static constexpr qint64 MaxBodySize = 64 * 1024;
    static constexpr int DefaultTimeout = 60000;

    // `timeoutMilliseconds` bounds the whole download, however the server behaves.
    explicit VersionDownload(QUrl url, int timeoutMilliseconds = DefaultTimeout);

    // Waits in a local event loop that lets windows repaint; the caller keeps
    // user input away. The request goes through the desktop's proxy, if any.
    QString fetch();
    // Stops a fetch that is under way, from inside its wait; it then gives an empty text.
    void cancel();

private:
    QUrl m_url;
    int m_timeout;
    std::function<void()> m_cut;
};
