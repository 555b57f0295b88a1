// Presses and releases on a shown grid beyond the plain click: the header drop-down button, the
// editor of fixed cells, the filter button, the selection grip, column moves, links under the
// pointer and sizings released outside the grid.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TPoint Middle(const TRect &R)
{
    return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

std::string Cell(int c, int r)
{
    return std::to_string(c) + "," + std::to_string(r);
}

std::string Rect(const TGridRect &R)
{
    return Cell(R.Left, R.Top) + "-" + Cell(R.Right, R.Bottom);
}

// Records the operations other parts of the grid carry out.
class TPressGrid : public TExtStringGrid {
public:
    using TExtStringGrid::TExtStringGrid;
    std::vector<std::string> Calls;
    void EditFixedCell(int ACol, int ARow) override { Calls.push_back("fixededit " + Cell(ACol, ARow)); }
    void OpenFilterDropDown(int ACol, int ARow) override { Calls.push_back("filter " + Cell(ACol, ARow)); }
    void CopySelectionToClipboard() override { Calls.push_back("copy " + Rect(Selection())); }
    bool DoGetColumnFilter(int Column) override { return Column == 2; }
};

class PressGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 520, 320);
        g = new TPressGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 500, 280);
        g->SetColCount(6);
        g->SetRowCount(8);
        g->SetOptions(g->Options() + TGridOptions{goRangeSelect, goColSizing});
        form->Show();
        GuiTest::ProcessEvents();
    }
    void Click(TPoint P, TMouseButton B = mbLeft)
    {
        GuiTest::Click(g, P, B);
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TPressGrid *g = nullptr;
};

TEST_F(PressGrid, HeaderDropDownButtonOffersItsMenu)
{
    g->SetHoverFixedCells(hfAll);
    g->ControlLook()->SetFixedDropDownButton(true);
    std::vector<std::string> offered;
    g->OnFixedDropDownClick = [&](TObject *, int c, int r, TPopupMenu *&Menu, bool &Keep) {
        offered.push_back(Cell(c, r));
        Menu = nullptr;
        Keep = true;
    };
    const TRect h = g->CellRect(2, 0);
    Click(TPoint(h.Right - 8, Middle(h).Y));
    EXPECT_EQ(offered, std::vector<std::string>{"2,0"});
    EXPECT_TRUE(g->NoMouseLeave()) << "the handler keeps the header highlighted";
    // Away from the button, or on a cell that is not painted hovered, nothing is offered.
    Click(Middle(h));
    g->SetHoverFixedCells(hfFixedColumns);
    Click(TPoint(h.Right - 8, Middle(h).Y));
    EXPECT_EQ(offered.size(), 1u);
}

// The expand button of an editable cell gives its row the expanded height and back, also with a
// hidden column left of it (the cell then shows one column further left).
TEST_F(PressGrid, ExpandButtonSwitchesTheRowHeight)
{
    for (const bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "a column hidden" : "all columns shown");
        SetUp();
        g->SetOptions(g->Options() + TGridOptions{goEditing});
        g->AddExpand(3, 3, 60);
        if (hidden)
            g->HideColumn(1);
        std::vector<std::string> clicks;
        g->OnExpandClick = [&](TObject *, int, int r, bool expanded) {
            clicks.push_back(std::to_string(r) + (expanded ? " open" : " shut"));
        };
        TRect br;
        g->GetExpandButtonRect(3, 3, br);
        ASSERT_FALSE(br.IsEmpty());
        EXPECT_EQ(br.Right, g->CellRect(hidden ? 2 : 3, 3).Right - 2);
        for (int height : {60, g->DefaultRowHeight()}) {
            Click(Middle(br));
            EXPECT_EQ(g->RowHeights(3), height);
        }
        EXPECT_EQ(clicks, (std::vector<std::string>{"3 open", "3 shut"}));
    }
}

TEST_F(PressGrid, FixedCellEditorOpensClearOfTheSizingEdges)
{
    g->MouseActions()->FixedRowsEdit = fceLeftClick;
    const TRect h = g->CellRect(2, 0);
    for (int x : {h.Left + 2, h.Right - 3}) {
        GuiTest::MouseDown(g, TPoint(x, Middle(h).Y));
        GuiTest::MouseUp(g, TPoint(x, Middle(h).Y));
    }
    EXPECT_TRUE(g->Calls.empty());
    Click(Middle(h));
    EXPECT_EQ(g->Calls, std::vector<std::string>{"fixededit 2,0"});

    g->Calls.clear();
    g->MouseActions()->FixedRowsEdit = fceNone;
    g->MouseActions()->FixedColsEdit = fceDblClick;
    GuiTest::DoubleClick(g, Middle(g->CellRect(0, 3)));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->Calls, std::vector<std::string>{"fixededit 0,3"});
}

TEST_F(PressGrid, FilterButtonOpensTheListOfAColumnWithAFilter)
{
    for (int c : {1, 2}) {
        const TRect h = g->CellRect(c, 0);
        Click(TPoint(h.Right - 8, h.Top + 5));
    }
    EXPECT_EQ(g->Calls, std::vector<std::string>{"filter 2,0"});
}

