// The base grid: cells through merged ranges and display hooks, cell properties, merging,
// rectangles, keys and wheel, and the clearing helpers of the string grid.
#include "controls/BaseGrid.h"

#include "controls/ExtGridUndoRedo.h"
#include "controls/ExtGridUtil.h"

#include "platform/Windows.h"

#include <algorithm>
#include <climits>
#include <memory>

namespace {

const UnicodeString SCellOutsideGrid = QStringLiteral("Grid index out of range");

} // namespace

// ---- TCellProperties ----

TCellProperties::TCellProperties(TBaseGrid *AOwner, int ACol, int ARow)
    : FOwnerGrid(AOwner), FOwnerCol(ACol), FOwnerRow(ARow)
{
    if (AOwner) {
        FWordWrap = AOwner->FWordWrap;
        AOwner->FHasCellProps = true;
    }
}

void TCellProperties::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TCellProperties *>(Source);
    if (!s)
        return;
    FIsBaseCell = s->FIsBaseCell;
    FCellSpanX = s->FCellSpanX;
    FCellSpanY = s->FCellSpanY;
    FOwnerRow = s->FOwnerRow;
    FOwnerCol = s->FOwnerCol;
    FObject = s->FObject;
    FAlignment = s->FAlignment;
    FBorderColor = s->FBorderColor;
    FBorderWidth = s->FBorderWidth;
    FBrushColor = s->FBrushColor;
    FBrushStyle = s->FBrushStyle;
    FFontColor = s->FFontColor;
    FFontStyle = s->FFontStyle;
    FFontName = s->FFontName;
    FFontSize = s->FFontSize;
    FReadOnly = s->FReadOnly;
    FEditor = s->FEditor;
    FVAlignment = s->FVAlignment;
    FWordWrap = s->FWordWrap;
    FNodeLevel = s->FNodeLevel;
    FControl = s->FControl;
}

void TCellProperties::RepaintOwnerCell()
{
    if (FOwnerGrid)
        FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value)
{
    FBrushColor = Value;
    RepaintOwnerCell();
}

void TCellProperties::SetBrushColorTo(TColor Value)
{
    FBrushColorTo = Value;
    RepaintOwnerCell();
}

void TCellProperties::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    RepaintOwnerCell();
}

void TCellProperties::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    RepaintOwnerCell();
}

// ---- construction ----

TBaseGrid::TBaseGrid(TComponent *AOwner) : TObjStringGrid(AOwner)
{
    SetGridLineWidth(1);
    SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid()
{
    Destroying();
    // The store keeps cells beyond the counts when the grid shrinks; their properties are ours too.
    FreeCellPropsRange(0, 0, INT_MAX - 1, std::max(RowCount(), Store().RowCount()) - 1);
}

void TBaseGrid::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent && AComponent == FUndoRedo)
        FUndoRedo = nullptr;
    TObjStringGrid::Notification(AComponent, Operation);
}

// ---- cells ----

UnicodeString TBaseGrid::GetCellEx(int ACol, int ARow)
{
    int bc = ACol, br = ARow;
    // Every properties object marks its grid when it is made, so a grid without the mark has
    // no merged cells to look up; the plain read then costs what the platform's does.
    if (FHasCellProps && CellHasProperties(ACol, ARow)) {
        TPoint b = PropsOf(ACol, ARow)->GetBaseCell(ACol, ARow);
        bc = b.X;
        br = b.Y;
    }
    UnicodeString result = TStringGrid::Cells(bc, br);
    if (br < FNormalRowCount) {
        DoGetDisplText(bc, br, result);
        if (OnGetDisplWideText) {
            UnicodeString wide = DecodeWideCellText(result);
            DoGetDisplWideText(bc, br, wide);
            result = EncodeWideCellText(wide);
        }
    }
    return result;
}

void TBaseGrid::SetCellEx(int ACol, int ARow, const UnicodeString &Value)
{
    if (CellHasProperties(ACol, ARow)) {
        TPoint b = PropsOf(ACol, ARow)->GetBaseCell(ACol, ARow);
        TStringGrid::SetCells(b.X, b.Y, Value);
        CellTextSet(b.X, b.Y);
        if (Parent())
            RepaintCell(ACol, ARow);
    } else {
        TStringGrid::SetCells(ACol, ARow, Value);
    }
    if (FHideLastRow && ARow == RowCount() - 1)
        HiddenLastRowChanged();
}

