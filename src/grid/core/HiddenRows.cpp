#include "grid/core/HiddenRows.h"

#include <algorithm>
#include <new>

static_assert(sizeof(TGridItem) <= 32, "hidden rows come by the million");

TGridItem::~TGridItem()
{
    DropCells();
}

void TGridItem::DropCells() const
{
    if (IsParked()) {
        TGridStore::TRow *Row = ParkedRow();
        TGridStore::FreeRow(Row);
    } else {
        delete reinterpret_cast<TStringList *>(FCells);
    }
    FCells = 0;
}

TStringList *TGridItem::Items() const
{
    if (FCells && !IsParked())
        return reinterpret_cast<TStringList *>(FCells);
    auto L = std::make_unique<TStringList>();
    if (IsParked()) {
        const TGridStore::TRow *Row = ParkedRow();
        const int N = std::max(FWidth, TGridStore::Length(Row));
        L->SetCapacity(N);
        for (int C = 0; C < N; ++C)
            L->AddObject(TGridStore::Text(Row, C), TGridStore::Object(Row, C));
        // The texts share the row's block, which lives on as long as one of them does.
        DropCells();
    }
    FCells = reinterpret_cast<std::uintptr_t>(L.release());
    return reinterpret_cast<TStringList *>(FCells);
}

void TGridItem::Park(TGridStore::TRow *Cells, int Width)
{
    DropCells();
    FCells = ParkedTag(Cells);
    FWidth = Width;
}

bool TGridItem::Unpark(TGridStore::TRow *&Cells)
{
    if (!IsParked())
        return false;
    Cells = ParkedRow();
    FCells = 0;
    return true;
}

void TGridItem::Reset()
{
    DropCells();
    FWidth = 0;
    Height = 0;
    Level = 0;
    FOwner = nullptr;
    FPos = 0;
}

int TGridItem::Idx() const
{
    return FOwner ? FOwner->FKeys[FPos] : 0;
}

void TGridItem::SetItems(TStrings *Value)
{
    if (IsParked())
        DropCells();
    TStringList *L = Items();
    L->Clear();
    if (!Value)
        return;
    for (int I = 0; I < Value->Count(); ++I)
        L->AddObject(Value->Strings(I), Value->Objects(I));
}

THiddenRows::~THiddenRows()
{
    Clear();
}

TGridItem *THiddenRows::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return StoreOrder()[std::size_t(Index)];
}

void THiddenRows::KeepStoreOrder()
{
    if (!FInSortedOrder)
        return;
    FItems.assign(FSorted.begin(), FSorted.end());
    FInSortedOrder = false;
}

TGridItem *THiddenRows::Insert(int Pos, int AIdx, int AHeight, int ALevel)
{
    Pos = std::clamp(Pos, 0, Count());
    // Room first, so that nothing below throws once the item is out of its owner.
    Reserve(1);
    TGridItem *P = TakeItem();
    P->Height = AHeight;
    P->Level = ALevel;
    if (FInSortedOrder && std::upper_bound(FKeys.begin(), FKeys.end(), AIdx) - FKeys.begin() != Pos)
        KeepStoreOrder();
    if (!FInSortedOrder)
        FItems.insert(FItems.begin() + Pos, P);
    IndexInsert(P, AIdx);
    return P;
}

void THiddenRows::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    TGridItem *P = StoreOrder()[std::size_t(Index)];
    IndexErase(P);
    if (!FInSortedOrder)
        FItems.erase(FItems.begin() + Index);
    FreeItem(P);
}

void THiddenRows::Remove(TGridItem *Item)
{
    Delete(IndexOf(Item));
}

int THiddenRows::IndexOf(const TGridItem *Item) const
{
    if (!Item)
        return -1;
    // Items are usually taken from near the end (filter levels) or found by Idx; the sorted
    // position tells whether the item is ours before the walk.
    if (SortedPos(Item) == FSorted.size())
        return -1;
    if (FInSortedOrder)
        return static_cast<int>(SortedPos(Item));
    for (std::size_t I = FItems.size(); I-- > 0;)
        if (FItems[I] == Item)
            return static_cast<int>(I);
    return -1;
}

