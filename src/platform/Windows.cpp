#include "platform/Windows.h"

#include "platform/MultiMon.h"
#include "platform/TimeSource.h"

#include "platform/Controls.h"
#include "platform/ControlsPrivate.h"
#include "platform/Forms.h"
#include "platform/Threads.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QVariant>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <thread>
#include <vector>

namespace {

// ---- posted messages ----

class TPostedMessageEvent : public QEvent {
public:
    static QEvent::Type EventType()
    {
        static const int t = QEvent::registerEventType();
        return static_cast<QEvent::Type>(t);
    }
    TPostedMessageEvent(HWND Wnd, Cardinal Msg, WPARAM W, LPARAM L)
        : QEvent(EventType()), FWnd(Wnd), FMsg(Msg), FW(W), FL(L) {}
    HWND FWnd;
    Cardinal FMsg;
    WPARAM FW;
    LPARAM FL;
};

class TMessagePoster : public QObject {
protected:
    void customEvent(QEvent *Event) override
    {
        if (Event->type() != TPostedMessageEvent::EventType())
            return;
        auto *pm = static_cast<TPostedMessageEvent *>(Event);
        TWinControl *c = TWinControl::FindControl(pm->FWnd);
        if (!c)
            return;
        platform_detail::GuardedCall(c, [&] {
            CallWndProcHooks(pm->FWnd, pm->FMsg, pm->FW, pm->FL);
            c->Perform(pm->FMsg, pm->FW, pm->FL);
        });
    }
};

TMessagePoster *Poster()
{
    static TMessagePoster *poster = [] {
        auto *p = new TMessagePoster;
        if (QCoreApplication::instance())
            p->moveToThread(QCoreApplication::instance()->thread());
        return p;
    }();
    return poster;
}

bool OnGuiThread()
{
    return !QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread();
}

// ---- registered messages ----

QMutex GRegisterLock;
QHash<QString, Cardinal> GRegistered;
QHash<Cardinal, QString> GRegisteredNames;
Cardinal GNextRegistered = 0xC000;

// ---- thread timers (no window) ----

class TThreadTimers : public QObject {
public:
    UINT_PTR Set(UINT_PTR Id, UINT Elapse, TIMERPROC Proc)
    {
        if (Id != 0) {
            for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
                if (it->second.first == Id) {
                    killTimer(it->first);
                    FTimers.erase(it);
                    break;
                }
        } else {
            Id = ++FNextId;
        }
        const int qtId = startTimer(static_cast<int>(std::max<UINT>(Elapse, 1)));
        if (qtId == 0)
            return 0;
        FTimers[qtId] = {Id, Proc};
        return Id;
    }
    bool Kill(UINT_PTR Id)
    {
        for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
            if (it->second.first == Id) {
                killTimer(it->first);
                FTimers.erase(it);
                return true;
            }
        return false;
    }

protected:
    void timerEvent(QTimerEvent *Event) override
    {
        auto it = FTimers.find(Event->timerId());
        if (it == FTimers.end())
            return;
        const UINT_PTR id = it->second.first;
        TIMERPROC proc = it->second.second;
        if (proc)
            platform_detail::GuardedCall(nullptr, [&] { proc(nullptr, WM_TIMER, id, GetTickCount()); });
    }

private:
    std::map<int, std::pair<UINT_PTR, TIMERPROC>> FTimers;
    UINT_PTR FNextId = 0x7FFF0000;
};

TThreadTimers *ThreadTimers()
{
    static TThreadTimers *t = new TThreadTimers;
    return t;
}

// ---- key state ----

std::array<std::atomic<Byte>, 256> GKeyState{};
TPoint GCursorPos{0, 0};
bool GCursorKnown = false;
HWND GCapture = nullptr;

// ---- hooks ----

struct THookEntry {
    HHOOK Handle;
    HOOKPROC Proc;
};
std::vector<THookEntry> GHooks;
std::uintptr_t GNextHook = 0;

QElapsedTimer &StartClock()
{
    static QElapsedTimer t = [] {
        QElapsedTimer e;
        e.start();
        return e;
    }();
    return t;
}
[[maybe_unused]] const bool GClockStarted = (StartClock(), true);

} // namespace

