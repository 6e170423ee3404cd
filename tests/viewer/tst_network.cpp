#include <QtTest>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <memory>

#include "data/faunlet.h"
#include "support/workdir.h"
#include "viewer/httpclient.h"
#include "viewer/network.h"
#include "viewer/viewfaunlet.h"

namespace {

// The helper server process; killed when this goes.
class artserver
{
public:
    explicit artserver(const QStringList& arguments)
    {
        process.start(QStringLiteral(ARTSERVER), arguments);
        if (!process.waitForStarted())
            return;
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        port = quint16(process.readLine().trimmed().toUInt());
    }
    ~artserver()
    {
        process.kill();
        process.waitForFinished();
    }
    artserver(const artserver&) = delete;
    artserver& operator=(const artserver&) = delete;

    QByteArray base() const { return "http://127.0.0.1:" + QByteArray::number(port) + "/images/artwork/"; }
    // Every request path seen so far.
    QStringList requests() { return lines().filter(QRegularExpression(QStringLiteral("^/"))); }
    // How many connections have ended.
    qsizetype closings() { return lines().count(QStringLiteral("closed")); }

    quint16 port = 0;

private:
    QStringList lines()
    {
        while (process.canReadLine())
            seen << QString::fromUtf8(process.readLine().trimmed());
        return seen;
    }

    QProcess process;
    QStringList seen;
};

// A viewer that may delete itself by closing; whatever is left goes here.
class window
{
public:
    window() = default;
    ~window() { delete viewer.data(); }
    window(const window&) = delete;
    window& operator=(const window&) = delete;

    viewFaunlet* operator->() const { return viewer; }
    httpclient* client() const { return viewer->getNetwork()->getHttpPointer(); }
    QPixmap picture() const { return viewer->findChild<QLabel*>("label_pictureFaunlet")->pixmap(); }

    QPointer<viewFaunlet> viewer = new viewFaunlet;
};

quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void pointAt(const QByteArray& base)
{
    qputenv(network::baseVariable, base);
}

bool writePicture(const workdir& dir, const QString& file, const QImage& image)
{
    return QDir(dir.path()).mkpath(QStringLiteral("images/artwork"))
        && image.save(dir.filePath(QStringLiteral("images/artwork/") + file), "PNG");
}

} // namespace

