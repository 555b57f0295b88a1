#pragma once
// Window placement and activation calls and the messages around them that the drop-down popups
// use: SetWindowPos, SetForegroundWindow, HideCaret and the constants of WM_ACTIVATE, hit tests,
// WM_SIZING and EM_SETREADONLY.

#include "platform/Windows.h"

constexpr Cardinal WM_NCACTIVATE = 0x0086;
constexpr Cardinal WM_NCHITTEST = 0x0084;
constexpr Cardinal WM_NCLBUTTONDOWN = 0x00A1;
constexpr Cardinal WM_SIZING = 0x0214;
constexpr Cardinal EM_SETREADONLY = 0x00CF;

// WM_ACTIVATE: the low word of WParam, LParam the window being activated (on WA_INACTIVE) or
// the one losing activation.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;

constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTBOTTOMRIGHT = 17;

// HWND_TOPMOST (-1) as a handle value.
inline HWND HwndTopMost() { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)); }
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_SHOWWINDOW = 0x0040;

// Moves and sizes the control of the window (screen coordinates for a top-level window);
// HwndTopMost() raises it as well. False for an invalid handle.
BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags);
// Makes the form of the window the active one at once: the form losing activation gets
// WM_ACTIVATE (WA_INACTIVE, LParam = Wnd), the new one WM_ACTIVATE (WA_ACTIVE). Forms get the
// same messages when the window system changes the active window (a press on an inactive
// window of ours activates it); a change already delivered is not delivered again.
BOOL SetForegroundWindow(HWND Wnd);
// The window last made active by SetForegroundWindow (nullptr when none).
HWND GetForegroundWindow();
// The caret of an edit window is hidden until ShowCaret or until the window loses the focus
// (a window that gets the focus shows a new caret); CaretHidden answers it.
BOOL HideCaret(HWND Wnd);
BOOL ShowCaret(HWND Wnd);
bool CaretHidden(HWND Wnd);
