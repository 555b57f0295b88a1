// Editing cells of a shown grid, and sizing and moving columns with the mouse.
#include "platform/Forms.h"
#include "platform/Grids.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QPoint>
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

protected:
    void SetEditText(int ACol, int ARow, const UnicodeString &Value) override
    {
        SetEdits.push_back({QPoint(ACol, ARow), Value});
        TStringGrid::SetEditText(ACol, ARow, Value);
    }
    bool CanEditShow() override { return AllowEditor && TStringGrid::CanEditShow(); }
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
