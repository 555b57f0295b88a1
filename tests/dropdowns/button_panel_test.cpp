// The calculator key panel: its 28 keys and their layout over the panel's size, and the mouse
// rules of hot, pressed and clicked keys.
#include "dropdowns/ExtButtonPanel.h"
#include "platform/UxTheme.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ButtonPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Panel = new TCustomButtonPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(0, 0, 214, 150);
        Panel->OnButtonClick = [this](TObject *, int Index) { Clicks.push_back(Index); };
        Panel->BuildButtons();
        Form->Show();
        GuiTest::ProcessEvents();
    }
    TPoint Centre(int Index) const
    {
        const TRect r = Panel->GetButtonRect(Index);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    std::unique_ptr<TForm> Form;
    TCustomButtonPanel *Panel = nullptr;
    std::vector<int> Clicks;
};

} // namespace

TEST_F(ButtonPanelTest, CalculatorKeysCarryTheirCaptionTagAndKind)
{
    ASSERT_EQ(Panel->Buttons()->Count(), 28);
    struct Row {
        int Index;
        const char *Caption, *Name;
        int Tag;
        bool Special;
    } rows[] = {{0, "", "BTN_ON", 30, false},     {1, "Back", "BTN_BACK", 31, true}, {3, "C", "BTN_C", 16, true},
                {7, "M+", "BTN_M+", 36, true},    {8, "0", "BTN_0", 0, false},       {15, "+/-", "BTN_+/-", 14, false},
                {16, ".", "BTN_.", 15, false},    {20, "/", "BTN_/", 13, true},      {24, "=", "BTN_=", 17, true},
                {25, "1/x", "BTN_1/x", 38, false}, {26, "%", "BTN_%", 18, false},    {27, "sqrt", "BTN_sqrt", 37, true}};
    for (const Row &r : rows) {
        TButtonItem *b = Panel->Buttons()->Items(r.Index);
        EXPECT_EQ(b->Caption, UnicodeString::fromLatin1(r.Caption)) << r.Index;
        EXPECT_EQ(b->Name.toUpper(), UnicodeString::fromLatin1(r.Name).toUpper()) << r.Index;
        EXPECT_EQ(b->Tag, r.Tag) << r.Index;
        EXPECT_EQ(b->Special, r.Special) << r.Index;
        EXPECT_EQ(b->CaptionColor, r.Special ? clMaroon : clWhite) << r.Index;
    }
}

TEST_F(ButtonPanelTest, LayoutOfA214By150Panel)
{
    TRect area;
    Panel->GetButtonArea(area);
    EXPECT_EQ(area, TRect(8, 8, 206, 142));
    // "MC" 7 8 9 / sqrt on the second row, "M+" 0 +/- . + = on the last.
    const int cols[] = {8, 43, 73, 103, 138, 168};
    const int second[] = {4, 11, 12, 19, 20, 27};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Panel->GetButtonRect(second[i]), TRect(cols[i], 38, cols[i] + 31, 38 + 26)) << second[i];
    }
    const int tops[] = {38, 63, 88, 113};
    const int firstCol[] = {4, 5, 6, 7};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Panel->GetButtonRect(firstCol[i]).Top, tops[i]);
    EXPECT_EQ(Panel->GetButtonRect(0), TRect(8, 8, 39, 34));
    EXPECT_EQ(Panel->GetButtonRect(1), TRect(43, 8, 92, 34));
    EXPECT_EQ(Panel->GetButtonRect(2), TRect(96, 8, 145, 34));
    EXPECT_EQ(Panel->GetButtonRect(3), TRect(149, 8, 199, 34));
    EXPECT_EQ(Panel->GetButtonRect(28), TRect(-1, -1, -1, -1));
}

TEST_F(ButtonPanelTest, AClickNeedsPressAndReleaseOnTheSameKey)
{
    GuiTest::MouseDown(Panel, Centre(9));
    EXPECT_EQ(Panel->DownButton(), 9);
    GuiTest::MouseMove(Panel, Centre(17), {ssLeft});
    GuiTest::MouseUp(Panel, Centre(17));
    EXPECT_TRUE(Clicks.empty());
    EXPECT_EQ(Panel->DownButton(), -1);
    GuiTest::MouseDown(Panel, Centre(9));
    GuiTest::MouseUp(Panel, Centre(9));
    EXPECT_EQ(Clicks, std::vector<int>{9});
}

