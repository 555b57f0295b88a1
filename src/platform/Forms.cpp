// Forms, modal runs, the application object, the screen and the modal hook.
#include "platform/Forms.h"

#include "platform/ControlsPrivate.h"
#include "platform/WindowPlacement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <new>

TApplication *Application = new TApplication(nullptr);
TScreen *Screen = new TScreen(nullptr);

namespace {

std::vector<TCustomForm *> &FormList()
{
    static std::vector<TCustomForm *> list;
    return list;
}

// Every nested loop under way (the application's and the modal ones), so Terminate ends them all.
std::vector<QEventLoop *> &Loops()
{
    static std::vector<QEventLoop *> loops;
    return loops;
}

class TLoopRegistration {
public:
    explicit TLoopRegistration(QEventLoop *Loop) : FLoop(Loop) { Loops().push_back(Loop); }
    ~TLoopRegistration() { Loops().erase(std::remove(Loops().begin(), Loops().end(), FLoop), Loops().end()); }

private:
    QEventLoop *FLoop;
};

TModalHook GDefaultHook;
TModalHook *GHook = &GDefaultHook;

void FrameOf(TFormBorderStyle Style, int &Side, int &Caption)
{
    switch (Style) {
    case bsNone: Side = 0; Caption = 0; break;
    case bsToolWindow: Side = 3; Caption = 18; break;
    case bsSizeToolWin: Side = 4; Caption = 18; break;
    case bsSizeable: Side = 4; Caption = 23; break;
    default: Side = 3; Caption = 23; break;
    }
}

bool FixedFrame(TFormBorderStyle Style)
{
    // The offscreen platform has no frame to fix and says so on every call.
    return (Style == bsSingle || Style == bsDialog || Style == bsToolWindow) &&
           QGuiApplication::platformName() != QLatin1String("offscreen");
}

void ActivateWidget(QWidget *W)
{
    if (!W)
        return;
    platform_detail::NoteActivationRequest(W);
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        W->raise();
    W->activateWindow();
#if QT_VERSION < QT_VERSION_CHECK(6, 5, 0)
    // The offscreen platform activates asynchronously; the focus must be right at once.
    QApplication::setActiveWindow(W);
#endif
}

} // namespace

TModalResult ModalResultOfButton(TMsgDlgBtn Button)
{
    switch (Button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: return mrNone;
    case mbClose: return mrClose;
    }
    return mrNone;
}

TModalResult TModalHook::Run(TModalRequest &Request)
{
    return Request.RunDefault ? Request.RunDefault(Request) : mrNone;
}

TModalHook *ModalHook()
{
    return GHook;
}

TModalHook *SetModalHook(TModalHook *Hook)
{
    TModalHook *old = GHook == &GDefaultHook ? nullptr : GHook;
    GHook = Hook ? Hook : &GDefaultHook;
    return old;
}

TModalResult RunModal(TModalRequest &Request)
{
    return ModalHook()->Run(Request);
}

const std::vector<TCustomForm *> &AllForms()
{
    return FormList();
}

