#ifndef XML_H
#define XML_H

#include <QList>
#include <QString>
#include <QXmlStreamReader>
#include <memory>
#include <string>

#include "data/moveindex.h"
#include "data/skills.h"
#include "data/tagkind.h"

class CreatureIndex;
class Faunlet;
class QFile;

// Reader of the creature data file. Lookups walk a forward stream over the
// file. The first sweep of the whole file also fills an index of where each
// creature starts, so that later lookups and move queries go straight to
// their creature instead of reading the file again.
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
    // What the creature list needs: the record of getFaunlet(n) with only its
    // number, name and types. The stream moves and the messages read exactly
    // as for getFaunlet(n), so later lookups cannot tell the two apart.
    // `ownName`, when given, is false when a lookup by the record's name would
    // read another creature, which is then the one a viewer shows.
    Faunlet* getFaunletBrief(int n, bool* ownName = nullptr);
    bool getInfoFaunlet(Faunlet* faunlet);
    // The level-up moves learnt at exactly `level`, in file order; a new list
    // of new records owned by the caller, or null when there are none.
    QList<skills*>* getSkills(const QString& name, int level);
    // The same for every level from 1 up to `level` (100 at most), as values
    // in level order.
    QList<skills> getSkillsUpTo(const QString& name, int level);
    // Moves are listed up to this level; a stored level of two billion must
    // not walk two billion levels.
    static constexpr int maxLevel = 100;

private:
    void rewind();
    void resumeAt(int creatures);
    bool seekTo(int ordinal);
    void next();
    bool more() const { return token != QXmlStreamReader::EndDocument && token != QXmlStreamReader::Invalid; }
    QString readValue();
    const QString& readNumber();
    Faunlet* searchByNumber(int n);
    Faunlet* walkByName(const std::string& name);
    bool scanCreature(const std::string* wanted, const char* errorPrefix, Faunlet** found);
    Faunlet* readCreature(const char* errorPrefix);
    Faunlet* finish(Faunlet* faunlet, const char* errorPrefix);
    bool indexReady(bool sweepIfNone = true);
    bool seekAgain(int attempt);
    bool openOwn(QFile& own) const;
    void sweepWholeFile(bool forMoves);
    void learnMoves(const QString& name);
    bool readMovesOf(int creature, const QString& name);

    int lastIndex = 0;
    bool movedByName = false; // the stream no longer follows lastIndex
    QString fileName;
    std::unique_ptr<QFile> file;
    QXmlStreamReader reader;
    QXmlStreamReader::TokenType token = QXmlStreamReader::NoToken;
    QString number; // the text of the last number read
    int depth = 0;
    int creatureDepth = 0;         // depth of the creature element being read
    TagKind kind = TagKind::Other; // of the token, when a start tag
    bool creatureTag = false;      // the token is a "faunlet" start tag with an "id"
    int tagId = 0;                 // and this is its number
    // The stream has read the file from its first byte, so it knows all it
    // has passed; otherwise it was set down at one creature's start tag.
    bool fromTop = true;
    int passed = 0;         // creature start tags behind the stream
    bool seeksFail = false; // a creature read on its own read differently
    bool brief = false;     // records get their number, name and types only
    bool briefOwnName = true;
    MoveIndex moves;
    std::shared_ptr<CreatureIndex> index;

    static xml* ptrXml;
};

#endif
