// Rows as a tree: node levels follow the spans, contracting hides a node's rows and expanding
// brings them back, nested nodes keep their own state; and the expand buttons of cells.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TreeGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        g = std::make_unique<TExtStringGrid>(nullptr);
        g->SetColCount(3);
        g->SetRowCount(8);
        for (int r = 0; r < 8; ++r)
            g->SetCells(1, r, QString::number(r));
    }
    int Level(int R) { return g->CellHasProperties(0, R) ? g->CellProperties(0, R)->NodeLevel() : 0; }
    std::string Shown()
    {
        std::string s;
        for (int r = 0; r < g->RowCount(); ++r)
            s += g->Cells(1, r).isEmpty() ? std::string(".") : g->Cells(1, r).toStdString();
        return s;
    }
    std::unique_ptr<TExtStringGrid> g;
};

TEST_F(TreeGrid, LevelsAndParentsFollowTheSpans)
{
    g->AddNode(1, 3);
    EXPECT_EQ(g->NumNodes(), 1);
    EXPECT_EQ((std::vector<int>{Level(0), Level(1), Level(2), Level(3), Level(4)}), (std::vector<int>{0, 1, 1, 1, 0}));
    EXPECT_EQ(g->GetNodeSpan(1), 3);
    EXPECT_EQ(g->GetNodeLevel(1), 1);
    EXPECT_EQ(g->GetNodeLevel(2), -1);
    EXPECT_EQ(g->GetNodeSpan(2), -1);
    EXPECT_EQ(g->GetParentRow(2), 1);
    EXPECT_EQ(g->GetParentRow(5), -1);

    g->AddNode(2, 2);
    EXPECT_EQ((std::vector<int>{Level(1), Level(2), Level(3)}), (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(g->GetParentRow(3), 2);
    EXPECT_EQ(g->GetParentRow(2), 1);
    EXPECT_EQ(g->GetNodeSpanType(2), 0);
    EXPECT_EQ(g->GetNodeSpanType(3), 1);

    g->RemoveNode(2);
    EXPECT_EQ((std::vector<int>{Level(1), Level(2), Level(3)}), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(g->NumNodes(), 1);
    EXPECT_EQ(g->GetNodeSpanType(2), 2);
    EXPECT_EQ(g->GetNodeSpanType(3), 1);
}

TEST_F(TreeGrid, GroupHeadingShowsItsRowCount)
{
    g->AddNode(1, 5);
    g->UpdateSubNodeCount(1, 1);
    ASSERT_EQ(g->GetNodeSpan(1), 5);
    ASSERT_EQ(g->GetSubNodeCount(1), 1);
    g->SetCells(1, 1, "Group");
    g->SetCells(2, 1, "other");
    EXPECT_EQ(g->Cells(1, 1), "Group") << "off by default";
    g->Grouping()->ShowGroupCount = true;
    // Span 5 less the one sub-node row and the heading itself.
    EXPECT_EQ(g->Cells(1, 1), "Group (3)");
    EXPECT_EQ(g->Cells(2, 1), "other") << "only column 1 counts";
    EXPECT_EQ(g->Cells(1, 3), "3") << "a child row is no heading";
    g->Grouping()->GroupCountFormat = " [%d rows]";
    EXPECT_EQ(g->Cells(1, 1), "Group [3 rows]");
    // The count is shown, never stored.
    EXPECT_EQ(g->GridCells(1, 1), "Group");
}

TEST_F(TreeGrid, ContractAndExpandNestedNodes)
{
    g->AddNode(1, 3);
    g->AddNode(2, 2);
    ASSERT_EQ(Shown(), "01234567");
    g->ContractNode(1);
    EXPECT_EQ(Shown(), "01" "4567");
    EXPECT_EQ(g->RowCount(), 6);
    EXPECT_TRUE(g->GetNodeState(1));
    g->ExpandNode(1);
    EXPECT_EQ(Shown(), "01234567");
    EXPECT_FALSE(g->GetNodeState(2));

    // The inner node first, then the outer: expanding the outer shows all, the inner expanded.
    g->ContractNode(2);
    EXPECT_EQ(Shown(), "012" "4567");
    g->ContractNode(1);
    EXPECT_EQ(Shown(), "01" "4567");
    g->SetNodeState(1, false);
    EXPECT_EQ(Shown(), "01234567");
    EXPECT_FALSE(g->GetNodeState(2));
    // A state that is already so changes nothing.
    g->SetNodeState(1, false);
    EXPECT_EQ(g->RowCount(), 8);
}

TEST_F(TreeGrid, ExpandOneKeepsOnlyOneNodeOpen)
{
    g->AddNode(1, 2);
    g->AddNode(3, 2);
    g->ContractNode(1);
    g->ContractNode(3); // by real row: the second node, now shown as row 2
    EXPECT_EQ(Shown(), "01" "3" "567");
    g->CellNode()->SetExpandOne(true);
    g->ExpandNode(1);
    EXPECT_EQ(Shown(), "012" "3" "567");
    EXPECT_TRUE(g->GetNodeState(3));
    g->ExpandNode(3);
    EXPECT_EQ(Shown(), "01" "34567");
    EXPECT_TRUE(g->GetNodeState(1));
}

TEST_F(TreeGrid, ContractAllAndExpandAll)
{
    g->AddNode(1, 3);
    g->AddNode(2, 2);
    g->AddNode(4, 0); // reaches up to the next node or the end
    g->ContractAll();
    EXPECT_EQ(Shown(), "01" "4");
    EXPECT_TRUE(g->GetNodeState(1));
    EXPECT_TRUE(g->GetNodeState(2)); // the node of row 4 shows as row 2
    // The rows are hidden as a tree, not as a filter level that a filter's undo would show.
    g->UnHideRowList();
    EXPECT_EQ(Shown(), "014");
    g->ExpandAll();
    EXPECT_EQ(Shown(), "01234567");
    EXPECT_FALSE(g->GetNodeState(1));
    EXPECT_FALSE(g->GetNodeState(2));
    EXPECT_FALSE(g->GetNodeState(4));
    // Twice is the same.
    g->ContractAll();
    g->ContractAll();
    EXPECT_EQ(Shown(), "014");
    g->RemoveAllNodes();
    EXPECT_EQ(Shown(), "01234567");
    EXPECT_EQ(g->NumNodes(), 0);
    EXPECT_EQ(Level(2), 0);
}

TEST_F(TreeGrid, ChildRowsGrowAndShrinkTheirNodes)
{
    g->AddNode(1, 3);
    g->AddNode(5, 2);
    g->ContractNode(5); // row 6 hidden
    g->InsertChildRow(2, 1);
    EXPECT_EQ(g->GetNodeSpan(1), 4);
    EXPECT_EQ(g->GetSubNodeCount(1), 1);
    EXPECT_EQ(Level(3), 1);
    EXPECT_EQ(Shown(), "012.3457");
    // The hidden child of the second node moved down with it.
    g->ExpandNode(6);
    EXPECT_EQ(g->Cells(1, 7), "6");

    // A child of the node row itself takes over the node row's texts.
    g->SetCells(2, 1, "head");
    g->InsertChildRow(1, 0);
    EXPECT_EQ(g->Cells(1, 1), "");
    EXPECT_EQ(g->Cells(1, 2), "1");
    EXPECT_EQ(g->Cells(2, 2), "head");
    EXPECT_TRUE(g->IsNode(1));
    EXPECT_EQ(g->GetNodeSpan(1), 5);

    g->RemoveChildRow(2);
    EXPECT_EQ(g->GetNodeSpan(1), 4);
    EXPECT_EQ(g->Cells(1, 2), "2");
    EXPECT_EQ(g->RowCount(), 9);
}

TEST_F(TreeGrid, NodeGlyphHitByLook)
{
    g->AddNode(1, 2);
    g->CellNode()->SetNodeType(cnXP);
    std::vector<int> hits;
    for (int x = 3; x <= 17; ++x)
        if (g->IsNodeGlyphHit(1, x))
            hits.push_back(x);
    EXPECT_EQ(hits.front(), 5);
    EXPECT_EQ(hits.back(), 15);
    EXPECT_EQ(hits.size(), 11u);
    g->CellNode()->SetNodeType(cn3D);
    EXPECT_TRUE(g->IsNodeGlyphHit(1, 1));
    EXPECT_FALSE(g->IsNodeGlyphHit(1, 18));
    g->MouseActions()->PreciseNodeClick = false;
    EXPECT_TRUE(g->IsNodeGlyphHit(1, 300));
}

TEST_F(TreeGrid, CheckBoxGroupsFollowTheirNode)
{
    g->Grouping()->AutoCheckGroup = true;
    g->SetOptions(g->Options() + TGridOptions{goEditing});
    g->AddNode(1, 3);
    g->AddCheckBoxColumn(2, false, false);
    TCheckBoxState s = cbChecked;
    ASSERT_TRUE(g->GetCheckBoxState(2, 1, s));
    EXPECT_EQ(s, cbUnchecked);
    // A child changes the node's box to grayed, both children to checked.
    g->ToggleCheckBox(2, 2);
    g->GetCheckBoxState(2, 1, s);
    EXPECT_EQ(s, cbGrayed);
    g->ToggleCheckBox(2, 3);
    g->GetCheckBoxState(2, 1, s);
    EXPECT_EQ(s, cbChecked);
    // The node sets its children, also while they are hidden.
    g->ContractNode(1);
    g->ToggleCheckBox(2, 1);
    g->ExpandNode(1);
    EXPECT_FALSE(g->IsChecked(2, 2));
    EXPECT_FALSE(g->IsChecked(2, 3));
    // A row in no node has no parent to update.
    EXPECT_TRUE(g->ToggleCheckBox(2, 5));
    EXPECT_TRUE(g->IsChecked(2, 5));
}

TEST_F(TreeGrid, ExpandButtonsSwitchBetweenTwoHeights)
{
    g->SetRowHeights(2, 20);
    g->AddExpand(1, 2, 60);
    EXPECT_TRUE(g->HasExpand(1, 2));
    EXPECT_FALSE(g->GetExpandState(1, 2));
    EXPECT_EQ(g->GetExpandHeight(1, 2, true), 60);
    EXPECT_EQ(g->GetExpandHeight(1, 2, false), 20);
    EXPECT_TRUE(g->ToggleExpand(1, 2));
    EXPECT_TRUE(g->GetExpandState(1, 2));
    EXPECT_FALSE(g->ToggleExpand(1, 2));
    EXPECT_EQ(g->GetExpandHeight(1, 3, true), g->DefaultRowHeight());
    EXPECT_FALSE(g->ToggleExpand(1, 3));

    TRect R;
    g->GetExpandButtonRect(1, 2, R);
    const TRect C = g->CellRect(1, 2);
    EXPECT_EQ(R, TRect(C.Right - 13, C.Top + 2, C.Right - 2, C.Top + 13));
    g->GetExpandButtonRect(1, 3, R);
    EXPECT_EQ(R, TRect(0, 0, 0, 0));
    g->RemoveExpand(1, 2);
    EXPECT_FALSE(g->HasExpand(1, 2));
}

} // namespace
