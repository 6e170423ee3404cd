#ifndef WORKDIR_H
#define WORKDIR_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

// A fresh working directory for one test, with the owners and teams folders
// the program keeps: the current directory moves there and back, and the
// shared creature reader is dropped on both sides so no test sees another's
// data file.
class WorkDir
{
public:
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    QString path() const { return dir.path(); }
    QString filePath(const QString& name) const { return dir.filePath(name); }
    bool write(const QString& name, const QByteArray& content) const;
    // Writes `name` with the modification time `timeOf` had before, as an
    // edit within one tick of the clock leaves it.
    bool write(const QString& name, const QByteArray& content, const QString& timeOf) const;
    // Writes faundata.xml from creature elements wrapped in the root.
    bool writeData(const QByteArray& creatures) const;
    // Copies a data file committed under tests/ as faundata.xml.
    bool useData(const QString& committed) const;
    // Every entry below the directory, hidden ones included, files with a
    // digest of their bytes: equal snapshots mean nothing was written, moved
    // or removed.
    QStringList snapshot() const;

private:
    QTemporaryDir dir;
    QString previous;
};

// Runs `write` with this process's writes failing beyond `bytes` (EFBIG), as
// on a full disk: CI runs as root, where folder permissions stop nothing.
bool withFileSizeLimit(qint64 bytes, const std::function<bool()>& write);

class xml;

// What the main window lists: the lookups by number from 1 to the first gap.
QStringList listed(xml& reader);

// One creature element with the given number and name and optional extra
// content placed after "stats".
QByteArray creature(int id, const QByteArray& name, const QByteArray& body = QByteArray());

#endif
