#pragma once
// The store of hidden rows of the string grid.
//
// A hidden row leaves the platform grid and lives here as a TGridItem: its cells (one string and
// object per real column), its height, its index and the filter level that hid it. The items keep
// the order in which the grid put them (the single-row operations keep it ascending by Idx, a
// filter level appends its rows), because undoing a filter level walks them from the end.
//
// Beside that order the store keeps every Idx in a sorted array, so that the questions asked on
// every cell access (is this real row hidden, which real row is this display row, which display
// row is this real row, which item holds this row) are binary searches over a compact array of
// integers rather than walks over the rows. Moving the rows behind an inserted or removed row is
// one pass over the tail of that array.

#include "platform/Classes.h"
#include "platform/GridStore.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class THiddenRows;

class TGridItem {
public:
    TGridItem() = default;
    ~TGridItem();
    TGridItem(const TGridItem &) = delete;
    TGridItem &operator=(const TGridItem &) = delete;

    // The real row index (for a filter level: the display index when it was hidden).
    int Idx() const;
    int Height = 0;
    // 0 for rows hidden directly, else the filter level that hid the row.
    int Level = 0;
    // The row's cells: strings with their objects. The objects stay the grid's.
    TStringList *Items() const;
    // Copies the other list's strings and objects (the objects are shared, not copied).
    void SetItems(TStrings *Value);

    // A row hidden in bulk keeps its cells as the grid's store held them, at least Width cells
    // wide; they become a list only when somebody asks for Items. The item owns them.
    void Park(TGridStore::TRow *Cells, int Width);
    // Hands the parked cells back (null cells are a row that held nothing); false when the cells
    // are a list by now, which the caller copies instead.
    bool Unpark(TGridStore::TRow *&Cells);

private:
    friend class THiddenRows;
    void Reset();
    // Frees the cells, whichever form they have.
    void DropCells() const;
    bool IsParked() const { return (FCells & 1u) != 0; }
    TGridStore::TRow *ParkedRow() const { return reinterpret_cast<TGridStore::TRow *>(FCells & ~std::uintptr_t(1)); }
    static std::uintptr_t ParkedTag(TGridStore::TRow *Cells) { return reinterpret_cast<std::uintptr_t>(Cells) | 1u; }
    // A million hidden rows are a million items: they stay small. The index lives in the store's
    // sorted array, so that moving rows touches that array only; an item knows its place there.
    const THiddenRows *FOwner = nullptr;
    // The cells: a list (the low bit clear; zero while there is none) or a row parked as the
    // store held it (the low bit set; the rest null for a row that held nothing).
    mutable std::uintptr_t FCells = 0;
    std::uint32_t FPos = 0;
    mutable int FWidth = 0;
};

class THiddenRows {
public:
    THiddenRows() = default;
    ~THiddenRows();
    THiddenRows(const THiddenRows &) = delete;
    THiddenRows &operator=(const THiddenRows &) = delete;

    int Count() const { return static_cast<int>(FSorted.size()); }
    // The item at a position of the store's own order.
    TGridItem *Items(int Index) const;

    // A new item at the end or at a position of the store's order (clipped to 0..Count).
    TGridItem *Add(int AIdx, int AHeight = 0, int ALevel = 0) { return Insert(Count(), AIdx, AHeight, ALevel); }
    TGridItem *Insert(int Pos, int AIdx, int AHeight = 0, int ALevel = 0);
    // Frees the item at a position of the store's order; out of range does nothing.
    void Delete(int Index);
    // Frees the given item; an item of another store does nothing.
    void Remove(TGridItem *Item);
    // Position of the item in the store's order, -1 when it is not here.
    int IndexOf(const TGridItem *Item) const;
    void Clear();
    // Frees the items of one filter level.
    void ClearLevel(int ALevel);
    // Appends one item per row, all of one level, in the order given, and hands them out in
    // Out. AIdx must ascend; the sorted index takes them in one merge, so that hiding many
    // rows stays linear.
    void AddSorted(const std::vector<int> &AIdx, const std::vector<int> &AHeights, int ALevel,
                   std::vector<TGridItem *> &Out);
    // Hiding many rows in two steps, so that nothing can fail once the rows have left the grid:
    // Reserve makes room for ACount more items; AddParked then adds one item per row as AddSorted
    // does, parks Cells[i] (at least Width cells wide; null past the end of Cells) in the i-th,
    // and cannot fail when no more rows come than were reserved.
    void Reserve(std::size_t ACount);
    // Rows past the end of AHeights get AHeight.
    void AddParked(const std::vector<int> &AIdx, const std::vector<int> &AHeights, int AHeight, int ALevel,
                   const std::vector<TGridStore::TRow *> &Cells, int Width);

