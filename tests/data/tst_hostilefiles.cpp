#include <QtTest>

#include <QDomDocument>
#include <cerrno>
#include <sys/stat.h>

#include "data/domfile.h"
#include "owners/classowner.h"
#include "support/workdir.h"

namespace {

QByteArray nested(int depth)
{
    return "<owner name=\"Deep\">" + QByteArray("<x>").repeated(depth - 1) + QByteArray("</x>").repeated(depth - 1)
        + "</owner>";
}

} // namespace

// Owner and team files that are broken or built to hurt: each gets a defined
// result, never a crash, a hang or a huge allocation; nor does a full disk.
class tst_HostileFiles : public QObject
{
    Q_OBJECT

private slots:
    // hasRoot() agrees with read(); a FIFO (null content) is refused unopened: opening it would wait for good.
    void storeFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("readsRoot");
        QTest::newRow("plain") << QByteArray("<owner name=\"Ann\"><avatar/></owner>") << true;
        QTest::newRow("a FIFO") << QByteArray() << false;
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
        const QString path = dir.filePath(QStringLiteral("file.xml"));
        QVERIFY(content.isNull() ? mkfifo(qPrintable(path), 0600) == 0 : dir.write("file.xml", content));
        QDomDocument doc;
        QCOMPARE(DomFile::read(path, doc), !content.isNull());
        QCOMPARE(!doc.documentElement().isNull(), readsRoot);
        QCOMPARE(DomFile::hasRoot(path, QStringLiteral("owner")), readsRoot && content.contains("<owner"));
        QVERIFY(!doc.toString().contains(QLatin1String("root:")));
    }

    // Base64 decoding skips what is not base64, at any size.
    void avatars_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("50 MB") << QByteArray(50 * 1024 * 1024, 'A') << QByteArray(50 * 1024 * 1024 / 4 * 3, '\0');
        QTest::newRow("junk characters") << QByteArray("QU*JD\n!!\xC3\xA9RA=\t=") << QByteArray("ABCD");
    }

    void avatars()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        WorkDir dir;
        QVERIFY(dir.write("owners/A.xml", "<owner name=\"A\"><avatar>" + text + "</avatar></owner>"));
        classOwner owner;
        QVERIFY(owner.loadOwner("A.xml"));
        QVERIFY(owner.get_img() == bytes);
    }

    // A write cut short, as on a full disk, leaves the old file whole and
    // says why.
    void shortWriteKeepsOldFile()
    {
        WorkDir dir;
        QVERIFY(dir.write(QStringLiteral("file.xml"), "old"));
        const QStringList before = dir.snapshot();
        QString why;
        QVERIFY(!withFileSizeLimit(4096, [&] { return DomFile::write("file.xml", QByteArray(8192, 'x'), &why); }));
        QCOMPARE(why, qt_error_string(EFBIG));
        QCOMPARE(dir.snapshot(), before);
    }
};

QTEST_GUILESS_MAIN(tst_HostileFiles)
#include "tst_hostilefiles.moc"
