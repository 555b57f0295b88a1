// The mini-HTML renderer on a recording canvas with a pinned font: entities and mnemonics, tag
// letters, word wrap, lists, extents, hit testing, anchors and focus, the pixels of error
// marking, body and highlight colours, the canvas state after every call, pictures and in-text
// controls on a line, and malformed markup.
#include "controls/ExtDropDown.h"
#include "controls/MiniHTML.h"
#include "controls/PictureContainer.h"

#include "platform/ImgList.h"
#include "platform/RecordingCanvas.h"
#include "platform/ShellApi.h"
#include "platform/UxTheme.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Puts "Logo", a 4 x 2 bitmap, into the container.
void AddLogo(TPictureContainer &Container)
{
    TPictureItem *item = Container.Items()->Add();
    item->SetName("Logo");
    TBitmap b(4, 2);
    item->Picture()->LoadFromBytes(b.SaveToBytes());
}

class Render : public ::testing::Test {
protected:
    Render()
    {
        C.Font()->SetName("Tahoma");
        C.Font()->SetHeight(-11);
        C.Font()->SetColor(clBlack);
        P.Canvas = &C;
        P.Rect = TRect(0, 0, 300, 200);
        Gh = C.TextHeight("gh");
    }

    bool Run(const QString &Text)
    {
        P.Text = Text;
        C.Clear();
        return RenderHtmlText(P);
    }

    QStringList Texts() const
    {
        QStringList r;
        for (const auto &c : C.CallsOf("ExtTextOut"))
            r << c.Text;
        return r;
    }

    const TRecordingCanvas::TCall *TextCall(const QString &Text) const
    {
        for (const auto &c : C.Calls())
            if (c.Name == "ExtTextOut" && c.Text == Text)
                return &c;
        return nullptr;
    }

