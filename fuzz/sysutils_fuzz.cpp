// The runtime conversions that take user text - integers, floating point, flags, dates and
// times, under settings chosen by the input - and Format with an argument list taken from the
// input against the fixed formats the program uses (the format string itself is never user
// text). The Try forms never raise; the others raise EConvertError only.
//
// Input: one byte choosing the settings, one byte giving the count of arguments, the arguments
// (a kind byte, then 4 bytes for an integer, 8 for a 64-bit integer or a double, a length byte
// and UTF-8 for a string, 2 for a character), and the rest is the text to convert.
#include "support/FuzzSupport.h"

#include "platform/SysUtils.h"

#include <cstring>
#include <vector>

namespace {

const char *const Formats[] = {
    "%d", "%s", "%u", "%x", "%X", "%8.4x", "%.2f", "%8.3f", "%e", "%g", "%n", "%m", "%p", "%c",
    "%-10s|", "%10s|", "%.3s", "%5d|%-5d|", "%*d", "%-*.*f", "%.*s", "%1:s %0:s", "%0:d %1:d %0:d",
    "%s=%d (%.1f%%)", "STR%d = %s", "%d.%d.%d.%d", "%2:s%1:s%0:s", "%%", "%", "%5", "%:d", "%d %",
};

const char *const DateFormats[] = {"MM/dd/yyyy", "dd/mm/yyyy", "d.m.yy", "yyyy-mm-dd", "m/d/y", "dd mmm yyyy"};
const char *const TimeFormats[] = {"hh:nn:ss", "h:nn:ss ampm", "hh.nn", "hh:nn:ss.zzz"};

TFormatSettings SettingsOf(Byte Choice)
{
    TFormatSettings S = TFormatSettings::Invariant();
    S.ShortDateFormat = QString::fromLatin1(DateFormats[Choice % 6]);
    S.LongTimeFormat = QString::fromLatin1(TimeFormats[(Choice / 6) % 4]);
    static const char Separators[] = {'/', '.', '-', ' '};
    S.DateSeparator = QLatin1Char(Separators[(Choice / 24) % 4]);
    if (Choice & 0x80) {
        S.DecimalSeparator = QLatin1Char(',');
        S.ThousandSeparator = QLatin1Char('.');
        S.TimeSeparator = QLatin1Char('.');
    }
    return S;
}

template <typename T>
bool Take(const uint8_t *&P, const uint8_t *End, T &Value)
{
    if (End - P < static_cast<std::ptrdiff_t>(sizeof(T)))
        return false;
    std::memcpy(&Value, P, sizeof(T));
    P += sizeof(T);
    return true;
}

std::vector<TVarRec> Arguments(const uint8_t *&P, const uint8_t *End)
{
    std::vector<TVarRec> Args;
    Byte Count = 0;
    if (!Take(P, End, Count))
        return Args;
    for (int i = 0; i < Count % 8; ++i) {
        Byte Kind = 0;
        if (!Take(P, End, Kind))
            break;
        switch (Kind % 6) {
        case 0: {
            int V = 0;
            if (!Take(P, End, V))
                return Args;
            Args.emplace_back(V);
            break;
        }
        case 1: {
            long long V = 0;
            if (!Take(P, End, V))
                return Args;
            Args.emplace_back(V);
            break;
        }
        case 2: {
            double V = 0;
            if (!Take(P, End, V))
                return Args;
            Args.emplace_back(V);
            break;
        }
        case 3: {
            Byte Length = 0;
            if (!Take(P, End, Length) || End - P < Length)
                return Args;
            Args.emplace_back(QString::fromUtf8(reinterpret_cast<const char *>(P), Length));
            P += Length;
            break;
        }
        case 4: {
            char16_t V = 0;
            if (!Take(P, End, V))
                return Args;
            Args.emplace_back(V);
            break;
        }
        default:
            Args.emplace_back(static_cast<const void *>(P));
            break;
        }
    }
    return Args;
}

template <typename F>
void MayRaise(F &&Call)
{
    try {
        Call();
    } catch (const EConvertError &) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    if (Size < 1)
        return 0;
    const TFormatSettings Settings = SettingsOf(Data[0]);
    const uint8_t *P = Data + 1;
    const uint8_t *End = Data + Size;
    const std::vector<TVarRec> Args = Arguments(P, End);
    const UnicodeString Text = QString::fromUtf8(reinterpret_cast<const char *>(P), End - P);

    for (const char *Fmt : Formats) {
        MayRaise([&] { (void)Format(QString::fromLatin1(Fmt), Args); });
        MayRaise([&] { (void)Format(QString::fromLatin1(Fmt), Args, Settings); });
    }

    int I = 0, Code = 0;
    Int64 I64 = 0;
    if (TryStrToInt(Text, I))
        Fuzz::Check(StrToInt(IntToStr(I)) == I, "an integer does not read back");
    (void)StrToIntDef(Text, -1);
    if (TryStrToInt64(Text, I64))
        Fuzz::Check(StrToInt64(IntToStr(I64)) == I64, "a 64-bit integer does not read back");
    MayRaise([&] { (void)StrToInt(Text); });
    MayRaise([&] { (void)StrToInt64(Text); });
    Val(Text, I, Code);
    Val(Text, I64, Code);
    bool B = false;
    (void)TryStrToBool(Text, B);
    MayRaise([&] { (void)StrToBool(Text); });

    double D = 0;
    if (TryStrToFloat(Text, D, Settings)) {
        (void)FloatToStr(D, Settings);
        (void)FloatToStrF(D, ffFixed, 15, 4);
        (void)FormatFloat(QStringLiteral("#,##0.00;-#,##0.00;zero"), D, Settings);
    }
    (void)TryStrToFloat(Text, D);
    (void)StrToFloatDef(Text, 0.5, Settings);
    MayRaise([&] { (void)StrToFloat(Text, Settings); });

    TDateTime T = 0;
    if (TryStrToDate(Text, T, Settings))
        (void)DateToStr(T, Settings);
    if (TryStrToTime(Text, T, Settings))
        (void)TimeToStr(T, Settings);
    if (TryStrToDateTime(Text, T, Settings)) {
        (void)DateTimeToStr(T, Settings);
        (void)FormatDateTime(QStringLiteral("dddd d mmmm yyyy hh:nn:ss.zzz ampm"), T, Settings);
    }
    (void)StrToDateDef(Text, 0, Settings);
    (void)StrToTimeDef(Text, 0, Settings);
    MayRaise([&] { (void)StrToDate(Text, Settings); });
    MayRaise([&] { (void)StrToTime(Text, Settings); });
    MayRaise([&] { (void)StrToDateTime(Text, Settings); });
    return 0;
}