void THiddenRows::Clear()
{
    for (TGridItem *P : StoreOrder())
        FreeItem(P);
    FItems.clear();
    FInSortedOrder = true;
    FKeys.clear();
    FSorted.clear();
    ReleaseSlabsIfEmpty();
}

void THiddenRows::ClearLevel(int ALevel)
{
    const std::vector<TGridItem *> &Order = StoreOrder();
    if (std::all_of(Order.begin(), Order.end(), [ALevel](const TGridItem *P) { return P->Level == ALevel; })) {
        // The last level goes: nothing to sort out.
        for (TGridItem *P : Order)
            FreeItem(P);
        FItems.clear();
        FInSortedOrder = true;
        FKeys.clear();
        FSorted.clear();
        return;
    }
    std::vector<TGridItem *> Keep, Gone;
    if (!FInSortedOrder)
        Keep.reserve(FItems.size());
    for (TGridItem *P : Order) {
        if (P->Level == ALevel)
            Gone.push_back(P);
        else if (!FInSortedOrder)
            Keep.push_back(P);
    }
    if (Gone.empty())
        return;
    if (!FInSortedOrder)
        FItems.swap(Keep);
    // One pass rebuilds the index: the survivors keep their sorted order.
    std::size_t Out = 0;
    for (std::size_t I = 0; I < FSorted.size(); ++I) {
        if (FSorted[I]->Level == ALevel)
            continue;
        FKeys[Out] = FKeys[I];
        FSorted[Out] = FSorted[I];
        ++Out;
    }
    FKeys.resize(Out);
    FSorted.resize(Out);
    Renumber(0);
    for (TGridItem *P : Gone)
        FreeItem(P);
    // The level that parted the two orders may have gone.
    if (!FInSortedOrder && FItems == FSorted) {
        FItems.clear();
        FInSortedOrder = true;
    }
}

void THiddenRows::AddSorted(const std::vector<int> &AIdx, const std::vector<int> &AHeights, int ALevel,
                            std::vector<TGridItem *> &Out)
{
    Out.clear();
    // Everything that can fail comes first, so that the store is never left half changed.
    Out.reserve(AIdx.size());
    Reserve(AIdx.size());
    Append(AIdx, AHeights, 0, ALevel, nullptr, 0);
    const std::vector<TGridItem *> &Order = StoreOrder();
    Out.assign(Order.end() - std::ptrdiff_t(AIdx.size()), Order.end());
}

void THiddenRows::AddParked(const std::vector<int> &AIdx, const std::vector<int> &AHeights, int AHeight,
                            int ALevel, const std::vector<TGridStore::TRow *> &Cells, int Width)
{
    Reserve(AIdx.size());
    Append(AIdx, AHeights, AHeight, ALevel, &Cells, Width);
}

void THiddenRows::Reserve(std::size_t ACount)
{
    // Grown by doubling at least, so that many small bulk adds stay linear.
    auto room = [ACount](auto &V) {
        if (V.size() + ACount > V.capacity())
            V.reserve(std::max(V.size() + ACount, 2 * V.capacity()));
    };
    room(FKeys);
    room(FSorted);
    // The store's order may have to be kept apart: room for it, which costs no memory unused.
    if (FSorted.size() + ACount > FItems.capacity())
        FItems.reserve(std::max(FSorted.size() + ACount, 2 * FItems.capacity()));
    ReserveItems(ACount);
}

void THiddenRows::ReserveItems(std::size_t ACount)
{
    const std::size_t Spare = FFree.size() + (FSlabs.empty() ? 0 : FSlabs.back().Size - FSlabs.back().Made);
    if (Spare >= ACount)
        return;
    // One slab for all that is missing, at least as large as all before it.
    const std::size_t Size = std::max({std::size_t(64), FSlabItems, ACount - Spare});
    FFree.reserve(FSlabItems + Size);
    FSlabs.reserve(FSlabs.size() + 1);
    auto *Room = static_cast<TGridItem *>(::operator new(Size * sizeof(TGridItem)));
    // What the last slab has not handed out yet goes to the free list, which has room for it.
    if (!FSlabs.empty()) {
        TSlab &Last = FSlabs.back();
        for (; Last.Made < Last.Size; ++Last.Made)
            FFree.push_back(new (Last.Items + Last.Made) TGridItem);
    }
    FSlabs.push_back(TSlab{Room, Size, 0});
    FSlabItems += Size;
}