namespace platform_detail {

void NoteKey(int Vk, bool Down)
{
    if (Vk <= 0 || Vk > 255)
        return;
    Byte v = GKeyState[static_cast<std::size_t>(Vk)].load();
    if (Down) {
        if (!(v & 0x80))
            v ^= 0x01; // toggle on each press, as Caps Lock does
        v |= 0x80;
    } else {
        v &= static_cast<Byte>(~0x80);
    }
    GKeyState[static_cast<std::size_t>(Vk)].store(v);
}

void NoteModifiers(bool Shift, bool Ctrl, bool Alt)
{
    auto set = [](int vk, bool down) {
        Byte v = GKeyState[static_cast<std::size_t>(vk)].load();
        v = down ? static_cast<Byte>(v | 0x80) : static_cast<Byte>(v & ~0x80);
        GKeyState[static_cast<std::size_t>(vk)].store(v);
    };
    set(VK_SHIFT, Shift);
    set(VK_CONTROL, Ctrl);
    set(VK_MENU, Alt);
    // The sided codes follow the plain ones: released together, and a modifier seen held
    // without knowing its side counts as the left one.
    auto sided = [&](int left, int right, bool down) {
        const bool any = (GKeyState[std::size_t(left)].load() & 0x80) || (GKeyState[std::size_t(right)].load() & 0x80);
        if (!down) {
            set(left, false);
            set(right, false);
        } else if (!any) {
            set(left, true);
        }
    };
    sided(VK_LSHIFT, VK_RSHIFT, Shift);
    sided(VK_LCONTROL, VK_RCONTROL, Ctrl);
    sided(VK_LMENU, VK_RMENU, Alt);
}

void NoteModifierSide(int Vk, bool Right, bool Down)
{
    int left = 0, right = 0;
    switch (Vk) {
    case VK_SHIFT: left = VK_LSHIFT; right = VK_RSHIFT; break;
    case VK_CONTROL: left = VK_LCONTROL; right = VK_RCONTROL; break;
    case VK_MENU: left = VK_LMENU; right = VK_RMENU; break;
    default: return;
    }
    const std::size_t i = std::size_t(Right ? right : left);
    Byte v = GKeyState[i].load();
    v = Down ? static_cast<Byte>(v | 0x80) : static_cast<Byte>(v & ~0x80);
    GKeyState[i].store(v);
}

void NoteCursor(TPoint ScreenPos)
{
    GCursorPos = ScreenPos;
    GCursorKnown = true;
}

} // namespace platform_detail

LRESULT SendMessage(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam)
{
    if (!OnGuiThread()) {
        // Another thread's send runs on the user-interface thread while the sender waits (also
        // while that thread waits for the sender in TThread::WaitFor).
        LRESULT result = 0;
        TThread::Synchronize(nullptr, [&] {
            platform_detail::GuardedCall(nullptr, [&] { result = SendMessage(Wnd, Msg, WParam, LParam); });
        });
        return result;
    }
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return 0;
    CallWndProcHooks(Wnd, Msg, WParam, LParam);
    return c->Perform(Msg, WParam, LParam);
}

BOOL PostMessage(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam)
{
    if (OnGuiThread() && !TWinControl::FindControl(Wnd))
        return FALSE;
    QCoreApplication::postEvent(Poster(), new TPostedMessageEvent(Wnd, Msg, WParam, LParam));
    return TRUE;
}

Cardinal RegisterWindowMessage(const UnicodeString &Name)
{
    if (Name.isEmpty())
        return 0;
    QMutexLocker lock(&GRegisterLock);
    const QString key = Name.toUpper();
    auto it = GRegistered.find(key);
    if (it != GRegistered.end())
        return it.value();
    if (GNextRegistered > 0xFFFF)
        return 0;
    const Cardinal id = GNextRegistered++;
    GRegistered.insert(key, id);
    GRegisteredNames.insert(id, Name);
    return id;
}

