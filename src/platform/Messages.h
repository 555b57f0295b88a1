#pragma once
// Window messages: the generic message record, the message numbers our controls exchange and the
// typed views of the messages that handlers receive.
//
// A typed record (TWMKey, TWMMouse, ...) is a decoded copy of a TMessage. The dispatcher builds it
// from the message, calls the handler, and stores the record's fields back, so a handler that sets
// `Message.CharCode = 0` or `Message.Result = 1` changes the message that its sender sees.

#include "platform/System.h"
#include "platform/Types.h"

#include <cstdint>

class TCanvas;

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT = unsigned int;
using SmallInt = std::int16_t;
using LongInt = std::int32_t;

// A window handle is the identity of a windowed control's window; 0 is no window.
struct HWND__;
using HWND = HWND__ *;
// A device context is the canvas that draws on the window (or bitmap) being painted.
using HDC = TCanvas *;

struct TMessage {
    Cardinal Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    Word WParamLo() const { return static_cast<Word>(WParam & 0xFFFF); }
    Word WParamHi() const { return static_cast<Word>((WParam >> 16) & 0xFFFF); }
    Word LParamLo() const { return static_cast<Word>(static_cast<std::uintptr_t>(LParam) & 0xFFFF); }
    Word LParamHi() const { return static_cast<Word>((static_cast<std::uintptr_t>(LParam) >> 16) & 0xFFFF); }
};

