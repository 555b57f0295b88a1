// Window messages: windows made on first need, posted and registered messages, window timers,
// the typed message records and the call-window-procedure hook.
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "support/GuiTest.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>

#include <memory>
#include <vector>

namespace {

// Records every message number that reaches it, and runs an optional action on one of them.
class TLogControl : public TCustomControl {
public:
    explicit TLogControl(TComponent *AOwner) : TCustomControl(AOwner) {}
    std::vector<Cardinal> Log;
    std::vector<WPARAM> Params;
    std::function<void(TMessage &)> OnMessage;
    int WndCreated = 0;

    void WndProc(TMessage &Message) override
    {
        const bool framework = Message.Msg >= CM_BASE && Message.Msg < 0xC000;
        if ((Message.Msg >= WM_USER && !framework) || Message.Msg == WM_TIMER) {
            Log.push_back(Message.Msg);
            Params.push_back(Message.WParam);
        }
        if (OnMessage)
            OnMessage(Message);
        TCustomControl::WndProc(Message);
    }

protected:
    void CreateWnd() override
    {
        TCustomControl::CreateWnd();
        ++WndCreated;
    }
};

class MessagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application->Initialize();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(10, 10, 300, 200);
        Ctl = new TLogControl(Form.get());
        Ctl->SetParent(Form.get());
        Ctl->SetBounds(10, 10, 100, 50);
    }
    std::unique_ptr<TForm> Form;
    TLogControl *Ctl = nullptr;
};

TEST_F(MessagesTest, WindowIsMadeOnFirstNeedOnly)
{
    EXPECT_FALSE(Ctl->HandleAllocated());
    EXPECT_FALSE(Form->HandleAllocated());
    // Properties work without a window.
    Ctl->SetBounds(5, 6, 70, 80);
    Ctl->SetCaption(QStringLiteral("x"));
    EXPECT_FALSE(Ctl->HandleAllocated());

    HWND h = Ctl->Handle();
    ASSERT_NE(h, nullptr);
    EXPECT_TRUE(Ctl->HandleAllocated());
    EXPECT_TRUE(Form->HandleAllocated()); // a child window needs its parent's
    EXPECT_EQ(Ctl->WndCreated, 1);
    EXPECT_EQ(TWinControl::FindControl(h), Ctl);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_EQ(Ctl->Handle(), h); // made once

    TRect r;
    ASSERT_TRUE(GetClientRect(h, r));
    EXPECT_EQ(r, Rect(0, 0, 70, 80));

    Ctl->DestroyHandle();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(Ctl->HandleAllocated());
    EXPECT_EQ(SendMessage(h, WM_USER, 0, 0), 0);
}

TEST_F(MessagesTest, ShowingAFormMakesTheWindowsOfItsVisibleChildren)
{
    auto *hidden = new TLogControl(Form.get());
    hidden->SetParent(Form.get());
    hidden->SetVisible(false);
    Form->Show();
    EXPECT_TRUE(Ctl->HandleAllocated());
    EXPECT_FALSE(hidden->HandleAllocated());
    hidden->SetVisible(true);
    EXPECT_TRUE(hidden->HandleAllocated());
    Form->Hide();
}

TEST_F(MessagesTest, PostedMessagesArriveOnceAfterTheCurrentHandlerInOrder)
{
    HWND h = Ctl->Handle();
    std::vector<int> order;
    Ctl->OnMessage = [&](TMessage &m) {
        if (m.Msg == WM_USER + 1) {
            order.push_back(1);
            EXPECT_TRUE(PostMessage(h, WM_USER + 2, 20, 0));
            EXPECT_TRUE(PostMessage(h, WM_USER + 3, 30, 0));
            order.push_back(2); // still inside the handler: nothing posted has arrived
        } else if (m.Msg == WM_USER + 2 || m.Msg == WM_USER + 3) {
            order.push_back(static_cast<int>(m.WParam));
        }
    };
    EXPECT_EQ(SendMessage(h, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    GuiTest::ProcessEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 20, 30}));
    GuiTest::ProcessEvents(20);
    EXPECT_EQ(order.size(), 4u) << "a posted message arrives once";
}

TEST_F(MessagesTest, PostToADestroyedWindowIsDroppedAndAnInvalidHandleRefused)
{
    HWND h = Ctl->Handle();
    EXPECT_TRUE(PostMessage(h, WM_USER + 5, 0, 0));
    Ctl->DestroyHandle();
    GuiTest::ProcessEvents();
    EXPECT_TRUE(Ctl->Log.empty());
    EXPECT_FALSE(PostMessage(h, WM_USER + 5, 0, 0));
    EXPECT_FALSE(PostMessage(nullptr, WM_USER + 5, 0, 0));
}

