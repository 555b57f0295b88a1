// Filter conditions and the date texts that go with them.
#include "controls/ExtGridUtil.h"

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

const QChar Quote(u'"');

// A group nested deeper than this is matched as one operand, so that no condition, however it is
// written, runs the evaluator out of stack.
constexpr int MaxGroupDepth = 2000;

bool ReadDotNumber(const UnicodeString &Text, double &Value)
{
    static const TFormatSettings Dot = TFormatSettings::Invariant();
    // "INF" and "NAN" are words in a cell, not numbers.
    return TryStrToFloat(Text, Value, Dot) && std::isfinite(Value);
}

// The comparand after the operator at 0-based Index (and its "=", if any): past blanks up to the
// next blank, "&" or "|" outside double quotes; a quote at each end is dropped.
UnicodeString ComparandAfter(const UnicodeString &Pattern, qsizetype Index)
{
    qsizetype i = Index;
    while (i < Pattern.size() && Pattern[i] == QLatin1Char(' '))
        ++i;
    const qsizetype start = i;
    bool quoted = false;
    for (; i < Pattern.size(); ++i) {
        const QChar c = Pattern[i];
        if (c == Quote)
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('&') || c == QLatin1Char('|')))
            break;
    }
    UnicodeString s = Pattern.mid(start, i - start);
    if (s.startsWith(Quote))
        s.remove(0, 1);
    if (s.endsWith(Quote))
        s.chop(1);
    return s;
}

// <0, 0, >0 as Value lies below, at or above Comparand: as numbers when both are numbers, as
// dates when both are dates, else as texts by character codes.
int CompareForFilter(const UnicodeString &Value, const UnicodeString &Comparand)
{
    TDateTime valueDate = 0;
    TDateTime comparandDate = 0;
    const bool valueIsDate = LocaleTextToDateTime(Value, valueDate);
    const bool comparandIsDate = LocaleTextToDateTime(Comparand, comparandDate);
    double valueNumber = 0;
    double comparandNumber = 0;
    const bool valueIsNumber = !valueIsDate && ReadDotNumber(LocaleNumberToDotText(Value), valueNumber);
    const bool comparandIsNumber =
        !comparandIsDate && ReadDotNumber(LocaleNumberToDotText(Comparand), comparandNumber);
    if (valueIsNumber && comparandIsNumber)
        return valueNumber < comparandNumber ? -1 : valueNumber > comparandNumber ? 1 : 0;
    if (valueIsDate && comparandIsDate)
        return valueDate < comparandDate ? -1 : valueDate > comparandDate ? 1 : 0;
    return CompareStr(Value, Comparand);
}

// The pattern with quotes and "!" taken out and runs of "*" made one; they match no characters.
UnicodeString WildcardsOf(const UnicodeString &Pattern)
{
    UnicodeString p;
    p.reserve(Pattern.size());
    for (QChar c : Pattern) {
        if (c == Quote || c == QLatin1Char('!'))
            continue;
        if (c == QLatin1Char('*') && p.endsWith(QLatin1Char('*')))
            continue;
        p += c;
    }
    return p;
}

bool Combine(bool Running, bool HaveRunning, bool Partial, QChar Operator)
{
    if (!HaveRunning)
        return Partial;
    switch (Operator.unicode()) {
    case u'&':
        return Running && Partial;
    case u';':
    case u'^':
    case u'|':
        return Running || Partial;
    default: // after a group: the empty operand in front of the next operator
        return Running;
    }
}

QChar FindOperatorIn(QStringView Operators, QStringView Text, int &Position)
{
    bool quoted = false;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar c = Text[i];
        if (c == Quote) {
            quoted = !quoted;
        } else if (!quoted && Operators.contains(c)) {
            Position = static_cast<int>(i) + 1;
            return c;
        }
    }
    Position = -1;
    return QChar(0);
}

// Value comes folded already (upper-cased unless CaseSensitive), once for the whole condition.
bool MatchOperand(const UnicodeString &Operand, const UnicodeString &Value, bool CaseSensitive)
{
    return MatchPattern(CaseSensitive ? Operand : AnsiUpperCase(Operand), Value);
}

