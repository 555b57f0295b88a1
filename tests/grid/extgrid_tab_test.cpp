// Tab, Shift+Tab and the advance after an edit on a shown grid: wrapping, merged ranges,
// read-only cells, rows appended at the end, the Tab handed on to the parent, and grids where
// nothing may be edited.
#include "grid/core/ExtGrid.h"

#include "platform/ExtCtrlsPanels.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A panel that notes the keys that reach its window.
class TKeyPanel : public TPanel {
public:
    using TPanel::TPanel;
    std::vector<Word> Keys;

protected:
    void WMKeyDown(TWMKey &Message) override
    {
        Keys.push_back(Message.CharCode);
        TPanel::WMKeyDown(Message);
    }
};

class TabGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 320);
        panel = new TKeyPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 580, 300);
        g = new TExtStringGrid(form.get());
        g->SetParent(panel);
        g->SetBounds(0, 0, 560, 280);
        g->SetColCount(5);
        g->SetRowCount(4);
        g->SetOptions(g->Options() + TGridOptions{goEditing, goTabs});
        // The advance opens no editor here: these tests follow the current cell.
        g->Navigation()->AdvanceAutoEdit = false;
        g->MergeCells(2, 2, 2, 1);
        g->OnCanEditCell = [this](TObject *, int r, int c, bool &CanEdit) {
            if ((c == 3 && r == 1) || noneEditable)
                CanEdit = false;
        };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
    }
    void Start(int c, int r)
    {
        g->GotoCell(1, 1);
        g->GotoCell(c, r);
        GuiTest::ProcessEvents();
    }
    void Tab(TShiftState Shift = {})
    {
        GuiTest::PressKey(g, VK_TAB, Shift);
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TKeyPanel *panel = nullptr;
    TExtStringGrid *g = nullptr;
    bool noneEditable = false;
};

TEST_F(TabGrid, TabMovesToTheNextEditableBaseCell)
{
    struct TCase {
        const char *Name;
        int Col, Row;
        TShiftState Shift;
        int ToCol, ToRow;
    };
    const TCase cases[] = {
        {"next cell", 1, 1, {}, 2, 1},
        {"over a read-only cell", 2, 1, {}, 4, 1},
        {"wrap to the next row", 4, 1, {}, 1, 2},
        {"onto a merged range", 1, 2, {}, 2, 2},
        {"past the merged range", 2, 2, {}, 4, 2},
        {"last cell to the first", 4, 3, {}, 1, 1},
        {"back one", 2, 3, {ssShift}, 1, 3},
        {"back over a read-only cell", 4, 1, {ssShift}, 2, 1},
        {"back to the previous row", 1, 2, {ssShift}, 4, 1},
        {"back from the first cell to the last", 1, 1, {ssShift}, 4, 3},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        Start(c.Col, c.Row);
        Tab(c.Shift);
        EXPECT_EQ(g->Col(), c.ToCol);
        EXPECT_EQ(g->Row(), c.ToRow);
    }
}

TEST_F(TabGrid, AdvanceInsertAppendsARowWhenAllowed)
{
    g->Navigation()->SetAdvanceInsert(true);
    std::vector<std::string> log;
    bool allow = false;
    g->OnCanAddRow = [&](TObject *, bool &CanAdd) {
        log.push_back("can");
        CanAdd = allow;
    };
    g->OnAutoAddRow = [&](TObject *, int r) { log.push_back("added " + std::to_string(r)); };
    Start(4, 3);
    Tab();
    EXPECT_EQ(log, std::vector<std::string>{"can"});
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->Row(), 1) << "refused: back to the first row";
    allow = true;
    log.clear();
    Start(4, 3);
    Tab();
    EXPECT_EQ(log, (std::vector<std::string>{"can", "added 4"}));
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Row(), 4);
    EXPECT_EQ(g->Col(), 1);
}

TEST_F(TabGrid, TabToNextAtEndHandsTheTabToTheParent)
{
    g->Navigation()->TabToNextAtEnd = true;
    Start(4, 3);
    EXPECT_FALSE(g->HandleTabKey(false));
    GuiTest::ProcessEvents();
    EXPECT_EQ(panel->Keys, std::vector<Word>{VK_TAB});
    EXPECT_EQ(g->Row(), 1);
    panel->Keys.clear();
    Start(1, 3);
    EXPECT_TRUE(g->HandleTabKey(false));
    GuiTest::ProcessEvents();
    EXPECT_TRUE(panel->Keys.empty());
}

