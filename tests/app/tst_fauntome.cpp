#include <QtTest>

#include <QtWidgets>

#include "app/fauntome.h"
#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"
#include "teams/teamcreator.h"

namespace {

QStringList visibleNames(const QWidget& window, const char* name = "listFaunlet")
{
    auto list = part<QListWidget>(&window, name);
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        if (!list->item(i)->isHidden())
            out << list->item(i)->text();
    return out;
}

QByteArray creatures(const QList<int>& ids)
{
    const QList<QByteArray> names{"", "MOSSLING", "EMBERLISK", "TIDEFIN", "FERNMOSS", "GLOOMOTH"};
    QByteArray out;
    for (int id : ids)
        out += creature(id, names.value(id));
    return out;
}

// Opens an editor ('o' owner, 't' team) in the workspace and, unless `name`
// is empty, types that name into it.
QWidget* openEditor(Fauntome& window, QChar kind, const QString& name)
{
    if (kind == 't')
        window.teamCreate();
    else
        window.ownerNew();
    QWidget* editor = part<QMdiArea>(&window, "")->currentSubWindow()->widget();
    if (!name.isEmpty())
        part<QLineEdit>(editor, kind == 't' ? "lineEdit_TeamName" : "lineEdit_name")->setText(name);
    return editor;
}

} // namespace

class tst_Fauntome : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir; // five creatures and the store folders

