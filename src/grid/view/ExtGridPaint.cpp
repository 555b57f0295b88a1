// The paint pass of the string grid and the painting of one cell: which colours, font,
// gradient and alignment a cell gets, and the order in which the background, the content, the
// borders, the graphic, the events and the focus rectangle are drawn over it.
//
// Painting reports nothing: a handler or drawer that fails costs its own cell, never the pass.
#include "grid/view/ExtGridPaintContext.h"

#include "controls/ExtDropDown.h"
#include "controls/ExtGridDraw.h"
#include "controls/ExtGridUtil.h"

#include "platform/SysUtils.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace {

// A flag list of one entry per index (rows or columns): beyond its end nothing is set.
bool FlagAt(const TIntList *List, int Index)
{
    return List && Index >= 0 && Index < List->Count() && List->Items(Index) != 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The pass

void TExtStringGrid::Paint()
{
    TCanvas *c = Canvas();
    if (!c)
        return;
    ++FPaintDepth;
    try {
        c->Pen()->SetStyle(TPenStyle::psSolid);
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        TBaseGrid::Paint();

        if (FEditing) {
            const TGridOptions &opts = Options();
            TColor pen = GridLineWidth() < 1 ? Color() : GridLineColor();
            if (!opts.Contains(goHorzLine) && !opts.Contains(goVertLine))
                pen = Color();
            c->Pen()->SetColor(pen);
            c->Rectangle(CellRect(Col(), Row()));
        }

        c->Pen()->SetColor(clBlack);
        if (FBackGround->HasBitmap() || FBackGround->ColorTo != clNone)
            PaintBackGroundArea();
        DrawInputOverlays(c);
        if (wheelpan)
            DrawPanMarker(c);
        if (OnPainted)
            OnPainted(this);
        DrawBorder();
        DrawDesignHelper(c);
    } catch (...) {
    }
    --FPaintDepth;
}

void TExtStringGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    const TRect r = ARect;
    try {
        TBaseGrid::DrawCell(ACol, ARow, r, AState);
    } catch (...) {
        // One cell that fails to paint must not take the rest of the grid with it.
    }
}

// ---------------------------------------------------------------------------------------------
// Colours

TColor TExtStringGrid::BlendColors(TColor Color1, TColor Color2, int Percent)
{
    if (Percent >= 100)
        return Color1;
    if (Percent < 1 || Color1 == clNone)
        return Color2;
    if (Color2 == clNone)
        return Color1;
    return ::BlendColors(Color1, Color2, Percent);
}

TColor TExtStringGrid::BlendColorsIf(TColor Color1, TColor Color2, bool Blend, int Percent)
{
    return Blend ? BlendColors(Color1, Color2, Percent) : Color1;
}

bool TExtStringGrid::IsSelected(int ACol, int ARow) const
{
    if (ARow < FixedRows() || ACol < FixedCols())
        return false;
    if (FMouseActions->DisjunctCellSelect())
        return SelectedCells(ACol, ARow);
    if (FMouseActions->DisjunctRowSelect())
        return FlagAt(FRowSelect, FMouseActions->RowSelectPersistent ? RealRowIndex(ARow) : ARow);
    if (FMouseActions->DisjunctColSelect())
        return FlagAt(FColSelect, ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

void TExtStringGrid::GetFontProperties(int ACol, int RCol, int ARow, TGridDrawState &AState, TFont *AFont,
                                       TBrush *ABrush)
{
    const bool fixed = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    AFont->Assign(fixed ? FFixedFont : Font());
    if (CellHasProperties(RCol, ARow)) {
        TCellProperties *p = PropsOf(RCol, ARow);
        if (p->FontColor() != clNone)
            AFont->SetColor(p->FontColor());
        if (p->FontStyle() != TFontStyles())
            AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0)
            AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty())
            AFont->SetName(p->FontName());
    }
    DoGetCellColor(RCol, ARow, AState, ABrush, AFont);
}

