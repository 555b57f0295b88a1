#pragma once
// Extra controls. TTimer: a component that fires OnTimer every Interval milliseconds while it is
// Enabled (ticks without a handler pass unnoticed).

#include "platform/Classes.h"
#include "platform/Controls.h"

#include <memory>

class TTimerDriver;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent *AOwner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // Milliseconds between ticks (default 1000); 0 stops the timer. A new value starts the period
    // afresh.
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal Value);
    TNotifyEvent OnTimer;

protected:
    // One tick: OnTimer. An exception goes to the application's default handling.
    virtual void Timer();

private:
    friend class TTimerDriver;
    void UpdateTimer();
    bool FEnabled = true;
    Cardinal FInterval = 1000;
    std::unique_ptr<TTimerDriver> FDriver;
};

// A bar that sizes its neighbour: aligned like the control it sizes and standing next to it
// (above a bottom-aligned control, left of a right-aligned one, ...). Dragging it with the
// left button changes that control's height or width, never below MinSize, and the parent
// realigns; the split cursor shows over it.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent *AOwner);

    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value < 1 ? 1 : Value; }
    // The control the bar sizes now, or null when none stands next to it.
    TControl *SizedControl() const;

protected:
    void Paint() override;
    void MouseEnter() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool Vertical() const { return Align() == alLeft || Align() == alRight; }
    TControl *FSized = nullptr;
    int FDownPos = 0;
    int FStartSize = 0;
    int FMinSize = 30;
};
