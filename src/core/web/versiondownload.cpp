#include "web/versiondownload.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

#include <memory>

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

// Asks the desktop (its proxy settings, or http_proxy and https_proxy) anew for
// each request, so a change made while the program runs counts.
class SystemProxyFactory : public QNetworkProxyFactory
{
public:
    QList<QNetworkProxy> queryProxy(const QNetworkProxyQuery &query) override { return systemProxyForQuery(query); }
};

// Sets `cutOff` when the download was stopped here rather than ended by the
// server; `cutter` can stop it while it waits.
QString download(QNetworkAccessManager &manager, const QUrl &url, int timeout, bool &cutOff,
                 std::function<void()> &cutter)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeout);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::UserVerifiedRedirectPolicy);
    // A body that is not packed cannot unpack into a huge one; one that comes
    // packed all the same is refused.
    request.setRawHeader("Accept-Encoding", "identity");
    const std::unique_ptr<QNetworkReply> owner(manager.get(request));
    QNetworkReply *reply = owner.get();
    reply->setReadBufferSize(VersionDownload::MaxBodySize + 1);

    QByteArray body;
    auto cut = [&cutOff, reply] {
        cutOff = true;
        reply->abort();
    };
    auto take = [&body, reply] { body += reply->read(VersionDownload::MaxBodySize + 1 - body.size()); };

    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply, cut](const QUrl &target) {
        if (isWebScheme(target))
            emit reply->redirectAllowed();
        else
            cut();
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, cut] {
        const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed().toLower();
        if (!encoding.isEmpty() && encoding != "identity")
            cut();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&body, &cutOff, take, cut] {
        if (cutOff)
            return;
        take();
        if (body.size() > VersionDownload::MaxBodySize)
            cut();
    });

    // The transfer time-out only counts silence; a server that trickles bytes
    // or sends an endless header must not hold the window longer than the
    // same time in all.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, cut);
    deadline.start(timeout);

    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    cutter = cut;
    if (!reply->isFinished())
        loop.exec();
    cutter = nullptr;

    if (cutOff || reply->error() != QNetworkReply::NoError)
        return {};
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return {};
    take();
    if (body.size() > VersionDownload::MaxBodySize)
        return {};
    return decode(body);
}

} // namespace

VersionDownload::VersionDownload(QUrl url, int timeoutMilliseconds)
    : m_url(std::move(url)),
      m_timeout(timeoutMilliseconds)
{ }

QString VersionDownload::fetch()
{
    auto manager = std::make_unique<QNetworkAccessManager>();
    manager->setProxyFactory(new SystemProxyFactory);
    bool cutOff = false;
    const QString text = download(*manager, m_url, m_timeout, cutOff, m_cut);
    // Destroying a manager waits up to 5 s for its network thread, and a
    // server that never stops sending keeps that thread busy: such a manager
    // stays until the program ends, and the next check gets a new one.
    if (cutOff)
        manager.release()->setParent(QCoreApplication::instance());
    return text;
}

void VersionDownload::cancel()
{
    if (m_cut)
        m_cut();
}
