// Filter conditions typed by a user, matched against cell values, and the date texts of sorting
// and series filling.
#include "controls/ExtGridUtil.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cmath>
#include <cstdint>

namespace {

// A day-first locale with "." between thousands and "," before decimals.
class FilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = FormatSettings;
        FormatSettings.ThousandSeparator = QLatin1Char('.');
        FormatSettings.DecimalSeparator = QLatin1Char(',');
        FormatSettings.DateSeparator = QLatin1Char('/');
        FormatSettings.TimeSeparator = QLatin1Char(':');
        FormatSettings.ShortDateFormat = QStringLiteral("d/M/yyyy");
    }
    void TearDown() override { FormatSettings = FSaved; }

    static void UseUSLocale()
    {
        FormatSettings.ThousandSeparator = QLatin1Char(',');
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.ShortDateFormat = QStringLiteral("M/d/yyyy");
    }

private:
    TFormatSettings FSaved;
};

struct Case {
    const char16_t *Condition;
    const char16_t *Value;
    bool CaseSensitive;
    bool Result;
};

// Each case also through the condition read once, which must answer the same.
void ExpectCases(const Case *Begin, const Case *End)
{
    for (const Case *c = Begin; c != End; ++c) {
        const QString condition = QString::fromUtf16(c->Condition);
        const QString value = QString::fromUtf16(c->Value);
        EXPECT_EQ(MatchFilterExpression(condition, value, c->CaseSensitive), c->Result)
            << condition.toStdString() << " on " << value.toStdString();
        EXPECT_EQ(TFilterCondition(condition, c->CaseSensitive).Match(value), c->Result)
            << "prepared: " << condition.toStdString() << " on " << value.toStdString();
    }
}

TEST_F(FilterTest, Conditions)
{
    static const Case cases[] = {
        {u">10&<20", u"15", false, true},
        {u">10&<20", u"25", false, false},
        {u">10&<20", u"10", false, false},
        {u">=10&<=20", u"10", false, true},
        {u">=10&<=20", u"20", false, true},
        {u"(a*|b*)&*z", u"ahz", false, true},
        {u"(a*|b*)&*z", u"bz", false, true},
        {u"(a*|b*)&*z", u"hz", false, false},
        {u"(a*|b*)&*z", u"ah", false, false},
        {u"a|b", u"b", false, true},
        {u"a;b", u"b", false, true},
        {u"a^b", u"b", false, true},
        {u"a|b", u"c", false, false},
        {u"a;b", u"c", false, false},
        {u"a^b", u"c", false, false},
        {u"!abc", u"abd", false, true},
        {u"!abc", u"", false, true},
        {u"!abc", u"abc", false, false},
        {u"*x?", u"axy", false, true},
        {u"*x?", u"ax", false, false},
        {u"=abc", u"abc", false, true},
        {u"abc", u"ABC", false, true},
        {u"abc", u"ABC", true, false},
        {u"a?c", u"abc", true, true},
        {u"", u"", false, true},
        {u"", u"x", false, false},
        // Blanks outside quotes do not count; a trimmed condition.
        {u"  a b | c ", u"ab", false, true},
        // Strictly from the left: (a | b) & c, not a | (b & c).
        {u"a|b&c", u"a", false, false},
        {u"a|(b&c)", u"a", false, true},
        // Several stars count as one; a star may match nothing.
        {u"a***b", u"ab", false, true},
        {u"*", u"", false, true},
        // A group in the middle and one at the end.
        {u"x|(a*)|y", u"abc", false, true},
        {u"x&(a*|y)", u"x", false, false},
        // Texts compare by character codes.
        {u">b", u"c", false, true},
        {u"<b", u"a", false, true},
        {u"<b", u"c", false, false},
    };
    ExpectCases(std::begin(cases), std::end(cases));
}

TEST_F(FilterTest, QuotedOperands)
{
    static const Case cases[] = {
        // Operators and blanks inside quotes are text.
        {u"\"a|b\"", u"a|b", false, true},
        {u"\"a|b\"", u"a", false, false},
        {u"\"a b\"", u"a b", false, true},
        {u"\"a b\"", u"ab", false, false},
        // A quoted comparand keeps its blank.
        {u">\"a b\"", u"a c", false, true},
        {u">\"a b\"", u"a a", false, false},
        {u"<\"a b\"", u"a a", false, true},
        // Quotes never match characters.
        {u"a\"\"b", u"ab", false, true},
        {u"\"12\"", u"12", false, true},
        // A quoted number still compares as a number.
        {u">\"9\"", u"10", false, true},
    };
    ExpectCases(std::begin(cases), std::end(cases));
}

