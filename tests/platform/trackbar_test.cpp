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

TEST(TrackBar, KeysStepAsTheClassicTrackBarAndStopAtTheEnds)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 300, 100);
    auto *t = new TTrackBar(form.get());
    t->SetParent(form.get());
    t->SetPageSize(3);
    form->Show();
    t->SetFocus();
    GuiTest::ProcessEvents();
    struct Case {
        Word Key;
        int From;
        int To;
    };
    const Case cases[] = {
        {VK_UP, 5, 4},    {VK_LEFT, 5, 4}, {VK_DOWN, 5, 6}, {VK_RIGHT, 5, 6}, {VK_PRIOR, 5, 2},
        {VK_NEXT, 5, 8},  {VK_HOME, 5, 0}, {VK_END, 5, 10}, {VK_UP, 0, 0},    {VK_DOWN, 10, 10},
        {VK_NEXT, 9, 10}, {VK_PRIOR, 1, 0},
    };
    for (const Case &c : cases) {
        t->SetPosition(c.From);
        GuiTest::PressKey(t, c.Key);
        EXPECT_EQ(t->Position(), c.To) << "key " << c.Key << " from " << c.From;
    }
    t->SetPosition(5);
    GuiTest::PressKey(t, VK_DOWN, {ssAlt});
    EXPECT_EQ(t->Position(), 5) << "Alt with a key is no step";
}
