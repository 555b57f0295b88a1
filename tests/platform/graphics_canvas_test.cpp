// Pixel geometry of the canvas on a bitmap: exclusive right and bottom edges, LineTo without its
// end point, clipping, the focus rectangle and transparent drawing.
#include "platform/Graphics.h"
#include "platform/WinGdi.h"

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

// A white bitmap of the given size.
std::unique_ptr<TBitmap> WhiteBitmap(int w, int h)
{
    auto b = std::make_unique<TBitmap>(w, h);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

// Reads the bitmap's pixels directly: Pixels answers -1 outside the canvas's clip.
bool IsColor(TBitmap &b, int x, int y, TColor c)
{
    return QColorToColor(QColor::fromRgb(b.Image().pixel(x, y))) == c;
}

// The columns of row y whose pixel is not white.
std::string Row(TBitmap &b, int y)
{
    std::string s;
    for (int x = 0; x < b.Width(); ++x)
        s += IsColor(b, x, y, clWhite) ? '.' : '#';
    return s;
}

std::string Column(TBitmap &b, int x)
{
    std::string s;
    for (int y = 0; y < b.Height(); ++y)
        s += IsColor(b, x, y, clWhite) ? '.' : '#';
    return s;
}

} // namespace

TEST(GraphicsCanvas, RectangleTouchesFirstAndLastInsideColumnsOnly)
{
    auto b = WhiteBitmap(12, 12);
    TCanvas *c = b->Canvas();
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetColor(clRed);
    c->Rectangle(0, 0, 10, 10);
    EXPECT_EQ(Row(*b, 0), "##########..");
    EXPECT_EQ(Row(*b, 9), "##########..");
    EXPECT_EQ(Row(*b, 10), "............");
    EXPECT_EQ(Column(*b, 0), "##########..");
    EXPECT_EQ(Column(*b, 9), "##########..");
    EXPECT_EQ(Column(*b, 10), "............");
    EXPECT_TRUE(IsColor(*b, 1, 1, clRed));
    EXPECT_TRUE(IsColor(*b, 8, 8, clRed));
    EXPECT_TRUE(IsColor(*b, 9, 5, clBlack));
}

TEST(GraphicsCanvas, RectangleWithClearPenIsOnePixelSmaller)
{
    auto b = WhiteBitmap(12, 12);
    TCanvas *c = b->Canvas();
    c->Pen()->SetStyle(TPenStyle::psClear);
    c->Brush()->SetColor(clBlue);
    c->Rectangle(0, 0, 10, 10);
    EXPECT_EQ(Row(*b, 0), "#########...");
    EXPECT_EQ(Row(*b, 9), "............");
}

TEST(GraphicsCanvas, LineToLeavesItsEndPoint)
{
    auto b = WhiteBitmap(12, 12);
    TCanvas *c = b->Canvas();
    c->MoveTo(1, 1);
    c->LineTo(8, 1);
    EXPECT_EQ(Row(*b, 1), ".#######....");
    EXPECT_EQ(c->PenPos(), Point(8, 1));
    c->MoveTo(1, 3);
    c->LineTo(1, 9);
    EXPECT_EQ(Column(*b, 1), ".#.######...");
    // Diagonal: (3,3) .. (6,6) drawn, (7,7) left out.
    c->MoveTo(3, 3);
    c->LineTo(7, 7);
    EXPECT_TRUE(IsColor(*b, 6, 6, clBlack));
    EXPECT_TRUE(IsColor(*b, 7, 7, clWhite));
}