    int CountPixels(QRgb Color, const TRect &R) const
    {
        int n = 0;
        const QImage &img = C.Image();
        for (int y = std::max(0, R.Top); y < std::min(img.height(), R.Bottom); ++y)
            for (int x = std::max(0, R.Left); x < std::min(img.width(), R.Right); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == Color;
        return n;
    }

    int W(const QString &S) { return C.TextWidth(S); }

    // Only device-context settings, no drawing.
    bool NothingDrawn() const
    {
        for (const auto &c : C.Calls())
            if (c.Name != "SetBkMode")
                return false;
        return true;
    }

    TRecordingCanvas C{300, 200};
    THtmlRenderParams P;
    int Gh = 0;
};

TEST_F(Render, EntitiesAndMnemonics)
{
    Run("a&amp;b");
    EXPECT_EQ(Texts(), QStringList{"a&b"}) << "&amp; shows one ampersand";
    EXPECT_EQ(P.ExtentX, W("a&b"));
    Run("&permil;");
    EXPECT_EQ(Texts(), QStringList{QString(QChar(0x2030))});
    Run("&Copy; &EURO;");
    EXPECT_EQ(Texts(), QStringList{QString(QChar(0xA9)) + " " + QString(QChar(0x20AC))}) << "letter case is ignored";
    Run("&x");
    EXPECT_EQ(Texts(), QStringList{"x"}) << "a single & is the mnemonic prefix";
    EXPECT_EQ(P.ExtentX, W("x"));
    Run("&lt;b&gt;bold?&nbsp;no");
    EXPECT_EQ(Texts(), QStringList{"<b>bold? no"});
    Run("<#5> items");
    EXPECT_EQ(Texts(), QStringList{"#5 items"});
    Run("one\r\ntwo");
    EXPECT_EQ(Texts(), (QStringList{"one", "two"}));
    EXPECT_EQ(P.ExtentY, 2 * Gh);
    EXPECT_EQ(P.PlainText, "one\rone\rtwotwo") << "both passes append, each line twice";
}

TEST_F(Render, TagLettersDecide)
{
    Run("<b>x</b><BIG>y</BIG><i>z</I>");
    ASSERT_NE(TextCall("x"), nullptr);
    EXPECT_TRUE(TextCall("x")->FontStyle.Contains(TFontStyle::fsBold));
    ASSERT_NE(TextCall("y"), nullptr);
    EXPECT_FALSE(TextCall("y")->FontStyle.Contains(TFontStyle::fsBold)) << "BIG does nothing";
    EXPECT_TRUE(TextCall("z")->FontStyle.Contains(TFontStyle::fsItalic));

    Run("<ZOOM>hidden</ZOOM>shown");
    EXPECT_EQ(Texts(), QStringList{"shown"});
    EXPECT_EQ(P.ExtentX, W("shown"));
    EXPECT_TRUE(P.PlainText.contains("hidden")) << "hidden text still counts as plain text";

    Run("<u>u</u><s>s</s><strike>k</strike>");
    EXPECT_TRUE(TextCall("u")->FontStyle.Contains(TFontStyle::fsUnderline));
    EXPECT_TRUE(TextCall("s")->FontStyle.Contains(TFontStyle::fsStrikeOut));
    EXPECT_FALSE(TextCall("k")->FontStyle.Contains(TFontStyle::fsStrikeOut)) << "STRIKE is no S tag";

    Run("<FONT COLOR=\"clred\" SIZE=\"5\" FACE=\"Courier New\">f</FONT>g");
    ASSERT_NE(TextCall("f"), nullptr);
    EXPECT_EQ(TextCall("f")->FontColor, clRed);
    EXPECT_EQ(TextCall("f")->FontHeight, -21) << "size 5 is 16 points";
    EXPECT_EQ(TextCall("g")->FontColor, clBlack);
    EXPECT_EQ(TextCall("g")->FontHeight, -11);
    Run("<FONT COLOR=\"#0000FF\" SIZE=3>f");
    EXPECT_EQ(TextCall("f")->FontColor, TColor(0xFF0000));
    EXPECT_EQ(TextCall("f")->FontHeight, -16) << "a bare size is read too";
}

TEST_F(Render, ErrorMarkDrawsARedZigzagUnderTheRun)
{
    Run("<EM>wrong</EM> right");
    const int w = W("wrong");
    const TRect under(1, Gh - 2, 1 + w, Gh + 2);
    EXPECT_GT(CountPixels(0xFF0000, under), w / 2) << "red zigzag under the marked word";
    EXPECT_EQ(CountPixels(0xFF0000, TRect(1 + w + W(" ") + 1, 0, 300, 200)), 0) << "nothing red after the end tag";
    bool red = false;
    for (const auto &c : C.CallsOf("LineTo"))
        red = red || (c.PenColor == clRed && c.PenWidth == 1);
    EXPECT_TRUE(red);
}

TEST_F(Render, BodyAndHighlightColours)
{
    Run("<BODY BGCOLOR=\"clYellow\">text");
    EXPECT_EQ(C.Image().pixel(290, 190) & 0xFFFFFF, 0xFFFF00u) << "the whole rectangle is filled";
    Run("<BODY BGCOLOR=\"#00FF00\">text");
    EXPECT_EQ(C.Image().pixel(290, 190) & 0xFFFFFF, 0x00FF00u);

    SetHtmlHighlightColors(clLime, clRed);
    TRecordingCanvas fresh(300, 200);
    fresh.Font()->Assign(C.Font());
    P.Canvas = &fresh;
    P.Text = "a <HI>WWW</HI> b";
    RenderHtmlText(P);
    SetHtmlHighlightColors(0, 0);
    bool found = false;
    for (const auto &c : fresh.CallsOf("ExtTextOut"))
        if (c.Text == "WWW") {
            found = true;
            EXPECT_EQ(c.FontColor, clRed);
            EXPECT_EQ(c.BrushColor, clLime);
        } else {
            EXPECT_EQ(c.FontColor, clBlack) << c.Text.toStdString();
        }
    EXPECT_TRUE(found);
    int lime = 0;
    for (int y = 0; y < Gh; ++y)
        for (int x = 0; x < 100; ++x)
            lime += (fresh.Image().pixel(x, y) & 0xFFFFFF) == 0x00FF00u;
    EXPECT_GT(lime, 10) << "the highlighted run has the highlight background";
}

TEST_F(Render, CanvasStateIsKept)
{
    C.Pen()->SetColor(clTeal);
    C.Pen()->SetWidth(3);
    C.Brush()->SetColor(clAqua);
    C.Brush()->SetStyle(TBrushStyle::bsSolid);
    const char *texts[] = {
        "<R A=\"90\">rotated, never closed",
        "<R A=\"45\"><R A=\"90\">two</R>",
        "<FONT COLOR=\"#FF0000\" BGCOLOR=\"clred\" SIZE=\"5\" FACE=\"Courier New\">x",
        "<HI>x",
        "<P BGCOLOR=\"#00FF00\" ALIGN=\"CENTER\">x",
        "<A HREF=\"a\">x",
        "<BODY BGCOLOR=\"clred\">x",
        "<E>x<HR><UL><LI>y",
        "<b><i><u><s>x",
        "<SHADOW>x",
    };
    for (const char *t : texts) {
        for (bool measure : {false, true}) {
            P.MeasureOnly = measure;
            Run(t);
            EXPECT_EQ(C.Pen()->Color(), clTeal) << t;
            EXPECT_EQ(C.Pen()->Width(), 3) << t;
            EXPECT_EQ(C.Brush()->Color(), clAqua) << t;
            EXPECT_EQ(C.Brush()->Style(), TBrushStyle::bsSolid) << t;
            EXPECT_EQ(C.Font()->Name(), "Tahoma") << t;
            EXPECT_EQ(C.Font()->Height(), -11) << t;
            EXPECT_EQ(C.Font()->Orientation(), 0) << t;
            EXPECT_TRUE(C.Font()->Style().Empty()) << t;
            EXPECT_EQ(C.Font()->Color(), clBlack) << t;
        }
    }
    P.MeasureOnly = false;
    Run("<R A=\"90\">up</R>flat");
    ASSERT_NE(TextCall("up"), nullptr);
    EXPECT_EQ(TextCall("up")->FontOrientation, 900);
    EXPECT_EQ(TextCall("flat")->FontOrientation, 0);
}

TEST_F(Render, WordWrap)
{
    P.WordWrap = true;
    P.Rect = TRect(0, 0, 1 + W("aaaa ") + W("bbbb") / 2, 200);
    Run("aaaa bbbb");
    EXPECT_EQ(Texts(), (QStringList{"aaaa ", "bbbb"})) << "the word that does not fit moves down";
    EXPECT_EQ(P.ExtentY, 2 * Gh);
    EXPECT_EQ(P.ExtentX, W("bbbb")) << "the trailing blank does not count";

    P.Rect = TRect(0, 0, 1 + W("aaa"), 200);
    Run("aaaaaaaaaa bb");
    EXPECT_EQ(P.ExtentY, 2 * Gh) << "a first word wider than the line stays on its line";
    EXPECT_EQ(Texts().last(), "bb");

    Run("aa<b>bbbb</b>");
    EXPECT_EQ(P.ExtentY, Gh) << "words joined by a tag are not broken apart";

    P.Rect = TRect(0, 0, 1 + W("aa bb "), 200);
    Run("aa bb<b>cccc</b> dd");
    EXPECT_TRUE(P.PlainText.contains("dd")) << "text after a joined word is kept";
    EXPECT_TRUE(Texts().last().endsWith("dd")) << Texts().join("|").toStdString();
}

TEST_F(Render, WithoutWordWrapAnOverflowEndsTheText)
{
    P.Rect = TRect(0, 0, 1 + W("short ") + 10, 200);
    Run("short <b>overflowing</b> tail");
    const QStringList t = Texts();
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[0], "short ");
    EXPECT_TRUE(t[1].endsWith("...")) << t[1].toStdString();
    EXPECT_FALSE(P.PlainText.contains("tail"));
}

