// The date-time picker over Qt's date-time edit.
#include "platform/ComCtrls.h"

#include "platform/StdCtrlsPrivate.h"
#include "platform/SysUtils.h"

#include <QCalendarWidget>
#include <QDateTimeEdit>

#include <cmath>

using platform_detail::FromSignal;
using platform_detail::Links;

namespace {

constexpr double DayMs = 86400000.0;
const QDate DayZero(1899, 12, 30);

// The time of day in whole milliseconds; a value a hair before midnight is the next midnight.
int DayMSecs(double Value)
{
    if (!std::isfinite(Value))
        return 0;
    const double frac = Value - std::floor(Value);
    const auto ms = static_cast<long long>(std::llround(frac * DayMs));
    return static_cast<int>(ms % static_cast<long long>(DayMs));
}

double WholeDays(double Value)
{
    return std::isfinite(Value) ? std::floor(Value) : 0;
}

// The value in whole milliseconds: the days, then the time of day.
double Normalised(double Value)
{
    const double days = WholeDays(Value);
    const double frac = Value - days;
    const auto ms = static_cast<long long>(std::llround(frac * DayMs));
    if (ms >= static_cast<long long>(DayMs))
        return days + 1;
    return days + DayMSecs(Value) / DayMs;
}

QDateTime ToQt(double Value)
{
    return QDateTime(DayZero.addDays(static_cast<qint64>(WholeDays(Value))),
                     QTime::fromMSecsSinceStartOfDay(DayMSecs(Value)));
}

double FromQt(const QDateTime &Value)
{
    return static_cast<double>(DayZero.daysTo(Value.date())) + Value.time().msecsSinceStartOfDay() / DayMs;
}

// The locale's formats use "m" for the month in dates and "n" for the minutes in times.
QString QtDateFormat(const UnicodeString &Format)
{
    QString f = Format;
    f.replace(QLatin1Char('m'), QLatin1Char('M'));
    f.replace(QLatin1Char('D'), QLatin1Char('d'));
    f.replace(QLatin1Char('Y'), QLatin1Char('y'));
    return f;
}

QString QtTimeFormat(const UnicodeString &Format)
{
    QString f = Format;
    const bool twelve = f.contains(QLatin1String("AM"), Qt::CaseInsensitive);
    f.replace(QLatin1Char('n'), QLatin1Char('m'));
    f.replace(QLatin1Char('N'), QLatin1Char('m'));
    if (!twelve)
        f.replace(QLatin1Char('h'), QLatin1Char('H'));
    return f;
}

} // namespace

TDateTimePicker::TDateTimePicker(TComponent *AOwner) : TWinControl(AOwner)
{
    TControl::SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    FDateTime = WholeDays(Now());
}

QWidget *TDateTimePicker::CreateWidget(QWidget *ParentWidget)
{
    auto *e = new QDateTimeEdit(ParentWidget);
    QObject::connect(e, &QDateTimeEdit::dateTimeChanged, Links(e), [this](const QDateTime &t) {
        FromSignal(this, [this, t] { SetDateTime(FromQt(t)); });
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

QString TDateTimePicker::DisplayFormat() const
{
    if (!FFormat.isEmpty())
        return FFormat;
    return FKind == dtkTime ? QtTimeFormat(FormatSettings.LongTimeFormat) : QtDateFormat(FormatSettings.ShortDateFormat);
}

UnicodeString TDateTimePicker::GetText() const
{
    return ToQt(FDateTime).toString(DisplayFormat());
}

void TDateTimePicker::ApplyState()
{
    auto *e = static_cast<QDateTimeEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    const QSignalBlocker block(e);
    // The picker keeps to the field under the caret, as a typed digit never moves on here.
    e->setDisplayFormat(DisplayFormat());
    e->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    e->setMinimumDate(FMinDate != 0 ? DayZero.addDays(static_cast<qint64>(WholeDays(FMinDate))) : QDate(100, 1, 1));
    e->setMaximumDate(FMaxDate != 0 ? DayZero.addDays(static_cast<qint64>(WholeDays(FMaxDate))) : QDate(9999, 12, 31));
    e->setDateTime(ToQt(FDateTime));
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    FKind = Value;
    ApplyState();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value)
{
    FDateMode = Value;
    ApplyState();
}

double TDateTimePicker::Time() const
{
    return DayMSecs(FDateTime) / DayMs;
}

void TDateTimePicker::SetTime(double Value)
{
    SetDateTime(WholeDays(FDateTime) + DayMSecs(Value) / DayMs);
}

double TDateTimePicker::Date() const
{
    return WholeDays(FDateTime);
}

void TDateTimePicker::SetDate(double Value)
{
    SetDateTime(WholeDays(Value) + Time());
}

void TDateTimePicker::SetDateTime(double Value)
{
    double v = Normalised(Value);
    if (FMinDate != 0 && v < WholeDays(FMinDate))
        v = WholeDays(FMinDate) + (v - WholeDays(v));
    if (FMaxDate != 0 && WholeDays(v) > WholeDays(FMaxDate))
        v = WholeDays(FMaxDate) + (v - WholeDays(v));
    if (v == FDateTime)
        return;
    FDateTime = v;
    ApplyState();
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::SetMinDate(double Value)
{
    FMinDate = Value;
    ApplyState();
}

void TDateTimePicker::SetMaxDate(double Value)
{
    FMaxDate = Value;
    ApplyState();
}

void TDateTimePicker::SetFormat(const UnicodeString &Value)
{
    FFormat = Value;
    ApplyState();
}

bool TDateTimePicker::DroppedDown() const
{
    auto *e = static_cast<QDateTimeEdit *>(WidgetIfAllocated());
    return e && e->calendarPopup() && e->calendarWidget() && e->calendarWidget()->isVisible();
}
