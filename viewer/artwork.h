#ifndef ARTWORK_H
#define ARTWORK_H

#include <QByteArray>
#include <QImage>

// A downloaded creature picture: decoded as PNG, with white and the
// near-white tones around the drawing made transparent.
class Artwork
{
public:
    // A null image when the bytes are not a PNG or the guard refuses them.
    static QImage decode(const QByteArray& png);
};

#endif
