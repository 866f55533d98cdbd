#include "web/versiondownload.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

namespace {

bool isWebScheme(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// The file is plain ASCII in practice; text that is no valid UTF-8 is taken as Latin-1.
QString decode(const QByteArray &body)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(body);
    return utf8.hasError() ? QString::fromLatin1(body) : text;
}

}

VersionDownload::VersionDownload(QUrl url, int timeoutMilliseconds)
    : m_url(std::move(url)), m_timeout(timeoutMilliseconds)
{
}

QString VersionDownload::fetch() const
{
    QNetworkAccessManager manager;
    QNetworkRequest request(m_url);
    request.setTransferTimeout(m_timeout);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    QNetworkReply *reply = manager.get(request);
    reply->setReadBufferSize(MaxBodySize + 1);

    QByteArray body;
    bool refused = false;
    auto refuse = [&refused, reply] {
        refused = true;
        reply->abort();
    };
    auto take = [&body, reply] { body += reply->read(MaxBodySize + 1 - body.size()); };

    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, refuse](const QUrl &target) {
        if (isWebScheme(target))
            emit reply->redirectAllowed();
        else
            refuse();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&body, &refused, take, refuse] {
        if (refused)
            return;
        take();
        if (body.size() > MaxBodySize)
            refuse();
    });

    // The transfer time-out only counts silence; a server that trickles bytes
    // must not hold the window longer than the same time in all.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, refuse);
    deadline.start(m_timeout);

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (refused || reply->error() != QNetworkReply::NoError)
        return {};
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return {};
    take();
    if (body.size() > MaxBodySize)
        return {};
    return decode(body);
}
