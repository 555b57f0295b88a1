// Clicks on a shown grid: check boxes with their event order, a refused click, header clicks
// near a border, the double click that sizes a column, the sort click, links to cells and the
// sizing of fixed columns.
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtGrid.h"

#include "controls/MiniHTML.h"

#include "platform/Forms.h"
#include "platform/Menus.h"
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

// A column grid that records the sort it is asked for.
class TRecordingGrid : public TExtColumnGrid {
public:
    using TExtColumnGrid::TExtColumnGrid;
    std::vector<std::string> Calls;
    void QSort() override
    {
        Calls.push_back("sort " + std::to_string(SortSettings()->Column) +
                        (SortSettings()->Direction == sdAscending ? " up" : " down"));
    }
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
    // At the left border the column to the left, at the right border the cell's own: each
    // takes the width of its long text.
    g->UnHideColumn(1);
    g->SetCells(1, 2, "a text much wider than the column it stands in");
    g->SetCells(2, 2, "another text much wider than its column");
    for (const TCase c : {TCase{h.Left + 2, 1}, TCase{h.Right - 2, 2}}) {
        SCOPED_TRACE(c.X);
        g->Calls.clear();
        g->SetColWidths(1, 40);
        g->SetColWidths(2, 40);
        const TRect hc = g->CellRect(2, 0);
        const int x = c.Sized == 1 ? hc.Left + 2 : hc.Right - 2;
        std::vector<int> ended;
        g->OnEndColumnSize = [&](TObject *, int col) { ended.push_back(col); };
        GuiTest::DoubleClick(g, TPoint(x, Middle(hc).Y));
        GuiTest::ProcessEvents();
        EXPECT_GT(g->ColWidths(c.Sized), 100);
        EXPECT_EQ(g->ColWidths(3 - c.Sized), 40);
        EXPECT_TRUE(g->Calls.empty()) << "the release after the double click does not sort";
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

TEST_F(MouseGrid, OnlyADragOfTheBorderKeepsTheReleaseFromSorting)
{
    g->SortSettings()->Show = true;
    const TPoint header = Middle(g->CellRect(4, 0));
    // Widths set in code before the press: the click sorts.
    g->SetColWidths(4, 90);
    g->SetColWidths(2, 70);
    ClickAt(header);
    EXPECT_EQ(g->Calls, (std::vector<std::string>{"sort 5 up"}));

    // The border dragged and let go over the header: a sizing, no sort.
    g->Calls.clear();
    const TRect h = g->CellRect(4, 0);
    GuiTest::MouseMove(g, TPoint(h.Right - 1, Middle(h).Y));
    GuiTest::MouseDown(g, TPoint(h.Right - 1, Middle(h).Y));
    GuiTest::MouseMove(g, TPoint(h.Right - 30, Middle(h).Y), TShiftState{ssLeft});
    GuiTest::MouseUp(g, TPoint(h.Right - 30, Middle(h).Y));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->ColWidths(4), 90 - 29);
    EXPECT_TRUE(g->Calls.empty());
    // And the next plain click sorts again.
    ClickAt(header);
    EXPECT_EQ(g->Calls, (std::vector<std::string>{"sort 5 down"}));
}

TEST(MouseCheckBoxes, ARefusedToggleStillReportsTheClick)
{
    // Column 0 check boxes select their rows (HotmailRowSelect) also where the cell may not be
    // edited: the toggle is refused (no change is reported), the row's flag flips and the click
    // is still reported with the row's state.
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 400, 300);
    auto *g = new TExtStringGrid(form.get());
    g->SetParent(form.get());
    g->SetBounds(0, 0, 380, 260);
    g->SetColCount(3);
    g->SetRowCount(4);
    g->SetFixedCols(0);
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    for (int r = 1; r < 4; ++r)
        g->AddCheckBox(0, r, false, false);
    g->MouseActions()->SetHotmailRowSelect(true);
    g->OnCanEditCell = [](TObject *, int, int c, bool &CanEdit) { CanEdit = c != 0; };
    std::vector<std::string> log;
    g->OnCheckBoxChange = [&](TObject *, int, int, bool) { log.push_back("change"); };
    g->OnCheckBoxClick = [&](TObject *, int c, int r, bool s) { log.push_back("click " + Cell(c, r) + (s ? " on" : " off")); };
    form->Show();
    GuiTest::ProcessEvents();
    GuiTest::Click(g, Middle(g->CellRect(0, 2)));
    GuiTest::ProcessEvents();
    EXPECT_EQ(log, std::vector<std::string>{"click 0,2 on"});
    EXPECT_TRUE(g->RowSelect(2));
    GuiTest::Click(g, Middle(g->CellRect(0, 2)));
    GuiTest::ProcessEvents();
    EXPECT_EQ(log.back(), "click 0,2 off");
    EXPECT_FALSE(g->RowSelect(2));
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
        std::vector<std::string> Edited;
        void EditCellControl(int ACol, int ARow, const UnicodeString &CtrlID) override
        {
            Edited.push_back(Cell(ACol, ARow) + " " + CtrlID.toStdString());
        }
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

TEST_F(LinkGrid, MarkupAnchorsAndInTextControls)
{
    g->SetColWidths(2, 200);
    g->SetURLShow(false);
    const TRect cr = g->CellRect(2, 2);
    const TPoint first(cr.Left + g->XYOffset().X + 6, cr.Top + g->XYOffset().Y + 8);
    g->GotoCell(1, 1);
    g->SetCells(2, 2, "<A href=\"cell://R5C3\">go there</A>");
    GuiTest::Click(g, first);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Col(), 3);
    EXPECT_EQ(g->Row(), 5);

