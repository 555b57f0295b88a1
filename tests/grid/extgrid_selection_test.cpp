// The selection models of the string grid: the row and column flags with their errors, range
// operations, the disjunct cell selection by clicks, the repaint of a rectangle and what two
// Ctrl-clicked rows look like.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

TPoint Middle(const TRect &R)
{
    return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

std::string Rect(const TGridRect &R)
{
    return std::to_string(R.Left) + "," + std::to_string(R.Top) + "-" + std::to_string(R.Right) + "," +
           std::to_string(R.Bottom);
}

// Notes every whole-grid repaint.
class TRepaintGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    bool Whole = false;
    void Invalidate() override
    {
        Whole = true;
        TExtStringGrid::Invalidate();
    }
};

class SelectionGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        g = new TRepaintGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 480, 260);
        g->SetColCount(6);
        g->SetRowCount(10);
        g->SetOptions(g->Options() + TGridOptions{goRangeSelect});
        form->Show();
        GuiTest::ProcessEvents();
    }
    void ClickCell(int c, int r, TShiftState Shift = {})
    {
        GuiTest::Click(g, Middle(g->CellRect(c, r)), mbLeft, Shift);
        GuiTest::ProcessEvents();
    }
    std::set<std::pair<int, int>> Listed()
    {
        std::set<std::pair<int, int>> s;
        for (int i = 0; i < g->SelectedCellsCount(); ++i)
            s.insert({g->SelectedCell(i).X, g->SelectedCell(i).Y});
        return s;
    }
    std::unique_ptr<TForm> form;
    TRepaintGrid *g = nullptr;
};

TEST_F(SelectionGrid, OutOfRangeFlagsRaiseTheGridsError)
{
    struct TCase {
        const char *Name;
        std::function<void()> Call;
        const char *Message;
    };
    const TCase cases[] = {
        {"read past the rows", [&] { g->RowSelect(10); }, "Invalid row 10 accessed"},
        {"read a negative row", [&] { g->RowSelect(-1); }, "Invalid row -1 accessed"},
        {"write a negative row", [&] { g->SetRowSelect(-1, true); }, "Invalid row accessed"},
        {"write past the rows", [&] { g->SetRowSelect(10, true); }, "Invalid row accessed"},
        {"read past the columns", [&] { g->ColSelect(6); }, "Invalid column accessed"},
        {"write a negative column", [&] { g->SetColSelect(-1, true); }, "Invalid column accessed"},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            c.Call();
            ADD_FAILURE() << "no error";
        } catch (const RIdeZareVorev &e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.Message));
        }
    }
    // Persistent row flags are read by real row: a row past the shown ones is simply unselected.
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->RowSelectPersistent = true;
    EXPECT_FALSE(g->RowSelect(10));
}

TEST_F(SelectionGrid, RowFlagsEventsAndRanges)
{
    g->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<std::string> log;
    g->OnRowDisjunctSelect = [&](TObject *, int r, bool s, bool &Allow) {
        log.push_back("select " + std::to_string(r) + (s ? " on" : " off"));
        Allow = r != 7;
    };
    g->OnRowDisjunctSelected = [&](TObject *, int r) { log.push_back("selected " + std::to_string(r)); };
    g->SetRowSelect(3, true);
    g->SetRowSelect(3, true);
    g->SetRowSelect(7, true);
    g->SetRowSelect(0, true);
    EXPECT_EQ(log, (std::vector<std::string>{"select 3 on", "selected 3", "selected 3", "select 7 on", "select 0 on",
                                             "selected 0"}));
    EXPECT_TRUE(g->RowSelect(3));
    EXPECT_FALSE(g->RowSelect(7)) << "refused by the handler";
    EXPECT_EQ(g->RowSelectCount(), 2);
    EXPECT_EQ(g->SelectedRowCount(), 1) << "a fixed row is flagged but not listed";
    EXPECT_EQ(g->SelectedRow(0), 3);
    EXPECT_EQ(g->SelectedRow(1), -1);
    g->ClearRowSelect();
    EXPECT_EQ(g->RowSelectCount(), 0);

    g->MouseActions()->SetDisjunctRowSelect(false);
    g->SelectRows(g->FixedRows(), 1000);
    EXPECT_EQ(Rect(g->Selection()), "1,1-5,9") << "the count is cut to the rows there are";
    EXPECT_EQ(g->RowSelectCount(), 9);
    EXPECT_EQ(g->SelectedRow(8), 9);
    EXPECT_EQ(g->SelectedRow(9), -1);
    g->UnSelectRows(1, 3);
    EXPECT_EQ(Rect(g->Selection()), "1,1-5,9") << "without the disjunct model nothing is deselected";
    g->SelectRange(2, 4, 3, 5);
    EXPECT_EQ(Rect(g->Selection()), "2,3-4,5");
    EXPECT_EQ(g->SelectedColCount(), 3);
}

