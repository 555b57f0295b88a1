// The text and value routines of the grid library: text kinds, number texts, the wide-text codec,
// names and links, the clipboard HTML wrapper, line breaks and quoting, and the small helpers.
#include "controls/ExtGridUtil.h"
#include "platform/Classes.h"
#include "platform/Grids.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString &S, std::ostream *Os)
{
    *Os << '"';
    for (QChar c : S) {
        if (c.unicode() < 32 || c.unicode() > 126)
            *Os << "\\u{" << std::hex << static_cast<unsigned>(c.unicode()) << std::dec << '}';
        else
            *Os << static_cast<char>(c.unicode());
    }
    *Os << '"';
}

namespace {

const QString CR(QChar(13));
const QString LF(QChar(10));
const QString CRLF = CR + LF;

// The examples are written for a locale with "." between thousands and "," before decimals.
class TextUtils : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = FormatSettings;
        FormatSettings.ThousandSeparator = QLatin1Char('.');
        FormatSettings.DecimalSeparator = QLatin1Char(',');
    }
    void TearDown() override { FormatSettings = FSaved; }

private:
    TFormatSettings FSaved;
};

TEST_F(TextUtils, LocaleAccessorsFollowTheSettingsAtEachCall)
{
    EXPECT_EQ(LocaleDecimalSeparator(), QLatin1Char(','));
    FormatSettings.DecimalSeparator = QLatin1Char(';');
    FormatSettings.DateSeparator = QLatin1Char('-');
    FormatSettings.ShortDateFormat = QStringLiteral("yyyy-MM-dd");
    EXPECT_EQ(LocaleDecimalSeparator(), QLatin1Char(';'));
    EXPECT_EQ(LocaleDateSeparator(), QLatin1Char('-'));
    EXPECT_EQ(LocaleShortDateFormat(), QStringLiteral("yyyy-MM-dd"));
    // Number classification reads them too.
    EXPECT_EQ(NumberKindOf(QStringLiteral("1;5")), 1);
    EXPECT_EQ(NumberKindOf(QStringLiteral("1,5")), 2);
}

TEST_F(TextUtils, CellTextKind)
{
    struct Case {
        QString Text;
        bool Html;
        int Kind;
    } const cases[] = {
        {QString(), true, 0},
        {QStringLiteral("="), true, 3},
        {QStringLiteral("=A1"), false, 3},
        {QStringLiteral("{\\rtf1 x}"), true, 2},
        {QStringLiteral("{rtf"), true, 0},
        {QStringLiteral("a <b>x</b>"), true, 1},
        {QStringLiteral("a <b>x</b>"), false, 0},
        {QStringLiteral("<B>bold"), true, 1},
        {QStringLiteral("<I>it"), true, 1},
        {QStringLiteral("<CONTROL>"), true, 1},
        // Only upper-case tags count unless the tag closes.
        {QStringLiteral("<b>bold"), true, 0},
        {QStringLiteral("a < b"), true, 0},
        {QStringLiteral("|\\"), true, 5},
        {EncodeWideCellText(QStringLiteral("abc")), true, 5},
        {EncodeWideCellText(QStringLiteral("=A1")), true, 3},
        // A lone "=" leaves no character 0 behind it: still wide text.
        {EncodeWideCellText(QStringLiteral("=")), true, 5},
        {EncodeWideCellText(QStringLiteral("a=")), true, 5},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CellTextKind(c.Text, c.Html), c.Kind) << c.Text.toStdString() << " html " << c.Html;
}

