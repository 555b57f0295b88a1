// The string grid's paint pass: the colour precedence of one cell, the selection colours and
// their mixing, merged ranges, the background gradient, event borders, the focus rectangle, and
// a paint pass that survives a failing handler. Pixels come from a shown offscreen grid.
#include "grid/core/ExtGrid.h"
#include "grid/view/ExtGridPaintContext.h"

#include "controls/ExtGridDraw.h"
#include "platform/Forms.h"
#include "platform/PlatformStyle.h"
#include "platform/RecordingCanvas.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

class TTestGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    using TExtStringGrid::DrawCellBorders;
    TIntList *RowSelectList() const { return FRowSelect; }
    TIntList *ColSelectList() const { return FColSelect; }
    TIntList *SelectedCellList() const { return FSelectedCells; }
};

constexpr TColor clGridColor = TColorOf(0xF0F0F0u);
constexpr TColor clBandA = TColorOf(0x00C0FFu);
constexpr TColor clBandB = TColorOf(0xFFE0C0u);
constexpr TColor clSel = TColorOf(0x804020u);

class PaintGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 420, 320);
        g = new TTestGrid(form.get());
        g->SetParent(form.get());
        // The look first: a look preset brings its own border.
        g->SetLook(glStandard);
        g->SetBorderStyle(bsNone);
        g->SetScrollBars(ssNone);
        g->SetBounds(0, 0, 400, 300);
        g->SetColCount(5);
        g->SetRowCount(8);
        g->SetDefaultColWidth(60);
        g->SetDefaultRowHeight(24);
        g->SetColor(clGridColor);
        g->SetFixedColor(clBtnFace);
        g->SetSelectionColor(clSel);
        form->Show();
        GuiTest::ProcessEvents();
    }

    // A pixel well inside cell (c, r), away from lines, text and focus frame.
    TColorRef CellPixel(int c, int r, int dx = 0, int dy = 0)
    {
        const TRect rc = g->CellRect(c, r);
        return GuiTest::PixelAt(g, rc.Right - 6 + dx, rc.Bottom - 6 + dy);
    }

    std::unique_ptr<TForm> form;
    TTestGrid *g = nullptr;
};

struct TVisual {
    TColor Brush, ColorTo, FontColor;
    TGridDrawState State;
};

TVisual Visual(TExtStringGrid &g, int c, int r, TGridDrawState state = {}, bool select = false, bool print = false)
{
    TBrush brush;
    TFont font;
    TColor to = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    g.GetVisualProperties(c, r, state, print, select, true, &brush, to, mirror, mirrorTo, &font, ha, va, ww, gd);
    return {brush.Color(), to, font.Color(), state};
}

TEST(ExtGridVisualProperties, ColourSourcesTakeTheirTurn)
{
    constexpr TColor own = TColorOf(0x123456u);
    struct TCase {
        const char *Name;
        std::function<void(TExtStringGrid &)> Setup;
        int Col, Row;
        TColor Brush;
        bool Fixed;
    };
    const std::vector<TCase> cases{
        {"plain cell takes Color", [](TExtStringGrid &) {}, 2, 2, clGridColor, false},
        {"first band row", [](TExtStringGrid &g) { g.Bands()->SetActive(true); }, 2, 1, clBandA, false},
        {"second band row", [](TExtStringGrid &g) { g.Bands()->SetActive(true); }, 2, 2, clBandB, false},
        {"fixed cell takes FixedColor", [](TExtStringGrid &) {}, 0, 2, clBtnFace, true},
        {"fixed cell in a gradient look takes the header gradient",
         [](TExtStringGrid &g) { g.SetLook(glXP); g.SetQRVGradientFrom(TColorOf(0x0000FFu)); }, 1, 0,
         TColorOf(0x0000FFu), true},
        {"own colour wins over the bands",
         [&](TExtStringGrid &g) { g.Bands()->SetActive(true); g.CellProperties(2, 2)->SetBrushColor(own); }, 2, 2, own,
         false},
        {"a plain header cell keeps its own colour",
         [&](TExtStringGrid &g) { g.CellProperties(2, 0)->SetBrushColor(own); }, 2, 0, own, false},
        {"a check-box header cell with its own colour still gets FixedColor",
         [&](TExtStringGrid &g) {
             g.CellProperties(2, 0)->SetBrushColor(own);
             g.AddCheckBox(2, 0, cbChecked);
         },
         2, 0, clBtnFace, true},
        {"OnGetCellColor has the last word before selection",
         [](TExtStringGrid &g) {
             g.OnGetCellColor = [](TObject *, int, int, TGridDrawState, TBrush *b, TFont *) { b->SetColor(clLime); };
         },
         2, 2, clLime, false},
    };
    for (const TCase &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TExtStringGrid g(nullptr);
        g.SetColCount(5);
        g.SetRowCount(6);
        g.SetColor(clGridColor);
        g.SetFixedColor(clBtnFace);
        g.SetLook(glStandard);
        g.Bands()->SetPrimaryColor(clBandA);
        g.Bands()->SetSecondaryColor(clBandB);
        tc.Setup(g);
        const TVisual v = Visual(g, tc.Col, tc.Row);
        EXPECT_EQ(v.Brush, tc.Brush);
        EXPECT_EQ(v.State.Contains(gdFixed), tc.Fixed);
    }
}

