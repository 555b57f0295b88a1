// Fixed and header cells: the edges of the looks, the sort glyph with its index numbers, the
// filter button and the sizing lines.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridDraw.h"
#include "platform/RecordingCanvas.h"

#include <QImage>
#include <gtest/gtest.h>

#include <memory>

namespace {

class HeaderDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(5);
        G->SetRowCount(5);
    }
    std::unique_ptr<TExtStringGrid> G;
};

TColorRef At(TBitmap &B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixels(X, Y)); }

TEST_F(HeaderDrawTest, XPHeaderEdgesAreAWhiteLineBelowTheTopAndAHalvedBottomLine)
{
    G->SetFixedColor(TColorOf(0xC0A080u));
    TBitmap b(60, 30);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(TRect(0, 0, 60, 30));
    const TRect cell(5, 5, 45, 25);
    G->DrawHeaderCellEdges(b.Canvas(), cell, glXP);
    const TColorRef half = ColorToRGB(DarkenColorHalf(TColorOf(0xC0A080u)));
    // The bottom grows by 1: the halved line lies on the cell's own bottom row.
    for (int x = cell.Left; x <= cell.Right - 2; ++x)
        EXPECT_EQ(At(b, x, cell.Bottom), half) << x;
    for (int x = cell.Left + 1; x <= cell.Right - 2; ++x)
        EXPECT_EQ(At(b, x, cell.Top + 1), RGB(255, 255, 255)) << x;
    for (int y = cell.Top + 1; y < cell.Bottom; ++y)
        EXPECT_EQ(At(b, cell.Left + 1, y), RGB(255, 255, 255)) << y;
    EXPECT_EQ(At(b, cell.Left, cell.Top), RGB(0, 0, 0));
    EXPECT_EQ(At(b, cell.Right - 1, cell.Top + 1), RGB(0, 0, 0));

    // Without fixed horizontal lines the look leaves the cell alone.
    TGridOptions o = G->Options();
    o.Exclude(goFixedHorzLine);
    G->SetOptions(o);
    TRecordingCanvas rec;
    G->DrawHeaderCellEdges(&rec, cell, glXP);
    EXPECT_TRUE(rec.CallsOf(QStringLiteral("LineTo")).empty());
}

TEST_F(HeaderDrawTest, LooksWithoutEdgesDrawNothing)
{
    for (TGridLook look : {glStandard, glListView, glVista, glWin7, glOffice2007}) {
        TRecordingCanvas rec;
        G->DrawHeaderCellEdges(&rec, TRect(0, 0, 40, 20), look);
        EXPECT_TRUE(rec.CallsOf(QStringLiteral("LineTo")).empty()) << look;
    }
}

TEST_F(HeaderDrawTest, SortGlyphTrianglesAndIndexNumbers)
{
    TSortSettings *ss = G->SortSettings();
    // A plain sort: a 3D outline triangle by direction.
    {
        TRecordingCanvas rec;
        ss->Direction = sdAscending;
        G->DrawSortIndicator(&rec, 1, 50, 10);
        const auto lines = rec.CallsOf(QStringLiteral("LineTo"));
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].Args, (std::vector<int>{54, 14}));
        EXPECT_EQ(lines[0].PenColor, clWhite);
        EXPECT_EQ(lines[1].Args, (std::vector<int>{50, 6}));
        EXPECT_EQ(lines[2].Args, (std::vector<int>{46, 14}));
        EXPECT_EQ(lines[2].PenColor, clGray);
    }
    {
        TRecordingCanvas rec;
        ss->Direction = sdDescending;
        G->DrawSortIndicator(&rec, 1, 50, 10);
        const auto lines = rec.CallsOf(QStringLiteral("LineTo"));
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].Args, (std::vector<int>{50, 14}));
        EXPECT_EQ(lines[1].Args, (std::vector<int>{46, 6}));
        EXPECT_EQ(lines[2].Args, (std::vector<int>{54, 6}));
        EXPECT_EQ(rec.Pen()->Color(), clBlack);
    }

    // An index sort on three columns: each header shows its place in the list.
    ss->IndexShow = true;
    G->SortIndexes()->AddIndex(3, true);
    G->SortIndexes()->AddIndex(1, false);
    G->SortIndexes()->AddIndex(2, true);
    struct Case {
        int Col;
        const char *Number;
        std::vector<int> Triangle;
        std::vector<int> NumberAt;
    };
    const Case cases[] = {
        {3, "1", {44, 58, 56, 58, 50, 46}, {48, 48}},  // ascending: points up
        {1, "2", {43, 45, 57, 45, 50, 58}, {48, 46}},  // descending: points down
        {2, "3", {44, 58, 56, 58, 50, 46}, {48, 48}},
    };
    for (const Case &c : cases) {
        TRecordingCanvas rec;
        G->DrawSortIndicator(&rec, c.Col, 50, 50);
        const auto polys = rec.CallsOf(QStringLiteral("Polygon"));
        ASSERT_EQ(polys.size(), 1u) << c.Col;
        EXPECT_EQ(polys[0].Args, c.Triangle) << c.Col;
        EXPECT_EQ(polys[0].BrushColor, clYellow);
        const auto texts = rec.CallsOf(QStringLiteral("TextOut"));
        ASSERT_EQ(texts.size(), 1u) << c.Col;
        EXPECT_EQ(texts[0].Text, QString::fromLatin1(c.Number));
        EXPECT_EQ(std::vector<int>(texts[0].Args.begin(), texts[0].Args.begin() + 2), c.NumberAt) << c.Col;
    }
    TRecordingCanvas none;
    G->DrawSortIndicator(&none, 4, 50, 50);
    EXPECT_TRUE(none.Calls().empty());
}

TEST_F(HeaderDrawTest, SizingLineDrawnTwiceLeavesTheBitmapUnchanged)
{
    G->SetBounds(0, 0, 80, 60);
    TBitmap b(80, 60);
    b.Canvas()->Brush()->SetColor(TColorOf(0x336699u));
    b.Canvas()->FillRect(TRect(0, 0, 80, 60));
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(TRect(0, 0, 40, 30));
    const QImage before = b.ToImage();
    G->DrawColSizingLine(b.Canvas(), 20);
    G->DrawRowSizingLine(b.Canvas(), 15);
    const QImage once = b.ToImage();
    EXPECT_NE(once, before); // the lines show
    EXPECT_NE(once.pixel(20, 0), before.pixel(20, 0));
    G->DrawColSizingLine(b.Canvas(), 20);
    G->DrawRowSizingLine(b.Canvas(), 15);
    EXPECT_EQ(b.ToImage(), before);
    EXPECT_EQ(b.Canvas()->Pen()->Mode(), TPenMode::pmCopy);
}

TEST_F(HeaderDrawTest, FilterButtonTakesTheFixedColourAndItsRoom)
{
    G->SetFixedColor(TColorOf(0x00C0FFu));
    TBitmap b(60, 20);
    TRect r(0, 0, 60, 20);
    G->DrawFilterGlyph(b.Canvas(), 1, r);
    EXPECT_EQ(r.Right, 44);
    EXPECT_EQ(At(b, 44, 0), ColorToRGB(TColorOf(0x00C0FFu))); // its key colour, replaced
    EXPECT_EQ(At(b, 45, 0), RGB(255, 255, 255));               // the lit top edge
}

} // namespace
