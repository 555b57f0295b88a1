#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <climits>
#include <cmath>

namespace {

// Fixed settings and a fixed clock (2026-03-15 10:20:30) for every test.
class SysUtilsDateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = FormatSettings;
        FormatSettings = TFormatSettings::Create("en-US");
        SetClock([] { return EncodeDate(2026, 3, 15) + EncodeTime(10, 20, 30, 0); });
    }
    void TearDown() override
    {
        SetClock(nullptr);
        FormatSettings = FSaved;
    }

    static TFormatSettings Slashed()
    {
        TFormatSettings fs = TFormatSettings::Create("en-US");
        fs.ShortDateFormat = "dd/mm/yyyy";
        fs.DateSeparator = '/';
        return fs;
    }

    TFormatSettings FSaved;
};

TEST_F(SysUtilsDateTest, EncodeAndDecodeAroundTheEpoch)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(1970, 1, 1), UnixDateDelta);
    EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);

    Word y = 0, m = 0, d = 0;
    DecodeDate(36585.75, y, m, d);
    EXPECT_EQ(y, 2000);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(d, 29);

    // Before 1899-12-30 the fraction still counts forward from midnight: -1.25 is 29 Dec, 06:00.
    Word h = 0, n = 0, s = 0, ms = 0;
    DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
    EXPECT_EQ(QString("%1-%2-%3 %4").arg(y).arg(m).arg(d).arg(h), "1899-12-29 6");
    EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);

    DecodeTime(EncodeTime(23, 59, 58, 999), h, n, s, ms);
    EXPECT_EQ(QString("%1:%2:%3.%4").arg(h).arg(n).arg(s).arg(ms), "23:59:58.999");

    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 6, 2)), 1) << "a Sunday";
    EXPECT_EQ(DayOfWeek(0), 7) << "1899-12-30 was a Saturday";
    EXPECT_EQ(DayOfWeek(-1), 6);
}

