#ifndef TEAMDATA_H
#define TEAMDATA_H

#include <QByteArray>
#include <QDomDocument>
#include <QFile>
#include <QStringList>

// Creatures for the team tests. Every creature learns Nip and Gnaw at 1,
// Tackle at 2, Bite at 3 and Crunch at 4 (plus a machine move that must never
// show), weighs 6.9, measures 0.7 and evolves into <name>X at 16. Its
// statistics are hp, hp+1, ... hp+5 for HP, ATK, DEF, SPD, SAT, SDF.
inline QByteArray beast(int id, const QByteArray& name, int hp)
{
    auto n = [hp](int plus) { return QByteArray::number(hp + plus); };
    return " <faunlet id=\"" + QByteArray::number(id) + "\">\n  <name>" + name + "</name>\n"
        "  <stats><HP>" + n(0) + "</HP><ATK>" + n(1) + "</ATK><DEF>" + n(2) + "</DEF><SPD>" + n(3)
        + "</SPD><SAT>" + n(4) + "</SAT><SDF>" + n(5) + "</SDF><exp>64</exp>"
        "<type>Grass</type><type>Poison</type><ability>Overgrow</ability></stats>\n"
        "  <evolutions><name>" + name + "</name><name>" + name + "X</name><lvl>16</lvl></evolutions>\n"
        "  <height>0.7</height><weight>6.9</weight><description>About " + name + "</description>\n"
        "  <moves>\n"
        "   <move type=\"level-up\"><name>Nip</name><lvl>1</lvl></move>\n"
        "   <move type=\"machine\"><name>Quake</name><lvl>1</lvl></move>\n"
        "   <move type=\"level-up\"><name>Gnaw</name><lvl>1</lvl></move>\n"
        "   <move type=\"level-up\"><name>Tackle</name><lvl>2</lvl></move>\n"
        "   <move type=\"level-up\"><name>Bite</name><lvl>3</lvl></move>\n"
        "   <move type=\"level-up\"><name>Crunch</name><lvl>4</lvl></move>\n"
        "  </moves>\n </faunlet>\n";
}

// MOSSLING (HP 45), EMBERLISK (39), TIDEFIN (44), ÉCLAIRÔME (60).
inline QByteArray herd()
{
    return beast(1, "MOSSLING", 45) + beast(2, "EMBERLISK", 39) + beast(3, "TIDEFIN", 44)
        + beast(4, "\xc3\x89" "CLAIR\xc3\x94" "ME", 60);
}

inline QString eclairome()
{
    return QString::fromUtf8("\xc3\x89" "CLAIR\xc3\x94" "ME");
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
