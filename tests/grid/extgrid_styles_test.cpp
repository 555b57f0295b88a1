// Colour styles, tones, XP schemes and the Office theme: the look properties each leaves behind.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridDraw.h"
#include "platform/Registry.h"
#include "support/GuiTest.h"
#include "support/TempDir.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace {

constexpr TColor N = clNone;
constexpr TColor C(std::uint32_t v) { return TColorOf(v); }

// The values a style leaves, as the header drawing, the cell painting and the footers read them.
struct TStyleResult {
    TQRVStyle Style;
    TGridLook Look;
    std::array<TColor, 4> Gradient; // from, to, mirror from, mirror to
    std::array<TColor, 2> Active;
    std::array<TColor, 3> Selection; // colour, to, text
    TGridSelectionStyle SelectionStyle;
    std::array<TColor, 2> Lines;     // grid, fixed
    std::array<TColor, 2> Search;    // colour, to
    std::array<TColor, 4> Sorted;
    std::array<TColor, 5> Hover;     // grid's hover from, to, mirror from, mirror to, border
    std::array<TColor, 5> Down;
};

// The grid turns system colours of the header gradient into their RGB values.
TColor Q(TColor c) { return TExtStringGrid::QRVColor(c); }

// Styles that name no hover and pressed colours leave those of a new grid (Fresh).
std::vector<TStyleResult> Expected(TExtStringGrid &Fresh)
{
    const std::array<TColor, 4> noSorted{N, N, N, N};
    const std::array<TColor, 4> aero{C(0xFCF9F2), C(0xFCF9F2), C(0xF9F1E1), C(0xF6ECD8)};
    const std::array<TColor, 5> hover0{Fresh.QRVGradientHoverFrom(), Fresh.QRVGradientHoverTo(), Fresh.QRVGradientHoverMirrorFrom(),
                                       Fresh.QRVGradientHoverMirrorTo(), Fresh.QRVGradientHoverBorder()};
    const std::array<TColor, 5> down0{Fresh.QRVGradientDownFrom(), Fresh.QRVGradientDownTo(), Fresh.QRVGradientDownMirrorFrom(),
                                      Fresh.QRVGradientDownMirrorTo(), Fresh.QRVGradientDownBorder()};
    // A change to the Office 2007 look applies the Luna style first: styles of that look that
    // name no hover and pressed colours keep Luna's.
    const std::array<TColor, 5> hoverLuna{C(0xE4E2DF), C(0xDBD3CD), C(0xDBD3CD), C(0xD2C5BC), C(0xB79F87)};
    const std::array<TColor, 5> downLuna{C(0xE4C19D), C(0xE4C19D), C(0xE4C19D), C(0xE4C19D), C(0xE4C19D)};
    const std::array<TColor, 5> hover2010{C(0x6BDFFF), C(0xAFEFFF), C(0xAFEFFF), C(0xE6FCFF), C(0x3ABFE8)};
    const std::array<TColor, 5> down2010{C(0x5BD5FF), C(0x64E0FF), C(0x64E0FF), C(0x71EFFF), C(0x308AC2)};
    const auto s4 = [](std::uint32_t c) { return std::array<TColor, 4>{C(c), C(c), C(c), C(c)}; };
    return {
        {tsOffice2003Blue, glXP, {C(0xFCE1CB), C(0xE0A57D), N, N}, {C(0x94E6FB), C(0x1595EE)}, {C(0x94E6FB), C(0x1595EE), C(0)}, ssDefault, {C(0xC0C0C0), C(0x808080)}, {C(0xFCE1CB), N}, noSorted, hover0, down0},
        {tsOffice2003Silver, glXP, {C(0xECE2E1), C(0xB39698), N, N}, {C(0x94E6FB), C(0x1595EE)}, {C(0x94E6FB), C(0x1595EE), C(0)}, ssDefault, {C(0xC0C0C0), C(0x808080)}, {C(0xECE2E1), N}, noSorted, hover0, down0},
        {tsOffice2003Olive, glXP, {C(0xCFF0EA), C(0x8CC0B1), N, N}, {C(0x94E6FB), C(0x1595EE)}, {C(0x94E6FB), C(0x1595EE), C(0)}, ssDefault, {C(0xC0C0C0), C(0x808080)}, {C(0xCFF0EA), N}, noSorted, hover0, down0},
        {tsOffice2003Classic, glXP, {C(0xFFFFFF), C(0xCCD4D8), N, N}, {C(0xD8D5D4), C(0xD8D5D4)}, {clHighlight, N, clHighlightText}, ssDefault, {C(0xC0C0C0), C(0x808080)}, {C(0xFFFFFF), N}, noSorted, hover0, down0},
        {tsOffice2007Luna, glOffice2007, {C(0xFBF9F6), C(0xE8DBD2), N, N}, {C(0x9DD8F9), C(0x5EC1F1)}, {C(0x5EC1F1), N, C(0)}, ssOffice2007, {C(0xF1EDEB), C(0xD1BBA4)}, {C(0xFBF9F6), N}, noSorted,
         {C(0xE4E2DF), C(0xDBD3CD), C(0xDBD3CD), C(0xD2C5BC), C(0xB79F87)}, {C(0xE4C19D), C(0xE4C19D), C(0xE4C19D), C(0xE4C19D), C(0xE4C19D)}},
        {tsOffice2007Obsidian, glOffice2007, {C(0xF7F7F7), C(0xDEDEDE), N, N}, {C(0x9DD8F9), C(0x5EC1F1)}, {C(0x5EC1F1), N, C(0)}, ssDefault, {C(0xE5D7D0), C(0x808080)}, {C(0xF7F7F7), N}, noSorted, hoverLuna, downLuna},
        {tsWindowsXP, glXP, {Q(clBtnFace), Q(clBtnFace), N, N}, {clBtnFace, clBtnFace}, {clHighlight, N, clHighlightText}, ssDefault, {C(0xC0C0C0), C(0x808080)}, {clBtnFace, N}, noSorted, hover0, down0},
        {tsWhidbey, glXP, {C(0xFFFFFF), Q(clBtnFace), N, N}, {C(0x94E6FB), C(0x1595EE)}, {clHighlight, N, clHighlightText}, ssDefault, {C(0xC0C0C0), C(0x808080)}, {C(0xFFFFFF), N}, noSorted, hover0, down0},
        {tsOffice2007Silver, glOffice2007, {C(0xF3F3F1), C(0xCAC9C8), N, N}, {C(0x99CCFF), C(0x699CFF)}, {C(0x95C7F5), N, C(0)}, ssDefault, {C(0xE5D7D0), C(0x808080)}, {C(0xF3F3F1), N}, noSorted, hoverLuna, downLuna},
        {tsWindowsVista, glVista, {C(0xFFFFFF), C(0xFFFFFF), C(0xFAF8F7), C(0xF4F2F1)}, {C(0xFDF8F1), C(0xFCEFD5)}, {C(0xEACAB6), N, C(0)}, ssVista, {C(0xECECF0), C(0xD4D2D1)}, {C(0xFFFFFF), C(0xF4F2F1)}, aero,
         {C(0xFFF7E3), C(0xFFF7E3), C(0xFFEDBD), C(0xFBE7B7), C(0xE3C993)}, {C(0xF9E4BC), C(0xF9E4BC), C(0xF7D68D), C(0xF5D18A), C(0xAE904F)}},
        {tsWindows7, glWin7, {C(0xFDFCFA), C(0xFAF0E6), C(0xF4E6DC), C(0xF7E9DD)}, {C(0xFCEBDC), C(0xFCDBC1)}, {C(0xEACAB6), N, C(0)}, ssWin7, {C(0xECECF0), C(0xD4D2D1)}, {C(0xFDFCFA), C(0xF7E9DD)}, aero,
         {C(0xFEFBF8), C(0xFAF2ED), C(0xF4E4D7), C(0xE8D2C1), C(0xEEE8E3)}, {C(0xF1E8DD), C(0xF1E4D8), C(0xECDBCF), C(0xEDDCCF), C(0xD5BCAA)}},
        {tsOffice2010Blue, glOffice2007, {C(0xF5E7DA), C(0xF5E7DA), C(0xF5E7DA), C(0xF5E7DA)}, {C(0x5BD5FF), C(0x71EFFF)}, {C(0xFFDBB7), N, C(0)}, ssDefault, {C(0xC0C0C0), C(0xC7B0A0)}, {C(0xF5E7DA), C(0xF5E7DA)}, s4(0xD6CEC7), hover2010, down2010},
        {tsOffice2010Silver, glOffice2007, {C(0xE8E3DF), C(0xE8E3DF), C(0xE8E3DF), C(0xE8E3DF)}, {C(0x5BD5FF), C(0x71EFFF)}, {C(0xFFDBB7), N, C(0)}, ssDefault, {C(0xC0C0C0), C(0xBAB5B1)}, {C(0xE8E3DF), C(0xE8E3DF)}, s4(0xAAAAAA), hover2010, down2010},
        {tsOffice2010Black, glOffice2007, {C(0x6A6A6A), C(0x6A6A6A), C(0x6A6A6A), C(0x6A6A6A)}, {C(0x5BD5FF), C(0x71EFFF)}, {C(0xFFDBB7), N, C(0)}, ssDefault, {C(0xC0C0C0), C(0x444444)}, {C(0x6A6A6A), C(0x6A6A6A)}, s4(0xBABABA), hover2010, down2010},
    };
}

