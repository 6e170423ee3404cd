#include <QtTest>

#include <QtWidgets>

#include "app/fauntome.h"
#include "faundatagen.h"
#include "support/part.h"
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
        QVERIFY(dir.write(QStringLiteral("faundata.xml"), faundatagen::generate(count)));

        Fauntome window;
        window.show();
        auto list = part<QListWidget>(&window, "listFaunlet");
        QCOMPARE(list->count(), count);

        QListWidgetItem* last = list->item(count - 1);
        window.processSearch(last->text());
        QVERIFY(!last->isHidden());
        QVERIFY(list->item(0)->isHidden());

        window.faunletShow(last);
        auto viewer = part<viewFaunlet>(&window, "viewFaunlet");
        QCOMPARE(viewer->windowTitle(), last->text());
        QVERIFY(!part<QTextEdit>(viewer, "textEdit_Attacks")->toPlainText().isEmpty());

        window.teamCreate();
        auto editor = part<TeamCreator>(&window, "TeamCreator");
        auto team = part<QListWidget>(editor, "list_faunlet");
        std::unique_ptr<QMimeData> mime(list->model()->mimeData({list->model()->index(count - 1, 0)}));
        QVERIFY(team->model()->dropMimeData(mime.get(), Qt::CopyAction, -1, 0, QModelIndex()));
        QTRY_COMPARE(team->count(), 1);
        team->setCurrentRow(0);
        // Every creature learns a move at level 1, so a fresh member lists one.
        QTRY_VERIFY(!part<QTextEdit>(editor, "textEdit_attackView")->toPlainText().isEmpty());
    }
};

QTEST_MAIN(tst_Scale)
#include "tst_scale.moc"
