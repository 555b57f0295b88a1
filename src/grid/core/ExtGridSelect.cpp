// Moving the current cell: the changing events, the validation of a pending edit, and editing
// switched on or off per cell so that typing opens an editor only where the cell may be edited.
#include "grid/core/ExtGrid.h"

#include <algorithm>

void TExtStringGrid::DoCellChanging(int OldRow, int OldCol, int NewRow, int NewCol, bool &Allow)
{
    if (NewRow != OldRow && OnRowChanging)
        OnRowChanging(this, OldRow, NewRow, Allow);
    if (NewCol != OldCol && OnColChanging)
        OnColChanging(this, OldCol, NewCol, Allow);
    if (NewRow == OldRow && NewCol == OldCol)
        return;
    if (OnCellChanging && !FDisableChange)
        OnCellChanging(this, OldRow, OldCol, NewRow, NewCol, Allow);
}

void TExtStringGrid::RestoreCellCache()
{
    const int c = RealColIndex(Col());
    SetCellEx(c, Row(), FCellCache);
    SetCellEx(c, Row(), GetCellEx(c, Row()));
}

void TExtStringGrid::DisableEditing(TObject *)
{
    SetOptions(Options() - TGridOptions{goEditing});
}

void TExtStringGrid::ApplyEditPermission(int ACol, int ARow, bool EditorFocused)
{
    const int realCol = RealColIndex(ACol);
    if (!IsControlCell(realCol, ARow)) {
        bool canEdit = Options().Contains(goEditing) || FEditDisable;
        CanEditCell(realCol, ARow, canEdit);
        if (canEdit && FMouseActions->DirectEdit) {
            EditControl = FDefaultEditor;
            if (IsNoEditorCell(realCol, ARow))
                canEdit = false;
        }
        if (FMouseActions->EditOnDblClickOnly())
            canEdit = false;
        if (canEdit) {
            FEditDisable = false;
            if (!Options().Contains(goEditing)) {
                FEditChange = true;
                if (!FEditing)
                    SaveOldCellValue(ACol, ARow);
                TGridOptions o = Options();
                if (o.Contains(goRowSelect) && FMouseActions->RangeSelectAndEdit)
                    o.Exclude(goRowSelect);
                o.Include(goEditing);
                SetOptions(o);
                // The editor open on the cell being left is put away with its value.
                if (EditMode)
                    HideInplaceEdit();
            }
        } else if (Options().Contains(goEditing)) {
            if (EditMode)
                HideInplaceEdit();
            EditMode = false;
            FEditDisable = true;
            FEditChange = true;
            SetOptions(Options() - TGridOptions{goEditing});
            SetEditorMode(false);
        }
    } else {
        bool canEdit = true;
        CanEditCell(realCol, ARow, canEdit);
        if (!FEditDisable)
            FEditDisable = !canEdit && (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit);
        if (!Options().Contains(goEditing) && !Options().Contains(goRowSelect) && canEdit) {
            FEditChange = true;
            SetOptions(Options() + TGridOptions{goEditing});
        }
    }
    (void)EditorFocused;
}

void TExtStringGrid::RepaintActiveHeaders(int Col1, int Row1, int Col2, int Row2)
{
    for (const TPoint p : {TPoint{Col1, Row1}, TPoint{Col2, Row2}}) {
        if (FixedRows() > 0)
            RepaintCell(p.X, FixedRows() - 1);
        if (FixedCols() > 0)
            RepaintCell(FixedCols() - 1, p.Y);
    }
}

bool TExtStringGrid::KeepClearOfPanels(int ARow)
{
    if (!HandleAllocated())
        return true;
    const int b = FSearchFooter->Visible() && FSearchPanel ? FSearchPanel->Height() + 2 : 0;
    const int footer = FFooterPanel ? FFooterPanel->Height() : 0;
    const int clientBottom = ClientHeight();
    if (FFloatingFooter->Visible()) {
        if (FFloatingFooter->FooterStyle == fsFixedLastRow) {
            if (ARow >= TopRow() + VisibleRowCount())
                SetTopRow(std::max(FixedRows(), ARow + FixedRows() - VisibleRowCount()));
            // The last row is the footer: it is shown, never current.
            if (ARow == RowCount() - 1)
                return false;
            if (CellRect(Col(), ARow).Bottom > clientBottom - footer - b + 2 && TopRow() < RowCount() - 1)
                SetTopRow(TopRow() + 1);
        } else {
            if (FFooterPanel)
                FFooterPanel->Invalidate();
            if (CellRect(Col(), ARow).Bottom > clientBottom - footer - b + 2 && ARow < RowCount() && TopRow() < RowCount() - 1)
                SetTopRow(TopRow() + 1);
        }
    }
    if (FSearchFooter->Visible() && FSearchPanel && FSearchPanel->Visible()) {
        const int ph = FSearchPanel->Height();
        // A panel taller than the grid leaves no top row that clears it: stop where the top
        // row can go no further.
        while (ARow < RowCount() && TopRow() < RowCount() - 1 && CellRect(Col(), ARow).Bottom > clientBottom - ph + 2) {
            const int top = TopRow();
            SetTopRow(top + 1);
            if (TopRow() == top)
                break;
        }
    }
    return true;
}

