// TWinControl and TCustomControl: the window, children, focus, keys, painting and alignment.
#include "platform/Controls.h"

#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QWidget>

#include <algorithm>

TWinControl::TWinControl(TComponent *AOwner) : TControl(AOwner)
{
}

TWinControl::~TWinControl()
{
    Destroying();
    WatchOutsideClicks(this, false);
    // Leave the parent while this is still known as a windowed control (its tab list).
    if (FParent)
        FParent->RemoveControl(this);
    DestroyHandle();
    // Children go with their parent, whoever owns them.
    while (!FControls.empty()) {
        TControl *c = FControls.back();
        RemoveControl(c);
        delete c;
    }
}

TControl *TWinControl::Controls(int Index) const
{
    if (Index < 0 || Index >= ControlCount())
        throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
    return FControls[static_cast<std::size_t>(Index)];
}

void TWinControl::InsertControl(TControl *AControl)
{
    if (!AControl || ContainsControl(AControl))
        return;
    AControl->FParent = this;
    FControls.push_back(AControl);
    auto *win = dynamic_cast<TWinControl *>(AControl);
    if (win)
        FTabList.push_back(win);
    AControl->UpdateAnchorRules();
    if (FWidget) {
        if (win) {
            if (win->Visible())
                win->HandleNeeded();
        } else {
            AControl->Invalidate();
        }
    }
    if (AControl->Align() != alNone)
        Realign();
}

void TWinControl::RemoveControl(TControl *AControl)
{
    if (!AControl || AControl->FParent != this)
        return;
    auto *win = dynamic_cast<TWinControl *>(AControl);
    if (TCustomForm *form = ::GetParentForm(this)) {
        // The focus leaves a control that leaves the form.
        for (TWinControl *a = form->FActiveControl; a; a = a->Parent())
            if (a == AControl) {
                form->FActiveControl = nullptr;
                break;
            }
        for (TWinControl *a = form->FFocusedControl; a; a = a->Parent())
            if (a == AControl) {
                form->FFocusedControl = nullptr;
                break;
            }
    }
    if (win)
        win->DestroyHandle();
    else
        AControl->Invalidate();
    if (GetCaptureControl() == AControl)
        SetCaptureControl(nullptr);
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    if (win)
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
    AControl->FParent = nullptr;
    if (AControl->Align() != alNone)
        Realign();
}

bool TWinControl::ContainsControl(const TControl *Control) const
{
    for (const TControl *c = Control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl *TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl *c = *it;
        if (!AllowWinControls && dynamic_cast<TWinControl *>(c))
            continue;
        if (c->Visible() && (AllowDisabled || c->Enabled()) && c->BoundsRect().Contains(Pos))
            return c;
    }
    return nullptr;
}

// ---- the window ----

HWND TWinControl::Handle()
{
    HandleNeeded();
    return FBridge ? FBridge->Handle() : nullptr;
}

bool TWinControl::HandleAllocated() const
{
    return FWidget != nullptr;
}

void TWinControl::HandleNeeded()
{
    if (FWidget || FCreatingHandle)
        return;
    if (FComponentState.Contains(TComponentStateItem::csDestroying))
        throw EInvalidOperation(QStringLiteral("Control '%1' is being destroyed").arg(Name()));
    if (FParent)
        FParent->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    if (FWidget)
        return;
    FCreatingHandle = true;
    try {
        CreateWnd();
    } catch (...) {
        FCreatingHandle = false;
        throw;
    }
    FCreatingHandle = false;
    for (TWinControl *c : FTabList)
        if (c->Visible())
            c->HandleNeeded();
}

TWinControl *TWinControl::FindControl(HWND Wnd)
{
    TControlEventBridge *b = platform_detail::BridgeOf(Wnd);
    return b ? b->Control() : nullptr;
}

QWidget *TWinControl::Widget()
{
    HandleNeeded();
    return FWidget;
}

QWidget *TWinControl::WidgetIfAllocated() const
{
    return FWidget;
}

