// fauntome_gendata <output.xml> [count=160] [seed=1]
#include "faundatagen.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args.size() > 4) {
        std::fprintf(stderr, "usage: fauntome_gendata <output.xml> [count=160] [seed=1]\n");
        return 2;
    }

    const QString path = args.at(1);
    int count = 160;
    quint32 seed = 1;
    bool ok = true;
    if (args.size() > 2) {
        count = args.at(2).toInt(&ok);
        if (!ok || count < 1) {
            std::fprintf(stderr, "fauntome_gendata: count must be a positive integer\n");
            return 2;
        }
    }
    if (args.size() > 3) {
        seed = args.at(3).toUInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "fauntome_gendata: seed must be an unsigned integer\n");
            return 2;
        }
    }

    QElapsedTimer timer;
    timer.start();
    if (!faundatagen::writeFile(path, count, seed)) {
        std::fprintf(stderr, "fauntome_gendata: cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("fauntome_gendata: wrote %d creatures to %s (%lld bytes, seed %u) in %lld ms\n", count,
                qPrintable(path), static_cast<long long>(QFileInfo(path).size()), seed,
                static_cast<long long>(timer.elapsed()));
    return 0;
}
