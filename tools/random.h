#pragma once

#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace ferlin::sample {

// SplitMix64: a small generator whose output depends only on its seed, the same on every
// platform and standard library. Each part of the base draws from its own stream, so the
// vocabulary does not change with the number of references.
class Random {
public:
    Random(quint64 seed, quint64 stream)
        : m_state(seed * 0x9E3779B97F4A7C15ULL ^ (stream + 1) * 0xD1B54A32D192ED03ULL)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A whole number in [0, n), n > 0.
    int below(int n) { return int(((next() >> 32) * quint64(n)) >> 32); }
    // A whole number in [low, high].
    int between(int low, int high) { return low + below(high - low + 1); }
    // A number in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double probability) { return unit() < probability; }

    template <typename T> const T &pick(const std::vector<T> &items)
    {
        return items[size_t(below(int(items.size())))];
    }
    const QString &pick(const QStringList &items) { return items[below(int(items.size()))]; }
    // An index in [0, n) that favours the first ones (two uniform draws multiplied: the chance
    // of index k falls as ln(n / k)), for popular words and prolific authors.
    int skewed(int n) { return int(double(n) * unit() * unit()); }

private:
    quint64 m_state;
};

} // namespace ferlin::sample
