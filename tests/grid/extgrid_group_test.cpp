// Grouping rows on a column: headers and summaries, group calculations, the second level and
// ungrouping back to the grid as it was, also for the column grid's column settings.
#include "grid/core/ExtColumnGrid.h"
#include "grid/core/ExtGrid.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every row as its cells joined by "|", rows joined by "/"; node rows start with "+", summary
// rows with "=".
UnicodeString Picture(TExtStringGrid *G)
{
    QStringList rows;
    for (int r = 0; r < G->RowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < G->ColCount(); ++c)
            cells << G->Cells(c, r);
        const UnicodeString mark = G->IsNode(r) ? QStringLiteral("+") : G->IsSummary(r) ? QStringLiteral("=") : QString();
        rows << mark + cells.join(QLatin1Char('|'));
    }
    return rows.join(QLatin1Char('/'));
}

void Fill(TExtStringGrid *G, std::initializer_list<std::initializer_list<const char *>> Rows)
{
    G->SetRowCount(int(Rows.size()));
    int r = 0;
    for (const auto &row : Rows) {
        int c = 1;
        for (const char *t : row)
            G->SetCells(c++, r, QString::fromUtf8(t));
        ++r;
    }
}

class GroupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(4);
        G->SetFixedCols(1);
        Fill(G.get(), {{"Key", "Name", "Value"}, {"A", "x", "1"}, {"A", "y", "2"}, {"B", "z", "4"}});
        G->SetFixedRows(1);
        G->SetColWidths(1, 55);
    }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(GroupTest, RunsOfEqualValuesBecomeNodesAndTheColumnGoes)
{
    const UnicodeString before = Picture(G.get());
    G->Group(1);
    EXPECT_EQ(G->GroupColumn(), 1);
    EXPECT_EQ(G->ColCount(), 3);
    EXPECT_EQ(Picture(G.get()), QStringLiteral("Name|Value/+A|/x|1/y|2/+B|/z|4"));
    EXPECT_EQ(G->GetNodeSpan(1), 3);
    EXPECT_EQ(G->GetNodeSpan(4), 2);
    EXPECT_FALSE(G->IsGrouping());

    G->UnGroup();
    EXPECT_EQ(G->GroupColumn(), -1);
    EXPECT_EQ(Picture(G.get()), before);
    EXPECT_EQ(G->ColWidths(1), 55);
    EXPECT_EQ(G->NumNodes(), 0);
}

TEST_F(GroupTest, SummaryRowsCloseEachGroupAndTakeItsSum)
{
    G->Grouping()->Summary = true;
    G->Grouping()->SummaryColor = clYellow;
    G->Group(1);
    EXPECT_EQ(Picture(G.get()), QStringLiteral("Name|Value/+A|/x|1/y|2/=|/+B|/z|4/=|"));
    EXPECT_EQ(G->Colors(1, 4), TColorOf(ColorToRGB(clYellow)));
    G->GroupSum(2);
    EXPECT_EQ(G->Cells(2, 4), QStringLiteral("3.00"));
    EXPECT_EQ(G->Cells(2, 7), QStringLiteral("4.00"));
    G->GroupCalc(2, 9); // no such method: nothing
    EXPECT_EQ(G->Cells(2, 4), QStringLiteral("3.00"));

    G->UnGroup();
    EXPECT_EQ(Picture(G.get()), QStringLiteral("Key|Name|Value/A|x|1/A|y|2/B|z|4"));
    EXPECT_EQ(G->Colors(2, 3), G->Colors(2, 2)); // summary colours went with the rows
}

TEST_F(GroupTest, MergedHeadersAndSummariesSplitAgainOnUngrouping)
{
    const UnicodeString before = Picture(G.get());
    G->Grouping()->Summary = true;
    G->Grouping()->MergeHeader = true;
    G->Grouping()->MergeSummary = true;
    G->Grouping()->HeaderColor = clAqua;
    G->Group(1);
    // A covered cell reads its range's text.
    ASSERT_EQ(Picture(G.get()).toStdString(), "Name|Value/+A|A/x|1/y|2/=|/+B|B/z|4/=|");
    for (int r : {1, 4, 5, 7}) {
        EXPECT_TRUE(G->IsMergedCell(1, r)) << r;
        EXPECT_EQ(G->CellSpan(1, r).X, 1) << r; // over the two columns left
    }
    EXPECT_FALSE(G->IsMergedCell(1, 2));
    EXPECT_EQ(G->Colors(1, 1), TColorOf(ColorToRGB(clAqua)));
    G->UnGroup();
    EXPECT_EQ(Picture(G.get()), before);
    for (int r = 0; r < G->RowCount(); ++r)
        EXPECT_FALSE(G->IsMergedCell(1, r)) << r;
}