Cardinal RegisterClipboardFormat(const UnicodeString &Name) { return RegisterWindowMessage(Name); }

int GetClipboardFormatName(Cardinal Format, UnicodeString &Name)
{
    QMutexLocker lock(&GRegisterLock);
    auto it = GRegisteredNames.find(Format);
    if (it == GRegisteredNames.end())
        return 0;
    Name = it.value();
    return int(Name.size());
}

bool IsWindow(HWND Wnd) { return TWinControl::FindControl(Wnd) != nullptr; }

bool IsWindowVisible(HWND Wnd)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    QWidget *w = c ? c->WidgetIfAllocated() : nullptr;
    return w && w->isVisible();
}

bool IsWindowEnabled(HWND Wnd)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    QWidget *w = c ? c->WidgetIfAllocated() : nullptr;
    return w && w->isEnabled();
}

BOOL InvalidateRect(HWND Wnd, const TRect *Rect, BOOL)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    QWidget *w = c ? c->WidgetIfAllocated() : nullptr;
    if (!w)
        return FALSE;
    if (Rect)
        w->update(QRect(Rect->Left, Rect->Top, Rect->Width(), Rect->Height()));
    else
        w->update();
    return TRUE;
}

BOOL UpdateWindow(HWND Wnd)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    c->Update();
    return TRUE;
}

BOOL GetClientRect(HWND Wnd, TRect &Rect)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    Rect = c->ClientRect();
    return TRUE;
}

BOOL GetWindowRect(HWND Wnd, TRect &Rect)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    const TPoint o = c->ClientOrigin();
    Rect = Bounds(o.X, o.Y, c->Width(), c->Height());
    return TRUE;
}

HWND GetParent(HWND Wnd)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return nullptr;
    if (!c->Parent()) {
        // A form made with an owner answers the owner, as a pop-up window does.
        QWidget *w = c->WidgetIfAllocated();
        const HWND owner = w ? platform_detail::WndParentOf(w) : nullptr;
        return owner && TWinControl::FindControl(owner) ? owner : nullptr;
    }
    if (!c->Parent()->HandleAllocated())
        return nullptr;
    return c->Parent()->Handle();
}

HWND GetFocus()
{
    for (QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        QVariant v = w->property("fabricorHandle");
        if (v.isValid()) {
            HWND h = reinterpret_cast<HWND>(v.value<qulonglong>());
            if (TWinControl::FindControl(h))
                return h;
        }
    }
    return nullptr;
}

HWND SetFocus(HWND Wnd)
{
    HWND old = GetFocus();
    if (TWinControl *c = TWinControl::FindControl(Wnd))
        c->SetFocus();
    return old;
}

HWND WindowFromPoint(TPoint Point)
{
    QWidget *w = QApplication::widgetAt(Point.X, Point.Y);
    for (; w; w = w->parentWidget()) {
        QVariant v = w->property("fabricorHandle");
        if (v.isValid())
            return reinterpret_cast<HWND>(v.value<qulonglong>());
    }
    return nullptr;
}

