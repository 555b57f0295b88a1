#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Runs each test under fixed settings and puts the process-wide ones back afterwards.
class SysUtilsFormatTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = FormatSettings;
        FormatSettings = TFormatSettings::Create("en-US");
    }
    void TearDown() override { FormatSettings = FSaved; }

    TFormatSettings FSaved;
};

QString ExpectConvertError(const std::function<void()> &F)
{
    try {
        F();
    } catch (const EConvertError &e) {
        return e.Message();
    }
    return QStringLiteral("<no exception>");
}

struct FormatCase {
    const char *Fmt;
    std::vector<TVarRec> Args;
    const char *Expected;
};

TEST_F(SysUtilsFormatTest, ClassicSpecifiers)
{
    const FormatCase cases[] = {
        {"%d", {42}, "42"},
        {"%5d|", {42}, "   42|"},
        {"%-5d|", {42}, "42   |"},
        {"%.4d", {-42}, "-0042"},
        {"%6.3d", {7}, "   007"},
        {"%d", {Int64(99999999999)}, "99999999999"},
        {"%u", {-1}, "4294967295"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%x", {Int64(-1)}, "FFFFFFFFFFFFFFFF"},
        {"%X", {3054}, "BEE"},
        {"%s and %s", {"one", QString("two")}, "one and two"},
        {"%.2s", {"abcdef"}, "ab"},
        {"[%-4s]", {'c'}, "[c   ]"},
        {"%f", {3.14159}, "3.14"},
        {"%.3f", {2.0005}, "2.001"},
        {"%.0f", {2.5}, "3"},
        {"%.1f", {-0.04}, "0.0"},
        {"%8.2f|", {-1.5}, "   -1.50|"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {-1234.5}, "-1,235"},
        {"%m", {1234.5}, "$1,234.50"},
        {"%m", {-5.0}, "($5.00)"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {-0.00012345}, "-1.23E-004"},
        {"%g", {1234.5}, "1234.5"},
        {"%g", {0.5}, "0.5"},
        {"%.3g", {1234.5}, "1.23E003"},
        {"%1:s-%0:s-%s", {"a", "b"}, "b-a-b"},
        {"%*d|", {4, 7}, "   7|"},
        {"%-*d|", {4, 7}, "7   |"},
        {"%.*f", {1, 2.25}, "2.3"},
        {"100%%", {}, "100%"},
        {"%p", {static_cast<const void *>(nullptr)}, "0000000000000000"},
    };
    for (const FormatCase &c : cases) {
        SCOPED_TRACE(c.Fmt);
        EXPECT_EQ(Format(c.Fmt, c.Args), QString::fromUtf8(c.Expected));
    }
}

TEST_F(SysUtilsFormatTest, SettingsDecideSeparatorsAndCurrency)
{
    const TFormatSettings de = TFormatSettings::Create("de-DE");
    EXPECT_EQ(Format("%n", {1234567.891}, de), "1.234.567,89");
    EXPECT_EQ(Format("%.1f", {-2.25}, de), "-2,3");
    EXPECT_EQ(Format("%m", {1234.5}, de), QString::fromUtf16(u"1.234,50 \u20AC"));
    EXPECT_EQ(Format("%m", {-1234.5}, de), QString::fromUtf16(u"-1.234,50 \u20AC"));
    FormatSettings = de;
    EXPECT_EQ(Format("%.2f", {0.5}), "0,50") << "the process-wide settings are read at each call";
}

TEST_F(SysUtilsFormatTest, ArgumentMismatchRaises)
{
    const QString invalid = "Format '%d' invalid or incompatible with argument";
    EXPECT_EQ(ExpectConvertError([] { Format("%d", {"x"}); }), invalid);
    EXPECT_EQ(ExpectConvertError([] { Format("%d", {1.5}); }), invalid);
    EXPECT_EQ(ExpectConvertError([] { Format("%f", {1}); }), "Format '%f' invalid or incompatible with argument");
    EXPECT_EQ(ExpectConvertError([] { Format("%s", {1}); }), "Format '%s' invalid or incompatible with argument");
    EXPECT_EQ(ExpectConvertError([] { Format("%q", {1}); }), "Format '%q' invalid or incompatible with argument");
    EXPECT_EQ(ExpectConvertError([] { Format("abc %", {}); }), "Format 'abc %' invalid or incompatible with argument");
    EXPECT_EQ(ExpectConvertError([] { Format("%d %d", {1}); }), "No argument for format '%d %d'");
    EXPECT_EQ(ExpectConvertError([] { Format("%5:d", {1}); }), "No argument for format '%5:d'");
}

TEST_F(SysUtilsFormatTest, FloatToStrIsShortest)
{
    EXPECT_EQ(FloatToStr(1.5), "1.5");
    EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
    EXPECT_EQ(FloatToStr(-0.0), "0");
    EXPECT_EQ(FloatToStr(100), "100");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(1.5e-7), "1.5E-7");
    EXPECT_EQ(FloatToStr(0.00001), "1E-5");
    EXPECT_EQ(FloatToStr(0.0001), "0.0001");
    EXPECT_EQ(FloatToStr(-0.000123), "-0.000123");
    EXPECT_EQ(FloatToStr(123456789012345.0), "123456789012345");
    EXPECT_EQ(FloatToStr(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(FloatToStr(std::nan("")), "NAN");
    EXPECT_EQ(FloatToStr(-HUGE_VAL), "-INF");
    EXPECT_EQ(FloatToStr(2.5, TFormatSettings::Create("de-DE")), "2,5");
    EXPECT_EQ(FloatToStrF(1234.5678, ffFixed, 15, 2), "1234.57");
    EXPECT_EQ(FloatToStrF(1234.5678, ffNumber, 15, 1), "1,234.6");
    EXPECT_EQ(FloatToStrF(-0.5, ffCurrency, 15, 0), "($1)");
}

TEST_F(SysUtilsFormatTest, StrToFloatUsesTheDecimalSeparator)
{
    struct Case {
        const char *Text;
        bool Valid;
        double Value;
    };
    const Case cases[] = {
        {"1.5", true, 1.5},      {" -1.5 ", true, -1.5}, {"+2", true, 2},      {".5", true, 0.5},
        {"5.", true, 5},         {"1e3", true, 1000},    {"1.5E-2", true, 0.015}, {"1,5", false, 0},
        {"1,000.5", false, 0},   {"", false, 0},         {"e3", false, 0},     {"1e", false, 0},
        {"1.5x", false, 0},      {"1e999", false, 0},    {"-", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        double v = -99;
        EXPECT_EQ(TryStrToFloat(c.Text, v), c.Valid);
        if (c.Valid) {
            EXPECT_DOUBLE_EQ(v, c.Value);
        }
    }
    const TFormatSettings de = TFormatSettings::Create("de-DE");
    EXPECT_DOUBLE_EQ(StrToFloat("1,5", de), 1.5);
    EXPECT_EQ(StrToFloatDef("1.5", -1, de), -1);
    EXPECT_EQ(ExpectConvertError([] { StrToFloat("abc"); }), "'abc' is not a valid floating point value");
    EXPECT_TRUE(std::isinf(StrToFloat("INF")));
    EXPECT_EQ(StrToFloat(FloatToStr(1.0 / 3)), 0.333333333333333);
}

TEST_F(SysUtilsFormatTest, FormatFloatPictures)
{
    struct Case {
        const char *Fmt;
        double Value;
        const char *Expected;
    };
    const Case cases[] = {
        {"0", 3.5, "4"},
        {"0", -0.4, "0"},
        {"0.00", 3.14159, "3.14"},
        {"0.00", 1.005, "1.01"},
        {"#.##", 0.5, ".5"},
        {"#.##", 3, "3"},
        {"0.0#", 3, "3.0"},
        {"0.0#", 3.456, "3.46"},
        {"#", 0, ""},
        {"000", 7, "007"},
        {"00", 12345, "12345"},
        {"#,##0", 1234567, "1,234,567"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {",0", 1234, "1,234"},
        {"0.00E+00", 1234, "1.23E+03"},
        {"0.00E+00", 0.000123, "1.23E-04"},
        {"0.0E-0", 1234, "1.2E3"},
        {"00.0E+0", 1234, "12.3E+2"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0E+0#0", 1234, "1E+3"},
        {"'Total: '0.0", 2, "Total: 2.0"},
        {"\"x\"#", 5, "x5"},
        {"0 'kg'", 12, "12 kg"},
        {"0.0;(0.0)", -2.5, "(2.5)"},
        {"0.0;(0.0)", 2.5, "2.5"},
        {"0.0;(0.0);'zero'", 0, "zero"},
        {"0.0;(0.0);'zero'", -0.01, "zero"},
        {"0.0;;'zero'", -2, "-2.0"},
        {"#,##0.00 '$';-#,##0.00 '$'", -1234.5, "-1,234.50 $"},
        {"00-00", 1234, "12-34"},
        {"", 1.5, "1.5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Fmt);
        EXPECT_EQ(FormatFloat(c.Fmt, c.Value), QString::fromUtf8(c.Expected)) << c.Value;
    }
    const TFormatSettings de = TFormatSettings::Create("de-DE");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234567.891, de), "1.234.567,89");
}

} // namespace
