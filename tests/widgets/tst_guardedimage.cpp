#include <QtTest>

#include <QImageWriter>
#include <QtEndian>
#include <sys/stat.h>

#include "support/workdir.h"
#include "widgets/guardedimage.h"

using Format = GuardedImage::Format;
using Refusal = GuardedImage::Refusal;

namespace {

QByteArray encoded(const QImage& image, const char* format = "PNG", bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QImage filled(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, format);
    image.fill(qRgb(90, 160, 60));
    return image;
}

} // namespace

class tst_GuardedImage : public QObject
{
    Q_OBJECT

private slots:
    // What the guard lets through decodes as the library decodes it; what
    // claims more than it holds, or more memory or work than the limits
    // allow, is refused before the library sees it.
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Format>("format");
        QTest::addColumn<Refusal>("refusal");
        QImage palette(3, 2, QImage::Format_Indexed8), text = filled(2, 2);
        palette.setColorTable({qRgba(200, 40, 40, 255), qRgba(0, 0, 255, 90)});
        palette.fill(1);
        text.setText("Title", "Mossling");             // tEXt
        text.setText("Description", QString(80, 'z')); // zTXt
        text.setText("Author", "Ζωή");                 // iTXt
        const QByteArray small = encoded(filled(2, 2)), jpeg = encoded(filled(40, 40), "JPEG");
        // Width and height in the PNG header, then in the JPEG frame header.
        const auto sized = [&](const char* hex) { return QByteArray(small).replace(16, 8, QByteArray::fromHex(hex)); };
        const qsizetype frame = jpeg.indexOf("\xff\xc0");
        const auto framed
            = [&](const char* hex) { return QByteArray(jpeg).replace(frame + 5, 4, QByteArray::fromHex(hex)); };
        QTest::newRow("PNG with text") << encoded(text) << Format::PngOrJpeg << Refusal::None;
        QTest::newRow("PNG palette with transparency") << encoded(palette) << Format::Png << Refusal::None;
        for (const char* type : {"tEXt", "zTXt", "iTXt"}) {
            const QByteArray claim = QByteArray("\x80\0\0\0", 4) + type + "Comment";
            QTest::addRow("%s claims 2 GiB before the data", type)
                << QByteArray(small).insert(33, claim) << Format::Png << Refusal::CutShort;
            QTest::addRow("%s claims 2 GiB after the data", type)
                << QByteArray(small).insert(small.size() - 12, claim) << Format::Png << Refusal::CutShort;
        }
        QTest::newRow("PNG cut in its data") << small.left(small.size() - 20) << Format::Png << Refusal::CutShort;
        QTest::newRow("PNG without a header") << small.left(8) + small.mid(33) << Format::Png << Refusal::NoHeader;
        // 67 MiB: past our limit, within the library's.
        QTest::newRow("PNG of 4200x4200")
            << encoded(filled(4200, 4200, QImage::Format_ARGB32)) << Format::Png << Refusal::TooBig;
        QTest::newRow("PNG claims 2^31 x 2^31") << sized("8000000080000000") << Format::Png << Refusal::TooBig;
        QTest::newRow("PNG claims 2000x2000") << sized("000007d0000007d0") << Format::Png << Refusal::TooLittleData;
        QTest::newRow("PNG the library rejects") << sized("0000000300000003") << Format::Png << Refusal::Undecodable;
        QTest::newRow("JPEG") << jpeg << Format::Jpeg << Refusal::None;
        QTest::newRow("progressive JPEG")
            << encoded(filled(40, 40), "JPEG", true) << Format::PngOrJpeg << Refusal::None;
        QTest::newRow("JPEG segment past the end")
            << jpeg.left(jpeg.indexOf("\xff\xc4") + 10) << Format::Jpeg << Refusal::CutShort;
        QTest::newRow("JPEG scan without a frame")
            << QByteArray(jpeg).remove(frame, 2 + qFromBigEndian<quint16>(jpeg.constData() + frame + 2)) << Format::Jpeg
            << Refusal::NoHeader;
        QTest::newRow("JPEG arithmetic coding")
            << QByteArray(jpeg).replace(frame, 2, "\xff\xc9") << Format::Jpeg << Refusal::UnsupportedCoding;
        QTest::newRow("JPEG frame of 5000x5000") << framed("13881388") << Format::Jpeg << Refusal::TooBig;
        QTest::newRow("JPEG frame of 4000x2000") << framed("07d00fa0") << Format::Jpeg << Refusal::TooLittleData;
        QByteArray scans = encoded(filled(512, 512), "JPEG", true);
        const qsizetype last = scans.lastIndexOf("\xff\xda");
        QTest::newRow("JPEG repeats its last scan 100 times")
            << scans.insert(last, scans.mid(last, scans.size() - 2 - last).repeated(100)) << Format::Jpeg
            << Refusal::TooManyScans;
        QTest::newRow("text") << QByteArray("<html>no picture here</html>") << Format::PngOrJpeg
                              << Refusal::WrongFormat;
        QTest::newRow("JPEG as PNG") << jpeg << Format::Png << Refusal::WrongFormat;
        QTest::newRow("PNG as JPEG") << small << Format::Jpeg << Refusal::WrongFormat;
        QTest::newRow("one byte over 8 MiB")
            << small + QByteArray(GuardedImage::maxBytes + 1 - small.size(), '\0') << Format::Png << Refusal::TooLong;
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Format, format);
        QFETCH(Refusal, refusal);
        const GuardedImage picture(bytes, format);
        QCOMPARE(picture.refusal(), refusal);
        QCOMPARE(picture.problem().isEmpty(), refusal == Refusal::None);
        QCOMPARE(picture.image(), refusal == Refusal::None ? QImage::fromData(bytes) : QImage());
        QVERIFY(picture.image().textKeys().isEmpty()); // text chunks never reach the library
    }

    // At most the limit is read, of 64 GiB here; a pipe would block for good.
    void fromFile()
    {
        WorkDir dir;
        QFile big(dir.filePath("big.png"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(qint64(1) << 36) && mkfifo("fifo", 0600) == 0);
        QCOMPARE(GuardedImage::fromFile("big.png").refusal(), Refusal::TooLong);
        QCOMPARE(GuardedImage::fromFile("fifo").problem(), "The file cannot be read: it is not a file.");
    }
};

QTEST_GUILESS_MAIN(tst_GuardedImage)
#include "tst_guardedimage.moc"
