// Printed cells: font size mapping, the placement of turned text, merged cells, border sides
// from the settings and the border event, lines of a multi-line cell, a check box, and the
// width of cell lines in a preview and on the printer.
#include "grid/core/ExtGrid.h"
#include "grid/services/ExtGridPrintEngine.h"

#include "platform/Forms.h"
#include "platform/Printers.h"
#include "platform/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

struct TSegment {
    int X1, Y1, X2, Y2;
    int PenWidth;
};

// The MoveTo/LineTo pairs of a recording.
std::vector<TSegment> Segments(const std::vector<TRecordingCanvas::TCall> &Calls)
{
    std::vector<TSegment> out;
    TPoint at;
    for (const auto &c : Calls) {
        if (c.Name == QLatin1String("MoveTo"))
            at = TPoint(c.Args[0], c.Args[1]);
        else if (c.Name == QLatin1String("LineTo")) {
            out.push_back({at.X, at.Y, c.Args[0], c.Args[1], c.PenWidth});
            at = TPoint(c.Args[0], c.Args[1]);
        }
    }
    return out;
}

class PrintCell : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = SetPrinter(&printer);
        g = new TExtStringGrid(form.get());
        g->SetColCount(3);
        g->SetRowCount(3);
        g->SetFixedCols(0);
        g->SetFixedRows(0);
        g->SetDefaultColWidth(100);
        TPrintSettings *ps = g->PrintSettings();
        ps->NoAutoSize = true; // 100 pixels print 265 units wide
        ps->ColumnSpacing = 10; // spacing 30
        ps->UseFixedHeight = true;
        ps->FixedHeight = 300;
    }
    void TearDown() override { SetPrinter(previous); }

    // Previews page 1 onto a recording canvas and answers its calls.
    std::vector<TRecordingCanvas::TCall> Preview()
    {
        canvas = std::make_unique<TRecordingCanvas>(800, 1000);
        g->PrintPreview(canvas.get(), TRect(0, 0, 800, 1000));
        return canvas->Calls();
    }
    // Vertical cell lines that start at the top of row 0 (y = 0).
    std::set<int> VerticalsOfRow0(const std::vector<TRecordingCanvas::TCall> &Calls)
    {
        std::set<int> xs;
        for (const TSegment &s : Segments(Calls))
            if (s.X1 == s.X2 && s.Y1 == 0 && s.Y2 < 0)
                xs.insert(s.X1);
        return xs;
    }

    TRecordingPrinter printer{800, 1000, 100};
    TPrinter *previous = nullptr;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TExtStringGrid *g = nullptr;
    std::unique_ptr<TRecordingCanvas> canvas;
};

TEST_F(PrintCell, FontSizesMapBetweenPointsAndLayoutUnits)
{
    EXPECT_EQ(g->MapFontHeight(10), -35);
    EXPECT_EQ(TExtStringGrid::MapFontSize(-35), -9);
    EXPECT_EQ(g->MapFontHeight(0), 0);
}

TEST(PrintRotatedText, PlacementFollowsQuadrantAndAlignments)
{
    // Print form of a cell (100, -100) - (500, -300) with Hc 30, Ws 80, Hs 20, Wc 60.
    struct TCase {
        int Angle;
        TAlignment HA;
        TVAlignment VA;
        int Left, Top;
    };
    const TCase cases[] = {
        {45, taLeftJustify, vtaTop, 100, -180},   {45, taRightJustify, vtaCenter, 420, -225},
        {90, taCenter, vtaBottom, 260, -270},     {135, taLeftJustify, vtaTop, 160, -210},
        {135, taRightJustify, vtaCenter, 480, -255}, {180, taCenter, vtaBottom, 320, -300},
        {200, taLeftJustify, vtaTop, 180, -130},  {200, taRightJustify, vtaCenter, 500, -175},
        {270, taCenter, vtaBottom, 340, -220},    {300, taLeftJustify, vtaTop, 120, -100},
        {300, taRightJustify, vtaCenter, 440, -145}, {359, taCenter, vtaBottom, 280, -190},
    };
    for (const TCase &c : cases) {
        TRect r(100, -100, 500, -300);
        PlaceRotatedText(r, c.Angle, c.HA, c.VA, -30, -80, 20, 60);
        EXPECT_EQ(r.Left, c.Left) << c.Angle << " " << int(c.HA);
        EXPECT_EQ(r.Top, c.Top) << c.Angle << " " << int(c.VA);
        EXPECT_EQ(r.Right, 500);
        EXPECT_EQ(r.Bottom, -300);
    }
}

