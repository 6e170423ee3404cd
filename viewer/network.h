#ifndef NETWORK_H
#define NETWORK_H

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <memory>

class HttpClient;

// Fetches one creature's artwork over HTTP, or from a folder given as a file:
// base, into its own client's buffer. Each viewer owns one; it lives and dies
// with it.
class network
{
public:
    // Replaces the built-in artwork base address when set and not empty.
    static constexpr const char* baseVariable = "FAUNTOME_ARTWORK_URL";
    // Of the artwork kept from http(s) servers, in the user's cache folder.
    // A portrait is some 20 KiB: this holds well over a thousand, and an
    // answer at the 8 MiB cap still fits (an entry may take 3/4 of it).
    static constexpr qint64 cacheSize = 32 * 1024 * 1024;

    network();
    ~network();
    network(const network&) = delete;
    network& operator=(const network&) = delete;

    HttpClient* getHttpPointer() const { return http.get(); }
    // Starts the download of the picture of `name`; returns at once.
    void getImgFaunlet(const QString& name);
    // Everything received and not yet handed out; empties the client's buffer.
    QByteArray getPicture();

    // Where the picture of `name` lives.
    static QUrl artworkUrl(const QString& name);

private:
    std::unique_ptr<HttpClient> http;
};

#endif
