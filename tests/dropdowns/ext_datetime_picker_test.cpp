// The labelled date-time picker on a shown form: its value in whole seconds shared with the time
// part, the kinds that make and free the time part, the caption label around its edge, and the
// input that moves on by itself as digits are typed.
#include "dropdowns/ExtDateTimePicker.h"
#include "platform/Forms.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "platform/SysUtils.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

QString Stamp(TDateTime Value)
{
    return FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), Value);
}

class ExtPickerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        FormatSettings.DateSeparator = QLatin1Char('/');
        FormatSettings.TimeSeparator = QLatin1Char(':');
        FormatSettings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
        FormatSettings.LongTimeFormat = QStringLiteral("hh:nn:ss");
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 200);
        Picker = new TExtDateTimePicker(Form.get());
        Picker->SetParent(Form.get());
        Picker->SetBounds(100, 50, 200, 21);
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override { ResetFormatSettings(); }

    std::unique_ptr<TForm> Form;
    TExtDateTimePicker *Picker = nullptr;
};

TEST_F(ExtPickerTest, ValueIsKeptInWholeSecondsInBothParts)
{
    ASSERT_EQ(Picker->Kind(), dkDateTime);
    TCustomDateTimePicker *time = Picker->TimePicker();
    ASSERT_NE(time, nullptr);
    EXPECT_TRUE(time->Visible());
    EXPECT_EQ(time->Parent(), Picker);
    EXPECT_EQ(time->Kind(), dtkTime);
    // At the right of the picker, clear of the drop-down button.
    EXPECT_GT(time->Left(), Picker->Width() / 3);
    EXPECT_LE(time->Left() + time->Width(), Picker->Width() - 20);

    Picker->SetDateTime(EncodeDateTime(2024, 5, 6, 13, 45, 30, 750));
    EXPECT_EQ(Stamp(Picker->DateTime()), QStringLiteral("2024-05-06 13:45:30.000"));
    EXPECT_EQ(Stamp(time->DateTime()), QStringLiteral("2024-05-06 13:45:30.000"));

    Picker->SetDate(EncodeDate(2024, 12, 24) + EncodeTime(8, 0, 0, 0));
    EXPECT_EQ(Stamp(Picker->DateTime()), QStringLiteral("2024-12-24 13:45:30.000"));
    EXPECT_EQ(Stamp(Picker->Date()), QStringLiteral("2024-12-24 00:00:00.000"));

    // Writing the time alone leaves both parts as they were: the time part has the last word.
    Picker->SetTime(EncodeTime(8, 0, 0, 0));
    EXPECT_EQ(Stamp(Picker->DateTime()), QStringLiteral("2024-12-24 13:45:30.000"));
    EXPECT_EQ(Stamp(Picker->Time()), QStringLiteral("1899-12-30 13:45:30.000"));
}

TEST_F(ExtPickerTest, TimePartEditsReachTheValue)
{
    int changes = 0, timeChanges = 0;
    Picker->OnChange = [&](TObject *) { ++changes; };
    Picker->OnTimeChange = [&](TObject *Sender) {
        EXPECT_EQ(Sender, Picker);
        ++timeChanges;
    };
    Picker->SetDateTime(EncodeDateTime(2024, 5, 6, 13, 45, 30, 0));
    EXPECT_EQ(timeChanges, 0);
    TCustomDateTimePicker *time = Picker->TimePicker();
    time->SetFocus();
    GuiTest::PressKey(time, VK_UP);
    GuiTest::ProcessEvents();
    EXPECT_EQ(Stamp(Picker->DateTime()), QStringLiteral("2024-05-06 14:45:30.000"));
    EXPECT_EQ(timeChanges, 1);
    EXPECT_GE(changes, 1);

    // The keys of the time part reach the picker's own key events.
    Word seen = 0;
    Picker->OnKeyDown = [&](TObject *, Word &Key, TShiftState) { seen = Key; };
    GuiTest::PressKey(time, VK_F5);
    EXPECT_EQ(seen, VK_F5);
}

