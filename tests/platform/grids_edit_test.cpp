// Editing cells of a shown grid, and sizing and moving columns with the mouse.
#include "platform/Forms.h"
#include "platform/Grids.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QPoint>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

class TEditGrid : public TStringGrid {
public:
    explicit TEditGrid(TComponent *AOwner) : TStringGrid(AOwner) {}
    std::vector<std::pair<QPoint, UnicodeString>> SetEdits;
    std::vector<std::pair<int, int>> Moved;
    int WidthsChanged = 0;
    bool AllowEditor = true;
    int EditLimit = 0;
    int OutsideEdits = 0;
    bool RefuseDigits = false;
    bool RefuseSizing = false;
    // What the grid asked and told, with the current cell at that moment.
    std::vector<UnicodeString> Journal;
    using TStringGrid::KeyDown;

protected:
    void SetEditText(int ACol, int ARow, const UnicodeString &Value) override
    {
        SetEdits.push_back({QPoint(ACol, ARow), Value});
        if (ACol >= ColCount() || ARow >= RowCount())
            ++OutsideEdits;
        TStringGrid::SetEditText(ACol, ARow, Value);
    }
    bool CanEditShow() override { return AllowEditor && TStringGrid::CanEditShow(); }
    int GetEditLimit() override { return EditLimit; }
    void CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs,
                         TGridDrawInfo &FixedInfo) override
    {
        TStringGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
        if (RefuseSizing)
            State = gsNormal;
    }
    bool CanEditAcceptKey(WideChar Key) override { return !(RefuseDigits && Key >= u'0' && Key <= u'9'); }
    bool SelectCell(int ACol, int ARow) override
    {
        Journal.push_back(QStringLiteral("select %1,%2 at %3,%4").arg(ACol).arg(ARow).arg(Col()).arg(Row()));
        return TStringGrid::SelectCell(ACol, ARow);
    }
    void TopLeftChanged() override
    {
        Journal.push_back(QStringLiteral("topleft %1,%2 at %3,%4").arg(LeftCol()).arg(TopRow()).arg(Col()).arg(Row()));
        TStringGrid::TopLeftChanged();
    }
    void ColWidthsChanged() override
    {
        ++WidthsChanged;
        TStringGrid::ColWidthsChanged();
    }
    void ColumnMoved(int FromIndex, int ToIndex) override
    {
        Moved.push_back({FromIndex, ToIndex});
        TStringGrid::ColumnMoved(FromIndex, ToIndex);
    }
};

class GridEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 500, 400);
        Grid = new TEditGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetColCount(6);
        Grid->SetRowCount(30);
        Grid->SetDefaultColWidth(59); // 60 with the line
        Grid->SetDefaultRowHeight(19); // 20 with the line
        TGridOptions o = Grid->Options();
        o << goEditing;
        Grid->SetOptions(o);
        Form->Show();
        GuiTest::ProcessEvents();
        Grid->SetFocus();
        GuiTest::ProcessEvents();
    }
    TInplaceEdit *Editor() const { return Grid->InplaceEditor(); }
    bool EditorShown() const { return Editor() && Editor()->Visible() && Grid->EditorMode(); }
    std::unique_ptr<TForm> Form;
    TEditGrid *Grid = nullptr;
};

TEST_F(GridEditing, ACharacterOpensTheEditorWithItAndEnterCommits)
{
    Grid->SetCells(1, 1, "old");
    GuiTest::TypeText(Grid, "x");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "x");
    // The editor lies over the current cell.
    TRect r = Grid->CellRect(1, 1);
    EXPECT_EQ(Editor()->Left(), r.Left);
    EXPECT_EQ(Editor()->Top(), r.Top);
    GuiTest::TypeText(Editor(), "yz");
    Grid->SetEdits.clear();
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Grid->Cells(1, 1), "xyz");
    ASSERT_FALSE(Grid->SetEdits.empty());
    EXPECT_EQ(Grid->SetEdits.back().first, QPoint(1, 1));
    EXPECT_EQ(Grid->SetEdits.back().second, "xyz");
    EXPECT_EQ(Grid->Row(), 1); // Enter leaves the cell current
}

