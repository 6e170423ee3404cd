#include <QtTest>

#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QTcpServer>
#include <QTextEdit>
#include <memory>

#include "app/fauntome.h"
#include "data/faunlet.h"
#include "support/capture.h"
#include "support/workdir.h"
#include "viewer/network.h"
#include "viewer/viewfaunlet.h"

namespace {

const QStringList barNames{"progressBar_HP",  "progressBar_Attack", "progressBar_Defense",
                           "progressBar_SPA", "progressBar_SPD",    "progressBar_Speed"};

QString labelText(const QWidget* viewer, const char* name)
{
    return viewer->findChild<QLabel*>(name)->text();
}

QProgressBar* bar(const QWidget* viewer, const QString& name)
{
    return viewer->findChild<QProgressBar*>(name);
}

QByteArray levelUp(const QByteArray& name, const QByteArray& level)
{
    return "   <move type=\"level-up\"><name>" + name + "</name><lvl>" + level + "</lvl></move>\n";
}

QByteArray moves(const QByteArray& list)
{
    return "  <moves>\n" + list + "  </moves>\n";
}

// Creatures for the main window's list; MOSSLING learns two moves.
QByteArray listCreatures()
{
    return creature(1, "MOSSLING", moves(levelUp("Nip", "1") + levelUp("Bite", "7")))
        + creature(2, "EMBERLISK", moves(levelUp("Spark", "1"))) + creature(3, "TIDEFIN");
}

// Each fill asks the reader for moves, which traces one "===" line per move.
int fills(const QByteArray& trace, int movesPerFill)
{
    return int(trace.count("===")) / movesPerFill;
}

class mainWindow
{
public:
    mainWindow()
    {
        window.show();
        list = window.findChild<QListWidget*>("listFaunlet");
        workspace = window.findChild<QMdiArea*>();
    }

