// Clicks on a shown grid: check boxes with their event order, a refused click, header clicks
// near a border, the double click that sizes a column, the sort click, links to cells and the
// sizing of fixed columns.
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Cell(int c, int r)
{
    return std::to_string(c) + "," + std::to_string(r);
}

TPoint Middle(const TRect &R)
{
    return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// A column grid that records the sort and the content sizing it is asked for.
class TRecordingGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    std::vector<std::string> Calls;
    void QSort() override
    {
        Calls.push_back("sort " + std::to_string(SortSettings()->Column) +
                        (SortSettings()->Direction == sdAscending ? " up" : " down"));
    }
    void AutoSizeColumnToContent(int ACol) override { Calls.push_back("autosize " + std::to_string(ACol)); }
    bool SizingFixed() const { return FSizingFixed; }
};

class MouseGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 320);
        other = new TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(0, 280, 100, 24);
        g = new TRecordingGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 620, 260);
        g->SetColCount(6);
        g->SetRowCount(5);
        g->SetOptions(g->Options() + TGridOptions{goEditing, goRangeSelect, goColSizing});
        g->Columns()->Items(3)->SetEditor(edDataCheckBox);
        g->Columns()->Items(4)->SetEditor(edDataCheckBox);
        g->Columns()->Items(4)->SetReadOnly(true);
        for (int r = 1; r < 5; ++r) {
            g->SetCells(3, r, "N");
            g->SetCells(4, r, "N");
            g->SetCells(5, r, QString::number(10 - r));
        }
        // Display column 2 shows real column 3 (a check box), display column 3 real column 4.
        g->HideColumn(1);
        g->OnCanClickCell = [this](TObject *, int r, int c, bool &Allow) {
            log.push_back("can " + Cell(c, r));
            Allow = allowClick;
        };
        g->OnCheckBoxChange = [this](TObject *, int c, int r, bool s) {
            log.push_back("change " + Cell(c, r) + (s ? " on" : " off"));
        };
        g->OnCheckBoxClick = [this](TObject *, int c, int r, bool s) {
            log.push_back("checkclick " + Cell(c, r) + (s ? " on" : " off"));
        };
        g->OnCheckBoxMouseUp = [this](TObject *, int c, int r, bool s) {
            log.push_back("checkup " + Cell(c, r) + (s ? " on" : " off"));
        };
        g->OnMouseDown = [this](TObject *, TMouseButton, TShiftState, int, int) { log.push_back("mousedown"); };
        g->OnClick = [this](TObject *) { log.push_back("click"); };
        g->OnClickCell = [this](TObject *, int r, int c) { log.push_back("clickcell " + Cell(c, r)); };
        g->OnDblClickCell = [this](TObject *, int r, int c) { log.push_back("dblclickcell " + Cell(c, r)); };
        form->Show();
        form->SetActiveControl(g);
        g->SetFocus();
        GuiTest::ProcessEvents();
        g->GotoCell(1, 1);
        GuiTest::ProcessEvents();
        log.clear();
    }
    void ClickAt(TPoint P)
    {
        GuiTest::Click(g, P);
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TRecordingGrid *g = nullptr;
    TEdit *other = nullptr;
    bool allowClick = true;
    std::vector<std::string> log;
};

TEST_F(MouseGrid, CheckBoxClickOrderAndColumns)
{
    ClickAt(Middle(g->CellRect(2, 2)));
    EXPECT_EQ(g->AllCells(3, 2), "Y");
    EXPECT_EQ(log, (std::vector<std::string>{"can 2,2", "change 3,2 on", "checkclick 2,2 on", "mousedown", "click",
                                             "checkup 3,2 on"}));
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 2);
    log.clear();
    ClickAt(Middle(g->CellRect(2, 2)));
    EXPECT_EQ(g->AllCells(3, 2), "N");
}

TEST_F(MouseGrid, ReadOnlyCheckBoxColumnOnlySelects)
{
    ClickAt(Middle(g->CellRect(3, 3)));
    EXPECT_EQ(g->AllCells(4, 3), "N");
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_NE(std::find(log.begin(), log.end(), "clickcell 3,3"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "checkclick 3,3 off"), log.end());
}

TEST_F(MouseGrid, RefusedClickChangesNeitherSelectionNorFocus)
{
    other->SetFocus();
    GuiTest::ProcessEvents();
    allowClick = false;
    ClickAt(Middle(g->CellRect(4, 3)));
    EXPECT_EQ(g->Col(), 1);
    EXPECT_EQ(g->Row(), 1);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(log.front(), "can 4,3");
    EXPECT_EQ(std::find(log.begin(), log.end(), "clickcell 4,3"), log.end());
}

TEST_F(MouseGrid, PlainClickSelectsAndReportsTheCell)
{
    ClickAt(Middle(g->CellRect(4, 3)));
    EXPECT_EQ(g->Col(), 4);
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(log.front(), "can 4,3");
    EXPECT_NE(std::find(log.begin(), log.end(), "clickcell 4,3"), log.end());
}

TEST_F(MouseGrid, DoubleClickOnACellReportsIt)
{
    GuiTest::DoubleClick(g, Middle(g->CellRect(4, 2)));
    GuiTest::ProcessEvents();
    EXPECT_NE(std::find(log.begin(), log.end(), "dblclickcell 4,2"), log.end());
}

