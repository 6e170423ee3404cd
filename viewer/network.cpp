#include "viewer/network.h"

#include <QStandardPaths>

#include "viewer/httpclient.h"

namespace {

const char artworkBase[] = "http://localhost/images/artwork/";

} // namespace

network::network()
    : http(std::make_unique<HttpClient>())
{
}

network::~network() = default;

QUrl network::artworkUrl(const QString& name)
{
    QString base = qEnvironmentVariable(baseVariable);
    if (base.isEmpty())
        base = QString::fromLatin1(artworkBase);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    // Escaped, so that a "?", "#" or "/" in a name stays part of the file name.
    const QString file = QString::fromLatin1(QUrl::toPercentEncoding(name.toLower()));
    return QUrl(base + file + QStringLiteral(".png"));
}

void network::getImgFaunlet(const QString& name)
{
    const QUrl url = artworkUrl(name);
    if (url.isLocalFile()) {
        http->setHost(QString(), HttpClient::ConnectionModeFile);
        // Decoded, a "/" in a name would lead into another folder. No portrait
        // is drawn for such a name, so it is asked for as a file that is not there.
        http->get(name.contains(QLatin1Char('/')) ? QString() : url.path(QUrl::FullyEncoded));
        return;
    }
    // Every viewer's client opens the one folder; the cache is built to share it.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!cache.isEmpty())
        http->setCacheDirectory(cache + QStringLiteral("/artwork"), cacheSize);
    if (url.scheme() == QLatin1String("https"))
        http->setHost(url.host(), HttpClient::ConnectionModeHttps, quint16(url.port(443)));
    else
        http->setHost(url.host(), quint16(url.port(80)));
    http->get(url.path(QUrl::FullyEncoded));
}

QByteArray network::getPicture()
{
    return http->readAll();
}
