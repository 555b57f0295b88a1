// Row and column structure of the string grid on one fixture that holds everything a row or a
// column carries beside its texts: a hidden column, a hidden row, a control placed in a cell,
// modified rows and row heights. After every operation the grid is read back in real row order,
// so that a hidden row that lost its place, a height or a hidden cell left behind, or a control
// on the wrong row shows as a different line.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Built by appending: GCC 12's -O3 takes "[" + std::string + "]" for an overlapping copy
// (-Wrestrict) although it is none.
std::string Bracketed(const std::string &T)
{
    std::string R(1, '[');
    R += T;
    R += ']';
    return R;
}

// Reaches the lists the structure operations keep in step.
class TStructGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    TIntList *ModifiedRows() const { return FModifiedRows; }
    TIntList *EnabledRows() const { return FEnabledRows; }
    TControlList *Controls() const { return FControlList; }
    TIntList *RowSelectList() const { return FRowSelect; }
    bool HasCellProps() const { return FHasCellProps; }
};

// Real rows 0..10, real columns 0..5; column 1 holds the row's tag "rN", the others "hN" (the
// column that gets hidden), "xN", "yN", "zN". Row N is 20 + N pixels high.
class ExtGridStructureTest : public ::testing::Test {
protected:
    static constexpr int Rows = 11;

    void SetUp() override
    {
        Application->Initialize();
        Grid = std::make_unique<TStructGrid>(nullptr);
        Grid->SetColCount(6);
        Grid->SetRowCount(Rows);
        const char *Prefix = " rhxyz";
        for (int R = 0; R < Rows; ++R) {
            for (int C = 1; C < 6; ++C)
                Grid->SetCells(C, R, QString(QChar(Prefix[C])) + QString::number(R));
            Grid->SetRowHeights(R, 20 + R);
        }
        for (int C = 0; C < 6; ++C)
            Grid->SetColWidths(C, 40 + C);
    }

    // The fixture of the structure table: column 2 and row 4 hidden, display rows of r3 and r7
    // modified, a control in column 3 of r7, the current row r7 and the view from r1.
    void Prepare()
    {
        Grid->HideColumn(2);
        Grid->HideRow(4);
        Grid->ShowModified()->Enabled = true;
        for (int D = 0; D < Grid->RowCount(); ++D)
            Grid->ModifiedRows()->Add(D == 3 || D == 6 ? 1 : 0);
        Control = std::make_unique<TButton>(nullptr);
        Grid->Controls()->AddControl(3, 7, Control.get());
        Grid->SetRow(6);
        Grid->SetTopRow(1);
    }

    std::string Tag(int DisplayRow) const
    {
        const QString S = Grid->Store().Text(1, DisplayRow);
        return S.isEmpty() ? std::string("-") : S.toStdString();
    }

    // "r0 r1 [r4] ... | mod r3 r7 | ctl 3@r7 | cur r7 top r1", rows in real order, hidden ones in
    // brackets, new (empty) rows as "-".
    std::string State() const
    {
        std::string S;
        std::vector<std::string> Real;
        for (int R = 0; R < Grid->TotalRowCount(); ++R) {
            if (TGridItem *Item = Grid->GridItems()->Find(R))
                Real.push_back(Bracketed(Item->Items()->Strings(1).toStdString()));
            else
                Real.push_back(Tag(Grid->DisplRowIndex(R)));
        }
        for (const auto &T : Real) {
            S += T;
            S += ' ';
        }
        S += "| mod";
        for (int D = 0; D < Grid->RowCount() && D < Grid->ModifiedRows()->Count(); ++D)
            if (Grid->ModifiedRows()->Items(D)) {
                S += ' ';
                S += Tag(D);
            }
        S += " | ctl";
        for (int I = 0; I < Grid->Controls()->Count(); ++I) {
            TControlItem *It = Grid->Controls()->GetControl(I);
            S += ' ';
            S += std::to_string(It->X());
            S += '@';
            S += It->Y() < int(Real.size()) ? Real[std::size_t(It->Y())] : std::string("?");
        }
        S += " | cur ";
        S += Tag(Grid->Row());
        S += " top ";
        S += Tag(Grid->TopRow());
        return S;
    }

