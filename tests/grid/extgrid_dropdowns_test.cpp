// The grid's drop-down editors on a shown grid: each opens over the cell on a typed key, Enter
// writes its value into the cell, Escape leaves the cell as it was; the popup's bar buttons
// reach the grid's events and a direct drop opens the popup with the editor.
#include "grid/core/ExtGridDropDowns.h"

#include "helpers/EditingGridForm.h"
#include "platform/Forms.h"
#include "platform/MultiMon.h"
#include "platform/TimeSource.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class DropDownEditorGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = GridTest::MakeForm();
        g = GridTest::MakeEditingGrid(form.get(), 5, 6);
        g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
            if (c == 1)
                e = edMemoDropDown;
            else if (c == 2)
                e = edTrackbarDropDown;
            else if (c == 3)
                e = edCalculatorDropDown;
            else if (c == 4)
                e = edTimePickerDropDown;
        };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        g->SetCol(1);
        g->SetRow(2);
    }
    void TearDown() override
    {
        form.reset();
        ResetScreenLayout();
    }
    TWinControl *Focused()
    {
        TWinControl *f = GuiTest::FocusedControl();
        return f ? f : g;
    }
    void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }
    void Type(const char *s) { GuiTest::TypeText(Focused(), UnicodeString::fromUtf8(s)); }

    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

} // namespace

TEST_F(DropDownEditorGrid, MemoOpensOnAKeyEnterWritesItsLinesEscapeLeavesTheCell)
{
    g->SetCells(1, 2, QStringLiteral("old"));
    Type("x");
    TGridMemoDropDown *m = g->MemoDropDown();
    ASSERT_TRUE(g->InEditMode());
    ASSERT_EQ(Focused(), m);
    EXPECT_TRUE(m->Visible());
    EXPECT_EQ(m->Left(), g->CellRect(1, 2).Left);
    EXPECT_EQ(m->Text(), QStringLiteral("x")) << "the key that opened the editor replaces the text";

    // A second line in the popup's memo.
    Key(VK_F4);
    ASSERT_TRUE(m->DroppedDown());
    TMemo *memo = m->Memo();
    memo->SetSelStart(memo->Text().length());
    GuiTest::PressKey(memo, VK_RETURN);
    GuiTest::TypeText(memo, QStringLiteral("y"));
    GuiTest::PressKey(memo, VK_F4);
    ASSERT_FALSE(m->DroppedDown());
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(m->Visible());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("x\r\ny"));

    // A second edit cancelled.
    Type("z");
    ASSERT_TRUE(m->Visible());
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(m->Visible());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("x\r\ny"));
}

TEST_F(DropDownEditorGrid, FooterButtonReachesTheGridAndDirectDropOpensThePopup)
{
    g->ControlLook()->DropDownFooter->SetVisible(true);
    g->ControlLook()->DropDownFooter->Buttons()->Add()->SetCaption(QStringLiteral("Clear"));
    int col = -1, row = -1, index = -1;
    g->OnDropDownFooterButtonClick = [&](TObject *Sender, int ACol, int ARow, int Index) {
        EXPECT_EQ(Sender, g);
        col = ACol;
        row = ARow;
        index = Index;
    };
    g->MouseActions()->DirectComboDrop = true;
    g->SetCells(1, 2, QStringLiteral("text"));
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    TGridMemoDropDown *m = g->MemoDropDown();
    ASSERT_TRUE(m->DroppedDown()) << "a direct drop opens the popup with the editor";
    EXPECT_EQ(m->SelStart(), 0);
    TExtFooter *footer = m->DropDownForm()->Footer();
    ASSERT_NE(footer, nullptr);
    ASSERT_EQ(footer->ButtonCount(), 1);
    footer->ButtonAt(0)->Click();
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(index, 0);
}

TEST_F(DropDownEditorGrid, BarButtonsAndMemoTypingReportTheDisplayColumn)
{
    g->HideColumn(1);
    g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
        if (c == 2)
            e = edMemoDropDown;
    };
    g->SetCol(1);
    g->ControlLook()->DropDownHeader->SetVisible(true);
    g->ControlLook()->DropDownHeader->Buttons()->Add()->SetCaption(QStringLiteral("Top"));
    g->ControlLook()->DropDownFooter->SetVisible(true);
    g->ControlLook()->DropDownFooter->Buttons()->Add()->SetCaption(QStringLiteral("One"));
    g->ControlLook()->DropDownFooter->Buttons()->Add()->SetCaption(QStringLiteral("Two"));
    std::vector<std::string> seen;
    g->OnDropDownHeaderButtonClick = [&](TObject *, int c, int r, int i) {
        seen.push_back("header " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i));
    };
    g->OnDropDownFooterButtonClick = [&](TObject *, int c, int r, int i) {
        seen.push_back("footer " + std::to_string(c) + "," + std::to_string(r) + " " + std::to_string(i));
    };
    std::vector<std::string> edits;
    g->OnSetEditText = [&](TObject *, int c, int r, const UnicodeString &v) {
        edits.push_back(std::to_string(c) + "," + std::to_string(r) + " " + v.toStdString());
    };
    g->SetCells(2, 2, QStringLiteral("ab"));
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    TGridMemoDropDown *m = g->MemoDropDown();
    ASSERT_TRUE(m->Visible());
    Key(VK_F4);
    ASSERT_TRUE(m->DroppedDown());
    TExtHeader *header = m->DropDownForm()->Header();
    TExtFooter *footer = m->DropDownForm()->Footer();
    ASSERT_NE(header, nullptr);
    ASSERT_NE(footer, nullptr);
    ASSERT_EQ(footer->ButtonCount(), 2);
    header->ButtonAt(0)->Click();
    footer->ButtonAt(1)->Click();
    EXPECT_EQ(seen, (std::vector<std::string>{"header 1,2 0", "footer 1,2 1"}));

    // Typing in the popup's memo shows in the cell at once, through the grid's edit-text path.
    TMemo *memo = m->Memo();
    memo->SetSelStart(memo->Text().length());
    GuiTest::TypeText(memo, QStringLiteral("c"));
    GuiTest::ProcessEvents();
    ASSERT_FALSE(edits.empty());
    EXPECT_EQ(edits.back(), "2,2 abc");
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("abc"));
    GuiTest::PressKey(memo, VK_F4);
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
}

