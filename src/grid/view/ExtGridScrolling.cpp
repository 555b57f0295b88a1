// The grid's scroll messages: the "Col : "/"Row : " hints while a thumb is dragged, live
// scrolling, the repaint under a fixed background picture, the in-cell scroll bar that scrolls
// its cell and not the grid; proportional thumbs; and the scroll type with its metro indicators.

#include "grid/core/ExtGrid.h"

#include "platform/Windows.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int ScrollRange = 127;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDivNearest(int a, int b, int c)
{
    return c == 0 ? 0 : int(std::llround(double(a) * double(b) / double(c)));
}

} // namespace

// ---- scroll type and proportional thumbs --------------------------------------------------------

void TExtStringGrid::SetScrollType(TScrollType Value)
{
    if (FScrollType != Value) {
        FScrollType = Value;
        if (Value == ssFlat || Value == ssEncarta) {
            InitFlatScrollBars();
            UpdateFlatScrollBars();
        } else {
            DoneFlatScrollBars();
        }
        if (HandleAllocated()) {
            if (Value == ssMetro) {
                CreateScrollControls();
                TBaseGrid::SetScrollBars(ssNone);
                // The indicators take the room the scroll bars leave.
                Realign();
            } else if (vscrlctrl || hscrlctrl) {
                FreeScrollControls();
                TBaseGrid::SetScrollBars(ssBoth);
            }
        }
    }
    ApplyFlatScrollStyle();
}

void TExtStringGrid::FreeScrollControls()
{
    delete vscrlctrl;
    vscrlctrl = nullptr;
    delete hscrlctrl;
    hscrlctrl = nullptr;
}

void TExtStringGrid::SetScrollProportional(bool Value)
{
    FScrollProportional = Value;
    if (Value) {
        UpdateVScrollProportional();
        UpdateHScrollProportional();
        return;
    }
    // Without bound flat bars there is no page size of their own to take back.
    if (FlatScrollBarsBound() && FScrollType == ssNormal) {
        DoneFlatScrollBars();
        for (int bar : {SB_HORZ, SB_VERT}) {
            TGridScrollInfo si;
            GetScrollInfo(bar, si);
            si.nPage = 0;
            SetScrollInfo(bar, si, true);
        }
    }
}

TExtStringGrid::TProportionalThumb TExtStringGrid::ProportionalThumb(bool Horizontal, int Extent, int Fixed,
                                                                     int Total, int Above, int CurrentPos)
{
    TProportionalThumb t;
    // Without lines to scroll there is no share to show.
    if (Total <= 0)
        return t;
    const float e = float(Extent - Fixed) / float(Total);
    if (e >= 0.9999f)
        return t;
    if (Horizontal && Fixed + Total - Extent < 5)
        return t;
    t.Apply = true;
    t.Max = int(std::trunc((float(ScrollRange) + e) / (1.0f - e)));
    t.Page = t.Max - (ScrollRange - 1);
    if (Extent < Total)
        t.Pos = int(std::trunc(double(Above) / double(Total - Extent) * 128.0));
    else
        t.Pos = Horizontal ? CurrentPos : ScrollRange;
    return t;
}

void TExtStringGrid::ScrollRangeUpdated()
{
    UpdateVScrollProportional();
    UpdateHScrollProportional();
}

void TExtStringGrid::UpdateVScrollProportional()
{
    if (LoadingState() || Designing() || !FScrollProportional || FScrollLock)
        return;
    if (VisibleRowCount() + FixedRows() >= RowCount())
        return;
    const int L = GridLineWidth();
    int F = L, T = L, A = L;
    for (int r = 0; r < RowCount(); ++r) {
        const int h = L + RowHeights(r);
        if (r < FixedRows()) {
            F += h;
        } else {
            T += h;
            if (r < TopRow())
                A += h;
        }
    }
    TGridScrollInfo si;
    GetScrollInfo(SB_VERT, si);
    const TProportionalThumb t = ProportionalThumb(false, Height(), F, T, A, si.nPos);
    if (!t.Apply)
        return;
    si.nMax = t.Max;
    si.nPage = t.Page;
    si.nPos = t.Pos;
    SetScrollInfo(SB_VERT, si, true);
}

