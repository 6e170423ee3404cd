#ifndef HTTPCLIENT_H
#define HTTPCLIENT_H

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QTimer>
#include <QUrl>

class QNetworkReply;
class QNetworkRequest;

// A small HTTP client in the manner of the old toolkit's: a server for the
// following requests, GETs whose bodies collect in the client's own buffer,
// and one requestFinished per request. Requests run one after another in the
// order issued. Every transfer is bounded in time and in size, so a stalled or
// runaway server cannot hold a window or memory. Local files go the same way,
// with the same bounds.
class HttpClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTransferTimeout = 15000; // milliseconds, whole transfer
    static constexpr qint64 defaultMaxBodySize = 8 * 1024 * 1024;
    // How far the network may read ahead of us: the body never sits in
    // memory beyond the cap plus this.
    static constexpr qint64 readAhead = 64 * 1024;

    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // With files, the "server" is the local disk and paths are file paths.
    enum ConnectionMode { ConnectionModeHttp, ConnectionModeHttps, ConnectionModeFile };

    void setHost(const QString& hostName, quint16 port = 80);
    // Https never falls back to plain text: without TLS the request fails.
    void setHost(const QString& hostName, ConnectionMode mode, quint16 port = 0);
    // Queues a GET of `path` (percent-encoded or not) on the current server
    // and returns its request number. Returns at once.
    int get(const QString& path);
    // Every body received and not yet read; reading empties the buffer.
    QByteArray readAll();
    // Drops the running and queued requests without any notice.
    void abort();

    void setTransferTimeout(int milliseconds) { timeoutMs = milliseconds; }
    int transferTimeout() const { return timeoutMs; }
    // A body larger than this fails the request.
    void setMaxBodySize(qint64 bytes) { maxBody = bytes; }
    qint64 maxBodySize() const { return maxBody; }
    // Keeps http(s) bodies in a disk cache below `directory`, as the server's
    // caching headers allow; when the server cannot be reached, a copy kept
    // there answers instead, unless those headers forbid using it unchecked.
    void setCacheDirectory(const QString& directory, qint64 maxBytes);

signals:
    void requestFinished(int id, bool error);

private:
    struct Request
    {
        int id = 0;
        QUrl url;
    };

    void startNext();
    void fetch(const QNetworkRequest& request);
    void receive(QNetworkReply* from);
    void checkDeclaredSize(QNetworkReply* from);
    void done(QNetworkReply* from);
    void timedOut();
    bool fallBackToCache();
    void release();
    void finish(bool error, const QString& why = QString());

    // First member: the replies are its children and go last. A child of the
    // client too, so that a running reply can be found and followed.
    QNetworkAccessManager manager{this};
    QString host;
    ConnectionMode mode = ConnectionModeHttp;
    quint16 port = 80;
    QByteArray buffer;
    QQueue<Request> queue;
    QNetworkReply* reply = nullptr; // the running request's, owned by manager
    bool running = false;
    bool fromCacheOnly = false;
    int currentId = 0;
    QUrl currentUrl;
    QByteArray body; // of the running request, until it succeeds
    QTimer deadline;
    int lastId = 0;
    int timeoutMs = defaultTransferTimeout;
    qint64 maxBody = defaultMaxBodySize;
};

#endif
