// The button face drawn onto a bitmap: fill and hover blend, frame edges of each style, caption
// shift and boldness when pressed, the caption cut to fit, the glyph frame of each state.
#include "controls/LbButtons.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr TColor FormColor = 0xEDF7F8;
constexpr TColor Pressed = 0x0080FF;

// The inputs of one face; every test changes only what it is about.
struct TFace {
    int W = 100;
    int H = 23;
    int Step = 0;
    int NumGlyphs = 0;
    TBitmap *Glyph = nullptr;
    bool Down = false;
    bool Hot = false;
    bool Transparent = false;
    bool Enabled = true;
    bool Flat = false;
    bool WordWrap = false;
    bool MenuArrow = false;
    TLbButtonStyle Style = bsNormal;
    TColor Color = FormColor;
    TColor WhenDown = clNone;
    TColor Hover = clNone;
    TColor Light = clWhite;
    TColor Shadow = clGray;
    TLbButtonLayout Layout = blGlyphLeft;
    UnicodeString Caption;
    TAlignment Alignment = taCenter;
};

std::unique_ptr<TBitmap> Render(const TFace &f)
{
    auto b = std::make_unique<TBitmap>(f.W, f.H);
    // A colour no face uses, so that untouched pixels show.
    b->Canvas()->Brush()->SetColor(0x123456);
    b->Canvas()->FillRect(Rect(0, 0, f.W, f.H));
    TFont font;
    font.SetName(QStringLiteral("Verdana"));
    font.SetHeight(-11);
    font.SetColor(clBlack);
    DrawLbButtonFace(b->Canvas(), f.W, f.H, f.Step, f.NumGlyphs, f.Glyph, f.Down, f.Hot, f.Transparent, f.Enabled,
                     f.Flat, f.WordWrap, f.MenuArrow, f.Style, f.Color, f.WhenDown, f.Hover, f.Light, f.Shadow, &font,
                     f.Layout, f.Caption, f.Alignment);
    return b;
}

TColor Px(TBitmap &b, int x, int y) { return b.Canvas()->Pixels(x, y); }

TColor Rgb(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }

// The expected blend, written out independently of the drawing code.
TColor Blend(TColor c, TColor h, int step)
{
    const TColorRef a = ColorToRGB(c), b = ColorToRGB(h);
    auto mix = [step](int x, int y) { return (x * (8 - step) + y * step) / 8; };
    return static_cast<TColor>(RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
                                   mix(GetBValue(a), GetBValue(b))));
}

// Bounding box and count of the pixels of colour c inside the frame (one pixel in from the edge).
struct TInk {
    int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1, Count = 0;
};

TInk InkOf(TBitmap &b, TColor c)
{
    TInk ink;
    for (int y = 2; y < b.Height() - 2; ++y)
        for (int x = 2; x < b.Width() - 2; ++x)
            if (Px(b, x, y) == c) {
                ink.Left = std::min(ink.Left, x);
                ink.Top = std::min(ink.Top, y);
                ink.Right = std::max(ink.Right, x);
                ink.Bottom = std::max(ink.Bottom, y);
                ++ink.Count;
            }
    return ink;
}

bool SameImage(TBitmap &a, TBitmap &b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (Px(a, x, y) != Px(b, x, y))
                return false;
    return true;
}

// A strip of frames gw x gh, frame i solid in Colors[i] with a magenta lower-left pixel (the
// strip's transparent colour).
const TColor FrameColors[] = {0x0000C0, 0x00C000, 0xC00000, 0x00C0C0};

std::unique_ptr<TBitmap> Strip(int frames, int gw = 10, int gh = 10)
{
    auto b = std::make_unique<TBitmap>(gw * frames, gh);
    for (int i = 0; i < frames; ++i) {
        b->Canvas()->Brush()->SetColor(FrameColors[i]);
        b->Canvas()->FillRect(Rect(i * gw, 0, (i + 1) * gw, gh));
    }
    for (int i = 0; i < frames; ++i)
        b->Canvas()->SetPixel(i * gw, gh - 1, clFuchsia);
    return b;
}

} // namespace

