#include "teams/classteam.h"

#include <QDebug>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <limits>

#include "data/domfile.h"
#include "data/faunlet.h"
#include "data/storename.h"
#include "data/workingfiles.h"
#include "data/xml.h"

namespace {

const QString missing = QStringLiteral("noname");

QString pathOf(const QString& teamName)
{
    return WorkingFiles::pathOf(WorkingFiles::teams(), teamName);
}

QString floatText(float value)
{
    return QString::number(double(value), 'g', 6);
}

int number(const QDomElement& element, const QString& attribute)
{
    return element.attribute(attribute, missing).toInt();
}

QByteArray serialise(const QString& teamName, const QString& ownerName, const QList<Faunlet*>& members)
{
    QDomImplementation dom;
    QDomDocument doc(dom.createDocumentType(QStringLiteral("teams"), QStringLiteral("-//Tarvel//DTC Teams 1.0 //FR"),
                                            QStringLiteral("http://www.tarvel.fr/dtd/teams.dtd")));
    QDomElement root = doc.createElement(QStringLiteral("team"));
    root.setAttribute(QStringLiteral("name"), teamName);
    root.setAttribute(QStringLiteral("owner"), ownerName);
    doc.appendChild(root);
    for (const Faunlet* f : members) {
        QDomElement e = doc.createElement(QStringLiteral("faunlet"));
        e.setAttribute(QStringLiteral("sexe"), f->getSexe());
        e.setAttribute(QStringLiteral("name"), f->getName());
        e.setAttribute(QStringLiteral("experience"), f->getExperience());
        e.setAttribute(QStringLiteral("health"), f->getHealth());
        e.setAttribute(QStringLiteral("attack"), f->getAttack());
        e.setAttribute(QStringLiteral("defense"), f->getDefense());
        e.setAttribute(QStringLiteral("level"), f->getLevel());
        e.setAttribute(QStringLiteral("speed"), f->getSpeed());
        e.setAttribute(QStringLiteral("sat"), f->getSAT());
        e.setAttribute(QStringLiteral("sdf"), f->getSDF());
        e.setAttribute(QStringLiteral("ability"), f->getAbility());
        e.setAttribute(QStringLiteral("weight"), floatText(f->getWeight()));
        e.setAttribute(QStringLiteral("height"), floatText(f->getHeight()));
        e.setAttribute(QStringLiteral("id"), f->getId());
        e.setAttribute(QStringLiteral("lvlEvo"), f->getLvlEvo());
        e.setAttribute(QStringLiteral("nameEvo"), f->getNameEvo());
        root.appendChild(e);
    }
    // UTF-8, the parser's default without a declaration, so any name survives.
    return doc.toByteArray(1);
}

// Faunlet can only add experience: bring it to zero first, so that no sum
// can overflow, then add the stored value.
void restoreExperience(Faunlet* faunlet, int stored)
{
    const int current = faunlet->getExperience();
    if (current == std::numeric_limits<int>::min()) {
        faunlet->addExperience(std::numeric_limits<int>::max());
        faunlet->addExperience(1);
    } else {
        faunlet->addExperience(-current);
    }
    faunlet->addExperience(stored);
}

} // namespace

bool classTeam::addTeam(const QString& teamName, const QString& ownerName, QList<Faunlet*> members)
{
    return write(teamName, ownerName, members, false);
}

bool classTeam::updateTeam(const QString& teamName, const QString& ownerName, QList<Faunlet*> members)
{
    return write(teamName, ownerName, members, true);
}

bool classTeam::write(const QString& teamName, const QString& ownerName, const QList<Faunlet*>& members, bool replace)
{
    error = StoreName::problem(teamName);
    if (!error.isEmpty())
        return false;
    name = teamName;
    owner = ownerName;
    faunlets = members;

    const QString path = pathOf(teamName);
    const QFileInfo target(path);
    if (!replace && (target.exists() || target.isSymLink())) {
        error = tr("A team file named \"%1\" already exists.").arg(teamName);
        return false;
    }
    return DomFile::write(path, serialise(teamName, ownerName, members), &error);
}

bool classTeam::deleteTeam(const QString& teamName)
{
    error = StoreName::problem(teamName);
    if (!error.isEmpty())
        return false;
    QFile file(pathOf(teamName));
    if (!file.remove()) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool classTeam::loadTeam(const QString& fileName)
{
    missingMembers.clear();
    // The file name comes from a listing of the folder; anything that could
    // lead out of it is not one.
    error = StoreName::entryProblem(fileName);
    if (!error.isEmpty())
        return false;
    QDomDocument doc;
    if (!DomFile::read(WorkingFiles::teams() + fileName, doc, &error))
        return false;

    qDebug() << "LOAD"
             << "\n";

    const QDomElement root = doc.documentElement();
    // Read all the same, as ever; the editor decides what to make of it.
    if (!root.isNull() && root.tagName() != QLatin1String("team"))
        error = tr("The file holds a \"%1\" element, not a team.").arg(root.tagName());
    for (QDomElement e = root; !e.isNull(); e = e.nextSiblingElement()) {
        name = e.attribute(QStringLiteral("name"), missing);
        owner = e.attribute(QStringLiteral("owner"), missing);
    }

    xml reader(WorkingFiles::dataFile());
    // Elements only: a comment between two creatures must not end the load.
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QString creature = e.attribute(QStringLiteral("name"), missing);
        Faunlet* faunlet = reader.getFaunlet(creature.toUtf8().toStdString());
        if (!faunlet) {
            missingMembers << creature;
            continue;
        }
        faunlet->setHealth(number(e, QStringLiteral("health")));
        faunlet->setAttack(number(e, QStringLiteral("attack")));
        faunlet->setDefense(number(e, QStringLiteral("defense")));
        faunlet->setSpeed(number(e, QStringLiteral("speed")));
        faunlet->setSAT(number(e, QStringLiteral("sat")));
        faunlet->setSDF(number(e, QStringLiteral("sdf")));
        faunlet->setId(number(e, QStringLiteral("id")));
        faunlet->setLevel(number(e, QStringLiteral("level")));
        faunlet->setAbility(e.attribute(QStringLiteral("ability"), missing));
        // The stored experience already includes the data file's.
        restoreExperience(faunlet, number(e, QStringLiteral("experience")));
        faunlets.append(faunlet);
    }
    return true;
}

void classTeam::removeFaunlet(const Faunlet* faunlet)
{
    faunlets.removeAll(faunlet);
}
