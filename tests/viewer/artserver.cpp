// A tiny HTTP server for the artwork tests, run as its own process so the
// client under test talks to a real socket. It listens on 127.0.0.1, prints
// its port on the first line of standard output and then "open" for every
// connection, the path of every request it receives, one per line, and
// "closed" whenever a connection ends.
//
//   artserver serve <dir> [<header>]
//                                files below <dir>, 404 when missing; with a
//                                caching header ("Name: value"), also that
//                                header and an ETag, and 304 to a request
//                                that has it
//   artserver text               200 with an HTML page
//   artserver hang               reads the request and never answers
//   artserver drip               200, then one body byte every 50 ms
//   artserver big <bytes>        200 with a body of that size, length declared
//   artserver bigstream <bytes>  the same without a length, ended by closing
//   artserver stream <bytes>     200 with a chunked body of that size, written
//                                as the client takes it; prints "stalled <n>"
//                                when the client has taken nothing for 300 ms
//                                after <n> body bytes, and "sent <n>" when the
//                                connection ends
//   artserver closed             a port nothing listens on any more

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <memory>

namespace {

QStringList arguments;

QByteArray head(const QByteArray& status, const QByteArray& type, qint64 length, const QByteArray& extra = {})
{
    QByteArray out = "HTTP/1.1 " + status + "\r\nContent-Type: " + type + "\r\nConnection: close\r\n" + extra;
    if (length >= 0)
        out += "Content-Length: " + QByteArray::number(length) + "\r\n";
    return out + "\r\n";
}

void reply(QTcpSocket* socket, const QByteArray& status, const QByteArray& type, const QByteArray& body,
           bool declareLength = true, const QByteArray& extra = {})
{
    socket->write(head(status, type, declareLength ? body.size() : -1, extra) + body);
    socket->disconnectFromHost();
}

// Chunks of 64 KiB while the socket drains, so that only what the client
// takes is ever sent.
void stream(QTcpSocket* socket, qint64 total)
{
    socket->write(head("200 OK", "image/png", -1, "Transfer-Encoding: chunked\r\n"));
    auto sent = std::make_shared<qint64>(0);
    auto idle = new QTimer(socket);
    idle->setSingleShot(true);
    QObject::connect(idle, &QTimer::timeout, socket, [sent] {
        std::printf("stalled %lld\n", static_cast<long long>(*sent));
        std::fflush(stdout);
    });
    auto more = [socket, sent, total, idle] {
        if (*sent == total)
            return;
        idle->start(300);
        while (socket->bytesToWrite() < 256 * 1024 && *sent < total) {
            const QByteArray chunk(qMin<qint64>(64 * 1024, total - *sent), 'x');
            socket->write(QByteArray::number(chunk.size(), 16) + "\r\n" + chunk + "\r\n");
            *sent += chunk.size();
        }
        if (*sent == total) {
            idle->stop();
            socket->write("0\r\n\r\n");
            socket->disconnectFromHost();
        }
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [sent] {
        std::printf("sent %lld\n", static_cast<long long>(*sent));
        std::fflush(stdout);
    });
    more();
}

void answer(QTcpSocket* socket, const QByteArray& path, const QByteArray& request)
{
    const QString mode = arguments.value(1);
    if (mode == QLatin1String("serve")) {
        const QString relative = QUrl::fromPercentEncoding(path);
        QFile file(QDir(arguments.value(2)).filePath(relative.mid(1)));
        if (relative.contains(QLatin1String("..")) || !file.open(QIODevice::ReadOnly)) {
            reply(socket, "404 Not Found", "text/html", "<html><body><h1>Not Found</h1></body></html>");
            return;
        }
        const QByteArray body = file.readAll();
        const QByteArray caching = arguments.value(3).toLatin1();
        if (caching.isEmpty()) {
            reply(socket, "200 OK", "image/png", body);
            return;
        }
        const QByteArray tag = '"' + QCryptographicHash::hash(body, QCryptographicHash::Md5).toHex() + '"';
        const QByteArray headers = caching + "\r\nETag: " + tag + "\r\n";
        if (request.contains("\r\nIf-None-Match: " + tag + "\r\n"))
            reply(socket, "304 Not Modified", "image/png", QByteArray(), false, headers);
        else
            reply(socket, "200 OK", "image/png", body, true, headers);
    } else if (mode == QLatin1String("text")) {
        reply(socket, "200 OK", "text/html", "<html><body>no picture here</body></html>");
    } else if (mode == QLatin1String("drip")) {
        socket->write(head("200 OK", "image/png", -1));
        auto timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write("x"); });
        timer->start(50);
    } else if (mode == QLatin1String("big") || mode == QLatin1String("bigstream")) {
        const QByteArray body(arguments.value(2).toLongLong(), 'x');
        reply(socket, "200 OK", "image/png", body, mode == QLatin1String("big"));
    } else if (mode == QLatin1String("stream")) {
        stream(socket, arguments.value(2).toLongLong());
    }
    // hang: say nothing, keep the connection open
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    arguments = app.arguments();

    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0))
        return 1;
    std::printf("%u\n", unsigned(server.serverPort()));
    std::fflush(stdout);
    if (arguments.value(1) == QLatin1String("closed"))
        server.close();

    QObject::connect(&server, &QTcpServer::newConnection, &server, [&server] {
        while (QTcpSocket* socket = server.nextPendingConnection()) {
            std::printf("open\n");
            std::fflush(stdout);
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket] {
                std::printf("closed\n");
                std::fflush(stdout);
                socket->deleteLater();
            });
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, request] {
                const bool complete = request->contains("\r\n\r\n");
                *request += socket->readAll();
                if (complete || !request->contains("\r\n\r\n"))
                    return;
                const QList<QByteArray> line = request->left(request->indexOf("\r\n")).split(' ');
                const QByteArray path = line.value(1);
                std::printf("%s\n", path.constData());
                std::fflush(stdout);
                answer(socket, path, *request);
            });
        }
    });
    return app.exec();
}
