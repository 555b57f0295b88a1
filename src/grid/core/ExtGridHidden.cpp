// Hidden columns and the mapping between real and display indices of columns and rows.
#include "grid/core/ExtGrid.h"

#include <algorithm>

#include <vector>

namespace {
// Columns from here on are never hidden and map to themselves.
constexpr int MaxHideCol = 512;
} // namespace

bool TExtStringGrid::IsHiddenColumn(int ColIndex) const
{
    if (ColIndex < 0 || ColIndex >= MaxHideCol)
        return false;
    return !FVisibleCol[std::size_t(ColIndex)];
}

int TExtStringGrid::RealToDisplCol(int A) const
{
    if (A >= MaxHideCol || FNumHidden == 0 || A <= 0)
        return A;
    int D = A;
    for (int I = 0; I < A; ++I)
        if (!FVisibleCol[std::size_t(I)])
            --D;
    return D;
}

int TExtStringGrid::DisplToRealCol(int D) const
{
    if (D >= MaxHideCol || FNumHidden == 0 || D < 0)
        return D;
    int Shown = 0;
    for (int J = 0; J < MaxHideCol; ++J) {
        if (!FVisibleCol[std::size_t(J)])
            continue;
        if (Shown == D)
            return J;
        ++Shown;
    }
    return 0;
}

void TExtStringGrid::HideColumns(int FromCol, int ToCol)
{
    // Any editor, special ones included, hands its value to the cell before the columns move.
    HideInplaceEdit();
    // The flags cover real columns below 512 only: a column beyond cannot be told hidden later,
    // so hiding it would lose it.
    for (int C = std::max(FromCol, 0); C <= ToCol && C < MaxHideCol; ++C) {
        if (!FVisibleCol[std::size_t(C)] || C >= ColCount() + FNumHidden || ColCount() <= 1)
            continue;
        const int D = RealToDisplCol(C);
        FAllColWidths[std::size_t(C)] = SmallInt(ColWidths(D));
        for (int I = D; I < ColCount() - 1; ++I)
            SetColWidths(I, ColWidths(I + 1));
        ++FNumHidden;
        FVisibleCol[std::size_t(C)] = false;
        if (Col() == ColCount() - 1 && Col() > 0)
            SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TExtStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    HideInplaceEdit();
    for (int C = std::max(FromCol, 0); C <= ToCol && C < MaxHideCol; ++C) {
        if (FVisibleCol[std::size_t(C)])
            continue;
        --FNumHidden;
        FVisibleCol[std::size_t(C)] = true;
        SetColCount(ColCount() + 1);
        const int D = RealToDisplCol(C);
        for (int I = ColCount() - 1; I > D; --I)
            SetColWidths(I, ColWidths(I - 1));
        SetColWidths(D, FAllColWidths[std::size_t(C)]);
    }
    Invalidate();
}

// ---- hidden rows ----
//
// A hidden row leaves the platform grid: its cells (texts and the properties objects, which
// stay the grid's) and its height go into a TGridItem and the row is taken out. The store keeps
// every hidden row's real index in a sorted index, so that each row's display place is found by
// bisection and the rows go in and out as one block.

void TExtStringGrid::CopyRowToItem(int ADisplRow, TGridItem *Item)
{
    TStringList *L = Item->Items();
    const int N = std::max(TotalColCount(), Store().RowLength(ADisplRow));
    L->SetCapacity(N);
    for (int C = 0; C < N; ++C)
        L->AddObject(Store().Text(C, ADisplRow), Store().Object(C, ADisplRow));
}

void TExtStringGrid::CopyItemToRow(TGridItem *Item, int ADisplRow)
{
    TStringList *L = Item->Items();
    for (int C = 0; C < L->Count(); ++C) {
        Store().SetText(C, ADisplRow, L->Strings(C));
        Store().SetObject(C, ADisplRow, L->Objects(C));
    }
}

void TExtStringGrid::ShowRowControls(int FromRow, int ToRow, bool AShow)
{
    if (!FControlList)
        return;
    for (int I = 0; I < FControlList->Count(); ++I) {
        TControlItem *CI = FControlList->Control(I);
        if (!CI || !CI->Control() || CI->Y() < FromRow || CI->Y() > ToRow)
            continue;
        if (!AShow) {
            CI->Control()->SetVisible(false);
            continue;
        }
        if (IsHiddenRow(CI->Y()) || IsHiddenColumn(CI->X()))
            continue;
        const TRect R = CellRect(DisplColIndex(CI->X()), DisplRowIndex(CI->Y()));
        CI->Control()->SetBounds(R.Left - 1, R.Top - 1, R.Right - R.Left + 1, R.Bottom - R.Top);
        CI->Control()->SetVisible(true);
    }
}

void TExtStringGrid::FreeHiddenRowObjects()
{
    if (!FGridItems)
        return;
    for (int I = 0; I < FGridItems->Count(); ++I) {
        TStringList *L = FGridItems->Items(I)->Items();
        for (int C = 0; C < L->Count(); ++C) {
            auto *P = dynamic_cast<TCellProperties *>(L->Objects(C));
            if (!P)
                continue;
            TObject *G = P->GraphicObject();
            if (G && G->ClassName() == QLatin1String("TCellGraphic"))
                delete G;
            L->SetObjects(C, nullptr);
            delete P;
        }
    }
}

void TExtStringGrid::HideRows(int FromRow, int ToRow)
{
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    if (ToRow < FromRow || FGridItems->CountIn(FromRow, ToRow) == ToRow - FromRow + 1)
        return;
    // The shown rows of the range are one block of display rows from the display row of FromRow.
    int D = DisplRowIndex(FromRow);
    std::vector<int> Rows;
    for (int R = FromRow; R <= ToRow; ++R) {
        if (FGridItems->IsHidden(R))
            continue;
        // The platform grid keeps one row at least: that one stays shown.
        if (int(Rows.size()) >= RowCount() - 1)
            break;
        TGridItem *Item = FGridItems->Insert(FGridItems->CountBelow(R), R, RowHeights(D), 0);
        CopyRowToItem(D, Item);
        Rows.push_back(D++);
    }
    ShowRowControls(FromRow, ToRow, false);
    DeleteRowLines(Rows);
    FNormalRowCount = RowCount();
    CellControlsUpdate(false);
}

void TExtStringGrid::HideRowsEx(int FromRow, int ToRow)
{
    if (FromRow < 0 || IsHiddenRow(FromRow))
        return;
    ToRow = std::min(ToRow, TotalRowCount() - 1);
    int D = DisplRowIndex(FromRow);
    std::vector<int> Rows;
    for (int R = FromRow; R <= ToRow; ++R) {
        if (FGridItems->IsHidden(R))
            continue;
        if (int(Rows.size()) >= RowCount() - 1)
            break;
        // The height goes along too: a row that came back without it would be drawn flat.
        TGridItem *Item = FGridItems->Add(R, RowHeights(D), 0);
        CopyRowToItem(D, Item);
        Rows.push_back(D++);
    }
    ShowRowControls(FromRow, ToRow, false);
    DeleteRowLines(Rows);
    FNormalRowCount = RowCount();
    CellControlsUpdate(false);
}

void TExtStringGrid::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    ToRow = std::max(ToRow, FromRow);
    const auto &Keys = FGridItems->SortedIdx();
    const int Lo = int(std::lower_bound(Keys.begin(), Keys.end(), FromRow) - Keys.begin());
    const int Hi = int(std::upper_bound(Keys.begin(), Keys.end(), ToRow) - Keys.begin());
    // Each row comes back at its real index less the hidden rows that stay below it: those
    // before the range.
    std::vector<TGridItem *> Items;
    std::vector<int> Rows;
    for (int K = Lo; K < Hi; ++K) {
        TGridItem *Item = FGridItems->SortedItem(K);
        Items.push_back(Item);
        Rows.push_back(Item->Idx() - Lo);
    }
    RestoreRows(Items, Rows);
    for (TGridItem *Item : Items)
        FGridItems->Remove(Item);
    ShowRowControls(FromRow, ToRow, true);
    CellControlsUpdate(false);
    Invalidate();
}

