#include "data/moveindex.h"

namespace {

// QString::toInt(), quicker for the plain digits nearly every level is.
int levelOf(const QString& text)
{
    if (text.isEmpty() || text.size() > 9)
        return text.toInt();
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return text.toInt();
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

void MoveIndex::begin()
{
    rootOk = false;
    haveName = false;
    movesSeen = false;
    inMoves = false;
    inLevelUp = false;
    collecting = Text::None;
    creatureMoves.clear();
}

void MoveIndex::beginCreature()
{
    begin();
    rootOk = true;
}

void MoveIndex::adopt(const MoveIndex& other, const QString& upperName)
{
    const QList<Move>* moves = other.find(upperName);
    if (!moves || table.contains(upperName))
        return;
    QList<Move>& slot = table[upperName];
    for (const Move& move : *moves) {
        const QString& name = other.nameOf(move);
        auto pooled = poolIndex.constFind(name);
        if (pooled == poolIndex.constEnd()) {
            pooled = poolIndex.insert(name, int(pool.size()));
            pool.append(name);
        }
        slot.append(Move{*pooled, move.lvl});
    }
}

const QList<MoveIndex::Move>* MoveIndex::find(const QString& upperName) const
{
    auto it = table.constFind(upperName);
    return it == table.constEnd() ? nullptr : &it.value();
}

void MoveIndex::collectText(const QXmlStreamReader& reader)
{
    // Whitespace between elements is not content, as in a document tree.
    if (!reader.isCDATA() && reader.isWhitespace())
        return;
    if (collecting == Text::MoveName)
        moveName += reader.text();
    else if (collecting == Text::MoveLvl)
        moveLvl += reader.text();
    else
        text += reader.text();
}

void MoveIndex::startElement(const QXmlStreamReader& reader, int depth, TagKind kind)
{
    // Deepest first: most elements are the names and levels of moves.
    if (depth == 5) {
        if (inMoves && inLevelUp && collecting == Text::None) {
            if (kind == TagKind::Name) {
                collecting = Text::MoveName;
                moveName.resize(0);
            } else if (kind == TagKind::Lvl) {
                collecting = Text::MoveLvl;
                moveLvl.resize(0);
            }
            collectDepth = depth;
        }
    } else if (depth == 4) {
        if (inMoves && kind == TagKind::Move) {
            inLevelUp = reader.attributes().value(QLatin1String("type")) == u"level-up";
            moveHasName = false;
            moveHasLvl = false;
        }
    } else if (depth == 3) {
        if (!rootOk)
            return;
        if (kind == TagKind::Name && !haveName) {
            collecting = Text::CreatureName;
            collectDepth = depth;
            text.resize(0);
        } else if (kind == TagKind::Moves && !movesSeen) {
            inMoves = true;
        }
    } else if (depth == 2) {
        haveName = false;
        movesSeen = false;
        inMoves = false;
        creatureName.clear();
        creatureMoves.clear();
    } else if (depth == 1) {
        rootOk = kind == TagKind::Fauntome;
    }
}

void MoveIndex::endElement(int depth)
{
    // depth counts the elements still open, so the element that just ended
    // sat at depth + 1.
    const int ended = depth + 1;
    if (collecting != Text::None && ended == collectDepth) {
        if (collecting == Text::MoveName) {
            moveHasName = true;
        } else if (collecting == Text::MoveLvl) {
            moveHasLvl = true;
        } else {
            creatureName = text.toUpper();
            haveName = true;
        }
        collecting = Text::None;
        return;
    }
    if (ended == 4) {
        // A move missing its own name or level is skipped rather than
        // borrowing the previous move's.
        if (inMoves && inLevelUp && moveHasName && moveHasLvl) {
            auto pooled = poolIndex.constFind(moveName);
            if (pooled == poolIndex.constEnd()) {
                // A copy of its own, so the buffer stays unshared for the next move.
                const QString name(moveName.constData(), moveName.size());
                pooled = poolIndex.insert(name, int(pool.size()));
                pool.append(name);
            }
            creatureMoves.append(Move{*pooled, levelOf(moveLvl)});
        }
        inLevelUp = false;
    } else if (ended == 3) {
        if (inMoves) {
            inMoves = false;
            movesSeen = true;
        }
    } else if (ended == 2) {
        // The first creature of a name wins, as a walk from the top would
        // find. The table gets a list of its own size; the working list keeps
        // its room for the next creature.
        if (rootOk && haveName) {
            const qsizetype known = table.size();
            QList<Move>& slot = table[creatureName];
            if (table.size() != known)
                slot = QList<Move>(creatureMoves.cbegin(), creatureMoves.cend());
        }
        creatureMoves.clear();
        haveName = false;
    }
}