void TExtStringGrid::UpdateHScrollProportional()
{
    if (LoadingState() || Designing() || !FScrollProportional || FScrollLock)
        return;
    const int L = GridLineWidth();
    int F = L, T = L, A = L, widths = 0;
    for (int c = 0; c < ColCount(); ++c) {
        const int w = L + ColWidths(c);
        widths += ColWidths(c);
        if (c < FixedCols()) {
            F += w;
        } else {
            T += w;
            if (c < LeftCol())
                A += w;
        }
    }
    TGridScrollInfo si;
    GetScrollInfo(SB_HORZ, si);
    const TProportionalThumb t = ProportionalThumb(true, Width(), F, T, A, si.nPos);
    if (t.Apply) {
        si.nMax = t.Max;
        si.nPage = t.Page;
        si.nPos = t.Pos;
        SetScrollInfo(SB_HORZ, si, true);
    }
    if (FScrollBarAlways == saHorz || FScrollBarAlways == saBoth)
        return;
    const TScrollStyle bars = TBaseGrid::ScrollBars();
    if (widths < Width() || (bars != ssHorizontal && bars != ssBoth))
        ShowScrollBar(SB_HORZ, false);
}

// ---- scroll messages ----------------------------------------------------------------------------

void TExtStringGrid::ScrollHint(TWMScroll &Message, const UnicodeString &Prefix, int Count, int Fixed)
{
    if (Message.ScrollCode == SB_ENDSCROLL) {
        FScrollHintWnd->ReleaseHandle();
        FScrollHintShow = false;
        return;
    }
    if (Message.ScrollCode != SB_THUMBTRACK)
        return;
    const int target = MulDivNearest(Message.Pos, Count, ScrollRange) + Fixed;
    UnicodeString text = Prefix + QString::number(target);
    if (OnScrollHint)
        OnScrollHint(this, target, text);
    TRect r = FScrollHintWnd->CalcHintRect(100, text, nullptr);
    FScrollHintWnd->SetColor(FHintColor);
    TPoint pt;
    GetCursorPos(pt);
    OffsetRect(r, pt.X + 10, pt.Y);
    FScrollHintWnd->ActivateHint(r, text);
    FScrollHintShow = true;
}

bool TExtStringGrid::BackGroundCorners(TPoint &TopLeft, TPoint &BottomRight)
{
    if (!FBackGround || FBackGround->Display != bdFixed || !FBackGround->HasBitmap())
        return false;
    const TBitmap *bmp = FBackGround->Bitmap();
    MouseToCell(FBackGround->Left, FBackGround->Top, TopLeft.X, TopLeft.Y);
    MouseToCell(FBackGround->Left + bmp->Width(), FBackGround->Top + bmp->Height(), BottomRight.X, BottomRight.Y);
    return true;
}

void TExtStringGrid::RepaintBackGroundCorners(bool Had, TPoint OldTL, TPoint OldBR, bool Dragging)
{
    TPoint tl, br;
    if (!Had || !BackGroundCorners(tl, br) || Dragging)
        return;
    if (tl == OldTL && br == OldBR)
        return;
    RepaintRect(TRect(OldTL.X, OldTL.Y, OldBR.X, OldBR.Y));
    RepaintRect(TRect(tl.X, tl.Y, br.X, br.Y));
}

void TExtStringGrid::HideCheckBoxEditor()
{
    if (EditCheck && Col() >= 0 && Row() >= 0 && Col() < ColCount() && Row() < RowCount() &&
        HasCheckBox(RealColIndex(Col()), Row()))
        EditCheck->SetVisible(false);
}

void TExtStringGrid::WMHScroll(TWMScroll &Message)
{
    if (FScrollHints == shHorizontal || FScrollHints == shBoth)
        ScrollHint(Message, QStringLiteral("Col : "), ColCount() - VisibleColCount() - FixedCols(), FixedCols());
    const int target =
        MulDivNearest(Message.Pos, ColCount() - VisibleColCount() - FixedCols(), ScrollRange) + FixedCols();
    if (Message.ScrollCode == SB_THUMBTRACK && FScrollSynch && target >= FixedCols() && target < ColCount())
        SetLeftCol(target);
    TPoint tl, br;
    const bool had = BackGroundCorners(tl, br);
    if (FixedCols() == 0 && target >= Col())
        HideInplaceEdit();
    TBaseGrid::WMHScroll(Message);
    RepaintBackGroundCorners(had, tl, br, Message.ScrollCode == SB_THUMBTRACK);
    if (Message.ScrollCode == SB_ENDSCROLL && ColCount() == 1)
        Repaint();
    HideCheckBoxEditor();
    UpdateFooter();
}

