// Moves the grid makes on its own: Tab and Shift+Tab, the step to the next cell after an edit,
// the row appended at the end of the grid and the next in-text control of a cell.
//
// Skipping cells that may not be edited is a loop that ends on the cell where the move started:
// a grid with nothing editable must not send Tab or Enter round forever, and a deep recursion
// over a large grid would not survive.
#include "grid/core/ExtGrid.h"

#include "controls/MiniHTML.h"
#include "platform/Windows.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

bool IsTextEditor(TEditorType T)
{
    switch (T) {
    case edNormal: case edNumeric: case edPositiveNumeric: case edFloat: case edCapital: case edMixedCase:
    case edPassword: case edLowerCase: case edUpperCase: case edPositiveFloat:
        return true;
    default:
        return false;
    }
}

} // namespace

void TExtStringGrid::SyntheticClick(int X, int Y)
{
    // The grid's own click: the application's press and release handlers stay out of it.
    const TMouseEvent down = OnMouseDown;
    const TMouseEvent up = OnMouseUp;
    OnMouseDown = nullptr;
    OnMouseUp = nullptr;
    try {
        Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(X, Y));
        Perform(WM_LBUTTONUP, 0, MakeLParam(X, Y));
    } catch (...) {
        OnMouseDown = down;
        OnMouseUp = up;
        throw;
    }
    OnMouseDown = down;
    OnMouseUp = up;
}

bool TExtStringGrid::IsLastEditRow()
{
    const int last = FFloatingFooter->Visible() ? RowCount() - 2 : RowCount() - FFixedFooters - 1;
    return Row() == last;
}

void TExtStringGrid::AutoAppendRow()
{
    bool canAdd = true;
    DoCanAddRow(canAdd);
    if (!canAdd)
        return;
    if (FFloatingFooter->Visible() || FFixedFooters > 0) {
        // The new row goes in above the footer rows, which move down whole: texts, cell objects
        // and what they compute.
        const int footers = FFloatingFooter->Visible() ? 1 : FFixedFooters;
        InsertRows(RowCount() - footers, 1);
        if (Row() < RowCount() - 1)
            SetRow(Row() + 1);
        if (FFloatingFooter->Visible())
            CalcFooter(-1);
    } else {
        AddEmptyRow();
        for (int c = 0; c < TotalColCount(); ++c) {
            SetAllGridCells(c, RowCount() - 1, UnicodeString());
            SetAllObjects(c, RowCount() - 1, nullptr);
        }
    }
    if (OnAutoAddRow)
        OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
}

void TExtStringGrid::EditNextCellControl(int ACol, int ARow, const UnicodeString &AfterID)
{
    const UnicodeString id = ACol >= 0 && ARow >= 0 && ACol < ColCount() && ARow < RowCount()
                                 ? NextEditControlID(GridCells(RealColIndex(ACol), ARow), AfterID)
                                 : UnicodeString();
    if (!id.isEmpty()) {
        EditCellControl(ACol, ARow, id);
        return;
    }
    // No control is left to edit: the keys go back to the grid.
    if (CanFocus() && HandleAllocated() && !Focused())
        SetFocus();
}

