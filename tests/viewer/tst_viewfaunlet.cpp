#include <QtTest>

#include <QTcpServer>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <sys/stat.h>

#include "app/fauntome.h"
#include "data/faunlet.h"
#include "support/capture.h"
#include "support/dialogs.h"
#include "support/part.h"
#include "support/workdir.h"
#include "viewer/network.h"
#include "viewer/viewfaunlet.h"

// What a row sets on the record before it is shown.
using fill = std::function<void(Faunlet&)>;
Q_DECLARE_METATYPE(fill)

namespace {

struct MainWindow
{
    MainWindow() { window.show(); }

    void doubleClick(const QString& name)
    {
        QListWidgetItem* item = list->findItems(name, Qt::MatchExactly).value(0);
        QVERIFY(item);
        // A press first: the view only takes a double click on the item just pressed.
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
    }

    QList<viewFaunlet*> viewers() const { return window.findChildren<viewFaunlet*>(); }
    QMdiSubWindow* current() const { return workspace->currentSubWindow(); }

    Fauntome window;
    QListWidget* list = window.findChild<QListWidget*>("listFaunlet");
    QMdiArea* workspace = window.findChild<QMdiArea*>();
};

} // namespace

class tst_ViewFaunlet : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir;

private slots:
    void initTestCase()
    {
        // Downloads go nowhere: a port nothing listens on.
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        qputenv(network::baseVariable, "http://127.0.0.1:" + QByteArray::number(probe.serverPort()) + "/");
    }

    void init()
    {
        dir = std::make_unique<WorkDir>();
        QVERIFY(dir->useData("viewer/creatures.xml"));
    }

    void cleanup()
    {
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
        dir.reset();
    }

    // "widget" names a widget and, after a dot, another property than its text.
    void shown_data()
    {
        QTest::addColumn<fill>("set");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* widget, const char* expected, const fill& set) {
            QTest::newRow(name) << set << QString(widget) << QString(expected);
        };
        row("number without leading zeros", "label_numberFaunlet", "7", [](Faunlet& f) { f.setId(7); });
        row("weight 6.9", "label_Weight", "6.9", [](Faunlet& f) { f.setWeight(6.9f); });
        row("height 2", "label_Height", "2", [](Faunlet& f) { f.setHeight(2); });
        // Each statistic to its own bar, which reads it even out of range.
        row("HP bar reads 150", "progressBar_HP", "150", [](Faunlet& f) { f.setHealth(150); });
        row("Attack bar reads -5", "progressBar_Attack", "-5", [](Faunlet& f) { f.setAttack(-5); });
        row("Defense bar", "progressBar_Defense", "133", [](Faunlet& f) { f.setDefense(133); });
        row("SPA bar", "progressBar_SPA", "144", [](Faunlet& f) { f.setSAT(144); });
        row("SPD bar", "progressBar_SPD", "155", [](Faunlet& f) { f.setSDF(155); });
        row("Speed bar", "progressBar_Speed", "166", [](Faunlet& f) { f.setSpeed(166); });
        row("150: full bar", "progressBar_HP.value", "100", [](Faunlet& f) { f.setHealth(150); });
        row("negative: empty bar", "progressBar_Attack.value", "0", [](Faunlet& f) { f.setAttack(-5); });
        row("in range: as %p", "progressBar_Speed.format", "%p", [](Faunlet& f) { f.setSpeed(45); });
        row("two types, two spaces apart", "label_Type", "<img src=':/types/grass'/>  <img src=':/types/poison'/>",
            [](Faunlet& f) {
                f.addType("Grass");
                f.addType("Poison");
            });
        row("unknown (lower case) type keeps its place", "label_Type", "Unknow type  <img src=':/types/water'/>",
            [](Faunlet& f) {
                f.addType("fire");
                f.addType("Water");
            });
        row("evolves at a level", "label_Evolution", "FERNMOSS  (at lvl. <font color='green'>16</font>)",
            [](Faunlet& f) { f.setEvo("FERNMOSS", "16"); });
        row("evolves by a condition", "label_Evolution", "ONYXQUILL  (<font color='green'>High friendship</font>)",
            [](Faunlet& f) { f.setEvo("ONYXQUILL", "High friendship"); });
        row("only a whole number is a level", "label_Evolution", "GLOOMOTH  (<font color='green'>2 moons</font>)",
            [](Faunlet& f) { f.setEvo("GLOOMOTH", "2 moons"); });
        row("a name but no level: no change", "label_Evolution", "<font color='red'>Does not change</font>",
            [](Faunlet& f) { f.setEvo("FERNMOSS", ""); });
    }

    void shown()
    {
        QFETCH(fill, set);
        QFETCH(QString, widget);
        QFETCH(QString, expected);
        Faunlet record("TIDEFIN");
        set(record);
        viewFaunlet viewer;
        viewer.setFaunlet(&record);
        const QStringList path = widget.split('.');
        const QWidget* shown = viewer.findChild<QWidget*>(path.first());
        QCOMPARE(shown->property(path.value(1, "text").toLatin1().constData()).toString(), expected);
    }

    // Level order, file order within a level, 0 and above 100 left out, markup
    // kept as text, and OTHER's move not taken.
    void moveLines()
    {
        Faunlet record("MOSSLING");
        viewFaunlet viewer;
        Capture quiet(1);
        viewer.setFaunlet(&record);
        quiet.text();
        QCOMPARE(viewer.findChild<QTextEdit*>("textEdit_Attacks")->toPlainText(),
                 "1 \t Nip\n1 \t Gnaw\n7 \t Bite\n30 \t <b>Slam</b>\n100 \t Summit");
    }

    // Text from the data file is shown as written: markup stays characters,
    // and an image tag never makes the viewer read a file (a FIFO here, which
    // would block it for good). The evolution keeps its colours.
    void textFromTheFileIsText()
    {
        QCOMPARE(mkfifo("fifo", 0600), 0);
        QVERIFY(dir->writeData(
            creature(1, "&lt;B&gt;BOLD&lt;/B&gt;",
                     "<evolutions><name>&lt;B&gt;BOLD&lt;/B&gt;</name><name>&lt;I&gt;NEXT&lt;/I&gt;</name>"
                     "<condition>&lt;img src='fifo'/&gt;</condition></evolutions>"
                     "<description>Eats &lt;img src='fifo'/&gt; whole.</description><moves/>")));
        MainWindow main;
        main.doubleClick("<B>BOLD</B>");
        QCOMPARE(main.viewers().size(), 1);
        main.viewers().first()->grab(); // lays every label out, as showing it does
        QStringList shown;
        for (const char* name : {"label_nameFaunlet", "label_Description", "label_Evolution"}) {
            const auto label = part<QLabel>(main.viewers().first(), name);
            shown << displayedText(label->text(), label->textFormat());
        }
        QCOMPARE(shown,
                 QStringList({"<B>BOLD</B>", "Eats <img src='fifo'/> whole.", "<I>NEXT</I> (<img src='fifo'/>)"}));
        QVERIFY(part<QLabel>(main.viewers().first(), "label_Evolution")->text().contains("<font color='green'>"));
    }

    // One viewer per name, filled once; later double clicks only bring it
    // back. Any window titled with the name counts, whatever its kind. A name
    // the data file lacks gets the ERROR viewer.
    void doubleClickOpensOneViewer()
    {
        MainWindow main;
        auto other = new QWidget;
        other->setWindowTitle("TIDEFIN");
        main.workspace->addSubWindow(other)->show();
        Capture first(1);
        main.doubleClick("MOSSLING");
        QCOMPARE(first.text().count("==="), 5); // the activation that follows looks nothing up
        QCOMPARE(main.viewers().size(), 1);
        viewFaunlet* viewer = main.viewers().first();
        QCOMPARE(viewer->windowTitle(), "MOSSLING");
        QVERIFY(viewer->isVisible());
        QCOMPARE(main.current(), viewer->parentWidget());
        main.doubleClick("EMBERLISK");
        QVERIFY(main.current() != viewer->parentWidget());
        Capture again(1);
        main.doubleClick("MOSSLING");
        QCOMPARE(again.text(), QByteArray());
        QCOMPARE(main.current(), viewer->parentWidget());
        main.doubleClick("TIDEFIN");
        QCOMPARE(main.current(), other->parentWidget());
        QCOMPARE(main.viewers().size(), 2);
        main.list->addItem("GHOSTLY");
        main.doubleClick("GHOSTLY");
        QCOMPARE(part<QLabel>(main.current(), "label_nameFaunlet")->text(), "ERROR");
    }
};

QTEST_MAIN(tst_ViewFaunlet)
#include "tst_viewfaunlet.moc"
