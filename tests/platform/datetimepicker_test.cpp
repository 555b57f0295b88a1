// The date-time picker on a shown form: typed digits keep to the field under the caret, the
// arrows change and step fields, user changes arrive as notifications and values set by code as
// DTM_SETSYSTEMTIME, and the combo-box mode drops a month calendar.
#include "platform/ComCtrls.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records what reaches the window procedure.
class TRecordingPicker : public TDateTimePicker {
public:
    using TDateTimePicker::TDateTimePicker;
    std::vector<DWORD> ChangeFlags;
    std::vector<DWORD> SetFlags;
    std::vector<UINT> Codes;

    void WndProc(TMessage &Message) override
    {
        if (Message.Msg == DTM_SETSYSTEMTIME)
            SetFlags.push_back(DWORD(Message.WParam));
        TDateTimePicker::WndProc(Message);
    }

protected:
    void CNNotify(TWMNotify &Message) override
    {
        Codes.push_back(Message.NMHdr->code);
        if (Message.NMHdr->code == DTN_DATETIMECHANGE)
            ChangeFlags.push_back(reinterpret_cast<NMDATETIMECHANGE *>(Message.NMHdr)->dwFlags);
        TDateTimePicker::CNNotify(Message);
    }
};

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
        FormatSettings.DateSeparator = QLatin1Char('/');
        FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 300, 200);
        p = new TRecordingPicker(form.get());
        p->SetParent(form.get());
        p->SetBounds(10, 10, 160, 21);
        p->SetDateTime(EncodeDate(2024, 1, 15) + EncodeTime(9, 30, 0, 0));
        form->Show();
        p->SetFocus();
        GuiTest::ProcessEvents();
    }
    void TearDown() override { ResetFormatSettings(); }
    void Keys(const char *Script)
    {
        for (const char *c = Script; *c; ++c) {
            switch (*c) {
            case '>': GuiTest::PressKey(p, VK_RIGHT); break;
            case '<': GuiTest::PressKey(p, VK_LEFT); break;
            case '^': GuiTest::PressKey(p, VK_UP); break;
            case 'v': GuiTest::PressKey(p, VK_DOWN); break;
            default: GuiTest::TypeText(p, QString(QLatin1Char(*c))); break;
            }
        }
        GuiTest::ProcessEvents();
    }

    std::unique_ptr<TForm> form;
    TRecordingPicker *p = nullptr;
};

TEST_F(PickerTest, DigitsFillTheFieldUnderTheCaretAndArrowsMove)
{
    struct Case {
        const char *Format;
        const char *Keys;
        const char *Text;
        int Field; // where the caret ends
    };
    const Case cases[] = {
        {"dd/MM/yyyy", "3", "03/01/2024", 0},        // a digit never moves on
        {"dd/MM/yyyy", "31", "31/01/2024", 0},
        {"dd/MM/yyyy", "312", "02/01/2024", 0},      // a full field starts anew
        {"dd/MM/yyyy", "4", "04/01/2024", 0},
        {"dd/MM/yyyy", "45", "05/01/2024", 0},       // 45 is no day: the 5 starts anew
        {"dd/MM/yyyy", ">12", "15/12/2024", 1},
        {"dd/MM/yyyy", ">>202", "15/01/2024", 2},    // a year is taken whole
        {"dd/MM/yyyy", ">>2031", "15/01/2031", 2},
        {"dd/MM/yyyy", ">>20<", "15/01/2020", 1},    // or when the caret leaves it
        {"dd/MM/yyyy", "<", "15/01/2024", 2},        // the caret runs round
        {"dd/MM/yyyy", ">>>", "15/01/2024", 0},
        {"dd/MM/yyyy", "vvvvvvvvvvvvvvv", "31/01/2024", 0}, // a step wraps inside the field
        {"dd/MM/yyyy", ">vv", "15/11/2024", 1},
        {"yyyy-MM-dd", "^", "2025-01-15", 0},
        {"HH:mm:ss", "25", "05:30:00", 0},
        {"HH:mm:ss", "v>^", "08:31:00", 1},
        {"HH:mm:ss", ">>59^", "09:30:00", 2},        // 59 + 1 wraps to 0
        {"hh:mm tt", ">>^", "09:30 PM", 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Keys);
        SCOPED_TRACE(c.Format);
        p->SetKind(QString::fromLatin1(c.Format).contains(QLatin1Char('d')) ? dtkDate : dtkTime);
        p->SetFormat(QString::fromLatin1(c.Format));
        p->SetDateTime(EncodeDate(2024, 1, 15) + EncodeTime(9, 30, 0, 0));
        p->SetFieldIndex(0);
        Keys(c.Keys);
        EXPECT_EQ(p->Text(), QString::fromLatin1(c.Text));
        EXPECT_EQ(p->FieldIndex(), c.Field);
    }
}

