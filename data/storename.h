#ifndef STORENAME_H
#define STORENAME_H

#include <QString>

// Owner and team names become file names under ./owners and ./teams. A name
// that could leave that folder, hide the file or is plainly not a name is
// refused before anything touches the disk.
class storename
{
public:
    static constexpr int maxLength = 200;

    // Empty when the name is safe; otherwise a sentence saying why not.
    static QString problem(const QString& name);
    static bool isSafe(const QString& name) { return problem(name).isEmpty(); }
};

#endif
