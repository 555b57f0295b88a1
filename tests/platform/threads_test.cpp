// Worker threads: the hand-off to the user-interface thread, suspension, termination and waiting,
// as the graphic button's fade thread uses them.
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/Windows.h"
#include "platform/Threads.h"
#include "support/GuiTest.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Ticks every 5 ms and hands each tick to the user-interface thread, like a fade thread.
class TTicker : public TThread {
public:
    explicit TTicker(bool Suspended) : TThread(Suspended) {}
    ~TTicker() override
    {
        Terminate();
        while (Suspended())
            Resume();
        if (Started())
            WaitFor();
    }
    std::function<void()> OnTick;
    std::atomic<int> Ticks{0};
    std::thread::id TickThread;

protected:
    void Execute() override
    {
        while (!Terminated()) {
            Sleep(5);
            Synchronize([this] {
                TickThread = std::this_thread::get_id();
                ++Ticks;
                if (OnTick)
                    OnTick();
            });
        }
        SetReturnValue(42);
    }
};

TEST(Threads, ACreatedSuspendedThreadRunsOnlyAfterResume)
{
    auto t = std::make_unique<TTicker>(true);
    GuiTest::ProcessEvents(30);
    EXPECT_EQ(t->Ticks, 0);
    EXPECT_TRUE(t->Suspended());
    EXPECT_THROW(t->WaitFor(), EThread);
    t->Resume();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return t->Ticks >= 3; }));
    EXPECT_EQ(t->TickThread, std::this_thread::get_id()) << "Synchronize runs on the user-interface thread";
}

TEST(Threads, TheUserInterfaceThreadSuspendsTheWorkerInsideASynchronizedCall)
{
    auto t = std::make_unique<TTicker>(true);
    t->OnTick = [&] {
        if (t->Ticks == 4)
            t->Suspend(); // the fade ends: the thread suspends itself through the call
    };
    t->Resume();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return t->Suspended(); }));
    GuiTest::ProcessEvents(40);
    EXPECT_EQ(t->Ticks, 4) << "no tick while suspended";
    t->Resume(); // the pointer left again: another fade
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return t->Ticks >= 6; }));
    // Resume until running, terminate, wait: as a button does when it is destroyed.
    while (t->Suspended())
        t->Resume();
    t->Terminate();
    EXPECT_EQ(t->WaitFor(), 42);
    EXPECT_TRUE(t->Finished());
}

TEST(Threads, AThreadNotSuspendedStartsByItselfAndFreesItselfOnTerminate)
{
    static std::atomic<bool> freed{false};
    struct TOnce : TThread {
        TOnce() : TThread(false) { SetFreeOnTerminate(true); }
        ~TOnce() override { freed = true; }
        void Execute() override { Synchronize([] {}); }
    };
    freed = false;
    bool terminated = false;
    auto *t = new TOnce;
    t->OnTerminate = [&](TObject *) { terminated = true; };
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return freed.load(); }));
    EXPECT_TRUE(terminated) << "OnTerminate ran on the user-interface thread";
}

TEST(Threads, ExceptionsTravelBackFromSynchronizeAndEndExecute)
{
    struct TFailing : TThread {
        TFailing() : TThread(true) {}
        ~TFailing() override
        {
            if (Started())
                WaitFor();
        }
        bool CaughtInThread = false;
        void Execute() override
        {
            try {
                Synchronize([] { throw EConvertError(QStringLiteral("bad")); });
            } catch (const EConvertError &) {
                CaughtInThread = true;
            }
            throw Exception(QStringLiteral("worker failed"));
        }
    };
    TFailing t;
    t.Start();
    t.WaitFor();
    EXPECT_TRUE(t.CaughtInThread);
    ASSERT_TRUE(t.FatalException());
    try {
        std::rethrow_exception(t.FatalException());
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("worker failed"));
    }
}

TEST(Threads, AWorkerSendsAMessageWhileTheUserInterfaceThreadWaitsForIt)
{
    // As the theme watcher does: a synchronous send from its own thread.
    struct TCounter : TCustomControl {
        using TCustomControl::TCustomControl;
        std::thread::id SeenOn;
        int Seen = 0;
        void WndProc(TMessage &M) override
        {
            if (M.Msg == 2993) {
                SeenOn = std::this_thread::get_id();
                ++Seen;
                M.Result = 7;
                return;
            }
            TCustomControl::WndProc(M);
        }
    };
    TForm form(nullptr);
    auto *c = new TCounter(&form);
    c->SetParent(&form);
    HWND h = c->Handle();
    struct TSender : TThread {
        explicit TSender(HWND W) : TThread(true), Wnd(W) {}
        HWND Wnd;
        std::atomic<LRESULT> Answer{0};
        void Execute() override { Answer = SendMessage(Wnd, 2993, 0, 0); }
    };
    TSender t(h);
    t.Start();
    t.WaitFor();
    EXPECT_EQ(t.Answer, 7);
    EXPECT_EQ(c->Seen, 1);
    EXPECT_EQ(c->SeenOn, std::this_thread::get_id());
}

TEST(Threads, DestroyingARunningThreadStopsIt)
{
    auto t = std::make_unique<TTicker>(false);
    t->AfterConstruction();
    ASSERT_TRUE(GuiTest::WaitUntil([&] { return t->Ticks >= 1; }));
    t.reset(); // terminates and waits, running its synchronized calls meanwhile
    SUCCEED();
}

} // namespace
