// The base grid's cells: merged ranges, texts through the base cell and the display hooks, cell
// properties and objects, rectangles, keys and wheel over ranges, and what destruction frees.
#include "controls/BaseGrid.h"
#include "controls/ExtGridUndoRedo.h"

#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class TTestGrid : public TBaseGrid {
public:
    explicit TTestGrid(TComponent *AOwner = nullptr) : TBaseGrid(AOwner) {}
    using TBaseGrid::DoMouseWheelDown;
    using TBaseGrid::DoMouseWheelUp;
    using TBaseGrid::KeyDown;
    int &NormalRowCount() { return FNormalRowCount; }
    bool &HideLastRow() { return FHideLastRow; }
    int MergeCount() const { return FMergeCount; }
    int PaintID() const { return FPaintID; }
    bool HasCellProps() const { return FHasCellProps; }
    int HiddenLastRowCalls = 0;
    std::vector<TPoint> TextSet;

protected:
    void HiddenLastRowChanged() override { ++HiddenLastRowCalls; }
    void CellTextSet(int ACol, int ARow) override { TextSet.push_back({ACol, ARow}); }
};

std::unique_ptr<TTestGrid> MakeGrid(int cols = 6, int rows = 6)
{
    auto g = std::make_unique<TTestGrid>();
    g->SetScrollBars(ssNone);
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(cols);
    g->SetRowCount(rows);
    g->SetDefaultColWidth(40);
    g->SetDefaultRowHeight(20);
    return g;
}

void Fill(TBaseGrid &g)
{
    for (int r = 0; r < g.RowCount(); ++r)
        for (int c = 0; c < g.ColCount(); ++c)
            g.SetGridCell(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
}

class TCounted : public TObject {
public:
    explicit TCounted(int *Freed) : FFreed(Freed) {}
    ~TCounted() override { ++*FFreed; }

private:
    int *FFreed;
};

// The class name the grid recognises as a cell graphic of its own.
class TCellGraphic : public TCounted {
public:
    using TCounted::TCounted;
};

TEST(BaseGridCells, PlainGridReadsAndWritesTheRawTexts)
{
    auto g = MakeGrid();
    g->SetCells(2, 3, "abc");
    EXPECT_EQ(g->GridCells(2, 3), "abc");
    EXPECT_EQ(g->Cells(2, 3), "abc");
    EXPECT_EQ(g->CellSpan(2, 3).X, 0);
    EXPECT_EQ(g->CellExt(2, 3).Y, 0);
    EXPECT_TRUE(g->IsBaseCell(2, 3));
    EXPECT_EQ(g->Objects(2, 3), nullptr);
    EXPECT_EQ(g->GraphicObjects(2, 3), nullptr);
    EXPECT_FALSE(g->HasCellProps());
    EXPECT_TRUE(g->TextSet.empty());
}

TEST(BaseGridCells, MergedRangeIsReadAndWrittenThroughItsBaseCell)
{
    auto g = MakeGrid();
    Fill(*g);
    const int before = g->MergeCount();
    g->MergeCells(1, 1, 3, 2);
    EXPECT_EQ(g->MergeCount(), before + 1);
    EXPECT_EQ(g->Cells(3, 2), "1,1");
    g->SetCells(2, 2, "merged");
    EXPECT_EQ(g->GridCells(1, 1), "merged");
    EXPECT_EQ(g->GridCells(2, 2), "2,2");
    EXPECT_EQ(g->TextSet.back().X, 1);
    EXPECT_EQ(g->TextSet.back().Y, 1);
    EXPECT_EQ(g->CellSpan(3, 2).X, 2);
    EXPECT_EQ(g->CellSpan(3, 2).Y, 1);
    EXPECT_EQ(g->CellExt(2, 2).X, 1);
    EXPECT_EQ(g->CellExt(2, 2).Y, 0);
    EXPECT_EQ(g->FullCell(3, 2), TRect(1, 1, 3, 2));
    EXPECT_EQ(g->BaseCell(3, 2).X, 1);
    EXPECT_FALSE(g->IsMergedNonBaseCell(1, 1));
    EXPECT_TRUE(g->IsMergedNonBaseCell(2, 1));
    EXPECT_TRUE(g->IsMergedCell(1, 1));
    EXPECT_TRUE(g->IsXMergedCell(3, 2));
    EXPECT_TRUE(g->IsYMergedCell(1, 2));
    EXPECT_FALSE(g->IsMergedCell(4, 1));

    g->SplitCells(3, 2);
    EXPECT_EQ(g->MergeCount(), before);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) {
            EXPECT_FALSE(g->IsMergedCell(c, r)) << c << "," << r;
            EXPECT_TRUE(g->IsBaseCell(c, r));
            EXPECT_EQ(g->CellSpan(c, r).X, 0);
        }
    EXPECT_EQ(g->Cells(2, 2), "2,2");
    EXPECT_EQ(g->Cells(1, 1), "merged");
}

