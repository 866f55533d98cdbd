// A small HTTP server on 127.0.0.1 for the update check's tests: each path has
// one canned raw response; it can also hold requests unanswered or trickle.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>
#include <QUrl>

#include <functional>

class QTcpSocket;

class TestHttpServer : public QObject {
    Q_OBJECT
public:
    static const QByteArray VersionPath;

    TestHttpServer();

    QUrl url(const QByteArray &path = VersionPath) const;
    void route(const QByteArray &path, const QByteArray &rawResponse);
    // Accept connections but never answer.
    void staySilent();
    // Send a header that promises a large body, then one byte per tick.
    void trickle();
    // Hold each answer until `ready` returns true; it is asked every few milliseconds.
    void holdUntil(std::function<bool()> ready);
    int requestCount() const { return m_requests; }
    std::function<void()> onRequest;

    static QByteArray ok(const QByteArray &body);
    static QByteArray status(int code);
    static QByteArray redirect(const QByteArray &location);

private:
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &path);

    QTcpServer m_server;
    QHash<QByteArray, QByteArray> m_routes;
    bool m_silent = false;
    bool m_trickle = false;
    std::function<bool()> m_ready;
    int m_requests = 0;
};
