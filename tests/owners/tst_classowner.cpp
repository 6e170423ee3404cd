#include <QtTest>

#include "data/storename.h"
#include "owners/classowner.h"
#include "ownertestfiles.h"
#include "support/workdir.h"

class tst_classOwner : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir;

private slots:
    void init()
    {
        dir = std::make_unique<WorkDir>();
        writePicture(dir->filePath("new.png"), QSize(6, 4));
        pattern(QSize(6, 4)).save(dir->filePath("new.bmp"));
    }

    void cleanup() { dir.reset(); }

    void saveReadsBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("before"); // avatar already on file; invalid: no file yet
        QTest::addColumn<QString>("path"); // what the save names as the picture
        QTest::addColumn<QSize>("after");
        const QSize none, old(64, 64), small(6, 4);
        QTest::newRow("accents and spaces") << "Zoë Ångström" << none << "new.png" << small;
        QTest::newRow("empty avatar") << "Ann" << none << "" << none;
        QTest::newRow("markup characters") << "O'Hara & <Co> \"x\"" << none << "new.png" << small;
        QTest::newRow("200 characters") << QString(200, QLatin1Char('n')) << none << "" << none;
        QTest::newRow("smaller picture replaces the avatar") << "Ann" << old << "new.png" << small;
        QTest::newRow("innerXMLfile keeps the avatar") << "Ann" << old << "innerXMLfile" << old;
        QTest::newRow("BMP keeps the avatar") << "Ann" << old << "new.bmp" << old; // PNG and JPEG only
    }

    void saveReadsBack()
    {
        QFETCH(QString, name);
        QFETCH(QSize, before);
        QFETCH(QString, path);
        QFETCH(QSize, after);
        classOwner owner;
        if (before.isValid()) {
            QVERIFY(classOwner().updateOwner(name, "masculin", "DTC", writePicture(dir->filePath("old.png"), before)));
            QVERIFY(owner.loadOwner(name + ".xml"));
        }
        QVERIFY2(owner.updateOwner(name, "feminin", "DTC", path), qPrintable(owner.lastError()));
        QCOMPARE(owner.get_img(), jpegOf(after));
        classOwner read;
        QVERIFY(read.loadOwner(name + ".xml"));
        QCOMPARE((QStringList{read.get_name(), read.get_sexe(), read.get_loc(), read.get_file()}),
                 (QStringList{name, "feminin", "DTC", QString()}));
        QCOMPARE(read.get_img(), jpegOf(after));
    }

    // Add never replaces, delete reports the removal itself, and no
    // operation lets a name lead out of the owners folder.
    void fileRules()
    {
        QVERIFY(dir->write("owners/Ann.xml", "earlier bytes") && dir->write("victim.xml", "keep"));
        const QStringList before = dir->snapshot();
        classOwner owner;
        QVERIFY(!owner.addOwner("Ann", "feminin", "DTC", QString()));
        QVERIFY(!owner.lastError().isEmpty());
        QVERIFY(owner.addOwner("Bea", "feminin", "DTC", QString()));
        QVERIFY(owner.lastError().isEmpty());
        QVERIFY(owner.deleteOwner("Bea"));
        QVERIFY(!owner.deleteOwner("Bea"));
        const QString out = "../victim";
        QVERIFY(!owner.addOwner(out, "masculin", "DTC", QString()) && owner.lastError() == StoreName::problem(out));
        QVERIFY(!owner.updateOwner(out, "masculin", "DTC", QString()) && !owner.lastError().isEmpty());
        QVERIFY(!owner.deleteOwner(out) && !owner.lastError().isEmpty());
        QVERIFY(!owner.loadOwner(out + ".xml") && !owner.lastError().isEmpty());
        QCOMPARE(dir->snapshot(), before);
    }

    void missingAttributesReadAsNoname()
    {
        QVERIFY(dir->write("owners/f.xml", "<owner/>"));
        classOwner owner;
        QVERIFY(owner.loadOwner("f.xml"));
        QCOMPARE((QStringList{owner.get_name(), owner.get_sexe(), owner.get_loc()}),
                 (QStringList{"noname", "noname", "noname"}));
        QCOMPARE(owner.get_img(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(tst_classOwner)
#include "tst_classowner.moc"
