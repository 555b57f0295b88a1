// The search panel's glyph button and check box: groups, the check style and the drop-down
// part driven by the mouse, the colour looks, the glyph variants, the gradient, the faces in
// pixels, the action link; the check box's toggling by mouse and Space, read-only, its boxes
// (classic and themed), their place, and transparency over a coloured parent.
#include "controls/ExtGridButton.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/RecordingCanvas.h"
#include "platform/UxTheme.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class TTestButton : public TExtGridButton {
public:
    using TExtGridButton::TExtGridButton;
    void Enter() { MouseEnter(); }
    void Press(int X, int Y) { MouseDown(mbLeft, {}, X, Y); }
    // The face as painted onto a canvas of the button's size.
    QImage Picture()
    {
        TRecordingCanvas rc(Width(), Height());
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<TCanvas *>(&rc)), 0);
        return rc.Image().copy();
    }
};

class TRecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back({X, Y}); }
    std::vector<TPoint> Shown;
};

class ExtGridButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(10, 10, 300, 200);
        Form->SetColor(clWhite);
    }
    TTestButton *MakeButton(int Left, int Top, int W = 30, int H = 30)
    {
        auto *b = new TTestButton(Form.get());
        b->SetParent(Form.get());
        b->SetBounds(Left, Top, W, H);
        b->OnClick = [this](TObject *) { ++Clicks; };
        return b;
    }
    void ShowForm()
    {
        Form->Show();
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> Form;
    int Clicks = 0;
};

TColorRef PixelOf(const QImage &Img, int X, int Y)
{
    const QRgb c = Img.pixel(X, Y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

} // namespace

TEST_F(ExtGridButtonTest, GroupButtonsReleaseEachOtherAndTheDownOneStaysDown)
{
    TTestButton *a = MakeButton(10, 10);
    TTestButton *b = MakeButton(50, 10);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    ShowForm();
    GuiTest::Click(a);
    EXPECT_TRUE(a->Down());
    GuiTest::Click(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down()) << "the second press releases the first";
    GuiTest::Click(b);
    EXPECT_TRUE(b->Down()) << "without AllowAllUp the down button stays down";
    EXPECT_EQ(Clicks, 3);

    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp()) << "the group shares AllowAllUp";
    GuiTest::Click(b);
    EXPECT_FALSE(b->Down());

    // Released off the button: no click, and it stays as it was.
    GuiTest::MouseDown(a, {5, 5});
    GuiTest::MouseMove(a, {100, 100}, {ssLeft});
    GuiTest::MouseUp(a, {100, 100});
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(Clicks, 4);
}

TEST_F(ExtGridButtonTest, CheckStyleFlipsOnEveryClick)
{
    TTestButton *b = MakeButton(10, 10);
    b->SetStyle(tasCheck);
    ShowForm();
    const bool expected[] = {true, false, true};
    for (bool e : expected) {
        GuiTest::Click(b);
        EXPECT_EQ(b->Down(), e);
    }
    EXPECT_EQ(Clicks, 3);
    TTestButton *plain = MakeButton(50, 10);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down()) << "a plain button outside a group never stays down";
}

TEST_F(ExtGridButtonTest, TheDropDownPartShowsTheMenuWithoutClicking)
{
    TTestButton *b = MakeButton(10, 20, 40, 22);
    b->SetDropDownButton(true);
    auto *menu = new TRecordingMenu(Form.get());
    b->SetDropDownMenu(menu);
    int dropDowns = 0;
    b->OnDropDown = [&](TObject *) { ++dropDowns; };
    ShowForm();
    GuiTest::Click(b, {35, 10});
    EXPECT_EQ(dropDowns, 1);
    EXPECT_EQ(Clicks, 0);
    ASSERT_EQ(menu->Shown.size(), 1u);
    const TPoint corner = b->ClientToScreen({0, 22});
    EXPECT_EQ(menu->Shown[0].X, corner.X);
    EXPECT_EQ(menu->Shown[0].Y, corner.Y) << "below the button, at its left edge";
    GuiTest::Click(b, {27, 10});
    EXPECT_EQ(Clicks, 1) << "left of the 12-pixel part the button clicks";
    EXPECT_EQ(dropDowns, 1);
}