void TBaseGrid::DoGetDisplText(int ACol, int ARow, UnicodeString &Value)
{
    if (OnGetDisplText)
        OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::DoGetDisplWideText(int ACol, int ARow, UnicodeString &Value)
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDefaultCellProperties(int ACol, int ARow, TFont *AFont, TBrush *ABrush, TColor &AColorTo,
                                         TColor &AMirrorColor, TColor &AMirrorColorTo, TAlignment &HA,
                                         TVAlignment &VA, bool &WW, TCellGradientDirection &GD)
{
    AFont->Assign(Font());
    ABrush->SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    HA = taLeftJustify;
    VA = vtaTop;
    WW = FWordWrap;
    GD = GradientVertical;
}

void TBaseGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState &AState, bool Print, bool Select, bool Remap,
                                    TBrush *ABrush, TColor &AColorTo, TColor &AMirrorColor, TColor &AMirrorColorTo,
                                    TFont *AFont, TAlignment &HA, TVAlignment &VA, bool &WW,
                                    TCellGradientDirection &GD)
{
}

TCellProperties *TBaseGrid::EnsureProps(int c, int r, bool SetCalcType)
{
    if (TObject *o = TStringGrid::Objects(c, r))
        return static_cast<TCellProperties *>(o);
    auto owned = std::make_unique<TCellProperties>(this, c, r);
    TCellProperties *p = owned.get();
    TStringGrid::SetObjects(c, r, owned.release());
    TFont font;
    TBrush brush;
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetDefaultCellProperties(c, r, &font, &brush, colorTo, mirror, mirrorTo, ha, va, ww, gd);
    // The look is written to the fields: the setters would repaint a cell that is only being read.
    if (SetCalcType)
        p->FCalcType = acNONE;
    p->FAlignment = ha;
    p->FVAlignment = va;
    p->FWordWrap = ww;
    p->FFontName = font.Name();
    p->FFontSize = font.Size();
    p->FFontStyle = font.Style();
    p->FFontColor = font.Color();
    p->FBrushColor = brush.Color();
    p->FBrushColorTo = colorTo;
    p->FGradientDirection = gd;
    return p;
}

TCellProperties *TBaseGrid::CellProperties(int ACol, int ARow)
{
    if (!InsideGrid(ACol, ARow))
        throw EInvalidGridOperation(SCellOutsideGrid);
    return EnsureProps(ACol, ARow, true);
}

void TBaseGrid::SetCellProperties(int ACol, int ARow, TCellProperties *Value)
{
    if (!InsideGrid(ACol, ARow))
        return;
    TObject *old = TStringGrid::Objects(ACol, ARow);
    if (old == Value)
        return;
    TStringGrid::SetObjects(ACol, ARow, Value);
    delete old;
}

TObject *TBaseGrid::GetObjectEx(int ACol, int ARow) const
{
    if (!CellHasProperties(ACol, ARow))
        return nullptr;
    return reinterpret_cast<TObject *>(PropsOf(ACol, ARow)->CellObject());
}

void TBaseGrid::SetObjectEx(int ACol, int ARow, TObject *Value)
{
    if (!InsideGrid(ACol, ARow))
        return;
    // The raw text of the base cell decides, so that a display hook that shows nothing never
    // makes the stored text look empty and get erased.
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    const bool empty = Store().TextLength(bc, br) == 0;
    if (empty)
        SetCellEx(ACol, ARow, QStringLiteral(" "));
    EnsureProps(ACol, ARow, true)->SetCellObject(reinterpret_cast<NativeUInt>(Value));
    if (empty)
        SetCellEx(ACol, ARow, UnicodeString());
}

TObject *TBaseGrid::GraphicObjects(int ACol, int ARow) const
{
    if (!CellHasProperties(ACol, ARow))
        return nullptr;
    return PropsOf(ACol, ARow)->GraphicObject();
}

