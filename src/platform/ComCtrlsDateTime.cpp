// The date-time picker over Qt's date-time edit.
#include "platform/ComCtrls.h"

#include "platform/StdCtrls.h"
#include "platform/StdCtrlsPrivate.h"
#include "platform/SysUtils.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTextCharFormat>

#include <algorithm>
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

SYSTEMTIME ToSystemTime(double Value)
{
    const QDateTime t = ToQt(Value);
    SYSTEMTIME st;
    st.wYear = Word(t.date().year());
    st.wMonth = Word(t.date().month());
    st.wDayOfWeek = Word(t.date().dayOfWeek() % 7);
    st.wDay = Word(t.date().day());
    st.wHour = Word(t.time().hour());
    st.wMinute = Word(t.time().minute());
    st.wSecond = Word(t.time().second());
    st.wMilliseconds = Word(t.time().msec());
    return st;
}

// A value outside the calendar gives nothing (NaN).
double FromSystemTime(const SYSTEMTIME &St)
{
    const QDate d(St.wYear, St.wMonth, St.wDay);
    const QTime t(St.wHour, St.wMinute, St.wSecond, St.wMilliseconds);
    if (!d.isValid() || !t.isValid())
        return std::nan("");
    return FromQt(QDateTime(d, t));
}

// The pop-up window that holds the dropped-down calendar; a press outside it closes it.
class TCalendarDrop : public TCustomControl {
public:
    TCalendarDrop(TComponent *AOwner, TWinControl *Picker) : TCustomControl(AOwner), FPicker(Picker) {}
    std::function<void()> OnCancel;

protected:
    void CreateParams(TCreateParams &Params) override
    {
        TCustomControl::CreateParams(Params);
        Params.Style = WS_POPUP | WS_BORDER;
        Params.ExStyle |= WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
        if (FPicker->HandleAllocated())
            Params.WndParent = FPicker->Handle();
    }
    void WMCancelMode(TWMCancelMode &Message) override
    {
        TCustomControl::WMCancelMode(Message);
        if (OnCancel)
            OnCancel();
    }

private:
    TWinControl *FPicker;
};

} // namespace

// The picker's window: Qt's date-time edit, whose steps (wheel, arrows) and calendar button go
// through the picker's own field rules.
class TDateTimePickerEdit : public QDateTimeEdit {
public:
    TDateTimePickerEdit(QWidget *Parent, TDateTimePicker *Owner) : QDateTimeEdit(Parent), FOwner(Owner)
    {
        // The field lets the picker's own background through, so that a frame the picker draws
        // over its window (WM_NCPAINT) and its check box are not hidden under the field.
        QPalette p = lineEdit()->palette();
        p.setBrush(QPalette::All, QPalette::Base, Qt::transparent);
        lineEdit()->setPalette(p);
        lineEdit()->setAutoFillBackground(false);
        lineEdit()->installEventFilter(this);
    }
    void stepBy(int Steps) override
    {
        TDateTimePicker *o = FOwner;
        FromSignal(o, [o, Steps] { o->StepField(Steps); });
    }
    // The check box at the left, and the value greyed while it is cleared.
    void SetCheckBox(bool Shown, bool Checked)
    {
        if (Shown == FBoxShown && Checked == FBoxChecked)
            return;
        FBoxShown = Shown;
        FBoxChecked = Checked;
        lineEdit()->setTextMargins(Shown ? BoxSpace : 0, 0, 0, 0);
        // The field's text takes the picker's colours, greyed while the box is cleared.
        const QPalette own = palette();
        QPalette p = lineEdit()->palette();
        for (const auto group : {QPalette::Active, QPalette::Inactive})
            p.setBrush(group, QPalette::Text, own.brush(Checked ? group : QPalette::Disabled, QPalette::Text));
        lineEdit()->setPalette(p);
        update();
    }

protected:
    void mousePressEvent(QMouseEvent *Event) override
    {
        if (Event->button() == Qt::LeftButton && PressBox(Event->position().toPoint()))
            return Event->accept();
        if (calendarPopup() && Event->button() == Qt::LeftButton &&
            Event->position().x() >= width() - GetSystemMetrics(SM_CXVSCROLL) - 2) {
            TDateTimePicker *o = FOwner;
            FromSignal(o, [o] { o->SetDroppedDown(!o->DroppedDown()); });
            Event->accept();
            return;
        }
        if (calendarPopup()) {
            // Qt's own handling would read a press beside the button as a step down; it goes to
            // the field instead, where it puts the caret into a field.
            ForwardToField(Event);
            return;
        }
        QDateTimeEdit::mousePressEvent(Event);
    }
    void mouseReleaseEvent(QMouseEvent *Event) override
    {
        if (calendarPopup())
            return ForwardToField(Event);
        QDateTimeEdit::mouseReleaseEvent(Event);
    }
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        if (Watched == lineEdit() && Event->type() == QEvent::MouseButtonPress) {
            auto *m = static_cast<QMouseEvent *>(Event);
            if (m->button() == Qt::LeftButton && PressBox(lineEdit()->mapTo(this, m->position().toPoint())))
                return true;
        }
        return QDateTimeEdit::eventFilter(Watched, Event);
    }
    void paintEvent(QPaintEvent *Event) override
    {
        QDateTimeEdit::paintEvent(Event);
        if (!FBoxShown)
            return;
        QPainter painter(this);
        QStyleOptionButton box;
        box.initFrom(this);
        box.rect = BoxRect();
        box.state |= FBoxChecked ? QStyle::State_On : QStyle::State_Off;
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, this);
    }