std::pair<TAlignment, TVAlignment> TExtStringGrid::GetCellAlignment(int ACol, int ARow)
{
    TAlignment ha = FDefaultAlignment;
    TVAlignment va = FVAlignment;
    bool formula = false;
    if (FAutoNumAlign && ACol >= 0 && ARow >= 0 && ACol < TotalColCount() && ARow < RowCount()) {
        UnicodeString s = Cells(ACol, ARow);
        if ((!s.isEmpty() && s[0] == u'=') || (s.size() > 3 && s.startsWith(QStringLiteral("|\\")) && s[3] == u'=')) {
            formula = true;
            s = GetCellText(ACol, ARow);
        }
        const int kind = NumberKindOf(s.trimmed());
        if (kind == 0 || kind == 1 || kind == 5)
            ha = taRightJustify;
    }
    if (!formula && CellHasProperties(ACol, ARow))
        ha = PropsOf(ACol, ARow)->Alignment();
    DoGetAlignment(ACol, ARow, ha, va);
    return {ha, va};
}

void TExtStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select,
                                         bool Remap, TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor,
                                         TColor &AMirrorColorTo, TFont *AFont, TAlignment &HA, TVAlignment &VA,
                                         bool &WW, TCellGradientDirection &GD)
{
    const bool fixedArea = ACol < FixedCols() || ARow < FixedRows();
    // A printed page has fonts of its own unless it prints with the grid's.
    const bool printFonts = Print && !FPrintSettings->UseDisplayFont;
    if (fixedArea)
        AFont->Assign(printFonts ? FPrintSettings->FixedFont() : FFixedFont);
    else
        AFont->Assign(printFonts ? FPrintSettings->Font() : Font());

    const int RCol = Remap ? DisplToRealCol(ACol) : ACol;
    const bool disjunctRows = FMouseActions->DisjunctRowSelect();
    const bool disjunctCols = FMouseActions->DisjunctColSelect();
    const int selRow = (disjunctRows && FMouseActions->RowSelectPersistent) || FUseEnabledRows ? RealRowIndex(ARow)
                                                                                               : ARow;

    ABrush->SetColor(clNone);
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    bool ownColor = false;
    if (CellHasProperties(RCol, ARow)) {
        TCellProperties *p = PropsOf(RCol, ARow);
        ABrush->SetColor(p->BrushColor());
        if (p->BrushColor() != clNone) {
            const TCellType t = GetCellType(RCol, ARow);
            ownColor = t == ctNone || t == ctRotated || t == ctEmpty;
        }
        if (p->FontColor() != clNone)
            AFont->SetColor(p->FontColor());
        if (p->FontStyle() != TFontStyles())
            AFont->SetStyle(p->FontStyle());
        if (p->FontSize() != 0)
            AFont->SetSize(p->FontSize());
        if (!p->FontName().isEmpty())
            AFont->SetName(p->FontName());
        WW = p->WordWrap();
        AColorTo = p->BrushColorTo();
        GD = p->GradientDirection();
    }

    if (AState.Contains(gdSelected))
        GD = GradientVertical;

    if (ABrush->Color() == clNone) {
        ABrush->SetColor(Color());
        const bool normal = RCol >= FixedCols() && RCol < TotalColCount() - FFixedRightCols && ARow >= FixedRows() &&
                            ARow < RowCount() - FFixedFooters;
        if (normal) {
            const int total = FBands->PrimaryLength() + FBands->SecondaryLength();
            if (FBands->Active() && (!Print || FBands->Print) && total > 0)
                ABrush->SetColor((ARow - FixedRows()) % total < FBands->PrimaryLength() ? FBands->PrimaryColor()
                                                                                      : FBands->SecondaryColor());
        } else {
            ABrush->SetColor(FixedColor());
        }
    }

    const bool fixed = IsFixed(ACol, ARow) || fixedArea;
    if (fixed && !ownColor) {
        if (!Print) {
            ABrush->SetColor(FixedColor());
            AFont->Assign(FFixedFont);
            AState << gdFixed;
        }
        if (FLook > glClassic) {
            ABrush->SetColor(FQRVGradFrom);
            AColorTo = FQRVGradTo;
            AMirrorColor = FQRVGradMirrorFrom;
            AMirrorColorTo = FQRVGradMirrorTo;
        }
    }

    if (Print)
        DoGetCellPrintColor(RCol, ARow, AState, ABrush, AFont);
    else
        DoGetCellColor(RCol, ARow, AState, ABrush, AFont);

    if (OnGetCellGradient) {
        TColor c = ABrush->Color();
        OnGetCellGradient(this, ARow, RCol, c, AColorTo, AMirrorColor, AMirrorColorTo, GD);
        ABrush->SetColor(c);
    }

    const TColor baseBrush = ABrush->Color();
    const TColor baseFont = AFont->Color();
    const TColor baseTo = AColorTo, baseMirror = AMirrorColor, baseMirrorTo = AMirrorColorTo;

    auto selectionLook = [&](TColor Brush) {
        ABrush->SetColor(Brush);
        AColorTo = FSelectionColorTo;
        AMirrorColor = FSelectionMirrorColor;
        AMirrorColorTo = FSelectionMirrorColorTo;
        if (FSelectionTextColor != clNone)
            AFont->SetColor(FSelectionTextColor);
    };

    const bool normalCol = ACol >= FixedCols() && ACol < ColCount() - FFixedRightCols;
    const bool normalRow = ARow >= FixedRows() && ARow < RowCount() - FFixedFooters;
    const bool mayShow = !Print && Select && FShowSelection && !fixed;

    if (normalCol && normalRow && disjunctRows && mayShow) {
        const bool rowSel = FlagAt(FRowSelect, selRow);
        if ((rowSel && (!FMouseDown || ARow != Row())) || (FMouseDown && !rowSel && AState.Contains(gdSelected))) {
            AState = TGridDrawState{gdSelected};
            selectionLook(FSelectionColor);
        } else {
            AState >> gdSelected;
        }
    }

    if (ARow >= FixedRows() && normalCol && disjunctCols && mayShow) {
        const bool colSel = FlagAt(FColSelect, ACol);
        if (((!FMouseDown || Col() != ACol) && colSel) || (FMouseDown && !colSel && AState.Contains(gdSelected))) {
            AState = TGridDrawState{gdSelected};
            selectionLook(FSelectionColor);
        }
    }

    if ((mayShow && !disjunctRows && !disjunctCols && IsSelected(ACol, ARow)) ||
        (AState.Contains(gdSelected) && FMouseDown && FShowSelection)) {
        const TColor brush = ABrush->Color();
        selectionLook(brush == Color() ? FSelectionColor
                                       : BlendColorsIf(FSelectionColor, brush, FSelectionColorMixer,
                                                       FSelectionColorMixerFactor));
        AState << gdSelected;
    }

    if (FMouseActions->DisjunctCellSelect() && FShowSelection) {
        if (SelectedCells(ACol, ARow)) {
            selectionLook(FSelectionColor);
            AState << gdSelected;
        } else if (ACol == Col() && ARow == Row()) {
            AState >> gdSelected;
            ABrush->SetColor(baseBrush);
            AFont->SetColor(baseFont);
            AColorTo = baseTo;
            AMirrorColor = baseMirror;
            AMirrorColorTo = baseMirrorTo;
        }
    }

    if (FUseDisabledFont && ((FUseEnabledRows && FlagAt(FEnabledRows, selRow)) || !Enabled()))
        AFont->SetColor(FDisabledFontColor);

    if (AState.Contains(gdSelected) && ARow != Row() && disjunctRows && FSelectionColorTo == clNone)
        ABrush->SetColor(ColorScalePercent(ABrush->Color(), 7));

    DoGetWordWrap(RCol, ARow, WW);
    const auto al = GetCellAlignment(RCol, ARow);
    HA = al.first;
    VA = al.second;
}

