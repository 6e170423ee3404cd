#include <QtTest>

#include <QAction>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <cerrno>
#include <csignal>
#include <sys/resource.h>

#include "app/fauntome.h"
#include "data/storename.h"
#include "owners/classowner.h"
#include "owners/owner.h"
#include "ownertestfiles.h"
#include "support/dialogs.h"
#include "support/workdir.h"

namespace {

// Answers the next owner picker: keeps its items, then picks `choice` or
// cancels.
void answerPicker(bool accept, const QString& choice, QStringList* items = nullptr)
{
    whenDialogShown([](QWidget* w) { return qobject_cast<QInputDialog*>(w) != nullptr; },
                    [=](QWidget* w) {
                        auto picker = static_cast<QInputDialog*>(w);
                        if (items)
                            *items = picker->comboBoxItems();
                        if (!accept)
                            return picker->reject();
                        if (!choice.isEmpty())
                            picker->setTextValue(choice);
                        picker->accept();
                    });
}

// Closes and records any message box while it lives, so a test that expects
// none cannot hang on one.
class boxWatch
{
public:
    boxWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    seen << box->text();
                    box->buttons().first()->click();
                }
        });
        timer.start(10);
    }
    QStringList seen;

private:
    QTimer timer;
};

template<typename T> T* child(QWidget* editor, const char* name)
{
    return editor->findChild<T*>(QLatin1String(name));
}

// Writes an owner file by hand, as another copy of the program would.
void writeOwnerFile(const workdir& dir, const QByteArray& attributes, const QByteArray& jpeg)
{
    QVERIFY(dir.write("owners/Zoë Ångström.xml", "<!DOCTYPE owners>\n<owner name=\"Zoë Ångström\" loc=\"DTC\" "
                          + attributes + ">\n <avatar>" + jpeg.toBase64() + "</avatar>\n</owner>\n"));
}

} // namespace

