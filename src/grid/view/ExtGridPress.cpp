// The press and release steps between the grid's button handlers and the platform grid:
// range-select-and-edit, the pressed header look, the synchronised grid, a sizing released
// outside the grid, and the disjunct cell selection by click.
#include "grid/core/ExtGrid.h"

#include "platform/Menus.h"

#include <algorithm>

void TExtStringGrid::DoCheckBoxClick(int ACol, int ARow, TCheckBoxState State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State == cbChecked);
}

void TExtStringGrid::FollowSyncGrid()
{
    // A grid kept in step takes the current column and row as the selection options say.
    TStringGrid *sync = FSyncGrid ? FSyncGrid->Grid() : nullptr;
    if (!sync)
        return;
    if (FSyncGrid->SelectionColumn && Col() < sync->ColCount())
        sync->SetCol(Col());
    if (FSyncGrid->SelectionRow && Row() < sync->RowCount())
        sync->SetRow(Row());
}

bool TExtStringGrid::IsHoverFixedCell(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0)
        return false;
    if (ACol < FixedCols() && (FHoverFixedCells == hfAll || FHoverFixedCells == hfFixedColumns))
        return true;
    return ARow < FixedRows() && (FHoverFixedCells == hfAll || FHoverFixedCells == hfFixedRows);
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
    // The drop-down button at the right of a hovered fixed cell opens the header menu.
    if (valid) {
        const TRect cr = CellRect(ACol, ARow);
        const int inner = Options().Contains(goColSizing) ? cr.Right - 2 : cr.Right;
        if (X > cr.Right - 16 && X < inner && IsHoverFixedCell(ACol, ARow) && FControlLook->FixedDropDownButton()) {
            FFixedDropDownPressed = true;
            if (FFixedDropDownMenu || OnFixedDropDownClick) {
                FNoMouseLeave = true;
                TPopupMenu *menu = FFixedDropDownMenu;
                if (menu)
                    menu->SetTag(ACol);
                bool keep = false;
                if (OnFixedDropDownClick)
                    OnFixedDropDownClick(this, ACol, ARow, menu, keep);
                if (menu) {
                    FMouseDownMove = false;
                    FHoverFixedX = ACol;
                    FHoverFixedY = ARow;
                    RepaintCell(ACol, ARow);
                    const TPoint p = ClientToScreen(TPoint(cr.Right - 16, cr.Bottom));
                    menu->Popup(p.X, p.Y);
                    FHoverFixedX = -1;
                    FHoverFixedY = -1;
                    RepaintCell(ACol, ARow);
                }
                FNoMouseLeave = keep;
                return;
            }
        }
    }
    const bool pressedHeader = valid && ARow == FixedRows() - 1 && IsHoverFixedCell(ACol, ARow) &&
                               FControlLook->FixedGradientDownFrom() != clNone;
    if (pressedHeader)
        RepaintCell(ACol, ARow);
    FEditStart = true;
    try {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FEditStart = false;
        throw;
    }
    FEditStart = false;
    if (Shift.Contains(ssShift) && FSelectionRectangle) {
        const TGridRect s = Selection();
        RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
    }
    // A press on a header or row-header cell may open its editor; with sizing on, only a press
    // clear of the cell's edges does.
    if (valid && (ACol < FixedCols() || ARow < FixedRows())) {
        const TRect cr = CellRect(ACol, ARow);
        bool open = false;
        if (Button == mbLeft) {
            if (ARow < FixedRows() && FMouseActions->FixedRowsEdit == fceLeftClick)
                open = !Options().Contains(goColSizing) || (X - cr.Left >= 4 && cr.Right - X >= 4);
            else if (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->FixedColsEdit == fceLeftClick)
                open = !Options().Contains(goRowSizing) || (Y - cr.Top >= 4 && cr.Bottom - Y >= 4);
        } else if (Button == mbRight) {
            open = (ARow < FixedRows() && FMouseActions->FixedRowsEdit == fceRightClick) ||
                   (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->FixedColsEdit == fceRightClick);
        }
        if (open) {
            EditFixedCell(ACol, ARow);
            return;
        }
    }
    FollowSyncGrid();
}

void TExtStringGrid::DisjunctCellClick(int ACol, int ARow, TShiftState Shift)
{
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    const int bc = DisplColOfReal(b.X), br = b.Y;
    const bool baseFixed = bc < FixedCols() || br < FixedRows() || IsFixed(bc, br);
    if (!baseFixed) {
        if (Shift.Contains(ssShift)) {
            // The base cell once, as a write of SelectedCells would add it.
            SetSelectedCells(bc, br, true);
        } else if (Shift.Contains(ssCtrl)) {
            SetSelectedCells(bc, br, !SelectedCells(bc, br));
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

    // The filter button of a header cell in the filter row opens the column's filter list.
    const TRect fr = valid ? CellRect(ACol, ARow) : TRect();
    if (valid && ARow == FFilterDropDownRow && RealColIndex(ACol) != FFilterCol && X > fr.Right - 16 &&
        Y < fr.Top + 19 && X < fr.Right - 3 && DoGetColumnFilter(RealColIndex(ACol))) {
        FFilterCol = RealColIndex(ACol);
        OpenFilterDropDown(ACol, ARow);
    } else {
        FFilterCol = -1;
    }
    FFixedDropDownPressed = false;

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
    if (valid && ARow == FixedRows() - 1 && IsHoverFixedCell(ACol, ARow) &&
        FControlLook->FixedGradientDownFrom() != clNone)
        RepaintCell(ACol, ARow);
    if (before.Left != after.Left || before.Top != after.Top || before.Right != after.Right ||
        before.Bottom != after.Bottom)
        DoSelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}
