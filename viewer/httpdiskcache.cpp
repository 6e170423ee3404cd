#include "viewer/httpdiskcache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QNetworkRequest>

namespace {

// Kept with the entry's attributes, which the disk cache stores as they are.
constexpr auto digestAttribute = QNetworkRequest::User;

QByteArray digest(const QByteArray& body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256);
}

} // namespace

HttpDiskCache::HttpDiskCache(QObject* parent)
    : QNetworkDiskCache(parent)
{
}

HttpDiskCache::~HttpDiskCache() = default;

// The network code asks for the metadata first and sends its validators with
// the request; a damaged entry must vanish here already, or the server's "not
// modified" would leave the reply without a body.
QNetworkCacheMetaData HttpDiskCache::metaData(const QUrl& url)
{
    const std::unique_ptr<QIODevice> body(data(url));
    return body ? QNetworkDiskCache::metaData(url) : QNetworkCacheMetaData();
}

QIODevice* HttpDiskCache::data(const QUrl& url)
{
    std::unique_ptr<QIODevice> stored(QNetworkDiskCache::data(url));
    if (!stored)
        return nullptr;
    const QByteArray body = stored->readAll();
    const QByteArray expected = QNetworkDiskCache::metaData(url).attributes().value(digestAttribute).toByteArray();
    if (expected.isEmpty() || digest(body) != expected) {
        QNetworkDiskCache::remove(url);
        return nullptr;
    }
    auto out = new QBuffer;
    out->setData(body);
    out->open(QIODevice::ReadOnly);
    return out;
}

// Also how the network code cancels a body that failed on its way; the copy
// stored before stays, so that it can still stand in for the server.
bool HttpDiskCache::remove(const QUrl& url)
{
    for (auto it = pending.begin(); it != pending.end(); ++it) {
        if (it->second.metaData.url() == url) {
            pending.erase(it);
            return true;
        }
    }
    return QNetworkDiskCache::remove(url);
}

// Whether the entry may be stored at all is left to the disk cache's own
// prepare(), called once the body is complete.
QIODevice* HttpDiskCache::prepare(const QNetworkCacheMetaData& metaData)
{
    auto body = std::make_unique<QBuffer>();
    body->open(QIODevice::WriteOnly);
    QIODevice* device = body.get();
    pending[device] = Pending{metaData, std::move(body)};
    return device;
}

void HttpDiskCache::insert(QIODevice* device)
{
    const auto found = pending.find(device);
    if (found == pending.end())
        return;
    QNetworkCacheMetaData metaData = found->second.metaData;
    const QByteArray body = found->second.body->data();
    pending.erase(found);
    QNetworkCacheMetaData::AttributesMap attributes = metaData.attributes();
    attributes.insert(digestAttribute, digest(body));
    metaData.setAttributes(attributes);
    QIODevice* out = QNetworkDiskCache::prepare(metaData);
    if (!out)
        return;
    if (out->write(body) == body.size())
        QNetworkDiskCache::insert(out);
    else
        QNetworkDiskCache::remove(metaData.url());
}
