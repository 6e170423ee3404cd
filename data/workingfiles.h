#ifndef WORKINGFILES_H
#define WORKINGFILES_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What the program keeps in its working directory: the creature data file it
// reads, and the folders of owner and team files it writes.
class WorkingFiles
{
    Q_DECLARE_TR_FUNCTIONS(WorkingFiles)

public:
    static QString dataFile() { return QStringLiteral("faundata.xml"); }
    static QString owners() { return QStringLiteral("./owners/"); }
    static QString teams() { return QStringLiteral("./teams/"); }

    // The entry of `name` in a store folder, and its path.
    static QString entryOf(const QString& name) { return name + QStringLiteral(".xml"); }
    static QString pathOf(const QString& folder, const QString& name) { return folder + entryOf(name); }
    // What a store folder offers its pickers: every entry that is not hidden,
    // whatever its kind, sorted without regard to case.
    static QStringList entries(const QString& folder);
};

#endif