void THiddenRows::Append(const std::vector<int> &AIdx, const std::vector<int> &AHeights, int AHeight,
                         int ALevel, const std::vector<TGridStore::TRow *> *Cells, int Width)
{
    const std::size_t M = AIdx.size();
    if (M == 0)
        return;
    const std::size_t N = FKeys.size();
    const bool InOrder = N == 0 || FKeys.back() <= AIdx.front();
    if (!InOrder)
        KeepStoreOrder();
    const std::size_t Cut = Cells ? std::min(M, Cells->size()) : 0;
    // One pass fills the items and, for rows that all lie above the hidden ones (the usual case
    // of a first filter), the sorted index too.
    for (std::size_t I = 0; I < M; ++I) {
        if (FFree.size() > 16)
            __builtin_prefetch(FFree[FFree.size() - 16], 1);
        TGridItem *P = TakeItem();
        P->Height = I < AHeights.size() ? AHeights[I] : AHeight;
        P->Level = ALevel;
        P->FOwner = this;
        P->FPos = std::uint32_t(N + I);
        if (Cells) {
            P->FCells = TGridItem::ParkedTag(I < Cut ? (*Cells)[I] : nullptr);
            P->FWidth = Width;
        }
        if (!FInSortedOrder)
            FItems.push_back(P);
        if (InOrder) {
            FKeys.push_back(AIdx[I]);
            FSorted.push_back(P);
        }
    }
    if (InOrder)
        return;
    // Merged from the back; a new row ties after the rows already there, as one insert would.
    TGridItem *const *Out = FItems.data() + (FItems.size() - M);
    FKeys.resize(N + M);
    FSorted.resize(N + M);
    std::size_t I = N, J = M, K = N + M;
    while (J > 0) {
        --K;
        if (I > 0 && FKeys[I - 1] > AIdx[J - 1]) {
            --I;
            FKeys[K] = FKeys[I];
            FSorted[K] = FSorted[I];
        } else {
            --J;
            FKeys[K] = AIdx[J];
            FSorted[K] = Out[J];
        }
    }
    Renumber(K);
}

TGridItem *THiddenRows::TakeItem()
{
    if (!FFree.empty()) {
        TGridItem *P = FFree.back();
        FFree.pop_back();
        return P;
    }
    TSlab &Last = FSlabs.back();
    return new (Last.Items + Last.Made++) TGridItem;
}

void THiddenRows::FreeItem(TGridItem *Item)
{
    Item->Reset();
    FFree.push_back(Item);
}

void THiddenRows::ReleaseSlabsIfEmpty()
{
    if (Count() > 0)
        return;
    FFree.clear();
    FFree.shrink_to_fit();
    for (TSlab &S : FSlabs) {
        for (std::size_t I = 0; I < S.Made; ++I)
            S.Items[I].~TGridItem();
        ::operator delete(S.Items);
    }
    FSlabs.clear();
    FSlabItems = 0;
}

void THiddenRows::SetIdx(TGridItem *Item, int Value)
{
    if (!Item || SortedPos(Item) == FSorted.size() || Item->Idx() == Value)
        return;
    // The item may move in the sorted order; the store's order stays.
    KeepStoreOrder();
    IndexErase(Item);
    IndexInsert(Item, Value);
}

bool THiddenRows::IsHidden(int ARealRow) const
{
    return std::binary_search(FKeys.begin(), FKeys.end(), ARealRow);
}

TGridItem *THiddenRows::Find(int ARealRow) const
{
    auto It = std::lower_bound(FKeys.begin(), FKeys.end(), ARealRow);
    if (It == FKeys.end() || *It != ARealRow)
        return nullptr;
    return FSorted[std::size_t(It - FKeys.begin())];
}