TEST_F(MouseGrid, HeaderBorderClicksNeitherReportNorSortAndDoubleClickSizes)
{
    g->SortSettings()->Show = true;
    const TRect h = g->CellRect(2, 0);
    // Within 4 pixels of a border: the sizing zone.
    for (int x : {h.Left + 1, h.Right - 2}) {
        SCOPED_TRACE(x);
        log.clear();
        g->Calls.clear();
        ClickAt(TPoint(x, Middle(h).Y));
        EXPECT_EQ(std::find(log.begin(), log.end(), "clickcell 2,0"), log.end());
        EXPECT_TRUE(g->Calls.empty());
    }
    struct TCase {
        int X;
        int Sized;
    };
    // At the left border the column to the left, at the right border the cell's own.
    for (const TCase c : {TCase{h.Left + 2, 1}, TCase{h.Right - 2, 2}}) {
        SCOPED_TRACE(c.X);
        g->Calls.clear();
        std::vector<int> ended;
        g->OnEndColumnSize = [&](TObject *, int col) { ended.push_back(col); };
        GuiTest::DoubleClick(g, TPoint(c.X, Middle(h).Y));
        GuiTest::ProcessEvents();
        EXPECT_EQ(g->Calls, std::vector<std::string>{"autosize " + std::to_string(c.Sized)})
            << "sized once, and the release after the double click does not sort";
        EXPECT_EQ(ended, std::vector<int>{c.Sized});
    }
}

TEST_F(MouseGrid, SortClickNeedsThreeRowsAndReversesOnTheSameColumn)
{
    g->SortSettings()->Show = true;
    const TPoint header = Middle(g->CellRect(4, 0));
    std::vector<int> clicked;
    g->OnClickSort = [&](TObject *, int c) { clicked.push_back(c); };
    g->SetRowCount(2);
    ClickAt(header);
    EXPECT_TRUE(g->Calls.empty()) << "a grid of two rows does not sort";
    g->SetRowCount(3);
    ClickAt(header);
    ClickAt(header);
    EXPECT_EQ(g->Calls, (std::vector<std::string>{"sort 5 up", "sort 5 down"}));
    EXPECT_EQ(clicked, (std::vector<int>{5, 5}));
    bool veto = true;
    g->OnCanSort = [&](TObject *, int, bool &DoSort) { DoSort = !veto; };
    ClickAt(header);
    EXPECT_EQ(g->Calls.size(), 2u) << "OnCanSort refuses";
}

// ---- links and fixed sizing on a string grid ----

class LinkGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 600, 320);
        g = new TRecordingGridString(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 580, 300);
        g->SetColCount(6);
        g->SetRowCount(8);
        g->SetURLShow(true);
        form->Show();
        GuiTest::ProcessEvents();
    }
    class TRecordingGridString : public TExtStringGrid {
    public:
        using TExtStringGrid::TExtStringGrid;
        bool SizingFixed() const { return FSizingFixed; }
    };
    std::unique_ptr<TForm> form;
    TRecordingGridString *g = nullptr;
};

TEST_F(LinkGrid, CellLinksMoveTheCurrentCellAndOthersOutsideTheGridAreIgnored)
{
    struct TCase {
        const char *Text;
        int Col, Row;
    };
    const TCase cases[] = {
        {"cell://r5c3", 3, 5},     // letters in any case
        {"CELL://R99C3", 1, 1},   // outside the grid: ignored
        {"CELL://RxC3", 1, 1},    // unreadable: ignored
        {"CELL://R2C70000", 1, 1} // a column far outside
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Text);
        g->GotoCell(1, 1);
        g->SetCells(2, 2, c.Text);
        GuiTest::Click(g, Middle(g->CellRect(2, 2)));
        GuiTest::ProcessEvents();
        EXPECT_EQ(g->Col(), c.Col);
        EXPECT_EQ(g->Row(), c.Row);
    }
    bool handled = false;
    g->OnAnchorClick = [&](TObject *, int, int, const UnicodeString &, bool &AutoHandle) {
        handled = true;
        AutoHandle = false;
    };
    g->GotoCell(1, 1);
    g->SetCells(2, 2, "CELL://R5C3");
    GuiTest::Click(g, Middle(g->CellRect(2, 2)));
    GuiTest::ProcessEvents();
    EXPECT_TRUE(handled);
    EXPECT_EQ(g->Row(), 1) << "AutoHandle cleared: the grid does not follow the link";
}

TEST_F(LinkGrid, FixedColumnSizedByDraggingKeepsAPixel)
{
    g->MouseActions()->SizeFixedCol = true;
    g->SetColWidths(0, 40);
    const int edge = g->ColWidths(0) + 1;
    const int y = Middle(g->CellRect(0, 3)).Y;
    struct TCase {
        int ReleaseX;
        int Width;
    };
    for (const TCase c : {TCase{edge + 30, edge + 30}, TCase{-20, 1}, TCase{0, 1}}) {
        SCOPED_TRACE(c.ReleaseX);
        g->SetColWidths(0, 40);
        GuiTest::MouseMove(g, TPoint(edge, y));
        GuiTest::MouseDown(g, TPoint(edge, y));
        EXPECT_TRUE(g->SizingFixed());
        GuiTest::MouseMove(g, TPoint(c.ReleaseX, y), {});
        GuiTest::MouseUp(g, TPoint(c.ReleaseX, y));
        GuiTest::ProcessEvents();
        EXPECT_FALSE(g->SizingFixed());
        EXPECT_EQ(g->ColWidths(0), c.Width);
    }
}

} // namespace