    void doubleClick(const QString& name)
    {
        QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(item);
        // What a mouse sends: the view only takes a double click on the item
        // the press before it hit.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }

    QList<viewFaunlet*> viewers() const { return window.findChildren<viewFaunlet*>(); }
    QWidget* current() const
    {
        QMdiSubWindow* frame = workspace->currentSubWindow();
        return frame ? frame->widget() : nullptr;
    }

    Fauntome window;
    QListWidget* list = nullptr;
    QMdiArea* workspace = nullptr;
};

} // namespace

class tst_ViewFaunlet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Downloads go nowhere: a port nothing listens on.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        qputenv(network::baseVariable,
                "http://127.0.0.1:" + QByteArray::number(probe.serverPort()) + "/images/artwork/");
    }

    void cleanup()
    {
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void nullRecordShowsError()
    {
        workdir dir;
        QVERIFY(dir.writeData(""));
        viewFaunlet viewer;
        viewer.setFaunlet(nullptr);
        QCOMPARE(labelText(&viewer, "label_nameFaunlet"), QStringLiteral("ERROR"));
        QCOMPARE(labelText(&viewer, "label_numberFaunlet"), QStringLiteral("001"));
        QCOMPARE(labelText(&viewer, "label_Type"), QStringLiteral("normal"));
        QCOMPARE(labelText(&viewer, "label_Weight"), QStringLiteral("0.0"));
        QCOMPARE(labelText(&viewer, "label_Height"), QStringLiteral("0.0"));
        QCOMPARE(labelText(&viewer, "label_Evolution"), QStringLiteral("rien"));
        QCOMPARE(labelText(&viewer, "label_Description"), QStringLiteral("description"));
        for (const QString& name : barNames)
            QCOMPARE(bar(&viewer, name)->value(), 24);
    }

    void numberAndMeasures_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<float>("weight");
        QTest::addColumn<float>("height");
        QTest::addColumn<QStringList>("expected"); // number, weight, height
        QTest::newRow("7, 6.9, 2") << 7 << 6.9f << 2.0f << QStringList{"7", "6.9", "2"};
        QTest::newRow("no leading zeros, zeros") << 25 << 0.0f << 0.0f << QStringList{"25", "0", "0"};
        QTest::newRow("three digits, 100, 0.1") << 151 << 100.0f << 0.1f << QStringList{"151", "100", "0.1"};
        QTest::newRow("six significant digits") << 9 << 1234567.0f << 12.3456789f
                                                << QStringList{"9", "1.23457e+06", "12.3457"};
    }

    void numberAndMeasures()
    {
        QFETCH(int, id);
        QFETCH(float, weight);
        QFETCH(float, height);
        QFETCH(QStringList, expected);
        workdir dir;
        QVERIFY(dir.writeData(""));
        Faunlet record(QStringLiteral("MOSSLING"));
        record.setId(id);
        record.setWeight(weight);
        record.setHeight(height);
        record.setDescription(QStringLiteral("Grows on old stones."));
        viewFaunlet viewer;
        viewer.setFaunlet(&record);
        QCOMPARE(labelText(&viewer, "label_nameFaunlet"), QStringLiteral("MOSSLING"));
        QCOMPARE((QStringList{labelText(&viewer, "label_numberFaunlet"), labelText(&viewer, "label_Weight"),
                              labelText(&viewer, "label_Height")}),
                 expected);
        QCOMPARE(labelText(&viewer, "label_Description"), QStringLiteral("Grows on old stones."));
    }

    void statisticsGoToTheirBars()
    {
        workdir dir;
        QVERIFY(dir.writeData(""));
        Faunlet record(QStringLiteral("MOSSLING"));
        record.setHealth(11);
        record.setAttack(22);
        record.setDefense(33);
        record.setSAT(44);
        record.setSDF(55);
        record.setSpeed(66);
        viewFaunlet viewer;
        viewer.setFaunlet(&record);
        QList<int> values;
        for (const QString& name : barNames)
            values << bar(&viewer, name)->value();
        QCOMPARE(values, (QList<int>{11, 22, 33, 44, 55, 66}));
    }

    void statisticBar_data()
    {
        QTest::addColumn<int>("statistic");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("in range") << 45 << 45 << "45";
        QTest::newRow("zero") << 0 << 0 << "0";
        QTest::newRow("hundred") << 100 << 100 << "100";
        QTest::newRow("150: full bar reading 150") << 150 << 100 << "150";
        QTest::newRow("negative: empty bar reading it") << -5 << 0 << "-5";
    }

    void statisticBar()
    {
        QFETCH(int, statistic);
        QFETCH(int, value);
        QFETCH(QString, text);
        workdir dir;
        QVERIFY(dir.writeData(""));
        Faunlet record(QStringLiteral("MOSSLING"));
        record.setHealth(statistic);
        record.setAttack(statistic);
        record.setDefense(statistic);
        record.setSAT(statistic);
        record.setSDF(statistic);
        record.setSpeed(statistic);
        viewFaunlet viewer;
        viewer.setFaunlet(&record);
        for (const QString& name : barNames) {
            QCOMPARE(bar(&viewer, name)->value(), value);
            QCOMPARE(bar(&viewer, name)->text(), text);
        }
    }

    void typeLine_data()
    {
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one") << QStringList{"Fire"} << "<img src=':/types/fire'/>";
        QTest::newRow("two, two spaces apart")
            << QStringList{"Grass", "Poison"} << "<img src=':/types/grass'/>  <img src=':/types/poison'/>";
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("lower case is unknown") << QStringList{"fire"} << "Unknow type";
        QTest::newRow("unknown keeps its place")
            << QStringList{"Sound", "Water"} << "Unknow type  <img src=':/types/water'/>";
    }

    void typeLine()
    {
        QFETCH(QStringList, types);
        QFETCH(QString, expected);
        workdir dir;
        QVERIFY(dir.writeData(""));
        Faunlet record(QStringLiteral("MOSSLING"));
        for (const QString& type : types)
            record.addType(type);
        viewFaunlet viewer;
        viewer.setFaunlet(&record);
        QCOMPARE(labelText(&viewer, "label_Type"), expected);
    }

    void everyTypeHasItsBadge()
    {
        viewFaunlet viewer;
        const QStringList words{"Bug",   "Dark",   "Dragon", "Electric", "Fighting", "Fire",
                                "Flying", "Ghost", "Grass",  "Ground",   "Ice",      "Normal",
                                "Poison", "Psychic", "Rock", "Steel",    "Water"};
        for (const QString& word : words) {
            const QString badge = QStringLiteral(":/types/") + word.toLower();
            QVERIFY2(QFile::exists(badge), qPrintable(badge));
            QCOMPARE(viewer.getPictureType(word), QStringLiteral("<img src='") + badge + QStringLiteral("'/>"));
        }
    }

    void evolution_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("level");
        QTest::addColumn<QString>("expected");
        QTest::newRow("at a level") << "FERNMOSS" << "16" << "FERNMOSS  (at lvl. <font color='green'>16</font>)";
        QTest::newRow("by a condition") << "GLOOMOTH" << "Trade"
                                        << "GLOOMOTH  (at lvl. <font color='green'>Trade</font>)";
        QTest::newRow("nothing") << "" << "" << "<font color='red'>Does not change</font>";
        QTest::newRow("a name but no level") << "FERNMOSS" << ""
                                             << "<font color='red'>Does not change</font>";
    }

    void evolution()
    {
        QFETCH(QString, name);
        QFETCH(QString, level);
        QFETCH(QString, expected);
        workdir dir;
        QVERIFY(dir.writeData(""));
        Faunlet record(QStringLiteral("MOSSLING"));
        record.setEvo(name, level);
        viewFaunlet viewer;
        viewer.setFaunlet(&record);
        QCOMPARE(labelText(&viewer, "label_Evolution"), expected);
    }

    void moveLines_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("expected");
        QTest::newRow("level order, same level in file order")
            << levelUp("Bite", "7") + levelUp("Nip", "1") + levelUp("Gnaw", "1")
            << "1 \t Nip\n1 \t Gnaw\n7 \t Bite";
        QTest::newRow("level 0 and above 100 left out")
            << levelUp("Dawn", "0") + levelUp("Summit", "100") + levelUp("Beyond", "101") << "100 \t Summit";
        QTest::newRow("machine moves left out")
            << QByteArray("   <move type=\"machine\"><name>Quake</name><lvl>30</lvl></move>\n") + levelUp("Nip", "1")
            << "1 \t Nip";
        QTest::newRow("markup in a name stays text") << levelUp("&lt;b&gt;Slam&lt;/b&gt;", "30")
                                                     << "30 \t <b>Slam</b>";
        QTest::newRow("none") << QByteArray() << "";
    }

    void moveLines()
    {
        QFETCH(QByteArray, list);
        QFETCH(QString, expected);
        workdir dir;
        QVERIFY(dir.writeData(creature(1, "OTHER", moves(levelUp("Wrong", "1"))) + creature(2, "MOSSLING", moves(list))));
        Faunlet record(QStringLiteral("MOSSLING"));
        viewFaunlet viewer;
        capture out(1);
        viewer.setFaunlet(&record);
        out.text();
        auto edit = viewer.findChild<QTextEdit*>("textEdit_Attacks");
        QCOMPARE(edit->toPlainText(), expected);
        QCOMPARE(edit->document()->blockCount(), qMax(1, int(expected.count(QLatin1Char('\n'))) + 1));
    }

    void doubleClickOpensOneViewer()
    {
        workdir dir;
        QVERIFY(dir.writeData(listCreatures()));
        mainWindow main;
        capture out(1);
        main.doubleClick(QStringLiteral("MOSSLING"));
        const QByteArray trace = out.text();
        QCOMPARE(main.viewers().size(), 1);
        QCOMPARE(fills(trace, 2), 1); // the activation that follows a double click fills nothing
        viewFaunlet* viewer = main.viewers().first();
        QCOMPARE(viewer->windowTitle(), QStringLiteral("MOSSLING"));
        QCOMPARE(labelText(viewer, "label_nameFaunlet"), QStringLiteral("MOSSLING"));
        QCOMPARE(labelText(viewer, "label_numberFaunlet"), QStringLiteral("1"));
        QVERIFY(viewer->isVisible());
        QCOMPARE(main.current(), viewer);
    }

    void secondDoubleClickActivates()
    {
        workdir dir;
        QVERIFY(dir.writeData(listCreatures()));
        mainWindow main;
        main.doubleClick(QStringLiteral("MOSSLING"));
        QWidget* first = main.current();
        main.doubleClick(QStringLiteral("EMBERLISK"));
        QVERIFY(main.current() != first);
        capture out(1);
        main.doubleClick(QStringLiteral("MOSSLING"));
        QCOMPARE(out.text(), QByteArray());
        QCOMPARE(main.viewers().size(), 2);
        QCOMPARE(main.current(), first);
    }

    void anyWindowWithTheTitleIsActivated()
    {
        workdir dir;
        QVERIFY(dir.writeData(listCreatures()));
        mainWindow main;
        auto other = new QWidget;
        other->setWindowTitle(QStringLiteral("MOSSLING"));
        main.workspace->addSubWindow(other)->show();
        main.doubleClick(QStringLiteral("EMBERLISK"));
        main.doubleClick(QStringLiteral("MOSSLING"));
        QCOMPARE(main.current(), other);
        QCOMPARE(main.viewers().size(), 1);
        QCOMPARE(main.workspace->subWindowList().size(), 2);
    }

    void enterOpensViewer()
    {
        workdir dir;
        QVERIFY(dir.writeData(listCreatures()));
        mainWindow main;
        main.list->setCurrentRow(2);
        QTest::keyClick(main.list, Qt::Key_Return);
        QCOMPARE(main.viewers().size(), 1);
        QCOMPARE(main.viewers().first()->windowTitle(), QStringLiteral("TIDEFIN"));
    }

    void closedViewerGoesAndReopensFilled()
    {
        workdir dir;
        QVERIFY(dir.writeData(listCreatures()));
        mainWindow main;
        main.doubleClick(QStringLiteral("MOSSLING"));
        QPointer<viewFaunlet> viewer = main.viewers().value(0);
        QVERIFY(viewer);
        QPointer<QMdiSubWindow> frame = main.workspace->subWindowList().value(0);
        frame->close();
        QTRY_VERIFY(viewer.isNull());
        QTRY_VERIFY(frame.isNull());
        QCOMPARE(main.workspace->subWindowList().size(), 0);

        capture out(1);
        main.doubleClick(QStringLiteral("MOSSLING"));
        QCOMPARE(fills(out.text(), 2), 1);
        QCOMPARE(main.viewers().size(), 1);
        QCOMPARE(labelText(main.viewers().first(), "label_nameFaunlet"), QStringLiteral("MOSSLING"));
    }

    void unknownNameOpensErrorViewer()
    {
        workdir dir;
        QVERIFY(dir.writeData(listCreatures()));
        mainWindow main;
        main.list->addItem(QStringLiteral("GHOSTLY"));
        main.doubleClick(QStringLiteral("GHOSTLY"));
        QCOMPARE(main.viewers().size(), 1);
        viewFaunlet* viewer = main.viewers().first();
        QCOMPARE(viewer->windowTitle(), QStringLiteral("GHOSTLY"));
        QCOMPARE(labelText(viewer, "label_nameFaunlet"), QStringLiteral("ERROR"));
        QCOMPARE(labelText(viewer, "label_numberFaunlet"), QStringLiteral("001"));
    }
};

QTEST_MAIN(tst_ViewFaunlet)
#include "tst_viewfaunlet.moc"