class tst_Network : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qunsetenv(network::baseVariable);
        QTRY_COMPARE(QApplication::topLevelWidgets().size(), 0);
    }

    void artworkUrl_data()
    {
        QTest::addColumn<QByteArray>("base");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("built-in server") << QByteArray() << "MOSSLING" << "http://localhost/images/artwork/mossling.png";
        QTest::newRow("variable replaces it")
            << QByteArray("http://127.0.0.1:8600/images/artwork/") << "MOSSLING"
            << "http://127.0.0.1:8600/images/artwork/mossling.png";
        QTest::newRow("variable without final slash")
            << QByteArray("http://127.0.0.1:8600/art") << "TIDEFIN" << "http://127.0.0.1:8600/art/tidefin.png";
        QTest::newRow("question mark stays in the name")
            << QByteArray() << "WHO?" << "http://localhost/images/artwork/who%3F.png";
    }

    void artworkUrl()
    {
        QFETCH(QByteArray, base);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        if (!base.isEmpty())
            pointAt(base);
        QCOMPARE(network::artworkUrl(name).toString(QUrl::FullyEncoded), expected);
    }

    void requestedPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("capitals") << "MOSSLING" << "/images/artwork/mossling.png";
        QTest::newRow("space") << "MR FROST" << "/images/artwork/mr%20frost.png";
        QTest::newRow("accented") << QString::fromUtf8("ÉCLAIR") << "/images/artwork/%C3%A9clair.png";
    }

    void requestedPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        workdir dir;
        QVERIFY(dir.writeData(""));
        artserver server({"serve", dir.path()});
        QVERIFY(server.port);
        pointAt(server.base());
        window viewer;
        Faunlet record(name);
        viewer->setFaunlet(&record);
        QTRY_COMPARE(server.requests(), QStringList{path});
    }

    void transparency_data()
    {
        QTest::addColumn<uint>("colour");
        QTest::addColumn<int>("alpha");
        const QList<QRgb> background{
            qRgb(255, 255, 255), qRgb(255, 254, 254), qRgb(255, 254, 253), qRgb(255, 254, 252),
            qRgb(254, 254, 254), qRgb(254, 255, 255), qRgb(253, 254, 254), qRgb(253, 255, 255),
            qRgb(255, 255, 254), qRgb(255, 255, 253), qRgb(253, 253, 253), qRgb(254, 254, 253),
            qRgb(254, 254, 251), qRgb(254, 254, 252), qRgb(252, 255, 255), qRgb(252, 255, 254),
            qRgb(254, 255, 254)};
        for (QRgb colour : background)
            QTest::addRow("%d,%d,%d clears", qRed(colour), qGreen(colour), qBlue(colour)) << uint(colour) << 0;
        QTest::newRow("251,255,255 stays") << uint(qRgb(251, 255, 255)) << 255;
        QTest::newRow("255,255,252 stays") << uint(qRgb(255, 255, 252)) << 255;
        QTest::newRow("253,253,254 stays") << uint(qRgb(253, 253, 254)) << 255;
        QTest::newRow("half-transparent white keeps its alpha") << uint(qRgba(255, 255, 255, 128)) << 128;
    }

    void transparency()
    {
        QFETCH(uint, colour);
        QFETCH(int, alpha);
        workdir dir;
        QVERIFY(dir.writeData(""));
        QImage art(3, 2, QImage::Format_ARGB32);
        art.fill(qRgb(200, 40, 40));
        art.setPixel(0, 0, colour);
        art.setPixel(2, 1, colour);
        QVERIFY(writePicture(dir, QStringLiteral("mossling.png"), art));
        artserver server({"serve", dir.path()});
        pointAt(server.base());

        window viewer;
        Faunlet record(QStringLiteral("MOSSLING"));
        viewer->setFaunlet(&record);
        QTRY_VERIFY(!viewer.picture().isNull());

        const QImage shown = viewer.picture().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.size(), art.size()); // not scaled
        QCOMPARE(qAlpha(shown.pixel(0, 0)), alpha);
        QCOMPARE(qAlpha(shown.pixel(2, 1)), alpha);
        if (alpha == 255)
            QCOMPARE(shown.pixel(0, 0), QRgb(colour));
        QCOMPARE(shown.pixel(1, 0), qRgb(200, 40, 40));
    }

    void errorNoticeKeepsPicture()
    {
        workdir dir;
        QVERIFY(dir.writeData(""));
        QImage art(4, 4, QImage::Format_ARGB32);
        art.fill(qRgb(10, 120, 30));
        QVERIFY(writePicture(dir, QStringLiteral("mossling.png"), art));
        artserver server({"serve", dir.path()});
        pointAt(server.base());
        window viewer;
        Faunlet record(QStringLiteral("MOSSLING"));
        viewer->setFaunlet(&record);
        QTRY_VERIFY(!viewer.picture().isNull());
        const qint64 shown = viewer.picture().cacheKey();
        viewer->printPicture(9, true);
        QCOMPARE(viewer.picture().cacheKey(), shown);
    }

    void noPicture_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<bool>("error");
        QTest::newRow("missing file (404)") << QStringList{"serve", "."} << true;
        QTest::newRow("not a PNG") << QStringList{"text"} << false;
        QTest::newRow("connection refused") << QStringList{} << true;
        QTest::newRow("server never answers") << QStringList{"hang"} << true;
        QTest::newRow("body trickles forever") << QStringList{"drip"} << true;
        QTest::newRow("declared body over the cap") << QStringList{"big", "5000"} << true;
        QTest::newRow("undeclared body over the cap") << QStringList{"bigstream", "5000"} << true;
    }

    void noPicture()
    {
        QFETCH(QStringList, mode);
        QFETCH(bool, error);
        workdir dir;
        QVERIFY(dir.writeData(""));
        std::unique_ptr<artserver> server;
        if (mode.isEmpty()) {
            pointAt("http://127.0.0.1:" + QByteArray::number(closedPort()) + "/images/artwork/");
        } else {
            server = std::make_unique<artserver>(mode);
            QVERIFY(server->port);
            pointAt(server->base());
        }
        window viewer;
        viewer.client()->setTransferTimeout(500);
        viewer.client()->setMaxBodySize(4000);
        QSignalSpy finished(viewer.client(), &httpclient::requestFinished);
        Faunlet record(QStringLiteral("MOSSLING"));
        viewer->setFaunlet(&record);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QCOMPARE(finished.at(0).at(1).toBool(), error);
        QVERIFY(viewer.picture().isNull());
        QCOMPARE(viewer->getNetwork()->getPicture(), QByteArray());
        if (server) {
            // Qt itself may send the GET again when a reply ends by closing the
            // connection, so the count is not ours to check, only the path.
            QTRY_VERIFY(!server->requests().isEmpty());
            const QStringList seen = server->requests();
            QCOMPARE(QSet<QString>(seen.begin(), seen.end()), QSet<QString>{"/images/artwork/mossling.png"});
        }
    }

    void bodyCap_data()
    {
        QTest::addColumn<QStringList>("mode");
        QTest::addColumn<qint64>("cap");
        QTest::addColumn<bool>("error");
        QTest::newRow("exactly the cap") << QStringList{"big", "1000"} << qint64(1000) << false;
        QTest::newRow("exactly the cap, undeclared") << QStringList{"bigstream", "1000"} << qint64(1000) << false;
        QTest::newRow("one over, declared") << QStringList{"big", "1001"} << qint64(1000) << true;
        QTest::newRow("one over, undeclared") << QStringList{"bigstream", "1001"} << qint64(1000) << true;
        QTest::newRow("8 MiB by default") << QStringList{"big", "8388608"} << qint64(0) << false;
        QTest::newRow("one over 8 MiB by default") << QStringList{"bigstream", "8388609"} << qint64(0) << true;
    }

    void bodyCap()
    {
        QFETCH(QStringList, mode);
        QFETCH(qint64, cap);
        QFETCH(bool, error);
        artserver server(mode);
        QVERIFY(server.port);
        httpclient client;
        if (cap)
            client.setMaxBodySize(cap);
        QSignalSpy finished(&client, &httpclient::requestFinished);
        client.setHost(QStringLiteral("127.0.0.1"), server.port);
        client.get(QStringLiteral("/images/artwork/big.png"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        QCOMPARE(finished.at(0).at(1).toBool(), error);
        QCOMPARE(client.readAll().size(), error ? 0 : mode.at(1).toLongLong());
    }

    void timeoutBoundsWholeTransfer_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("never answers") << "hang";
        QTest::newRow("keeps trickling") << "drip";
    }

    void timeoutBoundsWholeTransfer()
    {
        QFETCH(QString, mode);
        artserver server({mode});
        QVERIFY(server.port);
        httpclient client;
        QCOMPARE(client.transferTimeout(), 15000);
        client.setTransferTimeout(400);
        QSignalSpy finished(&client, &httpclient::requestFinished);
        client.setHost(QStringLiteral("127.0.0.1"), server.port);
        QElapsedTimer clock;
        clock.start();
        client.get(QStringLiteral("/slow.png"));
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QVERIFY2(clock.elapsed() >= 350, QByteArray::number(clock.elapsed()));
        QCOMPARE(finished.at(0).at(1).toBool(), true);
        QCOMPARE(client.readAll(), QByteArray());
    }

    void requestsRunInOrder()
    {
        workdir dir;
        QVERIFY(dir.write(QStringLiteral("a.png"), "AAA"));
        QVERIFY(dir.write(QStringLiteral("c.png"), "CCCC"));
        artserver server({"serve", dir.path()});
        QVERIFY(server.port);
        httpclient client;
        QSignalSpy finished(&client, &httpclient::requestFinished);
        client.setHost(QStringLiteral("127.0.0.1"), server.port);
        const QList<int> ids{client.get(QStringLiteral("/a.png")), client.get(QStringLiteral("/b.png")),
                             client.get(QStringLiteral("/c.png"))};
        QTRY_COMPARE(finished.size(), 3);
        QTRY_COMPARE(server.requests(), (QStringList{"/a.png", "/b.png", "/c.png"}));
        QList<QPair<int, bool>> notices;
        for (const QList<QVariant>& notice : std::as_const(finished))
            notices.append({notice.at(0).toInt(), notice.at(1).toBool()});
        QCOMPARE(notices, (QList<QPair<int, bool>>{{ids[0], false}, {ids[1], true}, {ids[2], false}}));
        QCOMPARE(client.readAll(), QByteArray("AAACCCC")); // the failed one adds nothing
        QCOMPARE(client.readAll(), QByteArray());
    }

    void closingMidTransfer_data()
    {
        QTest::addColumn<bool>("byClosing");
        QTest::newRow("window closed") << true;
        QTest::newRow("window deleted") << false;
    }

    void closingMidTransfer()
    {
        QFETCH(bool, byClosing);
        workdir dir;
        QVERIFY(dir.writeData(""));
        artserver server({"hang"});
        QVERIFY(server.port);
        pointAt(server.base());
        window viewer;
        viewer->show();
        QSignalSpy finished(viewer.client(), &httpclient::requestFinished);
        Faunlet record(QStringLiteral("MOSSLING"));
        viewer->setFaunlet(&record);
        QTRY_COMPARE(server.requests().size(), 1);
        if (byClosing) {
            viewer->close();
            QCOMPARE(finished.size(), 0);
            QTRY_VERIFY(viewer.viewer.isNull());
        } else {
            delete viewer.viewer.data();
        }
        QCOMPARE(finished.size(), 0);
    }

    void closeStopsTransferAtOnce()
    {
        workdir dir;
        QVERIFY(dir.writeData(""));
        artserver server({"hang"});
        QVERIFY(server.port);
        pointAt(server.base());
        window viewer;
        viewer->setAttribute(Qt::WA_DeleteOnClose, false); // to watch it after the close
        viewer->show();
        QSignalSpy finished(viewer.client(), &httpclient::requestFinished);
        Faunlet record(QStringLiteral("MOSSLING"));
        viewer->setFaunlet(&record);
        QTRY_COMPARE(server.requests().size(), 1);
        QCOMPARE(server.closings(), 0);
        viewer->close();
        QTRY_COMPARE(server.closings(), 1);
        QVERIFY(!viewer.viewer.isNull());
        QCOMPARE(finished.size(), 0);
        QVERIFY(viewer.picture().isNull());
    }

    void noDownloadWithoutRecord()
    {
        workdir dir;
        QVERIFY(dir.writeData(""));
        artserver server({"serve", dir.path()});
        QVERIFY(server.port);
        pointAt(server.base());
        window missing;
        QSignalSpy missingFinished(missing.client(), &httpclient::requestFinished);
        missing->setFaunlet(nullptr);
        window found;
        QSignalSpy foundFinished(found.client(), &httpclient::requestFinished);
        Faunlet record(QStringLiteral("TIDEFIN"));
        found->setFaunlet(&record);
        QTRY_COMPARE(foundFinished.size(), 1);
        QTRY_COMPARE(server.requests(), QStringList{"/images/artwork/tidefin.png"});
        QCOMPARE(missingFinished.size(), 0);
    }
};

QTEST_MAIN(tst_Network)
#include "tst_network.moc"
