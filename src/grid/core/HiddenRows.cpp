#include "grid/core/HiddenRows.h"

#include <algorithm>

TGridItem::TGridItem() : FItems(std::make_unique<TStringList>()) {}

TGridItem::~TGridItem() = default;

int TGridItem::Idx() const
{
    return FOwner ? FOwner->FKeys[FPos] : 0;
}

void TGridItem::SetItems(TStrings *Value)
{
    FItems->Clear();
    if (!Value)
        return;
    for (int I = 0; I < Value->Count(); ++I)
        FItems->AddObject(Value->Strings(I), Value->Objects(I));
}

THiddenRows::~THiddenRows()
{
    Clear();
}

TGridItem *THiddenRows::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FItems[std::size_t(Index)];
}

TGridItem *THiddenRows::Insert(int Pos, int AIdx, int AHeight, int ALevel)
{
    Pos = std::clamp(Pos, 0, Count());
    auto Item = std::make_unique<TGridItem>();
    Item->Height = AHeight;
    Item->Level = ALevel;
    FItems.reserve(FItems.size() + 1);
    FKeys.reserve(FKeys.size() + 1);
    FSorted.reserve(FSorted.size() + 1);
    TGridItem *P = Item.release();
    FItems.insert(FItems.begin() + Pos, P);
    IndexInsert(P, AIdx);
    return P;
}

void THiddenRows::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        return;
    TGridItem *P = FItems[std::size_t(Index)];
    IndexErase(P);
    FItems.erase(FItems.begin() + Index);
    delete P;
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
    for (std::size_t I = FItems.size(); I-- > 0;)
        if (FItems[I] == Item)
            return static_cast<int>(I);
    return -1;
}

void THiddenRows::Clear()
{
    for (TGridItem *P : FItems)
        delete P;
    FItems.clear();
    FKeys.clear();
    FSorted.clear();
}

void THiddenRows::ClearLevel(int ALevel)
{
    std::vector<TGridItem *> Keep, Gone;
    Keep.reserve(FItems.size());
    for (TGridItem *P : FItems)
        (P->Level == ALevel ? Gone : Keep).push_back(P);
    if (Gone.empty())
        return;
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
        delete P;
}

void THiddenRows::SetIdx(TGridItem *Item, int Value)
{
    if (!Item || SortedPos(Item) == FSorted.size() || Item->Idx() == Value)
        return;
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