TEST_F(Render, ListsAndExtents)
{
    Run("<UL><LI>one<LI>two</UL>");
    EXPECT_EQ(P.ExtentY, 3 * Gh) << "UL ends a line and the second LI opens another";
    ASSERT_NE(TextCall("one"), nullptr);
    ASSERT_NE(TextCall("two"), nullptr);
    EXPECT_LT(TextCall("one")->Args[1], TextCall("two")->Args[1]);
    EXPECT_EQ(Texts().count(QString(QChar(0x2022))), 2) << "a bullet at the first level";

    Run("");
    EXPECT_EQ(P.ExtentY, Gh);
    EXPECT_EQ(P.ExtentX, 0);
    EXPECT_EQ(P.HitAnchorIndex, -1);
    EXPECT_EQ(P.ControlRect, TRect());

    // Drawing stops at the first line that would not fit; measuring goes on.
    P.Rect = TRect(0, 0, 300, 2 * Gh + 1);
    Run("1<BR>2<BR>3<BR>4");
    EXPECT_EQ(Texts(), (QStringList{"1", "2"}));
    EXPECT_EQ(P.ExtentY, 2 * Gh);
    P.MeasureOnly = true;
    Run("1<BR>2<BR>3<BR>4");
    EXPECT_TRUE(Texts().isEmpty());
    EXPECT_EQ(P.ExtentY, 4 * Gh);
}

