// Dimensions of the string grid: counts that leave hidden columns out, fixed rows and columns
// that survive a grid without data rows, fixed sizes, the floating footer row that follows the
// end of the grid, and the small settings with their limits.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ExtGridDimensionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TExtStringGrid>(nullptr);
    }
    // What the platform grid itself holds, without the FixedRowAlways answer.
    int PlatformFixedRows() const { return static_cast<const TCustomGrid &>(*Grid).FixedRows(); }
    int PlatformFixedCols() const { return static_cast<const TCustomGrid &>(*Grid).FixedCols(); }
    std::unique_ptr<TExtStringGrid> Grid;
};

TEST_F(ExtGridDimensionsTest, CountsLeaveHiddenColumnsOut)
{
    Grid->SetColCount(13);
    for (int C = 0; C < 13; ++C)
        Grid->SetCells(C, 1, QString::number(C));
    Grid->HideColumn(3);
    Grid->HideColumn(7);
    EXPECT_EQ(Grid->ColCount(), 11);
    EXPECT_EQ(Grid->AllColCount(), 13);
    EXPECT_EQ(Grid->RealColIndex(3), 4);
    EXPECT_EQ(Grid->Cells(Grid->RealColIndex(3), 1), QStringLiteral("4"));
    // Growing and shrinking the shown columns keeps the hidden ones and their cells.
    Grid->SetColCount(15);
    EXPECT_EQ(Grid->AllColCount(), 17);
    Grid->SetColCount(11);
    EXPECT_EQ(Grid->NumHiddenColumns(), 2);
    Grid->UnHideColumnsAll();
    EXPECT_EQ(Grid->ColCount(), 13);
    EXPECT_EQ(Grid->Cells(3, 1), QStringLiteral("3"));
    EXPECT_EQ(Grid->Cells(7, 1), QStringLiteral("7"));
    EXPECT_EQ(Grid->MaxColCount(), 15);
    EXPECT_EQ(Grid->AllRowCount(), Grid->RowCount());
}

TEST_F(ExtGridDimensionsTest, FixedRowAlwaysKeepsTheHeaderAndBringsBackWhatWasAskedFor)
{
    Grid->SetFixedRowAlways(true);
    Grid->SetFixedRows(1);
    Grid->SetRowCount(1);
    EXPECT_EQ(PlatformFixedRows(), 0);
    EXPECT_EQ(Grid->FixedRows(), 1);
    Grid->SetRowCount(5);
    EXPECT_EQ(PlatformFixedRows(), 1);

    Grid->SetRowCount(3);
    Grid->SetFixedRows(5);
    EXPECT_EQ(PlatformFixedRows(), 2);
    EXPECT_EQ(Grid->FixedRows(), 2);
    Grid->SetRowCount(10);
    EXPECT_EQ(Grid->FixedRows(), 5);
    EXPECT_EQ(Grid->MaxRowCount(), 10);

    Grid->SetFixedColAlways(true);
    Grid->SetColCount(1);
    EXPECT_EQ(PlatformFixedCols(), 0);
    EXPECT_EQ(Grid->FixedCols(), 1);
    Grid->SetColCount(4);
    EXPECT_EQ(PlatformFixedCols(), 1);
}

TEST_F(ExtGridDimensionsTest, WithoutFixedRowAlwaysThePlatformRefusesAndKeepsItsCounts)
{
    Grid->SetRowCount(3);
    EXPECT_THROW(Grid->SetFixedRows(5), EInvalidGridOperation);
    EXPECT_EQ(Grid->FixedRows(), 1);
    // A grid made in code asked for one fixed row: setting the count does not take it away.
    Grid->SetFixedRowAlways(true);
    Grid->SetRowCount(6);
    EXPECT_EQ(Grid->FixedRows(), 1);
}

