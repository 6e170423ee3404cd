#ifndef GUARDEDIMAGE_H
#define GUARDEDIMAGE_H

#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QObject>
#include <QString>

// Every picture from outside the program (downloaded artwork, avatars) is
// decoded here. The image library believes what a file claims: a chunk
// length of 2 GiB is allocated before the bytes behind it are looked for, and
// a few bytes of scans are replayed over the whole image. So the structure is
// walked first, and what claims more than it holds, or more work or memory
// than its size can justify, is refused before the library sees it.
class GuardedImage
{
    Q_GADGET
    Q_DECLARE_TR_FUNCTIONS(GuardedImage)

public:
    enum class Format { PngOrJpeg, Png, Jpeg };
    enum class Refusal {
        None,
        Unreadable,
        TooLong,
        WrongFormat,
        CutShort,
        NoHeader,
        UnsupportedCoding,
        TooBig,
        TooLittleData,
        TooManyScans,
        Undecodable
    };
    Q_ENUM(Format)
    Q_ENUM(Refusal)

    static constexpr qint64 maxBytes = 8 * 1024 * 1024;
    static constexpr qint64 allocationLimitMb = 64;

    explicit GuardedImage(const QByteArray& bytes, Format format = Format::PngOrJpeg);
    // Reads no more than maxBytes + 1 bytes of the file.
    static GuardedImage fromFile(const QString& path, Format format = Format::PngOrJpeg);

    // Null when refused.
    const QImage& image() const { return picture; }
    Refusal refusal() const { return refused; }
    // Why it was refused, as a sentence for a warning box; empty otherwise.
    QString problem() const;

private:
    GuardedImage() = default;
    void decode(const QByteArray& bytes, Format format);

    QImage picture;
    Refusal refused = Refusal::None;
    Format expected = Format::PngOrJpeg;
    QString detail;
};

#endif
