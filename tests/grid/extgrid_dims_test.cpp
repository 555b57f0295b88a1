// The update lock of the string grid: nested Begins need as many Ends before the grid paints,
// a hidden grid takes no lock but still lets one go.
#include "grid/core/ExtGrid.h"

#include "support/GuiTest.h"

#include "platform/Forms.h"

#include <gtest/gtest.h>

namespace {

class TPaintCountGrid : public TExtStringGrid {
public:
    explicit TPaintCountGrid(TComponent *AOwner) : TExtStringGrid(AOwner) {}
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        TExtStringGrid::Paint();
    }
};

TEST(ExtGridUpdateLock, TwoBeginsAndOneEndPaintNothing)
{
    Application->Initialize();
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 500, 400);
    auto *G = new TPaintCountGrid(&Form);
    G->SetParent(&Form);
    Form.Show();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return G->Paints > 0; }));
    GuiTest::ProcessEvents(50);

    G->BeginUpdate();
    G->BeginUpdate();
    EXPECT_EQ(G->UpdateCount(), 2);
    EXPECT_TRUE(G->LockUpdate());
    const int Painted = G->Paints;
    G->EndUpdate();
    G->Invalidate();
    GuiTest::ProcessEvents(100);
    EXPECT_EQ(G->Paints, Painted);
    G->SetLockUpdate(false);
    EXPECT_EQ(G->UpdateCount(), 0);
    EXPECT_TRUE(GuiTest::WaitUntil([&] { return G->Paints > Painted; }));
}

TEST(ExtGridUpdateLock, AHiddenGridTakesNoLockButLetsOneGo)
{
    Application->Initialize();
    TExtStringGrid G(nullptr);
    G.SetVisible(true);
    G.BeginUpdate();
    EXPECT_EQ(G.UpdateCount(), 1);
    G.SetVisible(false);
    G.BeginUpdate(); // no-op while hidden
    EXPECT_EQ(G.UpdateCount(), 1);
    G.EndUpdate();
    EXPECT_EQ(G.UpdateCount(), 0);
    G.EndUpdate(); // never below 0
    EXPECT_EQ(G.UpdateCount(), 0);
    G.StartUpdate();
    EXPECT_EQ(G.UpdateCount(), 1);
    G.ResetUpdate();
    EXPECT_FALSE(G.LockUpdate());
}

} // namespace