void TExtStringGrid::RestoreRows(const std::vector<TGridItem *> &Items, const std::vector<int> &Rows)
{
    // Rows hidden in bulk still hold their cells as the store had them and go back whole; the
    // others are copied from their lists.
    std::vector<TGridStore::TRow *> Cells(Items.size(), nullptr);
    std::vector<int> Heights(Items.size());
    std::vector<bool> Listed(Items.size(), false);
    for (std::size_t I = 0; I < Items.size(); ++I) {
        Heights[I] = Items[I]->Height;
        Listed[I] = !Items[I]->Unpark(Cells[I]);
    }
    AttachRowLines(Rows, Heights, Cells);
    // The platform gave up its fixed rows when only they were left; a header kept fixed always
    // is fixed again once the rows are back, so that it stays put while the data scrolls.
    if (FFixedRowAlways && TBaseGrid::FixedRows() < FFixedRowsMin && FFixedRowsMin < RowCount())
        TBaseGrid::SetFixedRows(FFixedRowsMin);
    FNormalRowCount = RowCount();
    for (std::size_t I = 0; I < Items.size(); ++I)
        if (Listed[I])
            CopyItemToRow(Items[I], Rows[I]);
}

void TExtStringGrid::UnHideRowsAll()
{
    if (NumHiddenRows() == 0)
        return;
    const auto &Keys = FGridItems->SortedIdx();
    UnHideRows(Keys.front(), Keys.back());
}

void TExtStringGrid::HideRowList(TIntList *RowList)
{
    std::vector<int> Rows;
    if (RowList) {
        Rows.reserve(std::size_t(RowList->Count()));
        for (int I = 0; I < RowList->Count(); ++I)
            Rows.push_back(RowList->Items(I));
    }
    HideRowLevel(std::move(Rows));
}

void TExtStringGrid::HideRowLevel(std::vector<int> Rows)
{
    // The level sits above the rows hidden directly (level 0), so that undoing it never brings
    // those back.
    ++FFilterLevel;
    HideRowsParked(std::move(Rows));
}

