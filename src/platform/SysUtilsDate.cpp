// TDateTime: encoding, decoding, the clock, FormatDateTime and the date and time readers.

#include "platform/SysUtils.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Days between 0001-01-01 and 1899-12-30 as bounds of the encodable range (years 1..9999).
constexpr double MinDateTime = -693593.0;
constexpr double MaxDateTime = 2958466.0;

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long Y, unsigned M, unsigned D)
{
    Y -= M <= 2;
    const long long era = (Y >= 0 ? Y : Y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(Y - era * 400);
    const unsigned doy = (153 * (M + (M > 2 ? -3 : 9)) + 2) / 5 + D - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long Z, long long &Y, unsigned &M, unsigned &D)
{
    Z += 719468;
    const long long era = (Z >= 0 ? Z : Z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(Z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    D = doy - (153 * mp + 2) / 5 + 1;
    M = mp < 10 ? mp + 3 : mp - 9;
    Y = static_cast<long long>(yoe) + era * 400 + (M <= 2);
}

// Splits a date-time into whole days and milliseconds of the day the classic way: rounded to the
// millisecond, the fraction counting forward from midnight also for dates before 1899-12-30.
bool SplitDateTime(TDateTime Value, long long &Days, long long &MSecs)
{
    if (!std::isfinite(Value) || Value < MinDateTime - 1 || Value > MaxDateTime + 1)
        return false;
    const long long total = std::llround(Value * MSecsPerDay);
    Days = total / MSecsPerDay;
    MSecs = std::llabs(total % MSecsPerDay);
    return true;
}

// A date plus a time of day, the time counted forward from midnight also before 1899-12-30.
TDateTime CombineDateTime(TDateTime DatePart, TDateTime TimePart)
{
    const double t = std::fabs(TimePart - std::trunc(TimePart));
    return DatePart >= 0 ? DatePart + t : DatePart - t;
}

TClockFunction &Clock()
{
    static TClockFunction clock;
    return clock;
}

TDateTime WallClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    TDateTime datePart = 0;
    TDateTime timePart = 0;
    TryEncodeDate(static_cast<Word>(d.year()), static_cast<Word>(d.month()), static_cast<Word>(d.day()), datePart);
    TryEncodeTime(static_cast<Word>(t.hour()), static_cast<Word>(t.minute()), static_cast<Word>(t.second()),
                  static_cast<Word>(t.msec()), timePart);
    return datePart + timePart;
}

// ---------------------------------------------------------------------------------------------
// FormatDateTime

QString Pad(int Value, int Width)
{
    return QString::number(Value).rightJustified(Width, QLatin1Char('0'));
}

bool StartsWithAt(const QString &S, qsizetype I, const char *Token)
{
    return S.mid(I, static_cast<qsizetype>(std::strlen(Token))).compare(QLatin1String(Token), Qt::CaseInsensitive) == 0;
}

// True when the format holds an AM/PM mark outside quotes: the hours are then 1..12. The mark may
// also stand before the hours, as in the Korean "AMPM h:nn".
bool HasAmPm(const QString &F)
{
    for (qsizetype i = 0; i < F.size(); ++i) {
        const QChar c = F[i];
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = F.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (StartsWithAt(F, i, "am/pm") || StartsWithAt(F, i, "a/p") || StartsWithAt(F, i, "ampm")) {
            return true;
        }
    }
    return false;
}

class TDateFormatter {
public:
    TDateFormatter(TDateTime Value, const TFormatSettings &FS) : FS(FS)
    {
        long long days = 0;
        long long ms = 0;
        if (SplitDateTime(Value, days, ms)) {
            long long y = 0;
            unsigned m = 0;
            unsigned d = 0;
            CivilFromDays(days - UnixDateDelta, y, m, d);
            FYear = static_cast<int>(y);
            FMonth = static_cast<int>(m);
            FDay = static_cast<int>(d);
            FDayOfWeek = static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
            FHour = static_cast<int>(ms / 3600000);
            FMin = static_cast<int>(ms / 60000 % 60);
            FSec = static_cast<int>(ms / 1000 % 60);
            FMSec = static_cast<int>(ms % 1000);
            FHasTime = ms != 0;
        }
    }

    void Append(QString &Out, const QString &F, int Depth)
    {
        // A format that names itself (ShortDateFormat "ddddd") must not recurse without end.
        if (Depth > 3)
            return;
        char16_t lastToken = 0;
        const qsizetype n = F.size();
        for (qsizetype i = 0; i < n;) {
            const QChar c = F[i];
            const char16_t up = c.toUpper().unicode();
            qsizetype run = 1;
            while (i + run < n && F[i + run].toUpper().unicode() == up)
                ++run;
            switch (up) {
            case u'"':
            case u'\'': {
                const qsizetype end = F.indexOf(c, i + 1);
                const qsizetype stop = end < 0 ? n : end;
                Out += F.mid(i + 1, stop - i - 1);
                i = end < 0 ? n : end + 1;
                continue;
            }
            case u'C':
                Append(Out, FS.ShortDateFormat, Depth + 1);
                if (FHasTime) {
                    Out += QLatin1Char(' ');
                    Append(Out, FS.LongTimeFormat, Depth + 1);
                }
                run = 1;
                break;
            case u'D':
                if (run == 1)
                    Out += QString::number(FDay);
                else if (run == 2)
                    Out += Pad(FDay, 2);
                else if (run == 3)
                    Out += NameOf(FS.ShortDayNames, FDayOfWeek);
                else if (run == 4)
                    Out += NameOf(FS.LongDayNames, FDayOfWeek);
                else if (run == 5)
                    Append(Out, FS.ShortDateFormat, Depth + 1);
                else {
                    Append(Out, FS.LongDateFormat, Depth + 1);
                    run = 6;
                }
                break;
            case u'M':
                if (lastToken == u'H' && run <= 2)
                    Out += run == 1 ? QString::number(FMin) : Pad(FMin, 2);
                else if (run == 1)
                    Out += QString::number(FMonth);
                else if (run == 2)
                    Out += Pad(FMonth, 2);
                else if (run == 3)
                    Out += NameOf(FS.ShortMonthNames, FMonth);
                else
                    Out += NameOf(FS.LongMonthNames, FMonth);
                break;
            case u'Y':
                Out += run <= 2 ? Pad(FYear % 100, 2) : Pad(FYear, 4);
                break;
            case u'H': {
                int h = FHour;
                if (HasAmPm(F)) {
                    h %= 12;
                    if (h == 0)
                        h = 12;
                }
                run = std::min<qsizetype>(run, 2);
                Out += run == 1 ? QString::number(h) : Pad(h, 2);
                break;
            }
            case u'N':
                run = std::min<qsizetype>(run, 2);
                Out += run == 1 ? QString::number(FMin) : Pad(FMin, 2);
                break;
            case u'S':
                run = std::min<qsizetype>(run, 2);
                Out += run == 1 ? QString::number(FSec) : Pad(FSec, 2);
                break;
            case u'Z':
                if (run >= 3) {
                    run = 3;
                    Out += Pad(FMSec, 3);
                } else {
                    run = 1;
                    Out += QString::number(FMSec);
                }
                break;
            case u'T':
                run = std::min<qsizetype>(run, 2);
                Append(Out, run == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, Depth + 1);
                break;
            case u'A':
                run = AppendAmPm(Out, F, i);
                break;
            case u'/':
                run = 1;
                Out += FS.DateSeparator;
                break;
            case u':':
                run = 1;
                Out += FS.TimeSeparator;
                break;
            default:
                run = 1;
                Out += c;
                break;
            }
            if (c.isLetter())
                lastToken = up;
            i += run;
        }
    }

private:
    // A value outside the encodable range decodes to day 0, month 0: it has no names.
    template <int N>
    static QString NameOf(const TNameList<N> &Names, int Index)
    {
        return Index >= 1 && Index <= N ? Names[Index] : QString();
    }

    qsizetype AppendAmPm(QString &Out, const QString &F, qsizetype I)
    {
        const bool pm = FHour >= 12;
        const bool lower = F[I] == QLatin1Char('a');
        if (StartsWithAt(F, I, "am/pm")) {
            const QString s = pm ? QStringLiteral("PM") : QStringLiteral("AM");
            Out += lower ? s.toLower() : s;
            return 5;
        }
        if (StartsWithAt(F, I, "a/p")) {
            const QString s = pm ? QStringLiteral("P") : QStringLiteral("A");
            Out += lower ? s.toLower() : s;
            return 3;
        }
        if (StartsWithAt(F, I, "ampm")) {
            Out += pm ? FS.TimePMString : FS.TimeAMString;
            return 4;
        }
        Out += F[I];
        return 1;
    }

    const TFormatSettings &FS;
    int FYear = 0, FMonth = 0, FDay = 0, FDayOfWeek = 0;
    int FHour = 0, FMin = 0, FSec = 0, FMSec = 0;
    bool FHasTime = false;
};

// ---------------------------------------------------------------------------------------------
// Reading dates and times

class TDateScanner {
public:
    TDateScanner(const QString &S, const TFormatSettings &FS) : FS(FS), FText(S) {}

    bool AtEnd()
    {
        SkipBlanks();
        return FPos >= FText.size();
    }

    bool ScanDate(TDateTime &Value)
    {
        long long n1 = 0, n2 = 0, n3 = 0;
        int l1 = 0, l3 = 0, l2 = 0;
        if (!ScanNumber(n1, l1) || !ScanChar(FS.DateSeparator) || !ScanNumber(n2, l2))
            return false;
        const bool threeParts = ScanChar(FS.DateSeparator);
        if (threeParts && !ScanNumber(n3, l3))
            return false;

        long long y = 0, m = 0, d = 0;
        int yearDigits = 4;
        const char order = DateOrder();
        if (threeParts) {
            switch (order) {
            case 'D': d = n1; m = n2; y = n3; yearDigits = l3; break;
            case 'Y': y = n1; m = n2; d = n3; yearDigits = l1; break;
            default: m = n1; d = n2; y = n3; yearDigits = l3; break;
            }
        } else {
            y = CurrentYear();
            if (order == 'D') {
                d = n1;
                m = n2;
            } else {
                m = n1;
                d = n2;
            }
        }
        if (yearDigits <= 2) {
            const long long current = CurrentYear();
            if (FS.TwoDigitYearCenturyWindow > 0) {
                const long long century = current - FS.TwoDigitYearCenturyWindow;
                y += century / 100 * 100;
                if (y < century)
                    y += 100;
            } else {
                y += current / 100 * 100;
            }
        }
        if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31)
            return false;
        return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), Value);
    }

    bool ScanTime(TDateTime &Value)
    {
        int baseHour = ScanAmPm();
        long long hour = 0, min = 0, sec = 0, msec = 0;
        int len = 0;
        if (!ScanNumber(hour, len))
            return false;
        if (ScanChar(FS.TimeSeparator)) {
            if (!ScanNumber(min, len))
                return false;
            if (ScanChar(FS.TimeSeparator)) {
                if (!ScanNumber(sec, len))
                    return false;
                if (ScanChar(FS.DecimalSeparator) && !ScanNumber(msec, len))
                    return false;
            }
        }
        if (baseHour < 0)
            baseHour = ScanAmPm();
        if (baseHour >= 0) {
            if (hour == 0 || hour > 12)
                return false;
            if (hour == 12)
                hour = 0;
            hour += baseHour;
        }
        if (hour > 23 || min > 59 || sec > 59 || msec > 999)
            return false;
        return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(min), static_cast<Word>(sec),
                             static_cast<Word>(msec), Value);
    }

