// The spin edit as a user drives it: stepping each kind by keys and buttons, the character
// filter in two sets of locale separators, the date and time fields under the caret, and the
// locked editor.
#include "dropdowns/EsgSpinEdit.h"
#include "platform/Clipbrd.h"
#include "platform/SysUtils.h"
#include "platform/TimeSource.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SpinEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        FormatSettings.DecimalSeparator = QLatin1Char('.');
        FormatSettings.ThousandSeparator = QLatin1Char(',');
        FormatSettings.DateSeparator = QLatin1Char('/');
        FormatSettings.TimeSeparator = QLatin1Char(':');
        FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
        FormatSettings.LongTimeFormat = QStringLiteral("h:nn:ss");
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 100);
        Edit = new TEsgSpinEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, 120, 21);
        Form->Show();
        Edit->SetFocus();
        GuiTest::ProcessEvents();
    }
    void TearDown() override { ResetFormatSettings(); }
    void Key(Word Vk) { GuiTest::PressKey(Edit, Vk); }
    void SetTextAt(const QString &Text, int Caret)
    {
        Edit->SetText(Text);
        Edit->SetSelStart(Caret);
    }
    std::unique_ptr<TForm> Form;
    TEsgSpinEdit *Edit = nullptr;
};

TEST_F(SpinEditTest, IntegerStepsStayWithinLimits)
{
    EXPECT_EQ(Edit->Text(), QStringLiteral("0"));
    Key(VK_UP);
    EXPECT_EQ(Edit->Text(), QStringLiteral("1"));
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(Edit->Text(), QStringLiteral("0"));
    Edit->SetText(QStringLiteral("100"));
    Key(VK_UP);
    EXPECT_EQ(Edit->Text(), QStringLiteral("100"));
    Edit->Increment = 5;
    Edit->SetText(QStringLiteral("10"));
    Key(VK_PRIOR);
    EXPECT_EQ(Edit->Text(), QStringLiteral("15"));

    // Equal limits mean none; unreadable texts fall back without raising.
    Edit->MinValue = Edit->MaxValue = 7;
    Edit->SetValue(500);
    EXPECT_EQ(Edit->Text(), QStringLiteral("500"));
    Edit->SetText(QStringLiteral("12a"));
    EXPECT_EQ(Edit->GetValue(), 7);
    Edit->SetText(QStringLiteral("  "));
    EXPECT_EQ(Edit->GetValue(), 0);
}

TEST_F(SpinEditTest, ButtonsStepThroughTheVirtualSlots)
{
    struct TCounting : TEsgSpinEdit {
        using TEsgSpinEdit::TEsgSpinEdit;
        int Ups = 0;
        void UpClick(TObject *Sender) override
        {
            ++Ups;
            TEsgSpinEdit::UpClick(Sender);
        }
    };
    auto *e = new TCounting(Form.get());
    e->SetParent(Form.get());
    e->SetBounds(10, 40, 120, 21);
    GuiTest::ProcessEvents();
    GuiTest::Click(e->Button()->UpButton());
    EXPECT_EQ(e->Ups, 1);
    EXPECT_EQ(e->Text(), QStringLiteral("1"));
    GuiTest::Click(e->Button()->DownButton());
    EXPECT_EQ(e->Text(), QStringLiteral("0"));
}

TEST_F(SpinEditTest, FloatPrecisionAndPageStep)
{
    Edit->SetSpinType(sptFloat);
    Edit->SetFloatValue(1.5);
    EXPECT_EQ(Edit->Text(), QStringLiteral("1.5"));
    Edit->SetPrecision(2);
    EXPECT_EQ(Edit->Text(), QStringLiteral("1.50"));
    Key(VK_PRIOR);
    EXPECT_EQ(Edit->Text(), QStringLiteral("2.50"));
    Key(VK_DOWN);
    EXPECT_EQ(Edit->Text(), QStringLiteral("2.40"));

    // No more digits than Precision after the separator, but free before it.
    SetTextAt(QStringLiteral("3.14"), 4);
    EXPECT_FALSE(Edit->IsValidChar(u'5'));
    Edit->SetSelStart(1);
    EXPECT_TRUE(Edit->IsValidChar(u'5'));
}

