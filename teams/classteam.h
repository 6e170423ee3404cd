#ifndef CLASSTEAM_H
#define CLASSTEAM_H

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class Faunlet;

// A team (name, owner, creatures in team order) and the store of team files
// under ./teams. The team never owns the records it points to: whoever built
// them, or received them from loadTeam, releases them.
class classTeam
{
    Q_DECLARE_TR_FUNCTIONS(classTeam)

public:
    classTeam() = default;

    QString getName() const { return name; }
    QString getOwner() const { return owner; }
    QList<Faunlet*> getFaunlets() const { return faunlets; }

    // Writes a new file; false when one is already there, the name is unsafe
    // or the write fails.
    bool addTeam(const QString& teamName, const QString& ownerName, QList<Faunlet*> members);
    // Writes the file whether or not it exists, replacing it atomically: a
    // failed write leaves the old file as it was.
    bool updateTeam(const QString& teamName, const QString& ownerName, QList<Faunlet*> members);
    bool deleteTeam(const QString& teamName);
    // Appends the creatures of the teams folder's entry `fileName` (new
    // records, owned by the caller). False only when the file cannot be read;
    // lastError() also tells why a file that opened could not be taken.
    bool loadTeam(const QString& fileName);
    // The creatures the last load named but could not find in the data file,
    // in file order.
    QStringList leftOut() const { return missingMembers; }

    // Forgets a record its owner is about to release.
    void removeFaunlet(const Faunlet* faunlet);
    // Why the last store operation failed.
    QString lastError() const { return error; }

private:
    bool write(const QString& teamName, const QString& ownerName, const QList<Faunlet*>& members, bool replace);

    QString name;
    QString owner;
    QList<Faunlet*> faunlets;
    QString error;
    QStringList missingMembers;
};

#endif
