// Undo and redo of cell changes on a base grid: single steps, sequences, the MaxLevel limit and
// sequences cut by it or left open.
#include "controls/BaseGrid.h"
#include "controls/ExtGridUndoRedo.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class UndoRedo : public ::testing::Test {
protected:
    void SetUp() override
    {
        Grid = std::make_unique<TBaseGrid>(nullptr);
        Grid->SetColCount(6);
        Grid->SetRowCount(6);
        Undo = std::make_unique<TExtGridUndoRedo>(nullptr);
        Grid->SetUndoRedo(Undo.get());
    }
    // Writes the cell as the string grid does after an edit: the text, then the record.
    void Change(int c, int r, const UnicodeString &v)
    {
        UnicodeString old = Grid->Cells(c, r);
        Grid->SetCells(c, r, v);
        Undo->RegisterChange(c, r, old, v);
    }
    std::unique_ptr<TBaseGrid> Grid;
    std::unique_ptr<TExtGridUndoRedo> Undo;
};

TEST_F(UndoRedo, UndoneStepsStayAfterANewChange)
{
    std::vector<UnicodeString> events;
    Undo->OnUndo = [&](TObject *, TBaseGrid *g, int c, int r, const UnicodeString &orig, const UnicodeString &now) {
        EXPECT_EQ(g, Grid.get());
        events.push_back(QStringLiteral("%1,%2:%3>%4").arg(c).arg(r).arg(orig, now));
    };
    Change(1, 1, "A");
    Change(2, 2, "B");
    Change(3, 3, "C");
    Undo->Undo();
    Undo->Undo();
    EXPECT_EQ(Grid->Cells(3, 3), "");
    EXPECT_EQ(Grid->Cells(2, 2), "");
    EXPECT_EQ(Grid->Cells(1, 1), "A");
    EXPECT_EQ(Undo->Level(), 1);
    EXPECT_TRUE(Undo->CanRedo());
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(events, (std::vector<UnicodeString>{"3,3:C>", "2,2:B>"}));

    Change(4, 4, "D");
    EXPECT_EQ(Undo->Items()->Count(), 4);
    EXPECT_EQ(Undo->Level(), 4);
    EXPECT_FALSE(Undo->CanRedo());
    Undo->Undo();
    EXPECT_EQ(Grid->Cells(4, 4), "");
    // The next undo takes C again, whose cell is already back to its old text.
    Undo->Undo();
    EXPECT_EQ(Undo->Level(), 2);
    EXPECT_EQ(Grid->Cells(3, 3), "");
    Undo->Redo();
    EXPECT_EQ(Grid->Cells(3, 3), "C");
}

TEST_F(UndoRedo, SequenceIsOneStepBothWays)
{
    Change(0, 5, "before");
    const int level = Undo->Level();
    Undo->StartSequence();
    Change(1, 1, "x");
    Change(2, 1, "y");
    Change(3, 1, "z");
    Undo->StopSequence();
    std::vector<int> order;
    Undo->OnUndo = [&](TObject *, TBaseGrid *, int c, int, const UnicodeString &, const UnicodeString &) {
        order.push_back(c);
    };
    Undo->OnRedo = [&](TObject *, TBaseGrid *, int c, int, const UnicodeString &, const UnicodeString &now) {
        order.push_back(-c);
    };
    Undo->Undo();
    EXPECT_EQ(Undo->Level(), level);
    EXPECT_EQ(Grid->Cells(1, 1), "");
    EXPECT_EQ(Grid->Cells(3, 1), "");
    EXPECT_EQ(Grid->Cells(0, 5), "before");
    Undo->Redo();
    EXPECT_EQ(Undo->Level(), Undo->Items()->Count());
    EXPECT_EQ(Grid->Cells(1, 1), "x");
    EXPECT_EQ(Grid->Cells(3, 1), "z");
    EXPECT_EQ(order, (std::vector<int>{3, 2, 1, -1, -2, -3}));
}

TEST_F(UndoRedo, MaxLevelKeepsTheNewestItems)
{
    Undo->SetMaxLevel(2);
    Change(1, 1, "a");
    Change(2, 2, "b");
    Change(3, 3, "c");
    ASSERT_EQ(Undo->Items()->Count(), 2);
    EXPECT_EQ(Undo->Items()->Items(0)->Value(), "b");
    EXPECT_EQ(Undo->Items()->Items(1)->Value(), "c");
    Undo->Reset();
    EXPECT_EQ(Undo->Items()->Count(), 0);
    EXPECT_EQ(Undo->Level(), 0);
    EXPECT_FALSE(Undo->CanUndo());
}

TEST_F(UndoRedo, SequenceWhoseStartWasTrimmedStopsAtTheFirstItem)
{
    Undo->SetMaxLevel(3);
    Undo->StartSequence();
    Change(1, 1, "a");
    Change(2, 1, "b");
    Change(3, 1, "c"); // drops the start marker
    Undo->StopSequence();
    ASSERT_FALSE(Undo->Items()->Items(0)->SequenceStart());
    Undo->Undo();
    EXPECT_EQ(Undo->Level(), 0);
    EXPECT_EQ(Grid->Cells(2, 1), "");
    EXPECT_EQ(Grid->Cells(3, 1), "");
    Undo->Undo();
    EXPECT_EQ(Undo->Level(), 0);
    Undo->Redo();
    EXPECT_EQ(Undo->Level(), 1);
    EXPECT_EQ(Grid->Cells(1, 1), "a");
}

TEST_F(UndoRedo, OpenSequenceIsRedoneToItsLastItem)
{
    Undo->StartSequence();
    Change(1, 2, "p");
    Change(2, 2, "q");
    // Undone by hand while the sequence is still open.
    Undo->Undo();
    Undo->Undo();
    Undo->Undo();
    EXPECT_EQ(Undo->Level(), 0);
    Undo->Redo();
    EXPECT_EQ(Undo->Level(), 3);
    EXPECT_EQ(Grid->Cells(1, 2), "p");
    EXPECT_EQ(Grid->Cells(2, 2), "q");
}

TEST_F(UndoRedo, NothingHappensWithoutAGrid)
{
    Change(1, 1, "a");
    Grid.reset();
    EXPECT_EQ(Undo->Grid(), nullptr);
    Undo->Undo();
    Undo->Redo();
    EXPECT_EQ(Undo->Level(), 1);
}

} // namespace