TEST_F(SpinEditTest, CharacterFilterByKindInBothSeparatorSets)
{
    struct Case {
        TEsgSpinType Type;
        char16_t Key;
        bool Plain;  // "." decimal, "," thousand, "/" date, ":" time
        bool Shared; // "." both decimal and date separator
    };
    const Case cases[] = {
        {sptDate, u'/', true, false},  {sptDate, u'.', true, true},   {sptDate, u',', true, true},
        {sptDate, u':', false, false}, {sptFloat, u'.', true, true},  {sptFloat, u'/', false, false},
        {sptFloat, u',', false, false}, {sptFloat, u':', false, false}, {sptNormal, u'.', false, false},
        {sptNormal, u',', false, false}, {sptNormal, u'/', false, false}, {sptNormal, u':', false, false},
        {sptTime, u':', true, true},   {sptTime, u'.', true, false},  {sptTime, u',', true, true},
        {sptTime, u'/', false, false}, {sptNormal, u'a', false, false}, {sptNormal, u'\x1b', false, false},
        {sptNormal, u'\x16', false, false}, {sptFloat, u'7', true, true},
    };
    for (int set = 0; set < 2; ++set) {
        FormatSettings.DateSeparator = set == 0 ? QLatin1Char('/') : QLatin1Char('.');
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << "set " << set << " type " << c.Type << " key " << char(c.Key));
            Edit->SetSpinType(c.Type);
            SetTextAt(QString(), 0);
            EXPECT_EQ(Edit->IsValidChar(c.Key), set == 0 ? c.Plain : c.Shared);
        }
    }
}