void ExpectStyle(TExtStringGrid &g, const TStyleResult &e)
{
    EXPECT_EQ(g.Look(), e.Look);
    EXPECT_EQ(g.QRVGradientFrom(), e.Gradient[0]);
    EXPECT_EQ(g.QRVGradientTo(), e.Gradient[1]);
    EXPECT_EQ(g.QRVGradientMirrorFrom(), e.Gradient[2]);
    EXPECT_EQ(g.QRVGradientMirrorTo(), e.Gradient[3]);
    EXPECT_EQ(g.ActiveCellColor(), e.Active[0]);
    EXPECT_EQ(g.ActiveCellColorTo(), e.Active[1]);
    EXPECT_EQ(g.SelectionColor(), e.Selection[0]);
    EXPECT_EQ(g.SelectionColorTo(), e.Selection[1]);
    EXPECT_EQ(g.SelectionTextColor(), e.Selection[2]);
    EXPECT_EQ(g.SelectionStyle(), e.SelectionStyle);
    EXPECT_EQ(g.GridLineColor(), e.Lines[0]);
    EXPECT_EQ(g.GridFixedLineColor(), e.Lines[1]);
    EXPECT_EQ(g.SearchFooter()->Color(), e.Search[0]);
    EXPECT_EQ(g.SearchFooter()->ColorTo(), e.Search[1]);
    TSortSettings *s = g.SortSettings();
    EXPECT_EQ((std::array<TColor, 4>{s->HeaderColor, s->HeaderColorTo, s->HeaderMirrorColor, s->HeaderMirrorColorTo}), e.Sorted);
    EXPECT_EQ((std::array<TColor, 5>{g.QRVGradientHoverFrom(), g.QRVGradientHoverTo(), g.QRVGradientHoverMirrorFrom(),
                                     g.QRVGradientHoverMirrorTo(), g.QRVGradientHoverBorder()}),
              e.Hover);
    EXPECT_EQ((std::array<TColor, 5>{g.QRVGradientDownFrom(), g.QRVGradientDownTo(), g.QRVGradientDownMirrorFrom(),
                                     g.QRVGradientDownMirrorTo(), g.QRVGradientDownBorder()}),
              e.Down);
}

