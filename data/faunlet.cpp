#include "data/faunlet.h"

Faunlet::Faunlet(const QString& name)
    : name(name)
{
}

void Faunlet::setEvo(const QString& evoName, const QString& evoLevel)
{
    nameEvo = evoName;
    lvlEvo = evoLevel;
}

bool Faunlet::addType(const QString& type)
{
    types.append(type);
    return true;
}

bool Faunlet::removeType(const QString& type)
{
    types.removeAll(type);
    return true;
}