bool TExtStringGrid::HandleTabKey(bool Backward)
{
    Word key = VK_TAB;
    if (OnKeyDown) {
        OnKeyDown(this, key, Backward ? TShiftState{ssShift} : TShiftState{});
        if (key != VK_TAB)
            return true;
    }
    if (FLastTabCol == Col() && FLastTabRow == Row())
        return true;
    const int firstC = FirstNormalCol();
    const int lastC = ColCount() - VisibleFixedRightCols() - 1;
    const int firstR = FixedRows();
    const int lastR = RowCount() - FFixedFooters - 1;
    if (firstC > lastC || firstR > lastR)
        return true;
    const int startCol = Col(), startRow = Row();
    FLastTabCol = startCol;
    FLastTabRow = startRow;
    bool result = true;

    auto go = [this](int C, int R, bool Force) {
        C = std::clamp(C, 0, ColCount() - 1);
        R = std::clamp(R, 0, RowCount() - 1);
        const bool f = FForceSel;
        FForceSel = Force;
        FocusCell(C, R, true);
        FForceSel = f;
    };
    auto navigableBase = [this](int C, int R) {
        return IsBaseCell(RealColIndex(C), R) && IsNavigableCell(C, R);
    };
    auto firstNavigable = [&](int R) {
        for (int c = firstC; c <= lastC; ++c)
            if (navigableBase(c, R))
                return c;
        return -1;
    };
    auto lastNavigable = [&](int R) {
        for (int c = lastC; c >= FixedCols(); --c)
            if (navigableBase(c, R))
                return c;
        return -1;
    };
    // The Tab leaves the grid for the parent's next control.
    auto handOn = [&]() {
        if (FNavigation->TabToNextAtEnd && Parent()) {
            if (Parent()->HandleAllocated())
                PostMessage(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
            result = false;
        }
    };
    // The next row's first navigable cell; the first cell of the grid after the last row.
    auto toNextRow = [&]() {
        if (Row() < lastR) {
            for (int r = Row() + 1; r <= lastR; ++r) {
                const int c = firstNavigable(r);
                if (c >= 0) {
                    go(c, r, true);
                    return;
                }
            }
            go(lastC, lastR, true);
            return;
        }
        if (FNavigation->TabToNextAtEnd || !FNavigation->AdvanceInsert()) {
            go(firstC, firstR, true);
        } else {
            bool canAdd = true;
            DoCanAddRow(canAdd);
            if (canAdd) {
                if (FFloatingFooter->Visible()) {
                    InsertRows(RowCount() - 1, 1);
                    go(Col(), RowCount() - 2, true);
                } else {
                    SetRowCount(RowCount() + 1);
                    go(Col(), RowCount() - 1, true);
                }
                if (OnAutoAddRow)
                    OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
            } else {
                go(Col(), firstR, true);
            }
        }
        const int c = firstNavigable(Row());
        go(c >= 0 ? c : firstC, Row(), true);
        handOn();
    };

    // One Tab step; the loop below repeats it over covered cells of merged ranges and, while
    // editing, over cells that may not be edited.
    auto step = [&]() {
        const int lastR2 = RowCount() - FFixedFooters - 1;
        if (FNavigation->TabAdvanceDirection != adLeftRight) {
            if (Backward) {
                if (Row() > firstR)
                    go(Col(), Row() - 1, true);
                else
                    go(Col() > firstC ? Col() - 1 : lastC, lastR2, true);
            } else {
                const int spanY = std::max(0, CellSpan(RealColIndex(Col()), Row()).Y);
                if (Row() + spanY + 1 < RowCount() - FFixedFooters) {
                    go(Col(), Row() + spanY + 1, true);
                } else {
                    GotoFirstRow();
                    if (Col() < lastC) {
                        go(Col() + 1, Row(), true);
                    } else {
                        go(firstC, Row(), true);
                        handOn();
                    }
                }
            }
            return;
        }
        if (Backward) {
            if (Col() > firstC) {
                for (int c = Col() - 1; c >= firstC; --c) {
                    if (navigableBase(c, Row())) {
                        go(c, Row(), false);
                        return;
                    }
                }
            }
            const int r = Row() > firstR ? Row() - 1 : lastR2;
            const int c = lastNavigable(r);
            go(c >= 0 ? c : lastC, r, true);
            SnapToBaseCell();
            return;
        }
        const int spanX = std::max(0, CellSpan(RealColIndex(Col()), Row()).X);
        if (Col() + spanX + 1 <= lastC) {
            for (int c = Col() + spanX + 1; c <= lastC; ++c) {
                if (IsNavigableCell(c, Row())) {
                    go(c, Row(), false);
                    return;
                }
            }
        }
        toNextRow();
    };

    // Every cell at most once: the walk ends when it comes back to a cell or stops moving.
    std::set<std::pair<int, int>> visited{{startCol, startRow}};
    for (;;) {
        const int fromCol = Col(), fromRow = Row();
        step();
        if (!result)
            break;
        if (Col() == fromCol && Row() == fromRow)
            break;
        if (!visited.insert({Col(), Row()}).second)
            break;
        const bool covered = !IsBaseCell(RealColIndex(Col()), Row());
        const bool skip = EditingGrid() && !KeyEditableCell(Col(), Row());
        if (!covered && !skip)
            break;
    }
    // Nothing editable was found: the Tab ends where it started.
    if (result && EditingGrid() && !KeyEditableCell(Col(), Row()) &&
        (Col() != startCol || Row() != startRow))
        go(startCol, startRow, true);

    if (FNavigation->AdvanceAutoEdit && result && !IsControlCell(RealColIndex(Col()), Row()) &&
        KeyEditableCell(Col(), Row()) && (Col() != startCol || Row() != startRow)) {
        const TRect r = CellRect(Col(), Row());
        if (r.Right > r.Left && r.Bottom > r.Top)
            SimulateCellClick(Col(), Row());
    }
    FLastTabCol = -1;
    FLastTabRow = -1;
    if (FNavigation->AlwaysEdit && CanFocus() && HandleAllocated())
        SetFocus();
    return result;
}

void TExtStringGrid::AdvanceCell(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward, bool Nested,
                                 bool ShowEditor)
{
    if (!FNavigation->AdvanceOnEnter && !Force)
        return;
    if (FMouseActions->RangeSelectAndEdit && !Options().Contains(goEditing))
        SetOptions(Options() + TGridOptions{goEditing});
    if (!Nested) {
        FAECol = ACol;
        FAERow = ARow;
    }
    FStartEditChar = WideChar(0);
    const int firstC = FirstNormalCol();
    const int firstR = FixedRows();
    const int lastR = RowCount() - FFixedFooters - 1;
    const int lastC = ColCount() - VisibleFixedRightCols() - 1;
    const int lastNormalC = ColCount() - FFixedRightCols - 1;
    if (firstC > lastC || firstR > lastR || ACol < 0 || ARow < 0)
        return;
    const bool loop = FNavigation->AdvanceOnEnterLoop;
    const TAdvanceDirection dir = FNavigation->AdvanceDirection();

    // The cell after (C, R), or false when the advance stops there.
    auto next = [&](int &C, int &R) -> bool {
        const TPoint span = CellSpan(RealColIndex(C), R);
        const int spanX = std::max(0, span.X);
        if (Forward && (dir == adLeftRight || dir == adLeftRightInRow)) {
            if (C + spanX < lastC) {
                C += spanX + 1;
                return true;
            }
            if (dir == adLeftRightInRow) {
                if (!loop)
                    return false;
                C = firstC;
                return true;
            }
            if (R != lastR) {
                C = firstC;
                ++R;
                return true;
            }
            if (FNavigation->AdvanceInsert()) {
                bool canAdd = true;
                DoCanAddRow(canAdd);
                C = firstC;
                if (!canAdd)
                    return true;
                AddRow();
                R = RowCount() - FFixedFooters - 1;
                if (OnAutoAddRow)
                    OnAutoAddRow(this, R);
                for (int c = firstC; c <= lastC; ++c)
                    if (KeyEditableCell(c, R))
                        return true;
                return false;
            }
            if (loop) {
                C = firstC;
                R = firstR;
                return true;
            }
            return false;
        }
        if (Forward) {
            if (R < lastR) {
                ++R;
                return true;
            }
            if (dir == adTopBottomInCol) {
                R = firstR;
                return true;
            }
            if (C < lastNormalC) {
                ++C;
                R = firstR;
            } else if (FNavigation->AdvanceInsert()) {
                SetColCount(ColCount() + 1);
                C = C + spanX + 1;
                R = firstR;
                if (OnAutoInsertCol)
                    OnAutoInsertCol(this, ColCount() - FFixedRightCols - 1);
            } else {
                C = firstC;
                R = firstR;
            }
            Invalidate();
            return true;
        }
        if (dir == adLeftRight) {
            if (C > firstC) {
                --C;
            } else {
                C = lastNormalC;
                R = R > firstR ? R - 1 : lastR;
            }
            return true;
        }
        if (dir == adTopBottom) {
            if (R > firstR) {
                --R;
            } else {
                C = C > firstC ? C - 1 : lastNormalC;
                R = lastR;
            }
            return true;
        }
        return false;
    };

    const int startCol = ACol, startRow = ARow;
    int c = ACol, r = ARow;
    bool moved = false;
    bool lastAllow = true;
    const long long limit = (long long)ColCount() * RowCount() + 2;
    for (long long n = 0; n < limit; ++n) {
        const int pc = c, pr = r;
        if (!next(c, r))
            break;
        c = std::clamp(c, 0, ColCount() - 1);
        r = std::clamp(r, 0, RowCount() - 1);
        // A covered cell of a merged range is reached at its base cell.
        const TPoint b = BaseCell(RealColIndex(c), r);
        if (b.Y < r || DisplColOfReal(b.X) < c) {
            c = DisplColOfReal(b.X);
            r = b.Y;
        }
        bool canEdit = true;
        CanEditCell(RealColIndex(c), r, canEdit);
        if (canEdit) {
            bool allow = true;
            int nr = r, nc = c;
            if (OnAutoAdvance)
                OnAutoAdvance(this, FAERow, FAECol, nr, nc, allow);
            if (allow && OnCellChanging)
                OnCellChanging(this, FAERow, FAECol, nr, nc, allow);
            lastAllow = allow;
            FDisableChange = true;
            if (allow && nc >= 0 && nr >= 0 && nc < ColCount() && nr < RowCount()) {
                FocusCell(nc, nr, true);
                moved = true;
            } else {
                FocusCell(startCol, startRow, true);
            }
            FDisableChange = false;
            break;
        }
        if (!FNavigation->AdvanceSkipReadOnlyCells) {
            FocusCell(c, r, true);
            moved = true;
            break;
        }
        // Round the grid without an editable cell, or no progress: the advance stays put.
        if ((c == FAECol && r == FAERow) || (c == pc && r == pr))
            break;
    }
    if (!moved)
        return;

    const int realNew = RealColIndex(Col());
    const bool control = IsControlCell(realNew, Row());
    if (ShowEditor && ((AutoEdit && FNavigation->AdvanceAutoEdit) || control)) {
        if (!KeyEditableCell(Col(), Row()))
            return;
        if (!control) {
            ShowInplaceEdit();
        } else {
            // Through the start cell and back, so that the control cell is entered as by a
            // move of the user's. No click is fed: on a check box it would flip the value the
            // user only moved onto.
            const int newCol = Col(), newRow = Row();
            FDisableChange = true;
            FocusCell(startCol, startRow, true);
            FocusCell(newCol, newRow, true);
            FDisableChange = false;
            if (OnCellChanging)
                OnCellChanging(this, startRow, startCol, Row(), Col(), lastAllow);
        }
        TEditorType et = FDefaultEditor;
        if (startCol < ColCount() && startRow < RowCount())
            GetCellEditor(RealColIndex(startCol), startRow, et);
        if (!IsTextEditor(et))
            HideInplaceEdit();
    }
    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelect();
        SetRowSelect(Row(), true);
    }
}
