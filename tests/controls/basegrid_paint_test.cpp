// The base grid's cell painter, checked on the pixels of a rendered grid: grid lines of its own
// width, the hidden last row, a merged range painted once, hover and active rows, selection
// looks, node rows and the clip under the fixed cells.
#include "controls/BaseGrid.h"

#include "platform/Forms.h"
#include "platform/Windows.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>

namespace {

constexpr TColor clCellBase = TColorOf(0x00FFFFu);

class TPaintGrid : public TBaseGrid {
public:
    explicit TPaintGrid(TComponent *AOwner = nullptr) : TBaseGrid(AOwner) {}
    int &HoverRowIdx() { return FHoverRowIdx; }
    bool &HideLastRow() { return FHideLastRow; }
    int PaintID() const { return FPaintID; }
    bool Nodes = false;
    std::map<std::pair<int, int>, int> Drawn;
    std::map<std::pair<int, int>, TRect> Content;

protected:
    bool HasNodes() override { return Nodes; }
    void DrawGridCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) override
    {
        ++Drawn[{ACol, ARow}];
        Content[{ACol, ARow}] = ARect;
    }
    // The string grid's part, reduced to what shows the painter's choices: fixed and selected
    // cells get colours of their own, one cell a colour of its own.
    void GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool, bool, bool, TBrush *ABrush,
                             TColor &, TColor &, TColor &, TFont *, TAlignment &, TVAlignment &, bool &,
                             TCellGradientDirection &) override
    {
        if (AState.Contains(gdFixed))
            ABrush->SetColor(clBtnFace);
        else if (AState.Contains(gdSelected))
            ABrush->SetColor(clHighlight);
        else if (ACol == 1 && ARow == 2)
            ABrush->SetColor(clCellBase);
        else
            ABrush->SetColor(clWhite);
    }
};

void SetupGrid(TPaintGrid *g, int fixedCols = 1, int fixedRows = 1)
{
    g->SetBorderStyle(bsNone);
    g->SetScrollBars(ssNone);
    g->SetBounds(0, 0, 300, 200);
    g->SetColCount(8);
    g->SetRowCount(20);
    g->SetFixedCols(fixedCols);
    g->SetFixedRows(fixedRows);
    g->SetDefaultColWidth(40);
    g->SetDefaultRowHeight(20);
    g->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect});
}

std::unique_ptr<TPaintGrid> MakeGrid(int fixedCols = 1, int fixedRows = 1)
{
    auto g = std::make_unique<TPaintGrid>();
    SetupGrid(g.get(), fixedCols, fixedRows);
    return g;
}

QImage Render(TPaintGrid &g)
{
    g.HandleNeeded();
    QWidget *w = g.Widget();
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::black);
    g.Drawn.clear();
    w->render(&img);
    return img;
}

int DrawnAt(TPaintGrid &g, int c, int r)
{
    auto it = g.Drawn.find({c, r});
    return it == g.Drawn.end() ? 0 : it->second;
}

TRect ContentAt(TPaintGrid &g, int c, int r)
{
    return g.Content[{c, r}];
}

QColor C(TColor Color)
{
    return ColorToQColor(Color);
}

TEST(BaseGridPaint, WideGridLinesLieInsideTheCell)
{
    auto g = MakeGrid(0, 0);
    g->SetGridLineWidth(3);
    EXPECT_EQ(static_cast<TStringGrid &>(*g).GridLineWidth(), 0);
    QImage img = Render(*g);
    // Cell (1, 1) covers 40..79 x 20..39: lines 3 wide end at its right and bottom edges.
    const QColor line(0xC0, 0xC0, 0xC0);
    for (int y : {37, 38, 39})
        EXPECT_EQ(img.pixelColor(60, y), line) << y;
    EXPECT_EQ(img.pixelColor(60, 36), C(clWhite));
    for (int x : {77, 78, 79})
        EXPECT_EQ(img.pixelColor(x, 30), line) << x;
    EXPECT_EQ(img.pixelColor(76, 30), C(clWhite));
    EXPECT_EQ(ContentAt(*g, 1, 1), TRect(43, 23, 77, 37));

    // Fixed cells keep one-pixel lines in their own colour.
    auto f = MakeGrid(1, 1);
    f->SetGridLineWidth(3);
    QImage fi = Render(*f);
    EXPECT_EQ(fi.pixelColor(20, 19), C(f->GridFixedLineColor()));
    EXPECT_EQ(fi.pixelColor(20, 18), C(clBtnFace));
    EXPECT_EQ(ContentAt(*f, 0, 0), TRect(0, 0, 39, 18));
}