TEST_F(Render, AnchorsHitAndFocus)
{
    const QString text = "x <a href=\"one\">first</a> <A HREF=\"Two\" TITLE=\"T\">second</A> y<br><a href=\"3\">third</a>";
    const int left = 1 + W("x first ");
    P.HitX = left + 2;
    P.HitY = Gh / 2;
    P.MeasureOnly = true;
    EXPECT_FALSE(Run(text)) << "measuring never reports a hit";
    EXPECT_EQ(P.HitAnchor, "Two") << "HREF keeps its letter case";
    EXPECT_EQ(P.HitTitle, "T");
    EXPECT_EQ(P.HitAnchorIndex, 2);
    EXPECT_EQ(P.AnchorCount, 3);
    EXPECT_EQ(P.HitAnchorRect.Left, left);
    EXPECT_EQ(P.HitAnchorRect.Right, left + W("second"));
    EXPECT_EQ(P.HitAnchorRect.Top, 0);
    EXPECT_EQ(P.HitAnchorRect.Bottom, Gh);
    EXPECT_TRUE(NothingDrawn()) << C.Lines().join("\n").toStdString();

    // Below the anchors' line the point is on nothing of the first line.
    P.HitAnchor.clear();
    P.HitY = Gh + Gh / 2;
    Run(text);
    EXPECT_EQ(P.HitAnchor, "");
    EXPECT_EQ(P.HitAnchorIndex, -1);

    P.MeasureOnly = false;
    P.FindControl = true;
    P.HitY = Gh / 2;
    EXPECT_TRUE(Run(text)) << "with FindControl anchor text counts";
    P.FindControl = false;

    P.HitX = P.HitY = -1;
    P.FocusAnchorIndex = 1;
    P.HitAnchor.clear();
    EXPECT_FALSE(Run(text));
    EXPECT_EQ(P.FocusHref, "Two");
    EXPECT_EQ(C.CallsOf("DrawFocusRect").size(), 1u);
    EXPECT_EQ(TextCall("second")->FontColor, clBlue);
    EXPECT_TRUE(TextCall("second")->FontStyle.Contains(TFontStyle::fsUnderline));
    EXPECT_EQ(TextCall(" y")->FontColor, clBlack);

    P.FocusAnchorIndex = -1;
    P.HoverOnlyStyle = true;
    P.HoverAnchorIndex = 3;
    Run(text);
    EXPECT_FALSE(TextCall("second")->FontStyle.Contains(TFontStyle::fsUnderline));
    EXPECT_TRUE(TextCall("third")->FontStyle.Contains(TFontStyle::fsUnderline));
}