TEST_F(TabGrid, AdvanceAfterAnEditByDirection)
{
    struct TCase {
        const char *Name;
        TAdvanceDirection Dir;
        bool Loop;
        int Col, Row;
        bool Forward;
        int ToCol, ToRow;
    };
    const TCase cases[] = {
        {"left to right", adLeftRight, true, 1, 1, true, 2, 1},
        {"over a read-only cell", adLeftRight, true, 2, 1, true, 4, 1},
        {"past a merged range", adLeftRight, true, 2, 2, true, 4, 2},
        {"end of the grid loops", adLeftRight, true, 4, 3, true, 1, 1},
        {"end of the grid without loop stays", adLeftRight, false, 4, 3, true, 4, 3},
        {"in the row", adLeftRightInRow, true, 4, 3, true, 1, 3},
        {"top to bottom", adTopBottom, true, 1, 3, true, 2, 1},
        {"top to bottom over a read-only cell onto a merged range", adTopBottom, true, 2, 3, true, 2, 2},
        {"in the column", adTopBottomInCol, true, 2, 3, true, 2, 1},
        {"backward", adLeftRight, true, 1, 2, false, 4, 1},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        g->Navigation()->SetAdvanceDirection(c.Dir);
        g->Navigation()->AdvanceOnEnterLoop = c.Loop;
        Start(c.Col, c.Row);
        g->AdvanceCell(c.Col, c.Row, true, false, c.Forward, false, false);
        EXPECT_EQ(g->Col(), c.ToCol);
        EXPECT_EQ(g->Row(), c.ToRow);
    }
    g->Navigation()->SetAdvanceDirection(adLeftRight);
    g->OnAutoAdvance = [](TObject *, int, int, int &NewRow, int &NewCol, bool &) {
        NewRow = 3;
        NewCol = 2;
    };
    Start(1, 1);
    g->AdvanceCell(1, 1, true, false, true, false, false);
    EXPECT_EQ(g->Col(), 2) << "OnAutoAdvance redirects";
    EXPECT_EQ(g->Row(), 3);
}

TEST_F(TabGrid, AnAdvanceOntoACheckBoxEntersItWithoutFlippingIt)
{
    g->AddCheckBox(2, 1, false, false);
    std::vector<std::string> changing;
    g->OnCellChanging = [&](TObject *, int OldRow, int OldCol, int NewRow, int NewCol, bool &) {
        changing.push_back(std::to_string(OldCol) + "," + std::to_string(OldRow) + ">" + std::to_string(NewCol) + "," +
                           std::to_string(NewRow));
    };
    Start(1, 1);
    g->AdvanceCell(1, 1, true, false, true, false, true);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 1);
    bool state = true;
    g->GetCheckBoxState(2, 1, state);
    EXPECT_FALSE(state) << "moving onto a check box does not change it";
    EXPECT_EQ(changing, (std::vector<std::string>{"1,1>2,1", "1,1>2,1"}));
}

TEST_F(TabGrid, AutoAppendRowKeepsTheFloatingFooterWithItsCellObjects)
{
    g->FloatingFooter()->SetVisible(true);
    g->SetCells(1, 3, "Sum");
    g->SetColors(1, 3, clYellow);
    std::vector<int> added;
    g->OnAutoAddRow = [&](TObject *, int r) { added.push_back(r); };
    Start(1, 2);
    ASSERT_TRUE(g->IsLastEditRow());
    g->AutoAppendRow();
    EXPECT_EQ(g->RowCount(), 5);
    EXPECT_EQ(g->Cells(1, 4), "Sum");
    EXPECT_EQ(g->Colors(1, 4), clYellow) << "the footer's cell properties move with its text";
    EXPECT_EQ(g->Cells(1, 3), "");
    EXPECT_NE(g->Colors(1, 3), clYellow);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(added, std::vector<int>{3}) << "the new row, above the footer row";
}

TEST_F(TabGrid, NothingEditableOnALargeGridEndsOnTheStartCell)
{
    g->SetRowCount(100000);
    noneEditable = true;
    Start(2, 50000);
    Tab();
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 50000);
    Start(4, 99999);
    Tab();
    EXPECT_EQ(g->Col(), 4);
    EXPECT_EQ(g->Row(), 99999);
    g->Navigation()->AdvanceOnEnter = true;
    Start(2, 50000);
    g->AdvanceCell(2, 50000, false, true, true, false, true);
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 50000);
}

} // namespace