void TExtStringGrid::SelectionRepaints(int OldCol, int OldRow, const TGridRect &OldSel, int ACol, int ARow)
{
    if (!HandleAllocated())
        return;
    if (FRowIndicator && FixedCols() > 0 && !FRowIndicator->Empty()) {
        RepaintCell(0, OldRow);
        RepaintCell(0, ARow);
    }
    if (FActiveCellShow) {
        RepaintActiveHeaders(OldCol, OldRow, ACol, ARow);
        if (OldSel.Left != OldCol && OldSel.Top != OldRow)
            RepaintActiveHeaders(OldSel.Left, OldSel.Top, ACol, ARow);
    }
    if (ActiveRowShow()) {
        for (int c = 0; c < ColCount(); ++c) {
            RepaintCell(c, ARow);
            RepaintCell(c, OldSel.Top);
        }
    }
    if (FSelectionRectangle) {
        const TGridRect s = Selection();
        RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
    }
}

bool TExtStringGrid::SelectCell(int ACol, int ARow)
{
    if (FForceSel) {
        if (HandleAllocated() && FRowIndicator && FixedCols() > 0 && !FRowIndicator->Empty()) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    if (!Parent())
        return true;
    FEditText = (ACol >= 0 && ARow >= 0 && RealColIndex(ACol) < TotalColCount() && ARow < RowCount())
                    ? GridCells(RealColIndex(ACol), ARow)
                    : UnicodeString();
    if (!KeepClearOfPanels(ARow))
        return false;
    if (ACol < 0 || ARow < 0)
        return false;
    if (!Options().Contains(goRangeSelect) && IsMergedNonBaseCell(RealColIndex(ACol), ARow)) {
        const TPoint b = BaseCell(RealColIndex(ACol), ARow);
        FocusCell(DisplColOfReal(b.X), b.Y, true);
        if (HandleAllocated())
            RepaintCell(DisplColOfReal(b.X), b.Y);
        if (FMouseActions->DirectEdit ||
            (FControlLook->DropDownAlwaysVisible && HasComboBox(RealColIndex(ACol), ARow)))
            ShowInplaceEdit();
        return false;
    }
    if (FNumNodes > 0 && ACol == 0 && !Options().Contains(goRowSelect))
        return false;
    if (FUseEnabledRows && FNavigation->SkipDisabledRows && !GetRowEnabled(ARow))
        return false;

    const int oldCol = Col(), oldRow = Row();
    const TGridRect oldSel = Selection();
    const int realCol = RealColIndex(ACol);
    UnicodeString text = (realCol < TotalColCount() && ARow < RowCount()) ? GridCells(realCol, ARow) : UnicodeString();
    TInplaceEdit *ed = InplaceEditor();
    const bool editorFocused = ed && ed->HandleAllocated() && ed->Focused();
    const bool wasEditing = EditMode;
    ApplyEditPermission(ACol, ARow, editorFocused);
    if (wasEditing && !EditMode)
        text = (realCol < TotalColCount() && ARow < RowCount()) ? GridCells(realCol, ARow) : UnicodeString();

    bool answer = false;
    bool allow = true;
    if (FEditing && !editorFocused) {
        const UnicodeString saved = FCellCache;
        const int curCol = RealColIndex(Col());
        answer = IsWideCell(curCol, Row()) ? ValidateCellWide(WideCells(curCol, Row())) : ValidateCell(GetCurrentCell());
        DoCellChanging(oldRow, oldCol, ARow, ACol, allow);
        if (!allow)
            answer = false;
        if (answer)
            answer = TBaseGrid::SelectCell(ACol, ARow);
        if (!answer)
            text = saved;
    } else {
        DoCellChanging(oldRow, oldCol, ARow, ACol, allow);
        if (IsFixed(ACol, ARow) || !allow)
            answer = (allow && Options().Contains(goRowSelect)) || (FFixedRowAlways && RowCount() == FixedRows());
        else
            answer = TBaseGrid::SelectCell(ACol, ARow);
    }
    // A refused move leaves the cell that stays current with its own permission, so a read-only
    // cell never becomes typeable because its neighbour was editable.
    if (!answer && (ACol != oldCol || ARow != oldRow))
        ApplyEditPermission(oldCol, oldRow, editorFocused);
    SelectionRepaints(oldCol, oldRow, oldSel, ACol, ARow);

    if (FISelect)
        FISelect->SelectionChanged(Col(), ARow);
    if (!LoadingState() && ARow != FOldRowSel && OnRowChanged) {
        OnRowChanged(this, FOldRowSel, ARow);
        FOldRowSel = ARow;
    }
    // Cell borders may depend on the current cell: the old selection's rows are drawn again.
    if (HasCellBorderEvent() && HandleAllocated())
        for (int r = oldSel.Top; r <= oldSel.Bottom; ++r)
            for (int c = FixedRows(); c <= FixedRows() + VisibleColCount() && c < ColCount(); ++c)
                RepaintCell(c, r);
    // A refused move keeps the cache of the cell being left.
    if (answer)
        FCellCache = text;
    return answer;
}
