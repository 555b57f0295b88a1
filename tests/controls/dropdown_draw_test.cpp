// The drop-down unit's gradient fill, colour blending, text fitting and text classes.
#include "controls/ExtDropDown.h"

#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr TColor Backdrop = 0x123456;

std::unique_ptr<TBitmap> Blank(int W, int H)
{
    auto b = std::make_unique<TBitmap>(W, H);
    b->Canvas()->Brush()->SetColor(Backdrop);
    b->Canvas()->FillRect(TRect(0, 0, W, H));
    return b;
}

TColor Px(TBitmap &b, int x, int y) { return b.Canvas()->Pixels(x, y); }

TColor Rgb(int r, int g, int b) { return static_cast<TColor>(RGB(r, g, b)); }

// Sets the separators for one test and puts the old ones back.
struct TSeparators {
    TSeparators(QChar Thousand, QChar Decimal) : FOld(FormatSettings)
    {
        FormatSettings.ThousandSeparator = Thousand;
        FormatSettings.DecimalSeparator = Decimal;
    }
    ~TSeparators() { FormatSettings = FOld; }
    TFormatSettings FOld;
};

TEST(DropDownGradient, TwoStepsFromBlackToWhite)
{
    auto b = Blank(11, 4);
    DrawGradient(b->Canvas(), clBlack, clWhite, 2, TRect(0, 0, 11, 4), true);
    for (int x = 0; x < 11; ++x)
        EXPECT_EQ(Px(*b, x, 2), x < 5 ? clBlack : Rgb(128, 128, 128)) << x;
    EXPECT_EQ(Px(*b, 10, 3), Rgb(128, 128, 128));
    // Bands are as long as the rounded band size (4.5 -> 4 here) plus the overlapping pixel, so
    // on an even width the last column stays as it was.
    auto c = Blank(10, 4);
    DrawGradient(c->Canvas(), clBlack, clWhite, 2, TRect(0, 0, 10, 4), true);
    EXPECT_EQ(Px(*c, 3, 2), clBlack);
    EXPECT_EQ(Px(*c, 4, 2), Rgb(128, 128, 128));
    EXPECT_EQ(Px(*c, 8, 2), Rgb(128, 128, 128));
    EXPECT_EQ(Px(*c, 9, 2), Backdrop);
}

