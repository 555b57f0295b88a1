#pragma once
// A short text as a hash key, for the caches that look runs of text up on every paint.
//
// Qt's own string hash mixes two vector instruction sets and costs over a hundred nanoseconds a
// call on common processors, more than measuring a cached run is worth; these keys hash with a
// few multiplications over the UTF-16 units and compare with memcmp.

#include <QString>

#include <cstdint>
#include <cstring>

inline std::uint64_t HashTextUnits(const QChar *Data, qsizetype Size, std::uint64_t Seed = 0)
{
    std::uint64_t h = (Seed + 0x9E3779B97F4A7C15ull) ^ (static_cast<std::uint64_t>(Size) * 0xC2B2AE3D27D4EB4Full);
    qsizetype i = 0;
    for (; i + 4 <= Size; i += 4) {
        std::uint64_t w;
        std::memcpy(&w, Data + i, sizeof w);
        h = (h ^ w) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    for (; i < Size; ++i) {
        h = (h ^ Data[i].unicode()) * 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 29;
    }
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 33);
}

// A text and a number that tells apart the tables it is kept for (a font face, say).
struct TTextKey {
    std::uint64_t Tag = 0;
    QString Text;

    bool operator==(const TTextKey &Other) const
    {
        return Tag == Other.Tag && Text.size() == Other.Text.size() &&
               std::memcmp(Text.constData(), Other.Text.constData(), sizeof(QChar) * static_cast<size_t>(Text.size())) == 0;
    }
};

inline size_t qHash(const TTextKey &Key, size_t Seed = 0)
{
    return static_cast<size_t>(HashTextUnits(Key.Text.constData(), Key.Text.size(), Seed ^ Key.Tag));
}