TEST(BaseGridCells, OneCellMergeAndSplitOfAnUnmergedCell)
{
    auto g = MakeGrid();
    g->MergeCells(2, 2, 1, 1);
    TCellProperties *p = g->CellProperties(2, 2);
    EXPECT_EQ(p->CellSpanX(), 0);
    EXPECT_EQ(p->CellSpanY(), 0);
    EXPECT_FALSE(g->IsMergedCell(2, 2));
    // The rectangle goes through the merge path: the full cell even when it is only partly in view.
    g->SetColWidths(2, 200);
    TRect r = g->CellRect(2, 2);
    EXPECT_EQ(r.Width(), 200);

    const int count = g->MergeCount();
    g->SplitCells(4, 4);
    EXPECT_EQ(g->MergeCount(), count - 1);
    EXPECT_NE(g->GridObjects(4, 4), nullptr);
    EXPECT_EQ(g->CellProperties(4, 4)->CellSpanX(), -1);

    // Spans below 1 change no cell.
    g->MergeCells(0, 0, 0, 3);
    EXPECT_EQ(g->GridObjects(0, 0), nullptr);
}

TEST(BaseGridCells, DisplayHooksRunOnlyForNormalRows)
{
    auto g = MakeGrid();
    Fill(*g);
    int calls = 0;
    g->OnGetDisplText = [&](TObject *, int c, int r, UnicodeString &v) {
        ++calls;
        v = "shown " + v;
    };
    // A base grid whose row count the string grid never set passes no cell through the hooks.
    EXPECT_EQ(g->Cells(1, 1), "1,1");
    EXPECT_EQ(calls, 0);
    g->NormalRowCount() = 3;
    EXPECT_EQ(g->Cells(1, 2), "shown 1,2");
    EXPECT_EQ(g->Cells(1, 3), "1,3");
    EXPECT_EQ(calls, 1);
    // A merged range below the normal rows asks the hook with its base cell.
    g->MergeCells(2, 1, 2, 3);
    int hookRow = -1;
    g->OnGetDisplText = [&](TObject *, int c, int r, UnicodeString &v) { hookRow = r; };
    g->Cells(3, 3);
    EXPECT_EQ(hookRow, 1);

    // With the wide event the getter always answers the encoded form.
    g->OnGetDisplText = nullptr;
    g->OnGetDisplWideText = [&](TObject *, int c, int r, UnicodeString &v) {
        if (c == 0)
            v = QString(QChar(0x263A));
    };
    EXPECT_EQ(g->Cells(0, 0), QString("|\\") + QChar(0x26) + QChar(0x3A));
    EXPECT_EQ(g->Cells(1, 0), QString("|\\") + QChar(0) + "1" + QChar(0) + "," + QChar(0) + "0");
    EXPECT_EQ(g->Cells(1, 4), "1,4");
}

