#include "data/domfile.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <cerrno>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("domfile", text);
}

bool shallowAndWellFormed(const QByteArray& content)
{
    QXmlStreamReader reader(content);
    int depth = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > domfile::maxDepth)
                return false;
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return !reader.hasError();
}

} // namespace

bool domfile::read(const QString& path, QDomDocument& doc, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray content = file.readAll();
    doc = QDomDocument();
    // Qt keeps the part of a tree parsed before an error; that part is not
    // the file, so it is thrown away.
    if (!shallowAndWellFormed(content) || !doc.setContent(content))
        doc = QDomDocument();
    return true;
}

bool domfile::write(const QString& path, const QByteArray& content, QString* error)
{
    QString why;
    if (QFileInfo(path).isDir()) {
        why = tr("A folder stands where the file must go.");
    } else {
        QSaveFile file(path);
        // Unbuffered: Qt 6.4 takes a short buffered write (file-size limit,
        // full disk) for success and commits the cut-off file.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            why = file.errorString();
        } else {
            errno = 0;
            if (file.write(content) != content.size()) {
                // Qt reports a short write as an unknown error; errno knows.
                why = errno ? qt_error_string(errno) : file.errorString();
                file.cancelWriting();
            } else if (!file.commit()) {
                why = file.errorString();
            }
        }
    }
    if (error)
        *error = why;
    return why.isEmpty();
}
