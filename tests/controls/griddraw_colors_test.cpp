// Colour arithmetic, stepped and mirrored gradients and the rounded selection frame, checked on
// the pixels of a bitmap.
#include "controls/ExtGridDraw.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

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

TEST(GridDrawColors, ScaleHalveAndInterpolate)
{
    EXPECT_EQ(ColorScalePercent(static_cast<TColor>(RGB(200, 100, 50)), -20), static_cast<TColor>(RGB(160, 80, 40)));
    EXPECT_EQ(ColorScalePercent(clWhite, 7), clWhite);
    // 2.5 rounds to the even 2; 255 + 7 % stays 255.
    EXPECT_EQ(ColorScalePercent(static_cast<TColor>(RGB(50, 255, 0)), 5), static_cast<TColor>(RGB(52, 255, 0)));
    // System colours are resolved first (button face is 0xF0F0F0 in the classic scheme).
    EXPECT_EQ(DarkenColorHalf(clBtnFace), static_cast<TColor>(ColorToRGB(clBtnFace) >> 1 & 0x7F7F7F));
    EXPECT_EQ(DarkenColorHalf(static_cast<TColor>(RGB(255, 3, 0))), static_cast<TColor>(RGB(127, 1, 0)));

    // 25.5 x 5 = 127.5: the half goes to the even 128.
    EXPECT_EQ(InterpolateColor(clBlack, clWhite, 0, 10, 5), static_cast<TColor>(RGB(128, 128, 128)));
    EXPECT_EQ(InterpolateColor(clBlack, clWhite, 0, 100, 100), clWhite);
    EXPECT_EQ(InterpolateColor(clRed, clNone, 0, 10, 5), clRed);
    // An empty range gives the start colour rather than a division by zero.
    EXPECT_EQ(InterpolateColor(clRed, clBlue, 7, 7, 3), clRed);
}

TEST(GridDrawGradients, SteppedGradientOverTenPixelsHasTenBands)
{
    auto b = Blank(4, 10);
    DrawSteppedGradient(b->Canvas(), clBlack, static_cast<TColor>(RGB(90, 0, 0)), 16, TRect(0, 0, 4, 10), false);
    std::set<TColor> bands;
    for (int y = 0; y < 10; ++y) {
        bands.insert(Px(*b, 0, y));
        EXPECT_EQ(Px(*b, 3, y), Px(*b, 0, y)) << y;
    }
    EXPECT_EQ(bands.size(), 10u);
    EXPECT_EQ(Px(*b, 0, 0), clBlack);
    EXPECT_EQ(Px(*b, 0, 9), static_cast<TColor>(RGB(90, 0, 0)));
    EXPECT_EQ(Px(*b, 0, 5), static_cast<TColor>(RGB(50, 0, 0)));
}

TEST(GridDrawGradients, SteppedGradientEdgeCases)
{
    // Horizontal, fewer steps than pixels: two steps over 11 pixels give three bands.
    auto b = Blank(11, 2);
    DrawSteppedGradient(b->Canvas(), clBlack, clWhite, 2, TRect(0, 0, 11, 2), true);
    EXPECT_EQ(Px(*b, 0, 0), clBlack);
    EXPECT_EQ(Px(*b, 5, 1), static_cast<TColor>(RGB(128, 128, 128)));
    EXPECT_EQ(Px(*b, 10, 0), clWhite);

    // A clNone end fills with the other colour; a reversed rectangle is drawn the right way up.
    auto c = Blank(4, 4);
    DrawSteppedGradient(c->Canvas(), clNone, clRed, 8, TRect(0, 4, 4, 0), false);
    EXPECT_EQ(Px(*c, 1, 1), clRed);
    // A one-pixel extent is filled with the start colour.
    auto d = Blank(4, 1);
    DrawSteppedGradient(d->Canvas(), clLime, clRed, 8, TRect(0, 0, 4, 1), false);
    EXPECT_EQ(Px(*d, 2, 0), clLime);
    // Nothing at all for an empty height.
    auto e = Blank(4, 4);
    DrawSteppedGradient(e->Canvas(), clLime, clRed, 8, TRect(0, 2, 4, 2), false);
    EXPECT_EQ(Px(*e, 1, 2), Backdrop);
}

