// The string grid as a control: counts, geometry, selection, navigation, scrolling and painting.
#include "platform/Grids.h"
#include "platform/Windows.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>

namespace {

// Opens the protected input steps and counts the cells it is asked to draw.
class TTestGrid : public TStringGrid {
public:
    explicit TTestGrid(TComponent *AOwner = nullptr) : TStringGrid(AOwner) {}
    using TStringGrid::KeyDown;
    using TStringGrid::MouseDown;
    using TStringGrid::MouseMove;
    using TStringGrid::MouseUp;
    using TStringGrid::DoMouseWheelDown;
    using TStringGrid::DoMouseWheelUp;

    std::set<std::pair<int, int>> Drawn;
    std::vector<TGridDrawState> States;
    int DrawCalls = 0;
    std::vector<std::pair<int, int>> Moved;
    int TopLeftCalls = 0;

protected:
    void DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState) override
    {
        ++DrawCalls;
        Drawn.insert({ACol, ARow});
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    void ColumnMoved(int FromIndex, int ToIndex) override
    {
        Moved.push_back({FromIndex, ToIndex});
        TStringGrid::ColumnMoved(FromIndex, ToIndex);
    }
    void TopLeftChanged() override
    {
        ++TopLeftCalls;
        TStringGrid::TopLeftChanged();
    }
};

class TTracked : public TObject {
public:
    explicit TTracked(int *freed) : FFreed(freed) {}
    ~TTracked() override { ++*FFreed; }

private:
    int *FFreed;
};

// A grid of 200 x 18 pixel cells ... 20 rows of 20 pixels in a 200 x 200 client area (no
// scroll bars, so that the client area is exactly the window).
std::unique_ptr<TTestGrid> MakeGrid(int cols = 10, int rows = 100)
{
    auto g = std::make_unique<TTestGrid>();
    g->SetScrollBars(ssNone);
    g->SetBounds(0, 0, 200, 200);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetDefaultColWidth(39); // 40 with the grid line
    g->SetDefaultRowHeight(19); // 20 with the grid line
    return g;
}

void Key(TTestGrid &g, Word key, TShiftState shift = {})
{
    g.KeyDown(key, shift);
}

TEST(StringGrid, HiddenColumnTextsSurviveAShrinkAndGrow)
{
    auto g = MakeGrid(6, 5);
    int freed = 0;
    TTracked obj(&freed);
    g->SetCells(5, 2, "hidden");
    g->SetObjects(4, 3, &obj);
    g->SetColCount(3);
    EXPECT_EQ(g->ColCount(), 3);
    // The library reads hidden columns by their real index while they are out of the count.
    EXPECT_EQ(g->Cells(5, 2), "hidden");
    g->SetCells(4, 1, "written while hidden");
    g->SetColCount(7);
    EXPECT_EQ(g->Cells(5, 2), "hidden");
    EXPECT_EQ(g->Cells(4, 1), "written while hidden");
    EXPECT_EQ(g->Objects(4, 3), &obj);
    // Rows behave alike.
    g->SetCells(1, 4, "last row");
    g->SetRowCount(2);
    g->SetRowCount(5);
    EXPECT_EQ(g->Cells(1, 4), "last row");
    EXPECT_EQ(freed, 0);
}

TEST(StringGrid, ObjectsAreNeverFreedByTheGrid)
{
    int freed = 0;
    auto a = std::make_unique<TTracked>(&freed);
    auto b = std::make_unique<TTracked>(&freed);
    {
        auto g = MakeGrid(4, 6);
        g->SetObjects(1, 1, a.get());
        g->SetObjects(2, 4, b.get());
        g->DeleteRow(1);
        g->DeleteColumn(2);
        g->SetObjects(0, 0, a.get());
        g->Rows(3)->Clear();
        g->SetRowCount(2);
    }
    EXPECT_EQ(freed, 0);
}

TEST(StringGrid, NeverWrittenCellsAndBadIndices)
{
    auto g = MakeGrid(3, 3);
    EXPECT_EQ(g->Cells(2, 2), QString());
    EXPECT_EQ(g->Objects(2, 2), nullptr);
    EXPECT_EQ(g->Cells(-1, 0), QString());
    EXPECT_THROW(g->SetCells(-1, 0, "x"), EInvalidGridOperation);
    EXPECT_THROW(g->SetCells(0, 1 << 30, "x"), EInvalidGridOperation);
    try {
        g->SetObjects(0, -5, nullptr);
        FAIL();
    } catch (const EInvalidGridOperation &e) {
        EXPECT_EQ(e.Message(), "Grid index out of range");
    }
}

TEST(StringGrid, RowsAndColsAsStringLists)
{
    auto g = MakeGrid(3, 4);
    int freed = 0;
    TTracked obj(&freed);
    g->SetCells(5, 1, "beyond");
    TStrings *row = g->Rows(1);
    EXPECT_EQ(row->Count(), 3);
    row->SetStrings(0, "a");
    row->SetObjects(2, &obj);
    EXPECT_EQ(g->Cells(0, 1), "a");
    EXPECT_EQ(g->Objects(2, 1), &obj);

    // Assigning a row copies texts and objects of the first ColCount cells and no more.
    g->SetRows(2, g->Rows(1));
    EXPECT_EQ(g->Cells(0, 2), "a");
    EXPECT_EQ(g->Objects(2, 2), &obj);
    EXPECT_EQ(g->Cells(5, 2), QString());

    TStrings *col = g->Cols(0);
    EXPECT_EQ(col->Count(), 4);
    EXPECT_EQ(col->Strings(2), "a");
    EXPECT_THROW(col->Insert(0, "x"), EInvalidGridOperation);
    EXPECT_THROW(row->Delete(0), EInvalidGridOperation);
    EXPECT_EQ(g->Rows(1), row); // the same list object each time
}

TEST(StringGrid, DeleteAndMoveCarryCellsObjectsAndSizes)
{
    auto g = MakeGrid(4, 5);
    int freed = 0;
    TTracked obj(&freed);
    for (int r = 0; r < 5; ++r)
        g->SetCells(0, r, QString::number(r));
    g->SetObjects(1, 3, &obj);
    g->SetRowHeights(3, 33);

    g->DeleteRow(1);
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Cells(0, 1), "2");
    EXPECT_EQ(g->Objects(1, 2), &obj);
    EXPECT_EQ(g->RowHeights(2), 33);
    // The deleted row does not come back when the grid grows again.
    g->SetRowCount(5);
    EXPECT_EQ(g->Cells(0, 4), QString());