private:
    // Blanks, and the direction marks that right-to-left locales put around date separators.
    void SkipBlanks()
    {
        while (FPos < FText.size() && (FText[FPos] == QLatin1Char(' ') || FText[FPos].category() == QChar::Other_Format))
            ++FPos;
    }

    bool ScanNumber(long long &Value, int &Digits)
    {
        SkipBlanks();
        Value = 0;
        Digits = 0;
        while (FPos < FText.size() && FText[FPos].unicode() >= u'0' && FText[FPos].unicode() <= u'9') {
            // Past 9 digits no field can be valid; stop the value from overflowing.
            if (Digits < 9)
                Value = Value * 10 + (FText[FPos].unicode() - u'0');
            else
                Value = 1000000000;
            ++Digits;
            ++FPos;
        }
        return Digits > 0;
    }

    bool ScanChar(QChar C)
    {
        SkipBlanks();
        if (FPos < FText.size() && FText[FPos] == C) {
            ++FPos;
            return true;
        }
        return false;
    }

    // 0 for an AM mark, 12 for a PM mark, -1 when none stands here.
    int ScanAmPm()
    {
        SkipBlanks();
        const QString rest = FText.mid(FPos);
        const QString marks[4] = {FS.TimeAMString, QStringLiteral("AM"), FS.TimePMString, QStringLiteral("PM")};
        for (int k = 0; k < 4; ++k) {
            const QString &mark = marks[k];
            if (!mark.isEmpty() && rest.startsWith(mark, Qt::CaseInsensitive)) {
                FPos += mark.size();
                return k < 2 ? 0 : 12;
            }
        }
        return -1;
    }

    // 'D', 'M' or 'Y': which part the short date format names first.
    char DateOrder() const
    {
        const QString &f = FS.ShortDateFormat;
        for (qsizetype i = 0; i < f.size(); ++i) {
            const QChar c = f[i];
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                const qsizetype end = f.indexOf(c, i + 1);
                if (end < 0)
                    break;
                i = end;
                continue;
            }
            const char16_t u = c.toUpper().unicode();
            if (u == u'D' || u == u'M' || u == u'Y')
                return static_cast<char>(u);
        }
        return 'M';
    }

    static long long CurrentYear()
    {
        Word y = 0, m = 0, d = 0;
        DecodeDate(Now(), y, m, d);
        return y;
    }

    const TFormatSettings &FS;
    const QString &FText;
    qsizetype FPos = 0;
};

} // namespace

