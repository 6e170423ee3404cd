#include "data/xml.h"

#include <QFile>
#include <iostream>

#include "data/creatureindex.h"
#include "data/faunlet.h"
#include "data/skills.h"

xml* xml::ptrXml = nullptr;

namespace {

// The stream readers read the file in blocks of their own; a buffer in the
// file would only copy every byte once more.
constexpr QIODevice::OpenMode reading = QIODevice::ReadOnly | QIODevice::Text | QIODevice::Unbuffered;

float toFloat(const QString& text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    return ok ? value : 0.0f;
}

struct Stage
{
    QString key;
    QString name;
};

// What every reader of the file needs to know of a start tag: the kind of
// its name, and whether it is a "faunlet" carrying an "id", and which.
struct Tag
{
    TagKind kind = TagKind::Other;
    bool creature = false;
    int id = 0;
};

Tag tagOf(const QXmlStreamReader& reader)
{
    Tag tag{tagKindOf(reader.name())};
    if (tag.kind == TagKind::Faunlet) {
        const QXmlStreamAttributes attrs = reader.attributes();
        tag.creature = attrs.hasAttribute(QLatin1String("id"));
        tag.id = attrs.value(QLatin1String("id")).toInt();
    }
    return tag;
}

// A start tag read from where the index puts a creature: the creature
// recorded there, ending where it was recorded. Bytes moved by an edit that
// kept the file's size and time fail here.
bool isRecorded(const Tag& tag, const CreatureIndex::Entry& entry, const QXmlStreamReader& reader, qint64 units)
{
    return tag.creature && tag.id == entry.id && reader.characterOffset() == units;
}

// The details that getInfoFaunlet reads to their end tag.
bool readWhole(TagKind kind)
{
    switch (kind) {
    case TagKind::Evolutions:
    case TagKind::Ability:
    case TagKind::Exp:
    case TagKind::HP:
    case TagKind::ATK:
    case TagKind::DEF:
    case TagKind::SPD:
    case TagKind::SAT:
    case TagKind::SDF:
    case TagKind::Height:
    case TagKind::Weight:
    case TagKind::Description:
        return true;
    default:
        return false;
    }
}

void chooseEvolution(Faunlet* faunlet, const QList<Stage>& stages)
{
    for (qsizetype i = 0; i + 1 < stages.size(); ++i) {
        if (stages.at(i).name.toUpper() == faunlet->getName()) {
            faunlet->setEvo(stages.at(i + 1).name.toUpper(), stages.at(i + 1).key);
            break;
        }
    }
}

} // namespace

xml::xml(const QString& fileName)
    : fileName(fileName)
    , file(std::make_unique<QFile>(fileName))
{
    if (!file->open(reading))
        std::cerr << "cant open file" << std::endl;
    rewind();
    lastIndex = 0;
    if (file->isOpen()) {
        // Another reader may already know this very file; otherwise the
        // first sweep builds the index.
        index = CreatureIndex::sharedFor(*file);
        if (!index)
            index = std::make_shared<CreatureIndex>();
    }
}

xml::~xml()
{
    reader.clear();
    file->close();
}

xml* xml::getInstance(const QString& fileName)
{
    if (!ptrXml)
        ptrXml = new xml(fileName);
    return ptrXml;
}

void xml::deleteInstance()
{
    delete ptrXml;
    ptrXml = nullptr;
}

void xml::rewind()
{
    if (file->isOpen()) {
        file->seek(0);
        reader.setDevice(file.get());
    } else {
        reader.clear();
    }
    token = QXmlStreamReader::NoToken;
    depth = 0;
    passed = 0;
    fromTop = true;
    // Only a first sweep from the very top fills an index.
    if (index && !index->isFrozen())
        index.reset();
}

// From the top, up to where a stream that has passed `creatures` start tags
// stands as far as a lookup by number can tell.
void xml::resumeAt(int creatures)
{
    rewind();
    while (more() && passed < creatures)
        next();
}

