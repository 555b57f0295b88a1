// The grid's item drop-downs over a cell, driven as a user does: the application fills the
// items in the editor-property event, the cell text picks the item the popup opens on, a pick
// and Enter write its lookup text, Escape leaves the cell.
#include "grid/core/ExtGridDropDowns.h"
#include "grid/dropdown/ExtCustomGridDropDown.h"

#include "helpers/EditingGridForm.h"
#include "platform/Forms.h"
#include "platform/MultiMon.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class GridPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = GridTest::MakeForm();
        g = GridTest::MakeEditingGrid(form.get(), 4, 6);
        g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
            if (c == 1)
                e = edGridDropDown;
            else if (c == 2)
                e = edExtGridDropDown;
        };
        g->OnGetEditorProp = [this](TObject *, int c, int, TObject *) {
            if (c == 1)
                FillMultiColumn(g->GridDropDown());
            else if (c == 2)
                FillGrid(g->ExtGridDropDown());
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
    static void FillMultiColumn(TExtMultiColumnDropDown *d)
    {
        d->Columns()->Clear();
        d->Items()->Clear();
        d->Columns()->Add()->Header = QStringLiteral("Name");
        d->Columns()->Add()->Header = QStringLiteral("Code");
        for (const char *n : {"Alpha", "Beta", "Gamma", "Delta"}) {
            auto *it = d->Items()->Add();
            it->Text()->Add(QString::fromUtf8(n));
            it->Text()->Add(QString::number(d->Items()->Count()));
        }
    }
    // With items, or rows written straight into the popup's grid.
    void FillGrid(TGridExtGridDropDown *d)
    {
        d->LookupMethod = ExtCustomGridDropDown::lmNarrowDown;
        d->Columns()->Clear();
        d->Items()->Clear();
        d->Columns()->Add()->Header = QStringLiteral("Port");
        const char *names[] = {"COM1", "COM2", "USB0", "USB1"};
        if (d->UseItems) {
            for (const char *n : names)
                d->Items()->Add()->Text()->Add(QString::fromUtf8(n));
            return;
        }
        TExtStringGrid *inner = d->GetExtColGrid();
        inner->SetColCount(1);
        inner->SetRowCount(5);
        for (int r = 0; r < 4; ++r)
            inner->SetCells(0, r + 1, QString::fromUtf8(names[r]));
    }
    TWinControl *Focused()
    {
        TWinControl *f = GuiTest::FocusedControl();
        return f ? f : g;
    }
    void Key(Word Vk, TShiftState Shift = {}) { GuiTest::PressKey(Focused(), Vk, Shift); }

    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

} // namespace

TEST_F(GridPickerTest, MultiColumnOpensOnTheCellItemAndEnterWritesThePick)
{
    g->SetCells(1, 2, QStringLiteral("Beta"));
    g->MouseActions()->DirectComboDrop = true;
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    TGridGridDropDown *d = g->GridDropDown();
    ASSERT_TRUE(g->InEditMode());
    ASSERT_TRUE(d->DroppedDown()) << "a direct drop opens at once";
    EXPECT_EQ(d->ItemIndex(), 1);
    EXPECT_EQ(d->Grid()->Row(), 2) << "Beta's row";
    EXPECT_EQ(d->Text(), QStringLiteral("Beta"));

    // A click on Gamma picks it; Enter in the edit writes it.
    const TRect r = d->Grid()->CellRect(0, 3);
    GuiTest::Click(d->Grid(), TPoint(r.Left + 3, r.Top + 3));
    ASSERT_FALSE(d->DroppedDown());
    EXPECT_EQ(d->Text(), QStringLiteral("Gamma"));
    ASSERT_EQ(Focused(), d) << "the edit takes the focus back";
    EXPECT_TRUE(g->InEditMode());
    Key(VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Gamma"));

    // Enter in the popup reaches the edit, which writes the row moved to at once.
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    ASSERT_TRUE(d->DroppedDown());
    GuiTest::PressKey(d->Grid(), VK_DOWN);
    GuiTest::PressKey(d->Grid(), VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(d->DroppedDown());
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Delta"));
}

TEST_F(GridPickerTest, MultiColumnEscapeAfterAWheelTurnLeavesTheCell)
{
    g->SetCells(1, 2, QStringLiteral("Beta"));
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    TGridGridDropDown *d = g->GridDropDown();
    ASSERT_EQ(Focused(), d);
    GuiTest::Wheel(d, -120, TPoint(5, 5));
    EXPECT_EQ(d->Text(), QStringLiteral("Gamma")) << "the wheel walks the items in the edit";
    Key(VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(g->InEditMode());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Beta"));

    // An empty cell opens on the first item.
    g->SetRow(3);
    GuiTest::PressKey(g, VK_F2);
    GuiTest::ProcessEvents();
    EXPECT_EQ(d->ItemIndex(), 0);
    EXPECT_EQ(d->Text(), QString());
    Key(VK_ESCAPE);
}

TEST_F(GridPickerTest, GridOfItemsNarrowsAsTypedAndEnterWritesTheRow)
{
    for (bool useItems : {true, false}) {
        g->ExtGridDropDown()->UseItems = useItems;
        g->MouseActions()->DirectComboDrop = true;
        g->SetCol(2);
        g->SetRow(useItems ? 1 : 2);
        GuiTest::PressKey(g, VK_F2);
        GuiTest::ProcessEvents();
        TGridExtGridDropDown *d = g->ExtGridDropDown();
        ASSERT_TRUE(d->DroppedDown()) << "a direct drop opens at once";
        EXPECT_TRUE(d->GetExtColGrid()->FixedRowAlways());
        TExtStringGrid *inner = d->GetExtColGrid();
        ASSERT_EQ(Focused(), inner);
        GuiTest::TypeText(inner, QStringLiteral("us"));
        EXPECT_EQ(inner->RowCount(), 3) << useItems;
        EXPECT_EQ(inner->Cells(0, inner->Row()), QStringLiteral("USB0")) << "the first row left is current";
        GuiTest::PressKey(inner, VK_DOWN);
        GuiTest::PressKey(inner, VK_RETURN);
        GuiTest::ProcessEvents();
        ASSERT_FALSE(d->DroppedDown());
        EXPECT_EQ(d->Text(), QStringLiteral("USB1"));
        ASSERT_EQ(Focused(), d);
        Key(VK_RETURN);
        GuiTest::ProcessEvents();
        EXPECT_FALSE(g->InEditMode());
        EXPECT_EQ(g->Cells(2, useItems ? 1 : 2), QStringLiteral("USB1")) << useItems;
    }
}
