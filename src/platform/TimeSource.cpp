#include "platform/TimeSource.h"

#include <QElapsedTimer>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

class TRealTimeSource : public TTimeSource {
public:
    TRealTimeSource() { FClock.start(); }
    Int64 Now() override { return FClock.elapsed(); }
    void Sleep(Cardinal Milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds)); }
    bool StartTimer(const void *, Cardinal, std::function<void()>) override { return false; }
    void StopTimer(const void *) override {}

private:
    QElapsedTimer FClock;
};

TTimeSource *&Installed()
{
    static TTimeSource *source = nullptr;
    return source;
}

TRealTimeSource &RealSource()
{
    static TRealTimeSource real;
    return real;
}

// The real clock counts from the start of the program, not from its first reading.
[[maybe_unused]] const bool GRealClockStarted = (RealSource(), true);

} // namespace

TTimeSource *CurrentTimeSource()
{
    if (TTimeSource *s = Installed())
        return s;
    return &RealSource();
}

TManualClock::TManualClock(Int64 Start) : FNow(Start), FPrevious(Installed())
{
    Installed() = this;
}

TManualClock::~TManualClock()
{
    Installed() = FPrevious;
}

bool TManualClock::StartTimer(const void *Key, Cardinal Interval, std::function<void()> Tick)
{
    StopTimer(Key);
    const Cardinal step = std::max<Cardinal>(Interval, 1);
    FTimers.push_back({Key, step, FNow + step, std::move(Tick)});
    return true;
}

void TManualClock::StopTimer(const void *Key)
{
    std::erase_if(FTimers, [Key](const TEntry &e) { return e.Key == Key; });
}

void TManualClock::Advance(Int64 Milliseconds)
{
    const Int64 target = FNow + std::max<Int64>(Milliseconds, 0);
    for (;;) {
        // A tick may start or stop timers, so the next one is looked up afresh each time.
        auto next = std::min_element(FTimers.begin(), FTimers.end(),
                                     [](const TEntry &a, const TEntry &b) { return a.Due < b.Due; });
        if (next == FTimers.end() || next->Due > target)
            break;
        FNow = next->Due;
        next->Due += next->Interval;
        std::function<void()> tick = next->Tick;
        tick();
    }
    FNow = target;
}
