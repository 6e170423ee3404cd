// Start-up, viewer, team and search costs of the program on generated data
// files, each also as a ratio to a bare stream pass over the same file.
// Usage: fauntome_bench [count...]   (default: 2000 20000)
//        fauntome_bench --hold <dir> (internal: builds the main window on
//                                     <dir>/faundata.xml, prints its peak
//                                     resident memory in kB)

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <memory>
#include <sstream>

#include "app/fauntome.h"
#include "data/faunlet.h"
#include "data/skills.h"
#include "data/xml.h"
#include "faundatagen.h"
#include "teams/classteam.h"
#include "viewer/network.h"

namespace {

constexpr int kRuns = 5;

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename F> double timeMs(F&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The processor time of this process, which other programs on the machine
// delay but do not add to.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

template <typename F> double cpuTimeMs(F&& work)
{
    const double start = cpuMs();
    work();
    return cpuMs() - start;
}

template <typename F> double medianMs(F&& work)
{
    std::vector<double> times;
    for (int i = 0; i < kRuns; ++i)
        times.push_back(timeMs(work));
    return median(times);
}

// The high-water mark of this process image only: unlike ru_maxrss, it does
// not carry over what the forking parent had resident.
long peakKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
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

void report(const char* what, double ms, double floor)
{
    std::printf("  %-46s %9.2f ms   %5.2fx\n", what, ms, ms / floor);
}

// The move trace and the team load's debug line would drown the figures.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

class MutedStdout
{
public:
    MutedStdout()
        : saved(std::cout.rdbuf(sink.rdbuf()))
    {
    }
    ~MutedStdout() { std::cout.rdbuf(saved); }

private:
    std::ostringstream sink;
    std::streambuf* saved;
};

// A port on 127.0.0.1 that nothing listens on any more, so every artwork
// download fails at once, as with the server unreachable.
quint16 closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort();
}

void closeAll(QMdiArea* workspace)
{
    for (QMdiSubWindow* frame : workspace->subWindowList())
        frame->close();
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

// Peak resident memory of a process of its own that only builds the main
// window on the file in `dir`, so the figure is the program's, not the bench's.
double heldPeakMb(const QString& dir)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), dir});
    if (!child.waitForFinished(600000) || child.exitCode() != 0)
        return -1;
    return child.readAllStandardOutput().trimmed().toLong() / 1024.0;
}

int hold(const QString& dir)
{
    QDir::setCurrent(dir);
    {
        Fauntome window;
        window.show();
        QCoreApplication::processEvents();
    }
    std::printf("%ld\n", peakKb());
    return 0;
}