// ---------------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent *AOwner) : TWinControl(AOwner)
{
    FormList().push_back(this);
    FFormState << fsCreating;
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    TControl::SetVisible(false);
    SetParentColor(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
}

TCustomForm::~TCustomForm()
{
    delete FCornerSizeTracker;
    Destroying();
    if (FModalLoop)
        FModalLoop->quit();
    if (Application && Application->FMainForm == this)
        Application->FMainForm = nullptr;
    BeforeDestruction();
    auto &list = FormList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TCustomForm::AfterConstruction()
{
    if (FCreated)
        return;
    FCreated = true;
    FFormState >> fsCreating;
    DoCreate();
}

void TCustomForm::BeforeDestruction()
{
    if (FCreated && OnDestroy)
        DoDestroy();
}

void TCustomForm::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TCustomForm::DoDestroy()
{
    TNotifyEvent handler = std::move(OnDestroy);
    OnDestroy = nullptr;
    if (handler)
        handler(this);
}

void TCustomForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction &Action)
{
    if (OnClose)
        OnClose(this, Action);
}

void TCustomForm::Activate()
{
    if (OnActivate)
        OnActivate(this);
}

void TCustomForm::Deactivate()
{
    if (OnDeactivate)
        OnDeactivate(this);
}

TRect TCustomForm::ClientRect() const
{
    int side = 0, caption = 0;
    FrameOf(FBorderStyle, side, caption);
    return {0, 0, std::max(Width() - 2 * side, 0), std::max(Height() - 2 * side - caption, 0)};
}

TPoint TCustomForm::ClientOrigin() const
{
    if (QWidget *w = WidgetIfAllocated()) {
        const QPoint p = w->mapToGlobal(QPoint(0, 0));
        return {p.x(), p.y()};
    }
    int side = 0, caption = 0;
    FrameOf(FBorderStyle, side, caption);
    return {Left() + side, Top() + side + caption};
}

void TCustomForm::BoundsChanged(bool Moved, bool Resized)
{
    if (QWidget *w = WidgetIfAllocated()) {
        if (Resized)
            ApplySizeHints();
        if (Moved)
            w->move(Left(), Top());
    }
    TWinControl::BoundsChanged(Moved, Resized);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    if (FBorderStyle == Value)
        return;
    // The client area keeps its size; the frame grows or shrinks around it.
    const TRect cr = ClientRect();
    FBorderStyle = Value;
    SetClientSize(cr.Width(), cr.Height());
    ApplyBorder();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    FBorderIcons = Value;
    ApplyBorder();
}

QWidget *TCustomForm::CreateWidget(QWidget *ParentWidget)
{
    return new TPlatformWidget(ParentWidget);
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    QWidget *w = WidgetIfAllocated();
    w->setWindowTitle(Caption());
    if (FNoActivate)
        w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    ApplyBorder();
    ApplyAlpha();
    const TRect cr = ClientRect();
    w->resize(cr.Width(), cr.Height());
    w->move(Left(), Top());
}

void TCustomForm::ApplyBorder()
{
    QWidget *w = WidgetIfAllocated();
    if (!w || (w->parentWidget() && !w->isWindow()))
        return;
    // An owned window is a tool window of its owner's window: it stays above the owner and is
    // not blocked while the owner runs modal.
    // A form in a modal run is a dialog of the window it was opened from: the window system
    // keeps it above that window and shows no task bar entry of its own.
    QWidget *owner = FModalOwner;
    if (HWND o = platform_detail::WndParentOf(w); o && !owner)
        if (TControlEventBridge *b = platform_detail::BridgeOf(o); b && b->Widget())
            owner = b->Widget()->window();
    const DWORD exStyle = static_cast<DWORD>(GetWindowLong(Handle(), GWL_EXSTYLE));
    Qt::WindowFlags f = (FBorderStyle == bsDialog || FModalOwner) ? Qt::Dialog : Qt::Window;
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin || (owner && !FModalOwner))
        f = Qt::Tool;
    if ((exStyle & WS_EX_TOPMOST) || FFormStyle == fsStayOnTop)
        f |= Qt::WindowStaysOnTopHint;
    if (FNoActivate)
        f |= Qt::WindowDoesNotAcceptFocus;
    if (FBorderStyle == bsNone) {
        f |= Qt::FramelessWindowHint;
    } else {
        f |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons.Contains(biSystemMenu))
            f |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        const bool boxes = FBorderStyle == bsSingle || FBorderStyle == bsSizeable;
        if (boxes && FBorderIcons.Contains(biSystemMenu) && FBorderIcons.Contains(biMinimize))
            f |= Qt::WindowMinimizeButtonHint;
        if (boxes && FBorderIcons.Contains(biSystemMenu) && FBorderIcons.Contains(biMaximize))
            f |= Qt::WindowMaximizeButtonHint;
    }
    const bool wasVisible = w->isVisible();
    if (owner && owner != w && w->parentWidget() != owner) {
        w->setParent(owner, f);
        w->move(Left(), Top());
    } else if (!owner && w->parentWidget()) {
        // The modal run that lent the window an owner is over.
        w->setParent(nullptr, f);
        w->move(Left(), Top());
    } else {
        w->setWindowFlags(f);
    }
    ApplySizeHints();
    if (wasVisible)
        w->show();
}

void TCustomForm::ApplySizeHints()
{
    QWidget *w = WidgetIfAllocated();
    if (!w || !w->isWindow())
        return;
    const TRect cr = ClientRect();
    if (FixedFrame(FBorderStyle)) {
        w->setFixedSize(cr.Width(), cr.Height());
        return;
    }
    // A sizeable window tells the window system how far the user may size it: the form's
    // constraints, less its frame, since the window is the client area.
    const int frameW = Width() - cr.Width(), frameH = Height() - cr.Height();
    const TSizeConstraints *c = Constraints();
    auto lower = [](int Limit, int Frame) { return Limit > 0 ? std::max(Limit - Frame, 0) : 0; };
    auto upper = [](int Limit, int Frame) { return Limit > 0 ? std::max(Limit - Frame, 0) : QWIDGETSIZE_MAX; };
    w->setMinimumSize(lower(c->MinWidth(), frameW), lower(c->MinHeight(), frameH));
    w->setMaximumSize(upper(c->MaxWidth(), frameW), upper(c->MaxHeight(), frameH));
    w->resize(cr.Width(), cr.Height());
}

