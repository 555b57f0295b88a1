#pragma once
// The classic runtime's string, conversion, formatting and date routines on UnicodeString.
//
// Positions are 1-based wherever the classic runtime counts from 1 (Pos, Copy, Delete, Insert,
// IsDelimiter, LastDelimiter). Locale dependent routines read the process-wide FormatSettings at
// each call, unless an explicit TFormatSettings is passed.
//
// TDateTime is a plain double: whole days since 1899-12-30, the fraction being the time of day
// (for negative values the fraction still counts forward from midnight, as classic code expects).
//
// Format takes its arguments as an initializer list of TVarRec, a small variant of integer,
// 64-bit integer, floating point, string, character or pointer built implicitly from the C++
// value: Format("%d of %s: %.2f", {3, Name, 1.5}). The specifiers check the kind as the classic
// runtime does: %d %u %x take integers (bool and enums arrive as integers), %f %e %g %n %m take
// floating point (an integer there is an error), %s takes strings and characters, %p pointers.

#include "platform/Sets.h"
#include "platform/System.h"

#include <QChar>
#include <QString>

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Format settings

// A fixed-size list of names indexed from 1, like the classic month (January = 1) and day
// (Sunday = 1) name arrays.
template <int N>
struct TNameList {
    std::array<UnicodeString, N> Items;
    UnicodeString &operator[](int Index) { return Items.at(static_cast<std::size_t>(Index - 1)); }
    const UnicodeString &operator[](int Index) const { return Items.at(static_cast<std::size_t>(Index - 1)); }
    static constexpr int Count() { return N; }
};

// A default-constructed object holds the invariant settings (Invariant()).
struct TFormatSettings {
    TFormatSettings();

    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QChar DateSeparator = QLatin1Char('/');
    QChar TimeSeparator = QLatin1Char(':');
    QChar ListSeparator = QLatin1Char(',');
    // Date and time formats use the FormatDateTime tokens (d m y h n s z ampm / :).
    UnicodeString ShortDateFormat = QStringLiteral("MM/dd/yyyy");
    UnicodeString LongDateFormat = QStringLiteral("dddd, dd mmmm yyyy");
    UnicodeString ShortTimeFormat = QStringLiteral("hh:nn");
    UnicodeString LongTimeFormat = QStringLiteral("hh:nn:ss");
    UnicodeString CurrencyString = QStringLiteral("\u00A4");
    // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
    Byte CurrencyFormat = 0;
    // 0 "($1)" 1 "-$1" 2 "$-1" 3 "$1-" 4 "(1$)" 5 "-1$" 6 "1-$" 7 "1$-" 8 "-1 $" 9 "-$ 1"
    // 10 "1 $-" 11 "$ 1-" 12 "$ -1" 13 "1- $" 14 "($ 1)" 15 "(1 $)".
    Byte NegCurrFormat = 0;
    Byte CurrencyDecimals = 2;
    UnicodeString TimeAMString = QStringLiteral("AM");
    UnicodeString TimePMString = QStringLiteral("PM");
    TNameList<12> ShortMonthNames;
    TNameList<12> LongMonthNames;
    TNameList<7> ShortDayNames;
    TNameList<7> LongDayNames;
    // Two-digit years are placed within this many years before the current one (0: this century).
    Word TwoDigitYearCenturyWindow = 50;

    // Settings of the system locale (QLocale::system()) mapped to the classic formats.
    static TFormatSettings Create();
    // Settings of a named locale ("de-DE", "en_US"). "en-US" and "de-DE" are fixed sets that do not
    // depend on the Qt version, so that tests are deterministic; other names go through QLocale.
    // An empty name gives Invariant().
    static TFormatSettings Create(const UnicodeString &LocaleName);
    // Culture-independent settings: "." and ",", MM/dd/yyyy, hh:nn:ss, English names.
    static TFormatSettings Invariant();
};

// The process-wide settings, filled from the system locale at start; tests may assign them.
extern TFormatSettings FormatSettings;
// Puts the process-wide settings back to the system locale's.
void ResetFormatSettings();

// ---------------------------------------------------------------------------------------------
// Strings