TEST(BaseGridPaint, HiddenLastRowShowsOnlyTheGridColour)
{
    auto g = MakeGrid();
    g->SetRowCount(5);
    g->SetColor(TColorOf(0x203040u));
    g->HideLastRow() = true;
    QImage img = Render(*g);
    // Row 4 covers 80..99.
    for (int x : {5, 60, 139})
        for (int y : {80, 90, 99})
            EXPECT_EQ(img.pixelColor(x, y), C(TColorOf(0x203040u))) << x << "," << y;
    EXPECT_EQ(DrawnAt(*g, 2, 4), 0);
    EXPECT_EQ(DrawnAt(*g, 2, 3), 1);
}

TEST(BaseGridPaint, MergedRangeIsPaintedOncePerPass)
{
    auto g = MakeGrid();
    g->MergeCells(2, 3, 3, 4); // columns 2..4, rows 3..6
    // The base row is scrolled away: only non-base cells are in view.
    g->SetTopRow(4);
    const int id = g->PaintID();
    QImage img = Render(*g);
    EXPECT_EQ(g->PaintID(), id + 1);
    EXPECT_EQ(DrawnAt(*g, 2, 3), 1);
    for (int r = 4; r <= 6; ++r)
        for (int c = 2; c <= 4; ++c)
            EXPECT_EQ(DrawnAt(*g, c, r), 0) << c << "," << r;
    // The whole range's rectangle: from a row above the view down to row 6.
    EXPECT_EQ(ContentAt(*g, 2, 3), TRect(81, 1, 199, 79));
    Render(*g);
    EXPECT_EQ(DrawnAt(*g, 2, 3), 1);
}

TEST(BaseGridPaint, MergedRangeInViewIsPaintedOnceByItsBaseCell)
{
    auto g = MakeGrid();
    g->MergeCells(2, 3, 2, 2);
    Render(*g);
    EXPECT_EQ(DrawnAt(*g, 2, 3), 1);
    EXPECT_EQ(DrawnAt(*g, 3, 3), 0);
    EXPECT_EQ(DrawnAt(*g, 3, 4), 0);
}

TEST(BaseGridPaint, HoverRowCells)
{
    struct {
        THoverRowCells Cells;
        bool Selected, Fixed, Normal;
    } cases[] = {
        {THoverRowCells{hcNormal}, false, false, true},
        {THoverRowCells{}, false, false, true},
        {THoverRowCells{hcNormal, hcSelected, hcFixed}, true, true, true},
    };
    const TColor hover = TColorOf(0x8080FFu);
    for (const auto &c : cases) {
        auto g = MakeGrid();
        g->SetHoverRow(true);
        g->SetHoverRowColor(hover);
        g->SetHoverRowCells(c.Cells);
        g->HoverRowIdx() = 2;
        g->SetSelection({3, 2, 3, 2});
        QImage img = Render(*g);
        // Row 2 covers 40..59; column 0 is fixed, column 3 selected, column 5 normal.
        EXPECT_EQ(img.pixelColor(20, 50) == C(hover), c.Fixed);
        EXPECT_EQ(img.pixelColor(140, 50) == C(hover), c.Selected);
        EXPECT_EQ(img.pixelColor(220, 50) == C(hover), c.Normal);
        EXPECT_EQ(img.pixelColor(220, 70), C(clWhite));
    }
}

