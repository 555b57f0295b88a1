#pragma once
// The window-system calls that the system's code makes on window handles: sending and posting
// messages, registered messages, window timers, key and mouse state, capture, screen
// coordinates, system metrics, hooks and the small time services.
//
// A window handle (HWND) stands for the window of one windowed control (TWinControl); it is
// valid from the control's CreateWnd to its DestroyWnd. Calls on a handle that is no longer
// valid do nothing and report failure, as the classic calls do.

#include "platform/Messages.h"
#include "platform/System.h"
#include "platform/Types.h"

#include <cstdint>

using UINT_PTR = std::uintptr_t;
using SHORT = std::int16_t;
using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

// A kernel object (process, event): an opaque value, never a pointer to dereference.
using HANDLE = void *;
// Waits on kernel objects: no time limit, and what a wait reports.
inline constexpr DWORD INFINITE = 0xFFFFFFFF;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;

// ---- virtual-key codes ----
constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_SELECT = 0x29;
constexpr Word VK_PRINT = 0x2A;
constexpr Word VK_EXECUTE = 0x2B;
constexpr Word VK_SNAPSHOT = 0x2C;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their own key codes.
constexpr Word VK_LWIN = 0x5B;
constexpr Word VK_RWIN = 0x5C;
constexpr Word VK_APPS = 0x5D;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_NUMPAD1 = 0x61;
constexpr Word VK_NUMPAD2 = 0x62;
constexpr Word VK_NUMPAD3 = 0x63;
constexpr Word VK_NUMPAD4 = 0x64;
constexpr Word VK_NUMPAD5 = 0x65;
constexpr Word VK_NUMPAD6 = 0x66;
constexpr Word VK_NUMPAD7 = 0x67;
constexpr Word VK_NUMPAD8 = 0x68;
constexpr Word VK_NUMPAD9 = 0x69;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SEPARATOR = 0x6C;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F6 = 0x75;
constexpr Word VK_F7 = 0x76;
constexpr Word VK_F8 = 0x77;
constexpr Word VK_F9 = 0x78;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F11 = 0x7A;
constexpr Word VK_F12 = 0x7B;
constexpr Word VK_NUMLOCK = 0x90;
constexpr Word VK_SCROLL = 0x91;
constexpr Word VK_LSHIFT = 0xA0;
constexpr Word VK_RSHIFT = 0xA1;
constexpr Word VK_LCONTROL = 0xA2;
constexpr Word VK_RCONTROL = 0xA3;
constexpr Word VK_LMENU = 0xA4;
constexpr Word VK_RMENU = 0xA5;
constexpr Word VK_OEM_1 = 0xBA;      // ;:
constexpr Word VK_OEM_PLUS = 0xBB;   // =+
constexpr Word VK_OEM_COMMA = 0xBC;  // ,<
constexpr Word VK_OEM_MINUS = 0xBD;  // -_
constexpr Word VK_OEM_PERIOD = 0xBE; // .>
constexpr Word VK_OEM_2 = 0xBF;      // /?
constexpr Word VK_OEM_3 = 0xC0;      // `~
constexpr Word VK_OEM_4 = 0xDB;      // [{
constexpr Word VK_OEM_5 = 0xDC;      // \|
constexpr Word VK_OEM_6 = 0xDD;      // ]}
constexpr Word VK_OEM_7 = 0xDE;      // '"

// ---- messages on window handles ----

// Runs the window's procedure now and returns its result; 0 for an invalid handle.
LRESULT SendMessage(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam);
inline LRESULT SendMessageW(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam) { return SendMessage(Wnd, Msg, WParam, LParam); }
// Queues the message; it arrives once, after the running handler has returned, in the order of
// posting. A message for a window destroyed in between is dropped. False for an invalid handle.
BOOL PostMessage(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam);
inline BOOL PostMessageW(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam) { return PostMessage(Wnd, Msg, WParam, LParam); }
// The message number of a name, the same for every call with that name (without regard to
// case) during the run; numbers lie in 0xC000..0xFFFF. 0 for an empty name.
Cardinal RegisterWindowMessage(const UnicodeString &Name);
inline Cardinal RegisterWindowMessageW(const UnicodeString &Name) { return RegisterWindowMessage(Name); }
// Private clipboard formats share the numbers of registered window messages, as on the classic
// system: a name gives the same number through either call. The predefined formats are in
// platform/Clipboard.h.
Cardinal RegisterClipboardFormat(const UnicodeString &Name);
inline Cardinal RegisterClipboardFormatW(const UnicodeString &Name) { return RegisterClipboardFormat(Name); }
// The name a format or message was registered with; its length, 0 for an unknown number.
int GetClipboardFormatName(Cardinal Format, UnicodeString &Name);