TEST_F(FilterTest, NumbersAndDatesFollowTheLocale)
{
    static const Case dayFirst[] = {
        {u">1.000", u"1.500,5", false, true},
        {u">1.000", u"999", false, false},
        {u"<2,5", u"2,25", false, true},
        // As texts "10" < "9"; as numbers not.
        {u">9", u"10", false, true},
        {u">1/2/2024", u"3/1/2024", false, false},
        {u">1/2/2024", u"3/2/2024", false, true},
        {u">=3/4/2024", u"3/4/2024 10:30", false, true},
        // Blanks outside quotes do not count, so a comparand with a time is quoted.
        {u"<\"3/4/2024 12:00\"", u"3/4/2024 10:30", false, true},
        {u"<\"3/4/2024 12:00\"", u"3/4/2024 13:00", false, false},
    };
    ExpectCases(std::begin(dayFirst), std::end(dayFirst));

    UseUSLocale();
    static const Case monthFirst[] = {
        {u">1,000", u"1,500.5", false, true},
        {u"<2.5", u"2.25", false, true},
        // The same texts, now month first.
        {u">1/2/2024", u"3/1/2024", false, true},
        {u">1/2/2024", u"1/3/2024", false, true},
        {u">2/1/2024", u"1/3/2024", false, false},
    };
    ExpectCases(std::begin(monthFirst), std::end(monthFirst));

    // A German style date with "." separators is a date, not the number 342024.
    FormatSettings.DateSeparator = QLatin1Char('.');
    FormatSettings.ThousandSeparator = QLatin1Char('.');
    FormatSettings.DecimalSeparator = QLatin1Char(',');
    FormatSettings.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    static const Case german[] = {
        {u">1.5.2024", u"3.4.2024", false, false},
        {u"<1.5.2024", u"3.4.2024", false, true},
    };
    ExpectCases(std::begin(german), std::end(german));
}

TEST_F(FilterTest, PatternAlone)
{
    // Called directly, a pattern may hold both comparisons.
    EXPECT_TRUE(MatchPattern(QStringLiteral(">10&<20"), QStringLiteral("15")));
    EXPECT_FALSE(MatchPattern(QStringLiteral(">10&<20"), QStringLiteral("25")));
    EXPECT_TRUE(MatchPattern(QStringLiteral(">10 ^ <5"), QStringLiteral("3")));
    EXPECT_FALSE(MatchPattern(QStringLiteral(">10 ^ <5"), QStringLiteral("7")));
    EXPECT_FALSE(MatchPattern(QStringLiteral("abc"), QStringLiteral("ABC")));
    EXPECT_TRUE(MatchFilterOperand(QStringLiteral("\u00E4*"), QStringLiteral("\u00C4RGER"), false));
}

TEST_F(FilterTest, HostileConditionsReturn)
{
    const QString deep = QString(1000, QLatin1Char('(')) + QStringLiteral("a*") + QString(1000, QLatin1Char(')'));
    const QString deeper = QString(5000, QLatin1Char('(')) + QStringLiteral("a") + QString(5000, QLatin1Char(')'));
    EXPECT_TRUE(MatchFilterExpression(deep, QStringLiteral("abc"), false));
    EXPECT_FALSE(MatchFilterExpression(deep, QStringLiteral("xbc"), false));
    (void)MatchFilterExpression(deeper, QStringLiteral("a"), false);
    (void)MatchFilterExpression(QString(5000, QLatin1Char('(')), QStringLiteral("a"), false);

    static const Case cases[] = {
        // A "(" never closed groups the rest.
        {u"(a|b", u"b", false, true},
        {u"(a|b", u"c", false, false},
        {u"x|(a|b", u"a", false, true},
        {u"((a", u"a", false, true},
        // A stray ")" is a character of its operand.
        {u"a)|b", u"b", false, true},
        {u"a)", u"a)", false, true},
        {u")", u"x", false, false},
        // A lone quote quotes the rest.
        {u"\"", u"", false, true},
        {u"\"a|b", u"a|b", false, true},
        {u"a\"|b", u"b", false, false},
        // Nothing but operators.
        {u"&|;^(", u"x", false, false},
        {u"|||", u"", false, true},
        {u"&&&", u"x", false, false},
        {u"!", u"x", false, true},
        {u">", u"x", false, true},
        {u"<=", u"", false, true},
        {u">=", u"x", false, true},
    };
    ExpectCases(std::begin(cases), std::end(cases));

    // Stars against a long value that almost matches: no exponential search.
    const QString stars = QStringLiteral("*a*a*a*a*a*a*a*a*a*a*a*a*b");
    EXPECT_FALSE(MatchFilterExpression(stars, QString(4000, QLatin1Char('a')), true));
    EXPECT_TRUE(MatchFilterExpression(stars, QString(4000, QLatin1Char('a')) + QLatin1Char('b'), true));
}

