// The drop-down button's faces in pixels: custom colours by state, the black arrow after the
// colour tones, the classic raised face, and the themed part in its state (disabled while the
// edit is read-only).
#include "dropdowns/ExtCustomDropDown.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class TPlainDropDown : public TExtCustomDropDown {
public:
    explicit TPlainDropDown(TComponent *AOwner) : TExtCustomDropDown(AOwner) {}
};

class DropDownButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 100);
    }
    TPlainDropDown *Make()
    {
        auto *e = NewDropDown<TPlainDropDown>(Form.get());
        e->SetParent(Form.get());
        e->SetBounds(10, 10, 200, 21);
        Form->Show();
        GuiTest::ProcessEvents();
        return e;
    }
    // The face of the edit's button as it paints now.
    TColor Pixel(TPlainDropDown *E, int X, int Y)
    {
        return static_cast<TColor>(GuiTest::PixelAt(E->Button(), X, Y));
    }
    std::unique_ptr<TForm> Form;
};

} // namespace

TEST_F(DropDownButtonTest, CustomColoursFollowNormalHotAndDown)
{
    TPlainDropDown *e = Make();
    TDropDownEditButton *box = e->Button();
    box->ButtonColor = clRed;
    box->ButtonColorHot = clLime;
    box->ButtonColorDown = clBlue;
    box->ButtonTextColor = clYellow;
    box->ButtonTextColorHot = clFuchsia;
    TExtDropDownSpeedButton *b = box->Button();
    EXPECT_EQ(Pixel(e, 3, 3), clRed);
    EXPECT_EQ(Pixel(e, 8, 8), clYellow);
    b->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(Pixel(e, 3, 3), clLime);
    EXPECT_EQ(Pixel(e, 8, 8), clFuchsia);
    GuiTest::MouseDown(b, TPoint(5, 5));
    EXPECT_EQ(Pixel(e, 3, 3), clBlue);
    EXPECT_EQ(Pixel(e, 8, 8), clBlack) << "no pressed arrow colour set: black";
    GuiTest::MouseUp(b, TPoint(5, 5));
    e->HideDropDown(false);
}

TEST_F(DropDownButtonTest, ArrowIsBlackAfterTheColourTones)
{
    TPlainDropDown *e = Make();
    TColorTones tones;
    tones.Background.BrushColor = 0xEEDDCC;
    tones.Background.BorderColor = 0x808080;
    e->SetColorTones(tones);
    EXPECT_EQ(Pixel(e, 3, 3), 0xEEDDCC);
    EXPECT_EQ(Pixel(e, 8, 8), clBlack);
}

TEST_F(DropDownButtonTest, ClassicRaisedFaceWithABlackArrow)
{
    TPlainDropDown *e = Make();
    EXPECT_EQ(Pixel(e, 1, 1), ColorToRGB(clWhite));
    EXPECT_EQ(Pixel(e, 5, 5), ColorToRGB(clBtnFace));
    EXPECT_EQ(Pixel(e, 8, 8), clBlack);
}

TEST_F(DropDownButtonTest, ClassicArrowStaysBlackOnADisabledEdit)
{
    TPlainDropDown *e = Make();
    e->SetEnabled(false);
    GuiTest::ProcessEvents();
    EXPECT_EQ(Pixel(e, 8, 8), clBlack);
}

TEST_F(DropDownButtonTest, PushButtonLookDrawsItsGlyphPlainFlatOrEtched)
{
    TPlainDropDown *e = Make();
    TExtDropDownSpeedButton *b = e->Button()->Button();
    // A red square on magenta, the magenta being the glyph's transparent colour.
    TBitmap glyph(8, 8);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 8, 8));
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(2, 2, 6, 6));
    b->SetGlyph(&glyph);
    b->SetButtonStyle(TExtDropDownSpeedButton::bsButton);
    const int cx = b->Width() / 2, cy = b->Height() / 2;
    // The speed button's own look: its glyph in the middle.
    EXPECT_EQ(Pixel(e, cx, cy), clRed);

    b->SetFlat(true);
    EXPECT_EQ(Pixel(e, 3 + 3, 3 + 3), clRed);
    EXPECT_EQ(Pixel(e, 3, 3), ColorToRGB(clBtnFace)) << "the glyph's magenta shows the face";
    EXPECT_NE(Pixel(e, 0, 0), ColorToRGB(clBtnShadow));
    b->SetEtched(true);
    EXPECT_EQ(Pixel(e, 0, 0), ColorToRGB(clBtnShadow)) << "an etched edge starts dark";
    EXPECT_EQ(Pixel(e, 1, 1), ColorToRGB(clWhite));
}

TEST_F(DropDownButtonTest, ThemedPartInItsStateAndDisabledWhileReadOnly)
{
    const Cardinal previous = SetComCtl32Version(6u << 16);
    TRecordingThemeProvider provider;
    TThemeProvider *old = SetThemeProvider(&provider);
    {
        TPlainDropDown *e = Make();
        EXPECT_TRUE(e->Button()->Button()->UseThemes());
        auto state = [&] {
            provider.Entries.clear();
            Pixel(e, 1, 1);
            return provider.Entries.empty() ? -1 : provider.Entries.back().State;
        };
        EXPECT_EQ(state(), 1);
        EXPECT_EQ(provider.Entries.back().ClassName, QStringLiteral("combobox"));
        EXPECT_EQ(provider.Entries.back().Part, 1);
        e->Button()->Button()->Perform(CM_MOUSEENTER, 0, 0);
        EXPECT_EQ(state(), 2);
        e->Button()->Button()->Perform(CM_MOUSELEAVE, 0, 0);
        e->SetReadOnly(true);
        EXPECT_EQ(state(), 4);
        EXPECT_EQ(provider.OpenCount(), 0);
        Form.reset();
    }
    SetThemeProvider(old);
    SetComCtl32Version(previous);
}
