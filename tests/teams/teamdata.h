#ifndef TEAMDATA_H
#define TEAMDATA_H

#include <QDomDocument>
#include <QFile>
#include <QStringList>

inline const QString eclairome = QString::fromUtf8("\xc3\x89"
                                                   "CLAIR\xc3\x94"
                                                   "ME");

// MOSSLING, EMBERLISK, TIDEFIN and ÉCLAIRÔME, HP 45, 39, 44 and 60 (ATK to SDF
// follow as HP+1 to HP+5). Each learns Nip and Gnaw at 1, Tackle at 2, Bite at
// 3 and Crunch at 4 (plus a machine move that must never show), weighs 6.9,
// measures 0.7 and evolves into <name>X at 16.
inline QByteArray herd()
{
    auto move = [](const char* type, const char* name, char level) {
        return QByteArray("<move type=\"") + type + "\"><name>" + name + "</name><lvl>" + level + "</lvl></move>";
    };
    const QByteArray moves = move("level-up", "Nip", '1') + move("machine", "Quake", '1')
        + move("level-up", "Gnaw", '1') + move("level-up", "Tackle", '2') + move("level-up", "Bite", '3')
        + move("level-up", "Crunch", '4');
    const QStringList names{"MOSSLING", "EMBERLISK", "TIDEFIN", eclairome};
    const int health[] = {45, 39, 44, 60};
    QByteArray out;
    for (int i = 0; i < 4; ++i) {
        const QByteArray name = names.at(i).toUtf8();
        QByteArray stats;
        int plus = 0;
        for (const QByteArray tag : {"HP", "ATK", "DEF", "SPD", "SAT", "SDF"})
            stats += '<' + tag + '>' + QByteArray::number(health[i] + plus++) + "</" + tag + '>';
        out += "<faunlet id=\"" + QByteArray::number(i + 1) + "\"><name>" + name + "</name><stats>" + stats
            + "<exp>64</exp><type>Grass</type><type>Poison</type><ability>Overgrow</ability></stats><evolutions><name>"
            + name + "</name><name>" + name
            + "X</name><lvl>16</lvl></evolutions><height>0.7</height>"
              "<weight>6.9</weight><description>About "
            + name + "</description><moves>" + moves + "</moves></faunlet>\n";
    }
    return out;
}

// The "name" attributes of the creatures in a team file, in file order.
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
