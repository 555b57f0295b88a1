// The spin button pair and its repeating buttons.
#include "dropdowns/EsgSpinEdit.h"

#include "platform/UxTheme.h"
#include "platform/WinGdi.h"

// ---- TExtTimerSpeedButton ----

TExtTimerSpeedButton::TExtTimerSpeedButton(TComponent *AOwner) : TSpeedButton(AOwner) {}

TExtTimerSpeedButton::~TExtTimerSpeedButton()
{
    delete FRepeatTimer;
    FRepeatTimer = nullptr;
}

TEsgSpinButton *TExtTimerSpeedButton::Pair() const
{
    return dynamic_cast<TEsgSpinButton *>(Owner());
}

void TExtTimerSpeedButton::InvalidateParent()
{
    if (Parent())
        Parent()->Invalidate();
}

void TExtTimerSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseDown(Button, Shift, X, Y);
    if (TimeBtnState.Contains(tbAllowTimer)) {
        if (!FRepeatTimer) {
            // Not owned through the component list: the button frees it itself, first.
            FRepeatTimer = new TTimer(nullptr);
            FRepeatTimer->OnTimer = [this](TObject *Sender) { TimerExpired(Sender); };
        }
        FRepeatTimer->SetInterval(400);
        FRepeatTimer->SetEnabled(true);
    }
    InvalidateParent();
}

void TExtTimerSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TSpeedButton::MouseUp(Button, Shift, X, Y);
    if (FRepeatTimer)
        FRepeatTimer->SetEnabled(false);
    InvalidateParent();
}

void TExtTimerSpeedButton::TimerExpired(TObject *)
{
    FRepeatTimer->SetInterval(100);
    if (FState == bsDown && FDragging) {
        try {
            Click();
        } catch (...) {
            // A step that fails (a date out of range) must not repeat forever.
            FRepeatTimer->SetEnabled(false);
            throw;
        }
    }
}

void TExtTimerSpeedButton::CMMouseEnter(TCMMouseEnter &Message)
{
    TSpeedButton::CMMouseEnter(Message);
    FHasMouse = true;
    Repaint();
}

void TExtTimerSpeedButton::CMMouseLeave(TCMMouseLeave &Message)
{
    TSpeedButton::CMMouseLeave(Message);
    FHasMouse = false;
    Repaint();
}

void TExtTimerSpeedButton::Paint()
{
    TEsgSpinButton *pair = Pair();
    TCanvas *c = Canvas();
    TRect r(0, 0, Width(), Height());
    if (pair && pair->ButtonColor != clNone) {
        TColor face = pair->ButtonColor;
        if (FState == bsDown)
            face = pair->ButtonColorDown;
        else if (FHasMouse)
            face = pair->ButtonColorHot;
        c->Brush()->SetStyle(TBrushStyle::bsSolid);
        c->Brush()->SetColor(face);
        c->Pen()->SetColor(face);
        c->Rectangle(r);
        const int x = r.Left;
        const int y = r.Top;
        TPoint pts[3];
        switch (ButtonDirection) {
        case bdLeft: pts[0] = TPoint(x + 5, y + 5); pts[1] = TPoint(x + 3, y + 7); pts[2] = TPoint(x + 5, y + 9); break;
        case bdRight: pts[0] = TPoint(x + 3, y + 5); pts[1] = TPoint(x + 5, y + 7); pts[2] = TPoint(x + 3, y + 9); break;
        case bdUp: pts[0] = TPoint(x + 4, y + 4); pts[1] = TPoint(x + 8, y + 4); pts[2] = TPoint(x + 6, y + 2); break;
        case bdDown: pts[0] = TPoint(x + 4, y + 2); pts[1] = TPoint(x + 8, y + 2); pts[2] = TPoint(x + 6, y + 4); break;
        }
        c->Brush()->SetColor(clBlack);
        c->Pen()->SetColor(clBlack);
        c->Polygon({pts[0], pts[1], pts[2]});
        return;
    }
    if (FIsWinXP && pair) {
        if (HTHEME theme = OpenThemeData(pair->Handle(), QStringLiteral("spin"))) {
            static constexpr int Parts[] = {4, 3, 1, 2};
            const int state = FState == bsDown ? 3 : FHasMouse ? 2 : 1;
            DrawThemeBackground(theme, c->Handle(), Parts[ButtonDirection], state, r, nullptr);
            CloseThemeData(theme);
            return;
        }
    }
    if (ButtonDirection == bdLeft || ButtonDirection == bdRight) {
        unsigned flags = ButtonDirection == bdLeft ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
        if (FState == bsDown)
            flags |= DFCS_PUSHED;
        if (Flat())
            flags |= DFCS_FLAT;
        DrawFrameControl(c->Handle(), r, DFC_SCROLL, flags);
        return;
    }
    TSpeedButton::Paint();
}

// ---- TEsgSpinButton ----

TEsgSpinButton::TEsgSpinButton(TComponent *AOwner) : TWinControl(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls).Exclude(csSetCaption);
    style.Include(csOpaque);
    SetControlStyle(style);
    SetTabStop(false);
    FUpButton = CreateButton();
    FDownButton = CreateButton();
    SetUpGlyph(nullptr);
    SetDownGlyph(nullptr);
    FUpButton->ButtonDirection = bdUp;
    FDownButton->ButtonDirection = bdDown;
    SetBounds(Left(), Top(), 15, 25);
    FFocusedButton = FUpButton;
}

TExtTimerSpeedButton *TEsgSpinButton::CreateButton()
{
    auto *b = new TExtTimerSpeedButton(this);
    b->OnClick = [this](TObject *Sender) { BtnClick(Sender); };
    b->OnMouseDown = [this](TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        BtnMouseDown(Sender, Button, Shift, X, Y);
    };
    b->SetVisible(true);
    b->SetEnabled(true);
    b->TimeBtnState = TTimeBtnState() << tbAllowTimer;
    b->SetParent(this);
    return b;
}

