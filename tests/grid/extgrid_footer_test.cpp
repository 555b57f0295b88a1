// The floating footer: its settings, the template preview, the painted strip, and its hints and
// clicks.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(ExtGridFooterSettings, VisibleAndStyleDecideTheFixedFootersAndTheHiddenLastRow)
{
    struct Case {
        bool Visible;
        TFooterStyle Style;
        int FixedFooters;
        bool HidesLastRow;
    } cases[] = {
        {false, fsFixedLastRow, 0, false},  {true, fsFixedLastRow, 1, true},   {true, fsColumnPreview, 0, false},
        {true, fsCustomPreview, 0, false}, {true, fsCustomPaint, 0, false}, {false, fsColumnPreview, 0, false},
    };
    for (const Case &c : cases) {
        TExtStringGrid G(nullptr);
        G.SetRowCount(6);
        G.FloatingFooter()->FooterStyle = c.Style;
        G.FloatingFooter()->SetVisible(c.Visible);
        SCOPED_TRACE(testing::Message() << c.Visible << " " << int(c.Style));
        EXPECT_EQ(G.FixedFooters(), c.FixedFooters);
        EXPECT_EQ(G.HideLastRow(), c.HidesLastRow);
        EXPECT_EQ(G.FooterPanel()->Visible(), c.Visible);
    }

    // A style change hides the last row but leaves FixedFooters until Visible is set again.
    TExtStringGrid G(nullptr);
    G.SetRowCount(6);
    G.FloatingFooter()->SetFooterStyle(fsColumnPreview);
    G.FloatingFooter()->SetVisible(true);
    G.FloatingFooter()->SetFooterStyle(fsFixedLastRow);
    EXPECT_TRUE(G.HideLastRow());
    EXPECT_EQ(G.FixedFooters(), 0);
    G.FloatingFooter()->SetVisible(true);
    EXPECT_EQ(G.FixedFooters(), 1);

    // Hiding a footer that does not show leaves the application's own footer rows.
    TExtStringGrid H(nullptr);
    H.SetRowCount(6);
    H.SetFixedFooters(2);
    H.FloatingFooter()->SetVisible(false);
    EXPECT_EQ(H.FixedFooters(), 2);
}

TEST(ExtGridFooterSettings, HeightAndColumnCalculations)
{
    TExtStringGrid G(nullptr);
    G.SetRowCount(6);
    G.SetDefaultRowHeight(30);
    EXPECT_EQ(G.FloatingFooter()->Height(), 30);
    G.FloatingFooter()->SetVisible(true);
    EXPECT_EQ(G.FooterPanel()->Height(), 29);
    G.FloatingFooter()->SetHeight(40);
    EXPECT_EQ(G.FooterPanel()->Height(), 39);
    G.FloatingFooter()->SetHeight(0); // ignored by the panel
    EXPECT_EQ(G.FooterPanel()->Height(), 39);
    G.FloatingFooter()->SetVisible(false);
    EXPECT_EQ(G.FooterPanel()->Height(), 0);

    EXPECT_EQ(G.FloatingFooter()->GetColumnCalc(2), acNONE);
    EXPECT_FALSE(G.CellHasProperties(2, 5)); // asking creates nothing
    G.FloatingFooter()->SetColumnCalc(2, acSUM);
    EXPECT_EQ(G.FloatingFooter()->GetColumnCalc(2), acSUM);

    TExtStringGrid H(nullptr);
    H.SetRowCount(6);
    G.FloatingFooter()->SetColumn(3);
    G.FloatingFooter()->SetCustomTemplate(QStringLiteral("t"));
    G.FloatingFooter()->SetVisible(true);
    H.FloatingFooter()->Assign(G.FloatingFooter());
    EXPECT_TRUE(H.FloatingFooter()->Visible());
    EXPECT_EQ(H.FixedFooters(), 1);
    EXPECT_EQ(H.FloatingFooter()->Column(), 3);
    EXPECT_EQ(H.FloatingFooter()->CustomTemplate(), QStringLiteral("t"));
}

TEST(ExtGridFooterTemplate, PlaceholdersTakeTheCurrentRowsCells)
{
    auto cell = [](int ACol) { return QStringLiteral("[%1]").arg(ACol); };
    struct Case {
        const char *Template, *Expected;
    } cases[] = {
        {"Name: <#1>", "Name: [1]"},
        {"Name: <#x>", "Name: "},          // no number: dropped
        {"<#0>-<#2>!", "[0]-[2]!"},
        {"plain", "plain"},
        {"", ""},
        {"<#99> and <#-1>", " and "},      // no such column: dropped
        {"a <#1", "a <#1"},                // never closed: shown as written
        {"<#1> <#2", "[1] <#2"},
        {"<#>", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TFloatingFooter::ExpandTemplate(QString::fromLatin1(c.Template), 3, cell),
                  QString::fromLatin1(c.Expected))
            << c.Template;
}

class FooterGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 700, 400);
        G = new TExtStringGrid(Form.get());
        G->SetParent(Form.get());
        G->SetBounds(0, 0, 600, 300);
        G->SetColCount(4);
        G->SetRowCount(10);
        for (int c = 0; c < 4; ++c)
            G->SetColWidths(c, 80);
        G->SetOptions(G->Options() + TGridOptions{goFixedVertLine, goFixedHorzLine});
        G->FloatingFooter()->SetVisible(true);
        Form->Show();
        GuiTest::ProcessEvents(30);
    }
    void TearDown() override { Form.reset(); }
    std::unique_ptr<TForm> Form;
    TExtStringGrid *G = nullptr;
};