// ---------------------------------------------------------------------------------------------

bool IsLeapYear(Word Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

Word DaysInAMonth(Word Year, Word Month)
{
    static const Word days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12)
        return 0;
    return Month == 2 && IsLeapYear(Year) ? 29 : days[Month - 1];
}

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime &Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > DaysInAMonth(Year, Month))
        return false;
    Date = static_cast<double>(DaysFromCivil(Year, Month, Day) + UnixDateDelta);
    return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day)
{
    TDateTime d = 0;
    if (!TryEncodeDate(Year, Month, Day, d))
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return d;
}

void DecodeDate(TDateTime Date, Word &Year, Word &Month, Word &Day)
{
    long long days = 0;
    long long ms = 0;
    if (!SplitDateTime(Date, days, ms)) {
        Year = Month = Day = 0;
        return;
    }
    long long y = 0;
    unsigned m = 0;
    unsigned d = 0;
    CivilFromDays(days - UnixDateDelta, y, m, d);
    Year = static_cast<Word>(y);
    Month = static_cast<Word>(m);
    Day = static_cast<Word>(d);
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime &Time)
{
    if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000)
        return false;
    Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec)
{
    TDateTime t = 0;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t))
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return t;
}

void DecodeTime(TDateTime Time, Word &Hour, Word &Min, Word &Sec, Word &MSec)
{
    long long days = 0;
    long long ms = 0;
    if (!SplitDateTime(Time, days, ms))
        ms = 0;
    Hour = static_cast<Word>(ms / 3600000);
    Min = static_cast<Word>(ms / 60000 % 60);
    Sec = static_cast<Word>(ms / 1000 % 60);
    MSec = static_cast<Word>(ms % 1000);
}

