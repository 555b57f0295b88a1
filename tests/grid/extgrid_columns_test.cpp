// Columns as the application knows them: found by their header, followed through moves back to
// the order they first had, headed from the header lists; and what the small settings objects
// copy of each other.
#include "grid/core/ExtGrid.h"

#include "controls/esgdd.h"
#include "platform/Forms.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ExtGridColumnsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        G = std::make_unique<TExtStringGrid>(nullptr);
        G->SetColCount(6);
        G->SetFixedRows(1);
        G->SetFixedCols(0);
        for (int c = 0; c < 6; ++c)
            G->SetCells(c, 0, QString(QChar(u'A' + c)));
    }
    // The header row as one text, display order.
    QString Headers() const
    {
        QString s;
        for (int c = 0; c < G->ColCount(); ++c)
            s += G->Cells(G->RealColIndex(c), 0);
        return s;
    }
    std::unique_ptr<TExtStringGrid> G;
};

TEST_F(ExtGridColumnsTest, ColumnByHeaderFindsRealColumnsCaseSensitively)
{
    G->HideColumn(1);
    struct Case {
        const char *Text;
        int Col;
    };
    for (const Case &c : {Case{"C", 2}, Case{"B", 1}, Case{"c", -1}, Case{"Z", -1}})
        EXPECT_EQ(G->ColumnByHeader(QString::fromLatin1(c.Text)), c.Col) << c.Text;
}

TEST_F(ExtGridColumnsTest, AtPositionOnAnUnrecordedGridRecordsTheOrder)
{
    ASSERT_EQ(G->ColumnOrder()->Count(), 0);
    EXPECT_EQ(G->ColumnPosition(4), 4); // nothing recorded: the column itself
    EXPECT_EQ(G->ColumnAtPosition(4), 4);
    EXPECT_EQ(G->ColumnOrder()->Count(), 6);
    EXPECT_EQ(G->ColumnAtPosition(9), 9); // past the recorded columns
}

TEST_F(ExtGridColumnsTest, MovesAreFollowedAndResetPutsThemBack)
{
    G->MoveColumn(0, 3);
    EXPECT_EQ(Headers(), QStringLiteral("BCDAEF"));
    EXPECT_EQ(G->ColumnPosition(0), 3);
    EXPECT_EQ(G->ColumnAtPosition(3), 0);
    G->MoveColumn(5, 1);
    EXPECT_EQ(Headers(), QStringLiteral("BFCDAE"));
    for (int p = 0; p < 6; ++p) {
        const int orig = G->ColumnAtPosition(p);
        EXPECT_EQ(Headers().at(p), QChar(u'A' + orig)) << p;
        EXPECT_EQ(G->ColumnPosition(orig), p) << p;
    }
    G->HideColumn(2);
    G->ResetColumnOrder();
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(Headers(), QStringLiteral("ABCDEF"));
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(G->ColumnPosition(c), c);
}

TEST_F(ExtGridColumnsTest, ResetLeavesAnOrderItCannotSortAlone)
{
    G->MoveColumn(0, 2);
    G->ColumnOrder()->SetItems(1, G->ColumnOrder()->Items(0)); // a value twice
    const QString before = Headers();
    G->ResetColumnOrder(); // returns instead of moving for ever
    EXPECT_EQ(Headers(), before);
}

TEST_F(ExtGridColumnsTest, ResetOnAnUnrecordedGridOnlyRecords)
{
    G->HideColumn(4);
    G->ResetColumnOrder();
    EXPECT_EQ(G->NumHiddenColumns(), 0);
    EXPECT_EQ(G->ColumnOrder()->Count(), 6);
    EXPECT_EQ(Headers(), QStringLiteral("ABCDEF"));
}

TEST_F(ExtGridColumnsTest, GroupingShiftsPositionsPastTheGroupColumn)
{
    struct TGroupedGrid : TExtStringGrid {
        using TExtStringGrid::TExtStringGrid;
        void GroupOn(int ACol) { FGroupColumn = ACol; }
    };
    TGroupedGrid g(nullptr);
    g.SetColCount(8);
    g.ColumnAtPosition(0); // records 0..7
    g.GroupOn(2);
    EXPECT_EQ(g.ColumnPosition(5), 4);
    EXPECT_EQ(g.ColumnPosition(1), 1);
    EXPECT_EQ(g.ColumnAtPosition(4), 5);
    EXPECT_EQ(g.ColumnAtPosition(1), 1);
}

