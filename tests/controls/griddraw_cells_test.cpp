// Progress bars, cell shapes, button faces, the error underline and transparent bitmaps on the
// pixels of a bitmap, and a table of degenerate inputs that must draw without a fault.
#include "controls/ExtGridDraw.h"
#include "controls/ExtXPVS.h"

#include "platform/UxTheme.h"
#include "platform/WinGdi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

constexpr TColor Backdrop = 0x123456;

std::unique_ptr<TBitmap> Blank(int W, int H, TColor C = Backdrop)
{
    auto b = std::make_unique<TBitmap>(W, H);
    b->Canvas()->Brush()->SetColor(C);
    b->Canvas()->FillRect(TRect(0, 0, W, H));
    return b;
}

TColor Px(TBitmap &b, int x, int y) { return b.Canvas()->Pixels(x, y); }

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

// The pixels a text covers when written at (X, Y) in the canvas's font.
std::vector<TPoint> TextPixels(TCanvas *Font, const UnicodeString &Text, int X, int Y, int W, int H)
{
    auto ref = Blank(W, H, clWhite);
    ref->Canvas()->Font()->Assign(Font->Font());
    ref->Canvas()->Font()->SetColor(clBlack);
    ref->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    ref->Canvas()->TextOut(X, Y, Text);
    std::vector<TPoint> r;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (Px(*ref, x, y) != clWhite)
                r.emplace_back(x, y);
    return r;
}

// ---- DrawCellProgressBar ----

struct TBar {
    std::unique_ptr<TBitmap> B;
    static constexpr TColor Done = 0x00C000, DoneText = 0x800000, Rest = 0xE0E0E0, RestText = 0x000080,
                            Border = 0x0000C0;
    explicit TBar(double Value, const UnicodeString &Format = {}, double Min = 0, double Max = 100)
    {
        B = Blank(102, 40);
        B->Canvas()->Font()->SetName("Tahoma");
        B->Canvas()->Font()->SetHeight(-11);
        DrawCellProgressBar(B->Canvas(), TRect(0, 0, 102, 40), Done, DoneText, Rest, RestText, Value, 1, 1, Min, Max,
                            Format, Border, false);
    }
    // How many of the 100 inner columns show the done colour on a row clear of the text.
    int DoneColumns()
    {
        int n = 0;
        for (int x = 1; x < 101; ++x)
            n += Px(*B, x, 2) == Done ? 1 : 0;
        return n;
    }
    // The text at the place the bar centres it, in the text colour of the part it falls on.
    bool Shows(const UnicodeString &Text)
    {
        const TSize e = B->Canvas()->TextExtent(Text);
        const int x = 1 + (100 - e.cx) / 2;
        const int y = 1 + (38 - e.cy) / 2;
        const auto pixels = TextPixels(B->Canvas(), Text, x, y, 102, 40);
        if (pixels.empty())
            return false;
        int split = 1 + DoneColumns();
        for (const TPoint &p : pixels)
            if (Px(*B, p.X, p.Y) != (p.X < split ? DoneText : RestText))
                return false;
        return true;
    }
};

TEST(GridDrawProgress, CellBarWithoutFormatWritesThePercentage)
{
    TBar b(42.4);
    EXPECT_EQ(b.DoneColumns(), 42);
    EXPECT_TRUE(b.Shows("42%"));
    EXPECT_EQ(Px(*b.B, 43, 2), TBar::Rest);
    EXPECT_EQ(Px(*b.B, 0, 20), TBar::Border);

    TBar full(120);
    EXPECT_EQ(full.DoneColumns(), 100);
    EXPECT_TRUE(full.Shows("120%"));
    TBar none(-5);
    EXPECT_EQ(none.DoneColumns(), 0);
}

TEST(GridDrawProgress, CellBarFormats)
{
    struct TCase {
        double Value, Min, Max;
        const char *Format;
        const char *Text;
        int Columns;
    };
    const TCase cases[] = {
        {3.6, 0, 10, "%d items", "4 items", 36},
        {3.5, 0, 10, "%.1f", "3.5", 35},
        {150, 100, 200, "%d", "150", 50},
        // "u" inside a word hands over an integer, which %f refuses: the percentage is written.
        {7.5, 0, 10, "value %.1f", "75%", 75},
        // An empty range is an empty bar, not a division by zero.
        {5, 5, 5, "%d", "5", 0},
    };
    for (const TCase &c : cases) {
        TBar b(c.Value, c.Format, c.Min, c.Max);
        EXPECT_EQ(b.DoneColumns(), c.Columns) << c.Format;
        EXPECT_TRUE(b.Shows(c.Text)) << c.Format;
    }
}

