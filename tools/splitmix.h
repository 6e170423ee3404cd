#ifndef SPLITMIX_H
#define SPLITMIX_H

#include <QtGlobal>

// splitmix64: tiny, fast and the same on every platform, unlike the std::
// engines whose distributions are implementation-defined. The generated data
// and pictures must not change with the library.
class SplitMix
{
public:
    explicit SplitMix(quint64 seed)
        : state(seed)
    {
    }

    quint64 next()
    {
        quint64 z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // 53 random bits keep the result exact in a double.
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    quint64 state;
};

#endif