TEST_F(GridEditing, EscapeRestoresTheCellText)
{
    Grid->SetCells(1, 1, "old");
    GuiTest::TypeText(Grid, "new");
    ASSERT_TRUE(EditorShown());
    GuiTest::PressKey(Editor(), VK_ESCAPE);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Grid->Cells(1, 1), "old");
    ASSERT_FALSE(Grid->SetEdits.empty());
    EXPECT_EQ(Grid->SetEdits.back().second, "old");
}

TEST_F(GridEditing, F2AndEnterOpenTheEditorOnTheCellText)
{
    Grid->SetCells(1, 1, "hello");
    GuiTest::PressKey(Grid, VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "hello");
    // F2 opens with the whole text selected, so typing replaces it.
    EXPECT_EQ(Editor()->SelStart(), 0);
    EXPECT_EQ(Editor()->SelLength(), 5);
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_FALSE(EditorShown());
    // Enter on the grid opens it with the whole text selected.
    GuiTest::PressKey(Grid, VK_RETURN);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->SelStart(), 0);
    EXPECT_EQ(Editor()->SelLength(), 5);
    // F2 inside the editor takes the selection away.
    GuiTest::PressKey(Editor(), VK_F2);
    EXPECT_EQ(Editor()->SelLength(), 0);
    GuiTest::PressKey(Editor(), VK_RETURN);
    // A character typed right after F2 replaces the whole text.
    GuiTest::PressKey(Grid, VK_F2);
    ASSERT_TRUE(EditorShown());
    GuiTest::TypeText(Editor(), "x");
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "x");
}

TEST_F(GridEditing, UpAndDownCommitAndMove)
{
    GuiTest::TypeText(Grid, "abc");
    ASSERT_TRUE(EditorShown());
    GuiTest::PressKey(Editor(), VK_DOWN);
    EXPECT_EQ(Grid->Cells(1, 1), "abc");
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_FALSE(EditorShown());
    GuiTest::TypeText(Grid, "d");
    ASSERT_TRUE(EditorShown());
    GuiTest::PressKey(Editor(), VK_UP);
    EXPECT_EQ(Grid->Cells(1, 2), "d");
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(GridEditing, CanEditShowRefusalKeepsTheEditorClosed)
{
    Grid->AllowEditor = false;
    GuiTest::TypeText(Grid, "q");
    EXPECT_FALSE(Editor() && Editor()->Visible());
    GuiTest::PressKey(Grid, VK_F2);
    EXPECT_FALSE(Editor() && Editor()->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), QString());
}

TEST_F(GridEditing, TheEditorFollowsItsCellWhenTheGridScrollsOrAColumnIsSized)
{
    GuiTest::PressKey(Grid, VK_F2);
    ASSERT_TRUE(EditorShown());
    Grid->SetColWidths(0, 100);
    TRect r = Grid->CellRect(1, 1);
    EXPECT_EQ(Editor()->Left(), r.Left);
    EXPECT_EQ(Editor()->Width(), r.Width());
    Grid->SetTopRow(5); // the edited row leaves the view
    EXPECT_FALSE(Editor()->Visible());
    Grid->SetTopRow(1);
    EXPECT_TRUE(Editor()->Visible());
    EXPECT_EQ(Editor()->Top(), Grid->CellRect(1, 1).Top);
}

TEST_F(GridEditing, MaskedCellsTakeOnlyWhatTheMaskAllows)
{
    Grid->OnGetEditMask = [](TObject *, int, int, UnicodeString &Value) { Value = ">LL-000;0;*"; };
    GuiTest::TypeText(Grid, "ab1");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->EditText(), "AB-1**");
    GuiTest::TypeText(Editor(), "x23");
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "AB123");
}

TEST_F(GridEditing, TheGridSeesEachTypedCharacterOnceAndTabMovesWithGoTabs)
{
    std::vector<WideChar> pressed;
    Grid->OnKeyPress = [&](TObject *, WideChar &Key) { pressed.push_back(Key); };
    TGridOptions o = Grid->Options();
    o << goTabs;
    Grid->SetOptions(o);
    GuiTest::TypeText(Grid, "m");
    ASSERT_TRUE(EditorShown());
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], u'm');
    GuiTest::PressKey(Editor(), VK_TAB);
    EXPECT_EQ(Grid->Cells(1, 1), "m");
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_FALSE(EditorShown());
}

