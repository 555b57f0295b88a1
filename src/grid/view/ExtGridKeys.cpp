// The grid's keyboard: the key-down handler with its option-driven keys (Home/End modes, the
// clipboard and row keys, select-all, check box, radio and button cells, nodes, skipping fixed
// cells, scrolling without moving), the key-down step after the platform (moving rows, wrapping at
// the edges, skipping disabled rows) and the key-press step (Enter, Escape, incremental search).
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "platform/Windows.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool IsOneOf(Word Key, std::initializer_list<Word> Keys)
{
    return std::find(Keys.begin(), Keys.end(), Key) != Keys.end();
}

bool IsNavigationKey(Word Key)
{
    return Key >= VK_PRIOR && Key <= VK_DOWN;
}

bool SameRect(const TGridRect &A, const TGridRect &B)
{
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

} // namespace

TShiftState TExtStringGrid::KeyboardShift()
{
    TShiftState s;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    // Alt Gr types characters: only the left Alt counts as Alt here.
    if (GetKeyState(VK_LMENU) < 0)
        s << ssAlt;
    return s;
}

void TExtStringGrid::FireKeyDown(Word Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

bool TExtStringGrid::KeyEditableCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return false;
    bool can = EditingGrid() || FMouseActions->RangeSelectAndEdit;
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    CanEditCell(b.X, b.Y, can);
    return can;
}

void TExtStringGrid::SelectionChangedSince(const TGridRect &Old)
{
    const TGridRect s = Selection();
    if (SameRect(s, Old))
        return;
    DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    FMoveSelection = s;
}

void TExtStringGrid::WMGetDlgCode(TWMGetDlgCode &Message)
{
    TBaseGrid::WMGetDlgCode(Message);
    // Without editing the typed characters still reach the grid (incremental search, Space on
    // check boxes).
    if (FNavigation->AutoGotoWhenSorted() || !Options().Contains(goEditing))
        Message.Result |= DLGC_WANTCHARS;
}

void TExtStringGrid::WMKeyUp(TWMKey &Message)
{
    TBaseGrid::WMKeyUp(Message);
}

bool TExtStringGrid::IsLastRowAboveSearchFooter()
{
    if (!FSearchFooter->Visible() || !FSearchPanel || !HandleAllocated())
        return false;
    if (TopRow() + VisibleRowCount() < RowCount() - 1)
        return false;
    return CellRect(0, RowCount() - 1).Bottom < ClientHeight() - FSearchPanel->Height() + 2;
}

void TExtStringGrid::ScrollAboveSearchFooter()
{
    if (!FSearchFooter->Visible() || !FSearchPanel || !HandleAllocated())
        return;
    const int ph = FSearchPanel->Height();
    if (ClientHeight() <= DefaultRowHeight() + ph)
        return;
    // The largest top row that still leaves one row in view; the platform keeps TopRow below
    // it, so waiting for RowCount would never end.
    const int maxTop = std::max(FixedRows(), RowCount() - 1);
    while (TopRow() < maxTop && CellRect(0, RowCount() - 1).Bottom > ClientHeight() - ph + 2) {
        const int before = TopRow();
        SetTopRow(TopRow() + 1);
        if (TopRow() == before)
            break;
    }
}

void TExtStringGrid::SelectAllByKey()
{
    const TGridRect r{FirstNormalCol(), FixedRows(), ColCount() - FFixedRightCols - 1,
                      RowCount() - FFixedFooters - 1};
    if (r.Right < r.Left || r.Bottom < r.Top)
        return;
    if (FMouseActions->DisjunctRowSelect())
        for (int i = r.Top; i <= r.Bottom; ++i)
            SetRowSelect(i, true);
    DoSelectAll(r);
    // The last cell becomes current as a click there would make it (its edit permission), and
    // the whole rectangle is selected again; no editor opens on it.
    MoveCurrent(r.Right, r.Bottom, true, true);
    SetSelection(r);
}

