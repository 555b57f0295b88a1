// What is selected, modified and disabled: the disjunct row, column and cell selections beside
// the platform's rectangle, the modified and enabled row flags, the small moves of the current
// cell and the repaint helpers.
//
// The disjunct cell list holds (column, row) pairs, two entries per cell, so that no row or
// column number is too large for it.
#include "grid/core/ExtGrid.h"

#include <algorithm>

namespace {

bool FlagOf(const TIntList *List, int Index)
{
    return List && Index >= 0 && Index < List->Count() && List->Items(Index) != 0;
}

void GrowTo(TIntList *List, int Index)
{
    while (List->Count() <= Index)
        List->Add(0);
}

int PairIndex(const TIntList *List, int ACol, int ARow)
{
    for (int i = 0; i + 1 < List->Count(); i += 2)
        if (List->Items(i) == ACol && List->Items(i + 1) == ARow)
            return i;
    return -1;
}

} // namespace

// ---- row and column flags ----

bool TExtStringGrid::GetRowSelect(int ARow) const
{
    if (!FMouseActions->RowSelectPersistent && (ARow < 0 || ARow >= RowCount() + NumHiddenRows()))
        throw RIdeZareVorev(QStringLiteral("Invalid row %1 accessed").arg(ARow));
    if (FMouseActions->DisjunctRowSelect()) {
        if (ARow < 0)
            return false;
        GrowTo(FRowSelect, ARow);
        return FRowSelect->Items(ARow) != 0;
    }
    const TGridRect s = Selection();
    return ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TExtStringGrid::SetRowSelect(int ARow, bool Value)
{
    if (ARow < 0 || (ARow >= RowCount() + NumHiddenRows() && RowCount() > FixedRows()))
        throw RIdeZareVorev(QStringLiteral("Invalid row accessed"));
    bool allow = true;
    if ((ARow >= FRowSelect->Count() || (FRowSelect->Items(ARow) != 0) != Value) && OnRowDisjunctSelect)
        OnRowDisjunctSelect(this, ARow, Value, allow);
    if (!allow)
        return;
    GrowTo(FRowSelect, ARow);
    const bool was = FRowSelect->Items(ARow) != 0;
    if (Value) {
        if (!was)
            RepaintRow(ARow);
        FRowSelect->SetItems(ARow, 1);
        if (ARow >= FixedRows() && !FSelectedRows->HasValue(ARow))
            FSelectedRows->Add(ARow);
    } else {
        if (was)
            RepaintRow(ARow);
        FRowSelect->SetItems(ARow, 0);
        FSelectedRows->DeleteValue(ARow);
    }
    if (OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

bool TExtStringGrid::ColSelect(int ACol)
{
    if (ACol < 0 || ACol >= ColCount())
        throw RIdeZareVorev(QStringLiteral("Invalid column accessed"));
    GrowTo(FColSelect, ACol);
    return FColSelect->Items(ACol) != 0;
}

void TExtStringGrid::SetColSelect(int ACol, bool Value)
{
    if (ACol < 0 || ACol >= ColCount())
        throw RIdeZareVorev(QStringLiteral("Invalid column accessed"));
    GrowTo(FColSelect, ACol);
    if ((FColSelect->Items(ACol) != 0) != Value)
        RepaintCol(ACol);
    FColSelect->SetItems(ACol, Value ? 1 : 0);
}

void TExtStringGrid::ClearRowSelect()
{
    for (int i = 0; i < FRowSelect->Count(); ++i) {
        if (FRowSelect->ItemAt(i) != 0) {
            FRowSelect->SetItems(i, 0);
            RepaintRow(i);
        }
    }
    FSelectedRows->Clear();
}

void TExtStringGrid::ClearColSelect()
{
    for (int i = 0; i < FColSelect->Count(); ++i) {
        if (FColSelect->Items(i) != 0) {
            FColSelect->SetItems(i, 0);
            RepaintCol(i);
        }
    }
}

void TExtStringGrid::SelectionToRowSelect(bool All)
{
    const TGridRect s = Selection();
    const int top = std::min(s.Top, s.Bottom);
    const int bottom = std::min(std::max(s.Top, s.Bottom), RowCount() - FFixedFooters - 1);
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const int index = FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r;
        if (r >= top && r <= bottom)
            SetRowSelect(index, true);
        else if (All && FlagOf(FRowSelect, index))
            SetRowSelect(index, false);
    }
    if (NumHiddenRows() > 0)
        Invalidate();
}

void TExtStringGrid::SelectionToColSelect(bool All)
{
    const TGridRect s = Selection();
    const int left = std::min(s.Left, s.Right);
    const int right = std::max(s.Left, s.Right);
    for (int c = FixedCols(); c < ColCount(); ++c) {
        if (c >= left && c <= right)
            SetColSelect(c, true);
        else if (All && FlagOf(FColSelect, c))
            SetColSelect(c, false);
    }
}

int TExtStringGrid::RowSelectCount()
{
    if (FMouseActions->DisjunctRowSelect()) {
        int n = 0;
        const int last = std::min(FRowSelect->Count(), RowCount() + NumHiddenRows());
        for (int i = 0; i < last; ++i)
            if (FRowSelect->Items(i) != 0)
                ++n;
        return n;
    }
    const TGridRect s = Selection();
    return std::abs(s.Bottom - s.Top) + 1;
}

int TExtStringGrid::ColSelectCount()
{
    if (FMouseActions->DisjunctColSelect()) {
        int n = 0;
        for (int i = 0; i < FColSelect->Count(); ++i)
            if (FColSelect->Items(i) != 0)
                ++n;
        return n;
    }
    const TGridRect s = Selection();
    return s.Right - s.Left + 1;
}

// ---- ranges ----

void TExtStringGrid::SelectRows(int RowIndex, int RCount)
{
    RCount = std::min(RCount, RowCount() - RowIndex);
    if (RCount > 0 && RowIndex >= 0) {
        if (!FMouseActions->DisjunctRowSelect()) {
            SetSelection(TGridRect{FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
        } else {
            for (int r = RowIndex; r < RowIndex + RCount && r < RowCount(); ++r)
                SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r, true);
        }
    }
    if (FRowIndicator && !FRowIndicator->Empty())
        RepaintCol(0);
    FSelChange = false;
}

void TExtStringGrid::UnSelectRows(int RowIndex, int RCount)
{
    if (FMouseActions->DisjunctRowSelect())
        for (int r = std::max(0, RowIndex); r < RowIndex + RCount && r < RowCount(); ++r)
            SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(r) : r, false);
    FSelChange = false;
}

void TExtStringGrid::SelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect()) {
        // The rectangle is not cut here; the selection setter keeps it within the grid.
        SetSelection(TGridRect{ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
        return;
    }
    for (int c = std::max(0, ColIndex); c < ColIndex + CCount && c < ColCount(); ++c)
        SetColSelect(c, true);
}

void TExtStringGrid::UnSelectCols(int ColIndex, int CCount)
{
    if (!FMouseActions->DisjunctColSelect())
        return;
    for (int c = std::max(0, ColIndex); c < ColIndex + CCount && c < ColCount(); ++c)
        SetColSelect(c, false);
}

void TExtStringGrid::SelectRange(int FromCol, int ToCol, int FromRow, int ToRow)
{
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

// ---- the current cell ----

void TExtStringGrid::MoveToCell(int ACol, int ARow)
{
    MoveCurrent(ACol, ARow, true, true);
}

void TExtStringGrid::GotoCell(int ACol, int ARow)
{
    SetRow(ARow);
    SetCol(ACol);
}

void TExtStringGrid::EditCell(int ACol, int ARow)
{
    if (CanFocus() && HandleAllocated())
        SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TExtStringGrid::SwapCells(TPoint FromCell, TPoint ToCell)
{
    if (FromCell.X == ToCell.X && FromCell.Y == ToCell.Y)
        return;
    const UnicodeString t = AllGridCells(FromCell.X, FromCell.Y);
    TObject *o = GetAllGridObjects(FromCell.X, FromCell.Y);
    TObject *o2 = GetAllGridObjects(ToCell.X, ToCell.Y);
    SetAllGridCells(FromCell.X, FromCell.Y, AllGridCells(ToCell.X, ToCell.Y));
    SetAllGridCells(ToCell.X, ToCell.Y, t);
    Store().SetObject(FromCell.X, FromCell.Y, o2);
    Store().SetObject(ToCell.X, ToCell.Y, o);
}

// ---- modified and enabled rows ----

bool TExtStringGrid::RowModified(int ARow) const
{
    return FlagOf(FModifiedRows, ARow);
}

void TExtStringGrid::SetRowModified(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    GrowTo(FModifiedRows, ARow);
    FModifiedRows->SetItems(ARow, Value ? 1 : 0);
    if (HandleAllocated())
        RepaintCell(0, ARow);
}

int TExtStringGrid::ModifiedRowCount() const
{
    int n = 0;
    for (int i = 0; i < FModifiedRows->Count(); ++i)
        if (FModifiedRows->Items(i) == 1)
            ++n;
    return n;
}

void TExtStringGrid::ClearModifiedRows()
{
    FModifiedRows->Clear();
    Invalidate();
}

bool TExtStringGrid::GetRowEnabled(int ARow) const
{
    return !FlagOf(FEnabledRows, ARow);
}

void TExtStringGrid::SetRowEnabled(int ARow, bool Value)
{
    if (ARow < 0)
        return;
    // The current row makes room first, whatever the new state: the first other enabled row.
    if (ARow == Row()) {
        for (int r = FixedRows(); r < RowCount(); ++r) {
            if (r != ARow && GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
        }
    }
    FUseEnabledRows = true;
    GrowTo(FEnabledRows, ARow);
    FEnabledRows->SetItems(ARow, Value ? 0 : 1);
    if (HandleAllocated())
        RepaintRow(ARow);
}

// ---- repaint helpers ----

void TExtStringGrid::RepaintRect(const TRect &R)
{
    if (!HandleAllocated() || R.Left < 0 || R.Top < 0 || R.Right < 0 || R.Bottom < 0)
        return;
    auto shown = [this](int C, int R) {
        return C < ColCount() && R < RowCount() && (R < FixedRows() || (R >= TopRow() && R <= TopRow() + VisibleRowCount())) &&
               (C < FixedCols() || (C >= LeftCol() && C <= LeftCol() + VisibleColCount()));
    };
    const int right = std::min(VisibleColCount() + FixedCols(), R.Right);
    const TRect a = CellRect(R.Left, R.Top);
    const TRect b = CellRect(right, R.Bottom);
    if (!shown(R.Left, R.Top) || !shown(right, R.Bottom) || a.Right <= a.Left || a.Bottom <= a.Top ||
        b.Right <= b.Left || b.Bottom <= b.Top) {
        Invalidate();
        return;
    }
    const TRect u(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                  std::max(a.Bottom, b.Bottom));
    ::InvalidateRect(Handle(), &u, TRUE);
}

void TExtStringGrid::RepaintRow(int ARow)
{
    if (!HandleAllocated() || ARow < 0 || ARow >= RowCount())
        return;
    const TRect a = CellRect(0, ARow);
    const TRect b = CellRect(std::min(LeftCol() + VisibleColCount(), ColCount() - 1), ARow);
    if (a.Bottom <= a.Top)
        return;
    const TRect u(a.Left, a.Top, std::max(a.Right, b.Right), a.Bottom);
    ::InvalidateRect(Handle(), &u, FALSE);
}

void TExtStringGrid::RepaintCol(int ACol)
{
    if (!HandleAllocated() || ACol < 0 || ACol >= ColCount())
        return;
    const TRect a = CellRect(ACol, TopRow());
    const TRect b = CellRect(ACol, std::min(TopRow() + VisibleRowCount(), RowCount() - 1));
    const TRect h = CellRect(ACol, 0);
    if (a.Right <= a.Left && h.Right <= h.Left)
        return;
    const TRect u(std::min(a.Left, h.Left), std::min(a.Top, h.Top), std::max(a.Right, h.Right),
                  std::max(b.Bottom, h.Bottom));
    ::InvalidateRect(Handle(), &u, FALSE);
}

// ---- the disjunct cell selection ----

bool TExtStringGrid::SelectedCells(int ACol, int ARow) const
{
    if (FMouseActions->DisjunctCellSelect())
        return PairIndex(FSelectedCells, ACol, ARow) >= 0;
    const TGridRect s = Selection();
    return ACol >= std::min(s.Left, s.Right) && ACol <= std::max(s.Left, s.Right) &&
           ARow >= std::min(s.Top, s.Bottom) && ARow <= std::max(s.Top, s.Bottom);
}

void TExtStringGrid::SetSelectedCells(int ACol, int ARow, bool Value)
{
    const int i = PairIndex(FSelectedCells, ACol, ARow);
    if (Value && i < 0) {
        FSelectedCells->Add(ACol);
        FSelectedCells->Add(ARow);
        RepaintCell(ACol, ARow);
    } else if (!Value && i >= 0) {
        FSelectedCells->Delete(i + 1);
        FSelectedCells->Delete(i);
        RepaintCell(ACol, ARow);
    }
}

TGridCoord TExtStringGrid::SelectedCell(int Index) const
{
    const int i = Index * 2;
    if (Index < 0 || i + 1 >= FSelectedCells->Count())
        return TGridCoord{-1, -1};
    return TGridCoord{FSelectedCells->Items(i), FSelectedCells->Items(i + 1)};
}

int TExtStringGrid::SelectedCellsCount()
{
    if (!FMouseActions->DisjunctCellSelect()) {
        FSelectedCells->Clear();
        const TGridRect s = Selection();
        if (s.Left == s.Right && s.Top == s.Bottom) {
            FSelectedCells->Add(Col());
            FSelectedCells->Add(Row());
        } else {
            for (int c = s.Left; c <= s.Right; ++c)
                for (int r = s.Top; r <= s.Bottom; ++r) {
                    FSelectedCells->Add(c);
                    FSelectedCells->Add(r);
                }
        }
    }
    return FSelectedCells->Count() / 2;
}

void TExtStringGrid::ClearSelectedCells()
{
    if (ColCount() > FixedCols() && RowCount() > FixedRows())
        SetSelection(TGridRect{FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    FSelectedCells->Clear();
    Invalidate();
}

int TExtStringGrid::SelectedColCount()
{
    if (FMouseActions->DisjunctColSelect())
        return ColSelectCount();
    const TGridRect s = Selection();
    int n = s.Right - s.Left + 1;
    const TPoint tl = CellSpan(RealColIndex(s.Left), s.Top);
    if (tl.X > 0 && s.Left + tl.X > s.Right)
        n = tl.X + 1;
    const TPoint tr = CellSpan(RealColIndex(s.Right), s.Top);
    if (tr.X > 0 && IsBaseCell(RealColIndex(s.Right), s.Top))
        n = s.Right - s.Left + tr.X + 1;
    return n;
}

int TExtStringGrid::SelectedRowCount()
{
    if (FMouseActions->DisjunctRowSelect())
        return FSelectedRows->Count();
    const TGridRect s = Selection();
    const int bottom = std::min(s.Bottom, RowCount() - FFixedFooters - 1);
    int n = bottom - s.Top + 1;
    const TPoint tl = CellSpan(RealColIndex(s.Left), s.Top);
    if (tl.Y > 0 && s.Top + tl.Y > bottom)
        n = tl.Y + 1;
    const TPoint bl = CellSpan(RealColIndex(s.Left), bottom);
    if (bl.Y > 0 && IsBaseCell(RealColIndex(s.Left), bottom))
        n = bottom - s.Top + bl.Y + 1;
    return std::max(0, n);
}

int TExtStringGrid::SelectedRow(int Index)
{
    if (FMouseActions->DisjunctRowSelect())
        return Index >= 0 && Index < FSelectedRows->Count() ? FSelectedRows->Items(Index) : -1;
    const TGridRect s = Selection();
    return Index >= 0 && s.Top + Index <= s.Bottom ? s.Top + Index : -1;
}