// ---- DrawAppearanceProgressBar ----

ProgressBarLook PlainLook()
{
    ProgressBarLook look;
    look.Level0Color = 0x000011;
    look.Level1Color = 0x000022;
    look.Level2Color = 0x000033;
    look.Level3Color = 0x000044;
    look.Level1Perc = 50;
    look.Level2Perc = 80;
    look.ShowGradient = false;
    look.ShowPercentage = false;
    look.UnCompleteColor = clWhite;
    return look;
}

TEST(GridDrawProgress, AppearanceBarLevels)
{
    ProgressBarLook look = PlainLook();
    struct TCase {
        int Percent;
        TColor Level;
    };
    for (const TCase c : {TCase{10, 0x000011}, TCase{50, 0x000022}, TCase{79, 0x000022}, TCase{80, 0x000033},
                          TCase{99, 0x000033}, TCase{100, 0x000044}}) {
        auto b = Blank(102, 10);
        DrawAppearanceProgressBar(b->Canvas(), TRect(0, 0, 102, 10), c.Percent, look);
        EXPECT_EQ(Px(*b, 3, 5), c.Level) << c.Percent;
        EXPECT_EQ(Px(*b, 1 + c.Percent - 1, 5), c.Level) << c.Percent;
        if (c.Percent < 100) {
            EXPECT_EQ(Px(*b, 1 + c.Percent + 1, 5), clWhite) << c.Percent;
        }
    }
}

TEST(GridDrawProgress, AppearanceBarStackedAndBlocks)
{
    ProgressBarLook look = PlainLook();
    look.Stacked = true;
    auto b = Blank(102, 10);
    DrawAppearanceProgressBar(b->Canvas(), TRect(0, 0, 102, 10), 100, look);
    EXPECT_EQ(Px(*b, 10, 5), 0x000011);
    EXPECT_EQ(Px(*b, 60, 5), 0x000022);
    EXPECT_EQ(Px(*b, 90, 5), 0x000044);

    look.Stacked = false;
    look.CompletionSmooth = false;
    // 40 of 100 pixels: blocks at 2..8, 11..17, 20..26, 29..35 and a rest at 38..40.
    auto c = Blank(102, 12);
    DrawAppearanceProgressBar(c->Canvas(), TRect(0, 0, 102, 12), 40, look);
    int blocks = 0;
    bool in = false;
    for (int x = 0; x < 102; ++x) {
        const bool filled = Px(*c, x, 6) == 0x000011;
        blocks += filled && !in ? 1 : 0;
        in = filled;
    }
    EXPECT_EQ(blocks, 5);
    EXPECT_EQ(Px(*c, 2, 6), 0x000011);
    EXPECT_EQ(Px(*c, 9, 6), clWhite);
    EXPECT_EQ(Px(*c, 40, 6), 0x000011);
    EXPECT_EQ(Px(*c, 41, 6), clWhite);
    EXPECT_EQ(Px(*c, 6, 1), clWhite); // 2 pixels from the sides
}

TEST(GridDrawProgress, VerticalAppearanceBarGrowsUpward)
{
    ProgressBarLook look = PlainLook();
    look.Vertical = true;
    // 102 high: 100 pixels of bar from row 100 upward.
    auto b = Blank(12, 102);
    DrawAppearanceProgressBar(b->Canvas(), TRect(0, 0, 12, 102), 30, look);
    EXPECT_EQ(Px(*b, 6, 100), 0x000011);
    EXPECT_EQ(Px(*b, 6, 71), 0x000011);
    EXPECT_EQ(Px(*b, 6, 70), clWhite);
    EXPECT_EQ(Px(*b, 1, 80), 0x000011);
    EXPECT_EQ(Px(*b, 0, 80), clWhite);

    look.CompletionSmooth = false;
    auto c = Blank(12, 102);
    DrawAppearanceProgressBar(c->Canvas(), TRect(0, 0, 12, 102), 22, look);
    // Blocks from the bottom edge: rows 93..99 and 84..90, and a rest of 4 at 79..81.
    EXPECT_EQ(Px(*c, 6, 99), 0x000011);
    EXPECT_EQ(Px(*c, 6, 93), 0x000011);
    EXPECT_EQ(Px(*c, 6, 92), clWhite);
    EXPECT_EQ(Px(*c, 6, 84), 0x000011);
    EXPECT_EQ(Px(*c, 6, 82), clWhite);
    EXPECT_EQ(Px(*c, 6, 81), 0x000011);
    EXPECT_EQ(Px(*c, 6, 79), 0x000011);
    EXPECT_EQ(Px(*c, 6, 78), clWhite);
    EXPECT_EQ(Px(*c, 1, 95), clWhite);
}