namespace {

// Timers that run on a replaced time source (a test's manual clock): the source knows a timer
// by an address, so each window and id gets one that lives as long as the timer.
struct TClockTimer {
    HWND Wnd;
    UINT_PTR Id;
};

std::map<std::pair<HWND, UINT_PTR>, std::unique_ptr<TClockTimer>> &ClockTimers()
{
    static std::map<std::pair<HWND, UINT_PTR>, std::unique_ptr<TClockTimer>> timers;
    return timers;
}

bool StopClockTimer(HWND Wnd, UINT_PTR Id)
{
    auto it = ClockTimers().find({Wnd, Id});
    if (it == ClockTimers().end())
        return false;
    CurrentTimeSource()->StopTimer(it->second.get());
    ClockTimers().erase(it);
    return true;
}

void ClockTimerTick(HWND Wnd, UINT_PTR Id, TIMERPROC Proc)
{
    TWinControl *c = Wnd ? TWinControl::FindControl(Wnd) : nullptr;
    if (Wnd && !c) {
        // The window went away; its timers go with it.
        StopClockTimer(Wnd, Id);
        return;
    }
    platform_detail::GuardedCall(c, [&] {
        if (Proc) {
            Proc(Wnd, WM_TIMER, Id, GetTickCount());
        } else {
            CallWndProcHooks(Wnd, WM_TIMER, Id, 0);
            c->Perform(WM_TIMER, Id, 0);
        }
    });
}

// Starts the timer on the time source when that source runs timers itself; false otherwise.
bool StartClockTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc)
{
    TTimeSource *source = CurrentTimeSource();
    auto &slot = ClockTimers()[{Wnd, Id}];
    if (!slot)
        slot = std::make_unique<TClockTimer>(TClockTimer{Wnd, Id});
    if (source->StartTimer(slot.get(), Elapse, [Wnd, Id, Proc] { ClockTimerTick(Wnd, Id, Proc); }))
        return true;
    ClockTimers().erase({Wnd, Id});
    return false;
}

UINT_PTR &NextClockTimerId()
{
    static UINT_PTR id = 0x7FFE0000;
    return id;
}

} // namespace

void platform_detail::StopClockTimersOf(HWND Handle)
{
    auto &timers = ClockTimers();
    for (auto it = timers.lower_bound({Handle, 0}); it != timers.end() && it->first.first == Handle;) {
        CurrentTimeSource()->StopTimer(it->second.get());
        it = timers.erase(it);
    }
}

UINT_PTR SetTimer(HWND Wnd, UINT_PTR IDEvent, UINT Elapse, TIMERPROC TimerFunc)
{
    if (!Wnd && !TimerFunc)
        return 0;
    if (Wnd && !platform_detail::BridgeOf(Wnd))
        return 0;
    const UINT_PTR id = (!Wnd && IDEvent == 0) ? ++NextClockTimerId() : IDEvent;
    if (StartClockTimer(Wnd, id, Elapse, TimerFunc))
        return (Wnd && id == 0) ? 1 : id;
    if (!Wnd)
        return ThreadTimers()->Set(IDEvent, Elapse, TimerFunc);
    return platform_detail::BridgeOf(Wnd)->SetTimer(IDEvent, Elapse, TimerFunc);
}

BOOL KillTimer(HWND Wnd, UINT_PTR IDEvent)
{
    if (StopClockTimer(Wnd, IDEvent))
        return TRUE;
    if (!Wnd)
        return ThreadTimers()->Kill(IDEvent) ? TRUE : FALSE;
    TControlEventBridge *b = platform_detail::BridgeOf(Wnd);
    return b && b->KillTimer(IDEvent) ? TRUE : FALSE;
}

SHORT GetKeyState(int VirtKey)
{
    if (VirtKey <= 0 || VirtKey > 255)
        return 0;
    const Byte v = GKeyState[static_cast<std::size_t>(VirtKey)].load();
    SHORT r = (v & 0x80) ? static_cast<SHORT>(0x8000) : 0;
    if (v & 0x01)
        r = static_cast<SHORT>(r | 1);
    return r;
}

SHORT GetAsyncKeyState(int VirtKey)
{
    return static_cast<SHORT>(GetKeyState(VirtKey) & static_cast<SHORT>(0x8000));
}

BOOL GetKeyboardState(Byte *KeyState256)
{
    if (!KeyState256)
        return FALSE;
    for (std::size_t i = 0; i < 256; ++i)
        KeyState256[i] = GKeyState[i].load();
    return TRUE;
}

HWND SetCapture(HWND Wnd)
{
    HWND old = GCapture;
    if (!TWinControl::FindControl(Wnd))
        return old;
    GCapture = Wnd;
    return old;
}

BOOL ReleaseCapture()
{
    GCapture = nullptr;
    SetCaptureControl(nullptr);
    return TRUE;
}

HWND GetCapture()
{
    if (GCapture && !TWinControl::FindControl(GCapture))
        GCapture = nullptr;
    return GCapture;
}