private:
    void ForwardToField(QMouseEvent *Event)
    {
        Event->accept();
        QLineEdit *field = lineEdit();
        const QPointF at = field->mapFrom(this, Event->position().toPoint());
        if (!field->rect().contains(at.toPoint()))
            return;
        QMouseEvent moved(Event->type(), at, Event->globalPosition(), Event->button(), Event->buttons(), Event->modifiers());
        QCoreApplication::sendEvent(field, &moved);
    }
    static constexpr int BoxSize = 13;
    static constexpr int BoxSpace = BoxSize + 4;
    QRect BoxRect() const { return QRect(3, (height() - BoxSize) / 2, BoxSize, BoxSize); }
    bool PressBox(const QPoint &At)
    {
        if (!FBoxShown || At.x() >= BoxSpace + 2)
            return false;
        TDateTimePicker *o = FOwner;
        FromSignal(o, [o] { o->ToggleCheck(); });
        return true;
    }
    TDateTimePicker *FOwner;
    bool FBoxShown = false;
    bool FBoxChecked = true;
};

// ---- the month calendar ----

TMonthCalendar::TMonthCalendar(TComponent *AOwner) : TWinControl(AOwner)
{
    TControl::SetBounds(0, 0, 220, 160);
    FDate = WholeDays(Now());
}

QWidget *TMonthCalendar::CreateWidget(QWidget *ParentWidget)
{
    auto *c = new QCalendarWidget(ParentWidget);
    c->setMinimumDate(QDate(100, 1, 1));
    QObject::connect(c, &QCalendarWidget::clicked, Links(c), [this](const QDate &d) {
        FromSignal(this, [this, d] {
            FDate = static_cast<double>(DayZero.daysTo(d));
            if (OnClick)
                OnClick(this);
        });
    });
    return c;
}

void TMonthCalendar::CreateWnd()
{
    TWinControl::CreateWnd();
    ApplyStyle();
}

void TMonthCalendar::SetDate(double Value)
{
    FDate = WholeDays(Value);
    if (auto *c = static_cast<QCalendarWidget *>(WidgetIfAllocated()))
        c->setSelectedDate(DayZero.addDays(static_cast<qint64>(FDate)));
}

DWORD TMonthCalendar::Style() const
{
    return HandleAllocated() ? DWORD(GetWindowLong(const_cast<TMonthCalendar *>(this)->Handle(), GWL_STYLE)) : 0;
}

bool TMonthCalendar::ShowsWeekNumbers() const
{
    return (Style() & MCS_WEEKNUMBERS) != 0;
}

bool TMonthCalendar::MarksToday() const
{
    return (Style() & MCS_NOTODAYCIRCLE) == 0;
}

void TMonthCalendar::ApplyStyle()
{
    auto *c = static_cast<QCalendarWidget *>(WidgetIfAllocated());
    if (!c)
        return;
    c->setVerticalHeaderFormat(ShowsWeekNumbers() ? QCalendarWidget::ISOWeekNumbers : QCalendarWidget::NoVerticalHeader);
    c->setDateTextFormat(QDate(), QTextCharFormat());
    if (MarksToday()) {
        QTextCharFormat today;
        today.setFontWeight(QFont::Bold);
        today.setFontUnderline(true);
        c->setDateTextFormat(QDate::currentDate(), today);
    }
    c->setSelectedDate(DayZero.addDays(static_cast<qint64>(FDate)));
}