QWidget *TWinControl::CreateWidget(QWidget *ParentWidget)
{
    return new TPlatformWidget(ParentWidget);
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    QWidget *parentWidget = FParent ? FParent->FWidget : nullptr;
    QWidget *w = CreateWidget(parentWidget);
    if (!w)
        throw EOutOfResources(QStringLiteral("Error creating window"));
    platform_detail::ApplyCreateParams(w, params);
    FWidget = w;
    FOwnsPainting = dynamic_cast<TPlatformWidget *>(w) != nullptr;
    HWND h = platform_detail::NewHandle(this);
    w->setProperty("fabricorHandle", QVariant::fromValue(static_cast<qulonglong>(reinterpret_cast<std::uintptr_t>(h))));
    FBridge = new TControlEventBridge(this, w, h);
    w->installEventFilter(FBridge);
    w->setMouseTracking(true);
    ApplyWidgetState();
}

void TWinControl::ApplyWidgetState()
{
    if (!FWidget)
        return;
    if (FParent) {
        FWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
        FWidget->setVisible(Visible());
    }
    FWidget->setEnabled(Enabled());
    if (Cursor() != crDefault)
        FWidget->setCursor(platform_detail::QtCursorOf(Cursor()));
    ApplyFontAndColor();
}

void TWinControl::ApplyFontAndColor()
{
    if (!FWidget || FOwnsPainting)
        return;
    FWidget->setFont(Font()->QtFont());
}

void TWinControl::DestroyHandle()
{
    if (!FWidget)
        return;
    FControlState << csDestroyingHandle;
    DestroyWnd();
    FControlState >> csDestroyingHandle;
}

void TWinControl::DestroyWnd()
{
    for (TWinControl *c : FTabList)
        c->DestroyHandle();
    if (!FWidget)
        return;
    // Windows owned by this one (popups made with it as their owner) go first; their forms make
    // them anew when shown again.
    const auto owned = FWidget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : owned) {
        if (!child->isWindow())
            continue;
        const QVariant v = child->property("fabricorHandle");
        if (!v.isValid())
            continue;
        if (TWinControl *c = FindControl(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(v.value<qulonglong>()))))
            if (c != this && !c->Parent())
                c->DestroyHandle();
    }
    if (!FWidget)
        return;
    QWidget *w = FWidget;
    TControlEventBridge *b = FBridge;
    const HWND h = b->Handle();
    if (GetCapture() == h)
        ReleaseCapture();
    TControl *mc = GetMouseControl();
    if (mc && (mc == this || (mc->Parent() == this && !dynamic_cast<TWinControl *>(mc))))
        platform_detail::ControlDestroyed(mc);
    b->Detach();
    w->removeEventFilter(b);
    platform_detail::ReleaseHandle(h);
    FWidget = nullptr;
    FBridge = nullptr;
    if (platform_detail::GuardedDepth() > 0) {
        // A Qt event of this window (or of one inside it) may still be under way.
        w->hide();
        w->setParent(nullptr);
        w->deleteLater();
        b->deleteLater();
    } else {
        delete b;
        delete w;
    }
}

void TWinControl::RecreateWnd()
{
    if (!FWidget)
        return;
    DestroyHandle();
    HandleNeeded();
}

// ---- tab order and focus ----

int TWinControl::TabOrder() const
{
    if (!FParent)
        return -1;
    const auto &list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    if (!FParent)
        return;
    auto &list = FParent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    Value = std::clamp(Value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + Value, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl *> &List)
{
    for (TWinControl *c : FTabList) {
        List.push_back(c);
        c->GetTabOrderList(List);
    }
}

TWinControl *TWinControl::FindNextControl(TWinControl *CurControl, bool GoForward, bool CheckTabStop, bool CheckParent)
{
    std::vector<TWinControl *> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const int count = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), CurControl);
    int start = it == list.end() ? (GoForward ? count - 1 : 0) : static_cast<int>(it - list.begin());
    int i = start;
    do {
        if (GoForward) {
            if (++i == count)
                i = 0;
        } else {
            if (i == 0)
                i = count;
            --i;
        }
        TWinControl *c = list[static_cast<std::size_t>(i)];
        if (c->CanFocus() && (!CheckTabStop || c->TabStop()) && (!CheckParent || c->Parent() == this))
            return c;
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl *CurControl, bool GoForward, bool CheckTabStop)
{
    if (TWinControl *next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop))
        next->SetFocus();
}

