#include "data/xml.h"

#include <QFile>
#include <iostream>

#include "data/faunlet.h"
#include "data/skills.h"

xml* xml::ptrXml = nullptr;

namespace {

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

} // namespace

xml::xml(const QString& fileName)
    : fileName(fileName)
    , file(std::make_unique<QFile>(fileName))
{
    if (!file->open(QIODevice::ReadOnly | QIODevice::Text))
        std::cerr << "cant open file" << std::endl;
    rewind();
    lastIndex = 0;
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
    depth = 0;
    moves.begin();
}

// Every token of the lookup stream passes through here so the move table
// sees the same sweep.
void xml::next()
{
    switch (reader.readNext()) {
    case QXmlStreamReader::StartElement:
        ++depth;
        break;
    case QXmlStreamReader::EndElement:
        --depth;
        break;
    case QXmlStreamReader::EndDocument:
        moves.markComplete();
        break;
    default:
        break;
    }
    moves.observe(reader, depth);
}

// On a start tag: reads to its end tag and returns the text inside.
// Anywhere else: reads one token and returns its text.
QString xml::readValue()
{
    if (!reader.isStartElement()) {
        next();
        return reader.text().toString();
    }
    const int own = depth;
    QString value;
    while (!reader.atEnd() && !reader.hasError()) {
        next();
        if (reader.isCharacters())
            value += reader.text();
        else if (reader.isEndElement() && depth < own)
            break;
    }
    return value;
}

Faunlet* xml::getFaunlet(int n)
{
    // Asking again for a number already passed must find it again, not
    // report it missing; so must asking after a lookup by name moved the
    // stream past it.
    if (n <= lastIndex || movedByName)
        rewind();
    movedByName = false;
    lastIndex = n;

    while (!reader.atEnd() && !reader.hasError()) {
        next();
        if (!reader.isStartElement() || reader.name() != u"faunlet")
            continue;
        const QXmlStreamAttributes attrs = reader.attributes();
        if (!attrs.hasAttribute(QLatin1String("id")))
            continue;
        if (attrs.value(QLatin1String("id")).toInt() != n)
            continue;
        creatureDepth = depth;
        return readCreature(n);
    }
    if (reader.hasError())
        std::cerr << "error " << reader.errorString().toStdString() << std::endl;
    return nullptr;
}

// A creature cut short by a fault in the file is not handed out half-read:
// its element must close. Reading on to its end tag costs nothing, as the
// next lookup would pass over the same tokens.
Faunlet* xml::finish(Faunlet* faunlet, const char* prefix)
{
    getInfoFaunlet(faunlet);
    while (!reader.atEnd() && !reader.hasError() && depth >= creatureDepth)
        next();
    if (!reader.hasError())
        return faunlet;
    std::cerr << prefix << reader.errorString().toStdString() << std::endl;
    delete faunlet;
    return nullptr;
}

// From the start tag of creature n: find its name before the end of "stats"
// and read the rest of it.
Faunlet* xml::readCreature(int id)
{
    while (!reader.atEnd() && !reader.hasError()) {
        next();
        if (reader.isEndElement() && (depth < creatureDepth || reader.name() == u"stats"))
            return nullptr;
        if (reader.isStartElement() && reader.name() == u"name") {
            auto faunlet = new Faunlet(readValue());
            faunlet->setId(id);
            return finish(faunlet, "error ");
        }
    }
    return nullptr;
}

Faunlet* xml::getFaunlet(const std::string& name)
{
    rewind();
    movedByName = true;
    while (!reader.atEnd() && !reader.hasError()) {
        next();
        if (!reader.isStartElement() || reader.name() != u"faunlet")
            continue;
        const QXmlStreamAttributes attrs = reader.attributes();
        if (!attrs.hasAttribute(QLatin1String("id")))
            continue;
        const int id = attrs.value(QLatin1String("id")).toInt();
        creatureDepth = depth;
        while (!reader.atEnd() && !reader.hasError()) {
            next();
            if (reader.isEndElement() && (depth < creatureDepth || reader.name() == u"stats"))
                break;
            if (reader.isStartElement() && reader.name() == u"name") {
                const QString text = readValue();
                const QByteArray bytes = text.toUtf8();
                if (bytes.size() == qsizetype(name.size())
                    && std::equal(name.begin(), name.end(), bytes.constBegin())) {
                    auto faunlet = new Faunlet(text);
                    faunlet->setId(id);
                    return finish(faunlet, "");
                }
            }
        }
    }
    if (reader.hasError())
        std::cerr << reader.errorString().toStdString() << std::endl;
    return nullptr;
}