TEST_F(GridEditing, ASecondClickOnTheCurrentCellOpensTheEditor)
{
    Grid->SetCells(2, 3, "here");
    TRect r = Grid->CellRect(2, 3);
    GuiTest::Click(Grid, {r.Left + 5, r.Top + 5});
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_FALSE(EditorShown());
    GuiTest::Click(Grid, {r.Left + 5, r.Top + 5});
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "here");
}

TEST_F(GridEditing, AlwaysShowEditorKeepsTheEditorOnTheMovingCell)
{
    TGridOptions o = Grid->Options();
    o << goAlwaysShowEditor;
    Grid->SetOptions(o);
    ASSERT_TRUE(EditorShown());
    GuiTest::TypeText(Editor(), "p");
    GuiTest::PressKey(Editor(), VK_DOWN);
    EXPECT_EQ(Grid->Cells(1, 1), "p");
    EXPECT_EQ(Grid->Row(), 2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Top(), Grid->CellRect(1, 2).Top);
}

TEST_F(GridEditing, DraggingAColumnBorderSizesTheColumnOnce)
{
    TGridOptions o = Grid->Options();
    o << goColSizing;
    Grid->SetOptions(o);
    Grid->WidthsChanged = 0;
    // The border after column 2 lies at x = 179 (three columns of 60, less the line).
    GuiTest::MouseDown(Grid, {180, 10});
    GuiTest::MouseMove(Grid, {200, 10}, {ssLeft});
    GuiTest::MouseMove(Grid, {215, 10}, {ssLeft});
    GuiTest::MouseUp(Grid, {215, 10});
    EXPECT_EQ(Grid->ColWidths(2), 59 + 35);
    EXPECT_EQ(Grid->WidthsChanged, 1);
    EXPECT_EQ(Grid->GridState(), gsNormal);
}

TEST_F(GridEditing, RowsAreSizedAndMovedThroughTheFixedColumn)
{
    TGridOptions o = Grid->Options();
    o << goRowSizing << goRowMoving;
    Grid->SetOptions(o);
    // The border after row 2 lies at y = 59.
    GuiTest::MouseDown(Grid, {10, 60});
    GuiTest::MouseMove(Grid, {10, 70}, {ssLeft});
    GuiTest::MouseUp(Grid, {10, 70});
    EXPECT_EQ(Grid->RowHeights(2), 19 + 10);
    EXPECT_EQ(Grid->RowHeights(1), 19);

    Grid->SetCells(3, 4, "row4");
    // Row 4 now starts at y = 90 (row 2 is 10 pixels taller); drag it onto row 1.
    GuiTest::MouseDown(Grid, {10, 95});
    GuiTest::MouseMove(Grid, {10, 50}, {ssLeft});
    GuiTest::MouseMove(Grid, {10, 25}, {ssLeft});
    GuiTest::MouseUp(Grid, {10, 25});
    EXPECT_EQ(Grid->Cells(3, 1), "row4");
    EXPECT_EQ(Grid->RowHeights(3), 19 + 10); // the sized row moved down by one
    EXPECT_EQ(Grid->GridState(), gsNormal);
}