BOOL GetCursorPos(TPoint &Point)
{
    if (GCursorKnown) {
        Point = GCursorPos;
    } else {
        const QPoint p = QCursor::pos();
        Point = {p.x(), p.y()};
    }
    return TRUE;
}

BOOL SetCursorPos(int X, int Y)
{
    platform_detail::NoteCursor({X, Y});
    QCursor::setPos(X, Y);
    return TRUE;
}

BOOL ScreenToClient(HWND Wnd, TPoint &Point)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    Point = c->ScreenToClient(Point);
    return TRUE;
}

BOOL ClientToScreen(HWND Wnd, TPoint &Point)
{
    TWinControl *c = TWinControl::FindControl(Wnd);
    if (!c)
        return FALSE;
    Point = c->ClientToScreen(Point);
    return TRUE;
}

namespace {
int BeepCount = 0;
}

BOOL MessageBeep(UINT)
{
    ++BeepCount;
    return TRUE;
}

int MessageBeepCount()
{
    return BeepCount;
}

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
        // The primary monitor of the screen layout (a test may set its own).
        const TRect primary = ScreenLayout().front().Bounds;
        return Index == SM_CXSCREEN ? primary.Width() : primary.Height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
        return 17;
    case SM_CYCAPTION:
        return 18;
    case SM_CXBORDER:
    case SM_CYBORDER:
        return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
        return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
        return 16;
    case SM_CYMENU:
        return 19;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
        return 4;
    case SM_MOUSEWHEELPRESENT:
        return 1;
    default:
        return 0;
    }
}

BOOL SystemParametersInfo(UINT Action, UINT, void *PvParam, UINT)
{
    if (Action == SPI_GETWHEELSCROLLLINES && PvParam) {
        *static_cast<UINT *>(PvParam) = 3;
        return TRUE;
    }
    if (Action == SPI_GETWORKAREA && PvParam) {
        *static_cast<TRect *>(PvParam) = ScreenLayout().front().WorkArea;
        return TRUE;
    }
    return FALSE;
}

UINT GetDoubleClickTime()
{
    return 500;
}

HHOOK SetWindowsHookEx(int IdHook, HOOKPROC Proc, void *, DWORD)
{
    if (IdHook != WH_CALLWNDPROC || !Proc)
        return nullptr;
    HHOOK h = reinterpret_cast<HHOOK>(++GNextHook);
    GHooks.push_back({h, Proc});
    return h;
}

LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM)
{
    // Every hook is called in turn by CallWndProcHooks; passing on is implied.
    return 0;
}

BOOL UnhookWindowsHookEx(HHOOK Hook)
{
    auto it = std::find_if(GHooks.begin(), GHooks.end(), [&](const THookEntry &e) { return e.Handle == Hook; });
    if (it == GHooks.end())
        return FALSE;
    GHooks.erase(it);
    return TRUE;
}

void CallWndProcHooks(HWND Wnd, Cardinal Msg, WPARAM WParam, LPARAM LParam)
{
    if (GHooks.empty())
        return;
    CWPSTRUCT cwp{LParam, WParam, Msg, Wnd};
    // Newest first, as hook chains run; a copy so that a hook may unhook itself.
    const std::vector<THookEntry> hooks(GHooks.rbegin(), GHooks.rend());
    for (const THookEntry &h : hooks)
        h.Proc(HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
}

// ---- time: through the one time source, so that a test's manual clock governs them ----
DWORD GetTickCount()
{
    return static_cast<DWORD>(CurrentTimeSource()->Now());
}

Int64 GetTickCount64()
{
    return CurrentTimeSource()->Now();
}

void Sleep(DWORD Milliseconds)
{
    CurrentTimeSource()->Sleep(Milliseconds);
}

DWORD SleepEx(DWORD Milliseconds, BOOL)
{
    Sleep(Milliseconds);
    return 0;
}

DWORD GetCurrentThreadId()
{
    return static_cast<DWORD>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
}