// Sets the stream down on the start tag of one creature, read by a fresh
// reader from its byte position; false when the tag read there is not that
// creature's (the file changed).
bool xml::seekTo(int ordinal)
{
    const CreatureIndex::Entry& entry = index->entry(ordinal);
    qint64 start = 0;
    qint64 units = 0;
    if (!index->startOfTag(*file, ordinal, &start, &units) || !file->seek(start))
        return false;
    reader.setDevice(file.get());
    token = QXmlStreamReader::NoToken;
    fromTop = false;
    depth = entry.depth - 1;
    passed = ordinal;
    next();
    if (token == QXmlStreamReader::StartDocument)
        next();
    return isRecorded(Tag{kind, creatureTag, tagId}, entry, reader, units);
}

// Every token of the lookup stream passes through here, and on the first
// sweep from the top also into the index.
void xml::next()
{
    CreatureIndex* const feeding = fromTop && index && !index->isFrozen() ? index.get() : nullptr;
    token = reader.readNext();
    creatureTag = false;
    kind = TagKind::Other;
    if (token == QXmlStreamReader::StartElement) {
        ++depth;
        const Tag tag = tagOf(reader);
        kind = tag.kind;
        if (tag.creature) {
            creatureTag = true;
            tagId = tag.id;
            ++passed;
        }
        if (feeding)
            feeding->startTag(reader, depth, kind, creatureTag, tagId);
    } else if (token == QXmlStreamReader::EndElement) {
        --depth;
        if (feeding)
            feeding->endTag(reader, depth);
    } else if (token == QXmlStreamReader::Characters) {
        if (feeding)
            feeding->characters(reader);
    } else if (feeding) {
        feeding->otherToken(reader, token);
        if (!more()) {
            feeding->freeze(reader, *file);
            CreatureIndex::publish(index);
        }
    }
}

// On a start tag: reads to its end tag and returns the text inside.
// Anywhere else: reads one token and returns its text.
QString xml::readValue()
{
    return readNumber();
}

// readValue() into a buffer kept from call to call, for values that are
// only converted to numbers.
const QString& xml::readNumber()
{
    number.resize(0);
    if (token != QXmlStreamReader::StartElement) {
        next();
        number += reader.text();
        return number;
    }
    const int own = depth;
    while (more()) {
        next();
        if (token == QXmlStreamReader::Characters)
            number += reader.text();
        else if (token == QXmlStreamReader::EndElement && depth < own)
            break;
    }
    return number;
}

Faunlet* xml::getFaunlet(int n)
{
    // Asking again for a number already passed must find it again, not
    // report it missing; so must asking after a lookup by name moved the
    // stream past it.
    const bool restart = n <= lastIndex || movedByName;
    movedByName = false;
    lastIndex = n;
    // Listing the creatures in order: the stream goes on from where it
    // stopped, and this is the sweep that fills the index.
    if (!restart && fromTop)
        return searchByNumber(n);

    const int from = restart ? 0 : passed;
    for (int attempt = 0; attempt < 2 && indexReady() && index->reachedEnd(); ++attempt) {
        const int found = index->firstWithId(n, from);
        if (found < 0) {
            // A walk would read on to the end of the file.
            passed = index->count();
            fromTop = false;
            return nullptr;
        }
        if (!index->canSeek() || seeksFail)
            break;
        if (seekTo(found)) {
            creatureDepth = depth;
            Faunlet* faunlet = readCreature(nullptr);
            if (!reader.hasError())
                return faunlet;
            seeksFail = true;
            break;
        }
        if (!seekAgain(attempt))
            break;
    }
    resumeAt(from);
    return searchByNumber(n);
}

// The details never lead the stream past the creature's end tag, and finish()
// reads on to that tag in any case: leaving them out changes nothing else.
Faunlet* xml::getFaunletBrief(int n, bool* ownName)
{
    brief = true;
    briefOwnName = true;
    Faunlet* faunlet = getFaunlet(n);
    brief = false;
    if (ownName)
        *ownName = briefOwnName;
    return faunlet;
}

Faunlet* xml::searchByNumber(int n)
{
    while (more()) {
        next();
        if (!creatureTag || tagId != n)
            continue;
        creatureDepth = depth;
        return readCreature("error ");
    }
    if (reader.hasError())
        std::cerr << "error " << reader.errorString().toStdString() << std::endl;
    return nullptr;
}

