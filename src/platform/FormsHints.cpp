// The hint machinery: the pause before a control is asked for its hint (CM_HINTSHOW), the hint
// window it shows in, and the monitors a hint keeps inside of.
#include "platform/Forms.h"

#include "platform/ControlsPrivate.h"
#include "platform/MultiMon.h"
#include "platform/WinGdi.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>

THintWindowClass HintWindowClass = &HintWindowClassOf<THintWindow>;

// ---- the hint window ----

THintWindow::THintWindow(TComponent *AOwner) : TCustomControl(AOwner)
{
    SetColor(clInfoBk);
    SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams &Params)
{
    TCustomControl::CreateParams(Params);
    // The pointer goes through to the control below, so that resting on the hint never takes
    // the hint away from the control it belongs to.
    Params.Style = WS_POPUP | WS_BORDER | WS_DISABLED;
    Params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const UnicodeString &AHint, TObject *)
{
    TRect r(0, 0, MaxWidth, 0);
    Canvas()->Font()->Assign(Font());
    DrawText(Canvas()->Handle(), AHint, -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    // Text margins and the one-pixel frame on each side.
    r.Right += 6 + 2;
    r.Bottom += 2 + 2;
    return r;
}

void THintWindow::ActivateHint(TRect Rect, const UnicodeString &AHint)
{
    SetCaption(AHint);
    ShowAt(Rect);
}

void THintWindow::ActivateHintData(TRect Rect, const UnicodeString &AHint, TObject *)
{
    ActivateHint(Rect, AHint);
}

void THintWindow::ReleaseHandle()
{
    DestroyHandle();
}

bool THintWindow::Showing() const
{
    const QWidget *w = WidgetIfAllocated();
    return w && w->isVisible();
}

void THintWindow::ShowAt(const TRect &Rect)
{
    SetBounds(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    QWidget *w = Widget();
    // A tool window may still be activated by the window system when it shows, and then the form
    // below loses its focused control to a window that takes no input. A tool tip never is.
    const Qt::WindowFlags tip = (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::ToolTip;
    if (w->windowFlags() != tip)
        w->setWindowFlags(tip);
    w->setGeometry(Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top);
    w->show();
    Invalidate();
}

void THintWindow::Paint()
{
    TCanvas *c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    if (GetWindowLong(Handle(), GWL_STYLE) & LPARAM(WS_BORDER)) {
        c->Brush()->SetColor(clWindowFrame);
        c->FrameRect(r);
        InflateRect(r, -1, -1);
    }
    r.Left += 2;
    r.Top += 2;
    c->Brush()->SetStyle(TBrushStyle::bsClear);
    c->Font()->Assign(Font());
    DrawText(c->Handle(), Caption(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

// ---- the machinery ----

void TApplication::HintMouseMessage(TControl *Control, TPoint CursorPos)
{
    FHintCursor = CursorPos;
    TControl *c = Control && Control->ShowHint() && FShowHint ? Control : nullptr;
    if (!c) {
        CancelHint();
        return;
    }
    if (c == FHintControl && FHintCursorRect.Contains(CursorPos))
        return;
    const bool wasActive = FHintActive;
    if (FHintActive)
        HideHint();
    FHintControl = c;
    // The pointer is not resting on the rectangle of the hint asked last: wait for the next rest.
    FHintCursorRect = TRect();
    StartHintTimer(wasActive ? FHintShortPause : FHintPause, true);
}

void TApplication::HintControlDestroyed(TControl *Control)
{
    if (Control == FHintWindow) {
        FHintWindow = nullptr;
        FHintActive = false;
    }
    if (Control == FHintControl) {
        FHintControl = nullptr;
        FHintActive = false;
        StopHintTimer();
    }
}

void TApplication::CancelHint()
{
    StopHintTimer();
    HideHint();
    FHintControl = nullptr;
    FHintCursorRect = TRect();
}

void TApplication::HideHint()
{
    FHintActive = false;
    if (FHintWindow)
        FHintWindow->ReleaseHandle();
}

void TApplication::StartHintTimer(int Pause, bool ForShow)
{
    if (!FHintTimer) {
        FHintTimer = new QTimer(QCoreApplication::instance());
        FHintTimer->setSingleShot(true);
        QObject::connect(FHintTimer, &QTimer::timeout, [this] { HintTimerExpired(); });
        // The timer goes with the Qt application; this object outlives it.
        QObject::connect(FHintTimer, &QObject::destroyed, [this] { FHintTimer = nullptr; });
    }
    FHintTimerForShow = ForShow;
    FHintTimer->start(std::max(Pause, 0));
}

void TApplication::StopHintTimer()
{
    if (FHintTimer)
        FHintTimer->stop();
}

void TApplication::HintTimerExpired()
{
    if (FHintTimerForShow)
        ActivateHint(FHintCursor);
    else
        HideHint();
}

void TApplication::ActivateHint(TPoint CursorPos)
{
    StopHintTimer();
    FHintCursor = CursorPos;
    TControl *control = FHintControl;
    if (!control) {
        // Asked directly: the control under the pointer.
        control = GetMouseControl();
        if (!control || !control->ShowHint() || !FShowHint)
            return;
        FHintControl = control;
    }
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = ::HintWindowClass;
    info.CursorPos = control->ScreenToClient(CursorPos);
    info.CursorRect = control->ClientRect();
    // Below the pointer's arrow.
    info.HintPos = {CursorPos.X, CursorPos.Y + 20};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = FHintColor;
    // The hint text is the part before "|" (the rest is the long hint of status bars).
    info.HintStr = control->Hint().section(QLatin1Char('|'), 0, 0);
    LRESULT refused = 0;
    platform_detail::GuardedCall(control, [&] { refused = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)); });
    if (FHintControl != control)
        return; // the control went away or cancelled the hint while asked
    const TPoint tl = control->ClientToScreen(info.CursorRect.TopLeft());
    FHintCursorRect = TRect(tl.X, tl.Y, tl.X + info.CursorRect.Width(), tl.Y + info.CursorRect.Height());
    if (refused != 0 || info.HintStr.isEmpty() || !info.HintWindowClass) {
        HideHint();
        return;
    }
    if (FHintWindow && FHintWindowMaker != info.HintWindowClass) {
        THintWindow *old = FHintWindow;
        FHintWindow = nullptr;
        delete old;
    }
    if (!FHintWindow) {
        FHintWindow = info.HintWindowClass(this);
        FHintWindowMaker = info.HintWindowClass;
    }
    FHintWindow->SetColor(info.HintColor);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
    FHintActive = true;
    if (FHintHidePause > 0)
        StartHintTimer(FHintHidePause, false);
}

// ---- monitors ----

TMonitor *TScreen::MonitorFromPoint(TPoint Point, TMonitorDefaultTo MonitorDefault)
{
    const std::vector<TScreenMonitor> layout = ScreenLayout();
    while (FMonitors.size() < layout.size())
        FMonitors.push_back(std::make_unique<TMonitor>());
    for (std::size_t i = 0; i < layout.size(); ++i) {
        FMonitors[i]->FNum = int(i);
        FMonitors[i]->FBounds = layout[i].Bounds;
        FMonitors[i]->FWork = layout[i].WorkArea;
    }
    const DWORD flags = MonitorDefault == mdNull ? MONITOR_DEFAULTTONULL
                        : MonitorDefault == mdPrimary ? MONITOR_DEFAULTTOPRIMARY
                                                       : MONITOR_DEFAULTTONEAREST;
    HMONITOR h = ::MonitorFromPoint(Point, flags);
    if (!h)
        return nullptr;
    MONITORINFO mi;
    if (!GetMonitorInfo(h, &mi))
        return nullptr;
    for (std::size_t i = 0; i < layout.size(); ++i)
        if (layout[i].Bounds == mi.rcMonitor)
            return FMonitors[i].get();
    return FMonitors.front().get();
}
