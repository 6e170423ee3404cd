#ifndef FAUNTOME_PORTRAITS_H
#define FAUNTOME_PORTRAITS_H

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

// Original creature portraits for the artwork server, drawn from a creature's
// types, its name and its place in its evolution line; the same data always
// gives the same pictures.
namespace portraits {

// What a portrait is drawn from, as read from a creature data file.
struct Entry
{
    QString name;
    QStringList types;
    QStringList stages; // names along the evolution line, in order
};

// Every creature of a data file, in file order.
bool readEntries(const QString& path, std::vector<Entry>& out, QString& error);

QImage draw(const Entry& entry);

} // namespace portraits

#endif // FAUNTOME_PORTRAITS_H