// A condition ready for evaluation: without blanks outside double quotes, and with the place of
// the ")" that closes each "(" (-1 when none), found once, so that nested groups cost no scan per
// level. The ")" that closes a "(" is the first one at which as many ")" as "(" follow it - the
// same one for the whole condition as for any group that holds it.
struct TCondition {
    UnicodeString Text;
    std::vector<qsizetype> Close;

    explicit TCondition(const UnicodeString &Condition) : Text(StripSpacesOutsideQuotes(Condition))
    {
        Close.assign(static_cast<std::size_t>(Text.size()), -1);
        std::vector<qsizetype> open;
        for (qsizetype i = 0; i < Text.size(); ++i) {
            if (Text[i] == QLatin1Char('(')) {
                open.push_back(i);
            } else if (Text[i] == QLatin1Char(')') && !open.empty()) {
                Close[static_cast<std::size_t>(open.back())] = i;
                open.pop_back();
            }
        }
    }
};

// Evaluates Text[Begin, End) of the condition.
bool MatchRange(const TCondition &C, qsizetype Begin, qsizetype End, const UnicodeString &Value, bool CaseSensitive,
                int Depth)
{
    static const UnicodeString Operators = QStringLiteral("(;^&|");
    const QStringView text(C.Text);
    while (Begin < End && text[Begin] <= QLatin1Char(' '))
        ++Begin;
    while (End > Begin && text[End - 1] <= QLatin1Char(' '))
        --End;
    // What is left of the condition starts at "at". Each look for an operator starts outside
    // quotes, as a look at that rest alone would.
    qsizetype at = Begin < End && text[Begin] == QLatin1Char('=') ? Begin + 1 : Begin;

    bool running = false;
    bool haveRunning = false;
    QChar previous(0);
    for (;;) {
        int p = 0;
        const QChar op = FindOperatorIn(Operators, text.mid(at, End - at), p);
        if (p == -1)
            break;
        bool partial = false;
        if (text[at] == QLatin1Char('(')) {
            // A "(" that is never closed groups the rest of the condition.
            const qsizetype close = C.Close[static_cast<std::size_t>(at)];
            const qsizetype innerEnd = close >= 0 && close < End ? close : End;
            const qsizetype innerBegin = at + 1;
            at = innerEnd < End ? innerEnd + 1 : End;
            partial = Depth < MaxGroupDepth
                          ? MatchRange(C, innerBegin, innerEnd, Value, CaseSensitive, Depth + 1)
                          : MatchOperand(text.mid(innerBegin, innerEnd - innerBegin).toString(), Value, CaseSensitive);
        } else {
            partial = MatchOperand(text.mid(at, p - 1).toString(), Value, CaseSensitive);
            at += p;
        }
        running = Combine(running, haveRunning, partial, previous);
        haveRunning = true;
        previous = op;
    }
    const bool last = MatchOperand(text.mid(at, End - at).toString(), Value, CaseSensitive);
    return Combine(running, haveRunning, last, previous);
}

// The order of day, month and year in the short date format: Order[0] is the part of the first
// field (0 day, 1 month, 2 year). False when the format lacks one of them.
bool DateFieldOrder(int (&Order)[3])
{
    const UnicodeString format = LocaleShortDateFormat().toUpper();
    const int at[3] = {Pos(QStringLiteral("D"), format), Pos(QStringLiteral("M"), format), Pos(QStringLiteral("Y"), format)};
    for (int part = 0; part < 3; ++part) {
        if (at[part] == 0)
            return false;
        int place = 0;
        for (int other = 0; other < 3; ++other)
            if (at[other] < at[part])
                ++place;
        Order[place] = part;
    }
    return true;
}

