// Search and replace in the string grid: the match options, both scan orders and directions,
// going on past the end, Replace with and without case, and the quick lookup in the sort column.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class FindTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(3);
        g->SetRowCount(3);
    }
    std::unique_ptr<TExtStringGrid> g;
};

TPoint P(int X, int Y) { return TPoint(X, Y); }

TEST_F(FindTest, MatchOptionsForAb)
{
    g->SetCells(1, 1, "xAbx");
    g->SetCells(2, 1, "ab");
    g->SetCells(1, 2, "AB");
    g->SetCells(2, 2, "zz");
    struct Case {
        TFindParams params;
        std::vector<TPoint> found; // in the default order: column by column
    };
    const std::vector<Case> cases = {
        {{}, {P(1, 1), P(1, 2), P(2, 1)}},
        {TFindParams{fnMatchStart}, {P(1, 2), P(2, 1)}},
        {TFindParams{fnMatchFull}, {P(1, 2), P(2, 1)}},
        {TFindParams{fnMatchFull, fnMatchCase}, {P(2, 1)}},
        {TFindParams{fnMatchCase}, {P(2, 1)}},
        {TFindParams{fnMatchRegular}, {P(1, 2), P(2, 1)}},
    };
    for (const Case &c : cases) {
        std::vector<TPoint> got;
        for (TPoint p = g->FindFirst("ab", c.params); p.X >= 0; p = g->FindNext())
            got.push_back(p);
        EXPECT_EQ(got, c.found);
        EXPECT_FALSE(g->FindBusy()) << "a search that ends without a match";
    }
}

// A find that goes to a row under a contracted node expands that node first.
TEST_F(FindTest, GoingToARowUnderAContractedNodeExpandsIt)
{
    for (bool disjunct : {false, true}) {
        SCOPED_TRACE(disjunct ? "disjunct row selection" : "current cell");
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(3);
        g->SetRowCount(8);
        g->SetCells(1, 6, "target");
        g->AddNode(1, 3); // rows 1 to 3
        g->AddNode(4, 4); // rows 4 to 7
        g->ContractNode(1);
        g->ContractNode(4);
        ASSERT_EQ(g->RowCount(), 3);
        g->MouseActions()->SetDisjunctRowSelect(disjunct);
        const TPoint p = g->Find(P(-1, -1), "target", TFindParams{fnAutoGoto, fnIncludeHiddenRows});
        EXPECT_EQ(p, P(1, 6));
        EXPECT_FALSE(g->GetNodeState(g->DisplRowIndex(4))) << "the node holding the row is open";
        EXPECT_TRUE(g->GetNodeState(1)) << "the other node stays closed";
        if (!disjunct) {
            EXPECT_EQ(g->Col(), 1);
        }
        EXPECT_EQ(g->Row(), g->DisplRowIndex(6));
        if (disjunct) {
            EXPECT_TRUE(g->RowSelect(g->Row()));
        }
    }
}

TEST_F(FindTest, ScanOrdersAndDirections)
{
    for (int c = 1; c < 3; ++c)
        for (int r = 1; r < 3; ++r)
            g->SetCells(c, r, "a");
    auto all = [&](TFindParams p) {
        std::vector<TPoint> got;
        for (TPoint x = g->FindFirst("a", p); x.X >= 0; x = g->FindNext())
            got.push_back(x);
        return got;
    };
    EXPECT_EQ(all({}), (std::vector<TPoint>{P(1, 1), P(1, 2), P(2, 1), P(2, 2)}));
    EXPECT_EQ(all(TFindParams{fnDirectionLeftRight}), (std::vector<TPoint>{P(1, 1), P(2, 1), P(1, 2), P(2, 2)}));
    EXPECT_EQ(all(TFindParams{fnBackward}), (std::vector<TPoint>{P(2, 2), P(2, 1), P(1, 2), P(1, 1)}));

    g->SetCells(2, 1, "");
    EXPECT_EQ(g->FindFirst("\"\"", {}), P(2, 1)) << "two quotes find the first empty cell";
    EXPECT_EQ(g->FindFirst("", {}), P(-1, -1)) << "an empty text matches nothing";
}