private slots:
    void init()
    {
        dir = std::make_unique<WorkDir>();
        QVERIFY(dir->writeData(creatures({1, 2, 3, 4, 5})));
    }

    void cleanup()
    {
        // A test that leaves a window behind would leak into the next one.
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
        dir.reset();
    }

    // The list holds creatures 1, 2, 3... up to the first gap, and the splash
    // counts them; the search shows the names holding the typed text in any
    // letter case, and all of them again once erased.
    void listAndSearch_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("expected");
        const QList<int> five{1, 2, 3, 4, 5};
        QTest::newRow("one to five") << five << QString()
                                     << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN", "FERNMOSS", "GLOOMOTH"};
        QTest::newRow("stops at the first gap")
            << QList<int>{1, 2, 3, 5} << QString() << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN"};
        QTest::newRow("search in capitals, anywhere") << five << "MOSS" << QStringList{"MOSSLING", "FERNMOSS"};
        QTest::newRow("search in mixed case, in the middle") << five << "eRnM" << QStringList{"FERNMOSS"};
        QTest::newRow("search matching nothing") << five << "zz" << QStringList{};
    }

    void listAndSearch()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, typed);
        QFETCH(QStringList, expected);
        QVERIFY(dir->writeData(creatures(ids)));
        QSplashScreen splash;
        QSignalSpy messages(&splash, &QSplashScreen::messageChanged);
        Fauntome window(nullptr, &splash);
        const int listed = part<QListWidget>(&window, "listFaunlet")->count();
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages.last().first().toString(), QStringLiteral("%1 creatures read").arg(listed));
        auto field = part<QLineEdit>(&window, "lineEdit_search");
        QTest::keyClicks(field, typed);
        QCOMPARE(visibleNames(window), expected);
        field->clear();
        QCOMPARE(visibleNames(window).size(), listed);
    }

    // Keys go to the focused widget, from the search field on to the type
    // selector and the list; each key chooses at once, with the search. The
    // entries are the rows' types in any letter case: one without text is none,
    // and a row named like an earlier creature has that one's, as its viewer
    // shows. After each key, the entry and names shown; then the focus.
    void typeSelector_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("every entry in turn, then all types again")
            << QStringList{"Tab", "Down", "Down", "Down", "Down", "Down", "Down", "Home"}
            << "All types: MOSS EMBER TIDE FERN GLOOM TIDE|Fire: EMBER|Grass: MOSS FERN|ice: TIDE TIDE|Poison: MOSS|"
               "Water: TIDE TIDE|Water: TIDE TIDE|All types: MOSS EMBER TIDE FERN GLOOM TIDE|comboBox_type";
        QTest::newRow("a letter chooses, with the search")
            << QStringList{"M", "Tab", "g", "Up", "Backtab", "F", "Tab", "Tab"}
            << "All types: MOSS EMBER GLOOM|All types: MOSS EMBER GLOOM|Grass: MOSS|Fire: EMBER|Fire: EMBER|Fire: |"
               "Fire: |Fire: |listFaunlet";
    }

    void typeSelector()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, expected);
        QVERIFY(dir->useData("app/types.xml"));
        Fauntome window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        part<QLineEdit>(&window, "lineEdit_search")->setFocus();
        QStringList shown;
        for (const QString& key : keys) {
            QTest::keyClick(QApplication::focusWidget(), QKeySequence(key)[0].key());
            shown << part<QComboBox>(&window, "comboBox_type")->currentText() + ": " + visibleNames(window).join(' ');
        }
        QCOMPARE((shown << QApplication::focusWidget()->objectName()).join('|'), expected);
    }

    // Insert on the list, or "Menu" and the context menu's first entry, adds the selected creatures in list order
    // (else the row the keys are on) to the only team editor, or to the one picked, the one active last first; with
    // none the entry is off. Steps: 't' opens an editor, 'x' closes one, the rest are keys. `expected`: on or off,
    // each editor's rows ('*': changed).
    void teamAdd_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("only editor closed: off, Insert idle") << "t x Down Insert"
                                                              << "off";
        QTest::newRow("one editor: Insert, list order") << "t End Up Shift+Up Insert"
                                                        << "on|TIDEFIN FERNMOSS*";
        QTest::newRow("two editors, none selected: menu, picker") << "t t Menu"
                                                                  << "on|MOSSLING*|";
    }

    void teamAdd()
    {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        Fauntome window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (const QString& step : steps.split(' ')) {
            const QKeyCombination key = QKeySequence(step)[0];
            if (step == "t" || step == "x") {
                step == "t" ? window.teamCreate() : void(window.findChild<TeamCreator*>()->close());
            } else if (step == "Menu") {
                answerItemPicker("TeamCreator (2)");
                whenDialogShown([](QWidget* w) { return qobject_cast<QMenu*>(w); },
                                [](QWidget* menu) {
                                    QTest::keyClick(menu, Qt::Key_Down);
                                    QTest::keyClick(menu, Qt::Key_Return);
                                });
                QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, {}); // the desktop's menu key
                QApplication::sendEvent(QApplication::focusWidget(), &menu);
            } else {
                QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            }
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // what closing leaves
            QCoreApplication::processEvents();
            part<QListWidget>(&window, "listFaunlet")->setFocus();
        }
        QStringList shown{part<QAction>(&window, "actionAdd_to_team")->isEnabled() ? "on" : "off"};
        for (const TeamCreator* editor : window.findChildren<TeamCreator*>())
            shown << visibleNames(*editor, "list_faunlet").join(' ') + (editor->isModified() ? "*" : "");
        QCOMPARE(shown.join('|'), expected);
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
        auto window = std::make_unique<Fauntome>();
        window->show();
        for (const QChar kind : editors)
            openEditor(*window, kind, kind == 'u' ? "" : kind == 't' ? "T" : "Ann");
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
        QCOMPARE(part<QMdiArea>(window.get(), "")->subWindowList().size(), editors.size());
        QCOMPARE(QFile::exists("teams/T.xml"), answers.first() == QMessageBox::Save);
    }

    // The save commands act on the active window when it is an editor of
    // their kind, by icon text and by class; anything else gets a warning.
    void saveCommands_data()
    {
        QTest::addColumn<QString>(
            "command"); // then the windows: o, t: editors; p: a plain window, the owner's icon text
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("owner, no window")
            << "owner " << QStringList{"Warning !|You must open Owner window"} << QStringList{};
        QTest::newRow("owner, a plain window wearing its icon text")
            << "owner p" << QStringList{"Warning !|You are not in Owner window."} << QStringList{};
        QTest::newRow("owner, the active one of two editors saves")
            << "owner oo" << QStringList{} << QStringList{"owners/A.xml"};
        QTest::newRow("team, no window") << "team " << QStringList{"Warning !|You must open Team window"}
                                         << QStringList{};
        QTest::newRow("team, an owner editor")
            << "team o" << QStringList{"Warning !|You are not in Team window."} << QStringList{};
        QTest::newRow("team, the active one of two editors saves")
            << "team tt" << QStringList{} << QStringList{"teams/A.xml"};
    }

    void saveCommands()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, files);
        Fauntome window;
        window.show();
        auto workspace = part<QMdiArea>(&window, "");
        QList<QMdiSubWindow*> frames;
        for (const QChar kind : command.section(' ', 1)) {
            QWidget* opened
                = kind == 'p' ? new QDialog : openEditor(window, kind, QString(QChar(char16_t(u'A' + frames.size()))));
            if (kind == 'p') {
                opened->setWindowIconText("Owner");
                workspace->addSubWindow(opened)->show();
            }
            frames << qobject_cast<QMdiSubWindow*>(opened->parentWidget());
        }
        if (!frames.isEmpty())
            workspace->setActiveSubWindow(frames.first());
        MessageBoxes seen;
        part<QAction>(&window, qPrintable("actionSave_" + command.section(' ', 0, 0)))->trigger();
        QCOMPARE(seen.seen, boxes);
        QStringList written = QDir("owners").entryList(QDir::Files);
        for (QString& file : written)
            file.prepend("owners/");
        for (const QString& file : QDir("teams").entryList(QDir::Files))
            written << "teams/" + file;
        QCOMPARE(written, files);
    }

    // Loading a file that an open editor holds brings that editor forward; a
    // failed load leaves no editor, a cancelled choice an empty one. A step
    // is an action, then the file picked ("-": Cancel); `result` is "windows
    // open|the active one".
    void loadCommands_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("result");
        QTest::newRow("owner held") << QStringList{"New_Owner", "Load_owner Ann.xml", "New_Owner", "Load_owner Ann.xml"}
                                    << "3|1";
        QTest::newRow("team held") << QStringList{"Load_team T.xml", "Create_new_team", "Load_team T.xml"} << "2|0";
        QTest::newRow("owner not well-formed") << QStringList{"Load_owner Bad.xml"} << "0|-1";
        QTest::newRow("team root not a team") << QStringList{"Load_team Bad.xml"} << "0|-1";
        QTest::newRow("team without a creature") << QStringList{"Load_team Lost.xml"} << "1|0";
        QTest::newRow("choice cancelled") << QStringList{"Load_team -"} << "1|0";
    }

    void loadCommands()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, result);
        const QByteArray team = "<team name=\"T\" owner=\"Ann\"><faunlet name=\"MOSSLING\"/>";
        QVERIFY(dir->write("owners/Ann.xml", "<owner name=\"Ann\"/>") && dir->write("owners/Bad.xml", "<owner")
                && dir->write("teams/T.xml", team + "</team>") && dir->write("teams/Bad.xml", "<owner/>")
                && dir->write("teams/Lost.xml", team + "<faunlet name=\"NOSUCH\"/></team>"));
        Fauntome window;
        window.show();
        MessageBoxes seen;
        for (const QString& step : steps) {
            if (step.contains(' '))
                answerItemPicker(step.endsWith('-') ? QString() : step.section(' ', 1));
            part<QAction>(&window, qPrintable("action" + step.section(' ', 0, 0)))->trigger();
        }
        auto workspace = part<QMdiArea>(&window, "");
        const QList<QMdiSubWindow*> frames = workspace->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(QString("%1|%2").arg(frames.size()).arg(frames.indexOf(workspace->currentSubWindow())), result);
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
        Fauntome window;
        // Room for the whole box, so that it can be asked to be wholly in view.
        window.setWindowState(Qt::WindowNoState);
        window.resize(1280, 800);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto workspace = part<QMdiArea>(&window, "");
        // A viewer in the way makes the workspace place the box lower down.
        if (viewerOpen)
            window.faunletShow(part<QListWidget>(&window, "listFaunlet")->item(0));
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

    // A window that closes itself (Escape in a dialog) is deleted without its
    // workspace frame noticing; the frame must not stay behind, empty.
    void selfClosedWindowLeavesNoFrame()
    {
        Fauntome window;
        window.show();
        auto workspace = part<QMdiArea>(&window, "");
        window.faunletShow(part<QListWidget>(&window, "listFaunlet")->item(0));
        QCOMPARE(workspace->subWindowList().size(), 1);
        QTest::keyClick(workspace->subWindowList().first()->widget(), Qt::Key_Escape);
        QTRY_COMPARE(workspace->subWindowList().size(), 0);
    }

    void startCreatesStoreDirectories()
    {
        QVERIFY(QDir("owners").removeRecursively() && QDir("teams").removeRecursively());
        for (int run = 0; run < 2; ++run) {
            QProcess program;
            program.start(QStringLiteral(FAUNTOME_BINARY), {});
            QVERIFY(program.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(QDir("owners").exists() && QDir("teams").exists(), 20000);
            program.kill();
            program.waitForFinished();
            if (run == 0)
                QVERIFY(dir->write("owners/keep.xml", "kept"));
        }
        QVERIFY(QFile::exists("owners/keep.xml"));
    }
};

QTEST_MAIN(tst_Fauntome)
#include "tst_fauntome.moc"
