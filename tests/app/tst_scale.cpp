#include <QtTest>

#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QTextEdit>

#include "app/fauntome.h"
#include "faundatagen.h"
#include "support/dialogs.h"
#include "support/workdir.h"
#include "teams/teamcreator.h"
#include "viewer/viewfaunlet.h"

// The whole program on a data file of 20,000 creatures: nothing here is
// timed (the benchmark measures that), it only has to work at that size.
class tst_Scale : public QObject
{
    Q_OBJECT

private slots:
    void twentyThousandCreatures()
    {
        const int count = 20000;
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write(QStringLiteral("faundata.xml"), faundatagen::generate(count)));

        Fauntome window;
        window.show();
        auto list = window.findChild<QListWidget*>(QStringLiteral("listFaunlet"));
        QCOMPARE(list->count(), count);

        QListWidgetItem* last = list->item(count - 1);
        window.processSearch(last->text());
        QVERIFY(!last->isHidden());
        QVERIFY(list->item(0)->isHidden());
        window.processSearch(QString());
        QVERIFY(!list->item(0)->isHidden());

        auto workspace = window.findChild<QMdiArea*>();
        window.faunletShow(last);
        QCOMPARE(workspace->subWindowList().size(), 1);
        auto viewer = qobject_cast<viewFaunlet*>(workspace->subWindowList().first()->widget());
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), last->text());
        QVERIFY(!viewer->findChild<QTextEdit*>(QStringLiteral("textEdit_Attacks"))->toPlainText().isEmpty());

        window.teamCreate();
        auto editor = qobject_cast<TeamCreator*>(workspace->currentSubWindow()->widget());
        QVERIFY(editor);
        auto team = editor->findChild<QListWidget*>(QStringLiteral("list_faunlet"));
        std::unique_ptr<QMimeData> mime(list->model()->mimeData({list->model()->index(count - 1, 0)}));
        QVERIFY(team->model()->dropMimeData(mime.get(), Qt::CopyAction, -1, 0, QModelIndex()));
        QTRY_COMPARE(team->count(), 1);
        team->setCurrentRow(0);
        // Every creature learns a move at level 1, so a fresh member lists one.
        QTRY_VERIFY(!editor->findChild<QTextEdit*>(QStringLiteral("textEdit_attackView"))->toPlainText().isEmpty());

        MessageBoxes boxes({QMessageBox::Discard});
        for (QMdiSubWindow* frame : workspace->subWindowList())
            frame->close();
        QCOMPARE(boxes.seen.size(), 1);
        QTRY_COMPARE(workspace->subWindowList().size(), 0);
    }
};

QTEST_MAIN(tst_Scale)
#include "tst_scale.moc"
