#pragma once
// Controls: the visual components of a form.
//
// TControl is anything with a parent and a place on it. TGraphicControl has no window of its own:
// its parent paints it (after the parent's own Paint, in z-order) and hands it the mouse
// messages that fall on it. TWinControl owns a window (a QWidget) that is made only when the
// handle is first needed (HandleNeeded, Handle(), showing the form); until then the control
// keeps its properties itself. TCustomControl is a windowed control with a Canvas and a Paint.
//
// Messages. Every message, whether sent (Perform, SendMessage), posted (PostMessage) or made from a
// Qt event, goes WndProc -> Dispatch -> the virtual handler of its number (WMKeyDown, WMPaint,
// CMMouseEnter, ...) -> DefaultHandler. To take one message in a subclass, override its handler
// and call the base class's handler for the default behaviour:
//
//     class TMyGrid : public TCustomControl {
//         void WMKeyDown(TWMKey &Message) override {
//             if (Message.CharCode == VK_F2) { Message.Result = 0; return; } // taken
//             TCustomControl::WMKeyDown(Message);                          // inherited
//         }
//     };
//
// Numbers without a handler of their own (registered messages, WM_USER + n) arrive at Dispatch;
// override WndProc (and call the base WndProc for the rest) to see every message first.
// DefaultHandler ends every chain: for a message made from a Qt event it lets Qt do its own
// handling of that event (a QLineEdit inserts the typed character), for anything else it does
// nothing. A handler that does not reach DefaultHandler has swallowed the event.
//
// Keys go as in the classic framework: CN_KEYDOWN first (the dialog keys Tab, Enter, Escape and
// the arrows go to the form through CM_DIALOGKEY unless the control wants them, as it answers
// WM_GETDLGCODE or CM_WANTSPECIALKEY), then WM_KEYDOWN -> the form's KeyDown when KeyPreview is
// set -> KeyDown / OnKeyDown; a Key set to 0 swallows the key. The character follows as CN_CHAR
// (CM_DIALOGCHAR to the form) and WM_CHAR -> KeyPress / OnKeyPress, where Key = 0 swallows it.
//
// Painting: Qt's paint event becomes WM_ERASEBKGND and WM_PAINT with a canvas bound to the
// paint event's painter; TCustomControl calls Paint with Canvas() ready, then the graphic
// children paint. Invalidate() asks for a paint; Repaint() paints at once.
//
// Exceptions that escape a handler run from a Qt event, a timer or a posted message go to
// Application->HandleException (Forms.h) and the program goes on.

#include "platform/Classes.h"
#include "platform/Graphics.h"
#include "platform/Messages.h"
#include "platform/Sets.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "platform/Windows.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QEvent;
class TControl;
class TWinControl;
class TCustomForm;
class TControlEventBridge;
class TBasicAction;
class TPopupMenu;
class TControlActionLink;

// ---- shared vocabulary ----

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen };
using TShiftState = TSet<TShiftStateItem, 16>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind, 4>;
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
// Border of a control (bsNone, bsSingle) and of a form (all of them).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrTryAgain = 10;
constexpr TModalResult mrContinue = 11;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;

using TCursor = SmallInt;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

// ---- text direction ----
// Right-to-left reading and alignment take effect only where the system locale is one of the
// Middle East (SysLocaleMiddleEast); elsewhere every mode reads and aligns left to right.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
// False unless a test or a setting declares such a locale (SetSysLocaleMiddleEast): the
// program's languages are all written left to right.
bool SysLocaleMiddleEast();
void SetSysLocaleMiddleEast(bool Value);

enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
    csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
    csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint,
    csParentBackground, csPannable, csAlignWithMargins, csGestures, csPaintBlackOpaqueOnGlass,
    csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleItem, 32>;
enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
    csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking, csDesignerHide, csPanning,
    csRecreating, csAligning, csGlassPaint, csPrintClient
};
using TControlState = TSet<TControlStateItem, 32>;

using TMouseEvent = std::function<void(TObject *Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject *Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject *Sender, Word &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject *Sender, WideChar &Key)>;
using TMouseWheelEvent = std::function<void(TObject *Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool &Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject *Sender, TShiftState Shift, TPoint MousePos, bool &Handled)>;

// ---- drag over ----
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent = std::function<void(TObject *Sender, TObject *Source, int X, int Y, TDragState State, bool &Accept)>;

