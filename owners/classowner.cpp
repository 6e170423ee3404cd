#include "owners/classowner.h"

#include <QBuffer>
#include <QDebug>
#include <QDomDocument>
#include <QDomImplementation>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "data/domfile.h"
#include "data/storename.h"
#include "data/workingfiles.h"
#include "widgets/guardedimage.h"

namespace {

QString attributeOr(const QDomElement& element, const QString& attribute)
{
    return element.attribute(attribute, QStringLiteral("noname"));
}

} // namespace

classOwner::classOwner(const QString& ownerName)
{
    if (StoreName::problem(ownerName).isEmpty())
        read(pathFor(ownerName), true);
}

QString classOwner::pathFor(const QString& ownerName)
{
    return WorkingFiles::pathOf(WorkingFiles::owners(), ownerName);
}

bool classOwner::read(const QString& path, bool trace)
{
    QDomDocument doc;
    if (!DomFile::read(path, doc, &error))
        return false;

    const QDomElement root = doc.documentElement();
    if (root.isNull())
        return true;
    // Read all the same, as ever; the editor decides what to make of it.
    if (root.tagName() != QLatin1String("owner"))
        error = tr("The file holds a \"%1\" element, not an owner.").arg(root.tagName());
    name = attributeOr(root, QStringLiteral("name"));
    sexe = attributeOr(root, QStringLiteral("sexe"));
    loc = attributeOr(root, QStringLiteral("loc"));
    img = QByteArray::fromBase64(root.text().toLatin1());
    if (trace)
        qDebug().noquote() << QStringLiteral("\"%1\" = \"%2\" = \"%3\"\n").arg(name, sexe, loc);
    return true;
}

bool classOwner::loadOwner(const QString& fileName)
{
    // The file name comes from a listing of the folder; anything that could
    // lead out of it is not one.
    error = StoreName::entryProblem(fileName);
    if (!error.isEmpty())
        return false;
    return read(WorkingFiles::owners() + fileName, false);
}

QByteArray classOwner::document() const
{
    QDomImplementation dom;
    QDomDocument doc(dom.createDocumentType(QStringLiteral("owners"), QStringLiteral("-//Tarvel//DTC Owners 1.0 //FR"),
                                            QStringLiteral("http://fauntome.example.org/dtd/owners.dtd")));
    QDomElement root = doc.createElement(QStringLiteral("owner"));
    root.setAttribute(QStringLiteral("name"), name);
    root.setAttribute(QStringLiteral("sexe"), sexe);
    root.setAttribute(QStringLiteral("loc"), loc);
    doc.appendChild(root);
    QDomElement avatar = doc.createElement(QStringLiteral("avatar"));
    if (!img.isEmpty())
        avatar.appendChild(doc.createTextNode(QString::fromLatin1(img.toBase64())));
    root.appendChild(avatar);
    // UTF-8 whatever the locale, so every name reads back as written.
    return doc.toString(1).toUtf8();
}

bool classOwner::store(const QString& newName, const QString& newSexe, const QString& newLoc, const QString& imagePath,
                       Write mode)
{
    error.clear();
    const QString problem = StoreName::problem(newName);
    if (!problem.isEmpty()) {
        error = problem;
        return false;
    }

    QByteArray newImg = img;
    const QImage picture = GuardedImage::fromFile(imagePath).image();
    if (!picture.isNull()) {
        newImg.clear();
        QBuffer buffer(&newImg);
        if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "JPEG")) {
            error = tr("The picture could not be converted to JPEG.");
            return false;
        }
    }
    name = newName;
    sexe = newSexe;
    loc = newLoc;
    img = newImg;

    const QString path = pathFor(name);
    if (mode == Write::NewOnly && QFileInfo::exists(path)) {
        error = tr("A file for this owner already exists.");
        return false;
    }
    // Written beside the old file and renamed over it, so a failed write
    // leaves the previous owner intact.
    return DomFile::write(path, document(), &error);
}

bool classOwner::addOwner(const QString& name, const QString& sexe, const QString& loc, const QString& imagePath)
{
    return store(name, sexe, loc, imagePath, Write::NewOnly);
}

bool classOwner::updateOwner(const QString& name, const QString& sexe, const QString& loc, const QString& imagePath)
{
    return store(name, sexe, loc, imagePath, Write::Replace);
}

bool classOwner::deleteOwner(const QString& ownerName)
{
    error.clear();
    const QString problem = StoreName::problem(ownerName);
    if (!problem.isEmpty()) {
        error = problem;
        return false;
    }
    QFile target(pathFor(ownerName));
    if (!target.exists())
        return false;
    // Reports the removal itself, not just that there was something to remove.
    if (!target.remove()) {
        error = target.errorString();
        return false;
    }
    return true;
}
