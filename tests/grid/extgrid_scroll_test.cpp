// Bringing a cell into view, moving rows and columns with their cell controls, the used cells
// and the range exports write, sizing edges, the flat scroll bar settings and the floating
// footer's calculation.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

// The texts of column 1 from row 0 on, as a compact picture of the row order.
UnicodeString Order(TExtStringGrid *G)
{
    UnicodeString s;
    for (int r = 0; r < G->RowCount(); ++r)
        s += G->Cells(1, r).isEmpty() ? QStringLiteral(".") : G->Cells(1, r);
    return s;
}

void Letters(TExtStringGrid *G)
{
    for (int r = 0; r < G->RowCount(); ++r)
        G->SetCells(1, r, QString(QChar(u'a' + r)));
}

TEST(ExtGridMoveRows, RowsMoveWithTheirCellsAndBadRangesAreRefused)
{
    struct Case {
        int From, To, Count;
        const char *Expected;
    } cases[] = {
        {3, 4, 2, "abcfdeghij"},  // one row down
        {3, 2, 2, "abdecfghij"},  // one row up
        {3, 9, 2, "abcfghidej"},  // at row 7 of the shortened grid
        {3, 10, 2, "abcfghijde"}, // to the end
        {8, 10, 2, "abcdefghij"}, // already at the end
        {3, 3, 2, "abcdefghij"},
        {3, 4, 0, "abcdefghij"},
        {9, 2, 2, "abcdefghij"},  // past the last row
        {-1, 4, 2, "abcdefghij"},
        {3, 11, 2, "abcdefghij"},
        {3, -1, 2, "abcdefghij"},
    };
    for (const Case &c : cases) {
        TExtStringGrid G(nullptr);
        G.SetColCount(3);
        G.SetRowCount(10);
        Letters(&G);
        G.SetColors(2, 3, clRed);
        G.MoveRows(c.From, c.To, c.Count);
        EXPECT_EQ(Order(&G), QString::fromLatin1(c.Expected)) << c.From << " " << c.To << " " << c.Count;
        EXPECT_EQ(G.RowCount(), 10);
        // The cell object went with its row.
        const int d = Order(&G).indexOf(QLatin1Char('d'));
        EXPECT_EQ(G.Colors(2, d), clRed) << c.From << " " << c.To;
    }
}

class ShownGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 700, 700);
        G = new TExtStringGrid(Form.get());
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 600, 600);
        G->SetColCount(8);
        G->SetRowCount(100);
        Form->Show();
        GuiTest::ProcessEvents(20);
    }
    void TearDown() override { Form.reset(); }
    std::unique_ptr<TForm> Form;
    TExtStringGrid *G = nullptr;
};

TEST_F(ShownGrid, ScrollInViewCentresARowOutOfViewAndStopsAtTheEnd)
{
    for (int h = 300; h < 700 && G->VisibleRowCount() != 20; ++h)
        G->SetHeight(h);
    ASSERT_EQ(G->VisibleRowCount(), 20);

    // In view: nothing changes.
    G->ScrollInView(2, 5);
    EXPECT_EQ(G->TopRow(), 1);
    EXPECT_EQ(G->Row(), 1);

    G->ScrollInView(5, 40);
    EXPECT_EQ(G->Row(), 40);
    EXPECT_EQ(G->TopRow(), 30);
    G->ScrollInView(5, 95);
    EXPECT_EQ(G->TopRow(), 81);
    G->ScrollInView(5, 100); // past the last row: nothing
    EXPECT_EQ(G->TopRow(), 81);
}

TEST_F(ShownGrid, AGridLowerThanItsSearchPanelStillReturns)
{
    G->SearchFooter()->SetVisible(true);
    G->SearchPanel()->SetHeight(200);
    G->SetHeight(120);
    G->ScrollInView(2, 60);
    EXPECT_EQ(G->Row(), 60);
    EXPECT_LT(G->TopRow(), G->RowCount());
}