TEST_F(GroupTest, CountsGoIntoHeadersAndContractedGroupsAreLeftAlone)
{
    G->Group(1);
    G->GroupCount(2);
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("2"));
    EXPECT_EQ(G->Cells(2, 4), QStringLiteral("1"));

    G->SetCells(2, 1, QString());
    G->SetCells(2, 4, QString());
    G->ContractNode(G->RealRowIndex(1));
    ASSERT_EQ(G->RowCount(), 4);
    G->GroupSum(2);
    EXPECT_TRUE(G->Cells(2, 1).isEmpty());
    EXPECT_EQ(G->Cells(2, 2), QStringLiteral("4.00"));
}

TEST_F(GroupTest, AShownFooterTakesTheGroupsFigureForTheColumn)
{
    G->Group(1);
    G->GroupAvg(2);
    EXPECT_EQ(G->FloatingFooter()->ColumnCalc(2), acNONE);
    G->FloatingFooter()->SetVisible(true);
    struct Case {
        void (TExtStringGrid::*Calc)(int);
        TColumnCalcType Footer;
    } cases[] = {{&TExtStringGrid::GroupSum, acSUM},
                 {&TExtStringGrid::GroupAvg, acAVG},
                 {&TExtStringGrid::GroupMin, acMIN},
                 {&TExtStringGrid::GroupMax, acMAX},
                 {&TExtStringGrid::GroupCount, acCOUNT}};
    for (const Case &c : cases) {
        (G.get()->*c.Calc)(2);
        EXPECT_EQ(G->FloatingFooter()->ColumnCalc(2), c.Footer);
    }
    G->GroupStdDev(2);
    EXPECT_EQ(G->FloatingFooter()->ColumnCalc(2), acCOUNT);
}

TEST_F(GroupTest, CustomAndFailingGroupCalculations)
{
    G->Group(1);
    G->OnGroupCalc = [](TObject *, int ACol, int FromRow, int ToRow, double &Res) { Res = ACol * 100 + FromRow * 10 + ToRow; };
    G->GroupCustomCalc(2);
    EXPECT_EQ(G->Cells(2, 1), QStringLiteral("223.00"));
    // A minimum over a group whose first cell is no number leaves that header empty only.
    G->SetCells(2, 2, QStringLiteral("n/a"));
    G->GroupMin(2);
    EXPECT_TRUE(G->Cells(2, 1).isEmpty());
    EXPECT_EQ(G->Cells(2, 4), QStringLiteral("4.00"));
}

TEST_F(GroupTest, NodeRowsDoNotCountWhileGrouped)
{
    Fill(G.get(), {{"Key", "Name", "Value"}, {"A", "x", "1"}, {"A", "y", "2"}, {"A", "w", "3"}, {"B", "z", "4"}});
    G->Group(1);
    G->SetCells(2, 1, QStringLiteral("100"));
    ASSERT_TRUE(G->IsNode(1));
    EXPECT_DOUBLE_EQ(G->ColumnAvg(2, 1, 4), 6.0 / 4);
    EXPECT_DOUBLE_EQ(G->ColumnSum(2, 1, 6), 10);
}

TEST_F(GroupTest, GroupColumnZeroDoesNothingAndMinusOneUngroups)
{
    const UnicodeString before = Picture(G.get());
    G->SetGroupColumn(0);
    EXPECT_EQ(Picture(G.get()), before);
    EXPECT_EQ(G->GroupColumn(), -1);
    G->SetGroupColumn(2);
    EXPECT_EQ(G->GroupColumn(), 2);
    G->SetGroupColumn(1); // regroups on another column
    EXPECT_EQ(G->GroupColumn(), 1);
    EXPECT_EQ(Picture(G.get()), QStringLiteral("Name|Value/+A|/x|1/y|2/+B|/z|4"));
    G->SetGroupColumn(-1);
    EXPECT_EQ(Picture(G.get()), before);

    // Without fixed columns, column 0 still keeps the nodes and is never grouped away.
    G->SetFixedCols(0);
    G->Group(0);
    EXPECT_EQ(G->GroupColumn(), -1);
    EXPECT_EQ(G->ColCount(), 4);
    EXPECT_EQ(Picture(G.get()), before);
}