TEST_F(ExtGridDimensionsTest, FixedSizes)
{
    Grid->SetRowCount(5);
    Grid->SetFixedCols(2);
    for (int R = 0; R < 5; ++R)
        Grid->SetRowHeights(R, 30 + R);
    Grid->SetFixedRowHeight(40);
    EXPECT_EQ(Grid->RowHeights(0), 40);
    EXPECT_EQ(Grid->RowHeights(1), 31);
    // The default height resets every row, not only the fixed ones.
    Grid->SetFixedRowHeight(Grid->DefaultRowHeight());
    for (int R = 0; R < 5; ++R)
        EXPECT_EQ(Grid->RowHeights(R), Grid->DefaultRowHeight()) << R;

    Grid->SetColWidths(0, 20);
    Grid->SetColWidths(1, 90);
    Grid->SetFixedColWidth(Grid->DefaultColWidth());
    EXPECT_EQ(Grid->ColWidths(0), 20);
    EXPECT_EQ(Grid->ColWidths(1), 90);
    Grid->SetFixedColWidth(50);
    EXPECT_EQ(Grid->FixedColWidth(), 50);
    EXPECT_EQ(Grid->ColWidths(1), 50);
    EXPECT_EQ(Grid->ColWidths(2), Grid->DefaultColWidth());

    Grid->SetAllColWidths(3, 77);
    Grid->HideColumn(3);
    EXPECT_EQ(Grid->AllColWidths(3), 77);
    Grid->SetAllColWidths(3, 66); // hidden: remembered for when it comes back
    Grid->UnHideColumn(3);
    EXPECT_EQ(Grid->ColWidths(3), 66);
    EXPECT_EQ(Grid->AllColWidths(4), Grid->ColWidths(4));
}

TEST_F(ExtGridDimensionsTest, TheFloatingFooterRowFollowsTheEnd)
{
    Grid->SetColCount(3);
    Grid->SetRowCount(5);
    for (int C = 0; C < 3; ++C)
        Grid->SetCells(C, 4, QStringLiteral("sum%1").arg(C));
    Grid->SetColors(1, 4, clRed);
    Grid->FloatingFooter()->SetVisible(true);

    Grid->SetRowCount(8);
    for (int C = 0; C < 3; ++C) {
        EXPECT_EQ(Grid->Cells(C, 7), QStringLiteral("sum%1").arg(C));
        for (int R = 4; R < 7; ++R)
            EXPECT_TRUE(Grid->Cells(C, R).isEmpty()) << C << "," << R;
    }
    EXPECT_EQ(Grid->Colors(1, 7), clRed);
    EXPECT_EQ(Grid->Colors(1, 4), clNone);

    // The new last row's own object goes before the footer's moves in: nothing leaks, nothing
    // is freed twice.
    Grid->SetColors(2, 5, clBlue);
    Grid->SetRowCount(6);
    EXPECT_EQ(Grid->Cells(0, 5), QStringLiteral("sum0"));
    EXPECT_EQ(Grid->Colors(1, 5), clRed);
    EXPECT_EQ(Grid->Colors(2, 5), clNone);
}

TEST_F(ExtGridDimensionsTest, PlainSettingsAndTheirLimits)
{
    const std::pair<int, int> Factors[] = {{150, 100}, {-5, 0}, {30, 30}};
    for (auto [In, Out] : Factors) {
        Grid->SetSelectionColorMixerFactor(In);
        EXPECT_EQ(Grid->SelectionColorMixerFactor(), Out) << In;
    }
    Grid->SetVAlignment(vtaCenter);
    EXPECT_EQ(Grid->VAlignFlag(), 4);
    Grid->SetVAlignment(vtaBottom);
    EXPECT_EQ(Grid->VAlignFlag(), 8);
    Grid->SetWordWrap(false);
    EXPECT_FALSE(Grid->WordWrap());
    EXPECT_FALSE(Grid->TBaseGrid::WordWrap());
    Grid->SetSpreadSheet(true);
    EXPECT_TRUE(Grid->Options().Contains(goEditing));
    EXPECT_TRUE(Grid->Options().Contains(goRangeSelect));
    EXPECT_TRUE(Grid->SelectionRectangle());
    EXPECT_EQ(Grid->Version().count(u'.'), 3);
}

TEST_F(ExtGridDimensionsTest, ColumnMovesInAGridKeptInStep)
{
    TExtStringGrid Other(nullptr);
    Other.SetColCount(6);
    Grid->SetColCount(6);
    Grid->SyncGrid()->SetGrid(&Other);
    Grid->SetCol(2);
    EXPECT_EQ(Other.Col(), 1); // not asked to follow
    Grid->SyncGrid()->SelectionColumn = true;
    Grid->SetCol(4);
    EXPECT_EQ(Other.Col(), 4);
    Grid->SyncGrid()->SetGrid(nullptr);
}

} // namespace
