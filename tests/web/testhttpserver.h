// A small HTTP server on 127.0.0.1 for the update check's tests: each path has
// one canned raw response; it can also hold requests unanswered or send an
// answer that never ends.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QTcpServer>
#include <QUrl>

#include <functional>

class QTcpSocket;

class TestHttpServer : public QObject
{
    Q_OBJECT
public:
    static const QByteArray VersionPath;

    TestHttpServer();

    QUrl url(const QByteArray &path = VersionPath) const;
    void route(const QByteArray &path, const QByteArray &rawResponse);
    // Accept connections but never answer.
    void staySilent();
    // Answer every request with `head`, then `piece` again and again: every
    // `interval` ms, or as fast as the client takes it when `interval` is 0.
    void sendEndlessly(const QByteArray &head, const QByteArray &piece, int interval = 0);
    // Hold each answer until `ready` returns true; it is asked every few milliseconds.
    void holdUntil(std::function<bool()> ready);
    int requestCount() const { return m_requests; }
    QByteArray lastRequestLine() const { return m_requestLine; }
    std::function<void()> onRequest;

    static QByteArray ok(const QByteArray &body);
    static QByteArray status(int code);
    static QByteArray redirect(const QByteArray &location);
    // A gzip-encoded answer that starts a body of zeros: `gzipZeros()` continues
    // it with one more MiB each time.
    static QByteArray gzipHead();
    static QByteArray gzipZeros();

private:
    void serve(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QByteArray &path);
    void answerEndlessly(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QByteArray, QByteArray> m_routes;
    bool m_silent = false;
    QByteArray m_endlessHead;
    QByteArray m_endlessPiece;
    int m_endlessInterval = 0;
    std::function<bool()> m_ready;
    int m_requests = 0;
    QByteArray m_requestLine;
};