TEST(ExtGridVisualProperties, DisabledGridAndFixedFont)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(4);
    g.FixedFont()->SetColor(clMaroon);
    g.Font()->SetColor(clNavy);
    EXPECT_EQ(Visual(g, 0, 1).FontColor, clMaroon);
    EXPECT_EQ(Visual(g, 2, 2).FontColor, clNavy);
    g.SetDisabledFontColor(clGray);
    g.SetEnabled(false);
    EXPECT_EQ(Visual(g, 2, 2).FontColor, clGray);
    g.SetUseDisabledFont(false);
    EXPECT_EQ(Visual(g, 2, 2).FontColor, clNavy);
}

TEST(ExtGridVisualProperties, PrintedCellsTakeThePrintFontsUnlessTheDisplayOnesAreAsked)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(4);
    g.FixedFont()->SetColor(clMaroon);
    g.Font()->SetColor(clNavy);
    g.PrintSettings()->FixedFont()->SetColor(clTeal);
    g.PrintSettings()->Font()->SetColor(clOlive);
    struct {
        bool Print, UseDisplayFont;
        TColor Fixed, Normal;
    } const cases[] = {
        {false, false, clMaroon, clNavy},
        {true, true, clMaroon, clNavy},
        {true, false, clTeal, clOlive},
    };
    for (const auto &c : cases) {
        g.PrintSettings()->UseDisplayFont = c.UseDisplayFont;
        EXPECT_EQ(Visual(g, 0, 2, {}, false, c.Print).FontColor, c.Fixed) << c.Print << c.UseDisplayFont;
        EXPECT_EQ(Visual(g, 2, 2, {}, false, c.Print).FontColor, c.Normal) << c.Print << c.UseDisplayFont;
    }
}

TEST(ExtGridVisualProperties, SelectionColourMixesWithTheBackground)
{
    TExtStringGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(6);
    g.SetColor(clGridColor);
    g.SetSelectionColor(clSel);
    g.SetSelection(TGridRect{1, 1, 3, 4});
    g.Bands()->SetPrimaryColor(clBandA);
    g.Bands()->SetSecondaryColor(clBandB);
    // A cell on the grid's own colour gets the selection colour as it is, mixer or not.
    g.SetSelectionColorMixer(true);
    EXPECT_EQ(Visual(g, 2, 2, {}, true).Brush, clSel);
    EXPECT_TRUE(Visual(g, 2, 2, {}, true).State.Contains(gdSelected));
    // A banded cell gets the channel mean at 50 %.
    g.Bands()->SetActive(true);
    const TColor mixed = Visual(g, 2, 1, {}, true).Brush;
    EXPECT_EQ(mixed, TExtStringGrid::BlendColors(clSel, clBandA, 50));
    EXPECT_EQ(GetRValue(ColorToRGB(mixed)), (0x20 + 0xFF + 1) / 2);
    // Without the mixer the band does not show through.
    g.SetSelectionColorMixer(false);
    EXPECT_EQ(Visual(g, 2, 1, {}, true).Brush, clSel);
    // Outside the selection, or without the selection looks, the band stays.
    EXPECT_EQ(Visual(g, 2, 5, {}, true).Brush, clBandA);
    EXPECT_EQ(Visual(g, 2, 1, {}, false).Brush, clBandA);
}

TEST(ExtGridColors, BlendColorsLimitsAndNone)
{
    struct TCase {
        TColor A, B;
        int Percent;
        TColor Expected;
    };
    const std::vector<TCase> cases{
        {clRed, clBlue, 100, clRed},
        {clRed, clBlue, 150, clRed},
        {clRed, clBlue, 0, clBlue},
        {clRed, clBlue, -5, clBlue},
        {clNone, clBlue, 50, clBlue},
        {clRed, clNone, 50, clRed},
        {TColorOf(0x000000u), TColorOf(0xFFFFFFu), 50, TColorOf(0x808080u)},
        {TColorOf(0x0000C8u), TColorOf(0x000064u), 25, TColorOf(0x00007Du)},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Percent);
        EXPECT_EQ(TExtStringGrid::BlendColors(c.A, c.B, c.Percent), c.Expected);
    }
    EXPECT_EQ(TExtStringGrid::BlendColorsIf(clRed, clBlue, false, 50), clRed);
    // System colours are resolved before the arithmetic.
    EXPECT_EQ(TExtStringGrid::BlendColors(clWindow, clBlack, 100), clWindow);
    EXPECT_EQ(TExtStringGrid::BlendColors(clWindow, clBlack, 50), TColorOf(0x808080u));
}