// ---------------------------------------------------------------------------------------------
// One cell

void TExtStringGrid::DrawGridCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    // The right fixed columns draw their own lines exactly when the grid is flat.
    if (Ctl3D() == Flat())
        SetCtl3D(!Flat());
    TCellPaintContext ctx;
    ctx.Canvas = ACanvas;
    ctx.Grid = this;
    ctx.DisplayCol = ACol;
    ctx.RealCol = DisplToRealCol(ACol);
    ctx.Row = ARow;
    ctx.SelectRow = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent ? RealRowIndex(ARow)
                                                                                             : ARow;
    ctx.ShowFilterButton = HasFilterButton(ctx.RealCol, ARow);
    ctx.PaintRect = ARect;
    ctx.OrgRight = ARect.Right;
    ctx.State = AState;
    DrawCellScrollBar(ctx);

    ctx.WordWrap = FWordWrap;
    GetVisualProperties(ACol, ARow, ctx.State, false, false, true, ACanvas->Brush(), ctx.ColorTo, ctx.ColorMirror,
                        ctx.ColorMirrorTo, ACanvas->Font(), ctx.HAlign, ctx.VAlign, ctx.WordWrap,
                        ctx.GradientDirection);

    ctx.Graphic = GetCellGraphicLayout(ctx.RealCol, ARow, ctx.GraphicVAlign, ctx.GraphicHAlign, ctx.TextAllowed,
                                       ctx.GraphicHeight, ctx.GraphicWidth);
    if (ctx.RealCol == 0 && ctx.Graphic && ctx.Graphic->CellType() == ctNode && CellHasProperties(0, ARow))
        ctx.GraphicWidth = PropsOf(0, ARow)->NodeLevel() * 12 + 4;

    if (ctx.State.Contains(gdSelected) && !ctx.State.Contains(gdFocused) && FSelectionColor == clNone)
        ACanvas->Brush()->SetColor(clHighlight);

    if (FZoomFactor != 0)
        ACanvas->Font()->SetSize(ACanvas->Font()->Size() + FZoomFactor);
    ctx.SavedBrushColor = ACanvas->Brush()->Color();
    ctx.SavedFontColor = ACanvas->Font()->Color();
    ctx.IsHeader = IsFixed(ACol, ARow) || ACol < FixedCols() || ARow < FixedRows();
    if (ctx.IsHeader && FHoverRow && ARow == FHoverRowIdx && FHoverRowCells.Contains(hcFixed))
        ctx.IsHeader = false;

    // A platform style paints header and selected cells itself; no style engine exists here to
    // draw its element, so the cell takes the colours the style gave it as a plain fill, which
    // the base painter left to this step.
    const bool styled = IsPlatformStyled() && (ctx.IsHeader || ctx.State.Contains(gdSelected));
    if (styled) {
        TColor fill = ctx.SavedBrushColor;
        if (!ctx.IsHeader)
            fill = FSelectionColor != clNone ? FSelectionColor : clHighlight;
        FillRectColor(ACanvas, ctx.PaintRect, fill);
        ACanvas->Brush()->SetColor(ctx.SavedBrushColor);
        if (ctx.IsHeader)
            DrawRowIndicator(ctx);
    } else if (ctx.IsHeader)
        DrawHeaderLook(ctx);

    if (ACol == 0 && FShowModified->Enabled && FlagAt(FModifiedRows, RealRowIndex(ARow))) {
        TRect bar = ctx.PaintRect;
        bar.Left = std::max(bar.Left, bar.Right - 4);
        FillRectColor(ACanvas, bar, FShowModified->Color());
        ACanvas->Brush()->SetColor(ctx.SavedBrushColor);
    }

    if (OnCustomCellBkgDraw)
        OnCustomCellBkgDraw(this, ACanvas, ctx.RealCol, ARow, ctx.State, ctx.PaintRect, false);

    if (!ctx.IsHeader)
        DrawEditorButtons(ctx);

    const bool isInterface = ctx.Graphic && ctx.Graphic->CellType() == ctInterface;
    auto *screenIf = isInterface ? dynamic_cast<ICellGraphicPaint *>(ctx.Graphic->CellObject()) : nullptr;
    const bool interfaceFirst = screenIf && screenIf->DrawBeforeText();
    if (interfaceFirst) {
        TRect g = ctx.PaintRect;
        InflateRect(g, 1, 1);
        DrawInterfaceGraphic(ctx, g);
    }

    const bool eventDraws = bool(OnDrawCell) || bool(OnCustomCellDraw);
    if ((!eventDraws || !FNoDefaultDraw) && !(ctx.Graphic && FNoImageAndText))
        DrawCellContent(ctx);

    ctx.PaintRect.Right = ctx.OrgRight;
    ctx.PaintRect.Left -= ctx.IndicatorWidth;
    ACanvas->Brush()->SetColor(ctx.SavedBrushColor);
    ACanvas->Font()->SetColor(ctx.SavedFontColor);
    TRect r = ctx.PaintRect;
    InflateRect(r, 1, 1);
    DrawCellBorders(ctx, r);

    const bool rightFixed = FFixedRightCols > 0 && FFixedRightCols >= TotalColCount() - ctx.RealCol;
    if (ctx.IsHeader || rightFixed)
        DrawHeaderEdges(ctx, r);

    DrawNodeTreeLines(ctx, r);

    if (isInterface) {
        if (!interfaceFirst)
            DrawInterfaceGraphic(ctx, r);
    } else if (ctx.Graphic) {
        TRect g = r;
        if (ctx.IsHeader)
            g.Top += 1;
        DrawCellGraphic(ctx, g);
    }

    if (OnDrawCell) {
        TRect d = r;
        d.Left += 1;
        d.Top += 1;
        d.Right -= GridLineWidth();
        d.Bottom -= GridLineWidth();
        OnDrawCell(this, ctx.RealCol, ARow, d, ctx.State);
    }
    if (OnCustomCellDraw)
        OnCustomCellDraw(this, ACanvas, ctx.RealCol, ARow, ctx.State, ctx.PaintRect, false);

    DrawFocusRectangle(ctx, r);

    if (Designing() && FShowColNrs && ARow == 0)
        DrawDesignColumnNumber(ACanvas, ctx.RealCol, r);
}