TEST_F(TextUtils, NumberKindOf)
{
    struct Case {
        const char *Text;
        int Kind;
    } const cases[] = {
        {"-12", 0}, {"-", 0}, {"0", 0}, {"1.234,5", 1}, {"12,5", 1}, {"1.234.567", 1},
        {"1e-5", 5}, {"-1,5E-3", 5}, {"2E5", 5},
        {"1-2", 2}, {"+5", 2}, {"1,2,3", 2}, {"", 2}, {"abc", 2}, {"--1", 2},
        // Thousand separators closer than four positions.
        {"1.23.4", 2},
        // An exponent with nothing after it, or twice.
        {"1e", 2}, {"1e5e5", 2}, {"e5", 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NumberKindOf(QString::fromLatin1(c.Text)), c.Kind) << c.Text;
}

TEST_F(TextUtils, ExtractNumberText)
{
    struct Case {
        QString Text;
        QString Number;
    } const cases[] = {
        {QStringLiteral("(1.234,50 EUR)"), QStringLiteral("-1234.50")},
        {QStringLiteral("  12,5 \t"), QStringLiteral("12.5")},
        {QStringLiteral("$ -7"), QStringLiteral("-7")},
        {QStringLiteral("+3e2x"), QStringLiteral("3e2")},
        {QStringLiteral("\u20AC 1.000"), QStringLiteral("1000")},
        // "E" can start a number, so a currency code in front stops the scan.
        {QStringLiteral("EUR 5"), QStringLiteral("E")},
        {QString(), QString()},
        {QStringLiteral("   "), QString()},
        {QStringLiteral("x"), QString()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExtractNumberText(c.Text), c.Number) << c.Text.toStdString();
}

TEST_F(TextUtils, WideTextCodecRoundTripsTextBeyondLatin1)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("plain"),
        QStringLiteral("\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \u65E5\u672C \u20AC"),
        // A surrogate pair travels as its two code units, and a 0 code unit survives.
        QStringLiteral("\U0001F600") + QChar(0) + QStringLiteral("\u00FF\u0100"),
    };
    for (const QString &t : texts) {
        const QString encoded = EncodeWideCellText(t);
        ASSERT_EQ(encoded.size(), 2 + 2 * t.size());
        for (QChar c : encoded)
            EXPECT_LE(c.unicode(), 255);
        EXPECT_EQ(DecodeWideCellText(encoded), t);
    }
    EXPECT_EQ(EncodeWideCellText(QStringLiteral("\u20ACA")),
              QStringLiteral("|\\") + QChar(0x20) + QChar(0xAC) + QChar(0) + QChar('A'));
}

TEST_F(TextUtils, WideTextDecoderTakesAnyText)
{
    // Without the prefix the text is not touched.
    EXPECT_EQ(DecodeWideCellText(QStringLiteral("\u20AC|\\")), QStringLiteral("\u20AC|\\"));
    // An odd last character is dropped; only the low byte of a character counts.
    EXPECT_EQ(DecodeWideCellText(QStringLiteral("|\\") + QChar(0) + QChar('A') + QChar('B')), QStringLiteral("A"));
    EXPECT_EQ(DecodeWideCellText(QStringLiteral("|\\") + QChar(0x120) + QChar(0x1AC)), QStringLiteral("\u20AC"));
    EXPECT_EQ(DecodeWideCellText(QStringLiteral("|\\")), QString());
}

TEST_F(TextUtils, ProperCaseName)
{
    struct Case {
        const char *Text;
        const char *Name;
    } const cases[] = {
        {"mcdonald", "McDonald"},
        {"ronald mcintosh", "Ronald McIntosh"},
        {"henry iii", "Henry III"},
        {"o'neil-smith", "O'Neil-Smith"},
        {"JOHN SMITH", "John Smith"},
        {"louis ii", "Louis II"},
        {"charles i", "Charles I"},
        // Roman endings count only at the end of the name.
        {"ivan iiyama", "Ivan Iiyama"},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ProperCaseName(QString::fromLatin1(c.Text)), QString::fromLatin1(c.Name)) << c.Text;
}

TEST_F(TextUtils, LinkifyUrl)
{
    QString dest = QStringLiteral("untouched");
    EXPECT_FALSE(LinkifyUrl(QStringLiteral("no link here"), QStringLiteral("HTTP://"), dest));
    EXPECT_EQ(dest, QStringLiteral("untouched"));

    const QString text = QStringLiteral("see <Http://x.org/a_b> now");
    ASSERT_TRUE(LinkifyUrl(text, QStringLiteral("HTTP://"), dest));
    EXPECT_EQ(dest, QStringLiteral("see &lt;<a href=\"Http://x.org/a_b\">Http://x.org/a_b</a>&gt; now"));
    const int start = Pos(QStringLiteral("Http"), QStringLiteral("see &lt;Http://x.org/a_b&gt; now"));
    const int length = Length(QStringLiteral("Http://x.org/a_b"));
    EXPECT_EQ(Pos(QStringLiteral("</a>"), dest), start + 2 * length + 11);

    // A character past Latin-1 ends the address.
    ASSERT_TRUE(LinkifyUrl(QStringLiteral("mailto:a@b.c\u20AC"), QStringLiteral("MAILTO:"), dest));
    EXPECT_EQ(dest, QStringLiteral("<a href=\"mailto:a@b.c\">mailto:a@b.c</a>\u20AC"));
}