// The shift state of key flags and of a key message's key data.
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
// The shift state of the keyboard and mouse buttons right now (GetKeyState).
TShiftState GetShiftState();

// A canvas that draws on a control: bound to the painter of the paint under way.
class TControlCanvas : public TCanvas {
public:
    TControl *Control() const { return FControl; }
    void SetControl(TControl *Value) { FControl = Value; }

private:
    TControl *FControl = nullptr;
};

class THintWindow;
// The kind of window a hint shows in: a maker of a new window of that kind. HintWindowClassOf<T>
// names class T; two hints of the same class compare equal.
using THintWindowClass = THintWindow *(*)(TComponent *AOwner);
template <class T>
THintWindow *HintWindowClassOf(TComponent *AOwner)
{
    return new T(AOwner);
}

// What CM_HINTSHOW hands the control under the pointer before its hint shows. The control may
// change every field but HintControl and CursorPos; an empty HintStr on return shows no hint.
struct THintInfo {
    TControl *HintControl = nullptr;
    THintWindowClass HintWindowClass = nullptr; // the application's HintWindowClass unless changed
    TPoint CursorPos;         // in the control's client coordinates
    TRect CursorRect;         // client coordinates; the hint is asked again when the pointer leaves it
    TPoint HintPos;           // screen position of the hint's top-left corner
    int HintMaxWidth = 0;     // the width the text wraps at
    TColor HintColor = clInfoBk;
    UnicodeString HintStr;
    TObject *HintData = nullptr; // handed on to the hint window's ActivateHintData
};

// ---- window styles asked at window creation ----
// The classic style bits that CreateParams may set; the window layer turns them into the
// matching kind of window when the handle is made. Other bits are kept (GetWindowLong) but
// change nothing.
constexpr DWORD WS_POPUP = 0x80000000u;        // frameless top-level window in screen coordinates
constexpr DWORD WS_CHILD = 0x40000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_DISABLED = 0x08000000u;     // takes no mouse or keyboard input
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000u;
constexpr DWORD WS_BORDER = 0x00800000u;
constexpr DWORD WS_EX_TOPMOST = 0x00000008u;   // stays above the other windows
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080u; // no taskbar entry
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020u; // the mouse passes through to what lies below
constexpr DWORD WS_EX_LAYERED = 0x00080000u;    // translucent: its pixels come from UpdateLayeredWindow
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

struct TCreateParams {
    DWORD Style = 0;
    DWORD ExStyle = 0;
    // The owner of a form's window: the form stays above it, goes with it and is not blocked
    // while the owner is modal.
    HWND WndParent = nullptr;
};

// The style the window was made with (GWL_STYLE, GWL_EXSTYLE); 0 for an invalid handle.
LPARAM GetWindowLong(HWND Wnd, int Index);
// Changes the recorded style and returns the previous one; 0 for an invalid handle or index.
// Of the extended bits WS_EX_TRANSPARENT takes effect at once: the window lets the mouse through.
LPARAM SetWindowLong(HWND Wnd, int Index, LPARAM NewLong);
// Cuts the window to Rgn (window coordinates; nullptr removes the cut). The window owns the
// region from then on: it frees it when another region replaces it and when it goes away.
// Returns 0 for an invalid handle (the region then stays the caller's).
int SetWindowRgn(HWND Wnd, HRGN Rgn, bool Redraw);
// Copies the window's region into Rgn; RGN_ERROR (0) when the window has none.
int GetWindowRgn(HWND Wnd, HRGN Rgn);

// ---- TControl ----