TEST_F(ExtGridColumnsTest, HeaderListsShowLineBreaksAndIgnoreExtraTexts)
{
    TStringList h;
    for (const char *t : {"One\\nTwo", "B2", "C2", "D2", "E2", "F2", "G2", "H2"})
        h.Add(QString::fromLatin1(t));
    G->SetColumnHeaders(&h);
    EXPECT_EQ(G->Cells(0, 0), QStringLiteral("One\rTwo"));
    EXPECT_EQ(G->Cells(5, 0), QStringLiteral("F2"));
    EXPECT_EQ(G->ColumnHeaders()->Count(), 8);

    TStringList fewer;
    fewer.Add(QStringLiteral("X"));
    G->SetColumnHeaders(&fewer); // the rest of the header row is cleared
    EXPECT_EQ(Headers(), QStringLiteral("X"));

    G->SetFixedCols(1);
    TStringList rows;
    rows.Add(QStringLiteral("r0"));
    rows.Add(QStringLiteral("a\\nb"));
    G->SetRowHeaders(&rows);
    EXPECT_EQ(G->Cells(0, 1), QStringLiteral("a\rb"));
}

TEST(ExtGridSettingsObjects, AssignCopiesWhatEachClassCopies)
{
    TGrouping a, b;
    b.HeaderColor = TColorOf(1);
    b.HeaderTextColor = TColorOf(2);
    b.MergeHeader = b.MergeSummary = b.AutoCheckGroup = b.AutoSelectGroup = b.ShowGroupCount = true;
    b.GroupCountFormat = QStringLiteral("(%d)");
    b.SummaryTextColor = TColorOf(3);
    b.Summary = true;
    b.HeaderLineWidth = 5;
    b.SummaryLineColor = TColorOf(4);
    a.Assign(&b);
    EXPECT_EQ(a.HeaderColor, TColorOf(1));
    EXPECT_EQ(a.HeaderTextColor, TColorOf(2));
    EXPECT_TRUE(a.MergeHeader && a.MergeSummary && a.AutoCheckGroup && a.AutoSelectGroup && a.ShowGroupCount);
    EXPECT_EQ(a.GroupCountFormat, QStringLiteral("(%d)"));
    EXPECT_EQ(a.SummaryTextColor, TColorOf(3));
    EXPECT_FALSE(a.Summary);
    EXPECT_EQ(a.HeaderLineWidth, 2);
    EXPECT_EQ(a.SummaryLineColor, TColorOf(0xFF0000u));

    TBalloonSettings ba, bb;
    bb.TextColor = TColorOf(7);
    bb.ReshowDelay = 30;
    bb.Transparency = 100;
    bb.SetEnable(true);
    int fired = 0;
    ba.OnEnableChange = [&](TObject *) { ++fired; };
    ba.Assign(&bb);
    EXPECT_EQ(ba.TextColor, TColorOf(7));
    EXPECT_EQ(ba.ReshowDelay, 30);
    EXPECT_EQ(ba.Transparency, 0);
    EXPECT_TRUE(ba.Enable());
    ba.SetEnable(true); // fires also when it was on
    EXPECT_EQ(fired, 1);

    TShowModified ma, mb;
    mb.Enabled = true;
    mb.SetColor(TColorOf(0x00FF00u));
    ma.Assign(&mb);
    EXPECT_TRUE(ma.Enabled);
    EXPECT_EQ(ma.Color(), TColorOf(0x00FF00u));

    TDragDropSettings da, db;
    db.SetOleDropTarget(true);
    db.OleColumnReorder = true;
    db.ShowCells = false;
    db.OleAcceptURLs = false;
    const bool rtfBefore = RTFDragDropAllowed();
    da.Assign(&db);
    EXPECT_TRUE(da.OleDropTarget());
    EXPECT_TRUE(da.OleColumnReorder);
    EXPECT_FALSE(da.ShowCells);
    EXPECT_FALSE(da.OleAcceptURLs);
    EXPECT_EQ(RTFDragDropAllowed(), rtfBefore);
    da.SetOleDropRTF(!rtfBefore);
    EXPECT_EQ(RTFDragDropAllowed(), !rtfBefore);
    da.SetOleDropRTF(rtfBefore);

    // Another class is no source.
    a.Assign(&ma);
    EXPECT_EQ(a.HeaderColor, TColorOf(1));
}

} // namespace
