// The string grid driven from the keyboard of a shown form: the default key table, Space on data
// check boxes, Tab without goTabs, the keys that act after the platform (clipboard, Insert,
// Delete), wrapping at the edges and scrolling without moving.
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Rect(const TGridRect &R)
{
    return std::to_string(R.Left) + "," + std::to_string(R.Top) + "-" + std::to_string(R.Right) + "," +
           std::to_string(R.Bottom);
}

// The grid with its filter switch in reach (the filter itself is not what these tests drive).
class TProbeGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    bool FilterOn() const { return FFilterActive; }
    void SetFilterOn(bool Value) { FFilterActive = Value; }
};

class KeyGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 320);
        g = new TProbeGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 560, 260);
        g->SetColCount(6);
        g->SetRowCount(8);
        g->SetOptions(g->Options() + TGridOptions{goEditing, goRangeSelect});
        g->SetTabOrder(0);
        next = new TEdit(form.get());
        next->SetParent(form.get());
        next->SetBounds(0, 270, 100, 24);
        next->SetTabOrder(1);
        // A merged range (2,2)-(3,2), a cell that reports itself fixed (4,4), a read-only cell (3,3).
        g->MergeCells(2, 2, 2, 1);
        g->OnIsFixedCell = [](TObject *, int ARow, int ACol, bool &IsFixed) { IsFixed = ACol == 4 && ARow == 4; };
        g->OnCanEditCell = [](TObject *, int ARow, int ACol, bool &CanEdit) {
            if (ACol == 3 && ARow == 3)
                CanEdit = false;
        };
        g->OnKeyDown = [this](TObject *, Word &Key, TShiftState) { log.push_back("down " + std::to_string(Key)); };
        g->OnKeyPress = [this](TObject *, WideChar &Key) { log.push_back("press " + std::to_string(int(Key))); };
        g->OnSelectionChanged = [this](TObject *, int l, int t, int r, int b) {
            log.push_back("sel " + Rect(TGridRect{l, t, r, b}));
        };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
    }
    void Start(int c, int r)
    {
        g->GotoCell(1, 1);
        g->GotoCell(c, r);
        GuiTest::ProcessEvents();
        log.clear();
    }
    void Key(Word Vk, TShiftState Shift = {})
    {
        TWinControl *f = GuiTest::FocusedControl();
        GuiTest::PressKey(f ? f : g, Vk, Shift);
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TProbeGrid *g = nullptr;
    TEdit *next = nullptr;
    std::vector<std::string> log;
};

