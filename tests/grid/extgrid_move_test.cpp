// Moving columns and rows: widths, column order, hidden columns and rows, sort columns, the
// current column and the move events go along; a synchronised grid follows once.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Six columns (one fixed), header texts "c0".."c5", widths 10 + column.
std::unique_ptr<TExtStringGrid> MakeGrid(int Cols = 6)
{
    auto G = std::make_unique<TExtStringGrid>(nullptr);
    G->SetColCount(Cols);
    G->SetRowCount(5);
    for (int c = 0; c < Cols; ++c) {
        G->SetColWidths(c, 10 + c);
        for (int r = 0; r < 5; ++r)
            G->SetCells(c, r, QStringLiteral("c%1").arg(c));
    }
    return G;
}

// The header texts of the shown columns (cells are addressed by real column).
UnicodeString Header(TExtStringGrid *G)
{
    QStringList l;
    for (int c = 0; c < G->ColCount(); ++c)
        l << G->Cells(G->RealColIndex(c), 0);
    return l.join(QLatin1Char(' '));
}

std::vector<int> Widths(TExtStringGrid *G)
{
    std::vector<int> w;
    for (int c = 0; c < G->ColCount(); ++c)
        w.push_back(G->ColWidths(c));
    return w;
}

TEST(ExtGridMoveColumn, WidthsSortColumnsAndTheCurrentColumnFollow)
{
    struct Case {
        int From, To;
        const char *Header;
        std::vector<int> Widths;
        int SortBefore, SortAfter;
        int ColBefore, ColAfter;
    } cases[] = {
        {2, 4, "c0 c1 c3 c4 c2 c5", {10, 11, 13, 14, 12, 15}, 4, 3, 4, 3},
        {2, 4, "c0 c1 c3 c4 c2 c5", {10, 11, 13, 14, 12, 15}, 2, 4, 2, 4},
        {2, 4, "c0 c1 c3 c4 c2 c5", {10, 11, 13, 14, 12, 15}, 5, 5, 1, 1},
        {4, 2, "c0 c1 c4 c2 c3 c5", {10, 11, 14, 12, 13, 15}, 2, 3, 2, 3},
        {4, 2, "c0 c1 c4 c2 c3 c5", {10, 11, 14, 12, 13, 15}, 3, 4, 3, 4},
        {4, 2, "c0 c1 c4 c2 c3 c5", {10, 11, 14, 12, 13, 15}, 4, 2, 4, 2},
    };
    for (const Case &c : cases) {
        auto G = MakeGrid();
        G->SetCol(c.ColBefore);
        G->SortSettings()->Column = c.SortBefore;
        G->SortSettings()->IndexShow = true;
        G->SortIndexes()->AddIndex(c.SortBefore, false);
        G->SortIndexes()->AddIndex(0, true);
        std::vector<std::pair<int, int>> events;
        G->OnColumnMoved = [&](TObject *, int F, int T) { events.emplace_back(F, T); };

        G->MoveColumn(c.From, c.To);

        SCOPED_TRACE(testing::Message() << c.From << " -> " << c.To << ", sort " << c.SortBefore);
        EXPECT_EQ(Header(G.get()), QString::fromLatin1(c.Header));
        EXPECT_EQ(Widths(G.get()), c.Widths);
        EXPECT_EQ(G->SortSettings()->Column, c.SortAfter);
        EXPECT_EQ(G->SortIndexes()->SortColumns(0), c.SortAfter);
        EXPECT_FALSE(G->SortIndexes()->SortDirections(0)); // the direction bit stays
        EXPECT_EQ(G->SortIndexes()->SortColumns(1), 0);
        EXPECT_EQ(G->Col(), c.ColAfter);
        EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{c.From, c.To}}));
    }
}

TEST(ExtGridMoveColumn, AHiddenColumnLeftOfBothStaysHiddenAndInPlace)
{
    auto G = MakeGrid(7);
    G->HideColumn(1); // shown: c0 c2 c3 c4 c5 c6
    ASSERT_EQ(Header(G.get()), QStringLiteral("c0 c2 c3 c4 c5 c6"));
    G->SortSettings()->Column = 5;
    std::vector<std::pair<int, int>> events;
    G->OnColumnMoved = [&](TObject *, int F, int T) { events.emplace_back(F, T); };

    G->MoveColumn(2, 4); // shown c3 goes behind c5: real 3 -> 5

    EXPECT_EQ(Header(G.get()), QStringLiteral("c0 c2 c4 c5 c3 c6"));
    EXPECT_EQ(Widths(G.get()), (std::vector<int>{10, 12, 14, 15, 13, 16}));
    EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{3, 5}}));
    EXPECT_EQ(G->SortSettings()->Column, 4);
    EXPECT_FALSE(G->GetVisibleCol(1));
    EXPECT_TRUE(G->GetVisibleCol(5));

    G->UnHideColumnsAll();
    EXPECT_EQ(Header(G.get()), QStringLiteral("c0 c1 c2 c4 c5 c3 c6"));
    EXPECT_EQ(Widths(G.get()), (std::vector<int>{10, 11, 12, 14, 15, 13, 16}));
}

