#ifndef XML_H
#define XML_H

#include <QList>
#include <QString>
#include <QXmlStreamReader>
#include <memory>
#include <string>

#include "data/moveindex.h"

class Faunlet;
class QFile;
class skills;

// Reader of the creature data file. Lookups walk a forward stream over the
// file; the stream also feeds a table of level-up moves, so that move queries
// need no second parse of the file.
class xml
{
public:
    explicit xml(const QString& fileName);
    ~xml();
    xml(const xml&) = delete;
    xml& operator=(const xml&) = delete;

    // The process-wide reader; built from fileName on first use only.
    static xml* getInstance(const QString& fileName);
    static void deleteInstance();

    // New records owned by the caller, or null.
    Faunlet* getFaunlet(int n);
    Faunlet* getFaunlet(const std::string& name);
    bool getInfoFaunlet(Faunlet* faunlet);
    // The level-up moves learnt at exactly `level`, in file order; a new list
    // of new records owned by the caller, or null when there are none.
    QList<skills*>* getSkills(const QString& name, int level);

private:
    void rewind();
    void next();
    QString readValue();
    Faunlet* readCreature(int id);
    Faunlet* finish(Faunlet* faunlet, const char* prefix);
    void indexWholeFile();

    int lastIndex = 0;
    bool movedByName = false; // the stream no longer follows lastIndex
    QString fileName;
    std::unique_ptr<QFile> file;
    QXmlStreamReader reader;
    int depth = 0;
    int creatureDepth = 0; // depth of the creature element being read
    moveindex moves;

    static xml* ptrXml;
};

#endif
