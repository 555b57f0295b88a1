// The colour drop-down's pickers on a shown form: the honeycomb's cells, hits and hints, the
// spectrum's layout and sampling, and the palette's layout, keys and frames.
#include "dropdowns/ExtColorSelectors.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class T>
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 300, 300);
        Form->SetColor(0x00FF00);
        Panel = new T(Form.get());
        Panel->SetParent(Form.get());
        Panel->OnShouldHide = [this](TObject *) { ++Hides; };
    }
    void Show()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override { Form.reset(); }
    std::unique_ptr<TForm> Form;
    T *Panel = nullptr;
    int Selects = 0;
    int Hides = 0;
};

using CubeTest = PanelTest<TExtColorCubePanel>;
using SpectrumTest = PanelTest<TExtColorSpectrumPanel>;
using BoxesTest = PanelTest<TCustomColorSelector>;

} // namespace

TEST_F(CubeTest, ClickOnACellSelectsItAndAMissBetweenCellsOnlyHides)
{
    Panel->ResetCubePanel();
    Panel->OnSelect = [this](TObject *) { ++Selects; };
    Show();
    EXPECT_EQ(Panel->Width(), 182);
    EXPECT_EQ(Panel->Height(), 160);
    EXPECT_EQ(Panel->CubeCell(64).Center, TPoint(91, 80));
    EXPECT_EQ(Panel->CubeCell(127).Color, TColor(0x2100A5));

    GuiTest::Click(Panel, TPoint(91, 87));
    EXPECT_EQ(Selects, 0);
    EXPECT_EQ(Hides, 1);
    EXPECT_EQ(Panel->SelectedIndex(), -1);

    GuiTest::MouseMove(Panel, TPoint(91, 80));
    EXPECT_EQ(Panel->HotIndex(), 64);
    EXPECT_EQ(Panel->Hint(), QStringLiteral("Red: 255,  Green: 255,  Blue: 255"));
    GuiTest::Click(Panel, TPoint(91, 80));
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(Hides, 2);
    EXPECT_EQ(Panel->SelectedIndex(), 64);
    EXPECT_EQ(Panel->SelectedColor(), TColor(0xFFFFFF));

    GuiTest::MouseMove(Panel, Panel->CubeCell(1).Center);
    EXPECT_EQ(Panel->Hint(), QStringLiteral("Red: 0,  Green: 51,  Blue: 102"));
    GuiTest::MouseMove(Panel, TPoint(2, 2));
    EXPECT_EQ(Panel->Hint(), QString());
    EXPECT_EQ(Panel->HotIndex(), 1) << "the hot cell keeps its frame off the cells";
}

TEST_F(CubeTest, SelectedColourFindsItsCellWithoutEventAndFramesArePainted)
{
    Panel->ResetCubePanel();
    Panel->OnSelect = [this](TObject *) { ++Selects; };
    Show();
    Panel->SetSelectedColor(0xFF0000);
    EXPECT_EQ(Panel->SelectedIndex(), 13);
    Panel->SetSelectedColor(0x123456);
    EXPECT_EQ(Panel->SelectedIndex(), -1);
    EXPECT_EQ(Selects, 0);

    Panel->SetSelectedColor(0x0000FF);
    const TPoint sel = Panel->CubeCell(Panel->SelectedIndex()).Center;
    GuiTest::MouseMove(Panel, TPoint(91, 80));
    Panel->Invalidate();
    GuiTest::ProcessEvents();
    // Outer outline at B = 5 (left edge at X - 5), inner white one at B = 4, fill inside.
    EXPECT_EQ(GuiTest::PixelAt(Panel, 91 - 5, 80), 0x0000FFu) << "hot: red outline";
    EXPECT_EQ(GuiTest::PixelAt(Panel, 91 - 4, 80), 0xFFFFFFu);
    EXPECT_EQ(GuiTest::PixelAt(Panel, sel.X - 5, sel.Y), 0u) << "selected: black outline";
    EXPECT_EQ(GuiTest::PixelAt(Panel, sel.X - 4, sel.Y), 0xFFFFFFu);
    EXPECT_EQ(GuiTest::PixelAt(Panel, sel.X, sel.Y), 0x0000FFu) << "the cell's own colour inside";
    EXPECT_EQ(GuiTest::PixelAt(Panel, 2, 2), 0x00FF00u) << "between cells the panel's colour";
}