// A creature cut short by a fault in the file is not handed out half-read:
// its element must close. Reading on to its end tag costs nothing, as the
// next lookup would pass over the same tokens. The fault is printed after
// `errorPrefix`, unless that is null.
Faunlet* xml::finish(Faunlet* faunlet, const char* errorPrefix)
{
    getInfoFaunlet(faunlet);
    while (more() && depth >= creatureDepth)
        next();
    if (!reader.hasError())
        return faunlet;
    if (errorPrefix)
        std::cerr << errorPrefix << reader.errorString().toStdString() << std::endl;
    delete faunlet;
    return nullptr;
}

// From the start tag of a creature: the first name before the end of
// "stats", and the rest of the creature read.
Faunlet* xml::readCreature(const char* errorPrefix)
{
    Faunlet* faunlet = nullptr;
    scanCreature(nullptr, errorPrefix, &faunlet);
    return faunlet;
}

Faunlet* xml::getFaunlet(const std::string& name)
{
    movedByName = true;
    for (int attempt = 0; attempt < 2 && indexReady(); ++attempt) {
        const int found = index->firstNamed(QByteArrayView(name.data(), qsizetype(name.size())));
        if (found < 0 && index->reachedEnd())
            return nullptr;
        // Up to a fault, the index knows every name as well as a walk would;
        // past it, or for a creature the fault cut short, the walk prints it.
        if (found < 0 || !index->entry(found).closed || !index->canSeek() || seeksFail)
            break;
        if (seekTo(found)) {
            creatureDepth = depth;
            Faunlet* faunlet = nullptr;
            const bool matched = scanCreature(&name, nullptr, &faunlet);
            if (reader.hasError()) {
                seeksFail = true;
                break;
            }
            if (matched)
                return faunlet;
        }
        if (!seekAgain(attempt))
            break;
    }
    return walkByName(name);
}

Faunlet* xml::walkByName(const std::string& name)
{
    rewind();
    while (more()) {
        next();
        if (!creatureTag)
            continue;
        creatureDepth = depth;
        Faunlet* faunlet = nullptr;
        if (scanCreature(&name, "", &faunlet))
            return faunlet;
    }
    if (reader.hasError())
        std::cerr << reader.errorString().toStdString() << std::endl;
    return nullptr;
}

// The one walk through a creature that both lookups share. From its start
// tag: takes each name met before the end of "stats" and reads the creature
// at the first that is `wanted` byte for byte (at the first of all, when
// `wanted` is null). False when none was; otherwise `found` holds the record,
// or null when a fault cut the creature short, printed after `errorPrefix`
// unless that is null.
bool xml::scanCreature(const std::string* wanted, const char* errorPrefix, Faunlet** found)
{
    const int id = tagId;
    const int ordinal = passed - 1;
    while (more()) {
        next();
        if (token == QXmlStreamReader::EndElement && (depth < creatureDepth || reader.name() == u"stats"))
            return false;
        if (kind != TagKind::Name)
            continue;
        const QString text = readValue();
        if (wanted) {
            const QByteArray bytes = text.toUtf8();
            if (bytes.size() != qsizetype(wanted->size())
                || !std::equal(wanted->begin(), wanted->end(), bytes.constBegin()))
                continue;
        }
        // The index knows, up to here, which creature a lookup by this name
        // reads: an earlier one of the same name wins.
        if (brief && index)
            briefOwnName = index->firstNamed(text.toUtf8()) == ordinal;
        auto faunlet = new Faunlet(text);
        faunlet->setId(id);
        *found = finish(faunlet, errorPrefix);
        return true;
    }
    return false;
}

// The bytes at a creature's place are not what the index says, though the
// file kept its size and time (an edit within one tick of the clock): the
// index, and any other reader's copy of it, give way to a fresh sweep. When
// an index swept just now fails as well, the file has not changed: its
// creatures do not read on their own (a namespace prefix declared outside
// them), and no reader of it seeks again rather than sweep at every lookup.
bool xml::seekAgain(int attempt)
{
    if (attempt > 0) {
        index->stopSeeking();
        return false;
    }
    index.reset();
    sweepWholeFile(false);
    return true;
}