TEST_F(ShownGrid, MovedColumnsAndRowsTakeTheirCellControls)
{
    auto *InTwo = new TEdit(Form.get());
    auto *InOne = new TEdit(Form.get());
    G->SetCellControls(2, 2, InTwo);
    G->SetCellControls(1, 3, InOne);
    G->CellControlsUpdate(false);
    GuiTest::ProcessEvents(10);

    G->MoveColumn(1, 3);
    EXPECT_EQ(InTwo->Left(), G->CellRect(1, 2).Left - 1);
    EXPECT_EQ(InOne->Left(), G->CellRect(3, 3).Left - 1);
    EXPECT_EQ(G->CellControls(1, 2), InTwo);
    EXPECT_EQ(G->CellControls(3, 3), InOne);

    G->MoveRow(3, 5);
    EXPECT_EQ(InOne->Top(), G->CellRect(3, 5).Top - 1);
    EXPECT_EQ(InTwo->Top(), G->CellRect(1, 2).Top - 1);
    G->MoveRow(5, 1);
    EXPECT_EQ(InOne->Top(), G->CellRect(3, 1).Top - 1);
    EXPECT_EQ(InTwo->Top(), G->CellRect(1, 3).Top - 1);
}

TEST_F(ShownGrid, SizingEdgesOfHeaderCells)
{
    G->SetFixedRows(1);
    G->SetFixedCols(1);
    TGridOptions o = G->Options();
    o.Include(goColSizing);
    o.Exclude(goRowSizing);
    G->SetOptions(o);
    const TRect header = G->CellRect(2, 0);
    const TRect normal = G->CellRect(3, 4);
    const int midY = (header.Top + header.Bottom) / 2;
    EXPECT_TRUE(G->IsOnSizingEdge(header.Right - 3, midY));
    EXPECT_TRUE(G->IsOnSizingEdge(header.Left + 3, midY));
    EXPECT_FALSE(G->IsOnSizingEdge(header.Right - 4, midY));
    EXPECT_FALSE(G->IsOnSizingEdge((normal.Left + normal.Right) / 2, (normal.Top + normal.Bottom) / 2));
    EXPECT_FALSE(G->IsOnSizingEdge(normal.Right - 1, (normal.Top + normal.Bottom) / 2));
    EXPECT_FALSE(G->IsOnSizingEdge(-5, -5));

    // A fixed column with row sizing answers by its top and bottom edges.
    o.Include(goRowSizing);
    G->SetOptions(o);
    const TRect fixed = G->CellRect(0, 4);
    const int midX = (fixed.Left + fixed.Right) / 2;
    EXPECT_TRUE(G->IsOnSizingEdge(midX, fixed.Bottom - 3));
    EXPECT_FALSE(G->IsOnSizingEdge(midX, (fixed.Top + fixed.Bottom) / 2));

    int c = 0, r = 0;
    G->ScreenToCell(G->ClientToScreen(TPoint((normal.Left + normal.Right) / 2, normal.Top + 2)), c, r);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(r, 4);
}

TEST(ExtGridUsedCells, TheRectangleOfNonEmptyCells)
{
    TExtStringGrid G(nullptr);
    G.SetColCount(5);
    G.SetRowCount(6);
    EXPECT_EQ(G.UsedCells(), TRect(0, 0, 0, 0));
    G.SetCells(2, 3, QStringLiteral("x"));
    EXPECT_EQ(G.UsedCells(), TRect(2, 3, 2, 3));
    G.SetCells(4, 0, QStringLiteral("Header"));
    EXPECT_EQ(G.UsedCells(), TRect(2, 0, 4, 3));
}

