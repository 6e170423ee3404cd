#include <QtTest>

#include "data/faunlet.h"
#include "data/xml.h"
#include "support/workdir.h"
#include "teamdata.h"
#include "teams/classteam.h"

namespace {

// Records handed out by the reader or the store belong to the test.
struct Records
{
    QList<Faunlet*> list;
    ~Records() { qDeleteAll(list); }
};

Faunlet* stock(const QString& name)
{
    return xml::getInstance("faundata.xml")->getFaunlet(name.toUtf8().toStdString());
}

QMap<QString, QString> fields(const Faunlet& f)
{
    const auto n = [](auto value) { return QString::number(value); };
    return {{"id", n(f.getId())},
            {"name", f.getName()},
            {"types", f.getType().join(',')},
            {"ability", f.getAbility()},
            {"experience", n(f.getExperience())},
            {"health", n(f.getHealth())},
            {"attack", n(f.getAttack())},
            {"defense", n(f.getDefense())},
            {"speed", n(f.getSpeed())},
            {"sat", n(f.getSAT())},
            {"sdf", n(f.getSDF())},
            {"level", n(f.getLevel())},
            {"sexe", f.getSexe()},
            {"height", n(f.getHeight())},
            {"weight", n(f.getWeight())},
            {"lvlEvo", f.getLvlEvo()},
            {"nameEvo", f.getNameEvo()},
            {"description", f.getDescription()}};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_classTeam : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir; // the herd and the store folders

private slots:
    void init()
    {
        dir = std::make_unique<WorkDir>();
        QVERIFY(dir->write("faundata.xml", herd()));
    }

    void cleanup() { dir.reset(); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("team");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QStringList>("members");
        QTest::newRow("several creatures")
            << QString("Alpha") << "Ann" << QStringList{"TIDEFIN", "MOSSLING", "EMBERLISK"};
        QTest::newRow("empty team") << QString("Nobody") << "Ann" << QStringList{};
        QTest::newRow("accents in team, owner and creature")
            << QString::fromUtf8("\xc3\x89quipe d'\xc3\xa9t\xc3\xa9") << QString::fromUtf8("Zo\xc3\xa9 \xe5\xa4\xaa")
            << QStringList{eclairome, "MOSSLING"};
        // The file name is longer than the longest team name allowed.
        QTest::newRow("longest name") << QString(200, QLatin1Char('t')) << "Ann" << QStringList{"MOSSLING"};
    }

    // Every stored value differs from the data file's, so each must come from the file.
    void roundTrip()
    {
        QFETCH(QString, team);
        QFETCH(QString, owner);
        QFETCH(QStringList, members);
        Records saved;
        for (const QString& name : members) {
            Faunlet* f = stock(name);
            QVERIFY2(f, qPrintable(name));
            saved.list << f;
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
            f->setWeight(99);
            f->setHeight(9);
            f->setEvo("OTHER", "99");
        }
        QVERIFY(classTeam().addTeam(team, owner, saved.list));

        classTeam back;
        QVERIFY(back.loadTeam(team + ".xml"));
        Records loaded{back.getFaunlets()};
        QCOMPARE(back.getName(), team);
        QCOMPARE(back.getOwner(), owner);
        QCOMPARE(loaded.list.size(), saved.list.size());
        for (qsizetype i = 0; i < saved.list.size(); ++i) {
            QMap<QString, QString> expected = fields(*saved.list.at(i));
            // Size and evolution always come from the data file.
            expected.insert({{"weight", "6.9"}, {"height", "0.7"}, {"lvlEvo", "16"}, {"nameEvo", members.at(i) + 'X'}});
            QCOMPARE(fields(*loaded.list.at(i)), expected);
        }
    }

    void loading_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QStringList>("creatures"); // name and level
        QTest::addColumn<QStringList>("leftOut");
        QTest::addColumn<QString>("why"); // the start of lastError()
        const QByteArray m = "<faunlet name=\"MOSSLING\" level=\"2\"/>";
        const QByteArray t = "<faunlet name=\"TIDEFIN\" level=\"3\"/>";
        const QByteArray team = "<team name=\"A\" owner=\"B\">";
        QTest::newRow("no file") << QByteArray() << false << "" << QStringList{} << QStringList{} << "No such file";
        QTest::newRow("not well-formed loads nothing, says where")
            << QByteArray(team + m) << true << "" << QStringList{} << QStringList{}
            << "line 1, column 61: Premature end of document.";
        QTest::newRow("root is not a team, read all the same")
            << QByteArray("<owner owner=\"B\">" + m + "</owner>") << true << "B" << QStringList{"MOSSLING 2"}
            << QStringList{} << "The file holds a \"owner\" element, not a team.";
        QTest::newRow("missing owner, level not a number or beyond 32 bits: 0")
            << QByteArray("<team name=\"A\"><faunlet name=\"MOSSLING\" level=\"abc\"/><faunlet name=\"TIDEFIN\" "
                          "level=\"99999999999\"/></team>")
            << true << "noname" << QStringList{"MOSSLING 0", "TIDEFIN 0"} << QStringList{} << "";
        QTest::newRow("unknown creatures left out, named; a comment between")
            << QByteArray(team + "<faunlet name=\"NOSUCH\"/>" + m + "\n <!-- B -->\n<faunlet/>" + t + "</team>") << true
            << "B" << QStringList{"MOSSLING 2", "TIDEFIN 3"} << QStringList{"NOSUCH", "noname"} << "";
    }

    void loading()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, result);
        QFETCH(QString, owner);
        QFETCH(QStringList, creatures);
        QFETCH(QStringList, leftOut);
        QFETCH(QString, why);
        if (!content.isNull())
            QVERIFY(dir->write("teams/T.xml", content));

        classTeam store;
        QCOMPARE(store.loadTeam("T.xml"), result);
        Records loaded{store.getFaunlets()};
        QStringList got;
        for (const Faunlet* f : std::as_const(loaded.list))
            got << f->getName() + ' ' + QString::number(f->getLevel());
        QCOMPARE(got, creatures);
        QCOMPARE(store.getOwner(), owner);
        QCOMPARE(store.leftOut(), leftOut);
        QVERIFY2(why.isEmpty() ? store.lastError().isEmpty() : store.lastError().startsWith(why),
                 qPrintable(store.lastError()));
    }

    // Add never replaces, update does, and no operation lets a name lead
    // out of the teams folder.
    void fileRules()
    {
        QVERIFY(dir->write("teams/T.xml", "old") && dir->write("victim.xml", "keep"));
        Faunlet f("A");
        classTeam store;
        QVERIFY(!store.addTeam("T", "O", {&f}));
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(readAll("teams/T.xml"), QByteArray("old"));
        const QString out = "../victim";
        QVERIFY(!store.updateTeam(out, "O", {&f}) && !store.deleteTeam(out) && !store.loadTeam(out + ".xml"));
        QCOMPARE(readAll("victim.xml"), QByteArray("keep"));
        QVERIFY(store.updateTeam("T", "O", {&f}));
        QCOMPARE(namesInFile("teams/T.xml"), QStringList{"A"});
    }
};

QTEST_MAIN(tst_classTeam)
#include "tst_classteam.moc"