TEST_F(MessagesTest, RegisteredNamesMapToOneIdPerName)
{
    const Cardinal a = RegisterWindowMessage(QStringLiteral("GridEditDone"));
    const Cardinal b = RegisterWindowMessage(QStringLiteral("DTPShiftFocus"));
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_NE(a, b);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("GridEditDone")), a);
    EXPECT_EQ(RegisterWindowMessage(QStringLiteral("grideditdone")), a);
    EXPECT_EQ(RegisterWindowMessage(QString()), 0u);

    // A registered message travels like any other.
    HWND h = Ctl->Handle();
    PostMessage(h, a, 7, 9);
    GuiTest::ProcessEvents();
    ASSERT_EQ(Ctl->Log.size(), 1u);
    EXPECT_EQ(Ctl->Log[0], a);
    EXPECT_EQ(Ctl->Params[0], 7u);
}

TEST_F(MessagesTest, WindowTimerFiresWithItsIdUntilKilled)
{
    HWND h = Ctl->Handle();
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(SetTimer(h, 111, 40, nullptr), 111u);
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return Ctl->Log.size() >= 3; }, 3000));
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(elapsed, 3 * 40 - 10) << "ticks come about every interval, not faster";
    for (std::size_t i = 0; i < Ctl->Log.size(); ++i) {
        EXPECT_EQ(Ctl->Log[i], WM_TIMER);
        EXPECT_EQ(Ctl->Params[i], 111u);
    }
    EXPECT_TRUE(KillTimer(h, 111));
    const std::size_t ticks = Ctl->Log.size();
    GuiTest::ProcessEvents(150);
    EXPECT_EQ(Ctl->Log.size(), ticks) << "no tick after KillTimer";
    EXPECT_FALSE(KillTimer(h, 111));
    EXPECT_EQ(SetTimer(nullptr, 1, 10, nullptr), 0u) << "a timer without window needs a procedure";
}

TEST_F(MessagesTest, TwoTimersOfOneWindowKeepTheirIds)
{
    HWND h = Ctl->Handle();
    SetTimer(h, 1, 20, nullptr);
    SetTimer(h, 999, 30, nullptr);
    ASSERT_TRUE(GuiTest::WaitUntil([&] {
        return std::count(Ctl->Params.begin(), Ctl->Params.end(), 1u) >= 2 &&
               std::count(Ctl->Params.begin(), Ctl->Params.end(), 999u) >= 2;
    }));
    KillTimer(h, 1);
    KillTimer(h, 999);
    // Destroying the window ends its timers too.
    SetTimer(h, 5, 10, nullptr);
    Ctl->DestroyHandle();
    const std::size_t ticks = Ctl->Log.size();
    GuiTest::ProcessEvents(60);
    EXPECT_EQ(Ctl->Log.size(), ticks);
}

TEST(MessageRecords, TypedRecordsWriteBackWhatAHandlerChanges)
{
    TMessage m;
    m.Msg = WM_KEYDOWN;
    m.WParam = VK_RETURN;
    m.LParam = 0x001C0001;
    TWMKey key(m);
    EXPECT_EQ(key.CharCode, VK_RETURN);
    key.CharCode = 0;
    key.Result = 1;
    key.Store();
    EXPECT_EQ(m.WParam, 0u);
    EXPECT_EQ(m.Result, 1);

    TMessage mm;
    mm.Msg = WM_LBUTTONDOWN;
    mm.WParam = MK_LBUTTON | MK_SHIFT;
    mm.LParam = MakeLParam(-5, 300);
    TWMMouse mouse(mm);
    EXPECT_EQ(mouse.XPos, -5);
    EXPECT_EQ(mouse.YPos, 300);
    EXPECT_TRUE(KeysToShiftState(mouse.Keys).Contains(ssShift));
    EXPECT_TRUE(KeysToShiftState(mouse.Keys).Contains(ssLeft));

    TMessage mw;
    mw.WParam = MakeWParam(MK_CONTROL, -120);
    TWMMouseWheel wheel(mw);
    EXPECT_EQ(wheel.WheelDelta, -120);
    EXPECT_EQ(wheel.Keys, MK_CONTROL);
}

namespace {
std::vector<Cardinal> GHooked;
LRESULT RecordingHook(int Code, WPARAM WParam, LPARAM LParam)
{
    const auto *cwp = reinterpret_cast<const CWPSTRUCT *>(LParam);
    if (cwp->message == WM_WINDOWPOSCHANGED || cwp->message == WM_USER + 9)
        GHooked.push_back(cwp->message);
    return CallNextHookEx(nullptr, Code, WParam, LParam);
}
} // namespace

TEST_F(MessagesTest, CallWndProcHookSeesSentMessagesAndWindowMoves)
{
    GHooked.clear();
    HHOOK hook = SetWindowsHookEx(WH_CALLWNDPROC, RecordingHook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    HWND h = Ctl->Handle();
    SendMessage(h, WM_USER + 9, 0, 0);
    Ctl->SetBounds(20, 20, 100, 50);
    EXPECT_EQ(GHooked, (std::vector<Cardinal>{WM_USER + 9, WM_WINDOWPOSCHANGED}));
    EXPECT_TRUE(UnhookWindowsHookEx(hook));
    SendMessage(h, WM_USER + 9, 0, 0);
    EXPECT_EQ(GHooked.size(), 2u);
    EXPECT_FALSE(UnhookWindowsHookEx(hook));
}

} // namespace