void TExtStringGrid::HideRowSet(std::vector<int> Rows)
{
    // The items take the current level: for the time of the hide it is that of direct hiding.
    const int Level = FFilterLevel;
    FFilterLevel = 0;
    try {
        HideRowsParked(std::move(Rows));
    } catch (...) {
        FFilterLevel = Level;
        throw;
    }
    FFilterLevel = Level;
}

void TExtStringGrid::HideRowsParked(std::vector<int> Rows)
{
    // A filter hands its rows over in order and inside the grid already: one look tells.
    bool Clean = Rows.empty() || (Rows.front() >= 0 && Rows.back() < RowCount());
    for (std::size_t I = 1; Clean && I < Rows.size(); ++I)
        Clean = Rows[I - 1] < Rows[I];
    if (!Clean) {
        Rows.erase(std::remove_if(Rows.begin(), Rows.end(), [this](int D) { return D < 0 || D >= RowCount(); }),
                   Rows.end());
        std::sort(Rows.begin(), Rows.end());
        Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    }
    // The platform grid keeps one row at least: that one stays shown.
    if (!Rows.empty() && int(Rows.size()) >= RowCount())
        Rows.pop_back();
    if (!Rows.empty()) {
        // The items keep the real index: the mapping stays true while the level is applied.
        std::vector<int> Real, Heights;
        FGridItems->DisplToRealAscending(Rows, Real);
        RowHeightsOf(Rows, Heights);
        // The rows' cells move into the items as they are: no text is copied. The room for the
        // items comes first, so that nothing fails once the rows have left the grid.
        FGridItems->Reserve(Rows.size());
        std::vector<TGridStore::TRow *> Cells;
        TLeavingLevel Leaving{Real, Heights, Cells};
        FLeavingLevel = &Leaving;
        try {
            DetachRowLines(Rows, Cells);
        } catch (...) {
            FLeavingLevel = nullptr;
            throw;
        }
        // Here, should the grid have announced no rows leaving after all.
        RecordLeavingLevel();
    }
    FNormalRowCount = RowCount();
    CellControlsUpdate(false);
}

void TExtStringGrid::RowLinesDeleted(const std::vector<int> &Rows)
{
    TBaseGrid::RowLinesDeleted(Rows);
    RecordLeavingLevel();
}

void TExtStringGrid::RecordLeavingLevel()
{
    if (!FLeavingLevel)
        return;
    const TLeavingLevel &L = *FLeavingLevel;
    FLeavingLevel = nullptr;
    // The room was reserved: this cannot fail.
    FGridItems->AddParked(L.Real, L.Heights, DefaultRowHeight(), FFilterLevel, L.Cells, TotalColCount());
}

void TExtStringGrid::UnHideRowList()
{
    if (FFilterLevel <= 0)
        return;
    std::vector<TGridItem *> Items;
    std::vector<int> Rows;
    int Below = 0; // rows of this level below the one at hand, which all come back
    for (int K = 0; K < NumHiddenRows(); ++K) {
        TGridItem *Item = FGridItems->SortedItem(K);
        if (Item->Level != FFilterLevel)
            continue;
        Items.push_back(Item);
        Rows.push_back(Item->Idx() - (K - Below));
        ++Below;
    }
    RestoreRows(Items, Rows);
    FGridItems->ClearLevel(FFilterLevel);
    CellControlsUpdate(false);
    Invalidate();
}

bool TExtStringGrid::IsHiddenRow(int RowIndex, TIntList *&ListHidden) const
{
    if (!ListHidden) {
        ListHidden = new TIntList(0, 0);
        for (int K : FGridItems->SortedIdx())
            ListHidden->Add(K);
    }
    return ListHidden->HasValue(RowIndex);
}

TStrings *TExtStringGrid::HiddenRowItems(int ARealRow) const
{
    TGridItem *Item = FGridItems ? FGridItems->Find(ARealRow) : nullptr;
    return Item ? Item->Items() : nullptr;
}

// ---- current and top row ----

void TExtStringGrid::SetRow(int Value)
{
    // A current column outside the grid (the selection parked away) would take the row along
    // into nowhere: the cell comes back into the grid first.
    if (Col() < 0 || Col() > ColCount() - 1)
        MoveToCell(FixedCols(), Value);
    TBaseGrid::SetRow(Value);
    if (Row() != FOldRowSel && OnRowUpdate) {
        OnRowUpdate(this, FOldRowSel, Row());
        FOldRowSel = Row();
    }
    if (FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect();
    if (FSyncGrid && FSyncGrid->Grid() && FSyncGrid->SelectionRow)
        FSyncGrid->Grid()->SetRow(Row());
    if (Value == RowCount() - 1 && FSearchFooter->Visible())
        ScrollAboveSearchFooter();
}

void TExtStringGrid::SetTopRow(int Value)
{
    if (Value >= FixedRows() && Value <= RowCount() - 1)
        TBaseGrid::SetTopRow(Value);
}