TEST_F(Render, CentredAnchorsAreHitAtTheirLeftAlignedPlace)
{
    const QString text = "<P ALIGN=\"CENTER\"><a href=\"c\">link</a></P>";
    P.HitX = 1 + W("link") / 2;
    P.HitY = Gh / 2;
    P.MeasureOnly = true;
    Run(text);
    EXPECT_EQ(P.HitAnchor, "c");
    P.MeasureOnly = false;
    Run(text);
    ASSERT_NE(TextCall("link"), nullptr);
    EXPECT_GT(TextCall("link")->Args[0], 100) << "drawn centred";
}

TEST_F(Render, Pictures)
{
    TPictureContainer container(nullptr);
    AddLogo(container);
    P.Pictures = &container;

    Run("<IMG SRC=\"logo\" WIDTH=\"40\">");
    EXPECT_EQ(P.ExtentX, 40);
    EXPECT_EQ(P.ExtentY, 20) << "only WIDTH keeps the aspect ratio";
    Run("<IMG SRC=\"logo\" HEIGHT=\"30\">");
    EXPECT_EQ(P.ExtentX, 60);
    Run("<IMG SRC=\"logo\">");
    EXPECT_EQ(P.ExtentX, 4);
    Run("<IMG SRC=\"missing\">x");
    EXPECT_EQ(P.ExtentX, W("x")) << "a picture not found takes no space";

    TImageList list(16, 16);
    TBitmap glyph(16, 16);
    list.Add(&glyph, nullptr);
    P.Images = &list;
    Run("<IMG SRC=\"IDX:0\">");
    EXPECT_EQ(P.ExtentX, 16);
    Run("<IMG SRC=\"IDX:5\">");
    EXPECT_EQ(P.ExtentX, 0) << "an index beyond the list takes no space";
    EXPECT_EQ(P.ExtentY, Gh);
    Run("<IMG SRC=\"IDX:-1\"><IMG SRC=\"IDX:x\">");
    EXPECT_EQ(P.ExtentX, 0);

    // An image in an anchor is hit and reports the anchor.
    P.HitX = 5;
    P.HitY = 5;
    EXPECT_TRUE(Run("<a href=\"pic\"><IMG SRC=\"IDX:0\"></a>"));
    EXPECT_EQ(P.HitAnchor, "pic");
}

TEST_F(Render, InTextControls)
{
    Run("<CONTROL TYPE=\"PASSWORD\" ID=\"p\" VALUE=\"abc\" WIDTH=\"60\">");
    EXPECT_TRUE(Texts().contains("***"));
    EXPECT_FALSE(Texts().contains("abc"));
    EXPECT_EQ(P.ExtentX, 60);

    P.HitX = 1 + 8;
    P.HitY = 8;
    EXPECT_TRUE(Run("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"true\" WIDTH=\"50\">"));
    EXPECT_EQ(P.ControlType, "CHECK");
    EXPECT_EQ(P.ControlID, "c");
    EXPECT_EQ(P.ControlValue, "true");
    EXPECT_EQ(P.HitAnchor, "ctrl");
    EXPECT_EQ(P.ControlRect, TRect(1, 0, 17, 16));
    EXPECT_EQ(P.ExtentX, 16);
    const QImage checked = C.Image().copy(0, 0, 20, 20);
    P.HitX = P.HitY = -1;
    TRecordingCanvas other(300, 200);
    other.Font()->Assign(C.Font());
    P.Canvas = &other;
    P.Text = "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"false\" WIDTH=\"50\">";
    RenderHtmlText(P);
    EXPECT_NE(other.Image().copy(0, 0, 20, 20), checked) << "a checked box looks different";
    P.Canvas = &C;

    // Finding a control fills the outputs wherever the point is and draws nothing.
    P.FindControl = true;
    P.ControlID = "e";
    EXPECT_TRUE(Run("text <CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v&amp;w\" WIDTH=\"50\">"));
    EXPECT_EQ(P.ControlRect.Left, 1 + W("text "));
    EXPECT_EQ(P.ControlRect.Right, 1 + W("text ") + 50);
    EXPECT_EQ(P.ControlValue, "v&w");
    EXPECT_EQ(P.ControlType, "EDIT");
    EXPECT_TRUE(NothingDrawn()) << C.Lines().join("\n").toStdString();
    P.FindControl = false;

    // A control wider than the line stays on it; one that does not fit after text moves down.
    P.Rect = TRect(0, 0, 40, 200);
    Run("<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"100\">");
    EXPECT_EQ(P.ExtentX, 100);
    EXPECT_EQ(P.ExtentY, 25);
    Run("ab <CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"\" WIDTH=\"30\">");
    EXPECT_EQ(P.ExtentY, Gh + (Gh + 10));

    // Without a usable WIDTH the tag is ignored.
    Run("<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"v\">x<CONTROL TYPE=\"EDIT\" ID=\"f\" VALUE=\"v\" WIDTH=\"wide\">");
    EXPECT_EQ(P.ExtentX, W("x"));
    EXPECT_EQ(P.ExtentY, Gh);
}

