#include <QtTest>
#include <QtWidgets>

#include "owners/classowner.h"
#include "owners/owner.h"
#include "ownertestfiles.h"
#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"

namespace {

QLineEdit* nameField(const QWidget* editor)
{
    return part<QLineEdit>(editor, "lineEdit_name");
}

QLineEdit* avatarField(const QWidget* editor)
{
    return part<QLineEdit>(editor, "lineEdit_Avatar");
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
    void init() { dir = std::make_unique<WorkDir>(); }

    void cleanup()
    {
        // An editor or dialog left behind would leak into the next test.
        const auto reset = qScopeGuard([this] { dir.reset(); });
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    // One editor through a few steps: "load F" picks the owner file F,
    // "name X" types the name, "girl" checks that button, "avatar P" picks
    // the picture P ("cancel" cancels the dialog), "save", "close" and
    // "escape" do what they say; "disk" is another program rewriting Ann.xml.
    // The boxes are answered in turn; `form` is "name|sex|avatar|size the avatar is drawn at (as large as fits,
    // aspect kept)|title as shown" of an editor still open, whose signals agree.
    void session_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Answers>("answers");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("open");
        QTest::addColumn<bool>("folderChanged");
        QTest::addColumn<QString>("form");
        const auto replace = [](const char* name) {
            return QString("Warning !|The owner \"%1\" already exists: replace it?").arg(name);
        };
        const auto unsaved = [](const char* name) {
            return QString("Warning !|The owner \"%1\" has unsaved changes. Save them?").arg(name);
        };
        const auto failed = [](const char* file, const char* why) {
            return QString("Warning !|The owner file \"%1\" could not be loaded: %2").arg(file, why);
        };
        // Saving onto a file this editor neither loaded nor saved asks first.
        QTest::newRow("new editor onto an owner, Enter: No")
            << QStringList{"girl", "name Ann", "save"} << Answers{EnterKey} << QStringList{replace("Ann")} << true
            << false << "Ann|girl||0x0|Owner*";
        QTest::newRow("new editor onto an owner, Yes, saved again, closed without a word")
            << QStringList{"girl", "name Ann", "save", "boy", "save", "close"} << Answers{QMessageBox::Yes}
            << QStringList{replace("Ann")} << false << true << "";
        QTest::newRow("loaded, saved under its own name")
            << QStringList{"load Ann.xml", "girl", "save"} << Answers{} << QStringList{} << true << true
            << "Ann|girl|innerXMLfile|153x153|Owner – Ann";
        QTest::newRow("loaded, renamed onto another owner, Escape: No")
            << QStringList{"load Ann.xml", "name Bob", "save"} << Answers{EscapeKey} << QStringList{replace("Bob")}
            << true << false << "Bob|boy|innerXMLfile|153x153|Owner – Ann*";
        // Another program rewrites the held file: the save asks first.
        QTest::newRow("changed on disk, Yes")
            << QStringList{"load Ann.xml", "girl", "disk", "save", "close"} << Answers{QMessageBox::Yes}
            << QStringList{"Warning !|The owner file \"Ann.xml\" was changed by another program since this editor "
                           "loaded or saved it: replace it?"}
            << false << true << "";
        QTest::newRow("no sex reads as girl, a forged avatar shows none")
            << QStringList{"load None.xml"} << Answers{} << QStringList{} << true << false
            << "None|girl|innerXMLfile|0x0|Owner – None";
        QTest::newRow("load cancelled, saved as a new owner")
            << QStringList{"load", "name 王小明", "girl", "save"} << Answers{} << QStringList{} << true << true
            << "王小明|girl||0x0|Owner – 王小明";
        QTest::newRow("saved twice, Qt's mark in the name")
            << QStringList{"name C[*]t", "save", "girl", "save"} << Answers{} << QStringList{} << true << true
            << "C[*]t|girl||0x0|Owner – C[*]t";
        // A load that fails says why and leaves the editor empty, so that a
        // save under that name asks before replacing the file.
        QTest::newRow("not well-formed, then saved under that name")
            << QStringList{"load Bad.xml", "name Bad", "save"} << Answers{QMessageBox::Ok, QMessageBox::No}
            << QStringList{failed("Bad.xml", "line 2, column 8: Premature end of document."), replace("Bad")} << true
            << false << "Bad|boy||0x0|Owner*";
        QTest::newRow("root is not an owner; markup in a file name stays text")
            << QStringList{"load Team.xml", "load <img src='x'>.xml"} << Answers{}
            << QStringList{failed("Team.xml", "The file holds a \"team\" element, not an owner."),
                           failed("<img src='x'>.xml", "line 1, column 6: Premature end of document.")}
            << true << false << "|boy||0x0|Owner";
        QTest::newRow("a folder in the way of a save")
            << QStringList{"name Dir", "save"} << Answers{QMessageBox::Yes}
            << QStringList{replace("Dir"),
                           "Warning !|The owner could not be saved: A folder stands where the file must go."}
            << true << false << "Dir|boy||0x0|Owner*";
        QTest::newRow("a folder, then closed without a word")
            << QStringList{"load Dir.xml", "close"} << Answers{}
            << QStringList{failed("Dir.xml", "file to open is a directory")} << false << false << "";
        // The form never shows another avatar than a save would store.
        QTest::newRow("avatar dialog cancelled, then an avatar that is no picture")
            << QStringList{"avatar old.png", "avatar cancel", "avatar notes.png"} << Answers{}
            << QStringList{"Warning !|\"notes.png\" cannot be used as an "
                           "avatar: It is neither a PNG nor a JPEG picture."}
            << true << false << "|boy|old.png|153x102|Owner*";
        QTest::newRow("another avatar") << QStringList{"avatar old.png", "avatar new.png"} << Answers{} << QStringList{}
                                        << true << false << "|boy|new.png|109x183|Owner*";
        // Closing with changes asks Save / Discard / Cancel; Escape too.
        QTest::newRow("unchanged closes without a word")
            << QStringList{"close"} << Answers{} << QStringList{} << false << false << "";
        QTest::newRow("loaded, untouched, closes without a word")
            << QStringList{"load Ann.xml", "escape"} << Answers{} << QStringList{} << false << false << "";
        QTest::newRow("changed, Escape: Cancel keeps it")
            << QStringList{"name Ann", "close"} << Answers{EscapeKey} << QStringList{unsaved("Ann")} << true << false
            << "Ann|boy||0x0|Owner*";
        QTest::newRow("Escape, Discard") << QStringList{"name Ann", "escape"} << Answers{QMessageBox::Discard}
                                         << QStringList{unsaved("Ann")} << false << false << "";
        QTest::newRow("Escape, Save") << QStringList{"name Cat", "escape"} << Answers{QMessageBox::Save}
                                      << QStringList{unsaved("Cat")} << false << true << "";
        QTest::newRow("a Save that fails keeps it")
            << QStringList{"name    ", "close"} << Answers{QMessageBox::Save}
            << QStringList{unsaved("   "), "Warning !|The owner could not be saved: The name is empty."} << true
            << false << "   |boy||0x0|Owner*";
    }

    void session()
    {
        QFETCH(QStringList, steps);
        QFETCH(Answers, answers);
        QFETCH(QStringList, boxes);
        QFETCH(bool, open);
        QFETCH(bool, folderChanged);
        QFETCH(QString, form);
        QByteArray forged = jpegOf({9, 9}); // claims 5000x5000
        forged.replace(forged.indexOf("\xff\xc0") + 5, 4, "\x13\x88\x13\x88");
        for (const QString name : {"Ann", "Bob"})
            QVERIFY(classOwner().updateOwner(name, "masculin", "DTC", writePicture(dir->filePath("p.png"), {9, 9})));
        QVERIFY(
            dir->write("owners/Bad.xml", "<owner name=\"A\">\n<avatar>")
            && dir->write("owners/<img src='x'>.xml", "<owner") && dir->write("owners/Team.xml", "<team/>")
            && dir->write("owners/None.xml", "<owner name=\"None\"><avatar>" + forged.toBase64() + "</avatar></owner>")
            && QDir().mkpath("owners/Dir.xml") && dir->write("notes.png", "text"));
        writePicture(dir->filePath("old.png"), {6, 4});
        writePicture(dir->filePath("new.png"), {3, 5});
        QStringList before = dir->snapshot();
        QPointer<Owner> editor = new Owner;
        const auto closed = qScopeGuard([&editor] { delete editor; }); // a failed check too
        // As the main window opens them: a new owner's editor holds a record,
        // a loading one only what it loads.
        if (!steps.value(0).startsWith("load"))
            editor->startOwner();
        editor->show();
        const EditorFile& file = editor->editorFile();
        QSignalSpy held(&file, &EditorFile::heldChanged), modified(&file, &EditorFile::modificationChanged);
        MessageBoxes seen(answers);
        int flips = 0; // the mark turns as often as steps leave the form changed, or unchanged, anew
        for (const QString& step : steps) {
            const QString what = step.section(' ', 1);
            if (step == "disk") {
                QVERIFY(dir->write("owners/Ann.xml", "<owner name=\"Ann\" sexe=\"masculin\"/>"));
                before = dir->snapshot(); // what the editor writes, not the other program
            } else if (step.startsWith("load")) {
                answerItemPicker(step == "load" ? QString() : what);
                editor->loadOwner();
            } else if (step.startsWith("name"))
                nameField(editor)->setText(what);
            else if (step == "girl")
                part<QRadioButton>(editor, "radioButton_Girl")->setChecked(true);
            else if (step.startsWith("avatar"))
                chooseAvatar(*editor, what == "cancel" ? QString() : dir->filePath(what));
            else if (step == "save")
                editor->saveOwner();
            else if (step == "close")
                editor->close();
            else
                QTest::keyClick(editor, Qt::Key_Escape);
            flips += editor && editor->isModified() != (flips % 2 == 1);
        }
        QCOMPARE(seen.seen.join('\n').remove(dir->path() + '/'), boxes.join('\n'));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(!editor.isNull(), open);
        QCOMPARE(dir->snapshot() != before, folderChanged);
        if (!open)
            return;
        QCOMPARE((QVariantList{held.isEmpty() ? QString() : held.last().first(), modified.size()}),
                 (QVariantList{file.held(), flips}));
        const QLabel* avatar = part<QLabel>(editor, "label_avatar"); // scaled contents: stretched to the label
        const QSize preview = avatar->hasScaledContents() ? avatar->size() : avatar->pixmap().size();
        QCOMPARE(QStringList({nameField(editor)->text(),
                              part<QRadioButton>(editor, "radioButton_boy")->isChecked() ? "boy" : "girl",
                              avatarField(editor)->text().remove(dir->path() + '/'),
                              QString("%1x%2").arg(preview.width()).arg(preview.height()), shownTitle(editor)})
                     .join('|'),
                 form);
    }
};

QTEST_MAIN(tst_Owner)
#include "tst_owner.moc"
