// Hidden columns and the index mapping of the string grid: hiding keeps widths and places,
// the mapping agrees both ways, and the limits (the last shown column, columns past 512, hidden
// ones past the end) leave the grid as it was.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class ExtGridHiddenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
    }
    void Cols(int N)
    {
        Grid->SetColCount(N);
        for (int C = 0; C < N; ++C)
            Grid->SetColWidths(C, 40 + C);
    }
    std::unique_ptr<TExtStringGrid> Grid;
};

TEST_F(ExtGridHiddenTest, HidingAColumnMapsAroundItAndGivesItsWidthBack)
{
    Cols(5);
    Grid->HideColumn(2);
    EXPECT_EQ(Grid->ColCount(), 4);
    EXPECT_EQ(Grid->NumHiddenColumns(), 1);
    EXPECT_EQ(Grid->TotalColCount(), 5);
    EXPECT_TRUE(Grid->IsHiddenColumn(2));
    EXPECT_EQ(Grid->RealColIndex(2), 3);
    EXPECT_EQ(Grid->DisplColIndex(3), 2);
    EXPECT_EQ(Grid->ColWidths(2), 43); // the widths after it moved left
    Grid->HideColumn(2);              // already hidden: nothing
    EXPECT_EQ(Grid->ColCount(), 4);
    Grid->UnHideColumn(2);
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->NumHiddenColumns(), 0);
    for (int C = 0; C < 5; ++C)
        EXPECT_EQ(Grid->ColWidths(C), 40 + C) << C;
}

TEST_F(ExtGridHiddenTest, ThirteenColumnsWithTwoHiddenMapBothWays)
{
    Cols(13);
    Grid->HideColumn(4);
    Grid->HideColumn(9);
    EXPECT_EQ(Grid->ColCount(), 11);
    EXPECT_EQ(Grid->NumHiddenColumns(), 2);
    const int Real[] = {0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12};
    for (int D = 0; D < 11; ++D) {
        EXPECT_EQ(Grid->RealColIndex(D), Real[D]) << D;
        EXPECT_EQ(Grid->DisplColIndex(Real[D]), D) << D;
    }
    // Past 512 every column maps to itself and is never hidden.
    for (int C : {512, 600}) {
        EXPECT_FALSE(Grid->IsHiddenColumn(C));
        EXPECT_EQ(Grid->RealColIndex(C), C);
        EXPECT_EQ(Grid->DisplColIndex(C), C);
    }
    Grid->UnHideColumnsAll();
    EXPECT_EQ(Grid->ColCount(), 13);
    EXPECT_EQ(Grid->RealColIndex(4), 4);
}

TEST_F(ExtGridHiddenTest, LimitsLeaveTheGridAsItWas)
{
    Cols(3);
    Grid->HideColumns(0, 9); // hides 0 and 1, keeps the last shown column
    EXPECT_EQ(Grid->ColCount(), 1);
    EXPECT_EQ(Grid->NumHiddenColumns(), 2);
    EXPECT_FALSE(Grid->IsHiddenColumn(2));
    EXPECT_EQ(Grid->RealColIndex(0), 2);
    Grid->UnHideColumnsAll();

    // Columns at 512 and beyond are never hidden.
    Cols(600);
    Grid->HideColumns(512, 520);
    EXPECT_EQ(Grid->ColCount(), 600);
    EXPECT_EQ(Grid->NumHiddenColumns(), 0);
}

TEST_F(ExtGridHiddenTest, HidingTheLastColumnWithTheCurrentCellMovesItLeft)
{
    Cols(5);
    Grid->SetCol(4);
    Grid->HideColumn(4);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->ColCount(), 4);
}

TEST_F(ExtGridHiddenTest, RowMappingAnswersFromTheStore)
{
    Grid->SetRowCount(8);
    Grid->GridItems()->Add(2);
    Grid->GridItems()->Add(3);
    EXPECT_TRUE(Grid->IsHiddenRow(3));
    EXPECT_FALSE(Grid->IsHiddenRow(4));
    EXPECT_EQ(Grid->RealRowIndex(2), 4);
    EXPECT_EQ(Grid->DisplRowIndex(4), 2);
    EXPECT_EQ(Grid->NumHiddenRows(), 2);
    EXPECT_EQ(Grid->TotalRowCount(), 10);
}

// A header kept fixed always stays the fixed row when the rows come back, whether they were
// hidden one by one or by a filter level, so that it does not scroll away with the data.
TEST_F(ExtGridHiddenTest, HeaderKeptFixedIsFixedAgainWhenTheRowsComeBack)
{
    struct TCase {
        const char *Name;
        std::function<void(TExtStringGrid &)> Hide;
        std::function<void(TExtStringGrid &)> Show;
    };
    const TCase cases[] = {
        {"rows", [](TExtStringGrid &g) { g.HideRows(1, 39); }, [](TExtStringGrid &g) { g.UnHideRowsAll(); }},
        {"level",
         [](TExtStringGrid &g) {
             TIntList rows(0, 0);
             for (int r = 1; r < 40; ++r)
                 rows.Add(r);
             g.HideRowList(&rows);
         },
         [](TExtStringGrid &g) { g.UnHideRowList(); }},
    };
    for (const TCase &c : cases) {
        auto g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetFixedRowAlways(true);
        g->SetRowCount(40);
        g->SetCells(1, 0, "Head");
        c.Hide(*g);
        ASSERT_EQ(g->RowCount(), 1) << c.Name;
        c.Show(*g);
        EXPECT_EQ(g->RowCount(), 40) << c.Name;
        // The platform grid itself holds the row fixed again, not only the grid's answer.
        EXPECT_EQ(g->TBaseGrid::FixedRows(), 1) << c.Name;
        g->SetTopRow(5);
        EXPECT_EQ(g->TopRow(), 5) << c.Name;
        EXPECT_EQ(g->Cells(1, 0), "Head") << c.Name;
    }
}

} // namespace