void TBaseGrid::SetGraphicObjects(int ACol, int ARow, TObject *Value)
{
    if (ComponentState().Contains(TComponentStateItem::csDestroying))
        return;
    if (!InsideGrid(ACol, ARow))
        return;
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    const bool empty = Store().TextLength(bc, br) == 0;
    if (empty)
        SetCellEx(ACol, ARow, QStringLiteral(" "));
    EnsureProps(ACol, ARow, false)->SetGraphicObject(Value);
    if (empty)
        SetCellEx(ACol, ARow, UnicodeString());
}

// ---- merged cells ----

bool TBaseGrid::ResolveBaseCell(int c, int r, int &BaseCol, int &BaseRow) const
{
    if (!CellHasProperties(c, r)) {
        BaseCol = c;
        BaseRow = r;
        return true;
    }
    TCellProperties *p = PropsOf(c, r);
    TPoint b = p->GetBaseCell(c, r);
    BaseCol = b.X;
    BaseRow = b.Y;
    return p->IsBaseCell();
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const
{
    if (!CellHasProperties(ACol, ARow))
        return {ACol, ARow};
    return PropsOf(ACol, ARow)->GetBaseCell(ACol, ARow);
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const
{
    if (!CellHasProperties(ACol, ARow))
        return {0, 0};
    TCellProperties *p = PropsOf(ACol, ARow);
    if (p->CellSpanX() == -1 || p->CellSpanY() == -1)
        return {0, 0};
    TPoint b = p->GetBaseCell(ACol, ARow);
    if (!CellHasProperties(b.X, b.Y))
        return {0, 0};
    TCellProperties *bp = PropsOf(b.X, b.Y);
    return {bp->CellSpanX(), bp->CellSpanY()};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const
{
    if (!CellHasProperties(ACol, ARow))
        return {0, 0};
    TCellProperties *p = PropsOf(ACol, ARow);
    if (p->CellSpanX() == -1 || p->CellSpanY() == -1)
        return {0, 0};
    TPoint b = p->GetBaseCell(ACol, ARow);
    TPoint s = CellSpan(ACol, ARow);
    return {b.X + s.X - ACol, b.Y + s.Y - ARow};
}

TRect TBaseGrid::FullCell(int c, int r) const
{
    TPoint b = BaseCell(c, r);
    TPoint s = CellSpan(c, r);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    return !CellHasProperties(ACol, ARow) || PropsOf(ACol, ARow)->IsBaseCell();
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    if (!CellHasProperties(ACol, ARow))
        return false;
    TCellProperties *p = PropsOf(ACol, ARow);
    return p->CellSpanX() > 0 || p->CellSpanY() > 0;
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !PropsOf(ACol, ARow)->IsBaseCell();
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    return CellHasProperties(ACol, ARow) && CellSpan(ACol, ARow).X > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    return CellHasProperties(ACol, ARow) && CellSpan(ACol, ARow).Y > 0;
}

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany)
{
    ++FMergeCount;
    if (spanx < 1 || spany < 1)
        return;
    // A range reaching past the grid is not merged: its cells would have no slots to hold it.
    const long long lastCol = (long long)c + spanx - 1, lastRow = (long long)r + spany - 1;
    if (!InsideGrid(c, r) || lastCol >= TotalColCount() || lastRow >= RowCount())
        return;
    for (int j = r; j <= int(lastRow); ++j)
        for (int i = c; i <= int(lastCol); ++i) {
            TCellProperties *p = EnsureProps(i, j, true);
            p->SetIsBaseCell(i == c && j == r);
            if (i == c && j == r) {
                p->SetCellSpanX(spanx - 1);
                p->SetCellSpanY(spany - 1);
            } else {
                p->SetCellSpanX(i - c);
                p->SetCellSpanY(j - r);
            }
        }
    for (int j = r; j <= int(lastRow); ++j)
        for (int i = c; i <= int(lastCol); ++i)
            RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int c, int r)
{
    if (InsideGrid(c, r)) {
        TPoint b = EnsureProps(c, r, true)->GetBaseCell(c, r);
        int sx = -1, sy = -1;
        if (InsideGrid(b.X, b.Y)) {
            TCellProperties *bp = EnsureProps(b.X, b.Y, true);
            sx = bp->CellSpanX();
            sy = bp->CellSpanY();
        }
        const int lastCol = std::min(b.X + sx, TotalColCount() - 1);
        const int lastRow = std::min(b.Y + sy, RowCount() - 1);
        for (int j = b.Y; j <= lastRow; ++j)
            for (int i = b.X; i <= lastCol; ++i) {
                if (!InsideGrid(i, j))
                    continue;
                TCellProperties *p = EnsureProps(i, j, true);
                p->SetIsBaseCell(true);
                p->SetCellSpanX(-1);
                p->SetCellSpanY(-1);
            }
        for (int j = b.Y; j <= lastRow; ++j)
            for (int i = b.X; i <= lastCol; ++i)
                RepaintCell(i, j);
    }
    --FMergeCount;
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int result = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        int s = CellSpan(c, ARow).Y;
        if (s > 0 && s < result)
            result = s;
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int result = 0;
    for (int c = 0; c < ColCount(); ++c)
        result = std::max(result, CellSpan(c, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool any = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            any = true;
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y)
                return false;
        }
    }
    return any;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool any = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int s1 = CellSpan(ACol1, r).X, s2 = CellSpan(ACol2, r).X;
        if (s1 > 0 && s2 > 0) {
            any = true;
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X)
                return false;
        } else if (s1 != s2) {
            return false;
        }
    }
    return any;
}