TEST(ExtGridSelection, IsSelectedReadsTheListsWithoutGrowingThem)
{
    TTestGrid g(nullptr);
    g.SetColCount(6);
    g.SetRowCount(10);
    g.SetSelection(TGridRect{1, 1, 2, 2});
    EXPECT_TRUE(g.IsSelected(2, 2));
    EXPECT_FALSE(g.IsSelected(3, 2));
    EXPECT_FALSE(g.IsSelected(0, 1)); // fixed

    g.MouseActions()->SetDisjunctRowSelect(true);
    g.RowSelectList()->Clear();
    g.RowSelectList()->Add(0);
    g.RowSelectList()->Add(0);
    g.RowSelectList()->Add(1);
    EXPECT_TRUE(g.IsSelected(4, 2));
    EXPECT_FALSE(g.IsSelected(4, 1));
    EXPECT_FALSE(g.IsSelected(4, 9)); // beyond the list
    EXPECT_EQ(g.RowSelectList()->Count(), 3);
    g.MouseActions()->SetDisjunctRowSelect(false);

    g.MouseActions()->SetDisjunctCellSelect(true);
    g.SelectedCellList()->Add(3); // column and row of one cell
    g.SelectedCellList()->Add(4);
    EXPECT_TRUE(g.IsSelected(3, 4));
    EXPECT_FALSE(g.IsSelected(4, 3));
    EXPECT_FALSE(g.IsSelected(2, 2)); // the rectangle no longer counts
}

TEST(ExtGridCellBorders, LinesFollowPenWidthAndGridLines)
{
    // Pen width 1 and 3 against grid lines on or off: left, right, top and bottom lines of the
    // rectangle (10, 20, 70, 44) with a grid line width of 1.
    struct TCase {
        int PenWidth;
        bool Lines;
        std::vector<QString> Expected;
    };
    const std::vector<TCase> cases{
        {1, false, {"MoveTo(10,20)", "LineTo(10,44)", "MoveTo(69,20)", "LineTo(69,44)", "MoveTo(10,19)",
                    "LineTo(70,19)", "MoveTo(8,43)", "LineTo(70,43)"}},
        {1, true, {"MoveTo(11,20)", "LineTo(11,43)", "MoveTo(68,20)", "LineTo(68,43)", "MoveTo(11,20)",
                   "LineTo(69,20)", "MoveTo(9,42)", "LineTo(69,42)"}},
        {3, true, {"MoveTo(12,20)", "LineTo(12,42)", "MoveTo(67,20)", "LineTo(67,42)", "MoveTo(12,21)",
                   "LineTo(68,21)", "MoveTo(10,41)", "LineTo(68,41)"}},
    };
    for (const TCase &tc : cases) {
        SCOPED_TRACE(tc.PenWidth * 10 + tc.Lines);
        TTestGrid g(nullptr);
        g.SetColCount(4);
        g.SetRowCount(4);
        TGridOptions o = g.Options();
        if (tc.Lines)
            o = o + TGridOptions{goVertLine, goHorzLine};
        else
            o = o - TGridOptions{goVertLine, goHorzLine};
        g.SetOptions(o);
        int width = tc.PenWidth;
        g.OnGetCellBorder = [width](TObject *, int, int, TPen *p, TCellBorders &b) {
            b = TCellBorders{cbLeft, cbTop, cbRight, cbBottom};
            p->SetWidth(width);
        };
        TRecordingCanvas canvas;
        TCellPaintContext ctx;
        ctx.Canvas = &canvas;
        ctx.Grid = &g;
        ctx.RealCol = 1;
        ctx.Row = 1;
        g.DrawCellBorders(ctx, TRect(10, 20, 70, 44));
        QStringList lines = canvas.Lines();
        EXPECT_EQ(std::vector<QString>(lines.begin(), lines.end()), tc.Expected);
        EXPECT_EQ(canvas.Pen()->Width(), 1); // the pen is put back
    }
}

TEST(ExtGridCellBorders, NoBordersDrawNothingAndPensReachTheirSides)
{
    TTestGrid g(nullptr);
    g.SetColCount(4);
    g.SetRowCount(4);
    TRecordingCanvas canvas;
    TCellPaintContext ctx;
    ctx.Canvas = &canvas;
    ctx.Grid = &g;
    g.DrawCellBorders(ctx, TRect(0, 0, 50, 20));
    EXPECT_TRUE(canvas.Calls().empty());

    g.OnGetCellBorder = [](TObject *, int, int, TPen *, TCellBorders &b) { b = TCellBorders{cbLeft, cbBottom}; };
    g.OnGetCellBorderProp = [](TObject *, int, int, TPen *l, TPen *, TPen *, TPen *b) {
        l->SetColor(clRed);
        b->SetColor(clBlue);
    };
    g.DrawCellBorders(ctx, TRect(0, 0, 50, 20));
    const auto lines = canvas.CallsOf("LineTo");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].PenColor, clRed);
    EXPECT_EQ(lines[1].PenColor, clBlue);
}