TEST_F(GroupTest, CaptionAndFooterOfTheColumnComeBack)
{
    G->SetRowCount(5);
    G->SetCells(1, 4, QStringLiteral("Total"));
    G->SetCells(2, 4, QStringLiteral("-"));
    G->SetFixedFooters(1);
    const UnicodeString before = Picture(G.get());
    G->Grouping()->Summary = true;
    G->Group(1);
    EXPECT_EQ(G->Cells(1, G->RowCount() - 1), QStringLiteral("-"));
    G->UnGroup();
    EXPECT_EQ(Picture(G.get()), before);
}

TEST_F(GroupTest, SubGroupsSplitTheGroupsAndUngroupingRestoresTheMainColumn)
{
    G->SetColCount(5);
    Fill(G.get(), {{"Key", "Sub", "Name", "Value"},
                   {"A", "p", "x", "1"},
                   {"A", "p", "y", "2"},
                   {"A", "q", "z", "3"},
                   {"B", "r", "w", "4"}});
    G->SetColWidths(1, 55);
    const UnicodeString before = Picture(G.get());
    G->Group(1);
    G->SubGroup(1);
    EXPECT_EQ(G->GroupColumn(), 1);
    EXPECT_EQ(G->SubGroupColumn(), 1);
    EXPECT_EQ(Picture(G.get()).toStdString(), "Sub|Name|Value/+A||/+|p|/|x|1/|y|2/+|q|/|z|3/+B||/+|r|/|w|4");
    EXPECT_EQ(G->GetNodeSpan(1), 6);
    EXPECT_EQ(G->GetNodeSpan(2), 3);
    EXPECT_EQ(G->GetNodeSpan(5), 2);
    EXPECT_EQ(G->GetNodeLevel(1), 1);
    EXPECT_EQ(G->GetNodeLevel(2), 2);
    G->UnGroup();
    EXPECT_EQ(Picture(G.get()), before);
    EXPECT_EQ(G->ColWidths(1), 55);
    EXPECT_EQ(G->SubGroupColumn(), -1);
    EXPECT_EQ(G->NumNodes(), 0);
}

TEST_F(GroupTest, SubGroupsInsideSummarisedGroupsUngroupToTheOriginal)
{
    G->SetColCount(5);
    Fill(G.get(), {{"Key", "Sub", "Name", "Value"},
                   {"A", "p", "x", "1"},
                   {"A", "q", "y", "2"},
                   {"B", "r", "v", "5"},
                   {"B", "r", "w", "4"}});
    // Grouping sorts the rows (ties by the following columns), so the rows start in that order
    // for the ungrouped grid to compare equal with the original.
    const UnicodeString before = Picture(G.get());
    G->Grouping()->Summary = true;
    G->Group(1);
    G->SubGroup(1);
    EXPECT_EQ(Picture(G.get()).toStdString(),
              "Sub|Name|Value/+A||/+|p|/|x|1/+|q|/|y|2/=||/+B||/+|r|/|v|5/|w|4/=||");
    G->GroupSum(3);
    EXPECT_EQ(G->Cells(3, 6), QStringLiteral("3.00"));
    EXPECT_EQ(G->Cells(3, 11), QStringLiteral("9.00"));
    G->UnGroup();
    EXPECT_EQ(Picture(G.get()), before);
    EXPECT_EQ(G->NumNodes(), 0);
}

TEST(ColumnGridGroup, TheGroupedColumnsItemComesBack)
{
    TExtColumnGrid G(nullptr);
    G.SetColCount(4);
    Fill(&G, {{"Key", "Name", "Value"}, {"A", "x", "1"}, {"B", "z", "4"}});
    G.SetFixedRows(1);
    G.Columns()->Items(1)->SetFloatFormat(QStringLiteral("%.3f"));
    G.Columns()->Items(1)->SetAutoMaxSize(33);
    G.Columns()->Items(2)->SetAutoMaxSize(44);
    G.Group(1);
    EXPECT_EQ(G.Columns()->Count(), 3);
    EXPECT_EQ(G.Columns()->Items(1)->AutoMaxSize(), 44);
    G.SubGroup(1);
    G.UnGroup();
    ASSERT_EQ(G.Columns()->Count(), 4);
    EXPECT_EQ(G.Columns()->Items(1)->FloatFormat(), QStringLiteral("%.3f"));
    EXPECT_EQ(G.Columns()->Items(1)->AutoMaxSize(), 33);
    EXPECT_EQ(G.Columns()->Items(2)->AutoMaxSize(), 44);
    EXPECT_EQ(G.Cells(1, 2), QStringLiteral("B"));
}

} // namespace