bool TExtStringGrid::HasFilterButton(int RealCol, int ARow)
{
    if (ARow != FFilterDropDownRow || ARow >= FixedRows())
        return false;
    // An automatic list holds the column's own values: asking for it would read every row on
    // every paint, so such a column shows its button unasked.
    if (FFilterDropDownAuto && (RealCol >= FixedCols() || FFilterDropDownColumns == fdAll))
        return true;
    // The hook fills the grid's one filter list; an open drop-down keeps the list it was given.
    TStringList scratch;
    TStringList *kept = FFilterList;
    QStringList keptValues;
    std::swap(keptValues, FFilterValues);
    FFilterList = &scratch;
    bool has = false;
    try {
        has = DoGetColumnFilter(RealCol);
    } catch (...) {
    }
    FFilterList = kept;
    std::swap(keptValues, FFilterValues);
    return has;
}

void TExtStringGrid::DrawDesignColumnNumber(TCanvas *ACanvas, int RealCol, TRect R)
{
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    ACanvas->Font()->SetColor(TColorOf(0x808080u));
    ACanvas->Font()->SetSize(8);
    ACanvas->Font()->SetStyle(TFontStyles());
    R.Right -= 2;
    UnicodeString number = IntToStr(RealCol);
    DrawTextEx(ACanvas->Handle(), number, -1, &R, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, nullptr);
}

