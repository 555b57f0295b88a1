// A control renders itself into any canvas at a given place.
#include "platform/Controls.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/Graphics.h"
#include "platform/Windows.h"

#include <gtest/gtest.h>

TEST(ControlsPaintTo, ControlLandsAtTheGivenPlace)
{
    TPanel panel(nullptr);
    panel.SetBevelOuter(bvNone);
    panel.SetBounds(0, 0, 20, 10);
    panel.SetColor(clRed);
    TBitmap bmp;
    bmp.SetSize(60, 40);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, 60, 40));
    panel.PaintTo(bmp.Canvas(), 30, 15);
    EXPECT_EQ(bmp.Canvas()->Pixels(35, 20), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(49, 24), clRed);
    EXPECT_EQ(bmp.Canvas()->Pixels(29, 20), clWhite);
    EXPECT_EQ(bmp.Canvas()->Pixels(50, 20), clWhite);
    EXPECT_EQ(bmp.Canvas()->Pixels(35, 25), clWhite);
    EXPECT_NO_THROW(panel.PaintTo(nullptr, 0, 0));
}