TEST_F(PressGrid, SelectionGripCopiesAndReportsTheResize)
{
    g->SetSelectionRectangle(true);
    g->SetSelectionResizer(true);
    g->SelectRange(2, 3, 2, 3);
    std::vector<std::string> log;
    g->OnSelectionResize = [&](TObject *, const TGridRect &B, const TGridRect &A) {
        log.push_back("resize " + Rect(B) + " " + Rect(A));
    };
    g->OnSelectionResized = [&](TObject *, const TGridRect &B, const TGridRect &A) {
        log.push_back("resized " + Rect(B) + " " + Rect(A));
    };
    const TRect corner = g->CellRect(3, 3);
    const TPoint grip(corner.Right - 2, corner.Bottom - 2);
    GuiTest::MouseMove(g, grip);
    GuiTest::MouseDown(g, grip);
    EXPECT_EQ(g->Calls, std::vector<std::string>{"copy 2,2-3,3"});
    const TPoint to = Middle(g->CellRect(3, 5));
    GuiTest::MouseMove(g, to);
    GuiTest::MouseUp(g, to);
    GuiTest::ProcessEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"resize 2,2-3,3 2,2-3,5", "resized 2,2-3,3 2,2-3,5"}));
}

TEST_F(PressGrid, ColumnMoveAsksBeforeAndWhileMoving)
{
    g->SetOptions(g->Options() + TGridOptions{goColMoving} - TGridOptions{goColSizing});
    std::vector<std::string> log;
    bool allow = true;
    g->OnColumnMove = [&](TObject *, int c, bool &Allow) {
        log.push_back("move " + std::to_string(c));
        Allow = allow;
    };
    g->OnColumnMoving = [&](TObject *, int c, bool &) { log.push_back("moving " + std::to_string(c)); };
    g->SetCells(2, 0, "B");
    const TPoint from = Middle(g->CellRect(2, 0));
    const TPoint to = Middle(g->CellRect(4, 0));
    GuiTest::MouseDown(g, from);
    GuiTest::MouseMove(g, to, TShiftState{ssLeft});
    GuiTest::MouseUp(g, to);
    GuiTest::ProcessEvents();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "move 2");
    EXPECT_NE(std::find(log.begin(), log.end(), "moving 4"), log.end());
    EXPECT_EQ(g->Cells(4, 0), "B");

    log.clear();
    allow = false;
    GuiTest::MouseDown(g, Middle(g->CellRect(4, 0)));
    GuiTest::MouseMove(g, Middle(g->CellRect(1, 0)), TShiftState{ssLeft});
    GuiTest::MouseUp(g, Middle(g->CellRect(1, 0)));
    GuiTest::ProcessEvents();
    EXPECT_EQ(log, std::vector<std::string>{"move 4"});
    EXPECT_EQ(g->Cells(4, 0), "B") << "refused: the column stays";
}

TEST_F(PressGrid, LinksUnderThePointerAndEditedWithTheRightButton)
{
    g->SetURLShow(true);
    g->SetURLUnderlineOnHover(true);
    g->SetCells(2, 3, "mailto:someone@example.org");
    std::vector<std::string> log;
    g->OnAnchorEnter = [&](TObject *, int r, int c, const UnicodeString &A) {
        log.push_back("enter " + Cell(c, r) + " " + A.toStdString());
    };
    g->OnAnchorExit = [&](TObject *, int r, int c, const UnicodeString &) { log.push_back("exit " + Cell(c, r)); };
    GuiTest::MouseMove(g, Middle(g->CellRect(2, 3)));
    EXPECT_EQ(g->HoverCell(), TPoint(2, 3));
    GuiTest::MouseMove(g, Middle(g->CellRect(3, 3)));
    EXPECT_EQ(g->HoverCell(), TPoint(-1, -1));
    EXPECT_EQ(log, (std::vector<std::string>{"enter 2,3 mailto:someone@example.org", "exit 3,3"}));

    // On an editable grid a left click follows a link: the right button edits it.
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    Click(Middle(g->CellRect(2, 3)), mbRight);
    EXPECT_FALSE(g->InEditMode()) << "without URLEdit a right click edits nothing";
    g->SetURLEdit(true);
    Click(Middle(g->CellRect(2, 3)), mbRight);
    EXPECT_TRUE(g->InEditMode());
    EXPECT_EQ(g->Col(), 2);
    EXPECT_EQ(g->Row(), 3);
}

TEST_F(PressGrid, ColumnSizingReleasedRightOfTheGridIsDropped)
{
    g->SetColCount(3);
    g->SetColWidths(2, 60);
    const TRect h = g->CellRect(2, 0);
    const int y = Middle(h).Y;
    GuiTest::MouseMove(g, TPoint(h.Right, y));
    GuiTest::MouseDown(g, TPoint(h.Right, y));
    GuiTest::MouseMove(g, TPoint(g->Width() + 30, y));
    GuiTest::MouseUp(g, TPoint(g->Width() + 30, y));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->ColWidths(2), 60);
    GuiTest::MouseMove(g, TPoint(h.Right, y));
    GuiTest::MouseDown(g, TPoint(h.Right, y));
    GuiTest::MouseMove(g, TPoint(h.Right + 30, y));
    GuiTest::MouseUp(g, TPoint(h.Right + 30, y));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->ColWidths(2), 90);
}

} // namespace
