#include "fuzzbodies.h"

#include <QFile>
#include <memory>

#include "data/faunlet.h"
#include "data/skills.h"
#include "data/xml.h"

namespace {

bool writeFile(const QString& name, const uint8_t* data, size_t size)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

void freeMoves(QList<skills*>* moves)
{
    if (moves)
        qDeleteAll(*moves);
    delete moves;
}

} // namespace

namespace fuzzbodies {

// The bytes as faundata.xml: the list fill, a lookup by name of the last
// creature listed and the viewer's move queries.
int dataReader(const uint8_t* data, size_t size)
{
    if (!writeFile(QStringLiteral("faundata.xml"), data, size))
        return 0;
    xml reader(QStringLiteral("faundata.xml"));
    QString last;
    for (int n = 1; n <= 500; ++n) {
        std::unique_ptr<Faunlet> faunlet(reader.getFaunlet(n));
        if (!faunlet)
            break;
        last = faunlet->getName();
    }
    std::unique_ptr<Faunlet> found(reader.getFaunlet(last.toUtf8().toStdString()));
    const QString name = found ? found->getName() : last;
    for (int level : {0, 1, 2, 7, 16, 50, 100})
        freeMoves(reader.getSkills(name, level));
    return 0;
}

} // namespace fuzzbodies
