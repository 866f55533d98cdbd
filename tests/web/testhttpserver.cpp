#include "testhttpserver.h"

#include <QTcpSocket>
#include <QTimer>

const QByteArray TestHttpServer::VersionPath = QByteArrayLiteral("/update/version_glyphana.txt");

TestHttpServer::TestHttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = m_server.nextPendingConnection())
            serve(socket);
    });
}

QUrl TestHttpServer::url(const QByteArray &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(QString::fromLatin1(path)));
}

void TestHttpServer::route(const QByteArray &path, const QByteArray &rawResponse)
{
    m_routes.insert(path, rawResponse);
}

void TestHttpServer::staySilent()
{
    m_silent = true;
}

void TestHttpServer::trickle()
{
    m_trickle = true;
}

void TestHttpServer::holdUntil(std::function<bool()> ready)
{
    m_ready = std::move(ready);
}

QByteArray TestHttpServer::ok(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(body.size())
        + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray TestHttpServer::status(int code)
{
    const QByteArray body = "<html><body>" + QByteArray::number(code) + "</body></html>";
    return "HTTP/1.1 " + QByteArray::number(code) + " Status\r\nContent-Type: text/html\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray TestHttpServer::redirect(const QByteArray &location)
{
    return "HTTP/1.1 302 Found\r\nLocation: " + location + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
}

void TestHttpServer::serve(QTcpSocket *socket)
{
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    auto request = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
        if (request->contains("\r\n\r\n")) {
            socket->readAll();
            return;
        }
        *request += socket->readAll();
        if (!request->contains("\r\n\r\n"))
            return;
        ++m_requests;
        if (onRequest)
            onRequest();
        if (m_silent)
            return;
        const QByteArray path = request->split(' ').value(1);
        if (!m_ready || m_ready()) {
            answer(socket, path);
            return;
        }
        auto *poll = new QTimer(socket);
        connect(poll, &QTimer::timeout, socket, [this, socket, path, poll] {
            if (!m_ready())
                return;
            poll->stop();
            answer(socket, path);
        });
        poll->start(5);
    });
}

void TestHttpServer::answer(QTcpSocket *socket, const QByteArray &path)
{
    if (m_trickle) {
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 1000000\r\n\r\n3.0.");
        auto *tick = new QTimer(socket);
        connect(tick, &QTimer::timeout, socket, [socket] { socket->write(" "); });
        tick->start(20);
        return;
    }
    socket->write(m_routes.value(path, status(404)));
    socket->disconnectFromHost();
}
