#include "support/workdir.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include "data/faunlet.h"
#include "data/xml.h"

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

WorkDir::WorkDir()
    : previous(QDir::currentPath())
{
    xml::deleteInstance();
    // Elsewhere, the program's relative writes land where the test started.
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))
        qFatal("cannot work in a temporary folder: %s", qPrintable(dir.errorString()));
    QDir().mkpath(QStringLiteral("owners"));
    QDir().mkpath(QStringLiteral("teams"));
}

WorkDir::~WorkDir()
{
    xml::deleteInstance();
    QDir::setCurrent(previous);
}

bool WorkDir::write(const QString& name, const QByteArray& content) const
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

bool WorkDir::write(const QString& name, const QByteArray& content, const QString& timeOf) const
{
    struct stat old = {};
    if (::stat(QFile::encodeName(filePath(timeOf)).constData(), &old) != 0 || !write(name, content))
        return false;
    const timespec times[2] = {old.st_atim, old.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(filePath(name)).constData(), times, 0) == 0;
}

bool WorkDir::writeData(const QByteArray& creatures) const
{
    return write(QStringLiteral("faundata.xml"),
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<fauntome>\n" + creatures + "</fauntome>\n");
}

bool WorkDir::useData(const QString& committed) const
{
    QFile source(qEnvironmentVariable("FAUNTOME_SOURCE_DIR") + QStringLiteral("/tests/") + committed);
    return source.open(QIODevice::ReadOnly) && write(QStringLiteral("faundata.xml"), source.readAll());
}

QStringList WorkDir::snapshot() const
{
    const QString root = dir.path();
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        const bool readable = it.fileInfo().isFile() && file.open(QIODevice::ReadOnly);
        out << file.fileName().mid(root.size()) + QLatin1Char(' ')
                + (readable ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5).toHex() : "folder");
    }
    out.sort();
    return out;
}

QStringList listed(xml& reader)
{
    QStringList names;
    for (int n = 1;; ++n) {
        std::unique_ptr<Faunlet> f(reader.getFaunlet(n));
        if (!f)
            return names;
        names << f->getName();
    }
}

QByteArray creature(int id, const QByteArray& name, const QByteArray& body)
{
    return " <faunlet id=\"" + QByteArray::number(id) + "\">\n  <name>" + name
        + "</name>\n  <stats><HP>10</HP></stats>\n" + body + " </faunlet>\n";
}

bool withFileSizeLimit(qint64 bytes, const std::function<bool()>& write)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit low = saved;
    low.rlim_cur = rlim_t(bytes);
    // Past the limit the kernel raises SIGXFSZ, which would end the test.
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &low);
    const bool result = write();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    return result;
}
