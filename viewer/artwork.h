#ifndef ARTWORK_H
#define ARTWORK_H

#include <QByteArray>
#include <QImage>

// A downloaded creature picture: decoded as PNG, with white and the
// near-white tones around the drawing made transparent.
class Artwork
{
public:
    // Far above any artwork, far below what a forged header can ask for.
    static constexpr int allocationLimitMb = 64;

    // A null image when the bytes are not a PNG or would need more memory
    // than the limit.
    static QImage decode(const QByteArray& png);
};

#endif
