// Hidden rows of the string grid: rows leave the grid with their texts, objects and heights and
// come back with them in their places; filter levels nest and bring back only their own rows.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

UnicodeString Text(int C, int R)
{
    return QStringLiteral("r%1c%2").arg(R).arg(C);
}

// Ten rows of four columns, each cell naming its row; row r has height 20 + r and the object of
// its column 2 is Objs[r].
class ExtGridHiddenRowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
        Grid->SetColCount(4);
        Grid->SetRowCount(10);
        Objs.resize(10);
        for (int R = 0; R < 10; ++R) {
            for (int C = 0; C < 4; ++C)
                Grid->SetCells(C, R, Text(C, R));
            Grid->SetRowHeights(R, 20 + R);
            Objs[std::size_t(R)] = std::make_unique<TObject>();
            Grid->SetObjects(2, R, Objs[std::size_t(R)].get());
        }
    }
    // The real rows the grid shows, read from column 0 of each display row.
    std::vector<int> ShownRows()
    {
        std::vector<int> V;
        for (int D = 0; D < Grid->RowCount(); ++D)
            V.push_back(Grid->Cells(0, D).mid(1, Grid->Cells(0, D).indexOf(u'c') - 1).toInt());
        return V;
    }
    // Every shown row has its own texts, object and height.
    void ExpectRowsIntact()
    {
        const std::vector<int> Shown = ShownRows();
        for (int D = 0; D < Grid->RowCount(); ++D) {
            const int R = Shown[std::size_t(D)];
            for (int C = 0; C < 4; ++C)
                EXPECT_EQ(Grid->Cells(C, D), Text(C, R)) << "display row " << D;
            EXPECT_EQ(Grid->Objects(2, D), Objs[std::size_t(R)].get()) << "display row " << D;
            EXPECT_EQ(Grid->RowHeights(D), 20 + R) << "display row " << D;
            EXPECT_EQ(Grid->RealRowIndex(D), R);
            EXPECT_EQ(Grid->DisplRowIndex(R), D);
        }
    }
    std::vector<std::unique_ptr<TObject>> Objs;
    std::unique_ptr<TExtStringGrid> Grid;
};

using Rows = std::vector<int>;