TEST_F(ButtonPanelTest, DisabledKeyIsNeverHotOrPressedAndLeavingClearsHot)
{
    Panel->Buttons()->Items(9)->Enabled = false;
    GuiTest::MouseMove(Panel, Centre(9));
    EXPECT_EQ(Panel->HotButton(), -1);
    GuiTest::MouseDown(Panel, Centre(9));
    GuiTest::MouseUp(Panel, Centre(9));
    EXPECT_EQ(Panel->DownButton(), -1);
    EXPECT_TRUE(Clicks.empty());
    GuiTest::MouseMove(Panel, Centre(17));
    EXPECT_EQ(Panel->HotButton(), 17);
    GuiTest::LeaveWindow(Panel);
    EXPECT_EQ(Panel->HotButton(), -1);
}

TEST_F(ButtonPanelTest, BuildAddsOnlyToAnEmptyPanelAndCustomBuildsNone)
{
    Panel->BuildButtons();
    EXPECT_EQ(Panel->Buttons()->Count(), 28);
    Panel->Buttons()->Delete(0);
    Panel->ResetButtons();
    EXPECT_EQ(Panel->Buttons()->Count(), 28);

    Panel->ClearButtons();
    Panel->SetButtonPanelType(plCustom);
    Panel->BuildButtons();
    EXPECT_EQ(Panel->Buttons()->Count(), 0);
    TButtonItem *b = Panel->Buttons()->Add();
    b->Left = 5;
    b->Width = 20;
    Panel->SetBounds(0, 0, 300, 180);
    Panel->ArrangeButtons();
    EXPECT_EQ(Panel->GetButtonRect(0), TRect(5, 0, 25, 0)) << "custom keys keep their rectangles";
}

TEST_F(ButtonPanelTest, KeysPaintAsPushButtonsInTheirState)
{
    // Without visual styles: a raised face in the button colour, sunken while pressed.
    TBitmap b(214, 150);
    Panel->PaintOn(b.Canvas());
    // Key "1" stands at the left of the digit block; its neighbours overlap only its top, right
    // and bottom edges.
    const TRect k = Panel->GetButtonRect(9);
    const int mid = (k.Top + k.Bottom) / 2;
    EXPECT_EQ(ColorToRGB(b.Canvas()->Pixels(k.Left, mid)), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(ColorToRGB(b.Canvas()->Pixels(k.Left + 2, k.Bottom - 3)), ColorToRGB(clBtnFace));
    GuiTest::MouseDown(Panel, Centre(9));
    Panel->PaintOn(b.Canvas());
    EXPECT_EQ(ColorToRGB(b.Canvas()->Pixels(k.Left, mid)), ColorToRGB(clBtnShadow));
    GuiTest::MouseUp(Panel, Centre(9));

    // With visual styles: the "button" class, part 1, normal, hot, pressed and disabled.
    TRecordingThemeProvider provider;
    TThemeProvider *old = SetThemeProvider(&provider);
    auto stateOf = [&](int Index) {
        provider.Entries.clear();
        Panel->DrawButton(Index, b.Canvas());
        return provider.Entries.empty() ? -1 : provider.Entries.back().State;
    };
    EXPECT_EQ(stateOf(9), 1);
    EXPECT_EQ(provider.Entries.back().ClassName, QStringLiteral("button"));
    EXPECT_EQ(provider.Entries.back().Part, 1);
    GuiTest::MouseMove(Panel, Centre(9));
    EXPECT_EQ(stateOf(9), 2);
    GuiTest::MouseDown(Panel, Centre(9));
    EXPECT_EQ(stateOf(9), 3);
    GuiTest::MouseUp(Panel, Centre(9));
    Panel->SetEnabled(false);
    EXPECT_EQ(stateOf(9), 4);
    SetThemeProvider(old);
}
