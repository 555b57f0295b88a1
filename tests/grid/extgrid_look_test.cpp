// The grid's look presets, the address display switches and the metro scroll indicators: the
// colours each look sets, what it leaves alone while loading or as glCustom, the invalidations
// the switches cause and the indicators made once.
#include "grid/core/ExtGrid.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what the look hands to the style, scroll and footer code and counts invalidations.
class TLookGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    void Invalidate() override
    {
        ++Invalidations;
        TExtStringGrid::Invalidate();
    }
    void SetStyle(TQRVStyle Style) override { Styles.push_back(Style); }
    void SetScrollType(TScrollType Value) override
    {
        ScrollTypes.push_back(Value);
        TExtStringGrid::SetScrollType(Value);
    }
    void UpdateFooter() override { ++FooterUpdates; }
    int Invalidations = 0;
    int FooterUpdates = 0;
    std::vector<TQRVStyle> Styles;
    std::vector<TScrollType> ScrollTypes;
};

constexpr TColor Own = TColorOf(0x123456u);

TColor Resolved(TColor C) { return TColorOf(ColorToRGB(C)); }

TEST(GridLook, XPSetsItsColoursGradientsAndLines)
{
    TLookGrid g(nullptr);
    g.SetLook(glStandard);
    g.ScrollTypes.clear();
    g.FooterUpdates = 0;
    g.SetBorderColor(Own);
    g.SetLook(glXP);

    const TControlLook *cl = g.ControlLook();
    struct {
        const char *What;
        TColor Got, Want;
    } const cases[] = {
        {"active cell", g.ActiveCellColor(), TColorOf(0xEACAB6u)},
        {"active cell to", g.ActiveCellColorTo(), clNone},
        {"selection", g.SelectionColor(), TColorOf(0xEACAB6u)},
        {"selection to", g.SelectionColorTo(), clNone},
        {"selection text", g.SelectionTextColor(), TColorOf(0)},
        {"fixed gradient from", cl->FixedGradientFrom(), TColorOf(0xFFFFFFu)},
        {"fixed gradient to", cl->FixedGradientTo(), clBtnFace},
        {"header from", g.QRVGradientFrom(), TColorOf(0xFFFFFFu)},
        {"header to", g.QRVGradientTo(), Resolved(clBtnFace)},
        {"header mirror from", g.QRVGradientMirrorFrom(), clNone},
        {"header mirror to", g.QRVGradientMirrorTo(), clNone},
        {"hover from", g.QRVGradientHoverFrom(), TColorOf(0xCFD0D1u)},
        {"hover to", g.QRVGradientHoverTo(), TColorOf(0xBEC6C8u)},
        {"hover mirror from", g.QRVGradientHoverMirrorFrom(), TColorOf(0xBEC6C8u)},
        {"hover mirror to", g.QRVGradientHoverMirrorTo(), TColorOf(0xABBCBFu)},
        {"pressed from", g.QRVGradientDownFrom(), TColorOf(0x868788u)},
        {"pressed to", g.QRVGradientDownTo(), TColorOf(0x737C7Eu)},
        {"pressed mirror from", g.QRVGradientDownMirrorFrom(), TColorOf(0x737C7Eu)},
        {"pressed mirror to", g.QRVGradientDownMirrorTo(), TColorOf(0x627376u)},
        {"grid lines", g.GridLineColor(), TColorOf(0xC0C0C0u)},
        {"fixed grid lines", g.GridFixedLineColor(), TColorOf(0x808080u)},
        {"border", g.BorderColor(), TColorOf(0xB99D7Fu)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.Got, c.Want) << c.What;
    EXPECT_EQ(g.SelectionStyle(), ssDefault);
    EXPECT_EQ(g.BorderStyle(), bsSingle);
    EXPECT_EQ(g.ScrollTypes, std::vector<TScrollType>{ssNormal});
    EXPECT_EQ(g.FooterUpdates, 1);
    EXPECT_TRUE(g.Styles.empty());
}

TEST(GridLook, EachLookSetsItsSelectionAndHeaderColours)
{
    struct Case {
        TGridLook Look;
        TColor Active, Selection, SelectionText, HeaderFrom, HeaderTo;
        TGridSelectionStyle Style;
        std::vector<TQRVStyle> Styles;
    };
    const TColor xpBlue = TColorOf(0xEACAB6u), white = TColorOf(0xFFFFFFu), gray = TColorOf(0x808080u);
    // The styled looks leave the colours as they were (Own) and hand a style on.
    const Case cases[] = {
        {glStandard, gray, clHighlight, clHighlightText, Resolved(clBtnFace), clNone, ssDefault, {}},
        {glSoft, gray, clHighlight, clHighlightText, Resolved(clBtnFace), clNone, ssDefault, {}},
        {glClassic, gray, clHighlight, clHighlightText, Resolved(clBtnFace), clNone, ssDefault, {}},
        {glListView, gray, clHighlight, clHighlightText, white, Resolved(clBtnFace), ssDefault, {}},
        {glQRV, xpBlue, xpBlue, TColorOf(0), white, TColorOf(0xC0C0C0u), ssDefault, {}},
        {glVista, Own, Own, Own, clNone, clNone, ssVista, {tsWindowsVista}},
        {glWin7, Own, Own, Own, clNone, clNone, ssWin7, {tsWindows7}},
        {glOffice2007, Own, Own, Own, clNone, clNone, ssOffice2007, {tsOffice2007Luna}},
    };
    for (const Case &c : cases) {
        UnicodeString name;
        TExtStringGrid::GetLookName(c.Look, name);
        SCOPED_TRACE(name.toStdString());
        TLookGrid g(nullptr);
        g.SetLook(glCustom);
        g.SetActiveCellColor(Own);
        g.SetSelectionColor(Own);
        g.SetSelectionTextColor(Own);
        g.SetFixedColor(Own);
        g.SetLook(c.Look);
        EXPECT_EQ(g.ActiveCellColor(), c.Active);
        EXPECT_EQ(g.SelectionColor(), c.Selection);
        EXPECT_EQ(g.SelectionTextColor(), c.SelectionText);
        EXPECT_EQ(g.QRVGradientFrom(), c.HeaderFrom);
        EXPECT_EQ(g.QRVGradientTo(), c.HeaderTo);
        EXPECT_EQ(g.SelectionStyle(), c.Style);
        EXPECT_EQ(g.Styles, c.Styles);
        // Only the looks of the classic family paint their headers in the button face.
        const bool classic = c.Look == glStandard || c.Look == glSoft || c.Look == glClassic;
        EXPECT_EQ(g.FixedColor(), classic ? clBtnFace : Own);
    }
}

TEST(GridLook, TheSameLookAgainChangesNothing)
{
    TLookGrid g(nullptr);
    g.SetLook(glStandard);
    g.SetSelectionColor(Own);
    g.Invalidations = 0;
    g.ScrollTypes.clear();
    g.SetLook(glStandard);
    EXPECT_EQ(g.Invalidations, 0);
    EXPECT_TRUE(g.ScrollTypes.empty());
    EXPECT_EQ(g.SelectionColor(), Own);
}

TEST(GridLook, WhileLoadingOnlyTheGradientsAreReset)
{
    TLookGrid g(nullptr);
    g.SetLook(glStandard);
    g.SetSelectionColor(Own);
    g.SetQRVGradientFrom(Own);
    g.SetQRVGradientMirrorTo(Own);
    g.FooterUpdates = 0;
    g.ScrollTypes.clear();
    g.BeginLoading();
    g.SetLook(glXP);
    EXPECT_EQ(g.QRVGradientFrom(), clNone);
    EXPECT_EQ(g.QRVGradientMirrorTo(), clNone);
    EXPECT_EQ(g.ControlLook()->FixedGradientFrom(), clNone);
    EXPECT_EQ(g.SelectionColor(), Own);
    EXPECT_EQ(g.ScrollTypes, std::vector<TScrollType>{ssNormal});
    EXPECT_EQ(g.FooterUpdates, 0);
    g.EndLoading();
}

TEST(GridLook, CustomKeepsItsColoursButNotItsScrollTypeOrBorder)
{
    TLookGrid g(nullptr);
    g.SetLook(glXP);
    g.SetSelectionColor(Own);
    g.SetQRVGradientFrom(Own);
    g.SetSelectionStyle(ssWin7);
    g.SetBorderStyle(bsNone);
    g.ScrollTypes.clear();
    g.SetLook(glCustom);
    EXPECT_EQ(g.Look(), glCustom);
    EXPECT_EQ(g.SelectionColor(), Own);
    EXPECT_EQ(g.QRVGradientFrom(), Own);
    EXPECT_EQ(g.SelectionStyle(), ssWin7);
    EXPECT_EQ(g.ScrollTypes, std::vector<TScrollType>{ssNormal});
    EXPECT_EQ(g.BorderStyle(), bsSingle);
    EXPECT_EQ(g.BorderColor(), TColorOf(0xB99D7Fu));
}

TEST(GridLook, NamesAndCaptions)
{
    struct {
        TGridLook Look;
        const char *Name, *Caption;
    } const cases[] = {
        {glStandard, "glStandard", "Standard"},     {glSoft, "glSoft", "Soft"},
        {glClassic, "glClassic", "Classic"},        {glQRV, "glQRV", "QRV"},
        {glXP, "glXP", "Windows XP"},               {glListView, "glListView", "ListView"},
        {glVista, "glVista", "Windows Vista"},      {glWin7, "glWin7", "Windows 7"},
        {glOffice2007, "glOffice2007", "Office2007"}, {glCustom, "kept", "kept"},
    };
    for (const auto &c : cases) {
        UnicodeString name = "kept", caption = "kept";
        TExtStringGrid::GetLookName(c.Look, name);
        TExtStringGrid::GetLookCaption(c.Look, caption);
        EXPECT_EQ(name, c.Name);
        EXPECT_EQ(caption, c.Caption);
    }
}

TEST(GridLook, AddressSwitchesInvalidateOnlyWhenShown)
{
    TLookGrid g(nullptr);
    auto count = [&](auto change) {
        g.Invalidations = 0;
        change();
        return g.Invalidations;
    };
    EXPECT_EQ(count([&] { g.SetURLColor(clRed); }), 0);
    EXPECT_EQ(count([&] { g.SetURLFull(true); }), 0);
    EXPECT_EQ(count([&] { g.SetURLShow(true); }), 1);
    EXPECT_EQ(count([&] { g.SetURLShow(true); }), 0);
    EXPECT_EQ(count([&] { g.SetURLColor(clBlue); }), 1);
    EXPECT_EQ(count([&] { g.SetURLColor(clBlue); }), 0);
    // The full form repaints while shown even when it is already set.
    EXPECT_EQ(count([&] { g.SetURLFull(true); }), 1);
    EXPECT_EQ(count([&] { g.SetURLShowInText(true); }), 1);
    EXPECT_EQ(g.URLColor(), clBlue);
    EXPECT_TRUE(g.URLShowInText());
}

TEST(GridLook, ScrollIndicatorsAreMadeOnce)
{
    TExtStringGrid g(nullptr);
    g.CreateScrollControls();
    TScrollControl *v = g.VertScrollControl(), *h = g.HorzScrollControl();
    ASSERT_NE(v, nullptr);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(v->Direction(), sdVertical);
    EXPECT_EQ(v->Width(), 6);
    EXPECT_EQ(v->Align(), alRight);
    EXPECT_EQ(h->Direction(), sdHorizontal);
    EXPECT_EQ(h->Height(), 6);
    EXPECT_EQ(h->Align(), alBottom);
    for (TScrollControl *c : {v, h}) {
        EXPECT_EQ(c->Parent(), &g);
        EXPECT_EQ(c->Owner(), &g);
        EXPECT_TRUE(c->DoubleBuffered());
        EXPECT_TRUE(c->Visible());
    }
    const int owned = g.ComponentCount();
    g.CreateScrollControls();
    EXPECT_EQ(g.VertScrollControl(), v);
    EXPECT_EQ(g.HorzScrollControl(), h);
    EXPECT_EQ(g.ComponentCount(), owned);
}

} // namespace
