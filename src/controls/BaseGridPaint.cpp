// The cell painter of the base grid: background, selection looks, active and hover rows, grid
// lines of the grid's own width, and a merged range painted once per paint pass.
#include "controls/BaseGrid.h"

#include "controls/ExtGridDraw.h"

#include "platform/WinGdi.h"
#include "platform/Windows.h"

#include <utility>

namespace {

struct TSelectionLook {
    TColor FillFrom, FillTo, MirrorFrom, MirrorTo, Outer, InnerUpper, InnerLower, InnerCorner;
};

constexpr TSelectionLook VistaLook{TColorOf(0xFDF8F1u), TColorOf(0xFCEFD5u), clNone, clNone,
                                   TColorOf(0xFDDE99u), TColorOf(0xFDFBF6u), TColorOf(0xFDF5E7u),
                                   TColorOf(0xFCEDCBu)};
constexpr TSelectionLook Win7Look{TColorOf(0xFCEBDCu), TColorOf(0xFCDBC1u), clNone, clNone,
                                  TColorOf(0xCEA27Du), TColorOf(0xFDF4EBu), TColorOf(0xFDEADBu),
                                  TColorOf(0xE0C5AEu)};
constexpr TSelectionLook Office2007Look{TColorOf(0xD7FFFDu), TColorOf(0x58D4FCu), TColorOf(0x58D4FCu),
                                        TColorOf(0xB3F1FCu), TColorOf(0x8DD7D3u), TColorOf(0xF4FEFFu),
                                        TColorOf(0xCAF8FFu), TColorOf(0xC3D9DFu)};
constexpr TSelectionLook UnfocusedLook{TColorOf(0xF8F8F8u), TColorOf(0xE5E5E5u), clNone, clNone,
                                       TColorOf(0xD9D9D9u), TColorOf(0xFBFAFAu), TColorOf(0xF0F0F0u),
                                       TColorOf(0xEFEFEFu)};

const TSelectionLook &LookOf(TGridSelectionStyle Style, bool Focused)
{
    if (!Focused)
        return UnfocusedLook;
    switch (Style) {
    case ssWin7: return Win7Look;
    case ssOffice2007: return Office2007Look;
    default: return VistaLook;
    }
}

} // namespace

bool TBaseGrid::RightToLeftGrid() const
{
    return BiDiMode() == bdRightToLeft;
}

void TBaseGrid::Paint()
{
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    // The platform hands over the full rectangle of the cell it paints; for a plain cell that is
    // its CellRect, which would otherwise be worked out again from the view for every cell.
    FPlatformCell = {ACol, ARow};
    try {
        PaintCellCore(Canvas(), ACol, ARow, ARect, AState, true);
    } catch (...) {
        FPlatformCell = {-1, -1};
        throw;
    }
    FPlatformCell = {-1, -1};
}

void TBaseGrid::PaintCell(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    PaintCellCore(ACanvas, ACol, ARow, ARect, AState, true);
}

void TBaseGrid::PaintCellExt(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState)
{
    PaintCellCore(ACanvas, ACol, ARow, ARect, AState, false);
}

