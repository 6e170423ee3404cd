#include <QtTest>

#include <QBuffer>
#include <QtEndian>

#include "viewer/artwork.h"

namespace {

// A 2x2 picture of `colour` with one red pixel, as PNG; `claimed` forges the
// size its header states (with the header's checksum mended, so that the
// decoder takes the claim seriously).
QByteArray png(QRgb colour, QSize claimed = QSize())
{
    QImage art(2, 2, QImage::Format_ARGB32);
    art.fill(colour);
    art.setPixel(0, 0, qRgb(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    art.save(&buffer, "PNG");
    if (claimed.isValid()) {
        uchar* ihdr = reinterpret_cast<uchar*>(bytes.data()) + 12;
        qToBigEndian(quint32(claimed.width()), ihdr + 4);
        qToBigEndian(quint32(claimed.height()), ihdr + 8);
        quint32 crc = 0xffffffffu;
        for (int i = 0; i < 17; ++i) {
            crc ^= ihdr[i];
            for (int bit = 0; bit < 8; ++bit)
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        qToBigEndian(~crc, ihdr + 17);
    }
    return bytes;
}

} // namespace

class tst_Artwork : public QObject
{
    Q_OBJECT

private slots:
    // White and exactly sixteen near-white tones become transparent; the
    // tones next to them and a pixel's own transparency stay.
    void transparency_data()
    {
        QTest::addColumn<QRgb>("colour");
        QTest::addColumn<int>("alpha");
        for (const QRgb colour : {qRgb(255, 255, 255), qRgb(255, 254, 254), qRgb(255, 254, 253), qRgb(255, 254, 252),
                                  qRgb(254, 254, 254), qRgb(254, 255, 255), qRgb(253, 254, 254), qRgb(253, 255, 255),
                                  qRgb(255, 255, 254), qRgb(255, 255, 253), qRgb(253, 253, 253), qRgb(254, 254, 253),
                                  qRgb(254, 254, 251), qRgb(254, 254, 252), qRgb(252, 255, 255), qRgb(252, 255, 254),
                                  qRgb(254, 255, 254)})
            QTest::addRow("%d,%d,%d clears", qRed(colour), qGreen(colour), qBlue(colour)) << colour << 0;
        QTest::newRow("251,255,255 stays") << qRgb(251, 255, 255) << 255;
        QTest::newRow("255,255,252 stays") << qRgb(255, 255, 252) << 255;
        QTest::newRow("half-transparent white keeps its alpha") << qRgba(255, 255, 255, 128) << 128;
    }

    void transparency()
    {
        QFETCH(QRgb, colour);
        QFETCH(int, alpha);
        const QImage shown = Artwork::decode(png(colour));
        QCOMPARE(shown.pixel(0, 0), qRgb(200, 40, 40));
        QCOMPARE(qAlpha(shown.pixel(1, 1)), alpha); // the last pixel too
        if (alpha == 255)
            QCOMPARE(shown.pixel(1, 1), colour);
    }

    // A header may claim any size: nothing near it is allocated.
    void forgedHeaders_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("honest header") << png(qRgb(0, 0, 0), QSize(2, 2)) << true;
        QTest::newRow("claims 60000x60000") << png(qRgb(0, 0, 0), QSize(60000, 60000)) << false;
        QTest::newRow("claims 1x2000000000") << png(qRgb(0, 0, 0), QSize(1, 2000000000)) << false;
        QTest::newRow("cut after the header") << png(qRgb(0, 0, 0)).left(40) << false;
        QTest::newRow("not a PNG") << QByteArray("<html>no picture here</html>") << false;
    }

    void forgedHeaders()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decodes);
        QCOMPARE(!Artwork::decode(bytes).isNull(), decodes);
    }
};

QTEST_GUILESS_MAIN(tst_Artwork)
#include "tst_artwork.moc"