TEST_F(PaintGrid, SelectionPaintsSelectionColourAndMixesWithBands)
{
    g->SetSelection(TGridRect{2, 2, 3, 3});
    g->Invalidate();
    EXPECT_EQ(CellPixel(3, 3), ColorToRGB(clSel));
    EXPECT_EQ(CellPixel(4, 3), ColorToRGB(clGridColor));

    g->Bands()->SetPrimaryColor(clBandA);
    g->Bands()->SetSecondaryColor(clBandB);
    g->Bands()->SetActive(true);
    g->SetSelectionColorMixer(true);
    g->SetSelectionColorMixerFactor(50);
    // Row 3 is the third normal row: primary band.
    EXPECT_EQ(CellPixel(3, 3), ColorToRGB(TExtStringGrid::BlendColors(clSel, clBandA, 50)));
    EXPECT_EQ(CellPixel(4, 3), ColorToRGB(clBandA));
    EXPECT_EQ(CellPixel(4, 4), ColorToRGB(clBandB));
}

TEST_F(PaintGrid, CellScrollBarShowsOnlyWhenTheTextIsLongerThanAPage)
{
    g->AddScrollBar(2, 2, false);
    g->AddScrollBar(3, 2, false);
    g->SetScrollProp(2, 2, {10, 100});
    g->SetScrollProp(3, 2, {100, 100});
    // Near the right edge: the bar's face in the long cell, the cell colour in the other.
    EXPECT_NE(CellPixel(2, 2, 3, -6), ColorToRGB(clGridColor));
    EXPECT_EQ(CellPixel(3, 2, 3, -6), ColorToRGB(clGridColor));
    EXPECT_EQ(CellPixel(2, 2, -30, -6), ColorToRGB(clGridColor));

    // A range the bar cannot take shows no bar, and the cell is painted as any other.
    int drawn = 0;
    g->OnCustomCellDraw = [&](TObject *, TCanvas *, int c, int r, TGridDrawState, TRect, bool) { drawn += c == 4 && r == 3; };
    g->AddScrollBar(4, 3, false);
    g->CellProperties(4, 3)->SetBrushColor(clAqua);
    for (const TScrollProp Prop : {TScrollProp{-5, -1}, TScrollProp{-1, 0}}) {
        SCOPED_TRACE(Prop.Range);
        g->SetScrollProp(4, 3, Prop);
        drawn = 0;
        EXPECT_EQ(CellPixel(4, 3, 3, -6), ColorToRGB(clAqua));
        EXPECT_EQ(drawn, 1);
    }
}

TEST_F(PaintGrid, MergedRangeIsPaintedOnceWithoutInnerLines)
{
    g->SetCol(4);
    g->SetRow(6);
    g->SetCells(1, 1, "m");
    g->MergeCells(1, 1, 2, 2);
    g->CellProperties(1, 1)->SetBrushColor(clAqua);
    std::map<std::pair<int, int>, int> drawn;
    g->OnCustomCellDraw = [&](TObject *, TCanvas *, int c, int r, TGridDrawState, TRect, bool) { ++drawn[{c, r}]; };
    form->Repaint();
    drawn.clear();
    GuiTest::PixelAt(g, 0, 0); // one paint pass
    EXPECT_EQ((drawn[{1, 1}]), 1);
    EXPECT_EQ((drawn[{2, 1}]), 0);
    EXPECT_EQ((drawn[{1, 2}]), 0);
    EXPECT_EQ((drawn[{2, 2}]), 0);
    // The whole range is one fill: the places of the inner grid lines show the range's colour.
    const TRect r = g->CellRect(1, 1);
    const int innerX = r.Left + 60 - 1, innerY = r.Top + 24 - 1;
    EXPECT_EQ(GuiTest::PixelAt(g, innerX, r.Top + 5), ColorToRGB(clAqua));
    EXPECT_EQ(GuiTest::PixelAt(g, r.Left + 5, innerY), ColorToRGB(clAqua));
}

TEST_F(PaintGrid, VerticalBackgroundGradientRunsOnAcrossStackedCells)
{
    g->BackGround()->SetDisplay(bdGradientVert);
    g->BackGround()->SetCells(bcNormal);
    g->BackGround()->SetColor(TColorOf(0x000000u));
    g->BackGround()->SetColorTo(TColorOf(0xFFFFFFu));
    const TRect upper = g->CellRect(2, 2), lower = g->CellRect(2, 3);
    const int h = g->ClientHeight();
    auto expected = [&](int y) { return GetRValue(ColorToRGB(InterpolateColor(clBlack, clWhite, 0, h, y))); };
    auto red = [&](int y) { return int(GetRValue(GuiTest::PixelAt(g, upper.Left + 20, y))); };
    // Near the end of the upper cell and the start of the lower one the colours run on.
    for (int y : {upper.Top + 4, upper.Bottom - 3, lower.Top + 2, lower.Bottom - 3})
        EXPECT_NEAR(red(y), expected(y), 3) << y;
    EXPECT_LT(red(upper.Top + 4), red(lower.Bottom - 3));
}

