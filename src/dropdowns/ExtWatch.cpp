// The watch's time: setting hour, minute and half of the day by mouse, keys and code, the hand
// animation and the Auto mode that follows the clock.
#include "dropdowns/ExtWatch.h"

#include "platform/Messages.h"
#include "platform/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// Halves to the even neighbour.
int RoundEven(double Value)
{
    return static_cast<int>(std::nearbyint(Value));
}

struct TTimeParts {
    Word H = 0, M = 0, S = 0, MS = 0;
};

TTimeParts PartsOf(TDateTime T)
{
    TTimeParts p;
    DecodeTime(T, p.H, p.M, p.S, p.MS);
    return p;
}

} // namespace

// ---- geometry ----

TRect WatchRectOf(int ClientWidth, int ClientHeight, int Size)
{
    const int side = Size > 0 ? std::min({Size, ClientWidth, ClientHeight}) : std::min(ClientWidth, ClientHeight) - 20;
    const int left = (ClientWidth - side) / 2;
    const int top = (ClientHeight - side) / 2;
    return TRect(left, top, left + side, top + side);
}

int AngleToMinute(TPoint Center, int X, int Y)
{
    int dy = std::abs(Center.Y - Y);
    int dx = std::abs(Center.X - X);
    if (dy == 0)
        dy = 1;
    if (dx == 0)
        dx = 1;
    const double a = std::atan(static_cast<double>(dy) / dx) * 180.0 / std::numbers::pi;
    const int f = RoundEven(a / 6);
    int minute;
    if (X >= Center.X && Y >= Center.Y)
        minute = 15 + f;
    else if (X <= Center.X && Y >= Center.Y)
        minute = 45 - f;
    else if (X <= Center.X && Y <= Center.Y)
        minute = 45 + f;
    else
        minute = 15 - f;
    return minute < 0 || minute > 59 ? 0 : minute;
}

int MinuteToHour(int Minute, bool AM)
{
    const int c = RoundEven(Minute / 5.0);
    if (c == 0 || c == 12)
        return AM ? 0 : 12;
    return AM ? c : c + 12;
}

// ---- the watch ----

TExtWatch::TExtWatch(TComponent *AOwner)
    : TCustomControl(AOwner), FAppearance(std::make_unique<TWatchAppearance>()),
      FSettings(std::make_unique<TWatchSettings>()), FCache(std::make_unique<TBitmap>())
{
    TControl::SetBounds(Left(), Top(), 180, 180);
    FAppearance->OnChange = [this](TObject *) { AppearanceChanged(); };
    FSettings->OnChange = [this](TObject *) { SettingsChanged(); };
    FWatchTimer = new TTimer(this);
    FWatchTimer->SetInterval(100);
    FWatchTimer->SetEnabled(false);
    FWatchTimer->OnTimer = [this](TObject *) { PaintPointers(); };
    FAnimationTimer = new TTimer(this);
    FAnimationTimer->SetInterval(1);
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->OnTimer = [this](TObject *) { AnimationTick(); };
}

TExtWatch::~TExtWatch()
{
    FAppearance->OnChange = nullptr;
    FSettings->OnChange = nullptr;
}

TRect TExtWatch::WatchRect() const
{
    return WatchRectOf(ClientWidth(), ClientHeight(), FAppearance->Size());
}

TPoint TExtWatch::Center() const
{
    const TRect r = WatchRect();
    return TPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
}

int TExtWatch::Radius() const
{
    return WatchRect().Width() / 2;
}

bool TExtWatch::Quiet() const
{
    const TComponentState &s = ComponentState();
    return s.Contains(TComponentStateItem::csLoading) || s.Contains(TComponentStateItem::csDesigning);
}

bool TExtWatch::Animating() const
{
    return FAnimationTimer->Enabled();
}

TDateTime TExtWatch::GetTime() const
{
    if (FSettings->Auto())
        return Now() + FSettings->TimeOffset() / 1440.0;
    return FTime;
}

void TExtWatch::SetTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    StoreTime(Value);
    PaintPointers();
}

void TExtWatch::StoreTime(TDateTime Value)
{
    if (Value == FTime)
        return;
    FTime = Value;
    const bool internal = FInternalSet;
    FInternalSet = true;
    SetAM(PartsOf(Value).H < 12);
    FInternalSet = internal;
}

void TExtWatch::SetHour(int Value)
{
    const TTimeParts t = PartsOf(GetTime());
    if (Value == t.H)
        return;
    if (FAnimation && !FInternalCall && !Quiet()) {
        FHourTarget = static_cast<Byte>(Value);
        FHourAnimating = true;
        FAnimationTimer->SetEnabled(true);
        return;
    }
    StoreTime(EncodeTime(static_cast<Word>(Value), t.M, t.S, t.MS));
    PaintPointers();
    if (Value == FHourTarget && OnChange)
        OnChange(this);
}

void TExtWatch::SetMinute(int Value)
{
    if (Value >= 60 || Value < 0)
        throw Exception(QStringLiteral("Invalid time"));
    const TTimeParts t = PartsOf(GetTime());
    if (Value == t.M)
        return;
    if (FAnimation && !FInternalCall && !Quiet()) {
        FMinuteTarget = static_cast<Byte>(Value);
        FHourAnimating = false;
        FMinuteBefore = static_cast<Byte>(t.M);
        FAnimationTimer->SetEnabled(true);
        return;
    }
    if (!FAnimation)
        FMinuteBefore = static_cast<Byte>(t.M);
    Word hour = t.H;
    // The hand passed 12 going forward: the next hour.
    if (Value == 0 && FMinuteBefore > 30) {
        hour = static_cast<Word>((hour + 1) % 24);
        FMinuteBefore = 0;
    }
    StoreTime(EncodeTime(hour, static_cast<Word>(Value), t.S, t.MS));
    PaintPointers();
    if (Value == FMinuteTarget && OnChange)
        OnChange(this);
}