    // A CHECK control flips on each click where the cell may be edited.
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    std::vector<std::string> clicks;
    g->OnControlClick = [&](TObject *, int r, int c, const UnicodeString &id, const UnicodeString &type,
                            const UnicodeString &val) {
        clicks.push_back(Cell(c, r) + " " + id.toStdString() + " " + type.toStdString() + " " + val.toStdString());
    };
    g->SetCells(2, 2, "<CONTROL TYPE=\"CHECK\" ID=\"c\" VALUE=\"FALSE\" WIDTH=\"50\"> and <CONTROL TYPE=\"EDIT\" ID=\"e\" VALUE=\"x\" WIDTH=\"60\">");
    const TPoint box(cr.Left + g->XYOffset().X + 1 + 8, cr.Top + g->XYOffset().Y + 1 + 8);
    for (const char *v : {"TRUE", "FALSE"}) {
        GuiTest::Click(g, box);
        GuiTest::ProcessEvents();
        UnicodeString now;
        ASSERT_TRUE(GetControlValue(g->Cells(2, 2), "c", now));
        EXPECT_EQ(now.toUpper().toStdString(), v);
    }
    EXPECT_EQ(clicks, (std::vector<std::string>{"2,2 c CHECK TRUE", "2,2 c CHECK FALSE"}));
    EXPECT_TRUE(g->Edited.empty());
    // Enter on such a cell goes to its first control that takes typing.
    g->EditNextCellControl(2, 2, "");
    g->EditNextCellControl(2, 2, "e");
    EXPECT_EQ(g->Edited, std::vector<std::string>{"2,2 e"});
}

TEST_F(LinkGrid, RatingTakesHalfStepsUnlessRefused)
{
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    TCellGraphic *rating = g->CreateCellGraphic(3, 3);
    rating->SetCellType(ctRating);
    rating->SetCellAngle(5);
    const TRect cr = g->CellRect(3, 3);
    bool allow = true;
    std::vector<double> offered;
    g->OnRatingChange = [&](TObject *, int, int, double &Rate, bool &Allow) {
        offered.push_back(Rate);
        Allow = allow;
    };
    struct TCase {
        int Dx;
        const char *Text;
    };
    for (const TCase c : {TCase{27, "1.5"}, TCase{40, "2"}, TCase{3, "0"}}) {
        SCOPED_TRACE(c.Dx);
        GuiTest::Click(g, TPoint(cr.Left + c.Dx, cr.Top + 5));
        GuiTest::ProcessEvents();
        EXPECT_EQ(g->Cells(3, 3), FloatToStr(QString::fromLatin1(c.Text).toDouble()));
    }
    allow = false;
    GuiTest::Click(g, TPoint(cr.Left + 58, cr.Top + 5));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Cells(3, 3), FloatToStr(0));
    EXPECT_EQ(offered, (std::vector<double>{1.5, 2, 0, 3}));
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