TEST_F(GridEditing, DraggingAColumnHeaderMovesTheColumn)
{
    TGridOptions o = Grid->Options();
    o << goColMoving;
    Grid->SetOptions(o);
    int freed = 0;
    struct TObj : TObject {
        int *F;
        explicit TObj(int *f) : F(f) {}
        ~TObj() override { ++*F; }
    } obj(&freed);
    Grid->SetCells(2, 0, "head2");
    Grid->SetCells(2, 5, "body2");
    Grid->SetObjects(2, 5, &obj);
    Grid->SetColWidths(2, 70);
    GuiTest::MouseDown(Grid, {150, 10}); // column 2 of the fixed row
    GuiTest::MouseMove(Grid, {200, 10}, {ssLeft});
    GuiTest::MouseMove(Grid, {270, 10}, {ssLeft}); // column 4
    GuiTest::MouseUp(Grid, {270, 10});
    ASSERT_EQ(Grid->Moved.size(), 1u);
    EXPECT_EQ(Grid->Moved[0], std::make_pair(2, 4));
    EXPECT_EQ(Grid->Cells(4, 0), "head2");
    EXPECT_EQ(Grid->Cells(4, 5), "body2");
    EXPECT_EQ(Grid->Objects(4, 5), &obj);
    EXPECT_EQ(Grid->ColWidths(4), 70);
    EXPECT_EQ(Grid->Cells(2, 5), QString());
    EXPECT_EQ(freed, 0);
}

} // namespace

namespace {

TEST_F(GridEditing, SelectCellIsAskedBeforeTheMoveAndTopLeftChangedSeesTheNewCell)
{
    // 300 pixels of client height hold the fixed row and 13 full rows (1..13) at most.
    int last = Grid->TopRow() + Grid->VisibleRowCount() - 1;
    Grid->SetRow(last);
    Grid->Journal.clear();
    GuiTest::PressKey(Grid, VK_DOWN);
    ASSERT_EQ(Grid->Journal.size(), 2u);
    EXPECT_EQ(Grid->Journal[0], QStringLiteral("select 1,%1 at 1,%2").arg(last + 1).arg(last));
    EXPECT_EQ(Grid->Journal[1], QStringLiteral("topleft 1,2 at 1,%1").arg(last + 1));
}

TEST_F(GridEditing, DateMaskInTheEditorKeepsItsLiteralsInTheCell)
{
    Grid->OnGetEditMask = [](TObject *, int, int, UnicodeString &Value) { Value = "!99/99/0000;1;_"; };
    GuiTest::TypeText(Grid, "1225");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->EditText(), "12/25/____");
    GuiTest::TypeText(Editor(), "2026x");
    EXPECT_EQ(Editor()->EditText(), "12/25/2026");
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Grid->Cells(1, 1), "12/25/2026");
    // A stored date comes back into the mask's shape.
    Grid->SetCells(1, 2, "01/02/2003");
    Grid->SetRow(2);
    GuiTest::PressKey(Grid, VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->EditText(), "01/02/2003");
    GuiTest::PressKey(Editor(), VK_ESCAPE);
    EXPECT_EQ(Grid->Cells(1, 2), "01/02/2003");
}

TEST_F(GridEditing, TheEditLimitCutsTypedText)
{
    Grid->EditLimit = 3;
    GuiTest::TypeText(Grid, "abcdef");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "abc");
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "abc");
    Grid->EditLimit = 0; // no limit
    Grid->SetRow(2);
    GuiTest::TypeText(Grid, "abcdef");
    EXPECT_EQ(Editor()->Text(), "abcdef");
}

