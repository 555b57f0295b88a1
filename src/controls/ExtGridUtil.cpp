#include "controls/ExtGridUtil.h"

#include "platform/Classes.h"
#include "platform/Encoding.h"
#include "platform/Grids.h"

namespace {

const QChar CR(13);
const QChar LF(10);
const QLatin1StringView CRLF("\r\n");

// Upper case character by character, so that positions in the result are those of the source
// (a whole-string mapping may turn one character into two).
UnicodeString UpperSameLength(const UnicodeString &S)
{
    UnicodeString r = S;
    for (QChar &c : r)
        c = c.toUpper();
    return r;
}

bool IsUrlChar(QChar Ch)
{
    const char16_t c = Ch.unicode();
    if (c > 255)
        return false;
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           CharInSet(Ch, "%()-./:@\\_{}");
}

UnicodeString ClipboardNumber(const char *Label, int Value)
{
    return Format(QStringLiteral("%s%.8d"), {Label, Value}) + CRLF;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Locale

QChar LocaleDecimalSeparator() { return FormatSettings.DecimalSeparator; }
QChar LocaleThousandSeparator() { return FormatSettings.ThousandSeparator; }
QChar LocaleDateSeparator() { return FormatSettings.DateSeparator; }
QChar LocaleTimeSeparator() { return FormatSettings.TimeSeparator; }
UnicodeString LocaleShortDateFormat() { return FormatSettings.ShortDateFormat; }

// ---------------------------------------------------------------------------------------------
// Classification

int CellTextKind(const UnicodeString &Text, bool DetectHTML)
{
    // Every exporter asks this of every cell: one pass over the text, no copy of it.
    const qsizetype n = Text.size();
    if (n == 0)
        return 0;
    const QChar *d = Text.constData();
    if (d[0] == u'=')
        return 3;
    if (n >= 2 && d[0] == u'|' && d[1] == u'\\') {
        if (n >= 5 && d[3] == u'=' && d[4] == QChar(0))
            return 3;
        return 5;
    }
    if (n >= 2 && d[0] == u'{' && d[1] == u'\\')
        return 2;
    if (!DetectHTML)
        return 0;
    // A tag opens with "</", "<B", "<I" or "<C".
    for (qsizetype i = 0; i + 1 < n; ++i)
        if (d[i] == u'<') {
            const char16_t c = d[i + 1].unicode();
            if (c == u'/' || c == u'B' || c == u'I' || c == u'C')
                return 1;
        }
    return 0;
}

int NumberKindOf(const UnicodeString &Text)
{
    if (Text.isEmpty())
        return 2;
    const QChar thousand = LocaleThousandSeparator();
    const QChar decimal = LocaleDecimalSeparator();
    const int n = static_cast<int>(Text.size());
    bool integerOnly = true;
    bool decimalValid = true;
    bool exponentValid = true;
    bool exponentSeen = false;
    int lastThousand = 0;
    int minusCount = 0;
    int decimalCount = 0;

    for (int i = 1; i <= n; ++i) {
        const QChar c = Text[i - 1];
        const bool isE = c == QLatin1Char('e') || c == QLatin1Char('E');
        const bool isMinus = c == QLatin1Char('-');
        if (isE) {
            if (exponentSeen)
                exponentValid = false;
            exponentSeen = true;
            if (i == 1)
                exponentValid = false;
        }
        integerOnly = integerOnly && IsDigitOrMinus(c);
        if (i >= 2 && isMinus) {
            integerOnly = false;
            decimalValid = false;
        }
        if (i == n && (isE || isMinus || c == QLatin1Char('+')))
            exponentValid = false;
        if (!CharIsDigit(c) && !isMinus && c != thousand)
            decimalValid = decimalValid && c == decimal;
        exponentValid = exponentValid && IsFloatChar(c) && c != thousand;
        if (c == thousand) {
            if (lastThousand > 0 && i - lastThousand < 4)
                decimalValid = false;
            lastThousand = i;
        }
        if (isMinus)
            ++minusCount;
        if (c == decimal)
            ++decimalCount;
    }

    int result = 0;
    if (!integerOnly) {
        result = decimalValid && !exponentSeen ? 1 : 2;
        if (exponentValid && exponentSeen) {
            result = 5;
            // The mantissa's sign and the exponent's sign.
            if (minusCount == 2)
                minusCount = 1;
        }
    }
    if (minusCount > 1 || decimalCount > 1)
        result = 2;
    return result;
}

bool CharIsDigit(QChar Ch) { return Ch >= QLatin1Char('0') && Ch <= QLatin1Char('9'); }

bool IsDigitOrMinus(QChar Ch) { return CharIsDigit(Ch) || Ch == QLatin1Char('-'); }

bool IsNumberChar(QChar Ch)
{
    return CharIsDigit(Ch) || Ch == LocaleThousandSeparator() || Ch == LocaleDecimalSeparator() ||
           Ch == QLatin1Char('e') || Ch == QLatin1Char('E');
}

bool IsNumberTextChar(QChar Ch) { return CharIsDigit(Ch) || CharInSet(Ch, "-.eE+"); }

bool IsFloatChar(QChar Ch) { return IsNumberChar(Ch) || Ch == QLatin1Char('+') || Ch == QLatin1Char('-'); }

bool IsLinkText(const UnicodeString &Text)
{
    return Text.contains(QLatin1StringView("://")) || Text.contains(QLatin1StringView("mailto:"));
}

// ---------------------------------------------------------------------------------------------
// Conversion

UnicodeString ExtractNumberText(const UnicodeString &Text)
{
    if (Text.isEmpty())
        return {};
    UnicodeString s = Trim(Text);
    bool negative = s.startsWith(QLatin1Char('(')) && s.endsWith(QLatin1Char(')'));
    // Currency symbols, signs and blanks in front of the digits.
    qsizetype start = 0;
    while (s.size() - start >= 2 && !IsNumberChar(s[start])) {
        if (s[start] == QLatin1Char('-'))
            negative = true;
        ++start;
    }
    const QChar thousand = LocaleThousandSeparator();
    const QChar decimal = LocaleDecimalSeparator();
    UnicodeString result;
    for (qsizetype i = start; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == thousand)
            continue;
        if (c == decimal)
            result += QLatin1Char('.');
        else if (IsNumberTextChar(c))
            result += c;
        else
            break;
    }
    if (negative)
        result.prepend(QLatin1Char('-'));
    return result;
}

UnicodeString ColorToHtmlHex(TColor Color)
{
    const auto v = static_cast<std::uint32_t>(Color);
    return IntToHex(v & 0xFF, 2) + IntToHex((v >> 8) & 0xFF, 2) + IntToHex((v >> 16) & 0xFF, 2);
}

UnicodeString DecodeWideCellText(const UnicodeString &Text)
{
    if (!Text.startsWith(QLatin1StringView("|\\")))
        return Text;
    UnicodeString result;
    result.reserve((Text.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < Text.size(); i += 2) {
        const char16_t high = Text[i].unicode() & 0xFF;
        const char16_t low = Text[i + 1].unicode() & 0xFF;
        result += QChar(static_cast<char16_t>(high << 8 | low));
    }
    return result;
}

UnicodeString EncodeWideCellText(const UnicodeString &Text)
{
    UnicodeString result;
    result.reserve(2 + Text.size() * 2);
    result += QLatin1StringView("|\\");
    for (QChar c : Text) {
        result += QChar(static_cast<char16_t>(c.unicode() >> 8));
        result += QChar(static_cast<char16_t>(c.unicode() & 0xFF));
    }
    return result;
}

void StringToOem(UnicodeString &Text)
{
    Text = QString::fromLatin1(CharToOem(Text));
}

void OemToString(UnicodeString &Text)
{
    QByteArray bytes;
    bytes.reserve(Text.size());
    // Characters past 255 are no OEM bytes; they become "?" as any other unmappable character.
    for (QChar c : Text)
        bytes += c.unicode() <= 255 ? static_cast<char>(c.unicode()) : '?';
    Text = OemToChar(bytes);
}

UnicodeString ProperCaseName(const UnicodeString &Text)
{
    UnicodeString result = Text;
    const int n = static_cast<int>(Text.size());
    bool capitalise = true;
    // Where the first " Mc" of the text ends; once found it stays.
    int firstMcEnd = 0;
    for (int i = 1; i <= n; ++i) {
        QChar &c = result[i - 1];
        if (CharInSet(c, " ',-.")) {
            capitalise = true;
        } else if (capitalise) {
            c = c.toUpper();
            capitalise = false;
        } else {
            c = c.toLower();
        }
        if (i == 2 && QStringView(result).left(2) == QLatin1StringView("Mc"))
            capitalise = true;
        if (firstMcEnd == 0 && i >= 3 && QStringView(result).mid(i - 3, 3) == QLatin1StringView(" Mc"))
            firstMcEnd = i;
        if (i > 2 && firstMcEnd == i)
            capitalise = true;
        if (i >= n - 2 && ((i >= 2 && QStringView(result).mid(i - 2, 2) == QLatin1StringView(" I")) ||
                           (i >= 3 && QStringView(result).mid(i - 3, 3) == QLatin1StringView(" II"))))
            capitalise = true;
    }
    return result;
}

bool LinkifyUrl(const UnicodeString &Text, const UnicodeString &Prefix, UnicodeString &Destination)
{
    if (Pos(Prefix, UpperSameLength(Text)) == 0)
        return false;
    UnicodeString s = Text;
    s.replace(QLatin1Char('<'), QLatin1StringView("&lt;"));
    s.replace(QLatin1Char('>'), QLatin1StringView("&gt;"));
    // Escaping adds no letters, so the prefix is still there.
    const int start = Pos(Prefix, UpperSameLength(s));
    int end = start;
    while (end <= s.size() && IsUrlChar(s[end - 1]))
        ++end;
    const UnicodeString url = Copy(s, start, end - start);
    Insert(QLatin1StringView("</a>"), s, end);
    Insert(QStringLiteral("<a href=\"") + url + QLatin1StringView("\">"), s, start);
    Destination = s;
    return true;
}

void WrapClipboardHtml(UnicodeString &Html)
{
    static const QLatin1StringView DocType("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">");
    static const QLatin1StringView Head("<html><head><META http-equiv=Content-Type content=\"text/html; "
                                        "charset=iso-8859-1\"></head><body><!--StartFragment-->");
    static const QLatin1StringView Tail("<!--EndFragment--></body></html>");
    // The header is 97 characters long, so the fragment starts at 97 + 62 + 115.
    const int n = static_cast<int>(Html.size());
    UnicodeString s = QStringLiteral("Version:1.0") + CRLF;
    s += ClipboardNumber("StartHTML:", 97);
    s += ClipboardNumber("EndHTML:", n + 306);
    s += ClipboardNumber("StartFragment:", 274);
    s += ClipboardNumber("EndFragment:", n + 274);
    s += DocType;
    s += Head;
    s += Html;
    s += Tail;
    Html = s;
}

// ---------------------------------------------------------------------------------------------
// Line breaks and quoting

UnicodeString CRToHtmlBreak(const UnicodeString &Text)
{
    UnicodeString s = Text;
    return s.replace(CR, QLatin1StringView("<br>"));
}

UnicodeString EscapeLineBreaks(const UnicodeString &Text)
{
    UnicodeString s;
    s.reserve(Text.size());
    for (QChar c : Text) {
        if (c == CR)
            s += QLatin1StringView("\\n");
        else if (c != LF)
            s += c;
    }
    return s;
}

UnicodeString UnescapeLineBreaks(const UnicodeString &Text)
{
    UnicodeString s = Text;
    return s.replace(QLatin1StringView("\\n"), UnicodeString(CR));
}

void QuoteMultilineField(UnicodeString &Text)
{
    Text.replace(CRLF, UnicodeString(QChar(11)));
    Text = QLatin1Char('"') + Text + QLatin1Char('"');
}

void VTToLineBreaks(UnicodeString &Text)
{
    Text.replace(QChar(11), CRLF);
}

void DropCRFromCRLF(UnicodeString &Text)
{
    Text.replace(CRLF, UnicodeString(LF));
}

void LineBreaksToTilde(UnicodeString &Text)
{
    Text.replace(CRLF, QStringLiteral("~"));
    Text.replace(CR, QLatin1Char('~'));
    Text.replace(LF, QLatin1Char('~'));
}

void TildeToLineBreaks(UnicodeString &Text)
{
    if (Text == QLatin1StringView("^"))
        Text.clear();
    else
        Text.replace(QLatin1Char('~'), CRLF);
}

UnicodeString RemoveCR(const UnicodeString &Text)
{
    UnicodeString s = Text;
    return s.remove(CR);
}

UnicodeString CRToLF(const UnicodeString &Text)
{
    UnicodeString s = Text;
    return s.replace(CR, LF);
}

UnicodeString PackLineBreaks(const UnicodeString &Text)
{
    if (!Text.contains(CR))
        return Text;
    UnicodeString s = Text;
    for (QChar &c : s) {
        if (c == CR)
            c = QChar(9);
        else if (c == LF)
            c = QChar(8);
        else if (c == QChar(0))
            c = QChar(1);
    }
    return s;
}

UnicodeString UnpackLineBreaks(const UnicodeString &Text, bool Whole)
{
    UnicodeString s = Text;
    if (s.contains(QChar(8))) {
        for (QChar &c : s) {
            if (c == QChar(9))
                c = CR;
            else if (c == QChar(8))
                c = LF;
            else if (c == QChar(1))
                c = QChar(0);
        }
    }
    if (Whole)
        return s;
    return TakeFirstLine(s, false);
}

UnicodeString TakeFirstLine(UnicodeString &Source, bool KeepRest)
{
    const qsizetype p = Source.indexOf(CR);
    if (p < 0) {
        UnicodeString all = Source;
        Source.clear();
        return all;
    }
    const UnicodeString first = Source.left(p);
    if (KeepRest) {
        qsizetype rest = p + 1;
        if (rest < Source.size() && Source[rest] == LF)
            ++rest;
        Source.remove(0, rest);
    } else {
        Source.clear();
    }
    return first;
}

int CountTextLines(const UnicodeString &Text, bool MultiLine)
{
    return MultiLine ? 1 + static_cast<int>(Text.count(CR)) : 1;
}

UnicodeString DoubleQuoteChars(const UnicodeString &Text)
{
    UnicodeString s = Text;
    return s.replace(QLatin1Char('"'), QLatin1StringView("\"\""));
}

UnicodeString UndoubleChar(QChar Ch, const UnicodeString &Text)
{
    if (!Text.contains(Ch))
        return Text;
    UnicodeString s = Text;
    return s.replace(UnicodeString(2, Ch), UnicodeString(Ch));
}

// ---------------------------------------------------------------------------------------------
// String and integer helpers

int PosUpperCased(const UnicodeString &Sub, const UnicodeString &Text)
{
    return Pos(Sub, UpperSameLength(Text));
}

int PosStore(const UnicodeString &Sub, const UnicodeString &Text, int &P)
{
    P = Pos(Sub, Text);
    return P;
}

int CharIndexOf(QChar Ch, const UnicodeString &Text)
{
    return static_cast<int>(Text.indexOf(Ch)) + 1;
}

int CharIndexOfVar(QChar Ch, const UnicodeString &Text, int &P)
{
    const int i = CharIndexOf(Ch, Text);
    if (i > 0)
        P = i;
    return i;
}

UnicodeString CutFirstToken(UnicodeString &Source, const UnicodeString &Delimiter)
{
    const int p = Pos(Delimiter, Source);
    if (p == 0)
        return {};
    const UnicodeString token = Source.left(p - 1);
    Source.remove(0, p - 1 + Delimiter.size());
    return token;
}

UnicodeString ConcatStrings(TStrings *List)
{
    UnicodeString s;
    if (List)
        for (int i = 0; i < List->Count(); ++i)
            s += List->Strings(i);
    return s;
}

void FillStringChar(UnicodeString &Text, QChar Ch)
{
    Text.fill(Ch);
}

int CountCharOccurrences(QChar Ch, const UnicodeString &Text)
{
    return static_cast<int>(Text.count(Ch));
}

namespace {

// The end of the first odd run of Ch in Text, 0 when none.
int OddRunEndFrom(QChar Ch, QStringView Text)
{
    const int n = static_cast<int>(Text.size());
    int run = 0;
    for (int i = 1; i <= n; ++i) {
        if (Text[i - 1] == Ch) {
            if (i == n)
                return i;
            ++run;
        } else if (run % 2 == 1) {
            return i - 1;
        } else {
            run = 0;
        }
    }
    return 0;
}

} // namespace

int OddRunEndPos(QChar Ch, const UnicodeString &Text, int &P)
{
    P = OddRunEndFrom(Ch, Text);
    return P;
}

int CountUndoubledChar(QChar Ch, const UnicodeString &Text)
{
    int count = 0;
    QStringView rest(Text);
    // Each run found ends at position 1 or later of the rest, so the rest shrinks every time.
    for (int p = OddRunEndFrom(Ch, rest); p > 0; p = OddRunEndFrom(Ch, rest)) {
        ++count;
        rest = rest.mid(p);
    }
    return count;
}

UnicodeString StripLinkScheme(UnicodeString &Text)
{
    int p = Pos(QStringLiteral("://"), Text);
    if (p > 0) {
        Text.remove(0, p + 2);
    } else {
        p = Pos(QStringLiteral("mailto:"), Text);
        if (p > 0)
            Text.remove(0, p + 6);
    }
    return Text;
}

bool ParseRCReference(const UnicodeString &Text, TPoint &Cell)
{
    const UnicodeString s = UpperSameLength(Text);
    if (s.size() <= 3 || s[0] != QLatin1Char('R'))
        return false;
    const int c = Pos(QStringLiteral("C"), s);
    if (c == 0)
        return false;
    int row = 0;
    int col = 0;
    if (!TryStrToInt(Copy(s, 2, c - 2), row) || !TryStrToInt(Copy(s, c + 1, static_cast<int>(s.size())), col))
        return false;
    Cell = TPoint(col, row);
    return true;
}

bool GridRectContains(const TGridRect &Rect, int Col, int Row)
{
    return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

int ClampToLimits(int Value, int Low, int High)
{
    if (Low == High)
        return Value;
    int result = Value;
    if (Low > 0 && Value < Low)
        result = Low;
    if (High > 0 && Value > High)
        result = High;
    return result;
}

int IntMax(int A, int B) { return A > B ? A : B; }

int IntMin(int A, int B) { return A < B ? A : B; }

int WideStringPos(const UnicodeString &Sub, const UnicodeString &Text) { return Pos(Sub, Text); }
