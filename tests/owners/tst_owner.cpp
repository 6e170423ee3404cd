#include <QtTest>
#include <QtWidgets>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

#include "app/fauntome.h"
#include "data/storename.h"
#include "owners/classowner.h"
#include "owners/owner.h"
#include "ownertestfiles.h"
#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"

using Answers = QList<QMessageBox::StandardButton>;

namespace {

QLineEdit* nameField(const QWidget* editor)
{
    return part<QLineEdit>(editor, "lineEdit_name");
}

QLineEdit* avatarField(const QWidget* editor)
{
    return part<QLineEdit>(editor, "lineEdit_Avatar");
}

QString replaceQuestion(const QString& name)
{
    return "Warning !|The owner \"" + name + "\" already exists: replace it?";
}

// Runs the editor's load, choosing `entry`.
void loadChoosing(Owner& editor, const QString& entry)
{
    answerItemPicker(entry);
    editor.loadOwner();
}

// Answers the avatar file dialog with `path`, or cancels it when null.
void chooseAvatar(Owner& editor, const QString& path)
{
    whenDialogShown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                    [path](QWidget* w) {
                        QDialog* dialog = static_cast<QFileDialog*>(w);
                        if (path.isNull())
                            return dialog->reject();
                        // Typed rather than selected: selecting races the
                        // dialog's folder listing.
                        part<QLineEdit>(w, "fileNameEdit")->setText(path);
                        dialog->accept();
                    });
    part<QPushButton>(&editor, "btn_choodFilename")->click();
}

} // namespace

class tst_Owner : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir;