TEST_F(KeyGrid, DefaultKeyTable)
{
    struct TCase {
        const char *Name;
        int Col, Row;
        Word Vk;
        TShiftState Shift;
        int ToCol, ToRow;
        const char *Selection;
        bool Editor;
    };
    const TCase cases[] = {
        {"right", 1, 1, VK_RIGHT, {}, 2, 1, "2,1-2,1", false},
        {"right onto a merged range", 1, 2, VK_RIGHT, {}, 2, 2, "2,2-2,2", false},
        {"right out of a merged range", 2, 2, VK_RIGHT, {}, 4, 2, "4,2-4,2", false},
        {"right over a fixed-reporting cell", 3, 4, VK_RIGHT, {}, 5, 4, "5,4-5,4", false},
        {"down over a fixed-reporting cell", 4, 3, VK_DOWN, {}, 4, 5, "4,5-4,5", false},
        {"shift right extends", 1, 1, VK_RIGHT, {ssShift}, 2, 1, "1,1-2,1", false},
        {"home", 3, 5, VK_HOME, {}, 1, 5, "1,5-1,5", false},
        {"shift home selects back", 3, 5, VK_HOME, {ssShift}, 3, 5, "1,5-3,5", false},
        {"end", 2, 5, VK_END, {}, 5, 5, "5,5-5,5", false},
        {"shift end selects on", 2, 5, VK_END, {ssShift}, 5, 5, "2,5-5,5", false},
        {"ctrl home", 3, 5, VK_HOME, {ssCtrl}, 1, 1, "1,1-1,1", false},
        {"ctrl end", 2, 2, VK_END, {ssCtrl}, 5, 7, "5,7-5,7", false},
        {"enter on an editable cell", 1, 1, VK_RETURN, {}, 1, 1, "1,1-1,1", true},
        {"enter on a read-only cell", 3, 3, VK_RETURN, {}, 3, 3, "3,3-3,3", false},
        {"f2 on an editable cell", 1, 5, VK_F2, {}, 1, 5, "1,5-1,5", true},
        {"f2 on a read-only cell", 3, 3, VK_F2, {}, 3, 3, "3,3-3,3", false},
        {"ctrl a", 2, 3, 'A', {ssCtrl}, 5, 7, "1,1-5,7", false},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        Start(c.Col, c.Row);
        Key(c.Vk, c.Shift);
        EXPECT_EQ(g->Col(), c.ToCol);
        EXPECT_EQ(g->Row(), c.ToRow);
        EXPECT_EQ(Rect(g->Selection()), c.Selection);
        EXPECT_EQ(g->InEditMode(), c.Editor);
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "down " + std::to_string(c.Vk));
        const bool moved = c.ToCol != c.Col || c.ToRow != c.Row || std::string(c.Selection) != Rect(TGridRect{c.Col, c.Row, c.Col, c.Row});
        const bool selLogged = std::find(log.begin(), log.end(), "sel " + std::string(c.Selection)) != log.end();
        EXPECT_EQ(selLogged, moved);
        if (c.Vk == VK_RETURN) {
            // Enter is also a key press; on a read-only cell that is all it is.
            EXPECT_NE(std::find(log.begin(), log.end(), "press 13"), log.end());
            if (!c.Editor) {
                EXPECT_EQ(log, (std::vector<std::string>{"down 13", "press 13"}));
            }
        }
        if (c.Vk == VK_F2 && !c.Editor) {
            EXPECT_EQ(log, (std::vector<std::string>{"down 113"}));
        }
        if (g->InEditMode())
            Key(VK_ESCAPE);
        g->SetFocus();
    }
}

TEST_F(KeyGrid, TabWithoutGoTabsMovesTheFocusToTheNextControl)
{
    Start(2, 2);
    Key(VK_TAB);
    EXPECT_TRUE(next->Focused());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
}

TEST_F(KeyGrid, ClipboardRowAndDeleteKeysNeedTheirOptions)
{
    for (int r = 1; r < 8; ++r)
        g->SetCells(1, r, QString::number(r));
    Start(1, 3);
    bool copied = false;
    g->OnClipboardCopy = [&](TObject *, bool &) { copied = true; };
    Key('C', {ssCtrl});
    EXPECT_FALSE(copied) << "without AllowClipboardShortCuts the grid ignores Ctrl+C";
    g->Navigation()->AllowClipboardShortCuts = true;
    Key(VK_INSERT, {ssCtrl});
    EXPECT_TRUE(copied);

    Key(VK_INSERT);
    EXPECT_EQ(g->RowCount(), 8) << "Insert does nothing by default";
    g->Navigation()->AllowInsertRow = true;
    std::vector<int> inserted;
    g->OnAutoInsertRow = [&](TObject *, int r) { inserted.push_back(r); };
    Key(VK_INSERT);
    EXPECT_EQ(g->RowCount(), 9);
    EXPECT_EQ(inserted, std::vector<int>{3});
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->Cells(1, 3), "") << "pInsertBefore: the new row takes the current row's place";
    EXPECT_EQ(g->Cells(1, 4), "3");
    g->Navigation()->InsertPosition = pInsertAfter;
    Key(VK_INSERT);
    EXPECT_EQ(g->Row(), 4) << "pInsertAfter: the new row after the current one is current";
    EXPECT_EQ(g->Cells(1, 5), "3");
}

TEST_F(KeyGrid, DeleteKeepsTheFilterStateAlsoWhenRefused)
{
    for (int r = 1; r < 8; ++r)
        g->SetCells(1, r, QString::number(r));
    g->Navigation()->AllowDeleteRow = true;
    g->SetFilterOn(true);
    bool allow = false;
    bool filterSeen = true;
    g->OnCanDeleteRow = [&](TObject *, int, bool &Allow) {
        filterSeen = g->FilterOn();
        Allow = allow;
    };
    Start(1, 2);
    Key(VK_DELETE);
    EXPECT_FALSE(filterSeen) << "the filter is off while the row is offered";
    EXPECT_TRUE(g->FilterOn()) << "a refused delete puts the filter back";
    EXPECT_EQ(g->RowCount(), 8);
    allow = true;
    Key(VK_DELETE);
    EXPECT_TRUE(g->FilterOn());
    EXPECT_EQ(g->RowCount(), 7);
    EXPECT_EQ(g->Cells(1, 2), "3");
}

