// The track bar keeps Position in Min..Max and Min <= Max, reports every change and hands its
// keys to its key events before it moves.
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

TEST(TrackBar, RangeClampsPositionAndEveryChangeIsReported)
{
    TTrackBar t(nullptr);
    int changes = 0;
    t.OnChange = [&](TObject *) { ++changes; };
    t.SetPosition(4);
    EXPECT_EQ(changes, 1);
    t.SetPosition(4);
    EXPECT_EQ(changes, 1) << "no change, no event";
    t.SetPosition(99);
    EXPECT_EQ(t.Position(), 10);
    t.SetMax(6);
    EXPECT_EQ(t.Position(), 6);
    t.SetMin(8);
    EXPECT_EQ(t.Max(), 8);
    EXPECT_EQ(t.Position(), 8);
    t.SetMax(-1);
    EXPECT_EQ(t.Min(), -1);
    EXPECT_EQ(t.Position(), -1);
    EXPECT_EQ(changes, 5);
}

TEST(TrackBar, KeysReachItsKeyEventsAndMoveTheThumb)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 100);
    auto *t = new TTrackBar(form.get());
    t->SetParent(form.get());
    form->Show();
    t->SetFocus();
    GuiTest::ProcessEvents();
    Word seen = 0;
    t->OnKeyDown = [&](TObject *, Word &Key, TShiftState) { seen = Key; };
    GuiTest::PressKey(t, VK_RIGHT);
    EXPECT_EQ(seen, VK_RIGHT);
    EXPECT_EQ(t->Position(), 1);
    t->OnKeyDown = [](TObject *, Word &Key, TShiftState) { Key = 0; };
    GuiTest::PressKey(t, VK_RIGHT);
    EXPECT_EQ(t->Position(), 1) << "a key taken by the event does not move it";
}
