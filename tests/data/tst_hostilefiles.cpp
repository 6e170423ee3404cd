#include <QtTest>

#include <QDomDocument>
#include <QImage>
#include <QtEndian>

#include "data/domfile.h"
#include "data/faunlet.h"
#include "owners/classowner.h"
#include "support/capture.h"
#include "support/workdir.h"
#include "teams/classteam.h"
#include "viewer/artwork.h"

namespace {

QByteArray nested(int depth)
{
    return "<owner name=\"Deep\">" + QByteArray("<x>").repeated(depth - 1) + QByteArray("</x>").repeated(depth - 1)
        + "</owner>";
}

// A real PNG whose header claims another size, with the header's checksum
// mended so the decoder takes the claim seriously.
QByteArray forgedPng(quint32 width, quint32 height)
{
    QImage small(4, 4, QImage::Format_RGB32);
    small.fill(Qt::white);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    small.save(&buffer, "PNG");
    uchar* ihdr = reinterpret_cast<uchar*>(png.data()) + 12;
    qToBigEndian(width, ihdr + 4);
    qToBigEndian(height, ihdr + 8);
    quint32 crc = 0xffffffffu;
    for (int i = 0; i < 17; ++i) {
        crc ^= ihdr[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    qToBigEndian(~crc, ihdr + 17);
    return png;
}

} // namespace

// Owner and team files and downloaded pictures that are broken or built to
// hurt: each gets a defined result, never a crash, a hang or a huge
// allocation, and nothing is written outside the store folders.
class tst_HostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void storeFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("readsRoot");
        QTest::newRow("plain") << QByteArray("<owner name=\"Ann\"><avatar/></owner>") << true;
        QTest::newRow("nested to the limit") << nested(DomFile::maxDepth) << true;
        QTest::newRow("nested one past the limit") << nested(DomFile::maxDepth + 1) << false;
        QTest::newRow("nested 300000 deep") << nested(300000) << false;
        QTest::newRow("never closed") << QByteArray("<owner name=\"Ann\"><avatar>QUJD") << false;
        QTest::newRow("invalid UTF-8") << QByteArray("<owner name=\"A\xC3\x28n\"/>") << false;
        QTest::newRow("exponential entities")
            << QByteArray("<!DOCTYPE owner [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                          "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                          "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]><owner name=\"&e;\"/>")
            << false;
        QTest::newRow("external entity is not fetched")
            << QByteArray("<!DOCTYPE owner [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><owner name=\"A\">&x;</owner>")
            << true;
    }

    void storeFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, readsRoot);
        WorkDir dir;
        QVERIFY(dir.write(QStringLiteral("file.xml"), content));
        QDomDocument doc;
        QVERIFY(DomFile::read(dir.filePath(QStringLiteral("file.xml")), doc));
        QCOMPARE(!doc.documentElement().isNull(), readsRoot);
        QVERIFY(!doc.toString().contains(QLatin1String("root:")));
    }

    void hugeAvatarText()
    {
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs());
        const QByteArray avatar = QByteArray(50 * 1024 * 1024, 'A');
        QVERIFY(
            dir.write(QStringLiteral("owners/Big.xml"), "<owner name=\"Big\"><avatar>" + avatar + "</avatar></owner>"));
        classOwner owner;
        QVERIFY(owner.loadOwner(QStringLiteral("Big.xml")));
        QCOMPARE(owner.get_img().size(), avatar.size() / 4 * 3);
    }

    void avatarWithJunkCharacters()
    {
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write(QStringLiteral("owners/Bo.xml"),
                          "<owner name=\"Bo\"><avatar>QU*JD\n!!\xC3\xA9RA=\t=</avatar></owner>"));
        classOwner owner;
        QVERIFY(owner.loadOwner(QStringLiteral("Bo.xml")));
        QCOMPARE(owner.get_img(), QByteArray("ABCD"));
    }

    void teamNumbersOutOfRange()
    {
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.writeData(creature(1, "MOSSLING")));
        QVERIFY(dir.write(QStringLiteral("teams/T.xml"),
                          "<team name=\"T\" owner=\"Ann\"><faunlet name=\"MOSSLING\" level=\"99999999999\" "
                          "experience=\"-2147483649\" health=\"2147483647\" id=\"-1\"/></team>"));
        Capture err(2);
        classTeam team;
        QVERIFY(team.loadTeam(QStringLiteral("T.xml")));
        QCOMPARE(team.getFaunlets().size(), 1);
        std::unique_ptr<Faunlet> loaded(team.getFaunlets().first());
        QCOMPARE(loaded->getLevel(), 0);
        QCOMPARE(loaded->getExperience(), 0);
        QCOMPARE(loaded->getHealth(), 2147483647);
        QCOMPARE(loaded->getId(), -1);
    }

    void forgedPictureHeaders_data()
    {
        QTest::addColumn<QByteArray>("png");
        QTest::addColumn<bool>("decodes");
        QTest::newRow("honest header") << forgedPng(4, 4) << true;
        QTest::newRow("claims 60000x60000") << forgedPng(60000, 60000) << false;
        QTest::newRow("claims 1x2000000000") << forgedPng(1, 2000000000) << false;
        QTest::newRow("cut after the header") << forgedPng(4, 4).left(40) << false;
    }

    void forgedPictureHeaders()
    {
        QFETCH(QByteArray, png);
        QFETCH(bool, decodes);
        QCOMPARE(!Artwork::decode(png).isNull(), decodes);
    }
};

QTEST_GUILESS_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