void DecodeDateTime(TDateTime Value, Word &Year, Word &Month, Word &Day, Word &Hour, Word &Min,
                    Word &Sec, Word &MSec)
{
    DecodeDate(Value, Year, Month, Day);
    DecodeTime(Value, Hour, Min, Sec, MSec);
}

TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec)
{
    return CombineDateTime(EncodeDate(Year, Month, Day), EncodeTime(Hour, Min, Sec, MSec));
}

int DayOfWeek(TDateTime Date)
{
    long long days = 0;
    long long ms = 0;
    if (!SplitDateTime(Date, days, ms))
        return 0;
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

TDateTime IncMonth(TDateTime Date, int NumberOfMonths)
{
    Word y = 0, m = 0, d = 0;
    DecodeDate(Date, y, m, d);
    const long long months = static_cast<long long>(y) * 12 + (m - 1) + NumberOfMonths;
    const long long ny = months >= 0 ? months / 12 : (months - 11) / 12;
    const Word nm = static_cast<Word>(months - ny * 12 + 1);
    if (ny < 1 || ny > 9999)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    const Word nd = std::min(d, DaysInAMonth(static_cast<Word>(ny), nm));
    return CombineDateTime(EncodeDate(static_cast<Word>(ny), nm, nd), Date);
}

TDateTime IncYear(TDateTime Date, int NumberOfYears)
{
    // So many years leave the calendar anyway; refused here before the months overflow.
    const long long months = static_cast<long long>(NumberOfYears) * 12;
    if (months > std::numeric_limits<int>::max() || months < std::numeric_limits<int>::min())
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return IncMonth(Date, static_cast<int>(months));
}

void SetClock(TClockFunction NewClock) { Clock() = std::move(NewClock); }

TDateTime Now() { return Clock() ? Clock()() : WallClock(); }
TDateTime Date() { return std::trunc(Now()); }
TDateTime Time()
{
    const TDateTime now = Now();
    return now - std::trunc(now);
}

UnicodeString FormatDateTime(const UnicodeString &Format, TDateTime DateTime)
{
    return FormatDateTime(Format, DateTime, FormatSettings);
}

UnicodeString FormatDateTime(const UnicodeString &Format, TDateTime DateTime, const TFormatSettings &AFormatSettings)
{
    QString out;
    TDateFormatter f(DateTime, AFormatSettings);
    f.Append(out, Format.isEmpty() ? QStringLiteral("c") : Format, 0);
    return out;
}

UnicodeString DateToStr(TDateTime Date) { return DateToStr(Date, FormatSettings); }
UnicodeString DateToStr(TDateTime Date, const TFormatSettings &AFormatSettings)
{
    return FormatDateTime(QStringLiteral("ddddd"), Date, AFormatSettings);
}

UnicodeString TimeToStr(TDateTime Time) { return TimeToStr(Time, FormatSettings); }
UnicodeString TimeToStr(TDateTime Time, const TFormatSettings &AFormatSettings)
{
    return FormatDateTime(QStringLiteral("tt"), Time, AFormatSettings);
}

UnicodeString DateTimeToStr(TDateTime DateTime) { return DateTimeToStr(DateTime, FormatSettings); }
UnicodeString DateTimeToStr(TDateTime DateTime, const TFormatSettings &AFormatSettings)
{
    return FormatDateTime(QStringLiteral("c"), DateTime, AFormatSettings);
}

bool TryStrToDate(const UnicodeString &S, TDateTime &Value) { return TryStrToDate(S, Value, FormatSettings); }

bool TryStrToDate(const UnicodeString &S, TDateTime &Value, const TFormatSettings &AFormatSettings)
{
    TDateScanner scanner(S, AFormatSettings);
    TDateTime d = 0;
    if (!scanner.ScanDate(d) || !scanner.AtEnd())
        return false;
    Value = d;
    return true;
}

TDateTime StrToDate(const UnicodeString &S) { return StrToDate(S, FormatSettings); }

TDateTime StrToDate(const UnicodeString &S, const TFormatSettings &AFormatSettings)
{
    TDateTime d = 0;
    if (!TryStrToDate(S, d, AFormatSettings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(S));
    return d;
}

TDateTime StrToDateDef(const UnicodeString &S, TDateTime Default) { return StrToDateDef(S, Default, FormatSettings); }

TDateTime StrToDateDef(const UnicodeString &S, TDateTime Default, const TFormatSettings &AFormatSettings)
{
    TDateTime d = 0;
    return TryStrToDate(S, d, AFormatSettings) ? d : Default;
}

bool TryStrToTime(const UnicodeString &S, TDateTime &Value) { return TryStrToTime(S, Value, FormatSettings); }

bool TryStrToTime(const UnicodeString &S, TDateTime &Value, const TFormatSettings &AFormatSettings)
{
    TDateScanner scanner(S, AFormatSettings);
    TDateTime t = 0;
    if (!scanner.ScanTime(t) || !scanner.AtEnd())
        return false;
    Value = t;
    return true;
}

TDateTime StrToTime(const UnicodeString &S) { return StrToTime(S, FormatSettings); }

TDateTime StrToTime(const UnicodeString &S, const TFormatSettings &AFormatSettings)
{
    TDateTime t = 0;
    if (!TryStrToTime(S, t, AFormatSettings))
        throw EConvertError(QStringLiteral("'%1' is not a valid time").arg(S));
    return t;
}

TDateTime StrToTimeDef(const UnicodeString &S, TDateTime Default) { return StrToTimeDef(S, Default, FormatSettings); }

TDateTime StrToTimeDef(const UnicodeString &S, TDateTime Default, const TFormatSettings &AFormatSettings)
{
    TDateTime t = 0;
    return TryStrToTime(S, t, AFormatSettings) ? t : Default;
}

bool TryStrToDateTime(const UnicodeString &S, TDateTime &Value) { return TryStrToDateTime(S, Value, FormatSettings); }

bool TryStrToDateTime(const UnicodeString &S, TDateTime &Value, const TFormatSettings &AFormatSettings)
{
    {
        TDateScanner scanner(S, AFormatSettings);
        TDateTime d = 0;
        TDateTime t = 0;
        if (scanner.ScanDate(d) && (scanner.AtEnd() || (scanner.ScanTime(t) && scanner.AtEnd()))) {
            Value = CombineDateTime(d, t);
            return true;
        }
    }
    // A time alone is a time on day 0.
    return TryStrToTime(S, Value, AFormatSettings);
}

TDateTime StrToDateTime(const UnicodeString &S) { return StrToDateTime(S, FormatSettings); }

TDateTime StrToDateTime(const UnicodeString &S, const TFormatSettings &AFormatSettings)
{
    TDateTime v = 0;
    if (!TryStrToDateTime(S, v, AFormatSettings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(S));
    return v;
}

TDateTime StrToDateTimeDef(const UnicodeString &S, TDateTime Default)
{
    return StrToDateTimeDef(S, Default, FormatSettings);
}

TDateTime StrToDateTimeDef(const UnicodeString &S, TDateTime Default, const TFormatSettings &AFormatSettings)
{
    TDateTime v = 0;
    return TryStrToDateTime(S, v, AFormatSettings) ? v : Default;
}
