#ifndef FAUNLET_H
#define FAUNLET_H

#include <QString>
#include <QStringList>

// One creature as read from the data file or a team file. A plain value:
// readers create it on the heap and hand ownership to the caller.
class Faunlet
{
public:
    explicit Faunlet(const QString& name);

    void setId(int value) { id = value; }
    void setName(const QString& value) { name = value; }
    void setAbility(const QString& value) { ability = value; }
    void addExperience(int value) { experience += value; }
    void setHealth(int value) { health = value; }
    void setAttack(int value) { attack = value; }
    void setDefense(int value) { defense = value; }
    void setSpeed(int value) { speed = value; }
    void setSAT(int value) { SAT = value; }
    void setSDF(int value) { SDF = value; }
    void setLevel(int value) { level = value; }
    void setHeight(float value) { height = value; }
    void setWeight(float value) { weight = value; }
    void setDescription(const QString& value) { description = value; }
    void setEvo(const QString& evoName, const QString& evoLevel);
    bool addType(const QString& type);
    bool removeType(const QString& type);

    int getId() const { return id; }
    QStringList getType() const { return types; }
    const QString& getName() const { return name; }
    const QString& getAbility() const { return ability; }
    int getExperience() const { return experience; }
    int getHealth() const { return health; }
    int getAttack() const { return attack; }
    int getDefense() const { return defense; }
    int getSpeed() const { return speed; }
    int getSAT() const { return SAT; }
    int getSDF() const { return SDF; }
    int getLevel() const { return level; }
    int getLevel() { return level; }
    const QString& getSexe() const { return sexe; }
    float getHeight() const { return height; }
    float getWeight() const { return weight; }
    const QString& getLvlEvo() const { return lvlEvo; }
    const QString& getDescription() const { return description; }
    const QString& getNameEvo() const { return nameEvo; }

private:
    int id = 0;
    QStringList types;
    QString name;
    QString ability;
    int experience = 0;
    int health = 0;
    int attack = 0;
    int defense = 0;
    int speed = 0;
    int SAT = 0;
    int SDF = 0;
    int level = 1;
    QString sexe;
    float height = 0.0f;
    float weight = 0.0f;
    QString lvlEvo;
    QString description;
    QString nameEvo;
};

#endif
