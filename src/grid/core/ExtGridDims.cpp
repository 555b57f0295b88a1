// Dimensions of the string grid, its fixed rows and columns, sizes, the plain settings and its
// update lock.
#include "grid/core/ExtGrid.h"

#include "platform/WinGdi.h"

#include <algorithm>
#include <climits>
#include <cstdint>

void TExtStringGrid::BeginUpdate()
{
    if (!Visible())
        return;
    ++FUpdateCount;
    Perform(WM_SETREDRAW, 0, 0);
}

void TExtStringGrid::EndUpdate()
{
    // The count comes down also while the grid is hidden: a grid hidden between Begin and End
    // would otherwise stay locked for good.
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (!Visible() || FUpdateCount > 0 || DestroyingState())
        return;
    Perform(WM_SETREDRAW, 1, 0);
    Invalidate();
    DrawBorder();
}

// ---- counts ----

void TExtStringGrid::SetRowCount(int Value)
{
    const int OldCount = RowCount();
    // A grid of the header row alone parked its selection: the rows to come take it back.
    if (OldCount == FixedRows() && FFixedRowAlways && (FSelHidden || Row() >= OldCount || Col() >= ColCount()))
        UnHideSelection();
    TBaseGrid::SetRowCount(Value);
    if (FFixedRowAlways && FFixedRowsMin < RowCount())
        SetFixedRows(FFixedRowsMin);
    FMaxRowCount = std::max(FMaxRowCount, RowCount());
    FNormalRowCount = RowCount();
    UpdateFooter();
    UpdateVScrollProportional();
    UpdateHScrollProportional();
    UpdateScrollBarAlways(false);
    if (FScrollType != ssNormal)
        UpdateFlatScrollBars();
    if (!FFloatingFooter || !FFloatingFooter->Visible() || OldCount == RowCount())
        return;
    // The footer row follows the end of the grid with its texts and objects. Whatever the new
    // last row held before is freed first: on a shrink that is a row of the grid, on a grow a row
    // kept beyond the count; either way the footer's objects take its slots.
    const int From = OldCount - 1, To = RowCount() - 1;
    FreeCellPropsRange(0, To, INT_MAX - 1, To);
    const int N = std::max(TotalColCount(), Store().RowLength(From));
    for (int C = 0; C < N; ++C) {
        Store().SetText(C, To, Store().Text(C, From));
        Store().SetObject(C, To, Store().Object(C, From));
    }
    FNilObjects = true;
    Store().ClearRow(From);
    CalcFooter(-1);
    FNilObjects = false;
    Invalidate();
}

void TExtStringGrid::SetColCount(int Value)
{
    TBaseGrid::SetColCount(Value);
    if (FFixedColAlways && FFixedColsMin < ColCount())
        SetFixedCols(FFixedColsMin);
    FMaxColCount = std::max(FMaxColCount, ColCount());
    UpdateFooter();
    SetBounds(Left(), Top(), Width(), Height());
    UpdateHScrollProportional();
    UpdateVScrollProportional();
    UpdateScrollBarAlways(false);
}

void TExtStringGrid::SetFixedRows(int Value)
{
    int V = Value;
    if (Value >= RowCount() && FFixedRowAlways)
        V = RowCount() - 1;
    TBaseGrid::SetFixedRows(V);
    if (!LoadingState())
        FFixedRowsMin = Value;
}

void TExtStringGrid::SetFixedCols(int Value)
{
    int V = Value;
    if (Value >= ColCount() && FFixedColAlways)
        V = ColCount() - 1;
    TBaseGrid::SetFixedCols(V);
    if (!LoadingState())
        FFixedColsMin = Value;
}

void TExtStringGrid::SetFixedFooters(int Value)
{
    FFixedFooters = Value;
    Invalidate();
}

void TExtStringGrid::SetFixedRightCols(int Value)
{
    FFixedRightCols = Value;
    Invalidate();
}

// ---- sizes ----

void TExtStringGrid::SetDefaultRowHeight(int Value)
{
    TBaseGrid::SetDefaultRowHeight(Value);
    if (Designing())
        FFixedRowHeight = Value;
    if (FFloatingFooter)
        FFloatingFooter->HeightFromGrid(Value);
    if (FFloatingFooter && FFloatingFooter->Visible() && FFooterPanel)
        FFooterPanel->SetHeight(Value);
}

void TExtStringGrid::SetFixedRowHeight(int Value)
{
    FFixedRowHeight = Value;
    if (LoadingState())
        return;
    if (Value == DefaultRowHeight()) {
        SetDefaultRowHeight(Value);
        return;
    }
    for (int R = 0; R < std::min(FixedRows(), RowCount()); ++R)
        SetRowHeights(R, Value);
}

void TExtStringGrid::SetFixedColWidth(int Value)
{
    // The default width asks for nothing: fixed columns sized by hand stay as they are.
    if (LoadingState() || Value == DefaultColWidth())
        return;
    for (int C = 0; C < std::min(FixedCols(), ColCount()); ++C)
        SetColWidths(C, Value);
}

