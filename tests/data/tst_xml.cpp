#include <QtTest>
#include <memory>

#include "data/faunlet.h"
#include "data/skills.h"
#include "data/xml.h"
#include "support/capture.h"
#include "support/workdir.h"

namespace {

using Record = std::unique_ptr<Faunlet>;

QString nameOf(const Record& f)
{
    return f ? f->getName() : QStringLiteral("<null>");
}

// "name@lvl" for each move the reader returns, or "<null>".
QString movesOf(xml& reader, const QString& name, int level)
{
    std::unique_ptr<QList<skills*>> list(reader.getSkills(name, level));
    if (!list)
        return QStringLiteral("<null>");
    QStringList out;
    for (skills* s : *list)
        out << s->getName() + QLatin1Char('@') + QString::number(s->getLvl());
    qDeleteAll(*list);
    return out.join(QLatin1Char(','));
}

QByteArray family(const QByteArray& stages)
{
    return "  <evolutions>" + stages + "</evolutions>\n  <moves/>\n";
}

} // namespace

class tst_Xml : public QObject
{
    Q_OBJECT

private slots:
    void lookupByNumber_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("in order, then past the end")
            << QList<int>{1, 2, 3} << QList<int>{1, 2, 3, 4} << QStringList{"C1", "C2", "C3", "<null>"};
        QTest::newRow("same number twice finds it twice")
            << QList<int>{1, 2} << QList<int>{1, 1, 2} << QStringList{"C1", "C1", "C2"};
        QTest::newRow("backwards rewinds") << QList<int>{1, 2, 3} << QList<int>{3, 2} << QStringList{"C3", "C2"};
        QTest::newRow("gap ends the run")
            << QList<int>{1, 2, 4} << QList<int>{1, 2, 3, 4} << QStringList{"C1", "C2", "<null>", "<null>"};
        QTest::newRow("out of order is passed by")
            << QList<int>{1, 3, 2} << QList<int>{2, 3} << QStringList{"C2", "<null>"};
        // A negative entry asks by name for that creature instead.
        QTest::newRow("by number after a lookup by name further on")
            << QList<int>{1, 2, 3} << QList<int>{1, -3, 2} << QStringList{"C1", "C3", "C2"};
        QTest::newRow("by number after lookups by name, then on in order")
            << QList<int>{1, 2, 3} << QList<int>{-3, -1, 1, 2, 3, 4}
            << QStringList{"C3", "C1", "C1", "C2", "C3", "<null>"};
        QTest::newRow("after a lookup by name, out of order is still passed by")
            << QList<int>{1, 3, 2} << QList<int>{-1, 2, 3} << QStringList{"C1", "C2", "<null>"};
    }

    void lookupByNumber()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QList<int>, asked);
        QFETCH(QStringList, expected);
        WorkDir dir;
        QByteArray body;
        for (int id : ids)
            body += creature(id, "C" + QByteArray::number(id), family(""));
        QVERIFY(dir.writeData(body));
        xml reader(QStringLiteral("faundata.xml"));
        Capture err(2);
        QStringList got;
        for (int n : asked)
            got << nameOf(Record(n < 0 ? reader.getFaunlet("C" + std::to_string(-n)) : reader.getFaunlet(n)));
        QCOMPARE(got, expected);
        QCOMPARE(err.text(), QByteArray());
    }

    void lookupByName_data()
    {
        QTest::addColumn<QByteArray>("asked");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("id");
        QTest::newRow("exact") << QByteArray("EMBERLISK") << "EMBERLISK" << 2;
        QTest::newRow("prefix only") << QByteArray("EMBER") << "<null>" << 0;
        QTest::newRow("small letters") << QByteArray("emberlisk") << "<null>" << 0;
        QTest::newRow("accented, UTF-8") << QString("ÉCLAIRIN").toUtf8() << "ÉCLAIRIN" << 3;
    }

    void lookupByName()
    {
        QFETCH(QByteArray, asked);
        QFETCH(QString, expected);
        QFETCH(int, id);
        WorkDir dir;
        QVERIFY(dir.writeData(creature(1, "MOSSLING") + creature(2, "EMBERLISK")
                              + creature(3, QString("ÉCLAIRIN").toUtf8())));
        xml reader(QStringLiteral("faundata.xml"));
        Record f(reader.getFaunlet(asked.toStdString()));
        QCOMPARE(nameOf(f), expected);
        if (f)
            QCOMPARE(f->getId(), id);
        // A second lookup gives a second record, not the same one.
        Record again(reader.getFaunlet(asked.toStdString()));
        QVERIFY(!f || (again && again.get() != f.get()));
    }

    // "#n" asks by number, anything else by name; each answer is NAME@id or
    // <null>. Whatever the index knows, the answers and the messages are
    // those of a walk from the top.
    void lookupsAfterTheFirstSweep_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("messages"); // lines on standard error
        const QByteArray head = "<?xml version=\"1.0\"?>\n<fauntome>\n";
        QTest::newRow("duplicate names: the first in the file wins")
            << head + creature(1, "A") + creature(7, "TWIN") + creature(2, "TWIN") + "</fauntome>\n"
            << QStringList{"TWIN", "#2", "TWIN", "#7"} << QStringList{"TWIN@7", "TWIN@2", "TWIN@7", "TWIN@7"} << 0;
        QTest::newRow("file cut short inside a creature, after its name")
            << head + creature(1, "A") + creature(2, "B") + " <faunlet id=\"3\">\n  <name>C</name>\n  <stats>"
            << QStringList{"B", "Z", "#4", "C", "A"} << QStringList{"B@2", "<null>", "<null>", "<null>", "A@1"} << 3;
        // The reader decodes 8 KiB at a time and drops a whole block holding a
        // bad byte. Here B begins in the first block and ends in the second,
        // which also holds the bad byte: B never closes, though read on its
        // own from its start tag, it would.
        QByteArray padded = head + " <faunlet id=\"1\"><name>A</name><stats/><pad>";
        padded += QByteArray(8084 - padded.size(), 'p') + "</pad></faunlet>\n";
        padded += " <faunlet id=\"2\"><name>B</name><stats/><pad>" + QByteArray(200, 'b') + "</pad></faunlet>\n";
        padded += " <faunlet id=\"3\"><name>C</name><stats/><pad>";
        padded += QByteArray(16340 - padded.size(), 'q') + "\xC3\x28</pad></faunlet>\n</fauntome>\n";
        QTest::newRow("cut short by a bad byte in the block where it ends")
            << padded << QStringList{"A", "B", "#2", "Z"} << QStringList{"A@1", "<null>", "<null>", "<null>"} << 3;
    }

    void lookupsAfterTheFirstSweep()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, expected);
        QFETCH(int, messages);
        WorkDir dir;
        QVERIFY(dir.write(QStringLiteral("faundata.xml"), content));
        xml reader(QStringLiteral("faundata.xml"));
        // The list fill: the sweep that builds the index.
        for (int n = 1; Record(reader.getFaunlet(n)); ++n) { }
        Capture err(2);
        QStringList got;
        for (const QString& question : asked) {
            const Record f(question.startsWith('#') ? reader.getFaunlet(question.mid(1).toInt())
                                                    : reader.getFaunlet(question.toUtf8().toStdString()));
            got << (f ? f->getName() + '@' + QString::number(f->getId()) : QStringLiteral("<null>"));
        }
        QCOMPARE(got, expected);
        QCOMPARE(err.text().count('\n'), messages);
    }

    void malformedKeepsEarlierCreatures()
    {
        WorkDir dir;
        QVERIFY(dir.write(QStringLiteral("faundata.xml"),
                          "<fauntome>" + creature(1, "A") + creature(2, "B") + " <faunlet id=\"3\"><name>C</na"));
        xml reader(QStringLiteral("faundata.xml"));
        Capture err(2);
        QCOMPARE(nameOf(Record(reader.getFaunlet(1))), QStringLiteral("A"));
        QCOMPARE(nameOf(Record(reader.getFaunlet(2))), QStringLiteral("B"));
        QCOMPARE(nameOf(Record(reader.getFaunlet(3))), QStringLiteral("<null>"));
        QVERIFY(err.text().startsWith("error "));
    }

    void missingFile()
    {
        WorkDir dir;
        Capture err(2);
        {
            xml reader(QStringLiteral("faundata.xml"));
            QVERIFY(!Record(reader.getFaunlet(1)));
            QVERIFY(!Record(reader.getFaunlet(std::string("A"))));
            QCOMPARE(movesOf(reader, QStringLiteral("A"), 1), QStringLiteral("<null>"));
        }
        QCOMPARE(err.text().count("cant open file\n"), 1);
    }

    void details()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(
            " <faunlet id=\"1\"><name>A</name>\n"
            "  <stats><HP>45</HP><ATK>49</ATK><DEF>50</DEF><SPD>51</SPD><SAT>65</SAT><SDF>66</SDF></stats>\n"
            "  <exp>30</exp><exp>12</exp><types><type>Grass</type><type>Poison</type></types>\n"
            "  <ability>Thicket Veil</ability>\n"
            "  <evolutions><name>A</name></evolutions>\n"
            "  <height>0.7</height><weight>heavy</weight><description>Hides &amp; waits.</description>\n"
            "  <moves/>\n </faunlet>\n"));
        xml reader(QStringLiteral("faundata.xml"));
        Record f(reader.getFaunlet(1));
        QVERIFY(f);
        QCOMPARE(QList<int>({f->getHealth(), f->getAttack(), f->getDefense(), f->getSpeed(), f->getSAT(), f->getSDF()}),
                 QList<int>({45, 49, 50, 51, 65, 66}));
        QCOMPARE(f->getExperience(), 42);
        QCOMPARE(f->getType(), (QStringList{"Grass", "Poison"}));
        QCOMPARE(f->getAbility(), QStringLiteral("Thicket Veil"));
        QCOMPARE(f->getHeight(), 0.7f);
        QCOMPARE(f->getWeight(), 0.0f);
        QCOMPARE(f->getDescription(), QStringLiteral("Hides & waits."));
        QVERIFY(f->getNameEvo().isEmpty());
    }

    void detailsStayInsideTheirCreature()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(
            " <faunlet id=\"1\"><name>BARE</name><stats/><type>Ice</type><height>1.5</height></faunlet>\n"
            " <faunlet id=\"2\"><name>FULL</name><stats/><type>Fire</type>\n"
            "  <evolutions><name>BARE</name><name>FULL</name><lvl>9</lvl></evolutions>\n"
            "  <height>2.5</height><moves><move type=\"level-up\"><name>Blaze</name><lvl>1</lvl></move></moves>\n"
            " </faunlet>\n"));
        xml reader(QStringLiteral("faundata.xml"));
        Record bare(reader.getFaunlet(1));
        QVERIFY(bare);
        QCOMPARE(bare->getType(), QStringList{"Ice"});
        QCOMPARE(bare->getHeight(), 1.5f);
        QVERIFY(bare->getNameEvo().isEmpty());
        Record full(reader.getFaunlet(2));
        QVERIFY(full);
        QCOMPARE(full->getType(), QStringList{"Fire"});
        QCOMPARE(full->getHeight(), 2.5f);
        QCOMPARE(movesOf(reader, QStringLiteral("BARE"), 1), QStringLiteral("<null>"));
        QCOMPARE(movesOf(reader, QStringLiteral("FULL"), 1), QStringLiteral("Blaze@1"));
    }

    void evolution_data()
    {
        QTest::addColumn<QByteArray>("stages");
        QTest::addColumn<QByteArray>("creatureName");
        QTest::addColumn<QString>("nameEvo");
        QTest::addColumn<QString>("lvlEvo");
        const QByteArray mixed = "<s><name>ONE</name></s><s><name>TWO</name><lvl>16</lvl></s>"
                                 "<s><name>THREE</name><condition>Trade</condition></s>";
        QTest::newRow("first stage at a level") << mixed << QByteArray("ONE") << "TWO"
                                                << "16";
        QTest::newRow("second stage by condition") << mixed << QByteArray("TWO") << "THREE"
                                                   << "Trade";
        QTest::newRow("last stage has none") << mixed << QByteArray("THREE") << ""
                                             << "";
        const QByteArray textOrder = "<name>ONE</name><name>TWO</name><lvl>7</lvl><name>THREE</name><lvl>10</lvl>";
        QTest::newRow("file order, not text order: 1->2") << textOrder << QByteArray("ONE") << "TWO"
                                                          << "7";
        QTest::newRow("file order, not text order: 2->3") << textOrder << QByteArray("TWO") << "THREE"
                                                          << "10";
        const QByteArray sameLevel = "<name>ONE</name><name>TWO</name><lvl>10</lvl><name>THREE</name><lvl>10</lvl>";
        QTest::newRow("same level text both kept") << sameLevel << QByteArray("TWO") << "THREE"
                                                   << "10";
        const QByteArray small = "<name>one</name><name>two</name><lvl>5</lvl>";
        QTest::newRow("small letters in family match, stored in capitals") << small << QByteArray("ONE") << "TWO"
                                                                           << "5";
        QTest::newRow("own name not in capitals never matches") << small << QByteArray("One") << ""
                                                                << "";
    }

    void evolution()
    {
        QFETCH(QByteArray, stages);
        QFETCH(QByteArray, creatureName);
        QFETCH(QString, nameEvo);
        QFETCH(QString, lvlEvo);
        WorkDir dir;
        QVERIFY(dir.writeData(creature(1, creatureName, family(stages))));
        xml reader(QStringLiteral("faundata.xml"));
        Record f(reader.getFaunlet(1));
        QVERIFY(f);
        QCOMPARE(f->getNameEvo(), nameEvo);
        QCOMPARE(f->getLvlEvo(), lvlEvo);
    }

    void moves_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two at level 1, file order") << "ALPHA" << 1 << "Nip@1,Gnaw@1";
        QTest::newRow("one at level 7") << "ALPHA" << 7 << "Bite@7";
        QTest::newRow("none at level 2") << "ALPHA" << 2 << "<null>";
        QTest::newRow("other types never listed") << "ALPHA" << 30 << "<null>";
        QTest::newRow("comment does not end the walk") << "ALPHA" << 9 << "After@9";
        QTest::newRow("moves lacking a name or a level are skipped") << "ALPHA" << 11 << "<null>";
        QTest::newRow("level text not a number is level 0") << "ALPHA" << 0 << "Fumble@0";
        QTest::newRow("small letters find nothing") << "alpha" << 1 << "<null>";
        QTest::newRow("no moves element: none, not the next creature's") << "BETA" << 1 << "<null>";
        QTest::newRow("next creature keeps its own, the first of a name wins") << "GAMMA" << 1 << "Zap@1";
        QTest::newRow("unknown creature") << "OMEGA" << 1 << "<null>";
    }

    void moves()
    {
        QFETCH(QString, asked);
        QFETCH(int, level);
        QFETCH(QString, expected);
        WorkDir dir;
        const QByteArray creatures = creature(1, "ALPHA",
                                              "  <moves>\n"
                                              "   <move type=\"level-up\"><name>Nip</name><lvl>1</lvl></move>\n"
                                              "   <move type=\"level-up\"><name>Gnaw</name><lvl>1</lvl></move>\n"
                                              "   <move type=\"level-up\"><name>Bite</name><lvl>7</lvl></move>\n"
                                              "   <move type=\"machine\"><name>Quake</name><lvl>30</lvl></move>\n"
                                              "   <move><name>Untyped</name><lvl>30</lvl></move>\n"
                                              "   <!-- a remark -->\n"
                                              "   <move type=\"level-up\"><name>After</name><lvl>9</lvl></move>\n"
                                              "   <move type=\"level-up\"><lvl>11</lvl></move>\n"
                                              "   <move type=\"level-up\"><name>Lost</name></move>\n"
                                              "   <move type=\"level-up\"><name>Fumble</name><lvl>1x</lvl></move>\n"
                                              "  </moves>\n")
            + creature(2, "BETA")
            + creature(3, "GAMMA", "  <moves><move type=\"level-up\"><name>Zap</name><lvl>1</lvl></move></moves>\n")
            + creature(5, "GAMMA", "  <moves><move type=\"level-up\"><name>Later</name><lvl>1</lvl></move></moves>\n");
        // Every way of reaching the table: straight away; after the
        // list-filling sweep, which notes where each creature stands; and
        // after a creature came in before all the others, so that nothing
        // stands where the sweep saw it.
        for (const char* way : {"at once", "after the sweep", "after an edit"}) {
            QVERIFY(dir.writeData(creatures));
            xml reader(QStringLiteral("faundata.xml"));
            if (way != QLatin1String("at once"))
                for (int n = 1; Record(reader.getFaunlet(n)); ++n) { }
            if (way == QLatin1String("after an edit"))
                QVERIFY(dir.writeData(creature(4, "EARLIER", "<moves/>") + creatures));
            QVERIFY2(movesOf(reader, asked, level) == expected, way);
        }
    }

    void moveTraceOnStandardOutput()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(creature(1, "A",
                                       "<moves><move type=\"level-up\"><name>X</name><lvl>16</lvl></move>"
                                       "<move type=\"level-up\"><name>Y</name><lvl>16</lvl></move></moves>")));
        xml reader(QStringLiteral("faundata.xml"));
        Capture out(1);
        QCOMPARE(movesOf(reader, QStringLiteral("A"), 16), QStringLiteral("X@16,Y@16"));
        QCOMPARE(out.text(), QByteArray("16===16\n16===16\n"));
    }
};

QTEST_GUILESS_MAIN(tst_Xml)
#include "tst_xml.moc"
