#include "owners/classowner.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDomDocument>
#include <QDomImplementation>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include "data/domfile.h"
#include "data/storename.h"

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("classOwner", text);
}

QString attributeOr(const QDomElement& element, const QString& attribute)
{
    return element.attribute(attribute, QStringLiteral("noname"));
}

// A listed file name must stay inside ./owners; reading elsewhere is never
// what the caller meant.
bool staysInStore(const QString& fileName)
{
    return !fileName.isEmpty() && fileName != QLatin1String(".") && fileName != QLatin1String("..")
        && !fileName.contains(QLatin1Char('/')) && !fileName.contains(QLatin1Char('\\'));
}

} // namespace

classOwner::classOwner(const QString& ownerName)
{
    if (storename::isSafe(ownerName))
        read(pathFor(ownerName), true);
}

QString classOwner::pathFor(const QString& ownerName)
{
    return QStringLiteral("./owners/") + ownerName + QStringLiteral(".xml");
}

bool classOwner::read(const QString& path, bool trace)
{
    QDomDocument doc;
    if (!domfile::read(path, doc, &error))
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
    error.clear();
    if (!staysInStore(fileName)) {
        error = tr("\"%1\" is not a file of the owners folder.").arg(fileName);
        return false;
    }
    return read(QStringLiteral("./owners/") + fileName, false);
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
    const QString problem = storename::problem(newName);
    if (!problem.isEmpty()) {
        error = problem;
        return false;
    }

    QByteArray newImg = img;
    QImage picture;
    if (!imagePath.isEmpty()) {
        QImageReader reader(imagePath);
        reader.setDecideFormatFromContent(true);
        picture = reader.read();
    }
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
    return domfile::write(path, document(), &error);
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
    const QString problem = storename::problem(ownerName);
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
