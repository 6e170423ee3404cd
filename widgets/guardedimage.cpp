#include "widgets/guardedimage.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>
#include <cstring>
#include <vector>

namespace {

using Refusal = GuardedImage::Refusal;

constexpr quint64 limitBytes = quint64(GuardedImage::allocationLimitMb) * 1024 * 1024;
// No deflate stream inflates to more than 1032 times its size.
constexpr quint64 maxInflateRatio = 1032;
// A progressive scan may code its blocks in next to no bits, yet the library
// visits every block of every scan; encoders pass over each block about six
// times.
constexpr quint64 maxPasses = 16;

const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
const QByteArray jpegSignature("\xff\xd8", 2);

// What the image library is given: the bytes it needs, or why none.
struct Checked
{
    Refusal refusal = Refusal::None;
    QByteArray bytes;
};

quint64 divUp(quint64 a, quint64 b)
{
    return (a + b - 1) / b;
}

Checked checkPng(const QByteArray& in)
{
    Checked out{Refusal::None, pngSignature};
    out.bytes.reserve(in.size());
    const char* p = in.constData();
    qsizetype at = pngSignature.size();
    bool header = false;
    quint64 claimed = 0; // bytes of pixels the header announces
    quint64 held = 0;    // compressed bytes of image data
    while (at < in.size()) {
        if (in.size() - at < 12)
            return {Refusal::CutShort, {}};
        const quint64 length = qFromBigEndian<quint32>(p + at);
        if (length > quint64(in.size() - at - 12))
            return {Refusal::CutShort, {}};
        const QByteArrayView type(p + at + 4, 4);
        const uchar* data = reinterpret_cast<const uchar*>(p + at + 8);
        if (!header) {
            if (type != "IHDR" || length != 13)
                return {Refusal::NoHeader, {}};
            header = true;
            const quint64 width = qFromBigEndian<quint32>(data);
            const quint64 height = qFromBigEndian<quint32>(data + 4);
            const int depth = data[8];
            const int channels = data[9] == 2 ? 3 : data[9] == 4 ? 2 : data[9] == 6 ? 4 : 1;
            // Shown as 32-bit pixels; 16-bit samples are read as 64-bit ones.
            const quint64 pixelBytes = depth > 8 ? 8 : 4;
            if (width > limitBytes || height > limitBytes || width * height * pixelBytes > limitBytes)
                return {Refusal::TooBig, {}};
            claimed = width * height * quint64(depth * channels) / 8;
        }
        // Text, colour profiles and the like are ancillary chunks (lower-case
        // first letter), often compressed, and change no pixel; of those only
        // transparency is kept. Empty image chunks cost the library a call
        // each and hold nothing.
        if ((!(type[0] & 0x20) && (type != "IDAT" || length > 0)) || type == "tRNS")
            out.bytes.append(p + at, qsizetype(12 + length));
        if (type == "IDAT")
            held += length;
        at += qsizetype(12 + length);
        if (type == "IEND")
            break;
    }
    if (!header)
        return {Refusal::NoHeader, {}};
    if (held * maxInflateRatio < claimed)
        return {Refusal::TooLittleData, {}};
    return out;
}

struct JpegComponent
{
    int id = 0;
    quint64 h = 1;
    quint64 v = 1;
};

// The entropy-coded data of a scan runs up to the first marker that is
// neither a stuffed zero nor a restart.
qsizetype scanEnd(const uchar* p, qsizetype size, qsizetype at)
{
    while (at < size) {
        const void* ff = std::memchr(p + at, 0xff, size_t(size - at));
        if (!ff)
            return size;
        at = static_cast<const uchar*>(ff) - p;
        if (at + 1 < size && p[at + 1] != 0 && (p[at + 1] < 0xd0 || p[at + 1] > 0xd7))
            return at;
        at += 2;
    }
    return size;
}

Checked checkJpeg(const QByteArray& in)
{
    const uchar* p = reinterpret_cast<const uchar*>(in.constData());
    const qsizetype size = in.size();
    std::vector<JpegComponent> frame;
    quint64 width = 0, height = 0, hMax = 1, vMax = 1;
    bool progressive = false;
    quint64 scans = 0, visits = 0, entropy = 0;
    qsizetype at = jpegSignature.size();
    const auto blocksAcross = [&](const JpegComponent& c) { return divUp(divUp(width * c.h, hMax), 8); };
    const auto blocksDown = [&](const JpegComponent& c) { return divUp(divUp(height * c.v, vMax), 8); };
    while (at < size) {
        // Stray bytes and fill bytes before a marker are skipped, as the
        // library does.
        if (p[at++] != 0xff)
            continue;
        while (at < size && p[at] == 0xff)
            ++at;
        if (at == size)
            break;
        const uchar marker = p[at++];
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xd0 && marker <= 0xd8))
            continue;
        if (marker == 0xd9)
            break;
        const qsizetype length = size - at < 2 ? 0 : qFromBigEndian<quint16>(p + at);
        if (length < 2 || length > size - at)
            return {Refusal::CutShort, {}};
        const uchar* segment = p + at + 2;
        const qsizetype held = length - 2;
        at += length;
        if (marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc) {
            // Arithmetic, lossless and hierarchical coding: not what the
            // program writes, and not bounded by the rules below.
            if (marker > 0xc2)
                return {Refusal::UnsupportedCoding, {}};
            if (!frame.empty())
                continue; // the library refuses a second frame itself
            if (held < 6 || held < 6 + 3 * segment[5])
                return {Refusal::CutShort, {}};
            height = qFromBigEndian<quint16>(segment + 1);
            width = qFromBigEndian<quint16>(segment + 3);
            progressive = marker == 0xc2;
            for (int i = 0; i < segment[5]; ++i) {
                const uchar* c = segment + 6 + 3 * i;
                frame.push_back({c[0], quint64(qBound(1, c[1] >> 4, 4)), quint64(qBound(1, c[1] & 15, 4))});
                hMax = qMax(hMax, frame.back().h);
                vMax = qMax(vMax, frame.back().v);
            }
        } else if (marker == 0xda) {
            if (held < 1 || held < 1 + 2 * segment[0])
                return {Refusal::CutShort, {}};
            ++scans;
            const quint64 mcus = divUp(width, 8 * hMax) * divUp(height, 8 * vMax);
            for (int i = 0; i < segment[0]; ++i)
                for (const JpegComponent& c : frame)
                    if (c.id == segment[1 + 2 * i])
                        visits += segment[0] == 1 ? blocksAcross(c) * blocksDown(c) : mcus * c.h * c.v;
            const qsizetype start = at;
            at = scanEnd(p, size, at);
            entropy += quint64(at - start);
        }
    }
    if (frame.empty())
        return {Refusal::NoHeader, {}};
    // The whole image's coefficients are kept when it comes in several scans.
    quint64 needed = width * height * 4, blocks = 0;
    for (const JpegComponent& c : frame) {
        blocks += blocksAcross(c) * blocksDown(c);
        if (progressive || scans > 1)
            needed += divUp(width, 8 * hMax) * c.h * divUp(height, 8 * vMax) * c.v * 64 * sizeof(short);
    }
    if (needed > limitBytes)
        return {Refusal::TooBig, {}};
    // Every block is coded in at least one bit.
    if (entropy * 8 < blocks)
        return {Refusal::TooLittleData, {}};
    if (visits > maxPasses * blocks)
        return {Refusal::TooManyScans, {}};
    return {Refusal::None, in};
}

} // namespace

