#ifndef FAUNTOME_FAUNDATAGEN_H
#define FAUNTOME_FAUNDATAGEN_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Synthetic creature data for the sample file, tests and benchmarks.
// Everything is derived from the seed alone, so the same (count, seed)
// always yields byte-identical output, and the first creatures of a large
// file match those of a smaller one (only the last family may be cut short).
namespace faundatagen {

// Writes a creature data file of `count` creatures numbered 1..count; deterministic for a given seed.
bool writeFile(const QString& path, int count, quint32 seed = 1);

// Same content in memory.
QByteArray generate(int count, quint32 seed = 1);

} // namespace faundatagen

#endif // FAUNTOME_FAUNDATAGEN_H
