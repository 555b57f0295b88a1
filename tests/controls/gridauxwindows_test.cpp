// The grid's arrow and focus windows, the alpha mask, the rounded mask and the blur.
#include "controls/GridAuxWindows.h"

#include "platform/Forms.h"
#include "platform/WinGdi.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

Byte *Px(TBitmap &B, int X, int Y)
{
    return static_cast<Byte *>(B.ScanLine(Y)) + X * 4;
}

void Fill24(TBitmap &B, int W, int H, Byte V)
{
    B.SetPixelFormat(TPixelFormat::pf24bit);
    B.SetSize(W, H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            Px(B, x, y)[0] = Px(B, x, y)[1] = Px(B, x, y)[2] = V;
}

TEST(GridBlur, FullChannelStaysFullAndFractionsAreDropped)
{
    TBitmap b;
    Fill24(b, 30, 30, 255);
    GaussBlur24(&b, 3);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(Px(b, x, y)[2], 255) << x << "," << y;

    TGaussKernel k;
    k.K = 1;
    k.Weights[9] = 0.1f;
    k.Weights[10] = 0.8f;
    k.Weights[11] = 0.1f;
    Byte row[12] = {254, 254, 254, 0, 255, 255, 255, 0, 255, 255, 255, 0};
    Byte buffer[12];
    BlurRow(row, 2, k, buffer);
    EXPECT_EQ(row[4], 254); // 0.1 x 254 + 0.8 x 255 + 0.1 x 255 = 254.9
    EXPECT_EQ(row[8], 255);
}

TEST(GridBlur, OnlyTheOuterBandsAreComputed)
{
    // A single bright pixel in the middle: computed, it spreads; copied from row or column 15,
    // it takes that row's or column's value.
    struct {
        int W, H, X, Y;
        bool Copied;
    } cases[] = {
        {5, 41, 2, 20, false}, {5, 42, 2, 21, true}, {41, 5, 20, 2, false}, {42, 5, 21, 2, true},
    };
    for (const auto &c : cases) {
        TBitmap b;
        Fill24(b, c.W, c.H, 0);
        Px(b, c.X, c.Y)[0] = 255;
        GaussBlur24(&b, 1);
        const Byte at = Px(b, c.X, c.Y)[0];
        const Byte ref = c.H > c.W ? Px(b, c.X, 15)[0] : Px(b, 15, c.Y)[0];
        if (c.Copied)
            EXPECT_EQ(at, ref) << c.W << "x" << c.H;
        else
            EXPECT_GT(at, ref + 10) << c.W << "x" << c.H;
    }
}

TEST(GridBlur, OnlyTwentyFourBitBitmapsAndPositiveRadii)
{
    TBitmap b(4, 4);
    try {
        GaussBlur24(&b, 2);
        FAIL() << "no exception";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), "Blur only works for 24-bit bitmaps");
    }
    Fill24(b, 4, 4, 0);
    Px(b, 1, 1)[1] = 200;
    GaussBlur24(&b, 0);
    GaussBlur24(&b, -1);
    EXPECT_EQ(Px(b, 1, 1)[1], 200);
    EXPECT_EQ(Px(b, 0, 1)[1], 0);
}