TEST(BaseGridPaint, ActiveRowAndPaintCellExt)
{
    auto g = MakeGrid();
    g->SetActiveRowShow(true);
    g->SetActiveRowColor(clYellow);
    g->SetCol(2);
    g->SetRow(3);
    QImage img = Render(*g);
    // Row 3 covers 60..79; the current cell keeps its look while the selection shows.
    EXPECT_EQ(img.pixelColor(180, 70), C(clYellow));
    EXPECT_NE(img.pixelColor(100, 70), C(clYellow));
    EXPECT_NE(img.pixelColor(20, 70), C(clYellow));

    TBitmap bmp(50, 30);
    g->Drawn.clear();
    // As the header drag button paints the corner cell.
    g->PaintCellExt(bmp.Canvas(), 0, 0, TRect(0, 0, 40, 20), TGridDrawState{gdSelected});
    EXPECT_EQ(bmp.Canvas()->Pixels(10, 10), clYellow);
    EXPECT_TRUE(g->Drawn.empty());
}

TEST(BaseGridPaint, NodeGridsDrawNoBottomLineInColumnZero)
{
    auto g = MakeGrid(0, 0);
    g->Nodes = true;
    QImage img = Render(*g);
    // The bottom line of row 1 lies at y = 39.
    EXPECT_EQ(img.pixelColor(20, 39), C(clWhite));
    EXPECT_EQ(img.pixelColor(60, 39), QColor(0xC0, 0xC0, 0xC0));
    g->Nodes = false;
    img = Render(*g);
    EXPECT_EQ(img.pixelColor(20, 39), QColor(0xC0, 0xC0, 0xC0));
}

TEST(BaseGridPaint, ScrolledRangeStaysOutOfTheFixedCells)
{
    auto g = MakeGrid();
    g->MergeCells(1, 2, 1, 4); // column 1, rows 2..5
    g->SetTopRow(4);
    QImage img = Render(*g);
    // The range starts one row above the first scrolling row, under the fixed row 0.
    EXPECT_EQ(img.pixelColor(60, 10), C(clBtnFace));
    EXPECT_EQ(img.pixelColor(60, 30), C(clCellBase));
}

TEST(BaseGridPaint, VistaSelectionPiecesFocusedAndNot)
{
    const TColor vistaOuter = TColorOf(0xFDDE99u), greyOuter = TColorOf(0xD9D9D9u);
    // The outer line runs down the left edge of a left end and 2 pixels in from the right edge
    // of a right end; row 2 covers 40..59, its middle is row 48.
    auto edges = [](const QImage &img, int left, int right, TColor outer) {
        return std::make_pair(img.pixelColor(left, 48) == C(outer), img.pixelColor(right - 2, 48) == C(outer));
    };
    auto g = MakeGrid();
    g->SetSelectionStyle(ssVista);
    g->SetSelection({2, 2, 4, 2});
    QImage img = Render(*g);
    EXPECT_EQ(edges(img, 80, 120, greyOuter), std::make_pair(true, false));
    EXPECT_EQ(edges(img, 120, 160, greyOuter), std::make_pair(false, false));
    EXPECT_EQ(edges(img, 160, 200, greyOuter), std::make_pair(false, true));
    // The inside takes the grey fill, not the cell's own brush.
    const QColor inside = img.pixelColor(140, 44);
    EXPECT_TRUE(inside.red() == inside.blue() && inside.red() >= 0xE5 && inside.red() <= 0xF8) << inside.red();

    TGridOptions o = g->Options();
    o << goDrawFocusSelected;
    g->SetOptions(o);
    img = Render(*g);
    EXPECT_EQ(edges(img, 80, 120, vistaOuter), std::make_pair(true, false));
    EXPECT_EQ(edges(img, 160, 200, vistaOuter), std::make_pair(false, true));

    // One column selected: a single piece with both ends; the grid's own focus counts as well.
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto *f = new TPaintGrid(form.get());
    f->SetParent(form.get());
    SetupGrid(f);
    f->SetSelectionStyle(ssVista);
    f->SetSelection({3, 2, 3, 2});
    form->Show();
    f->SetFocus();
    EXPECT_EQ(GetFocus(), f->Handle());
    img = Render(*f);
    EXPECT_EQ(edges(img, 120, 160, vistaOuter), std::make_pair(true, true));
}

} // namespace
