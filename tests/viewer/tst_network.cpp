#include <QtTest>

#include <QtNetwork>
#include <QtWidgets>
#include <memory>
#include <sys/stat.h>

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
    // Blocks until the server prints a line that starts with one of `words`
    // and returns it; empty when it says nothing for 30 s.
    QString waitFor(const QStringList& words)
    {
        for (;;) {
            for (const QString& line : lines())
                for (const QString& word : words)
                    if (line.startsWith(word + ' '))
                        return line;
            if (!process.waitForReadyRead(30000))
                return QString();
        }
    }

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

// A 2x2 portrait of `colour` with a white pixel, saved where a server or a
// file: base finds it.
bool writePortrait(const QString& path, QRgb colour = qRgb(200, 40, 40))
{
    QImage art(2, 2, QImage::Format_ARGB32);
    art.fill(Qt::white);
    art.setPixel(0, 0, colour);
    return QDir().mkpath(QFileInfo(path).path()) && art.save(path);
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
        qunsetenv("XDG_CACHE_HOME");
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
        QVERIFY(writePortrait("images/artwork/mossling.png"));
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
        // A file: base takes the same road, within the same bounds.
        QTest::newRow("file: missing") << QStringList{"file", "none"} << true;
        QTest::newRow("file: a folder") << QStringList{"file", "folder"} << true;
        QTest::newRow("file: a FIFO") << QStringList{"file", "fifo"} << true;
        QTest::newRow("file: exactly the cap") << QStringList{"file", "1000"} << false;
        QTest::newRow("file: one over") << QStringList{"file", "1001"} << true;
    }

    void noPicture()
    {
        QFETCH(QStringList, mode);
        QFETCH(bool, error);
        std::unique_ptr<ArtServer> server;
        if (mode.first() == "file") {
            const QString file = dir->filePath("art/mossling.png");
            QVERIFY(QDir().mkpath(dir->filePath("art")));
            if (mode.last() == "folder")
                QVERIFY(QDir().mkpath(file));
            else if (mode.last() == "fifo")
                QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
            else if (mode.last() != "none")
                QVERIFY(dir->write("art/mossling.png", QByteArray(mode.last().toInt(), 'x')));
            qputenv(network::baseVariable, QUrl::fromLocalFile(dir->filePath("art")).toEncoded());
        } else {
            server = std::make_unique<ArtServer>(mode);
            QVERIFY(server->port);
        }
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

    // A file: base, itself in a folder whose name needs escapes, maps every
    // name to the file the portrait generator writes for it; a "/" in a name
    // reaches no other folder.
    void portraitFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("shown");
        QTest::newRow("capitals") << QString("MOSSLING") << true;
        QTest::newRow("space and question mark") << QString("MR WHO?") << true;
        QTest::newRow("percent and hash") << QString("50% #1") << true;
        QTest::newRow("accented") << QString::fromUtf8("ÉCLAIR") << true;
        QTest::newRow("slash") << QString("../ESCAPE") << false;
    }

    void portraitFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, shown);
        const QString folder = dir->filePath("art 100% #1?");
        QVERIFY(writePortrait(folder + "/sub/" + name.toLower() + ".png"));
        qputenv(network::baseVariable, QUrl::fromLocalFile(folder + "/sub/").toEncoded());
        ViewerWindow viewer;
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        viewer.open(name);
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(1).toBool(), !shown);
        QCOMPARE(viewer.picture().isNull(), !shown);
    }

    // Kept and reused as the server's headers allow, and shown from the cache
    // when the server is gone unless they forbid it; a damaged entry is a
    // miss, fetched anew while the server is up.
    void cachedArtwork_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("requests"); // after the second viewer
        QTest::addColumn<bool>("keptWhenGone");
        const QString hour = "Cache-Control: max-age=3600";
        const QString expired = "Expires: Thu, 01 Jan 1970 00:00:00 GMT";
        QTest::newRow("fresh for an hour") << hour << QString() << 1 << true;
        QTest::newRow("expired at once") << expired << QString() << 2 << true;
        QTest::newRow("never used unchecked") << "Cache-Control: no-cache" << QString() << 2 << false;
        QTest::newRow("never stored") << "Cache-Control: no-store" << QString() << 2 << false;
        QTest::newRow("fresh entry cut short") << hour << QString("cut") << 2 << false;
        QTest::newRow("fresh entry with a byte changed") << hour << QString("flip") << 2 << false;
        QTest::newRow("expired entry with a byte changed") << expired << QString("flip") << 2 << false;
    }

    void cachedArtwork()
    {
        QFETCH(QString, header);
        QFETCH(QString, damage);
        QFETCH(int, requests);
        QFETCH(bool, keptWhenGone);
        QVERIFY(writePortrait("images/artwork/mossling.png"));
        auto server = std::make_unique<ArtServer>(QStringList{"serve", dir->path(), header});
        const auto damageEntry = [&] {
            if (damage.isEmpty())
                return true;
            QDirIterator entries(dir->filePath("cache"), {"*.d"}, QDir::Files, QDirIterator::Subdirectories);
            QFile entry(entries.hasNext() ? entries.next() : QString());
            if (!entry.open(QIODevice::ReadWrite))
                return false;
            if (damage == "cut")
                return entry.resize(entry.size() - 20);
            QByteArray bytes = entry.readAll();
            bytes[bytes.size() - 5] = char(bytes.at(bytes.size() - 5) ^ 1);
            return entry.seek(0) && entry.write(bytes) == bytes.size();
        };
        const auto show = [] {
            ViewerWindow viewer;
            QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
            viewer.open("MOSSLING");
            return finished.wait(10000) && !viewer.picture().isNull()
                && viewer.picture().toImage().pixel(0, 0) == qRgb(200, 40, 40);
        };
        QVERIFY(show());
        QVERIFY(damageEntry());
        QVERIFY(show());
        QCOMPARE(server->requests().size(), requests);
        QVERIFY(damageEntry());
        server.reset();
        QCOMPARE(show(), keptWhenGone);
    }

    // However much is fetched, the cache folder keeps within its size, plus
    // the entry just stored.
    void cacheStaysBounded()
    {
        const int count = 16; // of 4 MiB each, twice the cache's size
        QVERIFY(dir->write("big.png", QByteArray(4 << 20, 'x')));
        QVERIFY(QDir().mkpath("images/artwork"));
        for (int i = 0; i < count; ++i)
            QVERIFY(QFile::link(dir->filePath("big.png"), QString("images/artwork/n%1.png").arg(i)));
        ArtServer server({"serve", dir->path(), "Cache-Control: max-age=3600"});
        for (int i = 0; i < count; ++i) {
            ViewerWindow viewer;
            QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
            viewer.open(QString("N%1").arg(i));
            QVERIFY(finished.wait(10000));
        }
        qint64 kept = 0;
        QDirIterator entries(dir->filePath("cache"), QDir::Files, QDirIterator::Subdirectories);
        while (entries.hasNext())
            kept += QFileInfo(entries.next()).size();
        QVERIFY2(kept > 4 << 20 && kept < network::cacheSize + (5 << 20), qPrintable(QString::number(kept)));
    }

    // A body without a length is cut at the cap while it streams: the server
    // is stopped long before its end, and while the viewer reads nothing the
    // network reads only a little ahead.
    void endlessStreamIsCut()
    {
        const qint64 end = qint64(256) << 20;
        ArtServer server({"stream", QString::number(end)});
        ViewerWindow viewer;
        QSignalSpy finished(viewer.client(), &HttpClient::requestFinished);
        viewer.open("MOSSLING");
        auto reply = viewer.client()->findChild<QNetworkReply*>();
        QVERIFY(reply);
        QString stalled;
        connect(reply, &QNetworkReply::readyRead, this, [&] {
            if (stalled.isEmpty())
                stalled = server.waitFor({"stalled", "sent"});
        });
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QVERIFY(finished.at(0).at(1).toBool());
        QVERIFY(viewer.picture().isNull());
        const auto bytes = [](const QString& line) { return line.section(' ', 1).toLongLong(); };
        QVERIFY2(stalled.startsWith("stalled") && bytes(stalled) < 64 << 20, qPrintable(stalled));
        const QString sent = server.waitFor({"sent"});
        QVERIFY2(bytes(sent) >= 8 << 20 && bytes(sent) < 64 << 20, qPrintable(sent));
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
