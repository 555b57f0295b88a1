// Keyboard, mouse, wheel, timer and scroll bar input of the grid.
#include "platform/Grids.h"

#include "platform/Windows.h"

#include <QWidget>

#include <algorithm>

namespace {

constexpr UINT_PTR ScrollTimerID = 1;
constexpr UINT ScrollTimerPeriod = 60;

enum : int { sdLeft = 1, sdRight = 2, sdUp = 4, sdDown = 8 };

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDivRound(int a, int b, int c)
{
    if (c == 0)
        return 0;
    long long n = (long long)a * b;
    long long r = (n >= 0 ? n + c / 2 : n - c / 2) / c;
    return int(r);
}

} // namespace

void TCustomGrid::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_HSCROLL || Message.Msg == WM_VSCROLL) {
        TWMScroll m(Message);
        if (Message.Msg == WM_HSCROLL)
            WMHScroll(m);
        else
            WMVScroll(m);
        m.Store();
        return;
    }
    TCustomControl::WndProc(Message);
}

// ---- keyboard ----

void TCustomGrid::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS;
    if (FOptions.Contains(goRowSelect))
        return;
    if (FOptions.Contains(goTabs))
        Message.Result |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing))
        Message.Result |= DLGC_WANTCHARS;
}

void TCustomGrid::KeyDown(Word &Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (!CanGridAcceptKey(Key, Shift)) {
        Key = 0;
        return;
    }
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord newTopLeft = FTopLeft;
    TGridCoord newCurrent = FCurrent;
    const bool rowSelect = FOptions.Contains(goRowSelect);
    const int pageWidth = std::max(1, di.Horz.LastFullVisibleCell - FTopLeft.X + 1);
    const int pageHeight = std::max(1, di.Vert.LastFullVisibleCell - FTopLeft.Y + 1);
    bool handled = true;
    if (Shift.Contains(ssCtrl)) {
        switch (Key) {
        case VK_UP: --newTopLeft.Y; break;
        case VK_DOWN: ++newTopLeft.Y; break;
        case VK_LEFT:
            if (!rowSelect) {
                newCurrent.X -= pageWidth;
                newTopLeft.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                newCurrent.X += pageWidth;
                newTopLeft.X += pageWidth;
            }
            break;
        case VK_PRIOR: newCurrent.Y = FTopLeft.Y; break;
        case VK_NEXT: newCurrent.Y = di.Vert.LastFullVisibleCell; break;
        case VK_HOME:
            newCurrent.X = FFixedCols;
            newCurrent.Y = FFixedRows;
            break;
        case VK_END:
            newCurrent.X = FColCount - 1;
            newCurrent.Y = FRowCount - 1;
            break;
        default: handled = false; break;
        }
    } else {
        switch (Key) {
        case VK_UP: --newCurrent.Y; break;
        case VK_DOWN: ++newCurrent.Y; break;
        case VK_LEFT:
            if (rowSelect)
                --newTopLeft.X;
            else
                --newCurrent.X;
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++newTopLeft.X;
            else
                ++newCurrent.X;
            break;
        case VK_NEXT:
            newCurrent.Y += pageHeight;
            newTopLeft.Y += pageHeight;
            break;
        case VK_PRIOR:
            newCurrent.Y -= pageHeight;
            newTopLeft.Y -= pageHeight;
            break;
        case VK_HOME:
            if (rowSelect)
                newCurrent.Y = FFixedRows;
            else
                newCurrent.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect)
                newCurrent.Y = FRowCount - 1;
            else
                newCurrent.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!FOptions.Contains(goTabs) || Shift.Contains(ssAlt)) {
                handled = false;
                break;
            }
            if (Shift.Contains(ssShift)) {
                if (--newCurrent.X < FFixedCols) {
                    newCurrent.X = FColCount - 1;
                    if (--newCurrent.Y < FFixedRows)
                        newCurrent.Y = FRowCount - 1;
                }
                // Shift here means backwards, not an extended selection.
                Shift.Exclude(ssShift);
            } else if (++newCurrent.X >= FColCount) {
                newCurrent.X = FFixedCols;
                if (++newCurrent.Y >= FRowCount)
                    newCurrent.Y = FFixedRows;
            }
            break;
        case VK_F2:
            // Opens like Enter does, with the whole text selected; setting EditorMode from code
            // leaves the caret at the end instead.
            ShowEditor();
            if (FInplaceEdit && FInplaceEdit->Visible())
                FInplaceEdit->SelectAll();
            break;
        default: handled = false; break;
        }
    }
    if (!handled)
        return;
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    newTopLeft.X = std::clamp(newTopLeft.X, FFixedCols, std::max(FFixedCols, maxTL.X));
    newTopLeft.Y = std::clamp(newTopLeft.Y, FFixedRows, std::max(FFixedRows, maxTL.Y));
    if (!(newTopLeft == FTopLeft))
        MoveTopLeft(newTopLeft.X, newTopLeft.Y);
    newCurrent.X = std::clamp(newCurrent.X, std::min(FFixedCols, FColCount - 1), FColCount - 1);
    newCurrent.Y = std::clamp(newCurrent.Y, std::min(FFixedRows, FRowCount - 1), FRowCount - 1);
    if (!(newCurrent == FCurrent))
        FocusCell(newCurrent.X, newCurrent.Y, !Shift.Contains(ssShift));
}