int TExtStringGrid::AllColWidths(int ACol) const
{
    if (IsHiddenColumn(ACol))
        return FAllColWidths[std::size_t(ACol)];
    return ColWidths(RealToDisplCol(ACol));
}

void TExtStringGrid::SetAllColWidths(int ACol, int Value)
{
    if (ACol >= 0 && ACol < 512)
        FAllColWidths[std::size_t(ACol)] = SmallInt(Value);
    if (IsHiddenColumn(ACol))
        return;
    const int D = RealToDisplCol(ACol);
    if (D >= 0 && D < ColCount())
        SetColWidths(D, Value);
}

// ---- look ----

void TExtStringGrid::SetWordWrap(bool Value)
{
    FWordWrapEx = Value;
    TBaseGrid::SetWordWrap(Value);
    if (!LockUpdate())
        Invalidate();
}

void TExtStringGrid::SetDefaultAlignment(TAlignment Value)
{
    SetAndInvalidate(FDefaultAlignment, Value);
}

void TExtStringGrid::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    FVAlign = int(Value == vtaCenter ? DT_VCENTER : Value == vtaBottom ? DT_BOTTOM : DT_TOP);
    if (!LockUpdate())
        Invalidate();
}

void TExtStringGrid::SetSelectionColorMixerFactor(int Value)
{
    SetAndInvalidate(FSelectionColorMixerFactor, std::clamp(Value, 0, 100));
}

void TExtStringGrid::SetShowSelection(bool Value)
{
    if (Value == FShowSelection)
        return;
    FShowSelection = Value;
    FShowSel = Value;
    Invalidate();
}

void TExtStringGrid::SetFlat(bool Value)
{
    FIsFlat = Value;
    if (!LoadingState())
        Invalidate();
}

UnicodeString TExtStringGrid::Version()
{
    const auto V = static_cast<std::uint32_t>(GetVersionNr());
    return QStringLiteral("%1.%2.%3.%4").arg(V >> 24).arg((V >> 16) & 0xFF).arg((V >> 8) & 0xFF).arg(V & 0xFF);
}

void TExtStringGrid::SetSpreadSheet(bool Value)
{
    FSpreadSheet = Value;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->AllowSmartClipboard = true;
    TGridOptions O = Options();
    O.Include(goRangeSelect);
    O.Include(goEditing);
    SetOptions(O);
    FMouseActions->RangeSelectAndEdit = true;
}

// ---- current cell and navigation ----

void TExtStringGrid::SetCol(int Value)
{
    TBaseGrid::SetCol(Value);
    if (FSyncGrid && FSyncGrid->Grid() && FSyncGrid->SelectionColumn)
        FSyncGrid->Grid()->SetCol(Col());
}

int TExtStringGrid::VisibleFixedRightCols() const
{
    if (FNumHidden == 0)
        return FFixedRightCols;
    int N = 0;
    for (int C = AllColCount() - 1; C >= 0 && C >= AllColCount() - FFixedRightCols; --C)
        if (!IsHiddenColumn(C))
            ++N;
    return N;
}

bool TExtStringGrid::IsNavigableCell(int ACol, int ARow)
{
    // Fixed rows and columns are never a place to stop, whatever the cell's own answer.
    if (ACol < FixedCols() || ARow < FixedRows() || ACol >= ColCount() - FFixedRightCols ||
        ARow >= RowCount() - FFixedFooters)
        return false;
    bool Can = EditingGrid() ? IsEditable(ACol, ARow) : !IsFixed(ACol, ARow);
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, Can);
    return Can;
}

int TExtStringGrid::FirstNavigableCol(int ARow)
{
    for (int C = 0; C < ColCount(); ++C)
        if (IsNavigableCell(C, ARow))
            return C;
    return -1;
}

int TExtStringGrid::LastNavigableCol(int ARow)
{
    for (int C = ColCount() - 1; C >= 0; --C)
        if (IsNavigableCell(C, ARow))
            return C;
    return -1;
}

void TExtStringGrid::CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs,
                                     TGridDrawInfo &FixedInfo)
{
    TBaseGrid::CalcSizingState(X, Y, State, Index, SizingPos, SizingOfs, FixedInfo);
    int C = -1, R = -1;
    if (State == gsColSizing && OnColumnSize) {
        MouseToCell(X - 6, Y, C, R);
        if (R >= 0 && R < FixedRows() && C >= 0) {
            bool Allow = true;
            OnColumnSize(this, C, Allow);
            if (!Allow)
                State = gsNormal;
        }
    }
    if (State == gsRowSizing && OnRowSize) {
        MouseToCell(X, Y - 6, C, R);
        if (C >= 0 && C < FixedCols() && R >= 0) {
            bool Allow = true;
            OnRowSize(this, R, Allow);
            if (!Allow)
                State = gsNormal;
        }
    }
}
