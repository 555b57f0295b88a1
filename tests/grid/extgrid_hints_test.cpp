// Cell hints: the rule editors' header hints through OnGridHint with real pointer rests, the cell
// text, merged ranges, comments, large texts, the footer row, and the grid's HTML hint window.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/MiniHTML.h"
#include "platform/MultiMon.h"
#include "platform/WinGdi.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct THintCall {
    int Row;
    int Col;
    UnicodeString Start;
};

// A grid set up as a rule editor's: a header row, hints from a per-column list, the cell texts
// as the starting hint, and one hidden column left of the hinted ones.
class ExtGridHints : public ::testing::Test {
protected:
    void SetUp() override
    {
        FPause = Application->HintPause();
        Application->SetHintPause(30);
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(50, 50, 600, 300);
        G = new TExtStringGrid(Form.get());
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 560, 240);
        G->SetColCount(6);
        G->SetRowCount(6);
        G->SetShowHint(true);
        G->SetHintShowCells(true);
        G->SetHintColor(TColorOf(0x00E0FFFFu));
        for (int c = 0; c < 6; ++c)
            G->SetCells(c, 0, QStringLiteral("H%1").arg(c));
        G->SetCells(3, 2, QStringLiteral("a <b>bold</b> value"));
        G->HideColumn(1);
        G->OnGridHint = [this](TObject *, int ARow, int ACol, UnicodeString &HintStr) {
            Calls.push_back({ARow, ACol, HintStr});
            if (ARow == 0 && ACol < int(HeaderHints.size()))
                HintStr = HeaderHints[ACol];
        };
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        GuiTest::ResetHints();
        Form.reset();
        Application->SetHintPause(FPause);
        ResetScreenLayout();
    }
    TPoint Centre(int DisplCol, int Row) const
    {
        const TRect r = G->CellRect(DisplCol, Row);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    // Asks the grid directly, as the platform does, for the hint at a client point.
    THintInfo Ask(TPoint At, const UnicodeString &Own = {})
    {
        THintInfo i;
        i.HintControl = G;
        i.CursorPos = At;
        i.HintMaxWidth = 777;
        i.HintStr = Own;
        i.HintWindowClass = HintWindowClass;
        G->GetCellHintInfo(i.HintStr, i);
        return i;
    }

    std::unique_ptr<TForm> Form;
    TExtStringGrid *G = nullptr;
    std::vector<UnicodeString> HeaderHints{QStringLiteral("row number"), QStringLiteral("hidden"), QStringLiteral("Address of the slave"),
                                           QString(), QStringLiteral("Access <b>mode</b>")};
    std::vector<THintCall> Calls;
    int FPause = 0;
};

TEST_F(ExtGridHints, RestingOnAHeaderCellShowsTheColumnsHint)
{
    // Display column 2 holds real column 3 (column 1 is hidden); the event gets the display one.
    const TPoint at = Centre(2, 0);
    GuiTest::TShownHint h = GuiTest::RestPointer(G, at);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Row, 0);
    EXPECT_EQ(Calls[0].Col, 2);
    EXPECT_TRUE(Calls[0].Start.isEmpty()); // a fixed cell starts from the grid's own hint
    ASSERT_TRUE(h.Visible);
    EXPECT_EQ(h.Text, QStringLiteral("Address of the slave"));
    EXPECT_EQ(h.ClassName, QStringLiteral("THintWindow"));
    EXPECT_EQ(h.Color, TColorOf(0x00E0FFFFu));
    EXPECT_EQ(h.Rect.TopLeft(), G->ClientToScreen({at.X, G->CellRect(2, 0).Bottom + 6}));

    // Resting again on the same cell keeps the hint and asks nothing.
    GuiTest::RestPointer(G, {at.X + 2, at.Y});
    EXPECT_EQ(Calls.size(), 1u);

    // The next header has an empty hint: the first one goes, nothing shows.
    h = GuiTest::RestPointer(G, Centre(3, 0));
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[1].Col, 3);
    EXPECT_FALSE(h.Visible);

    // And the one after it shows its own, with mini-HTML in the grid's hint window.
    h = GuiTest::RestPointer(G, Centre(4, 0));
    ASSERT_EQ(Calls.size(), 3u);
    EXPECT_EQ(Calls[2].Col, 4);
    EXPECT_TRUE(h.Visible);
    EXPECT_EQ(h.Text, QStringLiteral("Access <b>mode</b>"));
    EXPECT_EQ(h.ClassName, QStringLiteral("THTMLHintWindow"));
    EXPECT_EQ(h.Color, TColorOf(0x00E0FFFFu));
}