    // Every display row carries its own hidden-column text and height; new rows are empty and
    // of the default height.
    void ExpectRowsWhole(const std::string &Case) const
    {
        for (int D = 0; D < Grid->RowCount(); ++D) {
            const QString T = Grid->Store().Text(1, D);
            if (T.isEmpty()) {
                EXPECT_EQ(Grid->Store().RowLength(D), 0) << Case << " row " << D;
                EXPECT_EQ(Grid->RowHeights(D), Grid->DefaultRowHeight()) << Case << " row " << D;
                continue;
            }
            const int N = T.mid(1).toInt();
            EXPECT_EQ(Grid->Store().Text(2, D), "h" + QString::number(N)) << Case << " row " << D;
            EXPECT_EQ(Grid->RowHeights(D), 20 + N) << Case << " row " << D;
        }
    }

    std::unique_ptr<TStructGrid> Grid;
    std::unique_ptr<TButton> Control;
};

TEST_F(ExtGridStructureTest, TheFixtureReadsBackInRealOrder)
{
    Prepare();
    EXPECT_EQ(State(), "r0 r1 r2 r3 [r4] r5 r6 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r7 top r1");
    EXPECT_EQ(Grid->RowCount(), 10);
    EXPECT_EQ(Grid->ColCount(), 5);
    ExpectRowsWhole("fixture");
}

struct TRowCase {
    const char *Name;
    std::function<void(TStructGrid &)> Op;
    const char *Expected;
};

TEST_F(ExtGridStructureTest, RowOperationsKeepEverythingInStep)
{
    const TRowCase Cases[] = {
        // Above the current row: the current display row stays, the view stays.
        {"RemoveRows one above", [](TStructGrid &G) { G.RemoveRows(2, 1); },
         "r0 r1 r3 [r4] r5 r6 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r8 top r1"},
        // Across the hidden row: it stays hidden and closes up between the rows around.
        {"RemoveRows across the hidden row", [](TStructGrid &G) { G.RemoveRows(3, 2); },
         "r0 r1 r2 [r4] r6 r7 r8 r9 r10 | mod r7 | ctl 3@r7 | cur r9 top r1"},
        // The row of the control goes, and the control with it.
        {"RemoveRows of the control's row", [](TStructGrid &G) { G.RemoveRows(6, 1); },
         "r0 r1 r2 r3 [r4] r5 r6 r8 r9 r10 | mod r3 | ctl | cur r8 top r1"},
        // Past the end: clipped to the rows there are.
        {"RemoveRows (8, 5) on 10 rows", [](TStructGrid &G) { G.RemoveRows(8, 5); },
         "r0 r1 r2 r3 [r4] r5 r6 r7 r8 | mod r3 r7 | ctl 3@r7 | cur r7 top r1"},
        {"RemoveRows out of range", [](TStructGrid &G) { G.RemoveRows(10, 1); G.RemoveRows(-1, 2); G.RemoveRows(2, 0); },
         "r0 r1 r2 r3 [r4] r5 r6 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r7 top r1"},
        {"DeleteRowRange", [](TStructGrid &G) { G.DeleteRowRange(1, 2); },
         "r0 r3 [r4] r5 r6 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r9 top r3"},
        {"InsertRows above the hidden row", [](TStructGrid &G) { G.InsertRows(2, 2); },
         "r0 r1 - - r2 r3 [r4] r5 r6 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r5 top r1"},
        {"InsertRows at the end", [](TStructGrid &G) { G.InsertRows(G.RowCount(), 1); },
         "r0 r1 r2 r3 [r4] r5 r6 r7 r8 r9 r10 - | mod r3 r7 | ctl 3@r7 | cur r7 top r1"},
    };
    for (const auto &C : Cases) {
        SetUp();
        Prepare();
        C.Op(*Grid);
        EXPECT_EQ(State(), C.Expected) << C.Name;
        ExpectRowsWhole(C.Name);
        EXPECT_EQ(Grid->NumHiddenColumns(), 1) << C.Name;
    }
}

TEST_F(ExtGridStructureTest, RemoveRowsExMovesTextsButNotHeights)
{
    Prepare();
    Grid->RemoveRowsEx(3, 1);
    // The heights stay with their display rows: only the cells moved up.
    EXPECT_EQ(Grid->Store().Text(1, 3), "r5");
    EXPECT_EQ(Grid->Store().Text(2, 3), "h5");
    EXPECT_EQ(Grid->RowHeights(3), 23);
    EXPECT_EQ(Grid->RowCount(), 9);
    // The hidden row keeps its place among the real rows.
    EXPECT_EQ(Grid->GridItems()->Items(0)->Idx(), 3);
    EXPECT_EQ(Grid->RealRowIndex(3), 4);
    EXPECT_EQ(Grid->Row(), 6);
}