class tst_Owner : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        // An editor or dialog left behind would leak into the next test.
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void loadFillsEditor_data()
    {
        QTest::addColumn<QByteArray>("attributes");
        QTest::addColumn<bool>("boy");
        QTest::newRow("masculin") << QByteArray("sexe=\"masculin\"") << true;
        QTest::newRow("feminin") << QByteArray("sexe=\"feminin\"") << false;
        QTest::newRow("no sexe") << QByteArray() << false;
        QTest::newRow("other case") << QByteArray("sexe=\"Masculin\"") << false;
    }

    void loadFillsEditor()
    {
        QFETCH(QByteArray, attributes);
        QFETCH(bool, boy);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        const QByteArray jpeg = jpegOf(pattern(12, 10));
        writeOwnerFile(dir, attributes, jpeg);
        auto editor = std::make_unique<Owner>();
        answerPicker(true, "Zoë Ångström.xml");
        editor->loadOwner();
        QCOMPARE(child<QLineEdit>(editor.get(), "lineEdit_name")->text(), QStringLiteral("Zoë Ångström"));
        QCOMPARE(child<QLineEdit>(editor.get(), "lineEdit_Avatar")->text(), QStringLiteral("innerXMLfile"));
        QCOMPARE(child<QRadioButton>(editor.get(), "radioButton_boy")->isChecked(), boy);
        QCOMPARE(child<QRadioButton>(editor.get(), "radioButton_Girl")->isChecked(), !boy);
        QCOMPARE(child<QLabel>(editor.get(), "label_avatar")->pixmap().size(), QSize(12, 10));

        boxWatch watch;
        QVERIFY(editor->saveOwner());
        QCOMPARE(watch.seen, QStringList());
        classOwner saved;
        QVERIFY(saved.loadOwner("Zoë Ångström.xml"));
        QCOMPARE(saved.get_img(), jpeg);
    }

    void pickerListing_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<bool>("accept");
        QTest::newRow("case-insensitive order, hidden not offered")
            << QStringList{"bob.xml", ".xml", "Alice.xml", ".hidden.xml", "carol.xml"}
            << QStringList{"Alice.xml", "bob.xml", "carol.xml"} << false;
        QTest::newRow("empty folder, OK") << QStringList{} << QStringList{} << true;
        QTest::newRow("empty folder, Cancel") << QStringList{} << QStringList{} << false;
    }

    void pickerListing()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, offered);
        QFETCH(bool, accept);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        for (const QString& file : files)
            QVERIFY(dir.write("owners/" + file, "<owner name=\"x\"/>"));
        auto editor = std::make_unique<Owner>();
        QStringList items{"<not shown>"};
        answerPicker(accept, QString(), &items);
        editor->loadOwner();
        QCOMPARE(items, offered);
        QCOMPARE(child<QLineEdit>(editor.get(), "lineEdit_name")->text(), QString());
        QCOMPARE(child<QLineEdit>(editor.get(), "lineEdit_Avatar")->text(), QString());
        QCOMPARE(child<QLabel>(editor.get(), "label_avatar")->text(), QStringLiteral("[NO PHOTO]"));
    }

    void saveAfterCancelledLoad()
    {
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        auto editor = std::make_unique<Owner>();
        answerPicker(false, QString());
        editor->loadOwner();
        child<QLineEdit>(editor.get(), "lineEdit_name")->setText(QStringLiteral("王小明"));
        child<QRadioButton>(editor.get(), "radioButton_Girl")->setChecked(true);
        boxWatch watch;
        QVERIFY(editor->saveOwner());
        QCOMPARE(watch.seen, QStringList());
        classOwner saved;
        QVERIFY(saved.loadOwner("王小明.xml"));
        QCOMPARE((QStringList{saved.get_name(), saved.get_sexe(), saved.get_loc()}),
                 (QStringList{"王小明", "feminin", "DTC"}));
        QCOMPARE(saved.get_img(), QByteArray());
    }

    void chooseAvatar_data()
    {
        QTest::addColumn<bool>("pick");
        QTest::newRow("picture chosen replaces the avatar") << true;
        QTest::newRow("cancelled keeps the avatar") << false;
    }

    void chooseAvatar()
    {
        QFETCH(bool, pick);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        const QByteArray old = jpegOf(pattern(20, 20));
        writeOwnerFile(dir, "sexe=\"feminin\"", old);
        const QString picture = writePicture(dir.filePath("new.png"), 8, 6);
        auto editor = std::make_unique<Owner>();
        answerPicker(true, "Zoë Ångström.xml");
        editor->loadOwner();
        // Answered on every tick until it closes: the dialog may still be
        // loading the folder and drop the first answer.
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto files = qobject_cast<QFileDialog*>(w); files && files->isVisible()) {
                    if (!pick)
                        return files->reject();
                    files->findChild<QLineEdit*>("fileNameEdit")->setText(picture);
                    static_cast<QDialog*>(files)->accept();
                }
        });
        answer.start(20);
        editor->chooseFileName();
        auto preview = child<QLabel>(editor.get(), "label_avatar");
        QCOMPARE(child<QLineEdit>(editor.get(), "lineEdit_Avatar")->text(), pick ? picture : QString());
        QCOMPARE(preview->pixmap().isNull(), !pick);
        if (pick)
            QCOMPARE(preview->pixmap().size(), QSize(8, 6));
        QCOMPARE(preview->text(), QString());
        QVERIFY(editor->saveOwner());
        classOwner saved;
        QVERIFY(saved.loadOwner("Zoë Ångström.xml"));
        QCOMPARE(saved.get_img(), pick ? jpegOf(pattern(8, 6)) : old);
    }

    void unsafeNamesRefused_data() { addUnsafeNameRows(); }

    void unsafeNamesRefused()
    {
        QFETCH(QString, name);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        const QStringList before = listing(dir.path());
        auto editor = std::make_unique<Owner>();
        editor->startOwner();
        child<QLineEdit>(editor.get(), "lineEdit_name")->setText(name);
        QCOMPARE(child<QLineEdit>(editor.get(), "lineEdit_name")->text(), name);
        QString seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        QVERIFY(!editor->saveOwner());
        QCOMPARE(seen, "Warning !|The owner could not be saved: " + storename::problem(name));
        QCOMPARE(listing(dir.path()), before);
    }

    void failedSaveWarns_data()
    {
        QTest::addColumn<bool>("sizeLimit");
        QTest::addColumn<QString>("why");
        QTest::newRow("file size limit keeps the old file") << true << qt_error_string(EFBIG);
        QTest::newRow("directory in the way") << false << QString("A folder stands where the file must go.");
    }

    void failedSaveWarns()
    {
        QFETCH(bool, sizeLimit);
        QFETCH(QString, why);
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        if (sizeLimit)
            QVERIFY(classOwner().updateOwner("Ann", "feminin", "DTC", QString()));
        else
            QVERIFY(QDir(dir.path()).mkpath("owners/Ann.xml/inside"));
        const QStringList before = listing(dir.path());
        const QByteArray oldBytes = bytesOf(dir.filePath("owners/Ann.xml"));
        auto editor = std::make_unique<Owner>();
        editor->startOwner();
        child<QLineEdit>(editor.get(), "lineEdit_name")->setText("Ann");
        child<QLineEdit>(editor.get(), "lineEdit_Avatar")->setText(writePicture(dir.filePath("big.png"), 128, 128));
        const QStringList withPicture = listing(dir.path());

        QString seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        // The warning needs this process's event loop, so the limit is lowered
        // here rather than in a child, and only for the save.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (sizeLimit) {
            rlimit low = saved;
            low.rlim_cur = 2048;
            setrlimit(RLIMIT_FSIZE, &low);
        }
        const bool ok = editor->saveOwner();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!ok);
        QCOMPARE(seen, QString("Warning !|The owner could not be saved: ") + why);
        QCOMPARE(bytesOf(dir.filePath("owners/Ann.xml")), oldBytes);
        QCOMPARE(listing(dir.path()), withPicture);
        QCOMPARE(withPicture.size(), before.size() + 1);
    }

    void saveCommandWarnings_data()
    {
        QTest::addColumn<QString>("active");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no window") << "" << "Warning !|You must open Owner window";
        QTest::newRow("another kind of window") << "Viewer" << "Warning !|You are not in Owner window.";
        QTest::newRow("plain dialog with the owner icon text") << "Owner" << "Warning !|You are not in Owner window.";
    }

    void saveCommandWarnings()
    {
        QFETCH(QString, active);
        QFETCH(QString, expected);
        workdir dir;
        QVERIFY(dir.writeData(creature(1, "MOSSLING")) && dir.makeStoreDirs());
        Fauntome window;
        window.show();
        auto workspace = window.findChild<QMdiArea*>();
        if (!active.isEmpty()) {
            auto other = new QDialog;
            other->setWindowIconText(active);
            workspace->setActiveSubWindow(workspace->addSubWindow(other));
            other->show();
        }
        QString seen;
        answerMessageBox(QMessageBox::Ok, &seen);
        window.findChild<QAction*>("actionSave_owner")->trigger();
        QCOMPARE(seen, expected);
        QCOMPARE(listing(dir.filePath("owners")), QStringList());
    }

    void ownerMenu()
    {
        workdir dir;
        QVERIFY(dir.writeData(creature(1, "MOSSLING")) && dir.makeStoreDirs());
        Fauntome window;
        window.show();
        auto workspace = window.findChild<QMdiArea*>();
        window.findChild<QAction*>("actionNew_Owner")->trigger();
        QCOMPARE(workspace->subWindowList().size(), 1);
        QPointer<Owner> created = qobject_cast<Owner*>(workspace->subWindowList().first()->widget());
        QVERIFY(created);
        QCOMPARE(created->windowTitle(), QStringLiteral("Owner"));
        QCOMPARE(created->windowIconText(), QStringLiteral("Owner"));
        QTRY_VERIFY(created->isVisible());
        child<QLineEdit>(created, "lineEdit_name")->setText(QStringLiteral("Zoë Ångström"));
        child<QRadioButton>(created, "radioButton_Girl")->setChecked(true);
        workspace->setActiveSubWindow(workspace->subWindowList().first());
        {
            boxWatch watch;
            window.findChild<QAction*>("actionSave_owner")->trigger();
            QCOMPARE(watch.seen, QStringList());
        }
        QCOMPARE(listing(dir.filePath("owners")), QStringList{"/Zoë Ångström.xml"});

        answerPicker(true, "Zoë Ångström.xml");
        window.findChild<QAction*>("actionLoad_owner")->trigger();
        QCOMPARE(workspace->subWindowList().size(), 2);
        auto loaded = qobject_cast<Owner*>(workspace->subWindowList().last()->widget());
        QVERIFY(loaded);
        QTRY_VERIFY(loaded->isVisible());
        QCOMPARE(child<QLineEdit>(loaded, "lineEdit_name")->text(), QStringLiteral("Zoë Ångström"));
        QVERIFY(child<QRadioButton>(loaded, "radioButton_Girl")->isChecked());

        // Closing asks nothing and takes the editor with it.
        workspace->subWindowList().first()->close();
        QTRY_VERIFY(!created);
        QCOMPARE(workspace->subWindowList().size(), 1);
    }
};

QTEST_MAIN(tst_Owner)
#include "tst_owner.moc"