TEST(GraphicsCanvas, LinesDrawnBackwardsKeepTheirStartAndLeaveTheirEnd)
{
    struct Case {
        TPoint From, To;
        bool Vertical;
        int Index;
        const char *Pixels;
    };
    const Case cases[] = {
        {{8, 1}, {1, 1}, false, 1, "..#######..."}, // leftwards: 8 .. 2
        {{1, 9}, {1, 3}, true, 1, "....######.."},  // upwards: 9 .. 4
        {{2, 5}, {9, 5}, false, 5, "..#######..."}, // rightwards: 2 .. 8
    };
    for (const Case &k : cases) {
        auto b = WhiteBitmap(12, 12);
        TCanvas *c = b->Canvas();
        c->MoveTo(k.From.X, k.From.Y);
        c->LineTo(k.To.X, k.To.Y);
        EXPECT_EQ(k.Vertical ? Column(*b, k.Index) : Row(*b, k.Index), k.Pixels);
    }
    auto b = WhiteBitmap(12, 12);
    b->Canvas()->MoveTo(7, 7);
    b->Canvas()->LineTo(3, 3); // diagonal up-left: (7,7) .. (4,4)
    EXPECT_TRUE(IsColor(*b, 7, 7, clBlack));
    EXPECT_TRUE(IsColor(*b, 4, 4, clBlack));
    EXPECT_TRUE(IsColor(*b, 3, 3, clWhite));
}

TEST(GraphicsCanvas, FillRectFrameRectAndEllipseStayInsideTheRectangle)
{
    auto b = WhiteBitmap(12, 12);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(2, 2, 5, 4));
    EXPECT_EQ(Row(*b, 2), "..###.......");
    EXPECT_EQ(Row(*b, 4), "............");
    c->FrameRect(Rect(6, 0, 10, 4));
    EXPECT_EQ(Row(*b, 0), "......####..");
    EXPECT_EQ(Row(*b, 1), "......#..#..");
    EXPECT_EQ(Row(*b, 3), "..###.####..");

    auto e = WhiteBitmap(12, 12);
    e->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    e->Canvas()->Ellipse(0, 0, 10, 10);
    EXPECT_EQ(Column(*e, 10), "............");
    EXPECT_EQ(Row(*e, 10), "............");
    EXPECT_NE(Column(*e, 9), "............");
    EXPECT_NE(Row(*e, 9), "............");
}

TEST(GraphicsCanvas, FillRectHonoursTheClipRegion)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    HRGN rgn = CreateRectRgn(2, 2, 5, 5);
    SelectClipRgn(c->Handle(), rgn);
    DeleteObject(rgn);
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Row(*b, 1), "..........");
    EXPECT_EQ(Row(*b, 2), "..###.....");
    EXPECT_EQ(Row(*b, 4), "..###.....");
    EXPECT_EQ(Row(*b, 5), "..........");
    EXPECT_EQ(c->ClipRect(), Rect(2, 2, 5, 5));
    EXPECT_EQ(c->Pixels(0, 0), -1); // outside the clip

    // Excluding a rectangle and removing the clip again.
    SelectClipRgn(c->Handle(), nullptr);
    c->Brush()->SetColor(clWhite);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(c->ExcludeClipRect(0, 0, 10, 8), SIMPLEREGION);
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Column(*b, 3), "........##");

    // Each clip call reports the kind of clip it leaves.
    SelectClipRgn(c->Handle(), nullptr);
    EXPECT_EQ(c->IntersectClipRect(1, 1, 9, 9), SIMPLEREGION);
    EXPECT_EQ(c->ExcludeClipRect(4, 4, 6, 6), COMPLEXREGION);
    EXPECT_EQ(c->ExcludeClipRect(0, 0, 10, 10), NULLREGION);
}

TEST(GraphicsCanvas, PolygonRegionAndSavedStateClip)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    const int level = c->SaveDC();
    c->IntersectClipRect(0, 0, 3, 10);
    std::vector<TPoint> tri{{0, 0}, {10, 0}, {0, 10}};
    HRGN rgn = CreatePolygonRgn(tri.data(), 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(rgn, 1, 1));
    EXPECT_FALSE(PtInRegion(rgn, 9, 9));
    DeleteObject(rgn);
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(Row(*b, 0), "###.......");
    c->RestoreDC(level);
    c->FillRect(Rect(0, 9, 10, 10));
    EXPECT_EQ(Row(*b, 9), "##########");
}