TEST(GridDrawGradients, MirrorGradientHalvesAndBorders)
{
    auto b = Blank(10, 20);
    DrawMirrorGradientRect(b->Canvas(), TRect(0, 0, 10, 20), clRed, clRed, clBlue, clBlue, true, clLime, false, true);
    EXPECT_EQ(Px(*b, 5, 5), clRed);
    EXPECT_EQ(Px(*b, 5, 15), clBlue);
    EXPECT_EQ(Px(*b, 0, 10), clLime);
    EXPECT_EQ(Px(*b, 5, 0), clLime);
    EXPECT_EQ(Px(*b, 5, 19), clLime);

    // Side lines only, horizontal halves.
    auto c = Blank(10, 6);
    DrawMirrorGradientRect(c->Canvas(), TRect(0, 0, 10, 6), clRed, clRed, clBlue, clBlue, false, clLime, true, true);
    EXPECT_EQ(Px(*c, 2, 3), clRed);
    EXPECT_EQ(Px(*c, 7, 3), clBlue);
    EXPECT_EQ(Px(*c, 0, 3), clLime);
    EXPECT_EQ(Px(*c, 9, 3), clLime);
    EXPECT_EQ(Px(*c, 4, 0), clRed);

    // A plain fill reaches one pixel below the rectangle; no fill leaves the inside alone.
    auto d = Blank(6, 6);
    DrawMirrorGradientRect(d->Canvas(), TRect(0, 0, 6, 4), clRed, clNone, clNone, clNone, true, clNone, false, true);
    EXPECT_EQ(Px(*d, 2, 4), clRed);
    EXPECT_EQ(Px(*d, 2, 5), Backdrop);
    auto e = Blank(6, 6);
    DrawMirrorGradientRect(e->Canvas(), TRect(0, 0, 6, 6), clRed, clNone, clNone, clNone, true, clLime, false, false);
    EXPECT_EQ(Px(*e, 2, 2), Backdrop);
    EXPECT_EQ(Px(*e, 0, 0), clLime);
}

// A single piece over (0, 0, 12, 12): the frame lives in (0, 0, 11, 10).
TEST(GridDrawSelection, CornersOfASinglePieceAreRounded)
{
    constexpr TColor Fill = 0xAA0000, Upper = 0x00AA00, Lower = 0x0000AA, Outer = 0x00AAAA, InnerCorner = 0xAA00AA,
                     OuterCorner = 0xAAAA00;
    auto b = Blank(12, 12);
    PaintStyledSelection(b->Canvas(), Fill, clNone, clNone, clNone, Upper, Lower, Outer, InnerCorner, OuterCorner,
                         TRect(0, 0, 12, 12), 0);
    struct TPixel {
        int X, Y;
        TColor Expected;
    };
    const TPixel pixels[] = {
        // top-left corner
        {0, 0, OuterCorner}, {1, 0, InnerCorner}, {1, 1, InnerCorner}, {0, 1, InnerCorner}, {2, 0, Outer},
        {0, 2, Outer}, {2, 1, Upper}, {1, 2, Upper},
        // top-right corner (right edge 10)
        {10, 0, OuterCorner}, {9, 0, InnerCorner}, {9, 1, InnerCorner}, {10, 1, InnerCorner}, {10, 2, Outer},
        // bottom corners (bottom edge 10)
        {0, 10, OuterCorner}, {1, 10, InnerCorner}, {1, 9, InnerCorner}, {0, 9, InnerCorner}, {10, 10, OuterCorner},
        {5, 10, Outer}, {5, 9, Lower}, {1, 7, Lower},
        // inside, and nothing beyond the frame
        {5, 5, Fill}, {2, 2, Fill}, {8, 8, Fill}, {11, 5, Backdrop}, {5, 11, Backdrop},
    };
    for (const TPixel &p : pixels)
        EXPECT_EQ(Px(*b, p.X, p.Y), p.Expected) << p.X << "," << p.Y;
}

TEST(GridDrawSelection, MiddlePieceHasNoEndsAndMirrorFillSplits)
{
    constexpr TColor Upper = 0x00AA00, Lower = 0x0000AA, Outer = 0x00AAAA;
    auto b = Blank(12, 12);
    PaintStyledSelection(b->Canvas(), clRed, clRed, clBlue, clBlue, Upper, Lower, Outer, clWhite, clBlack,
                         TRect(0, 0, 12, 12), 3);
    EXPECT_EQ(Px(*b, 0, 0), Outer);
    EXPECT_EQ(Px(*b, 0, 1), Upper);
    EXPECT_EQ(Px(*b, 0, 3), clRed);
    EXPECT_EQ(Px(*b, 0, 7), clBlue);
    EXPECT_EQ(Px(*b, 10, 10), Outer);

    // A left end rounds only its left corners, a right end only its right ones.
    for (int piece : {1, 2}) {
        auto e = Blank(12, 12);
        PaintStyledSelection(e->Canvas(), clRed, clNone, clNone, clNone, Upper, Lower, Outer, clWhite, clBlack,
                             TRect(0, 0, 12, 12), piece);
        EXPECT_EQ(Px(*e, 0, 0), piece == 1 ? clBlack : Outer) << piece;
        EXPECT_EQ(Px(*e, 10, 0), piece == 2 ? clBlack : Outer) << piece;
        EXPECT_EQ(Px(*e, 0, 5), piece == 1 ? Outer : clRed) << piece;
        EXPECT_EQ(Px(*e, 10, 5), piece == 2 ? Outer : clRed) << piece;
    }
}

TEST(GridDrawSmall, DownArrowIsASevenPixelTriangle)
{
    auto b = Blank(10, 6);
    DrawSmallDownArrow(b->Canvas(), 5, 1, clRed);
    EXPECT_EQ(Px(*b, 2, 1), clRed);
    EXPECT_EQ(Px(*b, 8, 1), clRed);
    EXPECT_EQ(Px(*b, 5, 4), clRed);
    EXPECT_EQ(Px(*b, 5, 0), Backdrop);
    EXPECT_EQ(Px(*b, 1, 1), Backdrop);
    EXPECT_EQ(Px(*b, 5, 5), Backdrop);
}

} // namespace