TEST(LbButtonFace, FillBlendsTowardsTheHoverColourByEighths)
{
    for (int step : {0, 1, 3, 4, 7, 8}) {
        TFace f;
        f.Hover = clYellow;
        f.Step = step;
        auto b = Render(f);
        EXPECT_EQ(Px(*b, 50, 11), Blend(FormColor, clYellow, step)) << "step " << step;
    }
    TFace full;
    full.Hover = clSkyBlue;
    full.Step = 8;
    EXPECT_EQ(Px(*Render(full), 50, 11), clSkyBlue);
    EXPECT_EQ(BlendHotTrackColor(FormColor, clYellow, 0), FormColor);
    EXPECT_EQ(BlendHotTrackColor(clBtnFace, clWhite, 8), clWhite);
}

TEST(LbButtonFace, FillIgnoresHoverWithoutHoverColourOrWhenDisabled)
{
    TFace none;
    none.Step = 8;
    EXPECT_EQ(Px(*Render(none), 50, 11), FormColor);

    TFace disabled;
    disabled.Hover = clYellow;
    disabled.Step = 8;
    disabled.Enabled = false;
    disabled.WhenDown = Pressed;
    disabled.Down = true;
    EXPECT_EQ(Px(*Render(disabled), 50, 11), FormColor);

    TFace system;
    system.Color = clBtnFace;
    EXPECT_EQ(Px(*Render(system), 50, 11), Rgb(clBtnFace));
}

TEST(LbButtonFace, ColourWhenDownReplacesTheFillWhilePressed)
{
    TFace f;
    f.Hover = clYellow;
    f.Step = 8;
    f.WhenDown = Pressed;
    f.Down = true;
    f.Hot = true;
    EXPECT_EQ(Px(*Render(f), 50, 11), Pressed);
    f.Down = false;
    EXPECT_EQ(Px(*Render(f), 50, 11), clYellow);
}

TEST(LbButtonFace, NormalAndEncartaFramesSwapTheirEdgesWhenDown)
{
    for (TLbButtonStyle style : {bsNormal, bsEncarta}) {
        TFace f;
        f.Style = style;
        f.Light = clGray;
        f.Shadow = 0x404040;
        auto up = Render(f);
        // Upper-left edge in the light colour, lower-right in the shadow colour; corners where
        // the classic line drawing puts them.
        EXPECT_EQ(Px(*up, 0, 0), clGray);
        EXPECT_EQ(Px(*up, 0, 22), clGray);
        EXPECT_EQ(Px(*up, 50, 0), clGray);
        EXPECT_EQ(Px(*up, 0, 11), clGray);
        EXPECT_EQ(Px(*up, 99, 0), 0x404040);
        EXPECT_EQ(Px(*up, 99, 11), 0x404040);
        EXPECT_EQ(Px(*up, 99, 22), 0x404040);
        EXPECT_EQ(Px(*up, 50, 22), 0x404040);
        EXPECT_EQ(Px(*up, 1, 1), FormColor);

        f.Down = true;
        auto down = Render(f);
        EXPECT_EQ(Px(*down, 50, 0), 0x404040);
        EXPECT_EQ(Px(*down, 0, 11), 0x404040);
        EXPECT_EQ(Px(*down, 99, 11), clGray);
        EXPECT_EQ(Px(*down, 50, 22), clGray);
    }
}

TEST(LbButtonFace, FlatFrameShowsOnlyWhileHotOrDown)
{
    struct Case {
        bool Enabled, Hot, Down, Framed;
    } cases[] = {
        {true, false, false, false}, {true, true, false, true}, {true, false, true, true}, {false, true, true, false},
    };
    for (const Case &c : cases) {
        TFace f;
        f.Flat = true;
        f.Enabled = c.Enabled;
        f.Hot = c.Hot;
        f.Down = c.Down;
        auto b = Render(f);
        EXPECT_EQ(Px(*b, 50, 22) != FormColor, c.Framed) << c.Enabled << c.Hot << c.Down;
    }
    TFace disabled;
    disabled.Enabled = false;
    EXPECT_EQ(Px(*Render(disabled), 50, 22), clGray);
}