TEST_F(ExtGridHiddenRowsTest, HideAndUnHideRoundTrips)
{
    struct Case {
        const char *Name;
        std::vector<std::pair<int, int>> Hide;
        std::pair<int, int> UnHide;
        Rows WhileHidden, After;
    };
    const Case Cases[] = {
        {"a block", {{2, 3}}, {2, 3}, {0, 1, 4, 5, 6, 7, 8, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"first row of the range shown: nothing", {{3, 3}}, {2, 4}, {0, 1, 2, 4, 5, 6, 7, 8, 9},
         {0, 1, 2, 4, 5, 6, 7, 8, 9}},
        {"around a shown row", {{2, 2}, {4, 4}}, {2, 4}, {0, 1, 3, 5, 6, 7, 8, 9},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"part of the hidden rows", {{1, 2}, {6, 8}}, {6, 7}, {0, 3, 4, 5, 9}, {0, 3, 4, 5, 6, 7, 9}},
        {"a range partly hidden already", {{5, 5}, {4, 6}}, {4, 6}, {0, 1, 2, 3, 7, 8, 9},
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"the last row", {{9, 12}}, {9, 9}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
    };
    for (const Case &K : Cases) {
        SCOPED_TRACE(K.Name);
        SetUp();
        for (auto [F, T] : K.Hide)
            Grid->HideRows(F, T);
        EXPECT_EQ(ShownRows(), K.WhileHidden);
        EXPECT_EQ(Grid->RowCount() + Grid->NumHiddenRows(), 10);
        ExpectRowsIntact();
        Grid->UnHideRows(K.UnHide.first, K.UnHide.second);
        EXPECT_EQ(ShownRows(), K.After);
        ExpectRowsIntact();
        Grid->UnHideRowsAll();
        EXPECT_EQ(ShownRows(), (Rows{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(Grid->NumHiddenRows(), 0);
        ExpectRowsIntact();
    }
}

TEST_F(ExtGridHiddenRowsTest, SingleRowsAndTheStoredCells)
{
    Grid->HideRow(3);
    Grid->HideRow(3); // already hidden: nothing
    EXPECT_EQ(Grid->RowCount(), 9);
    EXPECT_EQ(Grid->NumHiddenRows(), 1);
    TStrings *Stored = Grid->HiddenRowItems(3);
    ASSERT_NE(Stored, nullptr);
    ASSERT_GE(Stored->Count(), 4);
    EXPECT_EQ(Stored->Strings(1), Text(1, 3));
    EXPECT_EQ(Grid->HiddenRowItems(4), nullptr);
    TIntList *List = nullptr;
    EXPECT_TRUE(Grid->IsHiddenRow(3, List));
    EXPECT_FALSE(Grid->IsHiddenRow(4, List));
    ASSERT_NE(List, nullptr);
    EXPECT_EQ(List->Count(), 1);
    delete List;
    Grid->UnHideRow(4); // shown: nothing
    EXPECT_EQ(Grid->RowCount(), 9);
    Grid->UnHideRow(3);
    EXPECT_EQ(Grid->RowCount(), 10);
    ExpectRowsIntact();
}

TEST_F(ExtGridHiddenRowsTest, HiddenColumnsCellsGoAndComeBackWithTheRow)
{
    Grid->HideColumn(1);
    Grid->HideRows(4, 5);
    Grid->UnHideColumn(1);
    EXPECT_EQ(ShownRows(), (Rows{0, 1, 2, 3, 6, 7, 8, 9}));
    Grid->UnHideRows(4, 5);
    ExpectRowsIntact();
}

TEST_F(ExtGridHiddenRowsTest, NestedFilterLevelsLeaveDirectlyHiddenRowsHidden)
{
    Grid->HideRow(2);
    TIntList First(0, 0);
    for (int D : {1, 3, 5}) // real rows 1, 4, 6
        First.Add(D);
    Grid->HideRowList(&First);
    EXPECT_EQ(Grid->FilterLevel(), 1);
    EXPECT_EQ(ShownRows(), (Rows{0, 3, 5, 7, 8, 9}));
    ExpectRowsIntact();
    TIntList Second(0, 0);
    for (int D : {0, 4}) // real rows 0, 8
        Second.Add(D);
    Grid->HideRowList(&Second);
    EXPECT_EQ(ShownRows(), (Rows{3, 5, 7, 9}));
    ExpectRowsIntact();

    Grid->UnHideRowList();
    Grid->SetFilterLevel(Grid->FilterLevel() - 1);
    EXPECT_EQ(ShownRows(), (Rows{0, 3, 5, 7, 8, 9}));
    ExpectRowsIntact();
    Grid->UnHideRowList();
    Grid->SetFilterLevel(Grid->FilterLevel() - 1);
    EXPECT_EQ(ShownRows(), (Rows{0, 1, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_TRUE(Grid->IsHiddenRow(2));
    EXPECT_EQ(Grid->NumHiddenRows(), 1);
    ExpectRowsIntact();
    Grid->UnHideRowList(); // no level left: nothing
    EXPECT_TRUE(Grid->IsHiddenRow(2));
    Grid->UnHideRow(2);
    ExpectRowsIntact();
    EXPECT_EQ(Grid->RowCount(), 10);
}

TEST_F(ExtGridHiddenRowsTest, TheLastShownRowStaysAndHiddenObjectsDieWithTheGrid)
{
    Grid->HideRows(0, 20);
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(Grid->NumHiddenRows(), 9);
    EXPECT_EQ(ShownRows(), (Rows{9}));
    // The grid goes with nine hidden rows holding properties objects: ASan tells a leak.
    Grid.reset();
}

TEST_F(ExtGridHiddenRowsTest, TopRowStaysWithinTheScrollingRowsAndRowsFollowInStep)
{
    Grid->SetRowCount(60);
    Grid->SetTopRow(5);
    EXPECT_EQ(Grid->TopRow(), 5);
    for (int Bad : {0, 60, 100}) {
        Grid->SetTopRow(Bad);
        EXPECT_EQ(Grid->TopRow(), 5) << Bad;
    }

    TExtStringGrid Other(nullptr);
    Other.SetRowCount(60);
    std::vector<std::pair<int, int>> Updates;
    Grid->OnRowUpdate = [&](TObject *, int OldRow, int NewRow) { Updates.push_back({OldRow, NewRow}); };
    Grid->SyncGrid()->SetGrid(&Other);
    Grid->SyncGrid()->SelectionRow = true;
    Grid->SetRow(7);
    Grid->SetRow(9);
    EXPECT_EQ(Other.Row(), 9);
    ASSERT_EQ(Updates.size(), 2u);
    EXPECT_EQ(Updates[1], std::make_pair(7, 9));
    Grid->HideRow(2);
    EXPECT_EQ(Grid->RealRow(), Grid->RealRowIndex(Grid->Row()));
    Grid->SyncGrid()->SetGrid(nullptr);
}

} // namespace
