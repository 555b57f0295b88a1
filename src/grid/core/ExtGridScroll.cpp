// Bringing a cell into view; the rectangle of used cells, the range exports
// write, the cell under a point and the sizing edges; the flat scroll bar settings; the floating
// footer's calculation; and a few property setters.

#include "grid/core/ExtGrid.h"

#include "platform/Windows.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Properties of the flat scroll bars of the common controls.
constexpr int WSB_PROP_CYHSCROLL = 0x4;
constexpr int WSB_PROP_CXVSCROLL = 0x8;
constexpr int WSB_PROP_VBKGCOLOR = 0x40;
constexpr int WSB_PROP_HBKGCOLOR = 0x80;
constexpr int WSB_PROP_VSTYLE = 0x100;
constexpr int WSB_PROP_HSTYLE = 0x200;
constexpr int FSB_REGULAR_MODE = 0;
constexpr int FSB_ENCARTA_MODE = 1;
constexpr int FSB_FLAT_MODE = 2;

} // namespace

// ---- scrolling into view ----------------------------------------------------------------------

void TExtStringGrid::ScrollInView(int ColIndex, int RowIndex)
{
    if (ColIndex >= ColCount() || RowIndex >= RowCount())
        return;
    const int visCols = VisibleColCount();
    const int visRows = VisibleRowCount();
    int L = LeftCol();
    int T = TopRow();
    // A cell out of view comes to the middle.
    if (ColIndex < LeftCol() || ColIndex >= LeftCol() + visCols) {
        SetCol(ColIndex);
        L = std::max(FixedCols(), ColIndex - visCols / 2);
    }
    if (RowIndex < TopRow() || RowIndex >= TopRow() + visRows) {
        SetRow(RowIndex);
        T = std::max(FixedRows(), RowIndex - visRows / 2);
    }
    if (L > ColCount() - visCols + 1)
        L = ColCount() - visCols + 1;
    if (FixedCols() + visCols < ColCount())
        SetLeftCol(L);
    if (T > RowCount() - visRows + 1)
        T = RowCount() - visRows + 1;
    if (FixedRows() + visRows >= RowCount())
        return;
    SetTopRow(T);

    // Below the search panel the row is hidden: scroll on until it shows above it. A grid lower
    // than its panel cannot show the row at all; the top row then stops moving and so does this.
    if (FSearchFooter->Visible() && FSearchPanel) {
        int usable = Height() - FSearchPanel->Height();
        if (VisibleColCount() < ColCount())
            usable -= GetSystemMetrics(SM_CYHSCROLL);
        while (CellRect(0, RowIndex).Bottom > usable) {
            const int before = TopRow();
            SetTopRow(before + 1);
            if (TopRow() == before)
                break;
        }
    }
}

// ---- used cells and the save range -------------------------------------------------------------

TRect TExtStringGrid::GetUsedCells()
{
    int left = ColCount() - 1, top = RowCount() - 1, right = 0, bottom = 0;
    for (int r = 0; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c) {
            if (GetCellEx(c, r).isEmpty())
                continue;
            left = std::min(left, c);
            top = std::min(top, r);
            right = std::max(right, c);
            bottom = std::max(bottom, r);
        }
    if (right < left || bottom < top)
        return TRect(0, 0, 0, 0);
    return TRect(left, top, right, bottom);
}

int TExtStringGrid::SaveStartCol() const { return FSaveFixedCells || FSaveFixedCols ? 0 : FixedCols(); }

int TExtStringGrid::SaveStartRow() const { return FSaveFixedCells || FSaveFixedRows ? 0 : FixedRows(); }

int TExtStringGrid::SaveEndCol() const
{
    return FSaveFixedCells || FSaveFixedCols ? ColCount() - 1 : ColCount() - FFixedRightCols - 1;
}

int TExtStringGrid::SaveEndRow() const
{
    return FSaveFixedCells || FSaveFixedRows ? RowCount() - 1 : RowCount() - FFixedFooters - 1;
}

int TExtStringGrid::SaveColCount() const
{
    return FSaveFixedCells || FSaveFixedCols ? ColCount() : ColCount() - FixedCols() - FFixedRightCols;
}

int TExtStringGrid::SaveRowCount() const
{
    return FSaveFixedCells || FSaveFixedRows ? RowCount() : RowCount() - FixedRows() - FFixedFooters;
}

// ---- points and cells ---------------------------------------------------------------------------

void TExtStringGrid::ScreenToCell(TPoint pt, int &ACol, int &ARow)
{
    const TPoint p = ScreenToClient(pt);
    MouseToCell(p.X, p.Y, ACol, ARow);
}

bool TExtStringGrid::IsOnSizingEdge(int X, int Y)
{
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0)
        return false;
    const TRect R = CellRect(c, r);
    bool result = false;
    if (r <= FixedRows() && Options().Contains(goColSizing))
        result = std::abs(X - R.Left) < 4 || std::abs(R.Right - X) < 4;
    if (c <= FixedCols() && Options().Contains(goRowSizing))
        result = std::abs(Y - R.Top) < 4 || std::abs(R.Bottom - Y) < 4;
    return result;
}