// The smallest and largest size a control takes (0: no bound); every SetBounds keeps to them.
class TSizeConstraints : public TPersistent {
public:
    int MinWidth() const { return FMinWidth; }
    int MinHeight() const { return FMinHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int Value);
    void SetMinHeight(int Value);
    void SetMaxWidth(int Value);
    void SetMaxHeight(int Value);
    void Assign(TPersistent *Source) override;
    // The size kept to the bounds.
    int ConstrainWidth(int Value) const;
    int ConstrainHeight(int Value) const;
    TNotifyEvent OnChange;

private:
    void Changed();
    int FMinWidth = 0;
    int FMinHeight = 0;
    int FMaxWidth = 0;
    int FMaxHeight = 0;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent *AOwner);
    ~TControl() override;

    // Made on first use; a change applies to the current size at once.
    TSizeConstraints *Constraints();
    void SetConstraints(TSizeConstraints *Value) { Constraints()->Assign(Value); }

    // Parent and placement. Setting a parent inserts the control into the parent's z-order on top.
    TWinControl *Parent() const { return FParent; }
    virtual void SetParent(TWinControl *AParent);
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBoundsRect(const TRect &R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    // The client area; windowed controls with borders answer less than the bounds.
    virtual TRect ClientRect() const { return {0, 0, FWidth, FHeight}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    virtual void SetClientSize(int AWidth, int AHeight);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;
    // P in this control's client coordinates, in the coordinates of AParent's client area.
    TPoint ClientToParent(TPoint P, TWinControl *AParent = nullptr) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    // Visible, and every parent up to a form is visible; the form itself is showing.
    virtual bool Showing() const;

    UnicodeString Caption() const { return GetText(); }
    void SetCaption(const UnicodeString &Value) { SetText(Value); }
    UnicodeString Text() const { return GetText(); }
    void SetText(const UnicodeString &Value);

    TFont *Font() const { return FFont.get(); }
    void SetFont(TFont *Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);

    const UnicodeString &Hint() const { return FHint; }
    void SetHint(const UnicodeString &Value) { FHint = Value; }
    // With ParentShowHint (the default) the parent's answer counts.
    bool ShowHint() const;
    void SetShowHint(bool Value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    // The menu a right click (or the keyboard's menu key) pops up over the control; a control
    // without one hands the request to its parent.
    TPopupMenu *PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu *Value);

    const TControlStyle &ControlStyle() const { return FControlStyle; }
    void SetControlStyle(const TControlStyle &Value) { FControlStyle = Value; }
    const TControlState &ControlState() const { return FControlState; }
    void SetControlState(const TControlState &Value) { FControlState = Value; }

    // ---- text direction: a control only reports its mode; it mirrors nothing itself ----
    // With ParentBiDiMode (the default) the parent's mode counts; setting BiDiMode clears it.
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value) { FParentBiDiMode = Value; }
    bool IsRightToLeft() const { return UseRightToLeftReading(); }
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;
    // DT_ alignment flags as this control's mode wants them: left and right swap under
    // right-to-left alignment (centred text stays centred), DT_RTLREADING is added for
    // right-to-left reading.
    LongInt DrawTextBiDiModeFlags(LongInt Flags) const;
    LongInt DrawTextBiDiModeFlagsReadingOnly() const;

    bool MouseCapture() const;
    void SetMouseCapture(bool Value);

    // Painting: Invalidate asks for a paint of the control's area, Update paints what is
    // pending now, Repaint does both.
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Sends a message to this control's WindowProc now; returns its Result.
    LRESULT Perform(Cardinal Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void WndProc(TMessage &Message);
    // The replaceable message method every message passes through first: WndProc unless
    // someone installed another. A hook keeps what WindowProc() answered and calls it for the
    // messages it does not take; setting an empty method puts WndProc back.
    using TWndMethod = std::function<void(TMessage &)>;
    TWndMethod WindowProc();
    void SetWindowProc(TWndMethod Value) { FWindowProc = std::move(Value); }
    // Runs the installed message method (WndProc when none is).
    void CallWindowProc(TMessage &Message)
    {
        if (FWindowProc)
            FWindowProc(Message);
        else
            WndProc(Message);
    }
    // Finds the handler of the message number and calls it; unknown numbers go to DefaultHandler.
    virtual void Dispatch(TMessage &Message);
    virtual void DefaultHandler(TMessage &Message);

    // The form the control lies on (nullptr when it is on none).
    TCustomForm *GetParentForm() const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;

    // Runs the click: OnClick. Buttons override it to do their work.
    virtual void Click();

    // ---- drag over ----
    // A drag enters, moves over or leaves the control at (X, Y) in client coordinates. Accept
    // starts false and becomes true when OnDragOver is assigned, which may still refuse.
    virtual void DragOver(TObject *Source, int X, int Y, TDragState State, bool &Accept);
    TDragOverEvent OnDragOver;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // The wheel: OnMouseWheel first, then DoMouseWheelDown (delta < 0) / DoMouseWheelUp once per
    // call; true when someone handled it.
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void Resize();
    virtual UnicodeString GetText() const { return FText; }
    virtual void TextChanged() {}
    virtual void VisibleChanging() {}
    // The control's rectangle changed; windowed controls move their window and send themselves
    // WM_MOVE / WM_SIZE.
    virtual void BoundsChanged(bool Moved, bool Resized) {}
    // Children realign after the parent changed size; parents realign after a child changed.
    void RequestAlign();

    // Message handlers (override one to take that message; call the base one for the default).
    virtual void WMLButtonDown(TWMMouse &Message);
    virtual void WMLButtonUp(TWMMouse &Message);
    virtual void WMLButtonDblClk(TWMMouse &Message);
    virtual void WMRButtonDown(TWMMouse &Message);
    virtual void WMRButtonUp(TWMMouse &Message);
    virtual void WMRButtonDblClk(TWMMouse &Message);
    // Pops up PopupMenu (Result 1), or asks the parent.
    virtual void WMContextMenu(TWMContextMenu &Message);
    virtual void WMMButtonDown(TWMMouse &Message);
    virtual void WMMButtonUp(TWMMouse &Message);
    virtual void WMMButtonDblClk(TWMMouse &Message);
    virtual void WMMouseMove(TWMMouse &Message);
    virtual void WMMouseWheel(TWMMouseWheel &Message);
    virtual void WMCancelMode(TWMCancelMode &Message);
    virtual void WMPaint(TWMPaint &Message);
    virtual void WMTimer(TWMTimer &Message);
    virtual void CMMouseWheel(TCMMouseWheel &Message);
    virtual void CMMouseEnter(TCMMouseEnter &Message);
    virtual void CMMouseLeave(TCMMouseLeave &Message);
    virtual void CMEnabledChanged(TCMEnabledChanged &Message);
    virtual void CMVisibleChanged(TCMVisibleChanged &Message);
    virtual void CMFontChanged(TCMFontChanged &Message);
    virtual void CMColorChanged(TCMColorChanged &Message);
    virtual void CMTextChanged(TCMTextChanged &Message);
    virtual void CMCursorChanged(TCMCursorChanged &Message);
    virtual void CMParentFontChanged(TCMParentFontChanged &Message);
    virtual void CMParentColorChanged(TCMParentColorChanged &Message);
    // LParam is a THintInfo *: a control may change the hint text and place, or answer non-zero
    // to show no hint.
    virtual void CMHintShow(TWMGeneric &Message);
    virtual void CMDialogKey(TCMDialogKey &Message);
    virtual void CMDialogChar(TCMDialogChar &Message);
    virtual void CMWantSpecialKey(TCMWantSpecialKey &Message);
    // The form's focused control changed (LParam: the control); windowed controls pass it on to
    // their children.
    virtual void CMFocusChanged(TWMGeneric &Message);
    // Before each mouse move over a window: WParam the window, LParam HTCLIENT and the mouse
    // message. A non-zero Result means the control has set the cursor itself.
    virtual void WMSetCursor(TWMGeneric &Message);

    // Hands a typed message to DefaultHandler and picks up what it changed.
    void Inherited(TWMBase &Message);

    void FontChanged(TObject *Sender);
    TWinControl *FParent = nullptr;
    TControlStyle FControlStyle;
    TControlState FControlState;
    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    // Size of the parent's client area when the anchors were last taken (for right/bottom anchors).
    TPoint FAnchorOrigin;
    TSize FAnchorParentSize;
    bool FAnchorsValid = false;

private:
    friend class TWinControl;
    friend class TControlEventBridge;
    void UpdateAnchorRules();
    void DoMouseDown(TWMMouse &Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUp(TWMMouse &Message, TMouseButton Button);
    TWndMethod FWindowProc;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    UnicodeString FText;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TSizeConstraints> FConstraints;
    TColor FColor = clWindow;
    bool FParentColor = true;
    bool FParentFont = true;
    bool FShowHint = false;
    bool FParentShowHint = true;
    UnicodeString FHint;
    TCursor FCursor = crDefault;
    TPopupMenu *FPopupMenu = nullptr;
    bool FUpdatingFont = false;
    // ---- text direction ----
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;

    // ---- actions (ActnList.h) ----
    // A control with an action shows the action's caption, enabled state and hint, and Click
    // runs the action when the control has no OnClick of its own.
public:
    TBasicAction *Action() const;
    void SetAction(TBasicAction *Value);

protected:
    // The link made when an action is set; controls with more to link answer their own class.
    virtual TControlActionLink *CreateActionLink();
    TControlActionLink *ActionLink() const { return FActionLink.get(); }
    // The action was set: the control takes its values (while loading, CheckDefaults, only
    // those still at their defaults). Later changes of the action come through the link.
    virtual void ActionChange(TObject *Sender, bool CheckDefaults);

private:
    std::shared_ptr<TControlActionLink> FActionLink;
};

// ---- TGraphicControl ----

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent *AOwner);
    ~TGraphicControl() override;
    // Made on first use: most controls of a program's forms are never painted or are painted
    // long after start-up.
    TCanvas *Canvas() const;

protected:
    // Draws the control on Canvas(), in client coordinates.
    virtual void Paint() {}
    void WMPaint(TWMPaint &Message) override;

private:
    mutable std::unique_ptr<TControlCanvas> FCanvas;
};