TEST_F(PaintGrid, BackgroundAreaBesideTheCells)
{
    g->SetColCount(3);
    g->SetRowCount(3);
    const int x = 300, y = 200; // right of the last column and below the last row
    g->BackGround()->SetDisplay(bdGradientHorz);
    g->BackGround()->SetColor(TColorOf(0x000000u));
    g->BackGround()->SetColorTo(TColorOf(0xFFFFFFu));
    const int expected = GetRValue(ColorToRGB(InterpolateColor(clBlack, clWhite, 0, g->ClientWidth(), x)));
    EXPECT_NEAR(int(GetRValue(GuiTest::PixelAt(g, x, 10))), expected, 3);
    EXPECT_NEAR(int(GetRValue(GuiTest::PixelAt(g, x, y))), expected, 3);
    EXPECT_NEAR(int(GetRValue(GuiTest::PixelAt(g, 20, y))), GetRValue(ColorToRGB(InterpolateColor(clBlack, clWhite, 0, g->ClientWidth(), 20))), 3);

    // A picture tiled over the fixed cells only leaves the empty area alone.
    TBitmap red;
    red.SetSize(8, 8);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect(0, 0, 8, 8));
    g->BackGround()->SetBitmap(&red);
    g->BackGround()->SetDisplay(bdTile);
    g->BackGround()->SetCells(bcFixed);
    EXPECT_NE(GuiTest::PixelAt(g, x, y), ColorToRGB(clRed));
    g->BackGround()->SetCells(bcAll);
    EXPECT_EQ(GuiTest::PixelAt(g, x, y), ColorToRGB(clRed));

    // A picture placed once: in the empty area while there is one, never over the normal
    // cells once the grid is scrolled so that neither its last row nor its last column shows.
    g->BackGround()->SetDisplay(bdFixed);
    g->BackGround()->SetCells(bcFixed);
    g->BackGround()->SetLeft(388);
    g->BackGround()->SetTop(288);
    EXPECT_EQ(GuiTest::PixelAt(g, 392, 292), ColorToRGB(clRed));
    g->SetColCount(30);
    g->SetRowCount(60);
    g->SetTopRow(3);
    g->SetLeftCol(3);
    EXPECT_NE(GuiTest::PixelAt(g, 392, 292), ColorToRGB(clRed));
}

TEST_F(PaintGrid, SelectionRectangleFramesTheSelection)
{
    g->SetCol(4);
    g->SetRow(7);
    g->SetSelection(TGridRect{1, 2, 2, 3});
    g->SetSelectionColor(clGridColor);
    g->SetSelectionRectangleColor(clRed);
    const TRect tl = g->CellRect(1, 2), br = g->CellRect(2, 3);
    const TColorRef red = ColorToRGB(clRed);
    EXPECT_NE(GuiTest::PixelAt(g, tl.Left + 1, tl.Top + 10), red);
    g->SetSelectionRectangle(true);
    g->SetSelectionResizer(true);
    // The left edge, the top edge, the right edge of the right column and the resizer square.
    EXPECT_EQ(GuiTest::PixelAt(g, tl.Left + 1, tl.Top + 10), red);
    EXPECT_EQ(GuiTest::PixelAt(g, tl.Left + 20, tl.Top + 1), red);
    EXPECT_EQ(GuiTest::PixelAt(g, br.Right - 3, br.Top + 10), red);
    EXPECT_EQ(GuiTest::PixelAt(g, br.Right - 4, br.Bottom - 4), red);
    // Inside the selection there is no frame.
    EXPECT_NE(GuiTest::PixelAt(g, tl.Right - 2, tl.Top + 10), red);
    EXPECT_NE(GuiTest::PixelAt(g, g->CellRect(3, 2).Left + 20, tl.Top + 1), red);
}

TEST_F(PaintGrid, FocusRectangleOnlyWithFocusAndWithoutRowSelect)
{
    g->SetCol(2);
    g->SetRow(2);
    int focusFrames = 0;
    auto countFrames = [&] {
        TRecordingCanvas canvas(400, 300);
        const TRect r = g->CellRect(2, 2);
        g->PaintCell(&canvas, 2, 2, r, TGridDrawState{gdFocused});
        focusFrames = int(canvas.CallsOf("DrawFocusRect").size());
    };
    auto *other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(0, 302, 50, 16);
    form->SetActiveControl(other);
    other->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return other->Focused(); }, 2000));
    countFrames();
    EXPECT_EQ(focusFrames, 0);
    form->SetActiveControl(g);
    g->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return g->Focused(); }, 2000));
    countFrames();
    EXPECT_EQ(focusFrames, 1);
    g->SetOptions(g->Options() + TGridOptions{goRowSelect});
    countFrames();
    EXPECT_EQ(focusFrames, 0);
    g->SetOptions(g->Options() - TGridOptions{goRowSelect});
    g->SetHideFocusRect(true);
    countFrames();
    EXPECT_EQ(focusFrames, 0);
}

TEST_F(PaintGrid, AFailingHandlerCostsOnlyItsCell)
{
    g->OnGetCellColor = [](TObject *, int ARow, int ACol, TGridDrawState, TBrush *b, TFont *) {
        if (ACol == 2 && ARow == 2)
            throw std::runtime_error("handler failed");
        b->SetColor(clYellow);
    };
    EXPECT_NO_THROW(GuiTest::PixelAt(g, 0, 0));
    EXPECT_EQ(CellPixel(3, 3), ColorToRGB(clYellow));
    EXPECT_EQ(CellPixel(1, 4), ColorToRGB(clYellow));
}

