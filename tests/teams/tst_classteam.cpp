#include <QtTest>

#include <QDir>
#include <QDirIterator>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/faunlet.h"
#include "data/xml.h"
#include "support/capture.h"
#include "support/workdir.h"
#include "teamdata.h"
#include "teams/classteam.h"

namespace {

// Records handed out by the store or the reader belong to the test.
struct records
{
    QList<Faunlet*> list;
    ~records() { qDeleteAll(list); }
};

QMap<QString, QString> fields(const Faunlet& f)
{
    return {{"id", QString::number(f.getId())},
            {"name", f.getName()},
            {"types", f.getType().join(',')},
            {"ability", f.getAbility()},
            {"experience", QString::number(f.getExperience())},
            {"health", QString::number(f.getHealth())},
            {"attack", QString::number(f.getAttack())},
            {"defense", QString::number(f.getDefense())},
            {"speed", QString::number(f.getSpeed())},
            {"sat", QString::number(f.getSAT())},
            {"sdf", QString::number(f.getSDF())},
            {"level", QString::number(f.getLevel())},
            {"sexe", f.getSexe()},
            {"height", QString::number(double(f.getHeight()))},
            {"weight", QString::number(double(f.getWeight()))},
            {"lvlEvo", f.getLvlEvo()},
            {"nameEvo", f.getNameEvo()},
            {"description", f.getDescription()}};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every path below the working directory, so a test sees anything written.
QStringList tree()
{
    QStringList out;
    QDirIterator it(QDir::currentPath(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir::current().relativeFilePath(it.next());
    out.sort();
    return out;
}

QStringList* debugSink = nullptr;

void collectDebug(QtMsgType, const QMessageLogContext&, const QString& message)
{
    debugSink->append(message);
}

// The debug stream, caught instead of going to the test log.
struct debugLog
{
    QStringList messages;
    QtMessageHandler previous;
    debugLog()
    {
        debugSink = &messages;
        previous = qInstallMessageHandler(collectDebug);
    }
    ~debugLog()
    {
        qInstallMessageHandler(previous);
        debugSink = nullptr;
    }
};

const QByteArray doctype = "<!DOCTYPE teams PUBLIC '-//Tarvel//DTC Teams 1.0 //FR' 'http://x/teams.dtd'>\n";

} // namespace

class tst_classTeam : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QString>("team");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QStringList>("members");
        QTest::addColumn<bool>("changeStored");
        QTest::newRow("several creatures, every stored value changed")
            << "Alpha" << "Ann" << QStringList{"TIDEFIN", "MOSSLING", "EMBERLISK"} << true;
        QTest::newRow("values as the data file gives them")
            << "Beta" << "Bob" << QStringList{"MOSSLING", "TIDEFIN"} << false;
        QTest::newRow("the same creature twice") << "Twins" << "Ann" << QStringList{"MOSSLING", "MOSSLING"} << true;
        QTest::newRow("empty team") << "Nobody" << "Ann" << QStringList{} << false;
        QTest::newRow("accents in team, owner and creature")
            << QString::fromUtf8("\xc3\x89quipe d'\xc3\xa9t\xc3\xa9") << QString::fromUtf8("Zo\xc3\xa9 \xe5\xa4\xaa")
            << QStringList{eclairome(), "MOSSLING"} << true;
        QTest::newRow("markup characters in names") << "A&B <C>" << "\"Q\" & 'R'" << QStringList{"TIDEFIN"} << true;
    }

    void roundTrip()
    {
        QFETCH(QString, team);
        QFETCH(QString, owner);
        QFETCH(QStringList, members);
        QFETCH(bool, changeStored);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());

        records saved;
        for (const QString& name : members) {
            Faunlet* f = xml::getInstance("faundata.xml")->getFaunlet(name.toUtf8().toStdString());
            QVERIFY2(f, qPrintable(name));
            saved.list << f;
            if (changeStored) {
                const int k = saved.list.size();
                f->setId(100 + k);
                f->setAbility(QStringLiteral("Stored %1").arg(k));
                f->setLevel(10 + k);
                f->addExperience(1000 * k);
                f->setHealth(-k);
                f->setAttack(200 + k);
                f->setDefense(300 + k);
                f->setSpeed(400 + k);
                f->setSAT(500 + k);
                f->setSDF(600 + k);
            }
        }
        classTeam store;
        QVERIFY(store.addTeam(team, owner, saved.list));

        classTeam back;
        QVERIFY(back.loadTeam(team + ".xml"));
        records loaded{back.getFaunlets()};
        QCOMPARE(back.getName(), team);
        QCOMPARE(back.getOwner(), owner);
        QCOMPARE(loaded.list.size(), saved.list.size());
        for (qsizetype i = 0; i < saved.list.size(); ++i)
            QCOMPARE(fields(*loaded.list.at(i)), fields(*saved.list.at(i)));
    }

