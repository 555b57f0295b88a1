// Painting of the grid: the border, every visible cell through DrawCell, the grid lines, the
// focus frame and the empty area after the last cell. Only cells that are at least partly in view
// are visited, so the cost of a paint does not depend on the number of rows.
#include "platform/Grids.h"

#include "platform/Windows.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

constexpr TColor clNormalLine = TColorOf(0x00C0C0C0u);
constexpr TColor clFixedLine = TColorOf(0x00000000u);

struct TLine {
    int Index;
    int Start; // client position of the cell
    int Extent;
};

// The cells of one axis that are in view: the fixed ones, then from the first scrolling one
// until the client edge.
void VisibleLines(const TGridAxisDrawInfo &a, std::vector<TLine> &out)
{
    out.clear();
    int p = 0;
    for (int i = 0; i < a.FixedCellCount && p < a.GridExtent; ++i) {
        int e = a.GetExtent(i);
        out.push_back({i, p, e});
        p += e + a.EffectiveLineWidth;
    }
    p = a.FixedBoundary;
    for (int i = a.FirstGridCell; i < a.GridCellCount && p < a.GridExtent; ++i) {
        int e = a.GetExtent(i);
        out.push_back({i, p, e});
        p += e + a.EffectiveLineWidth;
    }
}

} // namespace

void TCustomGrid::PaintWindow(TCanvas *DC)
{
    QPainter *p = DC ? DC->Painter() : nullptr;
    if (!p)
        return;
    // The corner between the two scroll bars belongs to no one; keep it in the face colour.
    if (FScroll[SB_HORZ].Visible && FScroll[SB_VERT].Visible) {
        int sv = GetSystemMetrics(SM_CXVSCROLL), sh = GetSystemMetrics(SM_CYHSCROLL);
        p->fillRect(Width() - sv, Height() - sh, sv, sh, ColorToQColor(clBtnFace));
    }
    TRect cr = ClientRect();
    p->save();
    p->setClipRect(QRect(0, 0, cr.Width(), cr.Height()), Qt::IntersectClip);
    try {
        TCustomControl::PaintWindow(DC);
    } catch (...) {
        p->restore();
        throw;
    }
    p->restore();
}

