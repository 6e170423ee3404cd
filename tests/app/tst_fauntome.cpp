#include <QtTest>

#include <QAbstractButton>
#include <QDir>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QSplashScreen>

#include "app/fauntome.h"
#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"

using Answers = QList<QMessageBox::StandardButton>;

namespace {

QStringList visibleNames(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (!list->item(i)->isHidden())
            out << list->item(i)->text();
    return out;
}

QByteArray sampleCreatures(const QList<int>& ids)
{
    const QList<QByteArray> names{"", "MOSSLING", "EMBERLISK", "TIDEFIN", "FERNMOSS", "GLOOMOTH"};
    QByteArray out;
    for (int id : ids)
        out += creature(id, names.value(id));
    return out;
}

} // namespace

class tst_Fauntome : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        // A test that leaves a window behind would leak into the next one.
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void listFollowsNumbers_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one to five") << QList<int>{1, 2, 3, 4, 5}
                                     << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN", "FERNMOSS", "GLOOMOTH"};
        QTest::newRow("stops at the first gap")
            << QList<int>{1, 2, 3, 5} << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN"};
        QTest::newRow("no creature one") << QList<int>{2, 3} << QStringList{};
    }

    void listFollowsNumbers()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QStringList, expected);
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures(ids)));
        Fauntome window;
        QCOMPARE(visibleNames(window.findChild<QListWidget*>("listFaunlet")), expected);
    }

    void splashCountsCreatures()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures({1, 2, 3, 4, 5})));
        QSplashScreen splash;
        QSignalSpy messages(&splash, &QSplashScreen::messageChanged);
        Fauntome window(nullptr, &splash);
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages.last().first().toString(), QStringLiteral("5 creatures read"));
    }

    void search_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("capitals anywhere") << "MOSS" << QStringList{"MOSSLING", "FERNMOSS"};
        QTest::newRow("small letters") << "lisk" << QStringList{"EMBERLISK"};
        QTest::newRow("mixed case, middle") << "eRnM" << QStringList{"FERNMOSS"};
        QTest::newRow("nothing matches") << "zz" << QStringList{};
    }

    void search()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures({1, 2, 3, 4, 5})));
        Fauntome window;
        auto list = window.findChild<QListWidget*>("listFaunlet");
        auto field = window.findChild<QLineEdit*>("lineEdit_search");
        QTest::keyClicks(field, typed);
        QCOMPARE(visibleNames(list), expected);
        QCOMPARE(list->count(), 5);
        field->clear();
        QCOMPARE(visibleNames(list).size(), 5);
    }

    // Each changed editor is asked about before the quit question itself;
    // Cancel on one keeps the program running.
    void quitConfirmation_data()
    {
        QTest::addColumn<bool>("fromClose");
        QTest::addColumn<QString>("editors"); // o: changed owner, t: changed team, u: unchanged owner
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("quits");
        const QString quit = "Fauntome|Voulez-vous vraiment quitter ?";
        const QString owner = "Warning !|The owner \"Ann\" has unsaved changes. Save them?";
        const QString team = "Warning !|The team \"T\" has unsaved changes. Save them?";
        QTest::newRow("Exit, No") << false << "" << Answers{QMessageBox::No} << QStringList{quit} << false;
        QTest::newRow("Exit, Yes") << false << "" << Answers{QMessageBox::Yes} << QStringList{quit} << true;
        QTest::newRow("close, No") << true << "" << Answers{QMessageBox::No} << QStringList{quit} << false;
        QTest::newRow("close, Yes") << true << "" << Answers{QMessageBox::Yes} << QStringList{quit} << true;
        QTest::newRow("unchanged editor: the quit question only")
            << true << "u" << Answers{QMessageBox::Yes} << QStringList{quit} << true;
        QTest::newRow("changed owner, Cancel: no quit question")
            << true << "o" << Answers{QMessageBox::Cancel} << QStringList{owner} << false;
        QTest::newRow("owner and team changed, both discarded, Yes")
            << false << "ot" << Answers{QMessageBox::Discard, QMessageBox::Discard, QMessageBox::Yes}
            << QStringList{owner, team, quit} << true;
        QTest::newRow("changed team saved, then No")
            << false << "t" << Answers{QMessageBox::Save, QMessageBox::No} << QStringList{team, quit} << false;
    }

    void quitConfirmation()
    {
        QFETCH(bool, fromClose);
        QFETCH(QString, editors);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, quits);
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures({1})));
        QVERIFY(dir.makeStoreDirs());
        auto window = std::make_unique<Fauntome>();
        window->show();
        auto workspace = window->findChild<QMdiArea*>();
        for (const QChar kind : editors) {
            if (kind == 't')
                window->teamCreate();
            else
                window->ownerNew();
            const char* field = kind == 't' ? "lineEdit_TeamName" : "lineEdit_name";
            if (kind != 'u')
                part<QLineEdit>(workspace->currentSubWindow()->widget(), field)->setText(kind == 't' ? "T" : "Ann");
        }
        MessageBoxes seen(answers);
        // The application's own loop, because leaving it is what a Yes does;
        // it ends with 0 only if the window asked it to.
        QTimer fallback; // scoped, so it cannot fire into a later test
        fallback.setSingleShot(true);
        connect(&fallback, &QTimer::timeout, qApp, [] { QApplication::exit(7); });
        QTimer::singleShot(0, window.get(), [&] {
            if (fromClose)
                window->close();
            else
                window->exitApplication();
            fallback.start(50);
        });
        const int status = QApplication::exec();
        QCOMPARE(seen.seen, boxes);
        QCOMPARE(status, quits ? 0 : 7);
        QCOMPARE(window->isVisible(), !quits || !fromClose);
        QCOMPARE(workspace->subWindowList().size(), editors.size());
        QCOMPARE(QFile::exists("teams/T.xml"), answers.first() == QMessageBox::Save);
    }

    void aboutBoxInWorkspace_data()
    {
        QTest::addColumn<int>("key"); // 0: the OK button is clicked
        QTest::addColumn<bool>("viewerOpen");
        QTest::newRow("OK, empty workspace") << 0 << false;
        QTest::newRow("Enter, empty workspace") << int(Qt::Key_Return) << false;
        QTest::newRow("Escape, a viewer open") << int(Qt::Key_Escape) << true;
    }

    void aboutBoxInWorkspace()
    {
        QFETCH(int, key);
        QFETCH(bool, viewerOpen);
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures({1})));
        Fauntome window;
        // Room for the whole box, so that it can be asked to be wholly in view.
        window.setWindowState(Qt::WindowNoState);
        window.resize(1280, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto workspace = window.findChild<QMdiArea*>();
        QVERIFY(workspace);
        // A viewer in the way makes the workspace place the box lower down.
        if (viewerOpen)
            window.faunletShow(window.findChild<QListWidget*>("listFaunlet")->item(0));
        bool inWorkspace = false;
        bool menusBlocked = false;
        QRect button, visible, placed;
        bool closedByKey = false;
        whenDialogShown([](QWidget* w) { return qobject_cast<QMessageBox*>(w); },
                        [&](QWidget* w) {
                            auto box = static_cast<QMessageBox*>(w);
                            QMdiSubWindow* sub = workspace->subWindowList().constLast();
                            inWorkspace = workspace->subWindowList().size() == 1 + viewerOpen && sub->widget() == box
                                && box->windowTitle() == QLatin1String("About...");
                            menusBlocked = !window.menuBar()->isEnabled();
                            QAbstractButton* ok = box->button(QMessageBox::Ok);
                            button = QRect(ok->mapTo(sub, QPoint(0, 0)), ok->size());
                            visible = sub->layout()->contentsRect(); // below the title bar, inside the borders
                            placed = sub->geometry();
                            if (key) {
                                // Keys go where a user's keys go: to the focus.
                                QWidget* focus = QApplication::focusWidget();
                                if (focus && box->isAncestorOf(focus))
                                    QTest::keyClick(focus, Qt::Key(key));
                                closedByKey = !box->isVisible();
                            }
                            if (box->isVisible())
                                ok->click();
                        });
        window.aboutFauntome();
        QVERIFY(inWorkspace);
        QVERIFY(menusBlocked);
        QCOMPARE(visible.united(button), visible);
        QCOMPARE(workspace->viewport()->rect().united(placed), workspace->viewport()->rect());
        QCOMPARE(closedByKey, key != 0);
        QVERIFY(window.menuBar()->isEnabled());
        QCOMPARE(workspace->subWindowList().size(), int(viewerOpen));
    }

    // Escape in a dialog closes it without its workspace frame noticing; the
    // frame must not stay behind, empty.
    void selfClosedWindowLeavesNoFrame_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("viewer") << 0;
        QTest::newRow("owner editor") << 1;
        QTest::newRow("team editor") << 2;
    }

    void selfClosedWindowLeavesNoFrame()
    {
        QFETCH(int, kind);
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures({1})));
        QVERIFY(dir.makeStoreDirs());
        Fauntome window;
        window.show();
        auto workspace = window.findChild<QMdiArea*>();
        if (kind == 0)
            window.faunletShow(window.findChild<QListWidget*>("listFaunlet")->item(0));
        else if (kind == 1)
            window.ownerNew();
        else
            window.teamCreate();
        QCOMPARE(workspace->subWindowList().size(), 1);
        workspace->subWindowList().first()->widget()->close();
        QTRY_COMPARE(workspace->subWindowList().size(), 0);
    }

    void startCreatesStoreDirectories()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(sampleCreatures({1})));
        for (int run = 0; run < 2; ++run) {
            QProcess program;
            program.setWorkingDirectory(dir.path());
            program.start(QStringLiteral(FAUNTOME_BINARY), {});
            QVERIFY(program.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QDir(dir.filePath("owners")).exists() && QDir(dir.filePath("teams")).exists(),
                                     20000);
            program.kill();
            program.waitForFinished();
            if (run == 0)
                QVERIFY(dir.write(QStringLiteral("owners/keep.xml"), "kept"));
        }
        QFile kept(dir.filePath("owners/keep.xml"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
    }
};

QTEST_MAIN(tst_Fauntome)
#include "tst_fauntome.moc"