TEST(GraphicsCanvas, FocusRectDrawnTwiceRestoresTheImage)
{
    auto b = WhiteBitmap(20, 20);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(Rect(3, 3, 12, 9));
    const QImage before = b->ToImage();
    c->DrawFocusRect(Rect(2, 2, 15, 12));
    const QImage once = b->ToImage();
    EXPECT_NE(once, before);
    // Dotted: of two neighbouring pixels on the top edge exactly one changed.
    EXPECT_NE(once.pixel(4, 2) == before.pixel(4, 2), once.pixel(5, 2) == before.pixel(5, 2));
    // Nothing outside the frame changes.
    EXPECT_EQ(once.pixel(15, 2), before.pixel(15, 2));
    EXPECT_EQ(once.pixel(5, 5), before.pixel(5, 5));
    c->DrawFocusRect(Rect(2, 2, 15, 12));
    EXPECT_EQ(b->ToImage(), before);
}

TEST(GraphicsCanvas, TransparentBitmapLeavesKeyColourPixelsUntouched)
{
    TBitmap sprite(4, 4);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
    sprite.Canvas()->Brush()->SetColor(clBlue);
    sprite.Canvas()->FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia); // the lower-left pixel
    sprite.SetTransparent(true);

    auto b = WhiteBitmap(8, 8);
    b->Canvas()->Brush()->SetColor(clLime);
    b->Canvas()->FillRect(Rect(0, 0, 8, 8));
    b->Canvas()->Draw(2, 2, &sprite);
    EXPECT_TRUE(IsColor(*b, 2, 2, clLime));
    EXPECT_TRUE(IsColor(*b, 5, 5, clLime));
    EXPECT_TRUE(IsColor(*b, 3, 3, clBlue));
    EXPECT_TRUE(IsColor(*b, 4, 4, clBlue));

    // Opaque drawing copies the key colour too.
    sprite.SetTransparent(false);
    b->Canvas()->Draw(2, 2, &sprite);
    EXPECT_TRUE(IsColor(*b, 2, 2, clFuchsia));
}

TEST(GraphicsCanvas, CopyModesCombineSourceAndDestination)
{
    struct Case {
        TCopyMode Mode;
        TColor Dest, Source, Expected;
    };
    const Case cases[] = {
        {cmSrcCopy, clRed, clBlue, clBlue},
        {cmSrcAnd, clYellow, clLime, clLime},      // 00FFFF & 00FF00
        {cmSrcPaint, clRed, clBlue, clFuchsia},    // 0000FF | FF0000
        {cmSrcInvert, clWhite, clRed, clAqua},     // FFFFFF ^ 0000FF
        {cmNotSrcCopy, clRed, clBlack, clWhite},
        {cmBlackness, clRed, clBlue, clBlack},
        {cmWhiteness, clRed, clBlue, clWhite},
        {cmDstInvert, clRed, clBlue, clAqua},
    };
    for (const Case &k : cases) {
        TBitmap src(2, 2), dst(2, 2);
        src.Canvas()->Brush()->SetColor(k.Source);
        src.Canvas()->FillRect(Rect(0, 0, 2, 2));
        dst.Canvas()->Brush()->SetColor(k.Dest);
        dst.Canvas()->FillRect(Rect(0, 0, 2, 2));
        dst.Canvas()->SetCopyMode(k.Mode);
        dst.Canvas()->CopyRect(Rect(0, 0, 2, 2), src.Canvas(), Rect(0, 0, 2, 2));
        EXPECT_EQ(dst.Canvas()->Pixels(1, 1), k.Expected) << "copy mode " << std::hex << k.Mode;
    }
}