constexpr LPARAM MakeLParam(int lo, int hi)
{
    return static_cast<LPARAM>(static_cast<std::uint32_t>((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16 | (static_cast<std::uint32_t>(lo) & 0xFFFF)));
}
constexpr WPARAM MakeWParam(int lo, int hi) { return static_cast<WPARAM>(static_cast<std::uint32_t>(MakeLParam(lo, hi))); }
constexpr Word LoWord(std::uintptr_t v) { return static_cast<Word>(v & 0xFFFF); }
constexpr Word HiWord(std::uintptr_t v) { return static_cast<Word>((v >> 16) & 0xFFFF); }

// Window messages.
constexpr Cardinal WM_NULL = 0x0000;
constexpr Cardinal WM_CREATE = 0x0001;
constexpr Cardinal WM_DESTROY = 0x0002;
constexpr Cardinal WM_MOVE = 0x0003;
constexpr Cardinal WM_SIZE = 0x0005;
constexpr Cardinal WM_ACTIVATE = 0x0006;
constexpr Cardinal WM_SETFOCUS = 0x0007;
constexpr Cardinal WM_KILLFOCUS = 0x0008;
constexpr Cardinal WM_ENABLE = 0x000A;
constexpr Cardinal WM_SETREDRAW = 0x000B;
constexpr Cardinal WM_SETTEXT = 0x000C;
constexpr Cardinal WM_GETTEXT = 0x000D;
constexpr Cardinal WM_GETTEXTLENGTH = 0x000E;
constexpr Cardinal WM_PAINT = 0x000F;
constexpr Cardinal WM_CLOSE = 0x0010;
constexpr Cardinal WM_QUIT = 0x0012;
constexpr Cardinal WM_ERASEBKGND = 0x0014;
constexpr Cardinal WM_SHOWWINDOW = 0x0018;
constexpr Cardinal WM_CANCELMODE = 0x001F;
constexpr Cardinal WM_SETCURSOR = 0x0020;
constexpr Cardinal WM_MOUSEACTIVATE = 0x0021;
// Answers to WM_MOUSEACTIVATE.
constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr Cardinal WM_WINDOWPOSCHANGING = 0x0046;
constexpr Cardinal WM_WINDOWPOSCHANGED = 0x0047;
constexpr Cardinal WM_NOTIFY = 0x004E;
constexpr Cardinal WM_CONTEXTMENU = 0x007B;
constexpr Cardinal WM_NCDESTROY = 0x0082;
constexpr Cardinal WM_NCPAINT = 0x0085;
constexpr Cardinal WM_GETDLGCODE = 0x0087;
constexpr Cardinal WM_KEYFIRST = 0x0100;
constexpr Cardinal WM_KEYDOWN = 0x0100;
constexpr Cardinal WM_KEYUP = 0x0101;
constexpr Cardinal WM_CHAR = 0x0102;
constexpr Cardinal WM_DEADCHAR = 0x0103;
constexpr Cardinal WM_SYSKEYDOWN = 0x0104;
constexpr Cardinal WM_SYSKEYUP = 0x0105;
constexpr Cardinal WM_SYSCHAR = 0x0106;
constexpr Cardinal WM_KEYLAST = 0x0108;
constexpr Cardinal WM_COMMAND = 0x0111;
constexpr Cardinal WM_SYSCOMMAND = 0x0112;
constexpr Cardinal WM_TIMER = 0x0113;
constexpr Cardinal WM_HSCROLL = 0x0114;
constexpr Cardinal WM_VSCROLL = 0x0115;
constexpr Cardinal WM_MOUSEFIRST = 0x0200;
constexpr Cardinal WM_MOUSEMOVE = 0x0200;
constexpr Cardinal WM_LBUTTONDOWN = 0x0201;
constexpr Cardinal WM_LBUTTONUP = 0x0202;
constexpr Cardinal WM_LBUTTONDBLCLK = 0x0203;
constexpr Cardinal WM_RBUTTONDOWN = 0x0204;
constexpr Cardinal WM_RBUTTONUP = 0x0205;
constexpr Cardinal WM_RBUTTONDBLCLK = 0x0206;
constexpr Cardinal WM_MBUTTONDOWN = 0x0207;
constexpr Cardinal WM_MBUTTONUP = 0x0208;
constexpr Cardinal WM_MBUTTONDBLCLK = 0x0209;
constexpr Cardinal WM_MOUSEWHEEL = 0x020A;
constexpr Cardinal WM_MOUSEHWHEEL = 0x020E;
constexpr Cardinal WM_MOUSELAST = 0x020E;
constexpr Cardinal WM_CAPTURECHANGED = 0x0215;
constexpr Cardinal WM_MOUSELEAVE = 0x02A3;
constexpr Cardinal WM_CUT = 0x0300;
constexpr Cardinal WM_COPY = 0x0301;
constexpr Cardinal WM_PASTE = 0x0302;
constexpr Cardinal WM_CLEAR = 0x0303;
constexpr Cardinal WM_THEMECHANGED = 0x031A;
constexpr Cardinal WM_USER = 0x0400;
constexpr Cardinal WM_APP = 0x8000;

// Messages of the control framework itself (sent between controls, never by Qt).
constexpr Cardinal CM_BASE = 0xB000;
constexpr Cardinal CM_ACTIVATE = CM_BASE + 0;
constexpr Cardinal CM_DEACTIVATE = CM_BASE + 1;
constexpr Cardinal CM_DIALOGKEY = CM_BASE + 5;
constexpr Cardinal CM_DIALOGCHAR = CM_BASE + 6;
constexpr Cardinal CM_FOCUSCHANGED = CM_BASE + 7;
constexpr Cardinal CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr Cardinal CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr Cardinal CM_HITTEST = CM_BASE + 10;
constexpr Cardinal CM_VISIBLECHANGED = CM_BASE + 11;
constexpr Cardinal CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr Cardinal CM_COLORCHANGED = CM_BASE + 13;
constexpr Cardinal CM_FONTCHANGED = CM_BASE + 14;
constexpr Cardinal CM_CURSORCHANGED = CM_BASE + 15;
constexpr Cardinal CM_CTL3DCHANGED = CM_BASE + 16;
constexpr Cardinal CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr Cardinal CM_TEXTCHANGED = CM_BASE + 18;
constexpr Cardinal CM_MOUSEENTER = CM_BASE + 19;
constexpr Cardinal CM_MOUSELEAVE = CM_BASE + 20;
constexpr Cardinal CM_MENUCHANGED = CM_BASE + 21;
constexpr Cardinal CM_APPKEYDOWN = CM_BASE + 22;
constexpr Cardinal CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr Cardinal CM_BUTTONPRESSED = CM_BASE + 24;
constexpr Cardinal CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr Cardinal CM_ENTER = CM_BASE + 26;
constexpr Cardinal CM_EXIT = CM_BASE + 27;
constexpr Cardinal CM_DESIGNHITTEST = CM_BASE + 28;
constexpr Cardinal CM_ICONCHANGED = CM_BASE + 29;
constexpr Cardinal CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr Cardinal CM_INVOKEHELP = CM_BASE + 31;
constexpr Cardinal CM_WINDOWHOOK = CM_BASE + 32;
constexpr Cardinal CM_RELEASE = CM_BASE + 33;
constexpr Cardinal CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr Cardinal CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr Cardinal CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr Cardinal CM_WININICHANGE = CM_BASE + 37;
constexpr Cardinal CM_FONTCHANGE = CM_BASE + 38;
constexpr Cardinal CM_TIMECHANGE = CM_BASE + 39;
constexpr Cardinal CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr Cardinal CM_UIACTIVATE = CM_BASE + 41;
constexpr Cardinal CM_UIDEACTIVATE = CM_BASE + 42;
constexpr Cardinal CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr Cardinal CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr Cardinal CM_GETDATALINK = CM_BASE + 45;
constexpr Cardinal CM_CHILDKEY = CM_BASE + 46;
constexpr Cardinal CM_DRAG = CM_BASE + 47;
constexpr Cardinal CM_HINTSHOW = CM_BASE + 48;
constexpr Cardinal CM_DIALOGHANDLE = CM_BASE + 49;
constexpr Cardinal CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr Cardinal CM_RECREATEWND = CM_BASE + 51;
constexpr Cardinal CM_INVALIDATE = CM_BASE + 52;
constexpr Cardinal CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr Cardinal CM_CONTROLCHANGE = CM_BASE + 54;
constexpr Cardinal CM_CHANGED = CM_BASE + 55;
constexpr Cardinal CM_BORDERCHANGED = CM_BASE + 59;
constexpr Cardinal CM_MOUSEWHEEL = CM_BASE + 67;
constexpr Cardinal CM_HINTSHOWPAUSE = CM_BASE + 61;
constexpr Cardinal CM_PARENTBIDIMODECHANGED = CM_BASE + 62;
constexpr Cardinal CM_INVALIDATEDOCKHOST = CM_BASE + 63;

// Notifications reflected back to the control that caused them (WM_COMMAND and friends).
constexpr Cardinal CN_BASE = 0xBC00;
constexpr Cardinal CN_CHARTOITEM = CN_BASE + 0x002F;
constexpr Cardinal CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr Cardinal CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr Cardinal CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr Cardinal CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr Cardinal CN_CHAR = CN_BASE + WM_CHAR;
constexpr Cardinal CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr Cardinal CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr Cardinal CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr Cardinal CN_VSCROLL = CN_BASE + WM_VSCROLL;

// Scroll bar requests of WM_VSCROLL / WM_HSCROLL (low word of WParam; the high word carries the
// position for SB_THUMBPOSITION and SB_THUMBTRACK).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;

// Hit-test codes (WM_SETCURSOR's LParam low word).
constexpr Word HTCLIENT = 1;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// Mouse key flags of the mouse messages' WParam.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

constexpr int WHEEL_DELTA = 120;

// WM_GETDLGCODE answers: what a control wants of the keys the dialog would otherwise take.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// WM_COMMAND notification codes used by the standard controls.
constexpr Word EN_SETFOCUS = 0x0100;
constexpr Word EN_KILLFOCUS = 0x0200;
constexpr Word EN_CHANGE = 0x0300;
constexpr Word EN_UPDATE = 0x0400;
constexpr Word CBN_SELCHANGE = 1;
constexpr Word CBN_DBLCLK = 2;
constexpr Word CBN_SETFOCUS = 3;
constexpr Word CBN_KILLFOCUS = 4;
constexpr Word CBN_EDITCHANGE = 5;
constexpr Word CBN_EDITUPDATE = 6;
constexpr Word CBN_DROPDOWN = 7;
constexpr Word CBN_CLOSEUP = 8;
constexpr Word BN_CLICKED = 0;

// The key data of key messages: bits 0-15 repeat count, 16-23 scan code, 24 extended key,
// 29 Alt held, 30 key was down before, 31 key is being released.
constexpr LPARAM KF_EXTENDED_BIT = LPARAM(1) << 24;
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;
constexpr LPARAM KF_REPEAT_BIT = LPARAM(1) << 30;
constexpr LPARAM KF_UP_BIT = LPARAM(1) << 31;

// ---- typed message records ----

// Common part of every typed record: the message number, the result and the message it decodes.
struct TWMBase {
    Cardinal Msg = 0;
    LRESULT Result = 0;
    explicit TWMBase(TMessage &m) : Msg(m.Msg), Result(m.Result), FMessage(&m) {}
    virtual ~TWMBase() = default;
    TWMBase(const TWMBase &) = default;
    TWMBase &operator=(const TWMBase &) = default;
    // Writes the decoded fields back into the message and returns it.
    TMessage &Store()
    {
        StoreFields(*FMessage);
        FMessage->Result = Result;
        return *FMessage;
    }
    // Reads the fields again after someone else worked on the message.
    void Reload()
    {
        LoadFields(*FMessage);
        Result = FMessage->Result;
    }
    TMessage &Message() const { return *FMessage; }

protected:
    virtual void StoreFields(TMessage &) {}
    virtual void LoadFields(const TMessage &) {}

private:
    TMessage *FMessage;
};

struct TWMNoParams : TWMBase {
    explicit TWMNoParams(TMessage &m) : TWMBase(m) {}
};
using TWMCancelMode = TWMNoParams;
using TWMDestroy = TWMNoParams;
using TWMClose = TWMNoParams;
using TWMGetDlgCode = TWMNoParams;
using TCMEnabledChanged = TWMNoParams;
using TCMFontChanged = TWMNoParams;
using TCMColorChanged = TWMNoParams;
using TCMTextChanged = TWMNoParams;
using TCMCursorChanged = TWMNoParams;
using TCMVisibleChanged = TWMNoParams;
using TCMEnter = TWMNoParams;
using TCMExit = TWMNoParams;

// A message whose WParam and LParam are used as they are.
struct TWMGeneric : TWMBase {
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    explicit TWMGeneric(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.WParam = WParam; m.LParam = LParam; }
    void LoadFields(const TMessage &m) override { WParam = m.WParam; LParam = m.LParam; }
};
using TCMMouseEnter = TWMGeneric; // LParam: the child control the pointer entered, 0 for the control itself
using TCMMouseLeave = TWMGeneric;
using TCMParentFontChanged = TWMGeneric;
using TCMParentColorChanged = TWMGeneric;
using TWMSetRedraw = TWMGeneric;

// WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN and the CN_/CM_ key messages.
struct TWMKey : TWMBase {
    Word CharCode = 0;
    LPARAM KeyData = 0;
    explicit TWMKey(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.WParam = CharCode; m.LParam = KeyData; }
    void LoadFields(const TMessage &m) override { CharCode = static_cast<Word>(m.WParam); KeyData = m.LParam; }
};
using TWMKeyDown = TWMKey;
using TWMKeyUp = TWMKey;
using TWMChar = TWMKey;
using TWMSysKeyDown = TWMKey;
using TCMDialogKey = TWMKey;
using TCMDialogChar = TWMKey;
using TCMWantSpecialKey = TWMKey;
using TCMChildKey = TWMKey;

// Mouse button and move messages: key flags and the client position of the pointer.
struct TWMMouse : TWMBase {
    WPARAM Keys = 0;
    SmallInt XPos = 0;
    SmallInt YPos = 0;
    explicit TWMMouse(TMessage &m) : TWMBase(m) { LoadFields(m); }
    TPoint Pos() const { return {XPos, YPos}; }

protected:
    void StoreFields(TMessage &m) override { m.WParam = Keys; m.LParam = MakeLParam(XPos, YPos); }
    void LoadFields(const TMessage &m) override
    {
        Keys = m.WParam;
        XPos = static_cast<SmallInt>(m.LParamLo());
        YPos = static_cast<SmallInt>(m.LParamHi());
    }
};
using TWMLButtonDown = TWMMouse;
using TWMLButtonUp = TWMMouse;
using TWMLButtonDblClk = TWMMouse;
using TWMRButtonDown = TWMMouse;
using TWMRButtonUp = TWMMouse;
using TWMMButtonDown = TWMMouse;
using TWMMButtonUp = TWMMouse;
using TWMMouseMove = TWMMouse;
// WM_CONTEXTMENU: the point in screen coordinates, (-1, -1) when the keyboard asked for the menu.
using TWMContextMenu = TWMMouse;

// WM_MOUSEWHEEL: key flags, signed wheel distance (a notch is WHEEL_DELTA, negative toward the
// user) and the pointer position in screen coordinates.
struct TWMMouseWheel : TWMBase {
    Word Keys = 0;
    SmallInt WheelDelta = 0;
    SmallInt XPos = 0;
    SmallInt YPos = 0;
    explicit TWMMouseWheel(TMessage &m) : TWMBase(m) { LoadFields(m); }
    TPoint Pos() const { return {XPos, YPos}; }

protected:
    void StoreFields(TMessage &m) override
    {
        m.WParam = MakeWParam(Keys, static_cast<Word>(WheelDelta));
        m.LParam = MakeLParam(XPos, YPos);
    }
    void LoadFields(const TMessage &m) override
    {
        Keys = m.WParamLo();
        WheelDelta = static_cast<SmallInt>(m.WParamHi());
        XPos = static_cast<SmallInt>(m.LParamLo());
        YPos = static_cast<SmallInt>(m.LParamHi());
    }
};
using TCMMouseWheel = TWMMouseWheel;

// WM_PAINT and WM_ERASEBKGND: the painter to draw with (0: the control paints itself fully).
struct TWMPaint : TWMBase {
    HDC DC = nullptr;
    explicit TWMPaint(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.WParam = reinterpret_cast<WPARAM>(DC); }
    void LoadFields(const TMessage &m) override { DC = reinterpret_cast<HDC>(m.WParam); }
};
using TWMEraseBkgnd = TWMPaint;

struct TWMSize : TWMBase {
    WPARAM SizeType = SIZE_RESTORED;
    Word Width = 0;
    Word Height = 0;
    explicit TWMSize(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.WParam = SizeType; m.LParam = MakeLParam(Width, Height); }
    void LoadFields(const TMessage &m) override { SizeType = m.WParam; Width = m.LParamLo(); Height = m.LParamHi(); }
};

struct TWMMove : TWMBase {
    SmallInt XPos = 0;
    SmallInt YPos = 0;
    explicit TWMMove(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.LParam = MakeLParam(XPos, YPos); }
    void LoadFields(const TMessage &m) override
    {
        XPos = static_cast<SmallInt>(m.LParamLo());
        YPos = static_cast<SmallInt>(m.LParamHi());
    }
};

// WM_SETFOCUS names the window that lost the focus, WM_KILLFOCUS the one that gets it (0: none
// of ours).
struct TWMSetFocus : TWMBase {
    HWND FocusedWnd = nullptr;
    explicit TWMSetFocus(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.WParam = reinterpret_cast<WPARAM>(FocusedWnd); }
    void LoadFields(const TMessage &m) override { FocusedWnd = reinterpret_cast<HWND>(m.WParam); }
};
using TWMKillFocus = TWMSetFocus;

struct TWMTimer : TWMBase {
    WPARAM TimerID = 0;
    LPARAM TimerProc = 0;
    explicit TWMTimer(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override { m.WParam = TimerID; m.LParam = TimerProc; }
    void LoadFields(const TMessage &m) override { TimerID = m.WParam; TimerProc = m.LParam; }
};

// WM_COMMAND and its reflection CN_COMMAND: item id, notification code and the control's window.
// The scroll bars of a window.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;

// WM_HSCROLL / WM_VSCROLL: the scroll code, the thumb position and the scroll bar's window.
struct TWMScroll : TWMBase {
    SmallInt ScrollCode = 0;
    SmallInt Pos = 0;
    HWND ScrollBar = nullptr;
    explicit TWMScroll(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override
    {
        m.WParam = MakeWParam(ScrollCode, Pos);
        m.LParam = reinterpret_cast<LPARAM>(ScrollBar);
    }
    void LoadFields(const TMessage &m) override
    {
        ScrollCode = static_cast<SmallInt>(m.WParamLo());
        Pos = static_cast<SmallInt>(m.WParamHi());
        ScrollBar = reinterpret_cast<HWND>(m.LParam);
    }
};
using TWMHScroll = TWMScroll;
using TWMVScroll = TWMScroll;

struct TWMCommand : TWMBase {
    Word ItemID = 0;
    Word NotifyCode = 0;
    HWND Ctl = nullptr;
    explicit TWMCommand(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override
    {
        m.WParam = MakeWParam(ItemID, NotifyCode);
        m.LParam = reinterpret_cast<LPARAM>(Ctl);
    }
    void LoadFields(const TMessage &m) override
    {
        ItemID = m.WParamLo();
        NotifyCode = m.WParamHi();
        Ctl = reinterpret_cast<HWND>(m.LParam);
    }
};

// ---- edit and combo box windows, the frame paint ----

// Window styles of an edit (kept by the edit as its alignment and layout).
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;

// The formatting rectangle of an edit (LParam: a TRect *): the part of the window its text lies
// in. EM_SETRECTNP sets it without a redraw.
constexpr Cardinal EM_GETRECT = 0x00B2;
constexpr Cardinal EM_SETRECT = 0x00B3;
constexpr Cardinal EM_SETRECTNP = 0x00B4;
// The least width of a combo box's dropped-down list (WParam, pixels); the GET answers it.
constexpr Cardinal CB_GETDROPPEDWIDTH = 0x015F;
constexpr Cardinal CB_SETDROPPEDWIDTH = 0x0160;
// The selection in a combo box's edit field. GET answers the start in the low and the end in
// the high word (also written to the DWORDs WParam and LParam point to, when set); SET takes
// them from LParam, where a start of -1 removes the selection and an end of -1 means the end
// of the text. A box without an edit field (a list style) answers CB_ERR (StdCtrls.h).
constexpr Cardinal CB_GETEDITSEL = 0x0140;
constexpr Cardinal CB_SETEDITSEL = 0x0142;

// WM_NCPAINT. After Qt has painted the widget of a wrapped control (an edit, a combo box), the
// platform sends it with a canvas over the whole window (LParam = NCPAINT_CANVAS), so that the
// control can draw its own frame and marks over what Qt drew. Any other WM_NCPAINT asks for the
// frame to be drawn again, which is an invalidate of the window.
constexpr LPARAM NCPAINT_CANVAS = 0x4E435041;
struct TWMNCPaint : TWMBase {
    HDC DC = nullptr; // nullptr: a request to draw the frame again
    explicit TWMNCPaint(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void LoadFields(const TMessage &m) override
    {
        DC = m.LParam == NCPAINT_CANVAS ? reinterpret_cast<HDC>(m.WParam) : nullptr;
    }
};

// ---- notifications (WM_NOTIFY; LParam is an NMHDR * or a record that starts with one) ----

struct NMHDR {
    HWND hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    UINT code = 0;
};

// Tool tips: the pop message, and the notifications of the text request (the wide one), show
// and pop.
constexpr Cardinal TTM_POP = 0x0400 + 28;
constexpr UINT TTN_FIRST = 0u - 520u;
constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
// Icons of a balloon tip's title.
inline constexpr int TTI_NONE = 0;
inline constexpr int TTI_INFO = 1;
inline constexpr int TTI_WARNING = 2;
inline constexpr int TTI_ERROR = 3;

// The tool tip asks for its text. The window that answers names its text through lpszText (the
// text stays where it points until the next request) and may give the balloon a title and icon,
// a maximum width and colours (0 and clNone-like 0xFFFFFFFF leave the tool tip's own).
struct NMTTDISPINFOW {
    NMHDR hdr;
    const char16_t *lpszText = nullptr;
    char16_t szText[80] = {};
    UINT uFlags = 0;
    LPARAM lParam = 0;
    const char16_t *lpszTitle = nullptr;
    int Icon = TTI_NONE;
    int MaxTipWidth = 0;
    std::uint32_t TipTextColor = 0xFFFFFFFFu;
    std::uint32_t TipBkColor = 0xFFFFFFFFu;
};

// Date and time pickers.
constexpr UINT DTN_FIRST2 = 0u - 753u;
constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST2 - 6;
constexpr UINT DTN_DROPDOWN = DTN_FIRST2 - 1;
constexpr UINT DTN_CLOSEUP = DTN_FIRST2;
// The picker's value (LParam: a SYSTEMTIME *; WParam GDT_VALID, or GDT_NONE to clear its check
// box) and the month calendar it has dropped down (0 while closed).
constexpr Cardinal DTM_FIRST = 0x1000;
constexpr Cardinal DTM_GETSYSTEMTIME = DTM_FIRST + 1;
constexpr Cardinal DTM_SETSYSTEMTIME = DTM_FIRST + 2;
constexpr Cardinal DTM_GETMONTHCAL = DTM_FIRST + 8;
// Month calendars: the least rectangle that shows one month whole (LParam: a TRect *), and the
// styles that the calendar reads each time it is shown.
constexpr Cardinal MCM_FIRST = 0x1000;
constexpr Cardinal MCM_GETMINREQRECT = MCM_FIRST + 9;
constexpr DWORD MCS_WEEKNUMBERS = 0x0004;
constexpr DWORD MCS_NOTODAYCIRCLE = 0x0008;
constexpr DWORD MCS_NOTODAY = 0x0010;
constexpr DWORD GDT_VALID = 0;
constexpr DWORD GDT_NONE = 1;

struct SYSTEMTIME {
    Word wYear = 0;
    Word wMonth = 0;
    Word wDayOfWeek = 0;
    Word wDay = 0;
    Word wHour = 0;
    Word wMinute = 0;
    Word wSecond = 0;
    Word wMilliseconds = 0;
};

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st;
};

// WM_NOTIFY: the control's identifier and the notification.
struct TWMNotify : TWMBase {
    int IDCtrl = 0;
    NMHDR *NMHdr = nullptr;
    explicit TWMNotify(TMessage &m) : TWMBase(m) { LoadFields(m); }

protected:
    void StoreFields(TMessage &m) override
    {
        m.WParam = WPARAM(IDCtrl);
        m.LParam = reinterpret_cast<LPARAM>(NMHdr);
    }
    void LoadFields(const TMessage &m) override
    {
        IDCtrl = int(m.WParam);
        NMHdr = reinterpret_cast<NMHDR *>(m.LParam);
    }
};