// Removes every character <= ' ' (blanks and control characters) at both ends / the start / the end.
UnicodeString Trim(const UnicodeString &S);
// Trim's rule on a view, for texts too long to copy on every step.
QStringView TrimView(QStringView S);
UnicodeString TrimLeft(const UnicodeString &S);
UnicodeString TrimRight(const UnicodeString &S);

// ASCII letters only; other characters are left as they are.
UnicodeString UpperCase(const UnicodeString &S);
UnicodeString LowerCase(const UnicodeString &S);
// Ordinal comparisons (<0, 0, >0); CompareText folds only ASCII letters.
int CompareStr(const UnicodeString &S1, const UnicodeString &S2);
int CompareText(const UnicodeString &S1, const UnicodeString &S2);
bool SameStr(const UnicodeString &S1, const UnicodeString &S2);
// Case-insensitive equality over all of Unicode (simple case folding).
bool SameText(const UnicodeString &S1, const UnicodeString &S2);

// Unicode case mapping.
UnicodeString AnsiUpperCase(const UnicodeString &S);
UnicodeString AnsiLowerCase(const UnicodeString &S);
// Collation of the system locale (<0, 0, >0); the Text variants ignore case.
int AnsiCompareStr(const UnicodeString &S1, const UnicodeString &S2);
int AnsiCompareText(const UnicodeString &S1, const UnicodeString &S2);
bool AnsiSameStr(const UnicodeString &S1, const UnicodeString &S2);
bool AnsiSameText(const UnicodeString &S1, const UnicodeString &S2);
// Same as Pos (case-sensitive).
int AnsiPos(const UnicodeString &SubStr, const UnicodeString &S);

inline int Length(const UnicodeString &S) { return static_cast<int>(S.size()); }
// 1-based position of the first SubStr in S, 0 when absent or SubStr is empty.
int Pos(const UnicodeString &SubStr, const UnicodeString &S);
// As Pos, searching from Offset (1-based); 0 when Offset is outside 1..Length(S).
int PosEx(const UnicodeString &SubStr, const UnicodeString &S, int Offset = 1);
// Count characters from Index (1-based); an Index below 1 counts from 1, a negative Count is 0.
UnicodeString Copy(const UnicodeString &S, int Index, int Count);
// Removes Count characters from Index; nothing when Index is outside 1..Length(S).
void Delete(UnicodeString &S, int Index, int Count);
// Inserts Source before Index; an Index below 1 inserts at the front, past the end appends.
void Insert(const UnicodeString &Source, UnicodeString &S, int Index);

UnicodeString StringOfChar(QChar Ch, int Count);
// 'abc' with inner quotes doubled.
UnicodeString QuotedStr(const UnicodeString &S);
UnicodeString AnsiQuotedStr(const UnicodeString &S, QChar Quote);
// When Src starts with Quote: returns the quoted text with doubled quotes made single and leaves in
// Src what follows the closing quote (nothing when it is missing). Otherwise returns an empty
// text and leaves Src unchanged.
UnicodeString AnsiExtractQuotedStr(UnicodeString &Src, QChar Quote);
// The quoted text of S, or S itself when it is not quoted.
UnicodeString AnsiDequotedStr(const UnicodeString &S, QChar Quote);

enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using TReplaceFlags = TSet<TReplaceFlag, 2>;
constexpr TReplaceFlag rfReplaceAll = TReplaceFlag::rfReplaceAll;
constexpr TReplaceFlag rfIgnoreCase = TReplaceFlag::rfIgnoreCase;
// Replaces the first (or with rfReplaceAll every) OldPattern; an empty OldPattern changes nothing.
UnicodeString StringReplace(const UnicodeString &S, const UnicodeString &OldPattern,
                            const UnicodeString &NewPattern, TReplaceFlags Flags = {});

// True when the character at Index (1-based) of S is one of Delimiters.
bool IsDelimiter(const UnicodeString &Delimiters, const UnicodeString &S, int Index);
// 1-based position of the last character of S that is one of Delimiters, 0 when none.
int LastDelimiter(const UnicodeString &Delimiters, const UnicodeString &S);

enum class TTextLineBreakStyle { tlbsLF, tlbsCRLF };
// Turns every CR, LF, CR LF and LF CR into the style's line break.
UnicodeString AdjustLineBreaks(const UnicodeString &S, TTextLineBreakStyle Style = TTextLineBreakStyle::tlbsCRLF);