TEST(ExtGridSaveRange, FixedCellsAreSavedOrLeftOut)
{
    TExtStringGrid G(nullptr);
    G.SetColCount(6);
    G.SetRowCount(10);
    G.SetFixedCols(1);
    G.SetFixedRows(1);
    G.SetFixedRightCols(1);
    G.SetFixedFooters(1);
    EXPECT_EQ(G.SaveColCount(), 6);
    EXPECT_EQ(G.SaveRowCount(), 10);
    EXPECT_EQ(G.SaveStartCol(), 0);
    EXPECT_EQ(G.SaveEndRow(), 9);
    G.SetSaveFixedCells(false);
    EXPECT_EQ(G.SaveColCount(), 4);
    EXPECT_EQ(G.SaveRowCount(), 8);
    EXPECT_EQ(G.SaveStartCol(), 1);
    EXPECT_EQ(G.SaveStartRow(), 1);
    EXPECT_EQ(G.SaveEndCol(), 4);
    EXPECT_EQ(G.SaveEndRow(), 8);
    G.SetSaveFixedRows(true);
    EXPECT_EQ(G.SaveRowCount(), 10);
    EXPECT_EQ(G.SaveColCount(), 4);
}

// Keeps what the grid hands to the flat scroll bars.
class TRecordingGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void FlatSetScrollProp(int Index, int NewValue) override { Props.emplace_back(Index, NewValue); }
    std::vector<std::pair<int, int>> Props;
};

TEST(ExtGridFlatScroll, StylesColoursAndWidthsGoToTheScrollBars)
{
    TRecordingGrid G(nullptr);
    using P = std::vector<std::pair<int, int>>;
    struct Case {
        TScrollType Type;
        P Expected;
    } cases[] = {
        {ssNormal, P{{0x100, 0}, {0x200, 0}}},
        {ssFlat, P{{0x100, 2}, {0x200, 2}}},
        {ssEncarta, P{{0x100, 1}, {0x200, 1}}},
        {ssMetro, P{}},
    };
    for (const Case &c : cases) {
        G.Props.clear();
        G.SetScrollType(c.Type); // applies the style, changed or not
        EXPECT_EQ(G.Props, c.Expected) << int(c.Type);
    }
    G.Props.clear();
    G.ApplyFlatScrollColor(); // clNone: nothing
    G.SetScrollColor(TColorOf(0x123456u));
    G.ApplyFlatScrollColor();
    G.SetScrollWidth(12);
    G.ApplyFlatScrollWidth();
    EXPECT_EQ(G.Props, (P{{0x40, 0x123456}, {0x80, 0x123456}, {0x8, 12}, {0x4, 12}}));
}

class FooterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(3);
        G->SetRowCount(10);
        G->SetFixedRows(1);
        for (int r = 1; r <= 8; ++r)
            G->SetCells(1, r, QString::number(r));
        G->FloatingFooter()->SetVisible(true);
    }
    UnicodeString Footer(int ACol) { return G->Cells(ACol, G->RowCount() - 1); }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(FooterTest, EachColumnShowsItsCalculation)
{
    struct Case {
        TColumnCalcType Calc;
        const char *Expected;
    } cases[] = {
        {acSUM, "36.00"}, {acAVG, "4.50"}, {acMIN, "1.00"},      {acMAX, "8.00"},
        {acCOUNT, "8"},   {acDISTINCT, "8.00"}, {acSTDDEV, "2.29"},
    };
    for (const Case &c : cases) {
        G->FloatingFooter()->SetColumnCalc(1, c.Calc);
        G->CalcFooter(-1);
        EXPECT_EQ(Footer(1), QString::fromLatin1(c.Expected)) << int(c.Calc);
    }
    // acSPREAD computes nothing.
    G->FloatingFooter()->SetColumnCalc(1, acSPREAD);
    G->CalcFooter(1);
    EXPECT_EQ(Footer(1), QStringLiteral("2.29"));
}