void TCustomForm::PlaceOnShow()
{
    TCustomForm *around = nullptr;
    switch (FPosition) {
    case poMainFormCenter:
        around = Application ? Application->MainForm() : nullptr;
        break;
    case poOwnerFormCenter:
        around = dynamic_cast<TCustomForm *>(Owner());
        break;
    case poScreenCenter:
    case poDesktopCenter:
        break;
    default:
        return;
    }
    if (around == this || (around && !around->Visible()))
        around = nullptr;
    TRect area;
    if (around) {
        area = around->BoundsRect();
    } else {
        area = Bounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2, Width(), Height());
}

void TCustomForm::SetVisible(bool Value)
{
    if (Value && !FCreated)
        AfterConstruction();
    if (Visible() == Value) {
        if (Value && !FNoActivate)
            ActivateWidget(WidgetIfAllocated());
        return;
    }
    if (Value) {
        HandleNeeded();
        PlaceOnShow();
        // OnShow sees the form visible already (its window appears right after).
        TControl::SetVisible(true);
        FFormState << fsVisible;
        try {
            DoShow();
        } catch (...) {
            TControl::SetVisible(false);
            FFormState >> fsVisible;
            throw;
        }
        QWidget *w = WidgetIfAllocated();
        if (!w)
            return;
        w->show();
        if (FNoActivate)
            return;
        if (!FActiveControl)
            FActiveControl = FindNextControl(nullptr, true, true, false);
        ActivateWidget(w);
        if (FActiveControl && FActiveControl->CanFocus()) {
            if (QWidget *aw = FActiveControl->Widget())
                aw->setFocus(Qt::ActiveWindowFocusReason);
        }
    } else {
        DoHide();
        TControl::SetVisible(false);
        FFormState >> fsVisible;
        if (QWidget *w = WidgetIfAllocated())
            w->hide();
        if (FActive)
            WindowActivated(false);
    }
}

void TCustomForm::Show()
{
    SetVisible(true);
}

void TCustomForm::ShowNoActivate()
{
    SetNoActivate(true);
    SetVisible(true);
}

void TCustomForm::SetNoActivate(bool Value)
{
    if (FNoActivate == Value)
        return;
    FNoActivate = Value;
    if (QWidget *w = WidgetIfAllocated()) {
        w->setAttribute(Qt::WA_ShowWithoutActivating, Value);
        ApplyBorder();
    }
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    if (FFormStyle == Value)
        return;
    FFormStyle = Value;
    ApplyBorder();
}

void TCustomForm::SetAlphaBlend(bool Value)
{
    FAlphaBlend = Value;
    ApplyAlpha();
}

void TCustomForm::SetAlphaBlendValue(Byte Value)
{
    FAlphaBlendValue = Value;
    ApplyAlpha();
}

void TCustomForm::ApplyAlpha()
{
    if (QWidget *w = WidgetIfAllocated(); w && w->isWindow())
        w->setWindowOpacity(FAlphaBlend ? FAlphaBlendValue / 255.0 : 1.0);
}

void TCustomForm::Hide()
{
    SetVisible(false);
}

bool TCustomForm::Showing() const
{
    return Visible();
}

bool TCustomForm::CanFocus() const
{
    return Visible() && Enabled();
}

void TCustomForm::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    ActivateWidget(WidgetIfAllocated());
}

void TCustomForm::SetActiveControl(TWinControl *Control)
{
    if (FActiveControl == Control)
        return;
    if (Control && (Control == this || ::GetParentForm(Control) != this || !Control->CanFocus()))
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    FActiveControl = Control;
    if (Control && Visible() && FActive) {
        if (QWidget *w = Control->Widget())
            w->setFocus(Qt::OtherFocusReason);
    }
}

void TCustomForm::FocusControl(TWinControl *Control)
{
    if (Control && (::GetParentForm(Control) != this || !Control->CanFocus()))
        throw EInvalidOperation(QStringLiteral("Cannot focus a disabled or invisible window"));
    FActiveControl = Control;
    if (!Control || !Visible())
        return;
    QWidget *w = Control->Widget();
    if (!FActive)
        ActivateWidget(WidgetIfAllocated());
    if (w)
        w->setFocus(Qt::OtherFocusReason);
}