TEST_F(GridEditing, RowSelectKeepsTheEditorClosedAndLeavesTabToTheForm)
{
    GuiTest::TypeText(Grid, "open");
    ASSERT_TRUE(EditorShown());
    TGridOptions o = Grid->Options();
    o << goTabs << goRowSelect;
    Grid->SetOptions(o);
    EXPECT_FALSE(Editor()->Visible());
    EXPECT_FALSE(Grid->EditorMode());
    EXPECT_EQ(Grid->Cells(1, 1), "open");
    Grid->SetCells(1, 1, QString());
    GuiTest::TypeText(Grid, "z");
    EXPECT_FALSE(Editor() && Editor()->Visible());
    EXPECT_EQ(Grid->Cells(1, 1), QString());
    EXPECT_EQ(Grid->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
    o >> goRowSelect;
    Grid->SetOptions(o);
    EXPECT_NE(Grid->Perform(WM_GETDLGCODE) & DLGC_WANTTAB, 0);
}

TEST_F(GridEditing, DestroyingTheGridWithAnOpenEditorIsSafe)
{
    GuiTest::TypeText(Grid, "pending");
    ASSERT_TRUE(EditorShown());
    delete Grid;
    Grid = nullptr;
    GuiTest::ProcessEvents();
    // And a whole form going with its grid in mid-edit.
    auto *g = new TEditGrid(Form.get());
    g->SetParent(Form.get());
    TGridOptions o = g->Options();
    o << goEditing;
    g->SetOptions(o);
    g->SetFocus();
    GuiTest::ProcessEvents();
    GuiTest::TypeText(g, "x");
    ASSERT_TRUE(g->InplaceEditor() && g->InplaceEditor()->Visible());
    Form.reset();
    GuiTest::ProcessEvents();
}

TEST_F(GridEditing, DeletingTheEditedRowOrColumnKeepsEverythingInRange)
{
    Grid->SetCells(1, 2, "next");
    GuiTest::TypeText(Grid, "typed");
    ASSERT_TRUE(EditorShown());
    Grid->DeleteRow(1);
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Grid->RowCount(), 29);
    EXPECT_EQ(Grid->Cells(1, 1), "next");
    // The typed text went with its row and does not come back when the grid grows.
    Grid->SetRowCount(30);
    EXPECT_EQ(Grid->Cells(1, 29), QString());

    // The last row and column, current and being edited.
    Grid->SetCol(5);
    Grid->SetRow(29);
    GuiTest::TypeText(Grid, "end");
    ASSERT_TRUE(EditorShown());
    Grid->DeleteColumn(5);
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->Col(), 4);
    Grid->DeleteRow(29);
    EXPECT_EQ(Grid->Row(), 28);
    GuiTest::TypeText(Grid, "q");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Left(), Grid->CellRect(4, 28).Left);
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(4, 28), "q");
}

TEST_F(GridEditing, ShrinkingBelowTheCurrentCellAndTheSelectionWithAnOpenEditor)
{
    TGridOptions o = Grid->Options();
    o >> goEditing;
    Grid->SetOptions(o);
    Grid->SetSelection({2, 10, 5, 20});
    Grid->SetColCount(4);
    Grid->SetRowCount(15);
    TGridRect sel = Grid->Selection();
    EXPECT_LE(sel.Right, 3);
    EXPECT_LE(sel.Bottom, 14);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 14);

    o << goEditing;
    Grid->SetOptions(o);
    Grid->SetSelection({3, 14, 3, 14});
    GuiTest::TypeText(Grid, "gone");
    ASSERT_TRUE(EditorShown());
    Grid->SetRowCount(10);
    Grid->SetColCount(3);
    EXPECT_EQ(Grid->Row(), 9);
    EXPECT_EQ(Grid->Col(), 2);
    // No editor is left over a cell that is no more, and its text reaches no other cell.
    EXPECT_FALSE(Editor()->Visible());
    GuiTest::PressKey(Grid, VK_RETURN);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), QString());
    EXPECT_EQ(Editor()->Top(), Grid->CellRect(2, 9).Top);
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(2, 9), QString());
    EXPECT_EQ(Grid->OutsideEdits, 0);
    // The edit stayed with its cell, which the grid keeps while it is out of the counts.
    Grid->SetRowCount(15);
    Grid->SetColCount(4);
    EXPECT_EQ(Grid->Cells(3, 14), "gone");
}

} // namespace

namespace {

TEST_F(GridEditing, TheEditorShowsOnlyInTheActiveGridUnlessAlwaysShown)
{
    auto *other = new TEditGrid(Form.get());
    other->SetParent(Form.get());
    other->SetBounds(0, 310, 200, 80);
    GuiTest::ProcessEvents();
    other->SetFocus();
    GuiTest::ProcessEvents();
    Grid->SetEditorMode(true);
    EXPECT_FALSE(Editor() && Editor()->Visible());
    Grid->SetEditorMode(false);
    TGridOptions o = Grid->Options();
    o << goAlwaysShowEditor;
    Grid->SetOptions(o);
    ASSERT_TRUE(EditorShown());
    // Back in the grid, the editor keeps the keys.
    Grid->SetFocus();
    GuiTest::ProcessEvents();
    GuiTest::TypeText(Editor(), "k");
    GuiTest::PressKey(Editor(), VK_DOWN);
    EXPECT_EQ(Grid->Cells(1, 1), "k");
}

} // namespace