    g->SetCells(1, 0, "h1");
    g->SetCells(3, 0, "h3");
    g->SetColWidths(1, 77);
    g->MoveColumn(1, 3);
    ASSERT_EQ(g->Moved.size(), 1u);
    EXPECT_EQ(g->Moved[0], std::make_pair(1, 3));
    EXPECT_EQ(g->Cells(3, 0), "h1");
    EXPECT_EQ(g->Cells(2, 0), "h3");
    EXPECT_EQ(g->Objects(3, 2), &obj);
    EXPECT_EQ(g->ColWidths(3), 77);

}

TEST(StringGrid, CellsKeptBeyondTheCountsStayNextToTheLastLineThroughADelete)
{
    auto g = MakeGrid(6, 7);
    g->SetCells(4, 1, "c4");
    g->SetCells(5, 1, "c5");
    g->SetCells(1, 5, "r5");
    g->SetCells(1, 6, "r6");
    g->SetCells(2, 1, "deleted column");
    g->SetCells(1, 2, "deleted row");
    g->SetColCount(4);
    g->SetRowCount(5);
    g->DeleteColumn(2);
    g->DeleteRow(2);
    g->SetColCount(5);
    g->SetRowCount(6);
    EXPECT_EQ(g->Cells(3, 1), "c4");
    EXPECT_EQ(g->Cells(4, 1), "c5");
    EXPECT_EQ(g->Cells(1, 4), "r5");
    EXPECT_EQ(g->Cells(1, 5), "r6");
    for (int c = 0; c < 5; ++c)
        EXPECT_NE(g->Cells(c, 1), "deleted column");
    for (int r = 0; r < 6; ++r)
        EXPECT_NE(g->Cells(1, r), "deleted row");
}

