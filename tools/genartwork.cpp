// Draws an original portrait for every creature of a data file, laid out as
// the viewer downloads them: <output-dir>/images/artwork/<lower-case name>.png
// Usage: fauntome_genartwork <faundata.xml> <output-dir>

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <vector>

#include "portraits.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: fauntome_genartwork <faundata.xml> <output-dir>\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QDir(QString::fromLocal8Bit(argv[2])).filePath(QStringLiteral("images/artwork"));

    QElapsedTimer timer;
    timer.start();
    std::vector<portraits::Entry> entries;
    QString error;
    if (!portraits::readEntries(input, entries, error)) {
        std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(input), qPrintable(error));
        return 1;
    }
    if (!QDir().mkpath(outDir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(outDir));
        return 1;
    }

    int written = 0;
    bool ok = true;
    for (const portraits::Entry& e : entries) {
        const QString file = e.name.toLower();
        // The name becomes a file name: nothing that could leave the folder.
        if (file.contains(QLatin1Char('/')) || file.contains(QChar(0)) || file == QLatin1String(".")
            || file == QLatin1String("..")) {
            std::fprintf(stderr, "skipped %s: not usable as a file name\n", qPrintable(e.name));
            continue;
        }
        const QString path = QDir(outDir).filePath(file + QStringLiteral(".png"));
        if (!portraits::draw(e).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ok = false;
            continue;
        }
        ++written;
    }
    std::printf("%d portraits in %s (%lld ms)\n", written, qPrintable(outDir), static_cast<long long>(timer.elapsed()));
    return ok ? 0 : 1;
}