TEST_F(ExtGridButtonTest, LooksSetTheirColourSets)
{
    TTestButton *b = MakeButton(10, 10);
    const struct {
        int Look;
        TColor Color, ColorTo, Hot, HotTo, Down, DownTo, Checked, CheckedTo, BorderDown, BorderHot;
    } looks[] = {
        {0, 0xEDF1F1, 0xDFEBEB, 0xFAFCFC, 0xE5ECED, 0xE0E6E7, 0xD8E0E1, 0xFFFFFF, clNone, 0xAF987A, 0xC3CECE},
        {1, clBtnFace, clNone, 0xEED2C1, clNone, 0xE2B598, clNone, 0xE8E6E1, clNone, 0xC56A31, 0xC56A31},
        {2, 0xFDEADA, 0xE4AE88, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {3, 0xCFF0EA, 0x8CC0B1, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {4, 0xECE2E1, 0xB39698, 0xCCF4FF, 0x91D0FF, 0x4E91FE, 0x8ED3FF, 0x8ED3FF, 0x55ADFF, 0x000000, 0x000000},
        {5, clBtnFace, clNone, clBtnFace, clNone, 0xD8D3D2, clNone, 0xCAC7C7, clNone, clNone, clNone},
        {6, 0xCAFFFF, 0xA6FFFF, 0xA8F0FD, 0x7CE9FC, 0x4DE0FB, 0x7AE9FC, 0xB5E6F2, 0x9CDDED, 0x808080, 0x808080},
    };
    for (const auto &l : looks) {
        b->SetFlat(false);
        b->SetBorderColor(clRed);
        b->SetLook(l.Look);
        EXPECT_EQ(b->Look(), l.Look);
        EXPECT_EQ(b->Color(), l.Color) << l.Look;
        EXPECT_EQ(b->ColorTo(), l.ColorTo) << l.Look;
        EXPECT_EQ(b->ColorHot(), l.Hot) << l.Look;
        EXPECT_EQ(b->ColorHotTo(), l.HotTo) << l.Look;
        EXPECT_EQ(b->ColorDown(), l.Down) << l.Look;
        EXPECT_EQ(b->ColorDownTo(), l.DownTo) << l.Look;
        EXPECT_EQ(b->ColorChecked(), l.Checked) << l.Look;
        EXPECT_EQ(b->ColorCheckedTo(), l.CheckedTo) << l.Look;
        EXPECT_EQ(b->BorderDownColor(), l.BorderDown) << l.Look;
        EXPECT_EQ(b->BorderHotColor(), l.BorderHot) << l.Look;
        EXPECT_EQ(b->BorderColor(), clNone);
        EXPECT_TRUE(b->Flat());
        EXPECT_EQ(b->Rounded(), l.Look == 0);
    }
    for (int bad : {7, -1}) {
        b->SetLook(bad);
        EXPECT_EQ(b->Look(), 6) << bad << " changes nothing";
        EXPECT_EQ(b->Color(), 0xCAFFFF);
    }
    // Without a visual style the scheme look is look 1.
    b->SetAutoThemeAdapt(true);
    EXPECT_EQ(b->Look(), 1);
}

TEST_F(ExtGridButtonTest, GlyphGetsAGreyDisabledCopyAndAShade)
{
    TBitmap glyph(4, 4);
    const TColor magenta = 0xFF00FF;
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    img.setPixel(0, 0, qRgb(0, 0, 0));
    img.setPixel(1, 1, qRgb(255, 255, 255));
    img.setPixel(2, 1, qRgb(200, 10, 30));
    glyph.SetImage(img);
    TTestButton *b = MakeButton(10, 10);
    b->SetGlyph(&glyph);
    const QImage grey = b->GlyphDisabled()->ToImage();
    ASSERT_EQ(grey.size(), QSize(4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const QRgb c = grey.pixel(x, y);
            EXPECT_TRUE(qRed(c) == qGreen(c) && qGreen(c) == qBlue(c)) << x << "," << y;
            EXPECT_GE(qRed(c), 96);
            EXPECT_LE(qRed(c), 223);
        }
    EXPECT_EQ(qRed(grey.pixel(0, 0)), 96) << "black";
    EXPECT_EQ(qRed(grey.pixel(1, 1)), 223) << "white";
    EXPECT_EQ(qRed(grey.pixel(2, 1)), (240 / 3) / 2 + 96);

    b->SetShaded(true);
    const QImage shade = b->GlyphShade()->ToImage();
    ASSERT_EQ(shade.size(), QSize(4, 4));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const bool own = (x == 0 && y == 0) || (x == 1 && y == 1) || (x == 2 && y == 1);
            EXPECT_EQ(PixelOf(shade, x, y), own ? 0x808080u : static_cast<TColorRef>(magenta)) << x << "," << y;
        }

    // A disabled glyph of the caller's own is kept.
    TBitmap mine(2, 2);
    TTestButton *c = MakeButton(50, 10);
    c->SetGlyphDisabled(&mine);
    c->SetGlyph(&glyph);
    EXPECT_EQ(c->GlyphDisabled()->Width(), 2);
}

TEST(ExtGridButtonGradient, BandsRunFromColourToColour)
{
    const struct {
        bool Horizontal;
        int Steps;
        std::vector<std::pair<int, int>> Samples; // position along the run, expected grey
    } cases[] = {
        {true, 4, {{0, 0}, {3, 0}, {4, 64}, {7, 64}, {8, 128}, {12, 191}, {15, 191}}},
        {false, 4, {{0, 0}, {4, 64}, {8, 128}, {15, 191}}},
        {true, 0, {{0, 0}, {15, 0}}},
        {true, 16, {{0, 0}, {1, 16}, {15, 239}}},
    };
    for (const auto &c : cases) {
        TRecordingCanvas rc(16, 16);
        DrawButtonGradient(&rc, clBlack, clWhite, c.Horizontal, {0, 0, 16, 16}, c.Steps, clNone);
        for (const auto &s : c.Samples) {
            const int x = c.Horizontal ? s.first : 8;
            const int y = c.Horizontal ? 8 : s.first;
            EXPECT_EQ(PixelOf(rc.Image(), x, y), RGB(s.second, s.second, s.second))
                << (c.Horizontal ? "across " : "down ") << c.Steps << " steps at " << s.first;
        }
    }
    TRecordingCanvas rc(16, 16);
    DrawButtonGradient(&rc, clBlack, clWhite, false, {2, 2, 14, 14}, 16, clRed);
    EXPECT_EQ(PixelOf(rc.Image(), 2, 8), static_cast<TColorRef>(clRed)) << "the border";
    EXPECT_EQ(PixelOf(rc.Image(), 0, 0), 0xFFFFFFu) << "nothing outside the rectangle's top-left";
}

TEST_F(ExtGridButtonTest, FlatFacesShowTheirStateColours)
{
    TTestButton *b = MakeButton(10, 10);
    b->SetColor(0x00FF00);
    b->SetColorHot(0x0000FF);
    b->SetColorDown(0xFF0000);
    b->SetColorChecked(0x00FFFF);
    b->SetBorderHotColor(0x123456);
    b->SetBorderDownColor(0x654321);
    ShowForm();
    EXPECT_EQ(PixelOf(b->Picture(), 15, 15), 0x00FF00u) << "normal";
    b->Enter();
    ASSERT_TRUE(b->MouseInControl());
    QImage hot = b->Picture();
    EXPECT_EQ(PixelOf(hot, 15, 15), 0x0000FFu) << "hot";
    EXPECT_EQ(PixelOf(hot, 0, 15), 0x123456u) << "hot border";
    b->Press(5, 5);
    QImage down = b->Picture();
    EXPECT_EQ(PixelOf(down, 15, 15), 0xFF0000u) << "pressed";
    EXPECT_EQ(PixelOf(down, 0, 15), 0x654321u) << "pressed border";

    TTestButton *c = MakeButton(50, 10);
    c->SetStyle(tasCheck);
    c->SetColorChecked(0x00FFFF);
    c->SetDown(true);
    EXPECT_EQ(PixelOf(c->Picture(), 15, 15), 0x00FFFFu) << "checked";
    c->SetColorCheckedTo(0xFFFFFF);
    const QImage grad = c->Picture();
    EXPECT_NE(PixelOf(grad, 15, 3), PixelOf(grad, 15, 26)) << "a checked gradient runs top to bottom";
}

TEST_F(ExtGridButtonTest, ActionLinkFollowsTheActionWhileLinked)
{
    TTestButton *b = MakeButton(10, 10);
    b->OnClick = nullptr;
    auto *act = new TCustomAction(Form.get());
    act->SetCaption("Find");
    act->SetGroupIndex(2);
    int runs = 0;
    act->OnExecute = [&](TObject *) { ++runs; };
    b->SetAction(act);
    EXPECT_EQ(b->Caption(), "Find");
    EXPECT_EQ(b->GroupIndex(), 2);
    act->SetCaption("Search");
    EXPECT_EQ(b->Caption(), "Search");
    b->SetCaption("Own");
    act->SetCaption("Other");
    EXPECT_EQ(b->Caption(), "Own") << "a caption of its own unlinks the caption";

    b->SetAllowAllUp(true);
    act->SetChecked(true);
    EXPECT_TRUE(b->Down()) << "checked follows in a group with AllowAllUp";
    b->SetAllowAllUp(false);
    act->SetChecked(false);
    EXPECT_TRUE(b->Down()) << "not linked without AllowAllUp";

    ShowForm();
    GuiTest::Click(b);
    EXPECT_EQ(runs, 1) << "a click without OnClick runs the action";
    delete act;
    EXPECT_EQ(b->Action(), nullptr);
}

// ---- the check box ----

namespace {

class TTestCheckBox : public TExtCheckBox {
public:
    using TExtCheckBox::TExtCheckBox;
    bool Themed = false;
    bool ThemedBoxes() const override { return Themed; }
    void Enter() { MouseEnter(); }
    void Leave() { MouseLeave(); }
    TRect Box(bool T) const { return BoxRect(T); }
    void PaintOnce()
    {
        TRecordingCanvas rc(Width(), Height());
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(static_cast<TCanvas *>(&rc)), 0);
        Last = rc.Image().copy();
    }
    QImage Last;
};

class ExtCheckBoxTest : public ExtGridButtonTest {
protected:
    TTestCheckBox *MakeBox(TWinControl *Parent, int Left, int Top)
    {
        auto *c = new TTestCheckBox(Form.get());
        c->SetParent(Parent);
        c->SetBounds(Left, Top, 120, 40);
        c->SetCaption("Match case");
        c->OnClick = [this](TObject *) { ++Clicks; };
        c->OnKeyUp = [this](TObject *, Word &, TShiftState) { ++KeyUps; };
        return c;
    }
    int KeyUps = 0;
};

} // namespace

TEST_F(ExtCheckBoxTest, MouseAndSpaceToggleReadOnlyOnlyClicks)
{
    TTestCheckBox *c = MakeBox(Form.get(), 10, 10);
    EXPECT_EQ(TTestCheckBox(nullptr).Caption(), "TExtCheckBox");
    ShowForm();
    GuiTest::Click(c);
    EXPECT_TRUE(c->Checked());
    GuiTest::Click(c);
    EXPECT_FALSE(c->Checked());
    GuiTest::PressKey(c, VK_SPACE);
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(Clicks, 3);
    EXPECT_EQ(KeyUps, 0) << "Space's key-up ends in the box";

    c->SetReadOnly(true);
    GuiTest::Click(c);
    GuiTest::PressKey(c, VK_SPACE);
    EXPECT_TRUE(c->Checked()) << "read-only";
    EXPECT_EQ(Clicks, 5) << "read-only still clicks";

    // A press that began elsewhere toggles nothing.
    c->SetReadOnly(false);
    GuiTest::MouseUp(c, {5, 5});
    EXPECT_TRUE(c->Checked());
}

TEST_F(ExtCheckBoxTest, ClassicBoxesDifferByState)
{
    TTestCheckBox *c = MakeBox(Form.get(), 10, 10);
    ShowForm();
    const TRect box = c->Box(false);
    EXPECT_EQ(box.Width(), 13);
    auto boxPixels = [&](TCheckBoxState S, bool Enabled) {
        c->SetState(S);
        c->SetEnabled(Enabled);
        c->PaintOnce();
        return c->Last.copy(box.Left, box.Top, box.Width(), box.Height());
    };
    const QImage unchecked = boxPixels(cbUnchecked, true);
    const QImage checked = boxPixels(cbChecked, true);
    const QImage grayed = boxPixels(cbGrayed, true);
    const QImage disabled = boxPixels(cbUnchecked, false);
    EXPECT_NE(unchecked, checked);
    EXPECT_NE(unchecked, grayed);
    EXPECT_NE(checked, grayed);
    EXPECT_EQ(grayed, disabled) << "grayed draws the inactive box";
    EXPECT_EQ(PixelOf(unchecked, 6, 6), 0xFFFFFFu);
    EXPECT_NE(PixelOf(grayed, 6, 6), 0xFFFFFFu);
}

TEST_F(ExtCheckBoxTest, ThemedStatesAndBoxPlaces)
{
    TRecordingThemeProvider theme;
    TThemeProvider *previous = SetThemeProvider(&theme);
    TTestCheckBox *c = MakeBox(Form.get(), 10, 10);
    c->Themed = true;
    ShowForm();
    const struct {
        TCheckBoxState State;
        bool Enabled, Down, Hot;
        int Expected;
    } cases[] = {
        {cbUnchecked, true, false, false, 1}, {cbUnchecked, true, false, true, 2},
        {cbUnchecked, true, true, true, 3},   {cbUnchecked, false, true, true, 4},
        {cbChecked, true, false, false, 5},   {cbChecked, true, false, true, 6},
        {cbChecked, true, true, false, 7},    {cbChecked, false, false, false, 8},
        {cbGrayed, true, false, false, 9},    {cbGrayed, true, false, true, 10},
        {cbGrayed, true, true, false, 11},    {cbGrayed, false, false, true, 12},
    };
    for (const auto &k : cases) {
        c->SetState(k.State);
        c->SetEnabled(k.Enabled);
        c->SetDown(k.Down);
        if (k.Hot)
            c->Enter();
        else
            c->Leave();
        theme.Entries.clear();
        c->PaintOnce();
        ASSERT_EQ(theme.Entries.size(), 1u);
        EXPECT_EQ(theme.Entries[0].ClassName, "button");
        EXPECT_EQ(theme.Entries[0].Part, BP_CHECKBOX);
        EXPECT_EQ(theme.Entries[0].State, k.Expected);
    }
    EXPECT_EQ(theme.OpenCount(), 0);

    // Where the box goes (control 120 x 40).
    const struct {
        TTextLayout Layout;
        TLeftRight Side;
        TPoint Themed, Classic;
    } places[] = {
        {tlTop, taLeftJustify, {0, 4}, {0, 4}},
        {tlCenter, taLeftJustify, {0, 14}, {0, 14}},
        {tlBottom, taLeftJustify, {0, 26}, {0, 23}},
        {tlTop, taRightJustify, {105, 4}, {107, 4}},
    };
    c->SetEnabled(true);
    for (const auto &p : places) {
        c->SetButtonVertAlign(p.Layout);
        c->SetAlignment(p.Side);
        theme.Entries.clear();
        c->PaintOnce();
        ASSERT_EQ(theme.Entries.size(), 1u);
        EXPECT_EQ(theme.Entries[0].Rect.Left, p.Themed.X);
        EXPECT_EQ(theme.Entries[0].Rect.Top, p.Themed.Y);
        EXPECT_EQ(theme.Entries[0].Rect.Width(), 14);
        const TRect classic = c->Box(false);
        EXPECT_EQ(classic.Left, p.Classic.X);
        EXPECT_EQ(classic.Top, p.Classic.Y);
    }
    SetThemeProvider(previous);
}

TEST_F(ExtCheckBoxTest, TransparentShowsTheParentsPixels)
{
    auto *panel = new TPanel(Form.get());
    panel->SetParent(Form.get());
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(0x00C000);
    TTestCheckBox *c = MakeBox(panel, 20, 20);
    c->SetColor(0x0000FF);
    c->SetCaption("");
    ShowForm();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 20 + 100, 20 + 30), 0x0000FFu) << "opaque: the box's own colour";
    c->SetTransparent(true);
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 20 + 100, 20 + 30), 0x00C000u) << "transparent: the panel's";
    c->SetTransparentChaching(true);
    c->Invalidate();
    GuiTest::ProcessEvents();
    EXPECT_EQ(GuiTest::PixelAt(Form.get(), 20 + 100, 20 + 30), 0x00C000u) << "cached";
}