void measure(int count)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("faundata.xml"));
    if (!faundatagen::writeFile(path, count) || !QDir(dir.path()).mkpath(QStringLiteral("teams"))
        || !QDir(dir.path()).mkpath(QStringLiteral("owners"))) {
        std::printf("could not write %s\n", qPrintable(path));
        return;
    }
    std::printf("%d creatures, %.1f MB\n", count, QFileInfo(path).size() / 1048576.0);

    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    qputenv(network::baseVariable, "http://127.0.0.1:" + QByteArray::number(closedPort()) + "/");

    // Start-up runs from an empty program to the window built and its list
    // filled; tearing it down again is no part of it. It takes turns with the
    // bare pass, so that the machine's own drift weighs on both alike.
    // On a busy machine the processor time of both is the steadier figure.
    std::vector<double> bare;
    std::vector<double> startups;
    std::vector<double> bareCpu;
    std::vector<double> startupsCpu;
    for (int i = 0; i < kRuns; ++i) {
        bareCpu.push_back(cpuTimeMs([&] { bare.push_back(timeMs([&] { barePass(path); })); }));
        xml::deleteInstance();
        std::unique_ptr<Fauntome> window;
        startupsCpu.push_back(
            cpuTimeMs([&] { startups.push_back(timeMs([&] { window = std::make_unique<Fauntome>(); })); }));
    }
    const double floor = median(bare);
    const double startup = median(startups);
    report("bare stream pass (floor)", floor, floor);
    report("start-up: main window built, list filled", startup, floor);
    report("start-up, processor time (to the bare pass's)", median(startupsCpu), median(bareCpu));

    // The viewer's reader work for the last creature: one lookup by name,
    // then the move query for every level.
    {
        xml reader(path);
        std::string last;
        for (int n = 1;; ++n) {
            const std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(n));
            if (!faunlet)
                break;
            last = faunlet->getName().toUtf8().toStdString();
        }
        MutedStdout muted;
        const double lookup = medianMs([&] {
            std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(last));
            for (int level = 1; level <= 100; ++level) {
                std::unique_ptr<QList<skills*>> moves(reader.getSkills(faunlet->getName(), level));
                if (moves)
                    qDeleteAll(*moves);
            }
        });
        report("by-name lookup + 100 move queries (last)", lookup, floor);
    }

    // The same creatures with their tags in a namespace declared on the root:
    // no creature reads on its own, so every lookup walks from the top. Each
    // run is a fresh reader with its list filled, as after a start.
    {
        const QString prefixed = dir.filePath(QStringLiteral("prefixed.xml"));
        QFile out(prefixed);
        if (out.open(QIODevice::WriteOnly))
            out.write(faundatagen::generate(count)
                          .replace("<fauntome>", "<fauntome xmlns:f=\"urn:faunlets\">")
                          .replace("<faunlet ", "<f:faunlet ")
                          .replace("</faunlet>", "</f:faunlet>"));
        out.close();
        std::vector<double> times;
        for (int i = 0; i < kRuns; ++i) {
            xml reader(prefixed);
            std::vector<std::string> names;
            for (int n = 1;; ++n) {
                const std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(n));
                if (!faunlet)
                    break;
                if (n % std::max(1, count / 10) == 0)
                    names.push_back(faunlet->getName().toUtf8().toStdString());
            }
            times.push_back(timeMs([&] {
                for (const std::string& name : names)
                    if (!std::unique_ptr<Faunlet>(reader.getFaunlet(name)))
                        std::printf("  (%s not found)\n", name.c_str());
            }));
        }
        report("10 by-name lookups, prefixed creature tags", median(times), floor);
    }

    xml::deleteInstance();
    {
        Fauntome window;
        window.show();
        QCoreApplication::processEvents();
        auto names = window.findChild<QListWidget*>(QStringLiteral("listFaunlet"));
        auto workspace = window.findChild<QMdiArea*>();

        // A keystroke through the real window's search, on a filled list.
        // Each transition is timed from its own starting state, so a run
        // never measures a search that changes nothing.
        double keystroke = 0;
        const QList<QPair<QString, QString>> keystrokes{{QString(), QStringLiteral("A")},
                                                        {QStringLiteral("A"), QStringLiteral("AR")},
                                                        {QStringLiteral("AR"), QStringLiteral("A")},
                                                        {QStringLiteral("A"), QString()}};
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
            keystroke = std::max(keystroke, median(times));
        }

        // A change of the type selector through the real widget, timed like
        // the keystrokes: each type holds about as many creatures as the
        // others, so any one stands for all.
        auto selector = window.findChild<QComboBox*>(QStringLiteral("comboBox_type"));
        const int last = selector->count() - 1;
        const QList<QPair<int, int>> changes{{0, 1}, {1, 2}, {2, 0}, {0, last}};
        double typeChange = 0;
        for (const auto& [from, to] : std::as_const(changes)) {
            std::vector<double> times;
            for (int i = 0; i < kRuns; ++i) {
                selector->setCurrentIndex(from);
                QCoreApplication::processEvents();
                times.push_back(timeMs([&] {
                    selector->setCurrentIndex(to);
                    QCoreApplication::processEvents();
                }));
            }
            typeChange = std::max(typeChange, median(times));
        }
        selector->setCurrentIndex(0);

        // Opening a viewer as a double click does, up to its first paint.
        const int rows[] = {0, count / 2, count - 1};
        const char* const labels[] = {"viewer open via faunletShow (first)", "viewer open via faunletShow (middle)",
                                      "viewer open via faunletShow (last)"};
        for (int k = 0; k < 3; ++k) {
            QListWidgetItem* item = names->item(rows[k]);
            std::vector<double> times;
            for (int i = 0; i < kRuns; ++i) {
                {
                    MutedStdout muted;
                    times.push_back(timeMs([&] {
                        window.faunletShow(item);
                        QCoreApplication::processEvents();
                    }));
                }
                if (workspace->subWindowList().size() != 1)
                    std::printf("  (viewer for %s did not open)\n", qPrintable(item->text()));
                closeAll(workspace);
            }
            report(labels[k], median(times), floor);
        }

        // A team of the last six creatures, saved as the team editor would.
        QList<Faunlet*> members;
        for (int n = count - 5; n <= count; ++n)
            if (Faunlet* f = xml::getInstance(QStringLiteral("faundata.xml"))->getFaunlet(n))
                members.append(f);
        classTeam().updateTeam(QStringLiteral("bench"), QStringLiteral("Ann"), members);
        qDeleteAll(members);
        auto loadTeam = [] {
            classTeam team;
            team.loadTeam(QStringLiteral("bench.xml"));
            const QList<Faunlet*> loaded = team.getFaunlets();
            if (loaded.size() != 6)
                std::printf("  (team load gave %d creatures)\n", int(loaded.size()));
            qDeleteAll(loaded);
        };
        report("team load, six from the end (loadTeam)", medianMs(loadTeam), floor);
        // The data file changed since start-up: the load must read it afresh.
        std::vector<double> changed;
        for (int i = 0; i < kRuns; ++i) {
            QFile touched(path);
            touched.open(QIODevice::ReadWrite);
            touched.setFileTime(QDateTime::currentDateTime().addSecs(i + 1), QFileDevice::FileModificationTime);
            touched.close();
            changed.push_back(timeMs(loadTeam));
        }
        report("team load after the data file was touched", median(changed), floor);
        report("bare stream pass again (drift check)", medianMs([&] { barePass(path); }), floor);

        std::printf("  %-46s %9.2f ms   %5.2f of a 16 ms frame\n", "search keystroke (worst of 4 transitions)",
                    keystroke, keystroke / 16.0);
        std::printf("  %-46s %9.2f ms   %5.2f of a 16 ms frame\n", "type selector change (worst of 4 transitions)",
                    typeChange, typeChange / 16.0);
    }
    xml::deleteInstance();
    QDir::setCurrent(previous);

    std::printf("  %-46s %9.1f MB\n", "peak memory of the program holding the file", heldPeakMb(dir.path()));
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Figures and the toolkit's warnings in the order they happen.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    if (argc == 3 && QByteArray(argv[1]) == "--hold")
        return hold(QString::fromLocal8Bit(argv[2]));
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QString::fromLocal8Bit(argv[i]).toInt());
    if (counts.isEmpty())
        counts = {2000, 20000};
    for (int count : counts)
        measure(count);
    return 0;
}
