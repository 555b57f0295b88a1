// The paint pass of the string grid and the painting of one cell: which colours, font,
// gradient and alignment a cell gets, and the order in which the background, the content, the
// borders, the graphic, the events and the focus rectangle are drawn over it.
#include "grid/view/ExtGridPaintContext.h"

void TExtStringGrid::Paint()
{
    TBaseGrid::Paint();
}

void TExtStringGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    TBaseGrid::DrawCell(ACol, ARow, ARect, AState);
}

void TExtStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select,
                                         bool Remap, TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor,
                                         TColor &AMirrorColorTo, TFont *AFont, TAlignment &HA, TVAlignment &VA,
                                         bool &WW, TCellGradientDirection &GD)
{
    TBaseGrid::GetVisualProperties(ACol, ARow, AState, Print, Select, Remap, ABrush, AColorTo, AMirrorColor,
                                   AMirrorColorTo, AFont, HA, VA, WW, GD);
}

void TExtStringGrid::DrawGridCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    TCellPaintContext ctx;
    ctx.Canvas = ACanvas;
    ctx.Grid = this;
    ctx.DisplayCol = ACol;
    ctx.RealCol = DisplToRealCol(ACol);
    ctx.Row = ARow;
    ctx.SelectRow = ARow;
    ctx.PaintRect = ARect;
    ctx.OrgRight = ARect.Right;
    ctx.State = AState;
    DrawCellContent(ctx);
}

void TExtStringGrid::DrawCellBackGround(TCellPaintContext &Ctx) {}
void TExtStringGrid::DrawCellBorders(TCellPaintContext &Ctx, TRect R) {}
void TExtStringGrid::DrawNodeTreeLines(TCellPaintContext &Ctx, const TRect &R) {}
void TExtStringGrid::PaintBackGroundArea() {}
void TExtStringGrid::DrawFocusRectangle(TCellPaintContext &Ctx, TRect R) {}
void TExtStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState &AState, TFont *AFont,
                                       TBrush *ABrush)
{
}
std::pair<TAlignment, TVAlignment> TExtStringGrid::GetCellAlignment(int ACol, int ARow)
{
    return {FDefaultAlignment, FVAlignment};
}
TColor TExtStringGrid::BlendColors(TColor Color1, TColor Color2, int Percent) { return Color1; }
TColor TExtStringGrid::BlendColorsIf(TColor Color1, TColor Color2, bool Blend, int Percent) { return Color1; }
bool TExtStringGrid::IsSelected(int ACol, int ARow) const { return false; }
void TExtStringGrid::SetSelectionColorMixerFactor(int Value)
{
    if (Value != FSelectionColorMixerFactor) {
        FSelectionColorMixerFactor = Value;
        Invalidate();
    }
}
