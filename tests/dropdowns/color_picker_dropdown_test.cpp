// The colour drop-down driven as a user drives it: its named list, the texts it shows for a
// colour, the keys and type-ahead of the open list, a cancelled close, and the fixed-size
// palette, honeycomb and spectrum popups.
#include "DropDownFormTest.h"
#include "dropdowns/ExtColorPickerDropDown.h"
#include "platform/TimeSource.h"
#include "platform/WindowPlacement.h"

namespace {

class ColorPickerTest : public DropDownFormTest<TExtColorPickerDropDown> {
protected:
    void SetUpEvents()
    {
        Edit->OnSelect = [this](TObject *) { ++Selects; };
    }
    void Open()
    {
        GuiTest::PressKey(Edit, VK_F4);
        ASSERT_TRUE(Edit->DroppedDown());
    }
    int IndexOf(const char *Caption) const
    {
        for (int i = 0; i < Edit->Colors()->Count(); ++i)
            if (Edit->Colors()->Items(i)->Caption() == QString::fromLatin1(Caption))
                return i;
        return -1;
    }
    int Selects = 0;
};

} // namespace

TEST_F(ColorPickerTest, DefaultColoursAppendAndChoosingRedShowsItsBoxAndCaption)
{
    EXPECT_EQ(Edit->Colors()->Count(), 0) << "a run-time drop-down starts without colours";
    Edit->AddDefaultColors();
    Edit->AddDefaultColors();
    EXPECT_EQ(Edit->Colors()->Count(), 32);
    EXPECT_EQ(Edit->Colors()->Items(8)->Caption(), QStringLiteral("Silver"));
    SetUpEvents();
    Edit->SetItemIndex(IndexOf("Red"));
    EXPECT_EQ(Edit->SelectedColor(), TColor(0x0000FF));
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(Edit->SelectedColorText(), QStringLiteral("Red"));

    Form->SetFocus(); // unfocused: the caption on the edit's colour
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Edit, 10, 10), 0x0000FFu) << "inside the box";
    EXPECT_EQ(GuiTest::PixelAt(Edit, 5, 10), 0u) << "its black frame";
    int ink = 0;
    for (int x = 24; x < 60; ++x)
        for (int y = 4; y < 17; ++y)
            if (GuiTest::PixelAt(Edit, x, y) != ColorToRGB(Edit->Color()))
                ++ink;
    EXPECT_GT(ink, 10) << "the caption is written beside the box";

    Edit->SetItemIndex(99);
    EXPECT_EQ(Edit->ItemIndex(), IndexOf("Red"));
    Edit->SetSelectedColor(0x123456);
    EXPECT_EQ(Edit->ItemIndex(), IndexOf("Red")) << "an unlisted colour keeps the entry";
    EXPECT_EQ(Edit->SelectedColorText(), QStringLiteral("Red"));
}

TEST_F(ColorPickerTest, ColourTextsByValueKind)
{
    Edit->SetColorSelectionStyle(csColorCube);
    struct Case {
        TColorValueText Kind;
        TColor Color;
        const char *Text;
    } cases[] = {
        {cvtRGB, 0x0000FF, "Red:255,Green:0,Blue:0"},
        {cvtHTML, 0x0000FF, "#FF0000"},
        {cvtHex, 0x0000FF, "0000FF"},
        {cvtWebName, 0x0000FF, "clWebRed"},
        {cvtWebName, RGB(0x56, 0x34, 0x12), "#563412"},
        {cvtWebName, 0x800000, "clWebNavy"},
        {cvtWebName, 0x006400, "clWebDarkgreen"},
        {cvtWebName, 0xD3D3D3, "clWebLightgrey"},
        {cvtWebName, clWindow, "clWebWhite"},
        {cvtHex, clBtnFace, "FF00000F"},
        {cvtHTML, clBtnFace, "#F0F0F0"},
        {cvtNone, 0x0000FF, ""},
    };
    for (const Case &c : cases) {
        Edit->ColorValueText = c.Kind;
        Edit->SetSelectedColor(c.Color);
        const TColorRef rgb = ColorToRGB(c.Color);
        UnicodeString expected = QString::fromLatin1(c.Text);
        if (c.Color == clBtnFace && c.Kind == cvtHTML)
            expected = QStringLiteral("#%1%2%3")
                           .arg(GetRValue(rgb), 2, 16, QLatin1Char('0'))
                           .arg(GetGValue(rgb), 2, 16, QLatin1Char('0'))
                           .arg(GetBValue(rgb), 2, 16, QLatin1Char('0'))
                           .toUpper();
        EXPECT_EQ(Edit->SelectedColorText(), expected) << c.Text;
    }
}

