#include "dropdowns/ExtColorSelectors.h"

#include "platform/Windows.h"

#include <algorithm>

void TColorBoxItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TColorBoxItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetColor(s->Color());
    Enabled = s->Enabled;
}

void TColorBoxAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TColorBoxAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    BorderColor = s->BorderColor;
    OuterBorderColorHot = s->OuterBorderColorHot;
    InnerBorderColorHot = s->InnerBorderColorHot;
    OuterBorderColorSelected = s->OuterBorderColorSelected;
    InnerBorderColorSelected = s->InnerBorderColorSelected;
}

TCustomColorSelector::TCustomColorSelector(TComponent *AOwner)
    : TExtCustomColorSelectorPanel(AOwner), FColorBoxAppearance(std::make_unique<TColorBoxAppearance>()),
      FItems(std::make_unique<TColorBoxItems>(this))
{
    SetParentColor(true);
    SetItemColorStyle(scOffice2007);
}

TCustomColorSelector::~TCustomColorSelector() = default;

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value)
{
    if (FItemColorStyle == Value)
        return;
    FItemColorStyle = Value;
    if (Value == scCustom)
        return;
    TColorBoxAppearance *a = FColorBoxAppearance.get();
    a->OuterBorderColorSelected = 0x0000FF;
    a->InnerBorderColorSelected = 0x94E2FF;
    a->OuterBorderColorHot = 0x3694F2;
    a->InnerBorderColorHot = 0x94E2FF;
    a->BorderColor = 0xC5C5C5;
}

void TCustomColorSelector::FillPalette()
{
    static const unsigned palette[6][10] = {
        {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7},
        {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD},
        {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB},
        {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA},
        {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3},
        {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897},
    };
    static const TItemPos positions[6] = {ipStandAlone, ipTop, ipMiddle, ipMiddle, ipMiddle, ipBottom};
    FItems->Clear();
    for (int row = 0; row < 6; ++row)
        for (unsigned c : palette[row]) {
            TColorBoxItem *item = FItems->Add();
            item->SetColor(TColor(c));
            item->SetColorBoxPos(positions[row]);
        }
}

void TCustomColorSelector::CalcItemSize(TSize &Size)
{
    Size = {FColorBoxWidth, FColorBoxHeight};
}

void TCustomColorSelector::GetItemsRect(TRect &R)
{
    R = ClientRect();
    R.Left += OffSetX;
    R.Right -= OffSetX;
    R.Top += OffSetY;
    R.Bottom -= OffSetY;
}

void TCustomColorSelector::ArrangeItems()
{
    const int n = FItems->Count();
    if (n == 0) {
        SetBounds(Left(), Top(), 100, 50);
        return;
    }
    FItemHot = -1;
    TSize size{0, 0};
    CalcItemSize(size);
    const int W = size.cx, H = size.cy;
    TRect R;
    GetItemsRect(R);
    int X = R.Left, Y = R.Top, Col = 0, MaxX = 0;
    bool gapRow = false;
    for (int i = 0; i < n; ++i) {
        TColorBoxItem *item = FItems->Items(i);
        item->Rect = TRect(X, Y, X + W, Y + H);
        ++Col;
        if (i == n - 1)
            break;
        if (item->ColorBoxPos() == ipStandAlone)
            gapRow = true;
        if (Col < FColumns) {
            X += W + FColumnGap;
        } else {
            if (gapRow)
                Y += FColumnGap;
            gapRow = false;
            Y += H;
            MaxX = std::max(MaxX, X);
            X = R.Left;
            Col = 0;
        }
    }
    SetBounds(Left(), Top(), std::max(MaxX, X) + W + R.Left + 1, Y + H + R.Top);
    Invalidate();
}

void TCustomColorSelector::Paint()
{
    TExtCustomColorSelectorPanel::Paint();
    DrawItems(Canvas());
}

void TCustomColorSelector::DrawItems(TCanvas *Canvas)
{
    for (int i = 0; i < FItems->Count(); ++i)
        DrawItem(i, Canvas);
}

void TCustomColorSelector::DrawItem(int Index, TCanvas *Canvas)
{
    if (Index < 0 || Index >= FItems->Count() || !Canvas)
        return;
    TColorBoxItem *item = FItems->Items(Index);
    TRect R = item->Rect;
    if (R.Left < 0 && R.Right < 0)
        return;
    const TColorBoxAppearance *a = FColorBoxAppearance.get();
    TColor frame = a->BorderColor, inner = clNone;
    bool highlight = false;
    if (Index == FItemHot) {
        frame = a->OuterBorderColorHot;
        inner = a->InnerBorderColorHot;
        highlight = true;
    }
    if (Index == FItemIndex) {
        frame = a->OuterBorderColorSelected;
        inner = a->InnerBorderColorSelected;
        highlight = true;
    }
    if (item->Color() != clNone) {
        Canvas->Pen()->SetColor(item->Color());
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->Brush()->SetColor(item->Color());
        Canvas->Rectangle(R);
    }
    if (highlight) {
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        if (frame != clNone) {
            Canvas->Pen()->SetColor(frame);
            Canvas->Rectangle(R);
            R = TRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        }
        if (inner != clNone) {
            Canvas->Pen()->SetColor(inner);
            Canvas->Rectangle(R);
        }
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        return;
    }
    Canvas->Pen()->SetColor(frame);
    const int L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
    auto line = [Canvas](std::initializer_list<TPoint> Points) {
        auto it = Points.begin();
        Canvas->MoveTo(it->X, it->Y);
        for (++it; it != Points.end(); ++it)
            Canvas->LineTo(it->X, it->Y);
    };
    switch (item->ColorBoxPos()) {
    case ipStandAlone: line({{L, B}, {L, T}, {Rt, T}, {Rt, B}, {L, B}}); break;
    case ipTop: line({{L, B}, {L, T}, {Rt, T}, {Rt, B}}); break;
    case ipMiddle:
        line({{L, T}, {L, B}});
        line({{Rt, T}, {Rt, B}});
        break;
    case ipBottom:
        line({{L, T}, {L, B}, {Rt, B}});
        line({{Rt, T}, {Rt, B + 1}});
        break;
    }
}