namespace {

TEST_F(GridEditing, AnAlwaysShownEditorStaysThroughAColumnMoveAndARowDelete)
{
    TGridOptions o = Grid->Options();
    o << goAlwaysShowEditor;
    Grid->SetOptions(o);
    Grid->SetCol(2);
    GuiTest::TypeText(Editor(), "moved");
    Grid->MoveColumn(2, 4);
    EXPECT_EQ(Grid->Cells(4, 1), "moved");
    EXPECT_EQ(Grid->Col(), 4);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Left(), Grid->CellRect(4, 1).Left);
    EXPECT_EQ(Editor()->Text(), "moved");
    Grid->SetCells(4, 2, "below");
    Grid->SetRow(2);
    Grid->DeleteRow(1); // the row above the current one
    EXPECT_EQ(Grid->Row(), 1);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Top(), Grid->CellRect(4, 1).Top);
    EXPECT_EQ(Editor()->Text(), "below");
}

} // namespace

namespace {

TEST_F(GridEditing, AGridDestroyedInMidDragLeavesNoTimerBehind)
{
    TGridOptions o = Grid->Options();
    o >> goEditing;
    Grid->SetOptions(o);
    TRect r = Grid->CellRect(2, 2);
    GuiTest::MouseDown(Grid, {r.Left + 3, r.Top + 3});
    GuiTest::MouseMove(Grid, {r.Left + 3, 380}, {ssLeft}); // below the window: the scroll timer runs
    ASSERT_EQ(Grid->GridState(), gsSelecting);
    delete Grid;
    Grid = nullptr;
    GuiTest::ProcessEvents(200); // a few timer periods
}

} // namespace

namespace {

TEST_F(GridEditing, OneEditorServesMaskedAndPlainCellsInTurn)
{
    Grid->OnGetEditMask = [](TObject *, int ACol, int, UnicodeString &Value) {
        if (ACol == 1)
            Value = ">LL-000;0;*";
    };
    Grid->EditLimit = 4;
    GuiTest::TypeText(Grid, "ab123");
    ASSERT_TRUE(EditorShown());
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "AB123");
    GuiTest::PressKey(Grid, VK_RIGHT);
    GuiTest::TypeText(Grid, "plain text");
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), "plai"); // the limit, no mask
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(2, 1), "plai");
    GuiTest::PressKey(Grid, VK_LEFT);
    GuiTest::PressKey(Grid, VK_F2);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->EditText(), "AB-123");
    GuiTest::PressKey(Editor(), VK_ESCAPE);
    EXPECT_EQ(Grid->Cells(1, 1), "AB123");
}

} // namespace

namespace {

TEST_F(GridEditing, AnOpenEditorFollowsAColumnSizedByMouse)
{
    TGridOptions o = Grid->Options();
    o << goColSizing;
    Grid->SetOptions(o);
    GuiTest::PressKey(Grid, VK_RIGHT);
    GuiTest::TypeText(Grid, "wide");
    ASSERT_TRUE(EditorShown());
    // The border after column 1 lies at x = 119.
    GuiTest::MouseDown(Grid, {120, 10});
    GuiTest::MouseMove(Grid, {135, 10}, {ssLeft});
    GuiTest::MouseMove(Grid, {150, 10}, {ssLeft});
    GuiTest::MouseUp(Grid, {150, 10});
    EXPECT_EQ(Grid->ColWidths(1), 59 + 30);
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Left(), Grid->CellRect(2, 1).Left);
    EXPECT_EQ(Editor()->Left(), 150);
    EXPECT_EQ(Editor()->Text(), "wide");
    GuiTest::PressKey(Editor(), VK_END);
    GuiTest::TypeText(Editor(), "r");
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(2, 1), "wider");
}

} // namespace

