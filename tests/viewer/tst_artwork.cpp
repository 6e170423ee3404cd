#include <QtTest>

#include <QBuffer>

#include "viewer/artwork.h"

namespace {

QByteArray encoded(const QImage& image, const char* format = "PNG")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
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
        for (const QRgb colour :
             {qRgb(255, 255, 255), qRgb(255, 254, 254), qRgb(255, 254, 253), qRgb(255, 254, 252), qRgb(254, 254, 254),
              qRgb(254, 255, 255), qRgb(253, 254, 254), qRgb(253, 255, 255), qRgb(255, 255, 254), qRgb(255, 255, 253),
              qRgb(253, 253, 253), qRgb(254, 254, 253), qRgb(254, 254, 251), qRgb(254, 254, 252), qRgb(252, 255, 255),
              qRgb(252, 255, 254), qRgb(254, 255, 254)})
            QTest::addRow("%d,%d,%d clears", qRed(colour), qGreen(colour), qBlue(colour)) << colour << 0;
        QTest::newRow("251,255,255 stays") << qRgb(251, 255, 255) << 255;
        QTest::newRow("255,255,252 stays") << qRgb(255, 255, 252) << 255;
        QTest::newRow("half-transparent white keeps its alpha") << qRgba(255, 255, 255, 128) << 128;
    }

    void transparency()
    {
        QFETCH(QRgb, colour);
        QFETCH(int, alpha);
        QImage art(2, 2, QImage::Format_ARGB32);
        art.fill(colour);
        art.setPixel(0, 0, qRgb(200, 40, 40));
        const QImage shown = Artwork::decode(encoded(art));
        QCOMPARE(shown.pixel(0, 0), qRgb(200, 40, 40));
        QCOMPARE(qAlpha(shown.pixel(1, 1)), alpha); // the last pixel too
        if (alpha == 255)
            QCOMPARE(shown.pixel(1, 1), colour);
    }

    // Replies are taken as PNG only, and through the guard: a picture that
    // would take 67 MiB once shown, not 2 MiB as read, shows nothing.
    void refused()
    {
        QImage small(2, 2, QImage::Format_RGB32), big(4200, 4200, QImage::Format_Mono);
        small.fill(0);
        big.fill(0);
        QVERIFY(Artwork::decode(encoded(small, "JPEG")).isNull());
        QVERIFY(Artwork::decode(encoded(big)).isNull());
    }
};

QTEST_GUILESS_MAIN(tst_Artwork)
#include "tst_artwork.moc"