TEST_F(LinkGrid, FixedRowSizedByDraggingKeepsAPixel)
{
    g->MouseActions()->SizeFixedRow = true;
    const int x = Middle(g->CellRect(3, 0)).X;
    for (const int releaseY : {-15, 0}) {
        SCOPED_TRACE(releaseY);
        g->SetRowHeights(0, 30);
        const int edge = g->RowHeights(0) + 1;
        GuiTest::MouseMove(g, TPoint(x, edge));
        GuiTest::MouseDown(g, TPoint(x, edge));
        GuiTest::MouseMove(g, TPoint(x, releaseY));
        GuiTest::MouseUp(g, TPoint(x, releaseY));
        GuiTest::ProcessEvents();
        EXPECT_EQ(g->RowHeights(0), 1);
    }
}

TEST_F(LinkGrid, AnOpenGroupClickedSelectsItsRows)
{
    g->SetFixedCols(1);
    g->AddNode(2, 3);
    g->AddNode(5, 2);
    g->ContractAll();
    g->Grouping()->AutoSelectGroup = true;
    g->ExpandAll();
    // An open group clicked right of its glyph: its child rows become the selection.
    GuiTest::Click(g, Middle(g->CellRect(3, 2)));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Selection().Top, 3);
    EXPECT_EQ(g->Selection().Bottom, 4);
    EXPECT_EQ(g->Selection().Left, 1);
}


// A grid of letters and numbers sorted by header clicks, with the row order read back.
class SortClickGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 320);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 620, 260);
        g->SetColCount(4);
        g->SetRowCount(6);
        g->SetOptions(g->Options() + TGridOptions{goColSizing});
        g->SortSettings()->Show = true;
        const char *letters[] = {"b", "a", "b", "a", "c"};
        const char *numbers[] = {"1", "2", "3", "4", "5"};
        for (int r = 1; r < 6; ++r) {
            g->SetCells(1, r, letters[r - 1]);
            g->SetCells(2, r, numbers[r - 1]);
            g->SetCells(3, r, QString("r%1").arg(r));
        }
        g->OnClickSort = [this](TObject *, int c) { clicked.push_back(c); };
        form->Show();
        GuiTest::ProcessEvents();
    }
    void ClickHeader(int C, TShiftState Shift = {})
    {
        GuiTest::Click(g, Middle(g->CellRect(C, 0)), mbLeft, Shift);
        GuiTest::ProcessEvents();
    }
    std::string Order()
    {
        std::string s;
        for (int r = 1; r < g->RowCount(); ++r)
            s += g->Cells(3, r).toStdString().substr(1);
        return s;
    }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
    std::vector<int> clicked;
};

TEST_F(SortClickGrid, ShiftClickAddsAnIndexKeyAndUndoSortTakesItAwayAgain)
{
    g->SortSettings()->UndoSort = true;
    ClickHeader(2, TShiftState{ssShift});
    EXPECT_EQ(Order(), "12345");
    ClickHeader(1);
    EXPECT_EQ(Order(), "24135") << "letters ascending, ties by the columns to the right";
    EXPECT_FALSE(g->SortSettings()->IndexShow);

    // Shift+click on the numbers: the letters stay the first key, the numbers follow.
    ClickHeader(2, TShiftState{ssShift});
    EXPECT_TRUE(g->SortSettings()->IndexShow);
    EXPECT_EQ(g->SortIndexes()->SaveToString(), "u1;u2");
    EXPECT_EQ(Order(), "24135");
    ClickHeader(2, TShiftState{ssShift});
    EXPECT_EQ(g->SortIndexes()->SaveToString(), "u1;d2");
    EXPECT_EQ(Order(), "42315");
    // Back at the first direction the key leaves the list: the letters alone, over the order
    // the rows had before any sort.
    ClickHeader(2, TShiftState{ssShift});
    EXPECT_EQ(g->SortIndexes()->SaveToString(), "u1");
    EXPECT_EQ(Order(), "24135");
    EXPECT_EQ(clicked, (std::vector<int>{2, 1, 2, 2, 2}));

    // A plain click goes back to one column; the third click on it undoes the sort.
    ClickHeader(1);
    EXPECT_FALSE(g->SortSettings()->IndexShow);
    EXPECT_EQ(g->SortSettings()->Direction, sdAscending);
    ClickHeader(1);
    EXPECT_EQ(Order(), "53142");
    ClickHeader(1);
    EXPECT_EQ(Order(), "12345");
    EXPECT_EQ(g->SortSettings()->Column, -1);
    for (int r = 0; r < g->RowCount(); ++r)
        EXPECT_EQ(g->SortRowXRef()->Items(r), r);
}