TEST(GraphicsCanvas, StretchDrawScalesWithoutSmoothing)
{
    TBitmap src(2, 1);
    src.Canvas()->SetPixel(0, 0, clBlack);
    src.Canvas()->SetPixel(1, 0, clWhite);
    TBitmap dst(4, 2);
    dst.Canvas()->StretchDraw(Rect(0, 0, 4, 2), &src);
    EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(dst.Canvas()->Pixels(2, 0), clWhite);
}

TEST(GraphicsCanvas, FloodFillFillsTheSurfaceOfOneColour)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Rectangle(2, 2, 8, 8);
    c->Brush()->SetColor(clRed);
    c->FloodFill(4, 4, clWhite, TFillStyle::fsSurface);
    EXPECT_TRUE(IsColor(*b, 4, 4, clRed));
    EXPECT_TRUE(IsColor(*b, 3, 6, clRed));
    EXPECT_TRUE(IsColor(*b, 2, 4, clBlack));
    EXPECT_TRUE(IsColor(*b, 0, 0, clWhite));
}

TEST(GraphicsCanvas, XorPenDrawnTwiceRestores)
{
    auto b = WhiteBitmap(10, 10);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clGreen);
    c->FillRect(Rect(0, 0, 5, 10));
    const QImage before = b->ToImage();
    c->Pen()->SetMode(TPenMode::pmXor);
    c->Pen()->SetColor(clWhite);
    for (int i = 0; i < 2; ++i) {
        c->MoveTo(0, 5);
        c->LineTo(10, 5);
    }
    EXPECT_EQ(b->ToImage(), before);
    c->Pen()->SetMode(TPenMode::pmNot);
    c->MoveTo(0, 5);
    c->LineTo(10, 5);
    EXPECT_TRUE(IsColor(*b, 7, 5, clBlack));
}

TEST(GraphicsCanvas, TextOutWithOpaqueBackgroundAndPenPosition)
{
    auto b = WhiteBitmap(80, 20);
    TCanvas *c = b->Canvas();
    c->Brush()->SetColor(clYellow);
    c->Font()->SetColor(clBlack);
    c->TextOut(2, 2, QStringLiteral("Hi"));
    const int w = c->TextWidth(QStringLiteral("Hi"));
    EXPECT_GT(w, 0);
    EXPECT_EQ(c->PenPos(), Point(2 + w, 2));
    EXPECT_TRUE(IsColor(*b, 2, 2, clYellow) || IsColor(*b, 2, 2, clBlack));
    EXPECT_TRUE(IsColor(*b, 2 + w, 2, clWhite));
    EXPECT_TRUE(IsColor(*b, 1, 2, clWhite));

    // A clear brush draws the text without its background.
    auto t = WhiteBitmap(80, 20);
    t->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
    t->Canvas()->TextOut(2, 2, QStringLiteral("Hi"));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_TRUE(IsColor(*t, x, y, clWhite) || IsColor(*t, x, y, clBlack));
}

