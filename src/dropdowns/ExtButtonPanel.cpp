#include "dropdowns/ExtButtonPanel.h"

#include "controls/ExtDropDown.h"
#include "platform/ExtCtrlsPanels.h"
#include "platform/UxTheme.h"
#include "platform/WinGdi.h"

#include <algorithm>

// ---- TButtonItem ----

TButtonItem::TButtonItem(TCollection *Collection) : TCollectionItem(Collection), FImage(std::make_unique<TPicture>())
{
}

TButtonItem::~TButtonItem() = default;

void TButtonItem::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TButtonItem *>(Source);
    if (!s) {
        TCollectionItem::Assign(Source);
        return;
    }
    Caption = s->Caption;
    CaptionColor = s->CaptionColor;
    Tag = s->Tag;
    ImageIndex = s->ImageIndex;
    FImage->Assign(s->FImage.get());
    Enabled = s->Enabled;
    Name = s->Name;
}

TButtonItems::TButtonItems(TPersistent *AOwner) : TCollection(CollectionItemClass<TButtonItem>()), FOwner(AOwner) {}

// ---- TButtonAppearance ----

TButtonAppearance::TButtonAppearance() : FFont(std::make_unique<TFont>())
{
    FFont->SetSize(10);
    FFont->SetStyle(TFontStyles{TFontStyle::fsBold});
}

TButtonAppearance::~TButtonAppearance() = default;

void TButtonAppearance::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TButtonAppearance *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FBorderColor = s->FBorderColor;
    FBorderColorHot = s->FBorderColorHot;
    FBorderColorDown = s->FBorderColorDown;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorDown = s->FColorDown;
    FColorDownTo = s->FColorDownTo;
    FColorHot = s->FColorHot;
    FColorHotTo = s->FColorHotTo;
    FGlowColorHot = s->FGlowColorHot;
    FGlowColorDown = s->FGlowColorDown;
    FTextColor = s->FTextColor;
    FSpecialTextColor = s->FSpecialTextColor;
    FShineColor = s->FShineColor;
    FFont->Assign(s->FFont.get());
}

// ---- TCustomButtonPanel ----

TCustomButtonPanel::TCustomButtonPanel(TComponent *AOwner)
    : TCustomControl(AOwner), FButtons(std::make_unique<TButtonItems>(this)),
      FAppearance(std::make_unique<TButtonAppearance>())
{
    SetDoubleBuffered(true);
    FButtons->OnChange = [this](TObject *Sender) { ButtonsChanged(Sender); };
    FAppearance->OnChange = [this](TObject *Sender) { ButtonsChanged(Sender); };
}

TCustomButtonPanel::~TCustomButtonPanel() = default;

void TCustomButtonPanel::ButtonsChanged(TObject *)
{
    if (!FHost)
        Invalidate();
}

void TCustomButtonPanel::SetImages(TCustomImageList *Value)
{
    FImages = Value;
    if (FImages)
        FImages->FreeNotification(this);
    ArrangeButtons();
}

void TCustomButtonPanel::SetButtonPanelType(TButtonPanelType Value)
{
    FButtonPanelType = Value;
    ArrangeButtons();
}

void TCustomButtonPanel::Notification(TComponent *AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImages &&
        !ComponentState().Contains(TComponentStateItem::csDestroying)) {
        FImages = nullptr;
        ArrangeButtons();
    }
}

void TCustomButtonPanel::Loaded()
{
    if (!FHost)
        BuildButtons();
}

void TCustomButtonPanel::ResetButtons()
{
    ClearButtons();
    BuildButtons();
}

void TCustomButtonPanel::BuildButtons()
{
    if (FButtons->Count() > 0)
        return;
    if (FButtonPanelType == plCalculator) {
        struct TKey {
            const char *Caption;
            int Tag;
            bool Special;
        };
        static constexpr TKey Keys[] = {
            {"", 30, false},     {"Back", 31, true}, {"CE", 32, true}, {"C", 16, true},   {"MC", 33, true},
            {"MR", 34, true},    {"MS", 35, true},   {"M+", 36, true}, {"0", 0, false},   {"1", 1, false},
            {"4", 4, false},     {"7", 7, false},    {"8", 8, false},  {"5", 5, false},   {"2", 2, false},
            {"+/-", 14, false},  {".", 15, false},   {"3", 3, false},  {"6", 6, false},   {"9", 9, false},
            {"/", 13, true},     {"*", 12, true},    {"-", 11, true},  {"+", 10, true},   {"=", 17, true},
            {"1/x", 38, false},  {"%", 18, false},   {"sqrt", 37, true},
        };
        for (const TKey &k : Keys) {
            TButtonItem *b = FButtons->Add();
            b->Caption = UnicodeString::fromLatin1(k.Caption);
            b->Name = k.Tag == 30 ? QStringLiteral("BTN_ON") : QStringLiteral("BTN_") + b->Caption;
            b->Tag = k.Tag;
            b->Special = k.Special;
            b->CaptionColor = k.Special ? clMaroon : clWhite;
        }
    }
    ArrangeButtons();
}

