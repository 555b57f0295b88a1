// The wheel (scrolling, moving the current row, zooming with Ctrl), middle-button panning and
// what a released key does: the incremental search ends, the editor reopens under AlwaysEdit and
// the disjunct cell selection follows Shift and Space.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Messages.h"
#include "platform/Windows.h"

#include <cmath>

namespace {

bool SameRect(const TGridRect &A, const TGridRect &B)
{
    return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

TGridRect Normalised(TGridRect R)
{
    if (R.Left > R.Right)
        std::swap(R.Left, R.Right);
    if (R.Top > R.Bottom)
        std::swap(R.Top, R.Bottom);
    return R;
}

bool IsArrow(Word Key)
{
    return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN;
}

} // namespace

// ---- the wheel ----

void TExtStringGrid::WheelStep(TMessage &Message, const TGridRect &OldSel)
{
    TWMMouseWheel w(Message);
    const int delta = w.WheelDelta;
    bool handled = true;
    if (KeysToShiftState(w.Keys).Contains(ssCtrl) && FIntelliZoom) {
        Zoom(delta < 0 ? wheelscrl : -wheelscrl);
        AutoSizeCells(true, 4, 4);
        return;
    }
    if (!FEnableWheel || (FFixedRowAlways && RowCount() == 1))
        return;
    int n = FMouseActions->WheelIncrement;
    if (n < 1)
        n = wheelscrl;
    const bool move = FMouseActions->WheelAction() == waMoveSelection;
    int t = Row();
    if (!move) {
        if (delta < 0) {
            const int last = RowCount() - VisibleRowCount();
            if (TopRow() < last && TopRow() + n >= FixedRows())
                SetTopRow(std::min(TopRow() + n, last));
        } else {
            if (TopRow() - n < FixedRows())
                n = TopRow() - FixedRows();
            if (TopRow() > FixedRows())
                SetTopRow(TopRow() - n);
        }
    } else {
        t = delta < 0 ? Row() + n : Row() - n;
    }
    const int lastRow = RowCount() - FFixedFooters - 1;
    t = std::max(FixedRows(), std::min(t, lastRow));
    if (Col() > ColCount() - 1 && Row() > RowCount() - 1)
        FocusCell(ColCount() - 1, RowCount() - 1, true);
    if (Col() > ColCount() - 1)
        SetCol(ColCount() - 1);
    else if (Col() < FixedCols())
        SetCol(FixedCols());
    const int leftCol = LeftCol();
    int steps = 0;
    if (t >= 0 && t < RowCount()) {
        StartUpdate();
        try {
            if (FMouseActions->DisjunctRowSelect() && move)
                ClearRowSelect();
            steps = t - Row();
            if (move) {
                SetRow(t);
                if (Row() != t) {
                    // A refused or limited move goes half the way that is left.
                    SetRow(Row() + int(std::nearbyint((t - Row()) / 2.0)));
                    if (TopRow() > FixedRows())
                        SetTopRow(TopRow() - 1);
                }
            }
            if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll)
                SetLeftCol(leftCol);
        } catch (...) {
            ResetUpdate();
            throw;
        }
        ResetUpdate();
        Invalidate();
    }
    DoWheelScroll(steps, handled);
    if ((FMouseActions->WheelIncrement != 0 || FMouseActions->DisjunctRowSelect()) && handled) {
        Message.Result = 1;
        TShiftState shift;
        TPoint pos;
        if (FMouseActions->DisjunctRowSelect()) {
            shift = KeyboardShift();
            pos = w.Pos();
        }
        bool h = false;
        if (delta < 0 && OnMouseWheelDown)
            OnMouseWheelDown(this, shift, pos, h);
        else if (delta >= 0 && OnMouseWheelUp)
            OnMouseWheelUp(this, shift, pos, h);
    }
    const TGridRect now = Selection();
    if (!SameRect(now, OldSel))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    if (FSearchFooter->Visible() && TopRow() == RowCount() - VisibleRowCount())
        ScrollAboveSearchFooter();
}

