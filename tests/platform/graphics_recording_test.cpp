// The recording canvas pins geometry call by call, and draws as well when it has a size.
#include "platform/RecordingCanvas.h"
#include "platform/WinGdi.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(RecordingCanvas, RecordsOuterCallsWithArgumentsAndState)
{
    TRecordingCanvas c;
    c.Pen()->SetColor(clRed);
    c.Brush()->SetColor(clYellow);
    c.Rectangle(0, 0, 10, 10);
    c.MoveTo(1, 2);
    c.LineTo(5, 2);
    c.Brush()->SetStyle(TBrushStyle::bsClear);
    c.TextOut(3, 4, QStringLiteral("Hi"));
    c.Polygon({{0, 0}, {4, 0}, {2, 3}});
    EXPECT_EQ(c.Lines(), (QStringList{QStringLiteral("Rectangle(0,0,10,10)"), QStringLiteral("MoveTo(1,2)"),
                                      QStringLiteral("LineTo(5,2)"), QStringLiteral("TextOut(3,4,\"Hi\")"),
                                      QStringLiteral("Polygon(0,0,4,0,2,3)")}));
    const auto &calls = c.Calls();
    EXPECT_EQ(calls[0].PenColor, clRed);
    EXPECT_EQ(calls[0].BrushColor, clYellow);
    EXPECT_EQ(calls[0].BkMode, OPAQUE);
    EXPECT_EQ(calls[3].BkMode, TRANSPARENT); // a clear brush draws text without background
    EXPECT_EQ(c.PenPos(), Point(3 + c.TextWidth(QStringLiteral("Hi")), 4));
}

TEST(RecordingCanvas, DrawTextShowsOneTextCallPerLine)
{
    TRecordingCanvas c;
    const int lh = c.TextHeight(QStringLiteral("Wg"));
    TRect r(10, 20, 300, 200);
    DrawText(c.Handle(), QStringLiteral("first\r\nsecond"), -1, &r, DT_CENTER);
    const auto texts = c.CallsOf(QStringLiteral("ExtTextOut"));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("first"));
    EXPECT_EQ(texts[0].Args[0], 10 + (290 - c.TextWidth(QStringLiteral("first"))) / 2);
    EXPECT_EQ(texts[0].Args[1], 20);
    EXPECT_EQ(texts[1].Args[1], 20 + lh);
    EXPECT_EQ(texts[1].Args[2], static_cast<int>(ETO_CLIPPED));
}

TEST(RecordingCanvas, DrawsIntoItsImageWhenSized)
{
    TRecordingCanvas c(20, 20);
    c.Brush()->SetColor(clBlue);
    c.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(c.Image().pixel(4, 4), qRgb(0, 0, 255));
    EXPECT_EQ(c.Image().pixel(5, 5), qRgb(255, 255, 255));
    c.Clear();
    TRect e(0, 0, 20, 20);
    DrawEdge(c.Handle(), e, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    EXPECT_EQ(e, Rect(2, 2, 18, 18));
    EXPECT_EQ(c.CallsOf(QStringLiteral("FillRect")).size(), 8u);
}

TEST(RecordingCanvas, RightToLeftReadingReachesTheTextCall)
{
    TRecordingCanvas c;
    TRect r(0, 0, 100, 20);
    DrawText(c.Handle(), QStringLiteral("abc"), -1, &r, DT_SINGLELINE | DT_RTLREADING | DT_NOCLIP);
    const auto texts = c.CallsOf(QStringLiteral("ExtTextOut"));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].Args[2], static_cast<int>(ETO_RTLREADING));
}
