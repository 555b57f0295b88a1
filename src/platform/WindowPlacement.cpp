#include "platform/WindowPlacement.h"

#include "platform/Controls.h"
#include "platform/Forms.h"

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

TWinControl *TopLevelOf(TWinControl *Control)
{
    if (TCustomForm *f = GetParentForm(Control))
        return f;
    while (Control && Control->Parent())
        Control = Control->Parent();
    return Control;
}

} // namespace

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
    if (!previous && Screen)
        previous = Screen->ActiveForm();
    if (previous == target)
        return TRUE;
    Foreground() = targetWnd;
    // Delivered at once: the window system of a headless run activates late or never.
    if (previous)
        previous->Perform(WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(targetWnd));
    target->Perform(WM_ACTIVATE, WA_ACTIVE, previous ? reinterpret_cast<LPARAM>(previous->Handle()) : 0);
    if (QWidget *w = target->WidgetIfAllocated())
        w->activateWindow();
    return TRUE;
}

HWND GetForegroundWindow()
{
    if (!TWinControl::FindControl(Foreground()))
        Foreground() = nullptr;
    return Foreground();
}

BOOL HideCaret(HWND Wnd)
{
    if (!TWinControl::FindControl(Wnd))
        return FALSE;
    HiddenCarets().insert(Wnd);
    return TRUE;
}

BOOL ShowCaret(HWND Wnd)
{
    return HiddenCarets().erase(Wnd) > 0 ? TRUE : FALSE;
}

bool CaretHidden(HWND Wnd)
{
    return HiddenCarets().count(Wnd) > 0;
}