TEST_F(FooterGrid, TheFixedLastRowLinesUpWithTheColumnsAndPaintsAsFixedCells)
{
    G->SetFixedColor(TColorOf(0x00E0C0A0u));
    G->FloatingFooter()->SetColor(TColorOf(0x0000FF00u));
    GuiTest::ProcessEvents(20);
    TFooterPanel *p = G->FooterPanel();
    ASSERT_GT(p->Height(), 5);
    const int y = p->Height() / 2;
    const TRect header = G->CellRect(1, 0);
    const int hy = (header.Top + header.Bottom) / 2;
    // A grey separator at the end of each normal column, the cells between painted as the
    // header cells above them are.
    for (int end : {160, 240, 320}) {
        EXPECT_EQ(GuiTest::PixelAt(p, end - 1, y), ColorToRGB(TColorOf(0x808080u))) << end;
        EXPECT_EQ(GuiTest::PixelAt(p, end - 40, y), GuiTest::PixelAt(G, end - 40, hy)) << end;
        EXPECT_NE(GuiTest::PixelAt(p, end - 40, y), ColorToRGB(TColorOf(0x0000FF00u))) << end;
    }
    // Right of the columns the grid's colour.
    EXPECT_EQ(GuiTest::PixelAt(p, 400, y), ColorToRGB(G->Color()));
}

TEST_F(FooterGrid, TheTopLineEndsWhereTheFooterEnds)
{
    G->FloatingFooter()->SetBorderColor(clRed);
    GuiTest::ProcessEvents(20);
    TFooterPanel *p = G->FooterPanel();
    const int W = p->FooterWidth();
    ASSERT_EQ(W, 320);
    EXPECT_EQ(GuiTest::PixelAt(p, W - 5, 0), ColorToRGB(clRed));
    EXPECT_NE(GuiTest::PixelAt(p, W + 20, 0), ColorToRGB(clRed));

    G->FloatingFooter()->SetFooterStyle(fsCustomPaint);
    GuiTest::ProcessEvents(20);
    EXPECT_EQ(GuiTest::PixelAt(p, p->ClientWidth() - 3, 0), ColorToRGB(clRed));

    G->FloatingFooter()->SetBorderColor(clNone);
    G->FloatingFooter()->SetFooterStyle(fsFixedLastRow);
    GuiTest::ProcessEvents(20);
    EXPECT_NE(GuiTest::PixelAt(p, 100, 0), ColorToRGB(clRed));
}

TEST_F(FooterGrid, HintsAndClicksNameTheFooterColumn)
{
    TFooterPanel *p = G->FooterPanel();
    EXPECT_EQ(p->FooterColumnAt(10), 0);
    EXPECT_EQ(p->FooterColumnAt(100), 1);
    EXPECT_EQ(p->FooterColumnAt(319), 3);
    EXPECT_EQ(p->FooterColumnAt(330), -1);

    std::vector<std::string> events;
    G->OnGridHint = [&](TObject *, int R, int C, UnicodeString &Hint) {
        events.push_back("hint " + std::to_string(R) + "," + std::to_string(C));
        Hint = QStringLiteral("footer %1").arg(C);
    };
    G->OnClick = [&](TObject *) { events.push_back("click"); };
    G->OnClickCell = [&](TObject *, int R, int C) {
        events.push_back("cell " + std::to_string(R) + "," + std::to_string(C));
    };
    G->FloatingFooter()->SetShowHint(true);
    const GuiTest::TShownHint h = GuiTest::RestPointer(p, TPoint(100, p->Height() / 2));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0], "hint 9,1");
    EXPECT_TRUE(h.Visible);
    EXPECT_EQ(h.Text, QStringLiteral("footer 1"));
    EXPECT_EQ(p->LastHintX(), 1);
    GuiTest::ResetHints();

    events.clear();
    GuiTest::Click(p, TPoint(250, p->Height() / 2));
    GuiTest::ProcessEvents(10);
    EXPECT_EQ(events, (std::vector<std::string>{"click", "cell 9,3"}));
}

} // namespace