void TMonthCalendar::WndProc(TMessage &Message)
{
    if (Message.Msg == MCM_GETMINREQRECT) {
        HandleNeeded();
        ApplyStyle();
        const QSize s = Widget()->sizeHint();
        if (auto *r = reinterpret_cast<TRect *>(Message.LParam))
            *r = TRect(0, 0, s.width(), s.height());
        Message.Result = 1;
        return;
    }
    TWinControl::WndProc(Message);
}

// ---- the picker ----

TDateTimePicker::TDateTimePicker(TComponent *AOwner) : TWinControl(AOwner)
{
    TControl::SetBounds(0, 0, 186, 21);
    SetTabStop(true);
    FDateTime = WholeDays(Now());
}

TDateTimePicker::~TDateTimePicker() = default;

QWidget *TDateTimePicker::CreateWidget(QWidget *ParentWidget)
{
    auto *e = new TDateTimePickerEdit(ParentWidget, this);
    QObject::connect(e, &QDateTimeEdit::dateTimeChanged, Links(e), [this](const QDateTime &t) {
        FromSignal(this, [this, t] { SetDateTime(FromQt(t)); });
    });
    return e;
}

void TDateTimePicker::CreateWnd()
{
    TWinControl::CreateWnd();
    platform_detail::ApplyControlColors(WidgetIfAllocated(), Color(), Font()->Color(), true);
    ApplyState();
}

void TDateTimePicker::CMColorChanged(TCMColorChanged &Message)
{
    TWinControl::CMColorChanged(Message);
    platform_detail::ApplyControlColors(WidgetIfAllocated(), Color(), Font()->Color(), true);
}

