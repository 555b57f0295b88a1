#include "controls/LbButton.h"

#include "platform/ActnList.h"
#include "platform/Forms.h"
#include "platform/ImgList.h"
#include "platform/Windows.h"

namespace {

constexpr DWORD WS_EX_TRANSPARENT_STYLE = 0x20;

bool SeeThroughStyle(TLbButtonStyle Style) { return Style == bsModern || Style == bsShape || Style == bsQuicken; }

} // namespace

TLbButton::TLbButton(TComponent *AOwner)
    : TCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()), FHTFont(std::make_unique<TFont>())
{
    SetBounds(Left(), Top(), 100, 23);
    SetControlStyle(TControlStyle{csCaptureMouse, csSetCaption});
    SetTabStop(true);
    SetColor(clBtnFace);
    FThread = new TLbButtonThread([this](TObject *Sender) { FadeStep(Sender); });
    FThread->SetFreeOnTerminate(false);
    if (auto *form = dynamic_cast<TCustomForm *>(AOwner))
        FHTFont->Assign(form->Font());
}

TLbButton::~TLbButton()
{
    // Fade ticks already handed to this thread are run while we wait for the worker; they must
    // find the button going and leave it alone.
    FDestroying = true;
    StopThread();
    // Leave the parent while still a windowed control, so that it forgets us entirely (its tab
    // order included) when we are freed on our own.
    SetParent(nullptr);
}

void TLbButton::StopThread()
{
    TLbButtonThread *thread = FThread;
    FThread = nullptr;
    if (!thread)
        return;
    // Each step may fail on a thread in a bad state; the rest is skipped and the button goes on
    // with its own clean-up. A thread that never ran has nothing to end.
    try {
        if (thread->Started()) {
            while (thread->Suspended())
                thread->Resume();
            thread->Terminate();
            thread->WaitFor();
        }
        delete thread;
    } catch (...) {
    }
}

// ---- properties ----

void TLbButton::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    Repaint();
}

void TLbButton::SetColorStyle(TLbColorStyle Value)
{
    TLbColorPreset p{};
    if (!GetLbColorPreset(Value, p))
        return;
    SetColor(p.Color);
    FLightColor = p.LightColor;
    FShadowColor = p.ShadowColor;
    FColorWhenDown = p.ColorWhenDown;
    FHotTrackColor = p.HotTrackColor;
    Font()->SetColor(p.FontColor);
    FFlat = p.Flat;
    // Only the drawing style: the window keeps its extended style, unlike SetStyle.
    FStyle = p.Style;
    Repaint();
}

void TLbButton::SetFlat(bool Value)
{
    FFlat = Value;
    Repaint();
}

void TLbButton::SetGlyph(TBitmap *Value)
{
    if (!Value) {
        FGlyph->SetHeight(0);
        FNumGlyphs = 0;
    } else {
        FGlyph->Assign(Value);
        FNumGlyphs = FGlyph->Height() > 0 ? FGlyph->Width() / FGlyph->Height() : 0;
    }
    FKind = bkCustom;
    Invalidate();
}

void TLbButton::SetHotTrackFont(TFont *Value)
{
    if (Value)
        FHTFont->Assign(Value);
}

void TLbButton::SetKind(TLbButtonKind Value)
{
    TLbKindInfo info{};
    if (!GetLbKindInfo(Value, info)) {
        FKind = Value;
        return;
    }
    FNumGlyphs = 2;
    SetModalResult(info.ModalResult);
    LoadLbResourceBitmap(FGlyph.get(), QString::fromLatin1(info.Bitmap));
    SetCaption(QString::fromUtf8(info.Caption));
    FKind = Value;
    Invalidate();
}

void TLbButton::SetLayout(TLbButtonLayout Value)
{
    FLayout = Value;
    Repaint();
}

void TLbButton::SetLightColor(TColor Value)
{
    FLightColor = Value;
    Repaint();
}

void TLbButton::SetModalResult(TModalResult Value)
{
    FModalResult = Value;
    FKind = bkCustom;
}

void TLbButton::ActionChange(TObject *Sender, bool CheckDefaults)
{
    TCustomControl::ActionChange(Sender, CheckDefaults);
    auto *action = dynamic_cast<TCustomAction *>(Sender);
    if (!action || !action->ActionList() || !FGlyph->Empty())
        return;
    TCustomImageList *images = action->ActionList()->Images();
    if (images && action->ImageIndex() >= 0 && action->ImageIndex() < images->Count())
        CopyActionImageToGlyph(images, action->ImageIndex());
}