TEST(GraphicsCanvas, TextMeasuresAndDrawsAsQtLaysItOut)
{
    // Numbers take a path of their own that skips Qt's layout, and runs drawn again come from a
    // kept layout or a copy of their pixels: each must give Qt's widths and pixels, in any font,
    // style and colour.
    const char *texts[] = {"10000", "3.14 %", "(+1) 2/3 - 4,5:6;7#", "0", "Order 10000", "AV fi 1"};
    struct TFontCase {
        const char *Name;
        int Height;
        TFontStyles Style;
        TColor Color;
    };
    const TFontCase fonts[] = {
        {"DejaVu Sans", -11, {}, clBlack},
        {"DejaVu Sans", -11, TFontStyles() << TFontStyle::fsBold, clRed},
        {"Tahoma", -13, TFontStyles() << TFontStyle::fsUnderline << TFontStyle::fsItalic, clBlue},
        {"Courier New", -16, TFontStyles() << TFontStyle::fsStrikeOut, clBlack},
        {"DejaVu Serif", 20, {}, clGreen},
    };
    for (const TFontCase &f : fonts) {
        for (const char *t : texts) {
            const QString text = QString::fromLatin1(t);
            auto b = WhiteBitmap(240, 40);
            TCanvas *c = b->Canvas();
            c->Font()->SetName(QString::fromLatin1(f.Name));
            c->Font()->SetHeight(f.Height);
            c->Font()->SetStyle(f.Style);
            c->Font()->SetColor(f.Color);
            c->Brush()->SetStyle(TBrushStyle::bsClear);
            const QFont qf = c->Font()->QtFont();
            const QFontMetrics fm(qf);
            EXPECT_EQ(c->TextExtent(text), TSize(fm.horizontalAdvance(text), fm.height())) << f.Name << " " << t;
            QImage expected(240, 40, QImage::Format_RGB32);
            expected.fill(Qt::white);
            {
                QPainter p(&expected);
                p.setRenderHint(QPainter::TextAntialiasing, false);
                p.setFont(qf);
                const TColorRef rgb = ColorToRGB(f.Color);
                p.setPen(QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
                p.drawText(QPointF(3, 4 + fm.ascent()), text);
            }
            // Three times on a cleared bitmap, so that the runs drawn from a kept layout and from
            // its copy are compared too.
            for (int round = 0; round < 3; ++round) {
                c->Brush()->SetStyle(TBrushStyle::bsSolid);
                c->Brush()->SetColor(clWhite);
                c->FillRect(Rect(0, 0, 240, 40));
                c->Brush()->SetStyle(TBrushStyle::bsClear);
                c->TextOut(3, 4, text);
                EXPECT_EQ(b->Image().convertToFormat(QImage::Format_RGB32), expected) << f.Name << " " << t << " " << round;
            }
        }
    }
}

TEST(GraphicsCanvas, TextDrawnAgainOnAHighDensityImageStaysSharp)
{
    // On a device of two pixels per point a run drawn again must not be a blown-up copy, and
    // numbers are placed as Qt places them there.
    QImage drawn(200, 80, QImage::Format_RGB32);
    drawn.setDevicePixelRatio(2);
    drawn.fill(Qt::white);
    QImage expected = drawn;
    TCanvas c;
    c.Font()->SetName(QStringLiteral("DejaVu Sans"));
    c.Font()->SetHeight(-9);
    const QFont qf = c.Font()->QtFont();
    {
        QPainter painter(&drawn);
        c.BeginPainting(&painter);
        c.SetBkMode(TRANSPARENT);
        for (int i = 0; i < 3; ++i) {
            c.TextOut(2, 2, QStringLiteral("Again"));
            c.TextOut(2, 20, QStringLiteral("12345"));
        }
        c.EndPainting();
    }
    {
        QPainter p(&expected);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(qf);
        p.setPen(Qt::black);
        p.drawText(QPointF(2, 2 + QFontMetrics(qf).ascent()), QStringLiteral("Again"));
        p.drawText(QPointF(2, 20 + QFontMetrics(qf).ascent()), QStringLiteral("12345"));
    }
    EXPECT_EQ(drawn, expected);
}

TEST(GraphicsCanvas, MeasuringNeedsNoPainter)
{
    TCanvas c;
    EXPECT_FALSE(c.HandleAllocated());
    c.Font()->SetName(QStringLiteral("Verdana"));
    c.Font()->SetHeight(-13);
    const TSize s = c.TextExtent(QStringLiteral("Hello"));
    EXPECT_GT(s.cx, 20);
    EXPECT_GE(s.cy, 13);
    EXPECT_EQ(c.TextWidth(QString()), 0);
    // The same text measures the same on a bitmap's canvas.
    TBitmap b(10, 10);
    b.Canvas()->Font()->Assign(c.Font());
    EXPECT_EQ(b.Canvas()->TextExtent(QStringLiteral("Hello")), s);
}

TEST(GraphicsCanvas, MetricMappingFlipsTheYAxis)
{
    TBitmap b(200, 200);
    TCanvas *c = b.Canvas();
    EXPECT_EQ(c->SetMapMode(MM_LOMETRIC), MM_TEXT);
    TPoint p[1] = {{254, -254}};
    c->LPtoDP(p, 1);
    EXPECT_EQ(p[0], Point(96, 96));
    c->DPtoLP(p, 1);
    EXPECT_EQ(p[0], Point(254, -254));

    c->SetMapMode(MM_ANISOTROPIC);
    c->SetWindowExtEx(100, 100);
    c->SetViewportExtEx(200, 50);
    TPoint q[1] = {{10, 10}};
    c->LPtoDP(q, 1);
    EXPECT_EQ(q[0], Point(20, 5));

    // Drawing follows the mapping.
    c->Brush()->SetColor(clBlack);
    c->FillRect(Rect(0, 0, 10, 10));
    c->SetMapMode(MM_TEXT);
    EXPECT_EQ(c->Pixels(19, 4), clBlack);
    EXPECT_EQ(c->Pixels(20, 5), clWhite);
}

TEST(GraphicsCanvas, PaintingOnAPainterHandedIn)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    TCanvas c;
    c.BeginPainting(&painter);
    EXPECT_TRUE(c.HandleAllocated());
    c.Pen()->SetColor(clRed);
    c.MoveTo(0, 0);
    c.LineTo(5, 0);
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 10, 10));
    c.EndPainting();
    EXPECT_FALSE(c.HandleAllocated());
    painter.end();
    EXPECT_EQ(img.pixel(4, 0), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(5, 0), qRgb(255, 255, 255));
}

