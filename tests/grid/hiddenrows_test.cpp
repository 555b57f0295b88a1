// The hidden-row store: its answers by index agree with a walk over the rows, its sorted index
// follows every change of the store, and filter levels leave the other levels alone.
#include "grid/core/HiddenRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

namespace {

// The mapping as a plain walk over the rows, the way the grid answered before the index.
struct TWalk {
    std::set<int> Hidden;
    int RealToDispl(int R) const
    {
        return R - static_cast<int>(std::count_if(Hidden.begin(), Hidden.end(), [R](int H) { return H < R; }));
    }
    int DisplToReal(int D) const
    {
        int Shown = -1;
        for (int R = 0;; ++R)
            if (!Hidden.count(R) && ++Shown == D)
                return R;
    }
};

TEST(HiddenRowsTest, MappingAgreesWithAWalkOverTheRows)
{
    const std::vector<std::vector<int>> Cases = {
        {}, {0}, {2, 3}, {0, 1, 2}, {5}, {1, 3, 5, 7}, {2, 4}, {9, 10, 11, 40},
    };
    for (const auto &Case : Cases) {
        THiddenRows Store;
        TWalk Walk;
        // Added out of order on purpose: the index sorts, the store keeps the given order.
        for (auto It = Case.rbegin(); It != Case.rend(); ++It) {
            Store.Add(*It, 20 + *It);
            Walk.Hidden.insert(*It);
        }
        ASSERT_EQ(Store.Count(), int(Case.size()));
        for (int R = 0; R < 50; ++R) {
            SCOPED_TRACE(testing::Message() << "hidden " << testing::PrintToString(Case) << ", row " << R);
            EXPECT_EQ(Store.IsHidden(R), Walk.Hidden.count(R) == 1);
            EXPECT_EQ(Store.RealToDispl(R), Walk.RealToDispl(R));
            EXPECT_EQ(Store.DisplToReal(R), Walk.DisplToReal(R));
            TGridItem *Item = Store.Find(R);
            ASSERT_EQ(Item != nullptr, Walk.Hidden.count(R) == 1);
            if (Item) {
                EXPECT_EQ(Item->Idx(), R);
                EXPECT_EQ(Item->Height, 20 + R);
            }
        }
        if (!Case.empty()) {
            EXPECT_EQ(Store.Items(0)->Idx(), Case.back());
        }
        // The walk over many display rows at once gives what one row at a time gives.
        const std::vector<int> Displ = {0, 1, 2, 5, 6, 30};
        std::vector<int> Real;
        Store.DisplToRealAscending(Displ, Real);
        ASSERT_EQ(Real.size(), Displ.size());
        for (std::size_t I = 0; I < Displ.size(); ++I)
            EXPECT_EQ(Real[I], Walk.DisplToReal(Displ[I])) << "display row " << Displ[I];
    }
}

TEST(HiddenRowsTest, RandomChangesKeepTheIndexInStepWithTheItems)
{
    std::mt19937 Rng(7);
    THiddenRows Store;
    for (int Step = 0; Step < 3000; ++Step) {
        int Op = int(Rng() % 5);
        int R = int(Rng() % 200);
        if (Op <= 1 && !Store.IsHidden(R))
            Store.Insert(int(Rng() % unsigned(Store.Count() + 1)), R);
        else if (Op == 2 && Store.Count() > 0)
            Store.Delete(int(Rng() % unsigned(Store.Count())));
        else if (Op == 3) {
            // A row inserted at R: the hidden rows at or behind it move down.
            Store.Shift(R, 1);
        } else if (Op == 4 && !Store.IsHidden(R)) {
            // A shown row removed at R: the hidden rows behind it move up.
            Store.Shift(R + 1, -1);
        }
        std::vector<int> Idx;
        for (int I = 0; I < Store.Count(); ++I)
            Idx.push_back(Store.Items(I)->Idx());
        std::sort(Idx.begin(), Idx.end());
        ASSERT_EQ(Idx, Store.SortedIdx()) << "step " << Step;
    }
}

TEST(HiddenRowsTest, ShiftMovesOnlyTheRowsAtOrBehindTheChange)
{
    THiddenRows Store;
    for (int R : {2, 5, 9})
        Store.Add(R);
    Store.Shift(5, 3);
    EXPECT_EQ(Store.SortedIdx(), (std::vector<int>{2, 8, 12}));
    // Removing rows 3..5 (shown) before the hidden row 8: it becomes 5.
    Store.Shift(6, -3);
    EXPECT_EQ(Store.SortedIdx(), (std::vector<int>{2, 5, 9}));
    EXPECT_EQ(Store.Find(5)->Idx(), 5);
}

TEST(HiddenRowsTest, CloseUpAgreesWithRemovingTheShownRowsOneByOne)
{
    // Hidden rows around and inside a removed real span; the shown rows of the span go.
    const struct {
        std::vector<int> Hidden;
        int From, To;
    } Cases[] = {
        {{1, 4, 6, 7, 12}, 3, 9}, {{4}, 3, 5}, {{2, 3}, 5, 5}, {{10, 11}, 0, 12}, {{}, 2, 4},
    };
    for (const auto &C : Cases) {
        THiddenRows Store;
        for (int R : C.Hidden)
            Store.Add(R);
        TWalk Walk;
        Walk.Hidden.insert(C.Hidden.begin(), C.Hidden.end());
        // The slow way: every shown row of the span, from the last, as its own removal.
        std::vector<int> Expected(C.Hidden);
        for (int R = C.To; R >= C.From; --R) {
            if (Walk.Hidden.count(R))
                continue;
            for (int &H : Expected)
                if (H > R)
                    --H;
        }
        Store.CloseUp(C.From, C.To);
        EXPECT_EQ(Store.SortedIdx(), Expected) << testing::PrintToString(C.Hidden);
        for (int I = 0; I < Store.Count(); ++I)
            EXPECT_EQ(Store.Find(Store.Items(I)->Idx()), Store.Items(I));
    }
}

TEST(HiddenRowsTest, FilterLevelsAreFreedAloneAndTheRestStaysFound)
{
    THiddenRows Store;
    Store.Add(3, 10, 0);      // hidden directly
    Store.Add(1, 11, 1);      // first filter level
    Store.Add(4, 12, 1);
    Store.Add(2, 13, 2);      // second filter level
    Store.ClearLevel(2);
    EXPECT_EQ(Store.Count(), 3);
    EXPECT_EQ(Store.SortedIdx(), (std::vector<int>{1, 3, 4}));
    Store.ClearLevel(1);
    ASSERT_EQ(Store.Count(), 1);
    EXPECT_EQ(Store.Items(0)->Height, 10);
    EXPECT_EQ(Store.Find(3), Store.Items(0));
    EXPECT_EQ(Store.Find(1), nullptr);
}

TEST(HiddenRowsTest, ItemsOfTheStoreAndStrangersAreToldApart)
{
    THiddenRows Store, Other;
    TGridItem *A = Store.Add(4);
    TGridItem *B = Store.Add(4, 0, 1); // the same Idx from a filter level
    TGridItem *Stranger = Other.Add(4);
    EXPECT_EQ(Store.IndexOf(A), 0);
    EXPECT_EQ(Store.IndexOf(B), 1);
    EXPECT_EQ(Store.IndexOf(Stranger), -1);
    Store.Remove(Stranger); // nothing happens
    EXPECT_EQ(Store.Count(), 2);
    Store.SetIdx(B, 7);
    EXPECT_EQ(Store.Find(7), B);
    EXPECT_EQ(Store.Find(4), A);
    Store.Remove(A);
    EXPECT_EQ(Store.SortedIdx(), (std::vector<int>{7}));
    Store.Delete(5); // out of range
    Store.Delete(-1);
    EXPECT_EQ(Store.Count(), 1);
}

TEST(HiddenRowsTest, ItemCellsAreCopiesWithTheGridsObjects)
{
    TStringList Row;
    TObject Obj;
    Row.AddObject(QStringLiteral("a"), &Obj);
    Row.Add(QStringLiteral("b"));
    THiddenRows Store;
    TGridItem *Item = Store.Add(0);
    Item->SetItems(&Row);
    Row.SetStrings(0, QStringLiteral("changed"));
    ASSERT_EQ(Item->Items()->Count(), 2);
    EXPECT_EQ(Item->Items()->Strings(0), QStringLiteral("a"));
    EXPECT_EQ(Item->Items()->Objects(0), &Obj);
    // Freeing the item leaves the object to its owner (ASan would report a double free).
    Store.Clear();
    EXPECT_EQ(Store.Count(), 0);
}

} // namespace

