// Check boxes, radio buttons, radio groups and buttons in cells: the toggles that a click or Space
// runs, the state queries, and what adding and removing them leaves behind.
#include "grid/core/ExtColumnGrid.h"

#include "controls/ExtGridUndoRedo.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The Enable column of a rule editor: a column grid whose column 1 is a data check box column.
class DataCheckColumn : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtColumnGrid>(nullptr);
        G->SetColCount(3);
        G->SetRowCount(4);
        G->SetFixedRows(1);
        G->SetFixedCols(1);
        G->Columns()->Items(1)->SetEditor(edDataCheckBox);
        G->OnCheckBoxChange = [this](TObject *, int c, int r, bool s) {
            Changes.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + (s ? "1" : "0"));
        };
    }
    std::unique_ptr<TExtColumnGrid> G;
    std::vector<std::string> Changes;
};

TEST_F(DataCheckColumn, ToggleSwitchesTheTextAndReportsTheNewState)
{
    G->SetCells(1, 1, "Y");
    EXPECT_TRUE(G->ToggleCellCheckBox(1, 1, true));
    EXPECT_EQ(G->Cells(1, 1), "N");
    EXPECT_TRUE(G->ToggleCellCheckBox(1, 1, true));
    EXPECT_EQ(G->Cells(1, 1), "Y");
    // An empty Enable cell becomes checked.
    EXPECT_TRUE(G->ToggleCheckBox(1, 2));
    EXPECT_EQ(G->Cells(1, 2), "Y");
    EXPECT_EQ(Changes, (std::vector<std::string>{"1,1:0", "1,1:1", "1,2:1"}));
    // A cell without a check box is no toggle.
    EXPECT_FALSE(G->ToggleCellCheckBox(2, 1, true));
    EXPECT_EQ(Changes.size(), 3u);
}

TEST_F(DataCheckColumn, ReadOnlyCellRefusesTheUserAndFiresNothing)
{
    G->Columns()->Items(1)->SetReadOnly(true);
    G->SetCells(1, 1, "Y");
    EXPECT_FALSE(G->ToggleCellCheckBox(1, 1, true));
    EXPECT_EQ(G->Cells(1, 1), "Y");
    EXPECT_TRUE(Changes.empty());
    // Code is no user: it toggles a read-only box.
    EXPECT_TRUE(G->ToggleCellCheckBox(1, 1, false));
    EXPECT_EQ(G->Cells(1, 1), "N");
    // With the check boxes always active the user's toggle goes through too.
    G->ControlLook()->CheckAlwaysActive = true;
    EXPECT_TRUE(G->ToggleCellCheckBox(1, 1, true));
    EXPECT_EQ(G->Cells(1, 1), "Y");
}

TEST_F(DataCheckColumn, StateIsTheExactCheckTrueText)
{
    bool state = true;
    G->SetCells(1, 1, "y");
    ASSERT_TRUE(G->GetCheckBoxState(1, 1, state));
    EXPECT_FALSE(state);
    G->SetCells(1, 1, "Y");
    ASSERT_TRUE(G->GetCheckBoxState(1, 1, state));
    EXPECT_TRUE(state);
    EXPECT_TRUE(G->IsChecked(1, 1));
    // No box: false, and the out-parameter stays as it was.
    state = true;
    EXPECT_FALSE(G->GetCheckBoxState(2, 1, state));
    EXPECT_TRUE(state);
    // The column's own texts count.
    G->Columns()->Items(1)->SetCheckTrue("J");
    EXPECT_FALSE(G->IsChecked(1, 1));
}

TEST_F(DataCheckColumn, SetAndCheckAllFireOnlyForRealChanges)
{
    for (int r = 1; r < 4; ++r)
        G->SetCells(1, r, "Y");
    G->CheckAll(1);
    EXPECT_TRUE(Changes.empty());
    EXPECT_TRUE(G->SetCheckBoxState(1, 2, false));
    EXPECT_EQ(G->Cells(1, 2), "N");
    EXPECT_TRUE(Changes.empty());
    G->CheckAll(1);
    EXPECT_EQ(Changes, (std::vector<std::string>{"1,2:1"}));
    Changes.clear();
    G->UnCheckAll(1);
    EXPECT_EQ(Changes.size(), 3u);
    for (int r = 1; r < 4; ++r)
        EXPECT_EQ(G->Cells(1, r), "N");
}

