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

#include "data/faunlet.h"
#include "data/xml.h"
#include "support/dialogs.h"
#include "support/workdir.h"
#include "teamdata.h"
#include "teams/classteam.h"
#include "teams/teamcreator.h"

namespace {

template <typename T>
T* part(const TeamCreator& editor, const char* name)
{
    T* widget = editor.findChild<T*>(name);
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

QListWidget* rowsOf(const TeamCreator& editor)
{
    return part<QListWidget>(editor, "list_faunlet");
}

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QStringList texts(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// The main list as it offers creatures to a drag; "MOSSLING#2" names the
// second MOSSLING row.
const QStringList mainList{"MOSSLING", "EMBERLISK", "TIDEFIN", eclairome(), "NOSUCH", "MOSSLING"};

std::unique_ptr<QMimeData> dragged(const QStringList& names)
{
    QListWidget source;
    source.addItems(mainList);
    QModelIndexList picked;
    for (const QString& name : names) {
        const bool second = name.endsWith("#2");
        const QString plain = second ? name.chopped(2) : name;
        const int at = second ? mainList.lastIndexOf(plain) : mainList.indexOf(plain);
        picked << source.model()->index(at, 0);
    }
    return std::unique_ptr<QMimeData>(source.model()->mimeData(picked));
}

// What a drag from the main list hands the editor's model when released
// past the last row, or, with `row`, what the model makes of a drop on that
// row (it writes the dragged names over the rows from there on).
void drop(TeamCreator& editor, const QStringList& names, int row = -1)
{
    const std::unique_ptr<QMimeData> mime = dragged(names);
    QVERIFY(rowsOf(editor)->model()->dropMimeData(mime.get(), Qt::CopyAction, row, 0, QModelIndex()));
}

// A drag released by the user over the upper part of `row`, which inserts
// the names above it. The editor must be shown, so that rows have places.
void dragOnto(TeamCreator& editor, const QStringList& names, int row)
{
    QListWidget* list = rowsOf(editor);
    QVERIFY(list->isVisible());
    const QPoint at = list->visualItemRect(list->item(row)).topLeft() + QPoint(10, 1);
    const std::unique_ptr<QMimeData> mime = dragged(names);
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &move);
    QDropEvent release(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &release);
    QVERIFY(release.isAccepted());
}

// Drops past the end and lets the editor judge the new rows, as the event
// loop does before the user can do anything else.
void dropAndSettle(TeamCreator& editor, const QStringList& names, const QStringList& rowsAfter)
{
    drop(editor, names);
    QCoreApplication::processEvents();
    QTRY_COMPARE(texts(rowsOf(editor)), rowsAfter);
}

QStringList saveAs(TeamCreator& editor, const QString& name)
{
    part<QLineEdit>(editor, "lineEdit_TeamName")->setText(name);
    editor.teamSave();
    return namesInFile("teams/" + name + ".xml");
}

// Runs the editor's load, choosing `entry`, or cancelling when it is null.
void loadChoosing(TeamCreator& editor, const QString& entry)
{
    whenDialogShown([](QWidget* w) { return qobject_cast<QInputDialog*>(w) != nullptr; },
                    [entry](QWidget* w) {
                        auto dialog = static_cast<QInputDialog*>(w);
                        if (entry.isNull()) {
                            dialog->reject();
                        } else {
                            dialog->setTextValue(entry);
                            dialog->accept();
                        }
                    });
    editor.teamLoad();
}

// Writes teams/<team>.xml holding the named creatures at the given levels.
bool writeTeam(const QString& team, const QString& owner, const QList<QPair<QString, int>>& members,
               int health = -1)
{
    QList<Faunlet*> list;
    for (const auto& [name, level] : members) {
        Faunlet* f = xml::getInstance("faundata.xml")->getFaunlet(name.toUtf8().toStdString());
        if (!f)
            break;
        f->setLevel(level);
        if (health != -1)
            f->setHealth(health);
        list << f;
    }
    const bool ok = list.size() == members.size() && classTeam().addTeam(team, owner, list);
    qDeleteAll(list);
    return ok;
}

} // namespace

class tst_TeamCreator : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void freshForm()
    {
        workdir dir;
        TeamCreator editor;
        QCOMPARE(editor.windowTitle(), QStringLiteral("Dialog"));
        QCOMPARE(editor.minimumSize(), QSize(591, 472));
        QCOMPARE(editor.maximumSize(), QSize(591, 472));
        QVERIFY(!editor.windowIcon().isNull());
        QCOMPARE(editor.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).first()->objectName(),
                 QStringLiteral("label"));
        QCOMPARE(part<QPushButton>(editor, "btn_upFaunlet")->text(), QString(QChar(0x25B2)));
        QCOMPARE(part<QPushButton>(editor, "btn_downFaunlet")->text(), QString(QChar(0x25BC)));
        for (const char* name : {"progressBar_HP", "progressBar_ATK", "progressBar_DEF", "progressBar_SAT",
                                 "progressBar_SDF", "progressBar_SPD"})
            QCOMPARE(part<QProgressBar>(editor, name)->text(), QStringLiteral("24"));
        const QString level = part<QLabel>(editor, "label_EXP")->text();
        QVERIFY(level.contains("color:#0000ff;\">1</span>"));
        QCOMPARE(part<QComboBox>(editor, "comboBox_owner")->count(), 0);
    }

    void drops_data()
    {
        QTest::addColumn<QList<QStringList>>("drops");
        QTest::addColumn<QList<int>>("at"); // -1: past the end; otherwise released on the upper part of that row
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one creature") << QList<QStringList>{{"MOSSLING"}} << QList<int>{-1} << QStringList{"MOSSLING"};
        QTest::newRow("same creature twice keeps one")
            << QList<QStringList>{{"MOSSLING"}, {"MOSSLING"}} << QList<int>{-1, -1} << QStringList{"MOSSLING"};
        QTest::newRow("several at once, one already there")
            << QList<QStringList>{{"EMBERLISK"}, {"MOSSLING", "EMBERLISK", "TIDEFIN"}} << QList<int>{-1, -1}
            << QStringList{"EMBERLISK", "MOSSLING", "TIDEFIN"};
        QTest::newRow("several at once, first already there")
            << QList<QStringList>{{"MOSSLING"}, {"MOSSLING", "EMBERLISK", "TIDEFIN"}} << QList<int>{-1, 0}
            << QStringList{"EMBERLISK", "TIDEFIN", "MOSSLING"};
        QTest::newRow("one name twice in one drop")
            << QList<QStringList>{{"MOSSLING", "TIDEFIN", "MOSSLING#2"}} << QList<int>{-1}
            << QStringList{"MOSSLING", "TIDEFIN"};
        QTest::newRow("unknown name refused")
            << QList<QStringList>{{"MOSSLING", "NOSUCH", "TIDEFIN"}} << QList<int>{-1}
            << QStringList{"MOSSLING", "TIDEFIN"};
        QTest::newRow("drop in the middle")
            << QList<QStringList>{{"MOSSLING", "TIDEFIN"}, {"EMBERLISK"}} << QList<int>{-1, 1}
            << QStringList{"MOSSLING", "EMBERLISK", "TIDEFIN"};
        QTest::newRow("drop at the top")
            << QList<QStringList>{{"MOSSLING"}, {"TIDEFIN", eclairome()}} << QList<int>{-1, 0}
            << QStringList{"TIDEFIN", eclairome(), "MOSSLING"};
    }

    void drops()
    {
        QFETCH(QList<QStringList>, drops);
        QFETCH(QList<int>, at);
        QFETCH(QStringList, expected);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        TeamCreator editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        for (qsizetype i = 0; i < drops.size(); ++i) {
            if (at.at(i) < 0)
                drop(editor, drops.at(i));
            else
                dragOnto(editor, drops.at(i), at.at(i));
            QCoreApplication::processEvents();
        }
        QTRY_COMPARE(texts(rowsOf(editor)), expected);
        // One record per row, in row order: the save shows it.
        QCOMPARE(saveAs(editor, "T"), expected);
    }

    void dropAboveCurrentRowKeepsIt()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        TeamCreator editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        dropAndSettle(editor, {"MOSSLING"}, {"MOSSLING"});
        rowsOf(editor)->setCurrentRow(0);
        dragOnto(editor, {"EMBERLISK"}, 0);
        QCoreApplication::processEvents();
        QTRY_COMPARE(texts(rowsOf(editor)), (QStringList{"EMBERLISK", "MOSSLING"}));
        QCOMPARE(rowsOf(editor)->currentRow(), 1);
        QCOMPARE(part<QProgressBar>(editor, "progressBar_HP")->value(), 45);
        rowsOf(editor)->setCurrentRow(0);
        QCOMPARE(part<QProgressBar>(editor, "progressBar_HP")->value(), 39);
        QCOMPARE(part<QProgressBar>(editor, "progressBar_SPD")->value(), 42);
        // A dropped creature is at level 1.
        QCOMPARE(part<QLabel>(editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>1</font>"));
        QCOMPARE(part<QTextEdit>(editor, "textEdit_attackView")->toPlainText(), QStringLiteral("Nip\nGnaw"));
    }

    void dropWrittenOverRows_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("a new creature replaces the row") << QStringList{"EMBERLISK"}
                                                         << QStringList{"MOSSLING", "EMBERLISK"};
        QTest::newRow("a creature already there is refused") << QStringList{"MOSSLING"} << QStringList{"MOSSLING"};
    }

    // Rows written over by the model leave the team with their creatures.
    void dropWrittenOverRows()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        TeamCreator editor;
        dropAndSettle(editor, {"MOSSLING", "TIDEFIN"}, {"MOSSLING", "TIDEFIN"});
        drop(editor, names, 1);
        QCoreApplication::processEvents();
        QTRY_COMPARE(texts(rowsOf(editor)), expected);
        QCOMPARE(saveAs(editor, "T"), expected);
    }

    void deleteThenDropAgain()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        TeamCreator editor;
        dropAndSettle(editor, {"MOSSLING", "EMBERLISK", "TIDEFIN"}, {"MOSSLING", "EMBERLISK", "TIDEFIN"});
        QListWidget* list = rowsOf(editor);
        list->setCurrentRow(0);
        part<QPushButton>(editor, "btn_deleteFaunlet")->click();
        QCOMPARE(texts(list), (QStringList{"EMBERLISK", "TIDEFIN"}));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(part<QProgressBar>(editor, "progressBar_HP")->value(), 39);

        list->setCurrentRow(-1);
        part<QPushButton>(editor, "btn_deleteFaunlet")->click();
        QCOMPARE(texts(list), (QStringList{"EMBERLISK", "TIDEFIN"}));

        dropAndSettle(editor, {"MOSSLING"}, {"EMBERLISK", "TIDEFIN", "MOSSLING"});
        QCOMPARE(saveAs(editor, "T"), (QStringList{"EMBERLISK", "TIDEFIN", "MOSSLING"}));

        list->setCurrentRow(2);
        part<QPushButton>(editor, "btn_deleteFaunlet")->click();
        list->setCurrentRow(0);
        part<QPushButton>(editor, "btn_deleteFaunlet")->click();
        part<QPushButton>(editor, "btn_deleteFaunlet")->click();
        QCOMPARE(list->count(), 0);
        QCOMPARE(saveAs(editor, "T"), QStringList{});
    }

    void moves_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("expectedCurrent");
        QTest::addColumn<int>("expectedHP"); // -1: the bars are not looked at
        const QStringList start{"MOSSLING", "EMBERLISK", "TIDEFIN"};
        QTest::newRow("up on the top row") << 0 << "up" << start << 0 << 45;
        QTest::newRow("down on the bottom row") << 2 << "down" << start << 2 << 44;
        QTest::newRow("up from the middle") << 1 << "up" << QStringList{"EMBERLISK", "MOSSLING", "TIDEFIN"} << 0 << 39;
        QTest::newRow("down from the middle") << 1 << "down" << QStringList{"MOSSLING", "TIDEFIN", "EMBERLISK"} << 2
                                              << 39;
        QTest::newRow("down from the top") << 0 << "down" << QStringList{"EMBERLISK", "MOSSLING", "TIDEFIN"} << 1 << 45;
        QTest::newRow("up from the bottom") << 2 << "up" << QStringList{"MOSSLING", "TIDEFIN", "EMBERLISK"} << 1 << 44;
        QTest::newRow("up with no current row") << -1 << "up" << start << -1 << -1;
        QTest::newRow("down with no current row") << -1 << "down" << start << -1 << -1;
    }

    void moves()
    {
        QFETCH(int, current);
        QFETCH(QString, button);
        QFETCH(QStringList, expected);
        QFETCH(int, expectedCurrent);
        QFETCH(int, expectedHP);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        TeamCreator editor;
        dropAndSettle(editor, {"MOSSLING", "EMBERLISK", "TIDEFIN"}, {"MOSSLING", "EMBERLISK", "TIDEFIN"});
        QListWidget* list = rowsOf(editor);
        list->setCurrentRow(current);
        part<QPushButton>(editor, button == "up" ? "btn_upFaunlet" : "btn_downFaunlet")->click();
        QCOMPARE(texts(list), expected);
        QCOMPARE(list->currentRow(), expectedCurrent);
        if (expectedHP != -1)
            QCOMPARE(part<QProgressBar>(editor, "progressBar_HP")->value(), expectedHP);

        // What is saved, and what a reload shows, is the order on screen.
        QCOMPARE(saveAs(editor, "T"), expected);
        TeamCreator reloaded;
        loadChoosing(reloaded, "T.xml");
        QCOMPARE(texts(rowsOf(reloaded)), expected);
    }

    void loadedDuplicatesMoveApart()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(writeTeam("T", "O", {{"MOSSLING", 1}, {"TIDEFIN", 2}, {"MOSSLING", 3}}));
        TeamCreator editor;
        loadChoosing(editor, "T.xml");
        QListWidget* list = rowsOf(editor);
        list->setCurrentRow(2);
        part<QPushButton>(editor, "btn_upFaunlet")->click();
        part<QPushButton>(editor, "btn_upFaunlet")->click();
        QCOMPARE(part<QLabel>(editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>3</font>"));
        list->setCurrentRow(1);
        QCOMPARE(part<QLabel>(editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>1</font>"));
        part<QLineEdit>(editor, "lineEdit_TeamName")->setText("T");
        editor.teamSave();
        TeamCreator reloaded;
        loadChoosing(reloaded, "T.xml");
        QCOMPARE(texts(rowsOf(reloaded)), (QStringList{"MOSSLING", "MOSSLING", "TIDEFIN"}));
        rowsOf(reloaded)->setCurrentRow(0);
        QCOMPARE(part<QLabel>(reloaded, "label_EXP")->text(), QStringLiteral("<font color='blue'>3</font>"));
    }

    void levels_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("moves");
        QTest::newRow("level 1") << 1 << "Nip\nGnaw";
        QTest::newRow("level 3") << 3 << "Nip\nGnaw\nTackle\nBite";
        QTest::newRow("level 0") << 0 << "";
        QTest::newRow("highest level, no hang") << 2147483647 << "Nip\nGnaw\nTackle\nBite\nCrunch";
    }

    void levels()
    {
        QFETCH(int, level);
        QFETCH(QString, moves);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(writeTeam("T", "O", {{"EMBERLISK", 1}, {"MOSSLING", level}}));
        TeamCreator editor;
        loadChoosing(editor, "T.xml");
        rowsOf(editor)->setCurrentRow(1);
        QCOMPARE(part<QLabel>(editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>%1</font>").arg(level));
        QCOMPARE(part<QTextEdit>(editor, "textEdit_attackView")->toPlainText(), moves);
    }

    void barsClampWithTrueValue_data()
    {
        QTest::addColumn<int>("health");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("in range") << 80 << 80 << "80";
        QTest::newRow("above 100") << 150 << 100 << "150";
        QTest::newRow("negative") << -5 << 0 << "-5";
    }

    void barsClampWithTrueValue()
    {
        QFETCH(int, health);
        QFETCH(int, value);
        QFETCH(QString, text);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(writeTeam("T", "O", {{"MOSSLING", 1}}, health));
        TeamCreator editor;
        loadChoosing(editor, "T.xml");
        rowsOf(editor)->setCurrentRow(0);
        QProgressBar* bar = part<QProgressBar>(editor, "progressBar_HP");
        QCOMPARE(bar->value(), value);
        QCOMPARE(bar->text(), text);
    }

    void owners_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("order ignores case") << QStringList{"B.xml", "a.xml"} << QStringList{"a", "B"};
        QTest::newRow("every .xml removed") << QStringList{"x.xml.xml"} << QStringList{"x"};
        QTest::newRow("capital XML kept") << QStringList{"y.XML"} << QStringList{"y.XML"};
        QTest::newRow("other files listed whole") << QStringList{"notes.txt"} << QStringList{"notes.txt"};
        QTest::newRow("hidden files left out") << QStringList{".secret.xml", "Ann.xml"} << QStringList{"Ann"};
        QTest::newRow("accents") << QStringList{QString::fromUtf8("Zo\xc3\xa9.xml")}
                                 << QStringList{QString::fromUtf8("Zo\xc3\xa9")};
        QTest::newRow("no owners") << QStringList{} << QStringList{};
    }

    void owners()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, listed);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        for (const QString& file : files)
            QVERIFY(dir.write("owners/" + file, "<owner/>"));
        TeamCreator editor;
        auto box = part<QComboBox>(editor, "comboBox_owner");
        QCOMPARE(texts(box), listed);
        QCOMPARE(box->currentIndex(), listed.isEmpty() ? -1 : 0);
    }

    void loadedOwnerListedTwice()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("owners/Ann.xml", "<owner/>"));
        QVERIFY(dir.write("owners/Bob.xml", "<owner/>"));
        QVERIFY(writeTeam(QString::fromUtf8("\xc3\x89quipe"), "Bob", {{"TIDEFIN", 2}, {"MOSSLING", 1}}));
        TeamCreator editor;
        loadChoosing(editor, QString::fromUtf8("\xc3\x89quipe.xml"));
        auto box = part<QComboBox>(editor, "comboBox_owner");
        QCOMPARE(texts(box), (QStringList{"Bob", "Ann", "Bob"}));
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(part<QLineEdit>(editor, "lineEdit_TeamName")->text(), QString::fromUtf8("\xc3\x89quipe"));
        QCOMPARE(texts(rowsOf(editor)), (QStringList{"TIDEFIN", "MOSSLING"}));
    }

    void cancelledLoadLeavesEditorEmpty()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(dir.write("owners/Ann.xml", "<owner/>"));
        QVERIFY(writeTeam("T", "Bob", {{"TIDEFIN", 2}}));
        TeamCreator editor;
        loadChoosing(editor, QString());
        QCOMPARE(rowsOf(editor)->count(), 0);
        QCOMPARE(part<QLineEdit>(editor, "lineEdit_TeamName")->text(), QString());
        QCOMPARE(texts(part<QComboBox>(editor, "comboBox_owner")), QStringList{"Ann"});
    }

    void unreadableTeamWarns()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(QDir(dir.path()).mkpath("teams/Folder.xml"));
        QVERIFY(QDir(dir.path()).mkpath("owners"));
        QString seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        TeamCreator editor;
        loadChoosing(editor, "Folder.xml");
        QVERIFY2(seen.startsWith("Warning !|The team could not be loaded: "), qPrintable(seen));
        QCOMPARE(rowsOf(editor)->count(), 0);
        QCOMPARE(texts(part<QComboBox>(editor, "comboBox_owner")), QStringList{""});
    }

    void saveWarnings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("warning");
        QTest::newRow("empty name") << "" << ""
                                    << "Warning !|The team cannot be saved under this name. The name is empty.";
        QTest::newRow("name with a slash") << "../T" << "" << "Warning !|The team cannot be saved under this name.";
        QTest::newRow("folder where the file goes") << "T" << "folder" << "Warning !|The team could not be saved: ";
        QTest::newRow("no teams folder") << "T" << "no teams" << "Warning !|The team could not be saved: ";
    }

    void saveWarnings()
    {
        QFETCH(QString, name);
        QFETCH(QString, obstacle);
        QFETCH(QString, warning);
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QDir here(dir.path());
        if (obstacle != "no teams")
            QVERIFY(here.mkpath("teams"));
        if (obstacle == "folder")
            QVERIFY(here.mkpath("teams/T.xml"));
        TeamCreator editor;
        dropAndSettle(editor, {"MOSSLING"}, {"MOSSLING"});
        QString seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        part<QLineEdit>(editor, "lineEdit_TeamName")->setText(name);
        editor.teamSave();
        QVERIFY2(seen.startsWith(warning), qPrintable(seen));
        QCOMPARE(here.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 obstacle == "no teams" ? QStringList{"faundata.xml"} : (QStringList{"faundata.xml", "teams"}));
        QCOMPARE(QDir(dir.filePath("teams")).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }

    void keysNeitherHideNorMove()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        TeamCreator editor;
        editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&editor));
        dropAndSettle(editor, {"MOSSLING", "TIDEFIN"}, {"MOSSLING", "TIDEFIN"});
        rowsOf(editor)->setCurrentRow(1);
        QTest::keyClick(part<QLineEdit>(editor, "lineEdit_TeamName"), Qt::Key_Return);
        QTest::keyClick(&editor, Qt::Key_Escape);
        QVERIFY(editor.isVisible());
        QCOMPARE(texts(rowsOf(editor)), (QStringList{"MOSSLING", "TIDEFIN"}));
    }

    void languageChangeKeepsTitleAndLevel()
    {
        workdir dir;
        QVERIFY(dir.writeData(herd()));
        QVERIFY(dir.makeStoreDirs());
        QVERIFY(writeTeam("T", "O", {{"MOSSLING", 3}}));
        TeamCreator editor;
        editor.setWindowTitle("TeamCreator");
        loadChoosing(editor, "T.xml");
        rowsOf(editor)->setCurrentRow(0);
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(&editor, &change);
        QCOMPARE(editor.windowTitle(), QStringLiteral("TeamCreator"));
        QCOMPARE(part<QLabel>(editor, "label_EXP")->text(), QStringLiteral("<font color='blue'>3</font>"));
    }
};

QTEST_MAIN(tst_TeamCreator)
#include "tst_teamcreator.moc"