TEST_F(KeyGrid, CursorAdvanceWrapsAtTheEdges)
{
    struct TCase {
        TCursorAdvance Mode;
        int Col, Row;
        Word Vk;
        int ToCol, ToRow;
    };
    const TCase cases[] = {
        {caDefault, 5, 2, VK_RIGHT, 5, 2}, {caSnake, 5, 2, VK_RIGHT, 1, 3}, {caLoop, 5, 2, VK_RIGHT, 1, 2},
        {caSnake, 1, 3, VK_LEFT, 5, 2},    {caLoop, 1, 3, VK_LEFT, 5, 3},   {caSnake, 2, 7, VK_DOWN, 3, 1},
        {caLoop, 2, 1, VK_UP, 2, 7},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(std::to_string(int(c.Mode)) + " " + std::to_string(c.Vk));
        g->Navigation()->CursorAdvance = c.Mode;
        Start(c.Col, c.Row);
        Key(c.Vk);
        EXPECT_EQ(g->Col(), c.ToCol);
        EXPECT_EQ(g->Row(), c.ToRow);
    }
}

TEST_F(KeyGrid, MoveScrollOnlyScrollsWithoutMovingAndDisabledRowsAreSkipped)
{
    g->SetRowCount(60);
    g->Navigation()->MoveScrollOnly = true;
    Start(2, 1);
    const int top = g->TopRow();
    Key(VK_NEXT);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_GT(g->TopRow(), top);
    Key(VK_RIGHT);
    EXPECT_EQ(g->Col(), 3) << "Left and Right still move";
    g->Navigation()->MoveScrollOnly = false;

    Start(2, 1);
    g->SetRowEnabled(2, false);
    g->SetRowEnabled(3, false);
    Key(VK_DOWN);
    EXPECT_EQ(g->Row(), 4);
}

TEST_F(KeyGrid, SetRowEnabledOnTheCurrentRowMovesItFirst)
{
    Start(2, 3);
    g->SetRowEnabled(3, true);
    EXPECT_EQ(g->Row(), 1) << "the current row moves to the first other enabled row, whatever the value";
    g->SetRowEnabled(1, false);
    g->SetRowEnabled(2, false);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_FALSE(g->GetRowEnabled(1));
    EXPECT_TRUE(g->GetRowEnabled(3));
}

TEST_F(KeyGrid, AltGrDoesNotCountAsAlt)
{
    TShiftState seen;
    g->OnKeyDown = [&](TObject *, Word &, TShiftState S) { seen = S; };
    Start(1, 1);
    GuiTest::PressKey(g, VK_RIGHT, {ssAlt});
    EXPECT_TRUE(seen.Contains(ssAlt)) << "an Alt without native side information is the left one";
}

TEST_F(KeyGrid, ScrollAboveTheSearchPanelEndsAtTheLargestTopRow)
{
    g->SetRowCount(40);
    g->SearchFooter()->SetVisible(true);
    struct TCase {
        int PanelHeight;
    };
    // A panel the last row fits above, and one so tall that it never does.
    for (const TCase c : {TCase{30}, TCase{g->ClientHeight() - g->DefaultRowHeight() - 4}}) {
        SCOPED_TRACE(c.PanelHeight);
        g->SearchPanel()->SetHeight(c.PanelHeight);
        g->SetTopRow(g->FixedRows());
        g->SetTopRow(40 - g->VisibleRowCount());
        g->ScrollAboveSearchFooter();
        EXPECT_LT(g->TopRow(), g->RowCount());
        const int bottom = g->CellRect(0, g->RowCount() - 1).Bottom;
        if (c.PanelHeight == 30) {
            EXPECT_LE(bottom, g->ClientHeight() - c.PanelHeight + 2);
            EXPECT_TRUE(g->IsLastRowAboveSearchFooter() || bottom == g->ClientHeight() - c.PanelHeight + 2);
        }
    }
}