TEST(GridDrawProgress, PieAndPlusMinusBar)
{
    auto b = Blank(41, 41, clWhite);
    b->Canvas()->Brush()->SetColor(clWhite);
    DrawProgressPie(b->Canvas(), TRect(0, 0, 41, 41), clRed, 25, false);
    EXPECT_EQ(Px(*b, 28, 12), clRed);   // inside the first quarter
    EXPECT_EQ(Px(*b, 12, 12), clWhite); // the last quarter stays empty
    EXPECT_EQ(Px(*b, 28, 28), clWhite);
    EXPECT_EQ(Px(*b, 0, 20), clGray);

    struct TCase {
        double Value, Max;
        int From, To;
        TColor Color;
    };
    for (const TCase c : {TCase{5, 10, 52, 77, clLime}, TCase{-20, 10, 2, 52, clRed}, TCase{3, 0, 0, 0, clNone}}) {
        auto d = Blank(104, 10);
        DrawPlusMinusBar(d->Canvas(), TRect(0, 0, 104, 10), c.Value, c.Max, false, clRed, clLime);
        int first = -1, last = -1;
        for (int x = 0; x < 104; ++x)
            if (Px(*d, x, 5) != Backdrop) {
                last = x;
                if (first < 0)
                    first = x;
            }
        if (c.Color == clNone) {
            EXPECT_EQ(first, -1);
            continue;
        }
        EXPECT_EQ(first, c.From) << c.Value;
        EXPECT_EQ(last, c.To - 1) << c.Value;
        EXPECT_EQ(Px(*d, first, 5), c.Color);
        EXPECT_EQ(Px(*d, first, 1), Backdrop);
    }
}

// ---- PaintCellShape ----

TEST(GridDrawShapes, CircleTakesTheSmallerSide)
{
    auto b = Blank(30, 20);
    PaintCellShape(b->Canvas(), 5, 5, 20, 10, csCircle, clRed, clBlack);
    int left = 99, right = -1, top = 99, bottom = -1;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            if (Px(*b, x, y) != Backdrop) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_EQ(left, 5);
    EXPECT_EQ(right, 14);
    EXPECT_EQ(top, 5);
    EXPECT_EQ(bottom, 14);
    EXPECT_EQ(Px(*b, 10, 10), clRed);
}

TEST(GridDrawShapes, EachShapeCoversItsPlace)
{
    // In a 20 x 20 area at (0, 0): a pixel the shape fills and one it leaves alone.
    struct TCase {
        TCellShape Shape;
        TPoint Filled, Empty;
    };
    const TCase cases[] = {
        {csRectangle, {2, 2}, {0, 0}},        {csSquare, {17, 17}, {19, 19}},     {csEllips, {10, 10}, {1, 1}},
        {csRoundRect, {10, 1}, {0, 0}},       {csRoundSquare, {1, 10}, {0, 0}},   {csTriangleLeft, {17, 10}, {2, 3}},
        {csTriangleRight, {2, 10}, {17, 3}},  {csTriangleUp, {10, 17}, {2, 2}},   {csTriangleDown, {10, 2}, {2, 17}},
        {csDiamond, {10, 10}, {2, 2}},        {csLineVert, {10, 5}, {9, 5}},      {csLineHorz, {5, 10}, {5, 9}},
        {csArrowUp, {10, 15}, {2, 15}},       {csArrowDown, {10, 4}, {2, 4}},     {csArrowLeft, {15, 10}, {15, 2}},
        {csArrowRight, {4, 10}, {4, 2}},      {csStar, {10, 10}, {2, 2}},         {csHalfStar, {8, 10}, {13, 10}},
    };
    for (const TCase &c : cases) {
        auto b = Blank(20, 20);
        PaintCellShape(b->Canvas(), 0, 0, 20, 20, c.Shape, clRed, clRed);
        EXPECT_EQ(Px(*b, c.Filled.X, c.Filled.Y), clRed) << c.Shape;
        EXPECT_EQ(Px(*b, c.Empty.X, c.Empty.Y), Backdrop) << c.Shape;
    }
    auto b = Blank(20, 20);
    PaintCellShape(b->Canvas(), 0, 0, 20, 20, static_cast<TCellShape>(csHalfStar + 1), clRed, clRed);
    EXPECT_EQ(Px(*b, 10, 10), Backdrop);
}

