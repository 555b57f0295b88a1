#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct IntCase {
    const char *Text;
    bool Valid;
    int Value;
};

TEST(SysUtilsIntegers, StrToIntDefReadsDecimalAndHexadecimalText)
{
    const IntCase cases[] = {
        {"12", true, 12},
        {" 12", true, 12},
        {"   -12", true, -12},
        {"+7", true, 7},
        {"12 ", false, 0},
        {"1 2", false, 0},
        {"$1F", true, 31},
        {"0x1F", true, 31},
        {"0X1f", true, 31},
        {"-$10", true, -16},
        {"-0", true, 0},
        {"", false, 0},
        {" ", false, 0},
        {"-", false, 0},
        {"$", false, 0},
        {"0x", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"1.5", false, 0},
        {"\t12", false, 0},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"99999999999", false, 0},
        // Hexadecimal text may use all 32 bits, as colour values such as $FF00000F do.
        {"$FFFFFFFF", true, -1},
        {"$FF00000F", true, static_cast<int>(0xFF00000Fu)},
        {"$100000000", false, 0},
        {"\xd9\xa3", false, 0}, // a non-ASCII digit
    };
    for (const IntCase &c : cases) {
        const QString text = QString::fromUtf8(c.Text);
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(StrToIntDef(text, -1), c.Valid ? c.Value : -1);
        int v = 4711;
        EXPECT_EQ(TryStrToInt(text, v), c.Valid);
        EXPECT_EQ(v, c.Valid ? c.Value : 4711) << "a failed read leaves the variable alone";
    }
}