TEST(GraphicsCanvas, BitmapKeepsContentWhenResizedAndSavesAsBmp)
{
    TBitmap b(4, 4);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 4, 4));
    b.SetSize(6, 5);
    EXPECT_EQ(b.Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(5, 4), clWhite);
    const QByteArray data = b.SaveToBytes();
    ASSERT_TRUE(data.startsWith("BM"));
    TBitmap c;
    c.LoadFromBytes(data);
    EXPECT_EQ(c.Width(), 6);
    EXPECT_EQ(c.Height(), 5);
    EXPECT_EQ(c.Canvas()->Pixels(0, 0), clRed);
    EXPECT_THROW(c.LoadFromBytes(QByteArray("not a bitmap")), EInvalidGraphic);
    EXPECT_EQ(c.Width(), 6);
}

TEST(GraphicsCanvas, PixelsAndFloodFillOnAnImagePainterHandedIn)
{
    QImage img(6, 6, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    TCanvas c;
    c.BeginPainting(&painter);
    c.SetPixel(2, 2, clRed);
    EXPECT_EQ(c.Pixels(2, 2), clRed);
    c.Brush()->SetColor(clBlue);
    c.FloodFill(0, 0, clWhite, TFillStyle::fsSurface);
    c.EndPainting();
    painter.end();
    EXPECT_EQ(img.pixel(5, 5), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
}

TEST(GraphicsCanvas, BlitsThroughTheDeviceContextCalls)
{
    TBitmap src(4, 4), dst(4, 4);
    src.Canvas()->Brush()->SetColor(clRed);
    src.Canvas()->FillRect(Rect(0, 0, 4, 4));
    ASSERT_TRUE(BitBlt(dst.Canvas()->Handle(), 1, 1, 2, 2, src.Canvas()->Handle(), 0, 0, SRCCOPY));
    EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
    EXPECT_EQ(dst.Canvas()->Pixels(3, 3), clWhite);
    InvertRect(dst.Canvas()->Handle(), Rect(0, 0, 2, 2));
    EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clAqua);
    EXPECT_EQ(dst.Canvas()->CopyMode(), cmSrcCopy); // restored after the blit
}

TEST(GraphicsCanvas, BrushCopyReplacesTheKeyColourByTheBrush)
{
    TBitmap src(4, 4);
    src.Canvas()->Brush()->SetColor(clFuchsia);
    src.Canvas()->FillRect(Rect(0, 0, 4, 4));
    src.Canvas()->SetPixel(1, 1, clBlack);
    auto b = WhiteBitmap(6, 6);
    b->Canvas()->Brush()->SetColor(clYellow);
    b->Canvas()->BrushCopy(Rect(1, 1, 5, 5), &src, Rect(0, 0, 4, 4), clFuchsia);
    EXPECT_TRUE(IsColor(*b, 1, 1, clYellow));
    EXPECT_TRUE(IsColor(*b, 2, 2, clBlack));
    EXPECT_TRUE(IsColor(*b, 0, 0, clWhite));
    EXPECT_TRUE(IsColor(*b, 5, 5, clWhite));
}

TEST(GraphicsCanvas, CombinedAndRoundedRegions)
{
    HRGN a = CreateRectRgn(0, 0, 6, 6);
    HRGN b = CreateRectRgn(3, 3, 9, 9);
    HRGN both = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        int Mode, Kind;
        bool In11, In44, In77;
    };
    const Case cases[] = {{RGN_AND, SIMPLEREGION, false, true, false},
                          {RGN_OR, COMPLEXREGION, true, true, true},
                          {RGN_XOR, COMPLEXREGION, true, false, true},
                          {RGN_DIFF, COMPLEXREGION, true, false, false},
                          {RGN_COPY, SIMPLEREGION, true, true, false}};
    for (const Case &k : cases) {
        EXPECT_EQ(CombineRgn(both, a, b, k.Mode), k.Kind) << k.Mode;
        EXPECT_EQ(PtInRegion(both, 1, 1), k.In11) << k.Mode;
        EXPECT_EQ(PtInRegion(both, 4, 4), k.In44) << k.Mode;
        EXPECT_EQ(PtInRegion(both, 7, 7), k.In77) << k.Mode;
    }
    TRect box;
    CombineRgn(both, a, b, RGN_OR);
    EXPECT_EQ(GetRgnBox(both, box), COMPLEXREGION);
    EXPECT_EQ(box, Rect(0, 0, 9, 9));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(both);

    // A rounded rectangle leaves its corners out.
    HRGN round = CreateRoundRectRgn(0, 0, 20, 20, 10, 10);
    EXPECT_FALSE(PtInRegion(round, 0, 0));
    EXPECT_TRUE(PtInRegion(round, 10, 0));
    EXPECT_TRUE(PtInRegion(round, 10, 10));
    EXPECT_FALSE(PtInRegion(round, 20, 10));
    auto bmp = WhiteBitmap(20, 20);
    SelectClipRgn(bmp->Canvas()->Handle(), round);
    DeleteObject(round);
    bmp->Canvas()->Brush()->SetColor(clBlack);
    bmp->Canvas()->FillRect(Rect(0, 0, 20, 20));
    EXPECT_TRUE(IsColor(*bmp, 0, 0, clWhite));
    EXPECT_TRUE(IsColor(*bmp, 10, 10, clBlack));
}