    void fileLayout()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        records members{{xml::getInstance("faundata.xml")->getFaunlet("MOSSLING"),
                         xml::getInstance("faundata.xml")->getFaunlet("TIDEFIN")}};
        classTeam store;
        QVERIFY(store.addTeam("Alpha", "Ann", members.list));
        const QByteArray bytes = readAll(dir.filePath("teams/Alpha.xml"));
        QVERIFY2(bytes.startsWith("<!DOCTYPE teams PUBLIC '-//Tarvel//DTC Teams 1.0 //FR' 'http://"), bytes);
        QVERIFY(bytes.contains("\n<team "));
        QVERIFY(bytes.contains("\n <faunlet "));

        QDomDocument doc;
        QVERIFY(doc.setContent(bytes));
        const QDomElement root = doc.documentElement();
        QCOMPARE(root.tagName() + root.attribute("name") + root.attribute("owner"), QStringLiteral("teamAlphaAnn"));
        QCOMPARE(namesInFile(dir.filePath("teams/Alpha.xml")), (QStringList{"MOSSLING", "TIDEFIN"}));
        for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            QCOMPARE(e.tagName(), QStringLiteral("faunlet"));
            QCOMPARE(e.attributes().size(), 16);
            QVERIFY(!e.hasChildNodes());
        }
        const QDomElement first = root.firstChildElement();
        QCOMPARE(first.attribute("weight") + ' ' + first.attribute("height") + ' ' + first.attribute("experience")
                     + ' ' + first.attribute("nameEvo") + ' ' + first.attribute("lvlEvo"),
                 QStringLiteral("6.9 0.7 64 MOSSLINGX 16"));
    }

    void floats_data()
    {
        QTest::addColumn<float>("weight");
        QTest::addColumn<QString>("written");
        QTest::newRow("one decimal") << 6.9f << "6.9";
        QTest::newRow("whole number") << 100.0f << "100";
        QTest::newRow("seven digits round to six") << 1234567.0f << "1.23457e+06";
        QTest::newRow("tiny") << 0.0000125f << "1.25e-05";
        QTest::newRow("zero") << 0.0f << "0";
    }

    void floats()
    {
        QFETCH(float, weight);
        QFETCH(QString, written);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        Faunlet f("A");
        f.setWeight(weight);
        f.setHeight(weight);
        classTeam store;
        QVERIFY(store.addTeam("F", "O", {&f}));
        QDomDocument doc;
        QVERIFY(doc.setContent(readAll(dir.filePath("teams/F.xml"))));
        const QDomElement e = doc.documentElement().firstChildElement();
        QCOMPARE(e.attribute("weight"), written);
        QCOMPARE(e.attribute("height"), written);
    }

    void storedAttributes_data()
    {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value"); // a null string removes the attribute
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("stored id wins") << "id" << "42" << "id" << "42";
        QTest::newRow("stored ability wins") << "ability" << "Odd" << "ability" << "Odd";
        QTest::newRow("stored level wins") << "level" << "12" << "level" << "12";
        QTest::newRow("level abc reads 0") << "level" << "abc" << "level" << "0";
        QTest::newRow("missing level reads 0") << "level" << QString() << "level" << "0";
        QTest::newRow("missing ability reads noname") << "ability" << QString() << "ability" << "noname";
        QTest::newRow("negative health") << "health" << "-5" << "health" << "-5";
        QTest::newRow("experience is restored, not added") << "experience" << "500" << "experience" << "500";
        QTest::newRow("lowest experience") << "experience" << "-2147483648" << "experience" << "-2147483648";
        QTest::newRow("stored weight ignored") << "weight" << "999" << "weight" << "6.9";
        QTest::newRow("stored height ignored") << "height" << "99" << "height" << "0.7";
        QTest::newRow("stored lvlEvo ignored") << "lvlEvo" << "99" << "lvlEvo" << "16";
        QTest::newRow("stored nameEvo ignored") << "nameEvo" << "OTHER" << "nameEvo" << "MOSSLINGX";
        QTest::newRow("stored sexe ignored") << "sexe" << "F" << "sexe" << "";
    }

    void storedAttributes()
    {
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QMap<QString, QString> attributes{{"sexe", ""}, {"name", "MOSSLING"}, {"experience", "64"},
                                          {"health", "1"}, {"attack", "2"}, {"defense", "3"},
                                          {"level", "4"}, {"speed", "5"}, {"sat", "6"}, {"sdf", "7"},
                                          {"ability", "Overgrow"}, {"weight", "6.9"}, {"height", "0.7"},
                                          {"id", "1"}, {"lvlEvo", "16"}, {"nameEvo", "MOSSLINGX"}};
        if (value.isNull())
            attributes.remove(attribute);
        else
            attributes[attribute] = value;
        QByteArray element = " <faunlet";
        for (auto it = attributes.cbegin(); it != attributes.cend(); ++it)
            element += ' ' + it.key().toUtf8() + "=\"" + it.value().toUtf8() + '"';
        QVERIFY(dir.write("teams/T.xml", doctype + "<team name=\"T\" owner=\"O\">\n" + element + "/>\n</team>\n"));

        classTeam store;
        QVERIFY(store.loadTeam("T.xml"));
        records loaded{store.getFaunlets()};
        QCOMPARE(loaded.list.size(), 1);
        QCOMPARE(fields(*loaded.list.first()).value(field), expected);
    }

    void loading_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QStringList>("creatures");
        QTest::addColumn<QByteArray>("errorText");
        const QByteArray m = "<faunlet name=\"MOSSLING\"/>";
        const QByteArray t = "<faunlet name=\"TIDEFIN\"/>";
        QTest::newRow("missing file") << QByteArray() << false << "" << "" << QStringList{} << QByteArray();
        QTest::newRow("not well-formed") << QByteArray("<team name=\"A\" owner=\"B\">" + m) << true << "" << ""
                                         << QStringList{} << QByteArray();
        QTest::newRow("empty file") << QByteArray("") << true << "" << "" << QStringList{} << QByteArray();
        QTest::newRow("empty team") << QByteArray(doctype + "<team name=\"A\" owner=\"B\"/>") << true << "A" << "B"
                                    << QStringList{} << QByteArray();
        QTest::newRow("missing owner") << QByteArray("<team name=\"A\">" + m + "</team>") << true << "A" << "noname"
                                       << QStringList{"MOSSLING"} << QByteArray();
        QTest::newRow("missing team name") << QByteArray("<team owner=\"B\">" + m + "</team>") << true << "noname"
                                           << "B" << QStringList{"MOSSLING"} << QByteArray();
        QTest::newRow("unknown creature skipped")
            << QByteArray("<team name=\"A\" owner=\"B\">" + m + "<faunlet name=\"NOSUCH\"/>" + t + "</team>")
            << true << "A" << "B" << QStringList{"MOSSLING", "TIDEFIN"} << QByteArray("NOSUCH");
        QTest::newRow("creature without a name skipped")
            << QByteArray("<team name=\"A\" owner=\"B\"><faunlet level=\"3\"/>" + t + "</team>")
            << true << "A" << "B" << QStringList{"TIDEFIN"} << QByteArray("noname");
        QTest::newRow("comment between creatures")
            << QByteArray("<team name=\"A\" owner=\"B\">\n " + m + "\n <!-- B -->\n " + t + "\n</team>")
            << true << "A" << "B" << QStringList{"MOSSLING", "TIDEFIN"} << QByteArray();
        QTest::newRow("text between creatures")
            << QByteArray("<team name=\"A\" owner=\"B\">" + m + "stray<?pi x?>" + t + "</team>")
            << true << "A" << "B" << QStringList{"MOSSLING", "TIDEFIN"} << QByteArray();
        QTest::newRow("small letters are another creature")
            << QByteArray("<team name=\"A\" owner=\"B\"><faunlet name=\"mossling\"/></team>")
            << true << "A" << "B" << QStringList{} << QByteArray("mossling");
    }

    void loading()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, result);
        QFETCH(QString, name);
        QFETCH(QString, owner);
        QFETCH(QStringList, creatures);
        QFETCH(QByteArray, errorText);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        if (!content.isNull())
            QVERIFY(dir.write("teams/T.xml", content));

        classTeam store;
        debugLog debug;
        capture err(2);
        QCOMPARE(store.loadTeam("T.xml"), result);
        const QByteArray printed = err.text();
        records loaded{store.getFaunlets()};
        QStringList names;
        for (const Faunlet* f : std::as_const(loaded.list))
            names << f->getName();
        QCOMPARE(names, creatures);
        QCOMPARE(store.getName(), name);
        QCOMPARE(store.getOwner(), owner);
        QCOMPARE(debug.messages.size(), result ? 1 : 0);
        if (result)
            QCOMPARE(debug.messages.first().trimmed(), QStringLiteral("LOAD"));
        else
            QVERIFY(!store.lastError().isEmpty());
        if (!errorText.isEmpty())
            QVERIFY2(printed.contains(errorText), printed);
    }

    void addRefusesExistingUpdateReplaces()
    {
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("teams/T.xml", "old"));
        Faunlet f("A");
        classTeam store;
        QVERIFY(!store.addTeam("T", "O", {&f}));
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(readAll(dir.filePath("teams/T.xml")), QByteArray("old"));
        QVERIFY(store.updateTeam("T", "O", {&f}));
        QCOMPARE(namesInFile(dir.filePath("teams/T.xml")), QStringList{"A"});
        QCOMPARE(QDir(dir.filePath("teams")).entryList(QDir::Files | QDir::Hidden), QStringList{"T.xml"});
    }

    void unsafeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("dot") << ".";
        QTest::newRow("dot dot") << "..";
        QTest::newRow("leading dot") << ".hidden";
        QTest::newRow("up and out") << "../victim";
        QTest::newRow("slash") << "a/b";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("control character") << "tab\there";
        QTest::newRow("201 characters") << QString(201, 'x');
    }

    void unsafeNames()
    {
        QFETCH(QString, name);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("victim.xml", "keep"));
        QVERIFY(dir.write("teams/a", "keep"));
        const QStringList before = tree();
        Faunlet f("A");
        classTeam store;
        QVERIFY(!store.addTeam(name, "O", {&f}));
        QVERIFY(!store.lastError().isEmpty());
        QVERIFY(!store.updateTeam(name, "O", {&f}));
        QVERIFY(!store.deleteTeam(name));
        QVERIFY(!store.loadTeam(name + ".xml"));
        QCOMPARE(store.getName(), QString());
        QCOMPARE(store.getFaunlets().size(), 0);
        QCOMPARE(tree(), before);
        QCOMPARE(readAll(dir.filePath("victim.xml")), QByteArray("keep"));
    }

    void failedWrites_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("add, folder where the file goes") << false << "folder";
        QTest::newRow("update, folder where the file goes") << true << "folder";
        QTest::newRow("add, no teams folder") << false << "no teams";
        QTest::newRow("update, no teams folder") << true << "no teams";
    }

    void failedWrites()
    {
        QFETCH(bool, replace);
        QFETCH(QString, obstacle);
        workdir dir;
        QDir here(dir.path());
        if (obstacle == "folder")
            QVERIFY(here.mkpath("teams/T.xml/inside"));
        const QStringList before = tree();
        Faunlet f("A");
        classTeam store;
        QVERIFY(!(replace ? store.updateTeam("T", "O", {&f}) : store.addTeam("T", "O", {&f})));
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(tree(), before);
    }

    void fileSizeLimitKeepsOldFile()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        records members{{xml::getInstance("faundata.xml")->getFaunlet("MOSSLING")}};
        QVERIFY(classTeam().addTeam("T", "O", members.list));
        const QByteArray old = readAll(dir.filePath("teams/T.xml"));
        for (int i = 0; i < 40; ++i)
            members.list << new Faunlet(QStringLiteral("FILLER%1").arg(i));

        // Root ignores folder permissions, not a file-size limit; the limit
        // stays in the child.
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{std::min<rlim_t>(old.size() + 16, 4096), RLIM_INFINITY};
            setrlimit(RLIMIT_FSIZE, &limit);
            classTeam store;
            const bool saved = store.updateTeam("T", "O", members.list);
            _exit(saved ? 1 : store.lastError().isEmpty() ? 2 : 0);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(readAll(dir.filePath("teams/T.xml")), old);
        QCOMPARE(QDir(dir.filePath("teams")).entryList(QDir::Files | QDir::Hidden), QStringList{"T.xml"});
    }

};

QTEST_MAIN(tst_classTeam)
#include "tst_classteam.moc"
