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
#include "support/workdir.h"

namespace {

// Closes and records ("title|text") every message box while it lives: a test
// expecting none cannot hang, and a second box shows.
struct boxWatch {
    QStringList seen;
    QTimer timer;
    boxWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    seen << box->windowTitle() + "|" + box->text();
                    box->buttons().first()->click();
                }
        });
        timer.start(10);
    }
};

template<typename T = QLineEdit> T* child(QWidget* editor, const char* name)
{
    return editor->findChild<T*>(QLatin1String(name));
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
        workdir dir;
        QVERIFY(dir.makeStoreDirs());
        for (const char* file : {"bob.xml", ".xml", "Alice.xml", ".hidden.xml"})
            QVERIFY(dir.write(QStringLiteral("owners/") + file, "<owner name=\"x\"/>"));
        const QByteArray jpeg = jpegOf(QSize(12, 10));
        // Written by hand, as another copy of the program would.
        QVERIFY(dir.write("owners/Zoë Ångström.xml", "<!DOCTYPE owners>\n<owner name=\"Zoë Ångström\" loc=\"DTC\" sexe=\""
                                                         + sexe.toUtf8() + "\">\n <avatar>" + jpeg.toBase64()
                                                         + "</avatar>\n</owner>\n"));
        auto editor = std::make_unique<Owner>();
        QStringList items;
        answerItemPicker(pick ? QStringLiteral("Zoë Ångström.xml") : QString(), &items);
        editor->loadOwner();
        QCOMPARE(items, (QStringList{"Alice.xml", "bob.xml", "Zoë Ångström.xml"}));
        QCOMPARE(child(editor.get(), "lineEdit_name")->text(), pick ? "Zoë Ångström" : "");
        QCOMPARE(child(editor.get(), "lineEdit_Avatar")->text(), pick ? "innerXMLfile" : "");
        const bool girl = pick && sexe == "feminin";
        QCOMPARE(child<QRadioButton>(editor.get(), "radioButton_boy")->isChecked(), !girl);
        QCOMPARE(child<QRadioButton>(editor.get(), "radioButton_Girl")->isChecked(), girl);
        QCOMPARE(child<QLabel>(editor.get(), "label_avatar")->pixmap().size(), pick ? QSize(12, 10) : QSize(0, 0));

        const QString name = pick ? "Zoë Ångström" : "王小明";
        if (!pick) {
            child(editor.get(), "lineEdit_name")->setText(name);
            child<QRadioButton>(editor.get(), "radioButton_Girl")->setChecked(true);
        }
        boxWatch watch;
        QVERIFY(editor->saveOwner());
        QCOMPARE(watch.seen, QStringList());
        classOwner saved;
        QVERIFY(saved.loadOwner(name + ".xml"));
        QCOMPARE((QStringList{saved.get_name(), saved.get_sexe(), saved.get_loc()}), (QStringList{name, sexe, "DTC"}));
        QCOMPARE(saved.get_img(), pick ? jpeg : QByteArray());
    }

    void failedSaveWarnsAndKeepsFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("why");
        QTest::newRow("file size limit") << "Ann" << "limit" << qt_error_string(EFBIG);
        QTest::newRow("directory in the way") << "Ann" << "directory" << "A folder stands where the file must go.";
        for (const auto& [row, name] : unsafeNames())
            QTest::addRow("unsafe name: %s", row) << name << "" << storename::problem(name);
    }

    void failedSaveWarnsAndKeepsFiles()
    {
        QFETCH(QString, name);
        QFETCH(QString, how);
        QFETCH(QString, why);
        workdir dir;
        QVERIFY(dir.makeStoreDirs() && dir.write("victim.xml", "keep"));
        if (how == "limit")
            QVERIFY(classOwner().updateOwner(name, "feminin", "DTC", QString()));
        if (how == "directory")
            QVERIFY(QDir().mkpath("owners/" + name + ".xml/inside"));
        auto editor = std::make_unique<Owner>();
        editor->startOwner();
        child(editor.get(), "lineEdit_name")->setText(name);
        child(editor.get(), "lineEdit_Avatar")->setText(writePicture(dir.filePath("big.png"), QSize(128, 128)));
        const QStringList before = dir.snapshot();

        boxWatch watch;
        // The warning needs this process's event loop, so the limit is lowered
        // here rather than in a child, and only for the save.
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit low = saved;
        if (how == "limit")
            low.rlim_cur = 2048;
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &low);
        const bool ok = editor->saveOwner();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!ok);
        QCOMPARE(watch.seen, QStringList{"Warning !|The owner could not be saved: " + why});
        QCOMPARE(dir.snapshot(), before);
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
        workdir dir;
        QVERIFY(dir.writeData(creature(1, "MOSSLING")) && dir.makeStoreDirs());
        Fauntome window;
        window.show();
        auto workspace = window.findChild<QMdiArea*>();
        if (active == "New")
            window.findChild<QAction*>("actionNew_Owner")->trigger();
        else if (!active.isEmpty())
            workspace->addSubWindow(new QDialog)->widget()->setWindowIconText(active);
        if (!active.isEmpty()) {
            QCOMPARE(workspace->subWindowList().size(), 1);
            QMdiSubWindow* frame = workspace->subWindowList().first();
            frame->widget()->show();
            workspace->setActiveSubWindow(frame);
            if (QLineEdit* name = child(frame->widget(), "lineEdit_name"))
                name->setText(QStringLiteral("Zoë"));
        }
        boxWatch watch;
        window.findChild<QAction*>("actionSave_owner")->trigger();
        QCOMPARE(watch.seen, boxes);
        QCOMPARE(QDir("owners").entryList(QDir::Files | QDir::Hidden), files);
    }
};

QTEST_MAIN(tst_Owner)
#include "tst_owner.moc"
