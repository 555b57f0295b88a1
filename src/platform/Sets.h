#pragma once
// A set of enumeration values, as the classic platform's set types (TShiftState, TGridOptions,
// TFontStyles, ...) are used: membership, union, difference and intersection.

#include <bitset>
#include <initializer_list>

template <typename E, std::size_t N = 128>
class TSet {
public:
    constexpr TSet() = default;
    TSet(std::initializer_list<E> items)
    {
        for (E e : items)
            FBits.set(static_cast<std::size_t>(e));
    }
    bool Contains(E e) const { return FBits.test(static_cast<std::size_t>(e)); }
    bool Empty() const { return FBits.none(); }
    TSet &operator<<(E e) { FBits.set(static_cast<std::size_t>(e)); return *this; }
    TSet &operator>>(E e) { FBits.reset(static_cast<std::size_t>(e)); return *this; }
    TSet &Include(E e) { return *this << e; }
    TSet &Exclude(E e) { return *this >> e; }
    TSet operator+(const TSet &o) const { TSet r; r.FBits = FBits | o.FBits; return r; }
    TSet operator-(const TSet &o) const { TSet r; r.FBits = FBits & ~o.FBits; return r; }
    TSet operator*(const TSet &o) const { TSet r; r.FBits = FBits & o.FBits; return r; }
    TSet &operator+=(const TSet &o) { FBits |= o.FBits; return *this; }
    TSet &operator-=(const TSet &o) { FBits &= ~o.FBits; return *this; }
    bool operator==(const TSet &o) const { return FBits == o.FBits; }
    bool operator!=(const TSet &o) const { return FBits != o.FBits; }
    // True when every member of this set is in the other.
    bool SubsetOf(const TSet &o) const { return (FBits & ~o.FBits).none(); }

private:
    std::bitset<N> FBits;
};