void TCustomButtonPanel::GetButtonArea(TRect &R)
{
    R = ClientRect();
    InflateRect(R, -OuterX, -OuterY);
}

void TCustomButtonPanel::ArrangeButtons()
{
    if (FButtons->Count() == 0 || FButtonPanelType != plCalculator)
        return;
    TRect A;
    GetButtonArea(A);
    constexpr int g = 4;
    const int W = (A.Right - A.Left - 2 * g) / 6;
    const int H = (A.Bottom - A.Top - g) / 5;
    int r[5], c[6];
    r[0] = A.Top;
    r[1] = r[0] + H + g;
    r[2] = r[1] + H - 1;
    r[3] = r[2] + H - 1;
    r[4] = r[3] + H - 1;
    c[0] = A.Left;
    c[1] = c[0] + W + g;
    c[2] = c[1] + W - 1;
    c[3] = c[2] + W - 1;
    c[4] = c[3] + W + g;
    c[5] = c[4] + W - 1;
    auto place = [&](int Index, int X, int Y, int Width) {
        if (!ValidIndex(Index))
            return;
        TButtonItem *b = FButtons->Items(Index);
        b->Left = X;
        b->Top = Y;
        b->Width = Width;
        b->Height = H;
    };
    // Key index by row and column below the top row.
    static constexpr int Grid[4][6] = {
        {4, 11, 12, 19, 20, 27}, {5, 10, 13, 18, 21, 26}, {6, 9, 14, 17, 22, 25}, {7, 8, 15, 16, 23, 24}};
    place(0, c[0], r[0], W);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 6; ++col)
            place(Grid[row][col], c[col], r[row + 1], W);
    const int x0 = c[1];
    const int R = c[5] + W;
    const int W3 = (R - x0 - 2 * g) / 3;
    place(1, x0, r[0], W3);
    place(2, x0 + W3 + g, r[0], W3);
    const int cLeft = x0 + 2 * (W3 + g);
    place(3, cLeft, r[0], R - cLeft);
}

void TCustomButtonPanel::CalcButtonSize(TSize &Size)
{
    Canvas()->Font()->Assign(Font());
    int iw = 0, ih = 0, cw = 0, ch = 0;
    for (int i = 0; i < FButtons->Count(); ++i) {
        TButtonItem *b = FButtons->Items(i);
        if (b->Image()->Graphic() && !b->Image()->Graphic()->Empty()) {
            iw = std::max(iw, b->Image()->Width());
            ih = std::max(ih, b->Image()->Height());
        } else if (b->ImageIndex >= 0 && FImages) {
            iw = std::max(iw, FImages->Width());
            ih = std::max(ih, FImages->Height());
        }
        TSize t{0, 0};
        MeasureTextSize(Canvas(), b->Caption, t);
        cw = std::max(cw, int(t.cx));
        ch = std::max(ch, int(t.cy));
    }
    if (ButtonLayout == ilCaptionLeft || ButtonLayout == ilCaptionRight) {
        Size.cx = 2 * InnerX + iw + cw;
        Size.cy = std::max(ih, ch) + 2 * InnerY;
    } else {
        Size.cx = std::max(iw, cw) + 2 * InnerX;
        Size.cy = 2 * InnerY + ih + ch;
    }
}

int TCustomButtonPanel::ButtonAtPos(int X, int Y) const
{
    for (int i = 0; i < FButtons->Count(); ++i) {
        const TRect r = FButtons->Items(i)->Rect();
        if (X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom)
            return i;
    }
    return -1;
}

TRect TCustomButtonPanel::GetButtonRect(int Index) const
{
    if (!ValidIndex(Index))
        return TRect(-1, -1, -1, -1);
    return FButtons->Items(Index)->Rect();
}

void TCustomButtonPanel::InvalidateButton(int Index)
{
    if (!ValidIndex(Index) || !HandleAllocated())
        return;
    TRect r = GetButtonRect(Index);
    InflateRect(r, 8, 8);
    InvalidateRect(Handle(), &r, true);
}

void TCustomButtonPanel::SetButtonHot(int Index)
{
    if (Index == FHot || (ValidIndex(Index) && !FButtons->Items(Index)->Enabled))
        return;
    if (FHot >= 0) {
        const int old = FHot;
        FHot = -1;
        InvalidateButton(old);
    }
    FHot = Index;
    if (FHot >= 0 && HandleAllocated())
        DrawButton(FHot, Canvas());
}

void TCustomButtonPanel::SetButtonDown(int Index)
{
    if (Index == FDown || (ValidIndex(Index) && !FButtons->Items(Index)->Enabled))
        return;
    if (FDown >= 0) {
        const int old = FDown;
        FDown = -1;
        InvalidateButton(old);
    }
    FDown = Index;
    if (FDown >= 0 && HandleAllocated())
        DrawButton(FDown, Canvas());
}

void TCustomButtonPanel::DoButtonClick(int Index)
{
    if (OnButtonClick)
        OnButtonClick(this, Index);
}

