// The thin scroll indicators of the metro scroll type, and the drag picture of a moved header.

#include "grid/core/ExtGrid.h"

#include "controls/MiniHTML.h"
#include "platform/WinGdi.h"

#include <algorithm>
#include <cmath>

namespace {

// Rounds to the nearest integer, halves to the even one.
int RoundEven(double Value) { return int(std::nearbyint(Value)); }

} // namespace

TScrollControl::TScrollControl(TComponent *AOwner) : TCustomControl(AOwner) {}

TExtStringGrid *TScrollControl::Grid() const { return dynamic_cast<TExtStringGrid *>(Parent()); }

void TScrollControl::SetColor(TColor Value)
{
    if (FColor == Value)
        return;
    FColor = Value;
    Invalidate();
}

bool TScrollControl::Thumb(int &Pos, int &Size)
{
    TExtStringGrid *g = Grid();
    if (!g)
        return false;
    const bool vert = FDirection == sdVertical;
    const int count = vert ? g->RowCount() : g->ColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int tail = vert ? g->FixedFooters() : g->FixedRightCols();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int first = vert ? g->TopRow() : g->LeftCol();
    // A grid without lines to scroll has no thumb (and nothing to divide by).
    if (count - fixed <= 0 || visible >= count - fixed)
        return false;
    auto extent = [&](int i) { return vert ? g->RowHeights(i) : g->ColWidths(i); };
    const int length = vert ? Height() : Width();
    int offset = 0;
    for (int i = 0; i < fixed; ++i)
        offset += extent(i);
    int track = length - offset;
    for (int i = std::max(fixed, count - tail); i < count; ++i)
        track -= extent(i);
    Pos = offset + RoundEven(double(track) * (first - fixed) / (count - fixed));
    Size = std::max(20, RoundEven(double(track) * visible / count));
    if (Pos + Size > length)
        Pos = length - Size;
    return true;
}

void TScrollControl::Paint()
{
    // The grid shows through: only the thumb is the indicator's own.
    PaintParentBackground(this, Canvas());
    int pos = 0, size = 0;
    if (Thumb(pos, size))
        PaintThumb(Canvas(), pos, size);
}

void TScrollControl::PaintThumb(TCanvas *c, int pos, int size)
{
    c->Pen()->SetColor(FColor);
    c->Brush()->SetColor(FColor);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (FDirection == sdVertical)
        c->Rectangle(0, pos, FScrollWidth, pos + size);
    else
        c->Rectangle(pos, 0, pos + size, FScrollWidth);
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TExtStringGrid *g = Grid();
    int pos = 0, size = 0;
    if (!g || !Thumb(pos, size))
        return;
    const bool vert = FDirection == sdVertical;
    const int at = vert ? Y : X;
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int count = vert ? g->RowCount() : g->ColCount();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int first = vert ? g->TopRow() : g->LeftCol();
    auto setFirst = [&](int v) {
        if (vert)
            g->SetTopRow(v);
        else
            g->SetLeftCol(v);
    };
    if (at < pos) {
        setFirst(std::max(fixed, first - visible));
    } else if (at >= pos + size) {
        setFirst(std::min(first + visible, count - visible));
    } else {
        FDownOnScroller = true;
        FDownPos = at;
        FDownRow = first;
    }
    Invalidate();
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    TExtStringGrid *g = Grid();
    if (!FDownOnScroller || !g)
        return;
    const bool vert = FDirection == sdVertical;
    // The drag's scale is the control less the first line; an indicator no longer than that
    // line has no scale.
    const int scale = vert ? Height() - g->RowHeights(0) : Width() - g->ColWidths(0);
    if (scale <= 0)
        return;
    const int count = vert ? g->RowCount() : g->ColCount();
    const int fixed = vert ? g->FixedRows() : g->FixedCols();
    const int visible = vert ? g->VisibleRowCount() : g->VisibleColCount();
    const int at = vert ? Y : X;
    const int v = std::max(fixed, std::min(RoundEven(double(at - FDownPos) / scale * count) + FDownRow,
                                           count - visible));
    if (vert)
        g->SetTopRow(v);
    else
        g->SetLeftCol(v);
    Invalidate();
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDownOnScroller = false;
}

// ---- the drag picture of a header -------------------------------------------------------------

THeaderDragButton::THeaderDragButton(TComponent *AOwner) : TCustomControl(AOwner) { SetColor(clBtnFace); }

void THeaderDragButton::CreateParams(TCreateParams &Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = (Params.Style & ~DWORD(WS_CHILD)) | WS_POPUP | WS_BORDER;
}

void THeaderDragButton::Paint()
{
    TCanvas *c = Canvas();
    TRect r = ClientRect();
    if (Grid)
        Grid->PaintCellExt(c, 0, 0, r, TGridDrawState{gdFixed});
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    const UnicodeString caption = Caption();
    if (!caption.contains(QStringLiteral("</"))) {
        DrawText(c->Handle(), caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        return;
    }
    THtmlRenderParams p;
    p.Canvas = c;
    p.Text = caption;
    p.Rect = r;
    if (Grid)
        p.Images = dynamic_cast<TCustomImageList *>(Grid->GetGridImageList());
    RenderHtmlText(p);
}
