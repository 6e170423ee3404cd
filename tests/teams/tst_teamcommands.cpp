#include <QtTest>

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/fauntome.h"
#include "support/dialogs.h"
#include "support/workdir.h"
#include "teamdata.h"

class tst_TeamCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0); }

    void saveWarnings_data()
    {
        QTest::addColumn<QString>("active"); // icon text of a plain window; empty: no window
        QTest::addColumn<QString>("warning");
        QTest::newRow("no window") << ""
                                   << "You must open Team window";
        QTest::newRow("an owner editor") << "Owner"
                                         << "You are not in Team window.";
        QTest::newRow("another kind wearing the team's icon text") << "TeamCreator"
                                                                   << "You are not in Team window.";
    }

    void saveWarnings()
    {
        QFETCH(QString, active);
        QFETCH(QString, warning);
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        Fauntome window;
        window.show();
        if (!active.isEmpty()) {
            auto other = new QWidget;
            other->setWindowIconText(active);
            QMdiArea* workspace = window.findChild<QMdiArea*>();
            workspace->setActiveSubWindow(workspace->addSubWindow(other));
            other->show();
        }
        MessageBoxes boxes;
        window.teamSave();
        QCOMPARE(boxes.seen, QStringList{"Warning !|" + warning});
    }

    void saveWritesOnlyTheActiveEditor()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        Fauntome window;
        window.show();
        window.teamCreate();
        window.teamCreate();
        auto workspace = window.findChild<QMdiArea*>();
        const QList<QMdiSubWindow*> frames = workspace->subWindowList();
        QCOMPARE(frames.size(), 2);
        frames.at(0)->widget()->findChild<QLineEdit*>("lineEdit_TeamName")->setText("First");
        frames.at(1)->widget()->findChild<QLineEdit*>("lineEdit_TeamName")->setText("Second");

        workspace->setActiveSubWindow(frames.at(0));
        window.teamSave();
        QVERIFY(QFile::exists("teams/First.xml"));
        QVERIFY(!QFile::exists("teams/Second.xml"));

        workspace->setActiveSubWindow(frames.at(1));
        window.teamSave();
        QVERIFY(QFile::exists("teams/Second.xml"));
    }
};

QTEST_MAIN(tst_TeamCommands)
#include "tst_teamcommands.moc"
