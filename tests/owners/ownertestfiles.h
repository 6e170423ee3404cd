#ifndef OWNERTESTFILES_H
#define OWNERTESTFILES_H

#include <QImage>
#include <QtTest>

inline QImage pattern(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x ^ y) % 256));
    return image;
}

// The avatar the store must hold for a picture of this size; none for an
// invalid size.
inline QByteArray jpegOf(QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (size.isValid() && buffer.open(QIODevice::WriteOnly))
        pattern(size).save(&buffer, "JPEG");
    return bytes;
}

inline QString writePicture(const QString& path, QSize size)
{
    pattern(size).save(path, "PNG");
    return path;
}

#endif
