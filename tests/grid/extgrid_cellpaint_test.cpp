// A shown grid's cell content on its pixels: data check boxes as the rule editors use them, the
// disabled look of a read-only column, mini-HTML colours, header edges of the configurator's look,
// and graphic cells whose text is no number.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridDraw.h"
#include "platform/ImgList.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

class CellPaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetBorderStyle(bsNone);
        G->SetScrollBars(ssNone);
        G->SetBounds(0, 0, 340, 160);
        G->SetColCount(4);
        G->SetRowCount(5);
        G->SetFixedCols(0);
        G->SetFixedRows(1);
        G->SetDefaultColWidth(80);
        G->SetDefaultRowHeight(24);
        G->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goEditing});
        G->ControlLook()->SetControlStyle(TControlLook::csWinXP);
        // Keep the cells under test out of the selection.
        G->SetCol(3);
        G->SetRow(4);
    }
    QImage Render()
    {
        G->HandleNeeded();
        QWidget *w = G->Widget();
        QImage img(w->size(), QImage::Format_ARGB32);
        img.fill(Qt::black);
        w->render(&img);
        return img;
    }
    // Pixels of colour C inside the cell's rectangle.
    int Count(const QImage &Img, int ACol, int ARow, QColor C)
    {
        const TRect r = G->CellRect(ACol, ARow);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                n += Img.pixelColor(x, y) == C;
        return n;
    }
    TCellGraphic *Graphic(int ACol, int ARow, TCellType T)
    {
        TCellGraphic *g = G->CreateCellGraphic(ACol, ARow);
        g->SetCellType(T);
        return g;
    }
    std::unique_ptr<TExtStringGrid> G;
};

const QColor Tick(0x21, 0xA1, 0x21), Frame(0x1C, 0x51, 0x80), Pale(0xCA, 0xC8, 0xBB);

TEST_F(CellPaintTest, DataCheckBoxIsCheckedOnlyByTheExactCheckText)
{
    G->SetCheckTrue(QStringLiteral("Y"));
    Graphic(1, 1, ctDataCheckBox);
    Graphic(1, 2, ctDataCheckBox);
    Graphic(1, 3, ctDataCheckBox);
    G->SetCells(1, 1, QStringLiteral("Y"));
    G->SetCells(1, 2, QStringLiteral("y"));
    G->SetCells(1, 3, QStringLiteral("N"));
    const QImage img = Render();
    EXPECT_EQ(Count(img, 1, 1, Tick), 21);
    EXPECT_EQ(Count(img, 1, 1, Frame), 48);
    EXPECT_EQ(Count(img, 1, 2, Tick), 0); // "y" is not "Y"
    EXPECT_EQ(Count(img, 1, 2, Frame), 48);
    EXPECT_EQ(Count(img, 1, 3, Tick), 0);
    // The text of a data check box is not drawn beside it.
    EXPECT_EQ(Count(img, 1, 1, QColor(0, 0, 0)), 0);
}

TEST_F(CellPaintTest, ReadOnlyColumnShowsTheDisabledBoxesUnlessAlwaysActive)
{
    G->OnCanEditCell = [](TObject *, int, int ACol, bool &CanEdit) {
        if (ACol == 2)
            CanEdit = false;
    };
    Graphic(2, 1, ctDataCheckBox);
    Graphic(2, 2, ctDataCheckBox);
    G->SetCells(2, 1, QStringLiteral("Y"));
    G->SetCells(2, 2, QStringLiteral("N"));
    QImage img = Render();
    EXPECT_EQ(Count(img, 2, 1, Pale), 48 + 21); // frame and tick of the disabled checked box
    EXPECT_EQ(Count(img, 2, 2, Pale), 48);
    EXPECT_EQ(Count(img, 2, 1, Frame), 0);

    G->ControlLook()->SetCheckAlwaysActive(true);
    img = Render();
    EXPECT_EQ(Count(img, 2, 1, Frame), 48);
    EXPECT_EQ(Count(img, 2, 1, Tick), 21);
}