TEST_F(SpinEditTest, TypingRefusesWithABeep)
{
    SetTextAt(QStringLiteral("12"), 2);
    const int beeps = MessageBeepCount();
    GuiTest::TypeText(Edit, QStringLiteral("a-3"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("123"));
    EXPECT_EQ(MessageBeepCount(), beeps + 2);
    // One minus, at the start only.
    Edit->SetSelStart(0);
    GuiTest::TypeText(Edit, QStringLiteral("-"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("-123"));
    Edit->SetSelStart(0);
    EXPECT_FALSE(Edit->IsValidChar(u'-'));

    Edit->SetSpinType(sptTime);
    SetTextAt(QStringLiteral("1:2:3"), 5);
    EXPECT_FALSE(Edit->IsValidChar(u':'));
}

TEST_F(SpinEditTest, DateFieldsUnderTheCaret)
{
    Edit->SetSpinType(sptDate);
    struct Case {
        const char *Format;
        const char *Text;
        int Caret;
        Word Vk;
        const char *Expect;
    };
    const Case cases[] = {
        {"dd/MM/yyyy", "31/01/2024", 3, VK_UP, "29/02/2024"},   // month, day cut
        {"dd/MM/yyyy", "31/01/2024", 0, VK_UP, "01/02/2024"},   // day
        {"dd/MM/yyyy", "29/02/2024", 7, VK_UP, "28/02/2025"},   // year from a leap day
        {"dd/MM/yyyy", "29/02/2024", 7, VK_DOWN, "28/02/2023"},
        {"dd/MM/yyyy", "15/06/2024", 2, VK_DOWN, "14/06/2024"}, // caret before "/" is the left field
        {"yyyy/MM/dd", "2024/01/31", 0, VK_UP, "2024/02/29"},   // first field steps the month
        {"MM/dd/yyyy", "01/31/2024", 3, VK_UP, "02/01/2024"},   // month first: second field is the day
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Text);
        FormatSettings.ShortDateFormat = QString::fromLatin1(c.Format);
        SetTextAt(QString::fromLatin1(c.Text), c.Caret);
        Key(c.Vk);
        EXPECT_EQ(Edit->Text(), QString::fromLatin1(c.Expect));
        EXPECT_EQ(Edit->SelStart(), c.Caret);
    }
    EXPECT_TRUE(Edit->UsDates());

    // An empty text steps from today.
    FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    SetTextAt(QString(), 0);
    Key(VK_UP);
    EXPECT_EQ(Edit->Text(), DateToStr(IncMonth(Date(), 12)));
}

TEST_F(SpinEditTest, YearOutOfRangeFailsAndKeepsTheValue)
{
    Edit->SetSpinType(sptDate);
    SetTextAt(QStringLiteral("31/12/9999"), 8);
    EXPECT_THROW(Edit->StepUp(false), EConvertError);
    EXPECT_EQ(Edit->Text(), QStringLiteral("31/12/9999"));
}

TEST_F(SpinEditTest, HeldButtonStopsWhenTheStepFails)
{
    TManualClock clock;
    int errors = 0;
    Application->OnException = [&](TObject *, const Exception &) { ++errors; };
    Edit->SetSpinType(sptDate);
    SetTextAt(QStringLiteral("31/12/9998"), 8);
    GuiTest::MouseDown(Edit->Button()->UpButton(), TPoint(5, 4));
    clock.Advance(1000);
    EXPECT_EQ(Edit->Text(), QStringLiteral("31/12/9999"));
    EXPECT_EQ(errors, 1);
    EXPECT_FALSE(Edit->Button()->UpButton()->RepeatTimer()->Enabled());
    GuiTest::MouseUp(Edit->Button()->UpButton(), TPoint(50, 50));
    Application->OnException = nullptr;
}

TEST_F(SpinEditTest, TimeStepsWrapAtMidnight)
{
    Edit->SetSpinType(sptTime);
    Edit->ShowSeconds = false;
    Edit->SetTimeValue(EncodeTime(9, 5, 0, 0));
    EXPECT_EQ(Edit->Text(), QStringLiteral("9:05"));
    SetTextAt(QStringLiteral("0:30"), 0);
    Key(VK_DOWN);
    EXPECT_EQ(Edit->Text(), QStringLiteral("23:30"));
    Key(VK_UP);
    EXPECT_EQ(Edit->Text(), QStringLiteral("0:30"));
    Edit->SetSelStart(3);
    Key(VK_DOWN);
    EXPECT_EQ(Edit->Text(), QStringLiteral("0:29"));

    Edit->ShowSeconds = true;
    SetTextAt(QStringLiteral("10:00:00"), 7);
    Key(VK_DOWN);
    EXPECT_EQ(Edit->Text(), QStringLiteral("9:59:59"));

    // Date limits also bind times.
    Edit->ShowSeconds = false;
    Edit->MinDateValue = EncodeDate(2024, 1, 1);
    Edit->MaxDateValue = EncodeDate(2024, 12, 31);
    Edit->SetTimeValue(EncodeTime(12, 0, 0, 0));
    EXPECT_EQ(Edit->Text(), QStringLiteral("0:00"));

    Edit->MinDateValue = Edit->MaxDateValue = 0;
    Edit->IncrementHours = 24;
    SetTextAt(QStringLiteral("1:00"), 0);
    EXPECT_THROW(Edit->StepUp(false), EConvertError);
    EXPECT_EQ(Edit->Text(), QStringLiteral("1:00"));
}

TEST_F(SpinEditTest, LockedEditorStillSteps)
{
    Edit->SetEditorEnabled(false);
    SetTextAt(QStringLiteral("5"), 1);
    GuiTest::TypeText(Edit, QStringLiteral("7"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("5"));
    Key(VK_BACK);
    EXPECT_EQ(Edit->Text(), QStringLiteral("5"));
    Edit->SetSelStart(0);
    Key(VK_DELETE);
    EXPECT_EQ(Edit->Text(), QStringLiteral("5"));
    Clipboard()->SetAsText(QStringLiteral("9"));
    Edit->Perform(WM_PASTE, 0, 0);
    Edit->SelectAll();
    Edit->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(Edit->Text(), QStringLiteral("5"));
    Key(VK_UP);
    EXPECT_EQ(Edit->Text(), QStringLiteral("6"));
    GuiTest::Click(Edit->Button()->UpButton());
    EXPECT_EQ(Edit->Text(), QStringLiteral("7"));
}

TEST_F(SpinEditTest, ReadOnlyStepBeeps)
{
    Edit->SetReadOnly(true);
    const int beeps = MessageBeepCount();
    Key(VK_UP);
    EXPECT_EQ(Edit->Text(), QStringLiteral("0"));
    EXPECT_EQ(MessageBeepCount(), beeps + 1);
}

TEST_F(SpinEditTest, OnlyTheKeypadDecimalBecomesTheLocaleSeparator)
{
    FormatSettings.DecimalSeparator = QLatin1Char(',');
    FormatSettings.ThousandSeparator = QLatin1Char('.');
    Edit->SetSpinType(sptFloat);
    Edit->ExcelStyleDecimalSeparator = true;
    SetTextAt(QStringLiteral("1"), 1);
    Edit->Perform(WM_CHAR, '.', LPARAM(0x34) << 16); // main keyboard: the thousand separator, refused
    EXPECT_EQ(Edit->Text(), QStringLiteral("1"));
    Edit->Perform(WM_CHAR, '.', LPARAM(0x53) << 16); // keypad
    EXPECT_EQ(Edit->Text(), QStringLiteral("1,"));
}

TEST_F(SpinEditTest, LeavingBringsTypedValuesWithinLimits)
{
    auto *other = new TEsgSpinEdit(Form.get());
    other->SetParent(Form.get());
    other->SetBounds(10, 40, 120, 21);
    SetTextAt(QString(), 0);
    GuiTest::TypeText(Edit, QStringLiteral("250"));
    EXPECT_EQ(Edit->Text(), QStringLiteral("250"));
    other->SetFocus();
    GuiTest::ProcessEvents();
    EXPECT_EQ(Edit->Text(), QStringLiteral("100"));
}

TEST_F(SpinEditTest, PairSitsAtTheRightEdge)
{
    Edit->SetBounds(10, 10, 120, 24);
    TEsgSpinButton *pair = Edit->Button();
    EXPECT_EQ(pair->Width(), 15);
    EXPECT_EQ(pair->Left() + pair->Width(), 120 - 5);
    EXPECT_LE(Edit->FormattingRect().Right, 120 - 15);
    Edit->SetDirection(spHorizontal);
    EXPECT_EQ(pair->Width(), 20);
    EXPECT_EQ(pair->Left() + pair->Width(), 120 - 5);
}

} // namespace
