#include <QtTest>

#include <QtNetwork>
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

// A red 2x2 picture where a server or a file: base finds it.
bool writePortrait(const QString& path)
{
    QImage art(2, 2, QImage::Format_RGB32);
    art.fill(qRgb(200, 40, 40));
    return QDir().mkpath(QFileInfo(path).path()) && art.save(path);
}

// Whether a fresh viewer of `name` shows that picture, kept through a failed completion.
bool showsPortrait(const QString& name)
{
    ViewerWindow viewer;
    QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
    viewer.open(name);
    const qint64 key = finished.wait(10000) ? viewer.picture().cacheKey() : -1;
    viewer->printPicture(9, true);
    return viewer.picture().cacheKey() == key && !viewer.picture().isNull()
        && viewer.picture().toImage().pixel(0, 0) == qRgb(200, 40, 40);
}

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
        qputenv("XDG_CACHE_HOME", dir->filePath("cache").toUtf8());
    }

    void cleanup()
    {
        dir.reset();
        qunsetenv(network::baseVariable);
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void picture_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("capitals") << QString("MOSSLING") << "/images/artwork/mossling.png";
        QTest::newRow("space and question mark") << QString("MR WHO?") << "/images/artwork/mr%20who%3F.png";
        QTest::newRow("slash") << QString("../ESCAPE") << "/images/artwork/..%2Fescape.png";
    }

    // A name maps to one file, asked for escaped over http or read from a file:
    // base (whose folder needs escapes too); a "/" in it reaches no other folder.
    // A viewer without a record (an unknown name) asks nothing.
    void picture()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        const QString root = dir->filePath("art 100% #1?");
        QVERIFY(writePortrait(root + "/images/artwork/" + name.toLower() + ".png"));
        ArtServer server({"serve", root});
        ViewerWindow missing;
        missing->setFaunlet(nullptr);
        QCOMPARE(showsPortrait(name), !name.contains('/'));
        QTRY_COMPARE(server.requests(), QStringList{path});
        qputenv(network::baseVariable, QUrl::fromLocalFile(root + "/images/artwork/").toEncoded());
        QCOMPARE(showsPortrait(name), !name.contains('/'));
    }

    // The cap rows at 1000 bytes stand for the 8 MiB default: the same checks.
    void noPicture_data()
    {
        QTest::addColumn<QStringList>("mode"); // the server's, or "file:" and a command preparing the folder
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
        QTest::newRow("64 MiB, undeclared") << QStringList{"bigstream", QString::number(64 << 20)} << true;
        QTest::newRow("file: a FIFO") << QStringList{"file:", "mkfifo", "mossling.png"} << true;
        QTest::newRow("file: one over") << QStringList{"file:", "truncate", "-s1001", "mossling.png"} << true;
    }

    // A body is cut while it streams, the network reading only a little ahead;
    // a file: base has the same bounds, and only a plain file is read.
    void noPicture()
    {
        QFETCH(QStringList, mode);
        QFETCH(bool, error);
        std::unique_ptr<ArtServer> server(mode.first() == "file:" ? nullptr : new ArtServer(mode));
        QVERIFY(server ? server->port : QProcess::execute(mode.at(1), mode.mid(2)) == 0);
        if (!server)
            qputenv(network::baseVariable, QUrl::fromLocalFile(dir->path() + "/").toEncoded());
        ViewerWindow viewer;
        // Bounded in time and size even when not tuned.
        QCOMPARE(viewer.client()->transferTimeout(), 15000);
        QCOMPARE(viewer.client()->maxBodySize(), qint64(8) * 1024 * 1024);
        viewer.client()->setTransferTimeout(mode.first() == "bigstream" ? 10000 : 500); // streams run to the cap
        viewer.client()->setMaxBodySize(1000);
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        viewer.open("MOSSLING");
        if (const auto reply = viewer.client()->findChild<QNetworkReply*>())
            QCOMPARE(reply->readBufferSize(), HttpClient::readAhead);
        if (const auto cache = viewer.client()->findChild<QNetworkDiskCache*>())
            QCOMPARE(cache->maximumCacheSize(), network::cacheSize);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(finished.at(0).at(1).toBool(), error);
        QVERIFY(viewer.picture().isNull());
        QCOMPARE(viewer->getNetwork()->getPicture(), QByteArray());
        QTRY_VERIFY(!server || server->lines().filter("closed ").size() == server->lines().count("open"));
        for (const QString& closed : server ? server->lines().filter("closed ") : QStringList())
            QVERIFY(closed.section(' ', 1).toLongLong() < 16 << 20);
    }

    // Kept and reused as the server's headers allow, and shown when the server
    // is gone unless they forbid it; a damaged entry is a miss.
    void cache_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<bool>("cut");     // the stored entry, into the picture
        QTest::addColumn<int>("requests"); // after a second viewer
        QTest::addColumn<bool>("keptWhenGone");
        QTest::newRow("fresh for an hour") << "Cache-Control: max-age=3600" << false << 1 << true;
        QTest::newRow("expired at once") << "Expires: Thu, 01 Jan 1970 00:00:00 GMT" << false << 2 << true;
        QTest::newRow("fresh entry cut short") << "Cache-Control: max-age=3600" << true << 2 << false;
    }

    void cache()
    {
        QFETCH(QString, header);
        QFETCH(bool, cut);
        QFETCH(int, requests);
        QFETCH(bool, keptWhenGone);
        QVERIFY(writePortrait("images/artwork/mossling.png"));
        auto server = std::make_unique<ArtServer>(QStringList{"serve", dir->path(), header});
        const auto harm = [&] {
            QDirIterator entries(dir->filePath("cache"), {"*.d"}, QDir::Files, QDirIterator::Subdirectories);
            const QString entry = entries.hasNext() ? entries.next() : QString();
            return !cut || QFile::resize(entry, QFileInfo(entry).size() - 20);
        };
        QVERIFY(showsPortrait("MOSSLING") && harm() && showsPortrait("MOSSLING"));
        QCOMPARE(server->requests().size(), requests);
        QVERIFY(harm());
        server.reset();
        QCOMPARE(showsPortrait("MOSSLING"), keptWhenGone);
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
        QTRY_COMPARE(server.lines().filter("closed").size(), 1);
        QCOMPARE(finished.size(), 0);
    }
};

QTEST_MAIN(tst_Network)
#include "tst_network.moc"
