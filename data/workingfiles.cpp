#include "data/workingfiles.h"

#include <QDir>

QStringList WorkingFiles::entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}