void TCustomColorSelector::InvalidateItem(int Index)
{
    if (Index < 0 || Index >= FItems->Count() || !HandleAllocated())
        return;
    // The frame lines reach one pixel past the box.
    TRect r = FItems->Items(Index)->Rect;
    r = TRect(r.Left, r.Top, r.Right + 1, r.Bottom + 2);
    InvalidateRect(Handle(), &r, true);
}

void TCustomColorSelector::GetItemRect(int Index, TRect &R)
{
    if (Index < 0 || Index >= FItems->Count())
        R = TRect(-1, -1, -1, -1);
    else
        R = FItems->Items(Index)->Rect;
}

int TCustomColorSelector::ItemAtPos(int X, int Y)
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Rect.Contains(TPoint(X, Y)))
            return i;
    return -1;
}

void TCustomColorSelector::SetItemIndex(int Index)
{
    // An index past the boxes names none.
    if (Index >= FItems->Count())
        return;
    if (Index >= 0 && !FItems->Items(Index)->Enabled)
        return;
    if (FItemIndex >= 0 && Index != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Index;
    if (Index >= 0) {
        FSelectedColor = FItems->Items(Index)->Color();
        InvalidateItem(Index);
        if (OnItemSelect)
            OnItemSelect(this);
    }
}

void TCustomColorSelector::SetItemHot(int Index)
{
    if (Index == FItemHot)
        return;
    if (Index >= 0 && Index < FItems->Count() && !FItems->Items(Index)->Enabled)
        return;
    if (FItemHot >= 0) {
        const int old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = Index;
    if (Index >= 0)
        InvalidateItem(Index);
}

void TCustomColorSelector::SetSelectedColor(TColor Value)
{
    if (Value == FSelectedColor)
        return;
    FSelectedColor = Value;
    if (Value == clNone)
        SetItemIndex(-1);
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Color() == Value) {
            SetItemIndex(i);
            return;
        }
    SetItemIndex(-1);
}

void TCustomColorSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0 && FItems->Items(i)->Enabled)
        SetItemIndex(i);
}

void TCustomColorSelector::MouseMove(TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i < 0)
        SetItemHot(-1);
    else if (i != FItemHot)
        SetItemHot(FItems->Items(i)->Enabled ? i : -1);
}

void TCustomColorSelector::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TExtCustomColorSelectorPanel::MouseUp(Button, Shift, X, Y);
    if (OnShouldHide)
        OnShouldHide(this);
}

void TCustomColorSelector::CMMouseLeave(TCMMouseLeave &Message)
{
    TExtCustomColorSelectorPanel::CMMouseLeave(Message);
    SetItemHot(-1);
}

void TCustomColorSelector::SelectFirst()
{
    if (FItems->Count() > 0)
        SetItemIndex(0);
}

void TCustomColorSelector::SelectLast()
{
    if (FItems->Count() > 0)
        SetItemIndex(FItems->Count() - 1);
}

void TCustomColorSelector::SelectNext()
{
    if (FItemIndex + 1 < FItems->Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomColorSelector::SelectPrevious()
{
    if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomColorSelector::HotNext()
{
    if (FItemHot + 1 < FItems->Count())
        SetItemHot(FItemHot + 1);
}

void TCustomColorSelector::HotPrevious()
{
    if (FItemHot - 1 >= 0)
        SetItemHot(FItemHot - 1);
}

void TCustomColorSelector::HandleKey(Word Key, bool EditorEnabled, bool DroppedDown)
{
    if (!Enabled() || Key < VK_PRIOR || Key > VK_DOWN)
        return;
    const int n = FItems->Count();
    switch (Key) {
    case VK_PRIOR:
    case VK_HOME: SelectFirst(); break;
    case VK_NEXT:
    case VK_END: SelectLast(); break;
    case VK_LEFT:
        if (!EditorEnabled || DroppedDown)
            SelectPrevious();
        break;
    case VK_RIGHT:
        if (!EditorEnabled || DroppedDown)
            SelectNext();
        break;
    case VK_UP:
        if (!DroppedDown) {
            SelectPrevious();
        } else {
            const int i = FItemIndex < 0 ? 0 : FItemIndex - FColumns;
            if (i >= 0 && i < n)
                SetItemIndex(i);
        }
        break;
    case VK_DOWN:
        if (!DroppedDown) {
            SelectNext();
        } else {
            const int i = FItemIndex < 0 ? 0 : FItemIndex + FColumns;
            if (i < n)
                SetItemIndex(i);
        }
        break;
    default: break;
    }
}
