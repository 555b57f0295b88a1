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