void TDateTimePicker::WMGetDlgCode(TWMGetDlgCode &Message)
{
    Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

QString TDateTimePicker::DisplayFormat() const
{
    if (!FFormat.isEmpty()) {
        QString f = FFormat;
        f.replace(QLatin1String("tt"), QLatin1String("AP"));
        return f;
    }
    return FKind == dtkTime ? QtTimeFormat(FormatSettings.LongTimeFormat) : QtDateFormat(FormatSettings.ShortDateFormat);
}

UnicodeString TDateTimePicker::GetText() const
{
    return ToQt(FDateTime).toString(DisplayFormat());
}

std::vector<TDateTimePicker::TField> TDateTimePicker::Fields() const
{
    std::vector<TField> out;
    const QString f = DisplayFormat();
    for (qsizetype i = 0; i < f.size();) {
        const QChar c = f[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype close = f.indexOf(QLatin1Char('\''), i + 1);
            i = close < 0 ? f.size() : close + 1;
            continue;
        }
        qsizetype j = i;
        while (j < f.size() && f[j] == c)
            ++j;
        const int len = int(j - i);
        TDateTimeField kind = dtfNone;
        switch (c.unicode()) {
        case 'd': kind = len >= 3 ? dtfWeekDay : dtfDay; break;
        case 'M': kind = dtfMonth; break;
        case 'y': kind = dtfYear; break;
        case 'h':
        case 'H': kind = dtfHour; break;
        case 'm': kind = dtfMinute; break;
        case 's': kind = dtfSecond; break;
        case 'z': kind = dtfMSec; break;
        case 'A':
        case 'a':
            kind = dtfAmPm;
            if (j < f.size() && (f[j] == QLatin1Char('P') || f[j] == QLatin1Char('p')))
                ++j;
            break;
        default: break;
        }
        if (kind != dtfNone)
            out.push_back({kind, len});
        i = j;
    }
    return out;
}

int TDateTimePicker::FieldCount() const
{
    return static_cast<int>(Fields().size());
}

TDateTimeField TDateTimePicker::FieldKind(int Index) const
{
    const auto f = Fields();
    return Index >= 0 && Index < int(f.size()) ? f[size_t(Index)].Kind : dtfNone;
}

int TDateTimePicker::FieldIndex() const
{
    const int n = FieldCount();
    int i = FField;
    // A click into the window puts the caret in another field.
    if (auto *e = static_cast<QDateTimeEdit *>(WidgetIfAllocated()); e && e->sectionCount() == n)
        i = e->currentSectionIndex();
    return n == 0 ? 0 : std::clamp(i, 0, n - 1);
}

void TDateTimePicker::SetFieldIndex(int Index)
{
    EndTyping();
    FTyped.clear();
    const int n = FieldCount();
    FField = n == 0 ? 0 : std::clamp(Index, 0, n - 1);
    if (auto *e = static_cast<QDateTimeEdit *>(WidgetIfAllocated()); e && e->sectionCount() == n)
        e->setCurrentSectionIndex(FField);
}

void TDateTimePicker::MoveField(int By)
{
    const int n = FieldCount();
    if (n == 0)
        return;
    // The caret runs round the fields.
    SetFieldIndex(((FieldIndex() + By) % n + n) % n);
}

void TDateTimePicker::ApplyState()
{
    auto *e = static_cast<QDateTimeEdit *>(WidgetIfAllocated());
    if (!e)
        return;
    const QSignalBlocker block(e);
    // Qt puts the caret back into the first field whenever it takes a format or a value.
    const int field = e->sectionCount() > 0 ? e->currentSectionIndex() : FField;
    e->setDisplayFormat(DisplayFormat());
    // The calendar's button shows, but the calendar is the picker's own.
    e->setCalendarPopup(FKind == dtkDate && FDateMode == dmComboBox);
    e->setWrapping(true);
    e->setMinimumDate(FMinDate != 0 ? DayZero.addDays(static_cast<qint64>(WholeDays(FMinDate))) : QDate(100, 1, 1));
    e->setMaximumDate(FMaxDate != 0 ? DayZero.addDays(static_cast<qint64>(WholeDays(FMaxDate))) : QDate(9999, 12, 31));
    e->setDateTime(ToQt(FDateTime));
    static_cast<TDateTimePickerEdit *>(e)->SetCheckBox(FShowCheckbox, Checked());
    if (e->sectionCount() > 0) {
        FField = std::clamp(field, 0, e->sectionCount() - 1);
        e->setCurrentSectionIndex(FField);
    }
}

void TDateTimePicker::SetKind(TDateTimeKind Value)
{
    if (Value != FKind) {
        FKind = Value;
        FField = 0;
        FTyped.clear();
        if (Value != dtkDate)
            SetDroppedDown(false);
    }
    ApplyState();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value)
{
    FDateMode = Value;
    if (Value != dmComboBox)
        SetDroppedDown(false);
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

double TDateTimePicker::Bounded(double Value) const
{
    double v = Normalised(Value);
    if (FMinDate != 0 && v < WholeDays(FMinDate))
        v = WholeDays(FMinDate) + (v - WholeDays(v));
    if (FMaxDate != 0 && WholeDays(v) > WholeDays(FMaxDate))
        v = WholeDays(FMaxDate) + (v - WholeDays(v));
    return v;
}

void TDateTimePicker::SetDateTime(double Value)
{
    const double v = Bounded(Value);
    if (v == FDateTime)
        return;
    SendSystemTime(GDT_VALID, ToSystemTime(v));
}

void TDateTimePicker::SetChecked(bool Value)
{
    if (!FShowCheckbox) {
        FChecked = Value;
        return;
    }
    if (Value == FChecked)
        return;
    SendSystemTime(Value ? GDT_VALID : GDT_NONE, ToSystemTime(FDateTime));
}

void TDateTimePicker::SendSystemTime(DWORD Flag, const SYSTEMTIME &Time)
{
    SYSTEMTIME st = Time;
    Perform(DTM_SETSYSTEMTIME, Flag, reinterpret_cast<LPARAM>(&st));
}

bool TDateTimePicker::StoreValue(double Value)
{
    if (!std::isfinite(Value))
        return false;
    const double v = Bounded(Value);
    if (v == FDateTime)
        return false;
    FDateTime = v;
    ApplyState();
    Change();
    return true;
}

void TDateTimePicker::Change()
{
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
    FTyped.clear();
    ApplyState();
}

void TDateTimePicker::WndProc(TMessage &Message)
{
    switch (Message.Msg) {
    case CN_NOTIFY: {
        TWMNotify n(Message);
        if (n.NMHdr)
            CNNotify(n);
        n.Store();
        return;
    }
    case DTM_SETSYSTEMTIME: {
        if (Message.WParam == GDT_NONE) {
            if (FShowCheckbox)
                FChecked = false;
        } else if (const auto *st = reinterpret_cast<const SYSTEMTIME *>(Message.LParam)) {
            FChecked = true;
            StoreValue(FromSystemTime(*st));
        }
        ApplyState();
        Message.Result = 1;
        return;
    }
    case DTM_GETSYSTEMTIME:
        if (auto *st = reinterpret_cast<SYSTEMTIME *>(Message.LParam))
            *st = ToSystemTime(FDateTime);
        Message.Result = Checked() ? GDT_VALID : GDT_NONE;
        return;
    case DTM_GETMONTHCAL:
        Message.Result = DroppedDown() ? reinterpret_cast<LRESULT>(FCalendar->Handle()) : 0;
        return;
    default:
        TWinControl::WndProc(Message);
    }
}

void TDateTimePicker::CNNotify(TWMNotify &Message)
{
    switch (Message.NMHdr->code) {
    case DTN_DATETIMECHANGE: {
        const auto *n = reinterpret_cast<const NMDATETIMECHANGE *>(Message.NMHdr);
        if (n->dwFlags == GDT_NONE) {
            if (FShowCheckbox && FChecked) {
                FChecked = false;
                ApplyState();
                Change();
            }
        } else {
            const bool was = Checked();
            FChecked = true;
            if (!StoreValue(FromSystemTime(n->st)) && !was) {
                ApplyState();
                Change();
            }
        }
        break;
    }
    case DTN_DROPDOWN: DropDown(); break;
    case DTN_CLOSEUP: CloseUp(); break;
    default: break;
    }
    Message.Result = 0;
}

void TDateTimePicker::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TDateTimePicker::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TDateTimePicker::Notify(UINT Code)
{
    NMHDR h;
    h.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    h.code = Code;
    Report(&h);
}

void TDateTimePicker::UserChange(double Value, DWORD Flag)
{
    NMDATETIMECHANGE n;
    n.nmhdr.hwndFrom = HandleAllocated() ? Handle() : nullptr;
    n.nmhdr.code = DTN_DATETIMECHANGE;
    n.dwFlags = Flag;
    n.st = ToSystemTime(Value);
    Report(&n.nmhdr);
}

void TDateTimePicker::Report(NMHDR *Header)
{
    // The parent hears of it first (WM_NOTIFY), then the picker itself, as reflected to it.
    if (TWinControl *p = Parent())
        p->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(Header));
    Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(Header));
}