TEST_F(PaintGrid, EventsSeeTheStorageColumnAndOnPaintedEndsThePass)
{
    g->HideColumn(1);
    std::vector<int> cols;
    int painted = 0;
    g->OnCustomCellBkgDraw = [&](TObject *, TCanvas *, int c, int r, TGridDrawState, TRect, bool) {
        if (r == 1)
            cols.push_back(c);
    };
    g->OnPainted = [&](TObject *) { ++painted; };
    GuiTest::PixelAt(g, 0, 0);
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(cols, (std::vector<int>{0, 2, 3, 4}));
}


// ---- states under the pointer, interface graphics, filter buttons and platform styles ----

constexpr TColor clHover = TColorOf(0x40E0E0u), clHoverEdge = TColorOf(0x008080u);
constexpr TColor clDown = TColorOf(0xE04040u), clDownEdge = TColorOf(0x800000u);

class PointerPaint : public PaintGrid {
protected:
    void SetUp() override
    {
        PaintGrid::SetUp();
        g->SetLook(glXP);
        TControlLook *l = g->ControlLook();
        l->SetFixedGradientHoverFrom(clHover);
        l->SetFixedGradientHoverTo(clHover);
        l->SetFixedGradientHoverBorder(clHoverEdge);
        l->SetFixedGradientDownFrom(clDown);
        l->SetFixedGradientDownTo(clDown);
        l->SetFixedGradientDownBorder(clDownEdge);
        for (auto set : {&TControlLook::SetFixedGradientHoverMirrorFrom, &TControlLook::SetFixedGradientHoverMirrorTo,
                         &TControlLook::SetFixedGradientDownMirrorFrom, &TControlLook::SetFixedGradientDownMirrorTo})
            (l->*set)(clNone);
        g->SetHoverFixedCells(hfFixedRows);
    }
    void TearDown() override { SetActivePlatformStyle({}); }
    QImage Shot()
    {
        QImage img(g->Widget()->size(), QImage::Format_ARGB32);
        img.fill(Qt::black);
        g->Widget()->render(&img);
        return img;
    }
    static TColorRef At(const QImage &Img, int X, int Y)
    {
        const QRgb c = Img.pixel(X, Y);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    }
    int CountIn(const QImage &Img, const TRect &R, TColor C)
    {
        const QRgb want = qRgb(GetRValue(ColorToRGB(C)), GetGValue(ColorToRGB(C)), GetBValue(ColorToRGB(C)));
        int n = 0;
        for (int y = std::max(0, R.Top); y < std::min(Img.height(), R.Bottom); ++y)
            for (int x = std::max(0, R.Left); x < std::min(Img.width(), R.Right); ++x)
                n += (Img.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF);
        return n;
    }
};

TEST_F(PointerPaint, HoveredAndPressedHeaderLooksFollowTheRealPointer)
{
    const TRect cr = g->CellRect(2, 0);
    const TPoint body(cr.Left + 10, cr.Top + 12), button(cr.Right - 6, cr.Top + 12);
    const QImage restImg = Shot();
    struct Case {
        const char *Name;
        THoverFixedCells Hover;
        bool DropDown;
        int Press; // 0 none, 1 on the body, 2 on the drop-down part
        TColor Body, Button;
    };
    const TColor clRest = clNone;
    const Case cases[] = {
        {"hover", hfFixedRows, false, 0, clHover, clHover},
        {"held", hfFixedRows, false, 1, clDown, clDown},
        {"hover with drop-down", hfFixedRows, true, 0, clHover, clHover},
        {"held on the body", hfFixedRows, true, 1, clDown, clHover},
        {"held on the drop-down part", hfFixedRows, true, 2, clHover, clDown},
        {"not a hover cell", hfFixedColumns, false, 0, clRest, clRest},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        g->SetHoverFixedCells(c.Hover);
        g->ControlLook()->SetFixedDropDownButton(c.DropDown);
        const TPoint at = c.Press == 2 ? button : body;
        GuiTest::MouseMove(g, at);
        if (c.Press)
            GuiTest::MouseDown(g, at);
        GuiTest::ProcessEvents();
        const QImage img = Shot();
        EXPECT_EQ(At(img, body.X, body.Y), c.Body == clRest ? At(restImg, body.X, body.Y) : ColorToRGB(c.Body));
        EXPECT_EQ(At(img, button.X, cr.Bottom - 4),
                  c.Button == clRest ? At(restImg, button.X, cr.Bottom - 4) : ColorToRGB(c.Button));
        if (c.DropDown) {
            // The separator in the border colour of the state and the black triangle.
            const TColor edge = c.Press ? clDownEdge : clHoverEdge;
            EXPECT_GT(CountIn(img, TRect(cr.Right - 18, cr.Top + 3, cr.Right - 14, cr.Bottom - 3), edge), 10);
            EXPECT_GT(CountIn(img, TRect(cr.Right - 12, cr.Top + 5, cr.Right - 4, cr.Top + 11), clBlack), 5);
        }
        if (c.Press)
            GuiTest::MouseUp(g, at);
        GuiTest::MouseMove(g, TPoint(g->CellRect(2, 4).Left + 5, g->CellRect(2, 4).Top + 5));
        GuiTest::ProcessEvents();
        EXPECT_EQ(At(Shot(), body.X, body.Y), At(restImg, body.X, body.Y));
    }
}