bool TCustomForm::SetFocusedControl(TWinControl *Control)
{
    if (Control == FFocusedControl)
        return true;
    TWinControl *old = FFocusedControl;
    FFocusedControl = Control;
    if (Control && Control != this)
        FActiveControl = Control;
    // Exits from the old control outwards up to the common parent, then enters inwards.
    for (TWinControl *c = old; c && c != this && !(Control && c->ContainsControl(Control)); c = c->Parent()) {
        c->Perform(CM_EXIT);
        if (FFocusedControl != Control)
            return false;
    }
    std::vector<TWinControl *> chain;
    for (TWinControl *c = Control; c && c != this && !(old && c->ContainsControl(old)); c = c->Parent())
        chain.push_back(c);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        (*it)->Perform(CM_ENTER);
        if (FFocusedControl != Control)
            return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
    return true;
}

void TCustomForm::WindowActivated(bool Value, HWND Other)
{
    if (FActive == Value)
        return;
    FActive = Value;
    // Told before the form's own activation handling, as the window system does.
    Perform(WM_ACTIVATE, Value ? WA_ACTIVE : WA_INACTIVE, reinterpret_cast<LPARAM>(Other));
    if (FActive != Value)
        return;
    if (Value) {
        FFormState << fsActivated;
        if (!FActiveControl)
            FActiveControl = FindNextControl(nullptr, true, true, false);
        if (FActiveControl && FActiveControl->CanFocus())
            if (QWidget *w = FActiveControl->Widget())
                if (!w->hasFocus())
                    w->setFocus(Qt::ActiveWindowFocusReason);
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::WMSetFocus(TWMSetFocus &Message)
{
    TWinControl::WMSetFocus(Message);
    if (FActiveControl && FActiveControl != this && FActiveControl->CanFocus())
        if (QWidget *w = FActiveControl->Widget())
            w->setFocus(Qt::OtherFocusReason);
}

void TCustomForm::CMDialogKey(TCMDialogKey &Message)
{
    if (GetKeyState(VK_MENU) >= 0) {
        switch (Message.CharCode) {
        case VK_TAB:
            if (GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
                Message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (FActiveControl && FActiveControl->Parent()) {
                FActiveControl->Parent()->SelectNext(FActiveControl, Message.CharCode == VK_RIGHT || Message.CharCode == VK_DOWN, false);
                Message.Result = 1;
            }
            return;
        default:
            break;
        }
    }
    TWinControl::CMDialogKey(Message);
}

namespace {

// Resizing from the bottom-right corner where the window system does not do it (a headless
// run): the window follows the pointer until the button is released, with WM_SIZING at every
// step. The moves belong to the resize; the release goes on to the window under the pointer.
class TCornerSizeTracker : public QObject {
public:
    TCornerSizeTracker(TCustomForm *Form, TPoint Start, QObject **Slot)
        : FForm(Form), FStart(Start), FStartSize(Form->Width(), Form->Height()), FSlot(Slot)
    {
        *FSlot = this;
        qApp->installEventFilter(this);
    }
    ~TCornerSizeTracker() override
    {
        qApp->removeEventFilter(this);
        if (*FSlot == this)
            *FSlot = nullptr;
    }

protected:
    bool eventFilter(QObject *, QEvent *Event) override
    {
        if (Event->type() != QEvent::MouseMove && Event->type() != QEvent::MouseButtonRelease)
            return false;
        const QPoint g = static_cast<QMouseEvent *>(Event)->globalPosition().toPoint();
        Follow(TPoint(g.x(), g.y()));
        if (Event->type() == QEvent::MouseButtonRelease) {
            deleteLater();
            qApp->removeEventFilter(this);
            return false;
        }
        return true;
    }

private:
    void Follow(TPoint P)
    {
        TCustomForm *f = FForm;
        TRect r = Bounds(f->Left(), f->Top(), FStartSize.cx + P.X - FStart.X, FStartSize.cy + P.Y - FStart.Y);
        // WM_SIZING may change the rectangle before the window takes it.
        f->Perform(WM_SIZING, 8 /* WMSZ_BOTTOMRIGHT */, reinterpret_cast<LPARAM>(&r));
        f->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    }
    TCustomForm *FForm;
    TPoint FStart;
    TSize FStartSize;
    QObject **FSlot;
};

} // namespace

void TCustomForm::StartCornerResize()
{
    QWidget *w = WidgetIfAllocated();
    if (!w)
        return;
    if (QWindow *win = w->windowHandle(); win && win->startSystemResize(Qt::BottomEdge | Qt::RightEdge))
        return;
    delete FCornerSizeTracker;
    TPoint p;
    GetCursorPos(p);
    new TCornerSizeTracker(this, p, &FCornerSizeTracker);
}

void TCustomForm::Dispatch(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_NCLBUTTONDOWN:
        if (Message.WParam == static_cast<WPARAM>(HTBOTTOMRIGHT)) {
            StartCornerResize();
            return;
        }
        break;
    case WM_CLOSE: {
        TWMClose r(Message);
        WMClose(r);
        r.Store();
        return;
    }
    case CM_TEXTCHANGED:
        if (QWidget *w = WidgetIfAllocated())
            w->setWindowTitle(Caption());
        break;
    case CM_RELEASE:
        BeforeDestruction();
        delete this;
        return;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomForm::WMClose(TWMClose &)
{
    Close();
}

void TCustomForm::SetModalResult(TModalResult Value)
{
    FModalResult = Value;
    if (FModalLoop && Value != mrNone)
        FModalLoop->quit();
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FFormState.Contains(fsModal)) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        Hide();
    } else if (action == caHide || action == caMinimize) {
        Hide();
    } else {
        Hide();
        Release();
    }
}

void TCustomForm::Release()
{
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal()
{
    if (!FCreated)
        AfterConstruction();
    if (Visible() || !Enabled() || FFormState.Contains(fsModal))
        throw EInvalidOperation(QStringLiteral("Cannot make a visible window modal"));
    TModalRequest request;
    request.Kind = mkForm;
    request.Form = this;
    request.ClassName = ClassName();
    request.Name = Name();
    request.Caption = Caption();
    request.RunDefault = [this](TModalRequest &) { return ExecuteModal(); };
    FModalResult = mrNone;
    const TModalResult result = RunModal(request);
    FModalResult = result;
    return result;
}

QWidget *TCustomForm::ModalOwnerWindow()
{
    QWidget *w = WidgetIfAllocated();
    if (!w || !w->isWindow() || w->parentWidget())
        return nullptr;
    // The window the user opened it from: the active form, else the main form.
    TCustomForm *owner = Screen ? Screen->ActiveForm() : nullptr;
    if (!owner || owner == this || !owner->Visible())
        owner = Application ? Application->MainForm() : nullptr;
    if (!owner || owner == this || !owner->Visible())
        return nullptr;
    QWidget *ow = owner->WidgetIfAllocated();
    return ow ? ow->window() : nullptr;
}

TModalResult TCustomForm::ExecuteModal()
{
    ReleaseCapture();
    FFormState << fsModal;
    if (Application)
        ++Application->FModalLevel;
    FModalResult = mrNone;
    QEventLoop loop;
    TLoopRegistration registration(&loop);
    auto cleanUp = [&] {
        FModalLoop = nullptr;
        FFormState >> fsModal;
        if (Application)
            --Application->FModalLevel;
        if (Visible())
            Hide();
        if (QWidget *w = WidgetIfAllocated())
            w->setWindowModality(Qt::NonModal);
        if (FModalOwner) {
            FModalOwner = nullptr;
            ApplyBorder();
        }
    };
    try {
        HandleNeeded();
        FModalOwner = ModalOwnerWindow();
        if (FModalOwner)
            ApplyBorder();
        if (QWidget *w = WidgetIfAllocated())
            w->setWindowModality(Qt::ApplicationModal);
        Show();
        FModalLoop = &loop;
        for (;;) {
            if (FModalResult == mrNone && !(Application && Application->Terminated()) && Visible())
                loop.exec(QEventLoop::DialogExec);
            if (Application && Application->Terminated())
                FModalResult = mrCancel;
            else if (FModalResult == mrNone && !Visible())
                FModalResult = mrCancel; // hidden behind the loop's back: as if closed
            if (FModalResult == mrNone)
                continue;
            // The close of a modal run: OnCloseQuery may refuse, OnClose may keep it open.
            TCloseAction action = caNone;
            platform_detail::GuardedCall(this, [&] {
                if (CloseQuery()) {
                    action = caHide;
                    DoClose(action);
                }
            });
            if (action == caNone && !(Application && Application->Terminated())) {
                FModalResult = mrNone;
                if (!Visible())
                    Show();
                continue;
            }
            if (action == caFree)
                Release();
            break;
        }
    } catch (...) {
        cleanUp();
        throw;
    }
    const TModalResult result = FModalResult;
    cleanUp();
    FModalResult = result;
    return result;
}

// ---------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent *AOwner) : TComponent(AOwner)
{
}

TApplication::~TApplication()
{
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (auto *f = dynamic_cast<TCustomForm *>(Components(i)))
            f->BeforeDestruction();
}

bool IsAccel(Word Char, const UnicodeString &Caption)
{
    for (int i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption.at(i) != QLatin1Char('&'))
            continue;
        if (Caption.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return Caption.at(i + 1).toUpper() == QChar(static_cast<char16_t>(Char)).toUpper();
    }
    return false;
}

TApplicationHost::TApplicationHost(int &argc, char **argv) : FApp(new QApplication(argc, argv))
{
}

TApplicationHost::~TApplicationHost()
{
    delete FApp;
}

void TApplication::Initialize()
{
    FTerminated = false;
}

void TApplication::FormCreated(TCustomForm *Form)
{
    if (!FMainForm)
        FMainForm = Form;
}

void TApplication::Run()
{
    if (FMainForm && !FTerminated)
        FMainForm->Show();
    QEventLoop loop;
    TLoopRegistration registration(&loop);
    while (!FTerminated && FMainForm && FMainForm->Visible())
        loop.exec();
}

void TApplication::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::HandleMessage()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    if (OnIdle)
        OnIdle(this);
}

HWND TApplication::Handle() const
{
    return FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
}

void TApplication::Terminate()
{
    FTerminated = true;
    for (QEventLoop *l : Loops())
        l->quit();
}

UnicodeString TApplication::ExeName() const
{
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : UnicodeString();
}

void TApplication::HandleException(TObject *Sender)
{
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort &) {
        return;
    } catch (const Exception &e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (const std::bad_alloc &) {
        // Raised by a request too large to serve (a huge or endless input), not only when
        // memory is short: the program goes on, and the message says what happened.
        const Exception wrapped(QStringLiteral("Out of memory"));
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    } catch (const std::exception &e) {
        const Exception wrapped(QString::fromLocal8Bit(e.what()));
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        const Exception wrapped(QStringLiteral("Unknown exception"));
        if (OnException)
            OnException(Sender, wrapped);
        else
            ShowException(wrapped);
    }
}

void TApplication::ShowException(const Exception &E)
{
    UnicodeString text = E.Message();
    if (!text.isEmpty() && text.back().unicode() > u'.')
        text += QLatin1Char('.');
    TModalRequest request;
    request.Kind = mkMessage;
    request.DlgType = mtError;
    request.Caption = FTitle.isEmpty() ? QFileInfo(ExeName()).completeBaseName() : FTitle;
    request.Text = text;
    request.Buttons = {mbOK};
    request.RunDefault = [](TModalRequest &r) {
        QMessageBox box(QMessageBox::Critical, r.Caption, r.Text, QMessageBox::Ok);
        box.exec();
        return mrOk;
    };
    ++FModalLevel;
    try {
        RunModal(request);
    } catch (...) {
        --FModalLevel;
        throw;
    }
    --FModalLevel;
}

// ---------------------------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent *AOwner) : TComponent(AOwner)
{
}

void TScreen::SetCursor(TCursor Value)
{
    if (FCursor == Value)
        return;
    const bool had = FCursor != crDefault;
    FCursor = Value;
    if (!QGuiApplication::instance())
        return;
    if (Value == crDefault) {
        if (had)
            QGuiApplication::restoreOverrideCursor();
    } else {
        const QCursor c = platform_detail::QtCursorOf(Value);
        if (had)
            QGuiApplication::changeOverrideCursor(c);
        else
            QGuiApplication::setOverrideCursor(c);
    }
}

int TScreen::Width() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

TCustomForm *TScreen::ActiveForm() const
{
    for (TCustomForm *f : FormList())
        if (f->Active())
            return f;
    return nullptr;
}

TWinControl *TScreen::ActiveControl() const
{
    TCustomForm *f = ActiveForm();
    return f ? f->ActiveControl() : nullptr;
}

int TScreen::FormCount() const
{
    return static_cast<int>(FormList().size());
}

TCustomForm *TScreen::Forms(int Index) const
{
    if (Index < 0 || Index >= FormCount())
        throw EListError(QString::fromLatin1(SListIndexError).arg(Index));
    return FormList()[static_cast<std::size_t>(Index)];
}