void TExtStringGrid::DrawCellScrollBar(TCellPaintContext &Ctx)
{
    // Only a text longer than its page needs the bar: it takes its width from the cell's right.
    // The pass paints a merged range through its base cell, so the cell's own type tells.
    if (!FPaintScrollBar || GetCellType(Ctx.RealCol, Ctx.Row) != ctScrollbar)
        return;
    const TScrollProp prop = GetScrollProp(Ctx.RealCol, Ctx.Row);
    // Nothing to scroll (a range of 0 or below) shows no bar, as with the bar under the pointer.
    if (prop.PageSize >= prop.Range || prop.Range <= 0)
        return;
    TScrollBar *sb = FPaintScrollBar;
    sb->SetPageSize(0);
    sb->SetParams(GetScrollPosition(Ctx.RealCol, Ctx.Row), 0, prop.Range);
    sb->SetPageSize(prop.PageSize);
    sb->SetHeight(Ctx.PaintRect.Bottom - Ctx.PaintRect.Top);
    Ctx.PaintRect.Right -= sb->Width();
    sb->PaintTo(Ctx.Canvas, Ctx.PaintRect.Right, Ctx.PaintRect.Top);
    Ctx.ScrollPos = sb->Position();
}

void TExtStringGrid::DrawFocusRectangle(TCellPaintContext &Ctx, TRect R)
{
    if (FHideFocusRect || Options().Contains(goRowSelect) || Row() < FixedRows() || Col() < FixedCols())
        return;
    if (BaseCell(Ctx.DisplayCol, Ctx.Row) != TPoint(Col(), Row()) || !Focused())
        return;
    const int w = GridLineWidth() - 1;
    InflateRect(R, w, w);
    R.Right -= 1;
    R.Bottom -= 1;
    Ctx.Canvas->DrawFocusRect(R);
}