TEST(ExtGridStyles, EachStyleLeavesItsColours)
{
    TExtStringGrid fresh(nullptr);
    for (const TStyleResult &e : Expected(fresh)) {
        SCOPED_TRACE(int(e.Style));
        auto g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetComponentStyle(e.Style);
        EXPECT_EQ(g->Style(), e.Style);
        ExpectStyle(*g, e);
    }
}

TEST(ExtGridStyles, ANewGridWearsTheWindowsXPStyle)
{
    TExtStringGrid g(nullptr);
    EXPECT_EQ(g.Style(), tsWindowsXP);
    ExpectStyle(g, Expected(g)[6]);
}

TEST(ExtGridStyles, RepeatedAndFollowingStyles)
{
    TExtStringGrid g(nullptr);
    // Twice is once for the colours of the tables.
    g.SetComponentStyle(tsOffice2007Silver);
    g.SetComponentStyle(tsOffice2007Silver);
    TExtStringGrid fresh(nullptr);
    TStyleResult once = Expected(fresh)[8];
    // The control look's reset clears the hover and pressed mirror colours that the first
    // change of look had brought; the second time no change of look brings them back.
    once.Hover[2] = once.Hover[3] = once.Down[2] = once.Down[3] = N;
    ExpectStyle(g, once);

    // Office 2007 silver keeps the mirror colours another style of the same look left.
    g.SetComponentStyle(tsOffice2010Blue);
    g.SetComponentStyle(tsOffice2007Silver);
    EXPECT_EQ(g.Look(), glOffice2007);
    EXPECT_EQ(g.QRVGradientFrom(), C(0xF3F3F1));
    EXPECT_EQ(g.QRVGradientMirrorFrom(), C(0xF5E7DA));
    EXPECT_EQ(g.QRVGradientMirrorTo(), C(0xF5E7DA));
    EXPECT_EQ(g.SearchFooter()->ColorTo(), C(0xF5E7DA));

    // A style after a look of its own sets the look again.
    g.SetLook(glSoft);
    g.SetComponentStyle(tsWindowsXP);
    EXPECT_EQ(g.Look(), glXP);
}

