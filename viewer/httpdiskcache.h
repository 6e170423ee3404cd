#ifndef HTTPDISKCACHE_H
#define HTTPDISKCACHE_H

#include <QNetworkDiskCache>
#include <map>
#include <memory>

class QBuffer;

// A disk cache whose entries carry a digest of their body: an entry that was
// cut short or damaged on disk reads as absent, so the request goes to the
// network instead of handing out broken bytes.
//
// Several caches may share one folder, in this process or another: every
// entry is written whole under a temporary name and renamed into place, and a
// cache measures the whole folder before its first insertion and trims it to
// its size, so that caches living no longer than a viewer keep the bound.
class HttpDiskCache : public QNetworkDiskCache
{
    Q_OBJECT

public:
    explicit HttpDiskCache(QObject* parent = nullptr);
    ~HttpDiskCache() override;

    QNetworkCacheMetaData metaData(const QUrl& url) override;
    QIODevice* data(const QUrl& url) override;
    bool remove(const QUrl& url) override;
    QIODevice* prepare(const QNetworkCacheMetaData& metaData) override;
    void insert(QIODevice* device) override;

private:
    struct Pending
    {
        QNetworkCacheMetaData metaData;
        std::unique_ptr<QBuffer> body;
    };
    // Bodies still arriving; the digest needs all of one before it is stored.
    std::map<QIODevice*, Pending> pending;
};

#endif
