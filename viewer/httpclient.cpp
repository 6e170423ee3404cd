#include "viewer/httpclient.h"

#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <iostream>
#include <utility>

#include "viewer/httpdiskcache.h"

HttpClient::HttpClient(QObject* parent)
    : QObject(parent)
{
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, &HttpClient::timedOut);
}

HttpClient::~HttpClient()
{
    // Before the members go, so that no notice leaves a half-destroyed client.
    abort();
}

void HttpClient::setHost(const QString& hostName, quint16 portNumber)
{
    setHost(hostName, ConnectionModeHttp, portNumber);
}

void HttpClient::setHost(const QString& hostName, ConnectionMode connectionMode, quint16 portNumber)
{
    host = hostName;
    mode = connectionMode;
    port = portNumber ? portNumber : (mode == ConnectionModeHttps ? 443 : 80);
}

void HttpClient::setCacheDirectory(const QString& directory, qint64 maxBytes)
{
    auto cache = new HttpDiskCache;
    cache->setCacheDirectory(directory);
    cache->setMaximumCacheSize(maxBytes);
    manager.setCache(cache); // the manager owns it
}

int HttpClient::get(const QString& path)
{
    Request request;
    request.id = ++lastId;
    if (mode == ConnectionModeFile) {
        request.url.setScheme(QStringLiteral("file"));
    } else {
        request.url.setScheme(mode == ConnectionModeHttps ? QStringLiteral("https") : QStringLiteral("http"));
        request.url.setHost(host);
        request.url.setPort(port);
    }
    request.url.setPath(path, QUrl::TolerantMode);
    queue.enqueue(request);
    startNext();
    return request.id;
}

QByteArray HttpClient::readAll()
{
    return std::exchange(buffer, QByteArray());
}

void HttpClient::abort()
{
    queue.clear();
    deadline.stop();
    body.clear();
    running = false;
    // Deleted at once, not later: a reply left to the event loop still takes
    // the late errors of its connection. Never inside the reply's own signals,
    // since finish() lets go of it before giving notice.
    if (QNetworkReply* dropped = std::exchange(reply, nullptr)) {
        dropped->disconnect(this);
        dropped->abort();
        delete dropped;
    }
}

void HttpClient::startNext()
{
    if (running || queue.isEmpty())
        return;
    const Request request = queue.dequeue();
    running = true;
    fromCacheOnly = false;
    currentId = request.id;
    currentUrl = request.url;
    body.clear();
    // Opening a FIFO would block this thread and a device would never end:
    // only plain files are read, and the rest fails as a missing file does,
    // from the event loop.
    if (request.url.isLocalFile() && !QFileInfo(request.url.toLocalFile()).isFile()) {
        deadline.start(0);
        return;
    }
    deadline.start(timeoutMs);
    fetch(QNetworkRequest(request.url));
}

void HttpClient::fetch(const QNetworkRequest& request)
{
    QNetworkReply* started = manager.get(request);
    reply = started;
    started->setReadBufferSize(readAhead);
    connect(started, &QNetworkReply::metaDataChanged, this, [this, started] { checkDeclaredSize(started); });
    connect(started, &QNetworkReply::readyRead, this, [this, started] { receive(started); });
    connect(started, &QNetworkReply::finished, this, [this, started] { done(started); });
}

void HttpClient::checkDeclaredSize(QNetworkReply* from)
{
    if (from != reply)
        return;
    const QVariant length = from->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > maxBody)
        finish(true, tr("the answer is too large"));
}

// Never more than one byte past the cap: what lies beyond stays unread.
void HttpClient::receive(QNetworkReply* from)
{
    if (from != reply)
        return;
    body += from->read(maxBody - body.size() + 1);
    if (body.size() > maxBody)
        finish(true, tr("the answer is too large"));
}

void HttpClient::done(QNetworkReply* from)
{
    if (from != reply)
        return;
    // An HTTP error status is an error too: its body is a server's page, not
    // what was asked for.
    const QNetworkReply::NetworkError error = from->error();
    if (error != QNetworkReply::NoError) {
        // Connection and proxy failures, and the server's own (5xx), mean it
        // is gone or broken for now; "not found" and the like are its answer.
        const bool unreachable = error < QNetworkReply::ContentAccessDenied
            || (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
        if (!unreachable || !fallBackToCache())
            finish(true, from->errorString());
        return;
    }
    receive(from);
    finish(false);
}

void HttpClient::timedOut()
{
    if (!reply)
        finish(true, tr("not a file"));
    else if (!fallBackToCache())
        finish(true, tr("no answer in time"));
}

// Asks the cache alone for what the network could not give; false when it
// holds nothing for the address.
bool HttpClient::fallBackToCache()
{
    QAbstractNetworkCache* cache = manager.cache();
    if (fromCacheOnly || !cache || currentUrl.isLocalFile() || !cache->metaData(currentUrl).isValid())
        return false;
    release();
    fromCacheOnly = true;
    body.clear();
    QNetworkRequest request(currentUrl);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysCache);
    fetch(request);
    deadline.start(timeoutMs);
    return true;
}

void HttpClient::release()
{
    QNetworkReply* ended = std::exchange(reply, nullptr);
    if (!ended)
        return;
    ended->disconnect(this);
    if (!ended->isFinished())
        ended->abort();
    ended->deleteLater();
}

// Ends the running request: its reply is released, a good body joins the
// buffer, the notice goes out and the next request starts.
void HttpClient::finish(bool error, const QString& why)
{
    if (!std::exchange(running, false))
        return;
    // Someone asked for https on purpose; a failure there (no TLS, a server
    // that does not speak it) deserves a word, where plain http stays silent.
    if (error && currentUrl.scheme() == QLatin1String("https"))
        std::cerr << "cannot fetch " << currentUrl.toString().toStdString() << ": " << why.toStdString() << std::endl;
    deadline.stop();
    release();
    if (!error)
        buffer += body;
    body.clear();

    const QPointer<HttpClient> alive(this);
    emit requestFinished(currentId, error);
    if (alive)
        startNext();
}
