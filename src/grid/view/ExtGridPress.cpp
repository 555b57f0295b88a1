// The press and release steps between the grid's button handlers and the platform grid:
// range-select-and-edit, the pressed header look, the synchronised grid, a sizing released
// outside the grid, and the disjunct cell selection by click.
#include "grid/core/ExtGrid.h"

#include <algorithm>

void TExtStringGrid::DoCheckBoxClick(int ACol, int ARow, TCheckBoxState State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State == cbChecked);
}

void TExtStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();
    if (FMouseActions->RangeSelectAndEdit && Button == mbLeft && !FMouseActions->EditOnDblClickOnly() && valid) {
        if (ACol == Col() && ARow == Row() && !Options().Contains(goEditing) && !Shift.Contains(ssShift)) {
            if (IsEditable(ACol, ARow)) {
                SetOptions(Options() + TGridOptions{goEditing});
                TBaseGrid::MouseDown(Button, Shift, X, Y);
                ShowInplaceEdit();
                return;
            }
        } else if (Shift.Contains(ssShift) && Options().Contains(goEditing) && (ACol != Col() || ARow != Row())) {
            SetOptions(Options() - TGridOptions{goEditing});
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    const bool pressedHeader = valid && ARow == FixedRows() - 1 && FHoverFixedCells != hfNone &&
                               FControlLook->FixedGradientDownFrom() != clNone;
    if (pressedHeader)
        RepaintCell(ACol, ARow);
    FShowEditProcess = true;
    try {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FShowEditProcess = false;
        throw;
    }
    FShowEditProcess = false;
    if (Shift.Contains(ssShift) && FSelectionRectangle) {
        const TGridRect s = Selection();
        RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
    }
    if (TStringGrid *sync = FSyncGrid ? FSyncGrid->Grid() : nullptr) {
        if (FSyncGrid->SelectionColumn && Col() < sync->ColCount())
            sync->SetCol(Col());
        if (FSyncGrid->SelectionRow && Row() < sync->RowCount())
            sync->SetRow(Row());
    }
}

void TExtStringGrid::DisjunctCellClick(int ACol, int ARow, TShiftState Shift)
{
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    const int bc = DisplColOfReal(b.X), br = b.Y;
    const bool baseFixed = bc < FixedCols() || br < FixedRows() || IsFixed(bc, br);
    if (!baseFixed) {
        if (Shift.Contains(ssCtrl)) {
            SetSelectedCells(bc, br, !SelectedCells(bc, br));
        } else if (Shift.Contains(ssShift)) {
            // The base cell once, as a write of SelectedCells would add it.
            SetSelectedCells(bc, br, true);
        } else {
            for (int i = 0; i + 1 < FSelectedCells->Count(); i += 2)
                RepaintCell(FSelectedCells->Items(i), FSelectedCells->Items(i + 1));
            FSelectedCells->Clear();
            SetSelectedCells(bc, br, true);
        }
    } else if (!(ACol < FixedCols() || ARow < FixedRows()) && !Shift.Contains(ssCtrl)) {
        FSelectedCells->Clear();
        Invalidate();
    }
    const TGridRect s = Selection();
    if (s.Left != s.Right || s.Top != s.Bottom) {
        for (int c = s.Left; c <= s.Right; ++c)
            for (int r = s.Top; r <= s.Bottom; ++r)
                if (!(c == bc && r == br))
                    SetSelectedCells(c, r, true);
    }
    RepaintCell(ACol, ARow);
}

void TExtStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Designing()) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        DesignHelperClick(X, Y);
        return;
    }
    const TGridRect entry = Selection();
    const bool notify = !(entry.Left == 0 && entry.Top == 0 && entry.Right == 0 && entry.Bottom == 0) &&
                        (Button == mbLeft || (Button == mbRight && FMouseActions->SelectOnRightClick));
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool valid = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount();

    // A sizing released outside the grid is dropped: the width or height stays.
    if ((GridState() == gsColSizing && X > Width()) || (GridState() == gsRowSizing && Y > Height())) {
        FGridState = gsNormal;
        Invalidate();
        return;
    }
    if (FMouseActions->DisjunctCellSelect() && Button == mbLeft && valid) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        const int bc = DisplColOfReal(b.X);
        if (!(bc < FixedCols() || b.Y < FixedRows() || IsFixed(bc, b.Y))) {
            bool can = true;
            if (OnSelectCell)
                OnSelectCell(this, bc, b.Y, can);
            if (!can)
                return;
        }
        DisjunctCellClick(ACol, ARow, Shift);
    }
    if (notify)
        DoSelectionChanged(entry.Left, entry.Top, entry.Right, entry.Bottom);
    if (GridState() == gsColMoving && Button == mbRight)
        return;
    const TGridRect before = Selection();
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    const TGridRect after = Selection();
    if (valid && ARow == FixedRows() - 1 && FHoverFixedCells != hfNone && FControlLook->FixedGradientDownFrom() != clNone)
        RepaintCell(ACol, ARow);
    if (before.Left != after.Left || before.Top != after.Top || before.Right != after.Right ||
        before.Bottom != after.Bottom)
        DoSelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}