void TLbButton::CopyActionImageToGlyph(TCustomImageList *Images, int Index)
{
    FGlyph->SetSize(Images->Width(), Images->Height());
    // Magenta fills what the image leaves transparent, and the face draws the glyph with its
    // lower-left pixel's colour as the transparent one.
    TCanvas *c = FGlyph->Canvas();
    c->Brush()->SetColor(TColor(0xFF00FF));
    c->FillRect(Rect(0, 0, FGlyph->Width(), FGlyph->Height()));
    Images->Draw(c, 0, 0, Index, true);
    FNumGlyphs = 1;
    Invalidate();
}

void TLbButton::SetNumGlyphs(int Value)
{
    FNumGlyphs = Value;
    Invalidate();
}

void TLbButton::SetShadowColor(TColor Value)
{
    FShadowColor = Value;
    Repaint();
}

void TLbButton::SetSlowDecease(bool Value)
{
    if (!Value) {
        FHotTrackStep = 0;
        StopThread();
    } else if (!FThread) {
        FThread = new TLbButtonThread([this](TObject *Sender) { FadeStep(Sender); });
        FThread->SetFreeOnTerminate(false);
    }
    FSlowDecease = Value;
    Invalidate();
}

void TLbButton::SetStyle(TLbButtonStyle Value)
{
    FStyle = Value;
    FExStyle = SeeThroughStyle(Value) ? WS_EX_TRANSPARENT_STYLE : 0;
    Invalidate();
}

void TLbButton::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    Repaint();
}

void TLbButton::SetEnabled(bool Value)
{
    TCustomControl::SetEnabled(Value);
    FEnabled = Value;
    bDown = false;
    Repaint();
}

// ---- painting ----

bool TLbButton::Hot() const { return bCursorOnButton || Focused(); }

void TLbButton::Paint()
{
    if (!Visible() || ComponentState().Contains(TComponentStateItem::csLoading) || FDestroying ||
        ComponentState().Contains(TComponentStateItem::csDestroying))
        return;
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0)
        return;
    const bool hot = Hot();
    TFont font;
    font.Assign(hot && FUseHTFont ? FHTFont.get() : Font());

    TBitmap bmp(W, H);
    if (SeeThroughStyle(FStyle)) {
        bmp.SetTransparentColor(clFuchsia);
        bmp.SetTransparent(true);
        bmp.Canvas()->Brush()->SetColor(clFuchsia);
        bmp.Canvas()->FillRect(Rect(0, 0, W, H));
    }
    const bool arrow = PopupMenu() != nullptr;
    if (FStyle == bsOld && Focused()) {
        TBitmap inner(W - 2 > 0 ? W - 2 : 0, H - 2 > 0 ? H - 2 : 0);
        DrawLbButtonFace(inner.Canvas(), W - 2, H - 2, FHotTrackStep, FNumGlyphs, FGlyph.get(), bDown, hot, false,
                         Enabled(), FFlat, FWordWrap, arrow, FStyle, Color(), FColorWhenDown, FHotTrackColor,
                         bDown ? FShadowColor : FLightColor, FShadowColor, &font, FLayout, Caption(), FAlignment);
        bmp.Canvas()->Draw(1, 1, &inner);
        bmp.Canvas()->Pen()->SetColor(clBlack);
        bmp.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
        bmp.Canvas()->Rectangle(0, 0, W, H);
    } else {
        DrawLbButtonFace(bmp.Canvas(), W, H, FHotTrackStep, FNumGlyphs, FGlyph.get(), bDown, hot, false, Enabled(),
                         FFlat, FWordWrap, arrow, FStyle, Color(), FColorWhenDown, FHotTrackColor, FLightColor,
                         FShadowColor, &font, FLayout, Caption(), FAlignment);
    }
    Canvas()->Draw(0, 0, &bmp);
    if (Focused() && Enabled() && FStyle != bsShape)
        Canvas()->DrawFocusRect(Rect(4, 4, W - 4, H - 4));
}

void TLbButton::WMEraseBkgnd(TWMEraseBkgnd &Message)
{
    // A see-through button shows its parent where its face leaves the key colour.
    if (FExStyle != 0 && Message.DC && Parent()) {
        Message.DC->Brush()->SetStyle(TBrushStyle::bsSolid);
        Message.DC->Brush()->SetColor(Parent()->Color());
        Message.DC->FillRect(ClientRect());
        Message.Result = 1;
        return;
    }
    TCustomControl::WMEraseBkgnd(Message);
}

// ---- clicks ----

