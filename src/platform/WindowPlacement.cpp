#include "platform/WindowPlacement.h"

#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>

#include <set>

namespace {

HWND &Foreground()
{
    static HWND wnd = nullptr;
    return wnd;
}

std::set<HWND> &HiddenCarets()
{
    static std::set<HWND> carets;
    return carets;
}

// The window the program last asked to be the active one, and since when.
struct TActivationRequest {
    HWND Wnd = nullptr;
    QElapsedTimer Since;
};

TActivationRequest &LastActivationRequest()
{
    static TActivationRequest request;
    return request;
}

// Longer than the window system takes to report a change it was asked for; after it, reports
// come from the user (another window clicked, another program brought up).
constexpr qint64 ActivationReportDelayMs = 1000;

HWND HandleOfWidget(QWidget *W)
{
    return W ? reinterpret_cast<HWND>(static_cast<std::uintptr_t>(W->property("fabricorHandle").value<qulonglong>()))
             : nullptr;
}

TWinControl *TopLevelOf(TWinControl *Control)
{
    if (TCustomForm *f = GetParentForm(Control))
        return f;
    while (Control && Control->Parent())
        Control = Control->Parent();
    return Control;
}

} // namespace

void platform_detail::NoteActivationRequest(QWidget *Widget)
{
    const HWND h = HandleOfWidget(Widget ? Widget->window() : nullptr);
    if (!h)
        return;
    LastActivationRequest().Wnd = h;
    LastActivationRequest().Since.start();
}

bool platform_detail::ActivationReportIsStale(HWND Wnd, bool Active)
{
    TActivationRequest &r = LastActivationRequest();
    if (!r.Wnd)
        return false;
    TWinControl *wanted = TWinControl::FindControl(r.Wnd);
    if (!wanted || !wanted->Visible() || r.Since.elapsed() > ActivationReportDelayMs) {
        r.Wnd = nullptr;
        return false;
    }
    return Active ? Wnd != r.Wnd : Wnd == r.Wnd;
}

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    const int l = (Flags & SWP_NOMOVE) ? c->Left() : X;
    const int t = (Flags & SWP_NOMOVE) ? c->Top() : Y;
    const int w = (Flags & SWP_NOSIZE) ? c->Width() : CX;
    const int h = (Flags & SWP_NOSIZE) ? c->Height() : CY;
    c->SetBounds(l, t, w, h);
    if (Flags & SWP_SHOWWINDOW)
        c->SetVisible(true);
    if (InsertAfter == HwndTopMost() && !(Flags & SWP_NOZORDER))
        if (QWidget *w2 = c->WidgetIfAllocated())
            w2->raise();
    return TRUE;
}

BOOL SetForegroundWindow(HWND Wnd)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    TWinControl *target = TopLevelOf(c);
    HWND targetWnd = target->Handle();
    TWinControl *previous = TWinControl::FindControl(Foreground());
    if (Screen && Screen->ActiveForm())
        previous = Screen->ActiveForm();
    Foreground() = targetWnd;
    if (previous == target)
        return TRUE;
    // Delivered at once: the window system of a headless run activates late or never. The
    // window system's own report of the same change later finds nothing changed.
    const HWND previousWnd = previous ? previous->Handle() : nullptr;
    if (auto *f = dynamic_cast<TCustomForm *>(previous))
        f->WindowActivated(false, targetWnd);
    else if (previous)
        previous->Perform(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(targetWnd));
    if (auto *f = dynamic_cast<TCustomForm *>(target))
        f->WindowActivated(true, previousWnd);
    else
        target->Perform(WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(previousWnd));
    if (QWidget *w = target->WidgetIfAllocated()) {
        platform_detail::NoteActivationRequest(w);
        w->activateWindow();
    }
    return TRUE;
}

HWND GetForegroundWindow()
{
    if (!TWinControl::FindControl(Foreground()))
        Foreground() = nullptr;
    return Foreground();
}

namespace {

// The text widgets draw their caret as wide as the style says; a width of 0 hides it.
class TNoCaretStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric Metric, const QStyleOption *Option, const QWidget *Widget) const override
    {
        if (Metric == PM_TextCursorWidth)
            return 0;
        return QProxyStyle::pixelMetric(Metric, Option, Widget);
    }
};

QStyle *NoCaretStyle()
{
    static QPointer<QStyle> style;
    if (!style)
        style = new TNoCaretStyle;
    return style;
}

} // namespace

BOOL HideCaret(HWND Wnd)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    HiddenCarets().insert(Wnd);
    if (QWidget *w = c->WidgetIfAllocated()) {
        w->setStyle(NoCaretStyle());
        w->update();
    }
    return TRUE;
}

BOOL ShowCaret(HWND Wnd)
{
    if (HiddenCarets().erase(Wnd) == 0)
        return FALSE;
    if (TWinControl *c = TWinControl::FindControl(Wnd))
        if (QWidget *w = c->WidgetIfAllocated()) {
            w->setStyle(nullptr);
            w->update();
        }
    return TRUE;
}

bool CaretHidden(HWND Wnd)
{
    return HiddenCarets().count(Wnd) > 0;
}
