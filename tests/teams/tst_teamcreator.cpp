#include <QtTest>

#include <QtWidgets>

#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"
#include "teamdata.h"
#include "teams/teamcreator.h"

namespace {

QListWidget* rowsOf(const TeamCreator& editor)
{
    return part<QListWidget>(&editor, "list_faunlet");
}

QStringList texts(const QAbstractItemModel* model)
{
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row)
        out << model->index(row, 0).data().toString();
    return out;
}

std::unique_ptr<QMimeData> dragged(const QStringList& names)
{
    QListWidget source;
    source.addItems(names);
    QModelIndexList picked;
    for (int row = 0; row < source.count(); ++row)
        picked << source.model()->index(row, 0);
    return std::unique_ptr<QMimeData>(source.model()->mimeData(picked));
}

// One step of an editing session: "end: A B" drops A and B past the last row; "onto N: A" releases a drag over the
// upper part of row N, inserting above it; "add: A B" adds them as "Add to team" does; "row N" focuses the list on
// row N; "up", "down", "delete" press those buttons; "key K" presses K on the focused widget, "focus W" focuses W;
// "keys" presses Return in the name, then Escape; "name X", "owner X" fill those fields; "save", "load F" (alone:
// cancelled) and "close" do what they say.
void perform(TeamCreator& editor, const QString& step)
{
    QListWidget* list = rowsOf(editor);
    const QStringList words = QString(step).remove(':').split(' ');
    const QString verb = words.first();
    const int row = words.value(1).toInt();
    if (verb == "name") {
        part<QLineEdit>(&editor, "lineEdit_TeamName")->setText(words.value(1));
    } else if (verb == "owner") {
        part<QComboBox>(&editor, "comboBox_owner")->setCurrentText(words.value(1));
    } else if (verb == "save") {
        editor.teamSave();
    } else if (verb == "load") {
        answerItemPicker(words.size() > 1 ? words.at(1) : QString());
        editor.teamLoad();
    } else if (verb == "close") {
        editor.close();
    } else if (verb == "row") {
        list->setFocus();
        list->setCurrentRow(row);
    } else if (verb == "add") {
        editor.addFaunlets(words.mid(1));
    } else if (verb == "key") {
        const QKeyCombination key = QKeySequence(words.value(1))[0];
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    } else if (verb == "focus") {
        editor.activateWindow(); // a modal dialog before may have left none active
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        part<QWidget>(&editor, qPrintable(words.value(1)))->setFocus();
    } else if (verb == "up" || verb == "down" || verb == "delete") {
        part<QPushButton>(&editor, qPrintable("btn_" + verb + "Faunlet"))->click();
    } else if (verb == "keys") {
        QTest::keyClick(part<QLineEdit>(&editor, "lineEdit_TeamName"), Qt::Key_Return);
        QTest::keyClick(&editor, Qt::Key_Escape);
    } else if (verb == "onto") {
        QVERIFY(list->isVisible()); // rows have places only when shown
        const QPoint at = list->visualItemRect(list->item(row)).topLeft() + QPoint(10, 1);
        const std::unique_ptr<QMimeData> mime = dragged(words.mid(2));
        QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDropEvent release(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &release);
        QVERIFY(release.isAccepted());
    } else {
        const std::unique_ptr<QMimeData> mime = dragged(words.mid(1));
        QVERIFY(list->model()->dropMimeData(mime.get(), Qt::CopyAction, -1, 0, QModelIndex()));
    }
    // The editor judges drops once the event loop runs, before the user acts again.
    QCoreApplication::processEvents();
}

// Writes teams/<team>.xml; each member is the attributes of one creature.
bool writeTeam(const WorkDir& dir, const QString& team, const QString& owner, const QStringList& members)
{
    QString xml = "<team name=\"" + team + "\" owner=\"" + owner + "\">";
    for (const QString& attributes : members)
        xml += "<faunlet " + attributes + "/>";
    return dir.write("teams/" + team + ".xml", (xml + "</team>").toUtf8());
}

} // namespace

class tst_TeamCreator : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir; // the herd and the store folders