TEST_F(PickerTest, APostedRightArrowMovesTheCaret)
{
    p->SetFormat(QStringLiteral("dd/MM/yyyy"));
    p->SetFieldIndex(0);
    PostMessage(p->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    GuiTest::WaitUntil([&] { return p->FieldIndex() == 1; });
    EXPECT_EQ(p->FieldIndex(), 1);
    EXPECT_EQ(p->CurrentField(), dtfMonth);
}

TEST_F(PickerTest, AYearTypedInPartIsTakenWhenTheFocusLeaves)
{
    auto *other = new TEdit(form.get());
    other->SetParent(form.get());
    other->SetBounds(10, 60, 80, 21);
    p->SetFormat(QStringLiteral("dd/MM/yyyy"));
    Keys(">>19");
    EXPECT_EQ(p->Text(), QStringLiteral("15/01/2024"));
    other->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(p->Text(), QStringLiteral("15/01/2019"));
}

TEST_F(PickerTest, UserChangesNotifyAndCodeGoesThroughTheWindow)
{
    int changes = 0;
    p->OnChange = [&](TObject *) { ++changes; };
    p->SetFormat(QStringLiteral("dd/MM/yyyy"));
    Keys("^");
    EXPECT_EQ(p->ChangeFlags, (std::vector<DWORD>{GDT_VALID}));
    EXPECT_EQ(changes, 1);

    p->SetDate(EncodeDate(2024, 3, 1));
    EXPECT_EQ(p->SetFlags.back(), GDT_VALID);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(p->ChangeFlags.size(), 1u) << "code changes are no notifications";

    // The check box: Space clears and ticks it, code clears it through the window.
    p->SetShowCheckbox(true);
    Keys("");
    GuiTest::PressKey(p, VK_SPACE);
    EXPECT_FALSE(p->Checked());
    EXPECT_EQ(p->ChangeFlags.back(), GDT_NONE);
    GuiTest::PressKey(p, VK_SPACE);
    EXPECT_TRUE(p->Checked());
    // A click on the box at the left toggles it too; one on the value does not.
    GuiTest::Click(p, TPoint(8, p->Height() / 2));
    EXPECT_FALSE(p->Checked());
    GuiTest::Click(p, TPoint(8, p->Height() / 2));
    EXPECT_TRUE(p->Checked());
    GuiTest::Click(p, TPoint(40, p->Height() / 2));
    EXPECT_TRUE(p->Checked());
    EXPECT_EQ(p->Text(), QStringLiteral("01/03/2024")) << "a click on the value is no step";
    p->SetChecked(false);
    EXPECT_EQ(p->SetFlags.back(), GDT_NONE);
    EXPECT_FALSE(p->Checked());
    SYSTEMTIME st;
    EXPECT_EQ(p->Perform(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)), LRESULT(GDT_NONE));
    EXPECT_EQ(st.wMonth, 3);
    // A value sent to the window ticks the box again.
    st.wDay = 9;
    p->Perform(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
    EXPECT_TRUE(p->Checked());
    EXPECT_EQ(p->Text(), QStringLiteral("09/03/2024"));
}

TEST_F(PickerTest, ComboModeDropsAMonthCalendar)
{
    std::vector<QString> events;
    int weekWidth = 0, plainWidth = 0;
    p->OnDropDown = [&](TObject *) {
        events.push_back(QStringLiteral("drop"));
        auto cal = reinterpret_cast<HWND>(p->Perform(DTM_GETMONTHCAL));
        ASSERT_NE(cal, nullptr);
        TRect r;
        SendMessage(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
        plainWidth = r.Right;
        SetWindowLong(cal, GWL_STYLE, GetWindowLong(cal, GWL_STYLE) | LPARAM(MCS_WEEKNUMBERS | MCS_NOTODAYCIRCLE));
        SendMessage(cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&r));
        weekWidth = r.Right;
    };
    p->OnCloseUp = [&](TObject *) { events.push_back(QStringLiteral("close ") + p->Text()); };
    EXPECT_EQ(p->Perform(DTM_GETMONTHCAL), 0);

    GuiTest::PressKey(p, VK_F4);
    ASSERT_TRUE(p->DroppedDown());
    ASSERT_NE(p->MonthCalendar(), nullptr);
    EXPECT_TRUE(p->MonthCalendar()->ShowsWeekNumbers());
    EXPECT_FALSE(p->MonthCalendar()->MarksToday());
    EXPECT_GT(weekWidth, plainWidth);
    // The calendar has the keyboard: a day on, a week on, then taken.
    GuiTest::PressKey(p, VK_RIGHT);
    GuiTest::PressKey(p, VK_DOWN);
    EXPECT_EQ(p->Text(), QStringLiteral("15/01/2024"));
    GuiTest::PressKey(p, VK_RETURN);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->Text(), QStringLiteral("23/01/2024"));
    EXPECT_EQ(p->Time(), EncodeTime(9, 30, 0, 0)) << "the time of day stays";

    // Escape closes without a change; each drop starts a plain calendar.
    p->OnDropDown = [&](TObject *) { events.push_back(QStringLiteral("drop")); };
    GuiTest::PressKey(p, VK_DOWN, TShiftState{ssAlt});
    ASSERT_TRUE(p->DroppedDown());
    EXPECT_FALSE(p->MonthCalendar()->ShowsWeekNumbers());
    EXPECT_TRUE(p->MonthCalendar()->MarksToday());
    GuiTest::PressKey(p, VK_LEFT);
    GuiTest::PressKey(p, VK_ESCAPE);
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->Text(), QStringLiteral("23/01/2024"));
    EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("drop"), QStringLiteral("close 23/01/2024"),
                                            QStringLiteral("drop"), QStringLiteral("close 23/01/2024")}));

    // Arrows and the time kind drop nothing.
    p->SetDateMode(dmUpDown);
    GuiTest::PressKey(p, VK_F4);
    EXPECT_FALSE(p->DroppedDown());
    p->SetDateMode(dmComboBox);
    p->SetKind(dtkTime);
    GuiTest::PressKey(p, VK_F4);
    EXPECT_FALSE(p->DroppedDown());
}

