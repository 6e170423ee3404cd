#include "data/domfile.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <cerrno>

namespace {

// Reads the document through. Empty when it may be handed to the document
// tree; otherwise where and why not. `root` receives the root element's name.
QString structureProblem(QXmlStreamReader& reader, QString* root = nullptr)
{
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && root && depth == 0)
            *root = reader.name().toString();
        if (token == QXmlStreamReader::StartElement && ++depth > DomFile::maxDepth) {
            reader.raiseError(DomFile::tr("elements are nested more than %1 deep").arg(DomFile::maxDepth));
            break;
        }
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    if (!reader.hasError())
        return QString();
    return DomFile::tr("line %1, column %2: %3")
        .arg(reader.lineNumber())
        .arg(reader.columnNumber())
        .arg(reader.errorString());
}

} // namespace

bool DomFile::read(const QString& path, QDomDocument& doc, QString* error)
{
    QFile file(path);
    // Opening a FIFO waits for a writer, for good; a folder fails by itself.
    const QFileInfo info(path);
    const bool special = info.exists() && !info.isFile() && !info.isDir();
    if (special || !file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = special ? tr("not a plain file") : file.errorString();
        return false;
    }
    const QByteArray content = file.readAll();
    doc = QDomDocument();
    QXmlStreamReader reader(content);
    QString problem = structureProblem(reader);
    QString message;
    int line = 0;
    int column = 0;
    if (problem.isEmpty() && !doc.setContent(content, &message, &line, &column))
        problem = tr("line %1, column %2: %3").arg(line).arg(column).arg(message);
    // Qt keeps the part of a tree parsed before an error; that part is not
    // the file, so nothing is kept.
    if (!problem.isEmpty())
        doc = QDomDocument();
    if (error)
        *error = problem;
    return true;
}

bool DomFile::hasRoot(const QString& path, const QString& root)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader reader(&file);
    QString found;
    return structureProblem(reader, &found).isEmpty() && found == root;
}

bool DomFile::write(const QString& path, const QByteArray& content, QString* error)
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