bool TExtStringGrid::WheelOverride(bool Down, TShiftState Shift, TPoint MousePos)
{
    if (FMouseActions->WheelAction() == waScroll || !FEnableWheel) {
        bool handled = false;
        if (const TMouseWheelUpDownEvent &e = Down ? OnMouseWheelDown : OnMouseWheelUp)
            e(this, Shift, MousePos, handled);
        return handled;
    }
    auto base = [&] {
        return Down ? TBaseGrid::DoMouseWheelDown(Shift, MousePos) : TBaseGrid::DoMouseWheelUp(Shift, MousePos);
    };
    const bool direct = FMouseActions->DirectEdit;
    FMouseActions->DirectEdit = false;
    bool result = true;
    try {
        if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll) {
            StartUpdate();
            const int left = LeftCol();
            result = base();
            SetLeftCol(left);
            ResetUpdate();
            Invalidate();
        } else {
            const bool editing = EditMode;
            // Up from a current cell outside the grid takes no step.
            if (Down || (Row() < RowCount() && Col() < ColCount()))
                result = base();
            if (editing && CanFocus())
                SetFocus();
        }
    } catch (...) {
        FMouseActions->DirectEdit = direct;
        throw;
    }
    FMouseActions->DirectEdit = direct;
    return result;
}

bool TExtStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    return WheelOverride(true, Shift, MousePos);
}

bool TExtStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    return WheelOverride(false, Shift, MousePos);
}

// ---- panning ----

void TExtStringGrid::ShowPanCursor(int ResID)
{
    FPanCursorID = ResID;
    if (HCURSOR c = LoadCursor(nullptr, ResID)) {
        HCURSOR before = ::SetCursor(c);
        if (!prevcurs && ResID == 8000 && !wheelpan)
            prevcurs = before;
    }
}

void TExtStringGrid::StartPanning(int X, int Y)
{
    prevcurs = nullptr;
    ShowPanCursor(8000);
    wheelpan = true;
    if (HandleAllocated()) {
        wheeltimer = SetTimer(Handle(), PanTimerID, 10, nullptr);
        SetCapture(Handle());
    }
    wheelpanpos = TPoint(X, Y);
    FPanHintWas = ShowHint();
    SetShowHint(false);
    InvalidatePanMarker();
}

void TExtStringGrid::StopPanning()
{
    if (HandleAllocated()) {
        ReleaseCapture();
        KillTimer(Handle(), PanTimerID);
    }
    wheeltimer = 0;
    ::SetCursor(prevcurs);
    prevcurs = nullptr;
    FPanCursorID = 0;
    SetShowHint(FPanHintWas);
    wheelpan = false;
    InvalidatePanMarker();
}