TEST_F(ExtGridStructureTest, RemovingTheLastNormalRowsMovesTheCurrentRowUp)
{
    Prepare();
    Grid->SetRow(9);
    Grid->RemoveRows(8, 2);
    EXPECT_EQ(Grid->Row(), 7);
    EXPECT_EQ(Tag(Grid->Row()), "r8");
    Grid->SetRow(7);
    Grid->DeleteRowRange(7, 1);
    EXPECT_EQ(Grid->Row(), 6);
}

TEST_F(ExtGridStructureTest, RemovingEveryNormalRowParksTheSelectionUntilARowComesBack)
{
    Grid->SetFixedRowAlways(true);
    Grid->SetRowCount(3);
    Grid->SetRow(2);
    Grid->RemoveRows(2, 1);
    EXPECT_EQ(Grid->Row(), 1);
    Grid->DeleteRowRange(1, 1);
    // Only the header is left: no cell is current, and the header is still a fixed row.
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_EQ(Grid->Row(), Grid->RowCount());
    EXPECT_FALSE(Grid->SelHidden());
    Grid->InsertRows(1, 1);
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_LT(Grid->Row(), Grid->RowCount());
    EXPECT_LT(Grid->Col(), Grid->ColCount());

    Grid->SetRow(1);
    Grid->RemoveRows(1, 1);
    EXPECT_EQ(Grid->Row(), Grid->RowCount());
    Grid->AddRow();
    EXPECT_EQ(Grid->RowCount(), 2);
    EXPECT_LT(Grid->Row(), Grid->RowCount());

    // Rows set by count bring the selection back too.
    Grid->RemoveRows(1, 1);
    EXPECT_EQ(Grid->Row(), Grid->RowCount());
    Grid->SetRowCount(4);
    EXPECT_EQ(Grid->FixedRows(), 1);
    EXPECT_GE(Grid->Row(), 1);
    EXPECT_LT(Grid->Row(), 4);
}

TEST_F(ExtGridStructureTest, RemovingRowsAtTheEndKeepsTheViewOnTheLastRows)
{
    Grid->SetRowCount(40);
    Grid->SetRow(35);
    Grid->SetTopRow(30);
    Grid->RemoveRows(20, 10);
    EXPECT_EQ(Grid->Row(), 29);
    EXPECT_LE(Grid->TopRow(), 29);
    EXPECT_GE(Grid->TopRow() + Grid->VisibleRowCount(), Grid->RowCount() - 1);
    // Above the view: the current and the top row keep their places.
    Grid->SetRow(20);
    Grid->SetTopRow(12);
    Grid->RemoveRows(2, 3);
    EXPECT_EQ(Grid->Row(), 20);
    EXPECT_EQ(Grid->TopRow(), 12);
}

TEST_F(ExtGridStructureTest, SelectedRowFlagsMoveUpWithTheirRows)
{
    Grid->MouseActions()->SetDisjunctRowSelectDirect(true);
    for (int D = 0; D < Rows; ++D)
        Grid->RowSelectList()->Add(D == 5 || D == 8 ? 1 : 0);
    Grid->DeleteRowRange(2, 2);
    EXPECT_EQ(Grid->RowSelectList()->Items(3), 1); // r5
    EXPECT_EQ(Grid->RowSelectList()->Items(6), 1); // r8
    EXPECT_EQ(Grid->RowSelectList()->Count(), Rows - 2);
    Grid->RemoveRows(3, 1);
    EXPECT_EQ(Grid->RowSelectList()->Items(5), 1); // r8
    EXPECT_EQ(Grid->RowSelectList()->Items(3), 0);
    EXPECT_TRUE(Grid->MouseActions()->DisjunctRowSelect());
}

TEST_F(ExtGridStructureTest, AHiddenGridLeavesItsCallersUpdateLockAlone)
{
    Grid->SetVisible(false);
    Grid->StartUpdate();
    Grid->RemoveRows(2, 1);
    Grid->DeleteRowRange(2, 1);
    Grid->InsertRows(2, 1);
    Grid->RemoveDuplicates(1, true);
    EXPECT_EQ(Grid->UpdateCount(), 1);
    Grid->SetVisible(true);
    Grid->FloatingFooter()->SetVisible(true);
    Grid->DeleteRowRange(2, 1);
    EXPECT_EQ(Grid->UpdateCount(), 1);
}