void TLbButton::PerformClick()
{
    if (!Visible() || !Enabled() || !bDown)
        return;
    bDown = false;
    if (OnClick)
        OnClick(this);
    // A button outside any form has nobody to give its result to.
    if (FModalResult != mrNone)
        if (TCustomForm *form = GetParentForm())
            form->SetModalResult(FModalResult);
    if (TPopupMenu *menu = PopupMenu()) {
        const TPoint at = ClientToScreen(Point(0, Height()));
        menu->SetPopupComponent(this);
        menu->Popup(at.X, at.Y);
    }
}

void TLbButton::Click()
{
    bDown = true;
    PerformClick();
    // The platform's click would fire OnClick a second time; only its action part is left.
    if (TControlActionLink *link = ActionLink())
        link->Execute(this);
}

void TLbButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft && Enabled()) {
        bDown = true;
        if (CanFocus())
            SetFocus();
        Repaint();
    }
}

void TLbButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    // Only a release over the button clicks it: moving away before letting go takes a press back.
    if (bDown && ClientRect().Contains(Point(X, Y)))
        Click();
    bDown = false;
    Repaint();
}

// ---- hover ----

void TLbButton::MouseEnter()
{
    if (!Enabled() || !Visible() || !Parent() || !Parent()->Showing())
        return;
    bCursorOnButton = true;
    FHotTrackStep = 8;
    Repaint();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TLbButton::MouseLeave()
{
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (FThread && (FThread->Suspended() || !FThread->Started()))
            FThread->Resume();
    } else {
        FHotTrackStep = 0;
        Repaint();
    }
    if (Enabled() && Visible() && Parent() && Parent()->Showing() && OnMouseExit)
        OnMouseExit(this);
}

void TLbButton::FadeStep(TObject *Sender)
{
    if (FDestroying)
        return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        FHotTrackStep = 0;
        if (FThread)
            FThread->Suspend();
    }
    Repaint();
}

// ---- keys ----

void TLbButton::CNKeyDown(TWMKey &Message)
{
    TCustomControl::CNKeyDown(Message);
    if (Enabled() && (Message.CharCode == VK_RETURN || Message.CharCode == VK_SPACE)) {
        bDown = true;
        Repaint();
    }
}

void TLbButton::CNKeyUp(TWMKey &Message)
{
    TCustomControl::CNKeyUp(Message);
    // Only the release of a key pressed on this button clicks it: Enter that closed a dialog
    // is released on the button that opened it, which must not open it again.
    if ((Message.CharCode == VK_RETURN || Message.CharCode == VK_SPACE) && bDown)
        Click();
    bDown = false;
    Repaint();
}

TCustomForm *TLbButton::OwnerForm() const
{
    for (TComponent *c = Owner(); c; c = c->Owner())
        if (auto *form = dynamic_cast<TCustomForm *>(c))
            return form;
    return nullptr;
}

void TLbButton::CMDialogKey(TCMDialogKey &Message)
{
    const bool noShift = (GetShiftState() * TShiftState{ssShift, ssAlt, ssCtrl}).Empty();
    const bool taken = (Message.CharCode == VK_RETURN && FDefault) ||
                       (Message.CharCode == VK_ESCAPE && FCancel && noShift && Visible() && Enabled());
    if (taken) {
        // A button that has the focus answers Enter and Space itself.
        TCustomForm *form = OwnerForm();
        TWinControl *active = form ? form->ActiveControl() : nullptr;
        const UnicodeString cls = active ? active->ClassName().toUpper() : UnicodeString();
        if (!(cls.contains(QLatin1String("BUTTON")) && !cls.contains(QLatin1String("RADIOBUTTON")))) {
            bDown = true;
            Click();
            Message.Result = 1;
            return;
        }
    }
    TCustomControl::CMDialogKey(Message);
}

void TLbButton::CMDialogChar(TCMDialogChar &Message)
{
    if (IsAccel(Message.CharCode, Caption()) && Visible() && Enabled() && Parent() && Parent()->Showing()) {
        bDown = true;
        Click();
        Message.Result = 1;
        return;
    }
    TCustomControl::CMDialogChar(Message);
}

void TLbButton::CMTextChanged(TCMTextChanged &Message)
{
    TCustomControl::CMTextChanged(Message);
    Invalidate();
}

void TLbButton::WMSetFocus(TWMSetFocus &Message)
{
    TCustomControl::WMSetFocus(Message);
    Invalidate();
}

void TLbButton::WMKillFocus(TWMKillFocus &Message)
{
    TCustomControl::WMKillFocus(Message);
    Invalidate();
}
