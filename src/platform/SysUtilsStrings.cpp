// String routines, integer and Boolean conversion.

#include "platform/SysUtils.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace {

bool IsBlankOrControl(QChar C) { return C.unicode() <= u' '; }

QChar AsciiUpper(QChar C)
{
    const char16_t u = C.unicode();
    return (u >= u'a' && u <= u'z') ? QChar(char16_t(u - 32)) : C;
}

QChar AsciiLower(QChar C)
{
    const char16_t u = C.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 32)) : C;
}

int Sign(int V) { return V < 0 ? -1 : (V > 0 ? 1 : 0); }

// One collator per thread and case mode: building one is costly, and sorted lists compare often.
// It follows the locale that was the default when the thread first compared.
const QCollator &Collator(bool IgnoreCase)
{
    thread_local QCollator caseSensitive = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    thread_local QCollator caseInsensitive = [] {
        QCollator c{QLocale()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return IgnoreCase ? caseInsensitive : caseSensitive;
}

UnicodeString InvalidInteger(const UnicodeString &S)
{
    return QStringLiteral("'%1' is not a valid integer value").arg(S);
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The classic integer reader. Bits is the width of the target type: decimal text must fit it as a
// signed value, hexadecimal text as an unsigned one (its bit pattern is taken as is). Returns 0 when
// the whole text is a number, else the 1-based position where reading stopped; Result then holds
// the value of the digits read before that position.
int ParseInteger(const UnicodeString &S, int Bits, long long &Result)
{
    const qsizetype n = S.size();
    qsizetype i = 0;
    while (i < n && S[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (S[i] == QLatin1Char('-') || S[i] == QLatin1Char('+'))) {
        negative = S[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && S[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && S[i] == QLatin1Char('0') && (S[i + 1] == QLatin1Char('x') || S[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }

    const unsigned long long unsignedMax = Bits >= 64 ? std::numeric_limits<unsigned long long>::max()
                                                      : (1ULL << Bits) - 1;
    // Hexadecimal text may fill every bit; decimal text must stay within the signed range.
    const unsigned long long limit = hex ? unsignedMax : (unsignedMax >> 1) + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    unsigned long long value = 0;
    const qsizetype firstDigit = i;
    for (; i < n; ++i) {
        const char16_t c = S[i].unicode();
        const int d = hex ? HexDigit(c) : ((c >= u'0' && c <= u'9') ? c - u'0' : -1);
        if (d < 0 || value > (limit - static_cast<unsigned>(d)) / base)
            break;
        value = value * base + static_cast<unsigned>(d);
    }

    const unsigned long long bits = negative ? 0ULL - value : value;
    Result = Bits >= 64 ? static_cast<long long>(bits)
                        : static_cast<long long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(bits)));
    if (i == firstDigit)
        return static_cast<int>(i) + 1; // no digit at all
    return i < n ? static_cast<int>(i) + 1 : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------

UnicodeString Trim(const UnicodeString &S)
{
    return TrimView(S).toString();
}

QStringView TrimView(QStringView S)
{
    qsizetype first = 0;
    qsizetype last = S.size() - 1;
    while (first <= last && IsBlankOrControl(S[first]))
        ++first;
    while (last >= first && IsBlankOrControl(S[last]))
        --last;
    return S.mid(first, last - first + 1);
}

UnicodeString TrimLeft(const UnicodeString &S)
{
    qsizetype first = 0;
    while (first < S.size() && IsBlankOrControl(S[first]))
        ++first;
    return S.mid(first);
}

UnicodeString TrimRight(const UnicodeString &S)
{
    qsizetype last = S.size() - 1;
    while (last >= 0 && IsBlankOrControl(S[last]))
        --last;
    return S.left(last + 1);
}

UnicodeString UpperCase(const UnicodeString &S)
{
    UnicodeString r = S;
    for (QChar &c : r)
        c = AsciiUpper(c);
    return r;
}

UnicodeString LowerCase(const UnicodeString &S)
{
    UnicodeString r = S;
    for (QChar &c : r)
        c = AsciiLower(c);
    return r;
}

int CompareStr(const UnicodeString &S1, const UnicodeString &S2)
{
    return Sign(QString::compare(S1, S2, Qt::CaseSensitive));
}

int CompareText(const UnicodeString &S1, const UnicodeString &S2)
{
    const qsizetype n = std::min(S1.size(), S2.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t a = AsciiUpper(S1[i]).unicode();
        const char16_t b = AsciiUpper(S2[i]).unicode();
        if (a != b)
            return a < b ? -1 : 1;
    }
    return S1.size() == S2.size() ? 0 : (S1.size() < S2.size() ? -1 : 1);
}

bool SameStr(const UnicodeString &S1, const UnicodeString &S2) { return S1 == S2; }

bool SameText(const UnicodeString &S1, const UnicodeString &S2)
{
    return QString::compare(S1, S2, Qt::CaseInsensitive) == 0;
}

UnicodeString AnsiUpperCase(const UnicodeString &S) { return S.toUpper(); }
UnicodeString AnsiLowerCase(const UnicodeString &S) { return S.toLower(); }

int AnsiCompareStr(const UnicodeString &S1, const UnicodeString &S2)
{
    const int r = Sign(Collator(false).compare(S1, S2));
    // Texts the collation deems equal but that differ still need a stable order.
    return r != 0 ? r : CompareStr(S1, S2);
}

int AnsiCompareText(const UnicodeString &S1, const UnicodeString &S2)
{
    return Sign(Collator(true).compare(S1, S2));
}

bool AnsiSameStr(const UnicodeString &S1, const UnicodeString &S2) { return S1 == S2; }

bool AnsiSameText(const UnicodeString &S1, const UnicodeString &S2)
{
    return AnsiCompareText(S1, S2) == 0;
}

int AnsiPos(const UnicodeString &SubStr, const UnicodeString &S)
{
    return Pos(SubStr, S);
}

int Pos(const UnicodeString &SubStr, const UnicodeString &S)
{
    if (SubStr.isEmpty())
        return 0;
    return static_cast<int>(S.indexOf(SubStr)) + 1;
}

int PosEx(const UnicodeString &SubStr, const UnicodeString &S, int Offset)
{
    if (SubStr.isEmpty() || Offset < 1 || Offset > S.size())
        return 0;
    return static_cast<int>(S.indexOf(SubStr, Offset - 1)) + 1;
}

UnicodeString Copy(const UnicodeString &S, int Index, int Count)
{
    if (Index < 1)
        Index = 1;
    if (Count <= 0 || Index > S.size())
        return {};
    return S.mid(Index - 1, Count);
}

void Delete(UnicodeString &S, int Index, int Count)
{
    if (Index < 1 || Index > S.size() || Count <= 0)
        return;
    S.remove(Index - 1, std::min<qsizetype>(Count, S.size() - (Index - 1)));
}

void Insert(const UnicodeString &Source, UnicodeString &S, int Index)
{
    if (Index < 1)
        Index = 1;
    if (Index > S.size())
        S.append(Source);
    else
        S.insert(Index - 1, Source);
}

UnicodeString StringOfChar(QChar Ch, int Count)
{
    return Count > 0 ? UnicodeString(Count, Ch) : UnicodeString();
}

UnicodeString QuotedStr(const UnicodeString &S)
{
    return AnsiQuotedStr(S, QLatin1Char('\''));
}

UnicodeString AnsiQuotedStr(const UnicodeString &S, QChar Quote)
{
    UnicodeString r;
    r.reserve(S.size() + 2);
    r += Quote;
    for (QChar c : S) {
        r += c;
        if (c == Quote)
            r += Quote;
    }
    r += Quote;
    return r;
}

UnicodeString AnsiExtractQuotedStr(UnicodeString &Src, QChar Quote)
{
    if (Src.isEmpty() || Src[0] != Quote)
        return {};
    UnicodeString r;
    qsizetype i = 1;
    while (i < Src.size()) {
        if (Src[i] == Quote) {
            if (i + 1 < Src.size() && Src[i + 1] == Quote) {
                r += Quote;
                i += 2;
                continue;
            }
            ++i; // past the closing quote
            Src = Src.mid(i);
            return r;
        }
        r += Src[i];
        ++i;
    }
    Src.clear();
    return r;
}

UnicodeString AnsiDequotedStr(const UnicodeString &S, QChar Quote)
{
    UnicodeString rest = S;
    const UnicodeString r = AnsiExtractQuotedStr(rest, Quote);
    // Only a text that is quoted as a whole loses its quotes.
    if (S.isEmpty() || S[0] != Quote || !rest.isEmpty())
        return S;
    return r;
}

UnicodeString StringReplace(const UnicodeString &S, const UnicodeString &OldPattern,
                            const UnicodeString &NewPattern, TReplaceFlags Flags)
{
    if (OldPattern.isEmpty())
        return S;
    const Qt::CaseSensitivity cs = Flags.Contains(rfIgnoreCase) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (Flags.Contains(rfReplaceAll)) {
        UnicodeString r = S;
        return r.replace(OldPattern, NewPattern, cs);
    }
    const qsizetype p = S.indexOf(OldPattern, 0, cs);
    if (p < 0)
        return S;
    UnicodeString r = S;
    return r.replace(p, OldPattern.size(), NewPattern);
}

bool IsDelimiter(const UnicodeString &Delimiters, const UnicodeString &S, int Index)
{
    if (Index < 1 || Index > S.size())
        return false;
    return Delimiters.contains(S[Index - 1]);
}

int LastDelimiter(const UnicodeString &Delimiters, const UnicodeString &S)
{
    for (qsizetype i = S.size() - 1; i >= 0; --i)
        if (Delimiters.contains(S[i]))
            return static_cast<int>(i) + 1;
    return 0;
}

UnicodeString AdjustLineBreaks(const UnicodeString &S, TTextLineBreakStyle Style)
{
    const QString lineBreak = Style == TTextLineBreakStyle::tlbsCRLF ? QStringLiteral("\r\n") : QStringLiteral("\n");
    UnicodeString r;
    r.reserve(S.size() + S.size() / 8);
    for (qsizetype i = 0; i < S.size(); ++i) {
        const QChar c = S[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            const QChar other = c == QLatin1Char('\r') ? QLatin1Char('\n') : QLatin1Char('\r');
            if (i + 1 < S.size() && S[i + 1] == other)
                ++i;
            r += lineBreak;
        } else {
            r += c;
        }
    }
    return r;
}

bool CharInSet(QChar C, const char *Set)
{
    for (const char *p = Set; p && *p; ++p)
        if (C.unicode() == static_cast<unsigned char>(*p))
            return true;
    return false;
}

// ---------------------------------------------------------------------------------------------

namespace SysUtilsDetail {

UnicodeString SignedToStr(long long Value) { return QString::number(Value); }
UnicodeString UnsignedToStr(unsigned long long Value) { return QString::number(Value); }

UnicodeString ToHex(unsigned long long Value, int Digits)
{
    UnicodeString r = QString::number(Value, 16).toUpper();
    if (r.size() < Digits)
        r.prepend(UnicodeString(Digits - r.size(), QLatin1Char('0')));
    return r;
}

} // namespace SysUtilsDetail

bool TryStrToInt(const UnicodeString &S, int &Value)
{
    long long v = 0;
    if (ParseInteger(S, 32, v) != 0)
        return false;
    Value = static_cast<int>(v);
    return true;
}

int StrToInt(const UnicodeString &S)
{
    int v = 0;
    if (!TryStrToInt(S, v))
        throw EConvertError(InvalidInteger(S));
    return v;
}

int StrToIntDef(const UnicodeString &S, int Default)
{
    int v = 0;
    return TryStrToInt(S, v) ? v : Default;
}

bool TryStrToInt64(const UnicodeString &S, Int64 &Value)
{
    long long v = 0;
    if (ParseInteger(S, 64, v) != 0)
        return false;
    Value = v;
    return true;
}

Int64 StrToInt64(const UnicodeString &S)
{
    Int64 v = 0;
    if (!TryStrToInt64(S, v))
        throw EConvertError(InvalidInteger(S));
    return v;
}

Int64 StrToInt64Def(const UnicodeString &S, Int64 Default)
{
    Int64 v = 0;
    return TryStrToInt64(S, v) ? v : Default;
}

void Val(const UnicodeString &S, int &Value, int &Code)
{
    long long v = 0;
    Code = ParseInteger(S, 32, v);
    Value = static_cast<int>(v);
}

void Val(const UnicodeString &S, Int64 &Value, int &Code)
{
    long long v = 0;
    Code = ParseInteger(S, 64, v);
    Value = v;
}

UnicodeString BoolToStr(bool B, bool UseBoolStrs)
{
    if (UseBoolStrs)
        return B ? QStringLiteral("True") : QStringLiteral("False");
    return B ? QStringLiteral("-1") : QStringLiteral("0");
}

bool TryStrToBool(const UnicodeString &S, bool &Value)
{
    const UnicodeString t = Trim(S);
    if (SameText(t, QStringLiteral("True"))) {
        Value = true;
        return true;
    }
    if (SameText(t, QStringLiteral("False"))) {
        Value = false;
        return true;
    }
    Int64 n = 0;
    if (TryStrToInt64(S, n)) {
        Value = n != 0;
        return true;
    }
    double d = 0;
    if (TryStrToFloat(S, d)) {
        Value = d != 0;
        return true;
    }
    return false;
}

bool StrToBool(const UnicodeString &S)
{
    bool b = false;
    if (!TryStrToBool(S, b))
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(S));
    return b;
}

bool StrToBoolDef(const UnicodeString &S, bool Default)
{
    bool b = false;
    return TryStrToBool(S, b) ? b : Default;
}