// True when C is one of the characters of Set (a plain ASCII or Latin-1 list such as "0123456789").
bool CharInSet(QChar C, const char *Set);

// ---------------------------------------------------------------------------------------------
// Integer and Boolean conversion

namespace SysUtilsDetail {
UnicodeString SignedToStr(long long Value);
UnicodeString UnsignedToStr(unsigned long long Value);
UnicodeString ToHex(unsigned long long Value, int Digits);
} // namespace SysUtilsDetail

// Decimal text of any integer type (int, Int64, Cardinal, ...).
template <std::integral T>
UnicodeString IntToStr(T Value)
{
    if constexpr (std::is_signed_v<T>)
        return SysUtilsDetail::SignedToStr(static_cast<long long>(Value));
    else
        return SysUtilsDetail::UnsignedToStr(static_cast<unsigned long long>(Value));
}

// Upper-case hexadecimal with at least Digits digits; a negative 32-bit value shows its 8 digits of
// two's complement, a negative 64-bit one its 16.
template <std::integral T>
UnicodeString IntToHex(T Value, int Digits)
{
    if constexpr (sizeof(T) <= 4)
        return SysUtilsDetail::ToHex(static_cast<std::uint32_t>(Value), Digits);
    else
        return SysUtilsDetail::ToHex(static_cast<std::uint64_t>(Value), Digits);
}

// Integer text: leading blanks, an optional sign, then decimal digits or "$", "0x", "0X" and
// hexadecimal digits. Trailing characters, blanks included, make it no number. Decimal values must
// fit the type; hexadecimal values may use all its bits ("$FFFFFFFF" is -1), as the classic reader.
// StrToInt raises EConvertError "'abc' is not a valid integer value".
bool TryStrToInt(const UnicodeString &S, int &Value);
int StrToInt(const UnicodeString &S);
int StrToIntDef(const UnicodeString &S, int Default);
bool TryStrToInt64(const UnicodeString &S, Int64 &Value);
Int64 StrToInt64(const UnicodeString &S);
Int64 StrToInt64Def(const UnicodeString &S, Int64 Default);

// The same reader, reporting where it stopped: Code is 0 when the whole text is a number, else the
// 1-based position of the first character that does not belong (a digit that would overflow
// included); Value then holds the value of the characters before it ("12\"" gives 12, Code 3).
void Val(const UnicodeString &S, int &Value, int &Code);
void Val(const UnicodeString &S, Int64 &Value, int &Code);

// "-1"/"0", or with UseBoolStrs "True"/"False".
UnicodeString BoolToStr(bool B, bool UseBoolStrs = false);
// "True"/"False" in any case, or any integer text (0 is false); otherwise
// EConvertError "'x' is not a valid boolean value".
bool TryStrToBool(const UnicodeString &S, bool &Value);
bool StrToBool(const UnicodeString &S);
bool StrToBoolDef(const UnicodeString &S, bool Default);

// ---------------------------------------------------------------------------------------------
// Floating point conversion and formatting

using Extended = double;
using Currency = double;

// Blanks around, optional sign, digits with the settings' decimal separator, optional exponent
// (e or E, optional sign); "INF", "-INF" and "NAN" too. No thousand separators.
// StrToFloat raises EConvertError "'x' is not a valid floating point value".
bool TryStrToFloat(const UnicodeString &S, double &Value);
bool TryStrToFloat(const UnicodeString &S, double &Value, const TFormatSettings &AFormatSettings);
double StrToFloat(const UnicodeString &S);
double StrToFloat(const UnicodeString &S, const TFormatSettings &AFormatSettings);
double StrToFloatDef(const UnicodeString &S, double Default);
double StrToFloatDef(const UnicodeString &S, double Default, const TFormatSettings &AFormatSettings);

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
constexpr TFloatFormat ffGeneral = TFloatFormat::ffGeneral;
constexpr TFloatFormat ffExponent = TFloatFormat::ffExponent;
constexpr TFloatFormat ffFixed = TFloatFormat::ffFixed;
constexpr TFloatFormat ffNumber = TFloatFormat::ffNumber;
constexpr TFloatFormat ffCurrency = TFloatFormat::ffCurrency;