bool ReadTime(const UnicodeString &Text, TDateTime &Time)
{
    const UnicodeString sep(LocaleTimeSeparator());
    const int first = Pos(sep, Text);
    if (first == 0)
        return false;
    int hour = 0;
    if (!TryStrToInt(Trim(Copy(Text, 1, first - 1)), hour) || hour < 0 || hour > 23)
        return false;
    const UnicodeString rest = Copy(Text, first + 1, Length(Text));
    const int second = Pos(sep, rest);
    int minutes = 0;
    int seconds = 0;
    if (second > 0) {
        if (!TryStrToInt(Trim(Copy(rest, second + 1, Length(rest))), seconds) || seconds < 0 || seconds > 60)
            return false;
    }
    const UnicodeString minuteText = second > 0 ? Copy(rest, 1, second - 1) : rest;
    if (!TryStrToInt(Trim(minuteText), minutes) || minutes < 0 || minutes > 59)
        return false;
    return TryEncodeTime(static_cast<Word>(hour), static_cast<Word>(minutes), static_cast<Word>(seconds), 0, Time);
}

// Raises the platform's conversion error for an impossible date, also for numbers that do not fit
// the encoder's arguments (which would otherwise wrap to some other, valid date).
TDateTime EncodeDateChecked(long long Year, long long Month, long long Day)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 || Day > 31)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return EncodeDate(static_cast<Word>(Year), static_cast<Word>(Month), static_cast<Word>(Day));
}

TDateTime DateFromFields(const UnicodeString &Text, bool MonthFirst)
{
    QChar sep;
    if (Text.contains(QLatin1Char('/')))
        sep = QLatin1Char('/');
    else if (Text.contains(QLatin1Char('.')))
        sep = QLatin1Char('.');
    else if (Text.contains(QLatin1Char('-')))
        sep = QLatin1Char('-');
    else
        return 0;
    const qsizetype first = Text.indexOf(sep);
    const qsizetype second = Text.indexOf(sep, first + 1);
    if (second < 0)
        return 0;
    int a = 0;
    int b = 0;
    int year = 0;
    if (!TryStrToInt(Text.mid(0, first), a) || !TryStrToInt(Text.mid(first + 1, second - first - 1), b) ||
        !TryStrToInt(Text.mid(second + 1), year))
        return 0;
    const long long fullYear = static_cast<long long>(year) + (year < 26 ? 2000 : 1900);
    return MonthFirst ? EncodeDateChecked(fullYear, a, b) : EncodeDateChecked(fullYear, b, a);
}



// "*" any run, "?" one character, anything else itself, each value character upper-cased (a..z)
// first when FoldAscii (for a value of ASCII characters what the locale's upper-casing makes of
// it). Backtracks only to the last "*", which finds a match whenever one exists and keeps the
// work at pattern length times value length.
bool WildcardMatchView(QStringView Pattern, QStringView Value, bool FoldAscii)
{
    auto at = [&](qsizetype k) {
        const char16_t c = Value[k].unicode();
        return FoldAscii && c >= u'a' && c <= u'z' ? QChar(char16_t(c - 32)) : QChar(c);
    };
    qsizetype p = 0, v = 0, starP = -1, starV = 0;
    while (v < Value.size()) {
        if (p < Pattern.size() && Pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starV = v;
        } else if (p < Pattern.size() && (Pattern[p] == QLatin1Char('?') || Pattern[p] == at(v))) {
            ++p;
            ++v;
        } else if (starP >= 0) {
            p = starP + 1;
            v = ++starV;
        } else {
            return false;
        }
    }
    while (p < Pattern.size() && Pattern[p] == QLatin1Char('*'))
        ++p;
    return p == Pattern.size();
}

bool WildcardMatch(const UnicodeString &Pattern, const UnicodeString &Value)
{
    return WildcardMatchView(Pattern, Value, false);
}

