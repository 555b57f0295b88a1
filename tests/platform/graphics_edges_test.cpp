// Classic 3-D edges and frame controls in the fixed system colours.
#include "platform/Graphics.h"
#include "platform/WinGdi.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

TColorRef At(TBitmap &b, int x, int y)
{
    const QRgb p = b.Image().pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

std::unique_ptr<TBitmap> Blank()
{
    auto b = std::make_unique<TBitmap>(20, 20);
    b->Canvas()->Brush()->SetColor(clFuchsia);
    b->Canvas()->FillRect(Rect(0, 0, 20, 20));
    return b;
}

} // namespace

TEST(GraphicsEdges, EdgeKindsUseTheClassicColours)
{
    struct Case {
        unsigned Edge, Flags;
        int OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight;
    };
    const Case cases[] = {
        {EDGE_RAISED, BF_RECT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
        {EDGE_SUNKEN, BF_RECT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
        {EDGE_ETCHED, BF_RECT, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW},
        {EDGE_BUMP, BF_RECT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
        {EDGE_RAISED, BF_RECT | BF_SOFT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW},
        {EDGE_SUNKEN, BF_RECT | BF_FLAT, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE},
    };
    for (const Case &k : cases) {
        auto b = Blank();
        TRect r(2, 2, 12, 12);
        ASSERT_TRUE(DrawEdge(b->Canvas()->Handle(), r, k.Edge, k.Flags));
        EXPECT_EQ(At(*b, 2, 5), GetSysColor(k.OuterTopLeft)) << k.Edge << " " << k.Flags;
        EXPECT_EQ(At(*b, 5, 2), GetSysColor(k.OuterTopLeft));
        EXPECT_EQ(At(*b, 11, 5), GetSysColor(k.OuterBottomRight));
        EXPECT_EQ(At(*b, 5, 11), GetSysColor(k.OuterBottomRight));
        EXPECT_EQ(At(*b, 3, 5), GetSysColor(k.InnerTopLeft));
        EXPECT_EQ(At(*b, 10, 5), GetSysColor(k.InnerBottomRight));
        EXPECT_EQ(At(*b, 5, 5), RGB(255, 0, 255)); // no BF_MIDDLE: the inside is untouched
        EXPECT_EQ(At(*b, 12, 5), RGB(255, 0, 255));
        EXPECT_EQ(r, Rect(2, 2, 12, 12)); // no BF_ADJUST
    }
}

TEST(GraphicsEdges, AdjustMiddleAndPartialSides)
{
    auto b = Blank();
    TRect r(0, 0, 10, 10);
    DrawEdge(b->Canvas()->Handle(), r, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_ADJUST | BF_MIDDLE);
    EXPECT_EQ(r, Rect(1, 1, 10, 10));
    EXPECT_EQ(At(*b, 0, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(*b, 9, 5), GetSysColor(COLOR_BTNFACE)); // no right side: middle fill
    EXPECT_EQ(At(*b, 5, 5), GetSysColor(COLOR_BTNFACE));
}

TEST(GraphicsEdges, CheckBoxStatesAndScrollArrows)
{
    auto check = [](unsigned state) {
        auto b = Blank();
        TRect r(0, 0, 13, 13);
        DrawFrameControl(b->Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONCHECK | state);
        int marks = 0;
        for (int y = 2; y < 11; ++y)
            for (int x = 2; x < 11; ++x)
                marks += At(*b, x, y) == GetSysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
        return std::make_pair(marks, At(*b, 2, 2));
    };
    EXPECT_EQ(check(0).first, 0);
    EXPECT_EQ(check(0).second, GetSysColor(COLOR_WINDOW));
    EXPECT_GT(check(DFCS_CHECKED).first, 10);
    EXPECT_GT(check(DFCS_CHECKED | DFCS_INACTIVE).first, 10);
    EXPECT_EQ(check(DFCS_INACTIVE).second, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(check(DFCS_PUSHED).second, GetSysColor(COLOR_BTNFACE));

    // Push button: raised, a pushed one has a shadow frame.
    auto b = Blank();
    TRect r(0, 0, 20, 20);
    DrawFrameControl(b->Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_EQ(At(*b, 0, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(At(*b, 19, 5), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(At(*b, 10, 10), GetSysColor(COLOR_BTNFACE));
    DrawFrameControl(b->Canvas()->Handle(), r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(At(*b, 0, 5), GetSysColor(COLOR_BTNSHADOW));

    // The combo button is a down arrow: more arrow pixels in the upper rows of the triangle.
    auto a = Blank();
    TRect ar(0, 0, 17, 17);
    DrawFrameControl(a->Canvas()->Handle(), ar, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    auto count = [&](int y) {
        int n = 0;
        for (int x = 0; x < 17; ++x)
            n += At(*a, x, y) == GetSysColor(COLOR_BTNTEXT);
        return n;
    };
    int first = -1, last = -1;
    for (int y = 0; y < 17; ++y)
        if (count(y) > 0) {
            if (first < 0)
                first = y;
            last = y;
        }
    ASSERT_GE(first, 0);
    EXPECT_GT(count(first), count(last));
    EXPECT_EQ(count(last), 1);
}