TEST_F(DataCheckColumn, UndoGivesBackTheTextOfEachToggle)
{
    TExtGridUndoRedo undo(nullptr);
    G->SetUndoRedo(&undo);
    G->ToggleCheckBox(1, 1); // "" -> "Y"
    G->ToggleCheckBox(1, 1); // "Y" -> "N"
    ASSERT_TRUE(undo.CanUndo());
    undo.Undo();
    EXPECT_EQ(G->Cells(1, 1), "Y");
    undo.Undo();
    EXPECT_EQ(G->Cells(1, 1), "");
    undo.Redo();
    EXPECT_EQ(G->Cells(1, 1), "Y");
    G->SetUndoRedo(nullptr);
}

TEST_F(DataCheckColumn, HiddenRowsAnswerAndChangeByRealRow)
{
    G->SetCells(1, 2, "Y");
    G->SetCells(1, 3, "N");
    G->HideRow(2);
    bool state = false;
    // Row 2 is hidden: by real row it still answers from its stored text.
    ASSERT_TRUE(G->GetCheckBoxState(1, 2, state));
    EXPECT_TRUE(state);
    ASSERT_TRUE(G->GetCheckBoxState(1, 3, state));
    EXPECT_FALSE(state);
    EXPECT_TRUE(G->SetCheckBoxState(1, 2, false));
    EXPECT_TRUE(Changes.empty());
    // The change takes a shown row: display row 2 is real row 3.
    EXPECT_TRUE(G->ChangeCheckBoxState(1, 2, true));
    EXPECT_EQ(Changes, (std::vector<std::string>{"1,2:1"}));
    G->UnHideRow(2);
    EXPECT_EQ(G->Cells(1, 2), "N");
    EXPECT_EQ(G->Cells(1, 3), "Y");
}

TEST(ExtGridChecks, RowCheckBoxSetsTheRowSelection)
{
    TExtStringGrid g(nullptr);
    g.SetRowCount(5);
    g.MouseActions()->SetDisjunctRowSelect(true);
    g.MouseActions()->SetHotmailRowSelect(true);
    std::vector<std::string> changes;
    g.OnCheckBoxChange = [&](TObject *, int c, int r, bool s) {
        changes.push_back(std::to_string(c) + "," + std::to_string(r) + ":" + (s ? "1" : "0"));
    };
    // Setting never fires; it ticks the box by selecting the row.
    EXPECT_TRUE(g.SetCheckBoxState(0, 2, true));
    EXPECT_TRUE(g.GetRowSelect(2));
    EXPECT_TRUE(g.IsChecked(0, 2));
    EXPECT_TRUE(changes.empty());
    // A change fires only where the row's flag really changes.
    EXPECT_TRUE(g.ChangeCheckBoxState(0, 2, true));
    EXPECT_TRUE(g.ChangeCheckBoxState(0, 3, true));
    EXPECT_TRUE(g.ChangeCheckBoxState(0, 2, false));
    EXPECT_FALSE(g.GetRowSelect(2));
    EXPECT_TRUE(g.GetRowSelect(3));
    EXPECT_EQ(changes, (std::vector<std::string>{"0,3:1", "0,2:0"}));
    // Only column 0 holds the row's box.
    EXPECT_FALSE(g.SetCheckBoxState(1, 4, true));
    EXPECT_FALSE(g.GetRowSelect(4));
}

TEST(ExtGridChecks, AddingOutsideTheCellsRaisesInvalidCell)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetRowCount(3);
    const std::vector<std::pair<int, int>> bad{{3, 0}, {0, 3}, {-1, 0}, {0, -1}};
    for (auto [c, r] : bad) {
        SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
        EXPECT_THROW(g.AddCheckBox(c, r, true, false), Exception);
        EXPECT_THROW(g.AddRadioButton(c, r, true), Exception);
    }
    EXPECT_EQ(g.GetCellType(2, 2), ctEmpty);
    EXPECT_NO_THROW(g.AddCheckBox(2, 2, true, false));
    EXPECT_EQ(g.GetCellType(2, 2), ctCheckBox);
}

