#ifndef SKILLS_H
#define SKILLS_H

#include <QString>

// One move a creature learns. Only name and level are ever filled by the
// reader; type and machine stay empty.
class skills
{
public:
    skills() = default;

    void setType(const QString& value) { type = value; }
    void setName(const QString& value) { name = value; }
    void setMachine(const QString& value) { machine = value; }
    void setLvl(int value) { lvl = value; }

    const QString& getType() const { return type; }
    const QString& getName() const { return name; }
    const QString& getMachine() const { return machine; }
    int getLvl() const { return lvl; }

private:
    QString type;
    QString name;
    QString machine;
    int lvl = 0;
};

#endif
