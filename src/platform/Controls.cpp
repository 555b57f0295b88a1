// TControl and TGraphicControl: placement, properties, mouse handling and message dispatch.
#include "platform/Controls.h"

#include "platform/ActnList.h"
#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"
#include "platform/Menus.h"

#include <QCursor>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {
TControl *GCaptureControl = nullptr;
TControl *GMouseControl = nullptr;
} // namespace

namespace platform_detail {

void SetMouseControl(TControl *Control)
{
    if (Control == GMouseControl)
        return;
    TControl *old = GMouseControl;
    GMouseControl = Control;
    if (old)
        old->Perform(CM_MOUSELEAVE);
    // The leave handler may have moved the pointer's control on; only the latest one enters.
    if (Control && GMouseControl == Control)
        Control->Perform(CM_MOUSEENTER);
}

void ControlDestroyed(TControl *Control)
{
    if (GMouseControl == Control)
        GMouseControl = nullptr;
    if (GCaptureControl == Control)
        GCaptureControl = nullptr;
}

} // namespace platform_detail

TShiftState KeysToShiftState(WPARAM Keys)
{
    TShiftState s;
    if (Keys & MK_SHIFT)
        s << ssShift;
    if (Keys & MK_CONTROL)
        s << ssCtrl;
    if (Keys & MK_LBUTTON)
        s << ssLeft;
    if (Keys & MK_RBUTTON)
        s << ssRight;
    if (Keys & MK_MBUTTON)
        s << ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        s << ssAlt;
    return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    if (KeyData & KF_ALTDOWN_BIT)
        s << ssAlt;
    return s;
}

TShiftState GetShiftState()
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s << ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s << ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s << ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0)
        s << ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0)
        s << ssRight;
    if (GetKeyState(VK_MBUTTON) < 0)
        s << ssMiddle;
    return s;
}

TControl *GetCaptureControl()
{
    if (GCaptureControl)
        return GCaptureControl;
    return TWinControl::FindControl(GetCapture());
}

void SetCaptureControl(TControl *Control)
{
    GCaptureControl = nullptr;
    if (!Control) {
        if (GetCapture())
            ReleaseCapture();
        return;
    }
    if (auto *w = dynamic_cast<TWinControl *>(Control)) {
        if (w->HandleAllocated())
            SetCapture(w->Handle());
        return;
    }
    if (Control->Parent() && Control->Parent()->HandleAllocated()) {
        SetCapture(Control->Parent()->Handle());
        GCaptureControl = Control;
    }
}

TControl *GetMouseControl()
{
    return GMouseControl;
}

TCustomForm *GetParentForm(const TControl *Control)
{
    const TControl *c = Control;
    while (c && c->Parent())
        c = c->Parent();
    return dynamic_cast<TCustomForm *>(const_cast<TControl *>(c));
}

int CursorToQtShape(TCursor Cursor)
{
    switch (Cursor) {
    case crNone: return Qt::BlankCursor;
    case crCross: return Qt::CrossCursor;
    case crIBeam: return Qt::IBeamCursor;
    case crSizeNESW: return Qt::SizeBDiagCursor;
    case crSizeNS: return Qt::SizeVerCursor;
    case crSizeNWSE: return Qt::SizeFDiagCursor;
    case crSizeWE: return Qt::SizeHorCursor;
    case crUpArrow: return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait: return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag: return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo: return Qt::ForbiddenCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crAppStart: return Qt::BusyCursor;
    case crHelp: return Qt::WhatsThisCursor;
    case crHandPoint: return Qt::PointingHandCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    default: return Qt::ArrowCursor;
    }
}

// ---------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent *AOwner)
    : TComponent(AOwner), FFont(std::make_unique<TFont>())
{
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FFont->OnChange = [this](TObject *Sender) { FontChanged(Sender); };
}

TControl::~TControl()
{
    Destroying();
    platform_detail::ControlDestroyed(this);
    if (Application)
        Application->HintControlDestroyed(this);
    if (FParent)
        FParent->RemoveControl(this);
}

