#include "controls/ExtGridButton.h"

#include "platform/Forms.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "platform/WinGdi.h"
#include "platform/Windows.h"

namespace {

bool WindowsPastFive()
{
    OSVERSIONINFO info;
    if (!GetVersionEx(info))
        return false;
    return info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion > 0);
}

} // namespace

TExtCheckBox::TExtCheckBox(TComponent *AOwner)
    : TCustomControl(AOwner), FCaption(QStringLiteral("TExtCheckBox")), FBkgBmp(std::make_unique<TBitmap>())
{
    FIsWinXP = WindowsPastFive();
    SetWidth(98);
    SetHeight(20);
    // The control fires Click itself, after Toggle.
    FControlStyle >> csClickEvents;
}

TExtCheckBox::~TExtCheckBox() = default;

void TExtCheckBox::Toggle()
{
    if (!FReadOnly)
        SetChecked(!Checked());
}

void TExtCheckBox::SetState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    if (!HandleAllocated())
        return;
    const TRect strip = FAlignment == taLeftJustify ? TRect{0, 0, 20, ClientHeight()}
                                                    : TRect{ClientWidth() - 20, 0, ClientWidth(), ClientHeight()};
    InvalidateRect(Handle(), &strip, TRUE);
}

void TExtCheckBox::SetChecked(bool Value)
{
    SetState(Value ? cbChecked : cbUnchecked);
    Invalidate();
}

void TExtCheckBox::SetCaption(const UnicodeString &Value)
{
    if (HandleAllocated())
        SetText(Value);
    FCaption = Value;
    Invalidate();
}

void TExtCheckBox::SetButtonVertAlign(TTextLayout Value)
{
    if (Value == FBtnVAlign)
        return;
    FBtnVAlign = Value;
    Invalidate();
}

void TExtCheckBox::SetAlignment(TLeftRight Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TExtCheckBox::SetEllipsis(bool Value)
{
    if (Value == FEllipsis)
        return;
    FEllipsis = Value;
    Invalidate();
}

void TExtCheckBox::SetTransparent(bool Value)
{
    if (Value != FTransparent) {
        FTransparent = Value;
        FBkgCache = false;
    }
    Invalidate();
}

void TExtCheckBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FTransparent) {
        FBkgCache = false;
        Invalidate();
    }
}

bool TExtCheckBox::ThemedBoxes() const
{
    return ThemedDrawingAvailable();
}

TRect TExtCheckBox::BoxRect(bool Themed) const
{
    const TRect cr = ClientRect();
    const int size = Themed ? 14 : 13;
    int x = 0;
    if (FAlignment == taRightJustify)
        x = Themed ? cr.Width() - 15 : cr.Right - 13;
    int y = 4;
    if (FBtnVAlign == tlCenter)
        y = cr.Height() / 2 - 6;
    else if (FBtnVAlign == tlBottom)
        y = cr.Bottom - (Themed ? 14 : 17);
    return {x, y, x + size, y + size};
}

