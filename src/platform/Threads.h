#pragma once
// Worker threads in the classic style: a TThread runs Execute on a thread of its own, hands work
// to the user-interface thread with Synchronize, and can be created suspended, resumed,
// terminated (a request Execute polls) and waited for.
//
// Starting. A thread made with CreateSuspended = false begins as soon as its construction is
// complete: AfterConstruction() starts it (NewThread<T>() calls it), and otherwise it starts from
// the event loop right after the current handler. A suspended one begins with Resume or Start.
//
// Suspending. Suspend() from the thread itself parks it at once; from another thread it takes
// effect at the thread's next suspension point: after a Synchronize returns, in CheckSuspended()
// and in the thread's Sleep(). Resume() lets it go on.
//
// Destruction. A subclass whose Execute uses its own members stops the thread in its destructor
// (Terminate + WaitFor); the base destructor does it too, but then the subclass's members are
// already gone.

#include "platform/System.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

FABRICOR_DECLARE_EXCEPTION(EThread, Exception)

class TThread : public TObject {
public:
    using TThreadMethod = std::function<void()>;

    explicit TThread(bool CreateSuspended);
    ~TThread() override;

    // Starts a thread made not suspended (once).
    void AfterConstruction();
    // Begins a suspended thread, or lets a suspended one go on.
    void Resume();
    void Start() { Resume(); }
    void Suspend();
    bool Suspended() const { return FSuspended.load(); }
    void SetSuspended(bool Value) { Value ? Suspend() : Resume(); }
    // Asks Execute to end (it polls Terminated()).
    void Terminate();
    // Waits until Execute has ended and returns ReturnValue. On the user-interface thread the
    // synchronized calls of the thread (and of others) keep running meanwhile. Raises EThread
    // for a thread that was never started.
    int WaitFor();
    bool Finished() const { return FFinished.load(); }
    bool Started() const { return FStarted.load(); }

    bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
    int ReturnValue() const { return FReturnValue.load(); }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const;
    // Fired on the user-interface thread after Execute ends.
    TNotifyEvent OnTerminate;

    // Runs Method on the user-interface thread and waits for it; an exception it raises is
    // raised again in the calling thread. On the user-interface thread it runs at once.
    static void Synchronize(TThread *Thread, const TThreadMethod &Method);
    void Synchronize(const TThreadMethod &Method) { Synchronize(this, Method); }
    // Runs Method on the user-interface thread later, without waiting.
    static void Queue(TThread *Thread, const TThreadMethod &Method);
    // Runs the synchronized calls waiting for the user-interface thread; true when any ran.
    static bool CheckSynchronize();
    static bool IsMainThread();

protected:
    virtual void Execute() = 0;
    bool Terminated() const { return FTerminated.load(); }
    void SetReturnValue(int Value) { FReturnValue = Value; }
    virtual void DoTerminate();
    // A suspension point: parks while the thread is suspended.
    void CheckSuspended();
    // Sleeps Ms milliseconds, then passes a suspension point.
    void Sleep(int Ms);

private:
    void Run();
    void StartThread();
    std::thread FThread;
    mutable std::mutex FMutex;
    std::condition_variable FCond;
    std::atomic<bool> FSuspended{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<bool> FPendingStart{false};
    std::atomic<int> FReturnValue{0};
    std::exception_ptr FFatal;
    std::shared_ptr<int> FAlive;
};

// Makes a thread and starts it (unless it was made suspended).
template <class T, class... Args>
T *NewThread(Args &&...args)
{
    T *t = new T(std::forward<Args>(args)...);
    t->AfterConstruction();
    return t;
}