void TExtStringGrid::WMVScroll(TWMScroll &Message)
{
    if (Designing()) {
        TBaseGrid::WMVScroll(Message);
        return;
    }
    // The in-cell scroll bar scrolls its cell by tens and hundreds; the grid stays where it is.
    if (FScrollBar && Message.ScrollBar && FScrollBar->HandleAllocated() && Message.ScrollBar == FScrollBar->Handle()) {
        const int old = FScrollBar->Position();
        int pos = old;
        switch (Message.ScrollCode) {
        case SB_LINEUP: pos = std::max(FScrollBar->Min(), old - 10); break;
        case SB_LINEDOWN: pos = std::min(FScrollBar->Max(), old + 10); break;
        case SB_PAGEUP: pos = old - 100; break;
        case SB_PAGEDOWN: pos = old + 100; break;
        case SB_THUMBTRACK: pos = Message.Pos; break;
        default: break;
        }
        FScrollBar->SetPosition(pos);
        if (FScrollBar->Position() != old) {
            Message.Result = 1;
            SetScrollPosition(FScrollCol, FScrollRow, FScrollBar->Position());
            RepaintRealCell(FScrollCol, FScrollRow);
            DoScrollCell(FScrollCol, FScrollRow);
        }
        return;
    }

    if (FScrollHints == shVertical || FScrollHints == shBoth)
        ScrollHint(Message, QStringLiteral("Row : "), RowCount() - VisibleRowCount() - FixedRows(), FixedRows());
    if (Message.ScrollCode == SB_THUMBTRACK && FScrollSynch) {
        const int target =
            MulDivNearest(Message.Pos, RowCount() - VisibleRowCount() - FixedRows(), ScrollRange) + FixedRows();
        if (target >= FixedRows() && target < RowCount())
            SetTopRow(target);
    }
    TPoint tl, br;
    const bool had = BackGroundCorners(tl, br);

    const bool searchShown = FSearchFooter->Visible() && FSearchPanel;
    if (searchShown && (Message.ScrollCode == SB_ENDSCROLL || Message.ScrollCode == SB_LINEDOWN) &&
        IsLastRowAboveSearchFooter()) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WMVScroll(Message);
    if (searchShown && TopRow() == RowCount() - VisibleRowCount()) {
        if (Message.ScrollCode == SB_LINEUP)
            SetTopRow(TopRow() - 1);
        else if (Message.ScrollCode == SB_ENDSCROLL || Message.ScrollCode == SB_LINEDOWN)
            ScrollAboveSearchFooter();
    }
    RepaintBackGroundCorners(had, tl, br, Message.ScrollCode == SB_THUMBTRACK);
    HideCheckBoxEditor();
}

void TExtStringGrid::DoScrollCell(int ACol, int ARow)
{
    if (!OnScrollCell)
        return;
    const TScrollProp prop = GetScrollProp(ACol, ARow);
    OnScrollCell(this, ACol, ARow, GetScrollPosition(ACol, ARow), 0, prop.Range);
}

void TExtStringGrid::PlaceCellScrollBar(int ACol, int ARow)
{
    if (!FScrollBar || Designing())
        return;
    const int realCol = RealColIndex(ACol);
    if (!HasScrollBar(realCol, ARow)) {
        FScrollBar->SetVisible(false);
        return;
    }
    FScrollCol = realCol;
    FScrollRow = ARow;
    const TScrollProp prop = GetScrollProp(realCol, ARow);
    const int pos = GetScrollPosition(realCol, ARow);
    // A range the bar cannot take (none, or below its minimum 0) shows no bar.
    if (prop.PageSize >= prop.Range || prop.Range <= 0)
        return;
    const TRect r = CellRect(ACol, ARow);
    const int L = GridLineWidth();
    const int w = 17;
    const int left = r.Right - w - L;
    if (FScrollBar->Visible() && FScrollBar->Left() == left && FScrollBar->Top() == r.Top + L) {
        FScrollBar->SetPosition(pos);
        return;
    }
    FScrollBar->SetPageSize(0);
    FScrollBar->SetParams(pos, 0, prop.Range);
    FScrollBar->SetPageSize(prop.PageSize);
    FScrollBar->SetBounds(left, r.Top + L, w, r.Bottom - r.Top - 2 * L);
    FScrollBar->SetPosition(pos);
    FScrollBar->SetVisible(true);
}