    // Changes an item's Idx; the sorted index follows.
    void SetIdx(TGridItem *Item, int Value);

    // ---- questions by index, O(log n) ----
    bool IsHidden(int ARealRow) const;
    // The first item (in sorted order) whose Idx is ARealRow, nullptr when there is none.
    TGridItem *Find(int ARealRow) const;
    // Number of items whose Idx lies below ARealRow.
    int CountBelow(int ARealRow) const;
    // Number of items whose Idx lies in From..To.
    int CountIn(int From, int To) const;
    // Display row of a real row: the real row less the hidden rows before it.
    int RealToDispl(int ARealRow) const { return ARealRow - CountBelow(ARealRow); }
    // Real row of a display row: the (D + 1)-th real row that is not hidden.
    int DisplToReal(int ADisplRow) const;
    // DisplToReal of each of the given display rows, which ascend, in one walk.
    void DisplToRealAscending(const std::vector<int> &ADisplRows, std::vector<int> &ARealRows) const;
    // The hidden real rows in ascending order.
    const std::vector<int> &SortedIdx() const { return FKeys; }
    // The item at a position of the sorted order (ascending Idx), nullptr out of range.
    TGridItem *SortedItem(int Index) const
    {
        return Index < 0 || std::size_t(Index) >= FSorted.size() ? nullptr : FSorted[std::size_t(Index)];
    }

    // Adds Delta to the Idx of every item whose Idx is at least From: rows inserted or removed
    // before them. Removing rows N rows at R is Shift (R + N, -N) after the items of the removed
    // rows are taken out, so that the order holds.
    void Shift(int From, int Delta);
    // The shown rows of the real range From..To left the grid: the hidden rows inside the range
    // close up from From on, in their order, and those after it move up by the shown rows that
    // went. One pass over the items from From on; the order holds.
    void CloseUp(int From, int To);
    // The shown real rows listed (ascending) left the grid: every hidden row moves up by those of
    // them that lay before it. One pass over the items.
    void CloseUpRows(const std::vector<int> &Real);

private:
    // Position in the sorted arrays of the given item.
    std::size_t SortedPos(const TGridItem *Item) const { return Item->FOwner == this ? Item->FPos : FSorted.size(); }
    void IndexInsert(TGridItem *Item, int AIdx);
    void Renumber(std::size_t From);
    void IndexErase(const TGridItem *Item);
    // Items come from slabs, so that hiding a million rows is not a million allocations; a freed
    // item goes back to the free list, where the next filter finds it, and the slabs go with
    // Clear. An item is made when a slab first hands it out, so that a large slab is written
    // once, by the add that needs it.

    // Makes sure that ACount items can be taken without allocating.
    void ReserveItems(std::size_t ACount);
    // The next item of those ReserveItems made sure of.
    TGridItem *TakeItem();
    void FreeItem(TGridItem *Item);
    // The core of the bulk adds; the room is there. The new items are the last of the store's
    // order.
    void Append(const std::vector<int> &AIdx, const std::vector<int> &AHeights, int AHeight, int ALevel,
                const std::vector<TGridStore::TRow *> *Cells, int Width);
    void ReleaseSlabsIfEmpty();
    struct TSlab {
        TGridItem *Items = nullptr; // room for Size items, of which the first Made are made
        std::size_t Size = 0;
        std::size_t Made = 0;
    };
    std::vector<TSlab> FSlabs;
    std::vector<TGridItem *> FFree;
    std::size_t FSlabItems = 0; // items in all slabs

    // The store's order. Mostly it is the sorted order (a first filter, rows hidden one by one
    // in ascending order): then FInSortedOrder holds, FItems stays empty and FSorted serves.
    std::vector<TGridItem *> FItems;
    bool FInSortedOrder = true;
    // The store's order is about to part from the sorted one: FItems takes it over. The room
    // for Count() items and those to come must be there.
    void KeepStoreOrder();
    // The store's order as a list, whichever holds it.
    const std::vector<TGridItem *> &StoreOrder() const { return FInSortedOrder ? FSorted : FItems; }
    friend class TGridItem;
    // Sorted by Idx (ties in insertion order); FKeys[i] is FSorted[i]->Idx(), and
    // FSorted[i]->FPos is i.
    std::vector<int> FKeys;
    std::vector<TGridItem *> FSorted;
};