TEST(LbButtonFace, OldStyleHasAnInnerShadowLineAndADarkOuterEdge)
{
    TFace f;
    f.Style = bsOld;
    auto up = Render(f);
    const TColor dark = Rgb(cl3DDkShadow);
    EXPECT_EQ(Px(*up, 0, 11), clWhite);
    EXPECT_EQ(Px(*up, 99, 11), dark);
    EXPECT_EQ(Px(*up, 50, 22), dark);
    EXPECT_EQ(Px(*up, 0, 22), dark); // the bottom edge runs on to the first column
    EXPECT_EQ(Px(*up, 98, 11), clGray);
    EXPECT_EQ(Px(*up, 50, 21), clGray);
    EXPECT_EQ(Px(*up, 1, 1), FormColor);

    f.Down = true;
    auto down = Render(f);
    EXPECT_EQ(Px(*down, 0, 11), dark);
    EXPECT_EQ(Px(*down, 50, 0), dark);
    EXPECT_EQ(Px(*down, 1, 11), clGray);
    EXPECT_EQ(Px(*down, 50, 1), clGray);
    EXPECT_EQ(Px(*down, 99, 11), clWhite);
    EXPECT_EQ(Px(*down, 98, 11), FormColor);
}

TEST(LbButtonFace, ModernGradientRunsFromTheLightColourToTheFillAndBack)
{
    TFace f;
    f.Style = bsModern;
    f.H = 200; // tall enough for every one of the 32 bands to show
    f.Color = 0x00C0C0;
    f.Light = 0x00FFFF;
    f.Shadow = 0x008080;
    auto b = Render(f);
    EXPECT_EQ(Px(*b, 50, 2), 0x00FFFF);   // first band: the light colour
    EXPECT_EQ(Px(*b, 50, 50), 0x00C0C0);  // H div 4: the fill
    EXPECT_EQ(Px(*b, 1, 100), 0x00C0C0);  // inner outline in the fill colour
    EXPECT_EQ(Px(*b, 50, 0), 0x008080);   // rounded outline in the shadow colour
    EXPECT_EQ(Px(*b, 0, 0), 0x123456);    // the rounded corner leaves the background
    TColor last = Px(*b, 50, 50);
    for (int y = 51; y < 198; ++y) {
        const TColor c = Px(*b, 50, y);
        ASSERT_EQ(GetBValue(c), 0);
        ASSERT_GE(GetRValue(c), GetRValue(last)) << y; // brightening towards the light colour
        last = c;
    }
    EXPECT_GT(GetRValue(last), 0xF0);
    EXPECT_LT(GetRValue(last), 0xFF);
}

TEST(LbButtonFace, ShapeQuickenAndTransparentBackgrounds)
{
    TFace shape;
    shape.Style = bsShape;
    auto s = Render(shape);
    EXPECT_EQ(Px(*s, 0, 0), clFuchsia);
    EXPECT_EQ(Px(*s, 50, 11), clFuchsia);

    TFace quicken;
    quicken.Style = bsQuicken;
    quicken.Color = 0x603000;
    quicken.Shadow = 0xC0C0C0;
    auto q = Render(quicken);
    EXPECT_EQ(Px(*q, 50, 0), 0xC0C0C0);
    EXPECT_EQ(Px(*q, 50, 22), 0xC0C0C0);
    EXPECT_EQ(Px(*q, 50, 11), 0x603000);
    EXPECT_EQ(Px(*q, 0, 0), 0x123456);

    TFace clear;
    clear.Transparent = true;
    clear.Flat = true;
    EXPECT_EQ(Px(*Render(clear), 50, 11), 0x123456);
}

TEST(LbButtonFace, EncartaDrawsBoldWhenDownWithoutMoving)
{
    TFace f;
    f.Style = bsEncarta;
    f.Caption = QStringLiteral("Wg");
    f.Alignment = taLeftJustify;
    TInk up = InkOf(*Render(f), clBlack);
    f.Down = true;
    TInk down = InkOf(*Render(f), clBlack);
    ASSERT_GT(up.Count, 0);
    // Bold letters may start a pixel further in; the caption itself stays where it was.
    EXPECT_LE(std::abs(down.Left - up.Left), 1);
    EXPECT_EQ(down.Top, up.Top);
    EXPECT_EQ(down.Bottom, up.Bottom);
    EXPECT_GT(down.Count, up.Count);
}

