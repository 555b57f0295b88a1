#include "dropdowns/ExtItemSelector.h"

#include "controls/ExtDropDown.h"
#include "controls/ExtGridDraw.h"
#include "controls/MiniHTML.h"
#include "platform/Messages.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"

#include <algorithm>
#include <array>

// ---- items ----

TCaptionedPictureItem::TCaptionedPictureItem(TCollection *Collection) : TNotifyItem(Collection), FImage(std::make_unique<TPicture>())
{
}

TCaptionedPictureItem::~TCaptionedPictureItem() = default;

void TSelectorItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TSelectorItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(s->Caption());
    SetColor(s->Color());
    SetImageIndex(s->ImageIndex());
    FImage->Assign(s->Image());
    Enabled = s->Enabled;
    Hint = s->Hint;
}

// ---- appearance ----

namespace {

// Hot from / to, mirror hot from / to, selected from / to, mirror selected from / to, border,
// top border, bottom border, edge.
struct TItemColours {
    TColor Hot, HotTo, MirrorHot, MirrorHotTo, Selected, SelectedTo, MirrorSelected, MirrorSelectedTo, Border, Top,
        Bottom, Edge;
};

void LoadColours(TItemAppearance *A, const TItemColours &C)
{
    A->ColorHot = C.Hot;
    A->ColorHotTo = C.HotTo;
    A->ColorMirrorHot = C.MirrorHot;
    A->ColorMirrorHotTo = C.MirrorHotTo;
    A->ColorSelected = C.Selected;
    A->ColorSelectedTo = C.SelectedTo;
    A->ColorMirrorSelected = C.MirrorSelected;
    A->ColorMirrorSelectedTo = C.MirrorSelectedTo;
    A->BorderColor = C.Border;
    A->BorderColorTop = C.Top;
    A->BorderColorBottom = C.Bottom;
    A->EdgeColor = C.Edge;
}

constexpr TItemColours Office2007Selection{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xA6FFFB, 0x04B9F4,
                                           0x15C1FB, 0x68E3F9, 0x8DD7D3, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF};
constexpr TItemColours VistaSelection{0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFAEEDE, 0xFAE3B4,
                                      clNone,   clNone,   0xFDDE99, 0xFDFBF6, 0xFDF5E7, 0xFCEDCB};
constexpr TItemColours Windows7Selection{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xF9D8B9, 0xFBCAA2,
                                         clNone,   clNone,   0xCEA27D, 0xFDF4EB, 0xFDEADB, 0xE0C5AE};

constexpr TItemColours Office2003Items{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF,
                                       0x42AEFE, 0x7AE1FE, 0x42AEFE, clNone,   clNone,   clNone};
constexpr TItemColours Office2007Items{0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF,
                                       0x42AEFE, 0x7AE1FE, 0x42AEFE, 0xF4FEFF, 0xCAF8FF, 0xC3D9DF};
constexpr TItemColours ClassicItems{0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285,
                                    clNone,   clNone,   0x808080, clNone, clNone,   clNone};
constexpr TItemColours WindowsXPItems{0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone,
                                      clNone,   clNone,   clHighlight, clNone, clNone, clNone};
constexpr TItemColours TerminalItems{0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone,
                                     clNone,   clNone,   0x808080, clNone, clNone,   clNone};
// Office 2010: the orange of its hot and pressed buttons, without mirror halves.
constexpr TItemColours Office2010Items{0xD9F8FF, 0x8AE3FD, clNone, clNone, 0x8AE3FD, 0x6CD0FF,
                                       clNone,   clNone,   0x58CAF1, clNone, clNone,   clNone};

} // namespace

TItemAppearance::TItemAppearance(TPersistent *AOwner) : Owner(AOwner), FFont(std::make_unique<TFont>())
{
    FFont->SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
}