TEST_F(ExtGridHints, ANormalCellStartsFromItsStrippedText)
{
    const TPoint at = Centre(2, 2);
    GuiTest::TShownHint h = GuiTest::RestPointer(G, at);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Row, 2);
    EXPECT_EQ(Calls[0].Col, 2);
    EXPECT_EQ(Calls[0].Start, QStringLiteral("a bold value"));
    ASSERT_TRUE(h.Visible);
    EXPECT_EQ(h.Text, QStringLiteral("a bold value"));
    EXPECT_EQ(h.Rect.Top, G->ClientToScreen({0, G->CellRect(2, 2).Top}).Y);

    // With HTMLHint the tags stay and the hint shows in the HTML window.
    G->SetHTMLHint(true);
    GuiTest::ResetHints();
    h = GuiTest::RestPointer(G, {at.X + 1, at.Y});
    EXPECT_EQ(h.Text, QStringLiteral("a <b>bold</b> value"));
    EXPECT_EQ(h.ClassName, QStringLiteral("THTMLHintWindow"));
    // Unless the grid keeps to the platform's window.
    G->SetUseInternalHintClass(false);
    GuiTest::ResetHints();
    h = GuiTest::RestPointer(G, {at.X + 2, at.Y});
    EXPECT_EQ(h.ClassName, QStringLiteral("THintWindow"));
}

TEST_F(ExtGridHints, AMergedRangeHasOneHint)
{
    G->SetCells(2, 3, QStringLiteral("merged"));
    G->MergeCells(2, 3, 3, 2); // display columns 2..4, rows 3..4 (real column 2 is display 1)
    int bc = -1, br = -1;
    G->ResolveBaseCell(3, 4, bc, br);
    const TPoint inside = Centre(3, 4);
    GuiTest::TShownHint h = GuiTest::RestPointer(G, inside);
    ASSERT_EQ(Calls.size(), 1u);
    EXPECT_EQ(Calls[0].Col, bc);
    EXPECT_EQ(Calls[0].Row, br);
    EXPECT_TRUE(h.Visible);
    // Another cell of the range keeps the hint.
    GuiTest::RestPointer(G, Centre(bc, br));
    EXPECT_EQ(Calls.size(), 1u);
    EXPECT_TRUE(GuiTest::ShownHint().Visible);
    // Leaving the range asks again.
    GuiTest::RestPointer(G, Centre(2, 2));
    EXPECT_EQ(Calls.size(), 2u);
}

TEST_F(ExtGridHints, PlacementByKindOfCell)
{
    G->SetHintShowCells(false);
    const TRect cc = G->CellRect(2, 2);
    G->AddComment(3, 2, QStringLiteral("a comment"));
    THintInfo i = Ask(Centre(2, 2));
    EXPECT_EQ(i.HintStr, QStringLiteral("a comment"));
    EXPECT_EQ(i.HintPos, G->ClientToScreen({cc.Right, cc.Top}));
    EXPECT_EQ(i.HintColor, TColorOf(0x00E0FFFFu));
    EXPECT_EQ(i.HintMaxWidth, 777); // ControlLook.HintMaxWidth 0 leaves it

    // A text larger than its cell shows whole over the cell's top-left corner.
    G->SetHintShowLargeText(true);
    const UnicodeString longText = QStringLiteral("a <i>text</i> far too long for the width of one cell of this grid");
    G->SetCells(4, 3, longText);
    const TRect lc = G->CellRect(3, 3);
    const TPoint at = Centre(3, 3);
    i = Ask(at);
    EXPECT_EQ(i.HintStr, StripHtmlTags(longText));
    EXPECT_EQ(i.HintPos, G->ClientToScreen(lc.TopLeft()));
    G->SetHTMLHint(true);
    i = Ask(at);
    EXPECT_EQ(i.HintStr, longText);
    G->SetHintShowLargeTextPos(hpMouse);
    i = Ask(at);
    EXPECT_EQ(i.HintPos, G->ClientToScreen({at.X, lc.Bottom + 6}));

    G->ControlLook()->SetHintMaxWidth(150);
    EXPECT_EQ(Ask(at).HintMaxWidth, 150);

    // Outside the cells only the colour changes.
    Calls.clear();
    i = Ask({555, 235}, QStringLiteral("own"));
    EXPECT_EQ(i.HintStr, QStringLiteral("own"));
    EXPECT_EQ(i.HintColor, TColorOf(0x00E0FFFFu));
    EXPECT_TRUE(Calls.empty());
}

TEST_F(ExtGridHints, TheFloatingFootersRowHasNoCellHint)
{
    const int last = G->RowCount() - 1;
    Ask(Centre(2, last));
    EXPECT_EQ(Calls.size(), 1u);
    G->FloatingFooter()->SetVisible(true);
    Ask(Centre(2, last));
    Ask(Centre(2, last - 1));
    ASSERT_EQ(Calls.size(), 2u);
    EXPECT_EQ(Calls[1].Row, last - 1);
}