// ---- TWinControl ----

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent *AOwner);
    // Frees the window, then every child control (whoever owns it), as the classic framework does.
    ~TWinControl() override;

    // Children in z-order (first = bottom).
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl *Controls(int Index) const;
    void InsertControl(TControl *AControl);
    void RemoveControl(TControl *AControl);
    bool ContainsControl(const TControl *Control) const;
    // The visible, enabled (unless AllowDisabled) graphic or windowed child whose rectangle holds
    // the client point, topmost first; nullptr when none.
    TControl *ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;

    // The window. Handle() creates it when it does not exist yet.
    HWND Handle();
    bool HandleAllocated() const;
    void HandleNeeded();
    void DestroyHandle();
    void RecreateWnd();
    // The control whose window the handle is; nullptr for an invalid handle.
    static TWinControl *FindControl(HWND Wnd);
    // The Qt widget of the window (made on demand); only the platform layer works on it.
    QWidget *Widget();
    QWidget *WidgetIfAllocated() const;

    // Qt paints every window through a back buffer; the flag is kept for code that reads it.
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

    int TabOrder() const;
    void SetTabOrder(int Value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool Value) { FTabStop = Value; }
    // Every focusable descendant in tab order (the order of Tab navigation).
    void GetTabOrderList(std::vector<TWinControl *> &List);
    // The next (or previous) control in tab order after CurControl among this control's
    // descendants; CheckTabStop skips those without TabStop, CheckParent those on other parents.
    TWinControl *FindNextControl(TWinControl *CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl *CurControl, bool GoForward, bool CheckTabStop);

    virtual bool CanFocus() const;
    virtual void SetFocus();
    virtual bool Focused() const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Renders the window with its children into Canvas, its top-left corner at (X, Y).
    void PaintTo(TCanvas *Canvas, int X, int Y);
    // Lays out the aligned children (top, bottom, left, right, then client) and the anchored ones.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    void WndProc(TMessage &Message) override;
    void Dispatch(TMessage &Message) override;
    void DefaultHandler(TMessage &Message) override;
    // The message is the one made from the Qt event being handled (not one sent in code).
    bool IsEventMessage(const TMessage &Message) const;
    // Sends the message to every child control.
    void Broadcast(TMessage &Message);

    // Paints the window's graphic children in z-order onto DC (the parent's paint canvas).
    void PaintControls(TCanvas *DC, TControl *First = nullptr);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    // ---- 3-D look (stored flags; the window looks the same either way) ----
    // With ParentCtl3D (the default) the parent's Ctl3D counts; setting Ctl3D clears it.
    bool Ctl3D() const;
    void SetCtl3D(bool Value);
    bool ParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }

protected:
    // Makes the window's widget as a child of ParentWidget (nullptr: a top-level window). The
    // default is a plain window that paints through WM_PAINT; controls that wrap a Qt widget
    // make it here, and Qt paints it.
    virtual QWidget *CreateWidget(QWidget *ParentWidget);
    // Window creation and destruction; overrides call the base first (CreateWnd) or last
    // (DestroyWnd). The handle is valid inside an overriding CreateWnd after the base call.
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // The window exists now: children get theirs.
    virtual void CreateHandle();
    // ---- creation parameters ----
    // The style of the window about to be made; the default is a child window of the parent
    // (or a plain top-level one). A WS_POPUP window is shown without taking the activation.
    virtual void CreateParams(TCreateParams &Params);

    virtual void KeyDown(Word &Key, TShiftState Shift);
    virtual void KeyUp(Word &Key, TShiftState Shift);
    virtual void KeyPress(WideChar &Key);
    // KeyPreview of the form, then KeyDown; true when the key was swallowed.
    bool DoKeyDown(TWMKey &Message);
    bool DoKeyUp(TWMKey &Message);
    bool DoKeyPress(TWMKey &Message);
    virtual void DoEnter();
    virtual void DoExit();
    // The control's own painting onto DC (TCustomControl: Paint); the base does nothing.
    virtual void PaintWindow(TCanvas *DC);
    void PaintHandler(TWMPaint &Message);
    virtual void AlignControls(TControl *AControl, TRect &Rect);
    void BoundsChanged(bool Moved, bool Resized) override;
    void VisibleChanging() override;

    virtual void WMKeyDown(TWMKey &Message);
    virtual void WMKeyUp(TWMKey &Message);
    virtual void WMChar(TWMKey &Message);
    virtual void WMSysKeyDown(TWMKey &Message);
    virtual void WMSysKeyUp(TWMKey &Message);
    virtual void WMSysChar(TWMKey &Message);
    virtual void CNKeyDown(TWMKey &Message);
    virtual void CNKeyUp(TWMKey &Message);
    virtual void CNChar(TWMKey &Message);
    virtual void CNCommand(TWMCommand &Message);
    virtual void WMCommand(TWMCommand &Message);
    virtual void WMSetFocus(TWMSetFocus &Message);
    virtual void WMKillFocus(TWMKillFocus &Message);
    virtual void WMSize(TWMSize &Message);
    virtual void WMMove(TWMMove &Message);
    virtual void WMEraseBkgnd(TWMEraseBkgnd &Message);
    void WMPaint(TWMPaint &Message) override;
    virtual void WMGetDlgCode(TWMGetDlgCode &Message);
    virtual void WMSetRedraw(TWMSetRedraw &Message);
    virtual void CMEnter(TCMEnter &Message);
    virtual void CMExit(TCMExit &Message);
    virtual void CMChildKey(TCMChildKey &Message);
    void CMDialogKey(TCMDialogKey &Message) override;
    void CMDialogChar(TCMDialogChar &Message) override;
    void CMEnabledChanged(TCMEnabledChanged &Message) override;
    void CMVisibleChanged(TCMVisibleChanged &Message) override;
    void CMFontChanged(TCMFontChanged &Message) override;
    void CMColorChanged(TCMColorChanged &Message) override;
    void CMFocusChanged(TWMGeneric &Message) override;

    // ---- frame paint over a wrapped widget (see TWMNCPaint) ----
    // With a canvas: draw over what Qt painted (the default draws nothing). Without: a request
    // to draw the frame again, which invalidates the window.
    virtual void WMNCPaint(TWMNCPaint &Message);

    // True when this control's window is a plain platform window (WM_PAINT paints it).
    bool OwnsPainting() const { return FOwnsPainting; }
    bool RedrawEnabled() const { return FRedraw; }

