#include <QtTest>

#include "portraits.h"

Q_DECLARE_METATYPE(portraits::Entry)

namespace {

// The viewer shows a portrait unscaled in its 231x231 picture label, which
// reaches over the end of the description (left of x 32) and over the
// evolution and type rows (from y 170 down).
const QSize labelSize(231, 231);
const QRect clearOfText(QPoint(32, 0), QPoint(230, 169));

} // namespace

class tst_GenArtwork : public QObject
{
    Q_OBJECT

private slots:
    void portraitCoversNoText_data()
    {
        QTest::addColumn<portraits::Entry>("entry");
        std::vector<portraits::Entry> entries;
        QString error;
        QVERIFY2(portraits::readEntries(qEnvironmentVariable("FAUNTOME_SOURCE_DIR") + "/sample/faundata.xml", entries,
                                        error),
                 qPrintable(error));
        QVERIFY(!entries.empty());
        for (const portraits::Entry& entry : entries)
            QTest::newRow(qPrintable(entry.name)) << entry;
    }

    void portraitCoversNoText()
    {
        QFETCH(portraits::Entry, entry);
        const QImage picture = portraits::draw(entry).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), labelSize);
        bool drawn = false;
        for (int y = 0; y < picture.height(); ++y) {
            const auto line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                // Exactly white: of the near-white tones only a few become transparent.
                const bool white = line[x] == qRgb(255, 255, 255);
                if (clearOfText.contains(x, y))
                    drawn = drawn || !white;
                else if (!white)
                    QFAIL(qPrintable(QString::asprintf("pixel %d,%d is #%06x", x, y, line[x] & 0xFFFFFFu)));
            }
        }
        QVERIFY(drawn);
    }
};

QTEST_MAIN(tst_GenArtwork)
#include "tst_genartwork.moc"