int THiddenRows::CountBelow(int ARealRow) const
{
    return static_cast<int>(std::lower_bound(FKeys.begin(), FKeys.end(), ARealRow) - FKeys.begin());
}

int THiddenRows::CountIn(int From, int To) const
{
    if (To < From)
        return 0;
    auto Lo = std::lower_bound(FKeys.begin(), FKeys.end(), From);
    auto Hi = std::upper_bound(Lo, FKeys.end(), To);
    return static_cast<int>(Hi - Lo);
}

int THiddenRows::DisplToReal(int ADisplRow) const
{
    if (FKeys.empty())
        return ADisplRow;
    // With distinct sorted keys s[k], s[k] - k (the shown rows before s[k]) never falls, so the
    // hidden rows before the wanted one are those with s[k] - k <= D.
    std::size_t Lo = 0, Hi = FKeys.size();
    while (Lo < Hi) {
        std::size_t Mid = Lo + (Hi - Lo) / 2;
        if (FKeys[Mid] - static_cast<int>(Mid) <= ADisplRow)
            Lo = Mid + 1;
        else
            Hi = Mid;
    }
    return ADisplRow + static_cast<int>(Lo);
}

void THiddenRows::DisplToRealAscending(const std::vector<int> &ADisplRows, std::vector<int> &ARealRows) const
{
    ARealRows.resize(ADisplRows.size());
    // As in DisplToReal: the hidden rows before display row D are those with s[k] - k <= D,
    // and their number only grows with D.
    std::size_t K = 0;
    for (std::size_t I = 0; I < ADisplRows.size(); ++I) {
        const int D = ADisplRows[I];
        while (K < FKeys.size() && FKeys[K] - static_cast<int>(K) <= D)
            ++K;
        ARealRows[I] = D + static_cast<int>(K);
    }
}

void THiddenRows::Shift(int From, int Delta)
{
    if (Delta == 0)
        return;
    auto First = std::lower_bound(FKeys.begin(), FKeys.end(), From);
    std::size_t I = std::size_t(First - FKeys.begin());
    for (std::size_t J = I; J < FKeys.size(); ++J)
        FKeys[J] += Delta;
}

void THiddenRows::CloseUp(int From, int To)
{
    if (To < From)
        return;
    std::size_t I = std::size_t(std::lower_bound(FKeys.begin(), FKeys.end(), From) - FKeys.begin());
    int Next = From;
    for (; I < FKeys.size() && FKeys[I] <= To; ++I)
        FKeys[I] = Next++;
    // Next - From hidden rows lay inside the range; the rest of it was shown and went.
    const int Gone = (To - From + 1) - (Next - From);
    for (; I < FKeys.size(); ++I)
        FKeys[I] -= Gone;
}

void THiddenRows::CloseUpRows(const std::vector<int> &Real)
{
    std::size_t K = 0;
    for (int &Key : FKeys) {
        while (K < Real.size() && Real[K] < Key)
            ++K;
        Key -= static_cast<int>(K);
    }
}

void THiddenRows::IndexInsert(TGridItem *Item, int AIdx)
{
    std::size_t I = std::size_t(std::upper_bound(FKeys.begin(), FKeys.end(), AIdx) - FKeys.begin());
    FKeys.insert(FKeys.begin() + std::ptrdiff_t(I), AIdx);
    FSorted.insert(FSorted.begin() + std::ptrdiff_t(I), Item);
    Item->FOwner = this;
    Renumber(I);
}

void THiddenRows::IndexErase(const TGridItem *Item)
{
    std::size_t I = SortedPos(Item);
    if (I == FSorted.size())
        return;
    FKeys.erase(FKeys.begin() + std::ptrdiff_t(I));
    FSorted.erase(FSorted.begin() + std::ptrdiff_t(I));
    Renumber(I);
}

void THiddenRows::Renumber(std::size_t From)
{
    for (std::size_t I = From; I < FSorted.size(); ++I)
        FSorted[I]->FPos = I;
}