TEST_F(TextUtils, WrapClipboardHtmlCountsItsOffsets)
{
    QString html = QStringLiteral("<b>12</b>3");
    ASSERT_EQ(html.size(), 10);
    WrapClipboardHtml(html);
    EXPECT_TRUE(html.startsWith(QStringLiteral("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00000316\r\n"
                                               "StartFragment:00000274\r\nEndFragment:00000284\r\n<!DOCTYPE")));
    // The offsets point where they say.
    EXPECT_EQ(html.indexOf(QStringLiteral("<!DOCTYPE")), 97);
    EXPECT_EQ(html.indexOf(QStringLiteral("<b>12</b>3")), 274);
    EXPECT_EQ(html.indexOf(QStringLiteral("<!--EndFragment-->")), 284);
    EXPECT_EQ(html.size(), 316);
    EXPECT_TRUE(html.endsWith(QStringLiteral("</body></html>")));
}

TEST_F(TextUtils, LineBreakRoutines)
{
    EXPECT_EQ(CRToHtmlBreak(QStringLiteral("a\rb\r")), QStringLiteral("a<br>b<br>"));
    EXPECT_EQ(EscapeLineBreaks(QStringLiteral("a\r\nb\nc")), QStringLiteral("a\\nbc"));
    EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks(QStringLiteral("a\r\nb"))), QStringLiteral("a\rb"));
    EXPECT_EQ(RemoveCR(QStringLiteral("a\r\nb\r")), QStringLiteral("a\nb"));
    EXPECT_EQ(CRToLF(QStringLiteral("a\r\nb")), QStringLiteral("a\n\nb"));
    EXPECT_EQ(CountTextLines(QStringLiteral("a\rb\r"), true), 3);
    EXPECT_EQ(CountTextLines(QStringLiteral("a\rb\r"), false), 1);

    struct InPlace {
        void (*Routine)(QString &);
        QString Text;
        QString Result;
    } const cases[] = {
        {QuoteMultilineField, QStringLiteral("a\r\nb\rc"), QStringLiteral("\"a\u000Bb\rc\"")},
        {VTToLineBreaks, QStringLiteral("a\u000Bb"), QStringLiteral("a\r\nb")},
        {VTToLineBreaks, QStringLiteral("ab"), QStringLiteral("ab")},
        {DropCRFromCRLF, QStringLiteral("a\r\nb\rc"), QStringLiteral("a\nb\rc")},
        {LineBreaksToTilde, QStringLiteral("a\r\nb\nc\rd"), QStringLiteral("a~b~c~d")},
        {TildeToLineBreaks, QStringLiteral("^"), QString()},
        {TildeToLineBreaks, QStringLiteral("a~b"), QStringLiteral("a\r\nb")},
        {TildeToLineBreaks, QStringLiteral("^^"), QStringLiteral("^^")},
    };
    for (const InPlace &c : cases) {
        QString s = c.Text;
        c.Routine(s);
        EXPECT_EQ(s, c.Result);
    }
}

TEST_F(TextUtils, PackedLineBreaks)
{
    const QString text = QStringLiteral("a\r\nb") + QChar(0) + QStringLiteral("c\r\nd");
    const QString packed = PackLineBreaks(text);
    EXPECT_EQ(packed, QStringLiteral("a\u0009\u0008b\u0001c\u0009\u0008d"));
    EXPECT_EQ(UnpackLineBreaks(packed, true), text);
    EXPECT_EQ(UnpackLineBreaks(packed, false), QStringLiteral("a"));
    // Only texts with a CR are packed.
    EXPECT_EQ(PackLineBreaks(QStringLiteral("a\nb")), QStringLiteral("a\nb"));
    // Stored files hold texts with CRs only in this form: they stay packed.
    EXPECT_EQ(UnpackLineBreaks(PackLineBreaks(QStringLiteral("a\rb")), true), QStringLiteral("a\u0009b"));
}

