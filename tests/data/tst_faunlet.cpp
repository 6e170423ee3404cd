#include <QtTest>

#include "data/faunlet.h"
#include "data/skills.h"

class tst_Faunlet : public QObject
{
    Q_OBJECT

private slots:
    void freshRecord()
    {
        const Faunlet f(QStringLiteral("MOSSLING"));
        QCOMPARE(f.getName(), QStringLiteral("MOSSLING"));
        QCOMPARE(f.getId(), 0);
        QCOMPARE(f.getLevel(), 1);
        QCOMPARE(f.getExperience() + f.getHealth() + f.getAttack() + f.getDefense() + f.getSpeed()
                     + f.getSAT() + f.getSDF(),
                 0);
        QCOMPARE(f.getHeight(), 0.0f);
        QVERIFY(f.getType().isEmpty());
        QVERIFY(f.getSexe().isEmpty() && f.getNameEvo().isEmpty() && f.getLvlEvo().isEmpty());
    }

    void experienceAccumulates()
    {
        Faunlet f(QStringLiteral("A"));
        f.addExperience(30);
        f.addExperience(12);
        QCOMPARE(f.getExperience(), 42);
    }

    void types_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("removed");
        QTest::addColumn<QStringList>("expected");
        const QStringList three{"Fire", "Flying", "Fire"};
        QTest::newRow("duplicates kept") << three << QString() << three;
        QTest::newRow("remove drops every copy") << three << "Fire" << QStringList{"Flying"};
        QTest::newRow("remove is case-sensitive") << three << "fire" << three;
    }

    void types()
    {
        QFETCH(QStringList, added);
        QFETCH(QString, removed);
        QFETCH(QStringList, expected);
        Faunlet f(QStringLiteral("A"));
        for (const QString& type : added)
            QVERIFY(f.addType(type));
        if (!removed.isNull())
            QVERIFY(f.removeType(removed));
        QCOMPARE(f.getType(), expected);
    }

    void copyIsIndependent()
    {
        Faunlet source(QStringLiteral("A"));
        source.addType(QStringLiteral("Fire"));
        source.addType(QStringLiteral("Ice"));
        source.setEvo(QStringLiteral("B"), QStringLiteral("16"));
        Faunlet copy(source);
        copy.removeType(QStringLiteral("Fire"));
        QCOMPARE(source.getType(), (QStringList{"Fire", "Ice"}));
        QCOMPARE(copy.getNameEvo(), QStringLiteral("B"));
        QCOMPARE(copy.getLvlEvo(), QStringLiteral("16"));
        Faunlet assigned(QStringLiteral("Z"));
        assigned = source;
        QCOMPARE(assigned.getType(), source.getType());
    }

    void skillsCopy()
    {
        skills s;
        s.setName(QStringLiteral("Moss Lash"));
        s.setLvl(7);
        const skills copy = s;
        QCOMPARE(copy.getName(), QStringLiteral("Moss Lash"));
        QCOMPARE(copy.getLvl(), 7);
        QVERIFY(copy.getType().isEmpty() && copy.getMachine().isEmpty());
    }
};

QTEST_APPLESS_MAIN(tst_Faunlet)
#include "tst_faunlet.moc"
