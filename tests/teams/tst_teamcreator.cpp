#include <QtTest>

#include <QComboBox>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTextEdit>

#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"
#include "teamdata.h"
#include "teams/teamcreator.h"

using Answers = QList<QMessageBox::StandardButton>;

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

// What a drag of these names from the main list carries.
std::unique_ptr<QMimeData> dragged(const QStringList& names)
{
    QListWidget source;
    source.addItems(names);
    QModelIndexList picked;
    for (int row = 0; row < source.count(); ++row)
        picked << source.model()->index(row, 0);
    return std::unique_ptr<QMimeData>(source.model()->mimeData(picked));
}

// One step of an editing session: "end: A B" drops A and B past the last row;
// "onto N: A" releases a drag over the upper part of row N, inserting above it;
// "over N: A" is what the list's model makes of a drop on row N, which the
// model's own handling would write over the rows from there on; "row N" makes row N current; "up",
// "down" and "delete" press those buttons; "keys" presses Return in the name,
// then Escape; "name X" and "owner X" fill those fields; "save" saves and
// "load F" loads the team file F.
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
        answerItemPicker(words.value(1));
        editor.teamLoad();
    } else if (verb == "row") {
        list->setCurrentRow(row);
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
        const bool end = verb == "end";
        const std::unique_ptr<QMimeData> mime = dragged(words.mid(end ? 1 : 2));
        QVERIFY(list->model()->dropMimeData(mime.get(), Qt::CopyAction, end ? -1 : row, 0, QModelIndex()));
    }
    // The editor judges drops once the event loop runs, before the user acts again.
    QCoreApplication::processEvents();
}

QStringList saveAs(TeamCreator& editor, const QString& name)
{
    part<QLineEdit>(&editor, "lineEdit_TeamName")->setText(name);
    editor.teamSave();
    return namesInFile("teams/" + name + ".xml");
}