void TExtWatch::SetAM(bool Value)
{
    if (FAM == Value)
        return;
    FAM = Value;
    FCacheValid = false;
    if (FAnimation && FShowAMPM && FAppearance->AMPMColor() != clNone && !FInternalSet)
        ScrollAMPM(!Value);
    Repaint();
}

void TExtWatch::HandleKey(Word Key)
{
    if (FSettings->Auto())
        return;
    const TTimeParts t = PartsOf(GetTime());
    const int h = t.H, m = t.M;
    auto at = [this](int Hour) {
        const bool internal = FInternalCall;
        FInternalCall = true;
        SetHour(Hour);
        FInternalCall = internal;
    };
    switch (Key) {
    case 'A':
    case 'a':
        if (h > 11)
            SetHour(h - 12);
        break;
    case 'P':
    case 'p':
        if (h < 12)
            SetHour(h + 12);
        break;
    case VK_PRIOR:
        if (h < 23)
            SetHour(h + 1);
        else
            at(0);
        break;
    case VK_NEXT:
        if (h > 0)
            SetHour(h - 1);
        else
            at(23);
        break;
    case VK_END:
        SetMinute(0);
        break;
    case VK_HOME:
        at(12);
        break;
    case VK_LEFT:
        if (m > 0)
            SetMinute(m - 1);
        else
            SetTime(EncodeTime(static_cast<Word>((h + 23) % 24), 59, t.S, t.MS));
        break;
    case VK_RIGHT:
        if (m < 59)
            SetMinute(m + 1);
        else
            SetMinute(0);
        break;
    default:
        break;
    }
}

void TExtWatch::AnimationTick()
{
    if (!FAnimation || Quiet())
        return;
    const TTimeParts t = PartsOf(GetTime());
    const bool internal = FInternalCall;
    FInternalCall = true;
    if (FHourAnimating) {
        int h = t.H;
        if (h == FHourTarget) {
            FAnimationTimer->SetEnabled(false);
        } else {
            const int step = std::max(1, RoundEven(std::abs(FHourTarget - h) / static_cast<double>(FAnimationFactor)));
            h += h < FHourTarget ? step : -step;
            SetHour(h);
        }
    } else {
        int m = t.M;
        if (m == FMinuteTarget) {
            FAnimationTimer->SetEnabled(false);
        } else {
            // Towards 0 from the second half the hand goes on forward through 59.
            const bool forward = FMinuteTarget == 0 && m > 30;
            const int distance = forward ? 60 - m : std::abs(FMinuteTarget - m);
            const int step = std::max(1, RoundEven(distance / static_cast<double>(FAnimationFactor)));
            if (forward) {
                m += step;
                if (m >= 60)
                    m = 0;
            } else if (m > FMinuteTarget) {
                m -= step;
            } else {
                m += step;
            }
            SetMinute(m);
        }
    }
    FInternalCall = internal;
}

void TExtWatch::SettingsChanged()
{
    const bool autoMode = FSettings->Auto();
    FWatchTimer->SetEnabled(autoMode);
    if (autoMode) {
        const TDateTime now = Now();
        const bool internal = FInternalSet;
        FInternalSet = true;
        SetTime(now);
        SetAM(PartsOf(now).H < 12);
        FInternalSet = internal;
    }
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::AppearanceChanged()
{
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::SetShowAMPM(bool Value)
{
    if (FShowAMPM == Value)
        return;
    FShowAMPM = Value;
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::SetShowNumbers(bool Value)
{
    if (FShowNumbers == Value)
        return;
    FShowNumbers = Value;
    FCacheValid = false;
    Invalidate();
}

void TExtWatch::SetComponentStyle(TQRVStyle AStyle)
{
    ApplyStyleColors(FAppearance.get(), AStyle);
}

void TExtWatch::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (FSettings->Auto())
        return;
    const TRect w = WatchRect();
    const double rx = w.Width() / 2.0, ry = w.Height() / 2.0;
    const double ex = (X - (w.Left + rx)) / rx, ey = (Y - (w.Top + ry)) / ry;
    const TPoint c = Center();
    if (rx <= 0 || ry <= 0 || ex * ex + ey * ey > 1) {
        SetMinute(AngleToMinute(c, X, Y));
        return;
    }
    if (FShowAMPM && GetAMPMRect().Contains(TPoint(X, Y))) {
        if (FAnimation)
            SetAM(!FAM);
        const int h = PartsOf(GetTime()).H;
        const bool internal = FInternalCall;
        FInternalCall = true;
        FHourTarget = static_cast<Byte>(h < 12 ? h + 12 : h - 12);
        SetHour(FHourTarget);
        FInternalCall = internal;
        return;
    }
    SetHour(MinuteToHour(AngleToMinute(c, X, Y), FAM));
}

void TExtWatch::Resize()
{
    FCacheValid = false;
    TCustomControl::Resize();
}

void TExtWatch::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = TabStop() ? DLGC_WANTARROWS | DLGC_WANTALLKEYS : 0;
}

void TExtWatch::WMSetCursor(TWMGeneric &Message)
{
    TCustomControl::WMSetCursor(Message);
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    TPoint p;
    GetCursorPos(p);
    p = ScreenToClient(p);
    SetCursor(FShowAMPM && GetAMPMRect().Contains(p) ? crHandPoint : crDefault);
}