TEST_F(PointerPaint, ACellButtonShowsItsHotLookUnderThePointer)
{
    TColorTones tones;
    tones.Background = {TColorOf(0xC0C0C0u), TColorOf(0x404040u), clBlack};
    tones.Foreground = {TColorOf(0xA0A0A0u), TColorOf(0x404040u), clBlack};
    tones.Selected = {TColorOf(0x00A000u), TColorOf(0x404040u), clBlack};
    tones.Hover = {TColorOf(0x00C0FFu), TColorOf(0x404040u), clBlack};
    tones.Disabled = {TColorOf(0x808080u), TColorOf(0x404040u), clBlack};
    g->SetColorTones(tones);
    g->SetScrollType(ssNormal);
    g->ControlLook()->SetNoDisabledButtonLook(true);
    g->SetCol(4);
    g->SetRow(6);
    g->AddButton(2, 2, 50, 18, QString(), haLeft, vaTop);
    GuiTest::ProcessEvents();
    const TRect cr = g->CellRect(2, 2);
    Shot(); // lays the button out for the pointer
    TRect br;
    g->GetCellButtonRect(2, 2, br);
    const TPoint face(br.Left + 10, br.Top + 6);
    EXPECT_EQ(At(Shot(), face.X, face.Y), ColorToRGB(tones.Background.BrushColor));
    GuiTest::MouseMove(g, face);
    GuiTest::ProcessEvents();
    EXPECT_EQ(At(Shot(), face.X, face.Y), ColorToRGB(tones.Hover.BrushColor));
    GuiTest::MouseMove(g, TPoint(cr.Right - 3, cr.Bottom - 3));
    GuiTest::ProcessEvents();
    EXPECT_EQ(At(Shot(), face.X, face.Y), ColorToRGB(tones.Background.BrushColor));
}

// A cell object that fills what it is given and says when it drew.
class TFillObject : public TInterfacedPersistent, public TExtStringGrid::ICellGraphicPaint {
public:
    TFillObject(bool Before, TColor Fill) : FBefore(Before), FFill(Fill) {}
    bool DrawBeforeText() override { return FBefore; }
    void Paint(TCanvas *Canvas, const TRect &R, int ACol, int ARow, bool Selected, TExtStringGrid *) override
    {
        FillRectColor(Canvas, R, FFill);
        Calls.push_back({ACol, ARow, Selected ? 1 : 0});
    }
    std::vector<std::vector<int>> Calls;

private:
    bool FBefore;
    TColor FFill;
};

class TPrintOnlyObject : public TInterfacedPersistent, public TExtStringGrid::ICellGraphicDraw {
public:
    void Draw(TCanvas *Canvas, const TRect &R, TExtStringGrid *, int, int) override
    {
        FillRectColor(Canvas, R, clLime);
    }
};

TEST_F(PointerPaint, InterfaceGraphicsDrawUnderOrOverTheTextAndShowPrintOnlyObjects)
{
    g->SetCol(4);
    g->SetRow(6);
    TFillObject under(true, clAqua), over(false, clAqua);
    TPrintOnlyObject printOnly;
    g->SetCells(1, 2, QStringLiteral("WWWWW"));
    g->SetCells(2, 2, QStringLiteral("WWWWW"));
    g->SetCells(3, 2, QStringLiteral("WWWWW"));
    g->AddInterfacedCell(1, 2, &under);
    g->AddInterfacedCell(2, 2, &over);
    g->AddInterfacedCell(3, 2, &printOnly);
    const QImage img = Shot();
    // Under the text: the object's fill with the text on it; over it: the fill alone.
    EXPECT_GT(CountIn(img, g->CellRect(1, 2), clAqua), 200);
    EXPECT_GT(CountIn(img, g->CellRect(1, 2), clBlack), 10);
    EXPECT_GT(CountIn(img, g->CellRect(2, 2), clAqua), 200);
    EXPECT_EQ(CountIn(img, g->CellRect(2, 2), clBlack), 0);
    EXPECT_GT(CountIn(img, g->CellRect(3, 2), clLime), 200);
    ASSERT_FALSE(under.Calls.empty());
    EXPECT_EQ(under.Calls.back(), (std::vector<int>{1, 2, 0}));
    g->RemoveInterfacedCell(1, 2);
    g->RemoveInterfacedCell(2, 2);
    g->RemoveInterfacedCell(3, 2);
}