// Shortest text with up to 15 significant digits ("1.5", "1E20", "1E-7", "INF", "NAN").
UnicodeString FloatToStr(double Value);
UnicodeString FloatToStr(double Value, const TFormatSettings &AFormatSettings);
// Precision: significant digits (1..15); Digits: exponent digits (ffGeneral, ffExponent) or
// decimals (ffFixed, ffNumber, ffCurrency).
UnicodeString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
UnicodeString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits,
                          const TFormatSettings &AFormatSettings);
// Picture formats: "0" digit, "#" optional digit, "." decimal separator, "," thousand separators,
// "E+0"/"E-0" exponent, "'...'" and "\"...\"" literals, ";" sections positive;negative;zero.
UnicodeString FormatFloat(const UnicodeString &Format, double Value);
UnicodeString FormatFloat(const UnicodeString &Format, double Value, const TFormatSettings &AFormatSettings);
UnicodeString CurrToStr(Currency Value);

// ---------------------------------------------------------------------------------------------
// Format

class TVarRec {
public:
    enum TVType { vtInteger, vtInt64, vtExtended, vtString, vtChar, vtPointer };

    TVarRec(int V) : FType(vtInteger), FInt(V) {}
    TVarRec(unsigned V) : FType(vtInt64), FInt(V) {}
    TVarRec(long V) : FType(vtInt64), FInt(V) {}
    TVarRec(unsigned long V) : FType(vtInt64), FInt(static_cast<long long>(V)) {}
    TVarRec(long long V) : FType(vtInt64), FInt(V) {}
    TVarRec(unsigned long long V) : FType(vtInt64), FInt(static_cast<long long>(V)) {}
    TVarRec(double V) : FType(vtExtended), FFloat(V) {}
    TVarRec(const UnicodeString &V) : FType(vtString), FString(V) {}
    TVarRec(const char *V) : FType(vtString), FString(QString::fromUtf8(V)) {}
    TVarRec(const char16_t *V) : FType(vtString), FString(QString::fromUtf16(V)) {}
    TVarRec(char V) : FType(vtChar), FString(QChar::fromLatin1(V)) {}
    TVarRec(QChar V) : FType(vtChar), FString(V) {}
    TVarRec(char16_t V) : FType(vtChar), FString(QChar(V)) {}
    TVarRec(const void *V) : FType(vtPointer), FPointer(V) {}
    TVarRec(std::nullptr_t) : FType(vtPointer) {}

    TVType VType() const { return FType; }
    long long AsInt64() const { return FInt; }
    double AsExtended() const { return FFloat; }
    const UnicodeString &AsString() const { return FString; }
    const void *AsPointer() const { return FPointer; }

private:
    TVType FType;
    long long FInt = 0;
    double FFloat = 0;
    UnicodeString FString;
    const void *FPointer = nullptr;
};

// Specifiers: "%" [index ":"] ["-"] [width] ["." precision] type, where index, width and
// precision may be "*" (taken from the next integer argument) and "%%" is a percent sign.
// Raises EConvertError "Format '...' invalid or incompatible with argument" for a bad specifier or
// an argument of the wrong kind, and "No argument for format '...'" when arguments run out.
UnicodeString Format(const UnicodeString &Fmt, std::initializer_list<TVarRec> Args);
UnicodeString Format(const UnicodeString &Fmt, std::initializer_list<TVarRec> Args,
                     const TFormatSettings &AFormatSettings);
UnicodeString Format(const UnicodeString &Fmt, const std::vector<TVarRec> &Args);
UnicodeString Format(const UnicodeString &Fmt, const std::vector<TVarRec> &Args,
                     const TFormatSettings &AFormatSettings);

// ---------------------------------------------------------------------------------------------
// Dates and times

using TDateTime = double;
using TDate = double;
using TTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = 24 * 60;
constexpr int SecsPerDay = 24 * 60 * 60;
constexpr int MSecsPerDay = 24 * 60 * 60 * 1000;
// The day number of 1970-01-01 (the Unix epoch) as a TDateTime.
constexpr int UnixDateDelta = 25569;

bool IsLeapYear(Word Year);
Word DaysInAMonth(Word Year, Word Month);

