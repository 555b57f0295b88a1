// The wheel, middle-button panning and key release on a shown grid: wheel steps by action and
// increment, zoom with Ctrl, a parent that takes the wheel, the pan directions and cursors, and
// what releasing a key does to the incremental search, the editor and the disjunct selection.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class WheelGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 480, 260);
        g->SetColCount(8);
        g->SetRowCount(30);
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        g->SetCol(1);
        g->SetRow(1);
    }
    void Wheel(int Delta, TShiftState Shift = {})
    {
        GuiTest::Wheel(g, Delta, {100, 100}, Shift);
        GuiTest::ProcessEvents();
    }
    void Release(Word Vk, TShiftState Shift = {})
    {
        GuiTest::KeyUp(g, Vk, Shift);
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

TEST_F(WheelGrid, MoveSelectionStepsTheSystemLinesAndStopsAboveTheFooters)
{
    ASSERT_EQ(g->WheelScrollLines(), 3);
    std::vector<std::string> changes;
    g->OnSelectionChanged = [&](TObject *, int l, int t, int r, int b) {
        changes.push_back(std::to_string(l) + "," + std::to_string(t) + "-" + std::to_string(r) + "," + std::to_string(b));
    };
    g->MouseActions()->SetWheelAction(waMoveSelection);
    Wheel(-120);
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(changes, std::vector<std::string>{"1,4-1,4"});
    Wheel(120);
    EXPECT_EQ(g->Row(), 1);
    g->SetFixedFooters(1);
    g->SetRow(27);
    Wheel(-120);
    EXPECT_EQ(g->Row(), 28);
    Wheel(-120);
    EXPECT_EQ(g->Row(), 28);
    g->MouseActions()->WheelIncrement = 1;
    g->SetRow(5);
    Wheel(-120);
    EXPECT_EQ(g->Row(), 6);
}

TEST_F(WheelGrid, ScrollMovesTheTopRowAndStopsAtTheFixedRows)
{
    g->MouseActions()->SetWheelAction(waScroll);
    g->SetTopRow(2);
    Wheel(120);
    EXPECT_EQ(g->TopRow(), 1);
    EXPECT_EQ(g->Row(), 1);
    Wheel(-120);
    EXPECT_EQ(g->TopRow(), 4);
    EXPECT_EQ(g->Row(), 1);
}

TEST_F(WheelGrid, CtrlWheelZoomsOnlyWithIntelliZoom)
{
    g->MouseActions()->SetWheelAction(waMoveSelection);
    g->SetCells(1, 1, QStringLiteral("a rather long text"));
    const int before = g->ColWidths(1);
    Wheel(-120, {ssCtrl});
    EXPECT_EQ(g->ZoomFactor(), 3);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_NE(g->ColWidths(1), before);
    g->SetIntelliZoom(false);
    Wheel(-120, {ssCtrl});
    EXPECT_EQ(g->ZoomFactor(), 3);
    EXPECT_EQ(g->Row(), 4);
}

TEST_F(WheelGrid, AParentThatTakesTheWheelStopsTheGridsStep)
{
    g->MouseActions()->SetWheelAction(waMoveSelection);
    g->MouseActions()->WheelIncrement = 5;
    int fired = 0;
    g->OnMouseWheelDown = [&](TObject *, TShiftState, TPoint, bool &) { ++fired; };
    Wheel(-120);
    EXPECT_EQ(g->Row(), 6);
    EXPECT_EQ(fired, 1);
    form->OnMouseWheel = [](TObject *, TShiftState, int, TPoint, bool &Handled) { Handled = true; };
    g->SetRow(1);
    Wheel(-120);
    EXPECT_NE(g->Row(), 6);
}

TEST_F(WheelGrid, PanningPicksDirectionAndCursorByThePointerOffset)
{
    g->SetIntelliPan(TExtStringGrid::ipBoth);
    g->MouseActions()->SetWheelAction(waMoveSelection);
    const TPoint origin(200, 100);
    GuiTest::MouseDown(g, origin, mbMiddle);
    GuiTest::MouseUp(g, origin, mbMiddle);
    ASSERT_TRUE(g->Panning());
    EXPECT_EQ(g->WheelPanPos(), origin);
    EXPECT_EQ(g->PanCursorID(), 8000);
    struct Case {
        int Dx, Dy, Cursor, DCol, DRow;
    };
    const std::vector<Case> cases{
        {0, 0, 8000, 0, 0},  {5, -5, 8000, 0, 0}, {-5, 5, 8000, 0, 0}, {6, 0, 8003, 1, 0},
        {-6, 0, 8002, -1, 0}, {0, 6, 8001, 0, 1},  {0, -6, 8004, 0, -1}, {-9, -9, 8006, -1, -1},
        {9, -9, 8005, 1, -1}, {-9, 9, 8008, -1, 1}, {9, 9, 8007, 1, 1},
    };
    for (const Case &k : cases) {
        g->SetCol(3);
        g->SetRow(10);
        const TPoint s = g->ClientToScreen(TPoint(origin.X + k.Dx, origin.Y + k.Dy));
        SetCursorPos(s.X, s.Y);
        g->Perform(WM_TIMER, TExtStringGrid::PanTimerID, 0);
        EXPECT_EQ(g->PanCursorID(), k.Cursor) << k.Dx << "," << k.Dy;
        EXPECT_EQ(CursorResourceID(GetCursor()), k.Cursor);
        EXPECT_EQ(g->Col(), 3 + k.DCol) << k.Dx << "," << k.Dy;
        EXPECT_EQ(g->Row(), 10 + k.DRow) << k.Dx << "," << k.Dy;
    }
    // Vertical panning ignores the sideways part.
    g->SetIntelliPan(TExtStringGrid::ipVertical);
    const TPoint s = g->ClientToScreen(TPoint(origin.X + 20, origin.Y + 20));
    SetCursorPos(s.X, s.Y);
    g->Perform(WM_TIMER, TExtStringGrid::PanTimerID, 0);
    EXPECT_EQ(g->PanCursorID(), 8001);
}

TEST_F(WheelGrid, AKeyOrButtonStopsPanningAndIpNoneNeverStarts)
{
    g->SetIntelliPan(TExtStringGrid::ipVertical);
    GuiTest::MouseDown(g, {200, 100}, mbMiddle);
    ASSERT_TRUE(g->Panning());
    GuiTest::PressKey(g, VK_SHIFT);
    EXPECT_FALSE(g->Panning());
    EXPECT_EQ(g->PanCursorID(), 0);
    const int row = g->Row();
    g->Perform(WM_TIMER, TExtStringGrid::PanTimerID, 0);
    EXPECT_EQ(g->Row(), row);

    GuiTest::MouseDown(g, {200, 100}, mbMiddle);
    ASSERT_TRUE(g->Panning());
    GuiTest::MouseDown(g, {50, 50}, mbRight);
    EXPECT_FALSE(g->Panning());

    g->SetIntelliPan(TExtStringGrid::ipNone);
    GuiTest::MouseDown(g, {200, 100}, mbMiddle);
    EXPECT_FALSE(g->Panning());
}

TEST_F(WheelGrid, ReleasedNavigationKeysEndTheIncrementalSearchButHomeDoesNot)
{
    struct Case {
        Word Key;
        bool Clears;
    };
    for (const Case &k : {Case{VK_DOWN, true}, Case{VK_NEXT, true}, Case{VK_PRIOR, true}, Case{VK_END, true},
                          Case{VK_INSERT, true}, Case{VK_DELETE, true}, Case{VK_HOME, false}, Case{'A', false}}) {
        g->SetSearchText(QStringLiteral("ab"));
        Release(k.Key);
        EXPECT_EQ(g->SearchText().isEmpty(), k.Clears) << k.Key;
    }
}

TEST_F(WheelGrid, AlwaysEditReopensTheEditorAfterAnArrow)
{
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    g->Navigation()->AlwaysEdit = true;
    g->HideInplaceEdit();
    ASSERT_FALSE(g->InEditMode());
    Release(VK_DOWN);
    EXPECT_TRUE(g->EditorMode() || g->InEditMode());
}

TEST_F(WheelGrid, ShiftAndSpaceKeepTheDisjunctCellSelection)
{
    g->MouseActions()->SetDisjunctCellSelect(true);
    g->SetOptions(g->Options() + TGridOptions{goRangeSelect});
    GuiTest::PressKey(g, VK_DOWN, {ssShift});
    GuiTest::ProcessEvents();
    ASSERT_EQ(g->Selection().Bottom, 2);
    ASSERT_EQ(g->Row(), 2);
    // The covered cells but the current one, which shows as current anyway.
    EXPECT_TRUE(g->SelectedCells(1, 1));
    EXPECT_FALSE(g->SelectedCells(1, 2));

    // Space alone: the list is the current cell and the rest of the selection.
    g->SetRow(5);
    g->SetCol(3);
    Release(VK_SPACE);
    EXPECT_EQ(g->SelectedCellsCount(), 1);
    EXPECT_TRUE(g->SelectedCells(3, 5));
    // Ctrl+Space toggles it.
    g->SetRow(6);
    g->SetCol(3);
    Release(VK_SPACE, {ssCtrl});
    EXPECT_TRUE(g->SelectedCells(3, 6));
    EXPECT_TRUE(g->SelectedCells(3, 5));
    Release(VK_SPACE, {ssCtrl});
    EXPECT_FALSE(g->SelectedCells(3, 6));

    // Rows past 32767 are kept as they are.
    g->SetRowCount(40010);
    g->SetRow(40000);
    g->SetCol(3);
    Release(VK_SPACE);
    ASSERT_EQ(g->SelectedCellsCount(), 1);
    EXPECT_TRUE(g->SelectedCells(3, 40000));
    EXPECT_EQ(g->SelectedCell(0).X, 3);
    EXPECT_EQ(g->SelectedCell(0).Y, 40000);
}

} // namespace
