// A shown column grid edited as the rule editors' users edit it: a column per editor type, a
// read-only column, keys and clicks that open, store and restore.
#include "grid/core/ExtColumnGrid.h"

#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class ColumnGridEditing : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 300);
        g = new TExtColumnGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 580, 260);
        g->SetColCount(6);
        g->SetRowCount(5);
        g->SetFixedRows(1);
        g->SetFixedCols(1);
        C(1)->SetEditor(edNormal);
        C(2)->SetEditor(edComboList);
        C(2)->ComboItems()->Add("A");
        C(2)->ComboItems()->Add("B");
        C(3)->SetEditor(edComboEdit);
        C(3)->ComboItems()->Add("x1");
        C(4)->SetEditor(edDataCheckBox);
        C(5)->SetReadOnly(true);
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        // Editing is switched on per cell as cells become current.
        Go(2, 2);
        Go(1, 1);
    }
    TGridColumnItem *C(int i) const { return g->Columns()->Items(i); }
    void Go(int c, int r)
    {
        g->SetCol(c);
        g->SetRow(r);
    }
    void Type(const char *s) { GuiTest::TypeText(Focused(), UnicodeString::fromUtf8(s)); }
    TWinControl *Focused()
    {
        TWinControl *f = GuiTest::FocusedControl();
        return f ? f : g;
    }
    void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }
    void ClickCell(int c, int r)
    {
        const TRect rc = g->CellRect(c, r);
        GuiTest::Click(g, TPoint((rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2));
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TExtColumnGrid *g = nullptr;
};

TEST_F(ColumnGridEditing, LetterF2AndClickOpenANormalColumnEnterStoresEscapeRestores)
{
    Type("a");
    ASSERT_TRUE(g->InEditMode());
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "a");
    EXPECT_FALSE(g->InEditMode());

    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    Type("bc");
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "a");
    EXPECT_FALSE(g->InEditMode());

    // A click on the current cell opens its editor.
    ClickCell(1, 1);
    ClickCell(1, 1);
    EXPECT_TRUE(g->InEditMode());
    Key(VK_ESCAPE);
}

TEST_F(ColumnGridEditing, ComboColumnsOpenTheirListsAndStoreTheChoice)
{
    Go(2, 2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->EditorType(), edComboList);
    ASSERT_EQ(g->ComboEditor()->Items()->Count(), 2);
    g->ComboEditor()->SetItemIndex(1);
    g->HideCellEdit();
    Go(1, 2);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(2, 2), "B");

    Go(3, 2);
    Type("q");
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->EditorType(), edComboEdit);
    GuiTest::ProcessEvents();
    EXPECT_TRUE(g->ComboEditor()->Text().endsWith(u"q"));
    g->HideCellEdit();
    EXPECT_TRUE(g->Cells(3, 2).endsWith(u"q"));
}

TEST_F(ColumnGridEditing, CheckBoxAndReadOnlyColumnsOpenNothingAlsoAfterARefusedMove)
{
    for (int c : {4, 5}) {
        SCOPED_TRACE(c);
        Go(c, 2);
        Type("z");
        EXPECT_FALSE(g->InEditMode());
        Key(VK_F2);
        EXPECT_FALSE(g->InEditMode());
        // A refused move to the editable column keeps this one closed.
        g->OnColChanging = [](TObject *, int, int, bool &allow) { allow = false; };
        g->SetCol(1);
        EXPECT_EQ(g->Col(), c);
        Type("z");
        EXPECT_FALSE(g->InEditMode());
        g->OnColChanging = nullptr;
    }
    EXPECT_EQ(g->Cells(5, 2), "");
}

TEST_F(ColumnGridEditing, TheEditorIsRightAlignedInARightAlignedColumn)
{
    C(1)->SetAlignment(taRightJustify);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->NormalEdit()->Alignment(), taRightJustify);
    Key(VK_ESCAPE);
    C(1)->SetAlignment(taCenter); // only right alignment is taken over
    Go(1, 2);
    Key(VK_F2);
    EXPECT_EQ(g->NormalEdit()->Alignment(), taLeftJustify);
    Key(VK_ESCAPE);
}

TEST_F(ColumnGridEditing, SpinColumnGivesTheEditorItsLimitsAndStep)
{
    C(1)->SetEditor(edSpinEdit);
    C(1)->SetSpinMin(10);
    C(1)->SetSpinMax(40);
    C(1)->SetSpinStep(5);
    g->SetCells(1, 2, "12");
    Go(1, 2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    TGridSpin *s = g->SpinEdit();
    ASSERT_TRUE(s->Visible());
    GuiTest::Click(s->Button()->UpButton());
    EXPECT_EQ(s->Text(), "17");
    Key(VK_HOME);
    EXPECT_EQ(s->Text(), "40");
    Key(VK_END);
    EXPECT_EQ(s->Text(), "10");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), "10");
}

TEST_F(ColumnGridEditing, UpAndDownMoveInsideAMultiLineTextThenLeave)
{
    g->SetCells(1, 2, "one\r\ntwo\r\nthree");
    Go(1, 2);
    Key(VK_F2);
    ASSERT_TRUE(g->InEditMode());
    g->NormalEdit()->SetSelStart(0);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(g->NormalEdit()->LineFromChar(-1), 2);
    Key(VK_DOWN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(g->Cells(1, 2), "one\r\ntwo\r\nthree");
}

TEST_F(ColumnGridEditing, EndOfEditNamesTheRealColumnBesideAHiddenOne)
{
    std::vector<std::string> log;
    g->OnCellValidate = [&](TObject *, int c, int r, UnicodeString &, bool &) {
        log.push_back("validate " + std::to_string(c) + "," + std::to_string(r));
    };
    g->OnCellsChanged = [&](TObject *, const TRect &R) {
        log.push_back("changed " + g->GridCells(R.Left, R.Top).toStdString());
    };
    g->OnEditingDone = [&](TObject *) { log.push_back("done"); };
    g->OnEditCellDone = [&](TObject *, int c, int r) {
        log.push_back("celldone " + std::to_string(c) + "," + std::to_string(r));
    };
    g->HideColumn(1);
    Go(1, 3); // shows real column 2 (the combo list) - move on to the combo edit column
    Go(2, 3);
    Type("w");
    ASSERT_TRUE(g->InEditMode());
    g->HideCellEdit();
    Go(1, 3);
    GuiTest::WaitUntil([&] { return !log.empty() && log.back().rfind("celldone", 0) == 0; }, 1000);
    // The change report, where the grid gives one, sees the cell holding its new text already.
    std::vector<std::string> withoutChanges;
    for (const std::string &e : log) {
        if (e.rfind("changed", 0) == 0)
            EXPECT_EQ(e, "changed w");
        else
            withoutChanges.push_back(e);
    }
    const std::vector<std::string> expected{"done", "validate 3,3", "celldone 3,3"};
    EXPECT_EQ(withoutChanges, expected);
}

} // namespace