void TCustomGrid::Paint()
{
    TCanvas *c = Canvas();
    if (!c)
        return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    std::vector<TLine> cols, rows;
    VisibleLines(di.Horz, cols);
    VisibleLines(di.Vert, rows);
    const TGridRect sel = Selection();
    const bool focused = Focused();
    const bool fillSelectedFocus = FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect);
    const TColor color = Color();
    const TColor fontColor = Font()->Color();
    const int hl = di.Horz.EffectiveLineWidth;
    const int vl = di.Vert.EffectiveLineWidth;

    c->Font()->Assign(Font());
    for (const TLine &r : rows) {
        for (const TLine &col : cols) {
            TRect where{col.Start, r.Start, col.Start + col.Extent, r.Start + r.Extent};
            TGridDrawState state;
            bool fixed = col.Index < FFixedCols || r.Index < FFixedRows;
            if (fixed) {
                state << gdFixed;
            } else {
                if (col.Index >= sel.Left && col.Index <= sel.Right && r.Index >= sel.Top && r.Index <= sel.Bottom)
                    state << gdSelected;
                if (focused && col.Index == FCurrent.X && r.Index == FCurrent.Y)
                    state << gdFocused;
            }
            if (FDefaultDrawing) {
                if (fixed) {
                    c->Brush()->SetColor(FFixedColor);
                    c->Font()->SetColor(fontColor);
                } else if (state.Contains(gdSelected) && (!state.Contains(gdFocused) || fillSelectedFocus)) {
                    c->Brush()->SetColor(clHighlight);
                    c->Font()->SetColor(clHighlightText);
                } else {
                    c->Brush()->SetColor(color);
                    c->Font()->SetColor(fontColor);
                }
                c->Brush()->SetStyle(TBrushStyle::bsSolid);
                c->FillRect(where);
            }
            DrawCell(col.Index, r.Index, where, state);
        }
    }

    // Grid lines after the cells, so that a cell drawing beyond its rectangle does not hide them.
    int right = cols.empty() ? 0 : cols.back().Start + cols.back().Extent + hl;
    int bottom = rows.empty() ? 0 : rows.back().Start + rows.back().Extent + vl;
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    auto lines = [&](bool vertical, int width, const std::vector<TLine> &list, int fixedCount) {
        if (width <= 0)
            return;
        bool fixedOpt = FOptions.Contains(vertical ? goFixedVertLine : goFixedHorzLine);
        bool normalOpt = FOptions.Contains(vertical ? goVertLine : goHorzLine);
        // The fixed band of the other axis always takes the fixed look.
        int across = vertical ? di.Vert.FixedBoundary : di.Horz.FixedBoundary;
        int end = vertical ? bottom : right;
        for (const TLine &l : list) {
            int pos = l.Start + l.Extent;
            if (fixedOpt && across > 0) {
                c->Brush()->SetColor(clFixedLine);
                int e = std::min(across, end);
                c->FillRect(vertical ? TRect{pos, 0, pos + width, e} : TRect{0, pos, e, pos + width});
            }
            bool isFixed = l.Index < fixedCount;
            if (isFixed ? fixedOpt : normalOpt) {
                c->Brush()->SetColor(isFixed ? clFixedLine : clNormalLine);
                c->FillRect(vertical ? TRect{pos, across, pos + width, end} : TRect{across, pos, end, pos + width});
            }
        }
    };
    lines(true, hl, cols, FFixedCols);
    lines(false, vl, rows, FFixedRows);

    // The area after the last column and below the last row.
    TRect cr = ClientRect();
    c->Brush()->SetColor(color);
    if (right < cr.Right)
        c->FillRect({right, 0, cr.Right, cr.Bottom});
    if (bottom < cr.Bottom)
        c->FillRect({0, bottom, std::min(right, cr.Right), cr.Bottom});

    // While a border is dragged its new place shows as a line across the grid; while a column or
    // row is dragged, a bar marks where it will go.
    if (FGridState == gsColSizing || FGridState == gsRowSizing) {
        c->Brush()->SetColor(clBlack);
        if (FGridState == gsColSizing)
            c->FillRect({FSizingPos, 0, FSizingPos + 1, std::min(bottom, cr.Bottom)});
        else
            c->FillRect({0, FSizingPos, std::min(right, cr.Right), FSizingPos + 1});
    } else if (FGridState == gsColMoving || FGridState == gsRowMoving) {
        bool isCol = FGridState == gsColMoving;
        TRect target = CellRect(isCol ? FMovePos : 0, isCol ? 0 : FMovePos);
        if (!target.IsEmpty()) {
            bool after = FMovePos > FMoveIndex;
            int p = isCol ? (after ? target.Right : target.Left) : (after ? target.Bottom : target.Top);
            c->Brush()->SetColor(clBlack);
            c->FillRect(isCol ? TRect{p - 1, 0, p + 1, std::min(bottom, cr.Bottom)}
                              : TRect{0, p - 1, std::min(right, cr.Right), p + 1});
        }
    }

    bool editorShown = FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor);
    if (focused && !editorShown && FDefaultDrawing && FCurrent.X >= FFixedCols && FCurrent.Y >= FFixedRows) {
        TRect focus;
        if (FOptions.Contains(goRowSelect)) {
            TRect a = CellRect(std::max(FFixedCols, FTopLeft.X), FCurrent.Y);
            TRect z = CellRect(std::min(FColCount - 1, di.Horz.LastFullVisibleCell + 1), FCurrent.Y);
            if (!a.IsEmpty() && !z.IsEmpty())
                focus = {a.Left, a.Top, z.Right, z.Bottom};
        } else {
            focus = CellRect(FCurrent.X, FCurrent.Y);
        }
        if (!focus.IsEmpty()) {
            c->Brush()->SetColor(clHighlight);
            c->Font()->SetColor(clHighlightText);
            c->DrawFocusRect(focus);
        }
    }
}