private:
    friend class TControl;
    friend class TControlEventBridge;
    friend class TCustomForm;
    void ApplyWidgetState();
    void ApplyFontAndColor();
    std::vector<TControl *> FControls;
    std::vector<TWinControl *> FTabList;
    QWidget *FWidget = nullptr;
    TControlEventBridge *FBridge = nullptr;
    bool FOwnsPainting = false;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FRedraw = true;
    bool FCreatingHandle = false;
    int FAlignLevel = 0;
    bool FAligning = false;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
};

// ---- TCustomControl ----

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent *AOwner);
    ~TCustomControl() override;
    // The canvas of the paint under way; outside a paint it draws nowhere. Made on first use.
    TCanvas *Canvas() const;

protected:
    virtual void Paint() {}
    void PaintWindow(TCanvas *DC) override;

private:
    mutable std::unique_ptr<TControlCanvas> FCanvas;
};

// The form a control lies on; nullptr when none.
TCustomForm *GetParentForm(const TControl *Control);
// The control that has the mouse captured (graphic controls included); nullptr when none.
TControl *GetCaptureControl();
void SetCaptureControl(TControl *Control);
// The control under the pointer as the last mouse event found it.
TControl *GetMouseControl();
// The Qt cursor shape of a cursor value; used by the window layer and by Screen->Cursor.
int CursorToQtShape(TCursor Cursor);

// ---- transparent controls ----
// Paints Control's parent as it shows under Control into Canvas (in Control's client
// coordinates): the parent's background, then (under a windowed control) its graphic children,
// with the origin moved by Control's position and clipped to the parent's client area. Control
// itself is not painted.
void PaintParentBackground(TControl *Control, TCanvas *Canvas);
// While watched, a mouse press anywhere outside the control's window sends the control
// WM_CANCELMODE, as the platform does for a list that drops down. A freed control is no longer
// watched.
void WatchOutsideClicks(TWinControl *Control, bool On);