// ---- rectangles ----

TRect TBaseGrid::VirtualCellRect(int c, int r) const
{
    // Distances are walked from the first scrolling cell (or from 0 for a fixed one), so the
    // cost follows the distance from the view, not the index of the cell.
    auto axis = [](int index, int fixed, int first, auto extent) {
        long long pos = 0;
        if (index < fixed) {
            for (int i = 0; i < index; ++i)
                pos += extent(i);
        } else {
            for (int i = 0; i < fixed; ++i)
                pos += extent(i);
            if (index >= first)
                for (int i = first; i < index; ++i)
                    pos += extent(i);
            else
                for (int i = index; i < first; ++i)
                    pos -= extent(i);
        }
        return int(std::clamp<long long>(pos, INT_MIN / 2, INT_MAX / 2));
    };
    const int left = axis(c, FixedCols(), LeftCol(), [this](int i) { return ColWidths(i); });
    const int top = axis(r, FixedRows(), TopRow(), [this](int i) { return RowHeights(i); });
    return {left, top, left + ColWidths(c), top + RowHeights(r)};
}

TPoint TBaseGrid::LastCellOfRange(TPoint Base, TPoint Span) const
{
    // A range cut by a shrink of the counts ends at the last cell there is.
    return {std::clamp(Base.X + Span.X, 0, std::max(0, TotalColCount() - 1)),
            std::clamp(Base.Y + Span.Y, 0, std::max(0, RowCount() - 1))};
}

TRect TBaseGrid::CellRect(int c, int r) const
{
    if (CellHasProperties(c, r)) {
        TCellProperties *p = PropsOf(c, r);
        if (p->CellSpanX() != -1 || p->CellSpanY() != -1) {
            TPoint b = p->GetBaseCell(c, r);
            TPoint s = CellSpan(c, r);
            TRect r1 = VirtualCellRect(b.X, b.Y);
            if (r1.Width() == 0)
                r1.Right += 1;
            const TPoint e = LastCellOfRange(b, s);
            TRect r2 = VirtualCellRect(e.X, e.Y);
            if (r2.Width() == 0)
                r2.Left -= 1;
            return {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
                    std::max(r1.Bottom, r2.Bottom)};
        }
        if (p->Control())
            return VirtualCellRect(c, r);
    }
    TRect result = TStringGrid::CellRect(c, r);
    result.Right = result.Left + ColWidths(c);
    result.Bottom = result.Top + RowHeights(r);
    return result;
}

TPoint TBaseGrid::CellSize(int c, int r) const
{
    TRect u;
    if (CellHasProperties(c, r) && (PropsOf(c, r)->CellSpanX() != -1 || PropsOf(c, r)->CellSpanY() != -1)) {
        TPoint b = BaseCell(c, r);
        TPoint s = CellSpan(c, r);
        TRect r1 = VirtualCellRect(b.X, b.Y);
        const TPoint e = LastCellOfRange(b, s);
        TRect r2 = VirtualCellRect(e.X, e.Y);
        u = {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
             std::max(r1.Bottom, r2.Bottom)};
    } else {
        u = VirtualCellRect(c, r);
    }
    return {u.Width(), u.Height()};
}

