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

// A small HTTP client in the manner of the old toolkit's: a server for the
// following requests, GETs whose bodies collect in the client's own buffer,
// and one requestFinished per request. Requests run one after another in the
// order issued. Every transfer is bounded in time and in size, so a stalled or
// runaway server cannot hold a window or memory.
class HttpClient : public QObject
{
    Q_OBJECT

public:
    static constexpr int defaultTransferTimeout = 15000; // milliseconds, whole transfer
    static constexpr qint64 defaultMaxBodySize = 8 * 1024 * 1024;

    explicit HttpClient(QObject* parent = nullptr);
    ~HttpClient() override;
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    enum ConnectionMode { ConnectionModeHttp, ConnectionModeHttps };

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

signals:
    void requestFinished(int id, bool error);

private:
    struct Request
    {
        int id = 0;
        QUrl url;
    };

    void startNext();
    void receive(QNetworkReply* from);
    void checkDeclaredSize(QNetworkReply* from);
    void done(QNetworkReply* from);
    void finish(bool error, const QString& why = QString());

    // First member: the replies are its children and go last.
    QNetworkAccessManager manager;
    QString host;
    ConnectionMode mode = ConnectionModeHttp;
    quint16 port = 80;
    QByteArray buffer;
    QQueue<Request> queue;
    QNetworkReply* reply = nullptr; // the running request's, owned by manager
    int currentId = 0;
    QUrl currentUrl;
    QByteArray body; // of the running request, until it succeeds
    QTimer deadline;
    int lastId = 0;
    int timeoutMs = defaultTransferTimeout;
    qint64 maxBody = defaultMaxBodySize;
};

#endif