void TExtStringGrid::DrawCellBorders(TCellPaintContext &Ctx, TRect R)
{
    TCanvas *c = Ctx.Canvas;
    TPen saved;
    saved.Assign(c->Pen());
    TCellBorders borders;
    DoGetCellBorder(Ctx.RealCol, Ctx.Row, c->Pen(), borders);
    // Nothing is drawn without a border; the pens are made only for a handler that may change them.
    if (borders.Empty() && !OnGetCellBorderProp) {
        c->Pen()->Assign(&saved);
        return;
    }
    TPen leftPen, topPen, rightPen, bottomPen;
    for (TPen *p : {&leftPen, &topPen, &rightPen, &bottomPen})
        p->Assign(c->Pen());
    if (OnGetCellBorderProp)
        OnGetCellBorderProp(this, Ctx.Row, Ctx.RealCol, &leftPen, &topPen, &rightPen, &bottomPen);

    const int h = (c->Pen()->Width() + 1) / 2;
    const int dx = Options().Contains(goVertLine) ? h : 0;
    const int dy = Options().Contains(goHorzLine) ? h : 0;
    const int glw = GridLineWidth();
    R.Left += dx;
    R.Bottom -= dy;
    if (borders.Contains(cbLeft)) {
        c->Pen()->Assign(&leftPen);
        c->MoveTo(std::max(0, R.Left), R.Top);
        c->LineTo(std::max(0, R.Left), R.Bottom);
    }
    R.Right -= dx;
    if (borders.Contains(cbRight)) {
        c->Pen()->Assign(&rightPen);
        c->MoveTo(R.Right - 1, R.Top);
        c->LineTo(R.Right - 1, R.Bottom);
    }
    if (borders.Contains(cbTop)) {
        c->Pen()->Assign(&topPen);
        R.Top += dy;
        const int y = glw > 0 ? std::max(0, R.Top - glw) : R.Top + 1;
        c->MoveTo(R.Left, y);
        c->LineTo(R.Right, y);
    }
    if (borders.Contains(cbBottom)) {
        c->Pen()->Assign(&bottomPen);
        c->MoveTo(R.Left - glw - 1, R.Bottom - 1);
        c->LineTo(R.Right, R.Bottom - 1);
    }
    c->Pen()->Assign(&saved);
}

void TExtStringGrid::DrawNodeTreeLines(TCellPaintContext &Ctx, const TRect &R)
{
    if (FNumNodes <= 0 || Ctx.RealCol != 0 || Ctx.Row < FixedRows() || !FCellNode->ShowTree())
        return;
    auto levelOf = [this](int ARow) {
        return ARow >= 0 && ARow < RowCount() && CellHasProperties(0, ARow) ? PropsOf(0, ARow)->NodeLevel() : 0;
    };
    TCanvas *c = Ctx.Canvas;
    c->Pen()->SetColor(FCellNode->TreeColor());
    c->Pen()->SetWidth(1);
    const int indent = FCellNode->NodeIndent();
    const int left = R.Left + GetRowIndent(Ctx.Row);
    const int x = left + indent / 2 - indent + 2;
    const int mid = R.Top + (R.Bottom - R.Top) / 2;
    const int level = levelOf(Ctx.Row);
    const bool lastRow = Ctx.Row == RowCount() - 1;
    const int next = lastRow ? 0 : levelOf(Ctx.Row + 1);

    if (level > 0) {
        c->MoveTo(x, mid);
        c->LineTo(FCellNode->ShowTreeFull() ? R.Right : left + 4, mid);
        // A child whose next row goes on at its level has a sibling below; otherwise it is the last.
        c->MoveTo(x, R.Top);
        c->LineTo(x, next >= level ? R.Bottom + 4 : mid);
    }
    for (int i = 1; i <= level; ++i) {
        const int xi = x - indent * i;
        c->MoveTo(xi, R.Top);
        c->LineTo(xi, mid);
        if (lastRow) {
            if (i < level)
                c->LineTo(x + indent - indent * i, mid);
        } else if (next != 0) {
            c->LineTo(xi, R.Bottom + 4);
        } else if (i < level) {
            c->LineTo(x + indent - indent * i, mid);
        }
    }
    c->Pen()->SetStyle(TPenStyle::psSolid);
}

// ---------------------------------------------------------------------------------------------
// Background picture and gradient

namespace {

bool CellClassMatches(TBackGroundCells Cells, bool Fixed)
{
    return Cells == bcAll || (Fixed ? Cells == bcFixed : Cells == bcNormal);
}

// Tiles Bitmap over Dest, the pattern starting OffX, OffY pixels into the bitmap at Dest's
// top-left, so that neighbouring areas continue one pattern.
void TileBitmap(TCanvas *Canvas, TBitmap *Bitmap, const TRect &Dest, int OffX, int OffY)
{
    const int bw = Bitmap->Width(), bh = Bitmap->Height();
    if (bw <= 0 || bh <= 0 || Dest.Width() <= 0 || Dest.Height() <= 0)
        return;
    for (int y = Dest.Top - OffY; y < Dest.Bottom; y += bh) {
        for (int x = Dest.Left - OffX; x < Dest.Right; x += bw) {
            const TRect piece{std::max(x, Dest.Left), std::max(y, Dest.Top), std::min(x + bw, Dest.Right),
                              std::min(y + bh, Dest.Bottom)};
            if (piece.Width() <= 0 || piece.Height() <= 0)
                continue;
            const TRect src{piece.Left - x, piece.Top - y, piece.Right - x, piece.Bottom - y};
            Canvas->CopyRect(piece, Bitmap->Canvas(), src);
        }
    }
}

} // namespace