bool TWinControl::CanFocus() const
{
    TCustomForm *form = ::GetParentForm(this);
    if (!form)
        return false;
    for (const TWinControl *c = this; c && c != static_cast<TWinControl *>(form); c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (TCustomForm *form = ::GetParentForm(this)) {
        form->FocusControl(this);
        return;
    }
    if (QWidget *w = Widget())
        w->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const
{
    return FBridge && GetFocus() == FBridge->Handle();
}

// ---- placement ----

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::BoundsChanged(bool Moved, bool Resized)
{
    if (FWidget && FParent) {
        FWidget->setGeometry(FLeft, FTop, FWidth, FHeight);
        CallWndProcHooks(FBridge->Handle(), WM_WINDOWPOSCHANGED, 0, 0);
    }
    if (Moved)
        Perform(WM_MOVE, 0, MakeLParam(FLeft, FTop));
    if (Resized) {
        const TRect cr = ClientRect();
        Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(cr.Width(), cr.Height()));
    }
}

void TWinControl::VisibleChanging()
{
}

void TWinControl::EnableAlign()
{
    if (FAlignLevel > 0 && --FAlignLevel == 0)
        Realign();
}

void TWinControl::Realign()
{
    if (FAlignLevel > 0 || FAligning)
        return;
    TRect r = ClientRect();
    FAligning = true;
    try {
        AlignControls(nullptr, r);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(TControl *, TRect &Rect)
{
    const TRect client = ClientRect();
    // Anchored controls follow the right and bottom edges of the client area.
    for (TControl *c : FControls) {
        if (c->Align() != alNone || !c->FAnchorsValid)
            continue;
        const TAnchors a = c->Anchors();
        const int dw = client.Width() - c->FAnchorParentSize.cx;
        const int dh = client.Height() - c->FAnchorParentSize.cy;
        if (dw == 0 && dh == 0)
            continue;
        int l = c->FLeft, t = c->FTop, w = c->FWidth, h = c->FHeight;
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                w += dw;
            else
                l += dw;
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                h += dh;
            else
                t += dh;
        }
        c->FAnchorParentSize = {client.Width(), client.Height()};
        c->SetBounds(l, t, w, h);
    }
    auto place = [&](TAlign which) {
        for (TControl *c : FControls) {
            if (c->Align() != which || !c->Visible())
                continue;
            switch (which) {
            case alTop:
                c->SetBounds(Rect.Left, Rect.Top, Rect.Width(), c->Height());
                Rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(Rect.Left, Rect.Bottom - c->Height(), Rect.Width(), c->Height());
                Rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(Rect.Left, Rect.Top, c->Width(), Rect.Height());
                Rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(Rect.Right - c->Width(), Rect.Top, c->Width(), Rect.Height());
                Rect.Right -= c->Width();
                break;
            case alClient:
                c->SetBounds(Rect.Left, Rect.Top, std::max(Rect.Width(), 0), std::max(Rect.Height(), 0));
                break;
            default:
                break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
}

// ---- painting ----

void TWinControl::Invalidate()
{
    if (FWidget)
        FWidget->update();
}

void TWinControl::Update()
{
    if (FWidget && FWidget->isVisible())
        FWidget->repaint();
}

void TWinControl::Repaint()
{
    if (FWidget && FWidget->isVisible())
        FWidget->repaint();
}

void TWinControl::PaintWindow(TCanvas *)
{
}

void TWinControl::PaintTo(TCanvas *Canvas, int X, int Y)
{
    QPainter *p = Canvas ? Canvas->Painter() : nullptr;
    QWidget *w = Widget();
    if (!p || !w || !p->isActive())
        return;
    // The window paints as it would on screen, also while hidden, with its children.
    p->save();
    w->render(p, QPoint(X, Y), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    p->restore();
}

void TWinControl::PaintHandler(TWMPaint &Message)
{
    PaintWindow(Message.DC);
    PaintControls(Message.DC, nullptr);
}

void TWinControl::PaintControls(TCanvas *DC, TControl *First)
{
    if (!DC)
        return;
    QPainter *p = DC->Painter();
    if (!p)
        return;
    bool started = First == nullptr;
    for (TControl *c : FControls) {
        if (!started) {
            started = c == First;
            if (!started)
                continue;
        }
        if (dynamic_cast<TWinControl *>(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0)
            continue;
        // The child draws in its own client coordinates, clipped to its rectangle.
        p->save();
        p->translate(c->Left(), c->Top());
        p->setClipRect(QRect(0, 0, c->Width(), c->Height()), Qt::IntersectClip);
        try {
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        } catch (...) {
            p->restore();
            throw;
        }
        p->restore();
    }
}

void TWinControl::WMPaint(TWMPaint &Message)
{
    if (!FOwnsPainting) {
        Inherited(Message);
        return;
    }
    if (Message.DC) {
        PaintHandler(Message);
        return;
    }
    // A paint of the window itself: only inside Qt's paint event may we draw on the widget.
    if (!FWidget || !FBridge || !FBridge->InPaintEvent())
        return;
    QPainter painter(FWidget);
    TControlCanvas canvas;
    canvas.SetControl(this);
    canvas.BeginPainting(&painter);
    try {
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(static_cast<TCanvas *>(&canvas)), 0);
        Message.DC = &canvas;
        PaintHandler(Message);
        Message.DC = nullptr;
    } catch (...) {
        canvas.EndPainting();
        throw;
    }
    canvas.EndPainting();
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd &Message)
{
    if (!Message.DC) {
        Inherited(Message);
        return;
    }
    Message.DC->Brush()->SetStyle(TBrushStyle::bsSolid);
    Message.DC->Brush()->SetColor(Color());
    Message.DC->FillRect(ClientRect());
    Message.Result = 1;
}

void TWinControl::WMSetRedraw(TWMSetRedraw &Message)
{
    FRedraw = Message.WParam != 0;
    if (FWidget)
        FWidget->setUpdatesEnabled(FRedraw);
    Message.Result = 0;
}

// ---- messages ----

void TWinControl::WndProc(TMessage &Message)
{
    if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
        Message.Msg != WM_MOUSEHWHEEL) {
        // Mouse messages over a graphic child (or for the graphic child that has the capture)
        // are that child's.
        TControl *target = nullptr;
        TControl *capture = GetCaptureControl();
        if (capture && capture->Parent() == this && !dynamic_cast<TWinControl *>(capture))
            target = capture;
        else if (!capture || capture == this)
            target = ControlAtPos({static_cast<SmallInt>(Message.LParamLo()), static_cast<SmallInt>(Message.LParamHi())}, false);
        if (target) {
            const int x = static_cast<SmallInt>(Message.LParamLo()) - target->Left();
            const int y = static_cast<SmallInt>(Message.LParamHi()) - target->Top();
            Message.Result = target->Perform(Message.Msg, Message.WParam, MakeLParam(x, y));
            return;
        }
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_KEYDOWN: { TWMKey r(Message); WMKeyDown(r); r.Store(); return; }
    case WM_KEYUP: { TWMKey r(Message); WMKeyUp(r); r.Store(); return; }
    case WM_CHAR: { TWMKey r(Message); WMChar(r); r.Store(); return; }
    case WM_SYSKEYDOWN: { TWMKey r(Message); WMSysKeyDown(r); r.Store(); return; }
    case WM_SYSKEYUP: { TWMKey r(Message); WMSysKeyUp(r); r.Store(); return; }
    case WM_SYSCHAR: { TWMKey r(Message); WMSysChar(r); r.Store(); return; }
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: { TWMKey r(Message); CNKeyDown(r); r.Store(); return; }
    case CN_KEYUP: { TWMKey r(Message); CNKeyUp(r); r.Store(); return; }
    case CN_CHAR:
    case CN_SYSCHAR: { TWMKey r(Message); CNChar(r); r.Store(); return; }
    case CN_COMMAND: { TWMCommand r(Message); CNCommand(r); r.Store(); return; }
    case WM_COMMAND: { TWMCommand r(Message); WMCommand(r); r.Store(); return; }
    case WM_SETFOCUS: { TWMSetFocus r(Message); WMSetFocus(r); r.Store(); return; }
    case WM_KILLFOCUS: { TWMKillFocus r(Message); WMKillFocus(r); r.Store(); return; }
    case WM_SIZE: { TWMSize r(Message); WMSize(r); r.Store(); return; }
    case WM_MOVE: { TWMMove r(Message); WMMove(r); r.Store(); return; }
    case WM_ERASEBKGND: { TWMEraseBkgnd r(Message); WMEraseBkgnd(r); r.Store(); return; }
    case WM_GETDLGCODE: { TWMGetDlgCode r(Message); WMGetDlgCode(r); r.Store(); return; }
    case WM_SETREDRAW: { TWMSetRedraw r(Message); WMSetRedraw(r); r.Store(); return; }
    case CM_ENTER: { TCMEnter r(Message); CMEnter(r); r.Store(); return; }
    case CM_EXIT: { TCMExit r(Message); CMExit(r); r.Store(); return; }
    case CM_CHILDKEY: { TCMChildKey r(Message); CMChildKey(r); r.Store(); return; }
    case WM_NCPAINT: { TWMNCPaint r(Message); WMNCPaint(r); r.Store(); return; }
    default:
        TControl::Dispatch(Message);
    }
}

bool TWinControl::IsEventMessage(const TMessage &Message) const
{
    return FBridge && FBridge->IsCurrentEventMessage(Message);
}

void TWinControl::DefaultHandler(TMessage &Message)
{
    if (FBridge && FBridge->IsCurrentEventMessage(Message))
        FBridge->DefaultReached(Message);
}

void TWinControl::Broadcast(TMessage &Message)
{
    // A copy: a handler may add or remove children.
    const std::vector<TControl *> children = FControls;
    for (TControl *c : children) {
        if (std::find(FControls.begin(), FControls.end(), c) == FControls.end())
            continue;
        c->CallWindowProc(Message);
        if (Message.Result != 0)
            return;
    }
}

// ---- keys ----

bool TWinControl::DoKeyDown(TWMKey &Message)
{
    TCustomForm *form = ::GetParentForm(this);
    if (form && form != static_cast<TWinControl *>(this) && form->KeyPreview() && form->DoKeyDown(Message))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyDown(Message.CharCode, KeyDataToShiftState(Message.KeyData));
        if (Message.CharCode == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyUp(TWMKey &Message)
{
    TCustomForm *form = ::GetParentForm(this);
    if (form && form != static_cast<TWinControl *>(this) && form->KeyPreview() && form->DoKeyUp(Message))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        KeyUp(Message.CharCode, KeyDataToShiftState(Message.KeyData));
        if (Message.CharCode == 0)
            return true;
    }
    return false;
}

bool TWinControl::DoKeyPress(TWMKey &Message)
{
    TCustomForm *form = ::GetParentForm(this);
    if (form && form != static_cast<TWinControl *>(this) && form->KeyPreview() && form->DoKeyPress(Message))
        return true;
    if (!FControlStyle.Contains(csNoStdEvents)) {
        WideChar ch = static_cast<WideChar>(Message.CharCode);
        KeyPress(ch);
        Message.CharCode = static_cast<Word>(ch);
        if (ch == 0)
            return true;
    }
    return false;
}

void TWinControl::KeyDown(Word &Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(Word &Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(WideChar &Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::WMKeyDown(TWMKey &Message)
{
    if (!DoKeyDown(Message))
        Inherited(Message);
}

void TWinControl::WMSysKeyDown(TWMKey &Message)
{
    if (!DoKeyDown(Message))
        Inherited(Message);
}

void TWinControl::WMKeyUp(TWMKey &Message)
{
    if (!DoKeyUp(Message))
        Inherited(Message);
}

void TWinControl::WMSysKeyUp(TWMKey &Message)
{
    if (!DoKeyUp(Message))
        Inherited(Message);
}

void TWinControl::WMChar(TWMKey &Message)
{
    if (!DoKeyPress(Message))
        Inherited(Message);
}

void TWinControl::WMSysChar(TWMKey &Message)
{
    Inherited(Message);
}

void TWinControl::CNKeyDown(TWMKey &Message)
{
    Message.Result = 1;
    if (Perform(CM_CHILDKEY, Message.CharCode, reinterpret_cast<LPARAM>(this)) != 0)
        return;
    LRESULT mask = 0;
    switch (Message.CharCode) {
    case VK_TAB:
        mask = DLGC_WANTTAB;
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        mask = DLGC_WANTARROWS;
        break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
    default:
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, Message.CharCode, Message.KeyData) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0) {
        if (TCustomForm *form = ::GetParentForm(this))
            if (form->Perform(CM_DIALOGKEY, Message.CharCode, Message.KeyData) != 0)
                return;
    }
    Message.Result = 0;
}

void TWinControl::CNKeyUp(TWMKey &Message)
{
    Message.Result = 0;
}

void TWinControl::CNChar(TWMKey &Message)
{
    Message.Result = 1;
    if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
        if (TCustomForm *form = ::GetParentForm(this))
            if (form->Perform(CM_DIALOGCHAR, Message.CharCode, Message.KeyData) != 0)
                return;
    }
    Message.Result = 0;
}

void TWinControl::CMChildKey(TCMChildKey &Message)
{
    // Parents may take keys of their children before the children see them.
    if (FParent)
        Message.Result = FParent->Perform(CM_CHILDKEY, Message.CharCode, Message.KeyData);
}

void TWinControl::CMDialogKey(TCMDialogKey &Message)
{
    TMessage &m = Message.Store();
    Broadcast(m);
    Message.Reload();
}

void TWinControl::CMDialogChar(TCMDialogChar &Message)
{
    TMessage &m = Message.Store();
    Broadcast(m);
    Message.Reload();
}

void TWinControl::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = 0;
}

void TWinControl::CNCommand(TWMCommand &Message)
{
    Inherited(Message);
}

void TWinControl::WMCommand(TWMCommand &Message)
{
    // Notifications go back to the control that sent them (CN_COMMAND).
    if (TWinControl *c = FindControl(Message.Ctl); c && c != this) {
        TMessage &m = Message.Store();
        Message.Result = c->Perform(CN_COMMAND, m.WParam, m.LParam);
        return;
    }
    Inherited(Message);
}

// ---- focus ----

void TWinControl::WMSetFocus(TWMSetFocus &Message)
{
    Inherited(Message);
    if (TCustomForm *form = ::GetParentForm(this); form && form != static_cast<TWinControl *>(this))
        form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TWMKillFocus &Message)
{
    Inherited(Message);
}

void TWinControl::CMEnter(TCMEnter &Message)
{
    DoEnter();
    Message.Result = 0;
}

void TWinControl::CMExit(TCMExit &Message)
{
    DoExit();
    Message.Result = 0;
}

void TWinControl::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit)
        OnExit(this);
}

// ---- size ----

void TWinControl::WMSize(TWMSize &Message)
{
    Inherited(Message);
    Realign();
    Resize();
}

void TWinControl::WMMove(TWMMove &Message)
{
    Inherited(Message);
}

// ---- notifications ----

void TWinControl::CMEnabledChanged(TCMEnabledChanged &Message)
{
    if (!Enabled() && FParent) {
        if (TCustomForm *form = ::GetParentForm(this); form && Focused())
            form->SelectNext(this, true, true);
    }
    if (FWidget)
        FWidget->setEnabled(Enabled());
    TControl::CMEnabledChanged(Message);
}

void TWinControl::CMVisibleChanged(TCMVisibleChanged &Message)
{
    if (Visible() && FParent && FParent->HandleAllocated())
        HandleNeeded();
    if (FWidget && FParent)
        FWidget->setVisible(Visible());
    TControl::CMVisibleChanged(Message);
}

void TWinControl::CMFontChanged(TCMFontChanged &Message)
{
    ApplyFontAndColor();
    TControl::CMFontChanged(Message);
    for (TControl *c : std::vector<TControl *>(FControls))
        c->Perform(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TCMColorChanged &Message)
{
    ApplyFontAndColor();
    TControl::CMColorChanged(Message);
    for (TControl *c : std::vector<TControl *>(FControls))
        c->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFocusChanged(TWMGeneric &Message)
{
    TMessage &m = Message.Store();
    Broadcast(m);
    Message.Reload();
}

// ---------------------------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent *AOwner)
    : TWinControl(AOwner)
{
}

TCanvas *TCustomControl::Canvas() const
{
    return platform_detail::ControlCanvas(FCanvas, const_cast<TCustomControl *>(this));
}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(TCanvas *DC)
{
    if (!DC || !DC->Painter())
        return;
    TCanvas *const canvas = Canvas();
    canvas->BeginPainting(DC->Painter());
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(Color());
    try {
        Paint();
        // A bordered pop-up has its 1 px frame round the window, over whatever Paint drew.
        if (HandleAllocated()) {
            const LPARAM style = GetWindowLong(Handle(), GWL_STYLE);
            if ((style & LPARAM(WS_POPUP)) && (style & LPARAM(WS_BORDER))) {
                canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
                canvas->Brush()->SetColor(clWindowFrame);
                canvas->FrameRect(TRect(0, 0, Width(), Height()));
            }
        }
    } catch (...) {
        canvas->EndPainting();
        throw;
    }
    canvas->EndPainting();
}
