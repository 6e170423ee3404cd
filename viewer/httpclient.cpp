#include "viewer/httpclient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <iostream>
#include <utility>

HttpClient::HttpClient(QObject* parent)
    : QObject(parent)
{
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [this] { finish(true, tr("no answer in time")); });
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

int HttpClient::get(const QString& path)
{
    Request request;
    request.id = ++lastId;
    request.url.setScheme(mode == ConnectionModeHttps ? QStringLiteral("https") : QStringLiteral("http"));
    request.url.setHost(host);
    request.url.setPort(port);
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
    // Deleted at once, not later: a reply left to the event loop still takes
    // the late errors of its connection. Never inside the reply's own signals,
    // since finish() lets go of it before giving notice.
    if (QNetworkReply* running = std::exchange(reply, nullptr)) {
        running->disconnect(this);
        running->abort();
        delete running;
    }
}

void HttpClient::startNext()
{
    if (reply || queue.isEmpty())
        return;
    const Request request = queue.dequeue();
    currentId = request.id;
    currentUrl = request.url;
    body.clear();
    QNetworkReply* started = manager.get(QNetworkRequest(request.url));
    reply = started;
    connect(started, &QNetworkReply::metaDataChanged, this, [this, started] { checkDeclaredSize(started); });
    connect(started, &QNetworkReply::readyRead, this, [this, started] { receive(started); });
    connect(started, &QNetworkReply::finished, this, [this, started] { done(started); });
    deadline.start(timeoutMs);
}

void HttpClient::checkDeclaredSize(QNetworkReply* from)
{
    if (from != reply)
        return;
    const QVariant length = from->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > maxBody)
        finish(true, tr("the answer is too large"));
}

void HttpClient::receive(QNetworkReply* from)
{
    if (from != reply)
        return;
    body += from->readAll();
    if (body.size() > maxBody)
        finish(true, tr("the answer is too large"));
}

void HttpClient::done(QNetworkReply* from)
{
    if (from != reply)
        return;
    // An HTTP error status is an error too: its body is a server's page, not
    // what was asked for.
    if (from->error() != QNetworkReply::NoError) {
        finish(true, from->errorString());
        return;
    }
    body += from->readAll();
    finish(body.size() > maxBody, tr("the answer is too large"));
}

// Ends the running request: its reply is released, a good body joins the
// buffer, the notice goes out and the next request starts.
void HttpClient::finish(bool error, const QString& why)
{
    QNetworkReply* ended = std::exchange(reply, nullptr);
    if (!ended)
        return;
    // Someone asked for https on purpose; a failure there (no TLS, a server
    // that does not speak it) deserves a word, where plain http stays silent.
    if (error && currentUrl.scheme() == QLatin1String("https"))
        std::cerr << "cannot fetch " << currentUrl.toString().toStdString() << ": " << why.toStdString() << std::endl;
    deadline.stop();
    ended->disconnect(this);
    if (!ended->isFinished())
        ended->abort();
    ended->deleteLater();
    if (!error)
        buffer += body;
    body.clear();

    const QPointer<HttpClient> alive(this);
    emit requestFinished(currentId, error);
    if (alive)
        startNext();
}