TEST(GridMasks, RoundRectMaskWithoutPenOrBlur)
{
    TBitmap filled;
    MakeRoundRectMask(&filled, 40, 30, 0, 4, 0);
    EXPECT_EQ(filled.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(Px(filled, 20, 15)[2], 255);
    EXPECT_EQ(Px(filled, 2, 15)[2], 255);
    EXPECT_EQ(Px(filled, 1, 15)[2], 0);
    EXPECT_EQ(Px(filled, 20, 1)[2], 0);

    TBitmap ring;
    MakeRoundRectMask(&ring, 40, 30, 4, 5, 0);
    EXPECT_EQ(Px(ring, 20, 15)[2], 0);
    EXPECT_EQ(Px(ring, 4, 15)[2], 255);
    EXPECT_EQ(Px(ring, 0, 15)[2], 0);
    // Exactly black or white: nothing was blurred.
    for (int x = 0; x < 40; ++x)
        EXPECT_TRUE(Px(ring, x, 15)[2] == 0 || Px(ring, x, 15)[2] == 255) << x;

    TBitmap soft;
    MakeRoundRectMask(&soft, 40, 30, 4, 5, 3);
    bool between = false;
    for (int x = 0; x < 40; ++x)
        between |= Px(soft, x, 15)[2] > 0 && Px(soft, x, 15)[2] < 255;
    EXPECT_TRUE(between);
}

TEST(GridMasks, MergeMaskPremultipliesByTheMaskAndCoversOnlyTheMask)
{
    TBitmap picture;
    Fill24(picture, 3, 2, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            Px(picture, x, y)[0] = 10;
            Px(picture, x, y)[1] = 128;
            Px(picture, x, y)[2] = 250;
        }
    TBitmap mask;
    Fill24(mask, 2, 2, 0);
    Px(mask, 1, 0)[2] = 255;
    Px(mask, 0, 1)[2] = 128;
    TGridAlphaMask m;
    EXPECT_EQ(m.Opacity(), 255);
    m.MergeMask(&mask, &picture, clRed);
    ASSERT_EQ(m.Width(), 3);
    ASSERT_EQ(m.Height(), 2);
    const Byte *p0 = Px(m, 0, 0), *p1 = Px(m, 1, 0), *half = Px(m, 0, 1), *outside = Px(m, 2, 1);
    EXPECT_EQ((std::array<Byte, 4>{p0[0], p0[1], p0[2], p0[3]}), (std::array<Byte, 4>{0, 0, 0, 0}));
    EXPECT_EQ((std::array<Byte, 4>{p1[0], p1[1], p1[2], p1[3]}), (std::array<Byte, 4>{10, 128, 250, 255}));
    EXPECT_EQ((std::array<Byte, 4>{half[0], half[1], half[2], half[3]}), (std::array<Byte, 4>{5, 64, 125, 128}));
    EXPECT_EQ(outside[3], 0);
    EXPECT_EQ(outside[2], 0);

    // A picture that is not 24-bit leaves the mask as it was.
    TBitmap other(8, 8);
    m.MergeMask(&mask, &other, clRed);
    EXPECT_EQ(m.Width(), 3);

    // A copy takes the source's size and opacity.
    TGridAlphaMask copy;
    copy.SetSize(1, 1);
    m.SetOpacity(230);
    copy.Assign(&m);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(copy.Height(), 2);
    EXPECT_EQ(copy.Opacity(), 230);
    EXPECT_EQ(Px(copy, 1, 0)[2], 250);
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf32bit);
}

TEST(GridWindows, ArrowWindowsAreCutToTheirArrows)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 200);
    const TArrowDirection dirs[] = {arrUp, arrDown, arrLeft, arrRight};
    for (TArrowDirection d : dirs) {
        auto *w = new TArrowWindow(form.get(), d);
        w->SetBounds(10, 10, 11, 11);
        w->HandleNeeded();
        EXPECT_EQ(w->Color(), TColorOf(0x00FF00u));
        EXPECT_FALSE(w->Visible());
        EXPECT_EQ(GetWindowLong(w->Handle(), GWL_STYLE), LPARAM(WS_POPUP));
        HRGN got = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(GetWindowRgn(w->Handle(), got), RGN_ERROR);
        auto pts = TArrowWindow::ArrowPoints(d);
        HRGN want = CreatePolygonRgn(pts.data(), 7, WINDING);
        EXPECT_TRUE(EqualRgn(got, want)) << int(d);
        DeleteObject(got);
        DeleteObject(want);
    }
    auto up = TArrowWindow::ArrowPoints(arrUp);
    EXPECT_EQ(up[0], TPoint(5, 0));
    EXPECT_EQ(up[6], TPoint(0, 5));
    auto right = TArrowWindow::ArrowPoints(arrRight);
    EXPECT_EQ(right[3], TPoint(8, 7));
}

TEST(GridWindows, FocusWindowIsADisabledTopmostToolPopup)
{
    auto form = std::make_unique<TForm>(nullptr);
    auto *w = new TGridFocusWindow(form.get());
    w->SetParent(form.get());
    EXPECT_EQ(w->Width(), 0);
    EXPECT_EQ(w->Height(), 0);
    EXPECT_EQ(w->Color(), TColorOf(0x0000FFu));
    w->HandleNeeded();
    EXPECT_EQ(GetWindowLong(w->Handle(), GWL_STYLE), LPARAM(0x88000000u));
    EXPECT_EQ(GetWindowLong(w->Handle(), GWL_EXSTYLE), LPARAM(0x00000088u));
}

} // namespace