void TDateTimePicker::ToggleCheck()
{
    if (FShowCheckbox)
        UserChange(FDateTime, Checked() ? GDT_NONE : GDT_VALID);
}

void TDateTimePicker::SetShowCheckbox(bool Value)
{
    FShowCheckbox = Value;
    ApplyState();
}

void TDateTimePicker::StepField(int By)
{
    FTyped.clear();
    const QDateTime t = ToQt(FDateTime);
    QDate d = t.date();
    QTime tm = t.time();
    const auto wrap = [](int V, int Lo, int N) { return ((V - Lo) % N + N) % N + Lo; };
    const auto dayIn = [](int Y, int M, int D) { return QDate(Y, M, std::min(D, QDate(Y, M, 1).daysInMonth())); };
    switch (CurrentField()) {
    case dtfDay: d = QDate(d.year(), d.month(), wrap(d.day() + By, 1, d.daysInMonth())); break;
    case dtfWeekDay: d = d.addDays(By); break;
    case dtfMonth: d = dayIn(d.year(), wrap(d.month() + By, 1, 12), d.day()); break;
    case dtfYear: d = dayIn(std::clamp(d.year() + By, 100, 9999), d.month(), d.day()); break;
    case dtfHour: tm = QTime(wrap(tm.hour() + By, 0, 24), tm.minute(), tm.second(), tm.msec()); break;
    case dtfMinute: tm = QTime(tm.hour(), wrap(tm.minute() + By, 0, 60), tm.second(), tm.msec()); break;
    case dtfSecond: tm = QTime(tm.hour(), tm.minute(), wrap(tm.second() + By, 0, 60), tm.msec()); break;
    case dtfMSec: tm = QTime(tm.hour(), tm.minute(), tm.second(), wrap(tm.msec() + By, 0, 1000)); break;
    case dtfAmPm:
        if (By % 2 != 0)
            tm = QTime((tm.hour() + 12) % 24, tm.minute(), tm.second(), tm.msec());
        break;
    case dtfNone: return;
    }
    UserChange(FromQt(QDateTime(d, tm)));
}

