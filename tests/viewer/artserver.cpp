// A tiny HTTP server for the artwork tests, run as its own process so the
// client under test talks to a real socket. It listens on 127.0.0.1, prints
// its port on the first line of standard output and then "open" for every
// connection, the path of every request it receives, one per line, and
// "closed <bytes sent>" whenever a connection ends.
//
//   artserver serve <dir> [<h>]  files below <dir> with ETag "v1" (304 when asked
//                                with it) and caching header <h>; 404 when missing
//   artserver text               200 with an HTML page
//   artserver hang               reads the request and never answers
//   artserver drip               200, then one body byte every 50 ms
//   artserver big <bytes>        200 with a body of that size, length declared
//   artserver bigstream <bytes>  the same without a length, ended by closing
//   artserver closed             a port nothing listens on any more

#include <QCoreApplication>
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

void answer(QTcpSocket* socket, const QByteArray& path, const QByteArray& request)
{
    const QString mode = arguments.value(1);
    if (mode == QLatin1String("serve")) {
        const QString relative = QUrl::fromPercentEncoding(path);
        QFile file(QDir(arguments.value(2)).filePath(relative.mid(1)));
        const QByteArray caching = arguments.value(3).toLatin1();
        const QByteArray extra = "ETag: \"v1\"\r\n" + (caching.isEmpty() ? caching : caching + "\r\n");
        if (request.contains("\r\nIf-None-Match: \"v1\"\r\n"))
            reply(socket, "304 Not Modified", "image/png", QByteArray(), false, extra);
        else if (!relative.contains(QLatin1String("..")) && file.open(QIODevice::ReadOnly))
            reply(socket, "200 OK", "image/png", file.readAll(), true, extra);
        else
            reply(socket, "404 Not Found", "text/html", "<html><body><h1>Not Found</h1></body></html>");
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
            auto sent = std::make_shared<qint64>(0);
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [sent](qint64 bytes) { *sent += bytes; });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, sent] {
                std::printf("closed %lld\n", static_cast<long long>(*sent));
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