TEST(ExtGridMoveColumn, TheCellsOfHiddenRowsMoveToo)
{
    auto G = MakeGrid();
    G->SetCells(2, 3, QStringLiteral("x"));
    G->HideRow(3);
    G->MoveColumn(2, 4);
    G->UnHideRowsAll();
    EXPECT_EQ(G->Cells(4, 3), QStringLiteral("x"));
    EXPECT_EQ(G->Cells(2, 3), QStringLiteral("c3"));
}

TEST(ExtGridMoveRow, OnRowMovedFiresOnceAfterTheHeightsMoved)
{
    auto G = MakeGrid();
    for (int r = 0; r < 5; ++r)
        G->SetRowHeights(r, 20 + r);
    int fired = 0;
    G->OnRowMoved = [&](TObject *, int F, int T) {
        ++fired;
        EXPECT_EQ(F, 1);
        EXPECT_EQ(T, 3);
        EXPECT_EQ(G->RowHeights(3), 21);
        EXPECT_EQ(G->RowHeights(1), 22);
    };
    G->SetCells(0, 1, QStringLiteral("moved"));
    G->MoveRow(1, 3);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(G->Cells(0, 3), QStringLiteral("moved"));
    EXPECT_TRUE(G->OnRowMoved); // attached again
}

TEST(ExtGridMoveRow, NothingMovesOntoAFixedLastRowFooter)
{
    auto G = MakeGrid();
    G->SetCells(0, 1, QStringLiteral("a"));
    G->SetCells(0, 4, QStringLiteral("sum"));
    G->FloatingFooter()->SetVisible(true);
    int fired = 0;
    G->OnRowMoved = [&](TObject *, int, int) { ++fired; };
    G->MoveRow(1, 4);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(G->Cells(0, 1), QStringLiteral("a"));
    EXPECT_EQ(G->Cells(0, 4), QStringLiteral("sum"));
    G->MoveRow(1, 3); // above the footer a move goes on
    EXPECT_EQ(fired, 1);
}

TEST(ExtGridMoveSync, TwoGridsFollowingEachOtherMoveEachColumnAndRowOnce)
{
    auto A = MakeGrid();
    auto B = MakeGrid();
    A->SyncGrid()->SetGrid(B.get());
    A->SyncGrid()->MoveColumn = true;
    A->SyncGrid()->MoveRow = true;
    B->SyncGrid()->SetGrid(A.get());
    B->SyncGrid()->MoveColumn = true;
    B->SyncGrid()->MoveRow = true;
    int colsA = 0, colsB = 0, rowsA = 0, rowsB = 0;
    A->OnColumnMoved = [&](TObject *, int, int) { ++colsA; };
    B->OnColumnMoved = [&](TObject *, int, int) { ++colsB; };
    A->OnRowMoved = [&](TObject *, int, int) { ++rowsA; };
    B->OnRowMoved = [&](TObject *, int, int) { ++rowsB; };

    A->MoveColumn(2, 4);
    EXPECT_EQ(colsA, 1);
    EXPECT_EQ(colsB, 1);
    EXPECT_EQ(Header(B.get()), QStringLiteral("c0 c1 c3 c4 c2 c5"));
    B->MoveRow(1, 2);
    EXPECT_EQ(rowsA, 1);
    EXPECT_EQ(rowsB, 1);

    // A follower too small for the move is left alone rather than failing the move.
    auto C = MakeGrid(3);
    A->SyncGrid()->SetGrid(C.get());
    EXPECT_NO_THROW(A->MoveColumn(5, 1));
    EXPECT_EQ(Header(C.get()), QStringLiteral("c0 c1 c2"));
}

