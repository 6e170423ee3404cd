#include "data/storename.h"

#include <QCoreApplication>

QString storename::problem(const QString& name)
{
    // Spaces alone would make a file that looks nameless, "   .xml".
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("storename", "The name is empty.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QCoreApplication::translate("storename", "\"%1\" is not a valid name.").arg(name);
    if (name.startsWith(QLatin1Char('.')))
        return QCoreApplication::translate("storename", "A name cannot start with \".\".");
    if (name.size() > maxLength)
        return QCoreApplication::translate("storename", "A name cannot be longer than %1 characters.").arg(maxLength);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QCoreApplication::translate("storename", "A name cannot contain \"/\" or \"\\\".");
        if (c.category() == QChar::Other_Control)
            return QCoreApplication::translate("storename", "A name cannot contain control characters.");
    }
    return QString();
}