void TControl::SetParent(TWinControl *AParent)
{
    if (AParent == FParent)
        return;
    if (AParent == this)
        throw EInvalidOperation(QStringLiteral("A control cannot have itself as its parent"));
    if (FParent)
        FParent->RemoveControl(this);
    if (AParent) {
        AParent->InsertControl(this);
        if (FParentFont)
            Perform(CM_PARENTFONTCHANGED);
        if (FParentColor)
            Perform(CM_PARENTCOLORCHANGED);
    }
}

void TSizeConstraints::SetMinWidth(int Value)
{
    if (FMinWidth != Value) {
        FMinWidth = Value;
        Changed();
    }
}

void TSizeConstraints::SetMinHeight(int Value)
{
    if (FMinHeight != Value) {
        FMinHeight = Value;
        Changed();
    }
}

void TSizeConstraints::SetMaxWidth(int Value)
{
    if (FMaxWidth != Value) {
        FMaxWidth = Value;
        Changed();
    }
}

void TSizeConstraints::SetMaxHeight(int Value)
{
    if (FMaxHeight != Value) {
        FMaxHeight = Value;
        Changed();
    }
}

void TSizeConstraints::Assign(TPersistent *Source)
{
    auto *s = dynamic_cast<TSizeConstraints *>(Source);
    if (!s) {
        TPersistent::Assign(Source);
        return;
    }
    FMinWidth = s->FMinWidth;
    FMinHeight = s->FMinHeight;
    FMaxWidth = s->FMaxWidth;
    FMaxHeight = s->FMaxHeight;
    Changed();
}

int TSizeConstraints::ConstrainWidth(int Value) const
{
    if (FMaxWidth > 0)
        Value = std::min(Value, FMaxWidth);
    return std::max(Value, FMinWidth);
}

int TSizeConstraints::ConstrainHeight(int Value) const
{
    if (FMaxHeight > 0)
        Value = std::min(Value, FMaxHeight);
    return std::max(Value, FMinHeight);
}

void TSizeConstraints::Changed()
{
    if (OnChange)
        OnChange(this);
}

TSizeConstraints *TControl::Constraints()
{
    if (!FConstraints) {
        FConstraints = std::make_unique<TSizeConstraints>();
        FConstraints->OnChange = [this](TObject *) { SetBounds(FLeft, FTop, FWidth, FHeight); };
    }
    return FConstraints.get();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (FConstraints) {
        AWidth = FConstraints->ConstrainWidth(AWidth);
        AHeight = FConstraints->ConstrainHeight(AHeight);
    }
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    const bool moved = ALeft != FLeft || ATop != FTop;
    if (!dynamic_cast<TWinControl *>(this) && FParent && Visible())
        Invalidate(); // the old place
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    UpdateAnchorRules();
    BoundsChanged(moved, resized);
    if (!dynamic_cast<TWinControl *>(this)) {
        if (FParent && Visible())
            Invalidate();
        if (resized)
            Resize();
    }
    if (FParent && (FAlign != alNone))
        FParent->Realign();
}

void TControl::UpdateAnchorRules()
{
    if (!FParent || FParent->FAligning)
        return;
    const TRect pr = FParent->ClientRect();
    FAnchorParentSize = {pr.Width(), pr.Height()};
    FAnchorOrigin = {FLeft, FTop};
    FAnchorsValid = true;
}

void TControl::SetClientWidth(int Value)
{
    SetClientSize(Value, ClientHeight());
}

void TControl::SetClientHeight(int Value)
{
    SetClientSize(ClientWidth(), Value);
}

void TControl::SetClientSize(int AWidth, int AHeight)
{
    const TRect cr = ClientRect();
    SetBounds(FLeft, FTop, FWidth - cr.Width() + AWidth, FHeight - cr.Height() + AHeight);
}