TEST(GraphicsCanvas, BitmapImageAndCanvasTakeTurns)
{
    TBitmap b(4, 4);
    b.Canvas()->SetPixel(0, 0, clRed);
    {
        QPainter own(&b.Image()); // the canvas has let go of the image
        ASSERT_TRUE(own.isActive());
        own.fillRect(QRect(1, 1, 1, 1), Qt::blue);
    }
    b.Canvas()->SetPixel(2, 2, clLime);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(b.Canvas()->Pixels(2, 2), clLime);
    auto *row = static_cast<std::uint32_t *>(b.ScanLine(1));
    EXPECT_EQ(row[1] & 0xFFFFFFu, 0x0000FFu); // 32-bit BGRA: blue in the low byte
    EXPECT_THROW(b.ScanLine(4), EInvalidGraphicOperation);
}

TEST(GraphicsCanvas, DoubleBufferingThroughAMemoryDeviceContext)
{
    auto screen = WhiteBitmap(8, 8);
    HDC mem = CreateCompatibleDC(screen->Canvas()->Handle());
    HBITMAP buffer = CreateCompatibleBitmap(screen->Canvas()->Handle(), 8, 8);
    EXPECT_EQ(SelectObject(mem, buffer), nullptr);
    mem->Brush()->SetColor(clNavy);
    mem->FillRect(Rect(0, 0, 8, 8));
    mem->SetPixel(3, 3, clRed);
    EXPECT_EQ(mem->Pixels(3, 3), clRed);
    ASSERT_TRUE(BitBlt(screen->Canvas()->Handle(), 0, 0, 4, 4, mem, 0, 0, SRCCOPY));
    EXPECT_TRUE(IsColor(*screen, 0, 0, clNavy));
    EXPECT_TRUE(IsColor(*screen, 3, 3, clRed));
    EXPECT_TRUE(IsColor(*screen, 4, 4, clWhite));
    EXPECT_EQ(SelectObject(mem, static_cast<HBITMAP>(nullptr)), buffer);
    // Once out of the device context the bitmap draws through its own canvas again.
    buffer->Canvas()->SetPixel(0, 0, clLime);
    EXPECT_TRUE(IsColor(*buffer, 0, 0, clLime));
    SelectObject(mem, buffer);
    EXPECT_TRUE(DeleteObject(buffer)); // taken out of the device context first
    mem->FillRect(Rect(0, 0, 8, 8));   // draws nowhere, and does not crash
    EXPECT_TRUE(DeleteDC(mem));
    EXPECT_FALSE(DeleteDC(screen->Canvas()->Handle()));
}