// ---- button faces ----

TColorTones Tones()
{
    TColorTones t;
    t.Background = {0x000010, 0x000011, 0x000012};
    t.Hover = {0x000020, 0x000021, 0x000022};
    t.Selected = {0x000030, 0x000031, 0x000032};
    t.Disabled = {0x000040, 0x000041, 0x000042};
    return t;
}

TEST(GridDrawButtons, ClassicAndFlatFacesUseTheFrameOfTheirState)
{
    const unsigned face[] = {0, DFCS_HOT, DFCS_PUSHED, DFCS_INACTIVE};
    const TRect r(0, 0, 40, 20);
    for (int kind : {0, 1, 2})
        for (int state = 0; state < 4; ++state) {
            const unsigned flat = kind == 2 ? DFCS_FLAT : 0;
            auto got = Blank(40, 20);
            PaintButtonFace(got->Canvas(), nullptr, r, kind, state, Tones());
            auto want = Blank(40, 20);
            TRect fr = r;
            DrawFrameControl(want->Canvas(), fr, DFC_BUTTON, DFCS_BUTTONPUSH | face[state] | flat);
            EXPECT_TRUE(SameImage(*got, *want)) << "button " << kind << "/" << state;

            // Drop and spin buttons know only normal and disabled.
            auto drop = Blank(40, 20);
            PaintDropButton(drop->Canvas(), nullptr, r, kind, state, Tones());
            auto dropWant = Blank(40, 20);
            TRect dr(40 - 19, 1, 38, 19);
            DrawFrameControl(dropWant->Canvas(), dr, DFC_SCROLL,
                             DFCS_SCROLLCOMBOBOX | (state == 3 ? DFCS_INACTIVE : 0) | flat);
            EXPECT_TRUE(SameImage(*drop, *dropWant)) << "drop " << kind << "/" << state;

            auto spin = Blank(40, 20);
            PaintSpinButtons(spin->Canvas(), nullptr, r, kind, state, Tones());
            auto spinWant = Blank(40, 20);
            TRect up(24, -1, 39, 9), down(24, 10, 39, 19);
            DrawFrameControl(spinWant->Canvas(), up, DFC_SCROLL, DFCS_SCROLLUP | (state == 3 ? DFCS_INACTIVE : 0) | flat);
            DrawFrameControl(spinWant->Canvas(), down, DFC_SCROLL,
                             DFCS_SCROLLDOWN | (state == 3 ? DFCS_INACTIVE : 0) | flat);
            EXPECT_TRUE(SameImage(*spin, *spinWant)) << "spin " << kind << "/" << state;
        }
}