TEST(BaseGridCells, ObjectsLiveInThePropertiesAndNeverEraseAStoredText)
{
    int freed = 0;
    auto obj = std::make_unique<TCounted>(&freed);
    auto g = MakeGrid();
    g->SetObjects(1, 1, obj.get());
    EXPECT_EQ(g->Objects(1, 1), obj.get());
    EXPECT_EQ(g->GridCells(1, 1), "");
    EXPECT_NE(g->GridObjects(1, 1), nullptr);

    // A hook that shows nothing must not make the setter think the cell is empty.
    g->SetGridCell(2, 1, "kept");
    g->NormalRowCount() = 6;
    g->OnGetDisplText = [](TObject *, int, int, UnicodeString &v) { v.clear(); };
    g->SetObjects(2, 1, obj.get());
    EXPECT_EQ(g->GridCells(2, 1), "kept");
    g->SetGraphicObjects(2, 1, obj.get());
    EXPECT_EQ(g->GridCells(2, 1), "kept");
    EXPECT_EQ(g->GraphicObjects(2, 1), obj.get());

    // The object belongs to the very cell, while the text passes through the base cell.
    g->OnGetDisplText = nullptr;
    g->MergeCells(3, 3, 2, 2);
    g->SetObjects(4, 4, obj.get());
    EXPECT_EQ(g->Objects(4, 4), obj.get());
    EXPECT_EQ(g->Objects(3, 3), nullptr);
    EXPECT_EQ(g->GridCells(3, 3), "");
}

TEST(BaseGridCells, WritesOutsideTheGridAreIgnoredAndReadsRaise)
{
    int freed = 0;
    TCounted obj(&freed);
    auto g = MakeGrid(4, 4);
    const TPoint outside[] = {{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {1000000, 2}, {2, 1000000}};
    for (TPoint p : outside) {
        g->SetObjects(p.X, p.Y, &obj);
        g->SetGraphicObjects(p.X, p.Y, &obj);
        g->SetCellProperties(p.X, p.Y, nullptr);
        g->MergeCells(p.X, p.Y, 2, 2);
        g->SplitCells(p.X, p.Y);
        EXPECT_EQ(g->Objects(p.X, p.Y), nullptr);
        EXPECT_THROW(g->CellProperties(p.X, p.Y), EInvalidGridOperation);
    }
    // A range not wholly inside is not merged.
    g->MergeCells(2, 2, 3, 1);
    EXPECT_FALSE(g->IsMergedCell(2, 2));
    EXPECT_EQ(g->GridObjects(2, 2), nullptr);
}

TEST(BaseGridCells, NewPropertiesTakeTheDefaultLookAndAssignCopiesOnlyPart)
{
    auto g = MakeGrid();
    g->SetColor(TColorOf(0x123456u));
    g->Font()->SetName("Courier New");
    g->Font()->SetSize(12);
    g->Font()->SetColor(TColorOf(0x0000FFu));
    g->SetWordWrap(false);
    TCellProperties *p = g->CellProperties(1, 2);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_EQ(p->CalcType(), acNONE);
    EXPECT_EQ(p->BrushColor(), TColorOf(0x123456u));
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->FontName(), "Courier New");
    EXPECT_EQ(p->FontSize(), 12);
    EXPECT_EQ(p->FontColor(), TColorOf(0x0000FFu));
    EXPECT_FALSE(p->WordWrap());
    EXPECT_EQ(p->Alignment(), taLeftJustify);
    EXPECT_EQ(p->VAlignment(), vtaTop);
    EXPECT_EQ(p->GradientDirection(), GradientVertical);
    EXPECT_EQ(p->OwnerCol(), 1);
    EXPECT_EQ(p->OwnerRow(), 2);
    EXPECT_TRUE(g->HasCellProps());
    EXPECT_EQ(g->CellProperties(1, 2), p);

    int freed = 0;
    TCounted graphic(&freed);
    TCellProperties src(g.get(), 4, 5);
    src.SetCellSpanX(2);
    src.SetIsBaseCell(false);
    src.SetCellObject(77);
    src.SetBrushColor(clRed);
    src.SetBrushColorTo(clBlue);
    src.SetGradientDirection(GradientHorizontal);
    src.SetCalcType(acSUM);
    src.SetPaintID(9);
    src.SetFontName("Arial");
    src.SetReadOnly(true);
    src.SetEditor(edComboList);
    src.SetNodeLevel(3);
    p->SetGraphicObject(&graphic);
    p->Assign(&src);
    EXPECT_EQ(p->CellSpanX(), 2);
    EXPECT_FALSE(p->IsBaseCell());
    EXPECT_EQ(p->CellObject(), 77u);
    EXPECT_EQ(p->BrushColor(), clRed);
    EXPECT_EQ(p->FontName(), "Arial");
    EXPECT_TRUE(p->ReadOnly());
    EXPECT_EQ(p->Editor(), edComboList);
    EXPECT_EQ(p->NodeLevel(), 3);
    EXPECT_EQ(p->OwnerCol(), 4);
    EXPECT_EQ(p->OwnerRow(), 5);
    // Not copied: the gradient end and direction, the calculation, the graphic, the paint mark.
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->GradientDirection(), GradientVertical);
    EXPECT_EQ(p->CalcType(), acNONE);
    EXPECT_EQ(p->GraphicObject(), &graphic);
    EXPECT_EQ(p->PaintID(), 0);
    p->SetGraphicObject(nullptr);
    g->SetCellProperties(1, 2, nullptr);
}