TEST(Grid, FixedCountsAreRefusedWithTheClassicMessages)
{
    auto g = MakeGrid(3, 3);
    try {
        g->SetFixedCols(3);
        FAIL();
    } catch (const EInvalidGridOperation &e) {
        EXPECT_EQ(e.Message(), "Fixed column count must be less than column count");
    }
    try {
        g->SetFixedRows(5);
        FAIL();
    } catch (const EInvalidGridOperation &e) {
        EXPECT_EQ(e.Message(), "Fixed row count must be less than row count");
    }
    g->SetFixedRows(2);
    // A smaller count lowers the fixed count itself.
    g->SetRowCount(2);
    EXPECT_EQ(g->FixedRows(), 1);
    g->SetColCount(0);
    EXPECT_EQ(g->ColCount(), 1);
    EXPECT_EQ(g->FixedCols(), 0);
}

TEST(Grid, DefaultRowHeightSetsEveryRow)
{
    auto g = MakeGrid(3, 10);
    g->SetRowHeights(4, 50);
    g->SetDefaultRowHeight(30);
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(g->RowHeights(r), 30);
    g->SetRowCount(20);
    EXPECT_EQ(g->RowHeights(19), 30);
}

TEST(Grid, TopRowStaysWithinItsLimits)
{
    auto g = MakeGrid(10, 100);
    // 200 pixels hold 10 rows of 20: one fixed and nine scrolling ones.
    EXPECT_EQ(g->VisibleRowCount(), 9);
    g->SetTopRow(1000);
    EXPECT_EQ(g->TopRow(), 100 - 9 + 1);
    g->SetTopRow(-4);
    EXPECT_EQ(g->TopRow(), 1);
    g->SetTopRow(50);
    EXPECT_EQ(g->TopRow(), 50);
    // Scroll bars and keys go only as far as the last full page.
    g->Perform(WM_VSCROLL, MakeWParam(SB_BOTTOM, 0), 0);
    EXPECT_EQ(g->TopRow(), 100 - 9);
    // A grid that fits shows its first rows.
    g->SetRowCount(5);
    EXPECT_EQ(g->TopRow(), 1);

    // With scroll bars a shrink brings the view back to the limit, and only as far.
    g->SetScrollBars(ssBoth);
    g->SetRowCount(100);
    const int visible = g->VisibleRowCount();
    g->SetTopRow(1000);
    EXPECT_EQ(g->TopRow(), 100 - visible + 1);
    g->SetRowCount(50);
    EXPECT_EQ(g->TopRow(), 50 - visible + 1);
    g->SetTopRow(20);
    g->SetRowCount(40);
    EXPECT_EQ(g->TopRow(), 20);
    const int visibleCols = g->VisibleColCount();
    g->SetLeftCol(1000);
    EXPECT_EQ(g->LeftCol(), 10 - visibleCols + 1);
    g->SetColCount(8);
    EXPECT_EQ(g->LeftCol(), 8 - visibleCols + 1);
}

struct RoundTripCase {
    int FixedCols, FixedRows, LeftCol, TopRow, LineWidth;
};

class GridRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(GridRoundTrip, MouseToCellFindsTheCellOfEveryCellRect)
{
    const RoundTripCase p = GetParam();
    auto g = MakeGrid(30, 500);
    g->SetFixedCols(p.FixedCols);
    g->SetFixedRows(p.FixedRows);
    g->SetGridLineWidth(p.LineWidth);
    g->SetColWidths(p.FixedCols + 1, 11);
    g->SetRowHeights(p.FixedRows + 2, 7);
    g->SetLeftCol(p.LeftCol);
    g->SetTopRow(p.TopRow);
    ASSERT_EQ(g->LeftCol(), p.LeftCol);
    ASSERT_EQ(g->TopRow(), p.TopRow);
    int visible = 0;
    for (int r = 0; r < g->RowCount(); ++r) {
        for (int c = 0; c < g->ColCount(); ++c) {
            TRect rc = g->CellRect(c, r);
            bool scrolledAway = (c >= p.FixedCols && c < p.LeftCol) || (r >= p.FixedRows && r < p.TopRow);
            if (scrolledAway) {
                EXPECT_TRUE(rc.IsEmpty()) << c << "," << r;
                continue;
            }
            if (rc.IsEmpty())
                continue;
            ++visible;
            int col = -2, row = -2;
            g->MouseToCell(rc.Left, rc.Top, col, row);
            EXPECT_EQ(col, c);
            EXPECT_EQ(row, r);
            g->MouseToCell(rc.Right - 1, rc.Bottom - 1, col, row);
            EXPECT_EQ(col, c);
            EXPECT_EQ(row, r);
            TGridCoord mc = g->MouseCoord((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2);
            EXPECT_EQ(mc.X, c);
            EXPECT_EQ(mc.Y, r);
            // The cell's rectangle ends inside the client area.
            EXPECT_LE(rc.Right, g->ClientWidth());
            EXPECT_LE(rc.Bottom, g->ClientHeight());
        }
    }
    EXPECT_GT(visible, 20);
    // The grid line after a cell belongs to that cell.
    if (p.LineWidth > 0) {
        TRect rc = g->CellRect(p.LeftCol, p.TopRow);
        int col, row;
        g->MouseToCell(rc.Right, rc.Top, col, row);
        EXPECT_EQ(col, p.LeftCol);
    }
    int col, row;
    g->MouseToCell(-1, 5, col, row);
    EXPECT_EQ(col, -1);
    EXPECT_EQ(row, -1);
}

INSTANTIATE_TEST_SUITE_P(Views, GridRoundTrip,
                         ::testing::Values(RoundTripCase{0, 0, 0, 0, 1}, RoundTripCase{1, 1, 1, 1, 1},
                                           RoundTripCase{2, 3, 7, 120, 1}, RoundTripCase{1, 2, 4, 490, 0},
                                           RoundTripCase{3, 1, 10, 37, 3}),
                         [](const ::testing::TestParamInfo<RoundTripCase> &i) {
                             const RoundTripCase &p = i.param;
                             return "Fixed" + std::to_string(p.FixedCols) + "x" + std::to_string(p.FixedRows) + "At" +
                                    std::to_string(p.LeftCol) + "x" + std::to_string(p.TopRow) + "Line" +
                                    std::to_string(p.LineWidth);
                         });

TEST(Grid, ArrowsHomeEndAndPagesMoveTheCurrentCell)
{
    auto g = MakeGrid(10, 100);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    Key(*g, VK_RIGHT);
    Key(*g, VK_DOWN);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
    Key(*g, VK_LEFT);
    Key(*g, VK_LEFT); // stops at the first scrolling column
    EXPECT_EQ(g->Col(), 1);
    Key(*g, VK_UP);
    Key(*g, VK_UP);
    EXPECT_EQ(g->Row(), 1);
    Key(*g, VK_END);
    EXPECT_EQ(g->Col(), 9);
    EXPECT_GE(g->LeftCol() + g->VisibleColCount() - 1, 9); // scrolled into view
    Key(*g, VK_HOME);
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->LeftCol(), 1);
    Key(*g, VK_NEXT);
    EXPECT_EQ(g->Row(), 10);
    EXPECT_EQ(g->TopRow(), 10);
    Key(*g, VK_PRIOR);
    EXPECT_EQ(g->Row(), 1);
    Key(*g, VK_END, {ssCtrl});
    EXPECT_EQ(g->Col(), 9);
    EXPECT_EQ(g->Row(), 99);
    EXPECT_EQ(g->TopRow(), 100 - g->VisibleRowCount());
    Key(*g, VK_HOME, {ssCtrl});
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_EQ(g->TopRow(), 1);
    // Ctrl+Down scrolls without moving the current cell.
    Key(*g, VK_DOWN, {ssCtrl});
    EXPECT_EQ(g->TopRow(), 2);
    EXPECT_EQ(g->Row(), 1);
}

TEST(Grid, TabMovesOnlyWithGoTabsAndWraps)
{
    auto g = MakeGrid(3, 3);
    Key(*g, VK_TAB);
    EXPECT_EQ(g->Col(), 1);
    TGridOptions o = g->Options();
    o << goTabs;
    g->SetOptions(o);
    Key(*g, VK_TAB);
    EXPECT_EQ(g->Col(), 2);
    Key(*g, VK_TAB); // past the last column: next row, first scrolling column
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 2);
    Key(*g, VK_TAB, {ssShift});
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 1);
    // Shift+Tab goes backwards without extending the selection.
    EXPECT_EQ(g->Selection(), TGridRect(2, 1, 2, 1));
}