TEST(ExtGridStyles, CustomChangesOnlyTheSelectionAndKeepsMetroScrolling)
{
    TExtStringGrid g(nullptr);
    TColorTones tones;
    tones.Background = {C(0xFFFFFF), C(0xCCCCCC), C(0x202020)};
    tones.Foreground = {C(0xF0A050), C(0xF0A050), C(0xFFFFFF)};
    tones.Selected = {C(0x80C0F0), C(0x80C0F0), C(0x000000)};
    tones.Hover = {C(0xE0E0E0), C(0xE0E0E0), C(0x000000)};
    g.SetColorTones(tones);
    EXPECT_EQ(g.ScrollType(), ssMetro);
    EXPECT_EQ(g.Look(), glClassic);
    EXPECT_TRUE(g.Flat());
    EXPECT_EQ(g.FixedColor(), C(0xF0A050));
    EXPECT_EQ(g.Color(), C(0xFFFFFF));
    EXPECT_EQ(g.Font()->Color(), C(0x202020));
    EXPECT_EQ(g.FixedFont()->Name(), DefaultUIFontName());
    EXPECT_EQ(g.SelectionColor(), C(0x80C0F0));
    EXPECT_EQ(g.GridLineColor(), C(0xE6E6E6));
    EXPECT_EQ(g.GridFixedLineColor(), ColorScalePercent(C(0xF0A050), -20));
    // Each RGB part 20 % lower.
    EXPECT_EQ(g.GridFixedLineColor(), C(0xC08040));
    EXPECT_EQ(g.BorderStyle(), bsNone);
    EXPECT_EQ(g.ControlLook()->ControlStyle(), TControlLook::csGlyph);
    EXPECT_FALSE(g.ControlLook()->CheckedGlyph()->Empty());
    EXPECT_EQ(g.SearchFooter()->Color(), C(0xF0A050));
    EXPECT_EQ(g.FloatingFooter()->Color, C(0xF0A050));
    EXPECT_EQ(g.CellNode()->NodeType(), cnFlat);
    EXPECT_EQ(g.ColorTones().Hover.BrushColor, C(0xE0E0E0));

    const TColor from = g.QRVGradientFrom();
    const TColor line = g.GridLineColor();
    g.SetComponentStyle(tsCustom);
    EXPECT_EQ(g.ScrollType(), ssMetro);
    EXPECT_EQ(g.SelectionColor(), clHighlight);
    EXPECT_EQ(g.SelectionTextColor(), clHighlightText);
    EXPECT_EQ(g.QRVGradientFrom(), from);
    EXPECT_EQ(g.GridLineColor(), line);
    EXPECT_EQ(g.Look(), glClassic);

    g.SetComponentStyle(tsOffice2003Blue);
    EXPECT_EQ(g.ScrollType(), ssNormal);
}

TEST(ExtGridStyles, SchemesWriteTheHeaderColoursOnly)
{
    struct Case {
        TXPColorScheme Scheme;
        std::array<TColor, 4> Gradient;
        std::array<TColor, 2> Search;
        std::array<TColor, 2> Active;
        bool LookGradient;
    };
    const Case cases[] = {
        {xpBlue, {C(0xFCE1CB), C(0xE0A57D), N, N}, {C(0xFCE1CB), C(0xE0A57D)}, {C(0x94E6FB), C(0x1595EE)}, true},
        {xpGreen, {C(0xCFF0EA), C(0x8CC0B1), N, N}, {C(0xCFF0EA), C(0x8CC0B1)}, {C(0x94E6FB), C(0x1595EE)}, true},
        {xpGray, {C(0xECE2E1), C(0xB39698), N, N}, {C(0xECE2E1), C(0xB39698)}, {C(0x94E6FB), C(0x1595EE)}, true},
        {vistaAero, {C(0xFFFFFF), C(0xFFFFFF), C(0xFAF8F7), C(0xF4F2F1)}, {C(0xECE2E1), C(0xB39698)}, {C(0x94E6FB), C(0x1595EE)}, true},
        {xpNone, {C(0xFFFFFF), Q(clBtnFace), N, N}, {C(0xFFFFFF), C(0xFFD9B3)}, {C(0xFFFFFF), C(0xFFD9B3)}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.Scheme));
        TExtStringGrid g(nullptr);
        g.SetLook(glSoft);
        g.SetTheme(c.Scheme);
        EXPECT_EQ(g.Look(), glSoft);
        EXPECT_EQ((std::array<TColor, 4>{g.QRVGradientFrom(), g.QRVGradientTo(), g.QRVGradientMirrorFrom(), g.QRVGradientMirrorTo()}), c.Gradient);
        EXPECT_EQ(g.SearchFooter()->Color(), c.Search[0]);
        EXPECT_EQ(g.SearchFooter()->ColorTo(), c.Search[1]);
        EXPECT_EQ(g.ActiveCellColor(), c.Active[0]);
        EXPECT_EQ(g.ActiveCellColorTo(), c.Active[1]);
        EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), c.LookGradient ? c.Gradient[0] : N);
    }
}