TItemAppearance::~TItemAppearance() = default;

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value)
{
    if (FColorStyle == Value)
        return;
    FColorStyle = Value;
    switch (Value) {
    case scOffice2007: LoadColours(this, Office2007Selection); break;
    case scWindowsVista: LoadColours(this, VistaSelection); break;
    case scWindows7: LoadColours(this, Windows7Selection); break;
    case scCustom: break;
    }
}

void TItemAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TItemAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    LoadColours(this, {s->ColorHot, s->ColorHotTo, s->ColorMirrorHot, s->ColorMirrorHotTo, s->ColorSelected,
                       s->ColorSelectedTo, s->ColorMirrorSelected, s->ColorMirrorSelectedTo, s->BorderColor,
                       s->BorderColorTop, s->BorderColorBottom, s->EdgeColor});
    FFont->Assign(s->Font());
    SetColorStyle(s->ColorStyle());
    ColorSelectedText = s->ColorSelectedText;
    ColorHotText = s->ColorHotText;
    BorderColorHot = s->BorderColorHot;
    BorderColorSelected = s->BorderColorSelected;
}

void SetItemAppearanceStyle(TItemAppearance *Appearance, TQRVStyle Style)
{
    if (!Appearance || Style == tsCustom)
        return;
    Appearance->BorderColorHot = clNone;
    Appearance->BorderColorSelected = clNone;
    Appearance->ColorSelectedText = clBlack;
    Appearance->ColorHotText = clBlack;
    switch (Style) {
    case tsOffice2003Blue:
    case tsOffice2003Silver:
    case tsOffice2003Olive:
    case tsWhidbey: LoadColours(Appearance, Office2003Items); break;
    case tsOffice2007Luna:
    case tsOffice2007Obsidian:
    case tsOffice2007Silver: LoadColours(Appearance, Office2007Items); break;
    case tsOffice2003Classic: LoadColours(Appearance, ClassicItems); break;
    case tsWindowsXP:
        LoadColours(Appearance, WindowsXPItems);
        Appearance->ColorSelectedText = clHighlightText;
        break;
    case tsTerminal:
        LoadColours(Appearance, TerminalItems);
        Appearance->ColorSelectedText = clHighlightText;
        break;
    case tsWindowsVista: LoadColours(Appearance, VistaSelection); break;
    case tsWindows7: LoadColours(Appearance, Windows7Selection); break;
    default: LoadColours(Appearance, Office2010Items); break;
    }
}

// ---- the container ----

TExtCustomItemSelector::TExtCustomItemSelector(TComponent *AOwner)
    : TScrollingWinControl(AOwner), FItems(std::make_unique<TSelectorItems>(this)),
      FItemAppearance(std::make_unique<TItemAppearance>(this))
{
    FItems->OnChange = [this](TObject *) { UpdateSelectorPanel(); };
    SetColor(clWindow);
    SetAutoScroll(true);
    CreateSelectorPanel();
    UpdateSelectorPanel();
}

TExtCustomItemSelector::~TExtCustomItemSelector()
{
    FItems->OnChange = nullptr;
}

void TExtCustomItemSelector::CreateSelectorPanel()
{
    if (FPanel)
        return;
    FPanel = new TCustomItemSelector(this);
    FPanel->SetParent(this);
    FPanel->OnItemSelect = [this](TObject *Sender) { PanelItemSelect(Sender); };
}

void TExtCustomItemSelector::PanelItemSelect(TObject *)
{
    if (OnItemSelect)
        OnItemSelect(this);
}

void TExtCustomItemSelector::Notification(TComponent *AComponent, TOperation Operation)
{
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPanel)
        FPanel = nullptr;
    if (Operation == TOperation::opRemove && FImages && AComponent == FImages && !ComponentState().Contains(TComponentStateItem::csDestroying))
        SetImages(nullptr);
}

void TExtCustomItemSelector::UpdateSelectorPanel()
{
    if (!FPanel)
        return;
    FPanel->ArrangeItems();
    UpdateScrollBars();
}

