// The pointer over a shown grid: hovered cells and buttons, the pointer mode over headers and
// links, leaving the window, the start of a drag of the selection and the column sizing event.
#include "grid/core/ExtGrid.h"

#include "platform/Forms.h"
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

class PointerGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 500, 300);
        g = new TExtStringGrid(form.get());
        g->SetParent(form.get());
        g->SetBounds(0, 0, 480, 260);
        g->SetColCount(6);
        g->SetRowCount(8);
        g->SetOptions(g->Options() + TGridOptions{goRangeSelect, goColSizing});
        form->Show();
        GuiTest::ProcessEvents();
    }
    void Move(TPoint P)
    {
        GuiTest::MouseMove(g, P);
        GuiTest::ProcessEvents();
    }
    std::unique_ptr<TForm> form;
    TExtStringGrid *g = nullptr;
};

TEST_F(PointerGrid, HoverFieldsFollowThePointerAndLeavingClearsThem)
{
    g->SetHoverFixedCells(hfAll);
    g->SetHoverRow(true);
    g->AddButton(3, 3, 40, 16, "Go", haLeft, vaTop);
    Move(Middle(g->CellRect(2, 0)));
    EXPECT_EQ(g->HoverFixedCell(), TPoint(2, 0));
    EXPECT_EQ(g->HoverRowIndex(), 0);
    TRect br;
    g->GetCellButtonRect(3, 3, br);
    Move(Middle(br));
    EXPECT_EQ(g->HoverButton(), TPoint(3, 3));
    EXPECT_EQ(g->HoverRowIndex(), 3);
    Move(Middle(g->CellRect(1, 4)));
    EXPECT_EQ(g->HoverButton(), TPoint(-1, -1));

    GuiTest::LeaveWindow(g);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->HoverFixedCell(), TPoint(-1, -1));
    EXPECT_EQ(g->HoverRowIndex(), -1);
    EXPECT_EQ(g->MouseSelectMode(), msNormal);

    // While a header menu is open the hovered header cell stays.
    Move(Middle(g->CellRect(2, 0)));
    g->SetNoMouseLeave(true);
    GuiTest::LeaveWindow(g);
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->HoverFixedCell(), TPoint(2, 0));
}

TEST_F(PointerGrid, PointerModeByPlace)
{
    g->MouseActions()->ColSelect = true;
    g->MouseActions()->RowSelect = true;
    g->MouseActions()->AllSelect = true;
    g->SetURLShow(true);
    g->SetCells(2, 3, "http://example.org");
    const TRect h = g->CellRect(2, 0);
    g->MouseActions()->SizeFixedCol = true;
    g->SetCursor(crIBeam);
    struct TCase {
        const char *Name;
        TPoint At;
        TMouseSelectMode Mode;
        TCursor Cursor;
    };
    const TCase cases[] = {
        {"header cell", Middle(h), msColumn, crIBeam},
        {"header sizing edge", TPoint(h.Right - 1, Middle(h).Y), msNormal, crIBeam},
        {"fixed column", Middle(g->CellRect(0, 3)), msRow, crIBeam},
        {"top-left corner", Middle(g->CellRect(0, 0)), msAll, crIBeam},
        {"link text", Middle(g->CellRect(2, 3)), msURL, crHandPoint},
        {"fixed column border", TPoint(g->ColWidths(0) + 1, Middle(g->CellRect(0, 3)).Y), msNormal, crHSplit},
        {"plain cell", Middle(g->CellRect(3, 3)), msNormal, crIBeam},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        Move(c.At);
        EXPECT_EQ(g->MouseSelectMode(), c.Mode);
        EXPECT_EQ(g->Cursor(), c.Cursor);
    }
}

TEST_F(PointerGrid, DragOfTheSelectionStartsAtFourPixels)
{
    g->DragDropSettings()->OleDropSource = true;
    std::vector<std::string> started;
    g->OnOleDragStart = [&](TObject *, int r, int c) { started.push_back(std::to_string(c) + "," + std::to_string(r)); };
    g->GotoCell(2, 3);
    const TPoint p = Middle(g->CellRect(2, 3));
    for (const TPoint d : {TPoint(3, 0), TPoint(0, 3), TPoint(3, 3)}) {
        GuiTest::MouseDown(g, p);
        GuiTest::MouseMove(g, TPoint(p.X + d.X, p.Y + d.Y));
        GuiTest::MouseUp(g, TPoint(p.X + d.X, p.Y + d.Y));
        GuiTest::ProcessEvents();
        EXPECT_TRUE(started.empty()) << d.X << "," << d.Y;
        g->GotoCell(2, 3);
    }
    // The drag runs modal; here it is cancelled at once.
    GuiTest::TScriptedModalHook hook;
    hook.Answer(mrCancel);
    GuiTest::MouseDown(g, p);
    GuiTest::MouseMove(g, TPoint(p.X + 4, p.Y));
    GuiTest::MouseUp(g, TPoint(p.X + 4, p.Y));
    GuiTest::ProcessEvents();
    EXPECT_EQ(started, std::vector<std::string>{"2,3"});
    ASSERT_EQ(hook.Shown.size(), 1u);
    EXPECT_EQ(hook.Shown[0].ClassName, "TDragDrop");
}

TEST_F(PointerGrid, ColumnSizingReportsTheHintsWidth)
{
    g->SetHintShowSizing(true);
    std::vector<int> sizes;
    g->OnColumnSizing = [&](TObject *, int c, int w) {
        if (c == 2)
            sizes.push_back(w);
    };
    const TRect h = g->CellRect(2, 0);
    const int y = Middle(h).Y;
    GuiTest::MouseMove(g, TPoint(h.Right, y));
    GuiTest::MouseDown(g, TPoint(h.Right, y));
    GuiTest::MouseMove(g, TPoint(h.Right + 20, y));
    GuiTest::ProcessEvents();
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(g->SizingHint(), QStringLiteral("cw=<b>%1</b>").arg(sizes.back()));
    // The hint shows at the sized column's header while the border is dragged.
    THTMLHintWindow *hint = g->ScrollHintWindow();
    ASSERT_TRUE(hint->Showing());
    EXPECT_EQ(hint->Caption(), g->SizingHint());
    EXPECT_EQ(hint->Left(), g->ClientToScreen(TPoint(h.Left, h.Top)).X);
    GuiTest::MouseUp(g, TPoint(h.Right + 20, y));
    GuiTest::ProcessEvents();
    EXPECT_EQ(g->ColWidths(2), sizes.back()) << "the reported width is the one the release gives";
    EXPECT_FALSE(hint->Showing()) << "the release closes it";
}

} // namespace