TEST_F(PrintCell, OnScreenTurnedTextIsPlacedInsideTheDeflatedCell)
{
    const TSize ext = g->Canvas()->TextExtent(QStringLiteral("Abc"));
    // Upright, left and top: the deflated corner.
    TRect r(10, 20, 110, 70);
    g->CalcRotatedTextPos(r, 0, QStringLiteral("Abc"), taLeftJustify, vtaTop);
    EXPECT_EQ(r, TRect(12, 22, 108, 68));
    // Turned up by 90 degrees and aligned to the bottom: the text starts at the bottom edge and
    // reads upwards, so its origin is the bottom edge itself.
    r = TRect(10, 20, 110, 170);
    g->CalcRotatedTextPos(r, 90, QStringLiteral("Abc"), taRightJustify, vtaBottom);
    EXPECT_EQ(r.Top, 168);
    EXPECT_EQ(r.Left, 108 - ext.cy);
}

TEST_F(PrintCell, ACellMergedOverTwoColumnsIsOneRectangle)
{
    g->MergeCells(0, 0, 2, 1);
    const auto calls = Preview();
    const int left = g->PrintColOffset(0);
    EXPECT_EQ(g->PrintColOffset(1) - left, 265 + 30);
    const std::set<int> xs = VerticalsOfRow0(calls);
    EXPECT_TRUE(xs.count(left));
    EXPECT_TRUE(xs.count(left + 2 * (265 + 30)));
    for (int x : xs)
        EXPECT_GT(std::abs(x - g->PrintColOffset(1)), 2) << x;
}

TEST_F(PrintCell, HorizontalBordersWithASideFromTheBorderEvent)
{
    g->PrintSettings()->Borders = pbHorizontal;
    g->OnGetCellPrintBorder = [](TObject *, int ARow, int ACol, TPen *, TCellBorders &Borders) {
        if (ACol == 1 && ARow == 0)
            Borders.Include(cbLeft);
    };
    const auto calls = Preview();
    const std::set<int> xs = VerticalsOfRow0(calls);
    ASSERT_EQ(xs.size(), 1u);
    // The left side of a column after the strip's first sits one pen width further left.
    EXPECT_EQ(*xs.begin(), g->PrintColOffset(1) - 1);
    // Top and bottom of every cell in the cell pen, and the page's line under the last row.
    int cellLines = 0, pageLines = 0;
    for (const TSegment &s : Segments(calls))
        if (s.Y1 == s.Y2)
            (s.PenWidth == 1 ? cellLines : pageLines) += 1;
    EXPECT_EQ(cellLines, 2 * 3 * 3);
    EXPECT_EQ(pageLines, 1);
}

TEST_F(PrintCell, TwoLinesCentredVerticallyStartHalfTheFreeRoomDown)
{
    g->SetMultilinecells(true);
    g->SetWordWrap(false);
    g->SetCells(0, 0, QStringLiteral("upper\r\nlower"));
    g->OnGetAlignment = [](TObject *, int, int, TAlignment &, TVAlignment &VA) { VA = vtaCenter; };
    const auto calls = Preview();
    std::vector<int> ys;
    for (const auto &c : calls)
        if (c.Name == QLatin1String("TextRect") && (c.Text == QLatin1String("upper") || c.Text == QLatin1String("lower")))
            ys.push_back(c.Args[5]);
    ASSERT_EQ(ys.size(), 2u);
    TRecordingCanvas m;
    m.SetMapMode(MM_LOMETRIC);
    m.Font()->Assign(g->Font());
    m.Font()->SetHeight(g->MapFontHeight(g->Font()->Size()));
    const int th = m.TextHeight(QStringLiteral("gh"));
    const int M = th + th / 8;
    m.Font()->Assign(g->PrintSettings()->Font());
    m.Font()->SetHeight(g->MapFontHeight(g->PrintSettings()->Font()->Size()));
    const int e8 = m.TextHeight(QStringLiteral("gh")) >> 3;
    const int P = 300 + 2 * e8;
    EXPECT_EQ(ys[0], -((P - 2 * M) / 2));
    EXPECT_EQ(ys[1], ys[0] - M);
}