TPoint TControl::ClientOrigin() const
{
    if (!FParent)
        return {FLeft, FTop};
    // A pop-up window stands on the screen, whatever its parent.
    if (auto *w = dynamic_cast<const TWinControl *>(this))
        if (QWidget *q = w->WidgetIfAllocated(); q && q->isWindow())
            return {FLeft, FTop};
    const TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const
{
    const TPoint o = ClientOrigin();
    return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const
{
    const TPoint o = ClientOrigin();
    return {P.X - o.X, P.Y - o.Y};
}

TPoint TControl::ClientToParent(TPoint P, TWinControl *AParent) const
{
    if (!AParent)
        AParent = FParent;
    const TControl *c = this;
    while (c && c != AParent) {
        P.X += c->FLeft;
        P.Y += c->FTop;
        c = c->FParent;
    }
    if (!c)
        throw EInvalidOperation(QStringLiteral("Control is not a child of the given parent"));
    return P;
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value)
        return;
    FAlign = Value;
    if (FParent)
        FParent->Realign();
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->Realign();
}

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    VisibleChanging();
    if (!Value && !dynamic_cast<TWinControl *>(this))
        Invalidate();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::Showing() const
{
    if (!FVisible)
        return false;
    return FParent ? FParent->Showing() : false;
}

void TControl::SetText(const UnicodeString &Value)
{
    if (GetText() == Value)
        return;
    FText = Value;
    TextChanged();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetFont(TFont *Value)
{
    if (Value)
        FFont->Assign(Value);
}

void TControl::FontChanged(TObject *)
{
    if (FUpdatingFont)
        return;
    FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetColor(TColor Value)
{
    if (FColor == Value && !FParentColor)
        return;
    FColor = Value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (FParentColor == Value)
        return;
    FParentColor = Value;
    if (Value && FParent)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool Value)
{
    if (FParentFont == Value)
        return;
    FParentFont = Value;
    if (Value && FParent)
        Perform(CM_PARENTFONTCHANGED);
}

bool TControl::ShowHint() const
{
    if (FParentShowHint && FParent)
        return FParent->ShowHint();
    return FShowHint;
}

void TControl::SetShowHint(bool Value)
{
    FShowHint = Value;
    FParentShowHint = false;
}

void TControl::SetParentShowHint(bool Value)
{
    FParentShowHint = Value;
}

void TControl::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const
{
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value)
{
    if (MouseCapture() == Value)
        return;
    SetCaptureControl(Value ? this : nullptr);
}

void TControl::Invalidate()
{
    if (!FParent || !FVisible)
        return;
    if (QWidget *w = FParent->WidgetIfAllocated())
        w->update(QRect(FLeft, FTop, FWidth, FHeight));
}

void TControl::Update()
{
    if (FParent)
        FParent->Update();
}

void TControl::Repaint()
{
    if (!FParent || !FVisible)
        return;
    if (QWidget *w = FParent->WidgetIfAllocated())
        w->repaint(QRect(FLeft, FTop, FWidth, FHeight));
}

void TControl::BringToFront()
{
    if (!FParent)
        return;
    auto &list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto *w = dynamic_cast<TWinControl *>(this); w && w->WidgetIfAllocated())
        w->WidgetIfAllocated()->raise();
    Invalidate();
}

void TControl::SendToBack()
{
    if (!FParent)
        return;
    auto &list = FParent->FControls;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto *w = dynamic_cast<TWinControl *>(this); w && w->WidgetIfAllocated())
        w->WidgetIfAllocated()->lower();
    Invalidate();
}

LRESULT TControl::Perform(Cardinal Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage m;
    m.Msg = Msg;
    m.WParam = WParam;
    m.LParam = LParam;
    m.Result = 0;
    CallWindowProc(m);
    return m.Result;
}

TControl::TWndMethod TControl::WindowProc()
{
    if (FWindowProc)
        return FWindowProc;
    return [this](TMessage &Message) { WndProc(Message); };
}

void TControl::WndProc(TMessage &Message)
{
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
        // A control that takes no double clicks sees the second press as a plain press.
        if (!FControlStyle.Contains(csDoubleClicks)) {
            if (Message.Msg == WM_LBUTTONDBLCLK)
                Message.Msg = WM_LBUTTONDOWN;
            else if (Message.Msg == WM_RBUTTONDBLCLK)
                Message.Msg = WM_RBUTTONDOWN;
            else if (Message.Msg == WM_MBUTTONDBLCLK)
                Message.Msg = WM_MBUTTONDOWN;
        }
        if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
            FControlState << csLButtonDown;
        else if (Message.Msg == WM_LBUTTONUP)
            FControlState >> csLButtonDown;
    }
    Dispatch(Message);
}

