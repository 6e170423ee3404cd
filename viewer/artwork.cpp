#include "viewer/artwork.h"

#include "widgets/guardedimage.h"

namespace {

// White and the near-white tones that surround the artwork.
constexpr QRgb transparentColours[] = {
    qRgb(255, 255, 255), qRgb(255, 254, 254), qRgb(255, 254, 253), qRgb(255, 254, 252), qRgb(254, 254, 254),
    qRgb(254, 255, 255), qRgb(253, 254, 254), qRgb(253, 255, 255), qRgb(255, 255, 254), qRgb(255, 255, 253),
    qRgb(253, 253, 253), qRgb(254, 254, 253), qRgb(254, 254, 251), qRgb(254, 254, 252), qRgb(252, 255, 255),
    qRgb(252, 255, 254), qRgb(254, 255, 254),
};

bool isBackground(QRgb pixel)
{
    for (QRgb colour : transparentColours)
        if (pixel == colour)
            return true;
    return false;
}

} // namespace

QImage Artwork::decode(const QByteArray& png)
{
    QImage image = GuardedImage(png, GuardedImage::Format::Png).image();
    if (image.isNull())
        return image;
    // One pass over the pixels instead of a mask per colour: the same pixels
    // come out transparent, the others keep their alpha.
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (isBackground(line[x]))
                line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}
