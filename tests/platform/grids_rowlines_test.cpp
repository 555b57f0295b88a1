// Rows taken out of a string grid and put back as a block: texts, objects and heights move
// with their rows, the other rows keep theirs, and the current cell and fixed rows stay sound.
#include "platform/Forms.h"
#include "platform/Grids.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class TLinesGrid : public TStringGrid {
public:
    explicit TLinesGrid(TComponent *AOwner) : TStringGrid(AOwner) {}
    using TStringGrid::DeleteRowLines;
    using TStringGrid::InsertRowLines;
};

std::vector<UnicodeString> Column0(TStringGrid &G)
{
    std::vector<UnicodeString> V;
    for (int R = 0; R < G.RowCount(); ++R)
        V.push_back(G.Cells(0, R));
    return V;
}

TEST(GridRowLines, DeleteAndInsertMoveRowsWithTheirHeights)
{
    Application->Initialize();
    TLinesGrid G(nullptr);
    G.SetRowCount(8);
    TObject Obj;
    for (int R = 0; R < 8; ++R) {
        G.SetCells(0, R, QString::number(R));
        G.SetRowHeights(R, 20 + R);
    }
    G.SetObjects(1, 5, &Obj);
    G.SetRow(6);

    G.DeleteRowLines({2, 3, 6});
    EXPECT_EQ(G.RowCount(), 5);
    EXPECT_EQ(Column0(G), (std::vector<UnicodeString>{"0", "1", "4", "5", "7"}));
    const int Heights[] = {20, 21, 24, 25, 27};
    for (int R = 0; R < 5; ++R)
        EXPECT_EQ(G.RowHeights(R), Heights[R]) << R;
    EXPECT_EQ(G.Objects(1, 3), &Obj);
    EXPECT_LT(G.Row(), G.RowCount());

    G.InsertRowLines({2, 3, 6}, {32, 33, 36});
    EXPECT_EQ(G.RowCount(), 8);
    EXPECT_EQ(Column0(G), (std::vector<UnicodeString>{"0", "1", "", "", "4", "5", "", "7"}));
    const int After[] = {20, 21, 32, 33, 24, 25, 36, 27};
    for (int R = 0; R < 8; ++R)
        EXPECT_EQ(G.RowHeights(R), After[R]) << R;
    EXPECT_EQ(G.Objects(1, 5), &Obj);

    // Indices past the end still give strictly ascending rows inside the grid.
    G.InsertRowLines({50, 50}, {});
    EXPECT_EQ(G.RowCount(), 10);
    EXPECT_EQ(G.Cells(0, 7), "7");
    EXPECT_EQ(G.RowHeights(9), G.DefaultRowHeight());

    // One row always stays, and the fixed rows shrink with the grid.
    G.DeleteRowLines({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(G.RowCount(), 1);
    EXPECT_EQ(G.FixedRows(), 0);
    EXPECT_EQ(G.Cells(0, 0), "");
}

} // namespace