bool IsWindow(HWND Wnd);
bool IsWindowVisible(HWND Wnd);
bool IsWindowEnabled(HWND Wnd);
// Repaints the rectangle (nullptr: the whole client area) at the next paint.
BOOL InvalidateRect(HWND Wnd, const TRect *Rect, BOOL Erase);
BOOL UpdateWindow(HWND Wnd);
BOOL GetClientRect(HWND Wnd, TRect &Rect);
BOOL GetWindowRect(HWND Wnd, TRect &Rect);
// The parent window; for a form made with an owner window, the owner.
HWND GetParent(HWND Wnd);
HWND GetFocus();
HWND SetFocus(HWND Wnd);
// The window of ours under a screen point; 0 when there is none.
HWND WindowFromPoint(TPoint Point);

// ---- timers ----
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
// Starts (or restarts) timer IDEvent of the window; each period brings WM_TIMER with WParam =
// IDEvent, or calls TimerFunc when one is given. Without a window the timer gets an id of its
// own (returned) and needs TimerFunc. Returns 0 when the window is invalid. While a time source
// that runs timers itself is installed (a test's manual clock), the timer runs on that source.
UINT_PTR SetTimer(HWND Wnd, UINT_PTR IDEvent, UINT Elapse, TIMERPROC TimerFunc);
BOOL KillTimer(HWND Wnd, UINT_PTR IDEvent);

// ---- keyboard and mouse state ----
// High bit set (a negative value) while the key is down, as far as the program has seen the key
// go down and not up; bit 0 is the toggle state. Mouse buttons (VK_LBUTTON ...) and the shift
// keys are answered too.
SHORT GetKeyState(int VirtKey);
SHORT GetAsyncKeyState(int VirtKey);
BOOL GetKeyboardState(Byte *KeyState256);

// The window that gets every mouse message until released; the previous capture is returned.
HWND SetCapture(HWND Wnd);
BOOL ReleaseCapture();
HWND GetCapture();

// The pointer position in screen coordinates, as the last mouse event left it.
BOOL GetCursorPos(TPoint &Point);
BOOL SetCursorPos(int X, int Y);
BOOL ScreenToClient(HWND Wnd, TPoint &Point);
BOOL ClientToScreen(HWND Wnd, TPoint &Point);

// No sound in this program: beeps are only counted, so that a test can see a refusal.
BOOL MessageBeep(UINT Type);
// Beeps since the program started.
int MessageBeepCount();
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;

// ---- system metrics ----
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
// The classic values (scroll bars 17 pixels, caption 18, border 1, edge 2, ...), the screen size
// from the primary screen; 0 for metrics nobody asks for.
int GetSystemMetrics(int Index);

// Lines to scroll per wheel notch (SystemParametersInfo SPI_GETWHEELSCROLLLINES): 3.
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
BOOL SystemParametersInfo(UINT Action, UINT Param, void *PvParam, UINT WinIni);
inline BOOL SystemParametersInfoW(UINT Action, UINT Param, void *PvParam, UINT WinIni) { return SystemParametersInfo(Action, Param, PvParam, WinIni); }
UINT GetDoubleClickTime();