// The evaluation written the plain way, cutting each operand and group off the front of the
// condition, with an unclosed group running to the end.
bool PlainEvaluation(const QString &Condition, const QString &Value, bool CaseSensitive)
{
    QString s = StripSpacesOutsideQuotes(Trim(Condition));
    if (s.startsWith(QLatin1Char('=')))
        s.remove(0, 1);
    bool running = false;
    bool have = false;
    QChar previous(0);
    const auto combine = [&](bool partial) {
        if (!have)
            running = partial;
        else if (previous == QLatin1Char('&'))
            running = running && partial;
        else if (previous != QLatin1Char('('))
            running = running || partial;
        have = true;
    };
    int p = 0;
    for (QChar op = FindOperatorOutsideQuotes(QStringLiteral("(;^&|"), s, p); p != -1;
         op = FindOperatorOutsideQuotes(QStringLiteral("(;^&|"), s, p)) {
        if (s.startsWith(QLatin1Char('('))) {
            const int close = MatchingParenPos(s);
            const int end = close > 0 ? close : static_cast<int>(s.size()) + 1;
            const QString inner = s.mid(1, end - 2);
            s.remove(0, end);
            combine(PlainEvaluation(inner, Value, CaseSensitive));
        } else {
            combine(MatchFilterOperand(s.left(p - 1), Value, CaseSensitive));
            s.remove(0, p);
        }
        previous = op;
    }
    combine(MatchFilterOperand(s, Value, CaseSensitive));
    return running;
}

TEST_F(FilterTest, AgreesWithThePlainEvaluation)
{
    const QString conditionChars = QStringLiteral("ab()()&|;^\"= *!<>1\t");
    const QString valueChars = QStringLiteral("abAB1 ");
    std::uint32_t seed = 12345;
    const auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int round = 0; round < 20000; ++round) {
        QString condition;
        for (int i = next(14); i > 0; --i)
            condition += conditionChars[next(static_cast<int>(conditionChars.size()))];
        QString value;
        for (int i = next(4); i > 0; --i)
            value += valueChars[next(static_cast<int>(valueChars.size()))];
        const bool caseSensitive = next(2) == 0;
        ASSERT_EQ(MatchFilterExpression(condition, value, caseSensitive), PlainEvaluation(condition, value, caseSensitive))
            << condition.toStdString() << " on " << value.toStdString();
    }
}

TEST_F(FilterTest, AConditionReadOnceAgreesWithTheExpressionMatcher)
{
    // Non-ASCII values take the locale's upper-casing, which may change a text's length (sharp s).
    const QString conditionChars = QStringLiteral("ab()&|;^\"= *?!<>1SI\u00df");
    const QString valueChars = QStringLiteral("abAB1 s\u00df\u017f\u0131\u00e9");
    std::uint32_t seed = 777;
    const auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int round = 0; round < 20000; ++round) {
        QString condition;
        for (int i = next(12); i > 0; --i)
            condition += conditionChars[next(static_cast<int>(conditionChars.size()))];
        const bool caseSensitive = next(2) == 0;
        const TFilterCondition prepared(condition, caseSensitive);
        for (int v = 0; v < 4; ++v) {
            QString value;
            for (int i = next(5); i > 0; --i)
                value += valueChars[next(static_cast<int>(valueChars.size()))];
            const bool expected = MatchFilterExpression(condition, value, caseSensitive);
            ASSERT_EQ(prepared.Match(value), expected)
                << condition.toStdString() << " on " << value.toStdString() << " case " << caseSensitive;
            if (std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 0x80; })) {
                ASSERT_EQ(prepared.MatchAscii(value), expected)
                    << "ASCII: " << condition.toStdString() << " on " << value.toStdString() << " case " << caseSensitive;
            }
        }
    }
    // The usual narrowing, one search, on both sides of the case rule.
    const struct {
        const char16_t *Condition, *Value;
        bool CaseSensitive, Result;
    } searches[] = {
        {u"*ab*", u"xAbx", false, true}, {u"*ab*", u"xAbx", true, false}, {u"*ab*", u"xabx", true, true},
        {u"*ab*", u"a b", false, false}, {u"*AB*", u"\u0131ab", false, true},
    };
    for (const auto &c : searches) {
        const QString condition = QString::fromUtf16(c.Condition), value = QString::fromUtf16(c.Value);
        EXPECT_EQ(TFilterCondition(condition, c.CaseSensitive).Match(value), c.Result)
            << condition.toStdString() << " on " << value.toStdString();
        EXPECT_EQ(MatchFilterExpression(condition, value, c.CaseSensitive), c.Result);
    }
}