// A scan kept to the current (or a preset) row or column goes on from the last match, in either
// order, and Replace ends also when the new text holds the old one.
TEST_F(FindTest, ScansKeptToOneLineGoOn)
{
    g->SetColCount(4);
    g->SetRowCount(4);
    for (int c = 1; c < 4; ++c)
        for (int r = 1; r < 4; ++r)
            g->SetCells(c, r, "a");
    g->FindCol = 3;
    g->FindRow = 3;
    g->SetCol(2);
    g->SetRow(1);
    struct Case {
        const char *name;
        TFindParams params;
        std::vector<TPoint> visits;
    };
    const std::vector<Case> cases = {
        {"current column, by rows", TFindParams{fnFindInCurrentCol, fnDirectionLeftRight}, {P(2, 1), P(2, 2), P(2, 3)}},
        {"current column, by columns", TFindParams{fnFindInCurrentCol}, {P(2, 1), P(2, 2), P(2, 3)}},
        {"current row, by columns", TFindParams{fnFindInCurrentRow}, {P(1, 1), P(2, 1), P(3, 1)}},
        {"current row, by rows", TFindParams{fnFindInCurrentRow, fnDirectionLeftRight}, {P(1, 1), P(2, 1), P(3, 1)}},
        {"preset column, backward", TFindParams{fnFindInPresetCol, fnDirectionLeftRight, fnBackward},
         {P(3, 3), P(3, 2), P(3, 1)}},
        {"preset row, backward", TFindParams{fnFindInPresetRow, fnBackward}, {P(3, 3), P(2, 3), P(1, 3)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TPoint> got;
        for (TPoint x = g->FindFirst("a", c.params); x.X >= 0 && got.size() < 10; x = g->FindNext())
            got.push_back(x);
        EXPECT_EQ(got, c.visits);
        EXPECT_EQ(g->Replace("a", "aA", c.params), 3);
        for (const TPoint &x : c.visits)
            EXPECT_EQ(g->Cells(x.X, x.Y), "aA");
        for (const TPoint &x : c.visits)
            g->SetCells(x.X, x.Y, "a");
    }
}

TEST_F(FindTest, ReplaceHonoursMatchCase)
{
    struct Case {
        TFindParams params;
        int count;
        QString first, second;
    };
    const std::vector<Case> cases = {
        {{}, 2, "bb", "cb"},
        {TFindParams{fnMatchCase}, 2, "Ab", "cb"},
    };
    for (const Case &c : cases) {
        g->SetCells(1, 1, "Aa");
        g->SetCells(1, 2, "ca");
        g->SetCells(2, 1, "x");
        EXPECT_EQ(g->Replace("a", "b", c.params), c.count);
        EXPECT_EQ(g->Cells(1, 1), c.first);
        EXPECT_EQ(g->Cells(1, 2), c.second);
        EXPECT_EQ(g->Cells(2, 1), "x");
    }
    g->SetCells(1, 1, "AA");
    EXPECT_EQ(g->Replace("a", "b", TFindParams{fnMatchCase}), 0);
    EXPECT_EQ(g->Cells(1, 1), "AA");
}

TEST_F(FindTest, SearchLooksUpTheSortColumn)
{
    g->SetRowCount(4);
    g->SetCells(1, 1, "Apple");
    g->SetCells(1, 2, "<b>Banana</b>");
    g->SetCells(1, 3, "Cherry");
    g->SortSettings()->Show = true;
    g->SortSettings()->Column = 1;
    EXPECT_EQ(g->Search("BA"), 2);
    EXPECT_EQ(g->Search("ba"), -1);
    g->SortSettings()->Column = -1;
    EXPECT_EQ(g->Search("BA"), -1);
}

} // namespace

namespace {

// A grid on a shown form, as a user finds it.
struct TGridOnForm {
    TGridOnForm()
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 600, 400);
        Grid = new TExtStringGrid(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 580, 300);
    }
    // Shows the form with the grid's search footer.
    TSearchPanel *ShowFooter()
    {
        Form->Show();
        Grid->SearchFooter()->SetVisible(true);
        GuiTest::ProcessEvents();
        return Grid->SearchPanel();
    }
    std::unique_ptr<TForm> Form;
    TExtStringGrid *Grid = nullptr;
};