TEST_F(ExtGridStructureTest, RemoveRowsFreesTheRowsCellObjectsInHiddenColumnsToo)
{
    Prepare();
    // Properties in the hidden column and in a shown one of r2 (display 2).
    Grid->CellProperties(2, 2)->SetBrushColor(TColorOf(0xFF));
    Grid->CellProperties(3, 2)->SetBrushColor(TColorOf(0xFF));
    Grid->CellProperties(3, 3)->SetBrushColor(TColorOf(0xFF00));
    Grid->RemoveRows(2, 1);
    EXPECT_EQ(Grid->Store().Object(2, 2), nullptr);
    ASSERT_NE(Grid->Store().Object(3, 2), nullptr); // r3's own moved up
    EXPECT_EQ(Grid->CellProperties(3, 2)->BrushColor(), TColorOf(0xFF00));
}

TEST_F(ExtGridStructureTest, InsertRowsWithAFloatingFooterKeepsTheFooterLast)
{
    Grid->FloatingFooter()->SetVisible(true);
    Grid->InsertRows(3, 2);
    EXPECT_EQ(Grid->RowCount(), Rows + 2);
    EXPECT_EQ(Grid->Store().Text(1, Grid->RowCount() - 1), "r10");
    EXPECT_EQ(Grid->RowHeights(Grid->RowCount() - 1), 30);
    EXPECT_EQ(Grid->Store().Text(1, 3), "");
    EXPECT_EQ(Grid->RowHeights(3), Grid->DefaultRowHeight());
    EXPECT_EQ(Grid->Store().Text(1, 5), "r3");
    EXPECT_TRUE(Grid->FloatingFooter()->Visible());
    // A new row goes before the footer row.
    Grid->AddRow();
    EXPECT_EQ(Grid->Store().Text(1, Grid->RowCount() - 2), "");
    EXPECT_EQ(Grid->Store().Text(1, Grid->RowCount() - 3), "r9");
}

// Real columns after the operation, as "text of display row 1:width", hidden ones in brackets,
// and the hidden row's stored cells.
std::string Columns(const TStructGrid &G)
{
    std::string S;
    for (int C = 1; C < G.TotalColCount(); ++C) {
        const std::string T = G.Store().Text(C, 1).isEmpty() ? "-" : G.Store().Text(C, 1).toStdString();
        if (G.IsHiddenColumn(C))
            S += Bracketed(T) + ' ';
        else
        {
            S += T;
            S += ':';
            S += std::to_string(G.ColWidths(G.RealToDisplCol(C)));
            S += ' ';
        }
    }
    S += "| hidden row";
    TStringList *Items = G.GridItems()->Items(0)->Items();
    for (int C = 1; C < Items->Count(); ++C)
    {
        S += ' ';
        S += Items->Strings(C).isEmpty() ? std::string("-") : Items->Strings(C).toStdString();
    }
    return S;
}

TEST_F(ExtGridStructureTest, ColumnOperationsMoveTextsWidthsAndVisibility)
{
    const struct {
        const char *Name;
        std::function<void(TStructGrid &)> Op;
        const char *Expected;
        int ColCount;
        int Hidden;
    } Cases[] = {
        {"nothing", [](TStructGrid &) {}, "r1:41 [h1] x1:43 y1:44 z1:45 | hidden row r4 h4 x4 y4 z4", 5, 1},
        {"RemoveCols of a shown column", [](TStructGrid &G) { G.RemoveCols(3, 1); },
         "r1:41 [h1] y1:44 z1:45 | hidden row r4 h4 y4 z4", 4, 1},
        {"RemoveCols of the hidden column", [](TStructGrid &G) { G.RemoveCols(2, 1); },
         "r1:41 x1:43 y1:44 z1:45 | hidden row r4 x4 y4 z4", 5, 0},
        {"RemoveCols across the hidden column", [](TStructGrid &G) { G.RemoveCols(1, 3); },
         "y1:44 z1:45 | hidden row y4 z4", 3, 0},
        {"RemoveCols clipped", [](TStructGrid &G) { G.RemoveCols(4, 5); }, "r1:41 [h1] x1:43 | hidden row r4 h4 x4", 3, 1},
        {"RemoveCols past the end", [](TStructGrid &G) { G.RemoveCols(6, 1); G.RemoveCols(-1, 2); G.RemoveCols(1, 0); },
         "r1:41 [h1] x1:43 y1:44 z1:45 | hidden row r4 h4 x4 y4 z4", 5, 1},
        {"InsertCols before the hidden column", [](TStructGrid &G) { G.InsertCols(2, 1); },
         "r1:41 -:64 [h1] x1:43 y1:44 z1:45 | hidden row r4 - h4 x4 y4 z4", 6, 1},
        {"InsertCols after the hidden column", [](TStructGrid &G) { G.InsertCols(3, 2); },
         "r1:41 [h1] -:64 -:64 x1:43 y1:44 z1:45 | hidden row r4 h4 - - x4 y4 z4", 7, 1},
        // After the last real column, also with one hidden before it.
        {"AddColumn", [](TStructGrid &G) { G.AddColumn(); },
         "r1:41 [h1] x1:43 y1:44 z1:45 -:64 | hidden row r4 h4 x4 y4 z4", 6, 1},
    };
    for (const auto &C : Cases) {
        SetUp();
        Prepare();
        C.Op(*Grid);
        EXPECT_EQ(Columns(*Grid), C.Expected) << C.Name;
        EXPECT_EQ(Grid->ColCount(), C.ColCount) << C.Name;
        EXPECT_EQ(Grid->NumHiddenColumns(), C.Hidden) << C.Name;
        EXPECT_EQ(Grid->TotalColCount(), C.ColCount + C.Hidden) << C.Name;
    }
}

