#ifndef MOVEINDEX_H
#define MOVEINDEX_H

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include "data/tagkind.h"

// Level-up moves of every creature, keyed by the creature's name in capitals,
// as a document tree of the whole file would give them. It is fed the tokens
// of a stream reader that sweeps the data file from the top, or those of one
// creature element read on its own.
class MoveIndex
{
public:
    // Plain numbers, so that building and copying the table touches no
    // shared string: the name is an index into the pool of move names.
    struct Move
    {
        int name = 0;
        int lvl = 0;
    };

    // A sweep restarts at the top of the file; any half-read creature is dropped.
    void begin();
    // What follows are the tokens of one creature element, read on its own.
    void beginCreature();
    // Called after every token the sweeping reader reads, with its type and,
    // for a start tag, the kind of its name; depth is the number of elements
    // open after that token.
    void observe(const QXmlStreamReader& reader, QXmlStreamReader::TokenType token, int depth, TagKind kind)
    {
        // Runs for every token of the file: most are text nobody collects,
        // and they cost no call.
        if (complete)
            return;
        if (token == QXmlStreamReader::Characters) {
            if (collecting != Text::None)
                collectText(reader);
        } else if (token == QXmlStreamReader::StartElement) {
            if (depth <= deepest)
                startElement(reader, depth, kind);
        } else if (token == QXmlStreamReader::EndElement) {
            // The element that ended sat at depth + 1.
            if (depth < deepest)
                endElement(depth);
        }
    }
    // The whole file has been seen: names not in the table have no moves.
    bool isComplete() const { return complete; }
    void markComplete() { complete = true; }
    // Takes the moves that `other` read for the creature `upperName`.
    void adopt(const MoveIndex& other, const QString& upperName);
    bool contains(const QString& upperName) const { return table.contains(upperName); }
    // Null when no creature of that name was seen.
    const QList<Move>* find(const QString& upperName) const;
    const QString& nameOf(const Move& move) const { return pool.at(move.name); }

private:
    enum class Text { None, CreatureName, MoveName, MoveLvl };

    void collectText(const QXmlStreamReader& reader);
    void startElement(const QXmlStreamReader& reader, int depth, TagKind kind);
    void endElement(int depth);

    QHash<QString, QList<Move>> table;
    // One copy of each move name, shared by every creature that learns it.
    QStringList pool;
    QHash<QString, int> poolIndex;
    bool complete = false;
    static constexpr int deepest = 5; // no element below this depth concerns the table

    bool rootOk = false;
    bool haveName = false;
    bool movesSeen = false;
    bool inMoves = false;
    bool inLevelUp = false;
    bool moveHasName = false;
    bool moveHasLvl = false;
    Text collecting = Text::None;
    int collectDepth = 0;
    // Reused from move to move, so that collecting text allocates nothing.
    QString text;
    QString creatureName;
    QString moveName;
    QString moveLvl;
    QList<Move> creatureMoves;
};

#endif