void TBaseGrid::RepaintCell(int c, int r)
{
    if (!HandleAllocated())
        return;
    // A range wholly out of view needs no paint, and its rectangle would be walked out from the
    // view cell by cell.
    const TPoint b = BaseCell(c, r), s = CellSpan(c, r);
    auto inView = [](int first, int last, int fixed, int top, int visible) {
        return first < fixed || (last >= top && first <= top + visible);
    };
    if (!inView(b.Y, b.Y + s.Y, FixedRows(), TopRow(), VisibleRowCount()) ||
        !inView(b.X, b.X + s.X, FixedCols(), LeftCol(), VisibleColCount()))
        return;
    TRect rc = CellRect(c, r);
    ::InvalidateRect(Handle(), &rc, true);
}

// ---- current cell, keys and wheel ----

void TBaseGrid::SnapToBaseCell()
{
    if (!CellHasProperties(Col(), Row()))
        return;
    TPoint b = PropsOf(Col(), Row())->GetBaseCell(Col(), Row());
    if (b.X != Col())
        SetCol(b.X);
    if (b.Y != Row())
        SetRow(b.Y);
}

void TBaseGrid::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_NEXT && FHideLastRow && RowCount() > 1 &&
        VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1)
        SetRow(RowCount() - 2);
    if (CellHasProperties(Col(), Row())) {
        TCellProperties *p = PropsOf(Col(), Row());
        const bool nonBase = !p->IsBaseCell();
        TPoint b = p->GetBaseCell(Col(), Row());
        TCellProperties *bp = CellHasProperties(b.X, b.Y) ? PropsOf(b.X, b.Y) : nullptr;
        const int sx = bp ? bp->CellSpanX() : -1;
        const int sy = bp ? bp->CellSpanY() : -1;
        switch (Key) {
        case VK_RIGHT: {
            const int e = b.X + sx;
            if (e >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && e < ColCount())
                SetCol(e);
            break;
        }
        case VK_DOWN: {
            const int e = b.Y + sy;
            if (e >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1)
                SetRow(std::min(e, RowCount() - 1));
            break;
        }
        // From inside a range the step goes to the column before (the row above) the range, as
        // Right and Down go to the first one past it.
        case VK_LEFT:
            if (nonBase && b.X < Col() && b.X > FixedCols())
                SetCol(b.X);
            break;
        case VK_UP:
            if (nonBase && b.Y < Row() && b.Y > FixedRows())
                SetRow(b.Y);
            break;
        default:
            break;
        }
    }
    const bool pageDown = Key == VK_NEXT;
    TObjStringGrid::KeyDown(Key, Shift);
    // The platform's page step goes as far as the last row; a hidden last row is no place to be.
    if (pageDown && FHideLastRow && RowCount() > 1 && Row() == RowCount() - 1)
        SetRow(RowCount() - 2);
    SnapToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (FHideLastRow && Row() < RowCount() - 1 && VisibleRowCount() < Row() - TopRow())
        SetTopRow(TopRow() + 1);
    SnapToBaseCell();
    return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    SnapToBaseCell();
    return result;
}

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    if (RightToLeftGrid()) {
        bool result = TObjStringGrid::SelectCell(ACol, ARow);
        Invalidate();
        return result;
    }
    RepaintCell(Col(), Row());
    bool result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return result;
}

void TBaseGrid::TopLeftChanged()
{
    TObjStringGrid::TopLeftChanged();
    const int lastRow = std::min(TopRow() + VisibleRowCount(), RowCount() - 1);
    for (int c = 0; c < FixedCols(); ++c)
        for (int r = TopRow(); r <= lastRow; ++r)
            if (IsMergedCell(c, r))
                RepaintCell(c, r);
    const int lastCol = std::min(LeftCol() + VisibleColCount(), ColCount() - 1);
    for (int r = 0; r < FixedRows(); ++r)
        for (int c = LeftCol(); c <= lastCol; ++c)
            if (IsMergedCell(c, r))
                RepaintCell(c, r);
}

