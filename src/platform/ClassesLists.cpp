#include "platform/Classes.h"

#include <algorithm>
#include <iterator>

// ---------------------------------------------------------------------------------------------
// TList

TList::~TList()
{
    Clear();
}

void TList::Error(const char *Fmt, int Data)
{
    throw EListError(QString::fromLatin1(Fmt).arg(Data));
}

int TList::Add(void *Item)
{
    FList.push_back(Item);
    if (Item)
        Notify(Item, lnAdded);
    return Count() - 1;
}

void TList::Insert(int Index, void *Item)
{
    if (Index < 0 || Index > Count())
        Error(SListIndexError, Index);
    FList.insert(FList.begin() + Index, Item);
    if (Item)
        Notify(Item, lnAdded);
}

void TList::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
    void *item = FList[static_cast<std::size_t>(Index)];
    FList.erase(FList.begin() + Index);
    if (item)
        Notify(item, lnDeleted);
}

int TList::Remove(void *Item)
{
    const int index = IndexOf(Item);
    if (index >= 0)
        Delete(index);
    return index;
}

void *TList::Extract(void *Item)
{
    const int index = IndexOf(Item);
    if (index < 0)
        return nullptr;
    void *item = FList[static_cast<std::size_t>(index)];
    FList.erase(FList.begin() + index);
    Notify(item, lnExtracted);
    return item;
}

int TList::IndexOf(void *Item) const
{
    const auto it = std::find(FList.begin(), FList.end(), Item);
    return it == FList.end() ? -1 : static_cast<int>(it - FList.begin());
}

void TList::Exchange(int Index1, int Index2)
{
    if (Index1 < 0 || Index1 >= Count())
        Error(SListIndexError, Index1);
    if (Index2 < 0 || Index2 >= Count())
        Error(SListIndexError, Index2);
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    if (NewIndex < 0 || NewIndex >= Count())
        Error(SListIndexError, NewIndex);
    if (CurIndex < 0 || CurIndex >= Count())
        Error(SListIndexError, CurIndex);
    void *item = FList[static_cast<std::size_t>(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
}

void TList::Clear()
{
    // Each removal is notified, so a derived list that owns its items frees them here.
    while (!FList.empty()) {
        void *item = FList.back();
        FList.pop_back();
        if (item)
            Notify(item, lnDeleted);
    }
    FList.shrink_to_fit();
}

void *TList::First() const
{
    return Items(0);
}

void *TList::Last() const
{
    return Items(Count() - 1);
}

void TList::Pack()
{
    FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(const TListSortCompare &Compare)
{
    if (FList.size() > 1 && Compare)
        std::stable_sort(FList.begin(), FList.end(), [&](void *a, void *b) { return Compare(a, b) < 0; });
}

void TList::SetCount(int NewCount)
{
    if (NewCount < 0)
        Error("List count out of bounds (%1)", NewCount);
    if (NewCount > Count()) {
        FList.resize(static_cast<std::size_t>(NewCount), nullptr);
        return;
    }
    while (Count() > NewCount)
        Delete(Count() - 1);
}

void TList::SetCapacity(int NewCapacity)
{
    if (NewCapacity < Count())
        Error("List capacity out of bounds (%1)", NewCapacity);
    if (static_cast<std::size_t>(NewCapacity) > FList.capacity())
        FList.reserve(static_cast<std::size_t>(NewCapacity));
    else
        FList.shrink_to_fit();
}

void *TList::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
    return FList[static_cast<std::size_t>(Index)];
}

void TList::SetItems(int Index, void *Item)
{
    if (Index < 0 || Index >= Count())
        Error(SListIndexError, Index);
    void *old = FList[static_cast<std::size_t>(Index)];
    if (old == Item)
        return;
    FList[static_cast<std::size_t>(Index)] = Item;
    if (old)
        Notify(old, lnDeleted);
    if (Item)
        Notify(Item, lnAdded);
}

// ---------------------------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection *Collection)
{
    SetCollection(Collection);
}

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection *Value)
{
    if (FCollection == Value)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (Value)
        Value->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    const auto &items = FCollection->FItems;
    const auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value)
{
    const int current = Index();
    if (current < 0 || Value < 0 || current == Value)
        return;
    auto &items = FCollection->FItems;
    if (Value >= static_cast<int>(items.size()))
        throw EListError(QString::fromLatin1(SListIndexError).arg(Value));
    items.erase(items.begin() + current);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

UnicodeString TCollectionItem::DisplayName() const
{
    return ClassName();
}

void TCollectionItem::SetDisplayName(const UnicodeString &Value)
{
    Changed(false);
}

void TCollectionItem::Changed(bool AllItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(AllItems ? nullptr : this);
}

TPersistent *TCollectionItem::GetOwner()
{
    return FCollection;
}

// ---------------------------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass))
{
}

TCollection::~TCollection()
{
    // No Update calls while the collection goes away.
    FUpdateCount = 1;
    while (!FItems.empty())
        delete FItems.back();
}

TCollectionItem *TCollection::Add()
{
    if (!FItemClass)
        throw EInvalidOperation(QStringLiteral("Collection has no item class"));
    TCollectionItem *item = FItemClass(this);
    if (item && item->FCollection != this)
        item->SetCollection(this);
    return item;
}

TCollectionItem *TCollection::Insert(int Index)
{
    TCollectionItem *item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index)
{
    TCollectionItem *item = Items(Index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    try {
        while (!FItems.empty())
            delete FItems.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem *TCollection::FindItemID(int ID) const
{
    for (TCollectionItem *item : FItems)
        if (item->FID == ID)
            return item;
    return nullptr;
}

void TCollection::Assign(TPersistent *Source)
{
    auto *source = dynamic_cast<TCollection *>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem *item : source->FItems)
            Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    Changed();
}

TCollectionItem *TCollection::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
    return FItems[static_cast<std::size_t>(Index)];
}

void TCollection::SetItems(int Index, TCollectionItem *Value)
{
    Items(Index)->Assign(Value);
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem *Item)
{
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    SetItemName(Item);
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem *Item)
{
    Notify(Item, cnExtracting);
    // Sought from the back: a collection that frees its items frees the last one first, which
    // is then found at once, so that freeing many items stays one pass.
    const auto it = std::find(FItems.rbegin(), FItems.rend(), Item);
    if (it != FItems.rend())
        FItems.erase(std::next(it).base());
    Item->FCollection = nullptr;
    Changed();
}