TEST_F(CellPaintTest, HtmlColoursTextUnlessHtmlIsOff)
{
    G->SetCells(1, 1, QStringLiteral("<font color=\"#FF0000\">WWW</font>"));
    QImage img = Render();
    EXPECT_GT(Count(img, 1, 1, QColor(255, 0, 0)), 5);
    G->SetEnableHTML(false);
    img = Render();
    EXPECT_EQ(Count(img, 1, 1, QColor(255, 0, 0)), 0);
    EXPECT_GT(Count(img, 1, 1, QColor(0, 0, 0)), 20); // the tags show as black text
}

TEST_F(CellPaintTest, XPHeaderHasAWhiteLineUnderItsTopAndAHalvedBottomLine)
{
    G->SetFixedColor(TColorOf(0xC0A080u));
    G->SetLook(glXP);
    const QImage img = Render();
    const TRect r = G->CellRect(1, 0);
    const QColor half = ColorToQColor(DarkenColorHalf(TColorOf(0xC0A080u)));
    // The edges are drawn over the cell grown by the grid line: one pixel in from that, the
    // white lines lie on the cell's first row and column, the halved line on its grid line.
    const int midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(img.pixelColor(midX, r.Top), QColor(255, 255, 255));
    EXPECT_EQ(img.pixelColor(r.Left, midY), QColor(255, 255, 255));
    EXPECT_EQ(img.pixelColor(midX, r.Bottom - 1), half);
    EXPECT_NE(img.pixelColor(midX, r.Top + 1), QColor(255, 255, 255)); // the gradient below it
}

TEST_F(CellPaintTest, HeaderMirrorGradientRunsFromItsFirstToItsLastColour)
{
    G->SetLook(glXP);
    G->SetQRVGradientFrom(TColorOf(0x0000FFu));
    G->SetQRVGradientTo(TColorOf(0x000080u));
    G->SetQRVGradientMirrorFrom(TColorOf(0x008000u));
    G->SetQRVGradientMirrorTo(TColorOf(0x00FF00u));
    const QImage img = Render();
    const TRect r = G->CellRect(1, 0);
    const int x = (r.Left + r.Right) / 2, mid = (r.Top + r.Bottom) / 2;
    auto near = [](QColor got, QColor want) {
        return std::abs(got.red() - want.red()) <= 24 && std::abs(got.green() - want.green()) <= 24 &&
               std::abs(got.blue() - want.blue()) <= 24;
    };
    // Under the white top line the upper half runs red to dark red, the lower half dark green to
    // green down to the bottom line.
    const std::pair<int, QColor> samples[] = {
        {r.Top + 1, QColor(255, 0, 0)}, {mid - 2, QColor(128, 0, 0)}, {mid, QColor(0, 128, 0)},
        {r.Bottom - 3, QColor(0, 255, 0)}};
    for (const auto &[y, want] : samples)
        EXPECT_TRUE(near(img.pixelColor(x, y), want)) << y << " " << img.pixelColor(x, y).name().toStdString();
}

TEST_F(CellPaintTest, DesignTimeHeaderShowsEachColumnsNumber)
{
    // The numbers are gray text at the bottom right of the header cells, and nowhere else.
    const QColor gray(0x80, 0x80, 0x80);
    G->SetLook(glXP);
    const QImage run = Render();
    G->SetDesigning(true);
    const QImage design = Render();
    EXPECT_GT(Count(design, 2, 0, gray), Count(run, 2, 0, gray));
    EXPECT_EQ(Count(design, 2, 1, gray), Count(run, 2, 1, gray));
}

TEST_F(CellPaintTest, GraphicCellsHoldingNoNumberPaintWithoutFailing)
{
    TCustomImageList images(nullptr);
    for (TCellType t : {ctProgress, ctXPProgress, ctRating, ctDataImage, ctRangeIndicator}) {
        TCellGraphic *g = Graphic(1, 1, t);
        g->SetCellAngle(5);
        g->SetCellErrFrom(0);
        g->SetCellErrLen(t == ctXPProgress ? 0 : 100); // an empty range shows 0 %
        G->SetCells(1, 1, QStringLiteral("abc"));
        EXPECT_NO_THROW(Render()) << t;
        G->SetCells(1, 1, QStringLiteral("-"));
        EXPECT_NO_THROW(Render()) << t;
    }
}