TEST(Grid, ShiftExtendsTheSelectionFromTheAnchor)
{
    auto g = MakeGrid(10, 100);
    Key(*g, VK_RIGHT, {ssShift});
    Key(*g, VK_DOWN, {ssShift});
    Key(*g, VK_DOWN, {ssShift});
    EXPECT_EQ(g->Selection(), TGridRect(1, 1, 2, 3));
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 3);
    Key(*g, VK_LEFT); // a plain key collapses the selection onto the new cell
    EXPECT_EQ(g->Selection(), TGridRect(1, 3, 1, 3));

    // Without goRangeSelect Shift only moves.
    TGridOptions o = g->Options();
    o >> goRangeSelect;
    g->SetOptions(o);
    Key(*g, VK_DOWN, {ssShift});
    EXPECT_EQ(g->Selection(), TGridRect(1, 4, 1, 4));

    // Row select spans the normal columns of the row.
    o << goRowSelect;
    g->SetOptions(o);
    g->SetRow(6);
    EXPECT_EQ(g->Selection(), TGridRect(1, 6, 9, 6));
}

TEST(Grid, SelectCellRefusalKeepsTheCurrentCell)
{
    auto g = MakeGrid(5, 10);
    std::vector<std::pair<int, int>> asked;
    g->OnSelectCell = [&](TObject *, int c, int r, bool &can) {
        asked.push_back({c, r});
        can = r != 3;
    };
    g->SetRow(2);
    g->SetRow(3);
    EXPECT_EQ(g->Row(), 2);
    Key(*g, VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), std::make_pair(1, 3));
    EXPECT_THROW(g->SetRow(10), EInvalidGridOperation);
}

TEST(Grid, SelectionSetterMovesTheCurrentCellToItsBottomRight)
{
    auto g = MakeGrid(8, 20);
    g->SetSelection({2, 3, 4, 6});
    EXPECT_EQ(g->Col(), 4);
    EXPECT_EQ(g->Row(), 6);
    EXPECT_EQ(g->Selection(), TGridRect(2, 3, 4, 6));
    // A rectangle past the grid is cut to it.
    g->SetSelection({-3, 5, 100, 1000});
    EXPECT_EQ(g->Selection(), TGridRect(0, 5, 7, 19));
    EXPECT_EQ(g->Col(), 7);
    EXPECT_EQ(g->Row(), 19);
    Key(*g, VK_UP);
    EXPECT_EQ(g->Row(), 18);
}

TEST(Grid, MouseClickShiftClickAndDragSelect)
{
    auto g = MakeGrid(10, 100);
    // Cell (2, 3) lies at x 80..119, y 60..79.
    g->MouseDown(mbLeft, {}, 85, 65);
    g->MouseUp(mbLeft, {}, 85, 65);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 3);
    g->MouseDown(mbLeft, {ssShift}, 125, 105);
    g->MouseUp(mbLeft, {ssShift}, 125, 105);
    EXPECT_EQ(g->Selection(), TGridRect(2, 3, 3, 5));
    // Dragging moves the anchor; the current cell stays where the press was.
    g->MouseDown(mbLeft, {}, 45, 25);
    g->MouseMove({ssLeft}, 100, 70);
    g->MouseMove({ssLeft}, 165, 130);
    g->MouseUp(mbLeft, {}, 165, 130);
    EXPECT_EQ(g->Selection(), TGridRect(1, 1, 4, 6));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    // A press on a fixed cell selects nothing.
    g->MouseDown(mbLeft, {}, 5, 65);
    g->MouseUp(mbLeft, {}, 5, 65);
    EXPECT_EQ(g->Selection(), TGridRect(1, 1, 4, 6));
}

TEST(Grid, DraggingBelowTheWindowScrollsOnEachTimerTick)
{
    auto g = MakeGrid(10, 100);
    g->HandleNeeded();
    g->MouseDown(mbLeft, {}, 45, 25);
    g->MouseMove({ssLeft}, 45, 260); // below the client area
    int anchorRow = g->Selection().Bottom;
    for (int i = 0; i < 5; ++i)
        g->Perform(WM_TIMER, 1, 0);
    EXPECT_EQ(g->Selection().Bottom, anchorRow + 5);
    EXPECT_EQ(g->TopRow(), 1 + 5 + (anchorRow - 9));
    g->MouseUp(mbLeft, {}, 45, 260);
    EXPECT_EQ(g->GridState(), gsNormal);
    // After the release the timer does nothing.
    int top = g->TopRow();
    g->Perform(WM_TIMER, 1, 0);
    EXPECT_EQ(g->TopRow(), top);
}

