#include "testhttpserver.h"

#include <QTcpSocket>
#include <QTimer>

#include <zlib.h>

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

void TestHttpServer::sendEndlessly(const QByteArray &head, const QByteArray &piece, int interval)
{
    m_endlessHead = head;
    m_endlessPiece = piece;
    m_endlessInterval = interval;
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

QByteArray TestHttpServer::gzipHead()
{
    return QByteArrayLiteral("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Encoding: gzip\r\n"
                             "Connection: close\r\n\r\n\x1f\x8b\x08\0\0\0\0\0\0\x03");
}

// Flushed but not finished, so the pieces can follow one another in one
// stream: none refers back to data before its own start.
QByteArray TestHttpServer::gzipZeros()
{
    static const QByteArray piece = [] {
        QByteArray zeros(1024 * 1024, '\0');
        z_stream stream{};
        deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        QByteArray out(int(deflateBound(&stream, uLong(zeros.size()))), '\0');
        stream.next_in = reinterpret_cast<Bytef *>(zeros.data());
        stream.avail_in = uInt(zeros.size());
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, Z_SYNC_FLUSH);
        out.truncate(int(stream.total_out));
        deflateEnd(&stream);
        return out;
    }();
    return piece;
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
        m_requestLine = request->left(request->indexOf("\r\n"));
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
    if (!m_endlessHead.isEmpty()) {
        answerEndlessly(socket);
        return;
    }
    socket->write(m_routes.value(path, status(404)));
    socket->disconnectFromHost();
}

void TestHttpServer::answerEndlessly(QTcpSocket *socket)
{
    socket->write(m_endlessHead);
    const QByteArray piece = m_endlessPiece;
    if (m_endlessInterval > 0) {
        auto *tick = new QTimer(socket);
        connect(tick, &QTimer::timeout, socket, [socket, piece] { socket->write(piece); });
        tick->start(m_endlessInterval);
        return;
    }
    socket->write(piece);
    connect(socket, &QTcpSocket::bytesWritten, socket, [socket, piece] {
        if (socket->bytesToWrite() == 0)
            socket->write(piece);
    });
}
