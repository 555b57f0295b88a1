// Cell text: the content drawer of a cell and the layout of its graphic beside the text.
// Until the full text drawing lands, a cell shows its plain text in the decided alignment.
#include "grid/view/ExtGridPaintContext.h"

#include "platform/WinGdi.h"
#include "platform/Windows.h"

void TExtStringGrid::DrawCellContent(TCellPaintContext &Ctx)
{
    DrawCellBackGround(Ctx);
    if (!Ctx.TextAllowed)
        return;
    TRect r = Ctx.PaintRect;
    unsigned flags = DT_NOPREFIX | DT_EXPANDTABS;
    flags |= Ctx.HAlign == taRightJustify ? DT_RIGHT : Ctx.HAlign == taCenter ? DT_CENTER : 0;
    flags |= Ctx.VAlign == vtaCenter ? DT_VCENTER : Ctx.VAlign == vtaBottom ? DT_BOTTOM : 0;
    flags |= Ctx.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    r.Left += FXYOffset.X;
    r.Top += FXYOffset.Y;
    Ctx.Canvas->SetBkMode(TRANSPARENT);
    DrawTextW(Ctx.Canvas->Handle(), Cells(Ctx.RealCol, Ctx.Row), -1, &r, flags);
}

TCellGraphic *TExtStringGrid::GetCellGraphicLayout(int ACol, int ARow, TCellVAlign &VAlign, TCellHAlign &HAlign,
                                                   bool &TextAllowed, int &Height, int &Width)
{
    TCellGraphic *g = GetCellGraphic(ACol, ARow);
    VAlign = g ? g->CellVAlign() : vaTop;
    HAlign = g ? g->CellHAlign() : haLeft;
    Width = 0;
    Height = 0;
    TextAllowed = true;
    return g;
}

UnicodeString TExtStringGrid::GetFormattedCell(int ACol, int ARow)
{
    return Cells(ACol, ARow);
}