void TExtStringGrid::PanStep(const TGridRect &OldSel)
{
    TPoint p;
    GetCursorPos(p);
    p = ScreenToClient(p);
    const TPoint pan = wheelpanpos;
    int v = p.Y < pan.Y - 5 ? -1 : p.Y > pan.Y + 5 ? 1 : 0;
    if (FIntelliPan == ipHorizontal)
        v = 0;
    int h = 0;
    if (FIntelliPan != ipVertical)
        h = p.X > pan.X + 5 ? 1 : p.X < pan.X - 5 ? -1 : 0;
    int id = 8000;
    if (v == 0 && h != 0)
        id = h > 0 ? 8003 : 8002;
    else if (h == 0 && v != 0)
        id = v > 0 ? 8001 : 8004;
    else if (v < 0)
        id = h < 0 ? 8006 : 8005;
    else if (v > 0)
        id = h < 0 ? 8008 : 8007;

    const int lastRow = RowCount() - FFixedFooters - 1;
    const int lastCol = ColCount() - FFixedRightCols - 1;
    if (Row() > lastRow && lastRow >= FixedRows())
        SetRow(lastRow);
    if (Row() < FixedRows() && FixedRows() < RowCount())
        SetRow(FixedRows());
    if (Col() > lastCol && lastCol >= FixedCols())
        SetCol(lastCol);
    if (Col() < FixedCols() && FixedCols() < ColCount())
        SetCol(FixedCols());

    if (FMouseActions->WheelAction() == waScroll) {
        auto scroll = [this](auto set, int to) {
            InvalidatePanMarker();
            (this->*set)(to);
        };
        if (h < 0 && LeftCol() > FixedCols())
            scroll(&TExtStringGrid::SetLeftCol, LeftCol() - 1);
        if (h > 0 && LeftCol() < ColCount() - VisibleColCount())
            scroll(&TExtStringGrid::SetLeftCol, LeftCol() + 1);
        if (v < 0 && TopRow() > FixedRows())
            scroll(&TExtStringGrid::SetTopRow, TopRow() - 1);
        if (v > 0 && TopRow() < RowCount() - VisibleRowCount())
            scroll(&TExtStringGrid::SetTopRow, TopRow() + 1);
    } else {
        const int top = TopRow(), left = LeftCol();
        if (h < 0 && Col() > FixedCols())
            SetCol(Col() - 1);
        if (h > 0 && Col() < lastCol)
            SetCol(Col() + 1);
        if (v < 0 && Row() > FixedRows())
            SetRow(Row() - 1);
        if (v > 0 && Row() < lastRow)
            SetRow(Row() + 1);
        if (TopRow() != top || LeftCol() != left)
            InvalidatePanMarker();
    }
    ShowPanCursor(id);
    DrawPanMarker();
    const TGridRect now = Selection();
    if (!SameRect(now, OldSel))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
}

// ---- key release ----

void TExtStringGrid::KeyUp(Word &Key, TShiftState Shift)
{
    if (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || IsArrow(Key) || Key == VK_INSERT || Key == VK_DELETE)
        SearchInc.clear();
    const TGridRect before = Normalised(Selection());
    const Word key = Key;
    TBaseGrid::KeyUp(Key, Shift);
    if (FNavigation->AlwaysEdit && (IsArrow(key) || (key == VK_TAB && Options().Contains(goTabs))) &&
        !IsControlCell(RealColIndex(Col()), Row()))
        ShowInplaceEdit();
    const TGridRect now = Normalised(Selection());
    if (!SameRect(Selection(), FMoveSelection) && (key == VK_TAB || IsArrow(key)))
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    const bool editing = Options().Contains(goEditing);
    if (!FMouseActions->DisjunctCellSelect() || editing)
        return;
    if (Shift.Contains(ssShift)) {
        for (int c = before.Left; c <= before.Right; ++c)
            for (int r = before.Top; r <= before.Bottom; ++r)
                SetSelectedCells(c, r, false);
        for (int c = now.Left; c <= now.Right; ++c)
            for (int r = now.Top; r <= now.Bottom; ++r)
                if (c != Col() || r != Row())
                    SetSelectedCells(c, r, true);
    }
    if (key != VK_SPACE)
        return;
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    const int bc = DisplColOfReal(b.X), br = b.Y;
    if (bc < FixedCols() || br < FixedRows() || IsFixed(bc, br))
        return;
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, bc, br, can);
    if (!can)
        return;
    auto repaintListed = [this] {
        for (int i = 0; i < SelectedCellsCount(); ++i) {
            const TGridCoord c = SelectedCell(i);
            RepaintCell(c.X, c.Y);
        }
    };
    if (Shift.Contains(ssCtrl)) {
        SetSelectedCells(bc, br, !SelectedCells(bc, br));
    } else {
        repaintListed();
        ClearSelectedCells();
        SetSelectedCells(bc, br, true);
    }
    if (now.Left != now.Right || now.Top != now.Bottom) {
        for (int c = now.Left; c <= now.Right; ++c)
            for (int r = now.Top; r <= now.Bottom; ++r)
                if (c != bc || r != br)
                    SetSelectedCells(c, r, true);
        repaintListed();
    }
    RepaintCell(Col(), Row());
}