bool IsAscii(QStringView Value)
{
    for (QChar c : Value)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// An upper-cased ASCII needle in an ASCII text, a..z taken as A..Z. Cell texts are short: a plain
// loop beats the library's general search, which a filter over many rows calls once per row.
bool ContainsUpperAscii(QStringView Text, QStringView Upper)
{
    const qsizetype n = Text.size(), m = Upper.size();
    if (m > n)
        return false;
    const char16_t *t = Text.utf16();
    const char16_t *u = Upper.utf16();
    auto up = [](char16_t c) { return char16_t(unsigned(c) - u'a' < 26u ? c - 32 : c); };
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (up(t[i]) != u[0])
            continue;
        qsizetype k = 1;
        while (k < m && up(t[i + k]) == u[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// A condition read once

TFilterCondition::TFilterCondition(const UnicodeString &Condition, bool CaseSensitive) : FCaseSensitive(CaseSensitive)
{
    const TCondition condition(Trim(Condition));
    Parse(condition.Text, condition.Close, 0, condition.Text.size(), 0);
    if (FGroups.size() == 1 && FGroups[0].Steps.empty() && !FOperands[std::size_t(FGroups[0].Last)].Contained.isEmpty())
        FSole = FGroups[0].Last;
}

int TFilterCondition::AddOperand(const UnicodeString &Operand)
{
    TOperand o;
    o.Folded = FCaseSensitive ? Operand : AnsiUpperCase(Operand);
    o.Plain = !o.Folded.contains(QLatin1Char('>')) && !o.Folded.contains(QLatin1Char('<')) &&
              !o.Folded.contains(QLatin1Char('!'));
    if (o.Plain) {
        o.Wildcard = WildcardsOf(o.Folded);
        const QStringView w(o.Wildcard);
        if (w.size() > 2 && w.startsWith(QLatin1Char('*')) && w.endsWith(QLatin1Char('*'))) {
            const QStringView inner = w.mid(1, w.size() - 2);
            if (!inner.contains(QLatin1Char('*')) && !inner.contains(QLatin1Char('?')) && IsAscii(inner))
                o.Contained = inner.toString();
        }
    }
    FAllPlain = FAllPlain && o.Plain;
    FOperands.push_back(std::move(o));
    return int(FOperands.size()) - 1;
}

// The same walk as MatchRange, recording what it would evaluate instead of evaluating it.
int TFilterCondition::Parse(const UnicodeString &Text, const std::vector<qsizetype> &Close, qsizetype Begin,
                            qsizetype End, int Depth)
{
    static const UnicodeString Operators = QStringLiteral("(;^&|");
    const QStringView text(Text);
    while (Begin < End && text[Begin] <= QLatin1Char(' '))
        ++Begin;
    while (End > Begin && text[End - 1] <= QLatin1Char(' '))
        --End;
    qsizetype at = Begin < End && text[Begin] == QLatin1Char('=') ? Begin + 1 : Begin;
    const int index = int(FGroups.size());
    FGroups.emplace_back();
    std::vector<TStep> steps;
    for (;;) {
        int p = 0;
        const QChar op = FindOperatorIn(Operators, text.mid(at, End - at), p);
        if (p == -1)
            break;
        TStep step;
        if (text[at] == QLatin1Char('(')) {
            const qsizetype close = Close[static_cast<std::size_t>(at)];
            const qsizetype innerEnd = close >= 0 && close < End ? close : End;
            const qsizetype innerBegin = at + 1;
            at = innerEnd < End ? innerEnd + 1 : End;
            if (Depth < MaxGroupDepth)
                step.Group = Parse(Text, Close, innerBegin, innerEnd, Depth + 1);
            else
                step.Operand = AddOperand(text.mid(innerBegin, innerEnd - innerBegin).toString());
        } else {
            step.Operand = AddOperand(text.mid(at, p - 1).toString());
            at += p;
        }
        step.Op = op;
        steps.push_back(step);
    }
    const int last = AddOperand(text.mid(at, End - at).toString());
    FGroups[std::size_t(index)].Steps = std::move(steps);
    FGroups[std::size_t(index)].Last = last;
    return index;
}

bool TFilterCondition::EvalOperand(int Operand, QStringView Value, bool FoldAscii, const UnicodeString *Folded) const
{
    const TOperand &o = FOperands[std::size_t(Operand)];
    // For ASCII texts on both sides Qt's case-insensitive search is the upper-cased comparison.
    if (!o.Contained.isEmpty()) {
        if (Folded)
            return QStringView(*Folded).contains(o.Contained);
        // Folding only happens without case, so the needle is upper-cased already.
        return FoldAscii ? ContainsUpperAscii(Value, o.Contained) : Value.contains(o.Contained);
    }
    if (o.Plain)
        return WildcardMatchView(o.Wildcard, Folded ? QStringView(*Folded) : Value, FoldAscii && !Folded);
    return MatchPattern(o.Folded, Folded ? *Folded : Value.toString());
}

bool TFilterCondition::Eval(int Group, QStringView Value, bool FoldAscii, const UnicodeString *Folded) const
{
    const TGroup &g = FGroups[std::size_t(Group)];
    bool running = false;
    bool haveRunning = false;
    QChar previous(0);
    for (const TStep &s : g.Steps) {
        const bool partial = s.Group >= 0 ? Eval(s.Group, Value, FoldAscii, Folded)
                                          : EvalOperand(s.Operand, Value, FoldAscii, Folded);
        running = Combine(running, haveRunning, partial, previous);
        haveRunning = true;
        previous = s.Op;
    }
    return Combine(running, haveRunning, EvalOperand(g.Last, Value, FoldAscii, Folded), previous);
}

const UnicodeString *TFilterCondition::AsciiSearch() const
{
    return FSole >= 0 && !FCaseSensitive && FAllPlain ? &FOperands[std::size_t(FSole)].Contained : nullptr;
}

bool TFilterCondition::MatchAscii(QStringView Value) const
{
    if (FCaseSensitive || !FAllPlain)
        return Match(Value);
    // A narrowing is one search, asked of every row: it goes there straight.
    return FSole >= 0 ? ContainsUpperAscii(Value, FOperands[std::size_t(FSole)].Contained) : Eval(0, Value, true, nullptr);
}

bool TFilterCondition::Match(QStringView Value) const
{
    if (FCaseSensitive)
        return FSole >= 0 ? Value.contains(FOperands[std::size_t(FSole)].Contained) : Eval(0, Value, false, nullptr);
    if (FAllPlain && IsAscii(Value))
        return MatchAscii(Value);
    const UnicodeString folded = AnsiUpperCase(Value.toString());
    return Eval(0, Value, false, &folded);
}

// ---------------------------------------------------------------------------------------------
// Filter conditions

bool MatchFilterExpression(const UnicodeString &Condition, const UnicodeString &Value, bool CaseSensitive)
{
    const TCondition condition(Trim(Condition));
    return MatchRange(condition, 0, condition.Text.size(), CaseSensitive ? Value : AnsiUpperCase(Value), CaseSensitive, 0);
}

bool MatchFilterOperand(const UnicodeString &Operand, const UnicodeString &Value, bool CaseSensitive)
{
    if (CaseSensitive)
        return MatchPattern(Operand, Value);
    return MatchPattern(AnsiUpperCase(Operand), AnsiUpperCase(Value));
}

bool MatchPattern(const UnicodeString &Pattern, const UnicodeString &Value)
{
    bool greater = true;
    bool less = true;
    bool greaterPresent = false;
    bool lessPresent = false;

    const qsizetype gt = Pattern.indexOf(QLatin1Char('>'));
    if (gt >= 0) {
        const bool inclusive = gt + 1 < Pattern.size() && Pattern[gt + 1] == QLatin1Char('=');
        const int cmp = CompareForFilter(Value, ComparandAfter(Pattern, gt + (inclusive ? 2 : 1)));
        greater = inclusive ? cmp >= 0 : cmp > 0;
        greaterPresent = true;
    }
    const qsizetype lt = Pattern.indexOf(QLatin1Char('<'));
    if (lt >= 0) {
        const bool inclusive = lt + 1 < Pattern.size() && Pattern[lt + 1] == QLatin1Char('=');
        const int cmp = CompareForFilter(Value, ComparandAfter(Pattern, lt + (inclusive ? 2 : 1)));
        less = inclusive ? cmp <= 0 : cmp < 0;
        lessPresent = true;
    }
    const bool negated = Pattern.contains(QLatin1Char('!'));
    if (negated) {
        lessPresent = lessPresent || lt < 0;
        greaterPresent = greaterPresent || gt < 0;
    }

    if (Pattern.contains(QLatin1Char('^')) && (lessPresent || greaterPresent))
        return less || greater;
    if (Pattern.contains(QLatin1Char('&')) && lessPresent && greaterPresent)
        return less && greater;
    if (gt >= 0 && greater)
        return true;
    if (lt >= 0 && less)
        return true;
    return WildcardMatch(WildcardsOf(Pattern), Value) != negated;
}

QChar FindOperatorOutsideQuotes(const UnicodeString &OperatorSet, const UnicodeString &Text, int &Position)
{
    return FindOperatorIn(OperatorSet, Text, Position);
}

UnicodeString StripSpacesOutsideQuotes(const UnicodeString &Text)
{
    UnicodeString s;
    s.reserve(Text.size());
    bool quoted = false;
    for (QChar c : Text) {
        if (c == Quote)
            quoted = !quoted;
        if (quoted || c != QLatin1Char(' '))
            s += c;
    }
    return s;
}

int MatchingParenPos(const UnicodeString &Text)
{
    int open = 0;
    int close = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == QLatin1Char('('))
            ++open;
        else if (Text[i] == QLatin1Char(')') && ++close == open)
            return static_cast<int>(i) + 1;
    }
    return 0;
}


UnicodeString LocaleNumberToDotText(const UnicodeString &Text)
{
    const QChar decimal = LocaleDecimalSeparator();
    const QChar thousand = LocaleThousandSeparator();
    UnicodeString s;
    s.reserve(Text.size());
    for (QChar c : Text) {
        if (c == decimal)
            s += QLatin1Char('.');
        else if (c != thousand)
            s += c;
    }
    return s;
}

// ---------------------------------------------------------------------------------------------
// Date texts

bool LocaleTextToDateTime(const UnicodeString &Text, TDateTime &Value)
{
    int order[3] = {0, 1, 2};
    if (!DateFieldOrder(order))
        return false;
    const QChar sep = LocaleDateSeparator();
    const qsizetype first = Text.indexOf(sep);
    if (first < 0)
        return false;
    const qsizetype second = Text.indexOf(sep, first + 1);
    if (second < 0)
        return false;
    UnicodeString fields[3] = {Text.mid(0, first), Text.mid(first + 1, second - first - 1), Trim(Text.mid(second + 1))};
    UnicodeString timeText;
    const qsizetype blank = fields[2].indexOf(QLatin1Char(' '));
    if (blank >= 0) {
        timeText = fields[2].mid(blank);
        fields[2].truncate(blank);
    }
    int parts[3] = {0, 0, 0}; // day, month, year
    for (int i = 0; i < 3; ++i)
        if (!TryStrToInt(fields[i], parts[order[i]]))
            return false;
    const int day = parts[0];
    const int month = parts[1];
    const int year = parts[2];
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 1 || year > 9999)
        return false;
    TDateTime date = 0;
    if (!TryEncodeDate(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), date))
        return false;
    TDateTime time = 0;
    if (blank >= 0 && !ReadTime(timeText, time))
        return false;
    Word h = 0, m = 0, s = 0, ms = 0;
    DecodeTime(time, h, m, s, ms);
    Value = EncodeDateTime(static_cast<Word>(year), static_cast<Word>(month), static_cast<Word>(day), h, m, s, ms);
    return true;
}