void TBaseGrid::DrawGridCell(TCanvas *ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    ACanvas->SetBkMode(TRANSPARENT);
    DrawTextW(ACanvas->Handle(), Cells(ACol, ARow), -1, &ARect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TBaseGrid::PaintCellCore(TCanvas *ACanvas, int ACol, int ARow, const TRect &ARect, TGridDrawState AState,
                              bool Full)
{
    if (!ACanvas)
        return;
    TRect r = ARect;
    if (FHideLastRow && ARow == RowCount() - 1) {
        ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        ACanvas->Brush()->SetColor(Color());
        ACanvas->Pen()->SetColor(Color());
        ACanvas->FillRect(r);
        return;
    }

    int bc = ACol, br = ARow;
    if (!ResolveBaseCell(ACol, ARow, bc, br)) {
        // A range is painted by the first of its cells that the pass reaches, with its whole
        // rectangle; the other cells of the range leave it alone.
        if (CellHasProperties(bc, br)) {
            TCellProperties *bp = PropsOf(bc, br);
            if (bp->PaintID() != FPaintID) {
                bp->SetPaintID(FPaintID);
                PaintCell(ACanvas, bc, br, r, AState);
            }
        }
        return;
    }

    // The base cell painting itself in the pass marks its range as done, so that its other
    // cells further on in the same pass leave it alone.
    if (FPlatformCell == TPoint(ACol, ARow) && CellHasProperties(ACol, ARow))
        PropsOf(ACol, ARow)->SetPaintID(FPaintID);

    if (Full && IsFixed(ACol, ARow)) {
        AState << gdFixed;
        AState >> gdSelected;
    }
    if (Full) {
        if (FPlatformCell == TPoint(ACol, ARow) && !CellHasProperties(ACol, ARow))
            r = {ARect.Left, ARect.Top, ARect.Left + ColWidths(ACol), ARect.Top + RowHeights(ARow)};
        else
            r = CellRect(ACol, ARow);
    }

    // A range scrolled partly under the fixed cells must not paint over them.
    int fw = 0, fh = 0;
    if (ACol >= FixedCols())
        for (int i = 0; i < FixedCols(); ++i)
            fw += ColWidths(i);
    if (ARow >= FixedRows())
        for (int i = 0; i < FixedRows(); ++i)
            fh += RowHeights(i);
    HRGN clip = nullptr;
    if ((ACol >= FixedCols() && FixedCols() > 0 && r.Left < fw) || (ARow >= FixedRows() && FixedRows() > 0 && r.Top < fh)) {
        clip = CreateRectRgn(fw, fh, Width(), Height());
        ACanvas->SelectClipRgn(clip);
    }

    ACanvas->Pen()->SetWidth(1);
    ACanvas->Font()->Assign(Font());
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->Brush()->SetColor(AState.Contains(gdFixed) ? FixedColor() : Color());
    TColor colorTo = clNone, mirrorColor = clNone, mirrorColorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, ACanvas->Brush(), colorTo, mirrorColor, mirrorColorTo,
                        ACanvas->Font(), ha, va, ww, gd);
    ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());

    if (ARow == FHoverRowIdx && FHoverRow && !(AState.Contains(gdSelected) && !FHoverRowCells.Contains(hcSelected)) &&
        !(AState.Contains(gdFixed) && !FHoverRowCells.Contains(hcFixed))) {
        ACanvas->Brush()->SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirrorColor = clNone;
        mirrorColorTo = clNone;
        gd = GradientVertical;
    }

    if ((FActiveRowShow && ARow == Row() && (ACol != Col() || !FShowSel) && ACol >= FixedCols()) ||
        (!Full && AState.Contains(gdSelected))) {
        ACanvas->Brush()->SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirrorColor = FActiveRowMirrorColor;
        mirrorColorTo = FActiveRowMirrorColorTo;
        ACanvas->Pen()->SetColor(FActiveRowColor);
    }

    const TGridOptions &opts = Options();
    const bool fixed = AState.Contains(gdFixed);
    if (AState.Contains(gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
        TGridRect sel = Selection();
        int l = sel.Left, rt = sel.Right;
        if (rt < l)
            std::swap(l, rt);
        int piece = 0;
        if (ACol == l && ACol < rt)
            piece = 1;
        else if (ACol == rt && l < ACol)
            piece = 2;
        else if (l < ACol && ACol < rt)
            piece = 3;
        TRect f = r;
        if (!opts.Contains(goHorzLine))
            f.Bottom += 1;
        if (!opts.Contains(goVertLine))
            f.Right += 1;
        if (RightToLeftGrid()) {
            f.Right += 1;
            f.Bottom += 1;
        }
        const bool focused = (HandleAllocated() && GetFocus() == Handle()) ||
                             opts.Contains(goDrawFocusSelected);
        const TSelectionLook &look = LookOf(FSelectionStyle, focused);
        PaintStyledSelection(ACanvas, look.FillFrom, look.FillTo, look.MirrorFrom, look.MirrorTo, look.InnerUpper,
                             look.InnerLower, look.Outer, look.InnerCorner, Color(), f, piece);
    } else if (!(IsPlatformStyled() && (AState.Contains(gdFixed) || AState.Contains(gdSelected)))) {
        if (mirrorColorTo == clNone)
            DrawSteppedGradient(ACanvas, ACanvas->Brush()->Color(), colorTo, 64, r, gd == GradientHorizontal);
        else
            DrawMirrorGradientRect(ACanvas, r, ACanvas->Brush()->Color(), colorTo, mirrorColor, mirrorColorTo, true,
                                   clNone, false, true);
    }

    int d;
    if (fixed) {
        ACanvas->Pen()->SetColor(FGridFixedLineColor);
        ACanvas->Pen()->SetWidth(1);
        d = 1;
    } else {
        if (FGridLineWidth > 0)
            ACanvas->Pen()->SetColor(FGridLineColor);
        ACanvas->Pen()->SetWidth(FGridLineWidth);
        d = (FGridLineWidth + 1) / 2;
    }
    const bool lineWidthShows = fixed || FGridLineWidth > 0;
    if (lineWidthShows && !(ACol == 0 && HasNodes()) &&
        ((opts.Contains(goHorzLine) && !fixed) || (opts.Contains(goFixedHorzLine) && fixed))) {
        ACanvas->MoveTo(r.Left - d + 1, r.Bottom - d);
        ACanvas->LineTo(r.Right - d + 1, r.Bottom - d);
    }
    if (lineWidthShows && ((opts.Contains(goVertLine) && !fixed) || (opts.Contains(goFixedVertLine) && fixed))) {
        if (UseRightToLeftAlignment()) {
            ACanvas->MoveTo(r.Right - d + 1, r.Bottom - d);
            ACanvas->LineTo(r.Right - d + 1, r.Top - d);
        } else {
            ACanvas->MoveTo(r.Right - d, r.Bottom - d);
            ACanvas->LineTo(r.Right - d, r.Top - d);
        }
    }

    TRect content = r;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        content = {r.Left + FGridLineWidth, r.Top + FGridLineWidth, r.Right - FGridLineWidth, r.Bottom - FGridLineWidth};
    }
    if (Full)
        DrawGridCell(ACanvas, ACol, ARow, content, AState);

    if (clip) {
        ACanvas->SelectClipRgn(nullptr);
        DeleteObject(clip);
    }
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->Pen()->SetStyle(TPenStyle::psSolid);
}