void TCustomButtonPanel::DrawButton(int Index, TCanvas *ACanvas)
{
    if (!ValidIndex(Index) || !ACanvas)
        return;
    TButtonItem *b = FButtons->Items(Index);
    const TRect R = b->Rect();
    if (R == TRect(-1, -1, -1, -1))
        return;
    ACanvas->FillRect(R);
    const bool pressed = Index == FDown;
    const bool hot = Index == FHot;
    const bool disabled = !Enabled();
    if (::IsThemeActive()) {
        HTHEME theme = OpenThemeData(HandleAllocated() ? Handle() : nullptr, QStringLiteral("button"));
        const int state = disabled ? 4 : pressed ? 3 : hot ? 2 : 1;
        DrawThemeBackground(theme, ACanvas->Handle(), 1, state, R, nullptr);
        CloseThemeData(theme);
    } else {
        // The classic push button: a raised face, sunken while pressed.
        ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->FillRect(R);
        TRect f = R;
        Frame3D(ACanvas, f, pressed ? clBtnShadow : clBtnHighlight, pressed ? clBtnHighlight : clBtnShadow, 1);
    }
    TRect content = R;
    InflateRect(content, -InnerX, -InnerY);
    ACanvas->Font()->Assign(FAppearance->Font());
    ACanvas->Font()->SetColor(disabled ? clGrayText : b->Special ? FAppearance->SpecialTextColor() : FAppearance->TextColor());
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    int iw = 0, ih = 0;
    const bool picture = b->Image()->Graphic() && !b->Image()->Graphic()->Empty();
    const bool listImage = !picture && b->ImageIndex >= 0 && FImages;
    if (picture) {
        iw = b->Image()->Width();
        ih = b->Image()->Height();
    } else if (listImage) {
        iw = FImages->Width();
        ih = FImages->Height();
    }
    auto drawImage = [&](int X, int Y) {
        if (picture)
            ACanvas->Draw(X, Y, b->Image()->Graphic());
        else if (listImage)
            FImages->Draw(ACanvas, X, Y, b->ImageIndex, b->Enabled);
    };
    TSize cap{0, 0};
    MeasureTextSize(ACanvas, b->Caption, cap);
    TRect text = content;
    switch (ButtonLayout) {
    case ilCaptionRight:
        drawImage(content.Left, content.Top + (content.Bottom - content.Top - ih) / 2);
        text.Left += iw;
        break;
    case ilCaptionLeft:
        text.Right -= iw;
        drawImage(content.Left + cap.cx, content.Top + (content.Bottom - content.Top - ih) / 2);
        break;
    case ilCaptionTop:
        text.Bottom -= ih;
        drawImage(content.Left, content.Top + cap.cy);
        break;
    case ilCaptionBottom:
        drawImage(content.Left,
                  b->Caption.isEmpty() ? content.Top + (content.Bottom - content.Top - ih) / 2 : content.Top);
        text.Top += ih;
        break;
    }
    const unsigned align = (iw > 0 ? DT_LEFT : DT_CENTER) | DT_VCENTER | DT_SINGLELINE;
    DrawText(ACanvas->Handle(), b->Caption, -1, &text, align);
}

void TCustomButtonPanel::DrawButtons(TCanvas *ACanvas, bool IncludeHot)
{
    for (int i = 0; i < FButtons->Count(); ++i)
        if (IncludeHot || i != FHot)
            DrawButton(i, ACanvas);
}

void TCustomButtonPanel::PaintOn(TCanvas *ACanvas)
{
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->Brush()->SetColor(Color());
    ACanvas->FillRect(ClientRect());
    if (!FHost) {
        ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
        ACanvas->Pen()->SetColor(clBlack);
        ACanvas->Rectangle(ClientRect());
    }
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->Brush()->SetColor(Color());
    DrawButtons(ACanvas, false);
    // The hot key last, over its overlapping neighbours.
    if (FHot >= 0)
        DrawButton(FHot, ACanvas);
}

void TCustomButtonPanel::Paint()
{
    PaintOn(Canvas());
}

void TCustomButtonPanel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int k = ButtonAtPos(X, Y);
    if (k >= 0 && FButtons->Items(k)->Enabled)
        SetButtonDown(k);
}

void TCustomButtonPanel::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseMove(Shift, X, Y);
    const int k = ButtonAtPos(X, Y);
    if (k < 0) {
        if (FHot >= 0)
            SetButtonHot(-1);
    } else if (k != FHot) {
        SetButtonHot(FButtons->Items(k)->Enabled ? k : -1);
    }
}

void TCustomButtonPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FDown < 0)
        return;
    const int k = FDown;
    SetButtonDown(-1);
    if (ButtonAtPos(X, Y) == k)
        DoButtonClick(k);
}

void TCustomButtonPanel::WMSize(TWMSize &Message)
{
    TCustomControl::WMSize(Message);
    ArrangeButtons();
}

void TCustomButtonPanel::CMMouseLeave(TCMMouseLeave &Message)
{
    TCustomControl::CMMouseLeave(Message);
    if (FHot >= 0)
        SetButtonHot(-1);
}
