#include <QtTest>
#include <memory>

#include "data/faunlet.h"
#include "data/xml.h"
#include "faundatagen.h"
#include "support/capture.h"
#include "support/workdir.h"

const QByteArray kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// Files a user may copy around that are broken or built to hurt: each gets a
// defined outcome, never a crash, a hang or an outsized allocation.
class tst_HostileXml : public QObject
{
    Q_OBJECT

private slots:
    void hostileFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("reportsError");

        const QByteArray a = creature(1, "ALPHA");
        const QByteArray b = creature(2, "BRAVO");
        const QByteArray deep = QByteArray("<x>").repeated(200000);
        QTest::newRow("deeply nested junk between creatures")
            << kHead + "<fauntome>" + a + deep + QByteArray("</x>").repeated(200000) + b + "</fauntome>"
            << QStringList{"ALPHA", "BRAVO"} << false;
        QTest::newRow("deep nesting never closed")
            << kHead + "<fauntome>" + a + QByteArray("<x>").repeated(500000) << QStringList{"ALPHA"} << true;
        QTest::newRow("internal entity expands inside the document")
            << "<!DOCTYPE fauntome [<!ENTITY e \"EMBER\">]><fauntome>" + creature(1, "&e;LISK") + "</fauntome>"
            << QStringList{"EMBERLISK"} << false;
        QTest::newRow("external entity is never fetched")
            << "<!DOCTYPE fauntome [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><fauntome>" + creature(1, "A&x;B")
                + "</fauntome>"
            << QStringList{"AB"} << false;
        const QByteArray laughs = "<!DOCTYPE fauntome [<!ENTITY a \"aaaaaaaaaa\">"
                                  "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                  "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                                  "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                                  "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                                  "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>";
        QTest::newRow("exponential entities stop at the expansion limit")
            << laughs + "<fauntome>" + a + creature(2, "&f;") + "</fauntome>" << QStringList{"ALPHA"} << true;
        QTest::newRow("undeclared entity")
            << kHead + "<fauntome>" + a + creature(2, "&nope;") + "</fauntome>" << QStringList{"ALPHA"} << true;
        // The decoder rejects the whole block the bad bytes arrive in, so a
        // small file yields nothing; a creature in an earlier block survives.
        QTest::newRow("invalid UTF-8 in a small file")
            << kHead + "<fauntome>" + a + creature(2, "BR\xC3\x28VO") + "</fauntome>" << QStringList{} << true;
        QTest::newRow("invalid UTF-8 far into the file") << kHead + "<fauntome>" + a
                + creature(2, "PADDED", "<pad>" + QByteArray(100000, 'p') + "</pad>") + creature(3, "BR\xC3\x28VO")
                + "</fauntome>" << QStringList{"ALPHA"} << true;
        QTest::newRow("not XML at all") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << QStringList{} << true;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << true;
    }

    void hostileFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, expected);
        QFETCH(bool, reportsError);
        WorkDir dir;
        QVERIFY(dir.write(QStringLiteral("faundata.xml"), content));
        xml reader(QStringLiteral("faundata.xml"));
        Capture err(2);
        QCOMPARE(listed(reader), expected);
        for (const QString& name : expected) {
            std::unique_ptr<Faunlet> f(reader.getFaunlet(name.toUtf8().toStdString()));
            QVERIFY(f);
        }
        QVERIFY(!reader.getSkills(QStringLiteral("ALPHA"), 1));
        QCOMPARE(!err.text().isEmpty(), reportsError);
    }

    void hugeTextNode()
    {
        WorkDir dir;
        const int size = 50 * 1024 * 1024;
        const QByteArray body
            = "  <evolutions/>\n  <description>" + QByteArray(size, 'z') + "</description>\n  <moves/>\n";
        QVERIFY(dir.writeData(creature(1, "ALPHA", body) + creature(2, "BRAVO")));
        xml reader(QStringLiteral("faundata.xml"));
        std::unique_ptr<Faunlet> first(reader.getFaunlet(1));
        QVERIFY(first);
        QCOMPARE(first->getDescription().size(), size);
        first.reset();
        std::unique_ptr<Faunlet> second(reader.getFaunlet(2));
        QVERIFY(second);
        QCOMPARE(second->getName(), QStringLiteral("BRAVO"));
    }

    // Cutting a real file after any creature keeps exactly the creatures
    // before the cut; cutting inside one drops that creature.
    void truncatedAtEveryCreature()
    {
        const QByteArray full = faundatagen::generate(40);
        QList<qsizetype> ends;
        for (qsizetype at = full.indexOf("</faunlet>"); at >= 0; at = full.indexOf("</faunlet>", at + 1))
            ends << at + qsizetype(strlen("</faunlet>"));
        QCOMPARE(ends.size(), 40);
        WorkDir dir;
        Capture err(2);
        for (int k = 0; k < ends.size(); ++k) {
            for (qsizetype cut : {ends[k], ends[k] - 3}) {
                QVERIFY(dir.write(QStringLiteral("faundata.xml"), full.left(cut)));
                xml reader(QStringLiteral("faundata.xml"));
                const int complete = cut == ends[k] ? k + 1 : k;
                QCOMPARE(listed(reader).size(), complete);
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_HostileXml)
#include "tst_hostilexml.moc"