// The footer's host comes with the footer handling; here the panel stands on the form itself.
TEST(SearchFooter, TypingColoursTheEditAndEnterFindsOnAndBack)
{
    TGridOnForm on;
    const std::unique_ptr<TForm> &form = on.Form;
    TExtStringGrid *g = on.Grid;
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetCells(1, 1, "alpha");
    g->SetCells(1, 2, "beta");
    g->SetCells(2, 3, "alphabet");
    std::vector<TSearchAction> actions;
    g->OnSearchFooterAction = [&](TObject *, const UnicodeString &, int, int, TSearchAction A) { actions.push_back(A); };
    form->Show();
    GuiTest::ProcessEvents();
    TSearchPanel *panel = g->SearchPanel();
    panel->SetParent(form.get());
    panel->SetAlign(alNone);
    panel->SetBounds(0, 310, 580, 36);
    panel->SetVisible(true);
    GuiTest::ProcessEvents();
    TRetEdit *edit = panel->EditControl();
    edit->SetFocus();
    GuiTest::TypeText(edit, "alq");
    GuiTest::ProcessEvents();
    EXPECT_EQ(edit->Color(), clRed);
    GuiTest::PressKey(edit, VK_BACK);
    GuiTest::ProcessEvents();
    EXPECT_EQ(edit->Text(), "al");
    EXPECT_EQ(edit->Color(), clWindow);
    EXPECT_TRUE(panel->ForwardButton()->Enabled());
    EXPECT_EQ(g->SearchCell(), TPoint(1, 1));

    GuiTest::PressKey(edit, VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->SearchCell(), TPoint(2, 3));
    EXPECT_EQ(edit->Text(), "al") << "Enter types nothing";
    GuiTest::PressKey(edit, VK_RETURN, TShiftState{ssCtrl});
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->SearchCell(), TPoint(1, 1));
    ASSERT_GE(actions.size(), 2u);
    EXPECT_EQ(actions[actions.size() - 2], saFindNext);
    EXPECT_EQ(actions.back(), saFindPrevious);

    edit->SetText("");
    GuiTest::ProcessEvents();
    EXPECT_EQ(edit->Color(), clWindow);
    EXPECT_FALSE(panel->ForwardButton()->Enabled());
    panel->SetParent(g); // the grid frees its panel itself
}

// The highlight button marks what the edit finds and takes the marks away again; the panel's
// buttons carry their pictures.
TEST(SearchFooter, TheHighlightButtonMarksTheFoundTextAndTakesTheMarksAway)
{
    TGridOnForm on;
    const std::unique_ptr<TForm> &form = on.Form;
    TExtStringGrid *g = on.Grid;
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetCells(1, 1, "alpha");
    g->SetCells(2, 3, "Alphabet");
    g->SetCells(1, 2, "beta");
    form->Show();
    TSearchPanel *panel = g->SearchPanel();
    panel->SetParent(form.get());
    panel->SetAlign(alNone);
    panel->SetBounds(0, 310, 580, 36);
    panel->SetVisible(true);
    GuiTest::ProcessEvents();
    for (TExtGridButton *b : {panel->ForwardButton(), panel->BackwardButton(), panel->ExitButton()})
        EXPECT_FALSE(b->Glyph()->Empty());
    EXPECT_FALSE(panel->ExitButton()->GlyphHot()->Empty());
    EXPECT_FALSE(panel->HighLightButton()->Enabled()) << "nothing to mark yet";

    TRetEdit *edit = panel->EditControl();
    edit->SetFocus();
    GuiTest::TypeText(edit, "alp");
    GuiTest::ProcessEvents();
    ASSERT_TRUE(panel->HighLightButton()->Enabled());
    GuiTest::Click(panel->HighLightButton());
    GuiTest::ProcessEvents();
    ASSERT_TRUE(panel->HighLightButton()->Down());
    EXPECT_EQ(g->Cells(1, 1), "<hi>alp</hi>ha");
    EXPECT_EQ(g->Cells(2, 3), "<hi>Alp</hi>habet") << "without match case any case is marked";
    EXPECT_EQ(g->Cells(1, 2), "beta");

    // Typing on with the button down marks the new text instead.
    GuiTest::TypeText(edit, "h");
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(1, 1), "<hi>alph</hi>a");
    EXPECT_EQ(edit->Color(), clWindow) << "the marks do not hide the text from the search";

    GuiTest::Click(panel->HighLightButton());
    GuiTest::ProcessEvents();
    EXPECT_FALSE(panel->HighLightButton()->Down());
    EXPECT_EQ(g->Cells(1, 1), "alpha");
    EXPECT_EQ(g->Cells(2, 3), "Alphabet");
    panel->SetParent(g); // the grid frees its panel itself
}