// A row set from code does what moving there does: it brings a parked selection back into the
// grid, marks the row in disjunct row selection and keeps the last row above the search panel.
TEST_F(KeyGrid, RowSetFromCodeFollowsTheGridsRowRules)
{
    g->HideSelection();
    ASSERT_EQ(g->Col(), g->ColCount());
    EXPECT_NO_THROW(g->SetRow(3));
    EXPECT_EQ(g->Col(), g->FixedCols());
    EXPECT_EQ(g->Row(), 3);

    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetRow(5);
    EXPECT_TRUE(g->RowSelect(5));
    EXPECT_FALSE(g->RowSelect(4));
    g->MouseActions()->SetDisjunctRowSelect(false);

    g->SetRowCount(40);
    g->SearchFooter()->SetVisible(true);
    g->SearchPanel()->SetHeight(30);
    g->SetRow(39);
    EXPECT_LE(g->CellRect(0, 39).Bottom, g->ClientHeight() - 30 + 2);
}

TEST_F(KeyGrid, CtrlFReachesTheShownSearchFooterOnly)
{
    Start(1, 1);
    Key('F', TShiftState{ssCtrl});
    EXPECT_EQ(GuiTest::FocusedControl(), g) << "no search footer: the grid keeps the focus";
    g->SearchFooter()->SetVisible(true);
    GuiTest::ProcessEvents();
    form->SetActiveControl(g);
    g->SetFocus();
    Key('F', TShiftState{ssCtrl});
    EXPECT_EQ(GuiTest::FocusedControl(), g->SearchPanel()->EditControl());
}

// ---- Space on data check boxes of a column grid ----

class DataCheckKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 300);
        g = new TExtColumnGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 580, 260);
        g->SetColCount(5);
        g->SetRowCount(4);
        g->SetOptions(g->Options() + TGridOptions{goEditing, goRangeSelect, goColSizing});
        g->Columns()->Items(3)->SetEditor(edDataCheckBox);
        g->Columns()->Items(4)->SetEditor(edDataCheckBox);
        g->Columns()->Items(4)->SetReadOnly(true);
        for (int r = 1; r < 4; ++r) {
            g->SetCells(3, r, "N");
            g->SetCells(4, r, "N");
        }
        // The column left of the check boxes is hidden: display column 2 shows real column 3.
        g->HideColumn(1);
        g->OnCheckBoxChange = [this](TObject *, int c, int r, bool s) {
            log.push_back("change " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
        };
        g->OnCheckBoxClick = [this](TObject *, int c, int r, bool s) {
            log.push_back("click " + std::to_string(c) + "," + std::to_string(r) + (s ? " on" : " off"));
        };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TExtColumnGrid *g = nullptr;
    std::vector<std::string> log;
};

TEST_F(DataCheckKeys, SpaceTogglesTheCheckTextsAndReportsTheRealColumn)
{
    g->GotoCell(2, 2);
    GuiTest::ProcessEvents();
    log.clear();
    GuiTest::PressKey(g, VK_SPACE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->AllCells(3, 2), "Y");
    EXPECT_EQ(log, (std::vector<std::string>{"change 3,2 on", "click 3,2 on"}));
    EXPECT_FALSE(g->InEditMode()) << "the blank opens no editor on a check box";
    GuiTest::PressKey(g, VK_SPACE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->AllCells(3, 2), "N");
    EXPECT_EQ(log.back(), "click 3,2 off");

    // The read-only column keeps its text; no change is reported.
    g->GotoCell(3, 2);
    GuiTest::ProcessEvents();
    log.clear();
    GuiTest::PressKey(g, VK_SPACE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->AllCells(4, 2), "N");
    EXPECT_TRUE(std::find(log.begin(), log.end(), "change 4,2 on") == log.end());
}

TEST_F(DataCheckKeys, SpaceMarksTheRowModifiedWithShowModified)
{
    g->ShowModified()->Enabled = true;
    g->GotoCell(2, 1);
    GuiTest::ProcessEvents();
    GuiTest::PressKey(g, VK_SPACE);
    GuiTest::ProcessEvents();
    EXPECT_TRUE(g->RowModified(1));
    EXPECT_FALSE(g->RowModified(2));
    EXPECT_EQ(g->ModifiedRowCount(), 1);
}

} // namespace
