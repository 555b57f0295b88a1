// Row and column structure of the string grid: removing, inserting and clearing rows and columns,
// merging and splitting runs of equal cells, and two cell searches.
//
// Rows move as whole rows of the cell store (every column, hidden ones included, at once) and
// their heights move with them in the platform grid; neither costs more than moving row
// pointers. What is kept by real row (the hidden-row store, the cell controls) closes up by real
// index; what is kept by display row (modified, enabled and selected rows) loses or gains its
// entries at the place of the change.
#include "grid/core/ExtGrid.h"

#include "platform/SysUtils.h"

#include <QSet>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Column widths and visibility flags are kept for real columns below this.
constexpr int MaxHideCol = 512;

// Takes the update lock for the time of a structure change, however the change ends. A hidden
// grid takes no lock, and then must not release one that its caller holds.
class TUpdateLock {
public:
    explicit TUpdateLock(TExtStringGrid *AGrid) : FGrid(AGrid)
    {
        const int Before = FGrid->UpdateCount();
        FGrid->BeginUpdate();
        FTaken = FGrid->UpdateCount() > Before;
    }
    ~TUpdateLock()
    {
        if (FTaken)
            FGrid->EndUpdate();
    }
    TUpdateLock(const TUpdateLock &) = delete;
    TUpdateLock &operator=(const TUpdateLock &) = delete;

private:
    TExtStringGrid *FGrid;
    bool FTaken = false;
};

