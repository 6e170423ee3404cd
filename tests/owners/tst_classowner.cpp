#include <QtTest>

#include "data/storename.h"
#include "owners/classowner.h"
#include "ownertestfiles.h"
#include "support/workdir.h"

class tst_classOwner : public QObject
{
    Q_OBJECT

private slots:
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
        QTest::newRow("empty path keeps the avatar") << "Ann" << old << "" << old;
        QTest::newRow("missing file keeps the avatar") << "Ann" << old << "gone.png" << old;
        QTest::newRow("text file keeps the avatar") << "Ann" << old << "notes.png" << old;
    }

    void saveReadsBack()
    {
        QFETCH(QString, name);
        QFETCH(QSize, before);
        QFETCH(QString, path);
        QFETCH(QSize, after);
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("notes.png", "just text"));
        writePicture(dir.filePath("new.png"), QSize(6, 4));
        classOwner owner;
        if (before.isValid()) {
            QVERIFY(classOwner().updateOwner(name, "masculin", "DTC", writePicture(dir.filePath("old.png"), before)));
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

    void addRefusesExistingFileAndDeleteReports()
    {
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("owners/Ann.xml", "earlier bytes"));
        const QStringList before = dir.snapshot();
        classOwner owner;
        QVERIFY(!owner.addOwner("Ann", "feminin", "DTC", QString()));
        QVERIFY(!owner.lastError().isEmpty());
        QCOMPARE(dir.snapshot(), before);
        QVERIFY(owner.addOwner("Bea", "feminin", "DTC", QString()));
        QVERIFY(owner.lastError().isEmpty());
        QVERIFY(owner.deleteOwner("Bea"));
        QVERIFY(!owner.deleteOwner("Bea"));
        QCOMPARE(dir.snapshot(), before);
    }

    void missingAttributesReadAsNoname()
    {
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("owners/f.xml", "<owner/>"));
        classOwner owner;
        QVERIFY(owner.loadOwner("f.xml"));
        QCOMPARE((QStringList{owner.get_name(), owner.get_sexe(), owner.get_loc()}),
                 (QStringList{"noname", "noname", "noname"}));
        QCOMPARE(owner.get_img(), QByteArray());
    }

    void unsafeNamesRefused_data()
    {
        QTest::addColumn<QString>("name");
        for (const auto& [row, name] : unsafeNames())
            QTest::newRow(row) << name;
    }

    void unsafeNamesRefused()
    {
        QFETCH(QString, name);
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("victim.xml", "keep"));
        const QStringList before = dir.snapshot();
        classOwner owner;
        QVERIFY(!owner.addOwner(name, "masculin", "DTC", QString()));
        QCOMPARE(owner.lastError(), StoreName::problem(name));
        QVERIFY(!owner.updateOwner(name, "masculin", "DTC", QString()));
        QCOMPARE(owner.lastError(), StoreName::problem(name));
        QVERIFY(!owner.deleteOwner(name));
        QCOMPARE(owner.lastError(), StoreName::problem(name));
        // Nor may a file name given to the loader lead out of ./owners.
        QVERIFY(!owner.loadOwner(name + ".xml"));
        QCOMPARE(owner.get_name(), QString());
        QCOMPARE(dir.snapshot(), before);
    }
};

QTEST_GUILESS_MAIN(tst_classOwner)
#include "tst_classowner.moc"