private slots:
    void init()
    {
        dir = std::make_unique<WorkDir>();
        QVERIFY(dir->makeStoreDirs());
    }

    void cleanup()
    {
        // An editor or dialog left behind would leak into the next test.
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
        dir.reset();
    }

    void loadThenSave_data()
    {
        QTest::addColumn<QString>("sexe");
        QTest::addColumn<bool>("pick");
        QTest::newRow("masculin picked") << "masculin" << true;
        QTest::newRow("feminin picked") << "feminin" << true;
        QTest::newRow("cancelled: the form saves as a new owner") << "feminin" << false;
    }

    void loadThenSave()
    {
        QFETCH(QString, sexe);
        QFETCH(bool, pick);
        for (const char* file : {"bob.xml", ".xml", "Alice.xml", ".hidden.xml"})
            QVERIFY(dir->write(QStringLiteral("owners/") + file, "<owner name=\"x\"/>"));
        const QByteArray jpeg = jpegOf(QSize(12, 10));
        // Written by hand, as another copy of the program would.
        QVERIFY(dir->write("owners/Zoë Ångström.xml",
                           "<!DOCTYPE owners>\n<owner name=\"Zoë Ångström\" loc=\"DTC\" sexe=\"" + sexe.toUtf8()
                               + "\">\n <avatar>" + jpeg.toBase64() + "</avatar>\n</owner>\n"));
        Owner editor;
        QStringList items;
        answerItemPicker(pick ? QStringLiteral("Zoë Ångström.xml") : QString(), &items);
        editor.loadOwner();
        QCOMPARE(items, (QStringList{"Alice.xml", "bob.xml", "Zoë Ångström.xml"}));
        QCOMPARE(nameField(&editor)->text(), pick ? "Zoë Ångström" : "");
        QCOMPARE(avatarField(&editor)->text(), pick ? "innerXMLfile" : "");
        const bool girl = pick && sexe == "feminin";
        QCOMPARE(part<QRadioButton>(&editor, "radioButton_boy")->isChecked(), !girl);
        QCOMPARE(part<QRadioButton>(&editor, "radioButton_Girl")->isChecked(), girl);
        QCOMPARE(part<QLabel>(&editor, "label_avatar")->pixmap().size(), pick ? QSize(12, 10) : QSize(0, 0));
        QVERIFY(!editor.isModified());

        const QString name = pick ? "Zoë Ångström" : "王小明";
        if (!pick) {
            nameField(&editor)->setText(name);
            part<QRadioButton>(&editor, "radioButton_Girl")->setChecked(true);
        }
        MessageBoxes boxes;
        QVERIFY(editor.saveOwner());
        QCOMPARE(boxes.seen, QStringList());
        classOwner saved;
        QVERIFY(saved.loadOwner(name + ".xml"));
        QCOMPARE((QStringList{saved.get_name(), saved.get_sexe(), saved.get_loc()}), (QStringList{name, sexe, "DTC"}));
        QCOMPARE(saved.get_img(), pick ? jpeg : QByteArray());
    }

    // A save that would replace a file this editor neither loaded nor saved
    // asks first; every save here checks the girl button, so a replaced file
    // shows it.
    void replacingAnotherOwner_data()
    {
        QTest::addColumn<QString>("loaded"); // empty: a new editor
        QTest::addColumn<QStringList>("saves");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("folderChanged");
        QTest::newRow("new editor onto an owner, No")
            << "" << QStringList{"Ann"} << Answers{QMessageBox::No} << QStringList{replaceQuestion("Ann")} << false;
        QTest::newRow("new editor onto an owner, Yes")
            << "" << QStringList{"Ann"} << Answers{QMessageBox::Yes} << QStringList{replaceQuestion("Ann")} << true;
        QTest::newRow("loaded, saved under its own name")
            << "Ann.xml" << QStringList{"Ann"} << Answers{} << QStringList{} << true;
        QTest::newRow("loaded, renamed onto another owner, No")
            << "Ann.xml" << QStringList{"Bob"} << Answers{QMessageBox::No} << QStringList{replaceQuestion("Bob")}
            << false;
        QTest::newRow("saved once, saved again")
            << "" << QStringList{"Cat", "Cat"} << Answers{} << QStringList{} << true;
        QTest::newRow("failed load, saved under that name")
            << "Bad.xml" << QStringList{"Bad"} << Answers{QMessageBox::Ok, QMessageBox::No}
            << QStringList{"Warning !|The owner file \"Bad.xml\" could not be loaded: line 1, column 13: "
                           "Premature end of document.",
                           replaceQuestion("Bad")}
            << false;
    }

    void replacingAnotherOwner()
    {
        QFETCH(QString, loaded);
        QFETCH(QStringList, saves);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, folderChanged);
        for (const QString name : {"Ann", "Bob"})
            QVERIFY(classOwner().updateOwner(name, "masculin", "DTC", writePicture(dir->filePath("p.png"), {9, 9})));
        QVERIFY(dir->write("owners/Bad.xml", "<owner name=\""));
        const QStringList before = dir->snapshot();
        Owner editor;
        MessageBoxes seen(answers);
        if (loaded.isEmpty())
            editor.startOwner();
        else
            loadChoosing(editor, loaded);
        part<QRadioButton>(&editor, "radioButton_Girl")->setChecked(true);
        for (const QString& name : saves) {
            nameField(&editor)->setText(name);
            QCOMPARE(editor.saveOwner(), folderChanged);
        }
        QCOMPARE(seen.seen, boxes);
        QCOMPARE(dir->snapshot() != before, folderChanged);
        if (folderChanged)
            QCOMPARE(classOwner(saves.last()).get_sexe(), QStringLiteral("feminin"));
    }

    void failedLoadWarnsAndLeavesEditorEmpty_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content"); // null: a folder stands there
        QTest::addColumn<QString>("reason");
        const QString nested = "<owner>" + QString("<x>").repeated(64) + QString("</x>").repeated(64) + "</owner>";
        QTest::newRow("not well-formed") << "A.xml" << QByteArray("<owner name=\"A\">\n<avatar>")
                                         << "line 2, column 8: Premature end of document.";
        QTest::newRow("nested too deep") << "A.xml" << nested.toUtf8()
                                         << "line 1, column 199: elements are nested more than 64 deep";
        QTest::newRow("root is not an owner")
            << "A.xml" << QByteArray("<team name=\"A\"/>") << "The file holds a \"team\" element, not an owner.";
        QTest::newRow("cannot be read") << "A.xml" << QByteArray() << "";
        QTest::newRow("markup in the name stays text")
            << "<img src='x'>.xml" << QByteArray("<owner") << "line 1, column 6: Premature end of document.";
    }

    void failedLoadWarnsAndLeavesEditorEmpty()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        if (content.isNull())
            QVERIFY(QDir().mkpath("owners/" + file));
        else
            QVERIFY(dir->write("owners/" + file, content));
        Owner editor;
        MessageBoxes boxes;
        loadChoosing(editor, file);
        QCOMPARE(boxes.seen.size(), 1);
        QVERIFY2(
            boxes.seen.first().startsWith("Warning !|The owner file \"" + file + "\" could not be loaded: " + reason),
            qPrintable(boxes.seen.first()));
        QCOMPARE(nameField(&editor)->text(), QString());
        QCOMPARE(avatarField(&editor)->text(), QString());
        QVERIFY(part<QRadioButton>(&editor, "radioButton_boy")->isChecked());
        QVERIFY(!editor.isModified());
    }

    // What the form shows is always what a save would store.
    void avatarChoice_data()
    {
        QTest::addColumn<QString>("second"); // null: the dialog is cancelled
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("preview");
        QTest::addColumn<int>("warnings");
        QTest::newRow("cancelled keeps path and preview") << QString() << "old.png" << QSize(6, 4) << 0;
        QTest::newRow("no picture keeps them, with a word") << "notes.png"
                                                            << "old.png" << QSize(6, 4) << 1;
        QTest::newRow("another picture replaces them") << "new.png"
                                                       << "new.png" << QSize(3, 5) << 0;
    }

    void avatarChoice()
    {
        QFETCH(QString, second);
        QFETCH(QString, path);
        QFETCH(QSize, preview);
        QFETCH(int, warnings);
        writePicture(dir->filePath("old.png"), QSize(6, 4));
        writePicture(dir->filePath("new.png"), QSize(3, 5));
        QVERIFY(dir->write("notes.png", "just text"));
        Owner editor;
        MessageBoxes boxes;
        chooseAvatar(editor, dir->filePath("old.png"));
        chooseAvatar(editor, second.isNull() ? second : dir->filePath(second));
        QCOMPARE(avatarField(&editor)->text(), dir->filePath(path));
        QCOMPARE(part<QLabel>(&editor, "label_avatar")->pixmap().size(), preview);
        QCOMPARE(boxes.seen.size(), warnings);
    }

    // Closing an editor with changes asks Save / Discard / Cancel; Escape
    // goes through the same question.
    void closingAsksAboutChanges_data()
    {
        QTest::addColumn<QString>("typed"); // null: no change
        QTest::addColumn<bool>("escape");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("stays");
        QTest::addColumn<bool>("saved");
        const QString question = "Warning !|The owner \"Ann\" has unsaved changes. Save them?";
        QTest::newRow("unchanged closes without a word")
            << QString() << false << Answers{} << QStringList{} << false << false;
        QTest::newRow("Cancel keeps the editor")
            << "Ann" << false << Answers{QMessageBox::Cancel} << QStringList{question} << true << false;
        QTest::newRow("Escape, Discard closes")
            << "Ann" << true << Answers{QMessageBox::Discard} << QStringList{question} << false << false;
        QTest::newRow("Escape, Save writes and closes")
            << "Ann" << true << Answers{QMessageBox::Save} << QStringList{question} << false << true;
        QTest::newRow("Save that fails keeps the editor")
            << "   " << false << Answers{QMessageBox::Save}
            << QStringList{"Warning !|The owner \"   \" has unsaved changes. Save them?",
                           "Warning !|The owner could not be saved: The name is empty."}
            << true << false;
    }

    void closingAsksAboutChanges()
    {
        QFETCH(QString, typed);
        QFETCH(bool, escape);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, stays);
        QFETCH(bool, saved);
        QPointer<Owner> editor = new Owner;
        editor->startOwner();
        editor->show();
        if (!typed.isNull())
            nameField(editor)->setText(typed);
        const QStringList before = dir->snapshot();
        {
            MessageBoxes seen(answers);
            if (escape)
                QTest::keyClick(editor, Qt::Key_Escape);
            else
                editor->close();
            QCOMPARE(seen.seen, boxes);
        }
        QTRY_COMPARE(editor.isNull(), !stays);
        QCOMPARE(QFile::exists("owners/Ann.xml"), saved);
        if (!saved)
            QCOMPARE(dir->snapshot(), before);
        delete editor;
    }

    void failedSaveWarnsAndKeepsFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("why");
        QTest::newRow("file size limit") << "Ann"
                                         << "limit" << qt_error_string(EFBIG);
        QTest::newRow("directory in the way") << "Ann"
                                              << "directory"
                                              << "A folder stands where the file must go.";
        for (const auto& [row, name] : unsafeNames())
            QTest::addRow("unsafe name: %s", row) << name << "" << StoreName::problem(name);
    }

    void failedSaveWarnsAndKeepsFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, how);
        QFETCH(QString, why);
        QVERIFY(dir->write("victim.xml", "keep"));
        if (how == "limit")
            QVERIFY(classOwner().updateOwner(name, "feminin", "DTC", QString()));
        if (how == "directory")
            QVERIFY(QDir().mkpath("owners/" + name + ".xml/inside"));
        Owner editor;
        editor.startOwner();
        nameField(&editor)->setText(name);
        avatarField(&editor)->setText(writePicture(dir->filePath("big.png"), QSize(128, 128)));
        const QStringList before = dir->snapshot();

        // Something stands at the path already: the user agrees to replace it.
        MessageBoxes boxes({QMessageBox::Yes});
        // The warning needs this process's event loop, so the limit is lowered
        // here rather than in a child, and only for the save.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit low = saved;
        if (how == "limit")
            low.rlim_cur = 2048;
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &low);
        const bool ok = editor.saveOwner();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!ok);
        QCOMPARE(boxes.seen.last(), "Warning !|The owner could not be saved: " + why);
        QCOMPARE(dir->snapshot(), before);
    }

    void saveCommand_data()
    {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QStringList>("files");
        const QStringList notOwner{"Warning !|You are not in Owner window."};
        QTest::newRow("no window") << "" << QStringList{"Warning !|You must open Owner window"} << QStringList();
        QTest::newRow("another kind of window") << "Viewer" << notOwner << QStringList();
        QTest::newRow("plain dialog with the owner icon text") << "Owner" << notOwner << QStringList();
        QTest::newRow("editor from New owner saves") << "New" << QStringList() << QStringList{"Zoë.xml"};
    }

    void saveCommand()
    {
        QFETCH(QString, active);
        QFETCH(QStringList, boxes);
        QFETCH(QStringList, files);
        QVERIFY(dir->writeData(creature(1, "MOSSLING")));
        Fauntome window;
        window.show();
        auto workspace = window.findChild<QMdiArea*>();
        if (active == "New")
            part<QAction>(&window, "actionNew_Owner")->trigger();
        else if (!active.isEmpty())
            workspace->addSubWindow(new QDialog)->widget()->setWindowIconText(active);
        if (!active.isEmpty()) {
            QCOMPARE(workspace->subWindowList().size(), 1);
            QMdiSubWindow* frame = workspace->subWindowList().first();
            frame->widget()->show();
            workspace->setActiveSubWindow(frame);
            if (active == "New")
                nameField(frame->widget())->setText(QStringLiteral("Zoë"));
        }
        MessageBoxes seen;
        part<QAction>(&window, "actionSave_owner")->trigger();
        QCOMPARE(seen.seen, boxes);
        QCOMPARE(QDir("owners").entryList(QDir::Files | QDir::Hidden), files);
    }
};

QTEST_MAIN(tst_Owner)
#include "tst_owner.moc"