// Whether the index describes the file as it is now; unless told not to,
// sweeps the file once when no index does.
bool xml::indexReady(bool sweepIfNone)
{
    if (!file->isOpen())
        return false;
    if (index && index->isFrozen() && index->describes(*file))
        return true;
    if (std::shared_ptr<CreatureIndex> shared = CreatureIndex::sharedFor(*file)) {
        index = std::move(shared);
        return true;
    }
    if (!sweepIfNone)
        return false;
    sweepWholeFile(false);
    return index && index->isFrozen() && index->describes(*file);
}

// Reads the rest of the creature whose name was just read, without ever
// leaving its own element: a creature lacking "evolutions" or "moves" gets
// only what it says itself. Leaves the stream just inside "moves", or on the
// creature's end tag when it has none.
bool xml::getInfoFaunlet(Faunlet* faunlet)
{
    QList<Stage> stages;

    while (more()) {
        if (token == QXmlStreamReader::EndElement && depth < creatureDepth)
            break;
        if (token == QXmlStreamReader::StartElement) {
            // The list takes the types alone; any other detail is still
            // passed to its end tag, so that no type inside it counts.
            if (brief && kind != TagKind::Type && kind != TagKind::Moves) {
                const int own = depth;
                if (readWhole(kind))
                    do
                        next();
                    while (more() && !(token == QXmlStreamReader::EndElement && depth < own));
                next();
                continue;
            }
            switch (kind) {
            case TagKind::Moves:
                next();
                chooseEvolution(faunlet, stages);
                return true;
            case TagKind::Evolutions: {
                // Stages are kept in file order: one evolves into the next
                // listed, whatever its level text says.
                const int evoDepth = depth;
                bool first = true;
                QString stageName;
                next();
                while (more() && !(token == QXmlStreamReader::EndElement && depth < evoDepth)) {
                    if (token == QXmlStreamReader::StartElement) {
                        if (kind == TagKind::Name) {
                            stageName = readValue();
                            if (first)
                                stages.append(Stage{QStringLiteral("0"), stageName});
                            first = false;
                        } else if (kind == TagKind::Lvl || kind == TagKind::Condition) {
                            stages.append(Stage{readValue(), stageName});
                        }
                    }
                    next();
                }
                break;
            }
            case TagKind::Type:
                faunlet->addType(readValue());
                break;
            case TagKind::Ability:
                faunlet->setAbility(readValue());
                break;
            case TagKind::Exp:
                faunlet->addExperience(readNumber().toInt());
                break;
            case TagKind::HP:
                faunlet->setHealth(readNumber().toInt());
                break;
            case TagKind::ATK:
                faunlet->setAttack(readNumber().toInt());
                break;
            case TagKind::DEF:
                faunlet->setDefense(readNumber().toInt());
                break;
            case TagKind::SPD:
                faunlet->setSpeed(readNumber().toInt());
                break;
            case TagKind::SAT:
                faunlet->setSAT(readNumber().toInt());
                break;
            case TagKind::SDF:
                faunlet->setSDF(readNumber().toInt());
                break;
            case TagKind::Height:
                faunlet->setHeight(toFloat(readNumber()));
                break;
            case TagKind::Weight:
                faunlet->setWeight(toFloat(readNumber()));
                break;
            case TagKind::Description:
                faunlet->setDescription(readValue());
                break;
            default:
                break;
            }
        }
        next();
    }
    chooseEvolution(faunlet, stages);
    return true;
}

// A handle of its own on the file the lookup stream reads, with a position
// of its own: still that file after another was renamed over its name, so
// that moves and details come from one version. False when that file cannot
// be reached. A reader whose file never opened goes by the name.
bool xml::openOwn(QFile& own) const
{
    if (!file->isOpen()) {
        own.setFileName(fileName);
        return own.open(reading);
    }
    own.setFileName(QStringLiteral("/proc/self/fd/%1").arg(file->handle()));
    if (!own.open(reading)) {
        own.setFileName(fileName);
        own.open(reading);
    }
    return CreatureIndex::sameFile(own, *file);
}