TEST_F(ExtGridStructureTest, RemovingAColumnMovesTheControlsBesideIt)
{
    Prepare();
    Grid->RemoveCols(1, 1);
    ASSERT_EQ(Grid->Controls()->Count(), 1);
    EXPECT_EQ(Grid->Controls()->GetControl(0)->X(), 2);
    Grid->RemoveCols(2, 1);
    EXPECT_EQ(Grid->Controls()->Count(), 0);
}

TEST_F(ExtGridStructureTest, RemoveDuplicatesKeepsTheFirstRowOfEachText)
{
    Prepare();
    Grid->SetCells(3, 2, "a");
    Grid->SetCells(3, 3, "A");
    Grid->SetCells(3, 5, "a");
    // Display column 2 is real column 3 beside the hidden one.
    Grid->RemoveDuplicates(2, true);
    EXPECT_EQ(State(), "r0 r1 r2 r3 [r4] r5 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r8 top r1");
    Grid->RemoveDuplicates(2, false);
    EXPECT_EQ(State(), "r0 r1 r2 [r4] r5 r7 r8 r9 r10 | mod r7 | ctl 3@r7 | cur r9 top r1");
}

TEST_F(ExtGridStructureTest, MergeColumnCellsMergesRunsAndTheNextColumnInsideThem)
{
    Prepare();
    // Display rows 1..9: a a b b b c c c d in real column 1, and 1 1 1 2 2 3 3 4 4 in column 3.
    const char *First[] = {"a", "a", "b", "b", "b", "c", "c", "c", "d"};
    const char *Second[] = {"1", "1", "1", "2", "2", "3", "3", "4", "4"};
    for (int D = 1; D < Grid->RowCount(); ++D) {
        Grid->SetCells(1, D, First[D - 1]);
        Grid->SetCells(3, D, Second[D - 1]);
    }
    Grid->MergeColumnCells(1, true);
    EXPECT_EQ(Grid->CellSpan(1, 1).Y, 1);
    EXPECT_EQ(Grid->CellSpan(1, 3).Y, 2);
    EXPECT_EQ(Grid->CellSpan(1, 6).Y, 2);
    EXPECT_FALSE(Grid->IsMergedCell(1, 9));
    Grid->MergeColumnCells(3, false);
    // Only inside the first column's ranges: 1 1 | 1 at row 3 is cut off, 4 4 spans two ranges.
    EXPECT_EQ(Grid->CellSpan(3, 1).Y, 1);
    EXPECT_FALSE(Grid->IsMergedCell(3, 3));
    EXPECT_EQ(Grid->CellSpan(3, 4).Y, 1);
    EXPECT_EQ(Grid->CellSpan(3, 6).Y, 1);
    EXPECT_FALSE(Grid->IsMergedCell(3, 8));
    // The merged columns list does both at once and splits what it made before.
    Grid->SplitAllColumnCells();
    EXPECT_FALSE(Grid->IsMergedCell(1, 1));
    Grid->MergedColumns()->Add(1);
    EXPECT_EQ(Grid->CellSpan(1, 3).Y, 2);
    Grid->SplitColumnCells(1);
    EXPECT_FALSE(Grid->IsMergedCell(1, 3));
    EXPECT_FALSE(Grid->IsMergedCell(1, 4));
}