TEST(SysUtilsIntegers, StrToIntRaisesTheClassicMessage)
{
    EXPECT_EQ(StrToInt("$1F"), 31);
    try {
        StrToInt("abc");
        FAIL() << "no exception";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(SysUtilsIntegers, Int64RangeAndHexadecimal)
{
    EXPECT_EQ(StrToInt64("99999999999"), 99999999999LL);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(StrToInt64Def("9223372036854775808", -1), -1);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("0xFFFFFFFF"), 0xFFFFFFFFLL);
    EXPECT_EQ(StrToInt64Def(" 12 ", 5), 5);
}

TEST(SysUtilsIntegers, ValStopsAtTheFirstCharacterThatDoesNotBelong)
{
    struct Case {
        const char *Text;
        int Value;
        int Code;
    };
    const Case cases[] = {
        {"12", 12, 0},       {" -12", -12, 0},  {"12\"", 12, 3},   {"$1Fz", 31, 4},  {"0x10 ", 16, 5},
        {"", 0, 1},          {"  ", 0, 3},      {"-", 0, 2},       {"abc", 0, 1},    {"2147483648", 214748364, 10},
        {"-2147483648", INT_MIN, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        int v = -99;
        int code = -99;
        Val(c.Text, v, code);
        EXPECT_EQ(v, c.Value);
        EXPECT_EQ(code, c.Code);
    }
    Int64 big = 0;
    int code = 0;
    Val("99999999999", big, code);
    EXPECT_EQ(big, 99999999999LL);
    EXPECT_EQ(code, 0);
}

TEST(SysUtilsIntegers, IntToStrAndIntToHex)
{
    EXPECT_EQ(IntToStr(-42), "-42");
    EXPECT_EQ(IntToStr(Int64(99999999999)), "99999999999");
    EXPECT_EQ(IntToStr(4000000000u), "4000000000");
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(Int64(-1), 2), "FFFFFFFFFFFFFFFF");
}

TEST(SysUtilsStrings, TrimRemovesEveryCharacterUpToBlank)
{
    const QString text = QString::fromUtf16(u"\u0001\t\r\n a b \u001F") + QChar(0);
    EXPECT_EQ(Trim(text), "a b");
    const QString withNul = QString(QChar(0)) + "x" + QChar(0);
    EXPECT_EQ(Trim(withNul), "x");
    EXPECT_EQ(TrimLeft(" \tx "), "x ");
    EXPECT_EQ(TrimRight(" x\r\n"), " x");
    EXPECT_EQ(Trim(" \x7f "), "\x7f") << "DEL is above the blank and stays";
    EXPECT_EQ(Trim(QString::fromUtf16(u"\u00A0x\u00A0")), QString::fromUtf16(u"\u00A0x\u00A0"));
    EXPECT_EQ(Trim(" \t "), "");
}

TEST(SysUtilsStrings, CaseMappingAndComparison)
{
    EXPECT_EQ(UpperCase(QString::fromUtf16(u"abc\u00e4")), QString::fromUtf16(u"ABC\u00e4"));
    EXPECT_EQ(LowerCase(QString::fromUtf16(u"ABC\u00c4")), QString::fromUtf16(u"abc\u00c4"));
    EXPECT_EQ(AnsiUpperCase(QString::fromUtf16(u"abc\u00e4")), QString::fromUtf16(u"ABC\u00c4"));
    EXPECT_EQ(AnsiLowerCase(QString::fromUtf16(u"ABC\u00c4")), QString::fromUtf16(u"abc\u00e4"));

    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "ABD"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    EXPECT_NE(CompareText(QString::fromUtf16(u"\u00e4"), QString::fromUtf16(u"\u00c4")), 0);
    EXPECT_LT(CompareStr("B", "a"), 0) << "ordinal";
    EXPECT_TRUE(SameText(QString::fromUtf16(u"\u00e4x"), QString::fromUtf16(u"\u00c4X")));
    EXPECT_FALSE(SameText("a", "b"));

    EXPECT_EQ(AnsiCompareText("abc", "ABC"), 0);
    EXPECT_LT(AnsiCompareText("a", "B"), 0) << "letters in alphabetic order whatever their case";
    EXPECT_GT(AnsiCompareText("c", "B"), 0);
    EXPECT_TRUE(AnsiSameText(QString::fromUtf16(u"\u00fc"), QString::fromUtf16(u"\u00dc")));
    EXPECT_NE(AnsiCompareStr("a", "A"), 0);
    EXPECT_LT(AnsiCompareStr("a", "b"), 0);
}

TEST(SysUtilsStrings, OneBasedPositions)
{
    EXPECT_EQ(Pos("b", "abcb"), 2);
    EXPECT_EQ(Pos("x", "abc"), 0);
    EXPECT_EQ(Pos("", "abc"), 0);
    EXPECT_EQ(PosEx("b", "abcb", 3), 4);
    EXPECT_EQ(PosEx("b", "abcb", 5), 0);
    EXPECT_EQ(PosEx("b", "abcb", 0), 0);

    EXPECT_EQ(Copy("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Copy("abcdef", 0, 2), "ab");
    EXPECT_EQ(Copy("abcdef", 5, 100), "ef");
    EXPECT_EQ(Copy("abcdef", 7, 1), "");
    EXPECT_EQ(Copy("abcdef", 2, -1), "");

    QString s = "abcdef";
    Delete(s, 2, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 0, 2);
    EXPECT_EQ(s, "adef");
    Delete(s, 3, 100);
    EXPECT_EQ(s, "ad");

    Insert("XY", s, 2);
    EXPECT_EQ(s, "aXYd");
    Insert("<", s, -5);
    EXPECT_EQ(s, "<aXYd");
    Insert(">", s, 100);
    EXPECT_EQ(s, "<aXYd>");
    EXPECT_EQ(Length(s), 6);

    EXPECT_TRUE(IsDelimiter("\\/", "a/b", 2));
    EXPECT_FALSE(IsDelimiter("\\/", "a/b", 4));
    EXPECT_EQ(LastDelimiter("\\.", "c:\\dir\\file.txt"), 12);
    EXPECT_EQ(LastDelimiter(":", "abc"), 0);
}

TEST(SysUtilsStrings, QuotingAndExtraction)
{
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(StringOfChar('-', 3), "---");
    EXPECT_EQ(StringOfChar('-', -1), "");

    QString src = "'it''s' rest";
    EXPECT_EQ(AnsiExtractQuotedStr(src, '\''), "it's");
    EXPECT_EQ(src, " rest");

    QString notQuoted = "plain";
    EXPECT_EQ(AnsiExtractQuotedStr(notQuoted, '\''), "");
    EXPECT_EQ(notQuoted, "plain");

    QString open = "'never closed";
    EXPECT_EQ(AnsiExtractQuotedStr(open, '\''), "never closed");
    EXPECT_EQ(open, "");

    EXPECT_EQ(AnsiDequotedStr("'a''b'", '\''), "a'b");
    EXPECT_EQ(AnsiDequotedStr("'a' b", '\''), "'a' b");
}

TEST(SysUtilsStrings, StringReplaceFlags)
{
    EXPECT_EQ(StringReplace("a-b-c", "-", "+"), "a+b-c");
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", {rfReplaceAll}), "a+b+c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "_", {rfReplaceAll}), "aXb_c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "_", {rfReplaceAll, rfIgnoreCase}), "a_b_c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "_", {rfIgnoreCase}), "a_bxc");
    EXPECT_EQ(StringReplace("aaa", "a", "aa", {rfReplaceAll}), "aaaaaa") << "no re-scan of the replacement";
    EXPECT_EQ(StringReplace("abc", "", "x", {rfReplaceAll}), "abc");
}

TEST(SysUtilsStrings, LineBreaksAndCharSets)
{
    EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\ne");
    EXPECT_EQ(AdjustLineBreaks("a\r\nb", TTextLineBreakStyle::tlbsLF), "a\nb");
    EXPECT_TRUE(CharInSet('7', "0123456789"));
    EXPECT_FALSE(CharInSet(QChar(0x0667), "0123456789"));
}

TEST(SysUtilsStrings, Booleans)
{
    EXPECT_EQ(BoolToStr(true), "-1");
    EXPECT_EQ(BoolToStr(false, true), "False");
    EXPECT_TRUE(StrToBool("true"));
    EXPECT_TRUE(StrToBool("-1"));
    EXPECT_TRUE(StrToBool("2"));
    EXPECT_FALSE(StrToBool("0"));
    EXPECT_FALSE(StrToBool("FALSE"));
    EXPECT_TRUE(StrToBoolDef("maybe", true));
    try {
        StrToBool("maybe");
        FAIL() << "no exception";
    } catch (const EConvertError &e) {
        EXPECT_EQ(e.Message(), "'maybe' is not a valid boolean value");
    }
}

} // namespace
