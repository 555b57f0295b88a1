#include "platform/Threads.h"

#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <deque>

namespace {

struct TSyncCall {
    TThread::TThreadMethod Method;
    bool Wait = true;
    bool Done = false;
    std::exception_ptr Error;
};

std::mutex GSyncLock;
std::condition_variable GSyncDone;
std::deque<std::shared_ptr<TSyncCall>> GSyncQueue;

// Lives on the user-interface thread; wakes it for synchronized calls and deferred starts.
QObject *Waker()
{
    static QObject *w = [] {
        auto *o = new QObject;
        if (QCoreApplication::instance())
            o->moveToThread(QCoreApplication::instance()->thread());
        return o;
    }();
    return w;
}

void WakeMainThread()
{
    if (!QCoreApplication::instance())
        return;
    QMetaObject::invokeMethod(Waker(), [] { TThread::CheckSynchronize(); }, Qt::QueuedConnection);
}

} // namespace

bool TThread::IsMainThread()
{
    return !QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread();
}

TThread::TThread(bool CreateSuspended) : FAlive(std::make_shared<int>(0))
{
    FSuspended = CreateSuspended;
    if (!CreateSuspended) {
        FPendingStart = true;
        // Started once construction is over: from AfterConstruction, or else from the loop.
        std::weak_ptr<int> alive = FAlive;
        if (QCoreApplication::instance())
            QTimer::singleShot(0, Waker(), [this, alive] {
                if (alive.lock())
                    AfterConstruction();
            });
    }
}

TThread::~TThread()
{
    FAlive.reset();
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id()) {
            FThread.detach(); // freeing itself at its end
            return;
        }
        if (!FFinished) {
            Terminate();
            while (FSuspended)
                Resume();
            try {
                WaitFor();
            } catch (...) {
            }
        }
        FThread.join();
    }
}

void TThread::AfterConstruction()
{
    bool expected = true;
    if (FPendingStart.compare_exchange_strong(expected, false))
        StartThread();
}

void TThread::StartThread()
{
    if (FStarted.exchange(true))
        return;
    FThread = std::thread([this] { Run(); });
}

void TThread::Run()
{
    CheckSuspended();
    try {
        if (!FTerminated)
            Execute();
    } catch (...) {
        std::lock_guard<std::mutex> lock(FMutex);
        FFatal = std::current_exception();
    }
    try {
        if (OnTerminate)
            Synchronize(this, [this] { DoTerminate(); });
    } catch (...) {
    }
    const bool freeSelf = FFreeOnTerminate;
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FFinished = true;
    }
    FCond.notify_all();
    {
        std::lock_guard<std::mutex> lock(GSyncLock);
    }
    GSyncDone.notify_all();
    if (freeSelf)
        delete this;
}

void TThread::DoTerminate()
{
    if (OnTerminate)
        OnTerminate(this);
}

void TThread::Resume()
{
    if (!FStarted) {
        FPendingStart = false;
        FSuspended = false;
        StartThread();
        return;
    }
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FSuspended = false;
    }
    FCond.notify_all();
}

void TThread::Suspend()
{
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FSuspended = true;
    }
    if (FStarted && FThread.get_id() == std::this_thread::get_id())
        CheckSuspended();
}

void TThread::CheckSuspended()
{
    std::unique_lock<std::mutex> lock(FMutex);
    FCond.wait(lock, [this] { return !FSuspended.load(); });
}

void TThread::Sleep(int Ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(Ms));
    CheckSuspended();
}

void TThread::Terminate()
{
    FTerminated = true;
}

int TThread::WaitFor()
{
    if (FThread.joinable() && FThread.get_id() == std::this_thread::get_id())
        throw EThread(QStringLiteral("Thread cannot wait for itself"));
    if (!FStarted)
        throw EThread(QStringLiteral("Cannot wait for a thread that was never started"));
    if (IsMainThread()) {
        while (!FFinished) {
            CheckSynchronize();
            std::unique_lock<std::mutex> lock(GSyncLock);
            GSyncDone.wait_for(lock, std::chrono::milliseconds(5), [this] { return FFinished.load() || !GSyncQueue.empty(); });
        }
    } else {
        std::unique_lock<std::mutex> lock(FMutex);
        FCond.wait(lock, [this] { return FFinished.load(); });
    }
    return FReturnValue;
}

std::exception_ptr TThread::FatalException() const
{
    std::lock_guard<std::mutex> lock(FMutex);
    return FFatal;
}

void TThread::Synchronize(TThread *Thread, const TThreadMethod &Method)
{
    if (IsMainThread()) {
        Method();
        return;
    }
    auto call = std::make_shared<TSyncCall>();
    call->Method = Method;
    {
        std::lock_guard<std::mutex> lock(GSyncLock);
        GSyncQueue.push_back(call);
    }
    GSyncDone.notify_all();
    WakeMainThread();
    {
        std::unique_lock<std::mutex> lock(GSyncLock);
        GSyncDone.wait(lock, [&] { return call->Done; });
    }
    // The user-interface thread may have suspended this thread inside the call.
    if (Thread)
        Thread->CheckSuspended();
    if (call->Error)
        std::rethrow_exception(call->Error);
}

void TThread::Queue(TThread *, const TThreadMethod &Method)
{
    if (IsMainThread()) {
        Method();
        return;
    }
    auto call = std::make_shared<TSyncCall>();
    call->Method = Method;
    call->Wait = false;
    {
        std::lock_guard<std::mutex> lock(GSyncLock);
        GSyncQueue.push_back(call);
    }
    WakeMainThread();
}

bool TThread::CheckSynchronize()
{
    if (!IsMainThread())
        return false;
    bool any = false;
    for (;;) {
        std::shared_ptr<TSyncCall> call;
        {
            std::lock_guard<std::mutex> lock(GSyncLock);
            if (GSyncQueue.empty())
                break;
            call = GSyncQueue.front();
            GSyncQueue.pop_front();
        }
        any = true;
        if (call->Wait) {
            try {
                call->Method();
            } catch (...) {
                call->Error = std::current_exception();
            }
        } else {
            platform_detail::GuardedCall(nullptr, call->Method);
        }
        {
            std::lock_guard<std::mutex> lock(GSyncLock);
            call->Done = true;
        }
        GSyncDone.notify_all();
    }
    return any;
}