TEST_F(TextUtils, TakeFirstLine)
{
    struct Case {
        QString Source;
        bool KeepRest;
        QString Line;
        QString Rest;
    } const cases[] = {
        {QStringLiteral("one\r\ntwo\r\nthree"), true, QStringLiteral("one"), QStringLiteral("two\r\nthree")},
        {QStringLiteral("one\r\ntwo\r\nthree"), false, QStringLiteral("one"), QString()},
        // Only one LF goes with the CR.
        {QStringLiteral("one\r\n\ntwo"), true, QStringLiteral("one"), QStringLiteral("\ntwo")},
        {QStringLiteral("one\rtwo"), true, QStringLiteral("one"), QStringLiteral("two")},
        {QStringLiteral("one\ntwo"), true, QStringLiteral("one\ntwo"), QString()},
        {QStringLiteral("\r"), true, QString(), QString()},
    };
    for (const Case &c : cases) {
        QString source = c.Source;
        EXPECT_EQ(TakeFirstLine(source, c.KeepRest), c.Line);
        EXPECT_EQ(source, c.Rest);
    }
}

TEST_F(TextUtils, QuotingAndRuns)
{
    EXPECT_EQ(DoubleQuoteChars(QStringLiteral("a\"b\"\"")), QStringLiteral("a\"\"b\"\"\"\""));
    EXPECT_EQ(UndoubleChar(QLatin1Char('"'), QStringLiteral("a\"\"b\"\"\"")), QStringLiteral("a\"b\"\""));
    EXPECT_EQ(UndoubleChar(QLatin1Char('"'), QStringLiteral("ab")), QStringLiteral("ab"));

    struct Run {
        const char *Text;
        int End;
        int Count;
    } const runs[] = {
        {"", 0, 0},
        {"abc", 0, 0},
        {"a\"b", 2, 1},
        // A doubled quote is escaped.
        {"a\"\"b", 0, 0},
        {"a\"\"\"b", 4, 1},
        {"\"a\"b\"c", 1, 3},
        // A quote in the last place ends the search there, whatever came before it.
        {"ab\"", 3, 1},
        {"a\"\"", 3, 1},
    };
    for (const Run &r : runs) {
        int p = -7;
        EXPECT_EQ(OddRunEndPos(QLatin1Char('"'), QString::fromLatin1(r.Text), p), r.End) << r.Text;
        EXPECT_EQ(p, r.End);
        EXPECT_EQ(CountUndoubledChar(QLatin1Char('"'), QString::fromLatin1(r.Text)), r.Count) << r.Text;
    }
}

