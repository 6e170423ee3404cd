#include "data/storename.h"

QString StoreName::problem(const QString& name)
{
    // Spaces alone would make a file that looks nameless, "   .xml".
    if (name.trimmed().isEmpty())
        return tr("The name is empty.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return tr("\"%1\" is not a valid name.").arg(name);
    if (name.startsWith(QLatin1Char('.')))
        return tr("A name cannot start with \".\".");
    if (name.size() > maxLength)
        return tr("A name cannot be longer than %1 characters.").arg(maxLength);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return tr("A name cannot contain \"/\" or \"\\\".");
        if (c.category() == QChar::Other_Control)
            return tr("A name cannot contain control characters.");
    }
    return QString();
}

QString StoreName::entryProblem(const QString& fileName)
{
    const QLatin1String extension(".xml");
    return problem(fileName.endsWith(extension) ? fileName.chopped(extension.size()) : fileName);
}