TEST(DropDownGradient, StepCountsAndDirection)
{
    // No steps: one band of the start colour over everything.
    auto b = Blank(6, 6);
    DrawGradient(b->Canvas(), clRed, clBlue, 0, TRect(0, 0, 6, 6), false);
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(Px(*b, 3, y), clRed) << y;
    // As many steps as band positions: bands one pixel wide, the last one short of the end
    // colour and covering the last column too.
    auto c = Blank(5, 2);
    DrawGradient(c->Canvas(), Rgb(0, 0, 0), Rgb(40, 0, 0), 4, TRect(0, 0, 5, 2), true);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(Px(*c, x, 0), Rgb(10 * std::min(x, 3), 0, 0)) << x;
    // Vertical bands run top to bottom; system colours are resolved first.
    auto d = Blank(3, 8);
    DrawGradient(d->Canvas(), clBtnFace, clBlack, 2, TRect(0, 0, 3, 8), false);
    EXPECT_EQ(Px(*d, 1, 0), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_NE(Px(*d, 1, 7), Px(*d, 1, 0));
    EXPECT_EQ(Px(*d, 2, 7), Px(*d, 0, 7));
}

TEST(DropDownGradient, GradientRectFillsAndFrames)
{
    auto b = Blank(20, 10);
    DrawGradientRect(b->Canvas(), TRect(0, 0, 20, 10), clRed, clNone, clLime, 1, true);
    EXPECT_EQ(Px(*b, 10, 5), clRed);
    EXPECT_EQ(Px(*b, 0, 5), clLime);
    auto c = Blank(20, 10);
    DrawGradientRect(c->Canvas(), TRect(0, 0, 20, 10), clBlack, clWhite, clNone, 3, true);
    // Eighty steps over ten rows: the first rows are painted over by the next few bands.
    EXPECT_LT(GetRValue(static_cast<TColorRef>(Px(*c, 10, 0))), 20);
    EXPECT_GT(GetRValue(static_cast<TColorRef>(Px(*c, 10, 8))), 200);
    EXPECT_EQ(Px(*c, 0, 9), Px(*c, 19, 9)); // vertical: bands across the whole width
    DrawGradientRect(nullptr, TRect(0, 0, 20, 10), clBlack, clWhite, clRed, 1, true);
}

TEST(DropDownColors, BlendAndShade)
{
    struct TBlend {
        TColor A, B;
        int Percent;
        TColor Expected;
    };
    const TBlend blends[] = {
        {clBtnFace, clBlack, 100, clBtnFace}, // unconverted
        {clRed, clInfoBk, 0, clInfoBk},
        {clRed, clBlue, 150, clRed},
        {Rgb(200, 100, 0), Rgb(100, 0, 50), 50, Rgb(150, 50, 25)},
        {Rgb(255, 0, 0), Rgb(0, 0, 0), 50, Rgb(128, 0, 0)}, // 127.5 goes to the even 128
        {Rgb(10, 20, 30), Rgb(110, 120, 130), 30, Rgb(80, 90, 100)},
    };
    for (const TBlend &c : blends)
        EXPECT_EQ(BlendColors(c.A, c.B, c.Percent), c.Expected) << c.Percent;

    struct TShade {
        TColor Color;
        int R, G, B;
        TColor Expected;
    };
    const TShade shades[] = {
        {0x0000FF, -50, 20, 0, Rgb(128, 20, 0)},
        {Rgb(100, 200, 50), 30, -10, -100, Rgb(100, 180, 0)},
        {Rgb(0, 0, 0), -5, 300, 7, Rgb(0, 300 & 0xFF, 7)},
        {Rgb(10, 0, 0), -200, 0, 0, Rgb((-10) & 0xFF, 0, 0)},
    };
    for (const TShade &c : shades)
        EXPECT_EQ(ShadeColor(c.Color, c.R, c.G, c.B), c.Expected);
}

TEST(DropDownText, MeasureAndFit)
{
    auto b = Blank(10, 10);
    TCanvas *c = b->Canvas();
    c->Font()->SetName("Tahoma");
    c->Font()->SetHeight(-11);
    TSize size{9, 9};
    MeasureTextSize(c, "", size);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    MeasureTextSize(c, "Hello", size);
    EXPECT_EQ(size.cx, c->TextWidth("Hello"));
    EXPECT_EQ(size.cy, c->TextHeight("Hello"));

    const UnicodeString text = "Configuration";
    const int full = c->TextWidth(text);
    struct TCase {
        int Max;
        bool Dots;
    };
    for (const TCase k : {TCase{full, true}, TCase{full - 1, true}, TCase{full - 1, false}, TCase{full / 2, true},
                          TCase{1, true}, TCase{-5, false}}) {
        UnicodeString got;
        FitTextToWidth(c, text, k.Max, k.Dots, got);
        if (k.Max >= full) {
            EXPECT_EQ(got, text);
            continue;
        }
        // The longest head narrower than the limit, or the whole text when none is.
        UnicodeString want = text;
        for (int n = text.size() - 1; n >= 0; --n) {
            const UnicodeString cand = text.left(n) + (k.Dots ? "..." : "");
            if (c->TextWidth(cand) < k.Max) {
                want = cand;
                break;
            }
        }
        EXPECT_EQ(got, want) << k.Max << " " << k.Dots;
        if (k.Max == full / 2) {
            EXPECT_TRUE(got.endsWith("..."));
            EXPECT_LT(got.size(), text.size() + 3);
        }
    }
}

TEST(DropDownText, NumberKinds)
{
    TSeparators seps(QLatin1Char(','), QLatin1Char('.'));
    struct TCase {
        const char *Text;
        int Kind;
    };
    const TCase cases[] = {
        {"123", 0},      {"-42", 0},        {"12.5", 1},     {"1,234.5", 1},   {"1,234,567", 1}, {",123", 2},
        {"1,23,456", 1}, {"1F", 5},         {"ff-a0", 5},    {"--1", 2},       {"1.2.3", 2},     {"", 2},
        {"12a.5", 2},    {"abc", 5},        {"1 2", 2},      {"-", 0},         {"1,,2", 2},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(DropDownNumberKind(c.Text), c.Kind) << c.Text;

    // Separators follow the format settings: with "." for thousands and "," for decimals.
    TSeparators european(QLatin1Char('.'), QLatin1Char(','));
    EXPECT_EQ(DropDownNumberKind("1.234,5"), 1);
    EXPECT_EQ(DropDownNumberKind("1,2,3"), 2);
    EXPECT_EQ(StripThousandSeparators("1.234.567,8"), "1234567,8");
    EXPECT_EQ(ThousandSeparatorChar(), QLatin1Char('.'));
    EXPECT_EQ(DecimalSeparatorChar(), QLatin1Char(','));
}

TEST(DropDownText, HexAndOtherClasses)
{
    EXPECT_EQ(HexTextToInt("FF"), 255);
    EXPECT_EQ(HexTextToInt("fF"), 255);
    EXPECT_EQ(HexTextToInt("1G"), 16);
    EXPECT_EQ(HexTextToInt(""), 0);
    EXPECT_EQ(HexTextToInt("FFFFFFFF"), -1);
    EXPECT_EQ(HexTextToInt("123456789"), 0x23456789); // wraps at 32 bits
    EXPECT_EQ(HexDigitValue(QLatin1Char('z')), 0);
    EXPECT_EQ(HexDigitValue(QLatin1Char('b')), 11);
    for (const char *sep : {",", "-", ";"})
        EXPECT_TRUE(IsRangeSeparator(QLatin1Char(sep[0])));
    EXPECT_FALSE(IsRangeSeparator(QLatin1Char('.')));
    EXPECT_EQ(CaseFoldText(QString::fromUtf8("straße ä"), false), AnsiUpperCase(QString::fromUtf8("straße ä")));
    EXPECT_EQ(CaseFoldText("MiXed", true), "MiXed");
}

TEST(DropDownPictures, ImageAndTextAndBitmapOnColor)
{
    TImageList images(8, 8);
    TBitmap glyph(8, 8);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect(0, 0, 8, 8));
    images.Add(&glyph, nullptr);
    auto b = Blank(60, 20);
    b->Canvas()->Font()->SetColor(clBlack);
    DrawImageAndText(b->Canvas(), TRect(0, 0, 60, 20), "Ab", &images, 0);
    EXPECT_EQ(Px(*b, 4, 6), clRed);
    EXPECT_EQ(Px(*b, 11, 13), clRed);
    EXPECT_EQ(Px(*b, 3, 6), Backdrop);
    // The text starts after the image and its gap (left aligned).
    int firstText = -1;
    for (int x = 12; x < 60 && firstText < 0; ++x)
        for (int y = 0; y < 20; ++y)
            if (Px(*b, x, y) == clBlack) {
                firstText = x;
                break;
            }
    EXPECT_GE(firstText, 16);
    EXPECT_LE(firstText, 18);

    TBitmap pic(4, 4);
    pic.Canvas()->Brush()->SetColor(clFuchsia);
    pic.Canvas()->FillRect(TRect(0, 0, 4, 4));
    pic.Canvas()->SetPixel(1, 1, clBlue);
    auto c = Blank(10, 10);
    DrawBitmapOnColor(c->Canvas(), &pic, clYellow, TRect(2, 2, 5, 5));
    EXPECT_EQ(Px(*c, 2, 2), clYellow);
    EXPECT_EQ(Px(*c, 3, 3), clBlue);
    EXPECT_EQ(Px(*c, 5, 5), Backdrop); // only the rectangle's size is copied
    DrawBitmapOnColor(c->Canvas(), nullptr, clYellow, TRect(2, 2, 5, 5));
}

} // namespace
