#pragma once
// Inside the window layer: the object that joins a control to its Qt widget, turning the
// widget's events into messages, keeping the window's timers and delivering posted messages.

#include "platform/Controls.h"

#include <QObject>
#include <QPointer>
#include <QCursor>
#include <QWidget>

#include <map>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QHelpEvent;
class QContextMenuEvent;

// A plain window: everything it shows is painted through WM_PAINT.
class TPlatformWidget : public QWidget {
public:
    explicit TPlatformWidget(QWidget *Parent);
    QSize sizeHint() const override;
};

class TControlEventBridge : public QObject {
public:
    TControlEventBridge(TWinControl *Control, QWidget *Widget, HWND Handle);
    ~TControlEventBridge() override;

    TWinControl *Control() const { return FControl; }
    QWidget *Widget() const { return FWidget; }
    HWND Handle() const { return FHandle; }
    // The control is going away: no more messages, timers stopped.
    void Detach();

    UINT_PTR SetTimer(UINT_PTR Id, UINT Elapse, TIMERPROC Proc);
    bool KillTimer(UINT_PTR Id);

    // True while the message is the one made from the Qt event being handled; DefaultHandler
    // then asks for Qt's own handling of that event.
    bool IsCurrentEventMessage(const TMessage &Message) const;
    void DefaultReached(const TMessage &Message);
    bool InPaintEvent() const { return FInPaint; }
    int EventDepth() const { return FDepth; }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override;
    void timerEvent(QTimerEvent *Event) override;

private:
    struct TTimer {
        UINT_PTR Id;
        TIMERPROC Proc;
    };
    bool HandleEvent(QEvent *Event);
    bool HandleKey(QKeyEvent *Event);
    bool HandleMouse(QMouseEvent *Event);
    bool HandleWheel(QWheelEvent *Event);
    bool HandleContextMenu(QContextMenuEvent *Event);
    bool HandleToolTip(QHelpEvent *Event);
    // Sends a message made from the current Qt event; true when DefaultHandler was reached.
    bool SendFromEvent(TMessage &Message);
    void RunQtDefault(QEvent *Event);
    // WM_NCPAINT with a canvas over the window, after Qt painted a wrapped widget.
    void SendFramePaint();
    void ActivateOnPress();
    // A plain window of ours: Qt has nothing to add to its input events.
    bool OwnWidget() const { return dynamic_cast<TPlatformWidget *>(FWidget.data()) != nullptr; }

    TWinControl *FControl;
    QPointer<QWidget> FWidget;
    HWND FHandle;
    std::map<int, TTimer> FTimers; // Qt timer id -> our timer
    // The message made from the Qt event under way and whether its default was asked for.
    std::vector<std::pair<const TMessage *, bool *>> FCurrent;
    bool FInPaint = false;
    bool FBypass = false;
    int FDepth = 0;
};

namespace platform_detail {

// The canvas of a control that paints itself, made on its first use: most controls of a
// program's forms are never painted, or long after start-up.
TCanvas *ControlCanvas(std::unique_ptr<TControlCanvas> &Canvas, TControl *Control);
// The Qt cursor of a control's Cursor: a positive index shows the screen's cursor table entry.
QCursor QtCursorOf(TCursor Cursor);
// Calls Fn, sending any exception that escapes to the application's default handling.
void GuardedCall(TObject *Sender, const std::function<void()> &Fn);
// How many guarded calls (Qt events, timers, posted messages) are under way.
int GuardedDepth();
HWND NewHandle(TWinControl *Control);
void ReleaseHandle(HWND Handle);
TControlEventBridge *BridgeOf(HWND Handle);
// The program asked the window system to make the top-level window of Widget the active one.
void NoteActivationRequest(QWidget *Widget);
// A report of the window system that the window became active (or inactive) and that an
// activation the program asked for since then has overtaken: the window system reports in its
// own time, so a request that was followed by another one may still be reported after it.
bool ActivationReportIsStale(HWND Wnd, bool Active);
// Stops the window's timers that run on a replaced time source (its window goes away).
void StopClockTimersOf(HWND Handle);
// Updates the tracked key and button state from an input event.
void NoteKey(int Vk, bool Down);
void NoteModifiers(bool Shift, bool Ctrl, bool Alt);
// The left or right code of a modifier key (VK_SHIFT, VK_CONTROL, VK_MENU) going down or up.
void NoteModifierSide(int Vk, bool Right, bool Down);
void NoteCursor(TPoint ScreenPos);
void SetMouseControl(TControl *Control);
void ControlDestroyed(TControl *Control);
int QtKeyToVk(int QtKey, bool Keypad);
// The MK_ bits of the mouse buttons and of Shift and Ctrl, as mouse messages carry them.
WPARAM MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Mods);
// Makes the new window the kind its creation parameters ask for (pop-up, disabled, topmost, tool
// window) and remembers them for GetWindowLong.
void ApplyCreateParams(QWidget *Widget, const TCreateParams &Params);
// The owner window the widget was made with (TCreateParams::WndParent).
HWND WndParentOf(QWidget *Widget);
} // namespace platform_detail