TEST(ExtGridChecks, DataBoxKeepsATextThatAlreadySaysItsState)
{
    TExtStringGrid g(nullptr);
    g.SetCells(1, 1, "N");
    g.AddCheckBox(1, 1, true, true);
    EXPECT_EQ(g.Cells(1, 1), "N");
    EXPECT_FALSE(g.IsChecked(1, 1));
    g.SetCells(1, 2, "other");
    g.AddCheckBox(1, 2, true, true);
    EXPECT_EQ(g.Cells(1, 2), "Y");
    g.AddCheckBox(1, 3, false, true);
    EXPECT_EQ(g.Cells(1, 3), "N");
}

TEST(ExtGridChecks, PlainAndTriStateBoxesToggleTheirGraphic)
{
    TExtStringGrid g(nullptr);
    std::vector<bool> fired;
    g.OnCheckBoxChange = [&](TObject *, int, int, bool s) { fired.push_back(s); };
    g.SetCells(1, 1, "caption");
    g.AddCheckBox(1, 1, false, false);
    EXPECT_TRUE(g.ToggleCheckBox(1, 1));
    EXPECT_TRUE(g.IsChecked(1, 1));
    EXPECT_EQ(g.Cells(1, 1), "caption");
    // A plain box changes no text: the undo list stays empty.
    TExtGridUndoRedo undo(nullptr);
    g.SetUndoRedo(&undo);
    EXPECT_TRUE(g.ToggleCheckBox(1, 1));
    EXPECT_FALSE(undo.CanUndo());
    g.SetUndoRedo(nullptr);

    g.AddCheckBox(2, 1, cbUnchecked);
    std::vector<TCheckBoxState> states;
    for (int i = 0; i < 3; ++i) {
        g.ToggleCheckBox(2, 1);
        TCheckBoxState s = cbUnchecked;
        g.GetCheckBoxState(2, 1, s);
        states.push_back(s);
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
    EXPECT_EQ(fired, (std::vector<bool>{true, false, false, false, false}));
    // Kept as it always was: outside the hidden rows a tri-state box is no Boolean box.
    bool b = true;
    EXPECT_FALSE(g.GetCheckBoxState(2, 1, b));
    EXPECT_TRUE(g.SetCheckBoxState(2, 1, cbChecked));
    EXPECT_FALSE(g.SetCheckBoxState(1, 1, cbChecked));
}

TEST(ExtGridChecks, RemovingABoxFreesItsObjectOnce)
{
    TExtStringGrid g(nullptr);
    for (int c : {1, 2}) {
        if (c == 1)
            g.AddCheckBox(c, 1, true, false);
        else
            g.AddCheckBox(c, 1, cbChecked);
        TCellGraphic *gr = g.GetCellGraphic(c, 1);
        auto *balloon = new TStringList();
        balloon->Add("tip");
        gr->SetCellAngle(1);
        gr->SetCellObject(balloon);
        g.RemoveCheckBox(c, 1);
        EXPECT_EQ(g.GetCellGraphic(c, 1), nullptr);
    }
    // Other graphics are not check boxes.
    g.AddRadioButton(1, 2, true);
    g.RemoveCheckBox(1, 2);
    EXPECT_TRUE(g.HasRadioButton(1, 2));
}

struct THitCase {
    TAlignment Align;
    TVAlignment VAlign;
    bool WithText;
    int Dx, Dy; // from the square's expected top-left corner
    bool Hit;
};

TEST(ExtGridChecks, PreciseHitTestFollowsTheGlyphSquare)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(3);
    g.SetColWidths(1, 100);
    g.SetRowHeights(1, 30);
    const int S = g.ControlLook()->CheckSize;
    const std::vector<THitCase> cases{
        {taLeftJustify, vtaTop, false, 0, 0, true},      {taLeftJustify, vtaTop, false, -1, 0, false},
        {taLeftJustify, vtaTop, false, S - 1, S - 1, true}, {taLeftJustify, vtaTop, false, S, 0, false},
        {taLeftJustify, vtaTop, false, 0, S, false},     {taCenter, vtaCenter, false, 0, 0, true},
        {taCenter, vtaCenter, false, 0, -1, false},      {taRightJustify, vtaBottom, false, S - 1, S - 1, true},
        {taRightJustify, vtaBottom, false, S, 0, false}, {taRightJustify, vtaTop, true, 0, 0, true},
        {taRightJustify, vtaTop, true, S, 0, false},
    };
    for (const THitCase &tc : cases) {
        SCOPED_TRACE(std::to_string(int(tc.Align)) + "/" + std::to_string(int(tc.VAlign)) + " " +
                     std::to_string(tc.Dx) + "," + std::to_string(tc.Dy));
        g.SetVAlignment(tc.VAlign);
        g.SetCells(1, 1, tc.WithText ? "text" : "");
        g.AddCheckBox(1, 1, false, false);
        const TAlignment a = tc.Align;
        g.OnGetAlignment = [a](TObject *, int, int, TAlignment &h, TVAlignment &) { h = a; };
        const TRect C = g.CellRect(1, 1);
        int left = C.Left + 2;
        if (a == taCenter)
            left = C.Left + (C.Right - C.Left - S) / 2;
        if (a == taRightJustify) {
            left = C.Right - S - 2;
            if (tc.WithText) {
                g.Canvas()->Font()->Assign(g.Font());
                left -= g.Canvas()->TextWidth("text");
            }
        }
        int top = C.Top + 2;
        if (tc.VAlign == vtaCenter)
            top = C.Top + (C.Bottom - C.Top - S) / 2;
        if (tc.VAlign == vtaBottom)
            top = C.Bottom - S - 2;
        g.MouseActions()->PreciseCheckBoxCheck = true;
        EXPECT_EQ(g.IsInCheckBox(1, 1, left + tc.Dx, top + tc.Dy), tc.Hit);
        // Without the precise test the whole cell is the box.
        g.MouseActions()->PreciseCheckBoxCheck = false;
        EXPECT_TRUE(g.IsInCheckBox(1, 1, left + tc.Dx, top + tc.Dy));
    }
    EXPECT_FALSE(g.IsInCheckBox(2, 1, 0, 0));
}