TEST_F(FooterTest, HiddenRowsCountWhenAsked)
{
    G->SetRowCount(12);
    for (int r = 1; r <= 10; ++r)
        G->SetCells(1, r, QString::number(r));
    G->FloatingFooter()->SetColumnCalc(1, acCOUNT);
    G->FloatingFooter()->SetColumnCalc(2, acSUM);
    for (int r = 1; r <= 10; ++r)
        G->SetCells(2, r, QStringLiteral("1"));
    G->HideRows(3, 4);
    ASSERT_EQ(G->RowCount(), 10);
    G->CalcFooter(-1);
    EXPECT_EQ(Footer(1), QStringLiteral("10"));
    EXPECT_EQ(Footer(2), QStringLiteral("10.00"));
    G->FloatingFooter()->CalculateHiddenRows = false;
    G->CalcFooter(-1);
    EXPECT_EQ(Footer(1), QStringLiteral("8"));
    EXPECT_EQ(Footer(2), QStringLiteral("8.00"));
}

TEST_F(FooterTest, OneHiddenRowCountsAndTheFooterNeverAddsItself)
{
    G->SetRowCount(11);
    for (int r = 1; r <= 9; ++r)
        G->SetCells(1, r, QStringLiteral("1"));
    G->FloatingFooter()->SetColumnCalc(1, acSUM);
    G->HideRow(5);
    for (int i = 0; i < 2; ++i) {
        G->CalcFooter(-1);
        EXPECT_EQ(Footer(1), QStringLiteral("9.00")) << i;
    }
}

TEST_F(FooterTest, CustomFootersAskTheGridThenTheFooterElseEmpty)
{
    G->FloatingFooter()->SetColumnCalc(2, acCUSTOM);
    G->SetCells(2, 9, QStringLiteral("old"));
    G->CalcFooter(-1);
    EXPECT_TRUE(Footer(2).isEmpty());

    G->FloatingFooter()->OnCalcFooter = [](TObject *, int ACol, int ARow, UnicodeString &Value) {
        Value = QStringLiteral("footer %1 %2").arg(ACol).arg(ARow);
    };
    G->CalcFooter(2);
    EXPECT_EQ(Footer(2), QStringLiteral("footer 2 9"));
    G->OnCalcFooter = [](TObject *, int, int, UnicodeString &Value) { Value = QStringLiteral("grid"); };
    G->CalcFooter(-1);
    EXPECT_EQ(Footer(2), QStringLiteral("grid"));
}

TEST_F(FooterTest, AFooterThatCannotBeComputedStaysEmptyAndNothingRaises)
{
    G->SetCells(1, 1, QStringLiteral("abc"));
    EXPECT_THROW(G->ColumnMin(1, 1, 8), RIdeZareVorev);
    G->FloatingFooter()->SetColumnCalc(1, acMIN);
    G->FloatingFooter()->SetColumnCalc(2, acCOUNT);
    G->SetCells(1, 9, QStringLiteral("old"));
    EXPECT_NO_THROW(G->CalcFooter(-1));
    EXPECT_TRUE(Footer(1).isEmpty());
    EXPECT_EQ(Footer(2), QStringLiteral("8"));
    // An edit recalculates without failing.
    EXPECT_NO_THROW(G->TextFill(false, QStringLiteral("x")));
}

TEST_F(FooterTest, AHiddenOrUncalculatedFooterChangesNothing)
{
    G->FloatingFooter()->SetColumnCalc(1, acSUM);
    G->SetCells(1, 9, QStringLiteral("keep"));
    G->FloatingFooter()->SetVisible(false);
    G->CalcFooter(-1);
    EXPECT_EQ(Footer(1), QStringLiteral("keep"));
    G->FloatingFooter()->SetVisible(true);
    G->FloatingFooter()->EnableCalculation = false;
    G->CalcFooter(-1);
    EXPECT_EQ(Footer(1), QStringLiteral("keep"));
    G->FloatingFooter()->EnableCalculation = true;
    G->FloatingFooter()->FooterStyle = fsColumnPreview;
    G->CalcFooter(-1);
    EXPECT_EQ(Footer(1), QStringLiteral("keep"));
}

} // namespace