// The grid hears once when the panel's window and controls are made, with the controls already
// laid out: from the left, or mirrored from the right edge for right-to-left reading.
TEST(SearchFooter, TheGridHearsOfTheMadePanelLaidOutForTheReadingOrder)
{
    struct Case {
        TBiDiMode mode;
        bool mirrored;
    };
    for (const Case &c : {Case{bdLeftToRight, false}, Case{bdRightToLeft, true}}) {
        SCOPED_TRACE(c.mirrored);
        // Right-to-left reading needs a locale that reads so.
        struct TLocale {
            TLocale() { SetSysLocaleMiddleEast(true); }
            ~TLocale() { SetSysLocaleMiddleEast(false); }
        } locale;
        TGridOnForm on;
        const std::unique_ptr<TForm> &form = on.Form;
        TExtStringGrid *g = on.Grid;
        g->SetBiDiMode(c.mode);
        std::vector<TObject *> senders;
        std::vector<int> editLefts, matchLefts;
        TSearchPanel *panel = g->SearchPanel();
        g->OnCreatedSearchFooter = [&](TObject *Sender) {
            senders.push_back(Sender);
            EXPECT_TRUE(panel->HandleAllocated());
            editLefts.push_back(panel->EditControl()->Left());
            matchLefts.push_back(panel->MatchCase()->Left());
        };
        form->Show();
        GuiTest::ProcessEvents();
        EXPECT_TRUE(senders.empty()) << "a hidden footer has no window yet";
        g->SearchFooter()->SetShowHighLight(false);
        g->SearchFooter()->SetVisible(true);
        GuiTest::ProcessEvents();
        ASSERT_EQ(senders.size(), 1u);
        EXPECT_EQ(senders[0], g);
        const int w = panel->Width();
        ASSERT_GT(w, 500);
        auto left = [&](int L, TControl *C) { return c.mirrored ? w - C->Width() - L : L; };
        EXPECT_EQ(editLefts[0], left(25, panel->EditControl()));
        EXPECT_EQ(matchLefts[0], left(330, panel->MatchCase())) << "in the highlight button's place";
        EXPECT_EQ(panel->ForwardButton()->Left(), left(140, panel->ForwardButton()));
        EXPECT_EQ(panel->BackwardButton()->Left(), left(235, panel->BackwardButton()));
        EXPECT_EQ(panel->ExitButton()->Left(), left(5, panel->ExitButton()));
        g->SearchFooter()->SetShowHighLight(true);
        EXPECT_EQ(panel->MatchCase()->Left(), left(425, panel->MatchCase()));
        EXPECT_EQ(panel->HighLightButton()->Left(), left(330, panel->HighLightButton()));

        g->SearchFooter()->SetVisible(false);
        g->SearchFooter()->SetVisible(true);
        GuiTest::ProcessEvents();
        EXPECT_EQ(senders.size(), 1u) << "the window is made once";
    }
}

