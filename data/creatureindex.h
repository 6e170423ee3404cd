#ifndef CREATUREINDEX_H
#define CREATUREINDEX_H

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QXmlStreamReader>
#include <memory>
#include <utility>
#include <vector>

#include "data/tagkind.h"

class QFile;

// Where every "faunlet" start tag carrying an "id" stands in the data file,
// and which names a lookup by name, walking the file from the top, would
// compare in each. It is fed the tokens of one sweep from the first byte,
// then frozen; a frozen index is shared by every reader of the same file for
// as long as the file stays unchanged.
class CreatureIndex
{
public:
    struct Entry
    {
        // Just after the start tag: in characters while sweeping, in bytes
        // once frozen.
        qint64 tagEnd = 0;
        int id = 0;
        int depth = 0;       // elements open once the start tag is read
        bool closed = false; // its end tag came before any fault
    };

    // The tokens of the sweep, each right after it was read. `depth` counts
    // the elements open after it, `kind` tells a start tag's name and
    // `creature` a "faunlet" start tag with an "id", whose number is `id`.
    // They run for every token of the file and only a few concern the index,
    // so each filters before it calls.
    void startTag(const QXmlStreamReader& reader, int depth, TagKind kind, bool creature, int id)
    {
        if (creature || depth <= 2 || (walk == Walk::InCreature && kind == TagKind::Name))
            startElement(reader, depth, kind, creature, id);
    }
    void endTag(const QXmlStreamReader& reader, int depth)
    {
        if (walk != Walk::Searching || depth + 1 == openDepth)
            endElement(reader, depth);
    }
    void characters(const QXmlStreamReader& reader)
    {
        if (walk == Walk::InName)
            nameCharacters(reader);
    }
    void otherToken(const QXmlStreamReader& reader, QXmlStreamReader::TokenType token)
    {
        if (token == QXmlStreamReader::StartDocument || token == QXmlStreamReader::DTD)
            prolog(reader, token);
    }
    void observe(const QXmlStreamReader& reader, QXmlStreamReader::TokenType token, int depth, TagKind kind,
                 bool creature, int id)
    {
        if (token == QXmlStreamReader::StartElement)
            startTag(reader, depth, kind, creature, id);
        else if (token == QXmlStreamReader::EndElement)
            endTag(reader, depth);
        else if (token == QXmlStreamReader::Characters)
            characters(reader);
        else
            otherToken(reader, token);
    }
    // The sweep is over (end of document or fault); `file` is the file swept,
    // still open. Maps positions to bytes and makes the index read-only.
    void freeze(const QXmlStreamReader& reader, const QFile& file);
    bool isFrozen() const { return frozen; }

    // A frozen index of the same unchanged file, if a reader still holds one.
    static std::shared_ptr<CreatureIndex> sharedFor(const QFile& file);
    static void publish(const std::shared_ptr<CreatureIndex>& index);
    // The open file is the one swept, with the same size and modification time.
    bool describes(const QFile& file) const;
    static bool sameFile(const QFile& a, const QFile& b);

    // The sweep read the whole document without a fault.
    bool reachedEnd() const { return complete; }
    // A creature read on its own from its byte position reads as it does
    // inside the whole document (no document type declaration, UTF-8).
    bool canSeek() const { return seekable; }
    // A creature failed to read on its own though the file is as swept.
    void stopSeeking() { seekable = false; }

    int count() const { return int(entries.size()); }
    const Entry& entry(int ordinal) const { return entries[size_t(ordinal)]; }
    // Ordinals; -1 when there is none.
    int firstWithId(int id, int from) const;
    int firstNamed(QByteArrayView utf8) const;
    // Whether, in this file, the name a walk from the top takes for each
    // creature is also the one a document tree gives it: the root is
    // "fauntome", its children are all creatures, and each creature's first
    // name is a child of its own holding text that is not only white space. Then the first creature
    // whose name is `upper` in capitals is the one the move table keys by it.
    bool namesAsInATree() const { return complete && treeNames; }
    int firstInCapitals(const QString& upper) const;
    // Where the start tag of a creature begins in `file`, and how many
    // characters a stream reader counts from there to its recorded end;
    // false when those bytes cannot be read.
    bool startOfTag(const QFile& file, int ordinal, qint64* start, qint64* units) const;

    // UTF-16 units the stream reader counts for these bytes of a file opened
    // in text mode (which drops every carriage return).
    static qint64 unitsOf(const char* bytes, qint64 size);

private:
    void startElement(const QXmlStreamReader& reader, int depth, TagKind kind, bool creature, int id);
    void nameCharacters(const QXmlStreamReader& reader);
    void endElement(const QXmlStreamReader& reader, int depth);
    void prolog(const QXmlStreamReader& reader, QXmlStreamReader::TokenType token);
    void mapToBytes(int fd, qint64 bom);

    std::vector<Entry> entries;
    std::vector<std::pair<int, int>> byId; // (id, ordinal), sorted once frozen
    QHash<QByteArray, int> byName;         // name bytes -> ordinal of the first creature met with it
    bool treeNames = true;
    mutable QHash<QString, int> byCapitals; // built on first use
    bool frozen = false;
    bool complete = false;
    bool seekable = true;
    qint64 endOffset = 0;

    // The file swept.
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 modifiedNs = 0;

    // The by-name walk, replayed on the sweep's tokens.
    enum class Walk { Searching, InCreature, InName };
    Walk walk = Walk::Searching;
    int walkEntry = -1;
    int walkDepth = 0;
    int nameDepth = 0;
    bool walkNamed = false; // the walk found a name in its creature
    QString nameText;
    std::vector<int> open; // creatures whose end tag is still to come
    int openDepth = -1;    // the depth of the innermost of them
};

#endif