namespace {

// Rows hidden in bulk merge into the index as single inserts would, ties after the rows there.
TEST(HiddenRowsTest, BulkAddsMergeAsSingleAddsWould)
{
    const std::vector<std::vector<int>> Before = {{}, {1, 5}, {0, 2, 4, 6}, {10}, {3}};
    const std::vector<int> Added = {2, 3, 7, 11};
    for (const auto &Case : Before) {
        SCOPED_TRACE(testing::PrintToString(Case));
        THiddenRows Bulk, Single;
        for (int R : Case) {
            Bulk.Add(R, R);
            Single.Add(R, R);
        }
        std::vector<TGridItem *> Out;
        Bulk.AddSorted(Added, {21, 22, 23, 24}, 2, Out);
        for (std::size_t I = 0; I < Added.size(); ++I)
            Single.Add(Added[I], 21 + int(I), 2);
        ASSERT_EQ(Out.size(), Added.size());
        EXPECT_EQ(Bulk.SortedIdx(), Single.SortedIdx());
        for (int K = 0; K < Bulk.Count(); ++K) {
            EXPECT_EQ(Bulk.SortedItem(K)->Height, Single.SortedItem(K)->Height);
            EXPECT_EQ(Bulk.SortedItem(K)->Level, Single.SortedItem(K)->Level);
            EXPECT_EQ(Bulk.Items(K)->Idx(), Single.Items(K)->Idx());
        }
        for (std::size_t I = 0; I < Out.size(); ++I)
            EXPECT_EQ(Out[I]->Idx(), Added[I]);
        // Freed levels give their items back to the next bulk add.
        Bulk.ClearLevel(2);
        EXPECT_EQ(Bulk.SortedIdx(), Case);
        Bulk.AddSorted({100}, {}, 3, Out);
        EXPECT_EQ(Bulk.Find(100), Out[0]);
        EXPECT_EQ(Out[0]->Height, 0);
        EXPECT_EQ(Out[0]->Items()->Count(), 0); // a reused item starts empty
    }
}

// A parked row becomes a list (at least as wide as asked) the first time somebody reads it; an
// unread one goes back as it is.
TEST(HiddenRowsTest, ParkedCellsBecomeAListOnlyWhenRead)
{
    TGridStore Cells;
    TObject Obj;
    Cells.SetText(0, 0, QStringLiteral("a"));
    Cells.SetText(1, 0, QStringLiteral("b"));
    Cells.SetObject(1, 0, &Obj);
    Cells.SetText(0, 1, QStringLiteral("c"));
    std::vector<TGridStore::TRow *> Taken;
    Cells.TakeRows({0, 1}, Taken);
    THiddenRows Store;
    std::vector<TGridItem *> Items;
    Store.AddSorted({4, 9}, {}, 1, Items);
    Items[0]->Park(Taken[0], 4);
    Items[1]->Park(Taken[1], 1);

    TStringList *L = Items[0]->Items();
    ASSERT_EQ(L->Count(), 4);
    EXPECT_EQ(L->Strings(1), QStringLiteral("b"));
    EXPECT_EQ(L->Objects(1), &Obj);
    TGridStore::TRow *Back = nullptr;
    EXPECT_FALSE(Items[0]->Unpark(Back)); // a list by now: the caller copies it
    ASSERT_TRUE(Items[1]->Unpark(Back));
    EXPECT_EQ(TGridStore::Text(Back, 0), QStringLiteral("c"));
    TGridStore::FreeRow(Back);
    // A parked row nobody took back is freed with its item (ASan would report a leak).
    Items[1]->Park(nullptr, 2);
    EXPECT_EQ(Items[1]->Items()->Count(), 2);
    Cells.SetText(0, 5, QStringLiteral("d"));
    Cells.TakeRows({5}, Taken);
    Items[1]->Park(Taken[0], 1);
    Store.Clear();
}

// Rows parked in bulk land where single adds would put them, each with its own cells; a level
// with fewer cells than rows parks empty rows for the rest, and partly used slabs are not lost
// when the next bulk add needs a new one.
TEST(HiddenRowsTest, BulkParkedRowsKeepTheirCellsAndPlaces)
{
    TGridStore Cells;
    for (int R = 0; R < 3; ++R)
        Cells.SetText(0, R, QString(QChar(u'a' + R)));
    std::vector<TGridStore::TRow *> Taken;
    Cells.TakeRows({0, 1, 2}, Taken);
    THiddenRows Store;
    for (int R : {1, 5, 9})
        Store.Add(R, 7);
    Store.Reserve(4);
    Store.AddParked({0, 5, 6, 12}, {10, 11, 12}, 13, 2, Taken, 3);
    EXPECT_EQ(Store.SortedIdx(), (std::vector<int>{0, 1, 5, 5, 6, 9, 12}));
    const std::vector<std::pair<int, QString>> Want = {{0, QStringLiteral("a")}, {6, QStringLiteral("c")}};
    for (const auto &[Idx, Text] : Want) {
        TGridItem *Item = Store.Find(Idx);
        ASSERT_NE(Item, nullptr);
        EXPECT_EQ(Item->Level, 2);
        ASSERT_EQ(Item->Items()->Count(), 3);
        EXPECT_EQ(Item->Items()->Strings(0), Text);
    }
    // The tie at 5 goes after the row that was there; the fourth row had no cells nor height.
    EXPECT_EQ(Store.SortedItem(3)->Height, 11);
    EXPECT_EQ(Store.Find(12)->Height, 13);
    EXPECT_EQ(Store.SortedItem(3)->Items()->Strings(0), QStringLiteral("b"));
    TGridStore::TRow *Back = reinterpret_cast<TGridStore::TRow *>(1);
    ASSERT_TRUE(Store.Find(12)->Unpark(Back));
    EXPECT_EQ(Back, nullptr);
    for (int K = 0; K < Store.Count(); ++K)
        EXPECT_EQ(Store.Items(K)->Idx(), (std::vector<int>{1, 5, 9, 0, 5, 6, 12})[std::size_t(K)]);

    // Many more rows than the slabs hold: a fresh slab, and every item distinct.
    std::vector<int> Many(300);
    for (std::size_t I = 0; I < Many.size(); ++I)
        Many[I] = 100 + int(I);
    Store.Reserve(Many.size());
    Store.AddParked(Many, {}, 0, 3, {}, 1);
    std::set<const TGridItem *> Seen;
    for (int K = 0; K < Store.Count(); ++K)
        Seen.insert(Store.Items(K));
    EXPECT_EQ(int(Seen.size()), Store.Count());
    Store.ClearLevel(3);
    Store.ClearLevel(2);
    EXPECT_EQ(Store.SortedIdx(), (std::vector<int>{1, 5, 9}));
}

} // namespace
