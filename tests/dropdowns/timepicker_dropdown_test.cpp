// The time picker drop-down driven as a user drives it: Up and Down on the field under the caret,
// the seconds switched off, typed times, picks on the popup's watch and picker, Esc and a click
// elsewhere, and the keys of the popup.
#include "DropDownFormTest.h"
#include "dropdowns/ExtTimePickerDropDown.h"
#include "platform/ComCtrls.h"
#include "platform/TimeSource.h"

namespace {

TDateTime At(int H, int M, int S = 0)
{
    return EncodeTime(static_cast<Word>(H), static_cast<Word>(M), static_cast<Word>(S), 0);
}

UnicodeString HMS(TDateTime T)
{
    return FormatDateTime(QStringLiteral("hh:nn:ss"), T);
}

class TimePickerTest : public DropDownFormTest<TExtTimePickerDropDown> {
protected:
    void TearDown() override { DropDownFormTest<TExtTimePickerDropDown>::TearDown(); }
    void Settle()
    {
        for (int i = 0; i < 200 && Edit->Watch() && Edit->Watch()->Animating(); ++i)
            Clock.Advance(1);
    }
    TManualClock Clock;
};

} // namespace

TEST_F(TimePickerTest, NewOneShowsMidnight)
{
    EXPECT_EQ(Edit->Text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(Edit->Time(), 0.0);
    EXPECT_FALSE(Edit->EditorEnabled());
}

TEST_F(TimePickerTest, UpAndDownStepTheFieldUnderTheCaret)
{
    struct Case {
        TDateTime From;
        int Caret;
        Word Key;
        const char *To;
    };
    const Case cases[] = {
        {At(12, 34, 56), 0, VK_DOWN, "13:34:56"}, {At(12, 34, 56), 2, VK_UP, "11:34:56"},
        {At(12, 34, 56), 3, VK_DOWN, "12:35:56"}, {At(12, 34, 56), 5, VK_UP, "12:33:56"},
        {At(12, 34, 56), 6, VK_DOWN, "12:34:57"}, {At(12, 34, 56), 8, VK_UP, "12:34:55"},
        {At(0, 34, 56), 1, VK_UP, "23:34:56"},    {At(23, 34, 56), 1, VK_DOWN, "00:34:56"},
        {At(7, 59, 0), 4, VK_DOWN, "07:00:00"},   {At(7, 0, 0), 4, VK_UP, "07:59:00"},
    };
    // The keys reach the edit once its edit part is enabled, as the grid does.
    Edit->SetEditorEnabled(true);
    int changes = 0;
    Edit->OnTimeChange = [&](TObject *) { ++changes; };
    for (const Case &c : cases) {
        Edit->SetTime(c.From);
        Edit->SetSelStart(c.Caret);
        Edit->SetSelLength(0);
        GuiTest::PressKey(Edit, c.Key);
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.To)) << HMS(c.From).toStdString() << " caret " << c.Caret;
        EXPECT_EQ(HMS(Edit->Time()), QString::fromLatin1(c.To));
        EXPECT_EQ(Edit->SelStart(), c.Caret) << "the caret stays";
    }
    EXPECT_EQ(changes, 10);
}

TEST_F(TimePickerTest, SecondsOffRewritesTheText)
{
    Edit->SetTime(At(8, 5, 30));
    EXPECT_EQ(Edit->Text(), QStringLiteral("08:05:30"));
    Edit->SetShowSeconds(false);
    EXPECT_EQ(Edit->Text(), QStringLiteral("08:05"));
    EXPECT_EQ(HMS(Edit->Time()), QStringLiteral("08:05:00"));
}

