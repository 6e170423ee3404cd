#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/storename.h"
#include "owners/classowner.h"
#include "ownertestfiles.h"
#include "support/workdir.h"

class tst_classOwner : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sexe");
        QTest::addColumn<QSize>("picture");
        QTest::newRow("plain, no avatar") << "Ann" << "masculin" << QSize();
        QTest::newRow("accents and spaces") << "Zoë Ångström" << "feminin" << QSize(16, 12);
        QTest::newRow("CJK letters") << "王小明" << "masculin" << QSize(8, 8);
        QTest::newRow("markup characters") << "O'Hara & <Co> \"x\"" << "feminin" << QSize(3, 5);
        QTest::newRow("200 characters") << QString(200, QLatin1Char('n')) << "masculin" << QSize(4, 4);
    }

    void roundTrip()
    {
        QFETCH(QString, name);
        QFETCH(QString, sexe);
        QFETCH(QSize, picture);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        const QString path = picture.isEmpty() ? QString() : writePicture(dir.filePath("p.png"), picture.width(), picture.height());
        classOwner written;
        QVERIFY2(written.updateOwner(name, sexe, "DTC", path), qPrintable(written.lastError()));
        QCOMPARE(written.get_img(), picture.isEmpty() ? QByteArray() : jpegOf(pattern(picture.width(), picture.height())));

        classOwner read;
        QVERIFY(read.loadOwner(name + ".xml"));
        QCOMPARE(read.get_name(), name);
        QCOMPARE(read.get_sexe(), sexe);
        QCOMPARE(read.get_loc(), QStringLiteral("DTC"));
        QCOMPARE(read.get_img(), written.get_img());
        QCOMPARE(read.get_file(), QString());
    }

    void fileLayout_data()
    {
        QTest::addColumn<bool>("withPicture");
        QTest::newRow("avatar bytes on one line") << true;
        QTest::newRow("empty avatar element") << false;
    }

    void fileLayout()
    {
        QFETCH(bool, withPicture);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        classOwner owner;
        QVERIFY(owner.updateOwner("Zoë", "feminin", "DTC", withPicture ? writePicture(dir.filePath("p.png"), 40, 30) : QString()));
        const QByteArray bytes = bytesOf(dir.filePath("owners/Zoë.xml"));
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines.last(), QByteArray());
        const QRegularExpression doctype(
            "^<!DOCTYPE owners PUBLIC ([\"'])-//Tarvel//DTC Owners 1\\.0 //FR\\1 ([\"'])http://[^\"' ]+\\2>$");
        QVERIFY2(doctype.match(QString::fromUtf8(lines[0])).hasMatch(), lines[0]);
        QVERIFY(lines[1].startsWith("<owner "));
        for (const QByteArray attribute : {"name=\"Zoë\"", "sexe=\"feminin\"", "loc=\"DTC\""})
            QVERIFY2(lines[1].contains(attribute), lines[1]);
        const QByteArray avatar = withPicture ? " <avatar>" + jpegOf(pattern(40, 30)).toBase64() + "</avatar>" : " <avatar/>";
        QCOMPARE(lines[2], avatar);
        QCOMPARE(lines[3], QByteArray("</owner>"));
    }

    void avatarKeptWhenPathNamesNoPicture_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("marker text") << "innerXMLfile";
        QTest::newRow("empty path") << "";
        QTest::newRow("missing file") << "gone.png";
        QTest::newRow("not a picture") << "notes.png";
    }

    void avatarKeptWhenPathNamesNoPicture()
    {
        QFETCH(QString, path);
        workdir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("notes.png", "just text"));
        QVERIFY(classOwner().updateOwner("Ann", "masculin", "DTC", writePicture(dir.filePath("p.png"), 20, 20)));
        const QByteArray before = bytesOf(dir.filePath("owners/Ann.xml"));

        classOwner owner;
        QVERIFY(owner.loadOwner("Ann.xml"));
        QVERIFY(owner.updateOwner("Ann", "masculin", "DTC", path));
        QCOMPARE(owner.get_img(), jpegOf(pattern(20, 20)));
        QCOMPARE(bytesOf(dir.filePath("owners/Ann.xml")), before);
    }

    void avatarReplacedBySmallerPicture()
    {
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        classOwner owner;
        QVERIFY(owner.updateOwner("Ann", "masculin", "DTC", writePicture(dir.filePath("big.png"), 64, 64)));
        QVERIFY(owner.updateOwner("Ann", "feminin", "DTC", writePicture(dir.filePath("small.png"), 6, 4)));
        QCOMPARE(owner.get_img(), jpegOf(pattern(6, 4)));
        classOwner read;
        QVERIFY(read.loadOwner("Ann.xml"));
        QCOMPARE(read.get_img(), jpegOf(pattern(6, 4)));
        QCOMPARE(read.get_sexe(), QStringLiteral("feminin"));
    }

    void addOwnerRefusesExistingFile()
    {
        workdir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("owners/Ann.xml", "earlier bytes"));
        classOwner owner;
        QVERIFY(!owner.addOwner("Ann", "feminin", "DTC", QString()));
        QVERIFY(!owner.lastError().isEmpty());
        QCOMPARE(bytesOf(dir.filePath("owners/Ann.xml")), QByteArray("earlier bytes"));
        QVERIFY(owner.addOwner("Bea", "feminin", "DTC", QString()));
        QVERIFY(owner.lastError().isEmpty());
    }

    void missingAttributesReadAsNoname_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("no sexe") << QByteArray("<owner name=\"Ann\" loc=\"DTC\"><avatar/></owner>")
                                 << QStringList{"Ann", "noname", "DTC"};
        QTest::newRow("no name, no avatar") << QByteArray("<owner sexe=\"feminin\" loc=\"x\"/>")
                                            << QStringList{"noname", "feminin", "x"};
        QTest::newRow("bare root") << QByteArray("<owner/>") << QStringList{"noname", "noname", "noname"};
        QTest::newRow("not XML reads nothing") << QByteArray("<<<") << QStringList{"", "", ""};
    }

    void missingAttributesReadAsNoname()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        workdir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("owners/f.xml", content));
        classOwner owner;
        QVERIFY(owner.loadOwner("f.xml"));
        QCOMPARE((QStringList{owner.get_name(), owner.get_sexe(), owner.get_loc()}), expected);
        QCOMPARE(owner.get_img(), QByteArray());
    }

    void byNameConstructorTracesWhatItRead()
    {
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(classOwner().updateOwner("Zoë", "feminin", "DTC", writePicture(dir.filePath("p.png"), 5, 5)));
        QTest::ignoreMessage(QtDebugMsg, "\"Zoë\" = \"feminin\" = \"DTC\"\n");
        const classOwner owner(QStringLiteral("Zoë"));
        QCOMPARE(owner.get_name(), QStringLiteral("Zoë"));
        QCOMPARE(owner.get_img(), jpegOf(pattern(5, 5)));
        QCOMPARE(classOwner(QStringLiteral("Nobody")).get_name(), QString());
    }

    void deleteOwnerReportsRemoval()
    {
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        classOwner owner;
        QVERIFY(!owner.deleteOwner("Ann"));
        QVERIFY(owner.updateOwner("Ann", "masculin", "DTC", QString()));
        QVERIFY(owner.deleteOwner("Ann"));
        QVERIFY(!QFile::exists(dir.filePath("owners/Ann.xml")));
    }

    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("file size limit") << "limit";
        QTest::newRow("directory in the way") << "directory";
        QTest::newRow("missing folder") << "no folder";
    }

    void failedWriteKeepsOldFile()
    {
        QFETCH(QString, how);
        workdir dir;
        const QString big = writePicture(dir.filePath("big.png"), 128, 128);
        if (how != "no folder")
            QVERIFY(dir.makeStoreDirs());
        if (how == "limit")
            QVERIFY(classOwner().updateOwner("Ann", "masculin", "DTC", QString()));
        if (how == "directory")
            QVERIFY(QDir(dir.path()).mkpath("owners/Ann.xml/inside"));
        const QStringList before = listing(dir.path());
        const QByteArray oldBytes = bytesOf(dir.filePath("owners/Ann.xml"));

        if (how == "limit") {
            // Root ignores folder permissions; a file-size limit still bites.
            const pid_t child = fork();
            if (child == 0) {
                std::signal(SIGXFSZ, SIG_IGN);
                rlimit limit{};
                getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = 64;
                setrlimit(RLIMIT_FSIZE, &limit);
                classOwner owner;
                const bool refused = !owner.updateOwner("Ann", "feminin", "DTC", big) && !owner.lastError().isEmpty();
                _exit(refused ? 0 : 1);
            }
            int status = -1;
            QCOMPARE(waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        } else {
            classOwner owner;
            QVERIFY(!owner.updateOwner("Ann", "feminin", "DTC", big));
            QVERIFY(!owner.lastError().isEmpty());
        }
        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(bytesOf(dir.filePath("owners/Ann.xml")), oldBytes);
    }

    void unsafeNamesRefused_data() { addUnsafeNameRows(); }

    void unsafeNamesRefused()
    {
        QFETCH(QString, name);
        workdir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("victim.xml", "keep") && dir.write("owners/.hidden.xml", "keep"));
        const QStringList before = listing(dir.path());
        classOwner owner;
        QVERIFY(!owner.addOwner(name, "masculin", "DTC", QString()));
        QCOMPARE(owner.lastError(), storename::problem(name));
        QVERIFY(!owner.updateOwner(name, "masculin", "DTC", QString()));
        QVERIFY(!owner.deleteOwner(name));
        QCOMPARE(owner.lastError(), storename::problem(name));
        QCOMPARE(owner.get_name(), QString());
        QCOMPARE(listing(dir.path()), before);
        QCOMPARE(bytesOf(dir.filePath("victim.xml")), QByteArray("keep"));
    }
};

QTEST_GUILESS_MAIN(tst_classOwner)
#include "tst_classowner.moc"
