#include <QtTest>

#include "fuzzbodies.h"
#include "support/workdir.h"

using Body = int (*)(const uint8_t*, size_t);
Q_DECLARE_METATYPE(Body)

// Every seed of the fuzz corpora and every input that ever crashed a fuzz
// target goes through the same body again, in the ordinary suite.
class tst_FuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void replay_data()
    {
        QTest::addColumn<Body>("body");
        QTest::addColumn<QString>("path");
        const QList<QPair<QString, Body>> bodies{{QStringLiteral("datareader"), &fuzzbodies::dataReader},
                                                 {QStringLiteral("ownerfile"), &fuzzbodies::ownerFile},
                                                 {QStringLiteral("teamfile"), &fuzzbodies::teamFile},
                                                 {QStringLiteral("artworkimage"), &fuzzbodies::artworkImage}};
        for (const auto& [name, body] : bodies) {
            for (const char* kind : {"corpus", "regressions"}) {
                QDir dir(QStringLiteral(FUZZ_DIR "/%1/%2").arg(QLatin1String(kind), name));
                for (const QString& file : dir.entryList(QDir::Files, QDir::Name))
                    QTest::newRow(qPrintable(name + QLatin1Char('/') + QLatin1String(kind) + QLatin1Char('/') + file))
                        << body << dir.filePath(file);
            }
        }
    }

    void replay()
    {
        QFETCH(Body, body);
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        WorkDir dir;
        fuzzbodies::prepare();
        QCOMPARE(body(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), 0);
    }
};

QTEST_MAIN(tst_FuzzReplay)
#include "tst_fuzzreplay.moc"