TEST_F(SortClickGrid, TheIndexKeyAndTheFirstDirectionFollowTheSettings)
{
    g->SortSettings()->IndexSortKey = ikCtrl;
    g->SortSettings()->InitSortDirection = sdDescending;
    ClickHeader(2);
    EXPECT_EQ(Order(), "54321");
    ClickHeader(1, TShiftState{ssShift});
    EXPECT_FALSE(g->SortSettings()->IndexShow) << "Shift is not the index key here";
    EXPECT_EQ(Order(), "53142");
    ClickHeader(2, TShiftState{ssCtrl});
    EXPECT_EQ(g->SortIndexes()->SaveToString(), "d1;d2");
    EXPECT_EQ(Order(), "53142");
}

TEST_F(SortClickGrid, MergedColumnsAreFormedAgainOverTheSortedRows)
{
    g->SortSettings()->AutoColumnMerge = true;
    g->MergedColumns()->Add(1);
    EXPECT_FALSE(g->IsYMergedCell(1, 1));
    ClickHeader(1);
    EXPECT_EQ(Order(), "24135");
    EXPECT_TRUE(g->IsYMergedCell(1, 1)) << "the two a rows";
    EXPECT_EQ(g->CellSpan(1, 1).Y, 1);
    EXPECT_TRUE(g->IsYMergedCell(1, 3)) << "the two b rows";
    EXPECT_FALSE(g->IsYMergedCell(1, 5));
}

TEST_F(SortClickGrid, ABodyCellReleasedAtItsRightEdgeOpensNoFilterList)
{
    g->SetFilterDropDownAuto(true);
    const TRect body = g->CellRect(1, 3);
    GuiTest::Click(g, TPoint(body.Right - 8, Middle(body).Y));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->FilterCol(), -1);
    EXPECT_FALSE(g->DropList()->Visible());
    EXPECT_EQ(Order(), "12345");

    // The filter button of the header opens it and does not sort.
    const TRect head = g->CellRect(1, 0);
    GuiTest::Click(g, TPoint(head.Right - 8, head.Top + 5));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->FilterCol(), 1);
    EXPECT_TRUE(g->DropList()->Visible());
    EXPECT_EQ(Order(), "12345");
    EXPECT_TRUE(clicked.empty());
}


TEST_F(SortClickGrid, ARightClickOnOneOfSeveralSelectedRowsKeepsThemForThePopupMenu)
{
    g->MouseActions()->SetDisjunctRowSelect(true);
    g->MouseActions()->SelectOnRightClick = true;
    TPopupMenu menu(nullptr);
    g->SetPopupMenu(&menu);
    GuiTest::TScriptedModalHook hook;
    // Each right click with a menu pops it up once; it is dismissed.
    for (int i = 0; i < 2; ++i)
        hook.Handle([](TModalRequest &) { return mrCancel; });
    auto selected = [&] {
        std::string s;
        for (int r = 1; r < g->RowCount(); ++r)
            s += g->RowSelect(r) ? '1' : '0';
        return s;
    };
    g->SetRowSelect(2, true);
    g->SetRowSelect(4, true);
    GuiTest::Click(g, Middle(g->CellRect(2, 4)), mbRight);
    GuiTest::ProcessEvents();
    EXPECT_EQ(selected(), "01010") << "kept for the menu";
    GuiTest::Click(g, Middle(g->CellRect(2, 3)), mbRight);
    GuiTest::ProcessEvents();
    EXPECT_EQ(selected(), "00100") << "a row outside them is selected alone";
    EXPECT_EQ(hook.Shown.size(), 2u);
    g->SetPopupMenu(nullptr);
    g->SetRowSelect(5, true);
    GuiTest::Click(g, Middle(g->CellRect(2, 5)), mbRight);
    GuiTest::ProcessEvents();
    EXPECT_EQ(selected(), "00001") << "without a menu only the clicked row stays";
}

} // namespace
