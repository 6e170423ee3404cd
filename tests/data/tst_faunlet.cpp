#include <QtTest>

#include "data/faunlet.h"

class tst_Faunlet : public QObject
{
    Q_OBJECT

private slots:
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
};

QTEST_APPLESS_MAIN(tst_Faunlet)
#include "tst_faunlet.moc"