TEST_F(ExtGridStructureTest, MergeRowCellsMergesRunsAlongTheRowAndSplitsThemAgain)
{
    const char *Texts[] = {"a", "a", "b", "b", "c"};
    for (int C = 1; C < 6; ++C)
        Grid->SetCells(C, 2, Texts[C - 1]);
    Grid->MergeRowCells(2, true);
    EXPECT_EQ(Grid->CellSpan(1, 2).X, 1);
    EXPECT_EQ(Grid->CellSpan(3, 2).X, 1);
    EXPECT_FALSE(Grid->IsMergedCell(5, 2));
    Grid->SplitRowCells(2);
    for (int C = 1; C < 6; ++C)
        EXPECT_FALSE(Grid->IsMergedCell(C, 2)) << C;
    Grid->MergeRowCells(2, true);
    Grid->MergeCells(1, 4, 2, 3);
    Grid->SplitAllCells();
    for (int R = 0; R < Rows; ++R)
        for (int C = 0; C < 6; ++C)
            EXPECT_FALSE(Grid->IsMergedCell(C, R)) << C << "," << R;
}

TEST_F(ExtGridStructureTest, ClearRectEmptiesAMergedRangeAndFreesProperties)
{
    Prepare();
    Grid->MergeCells(1, 1, 1, 3);
    Grid->CellProperties(3, 5)->SetBrushColor(TColorOf(0xFF));
    // Part of the range: the base cell's text goes.
    Grid->ClearRect(1, 2, 1, 2);
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Store().Object(1, 2), nullptr);
    EXPECT_EQ(Grid->Store().Text(1, 3), "r3");
    // Texts only: the properties stay.
    Grid->SetClearTextOnly(true);
    Grid->ClearRect(3, 5, 3, 5);
    EXPECT_NE(Grid->Store().Object(3, 5), nullptr);
    EXPECT_EQ(Grid->Store().Text(3, 5), "");
    Grid->SetClearTextOnly(false);
    // The whole grid, hidden columns included; with a hidden row and column about, the flag
    // that cells may have properties stays up.
    Grid->Clear();
    EXPECT_EQ(Grid->Store().Object(3, 5), nullptr);
    EXPECT_EQ(Grid->Store().Text(2, 3), "");
    EXPECT_EQ(Grid->GridItems()->Items(0)->Items()->Strings(1), "r4");
    EXPECT_TRUE(Grid->HasCellProps());
}

TEST_F(ExtGridStructureTest, ClearRectOverTheWholePlainGridDropsThePropertiesFlag)
{
    Grid->CellProperties(3, 5)->SetBrushColor(TColorOf(0xFF));
    ASSERT_TRUE(Grid->HasCellProps());
    Grid->ClearRect(0, 0, Grid->ColCount() - 1, Grid->RowCount() - 1);
    EXPECT_FALSE(Grid->HasCellProps());
    EXPECT_EQ(Grid->Store().Object(3, 5), nullptr);
    EXPECT_EQ(Grid->Cells(1, 4), "");
}

TEST_F(ExtGridStructureTest, ClearingRowsColumnsAndNormalCellsKeepsTheirBorders)
{
    Grid->ClearRows(2, 1);
    EXPECT_EQ(Grid->Cells(5, 2), "");
    EXPECT_EQ(Grid->Cells(5, 3), "z3");
    Grid->ClearCols(4, 1);
    EXPECT_EQ(Grid->Cells(4, 0), "");
    EXPECT_EQ(Grid->Cells(5, 0), "z0");
    Grid->SetFixedFooters(1);
    Grid->ClearNormalCells();
    EXPECT_EQ(Grid->Cells(1, 0), "r0");            // fixed row
    EXPECT_EQ(Grid->Cells(1, Rows - 1), "r10");    // footer row
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Cells(5, Rows - 2), "");
}

TEST_F(ExtGridStructureTest, TrimMergeColsAndSearches)
{
    Grid->SetCells(1, 2, "  a b  ");
    Grid->TrimRow(2);
    EXPECT_EQ(Grid->Cells(1, 2), "a b");
    Grid->MergeCols(1, 3, "/");
    EXPECT_EQ(Grid->Cells(1, 2), "a b/x2");
    EXPECT_EQ(Grid->Cells(1, 0), "r0"); // fixed row untouched
    EXPECT_EQ(Grid->Cells(3, 2), "y2"); // the second column went
    EXPECT_EQ(Grid->ColCount(), 5);

    int C = -1, R = -1;
    EXPECT_TRUE(Grid->IsCell("y2", C, R));
    EXPECT_EQ(C, 3);
    EXPECT_EQ(R, 2);
    EXPECT_FALSE(Grid->IsCell("y", C, R)); // whole texts only
    Grid->SetCells(2, 4, "|\\wide");
    EXPECT_TRUE(Grid->IsWideCell(2, 4));
    EXPECT_FALSE(Grid->IsWideCell(2, 3));
}

} // namespace

