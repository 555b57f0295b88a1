// The hint machinery: resting the pointer asks the control under it, the control shapes the hint,
// the hint shows in a window of the class it names.
#include "platform/Forms.h"
#include "platform/MultiMon.h"
#include "platform/StdCtrls.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class THintedBox : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::function<void(THintInfo &)> OnAsk;
    int Asked = 0;
    LRESULT Answer = 0; // non-zero refuses the hint

protected:
    void CMHintShow(TWMGeneric &Message) override
    {
        ++Asked;
        if (OnAsk)
            OnAsk(*reinterpret_cast<THintInfo *>(Message.LParam));
        Message.Result = Answer;
    }
};

// A hint window of its own kind, to see the class and data a control names arrive.
class TOwnHintWindow : public THintWindow {
public:
    using THintWindow::THintWindow;
    TObject *LastData = nullptr;
    void ActivateHintData(TRect Rect, const UnicodeString &AHint, TObject *AData) override
    {
        LastData = AData;
        THintWindow::ActivateHintData(Rect, AHint, AData);
    }
};

class HintMachinery : public ::testing::Test {
protected:
    void SetUp() override
    {
        FPause = Application->HintPause();
        Application->SetHintPause(30);
        Form.reset(NewForm<TForm>(nullptr));
        Form->SetBounds(100, 100, 300, 200);
        Box = new THintedBox(Form.get());
        Box->SetParent(Form.get());
        Box->SetBounds(10, 10, 200, 100);
        Box->SetShowHint(true);
        Form->Show();
        GuiTest::ProcessEvents();
    }
    void TearDown() override
    {
        GuiTest::ResetHints();
        Form.reset();
        Application->SetHintPause(FPause);
        ResetScreenLayout();
    }
    std::unique_ptr<TForm> Form;
    THintedBox *Box = nullptr;
    int FPause = 0;
};

TEST_F(HintMachinery, AControlWithoutHintTextIsAskedAndShapesTheHint)
{
    TPoint asked{-1, -1};
    UnicodeString preset = QStringLiteral("x");
    Box->OnAsk = [&](THintInfo &i) {
        asked = i.CursorPos;
        preset = i.HintStr;
        EXPECT_EQ(i.HintWindowClass, HintWindowClass);
        EXPECT_EQ(i.HintControl, Box);
        i.HintStr = QStringLiteral("From the box");
        i.HintPos = Box->ClientToScreen({40, 60});
        i.HintColor = clYellow;
    };
    auto *Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 150, 100, 20);
    Edit->SetFocus();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return GuiTest::FocusedControl() == Edit; }));
    const GuiTest::TShownHint h = GuiTest::RestPointer(Box, {30, 20});
    EXPECT_EQ(Box->Asked, 1);
    EXPECT_EQ(asked, TPoint(30, 20));
    EXPECT_TRUE(preset.isEmpty());
    ASSERT_TRUE(h.Visible);
    EXPECT_EQ(h.Text, QStringLiteral("From the box"));
    EXPECT_EQ(h.Rect.TopLeft(), Box->ClientToScreen({40, 60}));
    EXPECT_EQ(h.Color, clYellow);
    EXPECT_EQ(h.ClassName, QStringLiteral("THintWindow"));
    // The window never takes the pointer or the focus from the form.
    EXPECT_EQ(GuiTest::FocusedControl(), Edit);
    EXPECT_TRUE(GetWindowLong(h.Window->Handle(), GWL_STYLE) & LPARAM(WS_DISABLED));
    EXPECT_TRUE(GetWindowLong(h.Window->Handle(), GWL_EXSTYLE) & LPARAM(WS_EX_TOPMOST));
}

TEST_F(HintMachinery, EmptyTextOrRefusalShowsNothing)
{
    struct Case {
        const char *Name;
        UnicodeString Hint;
        LRESULT Result;
    };
    Box->SetHint(QStringLiteral("Own|long part"));
    for (const Case &c : {Case{"emptied", QString(), 0}, Case{"refused", QStringLiteral("kept"), 1}}) {
        SCOPED_TRACE(c.Name);
        UnicodeString preset;
        Box->OnAsk = [&](THintInfo &i) {
            preset = i.HintStr;
            i.HintStr = c.Hint;
        };
        Box->Answer = c.Result;
        const GuiTest::TShownHint h = GuiTest::RestPointer(Box, {30, 20});
        EXPECT_EQ(preset, QStringLiteral("Own"));
        EXPECT_FALSE(h.Visible);
        GuiTest::ResetHints();
    }
}