TEST(GridDrawButtons, OfficeFacesTakeTheToneOfTheirState)
{
    const TColorTones t = Tones();
    const TColorTone tones[] = {t.Background, t.Hover, t.Selected, t.Disabled};
    for (int state = 0; state < 4; ++state) {
        auto b = Blank(40, 20);
        PaintButtonFace(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 3, state, t);
        EXPECT_EQ(Px(*b, 20, 10), tones[state].BrushColor) << state;
        EXPECT_EQ(Px(*b, 0, 0), tones[state].BorderColor) << state;

        // The drop button: 17 pixels at the right, 2 in from it, its left edge 3 further in.
        auto d = Blank(40, 20);
        PaintDropButton(d->Canvas(), nullptr, TRect(0, 0, 40, 20), 3, state, t);
        EXPECT_EQ(Px(*d, 24, 3), tones[state].BrushColor) << state;
        EXPECT_EQ(Px(*d, 25, 3), t.Background.BorderColor) << state;
        EXPECT_EQ(Px(*d, 26, 3), tones[state].BrushColor) << state;
        EXPECT_EQ(Px(*d, 23, 3), Backdrop) << state;
        EXPECT_EQ(Px(*d, 30, 9), t.Background.TextColor) << state; // the arrow
        EXPECT_EQ(Px(*d, 38, 3), Backdrop) << state;

        auto s = Blank(40, 20);
        PaintSpinButtons(s->Canvas(), nullptr, TRect(0, 0, 40, 20), 3, state, t);
        EXPECT_EQ(Px(*s, 26, 2), tones[state].BrushColor) << state;
        EXPECT_EQ(Px(*s, 26, 15), tones[state].BrushColor) << state;
        EXPECT_EQ(Px(*s, 31, 3), clBlack) << state; // tip of the up arrow
        EXPECT_EQ(Px(*s, 31, 12), clBlack) << state; // the down arrow under the middle (9)
    }
    // An unknown kind draws nothing.
    auto b = Blank(40, 20);
    PaintButtonFace(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 7, 0, t);
    PaintDropButton(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 7, 0, t);
    PaintSpinButtons(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 7, 0, t);
    EXPECT_EQ(Px(*b, 30, 10), Backdrop);
}

TEST(GridDrawButtons, ThemedFacesGoThroughTheVisualStyles)
{
    TRecordingThemeProvider provider;
    SetThemeProvider(&provider);
    ExtXPVS::Bind();
    auto b = Blank(40, 20);
    for (int state = 0; state < 4; ++state)
        PaintButtonFace(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 0, state, Tones());
    PaintDropButton(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 0, 1, Tones());
    PaintDropButton(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 0, 3, Tones());
    PaintSpinButtons(b->Canvas(), nullptr, TRect(0, 0, 40, 20), 0, 0, Tones());
    ExtXPVS::Unbind();
    SetThemeProvider(nullptr);

    using E = TRecordingThemeProvider::TEntry;
    const std::vector<E> want = {
        {"button", BP_PUSHBUTTON, PBS_NORMAL, TRect(0, 0, 40, 20)},
        {"button", BP_PUSHBUTTON, PBS_HOT, TRect(0, 0, 40, 20)},
        {"button", BP_PUSHBUTTON, PBS_PRESSED, TRect(0, 0, 40, 20)},
        {"button", BP_PUSHBUTTON, PBS_DISABLED, TRect(0, 0, 40, 20)},
        {"combobox", CP_DROPDOWNBUTTON, CBXS_NORMAL, TRect(21, 1, 38, 19)},
        {"combobox", CP_DROPDOWNBUTTON, CBXS_DISABLED, TRect(21, 1, 38, 19)},
        {"spin", SPNP_UP, UPS_NORMAL, TRect(24, -1, 39, 9)},
        {"spin", SPNP_DOWN, DNS_NORMAL, TRect(24, 9, 39, 19)},
    };
    ASSERT_EQ(provider.Entries.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(provider.Entries[i].ClassName, want[i].ClassName) << i;
        EXPECT_EQ(provider.Entries[i].Part, want[i].Part) << i;
        EXPECT_EQ(provider.Entries[i].State, want[i].State) << i;
        EXPECT_EQ(provider.Entries[i].Rect, want[i].Rect) << i;
    }
    EXPECT_EQ(provider.OpenCount(), 0);
    // Nothing was drawn on the canvas by the stand-in.
    EXPECT_EQ(Px(*b, 20, 10), Backdrop);
}

// ---- error underline and bitmaps ----