TEST_F(ExtGridHints, UseHTMLHintsMakesItTheProgramsHintWindow)
{
    G->SetUseHTMLHints(true);
    EXPECT_EQ(HintWindowClass, &HintWindowClassOf<THTMLHintWindow>);
    G->SetUseHTMLHints(false);
    EXPECT_EQ(HintWindowClass, &HintWindowClassOf<THintWindow>);
}

// ---- the grid's hint window ----

class HtmlHintWindow : public ExtGridHints {
protected:
    THTMLHintWindow *W() { return G->ScrollHintWindow(); }
};

TEST_F(HtmlHintWindow, SizesItselfToTheMiniHtmlText)
{
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Font()->Assign(W()->Font());
    const int plain = bmp.Canvas()->TextWidth(QStringLiteral("cw="));
    const int h = bmp.Canvas()->TextHeight(QStringLiteral("cw="));
    bmp.Canvas()->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
    const int bold = bmp.Canvas()->TextWidth(QStringLiteral("120"));

    W()->ActivateHint(TRect(100, 100, 300, 200), QStringLiteral("cw=<b>120</b>"));
    EXPECT_TRUE(W()->Showing());
    EXPECT_EQ(W()->TextWidth(), plain + bold);
    EXPECT_EQ(W()->BoundsRect(), TRect(100, 100, 100 + plain + bold + 16, 100 + h + 4));

    // The number is drawn bold: its strokes are wider than those of the plain digits.
    auto inkOf = [&](const UnicodeString &hint) {
        W()->ActivateHint(TRect(100, 100, 300, 200), hint);
        GuiTest::ProcessEvents();
        int ink = 0;
        for (int y = 0; y < W()->Height(); ++y)
            for (int x = 4 + plain; x < W()->Width() - 4; ++x)
                if (GuiTest::PixelAt(W(), x, y) == 0)
                    ++ink;
        return ink;
    };
    EXPECT_GT(inkOf(QStringLiteral("cw=<b>120</b>")), inkOf(QStringLiteral("cw=120")));
    W()->ReleaseHandle();
    EXPECT_FALSE(W()->Showing());
}

TEST_F(HtmlHintWindow, StaysInsideTheMonitorAndMeasuresWideText)
{
    SetScreenLayout({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 570)}});
    W()->ActivateHint(TRect(760, 100, 900, 200), QStringLiteral("a hint near the edge"));
    EXPECT_EQ(W()->BoundsRect().Right, 798);
    EXPECT_EQ(W()->BoundsRect().Width(), W()->TextWidth() + 16);
    W()->ActivateHint(TRect(100, 590, 200, 700), QStringLiteral("low"));
    EXPECT_EQ(W()->BoundsRect().Bottom, 598);
    EXPECT_EQ(W()->BoundsRect().Height(), W()->TextHeight() + 4);

    // A request from the grid names the grid's font for wide-encoded hints.
    G->Font()->SetName(QStringLiteral("DejaVu Serif"));
    Ask(Centre(2, 2));
    const UnicodeString wide = EncodeWideCellText(QStringLiteral("Ωmega wide"));
    ASSERT_EQ(CellTextKind(wide, true), 5);
    W()->ActivateHint(TRect(10, 10, 20, 20), wide);
    TBitmap bmp;
    bmp.SetSize(10, 10);
    bmp.Canvas()->Font()->Assign(W()->Font());
    bmp.Canvas()->Font()->SetName(QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(W()->TextWidth(), bmp.Canvas()->TextWidth(QStringLiteral("Ωmega wide")));
    EXPECT_EQ(W()->BoundsRect().Width(), W()->TextWidth() + 8);

    EXPECT_EQ(W()->CalcHintRect(200, QString(), nullptr), TRect(0, 0, 0, 0));
    const TRect sizing = W()->CalcHintRect(100, QStringLiteral("cw=<b>120</b>"), nullptr);
    EXPECT_EQ(sizing.TopLeft(), TPoint(0, 0));
    EXPECT_GT(sizing.Width(), 0);
    W()->ReleaseHandle();
}

TEST_F(HtmlHintWindow, ACellHintHandsTheGridsPicturesToTheWindow)
{
    TPictureContainer pics(nullptr);
    G->SetPictureContainer(&pics);
    G->SetHTMLHint(true);
    GuiTest::TShownHint h = GuiTest::RestPointer(G, Centre(2, 2));
    ASSERT_EQ(h.ClassName, QStringLiteral("THTMLHintWindow"));
    EXPECT_EQ(static_cast<THTMLHintWindow *>(h.Window)->PictureContainer(), &pics);
    GuiTest::ResetHints();
    G->SetPictureContainer(nullptr);
}

} // namespace