TEST(BaseGridCells, SpanQueriesOverRowsAndColumns)
{
    auto g = MakeGrid(6, 8);
    EXPECT_EQ(g->MinRowSpan(2), 8);
    EXPECT_EQ(g->MaxRowSpan(2), 0);
    EXPECT_FALSE(g->ColSpanIdentical(1, 2));
    EXPECT_FALSE(g->RowSpanIdentical(1, 2));

    g->MergeCells(1, 1, 1, 3); // column 1, rows 1..3
    g->MergeCells(2, 1, 1, 3); // column 2, rows 1..3
    g->MergeCells(3, 2, 1, 2); // column 3, rows 2..3
    EXPECT_EQ(g->MinRowSpan(2), 1);
    EXPECT_EQ(g->MaxRowSpan(2), 2);
    EXPECT_TRUE(g->RowSpanIdentical(1, 3));
    EXPECT_TRUE(g->RowSpanIdentical(2, 3));
    // Column 4 puts rows 2 and 3 into ranges with different base rows.
    g->MergeCells(4, 1, 1, 2);
    g->MergeCells(4, 3, 1, 2);
    EXPECT_FALSE(g->RowSpanIdentical(2, 3));
    EXPECT_TRUE(g->RowSpanIdentical(3, 4));

    auto h = MakeGrid(6, 4);
    h->MergeCells(1, 1, 2, 1); // columns 1..2 in row 1
    EXPECT_TRUE(h->ColSpanIdentical(1, 2));
    EXPECT_FALSE(h->ColSpanIdentical(2, 3));
    h->MergeCells(3, 2, 2, 1); // columns 3..4 in row 2
    EXPECT_FALSE(h->ColSpanIdentical(3, 2));
    EXPECT_TRUE(h->ColSpanIdentical(3, 4));
}

