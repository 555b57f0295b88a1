// The text routines of mini-HTML: colour names and hex colours, numbers, entities both ways,
// tag stripping, highlighting across tags, and reading and rewriting in-text control values.
#include "controls/MiniHTML.h"

#include <gtest/gtest.h>

#include <array>

namespace {

QString U(const char *Utf8) { return QString::fromUtf8(Utf8); }

TEST(MiniHtmlColors, NamesAndHex)
{
    EXPECT_EQ(HtmlColorFromName("cl3ddkshadow"), TColorOf(0xFF000015u));
    EXPECT_EQ(HtmlColorFromName("clred"), 0x0000FF);
    EXPECT_EQ(HtmlColorFromName("clinfobk"), TColorOf(0xFF000018u));
    EXPECT_EQ(HtmlColorFromName("clblack"), 0);
    EXPECT_EQ(HtmlColorFromName("clnotacolor"), 0);
    EXPECT_EQ(HtmlColorFromName("clRed"), 0) << "the callers lower-case first";

    EXPECT_EQ(HtmlColorFromHex("#FF0000"), 0x0000FF);
    EXPECT_EQ(HtmlColorFromHex("#0A0B0C"), 0x0C0B0A);
    EXPECT_EQ(HtmlColorFromHex("#12"), 0x12) << "missing pairs count as 0";
    EXPECT_EQ(HtmlColorFromHex("#"), 0);
    EXPECT_EQ(HexPairValue("F"), 0);
    EXPECT_EQ(HexPairValue("7F"), 127);
}

TEST(MiniHtmlColors, IntPrefixValue)
{
    struct TCase {
        const char *Text;
        int Value;
    };
    const TCase cases[] = {
        {"12\" rest", 12}, {"-7", -7}, {"$1F", 31}, {"0x1f", 31}, {"", 0},
        {"abc", 0},        {"+5x", 5}, {"99999999999999", 2147483647}, {"-99999999999999", -2147483647 - 1},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(IntPrefixValue(QString::fromUtf8(c.Text)), c.Value) << c.Text;
}

// The 55 accented letters and their entities, in the order of the unit's table.
const std::array<std::pair<const char16_t *, const char *>, 55> AccentTable{{
    {u"é", "&eacute;"}, {u"è", "&egrave;"}, {u"ë", "&euml;"},   {u"ê", "&ecirc;"},  {u"ó", "&oacute;"},
    {u"ò", "&ograve;"}, {u"ö", "&ouml;"},   {u"ô", "&ocirc;"},  {u"í", "&iacute;"}, {u"ì", "&igrave;"},
    {u"ï", "&iuml;"},   {u"î", "&icirc;"},  {u"ú", "&uacute;"}, {u"ù", "&ugrave;"}, {u"ü", "&uuml;"},
    {u"û", "&ucirc;"},  {u"á", "&aacute;"}, {u"à", "&agrave;"}, {u"ä", "&auml;"},   {u"â", "&acirc;"},
    {u"É", "&Eacute;"}, {u"È", "&Egrave;"}, {u"Ë", "&Euml;"},   {u"Ê", "&Ecirc;"},  {u"Ó", "&Oacute;"},
    {u"Ò", "&Ograve;"}, {u"Ö", "&Ouml;"},   {u"Ô", "&Ocirc;"},  {u"Í", "&Iacute;"}, {u"Ì", "&Igrave;"},
    {u"Ï", "&Iuml;"},   {u"Î", "&Icirc;"},  {u"Ú", "&Uacute;"}, {u"Ù", "&Ugrave;"}, {u"Ü", "&Uuml;"},
    {u"Û", "&Ucirc;"},  {u"Á", "&Aacute;"}, {u"À", "&Agrave;"}, {u"Ä", "&Auml;"},   {u"Â", "&Acirc;"},
    {u"ç", "&ccedil;"}, {u"Ç", "&Ccedil;"}, {u"ø", "&oslash;"}, {u"Ø", "&Oslash;"}, {u"å", "&aring;"},
    {u"Å", "&Aring;"},  {u"\u00A9", "&copy;"}, {u"®", "&reg;"}, {u"€", "&euro;"},   {u"«", "&laquo;"},
    {u"»", "&raquo;"},  {u"ã", "&atilde;"}, {u"Ã", "&Atilde;"}, {u"õ", "&otilde;"}, {u"Õ", "&Otilde;"},
}};

TEST(MiniHtmlEntities, EveryAccentEachWay)
{
    for (const auto &[ch, entity] : AccentTable) {
        const QString c = QString::fromUtf16(ch);
        const QString e = QString::fromLatin1(entity);
        EXPECT_EQ(EncodeHtmlEntities(c, true), e);
        EXPECT_EQ(DecodeHtmlEntities(e, true), c);
        EXPECT_EQ(EncodeHtmlEntities(c, false), c);
        EXPECT_EQ(DecodeHtmlEntities(e, false), e);
    }
}

TEST(MiniHtmlEntities, BasicEntitiesAndRoundTrips)
{
    EXPECT_EQ(EncodeHtmlEntities("a&b\"c<d>e", false), "a&amp;b&quot;c&lt;d&gt;e");
    EXPECT_EQ(EncodeHtmlEntities("*amp;", false), "*amp;") << "a literal *amp; is no ampersand";
    EXPECT_EQ(DecodeHtmlEntities("&amp;quot;", false), "&quot;") << "one pass, no second decoding";
    EXPECT_EQ(DecodeHtmlEntities("&Eacute;&eacute;", true), U("Éé"));
    EXPECT_EQ(DecodeHtmlEntities("&AMP;&lt", true), "&AMP;&lt") << "case and the semicolon matter";

    // Whatever a user types into an in-text control comes back unchanged.
    const QString values[] = {"&amp;", "&quot;", "&Eacute;&eacute;", U("Éé & \"x\" <y>"), "*amp;", "&&", "&"};
    for (const QString &v : values) {
        EXPECT_EQ(DecodeHtmlEntities(EncodeHtmlEntities(v, true), true), v) << v.toStdString();
        EXPECT_EQ(DecodeHtmlEntities(EncodeHtmlEntities(v, false), false), v) << v.toStdString();
    }
    EXPECT_EQ(SpacesToNbsp("a b"), "a&nbsp;b");
}

TEST(MiniHtmlTags, StripAndRemove)
{
    EXPECT_EQ(StripHtmlTags("a<br>b<HR>c"), "a\r\nb\r\nc");
    EXPECT_EQ(StripHtmlTags("<b>bold</b> &amp; <i>it</i>"), "bold &amp; it");
    EXPECT_EQ(StripHtmlTags("x <b>y</b> < z"), "x y < z") << "an unterminated < keeps the rest";
    EXPECT_EQ(StripHtmlTags("<"), "<");
    EXPECT_EQ(StripHtmlTags(""), "");

    EXPECT_EQ(RemoveTags("<b>a</b>c"), "ac");
    EXPECT_EQ(RemoveTags("a>b<c>d"), "a>b<c>d") << "a > before the next < stops the removal";
    EXPECT_EQ(UnwrapHashTags("<#1> and <#x>"), "#1 and #x");
    EXPECT_EQ(LineBreaksToBR("a\r\nb", true), "a<BR>b");
    EXPECT_EQ(LineBreaksToBR("a\r\nb", false), "ab");
    EXPECT_EQ(PasswordMask("abc"), "***");
}

TEST(MiniHtmlTags, VisibleToRawIndex)
{
    const QString t = "<b>ab</b>c";
    EXPECT_EQ(VisibleToRawIndex(t, 1), 1);
    EXPECT_EQ(VisibleToRawIndex(t, 2), 5);
    EXPECT_EQ(VisibleToRawIndex(t, 3), 6) << "the end tag right after the second letter";
    EXPECT_EQ(VisibleToRawIndex(t, 4), 11) << "one past the last visible character";
    EXPECT_EQ(VisibleToRawIndex(t, 5), 0);
    EXPECT_EQ(VisibleToRawIndex("<b>ab</b>", 3), 10);
}

TEST(MiniHtmlTags, HighlightAcrossTagsAndBack)
{
    struct TCase {
        QString Text, Search;
        bool CaseSensitive;
        QString Highlighted;
    };
    const TCase cases[] = {
        {"one <b>two</b> one", "one", true, "<hi>one</hi> <b>two</b> <hi>one</hi>"},
        {"a<b>bc</b>d", "bcd", true, "a<b><hi>bc</b>d</hi>"},
        {"xAx", "a", false, "x<hi>A</hi>x"},
        {"xAx", "a", true, "xAx"},
        {"abab", "ab", true, "<hi>ab</hi><hi>ab</hi>"},
        {"<b>x</b>y", "y", true, "<b>x</b><hi>y</hi>"},
        {"<b>end</b>", "end", true, "<b><hi>end</b></hi>"},
    };
    for (const TCase &c : cases) {
        QString r;
        HighlightMatches(c.Text, c.Search, "hi", c.CaseSensitive, r);
        EXPECT_EQ(r, c.Highlighted) << c.Text.toStdString();
        EXPECT_EQ(RemoveHighlightTags(r, "HI"), c.Text) << c.Text.toStdString();
    }

    // A tag-free text that still holds angle brackets is escaped, so the brackets stay text.
    QString r;
    HighlightMatches("a > b < c", "b", "hi", true, r);
    EXPECT_EQ(r, "a &gt; <hi>b</hi> &lt; c");
    EXPECT_EQ(RemoveHighlightTags(r, "hi"), "a > b < c");

    HighlightMatches("text", "", "hi", true, r);
    EXPECT_EQ(r, "text");
}

const QString Controls = "Name <CONTROL TYPE=\"EDIT\" ID=\"n\" VALUE=\"Bob\" WIDTH=\"80\"> "
                         "<control type=\"check\" id=\"c\" value=\"TRUE\" width=\"20\"> "
                         "<CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"x\" WIDTH=\"60\" PROP=\"a&amp;b\" MAXLEN=\"5\" HEIGHT=\"30\"> "
                         "<CONTROL TYPE=\"RADIO\" ID=\"r1\" VALUE=\"TRUE\" WIDTH=\"20\">"
                         "<CONTROL TYPE=\"RADIO\" ID=\"r2\" VALUE=\"TRUE\" WIDTH=\"20\">";

TEST(MiniHtmlControls, ReadValues)
{
    QString type, id, value, width, height, prop, maxlen;
    ParseControlTag("<CONTROL type=\"edit\" ID=\"a\" VALUE=\"&lt;&eacute;\" WIDTH=\"9\">", type, id, value, width,
                    height, prop, maxlen);
    EXPECT_EQ(type, "EDIT");
    EXPECT_EQ(id, "a");
    EXPECT_EQ(value, U("<é"));
    EXPECT_EQ(width, "9");
    EXPECT_TRUE(height.isEmpty());

    ParseControlTag("<CONTROL ID=a WIDTH=\"", type, id, value, width, height, prop, maxlen);
    EXPECT_TRUE(id.isEmpty()) << "an unquoted value is empty";
    EXPECT_TRUE(width.isEmpty());

    EXPECT_TRUE(HasControlTag("x <control"));
    EXPECT_FALSE(HasControlTag("x <contro"));
    EXPECT_TRUE(GetControlValue(Controls, "c", value));
    EXPECT_EQ(value, "TRUE");
    value = "kept";
    EXPECT_FALSE(GetControlValue(Controls, "C", value)) << "IDs match with their case";
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(GetControlProp(Controls, "k"), "a&b");
    EXPECT_EQ(GetControlMaxLen(Controls, "k"), 5);
    EXPECT_EQ(GetControlMaxLen(Controls, "n"), 0);
    EXPECT_EQ(GetControlMaxLen(Controls, "none"), 0);
}

TEST(MiniHtmlControls, NextEditControlID)
{
    EXPECT_EQ(NextEditControlID(Controls, ""), "n");
    EXPECT_EQ(NextEditControlID(Controls, "n"), "k") << "the check box is skipped";
    EXPECT_EQ(NextEditControlID(Controls, "k"), "");
    EXPECT_EQ(NextEditControlID(Controls, "unknown"), "");
    EXPECT_EQ(NextEditControlID("no controls", ""), "");
}

TEST(MiniHtmlControls, SetControlValueRewritesTheTag)
{
    QString t = Controls;
    ASSERT_TRUE(SetControlValue(t, "k", U("<é & \"q\">")));
    const QString expected = "<CONTROL ID=\"k\" VALUE=\"&lt;&eacute; &amp; &quot;q&quot;&gt;\" WIDTH=\"60\" "
                             "TYPE=\"COMBO\" PROP=\"a&amp;b\" MAXLEN=\"5\" HEIGHT=\"30\">";
    EXPECT_TRUE(t.contains(expected)) << t.toStdString();
    EXPECT_TRUE(t.startsWith("Name <CONTROL TYPE=\"EDIT\" ID=\"n\""));
    EXPECT_TRUE(t.endsWith(Controls.mid(Controls.indexOf("<CONTROL TYPE=\"RADIO\"") - 1)));
    QString value;
    ASSERT_TRUE(GetControlValue(t, "k", value));
    EXPECT_EQ(value, U("<é & \"q\">"));

    QString plain = "<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"\" WIDTH=\"40\">";
    ASSERT_TRUE(SetControlValue(plain, "e", "v"));
    EXPECT_EQ(plain, "<CONTROL ID=\"e\" VALUE=\"v\" WIDTH=\"40\" TYPE=\"EDIT\">");

    QString unchanged = Controls;
    EXPECT_FALSE(SetControlValue(unchanged, "missing", "v"));
    EXPECT_EQ(unchanged, Controls);

    const QString reset = ResetRadioControls(Controls);
    ASSERT_TRUE(GetControlValue(reset, "r1", value));
    EXPECT_EQ(value, "FALSE");
    ASSERT_TRUE(GetControlValue(reset, "r2", value));
    EXPECT_EQ(value, "FALSE");
    ASSERT_TRUE(GetControlValue(reset, "c", value));
    EXPECT_EQ(value, "TRUE");
}

TEST(MiniHtmlSearch, PositionsAndReplace)
{
    EXPECT_EQ(PosNoCase("bC", "abcd"), 2);
    EXPECT_EQ(PosNoCase("x", "abcd"), 0);
    int p = -1;
    EXPECT_EQ(PosUpper("BC", "abcd", p), 2);
    EXPECT_EQ(p, 2);
    QString s = "A&AMP;b&amp;";
    EXPECT_TRUE(ReplaceFirstNoCase("&amp;", "&&", s));
    EXPECT_EQ(s, "A&&b&amp;");
    EXPECT_FALSE(ReplaceFirstNoCase("zz", "", s));
    EXPECT_EQ(FindTextFrom("b", "abab", 2, true, p), 4);
    EXPECT_EQ(p, 4);
    EXPECT_EQ(FindTextFrom("B", "abab", 0, false, p), 2);
    EXPECT_EQ(FindTextFrom("b", "abab", 9, true, p), 0);
}

} // namespace