TEST_F(ExtPickerTest, KindsMakeAndFreeTheTimePart)
{
    Picker->SetDateTime(EncodeDateTime(2024, 5, 6, 13, 45, 30, 0));
    Picker->SetKind(dkDate);
    EXPECT_EQ(Picker->TimePicker(), nullptr);
    EXPECT_EQ(Picker->TDateTimePicker::Kind(), dtkDate);
    EXPECT_EQ(Stamp(Picker->DateTime()), QStringLiteral("2024-05-06 13:45:30.000"));
    EXPECT_EQ(Picker->Text(), QStringLiteral("06/05/2024"));

    Picker->SetKind(dkTime);
    EXPECT_EQ(Picker->TimePicker(), nullptr);
    EXPECT_EQ(Picker->TDateTimePicker::Kind(), dtkTime);
    EXPECT_EQ(Picker->Text(), QStringLiteral("13:45:30"));

    Picker->SetKind(dkDateTime);
    ASSERT_NE(Picker->TimePicker(), nullptr);
    EXPECT_TRUE(Picker->TimePicker()->Visible());
    EXPECT_EQ(Stamp(Picker->TimePicker()->DateTime()), QStringLiteral("2024-05-06 13:45:30.000"));
    Picker->SetTimeFormat(QStringLiteral("HH:mm"));
    EXPECT_EQ(Picker->TimePicker()->Text(), QStringLiteral("13:45"));
}

TEST_F(ExtPickerTest, LabelStandsWhereItsPositionSays)
{
    using P = TExtDateTimePicker;
    Picker->SetLabelCaption(QStringLiteral("Arrival:"));
    TLabel *label = Picker->PickerLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Parent(), Form.get());
    EXPECT_EQ(label->FocusControl(), Picker);
    const int TW = GetTextSize(label->Caption(), label->Font()).cx;
    const int LW = label->Width(), LH = label->Height();
    struct Case {
        P::TLabelPosition Position;
        int Left, Top;
    };
    // The picker is at (100, 50), 200 x 21, the margin 4. With this caption 40 pixels wide and
    // 13 high, lpLeftCenter puts the label at (56, 54).
    const Case cases[] = {
        {P::lpLeftTop, 100 - TW - 4, 50},
        {P::lpLeftCenter, 100 - TW - 4, 50 + (21 - LH) / 2},
        {P::lpLeftBottom, 100 - TW - 4, 50 + 21 - LH},
        {P::lpTopLeft, 100, 50 - LH - 4},
        {P::lpBottomLeft, 100, 50 + 21 + 4},
        {P::lpLeftTopLeft, 96, 50},
        {P::lpTopCenter, 100 + (200 - LW) / 2, 50 - LH - 4},
        {P::lpRightCenter, 304, 50 + (21 - LH) / 2},
        {P::lpRighBottom, 304, 50 + 21 - LH},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.Position));
        Picker->SetLabelPosition(c.Position);
        EXPECT_EQ(label->Left(), c.Left);
        EXPECT_EQ(label->Top(), c.Top);
    }
    if (TW == 40 && LH == 13) {
        Picker->SetLabelPosition(P::lpLeftCenter);
        EXPECT_EQ(TPoint(label->Left(), label->Top()), TPoint(56, 54));
    }

    // A label wider than the picker is centred over it and starts left of it.
    Picker->SetLabelPosition(P::lpTopCenter);
    Picker->SetBounds(100, 50, 20, 21);
    EXPECT_LT(label->Left(), 100);
    EXPECT_EQ(label->Left(), 100 + (20 - LW) / 2);

    // The label follows the picker around: its moves, its visibility, its state.
    Picker->SetLabelPosition(P::lpLeftTop);
    Picker->SetBounds(150, 80, 200, 21);
    EXPECT_EQ(label->Left(), 150 - TW - 4);
    EXPECT_EQ(label->Top(), 80);
    Picker->SetVisible(false);
    EXPECT_FALSE(label->Visible());
    Picker->SetVisible(true);
    EXPECT_TRUE(label->Visible());
    Picker->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    EXPECT_FALSE(Picker->TimePicker()->Enabled());
    Picker->SetLabelAlwaysEnabled(true);
    EXPECT_TRUE(label->Enabled());
    Picker->SetEnabled(true);
    EXPECT_TRUE(Picker->TimePicker()->Enabled());

    int clicks = 0;
    Picker->OnLabelClick = [&](TObject *Sender) {
        EXPECT_EQ(Sender, Picker);
        ++clicks;
    };
    GuiTest::Click(label);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ExtPickerTest, FocusLabelIsBoldWhileFocused)
{
    auto *other = new TEdit(Form.get());
    other->SetParent(Form.get());
    other->SetBounds(10, 120, 80, 21);
    Picker->SetLabelCaption(QStringLiteral("When"));
    Picker->FocusLabel = true;
    TLabel *label = Picker->PickerLabel();
    other->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return other->Focused(); }));
    EXPECT_FALSE(label->Font()->Style().Contains(TFontStyle::fsBold));
    Picker->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return Picker->Focused(); }));
    EXPECT_TRUE(label->Font()->Style().Contains(TFontStyle::fsBold));
    other->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return other->Focused(); }));
    EXPECT_FALSE(label->Font()->Style().Contains(TFontStyle::fsBold));
}