// Hides the floating footer for the time of a row change and shows it again however the change
// ends: the rows move under it, and it must not move a row of its own meanwhile.
class TFooterAside {
public:
    explicit TFooterAside(TFloatingFooter *AFooter) : FFooter(AFooter), FShown(AFooter->Visible())
    {
        FFooter->SetVisible(false);
    }
    ~TFooterAside() { FFooter->SetVisible(FShown); }
    TFooterAside(const TFooterAside &) = delete;
    TFooterAside &operator=(const TFooterAside &) = delete;

private:
    TFloatingFooter *FFooter;
    bool FShown;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// Shared steps

void TExtStringGrid::DeleteListEntries(TIntList *AList, int AIndex, int ACount)
{
    if (!AList || AIndex < 0 || AIndex >= AList->Count() || ACount < 1)
        return;
    const int N = std::min(ACount, AList->Count() - AIndex);
    if (N == 1) {
        AList->Delete(AIndex);
        return;
    }
    for (int I = AIndex; I + N < AList->Count(); ++I)
        AList->SetItems(I, AList->Items(I + N));
    AList->SetCount(AList->Count() - N);
}

void TExtStringGrid::InsertListEntries(TIntList *AList, int AIndex, int ACount)
{
    if (!AList || AIndex < 0 || AIndex >= AList->Count() || ACount < 1)
        return;
    if (ACount == 1) {
        AList->Insert(AIndex, 0);
        return;
    }
    const int Old = AList->Count();
    AList->SetCount(Old + ACount);
    for (int I = Old + ACount - 1; I >= AIndex + ACount; --I)
        AList->SetItems(I, AList->Items(I - ACount));
    for (int I = AIndex; I < AIndex + ACount; ++I)
        AList->SetItems(I, 0);
}

void TExtStringGrid::RealRowsRemoved(int ARow, int ACount, bool MoveControls)
{
    if (ACount < 1)
        return;
    // The real span of the rows that go; hidden rows inside it stay and close up.
    const int R0 = RealRowIndex(ARow);
    const int R1 = RealRowIndex(ARow + ACount - 1);
    if (MoveControls && FControlList->Count() > 0) {
        for (int I = FControlList->Count() - 1; I >= 0; --I) {
            TControlItem *Item = FControlList->GetControl(I);
            const int Y = Item->Y();
            if (Y < R0)
                continue;
            if (Y <= R1 && !FGridItems->IsHidden(Y)) {
                if (Item->Control())
                    Item->Control()->Hide();
                FControlList->RemoveControl(I);
                continue;
            }
            // The shown rows that went before this one.
            const int Gone = Y > R1 ? ACount : (Y - R0) - FGridItems->CountIn(R0, Y - 1);
            Item->SetY(Y - Gone);
        }
    }
    if (FGridItems->Count() > 0)
        FGridItems->CloseUp(R0, R1);
}

void TExtStringGrid::RepaintSearchPanel()
{
    if (FSearchFooter && FSearchFooter->Visible() && FSearchPanel)
        FSearchPanel->Invalidate();
}

void TExtStringGrid::RestoreRowAfterRemoval(int OldRow, int OldTop, bool KeepRow)
{
    if (OldRow < RowCount() - FFixedFooters) {
        if (KeepRow)
            SetRow(OldRow);
        SetTopRow(OldTop);
        return;
    }
    // The last normal row, or none left at all: then the selection is parked, and the next row
    // inserted brings it back.
    if (FixedRows() < RowCount() - FFixedFooters)
        SetRow(RowCount() - FFixedFooters - 1);
    else
        HideSelection();
    FSelHidden = false;
}

void TExtStringGrid::RowsRemovedDone(int FromRow, int ToRow)
{
    DoCellsChanged(Rect(0, FromRow, ColCount() - 1, ToRow));

    const int LastTop = RowCount() + FixedRows() - VisibleRowCount() - 2;
    if (TopRow() >= LastTop && RowCount() - VisibleRowCount() - 1 > 0)
        SetTopRow(LastTop);

    if (FControlList->Count() > 0)
        CellControlsUpdate(false);
    RepaintSearchPanel();
}

void TExtStringGrid::DeleteListRows(TIntList *AList, const std::vector<int> &Rows)
{
    if (!AList || Rows.empty() || Rows.front() >= AList->Count())
        return;
    const int N = AList->Count();
    int Out = Rows.front();
    std::size_t K = 0;
    // A long list of mostly equal flags writes only where an entry changes.
    for (int I = Rows.front(); I < N; ++I) {
        if (K < Rows.size() && Rows[K] == I) {
            ++K;
            continue;
        }
        if (AList->ItemAt(Out) != AList->ItemAt(I))
            AList->SetItems(Out, AList->ItemAt(I));
        ++Out;
    }
    AList->SetCount(Out);
}

void TExtStringGrid::HideSelection()
{
    HideEditor();
    FOldSelection = Selection();
    const TGridRect Old = FOldSelection;
    // Just outside the grid, so that no cell is drawn selected and no edit can start.
    FCurrent = {ColCount(), RowCount()};
    FAnchor = FCurrent;
    FSelHidden = true;
    SelectionMoved(Old);
}

void TExtStringGrid::UnHideSelection()
{
    FSelHidden = false;
    const TGridRect Old = Selection();
    if (FOldSelection.Top < RowCount() && FOldSelection.Left < ColCount()) {
        SetSelection(FOldSelection);
        return;
    }
    const int R = FFixedRowAlways && FixedRows() == RowCount() ? 0 : FixedRows();
    const int C = FFixedColAlways && FixedCols() == ColCount() ? 0 : FixedCols();
    FCurrent = {std::min(C, ColCount() - 1), std::min(R, RowCount() - 1)};
    FAnchor = FCurrent;
    SelectionMoved(Old);
}

// ---------------------------------------------------------------------------------------------
// Removing rows

void TExtStringGrid::RemoveRows(int RowIndex, int RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount < 1)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);

    FreeCellPropsRange(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);

    const bool OldEntered = FEntered;
    FEntered = false;
    // A pending edit is settled before the rows move.
    SelectCell(Col(), Row());

    {
        TUpdateLock Lock(this);
        const int OldTop = TopRow();
        const int OldRow = Row();
        TFooterAside Footer(FFloatingFooter);

        RealRowsRemoved(RowIndex, RCount, true);

        if (FShowModified->Enabled)
            DeleteListEntries(FModifiedRows, RowIndex, RCount);
        // The enabled-row list holds entries only once rows have been enabled or disabled.
        DeleteListEntries(FEnabledRows, RowIndex, RCount);
        if (FMouseActions->DisjunctRowSelect())
            DeleteListEntries(FRowSelect, RowIndex, RCount);

        const int OldCount = RowCount();
        Store().DeleteRows(RowIndex, RCount);
        DeleteRowHeights(RowIndex, RCount);
        // Rows the store kept beyond the end moved up with the rest: the rows just past the new
        // end must read empty when the grid grows again.
        const int NewCount = OldCount - RCount;
        for (int R = NewCount; R < std::min(Store().RowCount(), OldCount + 1); ++R)
            Store().ClearRow(R);
        SetRowCount(NewCount);
        if (Row() >= RowCount() && RowCount() - 1 >= FixedRows())
            SetRow(RowCount() - 1);
        FMaxRowCount -= RCount;
        RestoreRowAfterRemoval(OldRow, OldTop, !FMouseActions->DisjunctRowSelect());
    }

    FEntered = OldEntered;
    RowsRemovedDone(RowIndex, RowIndex + RCount);
}