private slots:
    void init()
    {
        dir = std::make_unique<WorkDir>();
        QVERIFY(dir->write("faundata.xml", herd()));
    }

    void cleanup()
    {
        const auto reset = qScopeGuard([this] { dir.reset(); });
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void editing_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("rows"); // also what a save must write, in that order
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("hp"); // of the current creature; -1: not looked at
        const QString three = "end: MOSSLING EMBERLISK TIDEFIN";
        const QStringList met{"MOSSLING", "EMBERLISK", "TIDEFIN"};
        QTest::newRow("added: unknown and held names refused, order kept")
            << QStringList{"end: TIDEFIN", "add: MOSSLING NOSUCH TIDEFIN EMBERLISK"}
            << QStringList{"TIDEFIN", "MOSSLING", "EMBERLISK"} << -1 << -1;
        QTest::newRow("several dropped above, first already there")
            << QStringList{"end: MOSSLING", "onto 0: MOSSLING EMBERLISK " + eclairome, "row 1"}
            << QStringList{"EMBERLISK", eclairome, "MOSSLING"} << 1 << 60;
        QTest::newRow("delete, up and down by button and by key, with no current row, drop again")
            << QStringList{three,     "row 0",  "delete", "row 1", "key Del",      "row -1",
                           "key Del", "delete", "up",     "down",  "key Alt+Down", "end: MOSSLING"}
            << QStringList{"EMBERLISK", "MOSSLING"} << -1 << 39;
        QTest::newRow("up on the top row, down on the bottom row")
            << QStringList{three, "row 0", "up", "row 2", "down"} << met << 2 << 44;
        QTest::newRow("up by button, then by key") << QStringList{three, "row 2", "up", "key Alt+Up"}
                                                   << QStringList{"TIDEFIN", "MOSSLING", "EMBERLISK"} << 0 << 44;
        QTest::newRow("down by key, then by button") << QStringList{three, "row 0", "key Alt+Down", "down"}
                                                     << QStringList{"EMBERLISK", "TIDEFIN", "MOSSLING"} << 2 << 45;
        // Escape would hide the editor out of reach; Return would press a button.
        QTest::newRow("keys neither hide nor move") << QStringList{three, "row 1", "keys"} << met << 1 << 39;
    }

    void editing()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, rows);
        QFETCH(int, current);
        QFETCH(int, hp);
        TeamCreator editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowActive(&editor)); // for its keys
        for (const QString& step : steps)
            perform(editor, step);
        QVERIFY(editor.isVisible());
        QCOMPARE(texts(rowsOf(editor)->model()), rows);
        QCOMPARE(rowsOf(editor)->currentRow(), current);
        if (hp != -1)
            QCOMPARE(part<QProgressBar>(&editor, "progressBar_HP")->value(), hp);
        perform(editor, "name T");
        perform(editor, "save");
        QCOMPARE(namesInFile("teams/T.xml"), rows);
    }

    // A loaded member shows its level and the moves up to it.
    void loadedCreature_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("moves");
        QTest::newRow("level 1") << 1 << "Nip\nGnaw";
        QTest::newRow("level 3") << 3 << "Nip\nGnaw\nTackle\nBite";
        QTest::newRow("highest level does not hang") << 2147483647 << "Nip\nGnaw\nTackle\nBite\nCrunch";
    }

    void loadedCreature()
    {
        QFETCH(int, level);
        QFETCH(QString, moves);
        QVERIFY(writeTeam(*dir, "T", "O", {QString("name='MOSSLING' level='%1'").arg(level)}));
        TeamCreator editor;
        perform(editor, "load T.xml");
        rowsOf(editor)->setCurrentRow(0);
        QCOMPARE(part<QLabel>(&editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>%1</font>").arg(level));
        QCOMPARE(part<QTextEdit>(&editor, "textEdit_attackView")->toPlainText(), moves);
    }

    // Owners are listed without ".xml", whatever the case, hidden files and what is no owner file left out.
    void owners()
    {
        for (const char* file : {"B.xml", "a.xml", "x.xml.xml", ".hidden.xml", ".xml"})
            QVERIFY(dir->write(QStringLiteral("owners/") + file, "<owner/>"));
        QVERIFY(dir->write("owners/notes.txt", "text") && dir->write("owners/Team.xml", "<team/>"));
        TeamCreator editor;
        QCOMPARE(texts(part<QComboBox>(&editor, "comboBox_owner")->model()), (QStringList{"a", "B", "x"}));
    }

    // A save onto a file this editor neither loaded nor saved asks first; a load that fails says why and leaves the
    // editor empty; closing with changes asks Save / Discard / Cancel. `form` is "name|owner:owners|rows|title as
    // shown" of an editor still open, whose signals agree. "disk X" is another program rewriting or removing T.xml;
    // "disk owners", one writing an owner Cat and removing Bob.
    void session_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("folderChanged");
        QTest::addColumn<QString>("form");
        const QString replaceT = "Warning !|The team \"T\" already exists: replace it?";
        const QString unsavedU = "Warning !|The team \"U\" has unsaved changes. Save them?";
        const QString failed = "Warning !|The team file \"%1\" could not be loaded: %2";
        const Answers none;
        QTest::newRow("new editor onto a team, Escape: No")
            << QStringList{"end: MOSSLING", "name T", "save"} << Answers{EscapeKey} << QStringList{replaceT} << true
            << false << "T|Ann:Ann,Bob|MOSSLING|TeamCreator*";
        QTest::newRow("new editor onto a team, Yes")
            << QStringList{"end: MOSSLING", "name T", "save"} << Answers{QMessageBox::Yes} << QStringList{replaceT}
            << true << true << "T|Ann:Ann,Bob|MOSSLING|TeamCreator – T";
        QTest::newRow("loaded, saved under its own name")
            << QStringList{"load T.xml", "end: MOSSLING", "save"} << none << QStringList{} << true << true
            << "T|Bob:Bob,Ann,Bob|TIDEFIN,MOSSLING|TeamCreator – T";
        QTest::newRow("changed on disk, Enter: No; Escape: Cancel, still changed")
            << QStringList{"load T.xml", "end: MOSSLING", "disk rewrite", "save", "close"}
            << Answers{EnterKey, EscapeKey}
            << QStringList{"Warning !|The team file \"T.xml\" was changed by another program since this editor "
                           "loaded or saved it: replace it?",
                           "Warning !|The team \"T\" has unsaved changes. Save them?"}
            << true << false << "T|Bob:Bob,Ann,Bob|TIDEFIN,MOSSLING|TeamCreator – T*";
        QTest::newRow("removed from disk, written again")
            << QStringList{"load T.xml", "end: MOSSLING", "disk remove", "save"} << none << QStringList{} << true
            << true << "T|Bob:Bob,Ann,Bob|TIDEFIN,MOSSLING|TeamCreator – T";
        // Creatures the data file lacks are named; the file is then not the
        // editor's own.
        QTest::newRow("creatures left out, then saved under that name, No")
            << QStringList{"load Lost.xml", "save"} << Answers{QMessageBox::Ok, QMessageBox::No}
            << QStringList{"Warning !|The team \"Lost\" is shown without the creatures that the data file does not "
                           "have: NOSUCH, GHOST",
                           "Warning !|The team \"Lost\" already exists: replace it?"}
            << true << false << "Lost|Bob:Bob,Ann,Bob|TIDEFIN|TeamCreator";
        QTest::newRow("saved once, saved again")
            << QStringList{"name U", "save", "end: MOSSLING", "save"} << none << QStringList{} << true << true
            << "U|Ann:Ann,Bob|MOSSLING|TeamCreator – U";
        QTest::newRow("a folder in the way")
            << QStringList{"end: MOSSLING", "name Folder", "save"} << Answers{QMessageBox::Yes}
            << QStringList{"Warning !|The team \"Folder\" already exists: replace it?",
                           "Warning !|The team could not be saved: A folder stands where the file must go."}
            << true << false << "Folder|Ann:Ann,Bob|MOSSLING|TeamCreator*";
        QTest::newRow("load cancelled, load of a folder")
            << QStringList{"load", "load Folder.xml"} << none
            << QStringList{failed.arg("Folder.xml", "file to open is a directory")} << true << false
            << "|Ann:Ann,Bob||TeamCreator";
        QTest::newRow("unchanged closes without a word")
            << QStringList{"close"} << none << QStringList{} << false << false << "";
        QTest::newRow("saved twice, closes without a word")
            << QStringList{"end: MOSSLING", "name U", "save", "end: TIDEFIN", "save", "close"} << none << QStringList{}
            << false << true << "";
        QTest::newRow("member dropped, Cancel keeps it")
            << QStringList{"name U", "save", "end: MOSSLING", "close"} << Answers{QMessageBox::Cancel}
            << QStringList{unsavedU} << true << true << "U|Ann:Ann,Bob|MOSSLING|TeamCreator – U*";
        QTest::newRow("order changed, Discard closes")
            << QStringList{"end: MOSSLING TIDEFIN", "name U", "save", "row 1", "up", "close"}
            << Answers{QMessageBox::Discard} << QStringList{unsavedU} << false << true << "";
        QTest::newRow("owner changed, Save writes and closes")
            << QStringList{"name U", "owner Bob", "close"} << Answers{QMessageBox::Save} << QStringList{unsavedU}
            << false << true << "";
        QTest::newRow("owners listed anew as the list opens, the choice kept without a file")
            << QStringList{"load T.xml", "focus comboBox_owner", "disk owners", "key Alt+Down"} << none << QStringList{}
            << true << false << "T|Bob:Bob,Ann,Cat|TIDEFIN|TeamCreator – T";
        QTest::newRow("a Save that fails keeps it")
            << QStringList{"end: MOSSLING", "close"} << Answers{QMessageBox::Save}
            << QStringList{"Warning !|This team has unsaved changes. Save them?",
                           "Warning !|The team cannot be saved under this name. The name is empty."}
            << true << false << "|Ann:Ann,Bob|MOSSLING|TeamCreator*";
    }

    void session()
    {
        QFETCH(QStringList, steps);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, open);
        QFETCH(bool, folderChanged);
        QFETCH(QString, form);
        QVERIFY(dir->write("owners/Ann.xml", "<owner/>") && dir->write("owners/Bob.xml", "<owner/>"));
        QVERIFY(writeTeam(*dir, "T", "Bob", {"name='TIDEFIN'"}) && QDir().mkpath("teams/Folder.xml"));
        QVERIFY(writeTeam(*dir, "Lost", "Bob", {"name='NOSUCH'", "name='TIDEFIN'", "name='GHOST'"}));
        QStringList before = dir->snapshot();
        QPointer<TeamCreator> editor = new TeamCreator;
        const auto closed = qScopeGuard([&editor] { delete editor; }); // a failed check too
        editor->setAttribute(Qt::WA_DeleteOnClose);
        editor->show();
        const EditorFile& file = editor->editorFile();
        QSignalSpy held(&file, &EditorFile::heldChanged), modified(&file, &EditorFile::modificationChanged);
        MessageBoxes seen(answers);
        int flips = 0; // the mark turns as often as steps leave the form changed, or unchanged, anew
        for (const QString& step : steps) {
            if (step.startsWith("disk")) {
                QVERIFY(step.endsWith("owners")
                            ? dir->write("owners/Cat.xml", "<owner/>") && QFile::remove("owners/Bob.xml")
                            : step.endsWith("remove") ? QFile::remove("teams/T.xml")
                                                      : writeTeam(*dir, "T", "Cat", {}));
                before = dir->snapshot(); // what the editor writes, not the other program
            } else
                perform(*editor, step);
            flips += editor && editor->isModified() != (flips % 2 == 1);
        }
        QCOMPARE(seen.seen, boxes);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(!editor.isNull(), open);
        QCOMPARE(dir->snapshot() != before, folderChanged);
        if (!open)
            return;
        QCOMPARE((QVariantList{held.isEmpty() ? QString() : held.last().first(), modified.size()}),
                 (QVariantList{file.held(), flips}));
        auto owners = part<QComboBox>(editor, "comboBox_owner");
        QCOMPARE(QStringList({part<QLineEdit>(editor, "lineEdit_TeamName")->text(),
                              owners->currentText() + ':' + texts(owners->model()).join(','),
                              texts(rowsOf(*editor)->model()).join(','), shownTitle(editor)})
                     .join('|'),
                 form);
    }
};

QTEST_MAIN(tst_TeamCreator)
#include "tst_teamcreator.moc"