void TDateTimePicker::TypeDigit(int Digit)
{
    const auto fields = Fields();
    const int index = FieldIndex();
    if (index >= int(fields.size()))
        return;
    const TField field = fields[size_t(index)];
    const QDateTime t = ToQt(FDateTime);
    QDate d = t.date();
    QTime tm = t.time();
    const QChar digit(char16_t('0' + Digit));
    if (field.Kind == dtfYear) {
        // A year is taken whole: four digits, or two under a short year.
        FTyped += digit;
        if (FTyped.size() >= (field.Length >= 3 ? 4 : 2))
            EndTyping();
        return;
    }
    bool twelve = false;
    for (const TField &f : fields)
        twelve = twelve || f.Kind == dtfAmPm;
    int lo = 0, hi = 0, width = 2;
    switch (field.Kind) {
    case dtfDay: lo = 1, hi = d.daysInMonth(); break;
    case dtfMonth: lo = 1, hi = 12; break;
    case dtfHour: lo = twelve ? 1 : 0, hi = twelve ? 12 : 23; break;
    case dtfMinute:
    case dtfSecond: hi = 59; break;
    case dtfMSec: hi = 999, width = 3; break;
    default: return;
    }
    // The digit joins those typed before while the number still fits the field; otherwise it
    // starts the field anew.
    QString typed = FTyped + digit;
    int n = typed.toInt();
    if (FTyped.isEmpty() || n > hi || typed.size() > width) {
        typed = digit;
        n = Digit;
    }
    FTyped = typed.size() >= width || n * 10 > hi ? QString() : typed;
    if (n < lo)
        return;
    switch (field.Kind) {
    case dtfDay: d = QDate(d.year(), d.month(), n); break;
    case dtfMonth: d = QDate(d.year(), n, std::min(d.day(), QDate(d.year(), n, 1).daysInMonth())); break;
    case dtfHour: tm = QTime(twelve ? n % 12 + (tm.hour() >= 12 ? 12 : 0) : n, tm.minute(), tm.second(), tm.msec()); break;
    case dtfMinute: tm = QTime(tm.hour(), n, tm.second(), tm.msec()); break;
    case dtfSecond: tm = QTime(tm.hour(), tm.minute(), n, tm.msec()); break;
    default: tm = QTime(tm.hour(), tm.minute(), tm.second(), n); break;
    }
    UserChange(FromQt(QDateTime(d, tm)));
}

void TDateTimePicker::EndTyping()
{
    if (FTyped.isEmpty() || CurrentField() != dtfYear) {
        FTyped.clear();
        return;
    }
    int year = FTyped.toInt();
    FTyped.clear();
    if (year < 100)
        year += 2000;
    const QDateTime t = ToQt(FDateTime);
    const QDate d = t.date();
    UserChange(FromQt(QDateTime(QDate(year, d.month(), std::min(d.day(), QDate(year, d.month(), 1).daysInMonth())), t.time())));
}

void TDateTimePicker::WMKeyDown(TWMKey &Message)
{
    if (DroppedDown() && CalendarKey(Message.CharCode)) {
        Message.Result = 0;
        return;
    }
    if (DoKeyDown(Message))
        return;
    switch (Message.CharCode) {
    case VK_LEFT: MoveField(-1); break;
    case VK_RIGHT: MoveField(1); break;
    case VK_UP: EndTyping(); StepField(1); break;
    case VK_DOWN: EndTyping(); StepField(-1); break;
    case VK_F4: SetDroppedDown(true); break;
    case VK_SPACE: ToggleCheck(); break;
    // Qt would edit the text itself.
    case VK_BACK:
    case VK_DELETE:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT: break;
    default: Inherited(Message); return;
    }
    Message.Result = 0;
}

void TDateTimePicker::WMSysKeyDown(TWMKey &Message)
{
    if (DroppedDown() && CalendarKey(Message.CharCode))
        return;
    if (DoKeyDown(Message))
        return;
    if (Message.CharCode == VK_DOWN) {
        SetDroppedDown(true);
        return;
    }
    Inherited(Message);
}