TEST_F(ExtPickerTest, ClearedCheckBoxTakesTheTimePartOff)
{
    Picker->SetShowCheckbox(true);
    TCustomDateTimePicker *time = Picker->TimePicker();
    ASSERT_NE(time, nullptr);
    EXPECT_TRUE(time->Enabled());
    Picker->SetChecked(false);
    EXPECT_FALSE(time->Enabled());
    Picker->SetChecked(true);
    EXPECT_TRUE(time->Enabled());

    // The user's Space toggles the box, and the time part with it.
    Picker->SetFocus();
    GuiTest::PressKey(Picker, VK_SPACE);
    EXPECT_FALSE(Picker->Checked());
    EXPECT_FALSE(time->Enabled());
    // Reading the value does not tick the box again.
    Picker->DateTime();
    EXPECT_FALSE(Picker->Checked());
    GuiTest::PressKey(Picker, VK_SPACE);
    EXPECT_TRUE(Picker->Checked());
    EXPECT_TRUE(time->Enabled());

    // Turning the picker off and on keeps a cleared box's time part off.
    Picker->SetChecked(false);
    Picker->SetEnabled(false);
    Picker->SetEnabled(true);
    EXPECT_FALSE(time->Enabled());
}

TEST_F(ExtPickerTest, TypedDigitsMoveOnWhenTheyChangeAField)
{
    // A bare time picker: only a digit that changes the hour, minute or second moves on.
    auto *time = new TCustomDateTimePicker(Form.get());
    time->SetParent(Form.get());
    time->SetBounds(10, 120, 100, 21);
    time->SetKind(dtkTime);
    time->SetFormat(QStringLiteral("HH:mm:ss"));
    struct TimeCase {
        bool AutoTab;
        int Hour;
        const char *Digit;
        int Field;
    };
    const TimeCase timeCases[] = {
        {true, 13, "1", 1},  // 13 becomes 1: on to the minutes
        {true, 1, "1", 0},   // 1 stays 1: the hour keeps the caret
        {false, 13, "1", 0}, // without AutoTab nothing moves
    };
    for (const TimeCase &c : timeCases) {
        SCOPED_TRACE(testing::Message() << c.AutoTab << " " << c.Hour);
        time->SetAutoTab(c.AutoTab);
        time->SetTime(EncodeTime(Word(c.Hour), 45, 30, 0));
        time->SetFocus();
        time->SetFieldIndex(0);
        GuiTest::TypeText(time, QString::fromLatin1(c.Digit));
        GuiTest::ProcessEvents();
        EXPECT_EQ(time->FieldIndex(), c.Field);
    }

    // The labelled picker: the last field of the format typed hands over to the time part.
    Picker->SetAutoTab(true);
    ASSERT_TRUE(Picker->TimePicker()->AutoTab());
    struct DateCase {
        const char *Format;
        int Field;
        const char *Digits;
        int NextField; // -1: the time part has the focus
    };
    const DateCase dateCases[] = {
        {"dd/MM/yyyy", 0, "2", 1},
        {"dd/MM/yyyy", 2, "2025", -1},
        {"yyyy/MM/dd", 0, "2025", 1},
        {"yyyy/MM/dd", 2, "2", -1},
        {"", 0, "2", 1},     // the locale's dd/MM/yyyy: the day moves on
        {"", 2, "2025", -1}, // and a year goes to the time
    };
    for (const DateCase &c : dateCases) {
        SCOPED_TRACE(testing::Message() << c.Format << " " << c.Field);
        Picker->SetFormat(QString::fromLatin1(c.Format));
        Picker->SetDateTime(EncodeDateTime(2024, 5, 6, 13, 45, 30, 0));
        Picker->SetFocus();
        ASSERT_TRUE(GuiTest::WaitUntil([&] { return Picker->Focused(); }));
        Picker->SetFieldIndex(c.Field);
        GuiTest::TypeText(Picker, QString::fromLatin1(c.Digits));
        GuiTest::ProcessEvents();
        if (c.NextField < 0) {
            EXPECT_TRUE(GuiTest::WaitUntil([&] { return Picker->TimePicker()->Focused(); }, 500));
        } else {
            EXPECT_TRUE(Picker->Focused());
            EXPECT_EQ(Picker->FieldIndex(), c.NextField);
        }
    }
    // In the time part a changed hour moves on to the minutes there.
    TCustomDateTimePicker *part = Picker->TimePicker();
    part->SetFocus();
    part->SetFieldIndex(0);
    GuiTest::TypeText(part, QStringLiteral("2"));
    GuiTest::ProcessEvents();
    EXPECT_EQ(part->FieldIndex(), 1);
    EXPECT_EQ(Stamp(Picker->DateTime()), QStringLiteral("2025-05-06 02:45:30.000"));
}

