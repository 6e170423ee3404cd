#include <QtTest>
#include <memory>

#include "data/creatureindex.h"
#include "data/faunlet.h"
#include "data/skills.h"
#include "data/xml.h"
#include "faundatagen.h"
#include "support/capture.h"
#include "support/workdir.h"

namespace {

using Record = std::unique_ptr<Faunlet>;

// "NAME@id", or "<null>".
QString found(const Record& f)
{
    return f ? f->getName() + '@' + QString::number(f->getId()) : QStringLiteral("<null>");
}

// "name@lvl" for each move the reader returns, or "<null>".
QString movesOf(xml& reader, const QString& name, int level)
{
    std::unique_ptr<QList<skills*>> list(reader.getSkills(name, level));
    if (!list)
        return QStringLiteral("<null>");
    QStringList out;
    for (skills* s : *list)
        out << s->getName() + '@' + QString::number(s->getLvl());
    qDeleteAll(*list);
    return out.join(',');
}

// The answer to "#n" (by number), "~NAME" (the moves at level 1) or a name:
// "NAME@id", with ":description" when the record has one.
QString answer(xml& reader, const QString& question)
{
    if (question.startsWith('~'))
        return movesOf(reader, question.mid(1), 1);
    const Record f(question.startsWith('#') ? reader.getFaunlet(question.mid(1).toInt())
                                            : reader.getFaunlet(question.toStdString()));
    return found(f) + (f && !f->getDescription().isEmpty() ? ':' + f->getDescription() : QString());
}

} // namespace

class tst_Xml : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir;