void TExtStringGrid::InsertRowAtKey()
{
    bool allow = true;
    DoCanInsertRow(Row(), allow);
    if (!allow)
        return;
    const int filterLevel = FFilterLevel;
    const bool filterActive = FFilterActive;
    FFilterActive = false;
    int at = RealRowIndex(Row());
    int newRow = Row();
    if (FNavigation->InsertPosition == pInsertAfter) {
        if (FFixedRowAlways && RowCount() == FixedRows()) {
            newRow = 1;
        } else {
            at = RealRowIndex(Row()) + 1;
            newRow = Row() + 1;
        }
    }
    InsertRowAt(at);
    FFilterActive = filterActive;
    FFilterLevel = filterLevel;
    if (newRow < RowCount())
        SetRow(newRow);
    if (OnAutoInsertRow)
        OnAutoInsertRow(this, at);
    FGridModified = true;
    CalcFooter(-1);
}

void TExtStringGrid::DeleteCurrentRow()
{
    if (RowCount() - FixedRows() - FFixedFooters <= 0)
        return;
    const bool filterActive = FFilterActive;
    FFilterActive = false;
    const int real = RealRowIndex(Row());
    bool allow = true;
    if (OnCanDeleteRow)
        OnCanDeleteRow(this, real, allow);
    if (allow)
        DeleteRowAt(real);
    // The filter comes back whatever the handler answered.
    FFilterActive = filterActive;
    if (!allow)
        return;
    if (FFloatingFooter->Visible() && Row() == RowCount() - 1 && RowCount() > 1)
        SetRow(RowCount() - 2);
    SaveOldCellValue(Col(), Row());
    FGridModified = true;
    CalcFooter(-1);
}