TEST_F(ColorPickerTest, CubeClickPicksClosesAndReportsOnceOrTwiceWithAMatchingEntry)
{
    Edit->AddDefaultColors();
    SetUpEvents();
    Edit->DropDownHeader()->SetVisible(true);
    Edit->DropDownHeader()->SetHeight(22);
    Edit->SetColorSelectionStyle(csColorCube);
    Open();
    TDropDownForm *popup = Edit->DropDownForm();
    EXPECT_EQ(popup->Width(), 184);
    EXPECT_EQ(popup->Height(), 184);
    EXPECT_FALSE(popup->Sizeable);
    EXPECT_NE(popup->HitTest(TPoint(182, 182)), HTBOTTOMRIGHT);
    TExtColorCubePanel *cube = Edit->ColorCubePanel();
    ASSERT_NE(cube, nullptr);
    GuiTest::Click(cube, cube->CubeCell(118).Center); // 0x0000FF, the list's Red
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->SelectedColor(), TColor(0x0000FF));
    EXPECT_EQ(Edit->ItemIndex(), -1);
    EXPECT_EQ(Selects, 2);

    Open();
    GuiTest::Click(cube, cube->CubeCell(1).Center);
    EXPECT_EQ(Edit->SelectedColor(), TColor(0x663300));
    EXPECT_EQ(Selects, 3);

    // The spectrum in its place: its own fixed size, a press picks and closes.
    Edit->SetColorSelectionStyle(csSpectrum);
    Open();
    EXPECT_EQ(popup->Width(), 152);
    EXPECT_EQ(popup->Height(), 174 + 22 + 2);
    EXPECT_FALSE(cube->Visible());
    TExtColorSpectrumPanel *spectrum = Edit->SpectrumPanel();
    ASSERT_NE(spectrum, nullptr);
    GuiTest::MouseMove(spectrum->SpectrumImage(), TPoint(64, 64));
    GuiTest::Click(spectrum->SpectrumImage(), TPoint(64, 64));
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->SelectedColor(), TColor(RGB(0, 255, 250)));
}

TEST_F(ColorPickerTest, ArrowsMoveTheOpenListEscRestoresEnterKeeps)
{
    Edit->AddDefaultColors();
    SetUpEvents();
    Edit->SetItemIndex(2);
    Open();
    TExtCustomItemSelector *list = Edit->ItemSelector();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ItemIndex(), 2);
    GuiTest::PressKey(Edit, VK_DOWN);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 4);
    EXPECT_EQ(Edit->SelectedColor(), Edit->Colors()->Items(4)->Color());
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 2);
    EXPECT_EQ(Edit->SelectedColor(), Edit->Colors()->Items(2)->Color());

    Open();
    GuiTest::PressKey(Edit, VK_END);
    const int before = Selects;
    GuiTest::PressKey(Edit, VK_RETURN);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->ItemIndex(), 15);
    EXPECT_EQ(Selects, before + 1) << "Enter without a hot item reports the value";

    // From a colour the list does not hold, Esc brings that colour back.
    Edit->SetItemIndex(-1);
    Edit->SetSelectedColor(0x123456);
    Open();
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->SelectedColor(), TColor(0x000000));
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_EQ(Edit->ItemIndex(), -1);
    EXPECT_EQ(Edit->SelectedColor(), TColor(0x123456));

    // Closed, the arrows step the value.
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->ItemIndex(), 0);
    GuiTest::PressKey(Edit, VK_HOME);
    EXPECT_EQ(Edit->ItemIndex(), 0);
}

TEST_F(ColorPickerTest, TypeAheadRunsOnTheClock)
{
    TManualClock clock;
    Edit->AddDefaultColors();
    Open();
    clock.Advance(500); // F4 itself began a search
    EXPECT_EQ(Edit->CurSearch(), QString());
    GuiTest::PressKey(Edit, 'R');
    EXPECT_EQ(Edit->ItemIndex(), IndexOf("Red"));
    EXPECT_TRUE(Edit->DroppedDown());
    clock.Advance(100);
    GuiTest::PressKey(Edit, 'L');
    EXPECT_EQ(Edit->CurSearch(), QStringLiteral("RL"));
    EXPECT_EQ(Edit->ItemIndex(), IndexOf("Red")) << "no caption starts with RL";
    clock.Advance(399);
    EXPECT_EQ(Edit->CurSearch(), QStringLiteral("RL"));
    clock.Advance(1);
    EXPECT_EQ(Edit->CurSearch(), QString()) << "500 ms after the R";
    GuiTest::PressKey(Edit, 'L');
    EXPECT_EQ(Edit->ItemIndex(), IndexOf("Lime"));
}

TEST_F(ColorPickerTest, PaletteStylePopupFitsTheBoxesAndFollowsItsKeys)
{
    SetUpEvents();
    Edit->SetColorSelectionStyle(csDiscrete);
    Open();
    TDropDownForm *popup = Edit->DropDownForm();
    EXPECT_EQ(popup->Width(), 165 + 2);
    EXPECT_EQ(popup->Height(), 84 + 2);
    EXPECT_FALSE(popup->Sizeable);
    TCustomColorSelector *boxes = Edit->ColorSelector();
    ASSERT_NE(boxes, nullptr);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(boxes->ItemIndex(), 0);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(boxes->ItemIndex(), 10);
    EXPECT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Edit->SelectedColor(), TColor(0xF2F2F2));
    GuiTest::PressKey(Edit, VK_ESCAPE);
    EXPECT_EQ(Edit->SelectedColor(), clNone);
    EXPECT_EQ(boxes->ItemIndex(), -1);

    Open();
    const TRect r = boxes->Items()->Items(3)->Rect;
    GuiTest::Click(boxes, TPoint(r.Left + 5, r.Top + 5));
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->SelectedColor(), TColor(0x7D491F));
}
