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

// Where the keyboard is: the open menu with its entries after the last
// separator (">" the checked one), or the focused widget with the selected
// rows of a list or a combo box's entry.
QString focusNow()
{
    if (auto menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        QStringList entries;
        for (QAction* entry : menu->actions())
            entries = entry->isSeparator() ? QStringList() : entries << (entry->isChecked() ? ">" : "") + entry->text();
        return menu->objectName() + ": " + entries.join(", ");
    }
    QWidget* focus = QApplication::focusWidget();
    QStringList chosen;
    if (auto list = qobject_cast<QListWidget*>(focus))
        for (QListWidgetItem* item : list->selectedItems())
            chosen << item->text();
    if (auto box = qobject_cast<QComboBox*>(focus))
        chosen << box->currentText();
    return (focus ? focus->objectName() : "-") + (chosen.isEmpty() ? "" : "[" + chosen.join(' ') + "]");
}

// Drags the list's selection from its current row onto the first team editor, `modifiers` held at the drop. The
// offscreen platform ends a drag as it starts, so the drop is delivered here with what the drag offered.
void dragToTeam(const Fauntome& window, Qt::KeyboardModifiers modifiers)
{
    auto list = part<QListWidget>(&window, "listFaunlet");
    const QPoint from = list->visualItemRect(list->currentItem()).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, from);
    for (const int x : {1, QApplication::startDragDistance() + 5}) // ready to drag, then dragging
        QTest::mouseMove(list->viewport(), from + QPoint(x, 0));
    const QDrag* drag = list->findChild<QDrag*>();
    QVERIFY(drag);
    QWidget* to = part<QListWidget>(window.findChild<TeamCreator*>(), "list_faunlet")->viewport();
    const QPoint at(5, to->height() - 5);
    QDragEnterEvent enter(at, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, modifiers);
    QDropEvent drop(at, drag->supportedActions(), drag->mimeData(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(to, &enter);
    QApplication::sendEvent(to, &drop);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, from);
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
    // counts them.
    void listFilled_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one to five") << QList<int>{1, 2, 3, 4, 5}
                                     << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN", "FERNMOSS", "GLOOMOTH"};
        QTest::newRow("stops at the first gap")
            << QList<int>{1, 2, 3, 5} << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN"};
    }

    void listFilled()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QStringList, expected);
        QVERIFY(dir->writeData(creatures(ids)));
        QSplashScreen splash;
        QSignalSpy messages(&splash, &QSplashScreen::messageChanged);
        Fauntome window(nullptr, &splash);
        QCOMPARE(visibleNames(window), expected);
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messages.last().first().toString(), QStringLiteral("%1 creatures read").arg(expected.size()));
    }

    // Every command of the menus answers to its own key, one no other has.
    void commandKeys()
    {
        Fauntome window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QStringList keys;
        for (QAction* menu : window.menuBar()->actions())
            for (QAction* command : menu->menu()->actions()) {
                command->disconnect(); // the key is all that is looked at
                QSignalSpy triggered(command, &QAction::triggered);
                if (!command->shortcut().isEmpty())
                    QTest::keyClick(&window, command->shortcut()[0].key(), command->shortcut()[0].keyboardModifiers());
                keys << command->text() + ' ' + command->shortcut().toString() + QString(triggered.size() - 1, '!');
            }
        QCOMPARE(keys.join(','),
                 "Find Ctrl+F, ,Exit Ctrl+Q,New owner Ctrl+N, ,Load owner Ctrl+O,Save owner Ctrl+S,"
                 "Create new team Ctrl+Shift+N, ,Load team Ctrl+Shift+O,Save team Ctrl+Shift+S,Cascade "
                 "Ctrl+Shift+C,Tiled Ctrl+Shift+T, ,Close Ctrl+F4,Next window Ctrl+Tab,Previous window "
                 "Ctrl+Shift+Backtab, ,Creature list Ctrl+L,About F1");
    }

    // Keys alone, each sent where a user's would go (the open menu, else the focused widget; 'text' is typed). After
    // each key, where the keyboard is (see focusNow) and the names shown if they changed; then the windows in creation
    // order as titled (">" the active one) and the status message. Types choose at once, with the search: the rows' in
    // any letter case, none for a blank one, an earlier namesake's for a row showing that one.
    void keys_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        const QString all = " {MOSS, EMBER, TIDE, FERN, GLOOM, TIDE, Owner – Ann[*]}";
        QTest::newRow("every type in turn, then all types again") << "Tab Down Down Down Down Down Down Home"
                                                                  << "comboBox_type[All types]" + all
                + "; comboBox_type[Fire] {EMBER}; comboBox_type[Grass] {MOSS, FERN}; comboBox_type[ice] {TIDE, TIDE}; "
                  "comboBox_type[Poison] {MOSS}; comboBox_type[Water] {TIDE, TIDE}; comboBox_type[Water]; "
                  "comboBox_type[All types]"
                + all + "||";
        QTest::newRow("a letter chooses a type, with the search")
            << "M Tab g Up Backtab F Tab Tab"
            << "lineEdit_search {MOSS, EMBER, GLOOM}; comboBox_type[All types]; comboBox_type[Grass] {MOSS}; "
               "comboBox_type[Fire] {EMBER}; lineEdit_search; lineEdit_search {}; comboBox_type[Fire]; listFaunlet||";
        // The search shows the names holding the text in any letter case.
        QTest::newRow("search field to the first creature shown, and back; Escape clears")
            << "'m' Down Ctrl+Down Ctrl+Space Ctrl+F 'zz' Down Escape Down Ctrl+F 'eRn' Ctrl+F 'OO' Return"
            << "lineEdit_search {MOSS, EMBER, GLOOM}; listFaunlet[MOSS]; listFaunlet[MOSS]; listFaunlet[MOSS EMBER]; "
               "lineEdit_search; "
               "lineEdit_search {}; lineEdit_search; lineEdit_search"
                + all
                + "; listFaunlet[MOSS]; lineEdit_search; lineEdit_search {FERN}; lineEdit_search; lineEdit_search "
                  "{GLOOM}; listFaunlet[GLOOM]||";
        QTest::newRow("Tab leaves a viewer, its moves too; Escape closes it")
            << "Return Return Ctrl+F Tab Tab Tab Tab Backtab Right Tab Tab Backtab Backtab Backtab Tab Escape"
            << "listFaunlet[MOSS]" + all
                + "; qt_tabwidget_tabbar; lineEdit_search; comboBox_type[All types]; listFaunlet[MOSS]; "
                  "qt_tabwidget_tabbar; lineEdit_search; qt_tabwidget_tabbar; qt_tabwidget_tabbar; textEdit_Attacks; "
                  "lineEdit_search; textEdit_Attacks; qt_tabwidget_tabbar; listFaunlet[MOSS]; qt_tabwidget_tabbar; "
                  "lineEdit_search||";
        QTest::newRow("windows: next, previous, chosen from the menu, closed")
            << "Return Return Ctrl+N 'x' Ctrl+Shift+N Ctrl+Tab Ctrl+Shift+Tab F10 Left Left 1 Ctrl+W Ctrl+Tab Ctrl+F "
               "Tab Tab Tab 'T' Ctrl+Shift+S"
            << "listFaunlet[MOSS]" + all
                + "; qt_tabwidget_tabbar; lineEdit_name; lineEdit_name; lineEdit_TeamName; qt_tabwidget_tabbar; "
                  "lineEdit_TeamName; menuFile: Exit; menu: About; menuWindows: &1 MOSS, &2 Owner*, >&3 TeamCreator; "
                  "qt_tabwidget_tabbar; lineEdit_name; lineEdit_TeamName; lineEdit_search; comboBox_type[All types]; "
                  "listFaunlet[MOSS]; lineEdit_TeamName; lineEdit_TeamName; lineEdit_TeamName|Owner*, >TeamCreator – "
                  "T|Team T saved";
        QTest::newRow("the list closed and shown again, a menu from F10, an owner named like a creature")
            << "Ctrl+L Ctrl+L Ctrl+N Ctrl+F Ctrl+L Ctrl+L F10 Right Return 'Ann' Ctrl+S Ctrl+F 'ann' Return Return"
            << "Fauntome" + all
                + "; listFaunlet; lineEdit_name; lineEdit_search; lineEdit_name; listFaunlet; menuFile: Exit; "
                  "menuOwner: Load owner, Save owner; lineEdit_name; lineEdit_name; lineEdit_name; lineEdit_search; "
                  "lineEdit_search {Owner – Ann[*]}; listFaunlet[Owner – Ann[*]]; qt_tabwidget_tabbar|Owner, Owner – "
                  "Ann, >Owner – Ann|Owner Ann saved";
    }

    void keys()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        QVERIFY(dir->useData("app/types.xml"));
        Fauntome window;
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        part<QLineEdit>(&window, "lineEdit_search")->setFocus();
        MessageBoxes unexpected; // none is: a row with one fails rather than hangs
        QStringList seen;
        QString names;
        for (const QString& key : keys.split(' ')) {
            QWidget* to
                = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::focusWidget();
            QVERIFY2(to, qPrintable(seen.join("; ")));
            if (key.startsWith('\''))
                QTest::keyClicks(to, key.mid(1, key.size() - 2));
            else
                QTest::keyClick(to, QKeySequence(key)[0].key(), QKeySequence(key)[0].keyboardModifiers());
            const QString now = " {" + visibleNames(window).join(", ") + "}";
            seen << focusNow() + (now == names ? "" : now);
            names = now;
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // a closed window,
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // then its frame
        auto workspace = part<QMdiArea>(&window, "");
        QStringList windows;
        for (QMdiSubWindow* frame : workspace->subWindowList())
            windows << (frame == workspace->activeSubWindow() ? ">" : "") + shownTitle(frame);
        QCOMPARE(QStringList({seen.join("; "), windows.join(", "), window.statusBar()->currentMessage()}).join('|'),
                 expected);
    }

    // Insert, or "Menu" and the context menu's first entry, adds the selected creatures in list order (else the row the
    // keys are on) to the only team editor, or to the one picked (the one active last first); with none the entry is
    // off. "drag" drops them on the first editor. Steps: 't' opens an editor, 'x' closes one, the rest are keys.
    // `expected`: on or off, each editor's rows ('*': changed); the list keeps every creature.
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
        // Shift asks for a move where one is offered; the list offers none.
        QTest::newRow("drags with no key, Shift and Ctrl only copy")
            << "t Home drag Down Shift+Down Shift+drag End Ctrl+drag"
            << "on|MOSSLING EMBERLISK TIDEFIN GLOOMOTH*";
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
            } else if (step.endsWith("drag")) {
                dragToTeam(window, QKeySequence(QString(step).replace("drag", "A"))[0].keyboardModifiers());
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
        QCOMPARE(part<QListWidget>(&window, "listFaunlet")->count(), 5);
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
        QTest::newRow("close, Escape: No") << true << "" << Answers{EscapeKey} << QStringList{quit} << false;
        // No button is the default, so Enter presses the one with the focus.
        QTest::newRow("Exit, Enter: the focused Yes") << false << "" << Answers{EnterKey} << QStringList{quit} << true;
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