TEST_F(PointerPaint, FilterButtonsShowTheirGlyphByTheColumnsFilter)
{
    auto glyph = [](TBitmap &B, TColor Fill) {
        B.SetSize(16, 16);
        FillRectColor(B.Canvas(), TRect(0, 0, 16, 16), Fill);
        FillRectColor(B.Canvas(), TRect(0, 15, 1, 16), clFuchsia); // the transparent colour
    };
    TBitmap plain, active;
    glyph(plain, clGreen);
    glyph(active, clRed);
    g->FilterDropDown()->SetGlyph(&plain);
    g->FilterDropDown()->SetGlyphActive(&active);
    // No automatic lists: the hook offers a list for column 2 only.
    g->OnGetColumnFilter = [](TObject *, int Column, TStrings *List) {
        if (Column == 2)
            List->Add(QStringLiteral("a"));
    };
    auto glyphPixel = [&](int c) {
        const TRect r = g->CellRect(c, 0);
        return GuiTest::PixelAt(g, r.Right - 9, r.Top + 6);
    };
    EXPECT_EQ(glyphPixel(2), ColorToRGB(clGreen));
    EXPECT_NE(glyphPixel(3), ColorToRGB(clGreen));
    TFilterData *f = g->Filter()->Add();
    f->Column = 2;
    f->Condition = QStringLiteral("a");
    EXPECT_EQ(glyphPixel(2), ColorToRGB(clRed));
    // Automatic lists give every normal column its button.
    g->SetFilterDropDownAuto(true);
    EXPECT_EQ(glyphPixel(3), ColorToRGB(clGreen));
}

TEST_F(PointerPaint, RightFixedColumnsDrawTheirLinesGrayOnlyWhenFlat)
{
    g->SetLook(glSoft);
    g->SetGridLineColor(clBlue);
    g->SetGridFixedLineColor(clBlue);
    g->SetFixedRightCols(1);
    const TRect r = g->CellRect(4, 3);
    const TRect strip(r.Left - 3, r.Top + 2, r.Left + 2, r.Bottom - 2);
    for (bool flat : {false, true}) {
        SCOPED_TRACE(flat);
        g->SetFlat(flat);
        EXPECT_EQ(CountIn(Shot(), strip, clGray) > 10, flat);
        EXPECT_EQ(g->Ctl3D(), !flat);
    }
}

TEST_F(PointerPaint, TheRowIndicatorGivesItsWidthBackToTheBorders)
{
    g->SetLook(glStandard); // no header edges over the border under test
    TBitmap indicator(10, 10);
    FillRectColor(indicator.Canvas(), TRect(0, 0, 10, 10), clYellow);
    FillRectColor(indicator.Canvas(), TRect(0, 9, 1, 10), clFuchsia);
    g->SetRowIndicator(&indicator);
    g->SetRow(3);
    g->OnGetCellBorder = [](TObject *, int, int ACol, TPen *Pen, TCellBorders &Borders) {
        if (ACol == 0) {
            Pen->SetColor(clRed);
            Borders = TCellBorders{cbLeft};
        }
    };
    const QImage img = Shot();
    auto firstRed = [&](int row) {
        const TRect r = g->CellRect(0, row);
        for (int x = r.Left; x < r.Right; ++x)
            if (At(img, x, r.Top + r.Height() / 2) == ColorToRGB(clRed))
                return x;
        return -1;
    };
    // The content starts 2 pixels right of the indicator; only those 2 stay taken.
    EXPECT_GE(firstRed(2), 0);
    EXPECT_EQ(firstRed(3), firstRed(2) + 2);
}

TEST_F(PointerPaint, APlatformStyleFillsSelectedCellsAndFollowsStyleChanges)
{
    g->SetCol(1);
    g->SetRow(1);
    g->SetSelection(TGridRect{1, 1, 2, 2});
    TPlatformStyle s;
    s.Enabled = true;
    s.Name = QStringLiteral("Carbon");
    s.CellFill = TColorOf(0x303030u);
    SetActivePlatformStyle(s);
    // The style comes with the platform's theme message.
    g->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_TRUE(g->IsPlatformStyled());
    EXPECT_EQ(CellPixel(3, 4), ColorToRGB(s.CellFill));
    EXPECT_EQ(CellPixel(2, 2), ColorToRGB(g->SelectionColor()));
    SetActivePlatformStyle({});
    g->Perform(WM_THEMECHANGED, 0, 0);
    EXPECT_FALSE(g->IsPlatformStyled());
}

TEST_F(PointerPaint, OnlyTheHoveredCellShowsItsLinkHovered)
{
    g->SetEnableHTML(true);
    g->SetURLUnderlineOnHover(true);
    g->SetDefaultColWidth(75);
    const UnicodeString link = QStringLiteral("<a href=\"x\">link</a>");
    g->SetCells(1, 2, link);
    g->SetCells(2, 2, link);
    g->SetCol(4);
    g->SetRow(6);
    auto blue = [&](int c) { return CountIn(Shot(), g->CellRect(c, 2), g->URLColor()); };
    const int resting = blue(1);
    ASSERT_GT(resting, 0);
    EXPECT_EQ(blue(2), resting);
    const TRect r = g->CellRect(1, 2);
    GuiTest::MouseMove(g, TPoint(r.Left + 8, r.Top + 8));
    GuiTest::ProcessEvents();
    EXPECT_GT(blue(1), resting);
    EXPECT_EQ(blue(2), resting);
    GuiTest::MouseMove(g, TPoint(g->CellRect(3, 5).Left + 5, g->CellRect(3, 5).Top + 5));
    GuiTest::ProcessEvents();
    EXPECT_EQ(blue(1), resting);
}

} // namespace
