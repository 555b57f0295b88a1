// The grid's colour, image and detail editors on a shown grid: each opens over the cell on a key,
// Enter writes the chosen colour (text and cell colour), image index or completed caption, and
// Escape after changes leaves the cell as it was.
#include "grid/core/ExtGridPickers.h"

#include "helpers/EditingGridForm.h"
#include "platform/Forms.h"
#include "platform/MultiMon.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class PickerEditorGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = GridTest::MakeForm();
        images = new TCustomImageList(form.get());
        images->SetWidth(16);
        images->SetHeight(16);
        TBitmap strip(80, 16);
        images->Add(&strip, nullptr);
        g = GridTest::MakeEditingGrid(form.get(), 5, 6);
        g->SetGridImages(images);
        g->OnGetEditorType = [](TObject *, int c, int, TEditorType &e) {
            if (c == 1)
                e = edColorPickerDropDown;
            else if (c == 2)
                e = edImagePickerDropDown;
            else if (c == 3)
                e = edDetailDropDown;
        };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
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
    // Keys typed while a popup is open reach the editor through the popup.
    void Key(TWinControl *Editor, Word Vk, TShiftState Shift = {})
    {
        GuiTest::PressKey(Editor->Visible() ? Editor : Focused(), Vk, Shift);
    }
    void Edit(int Col)
    {
        g->SetCol(Col);
        GuiTest::PressKey(g, VK_F2);
        GuiTest::ProcessEvents();
    }

    std::unique_ptr<TForm> form;
    TCustomImageList *images = nullptr;
    TExtStringGrid *g = nullptr;
};

} // namespace

TEST_F(PickerEditorGrid, ColourCellTakesTheChosenEntrysTextAndColour)
{
    g->SetColors(1, 2, 0x0000FF);
    Edit(1);
    TGridColorDropDown *d = g->ColorPickerDropDown();
    ASSERT_TRUE(d->Visible());
    ASSERT_EQ(Focused(), d);
    EXPECT_EQ(d->Colors()->Count(), 16) << "the default colours";
    EXPECT_EQ(d->SelectedColor(), TColor(0x0000FF));
    EXPECT_EQ(d->SelectedColorText(), QStringLiteral("Red"));
    Key(d, VK_DOWN, {ssAlt});
    ASSERT_TRUE(d->DroppedDown());
    EXPECT_EQ(g->Row(), 2) << "Alt+Down opens the popup, the grid stays";
    for (int i = 0; i < 7; ++i)
        Key(d, VK_UP);
    EXPECT_TRUE(d->DroppedDown());
    EXPECT_EQ(d->SelectedColorText(), QStringLiteral("Green"));
    Key(d, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Green"));
    EXPECT_EQ(g->Colors(1, 2), TColor(0x008000));

    // Escape after moves, in the popup and by the wheel, leaves the cell.
    Edit(1);
    Key(d, VK_DOWN, {ssAlt});
    Key(d, VK_UP);
    Key(d, VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Green"));
    EXPECT_EQ(g->Colors(1, 2), TColor(0x008000));
    Edit(1);
    d->WheelDown();
    EXPECT_EQ(d->SelectedColorText(), QStringLiteral("Olive"));
    Key(d, VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("Green"));
    EXPECT_EQ(g->Colors(1, 2), TColor(0x008000));

    // The handler may change both.
    g->OnColorSelected = [](TObject *, int ACol, int ARow, TColor &Color, UnicodeString &Value) {
        EXPECT_EQ(ACol, 1);
        EXPECT_EQ(ARow, 2);
        Color = 0x123456;
        Value = QStringLiteral("mine");
    };
    Edit(1);
    Key(d, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 2), QStringLiteral("mine"));
    EXPECT_EQ(g->Colors(1, 2), TColor(0x123456));

    // Each pick in the open editor is heard with the current cell, the colour and its name.
    std::vector<std::string> picks;
    g->OnColorSelect = [&](TObject *, int ACol, int ARow, TColor Color, const UnicodeString &Text) {
        picks.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + std::to_string(Color) + " " +
                        Text.toStdString());
    };
    g->SetColors(1, 2, 0x008000);
    Edit(1);
    picks.clear();
    d->WheelDown();
    ASSERT_FALSE(picks.empty());
    EXPECT_EQ(picks.back(), "1,2 " + std::to_string(d->SelectedColor()) + " " + d->SelectedColorText().toStdString());
    EXPECT_NE(d->SelectedColor(), TColor(0x008000)) << "the wheel picked another colour";
    Key(d, VK_ESCAPE);
}