void TDateTimePicker::WMChar(TWMKey &Message)
{
    if (DroppedDown())
        return;
    if (DoKeyPress(Message))
        return;
    const Word ch = Message.CharCode;
    if (ch >= '0' && ch <= '9') {
        TypeDigit(ch - '0');
    } else if (CurrentField() == dtfAmPm) {
        const QChar c = QChar(char16_t(ch)).toUpper();
        const QTime tm = ToQt(FDateTime).time();
        if ((c == QLatin1Char('A') && tm.hour() >= 12) || (c == QLatin1Char('P') && tm.hour() < 12))
            StepField(1);
    }
    // Nothing else reaches Qt's edit: its text is only ever the value.
    Message.Result = 0;
}

// ---- the calendar ----

bool TDateTimePicker::DroppedDown() const
{
    return FDrop && FDrop->Visible();
}

TMonthCalendar *TDateTimePicker::MonthCalendar() const
{
    return DroppedDown() ? FCalendar : nullptr;
}

void TDateTimePicker::SetDroppedDown(bool Value)
{
    if (Value == DroppedDown())
        return;
    if (!Value) {
        CloseCalendar(false);
        return;
    }
    if (FKind != dtkDate || FDateMode != dmComboBox || !Enabled())
        return;
    EndTyping();
    if (!FDrop) {
        auto *drop = new TCalendarDrop(this, this);
        drop->OnCancel = [this] { CloseCalendar(false); };
        FDrop = drop;
        FCalendar = new TMonthCalendar(FDrop);
        FCalendar->SetParent(FDrop);
        FCalendar->OnClick = [this](TObject *) { CloseCalendar(true); };
    }
    FCalendar->HandleNeeded();
    // Each drop starts from a plain calendar, as a new one would; the drop-down handler may
    // set its styles and size.
    SetWindowLong(FCalendar->Handle(), GWL_STYLE, LPARAM(WS_CHILD | WS_VISIBLE));
    FCalendar->SetDate(Date());
    TRect r;
    FCalendar->Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
    FCalendar->SetBounds(0, 0, r.Right - r.Left, r.Bottom - r.Top);
    Notify(DTN_DROPDOWN);
    FCalendar->ApplyStyle();
    const TPoint at = ClientToScreen(TPoint(0, Height()));
    FDrop->SetBounds(at.X, at.Y, FCalendar->Left() + FCalendar->Width(), FCalendar->Top() + FCalendar->Height());
    FDrop->SetVisible(true);
    WatchOutsideClicks(FDrop, true);
}

void TDateTimePicker::CMExit(TCMExit &Message)
{
    EndTyping();
    TWinControl::CMExit(Message);
}

void TDateTimePicker::CMVisibleChanged(TCMVisibleChanged &Message)
{
    TWinControl::CMVisibleChanged(Message);
    if (!Visible())
        CloseCalendar(false, false);
}

void TDateTimePicker::CMEnabledChanged(TCMEnabledChanged &Message)
{
    TWinControl::CMEnabledChanged(Message);
    if (!Enabled())
        CloseCalendar(false, false);
}

void TDateTimePicker::CloseCalendar(bool Take, bool Report)
{
    if (!DroppedDown())
        return;
    WatchOutsideClicks(FDrop, false);
    FDrop->SetVisible(false);
    // A picker that goes away takes its calendar along without a word.
    if (!Report)
        return;
    if (Take && FCalendar->Date() != Date())
        UserChange(FCalendar->Date() + Time());
    Notify(DTN_CLOSEUP);
}

bool TDateTimePicker::CalendarKey(Word Key)
{
    const QDate d = DayZero.addDays(static_cast<qint64>(FCalendar->Date()));
    QDate to = d;
    switch (Key) {
    case VK_ESCAPE:
    case VK_TAB: CloseCalendar(false); return true;
    case VK_RETURN:
    case VK_F4: CloseCalendar(true); return true;
    case VK_LEFT: to = d.addDays(-1); break;
    case VK_RIGHT: to = d.addDays(1); break;
    case VK_UP: to = d.addDays(-7); break;
    case VK_DOWN: to = d.addDays(7); break;
    case VK_PRIOR: to = d.addMonths(-1); break;
    case VK_NEXT: to = d.addMonths(1); break;
    default: return true;
    }
    FCalendar->SetDate(static_cast<double>(DayZero.daysTo(to)));
    return true;
}