TEST_F(Render, LargeSizesAndPositionsAreClamped)
{
    TPictureContainer container(nullptr);
    AddLogo(container);
    P.Pictures = &container;

    // Sizes and positions stop at 10,000 pixels instead of overflowing.
    struct TCase {
        const char *Text;
        int ExtentX;
    };
    const TCase cases[] = {
        // Past the integer range a width is no number: the control is left out.
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"\" WIDTH=\"99999999999\">", 0},
        {"<CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"\" WIDTH=\"2147483647\">", 10000},
        {"<IMG SRC=\"logo\" WIDTH=\"2147483647\" HEIGHT=\"2\">", 10000},
        {"<IND X=\"2147483647\">", 10000},
        {"<IND X=\"-5\">", 0},
    };
    for (const TCase &c : cases) {
        Run(c.Text);
        EXPECT_EQ(P.ExtentX, c.ExtentX) << c.Text;
    }
    Run("<IMG SRC=\"logo\" WIDTH=\"2147483647\">");
    EXPECT_EQ(P.ExtentY, 5000) << "the aspect ratio is kept within the clamp";

    // A paragraph's indent moves its drawing, not its measure.
    for (const int indent : {10000, -10000}) {
        Run(indent > 0 ? "<P INDENT=\"2147483647\">x" : "<P INDENT=\"-2147483648\">x");
        const auto calls = C.CallsOf("ExtTextOut");
        ASSERT_EQ(calls.size(), 1u) << indent;
        EXPECT_EQ(calls[0].Args[0], 1 + indent);
        EXPECT_EQ(P.ExtentX, W("x"));
    }
}

TEST_F(Render, MalformedMarkupDegrades)
{
    struct TCase {
        const char *Text;
        const char *Shown;
    };
    const TCase cases[] = {
        {"abc<b", "abc"},          {"abc<", "abc"},           {"abc<b>", "abc"},
        {"<", ""},                 {"x<a href=y>z", "xz"},    {"<FONT SIZE=\"99999999999\">big", nullptr},
        {"<IND x=\"99999999\">i", nullptr}, {"<R A=\"2147483647\">r", "r"}, {"<IMG SRC=\"IDX:99999999999\">", ""},
        {"</", ""},                {"<<<>>>", ">>"},          {"&amp;amp;", "&"},
    };
    for (const TCase &c : cases) {
        for (int mode = 0; mode < 3; ++mode) {
            P.MeasureOnly = mode == 1;
            P.FindControl = mode == 2;
            P.WordWrap = mode != 1;
            Run(c.Text);
        }
        P.MeasureOnly = P.FindControl = P.WordWrap = false;
        Run(c.Text);
        if (c.Shown) {
            EXPECT_EQ(Texts().join(""), QString::fromUtf8(c.Shown)) << c.Text;
        }
    }
}

} // namespace