TEST_F(DropDownEditorGrid, TrackbarTakesTheCellNumberAndEnterWritesTheNewOne)
{
    g->SetCol(2);
    g->SetCells(2, 2, QStringLiteral("3"));
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    TGridTrackbarDropDown *t = g->TrackbarDropDown();
    ASSERT_EQ(Focused(), t);
    EXPECT_EQ(t->Position(), 3);
    // Picked in the popup's track bar.
    Key(VK_F4);
    ASSERT_TRUE(t->DroppedDown());
    t->TrackBar()->SetPosition(7);
    t->HideDropDown(false);
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("7"));

    // Typed, then cancelled.
    Type("9");
    ASSERT_TRUE(t->Visible());
    EXPECT_EQ(t->Position(), 9);
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(g->Cells(2, 2), QStringLiteral("7"));
}

TEST_F(DropDownEditorGrid, CalculatorEnterWritesTheResultOfThePendingCalculation)
{
    g->SetCol(3);
    g->SetCells(3, 2, QStringLiteral("4"));
    Type("1");
    TGridCalculatorDropDown *c = g->CalculatorDropDown();
    ASSERT_EQ(Focused(), c);
    Type("2+3");
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(c->Visible());
    EXPECT_EQ(g->Cells(3, 2), QStringLiteral("15.00"));

    Type("9");
    ASSERT_TRUE(c->Visible());
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(3, 2), QStringLiteral("15.00"));
}

TEST_F(DropDownEditorGrid, TheUnitMakesTheThreeEditorsByName)
{
    ExtGrid::StartUp();
    TPersistent *t = FindClass("TGridTrackbarDropDown")(g);
    TPersistent *m = FindClass("TGridMemoDropDown")(g);
    TPersistent *c = FindClass("TGridCalculatorDropDown")(g);
    TPersistent *p = FindClass("TGridTimepickerDropDown")(g);
    EXPECT_NE(dynamic_cast<TGridTimepickerDropDown *>(p), nullptr);
    delete p;
    EXPECT_NE(dynamic_cast<TGridTrackbarDropDown *>(t), nullptr);
    EXPECT_NE(dynamic_cast<TGridMemoDropDown *>(m), nullptr);
    EXPECT_NE(dynamic_cast<TGridCalculatorDropDown *>(c), nullptr);
    delete t;
    delete m;
    delete c;
}

TEST_F(DropDownEditorGrid, TimePickerWritesTypedAndPickedTimes)
{
    TManualClock clock;
    g->SetCol(4);
    g->SetCells(4, 2, QStringLiteral("08:05:30"));
    Type("0");
    TGridTimepickerDropDown *t = g->TimePickerDropDown();
    ASSERT_EQ(Focused(), t);
    EXPECT_FALSE(t->FocusDraw);
    Type("73000");
    EXPECT_EQ(t->Text(), QStringLiteral("07:30:00"));
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(g->Cells(4, 2), QStringLiteral("07:30:00"));

    // An hour later on the popup's watch.
    g->SetCells(4, 2, QStringLiteral("08:05:30"));
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    ASSERT_EQ(Focused(), t);
    EXPECT_EQ(t->Text(), QStringLiteral("08:05:30"));
    Key(VK_F4);
    ASSERT_TRUE(t->DroppedDown());
    GuiTest::PressKey(t->DropDownForm(), VK_PRIOR);
    for (int i = 0; i < 200 && t->Watch()->Animating(); ++i)
        clock.Advance(1);
    GuiTest::PressKey(t->DropDownForm(), VK_RETURN);
    EXPECT_FALSE(t->DroppedDown());
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(4, 2), QStringLiteral("09:05:30"));

    Type("1");
    ASSERT_TRUE(t->Visible());
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(t->Visible());
    EXPECT_EQ(g->Cells(4, 2), QStringLiteral("09:05:30"));
}

TEST_F(DropDownEditorGrid, EditorsWearTheGridsStyleWhenMadeAndWhenTheStyleChanges)
{
    g->SetComponentStyle(tsWindows7);
    TGridMemoDropDown *memo = g->MemoDropDown();
    EXPECT_EQ(memo->GetComponentStyle(), tsWindows7) << "a new editor takes the grid's style";
    TGridCalculatorDropDown *calc = g->CalculatorDropDown();
    g->SetComponentStyle(tsOffice2003Olive);
    EXPECT_EQ(memo->GetComponentStyle(), tsOffice2003Olive);
    EXPECT_EQ(calc->GetComponentStyle(), tsOffice2003Olive);
    EXPECT_EQ(g->TimePickerDropDown()->GetComponentStyle(), tsOffice2003Olive);
}

TEST_F(DropDownEditorGrid, TheEditorTakesTheCellsBackgroundColour)
{
    g->SetColors(1, 2, clYellow);
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    ASSERT_TRUE(g->InEditMode());
    EXPECT_EQ(g->MemoDropDown()->Color(), clYellow);
}