UnicodeString TBaseGrid::GetEditText(int ACol, int ARow)
{
    return TObjStringGrid::GetEditText(ACol, ARow);
}

void TBaseGrid::SetEditText(int ACol, int ARow, const UnicodeString &Value)
{
    TObjStringGrid::SetEditText(ACol, ARow, Value);
}

// ---- properties ----

void TBaseGrid::SetDefaultDrawing(bool Value)
{
    TObjStringGrid::SetDefaultDrawing(false);
    FDefaultDrawing = Value;
}

void TBaseGrid::SetGridLineWidth(int Value)
{
    FGridLineWidth = Value;
    TObjStringGrid::SetGridLineWidth(0);
    Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor Value)
{
    FGridLineColor = Value;
    Invalidate();
}

void TBaseGrid::SetGridFixedLineColor(TColor Value)
{
    FGridFixedLineColor = Value;
    Invalidate();
}

namespace {

template <typename T>
bool StoreIfChanged(T &Field, T Value)
{
    if (Field == Value)
        return false;
    Field = Value;
    return true;
}

} // namespace

void TBaseGrid::SetActiveRowShow(bool Value)
{
    if (StoreIfChanged(FActiveRowShow, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor Value)
{
    if (StoreIfChanged(FActiveRowColor, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowColorTo(TColor Value)
{
    if (StoreIfChanged(FActiveRowColorTo, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowMirrorColor(TColor Value)
{
    if (StoreIfChanged(FActiveRowMirrorColor, Value))
        Invalidate();
}

void TBaseGrid::SetActiveRowMirrorColorTo(TColor Value)
{
    if (StoreIfChanged(FActiveRowMirrorColorTo, Value))
        Invalidate();
}

void TBaseGrid::SetSelectionStyle(TGridSelectionStyle Value)
{
    if (StoreIfChanged(FSelectionStyle, Value))
        Invalidate();
}

void TBaseGrid::SetUndoRedo(TExtGridUndoRedo *Value)
{
    FUndoRedo = Value;
    if (Value) {
        Value->FreeNotification(this);
        Value->SetGrid(this);
    }
}

// ---- clearing helpers ----

void TBaseGrid::ResetColCells(int ACol)
{
    for (int r = 0; r < RowCount(); ++r) {
        if (TStringGrid::Objects(ACol, r))
            TStringGrid::SetObjects(ACol, r, nullptr);
        SetCellEx(ACol, r, UnicodeString());
    }
}

void TBaseGrid::ResetRowCells(int ARow)
{
    for (int c = 0; c < ColCount(); ++c) {
        if (TStringGrid::Objects(c, ARow))
            TStringGrid::SetObjects(c, ARow, nullptr);
        SetCellEx(c, ARow, UnicodeString());
    }
}

void TBaseGrid::ResetCell(int ACol, int ARow)
{
    SetCellEx(ACol, ARow, UnicodeString());
    if (TStringGrid::Objects(ACol, ARow))
        TStringGrid::SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::FreeCellPropsRange(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (!FHasCellProps)
        return;
    const TGridStore &store = Store();
    for (int r = std::max(0, ARow1); r <= ARow2; ++r) {
        // Only the cells a row holds can have an object; rows never written hold none.
        const int last = std::min(ACol2, store.RowLength(r) - 1);
        for (int c = std::max(0, ACol1); c <= last; ++c) {
            auto *p = static_cast<TCellProperties *>(TStringGrid::Objects(c, r));
            if (!p)
                continue;
            TObject *g = p->GraphicObject();
            if (g && g->ClassName() == QLatin1String("TCellGraphic"))
                delete g;
            // Rows and columns past the counts keep what they held: they are cleared in the
            // store, where no write check refuses them.
            if (c < ColCount() && r < RowCount())
                TStringGrid::SetObjects(c, r, nullptr);
            else
                Store().SetObject(c, r, nullptr);
            delete p;
        }
    }
}

void TBaseGrid::FreeCellObject(int ACol, int ARow)
{
    TObject *o = TStringGrid::Objects(ACol, ARow);
    if (!o)
        return;
    TStringGrid::SetObjects(ACol, ARow, nullptr);
    delete o;
}
