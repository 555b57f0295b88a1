// DrawText layout: measuring, word breaks, ellipses, vertical placement and the "&" prefix.
#include "platform/Graphics.h"
#include "platform/RecordingCanvas.h"
#include "platform/WinGdi.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

class DrawTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FBitmap = std::make_unique<TBitmap>(200, 100);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, 200, 100));
        Canvas()->Font()->SetName(QStringLiteral("Tahoma"));
        Canvas()->Font()->SetHeight(-11);
        Canvas()->Font()->SetColor(clBlack);
        Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    }

    TCanvas *Canvas() { return FBitmap->Canvas(); }
    HDC DC() { return Canvas()->Handle(); }
    int LineHeight() { return Canvas()->TextHeight(QStringLiteral("Wg")); }

    // The bounding box of the non-white pixels; empty when nothing was drawn.
    QRect Ink()
    {
        const QImage img = FBitmap->ToImage();
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    void Clear()
    {
        Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, 200, 100));
        Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    }

    std::unique_ptr<TBitmap> FBitmap;
};

} // namespace

TEST_F(DrawTextTest, CalcRectMeasuresOneLineAndWrappedText)
{
    const QString text = QStringLiteral("The quick brown fox jumps");
    TRect r(10, 10, 20, 10);
    const int h = DrawText(DC(), text, -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(h, LineHeight());
    EXPECT_EQ(r, Rect(10, 10, 10 + Canvas()->TextWidth(text), 10 + LineHeight()));
    EXPECT_EQ(Ink(), QRect()); // measuring draws nothing

    // Word breaks keep the width and grow the height line by line.
    const int width = Canvas()->TextWidth(QStringLiteral("The quick brown")) + 2;
    TRect w(0, 0, width, 0);
    const int hw = DrawText(DC(), text, -1, &w, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(hw, 2 * LineHeight());
    EXPECT_EQ(w.Bottom, 2 * LineHeight());
    EXPECT_EQ(w.Right, width);

    // Line breaks in the text count; a word wider than the rectangle widens it.
    TRect n(0, 0, 5, 0);
    DrawText(DC(), QStringLiteral("a\r\nb\nc"), -1, &n, DT_CALCRECT);
    EXPECT_EQ(n.Bottom, 3 * LineHeight());
    TRect lw(0, 0, 5, 0);
    DrawText(DC(), QStringLiteral("Extraordinary"), -1, &lw, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(lw.Right, Canvas()->TextWidth(QStringLiteral("Extraordinary")));
    EXPECT_EQ(lw.Bottom, LineHeight());
}

TEST_F(DrawTextTest, WordBreakDrawsEveryLineInsideTheRectangle)
{
    const QString text = QStringLiteral("one two three four five six");
    const int width = Canvas()->TextWidth(QStringLiteral("three four")) + 1;
    TRect r(0, 0, width, 100);
    const int h = DrawText(DC(), text, -1, &r, DT_WORDBREAK);
    EXPECT_GE(h, 3 * LineHeight());
    const QRect ink = Ink();
    EXPECT_LT(ink.right(), width);
    EXPECT_GT(ink.bottom(), 2 * LineHeight());
}

TEST_F(DrawTextTest, EndEllipsisShortensWithDots)
{
    QString text = QStringLiteral("A rather long caption for a small cell");
    const int width = Canvas()->TextWidth(QStringLiteral("A rather long"));
    TRect r(0, 0, width, 20);
    DRAWTEXTPARAMS params;
    DrawTextEx(DC(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, &params);
    EXPECT_TRUE(text.endsWith(QStringLiteral("..."))) << text.toStdString();
    EXPECT_TRUE(QStringLiteral("A rather long caption").startsWith(text.left(text.size() - 3)));
    EXPECT_LE(Canvas()->TextWidth(text), width);
    EXPECT_LT(Ink().right(), width);

    // Text that fits is left alone.
    QString fits = QStringLiteral("Short");
    TRect wide(0, 0, 200, 20);
    DrawTextEx(DC(), fits, -1, &wide, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(fits, QStringLiteral("Short"));
}

TEST_F(DrawTextTest, PathAndWordEllipsis)
{
    QString path = QStringLiteral("C:\\Program Files\\Fabricor\\PROJECTS\\Plant one\\bin\\bank.bin");
    const int width = Canvas()->TextWidth(QStringLiteral("C:\\Program...\\bank.bin"));
    TRect r(0, 0, width, 20);
    DrawTextEx(DC(), path, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_TRUE(path.endsWith(QStringLiteral("...\\bank.bin"))) << path.toStdString();
    EXPECT_TRUE(path.startsWith(QStringLiteral("C:\\"))) << path.toStdString();

    QString words = QStringLiteral("alpha beta gamma delta");
    TRect w(0, 0, Canvas()->TextWidth(QStringLiteral("alpha beta ga...")), 20);
    DrawTextEx(DC(), words, -1, &w, DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_MODIFYSTRING, nullptr);
    EXPECT_EQ(words, QStringLiteral("alpha beta..."));
}

TEST_F(DrawTextTest, VerticalCentreActsOnlyOnASingleLine)
{
    TRect r(0, 0, 200, 60);
    const int lh = LineHeight();
    DrawText(DC(), QStringLiteral("Middle"), -1, &r, DT_VCENTER);
    const QRect top = Ink();
    ASSERT_FALSE(top.isEmpty());
    EXPECT_LT(top.top(), lh); // drawn at the top

    Clear();
    const int off = DrawText(DC(), QStringLiteral("Middle"), -1, &r, DT_VCENTER | DT_SINGLELINE);
    const QRect mid = Ink();
    EXPECT_GE(mid.top(), (60 - lh) / 2);
    EXPECT_LE(mid.bottom(), (60 - lh) / 2 + lh);
    EXPECT_EQ(off, (60 - lh) / 2 + lh);

    Clear();
    DrawText(DC(), QStringLiteral("Bottom"), -1, &r, DT_BOTTOM | DT_SINGLELINE);
    EXPECT_GE(Ink().top(), 60 - lh);
}

TEST_F(DrawTextTest, HorizontalAlignment)
{
    const QString text = QStringLiteral("Mm");
    const int w = Canvas()->TextWidth(text);
    TRect r(0, 0, 200, 20);
    DrawText(DC(), text, -1, &r, DT_RIGHT | DT_SINGLELINE);
    EXPECT_GE(Ink().left(), 200 - w);
    Clear();
    DrawText(DC(), text, -1, &r, DT_CENTER | DT_SINGLELINE);
    EXPECT_GE(Ink().left(), (200 - w) / 2);
    EXPECT_LE(Ink().right(), (200 + w) / 2);
}

TEST_F(DrawTextTest, AmpersandPrefixUnderlinesTheNextCharacter)
{
    TRect r(0, 0, 200, 30);
    const int f = Canvas()->TextWidth(QStringLiteral("F"));
    TRect calc(0, 0, 0, 0);
    DrawText(DC(), QStringLiteral("&File"), -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(calc.Right, Canvas()->TextWidth(QStringLiteral("File")));

    DrawText(DC(), QStringLiteral("&File"), -1, &r, DT_SINGLELINE);
    const QRect withLine = Ink();
    Clear();
    DrawText(DC(), QStringLiteral("File"), -1, &r, DT_SINGLELINE);
    const QRect plain = Ink();
    // The underline lies below the letters, under the F only.
    EXPECT_GT(withLine.bottom(), plain.bottom());
    const QImage img = [&] {
        Clear();
        DrawText(DC(), QStringLiteral("&File"), -1, &r, DT_SINGLELINE);
        return FBitmap->ToImage();
    }();
    const int y = withLine.bottom();
    bool underF = false, underRest = false;
    for (int x = 0; x < 200; ++x)
        if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
            (x < f ? underF : underRest) = true;
    EXPECT_TRUE(underF);
    EXPECT_FALSE(underRest);

    // DT_NOPREFIX draws the ampersand itself: wider than "File".
    Clear();
    TRect np(0, 0, 0, 0);
    DrawText(DC(), QStringLiteral("&File"), -1, &np, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(np.Right, Canvas()->TextWidth(QStringLiteral("&File")));
    DrawText(DC(), QStringLiteral("&File"), -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Ink().bottom(), plain.bottom());
    EXPECT_GT(Ink().right(), plain.right());

    // "&&" is one ampersand; DT_HIDEPREFIX drops the underline.
    TRect amp(0, 0, 0, 0);
    DrawText(DC(), QStringLiteral("A&&B"), -1, &amp, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(amp.Right, Canvas()->TextWidth(QStringLiteral("A&B")));
    Clear();
    DrawText(DC(), QStringLiteral("&File"), -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(Ink(), plain);
}

TEST_F(DrawTextTest, ClipsUnlessNoClip)
{
    TRect r(0, 0, 10, 20);
    DrawText(DC(), QStringLiteral("Wide text here"), -1, &r, DT_SINGLELINE);
    EXPECT_LT(Ink().right(), 10);
    Clear();
    DrawText(DC(), QStringLiteral("Wide text here"), -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Ink().right(), 10);
}

TEST_F(DrawTextTest, ExpandTabsAndMargins)
{
    TRect r(0, 0, 0, 0);
    DrawText(DC(), QStringLiteral("a\tb"), -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(DC(), tm));
    EXPECT_EQ(r.Right, 8 * tm.tmAveCharWidth + Canvas()->TextWidth(QStringLiteral("b")));

    DRAWTEXTPARAMS p;
    p.iLeftMargin = 7;
    p.iRightMargin = 3;
    QString t = QStringLiteral("x");
    TRect m(0, 0, 0, 0);
    DrawTextEx(DC(), t, -1, &m, DT_CALCRECT | DT_SINGLELINE, &p);
    EXPECT_EQ(m.Right, 10 + Canvas()->TextWidth(t));
}

TEST_F(DrawTextTest, EditControlHidesAPartlyVisibleLastLine)
{
    const int lh = LineHeight();
    TRect r(0, 0, 200, lh + lh / 2);
    DrawText(DC(), QStringLiteral("first\nsecond"), -1, &r, DT_EDITCONTROL | DT_NOCLIP);
    EXPECT_LT(Ink().bottom(), lh);
}

TEST_F(DrawTextTest, TextMetricsAndExtents)
{
    TEXTMETRIC tm;
    ASSERT_TRUE(GetTextMetrics(DC(), tm));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmHeight, LineHeight());
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 11);
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    // Lines are tmHeight apart, tmHeight + tmExternalLeading with DT_EXTERNALLEADING.
    TRect plain(0, 0, 100, 0);
    EXPECT_EQ(DrawText(DC(), QStringLiteral("a\nb"), -1, &plain, DT_CALCRECT), 2 * tm.tmHeight);
    TRect led(0, 0, 100, 0);
    EXPECT_EQ(DrawText(DC(), QStringLiteral("a\nb"), -1, &led, DT_CALCRECT | DT_EXTERNALLEADING),
              2 * (tm.tmHeight + tm.tmExternalLeading));
    EXPECT_EQ(led.Bottom, 2 * (tm.tmHeight + tm.tmExternalLeading));

    const QString s = QStringLiteral("abcdef");
    int dx[6] = {};
    int fit = -1;
    TSize size;
    const int limit = Canvas()->TextWidth(QStringLiteral("abc"));
    ASSERT_TRUE(GetTextExtentExPoint(DC(), s, -1, limit, &fit, dx, size));
    EXPECT_EQ(fit, 3);
    EXPECT_EQ(dx[2], limit);
    EXPECT_EQ(dx[5], size.cx);
    EXPECT_EQ(size, Canvas()->TextExtent(s));
}

TEST_F(DrawTextTest, RotatedFontDrawsUpwards)
{
    Canvas()->Font()->SetOrientation(900);
    Canvas()->TextOut(50, 90, QStringLiteral("Rotated text"));
    const QRect ink = Ink();
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.height(), ink.width());
    EXPECT_LE(ink.bottom(), 90);
    EXPECT_GE(ink.left(), 50);
}

TEST_F(DrawTextTest, MetricModeLinesGoDownThePage)
{
    // A printer page in 0.1 mm with y growing upwards, as the print layout uses it.
    Canvas()->SetMapMode(MM_LOMETRIC);
    Canvas()->Font()->SetHeight(-40); // 4 mm
    const int lh = Canvas()->TextHeight(QStringLiteral("gh"));
    EXPECT_GE(lh, 40);
    TRect calc(0, 0, 2000, 0);
    DrawText(DC(), QStringLiteral("one\ntwo"), -1, &calc, DT_CALCRECT);
    EXPECT_EQ(calc.Bottom, -2 * lh);

    TRect r(20, -10, 2000, -250);
    DrawText(DC(), QStringLiteral("one\ntwo"), -1, &r, DT_LEFT);
    Canvas()->SetMapMode(MM_TEXT);
    const QRect ink = Ink();
    ASSERT_FALSE(ink.isEmpty());
    // 10 units (about 4 pixels) below the top edge, two lines of about 15 pixels each.
    EXPECT_GE(ink.top(), 3);
    EXPECT_LE(ink.top(), 10);
    EXPECT_GT(ink.bottom(), 20);
    EXPECT_LT(ink.bottom(), 40);
    EXPECT_GE(ink.left(), 7);
}

TEST_F(DrawTextTest, WrappedEditControlTextEndsItsLastWholeLineWithDots)
{
    // The grid's word-wrapped cells: only whole lines, the last one with "..." when text remains.
    TRecordingCanvas rec;
    rec.Font()->Assign(Canvas()->Font());
    const int lh = LineHeight();
    const int width = Canvas()->TextWidth(QStringLiteral("alpha beta")) + 2;
    TRect r(0, 0, width, 2 * lh + lh / 2);
    DrawText(rec.Handle(), QStringLiteral("alpha beta gamma delta epsilon zeta"), -1, &r,
             DT_WORDBREAK | DT_EDITCONTROL | DT_END_ELLIPSIS);
    const auto texts = rec.CallsOf(QStringLiteral("ExtTextOut"));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].Text, QStringLiteral("alpha beta"));
    EXPECT_TRUE(texts[1].Text.endsWith(QStringLiteral("..."))) << texts[1].Text.toStdString();
    EXPECT_LE(rec.TextWidth(texts[1].Text), width);
}