void TExtStringGrid::WMKeyDown(TWMKey &Message)
{
    Word key = Message.CharCode;
    FMoveSelection = Selection();
    const TShiftState shift = KeyboardShift();
    const bool ctrl = shift.Contains(ssCtrl);
    const bool shiftKey = shift.Contains(ssShift);
    const bool isDown = key == VK_DOWN;
    const int realCol = RealColIndex(Col());
    const int row = Row();
    const bool cellValid = realCol >= 0 && row >= 0 && realCol < TotalColCount() && row < RowCount();

    // Vertical keys with goRowSelect keep the columns scrolled as they were.
    int keepLeft = -1;
    if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll && LeftCol() != FixedCols() &&
        IsOneOf(key, {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN}))
        keepLeft = LeftCol();
    auto restoreLeft = [&] {
        if (keepLeft >= 0 && LeftCol() != keepLeft)
            SetLeftCol(keepLeft);
    };

    if (FNavigation->MoveScrollOnly && IsOneOf(key, {VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_UP, VK_DOWN})) {
        const int vis = VisibleRowCount();
        switch (key) {
        case VK_PRIOR: SetTopRow(TopRow() > vis + FixedRows() ? TopRow() - vis : FixedRows()); break;
        case VK_NEXT:
            if (TopRow() + vis < RowCount())
                SetTopRow(std::min(TopRow() + vis, std::max(FixedRows(), RowCount() - vis)));
            break;
        case VK_END: SetTopRow(std::max(FixedRows(), RowCount() - vis)); break;
        case VK_HOME: SetTopRow(FixedRows()); break;
        case VK_UP:
            if (TopRow() > FixedRows())
                SetTopRow(TopRow() - 1);
            break;
        case VK_DOWN:
            if (TopRow() + vis < RowCount())
                SetTopRow(TopRow() + 1);
            break;
        }
        Message.Result = 1;
        return;
    }

    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    if (enterOrF2 && !Options().Contains(goEditing)) {
        if (FMouseActions->EditOnDblClickOnly()) {
            bool can = true;
            if (cellValid)
                CanEditCell(realCol, row, can);
            if (can)
                SetOptions(Options() + TGridOptions{goEditing});
        }
        if (FMouseActions->RangeSelectAndEdit) {
            if (!KeyEditableCell(Col(), row)) {
                FireKeyDown(key, shift);
                Message.CharCode = 0;
                Message.Result = 1;
                return;
            }
            SetOptions(Options() + TGridOptions{goEditing});
            ShowInplaceEdit();
        }
    }

    // Ctrl+F reaches the shown search footer; the key goes on as any other.
    if (ctrl && key == 'F' && FSearchFooter->Visible() && FSearchPanel && FSearchPanel->EditControl() &&
        FSearchPanel->EditControl()->CanFocus())
        FSearchPanel->EditControl()->SetFocus();

    const UnicodeString cellText = cellValid ? GridCells(realCol, row) : UnicodeString();
    const bool controlText = FEnableHTML && cellText.toUpper().contains(QStringLiteral("<CONTROL"));
    if (enterOrF2 && Options().Contains(goEditing)) {
        if (!KeyEditableCell(Col(), row)) {
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            Message.Result = 1;
            return;
        }
        if (controlText) {
            Message.Result = 1;
            return;
        }
    }
    if (key == VK_RETURN && !KeyEditableCell(Col(), row)) {
        TCustomForm *form = FindParentForm(this);
        if (!(form && form->KeyPreview())) {
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            Message.Result = 1;
            return;
        }
    }

    // Cells holding a clickable control act on Enter and Space.
    if ((key == VK_RETURN || key == VK_SPACE) && cellValid && IsControlCell(realCol, row)) {
        bool canEdit = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit;
        CanEditCell(realCol, row, canEdit);
        TCellGraphic *g = GetCellGraphic(realCol, row);
        const TCellType t = g ? g->CellType() : ctEmpty;
        const bool checkKind = t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
                               t == ctTriStateCheckBox;
        if (key == VK_SPACE && checkKind && (canEdit || FControlLook->CheckAlwaysActive)) {
            ToggleCellCheckBox(realCol, row, true);
            if (FShowModified->Enabled) {
                SetRowModified(row, true);
                RepaintCell(0, row);
            }
            bool state = false;
            GetCheckBoxState(realCol, RealRowIndex(row), state);
            DoCheckBoxClick(realCol, row, state ? cbChecked : cbUnchecked);
        } else if (key == VK_SPACE && t == ctRadio && (canEdit || FControlLook->RadioAlwaysActive)) {
            SelectNextRadioItem(realCol, row, true);
            int idx = -1;
            GetRadioIdx(realCol, row, idx);
            if (OnRadioClick)
                OnRadioClick(this, realCol, row, idx);
        } else if (key == VK_SPACE && t == ctRadioButton && (canEdit || FControlLook->RadioAlwaysActive)) {
            ToggleCellRadioButton(realCol, row, true);
            if (OnRadioButtonClick)
                OnRadioButtonClick(this, realCol, row);
        } else if (t == ctButton && canEdit) {
            DoButtonClick(realCol, row);
        }
        RepaintCell(Col(), row);
    }

    // Home and End by Navigation.HomeEndKey.
    const bool oneRowHeader = FFixedRowAlways && RowCount() == 1;
    const THomeEndAction he = FNavigation->HomeEndKey;
    auto snap = [this] { SnapToBaseCell(); };
    auto disjunctRowUpkeep = [&](int OldRow) {
        if (!FMouseActions->DisjunctRowSelect())
            return;
        if (!shiftKey) {
            ClearRowSelect();
            SelectionToRowSelect(false);
        } else {
            const TGridRect r{FixedCols(), std::min(OldRow, Row()), ColCount() - 1, std::max(OldRow, Row())};
            SetSelection(r);
            SelectionToRowSelect(false);
        }
    };
    if (key == VK_HOME && !ctrl && he == heFirstLastCell) {
        if (ColCount() > FixedCols() && RowCount() > FixedRows())
            FocusCell(FixedCols(), FixedRows(), true);
        snap();
        FireKeyDown(key, shift);
        Message.Result = 0;
        SelectionChangedSince(FMoveSelection);
        return;
    }
    if (key == VK_END && !ctrl && he == heFirstLastCell) {
        FocusCell(ColCount() - 1, RowCount() - 1, true);
        snap();
        FireKeyDown(key, shift);
        Message.Result = 0;
        SelectionChangedSince(FMoveSelection);
        return;
    }
    if ((key == VK_HOME || key == VK_END) && !ctrl && he == heFirstLastRow && !oneRowHeader) {
        const int oldRow = Row();
        if (key == VK_HOME) {
            SetRow(FixedRows());
        } else {
            const bool floating = FFloatingFooter->Visible();
            SetRow(floating && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1);
            if ((FFixedFooters > 0 && !floating) || floating)
                SetTopRow(std::max(FixedRows(), RowCount() - VisibleRowCount()));
        }
        snap();
        disjunctRowUpkeep(oldRow);
        FireKeyDown(key, shift);
        Message.Result = 0;
        restoreLeft();
        SelectionChangedSince(FMoveSelection);
        return;
    }
    if (key == VK_HOME && ctrl && he == heFirstLastColumn) {
        SetRow(FixedRows());
        const int c = FirstNavigableCol(FixedRows());
        if (c >= 0)
            SetCol(c);
        snap();
        SetLeftCol(std::min(FirstNormalCol(), ColCount() - 1));
        FireKeyDown(key, shift);
        Message.Result = 0;
        SelectionChangedSince(FMoveSelection);
        return;
    }
    if ((key == VK_HOME || key == VK_END) && !ctrl && he == heFirstLastColumn && !Options().Contains(goRowSelect) &&
        !oneRowHeader) {
        if (shiftKey) {
            const int to = key == VK_END ? ColCount() - FFixedRightCols - 1 : FixedCols();
            SetSelection(TGridRect{std::min(Col(), to), Row(), std::max(Col(), to), Row()});
            RepaintRow(Row());
        } else if (key == VK_END) {
            SetCol(ColCount() - 1);
            snap();
            SetLeftCol(std::max(FixedCols(), ColCount() - VisibleColCount()));
        } else {
            const int c = FirstNavigableCol(Row());
            if (c >= 0)
                SetCol(c);
            snap();
            SetLeftCol(std::min(FirstNormalCol(), ColCount() - 1));
        }
        Message.Result = 0;
        FireKeyDown(key, shift);
        SelectionChangedSince(FMoveSelection);
        return;
    }

    // Nodes open and close with Right and Left on their merged cell.
    if ((key == VK_RIGHT || key == VK_LEFT) && cellValid && IsNode(row) && IsMergedCell(realCol, row)) {
        if (key == VK_RIGHT)
            ExpandNode(RealRowIndex(row));
        else
            ContractNode(RealRowIndex(row));
    }

    if ((key == VK_LEFT || key == VK_RIGHT) && Options().Contains(goRowSelect) && !IsNode(row) &&
        ColCount() > VisibleColCount()) {
        if (!FNavigation->LeftRightRowSelect || ctrl) {
            if (key == VK_LEFT && LeftCol() > FixedCols())
                SetLeftCol(LeftCol() - 1);
            else if (key == VK_RIGHT && VisibleColCount() + LeftCol() < ColCount())
                SetLeftCol(LeftCol() + 1);
            if (!FNavigation->LeftRightRowSelect) {
                FireKeyDown(key, shift);
                Message.Result = 0;
                return;
            }
        }
    }

    if (key == VK_TAB && Options().Contains(goTabs)) {
        HandleTabKey(shiftKey);
        SelectionChangedSince(FMoveSelection);
        Message.Result = 1;
        return;
    }

    // Cells that report themselves fixed are stepped over.
    if (FNavigation->SkipFixedCells && cellValid && !ctrl) {
        const bool rtl = RightToLeftGrid();
        const Word leftKey = rtl ? VK_RIGHT : VK_LEFT;
        const Word rightKey = rtl ? VK_LEFT : VK_RIGHT;
        auto fixedAt = [this](int C, int R) { return IsFixed(C, R); };
        if (key == leftKey && Col() - 1 >= FixedCols() && fixedAt(Col() - 1, row)) {
            int c = Col() - 1;
            while (c >= FixedCols() && fixedAt(c, row))
                --c;
            if (c >= FixedCols())
                SetCol(c);
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            SelectionChangedSince(FMoveSelection);
            return;
        }
        const int lastCol = ColCount() - FFixedRightCols - 1;
        if (key == rightKey && Col() + 1 <= lastCol && fixedAt(Col() + 1, row)) {
            int c = Col() + 1;
            while (c <= lastCol && fixedAt(c, row))
                ++c;
            if (c <= lastCol)
                SetCol(c);
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            SelectionChangedSince(FMoveSelection);
            return;
        }
        const int lastRow = RowCount() - FFixedFooters - 1;
        auto rowFixed = [&](int R) { return fixedAt(Col(), R); };
        if (key == VK_UP && row - 1 >= FixedRows() && rowFixed(row - 1)) {
            int r = row - 1;
            if (!Options().Contains(goRowSelect))
                while (r >= FixedRows() && rowFixed(r))
                    --r;
            if (r >= FixedRows())
                SetRow(r);
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            SelectionChangedSince(FMoveSelection);
            return;
        }
        if (key == VK_DOWN && row + 1 <= lastRow && rowFixed(row + 1)) {
            int r = row + 1;
            if (!Options().Contains(goRowSelect))
                while (r <= lastRow && rowFixed(r))
                    ++r;
            if (r <= lastRow)
                SetRow(r);
            FireKeyDown(key, shift);
            Message.CharCode = 0;
            SelectionChangedSince(FMoveSelection);
            return;
        }
    }

    if (FNavigation->AppendOnArrowDown && isDown && IsLastEditRow())
        AutoAppendRow();

    if (!SameRect(Selection(), FMoveSelection) && FSelectionRectangle) {
        RepaintRect(TRect(FMoveSelection.Left, FMoveSelection.Top, FMoveSelection.Right, FMoveSelection.Bottom));
        FMoveSelection = Selection();
    }

    // The search panel covers the last rows: the keys that would go below it only scroll.
    bool bracket = false;
    bool otherKey = false;
    int keepTop = -1;
    if (FSearchFooter->Visible() && FSearchPanel && TopRow() >= RowCount() - VisibleRowCount()) {
        const bool lastRow = Row() == RowCount() - 1;
        if (lastRow && isDown) {
            ScrollAboveSearchFooter();
            Message.Result = 1;
            FireKeyDown(key, shift);
            return;
        }
        if (lastRow && ((key == VK_RIGHT && Col() == ColCount() - 1) || (key == VK_LEFT && Col() == FixedCols()))) {
            Message.Result = 1;
            FireKeyDown(key, shift);
            return;
        }
        // The platform would first scroll the last row under the panel and then back: one paint
        // at the end instead.
        otherKey = !IsOneOf(key, {VK_SHIFT, VK_MENU, VK_PRIOR, VK_NEXT, VK_END, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN});
        bracket = otherKey || (lastRow && IsOneOf(key, {VK_NEXT, VK_END, VK_LEFT, VK_RIGHT, VK_DOWN}));
        keepTop = TopRow();
    }

    if (bracket) {
        BeginUpdate();
        struct TEnd {
            TExtStringGrid *G;
            ~TEnd() { G->EndUpdate(); }
        } end{this};
        TBaseGrid::WMKeyDown(Message);
        if (otherKey && TopRow() != keepTop && TopRow() >= RowCount() - VisibleRowCount())
            SetTopRow(keepTop);
    } else {
        TBaseGrid::WMKeyDown(Message);
    }
    key = Message.CharCode;

    if (FSearchFooter->Visible() && FSearchPanel && IsOneOf(Message.CharCode, {VK_NEXT, VK_END, VK_LEFT, VK_RIGHT, VK_DOWN}) &&
        Row() == RowCount() - 1)
        ScrollAboveSearchFooter();
    restoreLeft();

    const bool alt = shift.Contains(ssAlt);
    if (FNavigation->AllowClipboardShortCuts && ((ctrl && (key == 'X' || key == 'V' || key == 'C' || key == VK_INSERT)) ||
                                                 (shiftKey && (key == VK_INSERT || key == VK_DELETE)))) {
        bool allow = true;
        if (ctrl && key == 'X') {
            if (OnClipboardCut)
                OnClipboardCut(this, allow);
            if (allow)
                CutSelectionToClipboard();
        } else if (ctrl && key == 'V') {
            if (OnClipboardPaste)
                OnClipboardPaste(this, allow);
            if (allow)
                PasteSelectionFromClipboard();
        } else if (ctrl) {
            if (OnClipboardCopy)
                OnClipboardCopy(this, allow);
            if (allow)
                CopySelectionToClipboard();
        } else if (key == VK_INSERT) {
            if (OnClipboardPaste)
                OnClipboardPaste(this, allow);
            if (allow)
                PasteSelectionFromClipboard();
        } else {
            if (OnClipboardCut)
                OnClipboardCut(this, allow);
            if (allow)
                CutSelectionToClipboard();
        }
    } else if (key == VK_INSERT && FNavigation->AllowInsertRow && !ctrl && !shiftKey && !alt) {
        InsertRowAtKey();
    } else if (ctrl && key == 'A' && (Options().Contains(goRowSelect) || Options().Contains(goRangeSelect))) {
        SelectAllByKey();
    } else {
        if (IsNavigationKey(key)) {
            if (FMouseActions->DisjunctRowSelect()) {
                if (!shiftKey && !ctrl)
                    ClearRowSelect();
                if (shiftKey)
                    SelectionToRowSelect(true);
                else
                    SetRowSelect(FMouseActions->RowSelectPersistent ? RealRowIndex(Row()) : Row(), true);
            }
            if (FMouseActions->DisjunctColSelect()) {
                if (!shiftKey && !ctrl)
                    ClearColSelect();
                if (shiftKey)
                    SelectionToColSelect(true);
                else
                    SetColSelect(Col(), true);
            }
        }
        if (key == VK_SPACE && FMouseActions->DisjunctRowSelect()) {
            const int r = FMouseActions->RowSelectPersistent ? RealRowIndex(Row()) : Row();
            SetRowSelect(r, !GetRowSelect(r));
        }
        if (key == VK_SPACE && FMouseActions->DisjunctColSelect())
            SetColSelect(Col(), !ColSelect(Col()));
        if (key == VK_DELETE && FNavigation->AllowDeleteRow && !alt)
            DeleteCurrentRow();
    }

    if (key == VK_RETURN || key == VK_F2) {
        SaveOldCellValue(Col(), Row());
        if (controlText)
            EditNextCellControl(Col(), Row(), UnicodeString());
        if (key == VK_F2)
            DoF2Key();
    }
    SelectionChangedSince(FMoveSelection);
}

