#include "platform/ExtCtrls.h"

#include "platform/ControlsPrivate.h"
#include "platform/TimeSource.h"

#include <QObject>
#include <algorithm>
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

TSplitter::TSplitter(TComponent *AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 3, 100);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

TControl *TSplitter::SizedControl() const
{
    TWinControl *P = Parent();
    if (!P || Align() == alNone || Align() == alClient || Align() == alCustom)
        return nullptr;
    for (int i = 0; i < P->ControlCount(); ++i) {
        TControl *C = P->Controls(i);
        if (C == this || !C->Visible() || C->Align() != Align())
            continue;
        const bool Next = (Align() == alBottom && C->Top() == Top() + Height())
                          || (Align() == alTop && C->Top() + C->Height() == Top())
                          || (Align() == alLeft && C->Left() + C->Width() == Left())
                          || (Align() == alRight && C->Left() == Left() + Width());
        if (Next)
            return C;
    }
    return nullptr;
}

void TSplitter::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseEnter()
{
    SetCursor(Vertical() ? crHSplit : crVSplit);
    TGraphicControl::MouseEnter();
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    FSized = SizedControl();
    if (!FSized)
        return;
    // In the parent's coordinates: the bar itself moves while it is dragged.
    FDownPos = Vertical() ? Left() + X : Top() + Y;
    FStartSize = Vertical() ? FSized->Width() : FSized->Height();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FSized || !Shift.Contains(ssLeft) || !Parent())
        return;
    const int Delta = (Vertical() ? Left() + X : Top() + Y) - FDownPos;
    // A bar below or right of its control grows it when dragged away from it.
    int Size = (Align() == alBottom || Align() == alRight) ? FStartSize - Delta : FStartSize + Delta;
    const int Room = Vertical() ? Parent()->ClientWidth() - Width() : Parent()->ClientHeight() - Height();
    Size = std::max(FMinSize, std::min(Size, Room));
    if (Vertical())
        FSized->SetWidth(Size);
    else
        FSized->SetHeight(Size);
    Parent()->Realign();
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (Button == mbLeft)
        FSized = nullptr;
}