TEST(GridDrawSmall, ErrorUnderlineZigzagsUnderTheError)
{
    auto b = Blank(200, 30, clWhite);
    b->Canvas()->Font()->SetName("Tahoma");
    b->Canvas()->Font()->SetHeight(-11);
    TCanvas measure;
    measure.Font()->Assign(b->Canvas()->Font());
    DrawErrorUnderline(nullptr, b->Canvas(), "abcdefgh", TRect(10, 5, 190, 25), 12, 2, 3);
    const int x0 = 10 + 1 + measure.TextWidth("ab");
    const int x1 = 10 + 1 + measure.TextWidth("abcd");
    int first = -1, last = -1, top = 99, bottom = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            if (Px(*b, x, y) == clRed) {
                first = first < 0 ? x : std::min(first, x);
                last = std::max(last, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_NEAR(first, x0, 1);
    EXPECT_GT(last, x1);
    EXPECT_LE(last, x1 + 5);
    EXPECT_NEAR(top, 5 + 12, 1);
    EXPECT_NEAR(bottom, 5 + 12 + 3, 1);
    // It zigzags: it starts low.
    EXPECT_EQ(Px(*b, x0, 5 + 12), clWhite);

    // An error past the end is marked just after the text.
    auto c = Blank(200, 30, clWhite);
    c->Canvas()->Font()->Assign(b->Canvas()->Font());
    DrawErrorUnderline(nullptr, c->Canvas(), "abc", TRect(0, 0, 190, 25), 0, 5, 1);
    int firstAfter = -1;
    for (int x = 0; x < 200 && firstAfter < 0; ++x)
        for (int y = 0; y < 30; ++y)
            if (Px(*c, x, y) == clRed) {
                firstAfter = x;
                break;
            }
    EXPECT_NEAR(firstAfter, 1 + measure.TextWidth("ab") + 4, 1);
}

TEST(GridDrawSmall, TransparentBitmapReplacesTheCornerColour)
{
    TBitmap glyph(4, 3);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(TRect(0, 0, 4, 3));
    glyph.Canvas()->SetPixel(2, 1, clBlue);
    auto b = Blank(10, 10);
    DrawBitmapTransparent(b->Canvas(), &glyph, clYellow, TRect(3, 4, 9, 9));
    EXPECT_EQ(Px(*b, 3, 4), clYellow);
    EXPECT_EQ(Px(*b, 5, 5), clBlue);
    EXPECT_EQ(Px(*b, 6, 6), clYellow);
    EXPECT_EQ(Px(*b, 7, 4), Backdrop); // drawn at its own size
    // A picture the program does not have draws nothing.
    DrawResourceBitmapTransparent(b->Canvas(), clYellow, TRect(0, 0, 10, 10), "NO_SUCH_PICTURE");
    EXPECT_EQ(Px(*b, 0, 0), Backdrop);
}

TEST(GridDrawSmall, LayeredCallsReachTheWindow)
{
    TWinControl window(nullptr);
    window.SetBounds(0, 0, 20, 10);
    EXPECT_TRUE(CallSetLayeredWindowAttributes(window.Handle(), 0, 200, LWA_ALPHA));
    Byte alpha = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(window.Handle(), nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 200);
    EXPECT_FALSE(CallSetLayeredWindowAttributes(nullptr, 0, 200, LWA_ALPHA));
    const TSize size{20, 10};
    EXPECT_TRUE(CallUpdateLayeredWindow(window.Handle(), nullptr, nullptr, &size, nullptr, nullptr, 0, nullptr, 0));
}

// ---- degenerate inputs ----

TEST(GridDrawDegenerate, OddInputsDrawWithoutAFault)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TRect rects[] = {TRect(0, 0, 0, 0), TRect(5, 5, 2, 1), TRect(-30, -30, 3, 3), TRect(0, 0, 1, 1),
                           TRect(0, 0, 2000, 3), TRect(3, 3, 6, 6)};
    ProgressBarLook look;
    look.Steps = 0;
    look.Level1Perc = 200;
    look.Level2Perc = -5;
    look.Vertical = true;
    look.CompletionSmooth = false;
    const std::vector<std::function<void(TCanvas *, const TRect &)>> calls = {
        [](TCanvas *c, const TRect &r) { DrawSteppedGradient(c, clRed, clBlue, 0, r, true); },
        [](TCanvas *c, const TRect &r) { DrawSteppedGradient(c, clRed, clBlue, -7, r, false); },
        [](TCanvas *c, const TRect &r) { DrawSteppedGradient(c, clNone, clNone, 1 << 30, r, false); },
        [](TCanvas *c, const TRect &r) { DrawMirrorGradientRect(c, r, clRed, clBlue, clLime, clNone, true, clBlack, true, true); },
        [](TCanvas *c, const TRect &r) { PaintStyledSelection(c, clRed, clBlue, clLime, clNone, 1, 2, 3, 4, 5, r, 0); },
        [](TCanvas *c, const TRect &r) { PaintStyledSelection(c, clRed, clNone, clNone, clNone, 1, 2, 3, 4, 5, r, 9); },
        [&](TCanvas *c, const TRect &r) { DrawCellProgressBar(c, r, 1, 2, 3, 4, nan, 50, -50, 0, 0, "%d", clNone, true); },
        [&](TCanvas *c, const TRect &r) { DrawCellProgressBar(c, r, 1, 2, 3, 4, inf, 0, 0, 0, 1, "%s %d %%", 5, false); },
        [&](TCanvas *c, const TRect &r) { DrawCellProgressBar(c, r, 1, 2, 3, 4, -inf, 0, 0, -inf, inf, "%.2f", 5, false); },
        [&](TCanvas *c, const TRect &r) { DrawCellProgressBar(c, r, 1, 2, 3, 4, 1e300, 0, 0, 0, 0, {}, 5, false); },
        [](TCanvas *c, const TRect &r) { DrawProgressPie(c, r, clRed, -250, true); },
        [](TCanvas *c, const TRect &r) { DrawProgressPie(c, r, clRed, 1000, false); },
        [&](TCanvas *c, const TRect &r) { DrawPlusMinusBar(c, r, nan, 10, true, 1, 2); },
        [&](TCanvas *c, const TRect &r) { DrawPlusMinusBar(c, r, 1e300, 1e-300, true, 1, 2); },
        [&](TCanvas *c, const TRect &r) { DrawPlusMinusBar(c, r, 5, -1, true, 1, 2); },
        [&](TCanvas *c, const TRect &r) { DrawAppearanceProgressBar(c, r, 73, look); },
        [&](TCanvas *c, const TRect &r) { DrawAppearanceProgressBar(c, r, std::numeric_limits<int>::max(), look); },
        [](TCanvas *c, const TRect &r) { DrawAppearanceProgressBar(c, r, -3, ProgressBarLook()); },
        [](TCanvas *c, const TRect &r) { PaintCellShape(c, r.Left, r.Top, r.Width(), r.Height(), csStar, 1, 2); },
        [](TCanvas *c, const TRect &r) { PaintCellShape(c, r.Left, r.Top, -r.Width(), 0, csArrowLeft, 1, 2); },
        [](TCanvas *c, const TRect &r) { PaintCellShape(c, 0, 0, 5, 5, static_cast<TCellShape>(-1), 1, 2); },
        [](TCanvas *c, const TRect &r) { PaintButtonFace(c, nullptr, r, 0, 17, TColorTones()); },
        [](TCanvas *c, const TRect &r) { PaintDropButton(c, nullptr, r, 3, -4, TColorTones()); },
        [](TCanvas *c, const TRect &r) { PaintSpinButtons(c, nullptr, r, 2, 99, TColorTones()); },
        [](TCanvas *c, const TRect &r) { DrawErrorUnderline(nullptr, c, "", r, 0, -5, -5); },
        [](TCanvas *c, const TRect &r) { DrawErrorUnderline(nullptr, c, "abc", r, 3, 1, 1 << 30); },
        [](TCanvas *c, const TRect &r) { DrawErrorUnderline(nullptr, c, "abc", r, 3, 1 << 30, 2); },
        [](TCanvas *c, const TRect &r) { DrawBitmapTransparent(c, nullptr, clRed, r); },
        [](TCanvas *c, const TRect &r) { DrawSmallDownArrow(c, r.Left, r.Top, clRed); },
        [](TCanvas *c, const TRect &r) { FillRectColor(c, r, clNone); },
    };
    for (const TRect &r : rects)
        for (const auto &call : calls) {
            auto b = Blank(40, 30);
            call(b->Canvas(), r);
            call(nullptr, r);
        }
    EXPECT_EQ(ColorScalePercent(clWhite, std::numeric_limits<int>::max()), clWhite);
    EXPECT_EQ(ColorScalePercent(clWhite, std::numeric_limits<int>::min()), clBlack);
    EXPECT_EQ(InterpolateColor(clBlack, clWhite, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                               std::numeric_limits<int>::max()),
              static_cast<TColor>(RGB(127, 127, 127)));
}

} // namespace