void TExtCheckBox::Paint()
{
    TCanvas *c = Canvas();
    c->SetFont(Font());
    if (FTransparent) {
        if (!FTransparentCaching) {
            PaintParentBackground(this, c);
        } else {
            if (!FBkgCache) {
                FBkgBmp->SetSize(Width(), Height());
                TCanvas *bc = FBkgBmp->Canvas();
                bc->Brush()->SetColor(Parent() ? Parent()->Color() : Color());
                bc->FillRect({0, 0, Width(), Height()});
                PaintParentBackground(this, bc);
                FBkgCache = true;
            }
            c->Draw(0, 0, FBkgBmp.get());
        }
    }
    if (Text() != FCaption)
        SetText(FCaption);

    const bool themed = ThemedBoxes();
    TRect box = BoxRect(themed);
    if (themed) {
        int state = FState == cbChecked ? 5 : FState == cbGrayed ? 9 : 1;
        if (!Enabled())
            state += 3;
        else if (FDown)
            state += 2;
        else if (FHot)
            state += 1;
        HTHEME t = OpenThemeData(Handle(), QStringLiteral("button"));
        DrawThemeBackground(t, c->Handle(), BP_CHECKBOX, state, box, nullptr);
        CloseThemeData(t);
    } else {
        unsigned flags = DFCS_BUTTONCHECK;
        if (FState == cbGrayed || !Enabled())
            flags |= DFCS_INACTIVE;
        if (FState == cbChecked)
            flags |= DFCS_CHECKED;
        DrawFrameControl(c->Handle(), box, DFC_BUTTON, flags);
    }

    TRect r = ClientRect();
    if (FAlignment == taLeftJustify) {
        r.Left = 15;
    } else {
        r.Left = 6;
        r.Right -= 9;
    }
    r.Top += 4;
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    unsigned fmt = DT_LEFT | DT_TOP | DT_SINGLELINE;
    if (FEllipsis)
        fmt |= DT_END_ELLIPSIS;
    if (Enabled()) {
        DrawText(c->Handle(), FCaption, -1, &r, fmt);
    } else {
        TRect light{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
        c->Font()->SetColor(static_cast<TColor>(0xFFFFFF));
        DrawText(c->Handle(), FCaption, -1, &light, fmt);
        c->Font()->SetColor(static_cast<TColor>(0x808080));
        DrawText(c->Handle(), FCaption, -1, &r, fmt);
    }

    if (FFocused) {
        TRect m{0, 0, r.Width(), 0};
        DrawText(c->Handle(), FCaption, -1, &m, DT_CALCRECT | DT_SINGLELINE);
        DrawFocusRect(c->Handle(), {r.Left - 2, r.Top, r.Left + m.Width() + 1, r.Top + m.Height() + 1});
    }
}

void TExtCheckBox::InvalidateBoxCorner(bool Erase)
{
    if (!FIsWinXP || !HandleAllocated())
        return;
    const TRect corner{0, 0, 16, 16};
    InvalidateRect(Handle(), &corner, Erase ? TRUE : FALSE);
}

void TExtCheckBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FMouseDown = true;
    if (!Focused() && CanFocus())
        SetFocus();
    TCustomControl::MouseDown(Button, Shift, X, Y);
    SetMouseCapture(true);
    FDown = true;
    InvalidateBoxCorner(false);
}

void TExtCheckBox::MouseMove(TShiftState Shift, int X, int Y)
{
    if (MouseCapture())
        FDown = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
    TCustomControl::MouseMove(Shift, X, Y);
}

void TExtCheckBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    SetMouseCapture(false);
    FDown = false;
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height() && Focused() && FMouseDown) {
        Toggle();
        Click();
    }
    FMouseDown = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
    InvalidateBoxCorner(true);
}

void TExtCheckBox::MouseEnter()
{
    FHot = true;
    InvalidateBoxCorner(true);
    TCustomControl::MouseEnter();
}

void TExtCheckBox::MouseLeave()
{
    FHot = false;
    InvalidateBoxCorner(true);
    TCustomControl::MouseLeave();
}

void TExtCheckBox::KeyDown(Word &Key, TShiftState Shift)
{
    if (Key == VK_RETURN && FReturnIsTab) {
        Key = VK_TAB;
        PostMessage(Handle(), WM_KEYDOWN, VK_TAB, 0);
    }
    if (Key == VK_SPACE)
        FDown = true;
    TCustomControl::KeyDown(Key, Shift);
}

void TExtCheckBox::KeyUp(Word &Key, TShiftState Shift)
{
    if (Key == VK_SPACE) {
        // Space ends here: Toggle and Click, without OnKeyUp.
        FDown = false;
        Toggle();
        Click();
        return;
    }
    TCustomControl::KeyUp(Key, Shift);
}

void TExtCheckBox::DoEnter()
{
    FFocused = true;
    Invalidate();
    TCustomControl::DoEnter();
}

void TExtCheckBox::DoExit()
{
    FFocused = false;
    Invalidate();
    TCustomControl::DoExit();
}

void TExtCheckBox::CMDialogChar(TCMDialogChar &Message)
{
    if (IsAccel(Message.CharCode, FCaption) && CanFocus()) {
        Toggle();
        if (TabStop())
            SetFocus();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TExtCheckBox::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TCustomControl::CMEnabledChanged(Message);
    Invalidate();
}

void TExtCheckBox::WMEraseBkgnd(TWMEraseBkgnd &Message)
{
    if (FTransparent) {
        Message.Result = 1;
        return;
    }
    TCustomControl::WMEraseBkgnd(Message);
}