// The wildcard walk written the plain way: quotes skipped, "*" trying every ending of the value.
bool PlainWildcards(QStringView Pattern, QStringView Value)
{
    while (!Pattern.isEmpty()) {
        const QChar c = Pattern.front();
        if (c == QLatin1Char('"')) {
            Pattern = Pattern.mid(1);
        } else if (c == QLatin1Char('*')) {
            while (!Pattern.isEmpty() && Pattern.front() == QLatin1Char('*'))
                Pattern = Pattern.mid(1);
            for (qsizetype from = Value.size(); from >= 0; --from)
                if (PlainWildcards(Pattern, Value.mid(from)))
                    return true;
            return false;
        } else if (Value.isEmpty() || (c != QLatin1Char('?') && c != Value.front())) {
            return false;
        } else {
            Pattern = Pattern.mid(1);
            Value = Value.mid(1);
        }
    }
    return Value.isEmpty();
}

TEST_F(FilterTest, WildcardsAgreeWithThePlainWalk)
{
    const QString patternChars = QStringLiteral("ab*?\"");
    std::uint32_t seed = 777;
    const auto next = [&seed](int n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    for (int round = 0; round < 20000; ++round) {
        QString pattern;
        for (int i = next(8); i > 0; --i)
            pattern += patternChars[next(static_cast<int>(patternChars.size()))];
        QString value;
        for (int i = next(7); i > 0; --i)
            value += QLatin1Char(next(2) == 0 ? 'a' : 'b');
        ASSERT_EQ(MatchPattern(pattern, value), PlainWildcards(pattern, value))
            << pattern.toStdString() << " on " << value.toStdString();
        ASSERT_EQ(MatchPattern(QLatin1Char('!') + pattern, value), !PlainWildcards(pattern, value))
            << "!" << pattern.toStdString() << " on " << value.toStdString();
    }
}

TEST_F(FilterTest, HelperRoutines)
{
    int p = 0;
    EXPECT_EQ(FindOperatorOutsideQuotes(QStringLiteral("&|"), QStringLiteral("\"a&b\"|c"), p), QLatin1Char('|'));
    EXPECT_EQ(p, 6);
    EXPECT_EQ(FindOperatorOutsideQuotes(QStringLiteral("&|"), QStringLiteral("\"a&b"), p), QChar(0));
    EXPECT_EQ(p, -1);
    EXPECT_EQ(StripSpacesOutsideQuotes(QStringLiteral(" a b \" c d \" e")), QStringLiteral("ab\" c d \"e"));
    EXPECT_EQ(MatchingParenPos(QStringLiteral("(a(b)c)d")), 7);
    EXPECT_EQ(MatchingParenPos(QStringLiteral("(a(b)c")), 0);
    EXPECT_EQ(MatchingParenPos(QStringLiteral(")(")), 0);
    EXPECT_EQ(LocaleNumberToDotText(QStringLiteral("1.234.567,89x")), QStringLiteral("1234567.89x"));
}

TEST_F(FilterTest, LocaleDatesAndTimes)
{
    TDateTime d = -1;
    ASSERT_TRUE(LocaleTextToDateTime(QStringLiteral("3/4/2024"), d));
    EXPECT_EQ(d, EncodeDate(2024, 4, 3));
    ASSERT_TRUE(LocaleTextToDateTime(QStringLiteral("3/4/2024 10:30"), d));
    EXPECT_NEAR(d, EncodeDate(2024, 4, 3) + 10.5 / 24, 1e-9);
    ASSERT_TRUE(LocaleTextToDateTime(QStringLiteral(" 3/4/2024   10:30:15 "), d));
    EXPECT_NEAR(d, EncodeDateTime(2024, 4, 3, 10, 30, 15, 0), 1e-9);
    // The year is taken as written.
    ASSERT_TRUE(LocaleTextToDateTime(QStringLiteral("3/4/24"), d));
    EXPECT_EQ(d, EncodeDate(24, 4, 3));

    const TDateTime untouched = 12345;
    const char *const refused[] = {
        "3/4",          "3-4-2024",   "32/1/2024",   "1/13/2024",  "0/1/2024",      "30/2/2024",
        "a/1/2024",     "1/1/2024x",  "1/1/0",       "1/1/10000",  "1/1/2024 10",   "1/1/2024 24:00",
        "1/1/2024 1:60", "1/1/2024 1:2:61", "1/1/2024 x:1", "//",  "",              "1/1/4294969320",
    };
    for (const char *text : refused) {
        d = untouched;
        EXPECT_FALSE(LocaleTextToDateTime(QString::fromLatin1(text), d)) << text;
        EXPECT_EQ(d, untouched) << text;
    }

    // The order follows the short date format.
    FormatSettings.ShortDateFormat = QStringLiteral("yyyy/MM/dd");
    ASSERT_TRUE(LocaleTextToDateTime(QStringLiteral("2024/4/3"), d));
    EXPECT_EQ(d, EncodeDate(2024, 4, 3));
}

TEST_F(FilterTest, USAndEUDateTexts)
{
    EXPECT_EQ(DateFromEUText(QStringLiteral("3.4.24")), EncodeDate(2024, 4, 3));
    EXPECT_EQ(DateFromEUText(QStringLiteral("3.4.2024")), EncodeDate(3924, 4, 3));
    EXPECT_EQ(DateFromEUText(QStringLiteral("3-4-99")), EncodeDate(1999, 4, 3));
    EXPECT_EQ(DateFromUSText(QStringLiteral("4/3/25")), EncodeDate(2025, 4, 3));
    EXPECT_EQ(DateFromUSText(QStringLiteral("4/3/26")), EncodeDate(1926, 4, 3));
    EXPECT_EQ(DateFromUSText(QStringLiteral("4 3 26")), 0);
    EXPECT_EQ(DateFromUSText(QStringLiteral("4/3")), 0);
    EXPECT_EQ(DateFromUSText(QStringLiteral("4/x/26")), 0);
    EXPECT_THROW(DateFromUSText(QStringLiteral("2/30/24")), EConvertError);
    EXPECT_THROW(DateFromEUText(QStringLiteral("1.13.24")), EConvertError);
    // Numbers past the encoder's range raise rather than wrap onto another date.
    EXPECT_THROW(DateFromEUText(QStringLiteral("1.65537.24")), EConvertError);
    EXPECT_THROW(DateFromEUText(QStringLiteral("1.1.9000")), EConvertError);
}

TEST_F(FilterTest, StepDate)
{
    const TDateTime july31 = EncodeDate(2024, 7, 31);
    EXPECT_EQ(StepDate(0, 0, 3, july31, 99), july31 + 3);
    EXPECT_EQ(StepDate(1, 0, 0, july31, 99), EncodeDate(2025, 7, 31));
    EXPECT_EQ(StepDate(0, 1, 0, july31, 99), EncodeDate(2024, 8, 31));
    EXPECT_THROW(StepDate(0, 2, 0, july31, 99), EConvertError);
    EXPECT_EQ(StepDate(0, 6, 0, july31, 99), EncodeDate(2025, 1, 31));
    EXPECT_EQ(StepDate(0, -1, 0, EncodeDate(2024, 1, 15), 99), EncodeDate(2023, 12, 15));
    // A month result beyond one year's wrap stays outside 1..12.
    EXPECT_THROW(StepDate(0, -13, 0, EncodeDate(2024, 1, 15), 99), EConvertError);
    EXPECT_THROW(StepDate(1, 0, 0, EncodeDate(2024, 2, 29), 99), EConvertError);
    // Mixed differences step by the plain distance.
    EXPECT_EQ(StepDate(1, 1, 0, july31, 396), july31 + 396);
    EXPECT_EQ(StepDate(0, 0, 0, july31, 0.5), july31 + 0.5);
}

TEST_F(FilterTest, LooksLikeDate)
{
    EXPECT_TRUE(LooksLikeDate(QStringLiteral("3/4/2024")));
    EXPECT_TRUE(LooksLikeDate(QStringLiteral("ab/cd/")));
    EXPECT_FALSE(LooksLikeDate(QStringLiteral("/4/2024")));
    EXPECT_FALSE(LooksLikeDate(QStringLiteral("3//2024")));
    EXPECT_FALSE(LooksLikeDate(QStringLiteral("3/4")));
}

} // namespace