TEST(ExtGridMoveColumn, AHeaderDraggedWithTheMouseMovesWithTheSameBookkeeping)
{
    Application->Initialize();
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 600, 300);
    auto *G = new TExtStringGrid(&Form);
    G->SetParent(&Form);
    G->SetBounds(0, 0, 560, 250);
    G->SetColCount(6);
    G->SetRowCount(5);
    for (int c = 0; c < 6; ++c) {
        G->SetColWidths(c, 60 + c);
        G->SetCells(c, 0, QStringLiteral("c%1").arg(c));
    }
    G->SetOptions(G->Options() + TGridOptions{goColMoving});
    G->SortSettings()->Column = 4;
    Form.Show();
    GuiTest::ProcessEvents(20);

    const TRect from = G->CellRect(2, 0);
    const TRect to = G->CellRect(4, 0);
    const int y = (from.Top + from.Bottom) / 2;
    GuiTest::MouseDown(G, TPoint((from.Left + from.Right) / 2, y));
    for (int x = (from.Left + from.Right) / 2; x <= to.Right - 5; x += 10)
        GuiTest::MouseMove(G, TPoint(x, y), TShiftState{ssLeft});
    GuiTest::MouseMove(G, TPoint(to.Right - 5, y), TShiftState{ssLeft});
    GuiTest::MouseUp(G, TPoint(to.Right - 5, y));
    GuiTest::ProcessEvents(10);

    EXPECT_EQ(Header(G), QStringLiteral("c0 c1 c3 c4 c2 c5"));
    EXPECT_EQ(G->ColWidths(4), 62);
    EXPECT_EQ(G->SortSettings()->Column, 3);
}


// A grid that counts the ends of its dragged moves.
class TBlockGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    int Ended = 0;
    void DoEndBlockFocus() override { ++Ended; }
};

class DraggedMove : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 300);
        G = new TBlockGrid(form.get());
        G->SetParent(form.get());
        G->SetBounds(0, 0, 400, 250);
        G->SetColCount(10);
        G->SetRowCount(5);
        for (int c = 0; c < 10; ++c) {
            G->SetColWidths(c, 60);
            G->SetCells(c, 0, QStringLiteral("c%1").arg(c));
        }
        G->SetOptions(G->Options() + TGridOptions{goColMoving} - TGridOptions{goColSizing});
        form->Show();
        GuiTest::ProcessEvents(20);
    }
    // Presses on the header of column From and moves along the header row to X.
    void Drag(int From, int X)
    {
        const TRect f = G->CellRect(From, 0);
        y = (f.Top + f.Bottom) / 2;
        GuiTest::MouseDown(G, TPoint((f.Left + f.Right) / 2, y));
        for (int x = (f.Left + f.Right) / 2 + 10; x <= X; x += 20)
            GuiTest::MouseMove(G, TPoint(x, y), TShiftState{ssLeft});
        GuiTest::MouseMove(G, TPoint(X, y), TShiftState{ssLeft});
    }
    void Release(int X)
    {
        GuiTest::MouseUp(G, TPoint(X, y));
        GuiTest::ProcessEvents(10);
    }
    std::unique_ptr<TForm> form;
    TBlockGrid *G = nullptr;
    int y = 0;
};

TEST_F(DraggedMove, ARefusedTargetShowsNoDropAndLeavesTheColumnsAsTheyWere)
{
    std::vector<int> asked;
    G->OnColumnMoving = [&](TObject *, int c, bool &Allow) {
        asked.push_back(c);
        Allow = c != 4;
    };
    const int over4 = G->CellRect(4, 0).Left + 30;
    Drag(2, G->CellRect(3, 0).Left + 30);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    GuiTest::MouseMove(G, TPoint(over4, y), TShiftState{ssLeft});
    EXPECT_EQ(Screen->Cursor(), crNoDrop);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), 4);
    Release(over4);
    EXPECT_EQ(Header(G), QStringLiteral("c0 c1 c2 c3 c4 c5 c6 c7 c8 c9"));
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(G->Ended, 1);

    // Allowed again over column 3: the column goes there.
    Drag(2, G->CellRect(3, 0).Left + 30);
    Release(G->CellRect(3, 0).Left + 30);
    EXPECT_EQ(Header(G), QStringLiteral("c0 c1 c3 c2 c4 c5 c6 c7 c8 c9"));
    EXPECT_EQ(G->Ended, 2);
}

TEST_F(DraggedMove, DraggedPastTheRightEdgeTheColumnsScrollOnePerMove)
{
    ASSERT_EQ(G->LeftCol(), 1);
    Drag(2, G->Width() - 10);
    GuiTest::MouseMove(G, TPoint(G->Width() + 20, y), TShiftState{ssLeft});
    EXPECT_EQ(G->LeftCol(), 2);
    GuiTest::MouseMove(G, TPoint(G->Width() + 25, y), TShiftState{ssLeft});
    EXPECT_EQ(G->LeftCol(), 3);
    // Back over the fixed column the grid scrolls back.
    GuiTest::MouseMove(G, TPoint(10, y), TShiftState{ssLeft});
    EXPECT_EQ(G->LeftCol(), 2);
    Release(10);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

} // namespace