void TExtCustomItemSelector::SetColumns(int Value)
{
    if (Value <= 0 || Value == FColumns)
        return;
    FColumns = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetSelectorType(TSelectorType Value)
{
    if (Value == FSelectorType)
        return;
    FSelectorType = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetImages(TCustomImageList *Value)
{
    if (Value == FImages)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxWidth(int Value)
{
    if (Value == FColorBoxWidth)
        return;
    FColorBoxWidth = Value;
    UpdateSelectorPanel();
}

void TExtCustomItemSelector::SetColorBoxHeight(int Value)
{
    if (Value == FColorBoxHeight)
        return;
    FColorBoxHeight = Value;
    UpdateSelectorPanel();
}

int TExtCustomItemSelector::GetItemIndex() const
{
    return FPanel ? FPanel->ItemIndex() : -1;
}

int TExtCustomItemSelector::GetItemHot() const
{
    return FPanel ? FPanel->ItemHot() : -1;
}

void TExtCustomItemSelector::SetItemIndex(int Value)
{
    if (!FPanel)
        return;
    FPanel->SetItemIndex(Value);
    ScrollItemInView(FPanel->ItemIndex());
}

#define EXT_SELECTOR_STEP(Name, Follow)                                                                                \
    void TExtCustomItemSelector::Name()                                                                                \
    {                                                                                                                  \
        if (!FPanel)                                                                                                   \
            return;                                                                                                    \
        FPanel->Name();                                                                                                \
        ScrollItemInView(FPanel->Follow());                                                                            \
    }
EXT_SELECTOR_STEP(SelectFirst, ItemIndex)
EXT_SELECTOR_STEP(SelectLast, ItemIndex)
EXT_SELECTOR_STEP(SelectNext, ItemIndex)
EXT_SELECTOR_STEP(SelectPrevious, ItemIndex)
EXT_SELECTOR_STEP(HotNext, ItemHot)
EXT_SELECTOR_STEP(HotPrevious, ItemHot)
#undef EXT_SELECTOR_STEP

bool TExtCustomItemSelector::LookupItem(const UnicodeString &S)
{
    return FPanel && FPanel->LookupItem(S);
}

void TExtCustomItemSelector::ScrollItemInView(int Index)
{
    if (!FPanel || Index < 0 || Index >= FItems->Count() || !VertScrollBar()->IsScrollBarVisible())
        return;
    TRect R = FItems->Items(Index)->Rect;
    const int margin = VertScrollBar()->Margin();
    R.Top -= margin;
    R.Bottom += margin;
    OffsetRect(R, FPanel->Left(), FPanel->Top());
    TControlScrollBar *bar = VertScrollBar();
    if (R.Top < 0) {
        bar->SetPosition(bar->Position() + R.Top);
    } else if (R.Bottom > ClientHeight()) {
        if (R.Height() > ClientHeight())
            R.Bottom = R.Top + ClientHeight();
        bar->SetPosition(bar->Position() + R.Bottom - ClientHeight());
    }
}

int TExtCustomItemSelector::GetVisibleItemCount()
{
    if (!FPanel || FItems->Count() == 0)
        return 0;
    const int itemHeight = FItems->Items(0)->Rect.Height();
    // A zero-high item (an OnItemSize that gives none) would divide by zero.
    if (itemHeight <= 0)
        return 0;
    const int h = Height() - (HorzScrollBar()->IsScrollBarVisible() ? 20 : 0);
    return h / itemHeight * FColumns;
}

void TExtCustomItemSelector::GetPanelSize(TSize &Size)
{
    if (FPanel)
        Size = {FPanel->Width(), FPanel->Height()};
    else
        Size = {100, 50};
}

void TExtCustomItemSelector::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = 5;
}

void TExtCustomItemSelector::WMVScroll(TWMScroll &Message)
{
    TScrollingWinControl::WMVScroll(Message);
    // The list follows the thumb while it is dragged.
    if (Message.ScrollCode == SB_THUMBTRACK)
        VertScrollBar()->SetPosition(Message.Pos);
}

// ---- the panel ----

namespace {

TExtCustomItemSelector *SelectorOwner(TComponent *AOwner)
{
    auto *s = dynamic_cast<TExtCustomItemSelector *>(AOwner);
    if (!s)
        throw Exception(QStringLiteral("Invalid parent"));
    return s;
}

void DrawRichCaption(TCanvas *Canvas, const UnicodeString &Text, const TRect &R, TCustomImageList *Images,
                     bool Draw, TSize &Size)
{
    DrawHtmlText(Canvas, Text, R, Images, Draw, nullptr, Size);
}

bool HasOwnImage(TSelectorItem *Item)
{
    return Item->Image()->Graphic() && !Item->Image()->Graphic()->Empty();
}

} // namespace

TCustomItemSelector::TCustomItemSelector(TComponent *AOwner)
    : TCustomControl(SelectorOwner(AOwner)), FExtItemSelector(static_cast<TExtCustomItemSelector *>(AOwner))
{
    SetParentColor(true);
}

TSize TCustomItemSelector::PictureSize(TSelectorItem *Item)
{
    if (SelectorType() == stColor)
        return {ColorBoxWidth(), ColorBoxHeight()};
    if (HasOwnImage(Item))
        return {Item->Image()->Width(), Item->Image()->Height()};
    if (Images() && Item->ImageIndex() >= 0)
        return {Images()->Width(), Images()->Height()};
    return {0, 0};
}

void TCustomItemSelector::CalcItemSize(TSize &Size)
{
    if (FExtItemSelector->OnItemSize) {
        FExtItemSelector->OnItemSize(this, Size);
        return;
    }
    int PW = 0, PH = 0;
    if (SelectorType() == stColor) {
        PW = ColorBoxWidth();
        PH = ColorBoxHeight();
    } else {
        for (int i = 0; i < Items()->Count(); ++i) {
            const TSize s = PictureSize(Items()->Items(i));
            PW = std::max(PW, static_cast<int>(s.cx));
            PH = std::max(PH, static_cast<int>(s.cy));
        }
    }
    TBitmap probe(1, 1);
    TCanvas *C = probe.Canvas();
    C->Font()->Assign(FExtItemSelector->ItemAppearance()->Font());
    int TW = 0, TH = 0;
    for (int i = 0; i < Items()->Count(); ++i) {
        TSize s{0, 0};
        DrawRichCaption(C, Items()->Items(i)->Caption(), TRect(0, 0, 1000, 500), Images(), false, s);
        TW = std::max(TW, static_cast<int>(s.cx));
        TH = std::max(TH, static_cast<int>(s.cy));
    }
    if (TW > 0)
        TW += 4;
    switch (ItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
        Size.cx = 2 * ItemOffSetX + (PW > 0 ? PW : 0) + (TW > 0 && PW > 0 ? CaptionGap : 0) + (TW > 0 ? TW : 0);
        Size.cy = std::max(TH, PH) + 2 * ItemOffSetY;
        break;
    case ilCaptionTop:
    case ilCaptionBottom:
        Size.cx = std::max(TW, PW) + 2 * ItemOffSetX;
        Size.cy = 2 * ItemOffSetY + (PH > 0 ? PH : 0) + (TH > 0 && PH > 0 ? CaptionGap : 0) + (TH > 0 ? TH : 0);
        break;
    }
}

void TCustomItemSelector::GetItemsRect(TRect &R)
{
    R = ClientRect();
    R.Left += OffSetX;
    R.Right -= OffSetX;
    R.Top += OffSetY;
    R.Bottom -= OffSetY;
}

void TCustomItemSelector::ArrangeItems()
{
    const int n = Items()->Count();
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
    for (int i = 0; i < n; ++i) {
        Items()->Items(i)->Rect = TRect(X, Y, X + W, Y + H);
        ++Col;
        if (i == n - 1)
            break;
        if (Col < Columns()) {
            X += W;
        } else {
            MaxX = std::max(MaxX, X);
            Y += H;
            X = R.Left;
            Col = 0;
        }
    }
    SetBounds(Left(), Top(), std::max(MaxX, X) + W + R.Left, Y + H + R.Top);
    Invalidate();
}

void TCustomItemSelector::Paint()
{
    TCustomControl::Paint();
    DrawItems(Canvas());
}

void TCustomItemSelector::DrawItems(TCanvas *Canvas)
{
    for (int i = 0; i < Items()->Count(); ++i)
        DrawItem(i, Canvas);
}

void TCustomItemSelector::DrawItem(int Index, TCanvas *Canvas)
{
    if (Index < 0 || Index >= Items()->Count() || !Canvas || !FExtItemSelector)
        return;
    TSelectorItem *item = Items()->Items(Index);
    const TRect R = item->Rect;
    if (R.Left < 0 && R.Right < 0)
        return;
    TItemAppearance *A = FExtItemSelector->ItemAppearance();
    // 1. colours
    TColor border = A->BorderColor, top = A->BorderColorTop, bottom = A->BorderColorBottom, edge = A->EdgeColor;
    TColor from = clNone, to = clNone, mirror = clNone, mirrorTo = clNone;
    bool highlight = false;
    auto take = [&](TColor F, TColor T, TColor M, TColor MT, TColor B) {
        from = F, to = T, mirror = M, mirrorTo = MT;
        highlight = true;
        if (B != clNone) {
            border = B;
            top = bottom = edge = clNone;
        }
    };
    if (Index == FItemHot)
        take(A->ColorHot, A->ColorHotTo, A->ColorMirrorHot, A->ColorMirrorHotTo, A->BorderColorHot);
    if (Index == FItemIndex)
        take(A->ColorSelected, A->ColorSelectedTo, A->ColorMirrorSelected, A->ColorMirrorSelectedTo,
             A->BorderColorSelected);
    // 2. background
    if (!highlight)
        FillRectColor(Canvas, R, Color());
    else if (top == clNone)
        DrawGradientRect(Canvas, R, from, to, border, 1, true);
    else
        PaintStyledSelection(Canvas, from, to, mirror, mirrorTo, top, bottom, border, edge, Color(), R, 0);
    // 3. owner drawing
    if (FExtItemSelector->OnDrawItem) {
        FExtItemSelector->OnDrawItem(this, Canvas, R, Index);
        return;
    }
    // 4. - 7. picture and caption
    const TSize ps = PictureSize(item);
    const int PW = ps.cx, PH = ps.cy;
    TRect T(R.Left + ItemOffSetX, R.Top + ItemOffSetY, R.Right - ItemOffSetX, R.Bottom - ItemOffSetY);
    TRect P = T;
    Canvas->Font()->Assign(A->Font());
    if (Index == FItemHot)
        Canvas->Font()->SetColor(A->ColorHotText);
    if (Index == FItemIndex)
        Canvas->Font()->SetColor(A->ColorSelectedText);
    const UnicodeString caption = item->Caption();
    TCustomImageList *images = Images();
    // Draws the picture with its top-left corner at (X, Y); false when there is none.
    auto picture = [&](int X, int Y) {
        if (SelectorType() == stColor) {
            P.Right = P.Left + PW;
            P.Bottom = P.Top + PH;
            Canvas->Pen()->SetColor(clBlack);
            Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
            Canvas->Brush()->SetColor(item->Color());
            Canvas->Rectangle(P);
            return true;
        }
        if (HasOwnImage(item)) {
            Canvas->Draw(X, Y, item->Image()->Graphic());
            return true;
        }
        if (images && item->ImageIndex() >= 0) {
            images->Draw(Canvas, X, Y, item->ImageIndex(), item->Enabled);
            return true;
        }
        return false;
    };
    TSize ts{0, 0};
    auto measureAndCentre = [&] {
        DrawRichCaption(Canvas, caption, T, images, false, ts);
        if (ts.cy < T.Height())
            T.Top += (T.Height() - ts.cy) / 2;
    };
    auto drawCaption = [&] {
        TSize s{0, 0};
        Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        DrawRichCaption(Canvas, caption, T, images, true, s);
    };
    switch (ItemLayout()) {
    case ilCaptionLeft:
        if (!caption.isEmpty()) {
            T.Right -= PW;
            measureAndCentre();
            drawCaption();
            P.Left = T.Left + ts.cx + CaptionGap;
        }
        if (SelectorType() == stColor)
            picture(P.Left, P.Top);
        else
            picture(P.Left, P.Top + (P.Height() - PH) / 2);
        break;
    case ilCaptionRight:
        if (SelectorType() == stColor) {
            picture(P.Left, P.Top);
            T.Left = P.Left + PW + CaptionGap;
        } else if (picture(P.Left, P.Top + (P.Height() - PH) / 2)) {
            T.Left = P.Left + PW + CaptionGap;
        }
        if (!caption.isEmpty()) {
            measureAndCentre();
            drawCaption();
        }
        break;
    case ilCaptionTop:
        if (!caption.isEmpty()) {
            T.Bottom -= PH;
            DrawRichCaption(Canvas, caption, T, images, false, ts);
            drawCaption();
            P.Top = T.Top + ts.cy + CaptionGap;
        } else {
            P.Top += (P.Height() - PH) / 2;
        }
        P.Left += (P.Width() - PW) / 2;
        picture(P.Left, P.Top);
        break;
    case ilCaptionBottom:
        if (caption.isEmpty())
            P.Top += (P.Height() - PH) / 2;
        P.Left += (P.Width() - PW) / 2;
        if (picture(P.Left, P.Top))
            T.Top = P.Top + PH + CaptionGap;
        if (!caption.isEmpty())
            drawCaption();
        break;
    }
}

void TCustomItemSelector::InvalidateItem(int Index)
{
    if (Index < 0 || Index >= Items()->Count() || !HandleAllocated())
        return;
    const TRect r = Items()->Items(Index)->Rect;
    InvalidateRect(Handle(), &r, true);
}

void TCustomItemSelector::GetItemRect(int Index, TRect &R)
{
    if (Index < 0 || Index >= Items()->Count())
        R = TRect(-1, -1, -1, -1);
    else
        R = Items()->Items(Index)->Rect;
}

int TCustomItemSelector::ItemAtPos(int X, int Y)
{
    for (int i = 0; i < Items()->Count(); ++i)
        if (Items()->Items(i)->Rect.Contains(TPoint(X, Y)))
            return i;
    return -1;
}

void TCustomItemSelector::SetItemIndex(int Value)
{
    const int n = Items()->Count();
    // An index at or past the count names no item: selecting it would report an item that
    // does not exist.
    if (Value >= n)
        return;
    if (Value >= 0 && !Items()->Items(Value)->Enabled)
        return;
    if (FItemIndex >= 0 && Value != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Value;
    if (Value >= 0) {
        InvalidateItem(Value);
        if (OnItemSelect)
            OnItemSelect(this);
    }
}

void TCustomItemSelector::SetItemHot(int Index)
{
    if (Index == FItemHot)
        return;
    if (Index >= 0 && Index < Items()->Count() && !Items()->Items(Index)->Enabled)
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

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0 && Items()->Items(i)->Enabled)
        SetItemIndex(i);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const int i = ItemAtPos(X, Y);
    if (i >= 0) {
        if (i != FItemHot) {
            TSelectorItem *item = Items()->Items(i);
            SetItemHot(item->Enabled ? i : -1);
            SetHint(item->Hint);
            Application->CancelHint();
        }
    } else if (FItemHot >= 0) {
        SetItemHot(-1);
    }
}

void TCustomItemSelector::CMMouseLeave(TCMMouseLeave &Message)
{
    TCustomControl::CMMouseLeave(Message);
    if (FItemHot >= 0)
        SetItemHot(-1);
}

void TCustomItemSelector::SelectFirst()
{
    if (Items()->Count() > 0)
        SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    if (Items()->Count() > 0)
        SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext()
{
    if (Items()->Count() == 0)
        return;
    const int i = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (i < Items()->Count())
        SetItemIndex(i);
}

void TCustomItemSelector::SelectPrevious()
{
    if (Items()->Count() == 0)
        return;
    const int i = FItemIndex < 0 ? 0 : FItemIndex - 1;
    if (i >= 0)
        SetItemIndex(i);
}

void TCustomItemSelector::HotNext()
{
    if (Items()->Count() == 0)
        return;
    const int i = FItemHot < 0 ? 0 : FItemHot + 1;
    if (i < Items()->Count())
        SetItemHot(i);
}

void TCustomItemSelector::HotPrevious()
{
    if (Items()->Count() == 0)
        return;
    const int i = FItemHot < 0 ? 0 : FItemHot - 1;
    if (i >= 0)
        SetItemHot(i);
}

bool TCustomItemSelector::LookupItem(const UnicodeString &S)
{
    for (int i = 0; i < Items()->Count(); ++i) {
        const UnicodeString text = CaseFoldText(Trim(StripHtmlTags(Items()->Items(i)->Caption())), false);
        if (text.startsWith(S)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

// ---- type-ahead ----

TSelectorSearch::TSelectorSearch(TComponent *AOwner) : FKeyTimer(new TTimer(AOwner))
{
    FKeyTimer->SetEnabled(false);
    FKeyTimer->SetInterval(500);
    FKeyTimer->OnTimer = [this](TObject *) {
        FKeyTimer->SetEnabled(false);
        FText.clear();
    };
}

TSelectorSearch::~TSelectorSearch()
{
    FKeyTimer->SetEnabled(false);
    delete FKeyTimer;
}

const UnicodeString &TSelectorSearch::Add(Word Key)
{
    FText += QChar(char16_t(Key));
    FKeyTimer->SetEnabled(true);
    return FText;
}

// ---- drop-downs with a selector ----

void FitPopupToSelector(TExtCustomDropDown *Edit, TExtCustomItemSelector *Selector)
{
    Selector->SetAlign(alNone);
    TSize s;
    Selector->GetPanelSize(s);
    if (Edit->DropDownWidth() < 1)
        Selector->SetWidth(s.cx);
    if (Edit->DropDownHeight() < 1)
        Selector->SetHeight(s.cy);
    Edit->TExtCustomDropDown::SizeDropDownForm();
    if (Selector->VertScrollBar()->IsScrollBarVisible() && Edit->DropDownForm())
        Edit->DropDownForm()->SetWidth(Edit->DropDownForm()->Width() + GetSystemMetrics(SM_CXVSCROLL));
}

TExtSelectorDropDown::TExtSelectorDropDown(TComponent *AOwner)
    : TExtCustomDropDown(AOwner), FItemAppearance(std::make_unique<TItemAppearance>(this))
{
    SetDropDownEnabled(true);
}

TExtSelectorDropDown::~TExtSelectorDropDown()
{
    FSearch.KeyTimer()->SetEnabled(false);
    // The popup and the selector outlive this part of the object.
    if (FItemSelector) {
        FItemSelector->OnItemSelect = nullptr;
        FItemSelector->OnDrawItem = nullptr;
        FItemSelector->OnItemSize = nullptr;
        FItemSelector->OnResize = nullptr;
    }
}

bool TExtSelectorDropDown::CreateSelector()
{
    if (FItemSelector || !DropDownForm())
        return false;
    FItemSelector = new TExtCustomItemSelector(this);
    FItemSelector->SetParent(DropDownForm());
    FItemSelector->SetSelectorType(stImage);
    FItemSelector->SetBounds(0, 0, FItemSelector->Width(), 150);
    return true;
}

void TExtSelectorDropDown::ShowSelector()
{
    if (!FItemSelector)
        return;
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->UpdateSelectorPanel();
    SetControl(FItemSelector);
}

void TExtSelectorDropDown::LoadItemSelector(int Columns, TItemLayout Layout)
{
    if (!FItemSelector)
        return;
    FItemSelector->OnItemSelect = nullptr;
    FItemSelector->SetColumns(Columns);
    FItemSelector->SetImages(Images());
    FItemSelector->SetItemLayout(Layout);
    FItemSelector->SetColor(DropDownColor());
    FItemSelector->ItemAppearance()->Assign(FItemAppearance.get());
    FillItemSelector();
    FItemSelector->UpdateSelectorPanel();
    FItemSelector->SetItemIndex(FItemIndex);
    FItemSelector->OnItemSelect = [this](TObject *Sender) { ItemSelectorSelect(Sender); };
}

void TExtSelectorDropDown::ItemSelectorSelect(TObject *)
{
    SelectorChosen();
    if (!FInternalCall)
        DoHideDropDown(false);
}

void TExtSelectorDropDown::MoveTo(int V)
{
    if (!FItemSelector || V >= FItemSelector->Items()->Count())
        return;
    Internally([&] { FItemSelector->SetItemIndex(V); });
}

void TExtSelectorDropDown::PageMove(bool Up, TItemLayout Layout, int Columns)
{
    if (!FItemSelector)
        return;
    if (FItemSelector->Items()->Count() != ItemCount())
        LoadItemSelector(Columns, Layout);
    const int n = FItemSelector->GetVisibleItemCount();
    if (n < 1)
        return;
    const int cur = FItemSelector->ItemIndex();
    if (Up) {
        MoveTo(std::max(cur - n, 0));
    } else {
        const int v = std::min(cur + n, ItemCount() - 1);
        if (v >= 0)
            MoveTo(v);
    }
}

void TExtSelectorDropDown::AddSearchKey(Word Key)
{
    if (!FItemSelector)
        return;
    const UnicodeString &s = FSearch.Add(Key);
    Internally([&] { FItemSelector->LookupItem(s); });
}

void TExtSelectorDropDown::SelectFirst()
{
    if (ItemCount() > 0)
        SetItemIndex(0);
}

void TExtSelectorDropDown::SelectLast()
{
    if (ItemCount() > 0)
        SetItemIndex(ItemCount() - 1);
}

void TExtSelectorDropDown::SelectNext()
{
    if (ItemCount() == 0)
        return;
    const int i = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (i < ItemCount())
        SetItemIndex(i);
}

void TExtSelectorDropDown::SelectPrevious()
{
    if (ItemCount() == 0)
        return;
    const int i = FItemIndex < 0 ? 0 : FItemIndex - 1;
    if (i >= 0)
        SetItemIndex(i);
}

void TExtSelectorDropDown::DropDownDestroyed()
{
    TExtCustomDropDown::DropDownDestroyed();
    if (!ComponentState().Contains(TComponentStateItem::csDestroying))
        FItemSelector = nullptr;
}

void TExtSelectorDropDown::SetSelectionColorStyle(TSelectionColorStyle Value)
{
    TExtCustomDropDown::SetSelectionColorStyle(Value);
    if (FItemSelector)
        FItemSelector->ItemAppearance()->SetColorStyle(Value);
}

void TExtSelectorDropDown::SetComponentStyle(TQRVStyle AStyle)
{
    TExtCustomDropDown::SetComponentStyle(AStyle);
    SetItemAppearanceStyle(FItemAppearance.get(), AStyle);
}
