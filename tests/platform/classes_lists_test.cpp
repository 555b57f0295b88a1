#include "platform/Classes.h"

#include <gtest/gtest.h>

namespace {

int V(void *p)
{
    return static_cast<int>(reinterpret_cast<std::intptr_t>(p));
}

void *P(int v)
{
    return reinterpret_cast<void *>(static_cast<std::intptr_t>(v));
}

std::vector<int> Values(const TList &list)
{
    std::vector<int> r;
    for (int i = 0; i < list.Count(); ++i)
        r.push_back(V(list.Items(i)));
    return r;
}

TEST(List, EditsKeepOrder)
{
    TList list;
    EXPECT_EQ(list.Add(P(1)), 0);
    EXPECT_EQ(list.Add(P(2)), 1);
    list.Add(P(3));
    list.Insert(0, P(9));
    EXPECT_EQ(Values(list), std::vector<int>({9, 1, 2, 3}));
    list.Exchange(0, 3);
    EXPECT_EQ(Values(list), std::vector<int>({3, 1, 2, 9}));
    list.Move(3, 1);
    EXPECT_EQ(Values(list), std::vector<int>({3, 9, 1, 2}));
    list.Move(0, 3);
    EXPECT_EQ(Values(list), std::vector<int>({9, 1, 2, 3}));
    EXPECT_EQ(list.Remove(P(2)), 2);
    EXPECT_EQ(list.Remove(P(42)), -1);
    EXPECT_EQ(list.IndexOf(P(3)), 2);
    EXPECT_EQ(V(list.First()), 9);
    EXPECT_EQ(V(list.Last()), 3);
    list.Delete(0);
    list.Sort([](void *a, void *b) { return V(b) - V(a); });
    EXPECT_EQ(Values(list), std::vector<int>({3, 1}));

    list.SetCount(4);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Items(3), nullptr);
    list.SetItems(2, P(5));
    list.Pack();
    EXPECT_EQ(Values(list), std::vector<int>({3, 1, 5}));
    list.SetCapacity(100);
    EXPECT_GE(list.Capacity(), 100);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(List, BadIndexRaisesListError)
{
    TList list;
    list.Add(P(1));
    const struct {
        const char *what;
        std::function<void()> call;
        int index;
    } cases[] = {
        {"Items", [&] { (void)list.Items(1); }, 1},
        {"Delete", [&] { list.Delete(-1); }, -1},
        {"Insert", [&] { list.Insert(2, nullptr); }, 2},
        {"Exchange", [&] { list.Exchange(0, 5); }, 5},
        {"Move", [&] { list.Move(0, 3); }, 3},
        {"SetItems", [&] { list.SetItems(4, nullptr); }, 4},
    };
    for (const auto &c : cases) {
        try {
            c.call();
            ADD_FAILURE() << c.what;
        } catch (const EListError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (%1)").arg(c.index)) << c.what;
        }
    }
    EXPECT_THROW(TList().First(), EListError);
    EXPECT_EQ(Values(list), std::vector<int>({1}));
}

// A list that owns its items, as derived lists do through Notify.
class TOwningList : public TList {
public:
    ~TOwningList() override { Clear(); }
    std::vector<std::pair<int, TListNotification>> Log;

protected:
    void Notify(void *Ptr, TListNotification Action) override { Log.emplace_back(V(Ptr), Action); }
};

TEST(List, NotifiesAddsDeletesAndExtractions)
{
    TOwningList list;
    list.Add(P(1));
    list.Add(P(2));
    list.Add(nullptr);
    EXPECT_EQ(V(list.Extract(P(1))), 1);
    list.Delete(0);
    const std::vector<std::pair<int, TListNotification>> expected = {{1, lnAdded}, {2, lnAdded}, {1, lnExtracted}, {2, lnDeleted}};
    EXPECT_EQ(list.Log, expected);
}

// ---------------------------------------------------------------------------------------------
// Collections

class TButtonItem : public TCollectionItem {
public:
    explicit TButtonItem(TCollection *c) : TCollectionItem(c) { ++Alive; }
    ~TButtonItem() override { --Alive; }
    void Assign(TPersistent *Source) override
    {
        if (auto *b = dynamic_cast<TButtonItem *>(Source)) {
            Caption = b->Caption;
            Width = b->Width;
            return;
        }
        TCollectionItem::Assign(Source);
    }
    void SetWidth(int w)
    {
        Width = w;
        Changed(false);
    }
    UnicodeString Caption;
    int Width = 0;
    static int Alive;
};
int TButtonItem::Alive = 0;

class TButtons : public TOwnedCollection {
public:
    explicit TButtons(TPersistent *owner) : TOwnedCollection(owner, CollectionItemClass<TButtonItem>()) {}
    TButtonItem *Button(int i) const { return static_cast<TButtonItem *>(Items(i)); }
    std::vector<TCollectionItem *> Updates;
    std::vector<std::pair<int, TCollectionNotification>> Notes;

protected:
    void Update(TCollectionItem *Item) override { Updates.push_back(Item); }
    void Notify(TCollectionItem *Item, TCollectionNotification Action) override { Notes.emplace_back(Item->ID(), Action); }
};

TEST(Collection, ItemsKnowTheirIndexAndId)
{
    TComponent owner(nullptr);
    {
        TButtons buttons(&owner);
        EXPECT_EQ(buttons.Owner(), &owner);
        auto *a = buttons.Add();
        auto *b = buttons.Add();
        auto *c = buttons.Insert(0);
        EXPECT_EQ(buttons.Count(), 3);
        EXPECT_EQ(c->Index(), 0);
        EXPECT_EQ(a->Index(), 1);
        EXPECT_EQ(b->Index(), 2);
        EXPECT_EQ(a->ID(), 0);
        EXPECT_EQ(c->ID(), 2);
        EXPECT_EQ(buttons.FindItemID(1), b);
        EXPECT_EQ(a->Collection(), &buttons);

        b->SetIndex(0);
        EXPECT_EQ(buttons.Items(0), b);
        buttons.Delete(1); // c
        EXPECT_EQ(buttons.Count(), 2);
        EXPECT_EQ(TButtonItem::Alive, 2);
        EXPECT_EQ(buttons.FindItemID(2), nullptr);
        delete a; // an item freed on its own leaves the collection
        EXPECT_EQ(buttons.Count(), 1);
        EXPECT_THROW(buttons.Items(1), EListError);
    }
    EXPECT_EQ(TButtonItem::Alive, 0);
}

TEST(Collection, UpdatesWaitForEndUpdate)
{
    TButtons buttons(nullptr);
    auto *a = static_cast<TButtonItem *>(buttons.Add());
    buttons.Updates.clear();
    a->SetWidth(10);
    ASSERT_EQ(buttons.Updates.size(), 1u);
    EXPECT_EQ(buttons.Updates[0], a);

    buttons.Updates.clear();
    buttons.BeginUpdate();
    buttons.Add();
    a->SetWidth(20);
    buttons.Delete(1);
    EXPECT_TRUE(buttons.Updates.empty());
    buttons.EndUpdate();
    ASSERT_EQ(buttons.Updates.size(), 1u);
    EXPECT_EQ(buttons.Updates[0], nullptr);

    const std::vector<std::pair<int, TCollectionNotification>> notes = {
        {0, cnAdded}, {1, cnAdded}, {1, cnDeleting}, {1, cnExtracting}};
    EXPECT_EQ(buttons.Notes, notes);
}

TEST(Collection, ClearExtractsEveryItemOnceFromTheLastAndUpdatesOnce)
{
    TButtons buttons(nullptr);
    for (int i = 0; i < 4; ++i)
        buttons.Add();
    buttons.Notes.clear();
    buttons.Updates.clear();
    buttons.Clear();
    const std::vector<std::pair<int, TCollectionNotification>> notes = {
        {3, cnExtracting}, {2, cnExtracting}, {1, cnExtracting}, {0, cnExtracting}};
    EXPECT_EQ(buttons.Notes, notes);
    EXPECT_EQ(buttons.Updates, std::vector<TCollectionItem *>{nullptr});
    EXPECT_EQ(buttons.Count(), 0);
    EXPECT_EQ(TButtonItem::Alive, 0);
}

TEST(Collection, AssignCopiesItemsThroughTheirAssign)
{
    TButtons source(nullptr);
    for (int i = 0; i < 3; ++i) {
        auto *b = static_cast<TButtonItem *>(source.Add());
        b->Caption = QStringLiteral("B%1").arg(i);
        b->Width = 10 * i;
    }
    TButtons dest(nullptr);
    dest.Add();
    dest.Add();
    dest.Add();
    dest.Add();
    dest.Assign(&source);
    ASSERT_EQ(dest.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dest.Button(i)->Caption, source.Button(i)->Caption);
        EXPECT_EQ(dest.Button(i)->Width, 10 * i);
        EXPECT_NE(dest.Button(i), source.Button(i));
    }
    dest.SetItems(0, source.Button(2));
    EXPECT_EQ(dest.Button(0)->Caption, "B2");

    TComponent other(nullptr);
    EXPECT_THROW(dest.Assign(&other), EConvertError);
    EXPECT_EQ(dest.Count(), 3);
}

} // namespace