void TExtStringGrid::DrawCellBackGround(TCellPaintContext &Ctx)
{
    TBackGround *bg = FBackGround;
    const bool fixed = Ctx.State.Contains(gdFixed);
    if (!CellClassMatches(bg->Cells, fixed))
        return;
    const bool ownColor = CellHasProperties(Ctx.RealCol, Ctx.Row) && PropsOf(Ctx.RealCol, Ctx.Row)->BrushColor() != clNone;
    const bool selected = Ctx.State.Contains(gdSelected);
    const bool focused = Ctx.State.Contains(gdFocused);
    TCanvas *c = Ctx.Canvas;
    const int glw = GridLineWidth();

    if (bg->HasBitmap() && !ownColor && !(FShowSelection && selected)) {
        TRect r = Ctx.PaintRect;
        r.Left -= glw - 1;
        r.Top -= glw - 1;
        TBitmap *bmp = bg->Bitmap();
        if (bg->Display == bdTile) {
            const int first = bg->Cells == bcAll ? 0 : FixedCols();
            int ox = 0, oy = 0;
            for (int i = first; i < Ctx.DisplayCol; ++i)
                ox += ColWidths(i);
            const int firstRow = bg->Cells == bcAll ? 0 : FixedRows();
            for (int i = firstRow; i < Ctx.Row; ++i)
                oy += RowHeights(i);
            if (bmp->Width() > 0 && bmp->Height() > 0)
                TileBitmap(c, bmp, r, ((ox % bmp->Width()) + bmp->Width()) % bmp->Width(),
                           ((oy % bmp->Height()) + bmp->Height()) % bmp->Height());
        } else {
            const TRect placed{bg->Left, bg->Top, bg->Left + bmp->Width(), bg->Top + bmp->Height()};
            TRect part;
            if (IntersectRect(part, placed, r))
                c->CopyRect(part, bmp->Canvas(),
                            TRect(part.Left - bg->Left, part.Top - bg->Top, part.Right - bg->Left,
                                  part.Bottom - bg->Top));
        }
    }

    if (!bg->IsGradient())
        return;
    if (ownColor) {
        const TCellType t = GetCellType(Ctx.RealCol, Ctx.Row);
        if (t != ctCheckBox && t != ctDataCheckBox && t != ctRadio && t != ctButton && t != ctRadioButton)
            return;
    }
    const bool unselectedLook = (!selected || focused) && (!focused || !Options().Contains(goDrawFocusSelected));
    if (!unselectedLook && FShowSelection)
        return;
    TRect r = Ctx.PaintRect;
    r.Left -= 1;
    r.Top -= glw;
    r.Bottom += glw - 1;
    const bool horz = bg->Display == bdGradientHorz;
    // The colours come from the cell's place in the whole grid, so that the cells together show
    // one gradient.
    const int extent = horz ? ClientWidth() : ClientHeight();
    const TColor from = InterpolateColor(bg->Color, bg->ColorTo, 0, extent, horz ? r.Left : r.Top);
    const TColor to = InterpolateColor(bg->Color, bg->ColorTo, 0, extent, horz ? r.Right : r.Bottom);
    c->Brush()->SetColor(to);
    c->Pen()->SetColor(to);
    DrawSteppedGradient(c, from, to, 128, r, horz);
}