class ExtGridOfficeTheme : public TempDirTest {
protected:
    void SetUp() override { qputenv("FABRICOR_REGISTRY_FILE", PathOf("registry.ini").toUtf8()); }
    void TearDown() override { qunsetenv("FABRICOR_REGISTRY_FILE"); }
    static void WriteTheme(int Theme)
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\Microsoft\\Office\\14.0\\Common"), true));
        reg.WriteInteger(QStringLiteral("Theme"), Theme);
    }
};

TEST_F(ExtGridOfficeTheme, TheGridFollowsAChangedThemeOnly)
{
    TExtStringGrid g(nullptr);
    // Without Office settings there is no theme to follow.
    g.SetAutoThemeAdapt(true);
    EXPECT_EQ(g.Style(), tsWindowsXP);
    EXPECT_EQ(g.OldOfficeTheme(), otUnknown);

    WriteTheme(1);
    g.UpdateOfficeTheme();
    EXPECT_EQ(g.Style(), tsOffice2010Blue);
    EXPECT_EQ(g.OldOfficeTheme(), ot2010Blue);
    // A colour changed by hand stays while the theme stays.
    g.SetSelectionColor(C(0x123456));
    g.UpdateOfficeTheme();
    EXPECT_EQ(g.SelectionColor(), C(0x123456));

    WriteTheme(3);
    g.UpdateOfficeTheme();
    EXPECT_EQ(g.Style(), tsOffice2010Black);
    EXPECT_EQ(g.SelectionColor(), C(0xFFDBB7));

    // Not while a designer edits the grid.
    WriteTheme(2);
    g.SetDesigning(true);
    g.UpdateOfficeTheme();
    EXPECT_EQ(g.Style(), tsOffice2010Black);
    g.SetDesigning(false);
}


TEST_F(ExtGridOfficeTheme, AThemeChangeFromTheWatcherRepaintsARegisteredGrid)
{
    WriteTheme(1);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(QStringLiteral("\\Software\\Microsoft\\Office\\14.0\\Common\\General"), true));
    }
    TExtStringGrid g(nullptr);
    g.SetBounds(0, 0, 200, 100);
    g.SetBorderStyle(bsNone);
    g.SetScrollBars(ssNone);
    g.HandleNeeded();
    auto headerPixel = [&] {
        QImage img(g.Widget()->size(), QImage::Format_ARGB32);
        g.Widget()->render(&img);
        const TRect r = g.CellRect(2, 0);
        return img.pixel(r.Left + 10, r.Top + r.Height() / 2) & 0xFFFFFF;
    };
    g.SetAutoThemeAdapt(true);
    EXPECT_TRUE(g.SearchFooter()->AutoThemeAdapt());
    EXPECT_EQ(g.Style(), tsOffice2010Blue);
    const QRgb blue = headerPixel();

    // Black comes from the watcher's message alone.
    ASSERT_TRUE(GuiTest::WaitUntil([&] {
        WriteTheme(3);
        GuiTest::ProcessEvents(20);
        return g.Style() == tsOffice2010Black;
    }));
    EXPECT_EQ(blue, 0xDAE7F5u);
    EXPECT_EQ(headerPixel(), 0x6A6A6Au);

    // Switched off, the grid no longer listens.
    g.SetAutoThemeAdapt(false);
    EXPECT_FALSE(g.SearchFooter()->AutoThemeAdapt());
    WriteTheme(2);
    GuiTest::ProcessEvents(300);
    EXPECT_EQ(g.Style(), tsOffice2010Black);
}

} // namespace