TEST_F(SysUtilsDateTest, EncodeRefusesImpossibleDatesAndTimes)
{
    struct Case {
        Word Y, M, D;
    };
    const Case refused[] = {{2023, 2, 29}, {1900, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                            {2024, 0, 1},  {2024, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
    for (const Case &c : refused) {
        SCOPED_TRACE(QString("%1-%2-%3").arg(c.Y).arg(c.M).arg(c.D).toStdString());
        TDateTime v = 123;
        EXPECT_FALSE(TryEncodeDate(c.Y, c.M, c.D, v));
        EXPECT_EQ(v, 123);
        try {
            EncodeDate(c.Y, c.M, c.D);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError &e) {
            EXPECT_EQ(e.Message(), "Invalid argument to date encode");
        }
    }
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    TDateTime t = 0;
    EXPECT_TRUE(TryEncodeTime(12, 0, 0, 0, t));
    EXPECT_EQ(t, 0.5);

    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
}

TEST_F(SysUtilsDateTest, FormatDateTimeTokens)
{
    const TDateTime dt = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
    struct Case {
        const char *Fmt;
        const char *Expected;
    };
    const Case cases[] = {
        {"d/m/yy", "5/3/24"},
        {"dd.mm.yyyy", "05.03.2024"},
        {"ddd dddd", "Tue Tuesday"},
        {"mmm mmmm", "Mar March"},
        {"ddddd", "3/5/2024"},
        {"dddddd", "Tuesday, March 5, 2024"},
        {"h:n:s.z", "14:7:9.45"},
        {"hh:nn:ss.zzz", "14:07:09.045"},
        {"hh:mm", "14:07"},
        {"h:mm am/pm", "2:07 pm"},
        {"h:mm AM/PM", "2:07 PM"},
        {"h a/p", "2 p"},
        {"hh ampm", "02 PM"},
        {"ampm h:nn", "PM 2:07"},
        {"t", "2:07 PM"},
        {"tt", "2:07:09 PM"},
        {"c", "3/5/2024 2:07:09 PM"},
        {"yyyy-mm-dd'T'hh:nn", "2024-03-05T14:07"},
        {"\"mm\" mm", "mm 03"},
        {"yyyy/mm/dd", "2024/03/05"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Fmt);
        EXPECT_EQ(FormatDateTime(c.Fmt, dt), QString::fromUtf8(c.Expected));
    }
    EXPECT_EQ(FormatDateTime("h ampm", EncodeTime(0, 30, 0, 0)), "12 AM");
    // Values outside years 1..9999 (or not numbers at all) format without failing.
    for (double bad : {1e12, -1e12, std::nan(""), HUGE_VAL}) {
        EXPECT_NO_THROW(FormatDateTime("c dddd mmmm", bad));
        EXPECT_EQ(DayOfWeek(bad), 0);
    }
    EXPECT_EQ(FormatDateTime("c", EncodeDate(2024, 3, 5)), "3/5/2024") << "no time at midnight";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", EncodeDate(2024, 3, 5), TFormatSettings::Create("de-DE")), "2024.03.05");
    EXPECT_EQ(FormatDateTime("dddd d. mmmm", EncodeDate(2024, 3, 5), TFormatSettings::Create("de-DE")),
              QString::fromUtf16(u"Dienstag 5. M\u00e4rz"));
    EXPECT_EQ(DateToStr(EncodeDate(2024, 12, 31), TFormatSettings::Create("de-DE")), "31.12.2024");
    EXPECT_EQ(TimeToStr(EncodeTime(9, 5, 0, 0), TFormatSettings::Create("de-DE")), "09:05:00");
}

TEST_F(SysUtilsDateTest, DatesRoundTripUnderTwoSettings)
{
    const TFormatSettings settings[] = {Slashed(), TFormatSettings::Create("en-US"), TFormatSettings::Create("de-DE")};
    const TDateTime dates[] = {EncodeDate(2024, 2, 29), EncodeDate(1999, 12, 31), EncodeDate(2026, 1, 2),
                               EncodeDate(1, 1, 1), EncodeDate(9999, 12, 31)};
    for (const TFormatSettings &fs : settings) {
        for (TDateTime d : dates) {
            const QString text = DateToStr(d, fs);
            SCOPED_TRACE(text.toStdString());
            EXPECT_EQ(StrToDate(text, fs), d);
            const TDateTime withTime = d + EncodeTime(13, 45, 10, 0);
            EXPECT_EQ(StrToDateTime(DateTimeToStr(withTime, fs), fs), withTime);
        }
    }
}

TEST_F(SysUtilsDateTest, DatesRoundTripUnderLocaleSettings)
{
    // Settings mapped from Qt's locale data, right-to-left marks around separators included.
    for (const char *name : {"en_GB", "fr_FR", "it_IT", "nl_NL", "ja_JP", "en_IN", "ar_EG"}) {
        SCOPED_TRACE(name);
        const TFormatSettings fs = TFormatSettings::Create(name);
        EXPECT_TRUE(fs.ShortDateFormat.contains("yyyy")) << fs.ShortDateFormat.toStdString();
        const TDateTime d = EncodeDate(2031, 11, 7);
        EXPECT_EQ(StrToDate(DateToStr(d, fs), fs), d) << DateToStr(d, fs).toStdString();
    }
}

TEST_F(SysUtilsDateTest, StrToDateReadsTheShortFormatOrder)
{
    const TFormatSettings dmy = Slashed();
    const TFormatSettings mdy = TFormatSettings::Create("en-US");
    const TFormatSettings de = TFormatSettings::Create("de-DE");
    TFormatSettings ymd = TFormatSettings::Create("en-US");
    ymd.ShortDateFormat = "yyyy-mm-dd";
    ymd.DateSeparator = '-';

    EXPECT_EQ(StrToDate("03/04/2024", dmy), EncodeDate(2024, 4, 3));
    EXPECT_EQ(StrToDate("03/04/2024", mdy), EncodeDate(2024, 3, 4));
    EXPECT_EQ(StrToDate("3.4.2024", de), EncodeDate(2024, 4, 3));
    EXPECT_EQ(StrToDate("2024-04-03", ymd), EncodeDate(2024, 4, 3));
    EXPECT_EQ(StrToDate(" 3 / 4 / 2024 ", dmy), EncodeDate(2024, 4, 3)) << "blanks around the parts";
    EXPECT_EQ(StrToDate("3/4", dmy), EncodeDate(2026, 4, 3)) << "the clock's year";

    // Two-digit years fall within the 50 years before the clock's year (2026): 1976..2075.
    EXPECT_EQ(StrToDate("1/1/75", dmy), EncodeDate(2075, 1, 1));
    EXPECT_EQ(StrToDate("1/1/76", dmy), EncodeDate(1976, 1, 1));
    EXPECT_EQ(StrToDate("1/1/24", dmy), EncodeDate(2024, 1, 1));
    EXPECT_EQ(StrToDate("1/1/0024", dmy), EncodeDate(24, 1, 1)) << "four digits are taken as written";
    TFormatSettings noWindow = dmy;
    noWindow.TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(StrToDate("1/1/99", noWindow), EncodeDate(2099, 1, 1));

    const char *refused[] = {"", "3", "3/4/", "31/4/2024", "29/2/2023", "3-4-2024", "3/4/2024x",
                             "3/4/2024 10:00", "a/b/c", "3/13/2024", "99999999999/1/2024"};
    for (const char *text : refused) {
        SCOPED_TRACE(text);
        TDateTime v = 7;
        EXPECT_FALSE(TryStrToDate(text, v, dmy));
        EXPECT_EQ(v, 7);
        EXPECT_EQ(StrToDateDef(text, -1, dmy), -1);
    }
    try {
        StrToDate("3.4.2024", dmy);
        FAIL() << "no exception";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'3.4.2024' is not a valid date");
    }
    FormatSettings = de;
    EXPECT_EQ(StrToDate("24.12.2024"), EncodeDate(2024, 12, 24)) << "the process-wide settings";
}

TEST_F(SysUtilsDateTest, StrToTimeAndDateTime)
{
    const TFormatSettings us = TFormatSettings::Create("en-US");
    EXPECT_EQ(StrToTime("14:30", us), EncodeTime(14, 30, 0, 0));
    EXPECT_EQ(StrToTime("2:30:15 PM", us), EncodeTime(14, 30, 15, 0));
    EXPECT_EQ(StrToTime("12:00 am", us), 0);
    EXPECT_EQ(StrToTime("12:00 PM", us), 0.5);
    EXPECT_EQ(StrToTime("10:20:30.5", us), EncodeTime(10, 20, 30, 5));
    for (const char *bad : {"24:00", "10:60", "13:00 PM", "10:", "x", "10:00 xyz"}) {
        SCOPED_TRACE(bad);
        TDateTime v = 0;
        EXPECT_FALSE(TryStrToTime(bad, v, us));
    }
    EXPECT_THROW(StrToTime("25:00"), EConvertError);

    EXPECT_EQ(StrToDateTime("3/4/2024 10:30", us), EncodeDate(2024, 3, 4) + EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(StrToDateTime("3/4/2024", us), EncodeDate(2024, 3, 4));
    EXPECT_EQ(StrToDateTime("10:30", us), EncodeTime(10, 30, 0, 0));
    EXPECT_EQ(StrToDateTimeDef("3/4/2024 25:00", -1, us), -1);
    try {
        StrToDateTime("never", us);
        FAIL() << "no exception";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'never' is not a valid date and time");
    }
}

TEST_F(SysUtilsDateTest, ClockAndMonthSteps)
{
    EXPECT_EQ(Date(), EncodeDate(2026, 3, 15));
    EXPECT_NEAR(Time(), EncodeTime(10, 20, 30, 0), 1e-9);
    SetClock(nullptr);
    const TDateTime wall = Now();
    EXPECT_GT(wall, EncodeDate(2020, 1, 1)) << "the wall clock is back";

    const TDateTime jan31 = EncodeDate(2024, 1, 31) + 0.25;
    EXPECT_EQ(IncMonth(jan31), EncodeDate(2024, 2, 29) + 0.25) << "clamped to the month, time kept";
    EXPECT_EQ(IncMonth(jan31, -2), EncodeDate(2023, 11, 30) + 0.25);
    EXPECT_EQ(IncMonth(jan31, 12), EncodeDate(2025, 1, 31) + 0.25);
    EXPECT_EQ(IncYear(EncodeDate(2024, 2, 29)), EncodeDate(2025, 2, 28));
    EXPECT_EQ(IncDay(EncodeDate(2024, 2, 28), 2), EncodeDate(2024, 3, 1));
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
    // Steps far beyond the calendar are refused, not overflowed.
    EXPECT_THROW(IncMonth(jan31, INT_MAX), EConvertError);
    EXPECT_THROW(IncMonth(jan31, INT_MIN), EConvertError);
    EXPECT_THROW(IncYear(jan31, INT_MAX), EConvertError);
    EXPECT_THROW(IncYear(jan31, INT_MIN), EConvertError);
}

TEST(SysUtilsSettings, SystemLocaleMapsToClassicTokens)
{
    // Whatever the machine's locale, the mapped formats use the classic tokens only.
    const TFormatSettings fs = TFormatSettings::Create();
    EXPECT_FALSE(fs.ShortDateFormat.isEmpty());
    EXPECT_FALSE(fs.ShortDateFormat.contains('M'));
    EXPECT_FALSE(fs.LongTimeFormat.contains('t'));
    EXPECT_FALSE(fs.LongMonthNames[12].isEmpty());
    EXPECT_FALSE(fs.LongDayNames[1].isEmpty());

    const TFormatSettings fr = TFormatSettings::Create("fr-FR");
    EXPECT_EQ(fr.DecimalSeparator, ',');
    EXPECT_EQ(fr.DateSeparator, '/');
    EXPECT_EQ(fr.ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(fr.ShortTimeFormat, "hh:nn");
    EXPECT_EQ(fr.CurrencyFormat, 3);
    // The currency patterns reproduce the locale's own currency texts.
    auto blanks = [](QString s) { return s.replace(QChar(0x00A0), ' ').replace(QChar(0x202F), ' '); };
    const QLocale qfr("fr_FR");
    EXPECT_EQ(blanks(Format("%m", {-1234.5}, fr)), blanks(qfr.toCurrencyString(-1234.5)));
    EXPECT_EQ(blanks(Format("%m", {1234.5}, fr)), blanks(qfr.toCurrencyString(1234.5)));
    EXPECT_EQ(fr.LongDayNames[1], "dimanche");

    const TFormatSettings us = TFormatSettings::Create("en_GB");
    EXPECT_EQ(us.ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(us.CurrencyString, QString::fromUtf16(u"\u00A3"));

    const TFormatSettings inv = TFormatSettings::Invariant();
    EXPECT_EQ(StrToDate("12/31/2024", inv), EncodeDate(2024, 12, 31));

    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = '#';
    ResetFormatSettings();
    EXPECT_EQ(FormatSettings.DecimalSeparator, fs.DecimalSeparator);
    FormatSettings = saved;
}

} // namespace