namespace {

TEST_F(Render, DropDownCaptions)
{
    TSize size(5, 5);
    DrawHtmlText(&C, "", P.Rect, nullptr, true, nullptr, size);
    EXPECT_EQ(size, TSize(0, 0));

    const QString text = "<b>Bold</b> <FONT COLOR=\"clred\">red</FONT> <a href=\"x\">link</a>";
    C.Clear();
    DrawHtmlText(&C, text, P.Rect, nullptr, false, nullptr, size);
    EXPECT_TRUE(NothingDrawn());
    const TSize measured = size;
    DrawHtmlText(&C, text, P.Rect, nullptr, true, nullptr, size);
    EXPECT_EQ(size, measured);
    EXPECT_EQ(size.cy, Gh);
    ASSERT_NE(TextCall("red"), nullptr);
    EXPECT_EQ(TextCall("red")->FontColor, clBlack) << "drawn selected: no colours of its own";
    EXPECT_EQ(TextCall("link")->FontColor, clBlack);
    EXPECT_TRUE(TextCall("link")->FontStyle.Contains(TFontStyle::fsUnderline));
}

} // namespace

namespace {

class TOneIcon : public TShellIconProvider {
public:
    int IconIndex(const UnicodeString &, bool, bool) override { return 2; }
    QImage IconImage(int, int Size) override
    {
        QImage img(Size, Size, QImage::Format_ARGB32);
        img.fill(Qt::red);
        return img;
    }
};

TEST_F(Render, SystemIcons)
{
    TOneIcon icons;
    SetShellIconProvider(&icons);
    Run("<IMG SRC=\"LSYS:/NO/SUCH/FILE.TXT\">");
    EXPECT_EQ(P.ExtentX, 32);
    EXPECT_GT(CountPixels(0xFF0000, TRect(1, 0, 33, 32)), 500) << "the icon is drawn";
    Run("<IMG SRC=\"SSYS:2\">");
    EXPECT_EQ(P.ExtentX, 16);
    SetShellIconProvider(nullptr);
}

} // namespace

namespace {

TEST_F(Render, ThemedControlsGoThroughTheThemeLibrary)
{
    TRecordingThemeProvider theme;
    TThemeProvider *old = SetThemeProvider(&theme);
    P.HitX = 1 + 30;
    P.HitY = 12;
    Run("<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"TRUE\" WIDTH=\"20\"><CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" "
        "WIDTH=\"40\"><CONTROL TYPE=\"COMBO\" ID=\"k\" VALUE=\"x\" WIDTH=\"60\">");
    SetThemeProvider(old);
    ASSERT_EQ(theme.Entries.size(), 3u);
    EXPECT_EQ(theme.Entries[0].ClassName, "button");
    EXPECT_EQ(theme.Entries[0].Part, 3);
    EXPECT_EQ(theme.Entries[0].State, 5) << "checked";
    EXPECT_EQ(theme.Entries[1].Part, 1);
    EXPECT_EQ(theme.Entries[1].State, 2) << "the point is over the button";
    EXPECT_EQ(theme.Entries[2].ClassName, "combobox");
    EXPECT_EQ(theme.OpenCount(), 0);
}

} // namespace

namespace {

TEST_F(Render, RightToLeftOnlyInAMiddleEastLocale)
{
    P.BiDiMode = bdRightToLeft;
    Run("text");
    ASSERT_NE(TextCall("text"), nullptr);
    EXPECT_EQ(TextCall("text")->Args[0], 1) << "left to right elsewhere";
    EXPECT_EQ(HtmlDrawTextFlags(DT_LEFT, true), DT_LEFT);

    SetSysLocaleMiddleEast(true);
    Run("text");
    const int x = TextCall("text") ? TextCall("text")->Args[0] : -1;
    EXPECT_EQ(HtmlDrawTextFlags(DT_LEFT, true), DT_RIGHT | DT_RTLREADING);
    EXPECT_EQ(HtmlDrawTextFlags(DT_RIGHT, true), DT_RTLREADING);
    EXPECT_EQ(HtmlDrawTextFlags(DT_CENTER, true), DT_CENTER | DT_RTLREADING);
    EXPECT_EQ(HtmlDrawTextFlags(DT_LEFT, false), DT_LEFT);
    SetSysLocaleMiddleEast(false);
    EXPECT_EQ(x, 300 - W("text")) << "read and aligned from the right";
}

} // namespace