// The rows picked by their selection or check box leave or hide together; everything the row
// carries goes with it, and the rows left keep theirs. Display rows of the fixture: r0 r1 r2 r3
// r5 r6 r7 r8 r9 r10 (r4 hidden).
TEST_F(ExtGridStructureTest, SelectionDrivenRowOperationsKeepEverythingInStep)
{
    enum TPick { pkDisplay, pkReal, pkRange };
    const struct {
        const char *Name;
        TPick Pick;
        std::vector<int> Selected; // display rows, real rows, or the range's top and bottom
        std::function<void(TStructGrid &)> Op;
        const char *Expected;
    } Cases[] = {
        {"RemoveSelectedRows", pkDisplay, {2, 4, 6}, [](TStructGrid &G) { G.RemoveSelectedRows(); },
         "r0 r1 r3 [r4] r6 r8 r9 r10 | mod r3 | ctl | cur r10 top r1"},
        // Flags kept by real row: the hidden row before them does not shift which rows go.
        {"RemoveSelectedRows persistent", pkReal, {2, 5, 7}, [](TStructGrid &G) { G.RemoveSelectedRows(); },
         "r0 r1 r3 [r4] r6 r8 r9 r10 | mod r3 | ctl | cur r10 top r1"},
        {"RemoveSelectedRows of a range", pkRange, {2, 4}, [](TStructGrid &G) { G.RemoveSelectedRows(); },
         "r0 r1 [r4] r6 r7 r8 r9 r10 | mod r7 | ctl 3@r7 | cur r8 top r1"},
        {"RemoveUnSelectedRows", pkDisplay, {2, 6}, [](TStructGrid &G) { G.RemoveUnSelectedRows(); },
         "r0 r2 [r4] r7 | mod r7 | ctl 3@r7 | cur r7 top r2"},
        {"RemoveUnSelectedRows of a range", pkRange, {3, 6}, [](TStructGrid &G) { G.RemoveUnSelectedRows(); },
         "r0 r3 [r4] r5 r6 r7 | mod r3 r7 | ctl 3@r7 | cur r7 top r3"},
        // Hiding keeps the modified marks by display row, as every way of hiding rows does.
        {"HideSelectedRows", pkDisplay, {2, 6}, [](TStructGrid &G) { G.HideSelectedRows(); },
         "r0 r1 [r2] r3 [r4] r5 r6 [r7] r8 r9 r10 | mod r5 r9 | ctl 3@[r7] | cur r9 top r1"},
        // Each row is judged by its own flag, not by the flag of the row whose place it takes.
        {"HideUnSelectedRows", pkDisplay, {2, 6}, [](TStructGrid &G) { G.HideUnSelectedRows(); },
         "r0 [r1] r2 [r3] [r4] [r5] [r6] r7 [r8] [r9] [r10] | mod | ctl 3@r7 | cur r7 top r2"},
        {"nothing selected", pkDisplay, {}, [](TStructGrid &G) { G.RemoveSelectedRows(); G.HideSelectedRows(); },
         "r0 r1 r2 r3 [r4] r5 r6 r7 r8 r9 r10 | mod r3 r7 | ctl 3@r7 | cur r7 top r1"},
    };
    for (const auto &C : Cases) {
        SetUp();
        Prepare();
        if (C.Pick == pkRange) {
            Grid->SetSelection(TGridRect{1, C.Selected[0], 3, C.Selected[1]});
        } else {
            Grid->MouseActions()->SetDisjunctRowSelect(true);
            Grid->MouseActions()->RowSelectPersistent = C.Pick == pkReal;
            for (int R : C.Selected)
                Grid->SetRowSelect(R, true);
        }
        C.Op(*Grid);
        EXPECT_EQ(State(), C.Expected) << C.Name;
        ExpectRowsWhole(C.Name);
    }
}

TEST_F(ExtGridStructureTest, SelectedRowsGoneLeaveNoSelectionBehind)
{
    Prepare();
    Grid->MouseActions()->SetDisjunctRowSelect(true);
    Grid->SetRowSelect(2, true);
    Grid->SetRowSelect(5, true);
    Grid->RemoveSelectedRows();
    EXPECT_EQ(Grid->RowSelectCount(), 0);
    // Kept by real row, the flags of the rows that stay follow them up past the removed ones.
    Grid->MouseActions()->RowSelectPersistent = true;
    Grid->SetRowSelect(1, true);
    Grid->SetRowSelect(6, true); // r8
    Grid->SetRowSelect(7, true); // r9
    Grid->RemoveUnSelectedRows();
    EXPECT_EQ(State(), "r0 r1 [r4] r8 r9 | mod | ctl | cur r9 top r1");
    for (int R = 1; R < Grid->RowCount(); ++R)
        EXPECT_TRUE(Grid->RowSelect(Grid->RealRowIndex(R))) << R;
}