void TCustomGrid::KeyPress(WideChar &Key)
{
    TCustomControl::KeyPress(Key);
    if (!FOptions.Contains(goAlwaysShowEditor) && Key == u'\r') {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = 0;
    }
}

// ---- mouse ----

void TCustomGrid::CalcSizingState(int X, int Y, TGridState &State, int &Index, int &SizingPos, int &SizingOfs,
                                  TGridDrawInfo &FixedInfo)
{
    State = gsNormal;
    Index = -1;
    auto axisState = [&](const TGridAxisDrawInfo &a, int pos, TGridState newState) {
        int line = a.FixedBoundary;
        int range = a.EffectiveLineWidth;
        int back = 0;
        // Lines thinner than the grip get a zone of 7 pixels around them.
        if (range < 7) {
            range = 7;
            back = (range - a.EffectiveLineWidth) >> 1;
        }
        for (int i = a.FirstGridCell; i < a.GridCellCount; ++i) {
            line += a.GetExtent(i);
            if (line > a.GridBoundary)
                break;
            if (pos >= line - back && pos <= line - back + range) {
                State = newState;
                SizingPos = line;
                SizingOfs = line - pos;
                Index = i;
                return;
            }
            line += a.EffectiveLineWidth;
        }
        if (a.GridBoundary == a.GridExtent && pos >= a.GridExtent - back && pos <= a.GridExtent) {
            State = newState;
            SizingPos = a.GridExtent;
            SizingOfs = a.GridExtent - pos;
            Index = a.LastFullVisibleCell + 1;
        }
    };
    if (!FOptions.Contains(goColSizing) && !FOptions.Contains(goRowSizing))
        return;
    if (X > FixedInfo.Horz.FixedBoundary && FOptions.Contains(goColSizing)) {
        if (Y >= FixedInfo.Vert.FixedBoundary)
            return;
        axisState(FixedInfo.Horz, X, gsColSizing);
    } else if (Y > FixedInfo.Vert.FixedBoundary && FOptions.Contains(goRowSizing)) {
        if (X >= FixedInfo.Horz.FixedBoundary)
            return;
        axisState(FixedInfo.Vert, Y, gsRowSizing);
    }
}

