#pragma once
// The one clock of the program: GetTickCount, Sleep and TTimer read it. The real source runs on
// the system clock; a test installs a TManualClock, and then time stands still until the test
// advances it, timers firing in order of their due times as it passes them.
//
//     TManualClock clock;          // installed while it exists
//     clock.Advance(250);          // GetTickCount() is 250 ms later; due timers have fired

#include "platform/System.h"

#include <functional>
#include <vector>

class TTimeSource {
public:
    virtual ~TTimeSource() = default;
    // Milliseconds since an arbitrary start.
    virtual Int64 Now() = 0;
    virtual void Sleep(Cardinal Milliseconds) = 0;
    // Timers under this source (Key identifies the timer; a second Start replaces the first).
    // The real source answers false: the caller runs its own timer.
    virtual bool StartTimer(const void *Key, Cardinal Interval, std::function<void()> Tick) = 0;
    virtual void StopTimer(const void *Key) = 0;
};

// The source in use (the real one unless a manual clock is installed).
TTimeSource *CurrentTimeSource();

class TManualClock : public TTimeSource {
public:
    explicit TManualClock(Int64 Start = 100000);
    ~TManualClock() override;
    TManualClock(const TManualClock &) = delete;
    TManualClock &operator=(const TManualClock &) = delete;

    Int64 Now() override { return FNow; }
    // Sleeping advances the clock.
    void Sleep(Cardinal Milliseconds) override { Advance(Milliseconds); }
    bool StartTimer(const void *Key, Cardinal Interval, std::function<void()> Tick) override;
    void StopTimer(const void *Key) override;
    // Moves the clock on; every timer due on the way fires at its due time.
    void Advance(Int64 Milliseconds);
    int TimerCount() const { return static_cast<int>(FTimers.size()); }

private:
    struct TEntry {
        const void *Key;
        Cardinal Interval;
        Int64 Due;
        std::function<void()> Tick;
    };
    Int64 FNow;
    std::vector<TEntry> FTimers;
    TTimeSource *FPrevious;
};