TEST_F(CellPaintTest, RichTextCellDrawsItsFormattedText)
{
    const UnicodeString rtf = QStringLiteral("{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}\\cf1 WWWW}");
    G->SetCells(1, 1, rtf);
    const QImage img = Render();
    EXPECT_GT(Count(img, 1, 1, QColor(255, 0, 0)), 5);
    // The markup itself is not shown.
    EXPECT_EQ(Count(img, 1, 1, QColor(0, 0, 0)), 0);
    // Measured as the text it shows, not as its markup.
    const TPoint size = G->GetCellTextSize(1, 1, false, false);
    G->SetCells(1, 2, QStringLiteral("WWWW"));
    const TPoint plain = G->GetCellTextSize(1, 2, false, false);
    EXPECT_GT(size.X, 0);
    EXPECT_LT(size.X, 2 * plain.X);
}

TEST_F(CellPaintTest, CellButtonKeepsItsPlaceForThePointerAndShowsItsCaption)
{
    TCellGraphic *g = Graphic(1, 1, ctButton);
    g->SetCellIndex((18 << 16) | 60);
    g->SetCellText(QStringLiteral("Go"));
    g->SetCellHAlign(haLeft);
    g->SetCellVAlign(vaTop);
    const QImage img = Render();
    const TRect cell = G->CellRect(1, 1);
    const int dx = static_cast<int>(g->CellValue()) & 0xFFFF, dy = static_cast<int>(g->CellValue()) >> 16;
    EXPECT_GE(dx, 0);
    EXPECT_LT(dx, 6);
    EXPECT_GE(dy, 0);
    EXPECT_LT(dy, 6);
    // The face is button-coloured and the caption dark on it.
    EXPECT_EQ(img.pixelColor(cell.Left + dx + 30, cell.Top + dy + 3), ColorToQColor(clBtnFace));
    EXPECT_GT(Count(img, 1, 1, QColor(0, 0, 0)), 10);
}


TEST_F(CellPaintTest, TurnedTextSitsWhereItsAlignmentsPutIt)
{
    G->SetBounds(0, 0, 340, 260);
    G->SetDefaultRowHeight(60);
    G->SetCells(1, 2, QStringLiteral("Abc"));
    G->SetRotated(1, 2, 90);
    struct Case {
        TAlignment H;
        TVAlignment V;
    };
    const Case cases[] = {{taLeftJustify, vtaTop}, {taRightJustify, vtaBottom}, {taCenter, vtaCenter}};
    const TRect cell = G->CellRect(1, 2);
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.H) * 10 + int(c.V));
        G->OnGetAlignment = [c](TObject *, int, int, TAlignment &H, TVAlignment &V) {
            H = c.H;
            V = c.V;
        };
        const QImage img = Render();
        int l = cell.Right, t = cell.Bottom, r = cell.Left, b = cell.Top;
        for (int y = cell.Top; y < cell.Bottom - 1; ++y)
            for (int x = cell.Left; x < cell.Right - 1; ++x)
                if (img.pixelColor(x, y) == QColor(0, 0, 0)) {
                    l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
                }
        ASSERT_LT(l, r);
        ASSERT_LT(t, b);
        // Turned upright, the text is taller than wide.
        EXPECT_GT(b - t, r - l);
        const int room = 10;
        if (c.H == taLeftJustify)
            EXPECT_LT(l - cell.Left, room);
        else if (c.H == taRightJustify)
            EXPECT_LT(cell.Right - r, room);
        else
            EXPECT_LT(std::abs((l + r) - (cell.Left + cell.Right)), room);
        if (c.V == vtaTop)
            EXPECT_LT(t - cell.Top, room);
        else if (c.V == vtaBottom)
            EXPECT_LT(cell.Bottom - b, room);
        else
            EXPECT_LT(std::abs((t + b) - (cell.Top + cell.Bottom)), room);
    }
}

} // namespace
