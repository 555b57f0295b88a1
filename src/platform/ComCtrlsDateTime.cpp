// The date-time picker over Qt's time edit.
#include "platform/ComCtrls.h"

#include "platform/StdCtrlsPrivate.h"

#include <QTimeEdit>

#include <cmath>

using platform_detail::FromSignal;
using platform_detail::Links;

namespace {

constexpr double MSecsPerDay = 86400000.0;

// The time of day in whole milliseconds; a value a hair before midnight is the next midnight.
int DayMSecs(double Value)
{
    if (!std::isfinite(Value))
        return 0;
    const double frac = Value - std::floor(Value);
    const auto ms = static_cast<long long>(std::llround(frac * MSecsPerDay));
    return static_cast<int>(ms % static_cast<long long>(MSecsPerDay));
}

} // namespace

TDateTimePicker::TDateTimePicker(TComponent *AOwner) : TWinControl(AOwner)
{
    TControl::SetBounds(0, 0, 186, 21);
    SetTabStop(true);
}

QWidget *TDateTimePicker::CreateWidget(QWidget *ParentWidget)
{
    auto *e = new QTimeEdit(ParentWidget);
    QObject::connect(e, &QTimeEdit::timeChanged, Links(e), [this](const QTime &t) {
        FromSignal(this, [this, t] { SetTime(t.msecsSinceStartOfDay() / MSecsPerDay); });
    });
    return e;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyState();
}

void TDateTimePicker::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TDateTimePicker::ApplyState()
{
    auto *e = static_cast<QTimeEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    const QSignalBlocker block(e);
    e->setDisplayFormat(FFormat.isEmpty() ? QStringLiteral("HH:mm:ss") : FFormat);
    e->setTime(QTime::fromMSecsSinceStartOfDay(DayMSecs(FTime)));
}

void TDateTimePicker::SetTime(double Value)
{
    const double v = DayMSecs(Value) / MSecsPerDay;
    if (v == FTime)
        return;
    FTime = v;
    ApplyState();
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::SetFormat(const UnicodeString &Value)
{
    FFormat = Value;
    ApplyState();
}
