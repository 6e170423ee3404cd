#include <QtTest>

#include <QtWidgets>
#include <memory>

#include "data/faunlet.h"
#include "support/capture.h"
#include "support/workdir.h"
#include "viewer/httpclient.h"
#include "viewer/network.h"
#include "viewer/viewfaunlet.h"

namespace {

// The helper server process (modes in artserver.cpp), serving artwork while it lives.
class ArtServer
{
public:
    explicit ArtServer(const QStringList& arguments)
    {
        process.start(QStringLiteral(ARTSERVER), arguments);
        if (process.waitForStarted())
            while (!process.canReadLine() && process.waitForReadyRead(10000)) { }
        port = quint16(process.readLine().trimmed().toUInt());
        // No final slash: the viewer must add it.
        qputenv(network::baseVariable, "http://127.0.0.1:" + QByteArray::number(port) + "/images/artwork");
    }
    ~ArtServer()
    {
        process.kill();
        process.waitForFinished();
    }

    // Every line so far: "open" per connection, the request paths, and
    // "closed" per ended connection.
    QStringList lines()
    {
        while (process.canReadLine())
            seen << QString::fromUtf8(process.readLine().trimmed());
        return seen;
    }
    QStringList requests() { return lines().filter("/"); }

    quint16 port = 0;

private:
    QProcess process;
    QStringList seen;
};

// A viewer, deleted with this unless a test deleted it first.
struct ViewerWindow
{
    ~ViewerWindow() { delete viewer.data(); }
    viewFaunlet* operator->() const { return viewer; }
    HttpClient* client() const { return viewer->getNetwork()->getHttpPointer(); }
    QPixmap picture() const { return viewer->findChild<QLabel*>("label_pictureFaunlet")->pixmap(); }
    void open(const QString& name) const
    {
        Faunlet record(name);
        viewer->setFaunlet(&record);
    }

    QPointer<viewFaunlet> viewer = new viewFaunlet;
};

} // namespace

class tst_Network : public QObject
{
    Q_OBJECT

    std::unique_ptr<WorkDir> dir; // an empty data file, current directory

private slots:
    void init()
    {
        dir = std::make_unique<WorkDir>();
        QVERIFY(dir->writeData(""));
    }

    void cleanup()
    {
        dir.reset();
        qunsetenv(network::baseVariable);
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void requestedPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("capitals") << QString("MOSSLING") << "/images/artwork/mossling.png";
        QTest::newRow("space and question mark") << QString("MR WHO?") << "/images/artwork/mr%20who%3F.png";
        QTest::newRow("accented") << QString::fromUtf8("ÉCLAIR") << "/images/artwork/%C3%A9clair.png";
    }

    // Beside it, a viewer without a record (an unknown name) must ask nothing.
    void requestedPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        ArtServer server({"serve", dir->path()});
        ViewerWindow missing, viewer;
        missing->setFaunlet(nullptr);
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        viewer.open(name);
        QTRY_COMPARE(finished.size(), 1);
        QTRY_COMPARE(server.requests(), QStringList{path});
    }

    // The download shows decoded, its background clear; a failed completion
    // afterwards keeps it.
    void pictureShown()
    {
        QImage art(2, 2, QImage::Format_ARGB32);
        art.fill(Qt::white);
        art.setPixel(0, 0, qRgb(200, 40, 40));
        QVERIFY(QDir().mkpath("images/artwork") && art.save("images/artwork/mossling.png"));
        ArtServer server({"serve", dir->path()});
        ViewerWindow viewer;
        viewer.open("MOSSLING");
        QTRY_VERIFY(!viewer.picture().isNull());
        const QImage shown = viewer.picture().toImage();
        QCOMPARE(shown.pixel(0, 0), qRgb(200, 40, 40));
        QCOMPARE(qAlpha(shown.pixel(1, 1)), 0);
        const qint64 key = viewer.picture().cacheKey();
        viewer->printPicture(9, true);
        QCOMPARE(viewer.picture().cacheKey(), key);
    }

    // The cap rows at 1000 bytes stand for the 8 MiB default: the same checks.
    void noPicture_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<bool>("error");
        QTest::newRow("missing file (404)") << QStringList{"serve", "."} << true;
        QTest::newRow("not a PNG") << QStringList{"text"} << false;
        QTest::newRow("connection refused") << QStringList{"closed"} << true;
        QTest::newRow("server never answers") << QStringList{"hang"} << true;
        QTest::newRow("body trickles forever") << QStringList{"drip"} << true;
        QTest::newRow("exactly the cap") << QStringList{"big", "1000"} << false;
        QTest::newRow("exactly the cap, undeclared") << QStringList{"bigstream", "1000"} << false;
        QTest::newRow("one over, declared") << QStringList{"big", "1001"} << true;
        QTest::newRow("one over, undeclared") << QStringList{"bigstream", "1001"} << true;
    }

    void noPicture()
    {
        QFETCH(QStringList, mode);
        QFETCH(bool, error);
        ArtServer server(mode);
        QVERIFY(server.port);
        ViewerWindow viewer;
        // Bounded in time and size even when not tuned.
        QCOMPARE(viewer.client()->transferTimeout(), 15000);
        QCOMPARE(viewer.client()->maxBodySize(), qint64(8) * 1024 * 1024);
        viewer.client()->setTransferTimeout(500);
        viewer.client()->setMaxBodySize(1000);
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        viewer.open("MOSSLING");
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(finished.at(0).at(1).toBool(), error);
        QVERIFY(viewer.picture().isNull());
        QCOMPARE(viewer->getNetwork()->getPicture(), QByteArray());
    }

    // An https address is fetched over TLS or fails with a word on stderr;
    // it is never sent as plain http, which this plain listener would log.
    void httpsIsNeverPlainText()
    {
        ArtServer server({"hang"});
        qputenv(network::baseVariable, "https://127.0.0.1:" + QByteArray::number(server.port) + "/images/artwork/");
        ViewerWindow viewer;
        viewer.client()->setTransferTimeout(3000);
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        Capture err(2);
        viewer.open("MOSSLING");
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QVERIFY(finished.at(0).at(1).toBool());
        QTRY_VERIFY(server.lines().contains("open")); // it did connect
        QCOMPARE(server.requests(), QStringList());
        QVERIFY(err.text().startsWith("cannot fetch https://127.0.0.1:"));
    }

    // Closing stops the transfer at once, long before any timeout, and no
    // notice follows.
    void closingMidTransfer()
    {
        ArtServer server({"hang"});
        ViewerWindow viewer;
        viewer->setAttribute(Qt::WA_DeleteOnClose, false); // so the close alone must stop it
        viewer->show();
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        viewer.open("MOSSLING");
        QTRY_COMPARE(server.requests().size(), 1);
        viewer->close();
        QTRY_COMPARE(server.lines().count("closed"), 1);
        QCOMPARE(finished.size(), 0);
    }
};

QTEST_MAIN(tst_Network)
#include "tst_network.moc"