void TEsgSpinButton::AdjustButtons(int &W, int &H)
{
    if (!FUpButton || !FDownButton || ComponentState().Contains(TComponentStateItem::csLoading))
        return;
    if (FDirection == spVertical) {
        if (W < 15)
            W = 15;
        FUpButton->SetBounds(0, 0, W, H / 2);
        // The two buttons share one pixel row.
        FDownButton->SetBounds(0, FUpButton->Height() - 1, W, H - FUpButton->Height() + 1);
    } else {
        if (W < 20)
            W = 20;
        FDownButton->SetBounds(0, 0, W / 2, H);
        FUpButton->SetBounds(W / 2 + 1, 0, W / 2, H);
    }
}

void TEsgSpinButton::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    int w = AWidth;
    int h = AHeight;
    AdjustButtons(w, h);
    TWinControl::SetBounds(ALeft, ATop, w, h);
}

void TEsgSpinButton::WMSize(TWMSize &Message)
{
    TWinControl::WMSize(Message);
    int w = Width();
    int h = Height();
    AdjustButtons(w, h);
    if (w != Width() || h != Height())
        TWinControl::SetBounds(Left(), Top(), w, h);
    Message.Result = 0;
}

void TEsgSpinButton::Loaded()
{
    TWinControl::Loaded();
    int w = Width();
    int h = Height();
    AdjustButtons(w, h);
    if (w != Width() || h != Height())
        TWinControl::SetBounds(Left(), Top(), w, h);
}

void TEsgSpinButton::SetDirection(TSpinDirection Value)
{
    if (Value == FDirection)
        return;
    FDirection = Value;
    if (HandleAllocated())
        RecreateWnd();
    if (Value == spHorizontal) {
        SetBounds(Left(), Top(), 20, Height());
        FUpButton->ButtonDirection = bdRight;
        FDownButton->ButtonDirection = bdLeft;
    } else {
        SetBounds(Left(), Top(), 15, Height());
        FUpButton->ButtonDirection = bdUp;
        FDownButton->ButtonDirection = bdDown;
    }
    FUpButton->Invalidate();
    FDownButton->Invalidate();
}

void TEsgSpinButton::SetUpGlyph(TBitmap *Value)
{
    if (Value) {
        FUpButton->SetGlyph(Value);
        return;
    }
    TBitmap glyph;
    glyph.LoadFromResourceName(QStringLiteral("EsgSpinUp"));
    FUpButton->SetGlyph(&glyph);
    FUpButton->SetNumGlyphs(1);
    FUpButton->Invalidate();
}

void TEsgSpinButton::SetDownGlyph(TBitmap *Value)
{
    if (Value) {
        FDownButton->SetGlyph(Value);
        return;
    }
    TBitmap glyph;
    glyph.LoadFromResourceName(QStringLiteral("EsgSpinDown"));
    FDownButton->SetGlyph(&glyph);
    FDownButton->SetNumGlyphs(1);
    FDownButton->Invalidate();
}

void TEsgSpinButton::SetFocusControl(TWinControl *Value)
{
    if (FFocusControl == Value)
        return;
    if (FFocusControl)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TEsgSpinButton::Notification(TComponent *AComponent, TOperation Operation)
{
    TWinControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

void TEsgSpinButton::SetIsWinXP(bool Value)
{
    FIsWinXP = Value;
    FUpButton->FIsWinXP = Value;
    FDownButton->FIsWinXP = Value;
    FUpButton->Invalidate();
    FDownButton->Invalidate();
}

void TEsgSpinButton::KeyDown(Word &Key, TShiftState)
{
    switch (Key) {
    case VK_SPACE:
        FFocusedButton->Click();
        break;
    case VK_UP:
        FocusBtn(FUpButton);
        FUpButton->Click();
        break;
    case VK_DOWN:
        FocusBtn(FDownButton);
        FDownButton->Click();
        break;
    default:
        break;
    }
}

void TEsgSpinButton::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS;
}

void TEsgSpinButton::WMSetFocus(TWMSetFocus &Message)
{
    TWinControl::WMSetFocus(Message);
    FFocusedButton->TimeBtnState.Include(tbFocusRect);
    FFocusedButton->Invalidate();
}

void TEsgSpinButton::WMKillFocus(TWMKillFocus &Message)
{
    TWinControl::WMKillFocus(Message);
    FFocusedButton->TimeBtnState.Exclude(tbFocusRect);
    FFocusedButton->Invalidate();
}

void TEsgSpinButton::FocusBtn(TExtTimerSpeedButton *Button)
{
    if (!TabStop() || !CanFocus() || Button == FFocusedButton)
        return;
    FFocusedButton->TimeBtnState.Exclude(tbFocusRect);
    FFocusedButton = Button;
    if (Focused()) {
        FFocusedButton->TimeBtnState.Include(tbFocusRect);
        Invalidate();
    }
}

void TEsgSpinButton::BtnMouseDown(TObject *Sender, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft)
        return;
    FocusBtn(static_cast<TExtTimerSpeedButton *>(Sender));
    if (FFocusControl && FFocusControl->TabStop() && FFocusControl->CanFocus() && !FFocusControl->Focused()) {
        FFocusControl->SetFocus();
        return;
    }
    if (TabStop() && !Focused() && CanFocus())
        SetFocus();
}

void TEsgSpinButton::BtnClick(TObject *Sender)
{
    if (Sender == FUpButton) {
        if (OnUpClick)
            OnUpClick(this);
    } else if (OnDownClick) {
        OnDownClick(this);
    }
}