TEST_F(SpectrumTest, LayoutSamplingAndPickingWithTheEyedropperOverTheImageOnly)
{
    Panel->OnSelect = [this](TObject *) { ++Selects; };
    Panel->LayoutSpectrum();
    Show();
    EXPECT_EQ(Panel->Width(), 150);
    EXPECT_EQ(Panel->Height(), 174);
    TImage *img = Panel->SpectrumImage();
    EXPECT_EQ(TPoint(img->Left(), img->Top()), TPoint(11, 10));
    EXPECT_EQ(Panel->SelectedRect(), TRect(10, 146, 73, 166));
    EXPECT_EQ(Panel->HotRect(), TRect(77, 146, 140, 166));
    EXPECT_EQ(Panel->HotColor(), clNone);
    EXPECT_EQ(Panel->SelectedColor(), TColor(0xFFFFFF));

    // The spectrum: hue across, white to full to black downwards.
    TBitmap *bmp = img->Picture()->Bitmap();
    const TColor cyan = bmp->Canvas()->Pixels(64, 64);
    EXPECT_EQ(cyan, TColor(RGB(0, 255, 250)));
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 63), TColor(RGB(255, 6, 0)));
    EXPECT_GT(GetRValue(bmp->Canvas()->Pixels(64, 0)), 240);
    EXPECT_LT(GetGValue(bmp->Canvas()->Pixels(64, 127)), 10);

    GuiTest::MouseMove(img, TPoint(64, 64));
    EXPECT_EQ(Panel->HotColor(), cyan);
    GuiTest::Click(img, TPoint(64, 64));
    EXPECT_EQ(Selects, 1);
    EXPECT_EQ(Panel->SelectedColor(), cyan);
    EXPECT_GE(Hides, 1);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Panel, 40, 156), ColorToRGB(cyan)) << "the selected swatch";
    EXPECT_EQ(GuiTest::PixelAt(Panel, 10, 9), 0xFFFFFFu) << "white frame one pixel outside the image";
    EXPECT_EQ(GuiTest::PixelAt(Panel, 9, 8), 0x808080u) << "gray frame two pixels outside it";

    EXPECT_EQ(img->Cursor(), 54);
    EXPECT_NE(Panel->Cursor(), 54);
    HCURSOR pointer = Screen->Cursors(54);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(CursorHotSpot(pointer), TPoint(1, 30));

    Panel->LayoutSpectrum();
    EXPECT_EQ(Panel->HotColor(), clNone);
    GuiTest::Click(img, TPoint(5, 5));
    EXPECT_EQ(Panel->SelectedColor(), Panel->HotColor()) << "the last sampled colour";
}

TEST_F(BoxesTest, PaletteLayoutAndTheOpenDropDownsColumnKeys)
{
    Panel->FillPalette();
    Panel->ArrangeItems();
    Panel->OnItemSelect = [this](TObject *) { ++Selects; };
    Show();
    EXPECT_EQ(Panel->Width(), 165);
    EXPECT_EQ(Panel->Height(), 84);
    const int rowTops[] = {4, 20, 32, 44, 56, 68};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(Panel->Items()->Items(row * 10)->Rect.Top, rowTops[row]) << row;
    EXPECT_EQ(Panel->Items()->Items(1)->Rect.Left, 20);

    Panel->SelectPrevious();
    EXPECT_EQ(Panel->ItemIndex(), -1) << "nothing before no selection";
    Panel->SetItemIndex(2);
    Panel->HandleKey(VK_DOWN, false, true);
    EXPECT_EQ(Panel->ItemIndex(), 12);
    Panel->SetItemIndex(5);
    Panel->HandleKey(VK_UP, false, true);
    EXPECT_EQ(Panel->ItemIndex(), 5);
    Panel->HandleKey(VK_UP, false, false);
    EXPECT_EQ(Panel->ItemIndex(), 4) << "closed, Up is the previous box";
    Panel->HandleKey(VK_LEFT, true, false);
    EXPECT_EQ(Panel->ItemIndex(), 4) << "an editable closed edit keeps Left";
    Panel->HandleKey(VK_END, false, true);
    EXPECT_EQ(Panel->ItemIndex(), 59);
    Panel->HandleKey(VK_DOWN, false, true);
    EXPECT_EQ(Panel->ItemIndex(), 59);

    Selects = 0;
    Panel->SetSelectedColor(0x7F7F7F);
    EXPECT_EQ(Panel->ItemIndex(), 11);
    EXPECT_EQ(Selects, 1);
    Panel->SetSelectedColor(0x123456);
    EXPECT_EQ(Panel->ItemIndex(), -1);
    EXPECT_EQ(Selects, 1);
    Panel->SetItemIndex(-1);
    Panel->SelectNext();
    EXPECT_EQ(Panel->ItemIndex(), 0);
}

TEST_F(BoxesTest, HotAndSelectedBoxesShowTheirTwoOutlinesAndBlocksShareAFrame)
{
    Panel->FillPalette();
    Panel->ArrangeItems();
    Show();
    Panel->SetItemIndex(3);
    const TRect sel = Panel->Items()->Items(3)->Rect;
    const TRect hot = Panel->Items()->Items(5)->Rect;
    GuiTest::MouseMove(Panel, TPoint(hot.Left + 5, hot.Top + 5));
    EXPECT_EQ(Panel->ItemHot(), 5);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Panel, sel.Left, sel.Top + 5), 0x0000FFu);
    EXPECT_EQ(GuiTest::PixelAt(Panel, sel.Left + 1, sel.Top + 5), 0x94E2FFu);
    EXPECT_EQ(GuiTest::PixelAt(Panel, hot.Left, hot.Top + 5), 0x3694F2u);
    EXPECT_EQ(GuiTest::PixelAt(Panel, hot.Left + 1, hot.Top + 5), 0x94E2FFu);
    // A middle box of a block: its sides in the frame colour, the box colour across the joint.
    const TRect mid = Panel->Items()->Items(32)->Rect;
    EXPECT_EQ(GuiTest::PixelAt(Panel, mid.Left, mid.Top), 0xC5C5C5u);
    EXPECT_EQ(GuiTest::PixelAt(Panel, mid.Left + 5, mid.Top), ColorToRGB(Panel->Items()->Items(32)->Color()));
    GuiTest::LeaveWindow(Panel);
    EXPECT_EQ(Panel->ItemHot(), -1);
}