// ---- flat scroll bars -----------------------------------------------------------------------------

void TExtStringGrid::ApplyFlatScrollStyle()
{
    int style = FSB_REGULAR_MODE;
    switch (FScrollType) {
    case ssNormal:
        break;
    case ssFlat:
        style = FSB_FLAT_MODE;
        break;
    case ssEncarta:
        style = FSB_ENCARTA_MODE;
        break;
    case ssMetro:
        return;
    }
    FlatSetScrollProp(WSB_PROP_VSTYLE, style);
    FlatSetScrollProp(WSB_PROP_HSTYLE, style);
}

void TExtStringGrid::ApplyFlatScrollColor()
{
    if (FScrollColor == clNone)
        return;
    FlatSetScrollProp(WSB_PROP_VBKGCOLOR, int(FScrollColor));
    FlatSetScrollProp(WSB_PROP_HBKGCOLOR, int(FScrollColor));
}

void TExtStringGrid::ApplyFlatScrollWidth()
{
    FlatSetScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth);
    FlatSetScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

// ---- the floating footer's calculation ----------------------------------------------------------

void TFloatingFooter::SetColumnCalc(int ACol, TColumnCalcType Value)
{
    const int last = FGrid->RowCount() - 1;
    if (ACol < 0 || ACol >= FGrid->TotalColCount() || last < 0)
        return;
    FGrid->CellProperties(ACol, last)->SetCalcType(Value);
}

TColumnCalcType TFloatingFooter::ColumnCalc(int ACol) const
{
    const int last = FGrid->RowCount() - 1;
    if (ACol < 0 || last < 0 || !FGrid->CellHasProperties(ACol, last))
        return acNONE;
    return FGrid->CellProperties(ACol, last)->CalcType();
}

void TExtStringGrid::CalcFooter(int ACol) { DoCalcFooter(ACol); }

void TExtStringGrid::DoCalcFooter(int ACol)
{
    if (!FFloatingFooter->Visible() || FFloatingFooter->FooterStyle != fsFixedLastRow ||
        !FFloatingFooter->EnableCalculation || RowCount() < 1)
        return;
    const int L = RowCount() - 1;
    const int B = FFloatingFooter->CalculateHiddenRows ? NumHiddenRows() : 0;
    const int first = ACol == -1 ? 0 : ACol;
    const int last = ACol == -1 ? AllColCount() - 1 : ACol;
    for (int C = first; C <= last; ++C) {
        const TColumnCalcType calc = FFloatingFooter->ColumnCalc(C);
        if (calc == acNONE || calc == acSPREAD)
            continue;
        const int from = FixedRows();
        const int to = B + RowCount() - 2;
        // A column whose footer cannot be computed (a cell that is no number where one must be)
        // shows an empty footer: the edit that changed it must not fail.
        try {
            switch (calc) {
            case acSUM:
                SetFloats(C, L, ColumnSum(C, from, to));
                break;
            case acAVG:
                SetFloats(C, L, ColumnAvg(C, from, to));
                break;
            case acMIN:
                SetFloats(C, L, ColumnMin(C, from, to));
                break;
            case acMAX:
                SetFloats(C, L, ColumnMax(C, from, to));
                break;
            case acDISTINCT:
                SetFloats(C, L, ColumnDistinct(C, from, to));
                break;
            case acSTDDEV:
                SetFloats(C, L, ColumnStdDev(C, from, to));
                break;
            case acCOUNT:
                SetInts(C, L, B + RowCount() - FixedRows() - 1);
                break;
            case acCUSTOM: {
                UnicodeString value;
                if (OnCalcFooter)
                    OnCalcFooter(this, C, B + RowCount() - 1, value);
                else if (FFloatingFooter->OnCalcFooter)
                    FFloatingFooter->OnCalcFooter(this, C, B + RowCount() - 1, value);
                SetCells(C, L, value);
                break;
            }
            default:
                break;
            }
        } catch (const RIdeZareVorev &) {
            SetCells(C, L, UnicodeString());
        }
    }
}

void TExtStringGrid::UpdateFooter()
{
    if (FFooterPanel)
        FFooterPanel->Invalidate();
}

void TExtStringGrid::HiddenLastRowChanged()
{
    TBaseGrid::HiddenLastRowChanged();
    UpdateFooter();
}

// ---- setters ------------------------------------------------------------------------------------

void TExtStringGrid::SetShowDesignHelper(bool Value)
{
    if (FShowDesignHelper == Value)
        return;
    FShowDesignHelper = Value;
    Invalidate();
}

void TExtStringGrid::SetSelection(const TGridRect &Value)
{
    TCustomGrid::SetSelection(Value);
    if (FActiveCellShow) {
        InvalidateRow(0);
        InvalidateCol(0);
    }
    if (ActiveRowShow())
        InvalidateRow(Value.Bottom);
}