// Years 1..9999; EncodeDate raises EConvertError "Invalid argument to date encode".
bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime &Date);
TDateTime EncodeDate(Word Year, Word Month, Word Day);
void DecodeDate(TDateTime Date, Word &Year, Word &Month, Word &Day);
// Hour < 24, Min < 60, Sec < 60, MSec < 1000; EncodeTime raises
// EConvertError "Invalid argument to time encode".
bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime &Time);
TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec);
// The time is rounded to the millisecond (a value a hair before midnight decodes as the next day).
void DecodeTime(TDateTime Time, Word &Hour, Word &Min, Word &Sec, Word &MSec);
void DecodeDateTime(TDateTime Value, Word &Year, Word &Month, Word &Day, Word &Hour, Word &Min,
                    Word &Sec, Word &MSec);
TDateTime EncodeDateTime(Word Year, Word Month, Word Day, Word Hour, Word Min, Word Sec, Word MSec);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime Date);

// Adds months keeping the day (clamped to the target month's length) and the time.
TDateTime IncMonth(TDateTime Date, int NumberOfMonths = 1);
TDateTime IncYear(TDateTime Date, int NumberOfYears = 1);
inline TDateTime IncDay(TDateTime Date, int NumberOfDays = 1) { return Date + NumberOfDays; }

// The clock behind Now, Date and Time: the local wall clock unless a test sets one. Setting an
// empty function restores the wall clock.
using TClockFunction = std::function<TDateTime()>;
void SetClock(TClockFunction Clock);
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Tokens: c d dd ddd dddd ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz t tt
// am/pm a/p ampm / : and literals in single or double quotes. m right after h is minutes.
UnicodeString FormatDateTime(const UnicodeString &Format, TDateTime DateTime);
UnicodeString FormatDateTime(const UnicodeString &Format, TDateTime DateTime, const TFormatSettings &AFormatSettings);
UnicodeString DateToStr(TDateTime Date);
UnicodeString DateToStr(TDateTime Date, const TFormatSettings &AFormatSettings);
UnicodeString TimeToStr(TDateTime Time);
UnicodeString TimeToStr(TDateTime Time, const TFormatSettings &AFormatSettings);
// Date and long time; the time is left out at midnight.
UnicodeString DateTimeToStr(TDateTime DateTime);
UnicodeString DateTimeToStr(TDateTime DateTime, const TFormatSettings &AFormatSettings);

// Dates are read as numbers separated by the date separator in the order of d, m and y in the
// short date format; a missing year is the current one and a year of one or two digits is placed by
// TwoDigitYearCenturyWindow. Times are hour, minutes, optional seconds and milliseconds (after the
// decimal separator) separated by the time separator, with an optional AM/PM mark.
// The raising variants raise EConvertError "'x' is not a valid date" / "time" / "date and time".
bool TryStrToDate(const UnicodeString &S, TDateTime &Value);
bool TryStrToDate(const UnicodeString &S, TDateTime &Value, const TFormatSettings &AFormatSettings);
TDateTime StrToDate(const UnicodeString &S);
TDateTime StrToDate(const UnicodeString &S, const TFormatSettings &AFormatSettings);
TDateTime StrToDateDef(const UnicodeString &S, TDateTime Default);
TDateTime StrToDateDef(const UnicodeString &S, TDateTime Default, const TFormatSettings &AFormatSettings);
bool TryStrToTime(const UnicodeString &S, TDateTime &Value);
bool TryStrToTime(const UnicodeString &S, TDateTime &Value, const TFormatSettings &AFormatSettings);
TDateTime StrToTime(const UnicodeString &S);
TDateTime StrToTime(const UnicodeString &S, const TFormatSettings &AFormatSettings);
TDateTime StrToTimeDef(const UnicodeString &S, TDateTime Default);
TDateTime StrToTimeDef(const UnicodeString &S, TDateTime Default, const TFormatSettings &AFormatSettings);
bool TryStrToDateTime(const UnicodeString &S, TDateTime &Value);
bool TryStrToDateTime(const UnicodeString &S, TDateTime &Value, const TFormatSettings &AFormatSettings);
TDateTime StrToDateTime(const UnicodeString &S);
TDateTime StrToDateTime(const UnicodeString &S, const TFormatSettings &AFormatSettings);
TDateTime StrToDateTimeDef(const UnicodeString &S, TDateTime Default);
TDateTime StrToDateTimeDef(const UnicodeString &S, TDateTime Default, const TFormatSettings &AFormatSettings);
