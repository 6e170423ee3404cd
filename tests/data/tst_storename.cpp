#include <QtTest>

#include "data/storename.h"

// The one rule for every name that becomes an owner or team file.
class tst_StoreName : public QObject
{
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem"); // empty: the name is safe
        QTest::newRow("accents, spaces, markup") << "Zoë O'Hara & <Co>" << "";
        QTest::newRow("200 characters") << QString(200, 'n') << "";
        QTest::newRow("201 characters") << QString(201, 'n') << "A name cannot be longer than 200 characters.";
        QTest::newRow("empty") << "" << "The name is empty.";
        QTest::newRow("spaces only") << "   " << "The name is empty.";
        QTest::newRow("dot") << "." << "\".\" is not a valid name.";
        QTest::newRow("dot dot") << ".." << "\"..\" is not a valid name.";
        QTest::newRow("leading dot") << ".hidden" << "A name cannot start with \".\".";
        QTest::newRow("slash") << "a/b" << "A name cannot contain \"/\" or \"\\\".";
        QTest::newRow("backslash") << "a\\b" << "A name cannot contain \"/\" or \"\\\".";
        QTest::newRow("tab") << "a\tb" << "A name cannot contain control characters.";
        QTest::newRow("delete character") << "a\x7f" "b" << "A name cannot contain control characters.";
    }

    // A listed entry is judged without its ".xml", so a name of 200
    // characters can be loaded again.
    void rule()
    {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QCOMPARE(StoreName::problem(name), problem);
        QCOMPARE(StoreName::entryProblem(name + ".xml"), problem);
    }
};

QTEST_APPLESS_MAIN(tst_StoreName)
#include "tst_storename.moc"