void TExtStringGrid::PaintBackGroundArea()
{
    TBackGround *bg = FBackGround;
    if (TopRow() + VisibleRowCount() < RowCount() && LeftCol() + VisibleColCount() < ColCount())
        return;
    if (bg->IsGradient() && bg->ColorTo == clNone)
        return;
    TCanvas *c = Canvas();
    TRect client = ClientRect();
    client = TRect(0, 0, client.Width(), client.Height());
    if (FSearchFooter && FSearchPanel && FSearchPanel->Visible())
        client.Bottom -= 32;
    if (FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel)
        client.Bottom -= FFooterPanel->Height();

    HRGN right = nullptr, below = nullptr;
    const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
    if (lastCol >= 0 && (lastCol < FixedCols() || lastCol < LeftCol() + VisibleColCount() + 1)) {
        const TRect cr = CellRect(lastCol, std::min(lastRow, std::max(TopRow(), 0)));
        const int edge = cr.Right + GridLineWidth();
        if (cr.Right > cr.Left && edge < client.Right)
            right = CreateRectRgn(edge, 0, client.Right, client.Bottom);
    }
    if (lastRow >= 0 && (lastRow < FixedRows() || lastRow < TopRow() + VisibleRowCount() + 1)) {
        const TRect cr = CellRect(std::min(lastCol, std::max(LeftCol(), 0)), lastRow);
        const int edge = cr.Bottom + GridLineWidth();
        if (cr.Bottom > cr.Top && edge < client.Bottom)
            below = CreateRectRgn(0, edge, client.Right, client.Bottom);
    }
    if (!right && !below)
        return;
    HRGN clip = right ? right : below;
    if (right && below)
        CombineRgn(right, right, below, RGN_OR);
    c->SelectClipRgn(clip);

    TBitmap *bmp = bg->Bitmap();
    if (!bg->HasBitmap()) {
        if (bg->IsGradient())
            DrawSteppedGradient(c, bg->Color, bg->ColorTo, 128, client, bg->Display == bdGradientHorz);
    } else if (bg->Display != bdTile) {
        c->Draw(bg->Left, bg->Top, bmp);
    } else if (bg->Cells != bcFixed) {
        int x = client.Left, y = client.Top;
        if (bg->Cells == bcNormal) {
            for (int i = 0; i < FixedCols(); ++i)
                x += ColWidths(i);
            for (int i = 0; i < FixedRows(); ++i)
                y += RowHeights(i);
        }
        x += FXYOffset.X;
        y += FXYOffset.Y;
        for (int ty = y; ty < client.Bottom; ty += std::max(1, bmp->Height()))
            for (int tx = x; tx < client.Right; tx += std::max(1, bmp->Width()))
                c->Draw(tx, ty, bmp);
    }
    c->SelectClipRgn(nullptr);
    if (right)
        DeleteObject(right);
    if (below)
        DeleteObject(below);
}

// ---------------------------------------------------------------------------------------------
// Selection rectangle

void TExtStringGrid::DrawSelectionRectangle(TCellPaintContext &Ctx)
{
    if (!FSelectionRectangle || Ctx.IsHeader || Ctx.State.Contains(gdFixed))
        return;
    TGridRect sel = Selection();
    if (sel.Right < sel.Left)
        std::swap(sel.Left, sel.Right);
    if (sel.Bottom < sel.Top)
        std::swap(sel.Top, sel.Bottom);
    if (IsMergedCell(sel.Left, sel.Top)) {
        const TPoint b = BaseCell(sel.Left, sel.Top);
        sel = TGridRect(b.X, b.Y, b.X, b.Y);
    }
    const int c = Ctx.DisplayCol, r = Ctx.Row;
    if (c < sel.Left || c > sel.Right || r < sel.Top || r > sel.Bottom)
        return;
    TCanvas *cv = Ctx.Canvas;
    const TRect R = Ctx.PaintRect;
    const int glw = GridLineWidth();
    const bool left = c == sel.Left, right = c == sel.Right, top = r == sel.Top, bottom = r == sel.Bottom;
    cv->Pen()->SetColor(FSelectionRectangleColor);
    cv->Pen()->SetWidth(2);
    if (left) {
        cv->MoveTo(R.Left - glw + 1, R.Bottom);
        cv->LineTo(R.Left - glw + 1, R.Top - glw);
    }
    if (right) {
        cv->MoveTo(R.Right - 1, R.Bottom);
        cv->LineTo(R.Right - 1, R.Top - glw);
    }
    if (top) {
        cv->MoveTo(R.Left - glw, R.Top - glw + 1);
        cv->LineTo(right ? R.Right - 1 : R.Right, R.Top - glw + 1);
    }
    if (bottom) {
        cv->MoveTo(R.Left - glw, R.Bottom);
        cv->LineTo(right ? R.Right - 1 : R.Right, R.Bottom);
    }
    if (FSelectionResizer && right && bottom)
        FillRectColor(cv, TRect(R.Right - 4, R.Bottom - 4, R.Right, R.Bottom), FSelectionRectangleColor);
    cv->Pen()->SetWidth(1);
}