// Runs the editor's load, choosing `entry`, or cancelling when it is null.
void loadChoosing(TeamCreator& editor, const QString& entry)
{
    answerItemPicker(entry);
    editor.teamLoad();
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

private slots:
    void cleanup() { QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0); }

    void editing_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("rows"); // also what a save must write, in that order
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("hp"); // of the current creature; -1: not looked at
        const QString three = "end: MOSSLING EMBERLISK TIDEFIN";
        const QStringList met{"MOSSLING", "EMBERLISK", "TIDEFIN"};
        QTest::newRow("same creature dropped twice keeps one")
            << QStringList{"end: MOSSLING", "end: MOSSLING"} << QStringList{"MOSSLING"} << -1 << -1;
        QTest::newRow("unknown name refused")
            << QStringList{"end: MOSSLING NOSUCH TIDEFIN"} << QStringList{"MOSSLING", "TIDEFIN"} << -1 << -1;
        QTest::newRow("several at once, one already there")
            << QStringList{"end: EMBERLISK", three} << QStringList{"EMBERLISK", "MOSSLING", "TIDEFIN"} << -1 << -1;
        QTest::newRow("several dropped above, first already there")
            << QStringList{"end: MOSSLING", "onto 0: MOSSLING EMBERLISK " + eclairome, "row 1"}
            << QStringList{"EMBERLISK", eclairome, "MOSSLING"} << 1 << 60;
        QTest::newRow("a drop on a row goes in there, writing over nothing")
            << QStringList{"end: MOSSLING TIDEFIN", "over 1: EMBERLISK", "row 1"}
            << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN"} << 1 << 39;
        QTest::newRow("delete, delete with no current row, drop again")
            << QStringList{three, "row 0", "delete", "row -1", "delete", "end: MOSSLING"}
            << QStringList{"EMBERLISK", "TIDEFIN", "MOSSLING"} << -1 << 39;
        QTest::newRow("up on the top row") << QStringList{three, "row 0", "up"} << met << 0 << 45;
        QTest::newRow("down on the bottom row") << QStringList{three, "row 2", "down"} << met << 2 << 44;
        QTest::newRow("up from the middle")
            << QStringList{three, "row 1", "up"} << QStringList{"EMBERLISK", "MOSSLING", "TIDEFIN"} << 0 << 39;
        QTest::newRow("down from the middle, then the row below")
            << QStringList{three, "row 1", "down", "row 1"} << QStringList{"MOSSLING", "TIDEFIN", "EMBERLISK"} << 1
            << 44;
        // Escape would hide the editor out of reach; Return would press a button.
        QTest::newRow("keys neither hide nor move") << QStringList{three, "row 1", "keys"} << met << 1 << 39;
        QTest::newRow("up and down with no current row")
            << QStringList{three, "row -1", "up", "down"} << met << -1 << -1;
    }

    void editing()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, rows);
        QFETCH(int, current);
        QFETCH(int, hp);
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        TeamCreator editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        for (const QString& step : steps)
            perform(editor, step);
        QVERIFY(editor.isVisible());
        QCOMPARE(texts(rowsOf(editor)->model()), rows);
        QCOMPARE(rowsOf(editor)->currentRow(), current);
        if (hp != -1)
            QCOMPARE(part<QProgressBar>(&editor, "progressBar_HP")->value(), hp);
        QCOMPARE(saveAs(editor, "T"), rows);
    }

    void loadedCreature_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("health");
        QTest::addColumn<QString>("moves");
        QTest::addColumn<int>("bar"); // clamped like the viewer's, the true value as text
        QTest::addColumn<QString>("barText");
        QTest::newRow("level 1") << 1 << 80 << "Nip\nGnaw" << 80 << "80";
        QTest::newRow("level 3, health above 100") << 3 << 150 << "Nip\nGnaw\nTackle\nBite" << 100 << "150";
        QTest::newRow("highest level does not hang, negative health")
            << 2147483647 << -5 << "Nip\nGnaw\nTackle\nBite\nCrunch" << 0 << "-5";
    }

    void loadedCreature()
    {
        QFETCH(int, level);
        QFETCH(int, health);
        QFETCH(QString, moves);
        QFETCH(int, bar);
        QFETCH(QString, barText);
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(writeTeam(dir, "T", "O", {QString("name='MOSSLING' level='%1' health='%2'").arg(level).arg(health)}));
        TeamCreator editor;
        loadChoosing(editor, "T.xml");
        rowsOf(editor)->setCurrentRow(0);
        QCOMPARE(part<QLabel>(&editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>%1</font>").arg(level));
        QCOMPARE(part<QTextEdit>(&editor, "textEdit_attackView")->toPlainText(), moves);
        QCOMPARE(part<QProgressBar>(&editor, "progressBar_HP")->value(), bar);
        QCOMPARE(part<QProgressBar>(&editor, "progressBar_HP")->text(), barText);
    }

    void ownersListedWithoutXml()
    {
        WorkDir dir;
        QVERIFY(dir.makeStoreDirs());
        for (const char* file : {"B.xml", "a.xml", "x.xml.xml"})
            QVERIFY(dir.write(QStringLiteral("owners/") + file, "<owner/>"));
        TeamCreator editor;
        auto box = part<QComboBox>(&editor, "comboBox_owner");
        QCOMPARE(texts(box->model()), (QStringList{"a", "B", "x"}));
        QCOMPARE(box->currentIndex(), 0);
    }

    void loadedOwnerListedTwice()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("owners/Ann.xml", "<owner/>"));
        QVERIFY(dir.write("owners/Bob.xml", "<owner/>"));
        const QString team = QString::fromUtf8("\xc3\x89quipe");
        QVERIFY(writeTeam(dir, team, "Bob", {"name='TIDEFIN'", "name='MOSSLING'"}));
        TeamCreator editor;
        loadChoosing(editor, team + ".xml");
        auto box = part<QComboBox>(&editor, "comboBox_owner");
        QCOMPARE(texts(box->model()), (QStringList{"Bob", "Ann", "Bob"}));
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(part<QLineEdit>(&editor, "lineEdit_TeamName")->text(), team);
        QCOMPARE(texts(rowsOf(editor)->model()), (QStringList{"TIDEFIN", "MOSSLING"}));
    }

    void failedLoadLeavesEditorEmpty_data()
    {
        QTest::addColumn<QString>("entry"); // null: the choice is cancelled
        QTest::addColumn<QStringList>("owners");
        QTest::addColumn<QString>("warning");
        QTest::newRow("cancelled") << QString() << QStringList{"Ann"} << QString();
        QTest::newRow("a folder, not a file")
            << "Folder.xml" << QStringList{"", "Ann"} << "Warning !|The team file \"Folder.xml\" could not be loaded: ";
        QTest::newRow("not well-formed, says where")
            << "Bad.xml" << QStringList{"", "Ann"}
            << "Warning !|The team file \"Bad.xml\" could not be loaded: line 1, column 33: Premature end of document.";
    }

    void failedLoadLeavesEditorEmpty()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, owners);
        QFETCH(QString, warning);
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("owners/Ann.xml", "<owner/>"));
        QVERIFY(writeTeam(dir, "T", "Bob", {"name='TIDEFIN'"}));
        QVERIFY(QDir().mkpath("teams/Folder.xml"));
        QVERIFY(dir.write("teams/Bad.xml", "<team name=\"T\"><faunlet name='X'>"));
        MessageBoxes boxes;
        TeamCreator editor;
        loadChoosing(editor, entry);
        QCOMPARE(boxes.seen.size(), warning.isEmpty() ? 0 : 1);
        QVERIFY2(boxes.seen.value(0).startsWith(warning), qPrintable(boxes.seen.value(0)));
        QVERIFY(!editor.isModified());
        QCOMPARE(rowsOf(editor)->count(), 0);
        QCOMPARE(part<QLineEdit>(&editor, "lineEdit_TeamName")->text(), QString());
        QCOMPARE(texts(part<QComboBox>(&editor, "comboBox_owner")->model()), owners);
    }

    // A save that would replace a file this editor neither loaded nor saved
    // asks first.
    void replacingAnotherTeam_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("folderChanged");
        const QString question = "Warning !|The team \"T\" already exists: replace it?";
        QTest::newRow("new editor onto a team, No") << QStringList{"end: MOSSLING", "name T", "save"}
                                                    << Answers{QMessageBox::No} << QStringList{question} << false;
        QTest::newRow("new editor onto a team, Yes") << QStringList{"end: MOSSLING", "name T", "save"}
                                                     << Answers{QMessageBox::Yes} << QStringList{question} << true;
        QTest::newRow("loaded, saved under its own name")
            << QStringList{"load T.xml", "end: MOSSLING", "save"} << Answers{} << QStringList{} << true;
        QTest::newRow("saved once, saved again")
            << QStringList{"name U", "save", "end: MOSSLING", "save"} << Answers{} << QStringList{} << true;
    }

    void replacingAnotherTeam()
    {
        QFETCH(QStringList, steps);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, folderChanged);
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(writeTeam(dir, "T", "Bob", {"name='TIDEFIN'"}));
        const QStringList before = dir.snapshot();
        TeamCreator editor;
        MessageBoxes seen(answers);
        for (const QString& step : steps)
            perform(editor, step);
        QCOMPARE(seen.seen, boxes);
        QCOMPARE(dir.snapshot() != before, folderChanged);
    }

    // Closing an editor with changes since its last save or load asks
    // Save / Discard / Cancel.
    void closingAsksAboutChanges_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("stays");
        const QString question = "Warning !|The team \"T\" has unsaved changes. Save them?";
        QTest::newRow("unchanged closes without a word") << QStringList{} << Answers{} << QStringList{} << false;
        QTest::newRow("saved closes without a word")
            << QStringList{"end: MOSSLING", "name T", "save"} << Answers{} << QStringList{} << false;
        QTest::newRow("member dropped, Cancel keeps it")
            << QStringList{"name T", "save", "end: MOSSLING"} << Answers{QMessageBox::Cancel} << QStringList{question}
            << true;
        QTest::newRow("order changed, Discard closes")
            << QStringList{"end: MOSSLING TIDEFIN", "name T", "save", "row 1", "up"} << Answers{QMessageBox::Discard}
            << QStringList{question} << false;
        QTest::newRow("owner changed, Save writes and closes")
            << QStringList{"name T", "save", "owner Bob"} << Answers{QMessageBox::Save} << QStringList{question}
            << false;
        QTest::newRow("Save that fails keeps it")
            << QStringList{"end: MOSSLING"} << Answers{QMessageBox::Save}
            << QStringList{"Warning !|This team has unsaved changes. Save them?",
                           "Warning !|The team cannot be saved under this name. The name is empty."}
            << true;
    }

    void closingAsksAboutChanges()
    {
        QFETCH(QStringList, steps);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, stays);
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("owners/Ann.xml", "<owner/>"));
        QVERIFY(dir.write("owners/Bob.xml", "<owner/>"));
        QPointer<TeamCreator> editor = new TeamCreator;
        editor->setAttribute(Qt::WA_DeleteOnClose);
        editor->show();
        for (const QString& step : steps)
            perform(*editor, step);
        const QStringList before = dir.snapshot();
        {
            MessageBoxes seen(answers);
            editor->close();
            QCOMPARE(seen.seen, boxes);
        }
        QTRY_COMPARE(editor.isNull(), !stays);
        const bool saved = answers.value(0) == QMessageBox::Save && !stays;
        QCOMPARE(dir.snapshot() != before, saved);
        if (saved)
            QCOMPARE(namesInFile("teams/T.xml"), QStringList{});
        delete editor;
    }

    void failedSaveWarns()
    {
        WorkDir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(QDir().mkpath("teams/T.xml"));
        TeamCreator editor;
        perform(editor, "end: MOSSLING");
        MessageBoxes boxes({QMessageBox::Yes});
        QCOMPARE(saveAs(editor, "T"), QStringList{"<unreadable>"});
        QCOMPARE(boxes.seen.last(),
                 QStringLiteral("Warning !|The team could not be saved: A folder stands where the file must go."));
        QCOMPARE(QDir("teams").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"T.xml"});
    }
};

QTEST_MAIN(tst_TeamCreator)
#include "tst_teamcreator.moc"