GuardedImage::GuardedImage(const QByteArray& bytes, Format format)
{
    decode(bytes, format);
}

GuardedImage GuardedImage::fromFile(const QString& path, Format format)
{
    GuardedImage result;
    result.expected = format;
    QFile file(path);
    // A pipe or a device could be read forever.
    if (!QFileInfo(path).isFile()) {
        result.refused = Refusal::Unreadable;
        result.detail = QFileInfo::exists(path) ? tr("it is not a file") : tr("it does not exist");
    } else if (!file.open(QIODevice::ReadOnly)) {
        result.refused = Refusal::Unreadable;
        result.detail = file.errorString();
    } else {
        const QByteArray bytes = file.read(maxBytes + 1);
        if (file.error() != QFileDevice::NoError) {
            result.refused = Refusal::Unreadable;
            result.detail = file.errorString();
        } else
            result.decode(bytes, format);
    }
    return result;
}

void GuardedImage::decode(const QByteArray& bytes, Format format)
{
    expected = format;
    Checked checked;
    const char* library = nullptr;
    if (bytes.size() > maxBytes)
        checked.refusal = Refusal::TooLong;
    else if (format != Format::Jpeg && bytes.startsWith(pngSignature)) {
        checked = checkPng(bytes);
        library = "PNG";
    } else if (format != Format::Png && bytes.startsWith(jpegSignature)) {
        checked = checkJpeg(bytes);
        library = "JPEG";
    } else
        checked.refusal = Refusal::WrongFormat;
    refused = checked.refusal;
    if (refused != Refusal::None)
        return;
    QBuffer buffer(&checked.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, library);
    picture = reader.read();
    if (picture.isNull()) {
        refused = Refusal::Undecodable;
        detail = reader.errorString();
    }
}

QString GuardedImage::problem() const
{
    switch (refused) {
    case Refusal::None:
        return QString();
    case Refusal::Unreadable:
        return tr("The file cannot be read: %1.").arg(detail);
    case Refusal::TooLong:
        return tr("The picture is larger than %1 MiB.").arg(maxBytes / 1024 / 1024);
    case Refusal::WrongFormat:
        return expected == Format::Png ? tr("It is not a PNG picture.")
            : expected == Format::Jpeg ? tr("It is not a JPEG picture.")
                                       : tr("It is neither a PNG nor a JPEG picture.");
    case Refusal::CutShort:
        return tr("The picture claims more data than it holds.");
    case Refusal::NoHeader:
        return tr("The picture has no valid header.");
    case Refusal::UnsupportedCoding:
        return tr("The picture uses a JPEG coding that is not supported.");
    case Refusal::TooBig:
        return tr("The picture would need more than %1 MB of memory.").arg(allocationLimitMb);
    case Refusal::TooLittleData:
        return tr("The picture holds too little data for its size.");
    case Refusal::TooManyScans:
        return tr("The picture has too many scans.");
    case Refusal::Undecodable:
        return tr("The picture cannot be decoded: %1.").arg(detail);
    }
    return QString();
}