TEST(Grid, WheelMovesTheCurrentRow)
{
    auto g = MakeGrid(4, 5);
    EXPECT_TRUE(g->DoMouseWheelDown({}, {0, 0}));
    EXPECT_EQ(g->Row(), 2);
    g->SetRow(4);
    g->DoMouseWheelDown({}, {0, 0});
    EXPECT_EQ(g->Row(), 4);
    g->DoMouseWheelUp({}, {0, 0});
    EXPECT_EQ(g->Row(), 3);
}

TEST(Grid, ScrollBarPositionsUseTheClassicScale)
{
    auto g = MakeGrid(10, 1000001);
    g->SetScrollBars(ssBoth);
    TGridScrollInfo si;
    ASSERT_TRUE(g->GetScrollInfo(SB_VERT, si));
    EXPECT_TRUE(si.Visible);
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 127);
    EXPECT_EQ(si.nPos, 0);
    int maxTop = 1000001 - g->VisibleRowCount();
    g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 127), 0);
    EXPECT_EQ(g->TopRow(), maxTop);
    EXPECT_EQ(g->GetScrollPos(SB_VERT), 127);
    g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBPOSITION, 64), 0);
    EXPECT_NEAR(g->TopRow(), 1 + (maxTop - 1) * 64 / 127, 1);
    EXPECT_EQ(g->GetScrollPos(SB_VERT), 64);
    g->Perform(WM_VSCROLL, MakeWParam(SB_LINEDOWN, 0), 0);
    EXPECT_NEAR(g->TopRow(), 1 + (maxTop - 1) * 64 / 127 + 1, 1);
    // Dragging the thumb scrolls only with goThumbTracking.
    int top = g->TopRow();
    g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(g->TopRow(), top);
    TGridOptions o = g->Options();
    o << goThumbTracking;
    g->SetOptions(o);
    g->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(g->TopRow(), 1);
    // A grid that fits has no vertical bar.
    g->SetRowCount(3);
    g->GetScrollInfo(SB_VERT, si);
    EXPECT_FALSE(si.Visible);
}

QImage Render(TTestGrid &g)
{
    g.HandleNeeded();
    QWidget *w = g.Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::white);
    g.Drawn.clear();
    g.DrawCalls = 0;
    w->render(&img);
    return img;
}

TEST(GridPaint, OnlyVisibleCellsAreDrawn)
{
    auto g = MakeGrid(50, 1000000);
    Render(*g);
    // 200 x 200 pixels: 5 columns and 10 rows of 40 x 20, each drawn once.
    EXPECT_EQ(g->DrawCalls, 50);
    EXPECT_EQ(g->Drawn.size(), 50u);
    g->SetTopRow(900000);
    g->SetLeftCol(20);
    Render(*g);
    EXPECT_EQ(g->DrawCalls, 50);
    for (auto [c, r] : g->Drawn) {
        EXPECT_TRUE(c == 0 || (c >= 20 && c < 24)) << c;
        EXPECT_TRUE(r == 0 || (r >= 900000 && r < 900009)) << r;
    }
    // A partly visible last column and row are drawn too.
    g->SetColWidths(22, 59);
    Render(*g);
    EXPECT_EQ(g->Drawn.count({23, 900000}), 1u);
    EXPECT_EQ(g->Drawn.count({24, 900000}), 0u);
}

TEST(GridPaint, CellTextsAndSelectionReachThePixels)
{
    auto g = MakeGrid(5, 5);
    g->SetCells(1, 1, "WWWW");
    g->SetSelection({2, 2, 3, 3});
    QImage img = Render(*g);
    // A selected cell is filled with the highlight colour.
    QColor sel = ColorToQColor(clHighlight);
    EXPECT_EQ(img.pixelColor(100, 50), sel);
    // The fixed column has the fixed colour, the text cell has dark pixels.
    EXPECT_EQ(img.pixelColor(20, 70), ColorToQColor(clBtnFace));
    bool dark = false;
    for (int x = 40; x < 79 && !dark; ++x)
        for (int y = 20; y < 39 && !dark; ++y)
            dark = img.pixelColor(x, y).lightness() < 100;
    EXPECT_TRUE(dark);
    // The normal grid line below row 1.
    EXPECT_EQ(img.pixelColor(60, 39), QColor(0xC0, 0xC0, 0xC0));
}

} // namespace
