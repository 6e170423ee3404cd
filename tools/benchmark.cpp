// Start-up, viewer and search costs of the creature reader on generated data
// files, each also as a ratio to a bare stream pass over the same file.
// Usage: fauntome_bench [count...]   (default: 2000 20000)

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <sys/resource.h>

#include "app/fauntome.h"
#include "data/faunlet.h"
#include "data/skills.h"
#include "data/xml.h"
#include "faundatagen.h"

namespace {

constexpr int kRuns = 5;

template<typename F>
double medianMs(F&& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template<typename F>
double timeMs(F&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void barePass(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd())
        reader.readNext();
}

QStringList fillList(const QString& path)
{
    xml reader(path);
    QStringList names;
    for (int n = 1;; ++n) {
        std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(n));
        if (!faunlet)
            break;
        names.append(faunlet->getName());
    }
    return names;
}

void report(const char* what, double ms, double floor)
{
    std::printf("  %-44s %9.2f ms   %5.2fx\n", what, ms, ms / floor);
}

void measure(int count)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("faundata.xml"));
    if (!faundatagen::writeFile(path, count)) {
        std::printf("could not write %s\n", qPrintable(path));
        return;
    }
    std::printf("%d creatures, %.1f MB\n", count, QFileInfo(path).size() / 1048576.0);

    const double floor = medianMs([&] { barePass(path); });
    report("bare stream pass (floor)", floor, floor);

    QListWidget list;
    list.setUniformItemSizes(true);
    const double startup = medianMs([&] {
        list.clear();
        list.addItems(fillList(path));
    });
    report("construction + list fill", startup, floor);

    // The viewer's path for the last creature: one lookup by name, then the
    // move query for every level. The move trace goes to a sink.
    const std::string last = list.item(list.count() - 1)->text().toUtf8().toStdString();
    xml reader(path);
    for (int n = 1; std::unique_ptr<Faunlet>(reader.getFaunlet(n)); ++n) {
    }
    std::ostringstream sink;
    std::streambuf* out = std::cout.rdbuf(sink.rdbuf());
    const double viewer = medianMs([&] {
        std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(last));
        for (int level = 1; level <= 100; ++level) {
            std::unique_ptr<QList<skills*>> moves(reader.getSkills(faunlet->getName(), level));
            if (moves)
                qDeleteAll(*moves);
        }
    });
    std::cout.rdbuf(out);
    report("by-name lookup + 100 move queries", viewer, floor);

    // A keystroke through the real window's search, on a filled list.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    xml::deleteInstance();
    double keystroke = 0;
    {
        Fauntome window;
        window.show();
        QCoreApplication::processEvents();
        // Each transition is timed from its own starting state, so a run
        // never measures a search that changes nothing.
        const QList<QPair<QString, QString>> keystrokes{
            {QString(), QStringLiteral("A")}, {QStringLiteral("A"), QStringLiteral("AR")},
            {QStringLiteral("AR"), QStringLiteral("A")}, {QStringLiteral("A"), QString()}};
        for (const auto& [from, to] : keystrokes) {
            std::vector<double> times;
            for (int i = 0; i < kRuns; ++i) {
                window.processSearch(from);
                QCoreApplication::processEvents();
                // The relayout the view does afterwards is part of the keystroke.
                times.push_back(timeMs([&] {
                    window.processSearch(to);
                    QCoreApplication::processEvents();
                }));
            }
            std::sort(times.begin(), times.end());
            keystroke = std::max(keystroke, times[times.size() / 2]);
        }
    }
    xml::deleteInstance();
    QDir::setCurrent(previous);
    std::printf("  %-44s %9.2f ms   %5.2f of a 16 ms frame\n", "search keystroke (worst of 4 transitions)", keystroke,
                keystroke / 16.0);
    std::printf("  %-44s %9.1f MB\n", "peak resident memory so far", peakKb() / 1024.0);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (counts.isEmpty())
        counts = {2000, 20000};
    for (int count : counts)
        measure(count);
    return 0;
}
