#ifndef TEAMDATA_H
#define TEAMDATA_H

#include <QDomDocument>
#include <QFile>
#include <QStringList>

// The creatures of tests/teams/herd.xml: MOSSLING, EMBERLISK, TIDEFIN and
// ÉCLAIRÔME, HP 45, 39, 44 and 60.
inline const QString eclairome = QStringLiteral("\u00c9CLAIR\u00d4ME");

inline QByteArray herd()
{
    QFile file(qEnvironmentVariable("FAUNTOME_SOURCE_DIR") + QStringLiteral("/tests/teams/herd.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QStringList namesInFile(const QString& path)
{
    QFile file(path);
    QDomDocument doc;
    if (!file.open(QIODevice::ReadOnly) || !doc.setContent(&file))
        return {QStringLiteral("<unreadable>")};
    QStringList names;
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        names << e.attribute(QStringLiteral("name"));
    return names;
}

#endif