TEST_F(PickerTest, TheArrowsStepTheFieldUnderTheCaret)
{
    p->SetDateMode(dmUpDown);
    p->SetFormat(QStringLiteral("dd/MM/yyyy"));
    p->SetFieldIndex(1);
    GuiTest::Click(p, TPoint(p->Width() - 5, 4));
    EXPECT_EQ(p->Text(), QStringLiteral("15/02/2024"));
    GuiTest::Click(p, TPoint(p->Width() - 5, p->Height() - 4));
    GuiTest::Click(p, TPoint(p->Width() - 5, p->Height() - 4));
    EXPECT_EQ(p->Text(), QStringLiteral("15/12/2024")) << "the month wraps inside its field";
    EXPECT_EQ(p->ChangeFlags.size(), 3u);
}

TEST_F(PickerTest, AClickOnTheButtonDropsAndAClickOnADayTakesIt)
{
    GuiTest::Click(p, TPoint(p->Width() - 5, p->Height() / 2));
    ASSERT_TRUE(p->DroppedDown());
    p->MonthCalendar()->SetDate(EncodeDate(2024, 1, 20));
    p->MonthCalendar()->OnClick(p->MonthCalendar());
    EXPECT_FALSE(p->DroppedDown());
    EXPECT_EQ(p->Text(), QStringLiteral("20/01/2024"));
}

} // namespace