// Reads the rest of the creature whose name was just read, without ever
// leaving its own element: a creature lacking "evolutions" or "moves" gets
// only what it says itself. Leaves the stream just inside "moves", or on the
// creature's end tag when it has none.
bool xml::getInfoFaunlet(Faunlet* faunlet)
{
    QList<Stage> stages;

    while (!reader.atEnd() && !reader.hasError()) {
        if (reader.isEndElement() && depth < creatureDepth)
            break;
        if (reader.isStartElement()) {
            const QStringView tag = reader.name();
            if (tag == u"moves") {
                next();
                break;
            } else if (tag == u"evolutions") {
                // Stages are kept in file order: one evolves into the next
                // listed, whatever its level text says.
                const int evoDepth = depth;
                bool first = true;
                QString stageName;
                next();
                while (!reader.atEnd() && !reader.hasError()
                       && !(reader.isEndElement() && depth < evoDepth)) {
                    if (reader.isStartElement()) {
                        const QStringView stageTag = reader.name();
                        if (stageTag == u"name") {
                            stageName = readValue();
                            if (first)
                                stages.append(Stage{QStringLiteral("0"), stageName});
                            first = false;
                        } else if (stageTag == u"lvl" || stageTag == u"condition") {
                            stages.append(Stage{readValue(), stageName});
                        }
                    }
                    next();
                }
            } else if (tag == u"type") {
                faunlet->addType(readValue());
            } else if (tag == u"ability") {
                faunlet->setAbility(readValue());
            } else if (tag == u"exp") {
                faunlet->addExperience(readValue().toInt());
            } else if (tag == u"HP") {
                faunlet->setHealth(readValue().toInt());
            } else if (tag == u"ATK") {
                faunlet->setAttack(readValue().toInt());
            } else if (tag == u"DEF") {
                faunlet->setDefense(readValue().toInt());
            } else if (tag == u"SPD") {
                faunlet->setSpeed(readValue().toInt());
            } else if (tag == u"SAT") {
                faunlet->setSAT(readValue().toInt());
            } else if (tag == u"SDF") {
                faunlet->setSDF(readValue().toInt());
            } else if (tag == u"height") {
                faunlet->setHeight(toFloat(readValue()));
            } else if (tag == u"weight") {
                faunlet->setWeight(toFloat(readValue()));
            } else if (tag == u"description") {
                faunlet->setDescription(readValue());
            }
        }
        next();
    }

    for (qsizetype i = 0; i + 1 < stages.size(); ++i) {
        if (stages.at(i).name.toUpper() == faunlet->getName()) {
            faunlet->setEvo(stages.at(i + 1).name.toUpper(), stages.at(i + 1).key);
            break;
        }
    }
    return true;
}

// One dedicated sweep of the whole file on its own handle, so the lookup
// stream keeps its position.
void xml::indexWholeFile()
{
    moveindex fresh;
    QFile own(fileName);
    if (own.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QXmlStreamReader sweep(&own);
        int sweepDepth = 0;
        fresh.begin();
        while (!sweep.atEnd() && !sweep.hasError()) {
            const auto token = sweep.readNext();
            if (token == QXmlStreamReader::StartElement)
                ++sweepDepth;
            else if (token == QXmlStreamReader::EndElement)
                --sweepDepth;
            fresh.observe(sweep, sweepDepth);
        }
    }
    // Even a file that breaks off is final: what came before the fault is
    // all the moves there are.
    fresh.markComplete();
    moves = std::move(fresh);
}

QList<skills*>* xml::getSkills(const QString& name, int level)
{
    if (!moves.isComplete() && !moves.contains(name))
        indexWholeFile();
    const QList<moveindex::Move>* known = moves.find(name);
    if (!known)
        return nullptr;

    QList<skills*>* result = nullptr;
    for (const moveindex::Move& move : *known) {
        if (move.lvl != level)
            continue;
        std::cout << move.lvl << "===" << level << '\n';
        if (!result)
            result = new QList<skills*>;
        auto skill = new skills;
        skill->setLvl(move.lvl);
        skill->setName(move.name);
        result->append(skill);
    }
    return result;
}