TEST(ExtGridChecks, RadioButtonsOfAColumnFormOneGroup)
{
    TExtStringGrid g(nullptr);
    g.SetRowCount(5);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), -1);
    g.AddRadioButtonColumn(1);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), -1);
    g.SetRadioButtonColumnIndex(1, 3);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 3);
    // A grid that does not edit refuses the user.
    EXPECT_FALSE(g.ToggleCellRadioButton(1, 2, true));
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 3);
    g.SetOptions(g.Options() + TGridOptions{goEditing});
    EXPECT_TRUE(g.ToggleCellRadioButton(1, 2, true));
    EXPECT_TRUE(g.IsRadioButtonChecked(1, 2));
    EXPECT_FALSE(g.IsRadioButtonChecked(1, 3));
    // Already checked: still true, still the one.
    EXPECT_TRUE(g.ToggleCellRadioButton(1, 2, false));
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), 2);
    g.SetRadioButtonColumnIndex(1, -1);
    EXPECT_EQ(g.GetRadioButtonColumnIndex(1), -1);
    // Setting one state does not uncheck the others.
    g.SetRadioButtonState(1, 1, true);
    g.SetRadioButtonState(1, 4, true);
    EXPECT_TRUE(g.IsRadioButtonChecked(1, 1));
    EXPECT_FALSE(g.SetRadioButtonState(2, 1, true));
    EXPECT_FALSE(g.ToggleCellRadioButton(2, 1, false));
    g.RemoveRadioButtonColumn(1);
    EXPECT_FALSE(g.HasRadioButton(1, 1));
}