TEST_F(TimePickerTest, TypedTimes)
{
    Edit->SetShowSeconds(false);
    Edit->SetEditorEnabled(true);
    struct Case {
        const char *Typed;
        const char *Time;
        const char *Text;
    };
    const Case cases[] = {
        {"07:00", "07:00:00", "07:00"},
        {"07:30", "07:30:00", "07:30"},
        {"25:00", "07:30:00", "25:00"}, // no such hour: Time stays
        {"09:75", "07:30:00", "09:75"},
    };
    for (const Case &c : cases) {
        Edit->SetSelStart(0);
        Edit->SetSelLength(static_cast<int>(Edit->Text().length()));
        GuiTest::TypeText(Edit, QString::fromLatin1(c.Typed));
        EXPECT_EQ(HMS(Edit->Time()), QString::fromLatin1(c.Time)) << c.Typed;
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.Text)) << c.Typed;
    }
}

TEST_F(TimePickerTest, WatchPickArrivesInTheTextEscRestoresAClickElsewhereKeeps)
{
    Edit->SetTime(At(8, 5, 30));
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    EXPECT_EQ(HMS(Edit->Watch()->Time()), QStringLiteral("08:05:30"));
    GuiTest::PressKey(Edit->DropDownForm(), VK_PRIOR);
    EXPECT_EQ(Edit->Text(), QStringLiteral("08:05:30")) << "the hand is still on its way";
    Settle();
    EXPECT_EQ(Edit->Text(), QStringLiteral("09:05:30"));
    GuiTest::PressKey(Edit->DropDownForm(), VK_ESCAPE);
    ASSERT_FALSE(Edit->DroppedDown());
    EXPECT_EQ(Edit->Text(), QStringLiteral("08:05:30"));
    EXPECT_EQ(HMS(Edit->Time()), QStringLiteral("08:05:30"));
    EXPECT_EQ(HMS(Edit->Watch()->Time()), QStringLiteral("08:05:30"));

    GuiTest::PressKey(Edit, VK_F4);
    GuiTest::PressKey(Edit->DropDownForm(), VK_END);
    Settle();
    GuiTest::Click(Form.get(), TPoint(300, 250));
    GuiTest::ProcessEvents();
    Edit->HideDropDown(false);
    EXPECT_EQ(Edit->Text(), QStringLiteral("08:00:30"));
    EXPECT_EQ(HMS(Edit->Time()), QStringLiteral("08:00:30"));
}

TEST_F(TimePickerTest, PopupKeysAndThePicker)
{
    Edit->ShowTimePicker = true;
    Edit->SetTime(At(9, 15, 0));
    GuiTest::PressKey(Edit, VK_F4);
    ASSERT_TRUE(Edit->DroppedDown());
    ASSERT_NE(Edit->TimePicker(), nullptr);
    EXPECT_TRUE(Edit->TimePicker()->Visible());
    EXPECT_EQ(Edit->TimePicker()->Format(), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(HMS(Edit->TimePicker()->Time()), QStringLiteral("09:15:00"));

    GuiTest::PressKey(Edit->DropDownForm(), VK_F1);
    GuiTest::PressKey(Edit->DropDownForm(), VK_NUMPAD1);
    Settle();
    EXPECT_EQ(HMS(Edit->Watch()->Time()), QStringLiteral("09:15:00")) << "F1 and Numpad 1 are no letters";
    GuiTest::PressKey(Edit->DropDownForm(), 'P');
    Settle();
    EXPECT_EQ(HMS(Edit->Watch()->Time()), QStringLiteral("21:15:00"));
    EXPECT_EQ(HMS(Edit->TimePicker()->Time()), QStringLiteral("21:15:00")) << "the picker follows the watch";

    Edit->TimePicker()->SetTime(At(5, 6, 7));
    EXPECT_EQ(HMS(Edit->Watch()->Time()), QStringLiteral("05:06:07")) << "and the watch the picker";
    Edit->HideDropDown(false);
    EXPECT_EQ(Edit->Text(), QStringLiteral("05:06:07"));
}

TEST_F(TimePickerTest, AnimationFactorBelowOneIsOne)
{
    Edit->SetAnimationFactor(0);
    EXPECT_EQ(Edit->AnimationFactor(), 1);
    GuiTest::PressKey(Edit, VK_F4);
    EXPECT_EQ(Edit->Watch()->AnimationFactor(), 1);
    Edit->HideDropDown(true);
}