void TExtStringGrid::KeyDown(Word &Key, TShiftState Shift)
{
    FLastKeyCell = {Col(), Row()};
    const Word key = Key;
    TBaseGrid::KeyDown(Key, Shift);

    if (FNavigation->CursorMoveRows && Shift.Contains(ssCtrl) && (key == VK_UP || key == VK_DOWN)) {
        const TGridRect s = Selection();
        if (key == VK_DOWN && s.Bottom < RowCount() - 1) {
            if (s.Top == s.Bottom) {
                MoveRow(s.Top, s.Top + 1);
                SetRow(s.Top + 1);
            } else {
                // The row below the block goes above it: the block moves down by one.
                MoveRow(s.Bottom + 1, s.Top);
                SetSelection(TGridRect{s.Left, s.Top + 1, s.Right, s.Bottom + 1});
            }
        } else if (key == VK_UP && s.Top > FixedRows()) {
            if (s.Top == s.Bottom) {
                MoveRow(s.Top, s.Top - 1);
                SetRow(s.Top - 1);
            } else {
                MoveRow(s.Top - 1, s.Bottom);
                SetSelection(TGridRect{s.Left, s.Top - 1, s.Right, s.Bottom - 1});
            }
        }
    }

    const TCursorAdvance ca = FNavigation->CursorAdvance;
    if (ca != caDefault && !Shift.Contains(ssCtrl)) {
        const bool snake = ca == caSnake;
        const int lastNormalCol = ColCount() - FFixedRightCols - 1;
        const int lastNormalRow = RowCount() - FFixedFooters - 1;
        const TGridCoord was = FLastKeyCell;
        if (key == VK_LEFT && was.X == FixedCols() && Col() == was.X) {
            int r = Row();
            if (snake && r > FixedRows())
                --r;
            FocusCell(lastNormalCol, r, true);
        } else if (key == VK_UP && was.Y == FixedRows() && Row() == was.Y) {
            int c = Col();
            if (snake && c > FixedCols())
                --c;
            FocusCell(c, lastNormalRow, true);
        } else if (key == VK_RIGHT && was.X == ColCount() - 1 && Col() == was.X) {
            int r = Row();
            if (snake && r < lastNormalRow)
                ++r;
            FocusCell(FixedCols(), r, true);
        } else if (key == VK_DOWN && was.Y == RowCount() - 1 && Row() == was.Y) {
            int c = Col();
            if (snake && c < lastNormalCol)
                ++c;
            FocusCell(c, FixedRows(), true);
        }
    }

    // A disabled row refuses to become current: the step goes on to the next enabled one.
    if (FUseEnabledRows && FNavigation->SkipDisabledRows && (key == VK_UP || key == VK_DOWN) &&
        Row() == FLastKeyCell.Y) {
        const int d = key == VK_UP ? -1 : 1;
        for (int r = Row() + d; r >= FixedRows() && r < RowCount(); r += d) {
            if (GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
        }
    }

    FollowSyncGrid();
}

void TExtStringGrid::KeyPress(WideChar &Key)
{
    if (Key == 27) {
        if (Options().Contains(goEditing) && FEditing)
            RestoreCellCache();
        if (OnKeyPress)
            OnKeyPress(this, Key);
        return;
    }
    if (Key == 13) {
        const int realCol = RealColIndex(Col());
        const bool controlCell = Col() >= 0 && Row() >= 0 && IsControlCell(realCol, Row());
        if (!FNavigation->AdvanceOnEnter && !KeyEditableCell(Col(), Row())) {
            if (OnKeyPress)
                OnKeyPress(this, Key);
            Key = 0;
            return;
        }
        if (!Focused() || controlCell) {
            AdvanceCell(Col(), Row(), false, false, true, false, EditMode);
            if (!FNavigation->AdvanceAutoEdit) {
                if (OnKeyPress)
                    OnKeyPress(this, Key);
                Key = 0;
                return;
            }
            if (controlCell) {
                if (OnKeyPress)
                    OnKeyPress(this, Key);
                if (FNavigation->AdvanceOnEnter)
                    ShowInplaceEdit();
                return;
            }
        }
    }
    if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted()) {
        if (FNavigation->AutoGotoIncremental) {
            if (Key == 8) {
                if (!SearchInc.isEmpty())
                    SearchInc.chop(1);
            } else {
                SearchInc += QChar(Key);
            }
            SearchTics = 0;
        } else {
            SearchInc = QString(QChar(Key));
        }
        const int r = Search(SearchInc.toUpper());
        if (r < 0)
            SearchInc.clear();
        else
            SetRow(r);
    }
    TBaseGrid::KeyPress(Key);
}