#define FABRICOR_DISPATCH(Number, Record, Handler) \
    case Number: {                                 \
        Record r(Message);                         \
        Handler(r);                                \
        r.Store();                                 \
        return;                                    \
    }

void TControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
        FABRICOR_DISPATCH(WM_LBUTTONDOWN, TWMMouse, WMLButtonDown)
        FABRICOR_DISPATCH(WM_LBUTTONUP, TWMMouse, WMLButtonUp)
        FABRICOR_DISPATCH(WM_LBUTTONDBLCLK, TWMMouse, WMLButtonDblClk)
        FABRICOR_DISPATCH(WM_RBUTTONDOWN, TWMMouse, WMRButtonDown)
        FABRICOR_DISPATCH(WM_RBUTTONUP, TWMMouse, WMRButtonUp)
        FABRICOR_DISPATCH(WM_RBUTTONDBLCLK, TWMMouse, WMRButtonDblClk)
        FABRICOR_DISPATCH(WM_CONTEXTMENU, TWMContextMenu, WMContextMenu)
        FABRICOR_DISPATCH(WM_MBUTTONDOWN, TWMMouse, WMMButtonDown)
        FABRICOR_DISPATCH(WM_MBUTTONUP, TWMMouse, WMMButtonUp)
        FABRICOR_DISPATCH(WM_MBUTTONDBLCLK, TWMMouse, WMMButtonDblClk)
        FABRICOR_DISPATCH(WM_MOUSEMOVE, TWMMouse, WMMouseMove)
        FABRICOR_DISPATCH(WM_MOUSEWHEEL, TWMMouseWheel, WMMouseWheel)
        FABRICOR_DISPATCH(WM_CANCELMODE, TWMCancelMode, WMCancelMode)
        FABRICOR_DISPATCH(WM_PAINT, TWMPaint, WMPaint)
        FABRICOR_DISPATCH(WM_TIMER, TWMTimer, WMTimer)
        FABRICOR_DISPATCH(CM_MOUSEWHEEL, TCMMouseWheel, CMMouseWheel)
        FABRICOR_DISPATCH(CM_MOUSEENTER, TCMMouseEnter, CMMouseEnter)
        FABRICOR_DISPATCH(CM_MOUSELEAVE, TCMMouseLeave, CMMouseLeave)
        FABRICOR_DISPATCH(CM_ENABLEDCHANGED, TCMEnabledChanged, CMEnabledChanged)
        FABRICOR_DISPATCH(CM_VISIBLECHANGED, TCMVisibleChanged, CMVisibleChanged)
        FABRICOR_DISPATCH(CM_FONTCHANGED, TCMFontChanged, CMFontChanged)
        FABRICOR_DISPATCH(CM_COLORCHANGED, TCMColorChanged, CMColorChanged)
        FABRICOR_DISPATCH(CM_TEXTCHANGED, TCMTextChanged, CMTextChanged)
        FABRICOR_DISPATCH(CM_CURSORCHANGED, TCMCursorChanged, CMCursorChanged)
        FABRICOR_DISPATCH(CM_PARENTFONTCHANGED, TCMParentFontChanged, CMParentFontChanged)
        FABRICOR_DISPATCH(CM_PARENTCOLORCHANGED, TCMParentColorChanged, CMParentColorChanged)
        FABRICOR_DISPATCH(CM_HINTSHOW, TWMGeneric, CMHintShow)
        FABRICOR_DISPATCH(CM_DIALOGKEY, TCMDialogKey, CMDialogKey)
        FABRICOR_DISPATCH(CM_DIALOGCHAR, TCMDialogChar, CMDialogChar)
        FABRICOR_DISPATCH(CM_WANTSPECIALKEY, TCMWantSpecialKey, CMWantSpecialKey)
        FABRICOR_DISPATCH(CM_FOCUSCHANGED, TWMGeneric, CMFocusChanged)
        FABRICOR_DISPATCH(WM_SETCURSOR, TWMGeneric, WMSetCursor)
    default:
        DefaultHandler(Message);
    }
}

void TControl::DefaultHandler(TMessage &)
{
}

void TControl::Inherited(TWMBase &Message)
{
    TMessage &m = Message.Store();
    DefaultHandler(m);
    Message.Reload();
}