TEST_F(PickerEditorGrid, ImageCellTakesTheChosenIndex)
{
    g->AddImageIdx(2, 2, 1, haLeft, vaTop);
    Edit(2);
    TGridImageDropDown *d = g->ImagePickerDropDown();
    ASSERT_TRUE(d->Visible());
    EXPECT_EQ(d->Items()->Count(), 5);
    EXPECT_EQ(d->GetImageIndex(), 1);
    Key(d, VK_DOWN, {ssAlt});
    ASSERT_TRUE(d->DroppedDown());
    Key(d, VK_DOWN);
    Key(d, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(d->Visible());
    int idx = -1;
    ASSERT_TRUE(g->GetImageIdx(2, 2, idx));
    EXPECT_EQ(idx, 2);

    Edit(2);
    d->WheelDown();
    EXPECT_EQ(d->GetImageIndex(), 3);
    Key(d, VK_ESCAPE);
    GuiTest::ProcessEvents();
    ASSERT_TRUE(g->GetImageIdx(2, 2, idx));
    EXPECT_EQ(idx, 2) << "Escape leaves the index";

    g->OnImageSelected = [](TObject *, int, int, int &Index) { Index = 4; };
    Edit(2);
    Key(d, VK_RETURN);
    GuiTest::ProcessEvents();
    ASSERT_TRUE(g->GetImageIdx(2, 2, idx));
    EXPECT_EQ(idx, 4);

    // Each pick in the open editor is heard with the current cell and the picked entry.
    std::vector<std::string> picks;
    g->OnImageSelect = [&](TObject *, int ACol, int ARow, int Index) {
        picks.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + " " + std::to_string(Index));
    };
    Edit(2);
    picks.clear();
    d->WheelUp();
    ASSERT_FALSE(picks.empty());
    EXPECT_EQ(picks.back(), "2,2 " + std::to_string(d->ItemIndex()));
    EXPECT_NE(d->ItemIndex(), 4) << "the wheel picked another image";
    Key(d, VK_ESCAPE);
}

TEST_F(PickerEditorGrid, DetailCellCompletesTypedText)
{
    TGridDetailPickerDropDown *d = g->DetailPickerDropDown();
    for (const char *c : {"Alpha", "Beta", "Bravo"})
        d->Items()->Add()->SetCaption(QString::fromLatin1(c));
    g->SetCol(3);
    g->SetCells(3, 2, QStringLiteral("Alpha"));
    GuiTest::TypeText(g, QStringLiteral("b"));
    ASSERT_TRUE(d->Visible());
    EXPECT_EQ(d->Text(), QStringLiteral("beta"));
    Key(d, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(g->Cells(3, 2), QStringLiteral("beta"));

    Edit(3);
    EXPECT_EQ(d->Text(), QStringLiteral("beta"));
    GuiTest::TypeText(Focused(), QStringLiteral("br"));
    Key(d, VK_ESCAPE);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(3, 2), QStringLiteral("beta"));
}

TEST_F(PickerEditorGrid, TheUnitMakesThePickersByName)
{
    ExtGrid::StartUp();
    for (const char *name : {"TGridColorDropDown", "TGridImageDropDown", "TGridDetailPickerDropDown"}) {
        TPersistent *p = FindClass(QString::fromLatin1(name))(g);
        EXPECT_NE(dynamic_cast<TExtCustomDropDown *>(p), nullptr) << name;
        delete p;
    }
}
