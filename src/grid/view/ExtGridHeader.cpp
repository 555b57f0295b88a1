// Fixed and header cells: the header background and edges of each look, the row indicator, the
// sort and filter glyphs, and the dotted lines shown while a column or row is sized.
#include "grid/view/ExtGridPaintContext.h"
#include "grid/view/ExtGridGlyphs.h"

#include "controls/ExtGridDraw.h"
#include "platform/WinGdi.h"

#include <algorithm>

namespace {

void Line(TCanvas *C, int X1, int Y1, int X2, int Y2)
{
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

// The four lines around a cell that the soft look without 3D edges draws.
void OuterLines(TCanvas *C, const TRect &R, bool Horz, bool Vert)
{
    if (Horz) {
        Line(C, R.Left - 1, R.Top - 1, R.Right + 1, R.Top - 1);
        Line(C, R.Left - 1, R.Bottom + 1, R.Right + 1, R.Bottom + 1);
    }
    if (Vert) {
        Line(C, R.Left - 1, R.Top - 1, R.Left - 1, R.Bottom + 1);
        Line(C, R.Right + 1, R.Top - 1, R.Right + 1, R.Bottom + 1);
    }
}

bool BothSet(TBitmap *A, TBitmap *B) { return A && B && !A->Empty() && !B->Empty(); }

} // namespace

// ---- header edges ------------------------------------------------------------------------------------

void TExtStringGrid::DrawHeaderCellEdges(TCanvas *ACanvas, TRect R, TGridLook ALook)
{
    if (!ACanvas)
        return;
    const bool horz = Options().Contains(goFixedHorzLine);
    const bool vert = Options().Contains(goFixedVertLine);
    const TColor dark = DarkenColorHalf(FixedColor());
    TPen *pen = ACanvas->Pen();
    pen->SetWidth(1);
    pen->SetStyle(TPenStyle::psSolid);
    pen->SetMode(TPenMode::pmCopy);
    switch (ALook) {
    case glClassic: {
        R.Top += 1;
        R.Bottom += 1;
        R.Left += 1;
        TRect inner = R;
        DrawEdge(ACanvas->Handle(), inner, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        TRect outer = R;
        DrawEdge(ACanvas->Handle(), outer, EDGE_RAISED, BF_RIGHT | BF_BOTTOM);
        pen->SetColor(clBlack);
        ACanvas->MoveTo(R.Right - 1, R.Top);
        ACanvas->LineTo(R.Right - 1, R.Bottom - 1);
        ACanvas->LineTo(R.Left - 1, R.Bottom - 1);
        break;
    }
    case glQRV:
    case glXP:
        R.Bottom += 1;
        if (horz) {
            pen->SetColor(dark);
            Line(ACanvas, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
            pen->SetColor(clWhite);
            ACanvas->MoveTo(R.Right - 2, R.Top + 1);
            ACanvas->LineTo(R.Left + 1, R.Top + 1);
            ACanvas->LineTo(R.Left + 1, R.Bottom - 1);
        }
        break;
    case glSoft:
        if (Ctl3D()) {
            R.Right += 1;
            R.Bottom += 1;
            if (horz) {
                pen->SetColor(dark);
                Line(ACanvas, R.Left, R.Bottom - 1, R.Right - 1, R.Bottom - 1);
                pen->SetColor(clWhite);
                ACanvas->MoveTo(R.Right, R.Top + 1);
                ACanvas->LineTo(R.Left + 1, R.Top + 1);
                ACanvas->LineTo(R.Left + 1, R.Bottom - 1);
            }
            if (vert) {
                pen->SetColor(dark);
                Line(ACanvas, R.Right - 2, R.Top, R.Right - 2, R.Bottom - 1);
                pen->SetColor(clWhite);
                Line(ACanvas, R.Right - 1, R.Top, R.Right - 1, R.Bottom - 1);
            }
        } else {
            pen->SetColor(clBlack);
            OuterLines(ACanvas, R, horz, vert);
        }
        break;
    default:
        break;
    }
}

void TExtStringGrid::DrawRightFixedEdges(TCanvas *ACanvas, const TRect &R, bool FlatLook)
{
    if (!ACanvas || FLook == glClassic || Ctl3D())
        return;
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(FlatLook ? clGray : clBlack);
    OuterLines(ACanvas, R, Options().Contains(goFixedHorzLine), Options().Contains(goFixedVertLine));
}

// ---- filter and sort glyphs ----------------------------------------------------------------------------

void TExtStringGrid::DrawFilterGlyph(TCanvas *ACanvas, int RealCol, TRect &R)
{
    if (!ACanvas)
        return;
    TBitmap *glyph = nullptr;
    if (FFilterDropDown)
        glyph = FFilter && FFilter->HasFilter(RealCol) ? FFilterDropDown->GlyphActive() : FFilterDropDown->Glyph();
    if (glyph && !glyph->Empty()) {
        glyph->SetTransparent(true);
        ACanvas->Draw(R.Right - 16, R.Top, glyph);
    } else
        ExtGridGlyphs::DrawGlyphOn(ACanvas, R.Right - 16, R.Top, QStringLiteral("ESGFILT"), FixedColor());
    R.Right -= 16;
}

void TExtStringGrid::DrawSortIndicator(TCanvas *ACanvas, int ACol, int X, int Y)
{
    if (!ACanvas)
        return;
    TSortSettings *ss = FSortSettings;
    TPen *pen = ACanvas->Pen();
    pen->SetWidth(1);
    pen->SetStyle(TPenStyle::psSolid);
    pen->SetMode(TPenMode::pmCopy);
    if (ss->IndexShow) {
        const int p = FSortIndexes ? FSortIndexes->FindIndex(ACol) : -1;
        if (p < 0)
            return;
        const bool glyphs = BothSet(ss->IndexUpGlyph(), ss->IndexDownGlyph());
        ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        ACanvas->Brush()->SetColor(ss->IndexColor);
        ACanvas->SetBkMode(TRANSPARENT);
        ACanvas->Font()->SetColor(clBlack);
        ACanvas->Font()->SetSize(6);
        pen->SetColor(clBlack);
        const UnicodeString number = QString::number(p + 1);
        if (!FSortIndexes->SortDirections(p)) {
            if (glyphs) {
                ss->IndexUpGlyph()->SetTransparent(true);
                ACanvas->Draw(X - 7, Y - 7, ss->IndexUpGlyph());
            } else
                ACanvas->Polygon({{X - 7, Y - 5}, {X + 7, Y - 5}, {X, Y + 8}});
            ACanvas->TextOut(X - 2, Y - 4, number);
        } else {
            if (glyphs) {
                ss->IndexDownGlyph()->SetTransparent(true);
                ACanvas->Draw(X - 7, Y - 7, ss->IndexDownGlyph());
            } else
                ACanvas->Polygon({{X - 6, Y + 8}, {X + 6, Y + 8}, {X, Y - 4}});
            ACanvas->TextOut(X - 2, Y - 2, number);
        }
        pen->SetColor(clBlack);
        return;
    }
    const bool glyphs = BothSet(ss->UpGlyph(), ss->DownGlyph());
    if (ss->Direction == sdDescending) {
        if (glyphs) {
            ACanvas->Brush()->SetColor(FixedColor());
            ss->DownGlyph()->SetTransparent(true);
            ACanvas->Draw(X - 4, Y - 4, ss->DownGlyph());
        } else {
            pen->SetColor(clWhite);
            ACanvas->MoveTo(X + 4, Y - 4);
            ACanvas->LineTo(X, Y + 4);
            pen->SetColor(clGray);
            ACanvas->LineTo(X - 4, Y - 4);
            ACanvas->LineTo(X + 4, Y - 4);
        }
    } else {
        if (glyphs) {
            ss->UpGlyph()->SetTransparent(true);
            ACanvas->Draw(X - 4, Y - 4, ss->UpGlyph());
        } else {
            pen->SetColor(clWhite);
            ACanvas->MoveTo(X - 4, Y + 4);
            ACanvas->LineTo(X + 4, Y + 4);
            ACanvas->LineTo(X, Y - 4);
            pen->SetColor(clGray);
            ACanvas->LineTo(X - 4, Y + 4);
        }
    }
    pen->SetColor(clBlack);
}

// ---- sizing lines -------------------------------------------------------------------------------------------

void TExtStringGrid::DrawColSizingLine(int X) { DrawColSizingLine(Canvas(), X); }

void TExtStringGrid::DrawRowSizingLine(int Y) { DrawRowSizingLine(Canvas(), Y); }

void TExtStringGrid::DrawColSizingLine(TCanvas *ACanvas, int X)
{
    int bottom = Height();
    if (RowCount() > 0)
        bottom = std::max(bottom, CellRect(0, RowCount() - 1).Bottom);
    DrawSizingLine(ACanvas, X, 0, X, bottom);
}

void TExtStringGrid::DrawRowSizingLine(TCanvas *ACanvas, int Y)
{
    int right = Width();
    if (ColCount() > 0)
        right = std::max(right, CellRect(ColCount() - 1, 0).Right);
    DrawSizingLine(ACanvas, 0, Y, right, Y);
}

void TExtStringGrid::DrawSizingLine(TCanvas *ACanvas, int X1, int Y1, int X2, int Y2)
{
    if (!ACanvas)
        return;
    TPen saved;
    saved.Assign(ACanvas->Pen());
    // Inverting (xor with white) shows on any background, and drawing the line again at the
    // same place puts every pixel back; a black xor pen would change nothing at all.
    ACanvas->Pen()->SetColor(clWhite);
    ACanvas->Pen()->SetStyle(TPenStyle::psDot);
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetMode(TPenMode::pmXor);
    ACanvas->MoveTo(X1, Y1);
    ACanvas->LineTo(X2, Y2);
    ACanvas->Pen()->Assign(&saved);
}

// ---- header cells in the paint pass --------------------------------------------------------------------

void TExtStringGrid::DrawHeaderLook(TCellPaintContext &Ctx)
{
    TCanvas *C = Ctx.Canvas;
    if (!C || !Ctx.IsHeader)
        return;
    DrawRowIndicator(Ctx);
    TRect r = Ctx.PaintRect;
    if (FLook == glListView) {
        if (Flat())
            return;
        // Without themed drawing: the unthemed header.
        C->Pen()->SetColor(clWhite);
        C->Brush()->SetColor(clBtnFace);
        C->Rectangle(r);
        return;
    }
    if (FLook != glQRV && FLook != glXP && FLook != glVista && FLook != glWin7 && FLook != glOffice2007)
        return;
    if (IsHoveredHeader(Ctx)) {
        DrawHoveredHeader(Ctx, r);
        return;
    }
    const bool activeCol = FActiveCellShow && FixedCols() > 0 && Ctx.DisplayCol == FixedCols() - 1 && Ctx.Row == Row();
    const bool activeRow = FActiveCellShow && FixedRows() > 0 && Ctx.Row == FixedRows() - 1 && Ctx.DisplayCol == Col();
    if (activeCol || activeRow) {
        DrawMirrorGradientRect(C, r, FActiveCellColor, FActiveCellColorTo, clNone, clNone, true, clNone, false, true);
        return;
    }
    TSortSettings *ss = FSortSettings;
    if (ss->Column != -1 && ss->HeaderColor != clNone && ss->Column == Ctx.RealCol && Ctx.Row == FixedRows() - 1 &&
        (Ctx.DisplayCol >= FixedCols() || ss->FixedCols)) {
        DrawMirrorGradientRect(C, r, ss->HeaderColor, ss->HeaderColorTo, ss->HeaderMirrorColor, ss->HeaderMirrorColorTo,
                               true, clNone, false, true);
        return;
    }
    if (Flat())
        return;
    DrawMirrorGradientRect(C, r, C->Brush()->Color(), Ctx.ColorTo, Ctx.ColorMirror, Ctx.ColorMirrorTo, true, clNone,
                           false, true);
    if (FLook == glVista) {
        C->Pen()->SetColor(clWhite);
        C->MoveTo(r.Left, r.Top);
        C->LineTo(r.Left, r.Bottom);
        C->MoveTo(r.Right - 1, r.Top);
        C->LineTo(r.Right - 1, r.Bottom);
    }
}

bool TExtStringGrid::IsHoveredHeader(const TCellPaintContext &Ctx) const
{
    if (Designing() || !IsHoverFixedCell(Ctx.DisplayCol, Ctx.Row))
        return false;
    // While a column is dragged its header keeps the hovered look wherever the pointer is.
    if (GridState() == gsColMoving)
        return Movecell == Ctx.DisplayCol;
    return FHoverFixedX == Ctx.DisplayCol && FHoverFixedY == Ctx.Row;
}

void TExtStringGrid::DrawHoveredHeader(TCellPaintContext &Ctx, TRect R)
{
    TCanvas *C = Ctx.Canvas;
    R.Bottom += 1;
    const bool dropDown = FControlLook->FixedDropDownButton() && DoCanShowFixedDropDown(Ctx.RealCol);
    const bool held = FMouseDownMove || (GridState() == gsColMoving && Movecell >= 0);
    auto hover = [&](const TRect &A) {
        DrawMirrorGradientRect(C, A, FQRVGradHoverFrom, FQRVGradHoverTo, FQRVGradHoverMirrorFrom,
                               FQRVGradHoverMirrorTo, true, FQRVGradHoverBorder, false, true);
    };
    auto pressed = [&](const TRect &A) {
        DrawMirrorGradientRect(C, A, FQRVGradDownFrom, FQRVGradDownTo, FQRVGradDownMirrorFrom, FQRVGradDownMirrorTo,
                               true, FQRVGradDownBorder, false, true);
    };
    const TRect body(R.Left, R.Top, R.Right - 16, R.Bottom), button(R.Right - 16, R.Top, R.Right, R.Bottom);
    if (!held)
        hover(R);
    else if (dropDown) {
        // The pressed look goes to the part the button went down on: the drop-down part or the rest.
        if (FFixedDropDownPressed) {
            hover(body);
            pressed(button);
        } else {
            pressed(body);
            hover(button);
        }
    } else
        pressed(R);
    if (!dropDown)
        return;
    C->Pen()->SetWidth(1);
    C->Pen()->SetStyle(TPenStyle::psSolid);
    C->Pen()->SetMode(TPenMode::pmCopy);
    C->Pen()->SetColor(held ? FQRVGradDownBorder : FQRVGradHoverBorder);
    Line(C, R.Right - 16, R.Top, R.Right - 16, R.Bottom);
    const int x = R.Right - 8, y = R.Top + 8;
    C->Pen()->SetColor(clBlack);
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->Brush()->SetColor(clBlack);
    C->Polygon({{x - 3, y - 2}, {x + 3, y - 2}, {x, y + 1}});
    Ctx.PaintRect.Right -= 16;
}

void TExtStringGrid::DrawHeaderEdges(TCellPaintContext &Ctx, TRect R)
{
    if (!Ctx.Canvas)
        return;
    if (Ctx.IsHeader && !Flat())
        DrawHeaderCellEdges(Ctx.Canvas, R, FLook);
    if (FFixedRightCols > 0 && FFixedRightCols >= ColCount() + NumHiddenColumns() - Ctx.RealCol)
        DrawRightFixedEdges(Ctx.Canvas, R, Flat());
}

void TExtStringGrid::DrawRowIndicator(TCellPaintContext &Ctx)
{
    if (!FRowIndicator || FRowIndicator->Empty() || FixedCols() <= 0 || Ctx.RealCol != 0 || Ctx.Row != Row())
        return;
    if (FFixedRowAlways && RowCount() <= FixedRows())
        return;
    TRect &r = Ctx.PaintRect;
    const int h = FRowIndicator->Height();
    const int y = Ctx.VAlign == vtaTop ? r.Top : Ctx.VAlign == vtaCenter ? r.Top + (r.Bottom - r.Top - h) / 2 : r.Bottom - h;
    FRowIndicator->SetTransparent(true);
    Ctx.Canvas->Draw(r.Left + 2, y, FRowIndicator);
    r.Left += FRowIndicator->Width() + 2;
    Ctx.IndicatorWidth = FRowIndicator->Width();
}