void TExtStringGrid::RemoveRowsEx(int RowIndex, int RCount)
{
    if (RowIndex < 0 || RowIndex >= RowCount() || RCount < 1)
        return;
    RCount = std::min(RCount, RowCount() - RowIndex);
    const int OldRow = Row();
    const int OldTop = TopRow();
    {
        TUpdateLock Lock(this);
        // The rows' objects live on elsewhere (the caller copied them): nothing is freed, and
        // the heights stay with their display rows.
        Store().DeleteRows(RowIndex, RCount);
        if (FMouseActions->DisjunctRowSelect())
            DeleteListEntries(FRowSelect, RowIndex, RCount);
        RealRowsRemoved(RowIndex, RCount, false);
        SetRowCount(RowCount() - RCount);
        FMaxRowCount -= RCount;
        if (OldRow < RowCount()) {
            SetRow(OldRow);
            SetTopRow(OldTop);
        } else if (FixedRows() < RowCount()) {
            SetRow(FixedRows());
            SetTopRow(FixedRows());
        }
    }
    DoCellsChanged(Rect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TExtStringGrid::DeleteRowRange(int ARow, int Count)
{
    if (ARow < 0 || ARow >= RowCount() || Count < 1)
        return;
    Count = std::min(Count, RowCount() - ARow);
    // Every column's objects, hidden columns' too: the rows go for good.
    FreeCellPropsRange(0, ARow, TotalColCount() - 1, ARow + Count - 1);
    DeleteRowsCore(ARow, Count, true);
}

void TExtStringGrid::DeleteRowsCore(int ARow, int ACount, bool UpdateCellControls)
{
    if (ARow < 0 || ARow >= RowCount() || ACount < 1)
        return;
    ACount = std::min(ACount, RowCount() - ARow);

    // Without UpdateCellControls the rows are being hidden: their real rows stay, and so do
    // the hidden rows behind them and the controls placed on them, and the modified and
    // enabled marks wait for the rows to come back.
    if (UpdateCellControls) {
        RealRowsRemoved(ARow, ACount, true);
        if (FShowModified->Enabled)
            DeleteListEntries(FModifiedRows, ARow, ACount);
        DeleteListEntries(FEnabledRows, ARow, ACount);
    }

    // Footer rows and the disjunct row selection stand aside while rows go, and come back
    // whatever happens.
    const int OldFooters = FFixedFooters;
    FFixedFooters = 0;
    const bool FooterShown = FFloatingFooter->Visible();
    const int LockBefore = UpdateCount();
    if (FooterShown) {
        BeginUpdate();
        FFloatingFooter->SetVisible(false);
    }
    const bool FooterLock = UpdateCount() > LockBefore;
    const bool WasDisjunct = FMouseActions->DisjunctRowSelectDirect();
    FMouseActions->SetDisjunctRowSelectDirect(false);
    struct TBack {
        TExtStringGrid *G;
        bool Footer;
        bool Lock;
        bool Disjunct;
        ~TBack()
        {
            G->FMouseActions->SetDisjunctRowSelectDirect(Disjunct);
            if (Footer)
                G->FFloatingFooter->SetVisible(true);
            if (Lock)
                G->EndUpdate();
        }
    } Back{this, FooterShown, FooterLock, WasDisjunct};

    const bool OldEntered = FEntered;
    FEntered = false;
    bool RowSelectOff = false;
    {
        TUpdateLock Lock(this);
        const int OldTop = TopRow();
        const int OldRow = Row();
        if (Options().Contains(goRowSelect) && FixedRows() < RowCount() - 1) {
            TGridOptions O = Options();
            O.Exclude(goRowSelect);
            SetOptions(O);
            RowSelectOff = true;
        }
        if (HasNodes() && Row() < RowCount())
            SetCol(FixedCols());

        Store().DeleteRows(ARow, ACount);
        DeleteRowHeights(ARow, ACount);
        if (WasDisjunct && !FMouseActions->RowSelectPersistent)
            DeleteListEntries(FRowSelect, ARow, ACount);
        SetRowCount(RowCount() - ACount);

        if (OldRow < RowCount() - FFixedFooters) {
            SetRow(OldRow);
            SetTopRow(OldTop);
        } else {
            if (FixedRows() < RowCount() - FFixedFooters) {
                SetRow(RowCount() - FFixedFooters - 1);
                if (Row() >= RowCount())
                    HideSelection();
            } else {
                HideSelection();
            }
            FSelHidden = false;
        }
    }
    FEntered = OldEntered;

    DoCellsChanged(Rect(0, ARow, ColCount() - 1, ARow + ACount));
    if (TopRow() >= RowCount() - 1)
        SetTopRow(RowCount() - 1);

    auto RowSelectBack = [&] {
        if (!RowSelectOff)
            return;
        TGridOptions O = Options();
        O.Include(goRowSelect);
        SetOptions(O);
    };
    if (Row() >= RowCount() && FixedRows() < RowCount()) {
        if (FForceSel)
            FocusCell(FixedCols(), FixedRows(), true);
        RowSelectBack();
        FForceSel = false;
        HideSelection();
        FSelHidden = false;
    } else if (FixedRows() < RowCount()) {
        RowSelectBack();
    }

    if (FControlList->Count() > 0)
        CellControlsUpdate(false);
    FFixedFooters = OldFooters;
}

// ---------------------------------------------------------------------------------------------
// Inserting rows

void TExtStringGrid::InsertRows(int RowIndex, int RCount, bool UpdateCellControls)
{
    // Rows inserted by the grid's user are new real rows: hidden rows behind them move down.
    InsertRowsWork(RowIndex, RCount, UpdateCellControls, true);
}

void TExtStringGrid::InsertRowsCore(int RowIndex, int RCount, bool UpdateCellControls)
{
    // Also the way hidden rows come back, which keep their real rows.
    InsertRowsWork(RowIndex, RCount, UpdateCellControls, false);
}

void TExtStringGrid::InsertRowsWork(int RowIndex, int RCount, bool UpdateCellControls, bool ShiftHidden)
{
    if (RowIndex < 0 || RCount < 1)
        return;
    RowIndex = std::min(RowIndex, RowCount());
    const int RealAt = RealRowIndex(RowIndex);
    if (FSelHidden || Col() >= ColCount() || Row() >= RowCount())
        UnHideSelection();
    {
        // The footer row is one of the rows that move down, so that it stays last; the
        // row-count setter must not move it as well.
        TFooterAside Footer(FFloatingFooter);
        SetRowCount(RowCount() + RCount);
        Store().InsertRows(RowIndex, RCount);
        InsertRowHeights(RowIndex, RCount);
    }

    if (FShowModified->Enabled)
        InsertListEntries(FModifiedRows, RowIndex, RCount);
    InsertListEntries(FEnabledRows, RowIndex, RCount);

    if (ShiftHidden && FGridItems->Count() > 0)
        FGridItems->Shift(RealAt, RCount);
    if (UpdateCellControls && FControlList->Count() > 0) {
        for (int I = 0; I < FControlList->Count(); ++I) {
            TControlItem *Item = FControlList->GetControl(I);
            if (Item->Y() >= RealAt)
                Item->SetY(Item->Y() + RCount);
        }
        CellControlsUpdate(false);
    }

    if (!DestroyingState())
        DoCellsChanged(Rect(0, RowIndex, ColCount() - 1, RowIndex + RCount));
}

void TExtStringGrid::AddRow()
{
    if (FFloatingFooter->Visible()) {
        InsertRows(RowCount() - 1, 1, true);
        if (FFloatingFooter->FooterStyle == fsFixedLastRow)
            ClearRows(RowCount() - 1, 1);
    } else {
        InsertRows(RowCount(), 1, true);
        ClearRows(RowCount() - 1, 1);
    }
}

// ---------------------------------------------------------------------------------------------
// Duplicates

void TExtStringGrid::RemoveDuplicates(int ACol, bool DoCase)
{
    const int C = RealColIndex(ACol);
    TUpdateLock Lock(this);
    QSet<UnicodeString> Seen;
    int R = FixedRows();
    while (R < RowCount() - FFixedFooters) {
        const UnicodeString S = Cells(C, R);
        const UnicodeString Key = DoCase ? S : S.toCaseFolded();
        if (!Seen.contains(Key)) {
            Seen.insert(Key);
            ++R;
        } else {
            // The next row takes this index: it is looked at next.
            DeleteRowRange(R, 1);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Rows and columns by their selection or check box
//
// Which rows go is decided before any goes, from each row's own flag; then they go in one pass,
// so that removing or hiding any number of rows of a large grid costs one walk over it.

std::vector<int> TExtStringGrid::RowsBySelection(int From, int To, bool Selected) const
{
    std::vector<int> Rows;
    if (!FMouseActions->DisjunctRowSelect() || FMouseActions->RowSelectPersistent) {
        for (int R = From; R < To; ++R)
            if (GetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(R) : R) == Selected)
                Rows.push_back(R);
        return Rows;
    }
    // Flags by display row, read from the list at once; rows past its end are not selected.
    const int Listed = std::min(To, FRowSelect->Count());
    for (int R = From; R < Listed; ++R)
        if ((FRowSelect->ItemAt(R) != 0) == Selected)
            Rows.push_back(R);
    if (!Selected)
        for (int R = std::max(From, Listed); R < To; ++R)
            Rows.push_back(R);
    return Rows;
}

void TExtStringGrid::DeleteRowSet(std::vector<int> Rows, bool AsRemoveRows)
{
    // The platform grid keeps one row at least.
    if (!Rows.empty() && int(Rows.size()) >= RowCount())
        Rows.pop_back();
    if (Rows.empty())
        return;
    const int N = int(Rows.size());

    const bool OldEntered = FEntered;
    FEntered = false;
    // A pending edit is settled before the rows move.
    SelectCell(Col(), Row());

    if (FHasCellProps)
        for (int R : Rows)
            FreeCellPropsRange(0, R, TotalColCount() - 1, R);

    std::vector<int> Real;
    if (FGridItems->Count() > 0)
        FGridItems->DisplToRealAscending(Rows, Real);
    else
        Real = Rows;
    // Controls on the rows that go are dropped; the others move up by the real rows gone before
    // theirs.
    for (int I = FControlList->Count() - 1; I >= 0; --I) {
        TControlItem *Item = FControlList->GetControl(I);
        const auto At = std::lower_bound(Real.begin(), Real.end(), Item->Y());
        if (At != Real.end() && *At == Item->Y()) {
            if (Item->Control())
                Item->Control()->Hide();
            FControlList->RemoveControl(I);
        } else {
            Item->SetY(Item->Y() - int(At - Real.begin()));
        }
    }
    if (FGridItems->Count() > 0)
        FGridItems->CloseUpRows(Real);

    if (FShowModified->Enabled)
        DeleteListRows(FModifiedRows, Rows);
    DeleteListRows(FEnabledRows, Rows);
    // Flags kept by real row follow their real rows.
    if (FMouseActions->DisjunctRowSelect())
        DeleteListRows(FRowSelect, FMouseActions->RowSelectPersistent ? Real : Rows);

    {
        TUpdateLock Lock(this);
        TFooterAside Footer(FFloatingFooter);
        const int OldTop = TopRow();
        const int OldRow = Row();
        DeleteRowLines(Rows);
        FNormalRowCount = RowCount();
        if (AsRemoveRows)
            FMaxRowCount -= N;
        RestoreRowAfterRemoval(OldRow, OldTop, !(AsRemoveRows && FMouseActions->DisjunctRowSelect()));
    }
    FEntered = OldEntered;
    RowsRemovedDone(Rows.front(), Rows.back() + 1);
}

void TExtStringGrid::RemoveCheckedRows(int CheckBoxColumn, bool RemoveChecked)
{
    TUpdateLock Lock(this);
    std::vector<int> Rows;
    for (int R = FixedRows(); R < RowCount(); ++R) {
        bool Checked = false;
        if (GetCheckBoxState(CheckBoxColumn, R, Checked) && Checked == RemoveChecked)
            Rows.push_back(R);
    }
    DeleteRowSet(std::move(Rows), true);
}

void TExtStringGrid::RemoveSelectedRows()
{
    TUpdateLock Lock(this);
    if (!FMouseActions->DisjunctRowSelect()) {
        const TGridRect S = Selection();
        const int Top = std::max(std::min(S.Top, S.Bottom), 0);
        const int Bottom = std::min(std::max(S.Top, S.Bottom), RowCount() - 1);
        if (Top <= Bottom)
            DeleteRowRange(Top, Bottom - Top + 1);
        return;
    }
    DeleteRowSet(RowsBySelection(FixedRows(), RowCount() - FFixedFooters, true), false);
    ClearRowSelect();
}

void TExtStringGrid::RemoveUnSelectedRows()
{
    TUpdateLock Lock(this);
    DeleteRowSet(RowsBySelection(FixedRows(), RowCount() - FFixedFooters, false), false);
    if (FMouseActions->RowSelectPersistent)
        SelectRows(FixedRows(), RowCount() - FixedRows());
    else
        ClearRowSelect();
}

void TExtStringGrid::HideSelectedRows()
{
    TUpdateLock Lock(this);
    HideRowSet(RowsBySelection(FixedRows(), RowCount(), true));
}

void TExtStringGrid::HideUnSelectedRows()
{
    TUpdateLock Lock(this);
    HideRowSet(RowsBySelection(FixedRows(), RowCount(), false));
}

void TExtStringGrid::RemoveDisplayCols(const std::vector<int> &Cols)
{
    // The columns' real indices, right to left; a run of adjacent real columns goes at once.
    std::vector<int> Real;
    for (int D : Cols)
        if (D >= 0 && D < ColCount())
            Real.push_back(RealColIndex(D));
    std::sort(Real.begin(), Real.end());
    Real.erase(std::unique(Real.begin(), Real.end()), Real.end());
    TUpdateLock Lock(this);
    for (std::size_t I = Real.size(); I > 0;) {
        std::size_t J = I - 1;
        while (J > 0 && Real[J - 1] == Real[J] - 1)
            --J;
        RemoveCols(Real[J], int(I - J));
        I = J;
    }
}

void TExtStringGrid::RemoveSelectedCols()
{
    std::vector<int> Cols;
    if (FMouseActions->DisjunctColSelect()) {
        for (int C = FixedCols(); C < ColCount(); ++C)
            if (ColSelect(C))
                Cols.push_back(C);
        // The flags of the columns that go go with them.
        DeleteListRows(FColSelect, Cols);
    } else {
        const TGridRect S = Selection();
        for (int C = std::min(S.Left, S.Right); C <= std::max(S.Left, S.Right); ++C)
            Cols.push_back(C);
    }
    RemoveDisplayCols(Cols);
}

void TExtStringGrid::RemoveUnSelectedCols()
{
    std::vector<int> Cols;
    if (FMouseActions->DisjunctColSelect()) {
        for (int C = FixedCols(); C < ColCount(); ++C)
            if (!ColSelect(C))
                Cols.push_back(C);
        DeleteListRows(FColSelect, Cols);
    } else {
        const TGridRect S = Selection();
        const int Left = std::min(S.Left, S.Right), Right = std::max(S.Left, S.Right);
        for (int C = FixedCols(); C < ColCount(); ++C)
            if (C < Left || C > Right)
                Cols.push_back(C);
    }
    RemoveDisplayCols(Cols);
    ClearColSelect();
}

void TExtStringGrid::ClearSelection()
{
    const bool ByRow = FMouseActions->DisjunctRowSelect();
    const bool ByCol = FMouseActions->DisjunctColSelect();
    // The selection holds display columns, and ClearRect reads them as store columns unless it
    // maps them itself: a hidden column before them must not make it clear its neighbour.
    auto ClearDisplCols = [this](int C1, int C2, int R1, int R2) {
        if (FSaveHiddenCells || FNumHidden == 0) {
            ClearRect(C1, R1, C2, R2);
            return;
        }
        for (int C = C1; C <= C2; ++C)
            ClearRect(RealColIndex(C), R1, RealColIndex(C), R2);
    };
    TUpdateLock Lock(this);
    if (ByRow)
        for (int R : RowsBySelection(FixedRows(), RowCount(), true))
            ClearRows(R, 1);
    if (ByCol)
        for (int C = FixedCols(); C < ColCount(); ++C)
            if (ColSelect(C))
                ClearDisplCols(C, C, 0, RowCount() - 1);
    if (!ByRow && !ByCol) {
        const TGridRect S = Selection();
        ClearDisplCols(std::min(S.Left, S.Right), std::max(S.Left, S.Right), std::min(S.Top, S.Bottom),
                       std::max(S.Top, S.Bottom));
    }
}

// ---------------------------------------------------------------------------------------------
// Columns

void TExtStringGrid::RemoveCols(int ColIndex, int CCount)
{
    const int All = TotalColCount();
    if (ColIndex < 0 || ColIndex >= All || CCount < 1)
        return;
    CCount = std::min(CCount, All - ColIndex);
    const int Last = ColIndex + CCount - 1;

    // The widths of the shown columns that stay, in display order, and how many of the
    // removed columns were hidden.
    std::vector<int> Widths;
    int HiddenGone = 0;
    for (int C = 0; C < All; ++C) {
        const bool Hidden = IsHiddenColumn(C);
        if (C >= ColIndex && C <= Last) {
            HiddenGone += Hidden ? 1 : 0;
            continue;
        }
        if (!Hidden)
            Widths.push_back(ColWidths(RealToDisplCol(C)));
    }

    TUpdateLock Lock(this);
    FreeCellPropsRange(ColIndex, 0, Last, RowCount() - 1);
    Store().DeleteColumns(ColIndex, CCount);
    // Hidden rows carry their cells by real column as well.
    for (int I = 0; I < FGridItems->Count(); ++I) {
        TStringList *Items = FGridItems->Items(I)->Items();
        for (int C = std::min(Last, Items->Count() - 1); C >= ColIndex; --C) {
            if (auto *P = dynamic_cast<TCellProperties *>(Items->Objects(C))) {
                if (TObject *G = P->GraphicObject(); G && G->ClassName() == QLatin1String("TCellGraphic"))
                    delete G;
                delete P;
            }
            Items->Delete(C);
        }
    }
    for (int I = FControlList->Count() - 1; I >= 0; --I) {
        TControlItem *Item = FControlList->GetControl(I);
        if (Item->X() > Last) {
            Item->SetX(Item->X() - CCount);
        } else if (Item->X() >= ColIndex) {
            if (Item->Control())
                Item->Control()->Hide();
            FControlList->RemoveControl(I);
        }
    }
    for (int C = ColIndex; C < MaxHideCol; ++C) {
        const bool Beyond = C + CCount >= MaxHideCol;
        FVisibleCol[std::size_t(C)] = Beyond ? true : FVisibleCol[std::size_t(C + CCount)];
        FAllColWidths[std::size_t(C)] = Beyond ? SmallInt(0) : FAllColWidths[std::size_t(C + CCount)];
    }
    FNumHidden -= HiddenGone;
    SetColCount(std::max(1, int(Widths.size())));
    for (int D = 0; D < ColCount() && std::size_t(D) < Widths.size(); ++D)
        SetColWidths(D, Widths[std::size_t(D)]);

    DoCellsChanged(Rect(ColIndex, 0, ColIndex + CCount, RowCount() - 1));
}

void TExtStringGrid::InsertCols(int ColIndex, int CCount)
{
    if (ColIndex < 0 || CCount < 1)
        return;
    const int All = TotalColCount();
    ColIndex = std::min(ColIndex, All);

    // The new columns are shown: they open up at the display place of ColIndex.
    std::vector<int> Widths;
    for (int C = 0; C < All; ++C)
        if (!IsHiddenColumn(C))
            Widths.push_back(ColWidths(RealToDisplCol(C)));
    const int At = ColIndex < All ? RealToDisplCol(ColIndex) : int(Widths.size());
    Widths.insert(Widths.begin() + std::min<std::ptrdiff_t>(At, std::ptrdiff_t(Widths.size())), std::size_t(CCount),
                  DefaultColWidth());

    TUpdateLock Lock(this);
    Store().InsertColumns(ColIndex, CCount);
    for (int I = 0; I < FGridItems->Count(); ++I) {
        TStringList *Items = FGridItems->Items(I)->Items();
        if (ColIndex < Items->Count())
            for (int K = 0; K < CCount; ++K)
                Items->Insert(ColIndex, UnicodeString());
    }
    for (int I = 0; I < FControlList->Count(); ++I) {
        TControlItem *Item = FControlList->GetControl(I);
        if (Item->X() >= ColIndex)
            Item->SetX(Item->X() + CCount);
    }
    for (int C = MaxHideCol - 1; C >= ColIndex; --C) {
        const bool New = C < ColIndex + CCount;
        FVisibleCol[std::size_t(C)] = New ? true : FVisibleCol[std::size_t(C - CCount)];
        FAllColWidths[std::size_t(C)] = New ? SmallInt(0) : FAllColWidths[std::size_t(C - CCount)];
    }
    SetColCount(ColCount() + CCount);
    for (int D = 0; D < ColCount() && std::size_t(D) < Widths.size(); ++D)
        SetColWidths(D, Widths[std::size_t(D)]);
}

void TExtStringGrid::MergeCols(int ColIndex1, int ColIndex2, const UnicodeString &Separator)
{
    const int All = TotalColCount();
    if (ColIndex1 < 0 || ColIndex2 < 0 || ColIndex1 >= All || ColIndex2 >= All || ColIndex1 == ColIndex2)
        return;
    {
        TUpdateLock Lock(this);
        for (int R = FixedRows(); R < RowCount(); ++R)
            SetCells(ColIndex1, R, Trim(Cells(ColIndex1, R)) + Separator + Cells(ColIndex2, R));
    }
    RemoveCols(ColIndex2, 1);
}

// ---------------------------------------------------------------------------------------------
// Clearing, trimming, colouring

void TExtStringGrid::ClearRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    const bool WholeGrid = ACol1 <= 0 && ARow1 <= 0 && ACol2 >= ColCount() - 1 && ARow2 >= RowCount() - 1;
    const int R1 = std::max(ARow1, 0), R2 = std::min(ARow2, RowCount() - 1);
    const int C1 = std::max(ACol1, 0), C2 = std::min(ACol2, TotalColCount() - 1);
    const bool Destroying = DestroyingState();
    for (int R = R1; R <= R2; ++R) {
        for (int C = C1; C <= C2; ++C) {
            const int SC = FSaveHiddenCells ? RealColIndex(C) : C;
            // Cells past the row's stored ones hold neither text nor object.
            if (SC >= Store().RowLength(R))
                continue;
            // The text first, through the merged range that holds it, while the cell still
            // knows its range.
            if (!Destroying && !GetCellEx(SC, R).isEmpty()) {
                SetCellEx(SC, R, UnicodeString());
                if (SC != C)
                    RepaintCell(C, R);
            }
            if (!FClearTextOnly && CellHasProperties(SC, R)) {
                if (FNilObjects) {
                    ResetCell(SC, R);
                } else {
                    RemoveCellGraphic(SC, R);
                    SetCellProperties(SC, R, nullptr);
                }
            }
        }
    }
    // Properties may remain in hidden columns and hidden rows: the flag stays up for them.
    if (WholeGrid && !FClearTextOnly && FNumHidden == 0 && NumHiddenRows() == 0)
        FHasCellProps = false;
    if (!Destroying && !FBlockCellChange)
        DoCellsChanged(Rect(RealColIndex(ACol1), ARow1, RealColIndex(ACol2), ARow2));
}

void TExtStringGrid::ClearRows(int RowIndex, int RCount)
{
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(0, RowIndex, TotalColCount() - 1, RowIndex + RCount - 1);
}

void TExtStringGrid::ClearCols(int ColIndex, int CCount)
{
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, 0, ColIndex + CCount - 1, RowCount() - 1);
}

void TExtStringGrid::ClearNormalRows(int RowIndex, int RCount)
{
    if (RowCount() > 0 && ColCount() > 0 && RCount > 0)
        ClearRect(FixedCols(), RowIndex, TotalColCount() - FFixedRightCols - 1, RowIndex + RCount - 1);
}

void TExtStringGrid::ClearNormalCols(int ColIndex, int CCount)
{
    if (RowCount() > 0 && ColCount() > 0 && CCount > 0)
        ClearRect(ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - FFixedFooters - 1);
}

void TExtStringGrid::ClearNormalCells()
{
    if (FixedCols() == 0 && FNumNodes > 0)
        RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(FixedCols(), FixedRows(), TotalColCount() - FFixedRightCols - 1, RowCount() - FFixedFooters - 1);
}

void TExtStringGrid::Clear()
{
    if (!DestroyingState() && FNumNodes > 0)
        RemoveAllNodes();
    if (RowCount() > 0 && ColCount() > 0)
        ClearRect(0, 0, TotalColCount() - 1, RowCount() - 1);
    SearchInc.clear();
    if (FNumHidden > 0)
        Invalidate();
}

void TExtStringGrid::ClearAll()
{
    Clear();
    for (int I = 0; I < FGridItems->Count(); ++I) {
        TStringList *Items = FGridItems->Items(I)->Items();
        for (int C = 0; C < Items->Count(); ++C)
            Items->SetStrings(C, UnicodeString());
    }
}

void TExtStringGrid::TrimRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    const int R1 = std::max(ARow1, 0), R2 = std::min(ARow2, RowCount() - 1);
    const int C1 = std::max(ACol1, 0), C2 = std::min(ACol2, TotalColCount() - 1);
    for (int R = R1; R <= R2; ++R)
        for (int C = C1; C <= C2; ++C) {
            const int SC = FSaveHiddenCells ? RealColIndex(C) : C;
            const UnicodeString S = Cells(SC, R);
            const UnicodeString T = Trim(S);
            if (T.size() != S.size())
                SetCells(SC, R, T);
        }
}

void TExtStringGrid::ColorRect(int ACol1, int ARow1, int ACol2, int ARow2, TColor AColor)
{
    const int R1 = std::max(ARow1, 0), R2 = std::min(ARow2, RowCount() - 1);
    const int C1 = std::max(ACol1, 0), C2 = std::min(ACol2, TotalColCount() - 1);
    for (int R = R1; R <= R2; ++R)
        for (int C = C1; C <= C2; ++C)
            SetColors(C, R, AColor);
}

// ---------------------------------------------------------------------------------------------
// Merging and splitting runs of cells

void TExtStringGrid::MergeColumnCells(int ColIndex, bool MainMerge)
{
    if (ColIndex < 0 || ColIndex >= TotalColCount())
        return;
    const int Last = RowCount() - FFixedFooters - 1;
    int Start = FixedRows();
    int Len = 1;
    UnicodeString Prev = Cells(ColIndex, Start);
    for (int R = Start + 1; R <= Last; ++R) {
        UnicodeString S = Cells(ColIndex, R);
        if (S == Prev && (MainMerge || RowSpanIdentical(R, R - 1))) {
            ++Len;
        } else {
            if (Len > 1)
                MergeCells(ColIndex, Start, 1, Len);
            Start = R;
            Len = 1;
        }
        Prev = std::move(S);
    }
    if (Len > 1)
        MergeCells(ColIndex, Start, 1, Len);
}

void TExtStringGrid::MergeRowCells(int RowIndex, bool MainMerge)
{
    if (RowIndex < 0 || RowIndex >= RowCount())
        return;
    const int Last = ColCount() - FFixedRightCols - 1;
    int Start = FixedCols();
    int Len = 1;
    UnicodeString Prev = Cells(Start, RowIndex);
    for (int C = Start + 1; C <= Last; ++C) {
        UnicodeString S = Cells(C, RowIndex);
        if (S == Prev && (MainMerge || ColSpanIdentical(C, C - 1))) {
            ++Len;
        } else {
            if (Len > 1)
                MergeCells(Start, RowIndex, Len, 1);
            Start = C;
            Len = 1;
        }
        Prev = std::move(S);
    }
    if (Len > 1)
        MergeCells(Start, RowIndex, Len, 1);
}

void TExtStringGrid::SplitColumnCells(int ColIndex)
{
    if (!FHasCellProps || ColIndex < 0 || ColIndex >= TotalColCount())
        return;
    int R = 0;
    while (R < RowCount() - FFixedFooters - 1) {
        if (IsYMergedCell(ColIndex, R)) {
            const int Span = CellSpan(ColIndex, R).Y;
            SplitCells(ColIndex, R);
            R += Span + 1;
        } else {
            ++R;
        }
    }
}

void TExtStringGrid::SplitRowCells(int RowIndex)
{
    if (!FHasCellProps || RowIndex < 0 || RowIndex >= RowCount())
        return;
    int C = 0;
    while (C < ColCount() - FFixedRightCols - 1) {
        if (IsMergedCell(C, RowIndex)) {
            const int Span = std::max(CellSpan(C, RowIndex).X, 0);
            SplitCells(C, RowIndex);
            C += Span + 1;
        } else {
            ++C;
        }
    }
}

void TExtStringGrid::SplitAllCells()
{
    if (!FHasCellProps)
        return;
    for (int R = 0; R < RowCount(); ++R)
        for (int C = 0; C < ColCount(); ++C)
            if (IsMergedCell(C, R))
                SplitCells(C, R);
}

void TExtStringGrid::SplitAllColumnCells()
{
    for (int C = 0; C < ColCount(); ++C)
        SplitColumnCells(C);
}

void TExtStringGrid::MergeAllColumnCells()
{
    for (int I = 0; I < FMergedColumns->Count(); ++I)
        MergeColumnCells(FMergedColumns->Items(I), I == 0);
}

void TExtStringGrid::MergedColumnsChanged(TObject *Sender, int ACol, int ARow)
{
    SplitAllColumnCells();
    MergeAllColumnCells();
}

// ---------------------------------------------------------------------------------------------
// Searches

bool TExtStringGrid::IsCell(const UnicodeString &SubStr, int &ACol, int &ARow) const
{
    for (int R = 0; R < RowCount(); ++R) {
        const int Last = std::min(ColCount(), Store().RowLength(R));
        for (int C = 0; C < Last; ++C)
            if (Store().Text(C, R) == SubStr) {
                ACol = C;
                ARow = R;
                return true;
            }
        // A row shorter than the grid holds empty cells past its end.
        if (SubStr.isEmpty() && Last < ColCount()) {
            ACol = Last;
            ARow = R;
            return true;
        }
    }
    return false;
}

bool TExtStringGrid::IsWideCell(int ACol, int ARow)
{
    return Cells(ACol, ARow).startsWith(QStringLiteral("|\\"));
}
