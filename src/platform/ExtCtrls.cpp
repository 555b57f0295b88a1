#include "platform/ExtCtrls.h"

#include "platform/ControlsPrivate.h"
#include "platform/TimeSource.h"

#include <QObject>
#include <QTimerEvent>

class TTimerDriver : public QObject {
public:
    explicit TTimerDriver(TTimer *Owner) : FOwner(Owner) {}
    void Start(int Ms)
    {
        Stop();
        // Under a test's manual clock the timer fires as the clock advances.
        TTimer *owner = FOwner;
        FSource = CurrentTimeSource();
        if (FSource->StartTimer(this, static_cast<Cardinal>(Ms),
                                [owner] { platform_detail::GuardedCall(owner, [owner] { owner->Timer(); }); }))
            return;
        FSource = nullptr;
        FId = startTimer(Ms, Qt::PreciseTimer);
    }
    void Stop()
    {
        if (FSource && FSource == CurrentTimeSource())
            FSource->StopTimer(this);
        FSource = nullptr;
        if (FId)
            killTimer(FId);
        FId = 0;
    }

protected:
    void timerEvent(QTimerEvent *Event) override
    {
        if (Event->timerId() != FId)
            return;
        TTimer *owner = FOwner;
        platform_detail::GuardedCall(owner, [owner] { owner->Timer(); });
    }

private:
    TTimer *FOwner;
    int FId = 0;
    TTimeSource *FSource = nullptr;
};

TTimer::TTimer(TComponent *AOwner) : TComponent(AOwner), FDriver(std::make_unique<TTimerDriver>(this))
{
}

TTimer::~TTimer()
{
    FDriver->Stop();
}

void TTimer::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value)
{
    if (FInterval == Value)
        return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    FDriver->Stop();
    if (FInterval != 0 && FEnabled)
        FDriver->Start(static_cast<int>(FInterval));
}

void TTimer::Timer()
{
    if (FEnabled && OnTimer)
        OnTimer(this);
}
