#ifndef STORENAME_H
#define STORENAME_H

#include <QCoreApplication>
#include <QString>

// Owner and team names become file names under ./owners and ./teams. A name
// that could leave that folder, hide the file or is plainly not a name is
// refused before anything touches the disk, by every save, delete and load.
class StoreName
{
    Q_DECLARE_TR_FUNCTIONS(StoreName)

public:
    static constexpr int maxLength = 200;

    // Empty when the name is safe; otherwise a sentence saying why not.
    static QString problem(const QString& name);
    // The same rule for an entry of a store folder, whose ".xml" is not part
    // of the name.
    static QString entryProblem(const QString& fileName);
};

#endif