TDateTime DateFromUSText(const UnicodeString &Text) { return DateFromFields(Text, true); }

TDateTime DateFromEUText(const UnicodeString &Text) { return DateFromFields(Text, false); }

TDateTime StepDate(int Years, int Months, int Days, TDateTime Date, double Difference)
{
    if (Years == 0 && Months == 0 && Days != 0)
        return Date + Days;
    const bool yearsOnly = Months == 0 && Days == 0 && Years != 0;
    const bool monthsOnly = Years == 0 && Days == 0 && Months != 0;
    if (!yearsOnly && !monthsOnly)
        return Date + Difference;
    Word y = 0, m = 0, d = 0;
    DecodeDate(Date, y, m, d);
    if (yearsOnly)
        return EncodeDateChecked(static_cast<long long>(y) + Years, m, d);
    long long year = y;
    long long month = static_cast<long long>(m) + Months;
    if (month == 0) {
        month = 12;
        --year;
    } else if (month > 12) {
        month -= 12;
        ++year;
    }
    return EncodeDateChecked(year, month, d);
}

bool LooksLikeDate(const UnicodeString &Text)
{
    const UnicodeString sep(LocaleDateSeparator());
    const int first = Pos(sep, Text);
    if (first < 2)
        return false;
    return Pos(sep, Copy(Text, first + 1, Length(Text))) >= 2;
}