TEST(BaseGridRects, VirtualAndClientRectanglesWithFixedCellsScrolled)
{
    auto g = MakeGrid(20, 50);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetColWidths(0, 30);
    g->SetRowHeights(0, 25);
    g->SetLeftCol(3);
    g->SetTopRow(10);
    // A visible scrolling cell: after the fixed ones, counted from LeftCol and TopRow.
    EXPECT_EQ(g->VirtualCellRect(4, 11), TRect(70, 45, 110, 65));
    // Fixed cells stay where they are.
    EXPECT_EQ(g->VirtualCellRect(0, 11), TRect(0, 45, 30, 65));
    EXPECT_EQ(g->VirtualCellRect(4, 0), TRect(70, 0, 110, 25));
    // Cells scrolled out of view lie before the fixed ones.
    EXPECT_EQ(g->VirtualCellRect(1, 8), TRect(-50, -15, -10, 5));
    // The platform rectangle of a cell cut at the client edge gets its full size.
    g->SetColWidths(9, 100);
    TRect platform = static_cast<TStringGrid &>(*g).CellRect(9, 11);
    TRect full = g->CellRect(9, 11);
    EXPECT_LT(platform.Right, full.Right);
    EXPECT_EQ(full.Width(), 100);
    EXPECT_EQ(full.Left, platform.Left);
    // A merged range: the union of its first and last cells.
    g->MergeCells(4, 11, 2, 3);
    EXPECT_EQ(g->CellRect(5, 12), TRect(70, 45, 150, 105));
    EXPECT_EQ(g->CellSize(5, 13).X, 80);
    EXPECT_EQ(g->CellSize(5, 13).Y, 60);
}

// Keys and wheel on a grid that is shown on a form.
class BaseGridInput : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Grid = new TTestGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetScrollBars(ssNone);
        Grid->SetBounds(0, 0, 300, 200);
        Grid->SetColCount(10);
        Grid->SetRowCount(30);
        Grid->SetDefaultColWidth(40);
        Grid->SetDefaultRowHeight(20);
        Form->Show();
    }
    void Key(Word K)
    {
        Grid->KeyDown(K, {});
    }
    void At(int c, int r)
    {
        Grid->SetCol(c);
        Grid->SetRow(r);
    }
    std::unique_ptr<TForm> Form;
    TTestGrid *Grid = nullptr;
};

TEST_F(BaseGridInput, ArrowsLeaveARangePastItOrBeforeIt)
{
    Grid->MergeCells(3, 3, 3, 2); // columns 3..5, rows 3..4
    struct {
        int Col, Row;
        Word Key;
        int WantCol, WantRow;
    } cases[] = {
        {3, 3, VK_RIGHT, 6, 3}, {4, 4, VK_RIGHT, 6, 4}, {3, 3, VK_DOWN, 3, 5}, {5, 3, VK_DOWN, 5, 5},
        {4, 4, VK_LEFT, 2, 4},  {5, 4, VK_UP, 5, 2},    {3, 3, VK_LEFT, 2, 3}, {3, 3, VK_UP, 3, 2},
        // From a cell beside the range the step lands on the range's base cell.
        {6, 4, VK_LEFT, 3, 3},  {4, 5, VK_UP, 3, 3},
    };
    for (const auto &c : cases) {
        At(c.Col, c.Row);
        Key(c.Key);
        EXPECT_EQ(Grid->Col(), c.WantCol) << c.Col << "," << c.Row << " key " << c.Key;
        EXPECT_EQ(Grid->Row(), c.WantRow) << c.Col << "," << c.Row << " key " << c.Key;
    }
}

TEST_F(BaseGridInput, PageDownStopsBeforeAHiddenLastRow)
{
    Grid->HideLastRow() = true;
    const int visible = Grid->VisibleRowCount();
    Grid->SetTopRow(Grid->RowCount() - 1 - visible + Grid->FixedRows());
    At(2, Grid->TopRow());
    Key(VK_NEXT);
    EXPECT_EQ(Grid->Row(), Grid->RowCount() - 2);
    At(2, Grid->RowCount() - 5);
    Key(VK_NEXT);
    EXPECT_EQ(Grid->Row(), Grid->RowCount() - 2);
    Grid->SetCells(1, Grid->RowCount() - 1, "footer");
    EXPECT_EQ(Grid->HiddenLastRowCalls, 1);
}

TEST_F(BaseGridInput, WheelSnapsToTheBaseCell)
{
    Grid->MergeCells(2, 5, 2, 3); // rows 5..7
    At(3, 4);
    EXPECT_TRUE(Grid->DoMouseWheelDown({}, {10, 10}));
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 5);
    At(3, 8);
    Grid->DoMouseWheelUp({}, {10, 10});
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 5);
}