TEST_F(HintMachinery, CancelHidesAndTheNextRestAsksAgain)
{
    Box->OnAsk = [&](THintInfo &i) { i.HintStr = QStringLiteral("n%1").arg(Box->Asked); };
    GuiTest::TShownHint h = GuiTest::RestPointer(Box, {30, 20});
    EXPECT_EQ(h.Text, QStringLiteral("n1"));
    // Moving within the rectangle the hint belongs to keeps it.
    h = GuiTest::RestPointer(Box, {35, 22});
    EXPECT_EQ(Box->Asked, 1);
    EXPECT_TRUE(h.Visible);

    Application->CancelHint();
    EXPECT_FALSE(GuiTest::ShownHint().Visible);
    h = GuiTest::RestPointer(Box, {36, 22});
    EXPECT_EQ(Box->Asked, 2);
    EXPECT_EQ(h.Text, QStringLiteral("n2"));

    // A cursor rectangle of one cell: leaving it asks again after the pause.
    Box->OnAsk = [&](THintInfo &i) {
        i.CursorRect = TRect(i.CursorPos.X / 50 * 50, 0, i.CursorPos.X / 50 * 50 + 50, 100);
        i.HintStr = QStringLiteral("cell %1").arg(i.CursorPos.X / 50);
    };
    GuiTest::ResetHints();
    h = GuiTest::RestPointer(Box, {10, 20});
    EXPECT_EQ(h.Text, QStringLiteral("cell 0"));
    h = GuiTest::RestPointer(Box, {60, 20});
    EXPECT_EQ(h.Text, QStringLiteral("cell 1"));
    EXPECT_EQ(Box->Asked, 4);
}

TEST_F(HintMachinery, TheControlNamesTheWindowClassAndItsData)
{
    TObject data;
    Box->OnAsk = [&](THintInfo &i) {
        i.HintStr = QStringLiteral("a fairly long hint text that has to wrap at the given width");
        i.HintWindowClass = &HintWindowClassOf<TOwnHintWindow>;
        i.HintData = &data;
        i.HintMaxWidth = 120;
    };
    GuiTest::TShownHint h = GuiTest::RestPointer(Box, {30, 20});
    ASSERT_TRUE(h.Visible);
    EXPECT_EQ(h.ClassName, QStringLiteral("TOwnHintWindow"));
    EXPECT_EQ(static_cast<TOwnHintWindow *>(h.Window)->LastData, &data);
    EXPECT_LE(h.Rect.Width(), 120 + 8);
    EXPECT_GT(h.Rect.Height(), 2 * Box->Canvas()->TextHeight(QStringLiteral("Ag")));

    // The replaceable global class serves the hints that name none of their own.
    const THintWindowClass old = HintWindowClass;
    HintWindowClass = &HintWindowClassOf<TOwnHintWindow>;
    Box->OnAsk = [&](THintInfo &i) { i.HintStr = QStringLiteral("plain"); };
    GuiTest::ResetHints();
    h = GuiTest::RestPointer(Box, {30, 20});
    HintWindowClass = old;
    EXPECT_EQ(h.ClassName, QStringLiteral("TOwnHintWindow"));
    EXPECT_EQ(h.Text, QStringLiteral("plain"));
}

TEST_F(HintMachinery, AHiddenControlOrOneWithoutShowHintIsNotAsked)
{
    Box->SetShowHint(false);
    Box->SetHint(QStringLiteral("never"));
    EXPECT_FALSE(GuiTest::RestPointer(Box, {30, 20}).Visible);
    EXPECT_EQ(Box->Asked, 0);
    Box->SetShowHint(true);
    Application->SetShowHint(false);
    EXPECT_FALSE(GuiTest::RestPointer(Box, {31, 20}).Visible);
    Application->SetShowHint(true);
    EXPECT_EQ(Box->Asked, 0);
}

TEST(Monitors, TheMonitorNearestAPoint)
{
    SetScreenLayout({{TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 740)}, {TRect(1024, 0, 2304, 1024), TRect(1024, 0, 2304, 1024)}});
    struct Case {
        TPoint P;
        int Num;
    };
    for (const Case &c : {Case{{10, 10}, 0}, Case{{1500, 900}, 1}, Case{{3000, 100}, 1}, Case{{-50, 300}, 0}}) {
        TMonitor *m = Screen->MonitorFromPoint(c.P);
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->MonitorNum(), c.Num) << c.P.X << "," << c.P.Y;
    }
    EXPECT_EQ(Screen->MonitorFromPoint({1500, 900})->BoundsRect(), TRect(1024, 0, 2304, 1024));
    EXPECT_EQ(Screen->MonitorFromPoint({10, 10})->WorkareaRect(), TRect(0, 0, 1024, 740));
    EXPECT_EQ(Screen->MonitorFromPoint({3000, 100}, mdNull), nullptr);
    EXPECT_EQ(Screen->MonitorFromPoint({3000, 100}, mdPrimary)->MonitorNum(), 0);
    ResetScreenLayout();
}

} // namespace