TEST_F(ExtPickerTest, PaintsTheFlatLookWithItsOwnDifferences)
{
    constexpr int W = 150, H = 21;
    Form->SetColor(clBtnFace);
    auto *bare = new TCustomDateTimePicker(Form.get());
    bare->SetParent(Form.get());
    bare->SetBounds(10, 120, W, H);
    bare->SetFormat(QStringLiteral("dd/MM/yyyy"));
    bare->SetMetroStyle(true);
    bare->SetBorderColor(clGreen);
    bare->ButtonColor = clRed;
    GuiTest::LeaveWindow(bare);
    GuiTest::ProcessEvents();
    // The bare picker: no Metro button whatever MetroStyle says, and its lines (Ctl3D is off)
    // in the parent's colour, so that no frame shows.
    EXPECT_FALSE(bare->Ctl3D());
    EXPECT_NE(GuiTest::PixelAt(bare, W - 4, 3), ColorToRGB(clRed));
    EXPECT_EQ(GuiTest::PixelAt(bare, 0, 10), ColorToRGB(clBtnFace));
    EXPECT_EQ(GuiTest::PixelAt(bare, W - 1, 10), ColorToRGB(clBtnFace));
    // With a border the lines take BorderColor, the inner set too (no platform theme).
    bare->SetBorderStyle(bsSingle);
    GuiTest::ProcessEvents();
    for (TPoint at : {TPoint(0, 10), TPoint(1, 10), TPoint(W - 1, 10), TPoint(W - 2, 10), TPoint(60, 1)})
        EXPECT_EQ(GuiTest::PixelAt(bare, at.X, at.Y), ColorToRGB(clGreen)) << at.X << "," << at.Y;

    // The labelled picker takes the Metro look; its time part blends into it.
    Picker->SetBounds(10, 50, W, H);
    Picker->SetMetroStyle(true);
    Picker->ButtonColor = clRed;
    GuiTest::LeaveWindow(Picker);
    GuiTest::ProcessEvents();
    // Black frame (BorderColor starts black) and the button's edge ring the own button.
    EXPECT_EQ(GuiTest::PixelAt(Picker, W - 6, 10), ColorToRGB(clRed));
    EXPECT_EQ(GuiTest::PixelAt(Picker, 0, 10), ColorToRGB(clBlack));
    TCustomDateTimePicker *time = Picker->TimePicker();
    ASSERT_NE(time, nullptr);
    EXPECT_LT(time->Left() + time->Width(), W - Picker->ButtonWidth());
    EXPECT_EQ(GuiTest::PixelAt(time, 0, time->Height() / 2), ColorToRGB(Picker->Color()));
    EXPECT_EQ(Picker->Version(), QStringLiteral("1.2.0.0"));
}

TEST_F(ExtPickerTest, TimePartStandsByThePlatformState)
{
    // A is the time text's width + 31; the picker is 200 x 21 and has no bevels.
    struct Case {
        unsigned ComCtl32Major;
        bool ThemeLibrary, ThemeActive, Metro;
        int Right, Top, HeightLess; // left = W - A - Right, height = H - HeightLess
    };
    const Case cases[] = {
        {5, false, false, false, 23, -2, 0}, // this platform: COMCTL32 5.82, no theme
        {6, true, true, true, 21, 1, 2},
        {6, true, true, false, 34, 1, 2},
        {6, true, false, false, 21, 2, 4},
    };
    const Cardinal savedVersion = ComCtl32Version();
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.ComCtl32Major << c.ThemeLibrary << c.ThemeActive << c.Metro);
        SetComCtl32Version(c.ComCtl32Major == 5 ? ((5u << 16) | 82u) : (c.ComCtl32Major << 16));
        TRecordingThemeProvider theme;
        theme.Active = c.ThemeActive;
        TThemeProvider *saved = c.ThemeLibrary ? SetThemeProvider(&theme) : nullptr;
        auto *p = new TExtDateTimePicker(Form.get());
        p->SetParent(Form.get());
        p->SetMetroStyle(c.Metro);
        p->SetBounds(10, 120, 200, 21);
        GuiTest::ProcessEvents();
        TCustomDateTimePicker *time = p->TimePicker();
        ASSERT_NE(time, nullptr);
        const int A = GetTextSize(time->Text(), p->Font()).cx + 31;
        EXPECT_EQ(time->Width(), A);
        EXPECT_EQ(time->Left(), 200 - A - c.Right);
        EXPECT_EQ(time->Top(), c.Top);
        EXPECT_EQ(time->Height(), 21 - c.HeightLess);
        delete p;
        if (c.ThemeLibrary)
            SetThemeProvider(saved);
    }
    SetComCtl32Version(savedVersion);
}

} // namespace