TEST(ExtGridChecks, RadioGroupsStepThroughTheirOptions)
{
    TExtStringGrid g(nullptr);
    TStrings *opts = g.CreateRadio(1, 1, 0, -1);
    opts->Add("A");
    opts->Add("B");
    opts->Add("C");
    EXPECT_TRUE(g.IsRadio(1, 1));
    EXPECT_EQ(g.GetRadioStrings(1, 1), opts);
    g.SetCells(1, 1, "B");
    g.SelectNextRadioItem(1, 1, false);
    EXPECT_EQ(g.Cells(1, 1), "C");
    int idx = -5;
    EXPECT_TRUE(g.GetRadioIdx(1, 1, idx));
    EXPECT_EQ(idx, 2);
    g.SelectNextRadioItem(1, 1, false);
    EXPECT_EQ(g.Cells(1, 1), "A");
    EXPECT_TRUE(g.SetRadioIdx(1, 1, -1));
    EXPECT_EQ(g.Cells(1, 1), "");

    // A caller's list stays the caller's.
    TStringList mine;
    mine.Add("x");
    g.AddRadio(2, 1, 1, 0, &mine);
    g.RemoveRadio(2, 1);
    EXPECT_EQ(mine.Count(), 1);

    // A check box cell is no radio group: nothing of it changes.
    g.SetCells(1, 2, "Y");
    g.AddCheckBox(1, 2, true, true);
    EXPECT_FALSE(g.SetRadioIdx(1, 2, -1));
    EXPECT_EQ(g.Cells(1, 2), "Y");
    EXPECT_EQ(g.GetCellGraphic(1, 2)->CellIndex(), 0);
    EXPECT_FALSE(g.GetRadioIdx(1, 2, idx));
}

TEST(ExtGridChecks, ButtonsKeepCaptionAndPressedLook)
{
    TExtStringGrid g(nullptr);
    g.AddButton(1, 1, 40, 18, "Go", haLeft, vaTop);
    EXPECT_TRUE(g.HasButton(1, 1));
    EXPECT_EQ(g.GetButtonText(1, 1), "Go");
    g.SetButtonText(1, 1, "Run");
    EXPECT_EQ(g.GetButtonText(1, 1), "Run");
    g.PushButton(1, 1, true);
    EXPECT_TRUE(g.GetCellGraphic(1, 1)->CellBoolean());
    // Pressing is a button's: a check box keeps its state.
    g.AddCheckBox(2, 1, false, false);
    g.PushButton(2, 1, true);
    EXPECT_FALSE(g.IsChecked(2, 1));

    TRect R;
    g.GetCellButtonRect(1, 1, R);
    const TRect C = g.CellRect(1, 1);
    EXPECT_EQ(R, TRect(C.Left, C.Top, C.Left + 40, C.Top + 18));
    TBitmap *glyph = g.CreateBitButton(1, 2, 20, 20, "", haFull, vaFull);
    ASSERT_NE(glyph, nullptr);
    g.GetCellButtonRect(1, 2, R);
    EXPECT_EQ(R, g.CellRect(1, 2));
    g.RemoveAllButtons();
    EXPECT_FALSE(g.HasButton(1, 1));
    EXPECT_FALSE(g.HasButton(1, 2));
}

TEST(ExtGridChecks, ControlCellsAreTheClickableGraphics)
{
    TExtStringGrid g(nullptr);
    g.AddCheckBox(1, 1, false, true);
    g.AddButton(1, 2, 10, 10, "b", haLeft, vaTop);
    g.AddExpand(1, 3, 40);
    EXPECT_TRUE(g.IsControlCell(1, 1));
    EXPECT_TRUE(g.IsControlCell(1, 2));
    EXPECT_FALSE(g.IsControlCell(1, 3));
    EXPECT_FALSE(g.IsControlCell(-1, 1));
    EXPECT_TRUE(IsDataGraphicCell(&g, 1, 1));
    EXPECT_FALSE(IsDataGraphicCell(&g, 1, 2));
}

} // namespace