// One dedicated sweep of the whole file on its own handle, so the lookup
// stream keeps its position. It fills the index, and the move table when a
// move query asks for it.
void xml::sweepWholeFile(bool forMoves)
{
    const bool wantMoves = forMoves && !moves.isComplete();
    // An index that still describes the file is kept: it may know already
    // that seeking fails.
    const bool indexing = file->isOpen() && !(index && index->isFrozen() && index->describes(*file));
    MoveIndex fresh;
    QFile own;
    if ((indexing || wantMoves) && openOwn(own)) {
        auto built = std::make_shared<CreatureIndex>();
        QXmlStreamReader sweep(&own);
        int sweepDepth = 0;
        fresh.begin();
        for (auto tokenRead = sweep.readNext();; tokenRead = sweep.readNext()) {
            Tag tag;
            if (tokenRead == QXmlStreamReader::StartElement) {
                ++sweepDepth;
                tag = tagOf(sweep);
            } else if (tokenRead == QXmlStreamReader::EndElement) {
                --sweepDepth;
            }
            if (indexing)
                built->observe(sweep, tokenRead, sweepDepth, tag.kind, tag.creature, tag.id);
            if (wantMoves)
                fresh.observe(sweep, tokenRead, sweepDepth, tag.kind);
            if (tokenRead == QXmlStreamReader::EndDocument || tokenRead == QXmlStreamReader::Invalid)
                break;
        }
        if (indexing) {
            built->freeze(sweep, own);
            index = std::move(built);
            CreatureIndex::publish(index);
        }
    }
    // Even a file that breaks off is final: what came before the fault is
    // all the moves there are.
    if (wantMoves) {
        fresh.markComplete();
        moves = std::move(fresh);
    }
}

// Makes the move table able to answer for `name`: from the creature itself
// when the index knows which one a document tree would take, or from one
// sweep of the whole file when it cannot tell.
void xml::learnMoves(const QString& name)
{
    if (moves.contains(name) || moves.isComplete())
        return;
    if (indexReady(false) && index->namesAsInATree()) {
        const int creature = index->firstInCapitals(name);
        if (creature < 0 || readMovesOf(creature, name))
            return;
    }
    sweepWholeFile(true);
}

// Reads one creature's moves from where the index says it stands, on a
// handle of its own so that the lookup stream keeps its place. False when
// the tag there is not that creature's any more.
bool xml::readMovesOf(int creature, const QString& name)
{
    if (!indexReady() || !index->canSeek() || seeksFail || creature >= index->count())
        return false;
    QFile own;
    qint64 start = 0;
    qint64 units = 0;
    if (!openOwn(own) || !index->startOfTag(own, creature, &start, &units) || !own.seek(start))
        return false;
    QXmlStreamReader lone(&own);
    MoveIndex read;
    read.beginCreature();
    int open = 1; // the root, which this reader never sees
    for (;;) {
        const QXmlStreamReader::TokenType token = lone.readNext();
        TagKind tag = TagKind::Other;
        if (token == QXmlStreamReader::StartElement) {
            if (open == 1 && !isRecorded(tagOf(lone), index->entry(creature), lone, units))
                return false;
            ++open;
            tag = tagKindOf(lone.name());
        } else if (token == QXmlStreamReader::EndElement) {
            --open;
        } else if (token == QXmlStreamReader::Invalid || token == QXmlStreamReader::EndDocument) {
            return false;
        }
        read.observe(lone, token, open, tag);
        if (token == QXmlStreamReader::EndElement && open == 1)
            break;
    }
    if (!read.contains(name))
        return false;
    moves.adopt(read, name);
    return true;
}

QList<skills*>* xml::getSkills(const QString& name, int level)
{
    learnMoves(name);
    const QList<MoveIndex::Move>* known = moves.find(name);
    if (!known)
        return nullptr;

    QList<skills*>* result = nullptr;
    for (const MoveIndex::Move& move : *known) {
        if (move.lvl != level)
            continue;
        std::cout << move.lvl << "===" << level << '\n';
        if (!result)
            result = new QList<skills*>;
        auto skill = new skills;
        skill->setLvl(move.lvl);
        skill->setName(moves.nameOf(move));
        result->append(skill);
    }
    return result;
}

QList<skills> xml::getSkillsUpTo(const QString& name, int level)
{
    QList<skills> all;
    for (int at = 1; at <= std::min(level, maxLevel); ++at) {
        const std::unique_ptr<QList<skills*>> moves(getSkills(name, at));
        if (!moves)
            continue;
        for (skills* move : std::as_const(*moves))
            all.append(*move);
        qDeleteAll(*moves);
    }
    return all;
}
