// Moving columns and rows: the cells move in the platform's store, and everything the grid keeps
// per column or row (widths, column order, hidden-column and hidden-row data, sort columns, cell
// controls) goes along; a synchronised grid repeats the move.

#include "grid/core/ExtGrid.h"

#include <algorithm>
#include <vector>

// ---- moving columns and rows ------------------------------------------------------------------

namespace {

// Where a column (row) at Index is after the one at From moved to To.
int MovedIndex(int Index, int From, int To)
{
    if (Index == From)
        return To;
    if (To < From && Index >= To && Index < From)
        return Index + 1;
    if (To > From && Index > From && Index <= To)
        return Index - 1;
    return Index;
}

} // namespace

void TExtStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    TBaseGrid::MoveColumn(FromIndex, ToIndex);
    if (FControlList->Count() == 0 || FromIndex == ToIndex)
        return;
    // The cell controls follow the columns that moved.
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem *item = FControlList->Control(i);
        item->SetX(MovedIndex(item->X(), FromIndex, ToIndex));
    }
    CellControlsUpdate(false);
}

void TExtStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (IsFooterRowMove(ToIndex))
        return;
    const int realFrom = RealRowIndex(FromIndex);
    const int realTo = RealRowIndex(ToIndex);
    TCustomGrid::MoveRow(FromIndex, ToIndex);
    if (FControlList->Count() == 0 || FromIndex == ToIndex)
        return;
    // The cell controls (kept by real row) follow the rows that moved.
    for (int i = 0; i < FControlList->Count(); ++i) {
        TControlItem *item = FControlList->Control(i);
        item->SetY(MovedIndex(item->Y(), realFrom, realTo));
    }
    CellControlsUpdate(false);
}

void TExtStringGrid::MoveRows(int FromIndex, int ToIndex, int Count)
{
    // Rows moved from or to outside the grid would be lost.
    if (FromIndex == ToIndex || Count <= 0 || FromIndex < 0 || FromIndex + Count > RowCount() || ToIndex < 0 ||
        ToIndex > RowCount())
        return;
    const int cols = TotalColCount();
    std::vector<UnicodeString> texts;
    std::vector<TObject *> objects;
    texts.reserve(std::size_t(cols) * std::size_t(Count));
    objects.reserve(std::size_t(cols) * std::size_t(Count));
    for (int r = FromIndex; r < FromIndex + Count; ++r)
        for (int c = 0; c < cols; ++c) {
            texts.push_back(GridCells(c, r));
            objects.push_back(GridObjects(c, r));
        }
    if (FromIndex + Count < ToIndex)
        ToIndex -= Count;
    // Past the end of the shortened grid the rows go to its end.
    ToIndex = std::min(ToIndex, RowCount() - Count);
    BeginUpdate();
    RemoveRowsEx(FromIndex, Count);
    InsertRows(ToIndex, Count, true);
    std::size_t k = 0;
    for (int r = ToIndex; r < ToIndex + Count; ++r)
        for (int c = 0; c < cols; ++c, ++k) {
            SetGridCell(c, r, texts[k]);
            SetGridObject(c, r, objects[k]);
        }
    EndUpdate();
    Invalidate();
}

// ---- the move notifications ----------------------------------------------------------------------

namespace {

// Moves the entry at From of an array of Count entries to To, as a list move does.
template <typename T, std::size_t N> void MoveEntry(std::array<T, N> &A, int From, int To, int Count)
{
    Count = std::min(Count, int(N));
    if (From < 0 || To < 0 || From >= Count || To >= Count || From == To)
        return;
    auto b = A.begin();
    if (From < To)
        std::rotate(b + From, b + From + 1, b + To + 1);
    else
        std::rotate(b + To, b + From, b + From + 1);
}

} // namespace

void TExtStringGrid::RepeatOnSyncGrid(bool Column, int FromIndex, int ToIndex)
{
    auto *other = dynamic_cast<TExtStringGrid *>(FSyncGrid->Grid());
    if (!other || FSyncedMove || !(Column ? FSyncGrid->MoveColumn : FSyncGrid->MoveRow))
        return;
    // A follower too small for the move is left alone rather than failing this grid's move.
    const int count = Column ? other->ColCount() : other->RowCount();
    if (FromIndex >= count || ToIndex >= count)
        return;
    other->FSyncedMove = true;
    try {
        if (Column)
            other->MoveColumn(FromIndex, ToIndex);
        else
            other->MoveRow(FromIndex, ToIndex);
    } catch (...) {
        other->FSyncedMove = false;
        throw;
    }
    other->FSyncedMove = false;
}

bool TExtStringGrid::IsFooterRowMove(int ToIndex) const
{
    return FFloatingFooter && FFloatingFooter->Visible() && FFloatingFooter->FooterStyle == fsFixedLastRow &&
           ToIndex == RowCount() - 1;
}

void TExtStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    const int realFrom = RealColIndex(FromIndex);
    const int realTo = RealColIndex(ToIndex);
    const int n = FColumnOrder->Count();
    if (realFrom >= 0 && realTo >= 0 && realFrom < n && realTo < n && realFrom != realTo) {
        const int v = FColumnOrder->Items(realFrom);
        FColumnOrder->Delete(realFrom);
        FColumnOrder->Insert(realTo, v);
    }
    // The platform has moved the display widths already; the widths and visibility kept for
    // hidden columns are by real column.
    if (FEnhRowColMove) {
        if (FNumHidden > 0) {
            MoveEntry(FVisibleCol, realFrom, realTo, ColCount() + FNumHidden);
            MoveEntry(FAllColWidths, realFrom, realTo, ColCount() + FNumHidden);
        }
        ColMoveFlg = true;
    }
    // The store keeps hidden columns in place, so the cells move by real column; the event
    // names the real columns when they differ from the shown ones.
    Store().MoveColumn(realFrom, realTo);
    if (FNumHidden > 0)
        TDrawGrid::ColumnMoved(realFrom, realTo);
    else
        TDrawGrid::ColumnMoved(FromIndex, ToIndex);

    if (NumHiddenRows() > 0) {
        const int all = AllColCount();
        for (int i = 0; i < FGridItems->Count(); ++i) {
            TStringList *cells = FGridItems->Items(i)->Items();
            if (realFrom < cells->Count() && realTo < cells->Count() && realFrom < all && realTo < all)
                cells->Move(realFrom, realTo);
        }
    }
    if (FSortSettings->Column >= 0)
        FSortSettings->Column = MovedIndex(FSortSettings->Column, realFrom, realTo);
    if (FSortSettings->IndexShow)
        for (int i = 0; i < FSortIndexes->Count(); ++i) {
            const int v = FSortIndexes->Items(i);
            const int col = MovedIndex(v & 0xFFFF, realFrom, realTo);
            FSortIndexes->SetItems(i, int((unsigned(v) & 0xFFFF0000u) | unsigned(col & 0xFFFF)));
        }
    if (FFloatingFooter->Visible())
        UpdateFooter();

    RepeatOnSyncGrid(true, FromIndex, ToIndex);
}

void TExtStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    // The platform would fire OnRowMoved before the grid's own bookkeeping is done.
    TMovedEvent moved = std::move(OnRowMoved);
    OnRowMoved = nullptr;
    try {
        TBaseGrid::RowMoved(FromIndex, ToIndex);
    } catch (...) {
        OnRowMoved = std::move(moved);
        throw;
    }
    OnRowMoved = std::move(moved);
    if (FEnhRowColMove)
        ColMoveFlg = true;
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);

    RepeatOnSyncGrid(false, FromIndex, ToIndex);
}