TEST_F(TextUtils, StringHelpers)
{
    EXPECT_EQ(PosUpperCased(QStringLiteral("BC"), QStringLiteral("abc")), 2);
    EXPECT_EQ(PosUpperCased(QStringLiteral("bc"), QStringLiteral("abc")), 0);
    // Positions stay those of the text, also where upper case would be two characters.
    EXPECT_EQ(PosUpperCased(QStringLiteral("X"), QStringLiteral("\u00DFx")), 2);

    int p = -1;
    EXPECT_EQ(PosStore(QStringLiteral("c"), QStringLiteral("abc"), p), 3);
    EXPECT_EQ(p, 3);
    EXPECT_EQ(PosStore(QStringLiteral("z"), QStringLiteral("abc"), p), 0);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(CharIndexOf(QLatin1Char('b'), QStringLiteral("abc")), 2);
    EXPECT_EQ(CharIndexOf(QLatin1Char('z'), QStringLiteral("abc")), 0);
    p = 9;
    EXPECT_EQ(CharIndexOfVar(QLatin1Char('z'), QStringLiteral("abc"), p), 0);
    EXPECT_EQ(p, 9);
    EXPECT_EQ(CharIndexOfVar(QLatin1Char('c'), QStringLiteral("abc"), p), 3);
    EXPECT_EQ(p, 3);

    QString source = QStringLiteral("a;;b;;c");
    EXPECT_EQ(CutFirstToken(source, QStringLiteral(";;")), QStringLiteral("a"));
    EXPECT_EQ(source, QStringLiteral("b;;c"));
    source = QStringLiteral("abc");
    EXPECT_EQ(CutFirstToken(source, QStringLiteral(";")), QString());
    EXPECT_EQ(source, QStringLiteral("abc"));

    TStringList list;
    list.Add(QStringLiteral("a"));
    list.Add(QString());
    list.Add(QStringLiteral("bc"));
    EXPECT_EQ(ConcatStrings(&list), QStringLiteral("abc"));

    QString fill = QStringLiteral("secret");
    FillStringChar(fill, QLatin1Char('*'));
    EXPECT_EQ(fill, QStringLiteral("******"));
    EXPECT_EQ(CountCharOccurrences(QLatin1Char('a'), QStringLiteral("banana")), 3);

    QString link = QStringLiteral("see http://x.org");
    EXPECT_EQ(StripLinkScheme(link), QStringLiteral("x.org"));
    EXPECT_EQ(link, QStringLiteral("x.org"));
    link = QStringLiteral("mailto:a@b.c");
    StripLinkScheme(link);
    EXPECT_EQ(link, QStringLiteral("a@b.c"));
    EXPECT_TRUE(IsLinkText(QStringLiteral("ftp://x")));
    EXPECT_TRUE(IsLinkText(QStringLiteral("mailto:x")));
    EXPECT_FALSE(IsLinkText(QStringLiteral("MAILTO:x")));

    EXPECT_EQ(ColorToHtmlHex(0x00C08040), QStringLiteral("4080C0"));
    EXPECT_EQ(WideStringPos(QStringLiteral("\u20AC"), QStringLiteral("a\u20AC")), 2);
    EXPECT_EQ(IntMax(-3, 2), 2);
    EXPECT_EQ(IntMin(-3, 2), -3);
}

TEST_F(TextUtils, ParseRCReference)
{
    struct Case {
        const char *Text;
        bool Ok;
        int Col;
        int Row;
    } const cases[] = {
        {"R12C3", true, 3, 12}, {"r1c1", true, 1, 1}, {"R1C", false, 0, 0},  {"X1C1", false, 0, 0},
        {"RC1", false, 0, 0},   {"R1", false, 0, 0},  {"R1CX", false, 0, 0}, {"", false, 0, 0},
    };
    for (const Case &c : cases) {
        TPoint cell(-1, -1);
        EXPECT_EQ(ParseRCReference(QString::fromLatin1(c.Text), cell), c.Ok) << c.Text;
        EXPECT_EQ(cell, c.Ok ? TPoint(c.Col, c.Row) : TPoint(-1, -1)) << c.Text;
    }
}

TEST_F(TextUtils, LimitsAndRectangles)
{
    struct Case {
        int Value, Low, High, Result;
    } const cases[] = {
        {5, 10, 10, 5}, {5, 0, 3, 3}, {5, 7, 0, 7}, {5, 7, 9, 7}, {50, 7, 9, 9},
        {-5, 0, 0, -5}, {-5, -10, 3, -5},
        // Both limits apply: the upper one wins.
        {5, 9, 3, 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ClampToLimits(c.Value, c.Low, c.High), c.Result) << c.Value << " " << c.Low << " " << c.High;

    const TGridRect r(1, 2, 3, 4);
    EXPECT_TRUE(GridRectContains(r, 1, 2));
    EXPECT_TRUE(GridRectContains(r, 3, 4));
    EXPECT_FALSE(GridRectContains(r, 0, 3));
    EXPECT_FALSE(GridRectContains(r, 2, 5));
}

TEST_F(TextUtils, OemConversionRoundTrips)
{
    QString s = QStringLiteral("\u00C4rger \u00FC\u00DF");
    StringToOem(s);
    // Code page 437: A umlaut 0x8E, u umlaut 0x81, sharp s 0xE1.
    EXPECT_EQ(s, QStringLiteral("\u008Erger \u0081\u00E1"));
    OemToString(s);
    EXPECT_EQ(s, QStringLiteral("\u00C4rger \u00FC\u00DF"));
}

} // namespace