private slots:
    void init() { dir = std::make_unique<WorkDir>(); }
    void cleanup() { dir.reset(); }

    // Fresh, after filling the list, beside a reader that did, and beside a
    // reader of another file of the same size and time, the answers and
    // messages are a walk's; once the list is filled, only a first lookup may
    // sweep the file again, and every reader of the file shares what that one
    // learnt.
    void lookups_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("messages"); // lines on standard error
        const QByteArray head = "<?xml version=\"1.0\"?>\n<fauntome>\n";
        const QByteArray accented = QString("ÉCLAIRIN").toUtf8();
        // Creatures "C<id>" in the order given.
        const auto ids = [&](std::initializer_list<int> order) {
            QByteArray body = head;
            for (int id : order)
                body += creature(id, "C" + QByteArray::number(id), "<evolutions/><moves/>");
            return body + "</fauntome>\n";
        };
        QTest::newRow("in order, then past the end") << ids({1, 2, 3}) << QStringList{"#1", "#2", "#3", "#4"}
                                                     << QStringList{"C1@1", "C2@2", "C3@3", "<null>"} << 0;
        QTest::newRow("backwards rewinds, the same number twice finds it twice")
            << ids({1, 2, 3}) << QStringList{"#3", "#2", "#2"} << QStringList{"C3@3", "C2@2", "C2@2"} << 0;
        QTest::newRow("gap ends the run") << ids({1, 2, 4}) << QStringList{"#1", "#2", "#3", "#4"}
                                          << QStringList{"C1@1", "C2@2", "<null>", "<null>"} << 0;
        QTest::newRow("out of order is passed by")
            << ids({1, 3, 2}) << QStringList{"#2", "#3"} << QStringList{"C2@2", "<null>"} << 0;
        QTest::newRow("by number after lookups by name further on and back, then on in order")
            << ids({1, 2, 3}) << QStringList{"#1", "C3", "#2", "C1", "#1", "#3", "#4"}
            << QStringList{"C1@1", "C3@3", "C2@2", "C1@1", "C1@1", "C3@3", "<null>"} << 0;
        QTest::newRow("after a lookup by name, out of order is still passed by")
            << ids({1, 3, 2}) << QStringList{"C1", "#2", "#3"} << QStringList{"C1@1", "C2@2", "<null>"} << 0;
        QTest::newRow("names exact, byte for byte")
            << head + creature(1, "MOSSLING") + creature(2, "EMBERLISK") + creature(3, accented) + "</fauntome>"
            << QStringList{"EMBERLISK", "EMBER", "emberlisk", accented}
            << QStringList{"EMBERLISK@2", "<null>", "<null>", "ÉCLAIRIN@3"} << 0;
        // A document type declaration keeps the reader from seeking into the
        // file: every lookup walks it from the top.
        QTest::newRow("names exact, walked from the top")
            << "<!DOCTYPE fauntome>\n<fauntome>\n" + creature(1, "EMBERLISK") + creature(2, "EMBER") + "</fauntome>"
            << QStringList{"EMBER", "EMBERLI", "#1"} << QStringList{"EMBER@2", "<null>", "EMBERLISK@1"} << 0;
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
        // Read on its own, a creature tag with an undeclared prefix is no tag.
        QTest::newRow("creature tags in a namespace")
            << ids({1, 2, 3}).replace("faunlet", "f:faunlet").replace("<fauntome>", "<fauntome xmlns:f='urn:f'>")
            << QStringList{"C2", "#1", "C3", "#2", "C9"} << QStringList{"C2@2", "C1@1", "C3@3", "C2@2", "<null>"} << 0;
        QTest::newRow("malformed keeps the creatures before the fault")
            << "<fauntome>" + creature(1, "A") + creature(2, "B") + " <faunlet id=\"3\"><name>C</na"
            << QStringList{"#1", "#2", "#3"} << QStringList{"A@1", "B@2", "<null>"} << 1;
        // Broken or built to hurt: a defined outcome, never a crash or a hang.
        const QByteArray alpha = creature(1, "ALPHA"), bravo = creature(2, "BRAVO");
        const QStringList first = {"#1", "#2", "ALPHA", "~ALPHA"};
        const QStringList onlyAlpha = {"ALPHA@1", "<null>", "ALPHA@1", "<null>"}, none(4, "<null>");
        QTest::newRow("deeply nested junk between creatures")
            << head + alpha + QByteArray("<x>").repeated(200000) + QByteArray("</x>").repeated(200000) + bravo
                + "</fauntome>"
            << first << QStringList{"ALPHA@1", "BRAVO@2", "ALPHA@1", "<null>"} << 0;
        QTest::newRow("deep nesting never closed")
            << head + alpha + QByteArray("<x>").repeated(500000) << first << onlyAlpha << 1;
        QTest::newRow("internal entity expands inside the document")
            << "<!DOCTYPE fauntome [<!ENTITY e \"EMBER\">]><fauntome>" + creature(1, "&e;LISK") + "</fauntome>"
            << QStringList{"#1", "EMBERLISK"} << QStringList{"EMBERLISK@1", "EMBERLISK@1"} << 0;
        QTest::newRow("external entity is never fetched")
            << "<!DOCTYPE fauntome [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><fauntome>" + creature(1, "A&x;B")
                + "</fauntome>"
            << QStringList{"#1", "AB"} << QStringList{"AB@1", "AB@1"} << 0;
        const QByteArray laughs = "<!DOCTYPE fauntome [<!ENTITY a \"aaaaaaaaaa\">"
                                  "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                  "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
                                  "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                                  "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">"
                                  "<!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">]>";
        QTest::newRow("exponential entities stop at the expansion limit")
            << laughs + "<fauntome>" + alpha + creature(2, "&f;") + "</fauntome>" << first << onlyAlpha << 1;
        QTest::newRow("undeclared entity")
            << head + alpha + creature(2, "&nope;") + "</fauntome>" << first << onlyAlpha << 1;
        // The decoder rejects the whole block the bad bytes arrive in, so a
        // small file yields nothing; a creature in an earlier block survives.
        QTest::newRow("invalid UTF-8 in a small file")
            << head + alpha + creature(2, "BR\xC3\x28VO") + "</fauntome>" << first << none << 3;
        QTest::newRow("invalid UTF-8 far into the file") << head + alpha
                + creature(2, "PADDED", "<pad>" + QByteArray(100000, 'p') + "</pad>") + creature(3, "BR\xC3\x28VO")
                + "</fauntome>" << first << onlyAlpha << 1;
        QTest::newRow("not XML at all") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10) << first << none << 3;
        QTest::newRow("empty file") << QByteArray() << first << none << 3;
    }

    void lookups()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, expected);
        QFETCH(int, messages);
        QVERIFY(dir->write(QStringLiteral("faundata.xml"), content));
        QFile data(QStringLiteral("faundata.xml"));
        QVERIFY(data.open(QIODevice::ReadOnly));
        std::unique_ptr<xml> swept;
        std::shared_ptr<CreatureIndex> settled;
        for (const int way : {3, 0, 1, 2}) { // 3 first, while no index of this file is at hand
            std::unique_ptr<xml> other;
            if (way == 3) {
                QVERIFY(dir->write("other.xml", QByteArray(content).replace("faunlet", "faunlex"), "faundata.xml"));
                other = std::make_unique<xml>(QStringLiteral("other.xml"));
                listed(*other);
            }
            auto reader = std::make_unique<xml>(QStringLiteral("faundata.xml"));
            if (way == 1)
                listed(*reader);
            else if (way == 2)
                movesOf(*reader, QStringLiteral("C1"), 1);
            Capture err(2);
            QStringList got;
            for (const QString& question : asked) {
                got << answer(*reader, question);
                settled = way == 1 && !settled ? CreatureIndex::sharedFor(data) : settled;
            }
            QCOMPARE(got, expected);
            const QByteArray printed = err.text();
            QCOMPARE(printed.count('\n'), messages);
            // Only the lookup by number names the fault "error".
            QVERIFY(!content.endsWith("</na") || printed.startsWith("error "));
            QVERIFY(way == 0 || way == 3 || CreatureIndex::sharedFor(data) == settled);
            if (way == 1)
                swept = std::move(reader);
        }
    }

    void hugeTextNode()
    {
        const int size = 50 * 1024 * 1024;
        QVERIFY(dir->writeData(creature(1, "ALPHA", "<description>" + QByteArray(size, 'z') + "</description>")
                               + creature(2, "BRAVO")));
        xml reader(QStringLiteral("faundata.xml"));
        QCOMPARE(answer(reader, "#1").size(), qsizetype(strlen("ALPHA@1:")) + size);
        QCOMPARE(answer(reader, "#2"), QStringLiteral("BRAVO@2"));
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
        Capture err(2);
        for (int k = 0; k < ends.size(); ++k) {
            for (qsizetype cut : {ends[k], ends[k] - 3}) {
                QVERIFY(dir->write(QStringLiteral("faundata.xml"), full.left(cut)));
                xml reader(QStringLiteral("faundata.xml"));
                const int complete = cut == ends[k] ? k + 1 : k;
                QCOMPARE(listed(reader).size(), complete);
            }
        }
    }

    void missingFile()
    {
        Capture err(2);
        xml reader(QStringLiteral("faundata.xml"));
        QCOMPARE((QStringList{answer(reader, "#1"), answer(reader, "A"), answer(reader, "~A")}),
                 QStringList(3, "<null>"));
        QCOMPARE(err.text().count("cant open file\n"), 1);
    }

    // A reader holds the index of the file it swept; then the file grows, is
    // cut short, or keeps its size and time within one tick while bytes move.
    // That reader, and one built after as each team load builds its own,
    // answer and print as a reader that never saw the file before.
    void edits_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("expected");
        const auto file = [](const QByteArray& creatures) { return "<fauntome>\n" + creatures + "</fauntome>\n"; };
        const auto said = [](const QByteArray& text) { return "<description>" + text + "</description>"; };
        const auto twin = [&](const QByteArray& text) {
            return creature(2, "B",
                            said(text) + "<moves><move type=\"level-up\"><name>" + text
                                + "</name><lvl>1</lvl></move></moves>");
        };
        const QByteArray a = creature(1, "A"), b = creature(2, "B"), c = creature(3, "C");
        QTest::newRow("grows by a creature at its end")
            << file(a) << file(a + twin("New")) << QStringList{"B", "#2", "~B"}
            << QStringList{"B@2:New", "B@2:New", "New@1"};
        // First a name neither version holds: only the cut file tells a walk prints.
        QTest::newRow("loses its last creature and its end")
            << file(a + b + c) << "<fauntome>\n" + a + b << QStringList{"Z", "C", "#3"}
            << QStringList{"<null>", "<null>", "<null>"};
        // The same size from here on.
        QTest::newRow("moved by an edit before it, and its own text")
            << file(creature(1, "A", said("Said")) + creature(2, "B", said("Said")))
            << file(creature(1, "A", said("")) + creature(2, "B", said("Told you"))) << QStringList{"B"}
            << QStringList{"B@2:Told you"};
        // For each check at a recorded place, what it alone catches: another
        // number, a tag that is no creature, a tag that does not end there.
        QTest::newRow("two creatures of one size swap places")
            << file(a + b + c) << file(a + c + b) << QStringList{"#2"} << QStringList{"B@2"};
        QTest::newRow("its start tag renamed") << file(a + b) << file(a + QByteArray(b).replace("faunlet", "faunlex"))
                                               << QStringList{"#2"} << QStringList{"<null>"};
        const QByteArray pad = "<p>" + QByteArray(twin("New").size() - 10, 'p') + "</p>";
        QTest::newRow("an earlier twin came in, less than a tag before")
            << file(creature(1, "A", pad) + twin("Old")) + "   " << file(a + twin("New") + twin("Old"))
            << QStringList{"#2", "~B"} << QStringList{"B@2:New", "New@1"};
    }

    void edits()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, expected);
        QVERIFY(dir->write(QStringLiteral("faundata.xml"), before));
        auto swept = std::make_unique<xml>(QStringLiteral("faundata.xml"));
        listed(*swept);
        QVERIFY(dir->write(QStringLiteral("faundata.xml"), after, QStringLiteral("faundata.xml")));
        auto built = std::make_unique<xml>(QStringLiteral("faundata.xml"));
        const auto ask = [&](xml& reader) {
            Capture err(2);
            QStringList got;
            for (const QString& question : asked)
                got << answer(reader, question);
            return std::make_pair(got, err.text());
        };
        const auto first = ask(*built), second = ask(*swept);
        built.reset();
        swept.reset();
        xml fresh(QStringLiteral("faundata.xml"));
        const auto walked = ask(fresh);
        QCOMPARE(walked.first, expected);
        QCOMPARE(first, walked);
        QCOMPARE(second, walked);
    }

    // Repeated elements add types and experience; text that is no number,
    // or a number beyond 32 bits, is 0; no detail is taken from another
    // creature.
    void details()
    {
        QVERIFY(dir->useData("data/details.xml"));
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
        Record bare(reader.getFaunlet(2));
        QCOMPARE(bare->getType(), QStringList{"Ice"});
        QCOMPARE(bare->getHeight(), 1.5f);
        QVERIFY(bare->getNameEvo().isEmpty());
        Record full(reader.getFaunlet(3));
        QCOMPARE(full->getType(), QStringList{"Fire"});
        QCOMPARE(full->getHeight(), 2.5f);
        QCOMPARE(movesOf(reader, QStringLiteral("BARE"), 1), QStringLiteral("<null>"));
        QCOMPARE(movesOf(reader, QStringLiteral("FULL"), 1), QStringLiteral("Blaze@1"));
        Record huge(reader.getFaunlet(0));
        QCOMPARE(QList<int>({huge->getHealth(), huge->getAttack(), huge->getDefense(), huge->getSpeed()}),
                 QList<int>({0, 0, 2147483647, -5}));
        QCOMPARE(huge->getHeight(), 0.0f);
        QCOMPARE(huge->getWeight(), -0.5f);
    }

    // The list's brief read takes the types a full lookup takes, and tells
    // when a lookup by the name would read an earlier creature instead ("*").
    void briefTypes()
    {
        QVERIFY(dir->useData("data/brief.xml"));
        xml brief(QStringLiteral("faundata.xml")), full(QStringLiteral("faundata.xml"));
        QStringList got;
        for (int n = 1;; ++n) {
            bool ownName = false;
            Record listed(brief.getFaunletBrief(n, &ownName));
            Record read(full.getFaunlet(n));
            QCOMPARE(found(listed), found(read));
            if (!listed)
                break;
            QCOMPARE(listed->getType(), read->getType());
            got << listed->getName() + ':' + listed->getType().join(',') + (ownName ? "" : "*");
        }
        QCOMPARE(got,
                 (QStringList{"A:Grass,Poison,Grass,Late", "B:", "C:Ice", "TWIN:Fire", "TWIN:Water*", "LATE:Ice*",
                              "D:Bug", "SECOND:Rock*"}));
    }

    // Stages evolve into the next one listed, whatever the order of their
    // level texts.
    void evolution_data()
    {
        QTest::addColumn<QByteArray>("stages");
        QTest::addColumn<QByteArray>("creatureName");
        QTest::addColumn<QString>("evolves"); // name@level, or empty
        const QByteArray mixed = "<s><name>ONE</name></s><s><name>TWO</name><lvl>16</lvl></s>"
                                 "<s><name>THREE</name><condition>Trade</condition></s>";
        const QByteArray textOrder = "<name>ONE</name><name>TWO</name><lvl>7</lvl><name>THREE</name><lvl>10</lvl>";
        const QByteArray sameLevel = "<name>ONE</name><name>TWO</name><lvl>10</lvl><name>THREE</name><lvl>10</lvl>";
        const QByteArray small = "<name>one</name><name>two</name><lvl>5</lvl>";
        QTest::newRow("first stage at a level") << mixed << QByteArray("ONE") << QString("TWO@16");
        QTest::newRow("second stage by condition") << mixed << QByteArray("TWO") << QString("THREE@Trade");
        QTest::newRow("last stage has none") << mixed << QByteArray("THREE") << QString();
        QTest::newRow("file order, not text order: 1->2") << textOrder << QByteArray("ONE") << QString("TWO@7");
        QTest::newRow("file order, not text order: 2->3") << textOrder << QByteArray("TWO") << QString("THREE@10");
        QTest::newRow("same level text both kept") << sameLevel << QByteArray("TWO") << QString("THREE@10");
        QTest::newRow("small letters in family match, stored in capitals")
            << small << QByteArray("ONE") << QString("TWO@5");
        QTest::newRow("own name not in capitals never matches") << small << QByteArray("One") << QString();
    }

    void evolution()
    {
        QFETCH(QByteArray, stages);
        QFETCH(QByteArray, creatureName);
        QFETCH(QString, evolves);
        QVERIFY(dir->writeData(creature(1, creatureName, "<evolutions>" + stages + "</evolutions><moves/>")));
        xml reader(QStringLiteral("faundata.xml"));
        Record f(reader.getFaunlet(1));
        QVERIFY(f);
        QCOMPARE(f->getLvlEvo().isEmpty() ? QString() : f->getNameEvo() + '@' + f->getLvlEvo(), evolves);
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

    // Every way of reaching the moves: straight away; after the list-filling
    // sweep, which notes where each creature stands; and after a file without
    // ALPHA, giving GAMMA other moves, was renamed over the name: details and
    // moves still come from one version.
    void moves()
    {
        QFETCH(QString, asked);
        QFETCH(int, level);
        QFETCH(QString, expected);
        QString details;
        for (const char* way : {"at once", "after the sweep", "after a replacement"}) {
            QVERIFY(dir->useData("data/moves.xml"));
            xml reader(QStringLiteral("faundata.xml"));
            if (way != QLatin1String("at once"))
                listed(reader);
            QFile data(QStringLiteral("faundata.xml"));
            QByteArray bytes = data.open(QIODevice::ReadOnly) ? data.readAll() : QByteArray();
            if (way == QLatin1String("after a replacement"))
                QVERIFY(dir->write("new.xml", bytes.replace("ALPHA", "OTHER").replace("Zap", "Zip"))
                        && QFile::remove("faundata.xml") && QFile::rename("new.xml", "faundata.xml"));
            Capture out(1);
            QVERIFY2(movesOf(reader, asked, level) == expected, way);
            const QByteArray trace = QByteArray::number(level) + "===" + QByteArray::number(level) + '\n';
            QCOMPARE(out.text(), trace.repeated(expected == "<null>" ? 0 : expected.count(',') + 1));
            const QString got = found(Record(reader.getFaunlet(asked.toStdString())));
            QVERIFY2(got == (details.isNull() ? details = got : details), way);
        }
    }

    // Where the names a walk takes are not those of a document tree, the
    // moves still follow the tree, after the sweep as when read at once.
    void movesFollowTheTree_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("expected");
        const QByteArray zap = "<moves><move type=\"level-up\"><name>Zap</name><lvl>1</lvl></move></moves>";
        const auto list = [](const QByteArray& inside) { return "<fauntome>" + inside + "</fauntome>"; };
        QTest::newRow("small letters are keyed in capitals")
            << list(creature(1, "Theta", zap)) << QString("THETA") << QString("Zap@1");
        QTest::newRow("two spellings of one name: the first wins")
            << list(creature(1, "Theta", zap) + creature(2, "THETA", QByteArray(zap).replace("Zap", "Later")))
            << QString("THETA") << QString("Zap@1");
        QTest::newRow("another element names it first")
            << list("<other><name>ALPHA</name>" + QByteArray(zap).replace("Zap", "Other") + "</other>"
                    + creature(1, "ALPHA", zap))
            << QString("ALPHA") << QString("Other@1");
        QTest::newRow("the root is not the creature list")
            << "<other>" + creature(1, "ALPHA", zap) + "</other>" << QString("ALPHA") << QString("<null>");
        QTest::newRow("a creature inside a creature")
            << list(creature(1, "A", creature(2, "B", zap))) << QString("B") << QString("<null>");
        QTest::newRow("the name after the stats")
            << list("<faunlet id=\"1\"><stats/><name>ETA</name>" + zap + "</faunlet>") << QString("ETA")
            << QString("Zap@1");
        QTest::newRow("a deeper name first")
            << list("<faunlet id=\"1\"><stats><name>EPS</name></stats><name>ZETA</name>" + zap + "</faunlet>")
            << QString("ZETA") << QString("Zap@1");
        QTest::newRow("a second name of an earlier creature")
            << list(creature(1, "A</name><name>B") + creature(2, "B", zap)) << QString("B") << QString("Zap@1");
        QTest::newRow("white space beside the name")
            << list(creature(1, "DELTA<!-- --> ", zap)) << QString("DELTA") << QString("Zap@1");
    }

    void movesFollowTheTree()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, asked);
        QFETCH(QString, expected);
        QVERIFY(dir->write(QStringLiteral("faundata.xml"), content));
        for (const bool swept : {false, true}) {
            xml reader(QStringLiteral("faundata.xml"));
            // The list stops at a creature without a name; a lookup by a name
            // no creature has still indexes the whole file.
            if (swept) {
                listed(reader);
                Record(reader.getFaunlet(std::string("NOBODY")));
            }
            QVERIFY2(movesOf(reader, asked, 1) == expected, swept ? "after the sweep" : "at once");
        }
    }
};

QTEST_GUILESS_MAIN(tst_Xml)
#include "tst_xml.moc"