void TCustomGrid::DrawSizingLine(const TGridDrawInfo &)
{
    // The line is part of the paint while sizing (a window cannot be drawn on outside its paint).
    Invalidate();
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    if (CanFocus() && !Focused())
        SetFocus();
    if (Button == mbLeft && Shift.Contains(ssDouble)) {
        DblClick();
    } else if (Button == mbLeft) {
        TGridDrawInfo di;
        CalcDrawInfo(di);
        CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, di);
        if (FGridState != gsNormal) {
            DrawSizingLine(di);
            TCustomControl::MouseDown(Button, Shift, X, Y);
            return;
        }
        TGridCoord hit = CalcCoordFromPoint(X, Y, di);
        if (hit.X >= FFixedCols && hit.Y >= FFixedRows) {
            if (FOptions.Contains(goEditing)) {
                if (hit.X == FCurrent.X && hit.Y == FCurrent.Y) {
                    ShowEditor();
                } else {
                    MoveCurrent(hit.X, hit.Y, true, true);
                    UpdateEdit();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                if (HandleAllocated() && !FTimerOn) {
                    SetTimer(Handle(), ScrollTimerID, ScrollTimerPeriod, nullptr);
                    FTimerOn = true;
                }
                if (Shift.Contains(ssShift))
                    MoveAnchor(hit);
                else
                    MoveCurrent(hit.X, hit.Y, true, true);
            }
        } else if (FOptions.Contains(goRowMoving) && hit.X >= 0 && hit.X < FFixedCols && hit.Y >= FFixedRows) {
            FMoveIndex = hit.Y;
            FMovePos = hit.Y;
            FGridState = gsRowMoving;
            Invalidate();
        } else if (FOptions.Contains(goColMoving) && hit.Y >= 0 && hit.Y < FFixedRows && hit.X >= FFixedCols) {
            FMoveIndex = hit.X;
            FMovePos = hit.X;
            FGridState = gsColMoving;
            Invalidate();
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::ShowSizingCursor(TGridState State)
{
    // Any other cursor is the control's own, which the window puts back on every move.
    if (State != gsColSizing && State != gsRowSizing)
        return;
    if (QWidget *w = WidgetIfAllocated())
        w->setCursor(State == gsColSizing ? Qt::SplitHCursor : Qt::SplitVCursor);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    TGridDrawInfo di;
    CalcDrawInfo(di);
    if (FGridState == gsNormal) {
        // The pointer over a border that may be dragged shows so (descendants may refuse here).
        TGridState hover = gsNormal;
        int index = 0, pos = 0, ofs = 0;
        CalcSizingState(X, Y, hover, index, pos, ofs, di);
        ShowSizingCursor(hover);
    } else {
        ShowSizingCursor(FGridState);
    }
    switch (FGridState) {
    case gsSelecting: {
        TGridCoord hit = CalcCoordFromPoint(X, Y, di);
        if (hit.X >= FFixedCols && hit.Y >= FFixedRows && hit.X < FColCount && hit.Y < FRowCount &&
            !(hit == FAnchor))
            MoveAnchor(hit);
        break;
    }
    case gsColSizing:
    case gsRowSizing:
        FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
        DrawSizingLine(di);
        break;
    case gsColMoving:
    case gsRowMoving: {
        TGridCoord hit = CalcCoordFromPoint(X, Y, di);
        int v = FGridState == gsColMoving ? hit.X : hit.Y;
        int lo = FGridState == gsColMoving ? FFixedCols : FFixedRows;
        if (v >= lo && v != FMovePos) {
            FMovePos = v;
            Invalidate();
        }
        break;
    }
    default:
        break;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    TGridState state = FGridState;
    try {
        switch (state) {
        case gsSelecting:
            MouseMove(Shift, X, Y);
            if (FTimerOn && HandleAllocated())
                KillTimer(Handle(), ScrollTimerID);
            FTimerOn = false;
            UpdateEdit();
            Click();
            break;
        case gsColSizing:
        case gsRowSizing: {
            TGridDrawInfo di;
            CalcDrawInfo(di);
            const TGridAxisDrawInfo &a = state == gsColSizing ? di.Horz : di.Vert;
            int start = a.FixedBoundary;
            for (int i = a.FirstGridCell; i < FSizingIndex; ++i)
                start += a.GetExtent(i) + a.EffectiveLineWidth;
            int newSize = FSizingPos - start;
            FGridState = gsNormal;
            if (newSize > 1 && FSizingIndex >= 0) {
                if (state == gsColSizing && FSizingIndex < FColCount)
                    SetColWidths(FSizingIndex, newSize);
                else if (state == gsRowSizing && FSizingIndex < FRowCount)
                    SetRowHeights(FSizingIndex, newSize);
            }
            Invalidate();
            break;
        }
        case gsColMoving:
        case gsRowMoving:
            FGridState = gsNormal;
            if (FMoveIndex != FMovePos)
                MoveColRow(state == gsColMoving, FMoveIndex, FMovePos);
            Invalidate();
            break;
        default:
            break;
        }
        TCustomControl::MouseUp(Button, Shift, X, Y);
    } catch (...) {
        FGridState = gsNormal;
        throw;
    }
    FGridState = gsNormal;
}

void TCustomGrid::WMCancelMode(TWMCancelMode &Message)
{
    if (FTimerOn && HandleAllocated())
        KillTimer(Handle(), ScrollTimerID);
    FTimerOn = false;
    if (FGridState != gsNormal) {
        FGridState = gsNormal;
        Invalidate();
    }
    TCustomControl::WMCancelMode(Message);
}

void TCustomGrid::WMTimer(TWMTimer &Message)
{
    if (Message.TimerID != ScrollTimerID || FGridState != gsSelecting) {
        TCustomControl::WMTimer(Message);
        return;
    }
    TGridDrawInfo di;
    CalcDrawInfo(di);
    int dir = 0;
    if (FLastMouse.X < di.Horz.FixedBoundary)
        dir |= sdLeft;
    else if (FLastMouse.X > di.Horz.FullVisBoundary)
        dir |= sdRight;
    if (FLastMouse.Y < di.Vert.FixedBoundary)
        dir |= sdUp;
    else if (FLastMouse.Y > di.Vert.FullVisBoundary)
        dir |= sdDown;
    if (dir)
        TimedScroll(dir);
}

void TCustomGrid::TimedScroll(int ADirection)
{
    if (!FOptions.Contains(goRangeSelect))
        return;
    TGridCoord anchor = FAnchor;
    TGridCoord topLeft = FTopLeft;
    if ((ADirection & sdLeft) && anchor.X > FFixedCols) {
        --anchor.X;
        --topLeft.X;
    }
    if ((ADirection & sdRight) && anchor.X < FColCount - 1) {
        ++anchor.X;
        ++topLeft.X;
    }
    if ((ADirection & sdUp) && anchor.Y > FFixedRows) {
        --anchor.Y;
        --topLeft.Y;
    }
    if ((ADirection & sdDown) && anchor.Y < FRowCount - 1) {
        ++anchor.Y;
        ++topLeft.Y;
    }
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    topLeft.X = std::clamp(topLeft.X, FFixedCols, std::max(FFixedCols, maxTL.X));
    topLeft.Y = std::clamp(topLeft.Y, FFixedRows, std::max(FFixedRows, maxTL.Y));
    if (!(topLeft == FTopLeft))
        MoveTopLeft(topLeft.X, topLeft.Y);
    MoveAnchor(anchor);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool result = TCustomControl::DoMouseWheelDown(Shift, MousePos);
    if (!result) {
        if (FCurrent.Y < FRowCount - 1)
            SetRow(FCurrent.Y + 1);
        result = true;
    }
    return result;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool result = TCustomControl::DoMouseWheelUp(Shift, MousePos);
    if (!result) {
        if (FCurrent.Y > FFixedRows)
            SetRow(FCurrent.Y - 1);
        result = true;
    }
    return result;
}

void TCustomGrid::WMSetFocus(TWMSetFocus &Message)
{
    TCustomControl::WMSetFocus(Message);
    InvalidateRect(Selection());
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

void TCustomGrid::WMKillFocus(TWMKillFocus &Message)
{
    TCustomControl::WMKillFocus(Message);
    InvalidateRect(Selection());
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

// ---- scroll bars ----

void TCustomGrid::WMHScroll(TWMScroll &Message)
{
    // A child scroll bar reports its own scrolling; the grid's bars send no window.
    if (Message.ScrollBar)
        return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    int lo = FFixedCols, hi = std::max(FFixedCols, maxTL.X);
    int v = FTopLeft.X;
    int page = std::max(1, di.Horz.LastFullVisibleCell - FTopLeft.X);
    switch (Message.ScrollCode) {
    case SB_LINELEFT: --v; break;
    case SB_LINERIGHT: ++v; break;
    case SB_PAGELEFT: v -= page; break;
    case SB_PAGERIGHT: v += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        if (FOptions.Contains(goThumbTracking) || Message.ScrollCode == SB_THUMBPOSITION)
            v = lo + MulDivRound(Message.Pos, hi - lo, 127);
        break;
    case SB_LEFT: v = lo; break;
    case SB_RIGHT: v = hi; break;
    default: return;
    }
    v = std::clamp(v, lo, hi);
    if (v != FTopLeft.X)
        MoveTopLeft(v, FTopLeft.Y);
    Message.Result = 0;
}

void TCustomGrid::WMVScroll(TWMScroll &Message)
{
    // A child scroll bar reports its own scrolling; the grid's bars send no window.
    if (Message.ScrollBar)
        return;
    TGridDrawInfo di;
    CalcDrawInfo(di);
    TGridCoord maxTL = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, di);
    int lo = FFixedRows, hi = std::max(FFixedRows, maxTL.Y);
    int v = FTopLeft.Y;
    int page = std::max(1, di.Vert.LastFullVisibleCell - FTopLeft.Y);
    switch (Message.ScrollCode) {
    case SB_LINEUP: --v; break;
    case SB_LINEDOWN: ++v; break;
    case SB_PAGEUP: v -= page; break;
    case SB_PAGEDOWN: v += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        if (FOptions.Contains(goThumbTracking) || Message.ScrollCode == SB_THUMBPOSITION)
            v = lo + MulDivRound(Message.Pos, hi - lo, 127);
        break;
    case SB_TOP: v = lo; break;
    case SB_BOTTOM: v = hi; break;
    default: return;
    }
    v = std::clamp(v, lo, hi);
    if (v != FTopLeft.Y)
        MoveTopLeft(FTopLeft.X, v);
    Message.Result = 0;
}