TEST_F(PrintCell, CellLinesAreOnePixelInAPreviewAndOneScreenPixelOnPaper)
{
    for (const TSegment &s : Segments(Preview()))
        EXPECT_EQ(s.PenWidth, 1);
    std::vector<int> widths;
    g->OnPrintPageDone = [&](TObject *, TCanvas *, int, int, int, int, int) {
        for (const TSegment &s : Segments(printer.Recorder()->Calls()))
            widths.push_back(s.PenWidth);
    };
    g->Print();
    ASSERT_FALSE(widths.empty());
    for (int w : widths)
        EXPECT_EQ(w, 3); // 254 / 96 units, rounded
}

TEST_F(PrintCell, TurnedTextReversesOnlyForADriverThatTurnsTheOtherWay)
{
    g->SetCells(1, 1, QStringLiteral("Turned"));
    g->AddRotated(1, 1, 90, QStringLiteral("Turned"));
    auto orientation = [&] {
        int found = 0;
        g->OnPrintPageDone = [&](TObject *, TCanvas *, int, int, int, int, int) {
            for (const auto &c : printer.Recorder()->Calls())
                if (c.Text == QLatin1String("Turned"))
                    found = c.FontOrientation;
        };
        g->Print();
        return found;
    };
    EXPECT_EQ(orientation(), 900);
    g->SetPrinterDriverFix(true);
    EXPECT_EQ(orientation(), 900); // the printer turns landscape by 270 degrees
    SetPrinterLandscapeRotation(90);
    struct TRestore {
        ~TRestore() { SetPrinterLandscapeRotation(270); }
    } restore;
    EXPECT_EQ(orientation(), -900);
    // A preview never reverses.
    int previewed = 0;
    for (const auto &c : Preview()) {
        if (c.Text == QLatin1String("Turned")) {
            EXPECT_EQ(c.FontOrientation, 900);
            ++previewed;
        }
    }
    EXPECT_EQ(previewed, 1);
}

TEST_F(PrintCell, ABitmapGraphicIsStretchedIntoItsCell)
{
    g->PrintSettings()->PrintGraphics = true;
    TBitmap bmp(16, 16);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(TRect(0, 0, 16, 16));
    g->AddBitmap(1, 1, &bmp, false, haCenter, vaCenter);
    TBitmap page(800, 600);
    g->PrintPreview(page.Canvas(), TRect(0, 0, 800, 600));
    const QImage img = page.ToImage();
    const double px = 96.0 / 254.0;
    int red = 0, minX = img.width(), maxX = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == 0xFF0000) {
                ++red;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    // 16 screen pixels print 16 pixels wide in a preview at screen resolution.
    EXPECT_NEAR(red, 16 * 16, 40);
    EXPECT_GE(minX, int(g->PrintColOffset(1) * px));
    EXPECT_LE(maxX, int(g->PrintColOffset(2) * px));
    g->RemoveBitmap(1, 1);
}

TEST_F(PrintCell, AnEmptyCentredCheckBoxSitsInTheMiddleOfItsCell)
{
    g->PrintSettings()->PrintGraphics = true;
    g->PrintSettings()->Borders = pbNoborder;
    g->AddCheckBox(1, 1, true, false);
    g->OnGetAlignment = [](TObject *, int ARow, int ACol, TAlignment &HA, TVAlignment &) {
        if (ACol == 1)
            HA = taCenter;
    };
    TBitmap bmp(800, 600);
    g->PrintPreview(bmp.Canvas(), TRect(0, 0, 800, 600));
    // Pixels of the cell (1, 1): columns from their offsets, the row below row 0.
    const double px = 96.0 / 254.0;
    const int left = int(g->PrintColOffset(1) * px) + 1, right = int(g->PrintColOffset(2) * px) - 1;
    const QImage img = bmp.ToImage();
    int minX = img.width(), maxX = -1;
    for (int y = 0; y < img.height(); ++y)
        for (int x = left; x < right; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_NEAR((minX + maxX) / 2.0, (left + right) / 2.0, 2.0);
    EXPECT_LT(maxX - minX, 20);
}

} // namespace