// A new colour of the edit shows at once: the edit grows by a pixel and back, and ends as wide
// as it was.
TEST(SearchFooter, EachColourOfTheEditNudgesItsWidthAndBack)
{
    TGridOnForm on;
    TExtStringGrid *g = on.Grid;
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetCells(1, 1, "alpha");
    TRetEdit *edit = on.ShowFooter()->EditControl();
    ASSERT_EQ(edit->Width(), 110);
    std::vector<int> widths;
    edit->OnResize = [&](TObject *) { widths.push_back(edit->Width()); };
    struct Step {
        const char *typed;
        TColor colour;
    };
    for (const Step &step : {Step{"a", clWindow}, Step{"q", clRed}, Step{"", clWindow}}) {
        SCOPED_TRACE(step.typed);
        widths.clear();
        if (*step.typed)
            GuiTest::TypeText(edit, step.typed);
        else
            edit->SetText("");
        GuiTest::ProcessEvents();
        EXPECT_EQ(edit->Color(), step.colour);
        EXPECT_EQ(widths, (std::vector<int>{111, 110}));
        EXPECT_EQ(edit->Width(), 110);
        EXPECT_EQ(edit->Left(), 25);
    }
}

// What the footer finds is brought into view above the panel, typed or found on.
TEST(SearchFooter, AFoundRowShowsAboveThePanel)
{
    TGridOnForm on;
    TExtStringGrid *g = on.Grid;
    g->SetColCount(3);
    g->SetRowCount(60);
    g->SetCells(1, 30, "needle one");
    g->SetCells(1, 55, "needle two");
    TSearchPanel *panel = on.ShowFooter();
    ASSERT_EQ(panel->Height(), 32);
    auto clearOfPanel = [&](int Row) {
        const TRect r = g->CellRect(1, Row);
        return Row >= g->TopRow() && r.Bottom > r.Top && r.Bottom <= g->Height() - panel->Height();
    };
    GuiTest::TypeText(panel->EditControl(), "needle");
    GuiTest::ProcessEvents();
    ASSERT_EQ(g->SearchCell(), TPoint(1, 30));
    EXPECT_TRUE(clearOfPanel(30));
    GuiTest::PressKey(panel->EditControl(), VK_RETURN);
    GuiTest::ProcessEvents();
    ASSERT_EQ(g->SearchCell(), TPoint(1, 55));
    EXPECT_TRUE(clearOfPanel(55));
    GuiTest::PressKey(panel->EditControl(), VK_RETURN, TShiftState{ssCtrl});
    GuiTest::ProcessEvents();
    ASSERT_EQ(g->SearchCell(), TPoint(1, 30));
    EXPECT_TRUE(clearOfPanel(30));

    // A row in view but under the panel moves up as well.
    g->SetCells(1, 30, "");
    g->SetCells(1, 55, "");
    for (int back = 1; back <= 3; ++back) {
        panel->EditControl()->SetText("");
        g->SetTopRow(1);
        g->SetRow(1);
        const int row = g->TopRow() + g->VisibleRowCount() - back;
        SCOPED_TRACE(row);
        g->SetCells(1, row, "needle");
        panel->EditControl()->SetText("needle");
        GuiTest::ProcessEvents();
        ASSERT_EQ(g->SearchCell(), TPoint(1, row));
        EXPECT_TRUE(clearOfPanel(row));
        g->SetCells(1, row, "");
    }
}

// A click on the match-case box makes the footer's searches case-sensitive.
TEST(SearchFooter, TheMatchCaseBoxTakesTheCaseIntoAccount)
{
    TGridOnForm on;
    TExtStringGrid *g = on.Grid;
    g->SetColCount(3);
    g->SetRowCount(3);
    g->SetCells(1, 1, "Alpha");
    TSearchPanel *panel = on.ShowFooter();
    GuiTest::TypeText(panel->EditControl(), "alp");
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->SearchCell(), TPoint(1, 1));
    ASSERT_TRUE(panel->MatchCase()->Visible());
    GuiTest::Click(panel->MatchCase(), TPoint(6, panel->MatchCase()->Height() / 2));
    GuiTest::ProcessEvents();
    ASSERT_TRUE(panel->MatchCase()->Checked());
    g->SetSearchCell(TPoint(-1, -1));
    GuiTest::PressKey(panel->EditControl(), VK_RETURN);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->SearchCell(), TPoint(-1, -1));
    panel->EditControl()->SetText("Alp");
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->SearchCell(), TPoint(1, 1));
}

} // namespace