TEST_F(ExtGridStructureTest, RemoveCheckedRowsTakesCheckedOrUncheckedRowsOnly)
{
    // Check boxes on rows 0 to 8, checked on 2, 3 and 6; rows 9 and 10 have none.
    auto Setup = [this] {
        SetUp();
        for (int R = 0; R < 9; ++R)
            Grid->AddCheckBox(3, R, R == 2 || R == 3 || R == 6, false);
    };
    auto Tags = [this] {
        std::string S;
        for (int R = 0; R < Grid->RowCount(); ++R)
            S += Tag(R) + " ";
        return S;
    };
    Setup();
    Grid->RemoveCheckedRows(3, true);
    EXPECT_EQ(Tags(), "r0 r1 r4 r5 r7 r8 r9 r10 ");
    EXPECT_EQ(Grid->RowCount(), Rows - 3);
    // The fixed row keeps its check box, and rows without one stay.
    Setup();
    Grid->RemoveCheckedRows(3, false);
    EXPECT_EQ(Tags(), "r0 r2 r3 r6 r9 r10 ");
    EXPECT_TRUE(Grid->IsChecked(3, 1));
    EXPECT_FALSE(Grid->IsChecked(3, 0));
}

TEST_F(ExtGridStructureTest, SelectionDrivenColumnOperationsTakeDisplayColumns)
{
    // Display columns of the fixture: 0, r, x, y, z (the h column hidden between r and x).
    const struct {
        const char *Name;
        bool Disjunct;
        std::vector<int> Selected; // display columns, or the range's left and right
        std::function<void(TStructGrid &)> Op;
        const char *Expected;
    } Cases[] = {
        {"RemoveSelectedCols", true, {1, 3}, [](TStructGrid &G) { G.RemoveSelectedCols(); },
         "[h1] x1:43 z1:45 | hidden row h4 x4 z4"},
        // The hidden column between the selected ones stays.
        {"RemoveSelectedCols of a range", false, {1, 2}, [](TStructGrid &G) { G.RemoveSelectedCols(); },
         "[h1] y1:44 z1:45 | hidden row h4 y4 z4"},
        {"RemoveUnSelectedCols", true, {2}, [](TStructGrid &G) { G.RemoveUnSelectedCols(); },
         "[h1] x1:43 | hidden row h4 x4"},
        {"RemoveUnSelectedCols of a range", false, {2, 3}, [](TStructGrid &G) { G.RemoveUnSelectedCols(); },
         "[h1] x1:43 y1:44 | hidden row h4 x4 y4"},
        {"ClearSelection of columns", true, {1, 4}, [](TStructGrid &G) { G.ClearSelection(); },
         "-:41 [h1] x1:43 y1:44 -:45 | hidden row r4 h4 x4 y4 z4"},
        {"ClearSelection of a range", false, {3, 4}, [](TStructGrid &G) { G.ClearSelection(); },
         "r1:41 [h1] x1:43 -:44 -:45 | hidden row r4 h4 x4 y4 z4"},
    };
    for (const auto &C : Cases) {
        SetUp();
        Prepare();
        if (C.Disjunct) {
            Grid->MouseActions()->SetDisjunctColSelect(true);
            for (int Col : C.Selected)
                Grid->SetColSelect(Col, true);
        } else {
            Grid->SetSelection(TGridRect{C.Selected[0], 1, C.Selected[1], 1});
        }
        C.Op(*Grid);
        EXPECT_EQ(Columns(*Grid), C.Expected) << C.Name;
        EXPECT_EQ(Grid->NumHiddenColumns(), 1) << C.Name;
        if (C.Disjunct) {
            EXPECT_EQ(Grid->ColSelectCount(), C.Name[0] == 'C' ? int(C.Selected.size()) : 0) << C.Name;
        }
    }
}

TEST_F(ExtGridStructureTest, ClearSelectionOfRowsEmptiesTheSelectedRowsOnly)
{
    Prepare();
    Grid->MouseActions()->SetDisjunctRowSelect(true);
    Grid->SetRowSelect(2, true);
    Grid->CellProperties(3, 2)->SetBrushColor(TColorOf(0xFF));
    Grid->ClearSelection();
    EXPECT_EQ(Grid->Store().RowLength(2), 0);
    EXPECT_EQ(Tag(3), "r3");
    EXPECT_EQ(Grid->RowCount(), 10);
}