TEST_F(BaseGridInput, PropertySettersThatRepaintTheirCell)
{
    TCellProperties *p = Grid->CellProperties(2, 2);
    GuiTest::ProcessEvents();
    struct {
        const char *Name;
        std::function<void()> Set;
        bool Repaints;
    } cases[] = {
        {"BrushColor", [&] { p->SetBrushColor(clRed); }, true},
        {"BrushColorTo", [&] { p->SetBrushColorTo(clBlue); }, true},
        {"VAlignment", [&] { p->SetVAlignment(vtaBottom); }, true},
        {"WordWrap", [&] { p->SetWordWrap(false); }, true},
        {"Alignment", [&] { p->SetAlignment(taCenter); }, false},
        {"FontColor", [&] { p->SetFontColor(clGreen); }, false},
    };
    for (const auto &c : cases) {
        const int before = Grid->PaintID();
        c.Set();
        GuiTest::ProcessEvents(20);
        EXPECT_EQ(Grid->PaintID() != before, c.Repaints) << c.Name;
    }
    EXPECT_EQ(p->Alignment(), taCenter);
}

TEST(BaseGridLifetime, DestructionFreesOnlyCellGraphics)
{
    int graphics = 0, others = 0, cellObjects = 0;
    auto own = std::make_unique<TCounted>(&others);
    auto app = std::make_unique<TCounted>(&cellObjects);
    {
        auto g = MakeGrid();
        g->SetGraphicObjects(1, 1, new TCellGraphic(&graphics));
        g->SetGraphicObjects(2, 2, own.get());
        g->SetObjects(3, 3, app.get());
        g->CellProperties(5, 5);
        // Properties of cells the counts no longer show are freed too.
        g->SetRowCount(3);
        g->SetColCount(2);
    }
    EXPECT_EQ(graphics, 1);
    EXPECT_EQ(others, 0);
    EXPECT_EQ(cellObjects, 0);
}

TEST(BaseGridLifetime, UndoRedoLinkIsForgottenOnEitherSide)
{
    auto u = std::make_unique<TExtGridUndoRedo>(nullptr);
    {
        auto g = MakeGrid();
        g->SetUndoRedo(u.get());
        EXPECT_EQ(u->Grid(), g.get());
    }
    EXPECT_EQ(u->Grid(), nullptr);
    u->RegisterChange(1, 1, "a", "b");
    u->Undo(); // nothing to replay on
    EXPECT_EQ(u->Level(), 1);

    auto g = MakeGrid();
    g->SetUndoRedo(u.get());
    u.reset();
    EXPECT_EQ(g->UndoRedo(), nullptr);
}

TEST(BaseGridLifetime, ResetHelpersEmptySlotsWithoutFreeing)
{
    auto g = MakeGrid();
    Fill(*g);
    g->MergeCells(1, 1, 2, 2);
    TCellProperties *keep = g->CellProperties(2, 2);
    // A non-base cell empties its base cell's text while its properties are still in place.
    g->ResetCell(2, 2);
    EXPECT_EQ(g->GridCells(1, 1), "");
    EXPECT_EQ(g->GridObjects(2, 2), nullptr);
    delete keep;
    std::vector<TObject *> row;
    for (int c = 0; c < g->ColCount(); ++c)
        row.push_back(g->GridObjects(c, 1));
    g->ResetRowCells(1);
    for (int c = 0; c < g->ColCount(); ++c) {
        EXPECT_EQ(g->GridObjects(c, 1), nullptr);
        EXPECT_EQ(g->GridCells(c, 1), "");
        delete row[std::size_t(c)];
    }
    g->CellProperties(4, 0);
    g->FreeCellObject(4, 0);
    EXPECT_EQ(g->GridObjects(4, 0), nullptr);
}

} // namespace
