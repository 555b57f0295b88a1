// The spin button pair: layout in both directions, press routing, the repeat timer on the
// program's clock, default glyphs, and the three looks in pixels and theme parts.
#include "dropdowns/EsgSpinEdit.h"
#include "platform/TimeSource.h"
#include "platform/UxTheme.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class SpinButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 200, 100);
        Pair = new TEsgSpinButton(Form.get());
        Pair->SetParent(Form.get());
        Pair->SetBounds(10, 10, 15, 17);
        Pair->OnUpClick = [this](TObject *Sender) {
            EXPECT_EQ(Sender, Pair);
            Clicks.push_back(+1);
        };
        Pair->OnDownClick = [this](TObject *) { Clicks.push_back(-1); };
        Form->Show();
        GuiTest::ProcessEvents();
    }
    TColor Pixel(int X, int Y)
    {
        Pair->Repaint();
        return static_cast<TColor>(GuiTest::PixelAt(Pair, X, Y));
    }
    std::unique_ptr<TForm> Form;
    TEsgSpinButton *Pair = nullptr;
    std::vector<int> Clicks;
};

TEST_F(SpinButtonTest, LaysOutButtonsAndKeepsMinimumWidth)
{
    struct Case {
        TSpinDirection Direction;
        int Width, Height;
        int ExpectWidth;
        TRect Up, Down; // left, top, right, bottom
    };
    const Case cases[] = {
        {spVertical, 15, 17, 15, TRect(0, 0, 15, 8), TRect(0, 7, 15, 17)},
        {spVertical, 10, 17, 15, TRect(0, 0, 15, 8), TRect(0, 7, 15, 17)},
        {spHorizontal, 21, 17, 21, TRect(11, 0, 21, 17), TRect(0, 0, 10, 17)},
        {spHorizontal, 12, 17, 20, TRect(11, 0, 21, 17), TRect(0, 0, 10, 17)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Width);
        Pair->SetDirection(c.Direction);
        Pair->SetBounds(10, 10, c.Width, c.Height);
        EXPECT_EQ(Pair->Width(), c.ExpectWidth);
        EXPECT_EQ(Pair->UpButton()->BoundsRect(), c.Up);
        EXPECT_EQ(Pair->DownButton()->BoundsRect(), c.Down);
    }
    Pair->SetDirection(spHorizontal);
    EXPECT_EQ(Pair->UpButton()->ButtonDirection, bdRight);
    EXPECT_EQ(Pair->DownButton()->ButtonDirection, bdLeft);
}

TEST_F(SpinButtonTest, RightPressAndKeysWithoutTabStop)
{
    Pair->SetTabStop(true);
    GuiTest::MouseDown(Pair->DownButton(), TPoint(5, 5), mbRight);
    GuiTest::MouseUp(Pair->DownButton(), TPoint(5, 5), mbRight);
    EXPECT_EQ(Pair->FocusedButton(), Pair->UpButton());
    EXPECT_TRUE(Clicks.empty());

    // Without TabStop the arrows still click, but the focus mark stays on the up button.
    Pair->SetTabStop(false);
    Word key = VK_DOWN;
    Pair->Perform(WM_KEYDOWN, key, 0);
    key = VK_UP;
    Pair->Perform(WM_KEYDOWN, key, 0);
    EXPECT_EQ(Clicks, (std::vector<int>{-1, +1}));
    EXPECT_EQ(Pair->FocusedButton(), Pair->UpButton());
    EXPECT_EQ(Pair->Perform(WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(SpinButtonTest, HeldButtonRepeatsOnTheClock)
{
    TManualClock clock;
    std::vector<Int64> at;
    const Int64 start = clock.Now();
    Pair->OnUpClick = [&](TObject *) { at.push_back(clock.Now() - start); };
    GuiTest::MouseDown(Pair->UpButton(), TPoint(5, 4));
    for (int i = 0; i < 100; ++i)
        clock.Advance(10);
    EXPECT_EQ(at, (std::vector<Int64>{400, 500, 600, 700, 800, 900, 1000}));
    GuiTest::MouseUp(Pair->UpButton(), TPoint(5, 4));
    EXPECT_EQ(at.size(), 8u);
    clock.Advance(1000);
    EXPECT_EQ(at.size(), 8u);
}

TEST_F(SpinButtonTest, NilGlyphRestoresTheArrow)
{
    TBitmap custom;
    custom.SetSize(20, 10);
    Pair->SetUpGlyph(&custom);
    Pair->SetUpNumGlyphs(2);
    EXPECT_EQ(Pair->UpGlyph()->Width(), 20);
    Pair->SetUpGlyph(nullptr);
    EXPECT_EQ(Pair->UpGlyph()->Width(), 9);
    EXPECT_EQ(Pair->UpGlyph()->Height(), 6);
    EXPECT_EQ(Pair->UpNumGlyphs(), 1);
}

TEST_F(SpinButtonTest, CustomColourFacesAndBlackTriangles)
{
    Pair->ButtonColor = clRed;
    Pair->ButtonColorHot = clLime;
    Pair->ButtonColorDown = clBlue;
    // Stored, but never painted.
    Pair->ButtonTextColor = clYellow;
    Pair->ButtonBorderColor = clFuchsia;
    EXPECT_EQ(Pixel(1, 1), clRed);
    EXPECT_EQ(Pixel(6, 3), clBlack);       // up triangle
    EXPECT_EQ(Pixel(6, 7 + 3), clBlack);   // down triangle
    EXPECT_EQ(Pixel(12, 12), clRed);
    Pair->UpButton()->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(Pixel(1, 1), clLime);
    EXPECT_EQ(Pixel(12, 12), clRed);
    GuiTest::MouseDown(Pair->UpButton(), TPoint(5, 4));
    EXPECT_EQ(Pixel(1, 1), clBlue);
    GuiTest::MouseUp(Pair->UpButton(), TPoint(5, 4));
    EXPECT_EQ(Pixel(1, 1), clLime);
}

TEST_F(SpinButtonTest, ThemedLookDrawsSpinParts)
{
    TRecordingThemeProvider theme;
    TThemeProvider *old = SetThemeProvider(&theme);
    Pair->SetIsWinXP(true);
    auto last = [&](int Part) {
        Pair->Repaint();
        GuiTest::PixelAt(Pair, 0, 0);
        for (auto it = theme.Entries.rbegin(); it != theme.Entries.rend(); ++it)
            if (it->Part == Part) {
                EXPECT_EQ(it->ClassName, QStringLiteral("spin"));
                return it->State;
            }
        return 0;
    };
    EXPECT_EQ(last(1), 1);
    EXPECT_EQ(last(2), 1);
    Pair->DownButton()->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(last(2), 2);
    GuiTest::MouseDown(Pair->UpButton(), TPoint(5, 4));
    EXPECT_EQ(last(1), 3);
    GuiTest::MouseUp(Pair->UpButton(), TPoint(5, 4));
    Pair->SetDirection(spHorizontal);
    EXPECT_EQ(last(3), 1);
    EXPECT_EQ(last(4), 2);
    EXPECT_EQ(theme.OpenCount(), 0);
    SetThemeProvider(old);
}

} // namespace