void TControl::DoMouseDown(TWMMouse &Message, TMouseButton Button, TShiftState Shift)
{
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseDown(Button, KeysToShiftState(Message.Keys) + Shift, Message.XPos, Message.YPos);
}

void TControl::DoMouseUp(TWMMouse &Message, TMouseButton Button)
{
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseUp(Button, KeysToShiftState(Message.Keys), Message.XPos, Message.YPos);
}

void TControl::WMLButtonDown(TWMMouse &Message)
{
    Inherited(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        FControlState << csClicked;
    DoMouseDown(Message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TWMMouse &Message)
{
    Inherited(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(true);
    if (FControlStyle.Contains(csClickEvents))
        DblClick();
    DoMouseDown(Message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TWMMouse &Message)
{
    Inherited(Message);
    if (FControlStyle.Contains(csCaptureMouse))
        SetMouseCapture(false);
    if (FControlState.Contains(csClicked)) {
        FControlState >> csClicked;
        if (ClientRect().Contains(Message.Pos()))
            Click();
    }
    DoMouseUp(Message, mbLeft);
}

void TControl::WMRButtonDown(TWMMouse &Message)
{
    Inherited(Message);
    DoMouseDown(Message, mbRight, {});
}

void TControl::WMRButtonUp(TWMMouse &Message)
{
    Inherited(Message);
    DoMouseUp(Message, mbRight);
    // The menu request follows the release, as the window system sends it.
    const TPoint at = ClientToScreen(Message.Pos());
    Perform(WM_CONTEXTMENU, 0, MakeLParam(at.X, at.Y));
}

void TControl::WMContextMenu(TWMContextMenu &Message)
{
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) {
        if (FParent)
            Message.Result = FParent->Perform(WM_CONTEXTMENU, Message.Keys, MakeLParam(Message.XPos, Message.YPos));
        return;
    }
    TPoint at(Message.XPos, Message.YPos);
    // Asked for by the keyboard: the menu opens over the middle of the control.
    if (at.X == -1 && at.Y == -1)
        at = ClientToScreen(TPoint(ClientWidth() / 2, ClientHeight() / 2));
    FPopupMenu->SetPopupComponent(this);
    Message.Result = 1;
    FPopupMenu->Popup(at.X, at.Y);
}

void TControl::SetPopupMenu(TPopupMenu *Value)
{
    if (FPopupMenu == Value)
        return;
    if (FPopupMenu)
        FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (FPopupMenu)
        FPopupMenu->FreeNotification(this);
}

void TControl::Notification(TComponent *AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FPopupMenu)
        FPopupMenu = nullptr;
}

void TControl::WMRButtonDblClk(TWMMouse &Message)
{
    Inherited(Message);
    DoMouseDown(Message, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TWMMouse &Message)
{
    Inherited(Message);
    DoMouseDown(Message, mbMiddle, {});
}

void TControl::WMMButtonUp(TWMMouse &Message)
{
    Inherited(Message);
    DoMouseUp(Message, mbMiddle);
}

void TControl::WMMButtonDblClk(TWMMouse &Message)
{
    Inherited(Message);
    DoMouseDown(Message, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TWMMouse &Message)
{
    Inherited(Message);
    if (!FControlStyle.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(Message.Keys), Message.XPos, Message.YPos);
}

void TControl::WMMouseWheel(TWMMouseWheel &Message)
{
    TMessage &m = Message.Store();
    Message.Result = Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
    if (Message.Result == 0)
        Inherited(Message);
}

void TControl::CMMouseWheel(TCMMouseWheel &Message)
{
    TShiftState shift = KeysToShiftState(Message.Keys);
    if (DoMouseWheel(shift, Message.WheelDelta, Message.Pos())) {
        Message.Result = 1;
    } else if (FParent) {
        TMessage &m = Message.Store();
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, m.WParam, m.LParam);
    }
}

void TControl::WMCancelMode(TWMCancelMode &Message)
{
    Inherited(Message);
    if (MouseCapture()) {
        SetMouseCapture(false);
        if (FControlState.Contains(csLButtonDown))
            Perform(WM_LBUTTONUP, 0, MakeLParam(-1, -1));
    } else {
        FControlState >> csLButtonDown;
    }
}

void TControl::WMPaint(TWMPaint &Message)
{
    Inherited(Message);
}

void TControl::WMTimer(TWMTimer &Message)
{
    Inherited(Message);
}

void TControl::CMMouseEnter(TCMMouseEnter &Message)
{
    if (FParent)
        FParent->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(this));
    if (Message.LParam == 0)
        MouseEnter();
}

void TControl::CMMouseLeave(TCMMouseLeave &Message)
{
    if (FParent)
        FParent->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(this));
    if (Message.LParam == 0)
        MouseLeave();
}

void TControl::CMEnabledChanged(TCMEnabledChanged &Message)
{
    Invalidate();
    Inherited(Message);
}

void TControl::CMVisibleChanged(TCMVisibleChanged &Message)
{
    Inherited(Message);
}

void TControl::CMFontChanged(TCMFontChanged &Message)
{
    Invalidate();
    Inherited(Message);
}

void TControl::CMColorChanged(TCMColorChanged &Message)
{
    Invalidate();
    Inherited(Message);
}

void TControl::CMTextChanged(TCMTextChanged &Message)
{
    Invalidate();
    Inherited(Message);
}

void TControl::CMCursorChanged(TCMCursorChanged &Message)
{
    if (auto *w = dynamic_cast<TWinControl *>(this)) {
        if (QWidget *widget = w->WidgetIfAllocated()) {
            if (FCursor == crDefault)
                widget->unsetCursor();
            else
                widget->setCursor(platform_detail::QtCursorOf(FCursor));
        }
    }
    Inherited(Message);
}

void TControl::CMParentFontChanged(TCMParentFontChanged &Message)
{
    if (FParentFont && FParent) {
        FUpdatingFont = true;
        FFont->Assign(FParent->Font());
        FUpdatingFont = false;
        FParentFont = true;
        Perform(CM_FONTCHANGED);
    }
    Message.Result = 0;
}

void TControl::CMParentColorChanged(TCMParentColorChanged &Message)
{
    if (FParentColor && FParent) {
        FColor = FParent->Color();
        Perform(CM_COLORCHANGED);
        FParentColor = true;
    }
    Message.Result = 0;
}

void TControl::CMHintShow(TWMGeneric &Message)
{
    Inherited(Message);
}

void TControl::CMDialogKey(TCMDialogKey &Message)
{
    Inherited(Message);
}

void TControl::CMDialogChar(TCMDialogChar &Message)
{
    Inherited(Message);
}

void TControl::CMWantSpecialKey(TCMWantSpecialKey &Message)
{
    Inherited(Message);
}

void TControl::CMFocusChanged(TWMGeneric &Message)
{
    Inherited(Message);
}

void TControl::WMSetCursor(TWMGeneric &Message)
{
    Inherited(Message);
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

void TControl::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y)
{
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TControl::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (!handled) {
        if (WheelDelta < 0)
            handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            handled = DoMouseWheelUp(Shift, MousePos);
    }
    return handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    return handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    return handled;
}

void TControl::Resize()
{
    if (OnResize)
        OnResize(this);
}

TCustomForm *TControl::GetParentForm() const
{
    return ::GetParentForm(this);
}

// ---------------------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent *AOwner)
    : TControl(AOwner)
{
}

TCanvas *platform_detail::ControlCanvas(std::unique_ptr<TControlCanvas> &Canvas, TControl *Control)
{
    if (!Canvas) {
        Canvas = std::make_unique<TControlCanvas>();
        Canvas->SetControl(Control);
    }
    return Canvas.get();
}

TCanvas *TGraphicControl::Canvas() const
{
    return platform_detail::ControlCanvas(FCanvas, const_cast<TGraphicControl *>(this));
}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WMPaint(TWMPaint &Message)
{
    if (!Message.DC || !Message.DC->Painter())
        return;
    TCanvas *const canvas = Canvas();
    canvas->BeginPainting(Message.DC->Painter());
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    try {
        Paint();
    } catch (...) {
        canvas->EndPainting();
        throw;
    }
    canvas->EndPainting();
}

// ---- drag over ----

void TControl::DragOver(TObject *Source, int X, int Y, TDragState State, bool &Accept)
{
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}
