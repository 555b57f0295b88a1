// The track-bar drop-down driven as a user drives it: its look when new, the keys that step it,
// dragging over the edit, the popup's track bar and closing the popup by a click elsewhere or Esc.
#include "DropDownFormTest.h"
#include "dropdowns/ExtTrackBarDropDown.h"

namespace {

class TrackBarDropDownTest : public DropDownFormTest<TExtTrackBarDropDown> {
protected:
    TrackBarDropDownTest() { EditWidth = 180; }
};

} // namespace

TEST_F(TrackBarDropDownTest, NewOneShowsZeroWithoutBarsIgnoresTypingAndOpensAsWideAsTheEdit)
{
    EXPECT_EQ(Edit->Text(), QStringLiteral("0"));
    EXPECT_FALSE(Edit->DropDownHeader()->Visible());
    EXPECT_FALSE(Edit->DropDownFooter()->Visible());
    GuiTest::TypeText(Edit, QStringLiteral("7"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("0"));
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(Edit->DropDownForm()->Width(), Edit->Width());
    EXPECT_EQ(Edit->DropDownForm()->Height(), 2 * Edit->DropDownBorderWidth + 40);
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_FALSE(Edit->DroppedDown());
    GuiTest::PressKey(Edit, VK_F4);
    EXPECT_EQ(Edit->DropDownForm()->Height(), 2 * Edit->DropDownBorderWidth + 40) << "and again at the next opening";
}

TEST_F(TrackBarDropDownTest, UpAndDownStepByFrequencyAndStopAtTheEnds)
{
    Edit->SetMax(4);
    Edit->SetFrequency(3);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->Position(), 3);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->Position(), 3) << "3 + 3 is past Max";
    EXPECT_EQ(Edit->Text(), QStringLiteral("3"));
    Edit->SetFrequency(1);
    GuiTest::PressKey(Edit, VK_DOWN);
    GuiTest::PressKey(Edit, VK_DOWN);
    EXPECT_EQ(Edit->Position(), 4);
    for (int i = 0; i < 6; ++i)
        GuiTest::PressKey(Edit, VK_UP);
    EXPECT_EQ(Edit->Position(), 0);
}

TEST_F(TrackBarDropDownTest, DragAddsWholePageSteps)
{
    struct Case {
        int PageSize, Move, Added;
    } cases[] = {{2, 4, 2}, {2, 1, 0}, {2, -4, -2}, {0, 10, 0}};
    for (const Case &c : cases) {
        Edit->SetPosition(5);
        Edit->SetPageSize(c.PageSize);
        GuiTest::MouseDown(Edit, TPoint(50, 5));
        GuiTest::MouseMove(Edit, TPoint(50 + c.Move, 5), {ssLeft});
        GuiTest::MouseUp(Edit, TPoint(50 + c.Move, 5));
        EXPECT_EQ(Edit->Position(), 5 + c.Added) << "page " << c.PageSize << " move " << c.Move;
        if (Edit->DroppedDown())
            Edit->HideDropDown(false);
    }
}

TEST_F(TrackBarDropDownTest, TrackBarMovesTheValueClickElsewhereKeepsItEscRestores)
{
    Edit->SetPosition(3);
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    Edit->TrackBar()->SetPosition(8);
    EXPECT_EQ(Edit->Text(), QStringLiteral("8"));
    GuiTest::Click(Form.get(), TPoint(300, 250));
    GuiTest::ProcessEvents();
    Edit->HideDropDown(false);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Position(), 8);

    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    GuiTest::PressKey(Edit->TrackBar(), VK_RIGHT);
    Edit->TrackBar()->SetPosition(1);
    EXPECT_EQ(Edit->Position(), 1);
    GuiTest::PressKey(Edit->TrackBar(), VK_ESCAPE);
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Position(), 8);
    EXPECT_EQ(Edit->Text(), QStringLiteral("8"));
}

TEST_F(TrackBarDropDownTest, PositionIsKeptInsideTheRangeAndBadTextLeavesIt)
{
    GuiTest::PressKey(Edit, VK_F4);
    Edit->HideDropDown(false);
    Edit->SetPosition(50);
    EXPECT_EQ(Edit->Position(), 10);
    Edit->SetMin(20);
    EXPECT_EQ(Edit->Max(), 20) << "Min above Max takes Max along";
    EXPECT_EQ(Edit->Position(), 20);
    Edit->SetEditorEnabled(true);
    Edit->SetText(QStringLiteral("-"));
    EXPECT_EQ(Edit->Position(), 20);
}

TEST_F(TrackBarDropDownTest, KeysOnThePopupsTrackBarStepOnceAndStopAtTheEnds)
{
    Edit->SetFrequency(2);
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    struct Case {
        Word Key;
        int From;
        int To;
    };
    // Up and Down are the edit's steps by Frequency (refused past an end); the other keys are
    // the track bar's own.
    const Case cases[] = {
        {VK_DOWN, 5, 7}, {VK_UP, 5, 3}, {VK_UP, 1, 1},     {VK_DOWN, 9, 9},     {VK_UP, 2, 0},
        {VK_RIGHT, 5, 6}, {VK_LEFT, 5, 4}, {VK_LEFT, 0, 0}, {VK_NEXT, 5, 7},    {VK_PRIOR, 1, 0},
        {VK_HOME, 5, 0}, {VK_END, 5, 10},
    };
    for (const Case &c : cases) {
        Edit->SetPosition(c.From);
        GuiTest::PressKey(Edit->TrackBar(), c.Key);
        EXPECT_EQ(Edit->Position(), c.To) << "key " << c.Key << " from " << c.From;
        EXPECT_EQ(Edit->TrackBar()->Position(), c.To);
        EXPECT_EQ(Edit->Text(), QString::number(c.To));
        EXPECT_TRUE(Edit->DroppedDown());
    }
    Edit->SetPosition(4);
    GuiTest::PressKey(Edit->TrackBar(), VK_UP, {ssAlt});
    EXPECT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Position(), 4) << "Alt+Up closes the popup and moves nothing";
}
