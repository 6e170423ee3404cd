#include "data/moveindex.h"

#include <QXmlStreamReader>

void moveindex::begin()
{
    rootOk = false;
    haveName = false;
    movesSeen = false;
    inMoves = false;
    inLevelUp = false;
    collecting = Text::None;
    creatureMoves.clear();
}

const QList<moveindex::Move>* moveindex::find(const QString& upperName) const
{
    auto it = table.constFind(upperName);
    return it == table.constEnd() ? nullptr : &it.value();
}

void moveindex::observe(const QXmlStreamReader& reader, int depth)
{
    if (complete)
        return;
    switch (reader.tokenType()) {
    case QXmlStreamReader::StartElement:
        startElement(reader, depth);
        break;
    case QXmlStreamReader::EndElement:
        endElement(depth);
        break;
    case QXmlStreamReader::Characters:
        // Whitespace between elements is not content, as in a document tree.
        if (collecting != Text::None && (reader.isCDATA() || !reader.isWhitespace()))
            text += reader.text();
        break;
    default:
        break;
    }
}

void moveindex::startElement(const QXmlStreamReader& reader, int depth)
{
    const QStringView tag = reader.name();
    switch (depth) {
    case 1:
        rootOk = tag == u"fauntome";
        break;
    case 2:
        haveName = false;
        movesSeen = false;
        inMoves = false;
        creatureName.clear();
        creatureMoves.clear();
        break;
    case 3:
        if (!rootOk)
            break;
        if (tag == u"name" && !haveName) {
            collecting = Text::CreatureName;
            collectDepth = depth;
            text.clear();
        } else if (tag == u"moves" && !movesSeen) {
            inMoves = true;
        }
        break;
    case 4:
        if (inMoves && tag == u"move") {
            inLevelUp = reader.attributes().value(QLatin1String("type")) == u"level-up";
            moveHasName = false;
            moveHasLvl = false;
        }
        break;
    case 5:
        if (inMoves && inLevelUp && collecting == Text::None) {
            if (tag == u"name")
                collecting = Text::MoveName;
            else if (tag == u"lvl")
                collecting = Text::MoveLvl;
            collectDepth = depth;
            text.clear();
        }
        break;
    default:
        break;
    }
}

void moveindex::endElement(int depth)
{
    // depth counts the elements still open, so the element that just ended
    // sat at depth + 1.
    const int ended = depth + 1;
    if (collecting != Text::None && ended == collectDepth) {
        switch (collecting) {
        case Text::CreatureName:
            creatureName = text.toUpper();
            haveName = true;
            break;
        case Text::MoveName:
            moveName = text;
            moveHasName = true;
            break;
        case Text::MoveLvl:
            moveLvl = text;
            moveHasLvl = true;
            break;
        case Text::None:
            break;
        }
        collecting = Text::None;
        return;
    }
    switch (ended) {
    case 4:
        // A move missing its own name or level is skipped rather than
        // borrowing the previous move's.
        if (inMoves && inLevelUp && moveHasName && moveHasLvl) {
            auto pooled = movePool.constFind(moveName);
            if (pooled == movePool.constEnd())
                pooled = movePool.insert(moveName);
            creatureMoves.append(Move{*pooled, moveLvl.toInt()});
        }
        inLevelUp = false;
        break;
    case 3:
        if (inMoves) {
            inMoves = false;
            movesSeen = true;
        }
        break;
    case 2:
        // The first creature of a name wins, as a walk from the top would find.
        if (rootOk && haveName && !table.contains(creatureName))
            table.insert(creatureName, creatureMoves);
        creatureMoves.clear();
        haveName = false;
        break;
    default:
        break;
    }
}