TEST(GraphicsCanvas, ThePaintersOwnClipStaysInForce)
{
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.setClipRect(QRect(0, 0, 5, 10)); // the part of the window being painted
    TCanvas c;
    c.BeginPainting(&painter);
    EXPECT_EQ(c.ClipRect(), Rect(0, 0, 5, 10));
    c.IntersectClipRect(0, 0, 10, 5);
    c.SelectClipRgn(nullptr); // removes the canvas's clip, not the painter's
    c.Brush()->SetColor(clBlack);
    c.FillRect(Rect(0, 0, 10, 10));
    c.EndPainting();
    EXPECT_TRUE(painter.hasClipping());
    painter.end();
    EXPECT_EQ(img.pixel(4, 9), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(5, 0), qRgb(255, 255, 255));
}

TEST(GraphicsCanvas, PrinterPageThroughAPdfWriter)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    QPdfWriter writer(file);
    writer.setResolution(300);
    QPainter painter(&writer);
    TCanvas c;
    c.BeginPainting(&painter);
    EXPECT_EQ(GetDeviceCaps(c.Handle(), LOGPIXELSX), 300);
    EXPECT_GT(GetDeviceCaps(c.Handle(), HORZRES), 2000);
    c.SetMapMode(MM_LOMETRIC);
    c.Font()->SetHeight(-40);
    TPoint p[1] = {{254, -254}};
    c.LPtoDP(p, 1);
    EXPECT_EQ(p[0], Point(300, 300));
    c.Rectangle(100, -100, 1000, -400);
    c.TextOut(120, -120, QStringLiteral("Printed"));
    TRect r(100, -500, 1000, -700);
    DrawText(c.Handle(), QStringLiteral("Line one\nLine two"), -1, &r, DT_CENTER);
    // Text drawn again stays text on a page: no copy of its pixels goes into it.
    c.SetMapMode(MM_TEXT);
    for (int i = 0; i < 3; ++i)
        c.TextOut(120, 900 + 60 * i, QStringLiteral("Again"));
    c.EndPainting();
    painter.end();
    EXPECT_GT(QFileInfo(file).size(), 500);
    QFile pdf(file);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_FALSE(pdf.readAll().contains("/Subtype /Image"));
}