namespace {

TEST_F(GridEditing, AnIncompleteMaskedEntryGoesIntoTheCellWithoutAComplaint)
{
    GuiTest::TScriptedModalHook hook; // any message shown fails the test
    Grid->OnGetEditMask = [](TObject *, int, int, UnicodeString &Value) { Value = "!99/99/0000;1;_"; };
    GuiTest::TypeText(Grid, "12");
    ASSERT_TRUE(EditorShown());
    GuiTest::PressKey(Editor(), VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->Cells(1, 1), "12/  /    ");
    GuiTest::TypeText(Grid, "3");
    ASSERT_TRUE(EditorShown());
    GuiTest::PressKey(Editor(), VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(EditorShown());
    EXPECT_EQ(Grid->Cells(1, 2), "3 /  /    ");
    EXPECT_EQ(GuiTest::FocusedControl(), Grid);
    EXPECT_TRUE(hook.Shown.empty());
}

} // namespace

namespace {

TEST_F(GridEditing, CanEditAcceptKeyFiltersTheOpeningAndTheFollowingCharacters)
{
    Grid->RefuseDigits = true;
    GuiTest::TypeText(Grid, "1");
    EXPECT_EQ(Grid->Cells(1, 1), QString());
    GuiTest::TypeText(Grid, "a");
    ASSERT_TRUE(EditorShown());
    GuiTest::TypeText(Editor(), "2b3");
    GuiTest::PressKey(Editor(), VK_BACK);
    GuiTest::TypeText(Editor(), "c");
    GuiTest::PressKey(Editor(), VK_RETURN);
    EXPECT_EQ(Grid->Cells(1, 1), "ac");
}

} // namespace

namespace {

TEST_F(GridEditing, ThePointerOverASizableBorderShowsTheSplitCursor)
{
    TGridOptions o = Grid->Options();
    o << goColSizing << goRowSizing;
    Grid->SetOptions(o);
    auto shape = [this] { return Grid->Widget()->cursor().shape(); };
    GuiTest::MouseMove(Grid, {180, 10}); // the border after column 2, in the fixed row
    EXPECT_EQ(shape(), Qt::SplitHCursor);
    GuiTest::MouseMove(Grid, {150, 10});
    EXPECT_NE(shape(), Qt::SplitHCursor);
    GuiTest::MouseMove(Grid, {10, 60}); // the border after row 2, in the fixed column
    EXPECT_EQ(shape(), Qt::SplitVCursor);
    GuiTest::MouseMove(Grid, {150, 60}); // a border among the normal cells sizes nothing
    EXPECT_NE(shape(), Qt::SplitVCursor);
    // A descendant that refuses the sizing also keeps the plain cursor.
    Grid->RefuseSizing = true;
    GuiTest::MouseMove(Grid, {180, 10});
    EXPECT_NE(shape(), Qt::SplitHCursor);
    GuiTest::MouseDown(Grid, {180, 10});
    GuiTest::MouseUp(Grid, {180, 10});
    EXPECT_EQ(Grid->ColWidths(2), 59);
}

} // namespace

namespace {

TEST_F(GridEditing, DeletingDownToASingleCellWithTheEditorOpen)
{
    TGridOptions o = Grid->Options();
    o << goAlwaysShowEditor;
    Grid->SetOptions(o);
    Grid->SetRowCount(2);
    Grid->SetColCount(2);
    ASSERT_TRUE(EditorShown());
    GuiTest::TypeText(Editor(), "last");
    Grid->DeleteRow(1);
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(Grid->FixedRows(), 0);
    Grid->DeleteColumn(1);
    EXPECT_EQ(Grid->ColCount(), 1);
    EXPECT_EQ(Grid->FixedCols(), 0);
    EXPECT_EQ(Grid->Col(), 0);
    EXPECT_EQ(Grid->Row(), 0);
    // The one cell left is edited in place of the ones that went.
    ASSERT_TRUE(EditorShown());
    EXPECT_EQ(Editor()->Text(), QString());
    GuiTest::TypeText(Editor(), "only");
    GuiTest::PressKey(Editor(), VK_DOWN);
    EXPECT_EQ(Grid->Cells(0, 0), "only");
    EXPECT_EQ(Grid->OutsideEdits, 0);
}

} // namespace
