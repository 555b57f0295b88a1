#pragma once
// The style vocabulary that the string grid and the drop-down controls share, the detection of
// the installed Office colour scheme, and the theme watcher that tells registered grid windows
// when that scheme changes.

#include "platform/Classes.h"
#include "platform/Controls.h"
#include "platform/Graphics.h"
#include "platform/Registry.h"
#include "platform/Threads.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

enum TQRVStyle {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black
};

enum TOfficeTheme {
    ot2003Blue,
    ot2003Silver,
    ot2003Olive,
    ot2003Classic,
    ot2007Blue,
    ot2007Silver,
    ot2007Black,
    ot2010Blue,
    ot2010Silver,
    ot2010Black,
    otUnknown
};

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

// What a style or a set of tones means in colours belongs to the control that implements these.
class IQRVStyle {
public:
    virtual ~IQRVStyle() = default;
    virtual void SetComponentStyle(TQRVStyle AStyle) = 0;
};

class IQRVTones {
public:
    virtual ~IQRVTones() = default;
    virtual void SetColorTones(const TColorTones &ATones) = 0;
};

// The message that the theme watcher sends when the Office colour scheme changed: WParam the
// registry root, LParam a pointer to the watched key's text (valid during the call).
inline constexpr Cardinal WM_OFFICETHEMECHANGED = 2993;

// Window handles, safe to change on one thread while another takes a copy.
class THandleList : public TList {
public:
    HWND GetInteger(int Index) const;
    void SetInteger(int Index, HWND Value);
    HWND Items(int Index) const { return GetInteger(Index); }
    int Add(HWND Value);
    void Insert(int Index, HWND Value);
    void Delete(int Index);
    // Removes the first entry equal to Value, if any.
    void DeleteValue(HWND Value);
    bool HasValue(HWND Value) const;
    int Count() const;
    std::vector<HWND> Snapshot() const;

private:
    mutable std::mutex FLock;
};

// Watches a registry key and, at each change below it, sends WM_OFFICETHEMECHANGED to Wnd and
// to every window of WinList, on the user-interface thread.
class TRegMonitorThread : public TThread {
public:
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    // Ends the watch: the thread leaves its wait and ends.
    void Stop();

    const UnicodeString &Key() const { return FKey; }
    void SetKey(const UnicodeString &Value) { FKey = Value; }
    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value) { FRootKey = Value; }
    bool WatchSub() const { return FWatchSub; }
    void SetWatchSub(bool Value) { FWatchSub = Value; }
    // 0 stands for every kind of change.
    DWORD GetFilter();
    void SetFilter(DWORD Value) { FFilter = Value; }
    DWORD Filter() { return GetFilter(); }
    HWND Wnd() const { return FWnd; }
    void SetWnd(HWND Value) { FWnd = Value; }
    THandleList *WinList() const { return FWinList.get(); }

protected:
    void Execute() override;

private:
    void Notify();
    std::unique_ptr<TRegistry> FReg;
    std::atomic<HANDLE> FEvent{nullptr};
    UnicodeString FKey;
    HKEY FRootKey = HKEY_CURRENT_USER;
    bool FWatchSub = false;
    DWORD FFilter = 0;
    HWND FWnd = nullptr;
    std::unique_ptr<THandleList> FWinList;
};

// The invisible window that receives the watcher's message for the notifier.
class TThemeNotifierWindow : public TWinControl {
public:
    explicit TThemeNotifierWindow(TComponent *AOwner);
    void WndProc(TMessage &Message) override;
    TNotifyEvent OnOfficeThemeChange;
};

class TThemeNotifier : public TComponent {
public:
    explicit TThemeNotifier(TComponent *AOwner);
    // Stops the watcher and waits for it.
    ~TThemeNotifier() override;

    void RegisterWindow(HWND Handle);
    void UnRegisterWindow(HWND Handle);

    // The watcher; nullptr when nothing is watched (no Office settings, or the watcher ended).
    TRegMonitorThread *RegMonitorThread = nullptr;
    TThemeNotifierWindow *NotifierWindow() const { return FNotifier; }
    TNotifyEvent OnOfficeThemeChange;

private:
    void ThreadEnded(TObject *Sender);
    std::unique_ptr<TRegMonitorThread> FThread;
    TThemeNotifierWindow *FNotifier = nullptr; // owned by the notifier as a component
};

// 2 when the Office 2010 settings exist, else 1 when the Office 2007 ones do, else 0.
int OfficeSettingsVersion();
// The integer value "Theme" of the key; -1 when the key or the value is missing or unreadable.
int ReadOfficeThemeValue(TRegistry *Registry, const UnicodeString &Key);
// The Office colour scheme of the current user; otUnknown when no Office theme is set.
TOfficeTheme CurrentOfficeTheme();
// 1 NormalColor, 2 HomeStead, 3 Metallic, 0 none or another scheme.
int CurrentXPColorScheme();
bool IsWinXPOrLater();
bool IsComCtl6();
bool HasLocaleInfoEx();
UnicodeString DefaultUIFontName();

// The program's one notifier, made at the first call; its owner is the main form when that has
// a window, else AOwner. Destroying it clears it, so the next call makes a new one.
TThemeNotifier *SharedThemeNotifier(TComponent *AOwner);
