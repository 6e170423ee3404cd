#include "fuzzbodies.h"

#include <QDir>
#include <QFile>
#include <memory>

#include "data/faunlet.h"
#include "data/skills.h"
#include "data/xml.h"
#include "owners/classowner.h"
#include "teams/classteam.h"
#include "viewer/artwork.h"
#include "widgets/guardedimage.h"

namespace {

bool writeFile(const QString& name, const uint8_t* data, size_t size)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

} // namespace

namespace fuzzbodies {

void prepare()
{
    QDir().mkpath(QStringLiteral("owners"));
    QDir().mkpath(QStringLiteral("teams"));
    static const char data[]
        = "<fauntome>"
          "<faunlet id=\"1\"><name>MOSSLING</name><stats><HP>40</HP></stats><type>Grass</type>"
          "<evolutions><name>MOSSLING</name><name>MOSSWARDEN</name><lvl>14</lvl></evolutions>"
          "<moves><move type=\"level-up\"><name>Moss Lash</name><lvl>1</lvl></move></moves></faunlet>"
          "<faunlet id=\"2\"><name>EMBERLISK</name><stats><ATK>55</ATK></stats><type>Fire</type>"
          "<evolutions/><moves/></faunlet>"
          "</fauntome>";
    writeFile(QStringLiteral("faundata.xml"), reinterpret_cast<const uint8_t*>(data), sizeof data - 1);
}

QStringList movesOf(xml& reader, const QString& name)
{
    QStringList moves;
    for (const skills& move : reader.getSkillsUpTo(name, xml::maxLevel))
        moves << move.getName() + '@' + QString::number(move.getLvl());
    return moves;
}

// The list's brief read of creature n must agree with the full one, and so
// must the viewer's lookup by its name when the index says it reads the same
// creature. Each reader walks the list in order, as the main window does.
struct BriefCheck
{
    xml brief{QStringLiteral("faundata.xml")};
    xml viewer{QStringLiteral("faundata.xml")};

    void compare(int n, const Faunlet* full)
    {
        bool own = false;
        const std::unique_ptr<Faunlet> listed(brief.getFaunletBrief(n, &own));
        const std::unique_ptr<Faunlet> shown(own && listed ? viewer.getFaunlet(listed->getName().toStdString())
                                                           : nullptr);
        const auto same = [](const Faunlet* a, const Faunlet* b) {
            return !a == !b && (!a || (a->getId() == b->getId() && a->getType() == b->getType()));
        };
        if (!same(listed.get(), full) || (own && listed && !same(shown.get(), listed.get())))
            qFatal("the list's brief read differs from a full one");
    }
};

// The bytes as faundata.xml: the list fill, a lookup by name of the last
// creature listed and the viewer's move queries for it.
QStringList readAsListed(const uint8_t* data, size_t size, QString& name, bool checkBrief)
{
    if (!writeFile(QStringLiteral("faundata.xml"), data, size))
        return {};
    xml reader(QStringLiteral("faundata.xml"));
    std::unique_ptr<BriefCheck> briefCheck(checkBrief ? new BriefCheck : nullptr);
    for (int n = 1; n <= 500; ++n) {
        std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(n));
        if (briefCheck)
            briefCheck->compare(n, faunlet.get());
        if (!faunlet)
            break;
        name = faunlet->getName();
    }
    std::unique_ptr<Faunlet> found(reader.getFaunlet(name.toUtf8().toStdString()));
    name = found ? found->getName() : name;
    return movesOf(reader, name);
}

int dataReader(const uint8_t* data, size_t size)
{
    QString name;
    readAsListed(data, size, name, false);
    return 0;
}

// What the reader's shortcuts give must agree with the plain ways: the brief
// list read with full lookups, and the moves read through the index with
// those of a reader that builds the whole table at once.
int dataMoves(const uint8_t* data, size_t size)
{
    QString name;
    const QStringList moves = readAsListed(data, size, name, true);
    // The first reader, and the index it shared, are gone.
    xml atOnce(QStringLiteral("faundata.xml"));
    if (movesOf(atOnce, name) != moves)
        qFatal("moves read through the index differ from the whole table");
    return 0;
}

// The bytes as an owner file, through the editor's load and the by-name
// constructor.
int ownerFile(const uint8_t* data, size_t size)
{
    if (!writeFile(QStringLiteral("owners/fuzz.xml"), data, size))
        return 0;
    classOwner loaded;
    loaded.loadOwner(QStringLiteral("fuzz.xml"));
    const classOwner byName(QStringLiteral("fuzz"));
    if (loaded.get_img() != byName.get_img())
        qFatal("the two ways of reading an owner disagree");
    GuardedImage(loaded.get_img(), GuardedImage::Format::Jpeg); // as the editor shows it
    return 0;
}

// The bytes as a team file, rebuilt against the small data file.
int teamFile(const uint8_t* data, size_t size)
{
    if (!writeFile(QStringLiteral("teams/fuzz.xml"), data, size))
        return 0;
    classTeam team;
    team.loadTeam(QStringLiteral("fuzz.xml"));
    const QList<Faunlet*> members = team.getFaunlets();
    qDeleteAll(members);
    return 0;
}

// The bytes as a downloaded picture, and as a JPEG avatar: the guard in
// front of both refuses what is not its format at once.
int artworkImage(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QImage image = Artwork::decode(bytes);
    if (!image.isNull() && image.format() != QImage::Format_ARGB32)
        qFatal("decoded artwork has no alpha channel");
    GuardedImage(bytes, GuardedImage::Format::Jpeg);
    return 0;
}

} // namespace fuzzbodies