TEST_F(SelectionGrid, RepaintRectSkipsNegativesAndRepaintsAllWhenACornerIsOffScreen)
{
    g->Whole = false;
    g->RepaintRect(TRect(-1, 1, 2, 2));
    EXPECT_FALSE(g->Whole);
    g->RepaintRect(TRect(1, 1, 2, 2));
    EXPECT_FALSE(g->Whole) << "two visible corners: only their union";
    g->SetRowCount(200);
    g->Whole = false;
    g->RepaintRect(TRect(1, 1, 2, 150));
    EXPECT_TRUE(g->Whole);
}

TEST_F(SelectionGrid, DisjunctCellClicks)
{
    g->MouseActions()->SetDisjunctCellSelect(true);
    using TCells = std::set<std::pair<int, int>>;
    ClickCell(1, 1);
    EXPECT_EQ(Listed(), (TCells{{1, 1}}));
    ClickCell(3, 2, {ssCtrl});
    EXPECT_EQ(Listed(), (TCells{{1, 1}, {3, 2}}));
    ClickCell(3, 2, {ssCtrl});
    EXPECT_EQ(Listed(), (TCells{{1, 1}})) << "Ctrl takes a listed cell out again";
    // Ctrl+Shift on the same cell twice lists it once, and one Ctrl-click removes it.
    ClickCell(4, 5, {ssCtrl, ssShift});
    ClickCell(4, 5, {ssCtrl, ssShift});
    const int n = g->SelectedCellsCount();
    int listed = 0;
    for (int i = 0; i < n; ++i)
        listed += g->SelectedCell(i).X == 4 && g->SelectedCell(i).Y == 5;
    EXPECT_EQ(listed, 1);
    ClickCell(4, 5, {ssCtrl});
    EXPECT_FALSE(g->SelectedCells(4, 5));
    ClickCell(2, 2);
    EXPECT_EQ(Listed(), (TCells{{2, 2}})) << "a plain click leaves only its cell";
    g->SetSelectedCells(5, 3, true);
    g->SetSelectedCells(5, 3, true);
    EXPECT_EQ(g->SelectedCellsCount(), 2);
    EXPECT_EQ(g->SelectedCell(1).X, 5);
    EXPECT_EQ(g->SelectedCell(1).Y, 3);
}

TEST_F(SelectionGrid, CellListHoldsRowsPastSixteenBits)
{
    g->MouseActions()->SetDisjunctCellSelect(true);
    g->SetRowCount(70000);
    g->SetSelectedCells(2, 65537, true);
    EXPECT_TRUE(g->SelectedCells(2, 65537));
    EXPECT_FALSE(g->SelectedCells(2, 1)) << "row 65537 is not row 1";
    EXPECT_TRUE(g->IsSelected(2, 65537));
    EXPECT_EQ(g->SelectedCell(0).Y, 65537);
}

TEST_F(SelectionGrid, TwoCtrlClickedRowsPaintInTheSelectionColour)
{
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->SetSelectionColor(TColorOf(0x0000FFu));
    ClickCell(2, 2);
    ClickCell(2, 5, {ssCtrl});
    GuiTest::ProcessEvents();
    EXPECT_TRUE(g->RowSelect(2));
    EXPECT_TRUE(g->RowSelect(5));
    EXPECT_FALSE(g->RowSelect(3));
    const TColorRef sel = ColorToRGB(g->SelectionColor());
    auto px = [&](int c, int r) {
        const TRect rc = g->CellRect(c, r);
        return GuiTest::PixelAt(g, rc.Right - 4, rc.Top + 3);
    };
    for (const auto &[c, r] : std::vector<std::pair<int, int>>{{4, 2}, {4, 5}})
        EXPECT_EQ(px(c, r), sel) << c << "," << r;
    EXPECT_NE(px(4, 3), sel);
}

} // namespace