TEST(LbButtonFace, NormalShiftsCaptionAndGlyphByOnePixelWhenDown)
{
    auto glyph = Strip(1);
    TFace f;
    f.Caption = QStringLiteral("Wg");
    f.Glyph = glyph.get();
    f.NumGlyphs = 1;
    auto up = Render(f);
    f.Down = true;
    auto down = Render(f);
    TInk tu = InkOf(*up, clBlack), td = InkOf(*down, clBlack);
    EXPECT_EQ(td.Left, tu.Left + 1);
    EXPECT_EQ(td.Top, tu.Top + 1);
    EXPECT_EQ(td.Count, tu.Count);
    TInk gu = InkOf(*up, FrameColors[0]), gd = InkOf(*down, FrameColors[0]);
    EXPECT_EQ(gd.Left, gu.Left + 1);
    EXPECT_EQ(gd.Top, gu.Top + 1);
    // The glyph sits left of the caption, the pair centred as a block.
    EXPECT_LT(gu.Right, tu.Left);
    EXPECT_EQ(gu.Top, (23 - 10) / 2);
}

TEST(LbButtonFace, DisabledCaptionIsGrey)
{
    TFace f;
    f.Caption = QStringLiteral("Wg");
    f.Enabled = false;
    auto b = Render(f);
    EXPECT_EQ(InkOf(*b, clBlack).Count, 0);
    EXPECT_GT(InkOf(*b, clGray).Count, 0);

    // bsShape keeps the font's own colour.
    f.Style = bsShape;
    EXPECT_GT(InkOf(*Render(f), clBlack).Count, 0);
}

TEST(LbButtonFace, LongCaptionLosesCharactersFromItsEndWithoutEllipsis)
{
    const UnicodeString longText = QStringLiteral("Configuration of the converter");
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->SetName(QStringLiteral("Verdana"));
    probe.Canvas()->Font()->SetHeight(-11);
    const int tw = 80 - 8;
    UnicodeString fit = longText;
    while (probe.Canvas()->TextWidth(fit) > tw)
        fit.chop(1);
    ASSERT_LT(fit.size(), longText.size());
    ASSERT_GT(fit.size(), 3);

    TFace f;
    f.W = 80;
    f.Alignment = taLeftJustify;
    f.Caption = longText;
    auto cut = Render(f);
    f.Caption = fit;
    auto exact = Render(f);
    EXPECT_TRUE(SameImage(*cut, *exact));
    f.Caption = fit.left(fit.size() - 1);
    EXPECT_FALSE(SameImage(*cut, *Render(f)));

    // With word wrap the whole caption stays and takes more lines.
    TFace wrap;
    wrap.W = 80;
    wrap.H = 60;
    wrap.WordWrap = true;
    wrap.Caption = longText;
    TInk ink = InkOf(*Render(wrap), clBlack);
    EXPECT_GT(ink.Bottom - ink.Top, 20);
}

TEST(LbButtonFace, GlyphFrameFollowsTheState)
{
    struct Case {
        int Frames;
        bool Enabled, Hot, Down;
        int Expected;
    } cases[] = {
        {4, true, false, false, 0}, {4, false, true, true, 1}, {4, true, true, false, 3}, {4, true, false, true, 2},
        {4, true, true, true, 2},   {3, true, true, false, 0}, {3, true, false, true, 2}, {2, true, true, true, 0},
        {2, false, false, false, 1}, {1, false, false, false, 0}, {1, true, true, true, 0},
    };
    for (const Case &c : cases) {
        auto glyph = Strip(c.Frames);
        TFace f;
        f.Glyph = glyph.get();
        f.NumGlyphs = c.Frames;
        f.Enabled = c.Enabled;
        f.Hot = c.Hot;
        f.Down = c.Down;
        f.Style = bsEncarta;
        auto b = Render(f);
        // No caption: the glyph is centred, (100 - 10) div 2 = 45, (23 - 10) div 2 = 6.
        EXPECT_EQ(Px(*b, 50, 11), FrameColors[c.Expected])
            << c.Frames << " frames, enabled " << c.Enabled << " hot " << c.Hot << " down " << c.Down;
        EXPECT_EQ(Px(*b, 45, 6), FrameColors[c.Expected]);
        EXPECT_NE(Px(*b, 44, 6), FrameColors[c.Expected]);
    }
}

TEST(LbButtonFace, GlyphKeyColourLetsTheFaceShowThrough)
{
    auto glyph = Strip(1);
    TFace f;
    f.Glyph = glyph.get();
    f.NumGlyphs = 1;
    auto b = Render(f);
    EXPECT_EQ(Px(*b, 45, 15), FormColor); // the frame's lower-left pixel
    EXPECT_EQ(Px(*b, 46, 15), FrameColors[0]);
}