// ---- call-window-procedure hooks ----
// A WH_CALLWNDPROC hook sees every message sent to a window of the program (by SendMessage,
// from the window system, and the window position notifications WM_WINDOWPOSCHANGING/CHANGED
// when a window moves or changes size) before the window's procedure runs.
struct CWPSTRUCT {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};
struct HHOOK__;
using HHOOK = HHOOK__ *;
using HOOKPROC = LRESULT (*)(int Code, WPARAM WParam, LPARAM LParam);
constexpr int WH_CALLWNDPROC = 4;
constexpr int HC_ACTION = 0;
// Installs a hook (only WH_CALLWNDPROC is known; others give 0). The module and thread
// arguments are accepted for the classic signature and ignored: hooks see the program's
// user-interface thread.
HHOOK SetWindowsHookEx(int IdHook, HOOKPROC Proc, void *Module, DWORD ThreadId);
inline HHOOK SetWindowsHookExW(int IdHook, HOOKPROC Proc, void *Module, DWORD ThreadId) { return SetWindowsHookEx(IdHook, Proc, Module, ThreadId); }
LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM WParam, LPARAM LParam);
BOOL UnhookWindowsHookEx(HHOOK Hook);
// Runs the installed hooks for a message about to reach Wnd (the window layer calls this).
void CallWndProcHooks(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam);

// ---- time ----
// Milliseconds since the program started (wraps after 49 days, as the classic counter does).
DWORD GetTickCount();
Int64 GetTickCount64();
void Sleep(DWORD Milliseconds);
DWORD SleepEx(DWORD Milliseconds, BOOL Alertable);
DWORD GetCurrentThreadId();

// ---- layered windows ----
// A top-level window may be translucent: SetLayeredWindowAttributes gives the whole window an
// opacity (LWA_ALPHA) or makes the pixels of one colour transparent (LWA_COLORKEY);
// UpdateLayeredWindow makes a premultiplied 32-bit picture the content of a frameless,
// translucent top-level window at a screen position. False for an invalid handle, and
// UpdateLayeredWindow also for a window that is a child of another or a source without pixels.
inline constexpr DWORD LWA_COLORKEY = 0x00000001;
inline constexpr DWORD LWA_ALPHA = 0x00000002;
inline constexpr DWORD ULW_COLORKEY = 0x00000001;
inline constexpr DWORD ULW_ALPHA = 0x00000002;
inline constexpr DWORD ULW_OPAQUE = 0x00000004;
inline constexpr Byte AC_SRC_OVER = 0x00;
inline constexpr Byte AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    Byte BlendOp = AC_SRC_OVER;
    Byte BlendFlags = 0;
    Byte SourceConstantAlpha = 255;
    Byte AlphaFormat = AC_SRC_ALPHA;
};
BOOL SetLayeredWindowAttributes(HWND Wnd, DWORD ColorKey, Byte Alpha, DWORD Flags);
// What the last SetLayeredWindowAttributes left (null pointers are skipped); false when the
// window never had layered attributes.
BOOL GetLayeredWindowAttributes(HWND Wnd, DWORD *ColorKey, Byte *Alpha, DWORD *Flags);
BOOL UpdateLayeredWindow(HWND Wnd, HDC DstDC, const TPoint *DstPos, const TSize *Size, HDC SrcDC, const TPoint *SrcPos,
                         DWORD ColorKey, const BLENDFUNCTION *Blend, DWORD Flags);

// ---- cursors from the program's resources ----
// LoadCursor gives the cursor picture a resource id names (the program's cursors, "8000" ..
// "8014"; the instance is not used), nullptr when there is none. SetCursor shows it over the
// window under the pointer until that window shows another; it answers the cursor shown before.
// GetCursor answers the cursor last set (nullptr: none yet, or the window's own).
struct HCURSOR__;
using HCURSOR = HCURSOR__ *;
HCURSOR LoadCursor(HANDLE Instance, int ResID);
// A cursor of the program's resources by name ("QRV_POINTER"), loaded once.
HCURSOR LoadCursor(HANDLE Instance, const UnicodeString &Name);
// Where the pointer's tip lies in the cursor's picture.
TPoint CursorHotSpot(HCURSOR Cursor);
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();
// The resource id LoadCursor was given for a cursor (0 for nullptr).
int CursorResourceID(HCURSOR Cursor);
