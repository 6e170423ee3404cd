#include <QtTest>

#include <QAbstractButton>
#include <QAction>
#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "app/fauntome.h"
#include "data/faunlet.h"
#include "data/xml.h"
#include "support/dialogs.h"
#include "support/workdir.h"
#include "teamdata.h"
#include "teams/classteam.h"
#include "teams/teamcreator.h"

namespace {

void trigger(Fauntome& window, const char* action)
{
    QAction* found = window.findChild<QAction*>(action);
    QVERIFY2(found, action);
    found->trigger();
}

QList<TeamCreator*> editors(Fauntome& window)
{
    QList<TeamCreator*> out;
    for (QMdiSubWindow* frame : window.findChild<QMdiArea*>()->subWindowList())
        if (auto editor = qobject_cast<TeamCreator*>(frame->widget()))
            out << editor;
    return out;
}

QStringList rows(const TeamCreator* editor)
{
    const QListWidget* list = editor->findChild<QListWidget*>("list_faunlet");
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// Answers the next team choice with `entry`, or cancels it when null.
void chooseTeam(const QString& entry)
{
    whenDialogShown([](QWidget* w) { return qobject_cast<QInputDialog*>(w) != nullptr; },
                    [entry](QWidget* w) {
                        auto dialog = static_cast<QInputDialog*>(w);
                        if (entry.isNull())
                            return dialog->reject();
                        dialog->setTextValue(entry);
                        dialog->accept();
                    });
}

} // namespace

class tst_TeamCommands : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void saveWarnings_data()
    {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QString>("warning");
        QTest::newRow("no window") << "" << "You must open Team window";
        QTest::newRow("an owner editor") << "Owner" << "You are not in Team window.";
        QTest::newRow("a viewer") << "MOSSLING" << "You are not in Team window.";
        QTest::newRow("another kind wearing the team's icon text") << "TeamCreator" << "You are not in Team window.";
    }

    void saveWarnings()
    {
        QFETCH(QString, active);
        QFETCH(QString, warning);
        workdir dir;
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
        bool plain = false;
        QString seen;
        whenDialogShown([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                        [&](QWidget* w) {
                            auto box = static_cast<QMessageBox*>(w);
                            plain = box->icon() == QMessageBox::NoIcon && !box->parent();
                            seen = box->windowTitle() + '|' + box->text();
                            box->button(QMessageBox::Ok)->click();
                        });
        trigger(window, "actionSave_team");
        QCOMPARE(seen, "Warning !|" + warning);
        QVERIFY(plain);
    }

    void createOpensEditorThatDiesWhenClosed_data()
    {
        QTest::addColumn<bool>("closeFrame");
        QTest::newRow("closing the workspace window") << true;
        QTest::newRow("closing the editor") << false;
    }

    void createOpensEditorThatDiesWhenClosed()
    {
        QFETCH(bool, closeFrame);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        Fauntome window;
        window.show();
        trigger(window, "actionCreate_new_team");
        QCOMPARE(editors(window).size(), 1);
        QPointer<TeamCreator> editor = editors(window).first();
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->windowTitle(), QStringLiteral("TeamCreator"));
        QCOMPARE(editor->windowIconText(), QStringLiteral("TeamCreator"));
        editor->findChild<QLineEdit*>("lineEdit_TeamName")->setText("Kept?");
        auto workspace = window.findChild<QMdiArea*>();
        if (closeFrame)
            workspace->subWindowList().first()->close();
        else
            editor->close();
        QTRY_VERIFY(editor.isNull());
        QTRY_COMPARE(workspace->subWindowList().size(), 0);

        trigger(window, "actionCreate_new_team");
        QCOMPARE(editors(window).first()->findChild<QLineEdit*>("lineEdit_TeamName")->text(), QString());
    }

    void saveWritesOnlyTheActiveEditor()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        Fauntome window;
        window.show();
        trigger(window, "actionCreate_new_team");
        trigger(window, "actionCreate_new_team");
        const QList<TeamCreator*> both = editors(window);
        QCOMPARE(both.size(), 2);
        both.at(0)->findChild<QLineEdit*>("lineEdit_TeamName")->setText("First");
        both.at(1)->findChild<QLineEdit*>("lineEdit_TeamName")->setText("Second");
        auto workspace = window.findChild<QMdiArea*>();

        workspace->setActiveSubWindow(workspace->subWindowList().at(0));
        trigger(window, "actionSave_team");
        QVERIFY(QFile::exists("teams/First.xml"));
        QVERIFY(!QFile::exists("teams/Second.xml"));

        workspace->setActiveSubWindow(workspace->subWindowList().at(1));
        trigger(window, "actionSave_team");
        QVERIFY(QFile::exists("teams/Second.xml"));
    }

    void dropFromTheMainList()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        Fauntome window;
        window.show();
        trigger(window, "actionCreate_new_team");
        TeamCreator* editor = editors(window).first();
        QListWidget* main = window.findChild<QListWidget*>("listFaunlet");
        QCOMPARE(main->count(), 4);
        std::unique_ptr<QMimeData> mime(
            main->model()->mimeData({main->model()->index(2, 0), main->model()->index(0, 0)}));
        auto target = editor->findChild<QListWidget*>("list_faunlet");
        QVERIFY(target->model()->dropMimeData(mime.get(), Qt::CopyAction, -1, 0, QModelIndex()));
        QVERIFY(target->model()->dropMimeData(mime.get(), Qt::CopyAction, -1, 0, QModelIndex()));
        QTRY_COMPARE(rows(editor), (QStringList{"MOSSLING", "TIDEFIN"}));
        QCOMPARE(main->count(), 4);
        editor->findChild<QLineEdit*>("lineEdit_TeamName")->setText("T");
        trigger(window, "actionSave_team");
        QCOMPARE(namesInFile("teams/T.xml"), (QStringList{"MOSSLING", "TIDEFIN"}));
    }

    void loadOpensNewEditors()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        Faunlet* member = xml::getInstance("faundata.xml")->getFaunlet("MOSSLING");
        QVERIFY(member);
        const bool written = classTeam().addTeam("T", "Ann", {member});
        delete member;
        QVERIFY(written);
        Fauntome window;
        window.show();

        chooseTeam(QString());
        trigger(window, "actionLoad_team");
        QCOMPARE(editors(window).size(), 1);
        QVERIFY(editors(window).at(0)->isVisible());
        QCOMPARE(editors(window).at(0)->windowTitle(), QStringLiteral("TeamCreator"));
        QCOMPARE(rows(editors(window).at(0)), QStringList{});

        chooseTeam("T.xml");
        trigger(window, "actionLoad_team");
        chooseTeam("T.xml");
        trigger(window, "actionLoad_team");
        const QList<TeamCreator*> all = editors(window);
        QCOMPARE(all.size(), 3);
        QCOMPARE(rows(all.at(1)), QStringList{"MOSSLING"});
        QCOMPARE(rows(all.at(2)), QStringList{"MOSSLING"});
        // Each editor has its own records: emptying one leaves the other.
        auto list = all.at(1)->findChild<QListWidget*>("list_faunlet");
        list->setCurrentRow(0);
        all.at(1)->listDeleteFaunlet();
        QCOMPARE(rows(all.at(1)), QStringList{});
        QCOMPARE(rows(all.at(2)), QStringList{"MOSSLING"});
    }
};

QTEST_MAIN(tst_TeamCommands)
#include "tst_teamcommands.moc"