TEST(LbButtonFace, GlyphPlacementOfTheLayouts)
{
    auto glyph = Strip(1);
    for (TLbButtonLayout layout : {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom}) {
        TFace f;
        f.H = 50;
        f.Glyph = glyph.get();
        f.NumGlyphs = 1;
        f.Layout = layout;
        f.Caption = QStringLiteral("Wg");
        auto b = Render(f);
        TInk g = InkOf(*b, FrameColors[0]), t = InkOf(*b, clBlack);
        ASSERT_GT(g.Count, 0);
        ASSERT_GT(t.Count, 0);
        switch (layout) {
        case blGlyphLeft: EXPECT_LT(g.Right, t.Left); break;
        case blGlyphRight: EXPECT_GT(g.Left, t.Right); break;
        case blGlyphTop: EXPECT_LT(g.Bottom, t.Top); break;
        case blGlyphBottom: EXPECT_GT(g.Top, t.Bottom); break;
        }
    }
}

TEST(LbButtonFace, MenuArrowSitsAtTheRight)
{
    TFace f;
    f.MenuArrow = true;
    auto b = Render(f);
    // The arrow points down: five pixels, then three, then one.
    EXPECT_EQ(Px(*b, 89, 10), clBlack);
    EXPECT_EQ(Px(*b, 93, 10), clBlack);
    EXPECT_EQ(Px(*b, 90, 11), clBlack);
    EXPECT_EQ(Px(*b, 89, 11), FormColor);
    EXPECT_EQ(Px(*b, 91, 12), clBlack);
    EXPECT_EQ(Px(*b, 90, 12), FormColor);
}

TEST(LbButtonFace, ColourPresetsAndKinds)
{
    TLbColorPreset p{};
    EXPECT_FALSE(GetLbColorPreset(lcsCustom, p));
    ASSERT_TRUE(GetLbColorPreset(lcsQuicken, p));
    EXPECT_EQ(p.Color, 0x603000);
    EXPECT_EQ(p.FontColor, 0xFFFFFF);
    EXPECT_EQ(p.Style, bsQuicken);
    ASSERT_TRUE(GetLbColorPreset(lcsUltraFlatXP, p));
    EXPECT_EQ(p.ShadowColor, 0xB59285);
    EXPECT_TRUE(p.Flat);
    EXPECT_EQ(p.Style, bsNormal);
    ASSERT_TRUE(GetLbColorPreset(lcsGold, p));
    EXPECT_EQ(p.HotTrackColor, 0x00DFDF);
    EXPECT_EQ(p.Style, bsModern);

    TLbKindInfo k{};
    EXPECT_FALSE(GetLbKindInfo(bkCustom, k));
    ASSERT_TRUE(GetLbKindInfo(bkClose, k));
    EXPECT_EQ(QString::fromUtf8(k.Caption), QStringLiteral("Schlie\u00DFen"));
    ASSERT_TRUE(GetLbKindInfo(bkAll, k));
    EXPECT_EQ(k.ModalResult, 12);
}

TEST(LbButtonFace, KindBitmapsAndHeaderGlyphsAreInTheResources)
{
    struct Case {
        const char *Name;
        int W, H;
    } cases[] = {
        {"LBOK", 36, 18},     {"LBCANCEL", 36, 18}, {"LBHELP", 36, 18},   {"LBYES", 36, 18},
        {"LBNO", 36, 18},     {"LBCLOSE", 36, 18},  {"LBABORT", 36, 18},  {"LBRETRY", 36, 18},
        {"LBIGNORE", 36, 18}, {"LBALL", 36, 19},    {"LBARROW", 5, 3},    {"BTN_INFO", 32, 32},
        {"BTN_OPZ", 32, 32},  {"BTN_CLOSE", 32, 32},
    };
    for (const Case &c : cases) {
        TBitmap b;
        LoadLbResourceBitmap(&b, QString::fromLatin1(c.Name));
        EXPECT_EQ(b.Width(), c.W) << c.Name;
        EXPECT_EQ(b.Height(), c.H) << c.Name;
        EXPECT_EQ(b.TransparentColor(), clFuchsia) << c.Name;
    }
    TBitmap none;
    EXPECT_THROW(LoadLbResourceBitmap(&none, QStringLiteral("LBNOTHERE")), EResNotFound);
}
