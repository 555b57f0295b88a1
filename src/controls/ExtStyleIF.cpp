// Styles, Office colour scheme detection and the theme watcher.

#include "controls/ExtStyleIF.h"

#include "platform/Forms.h"
#include "platform/ShellApi.h"
#include "platform/SysUtils.h"
#include "platform/UxTheme.h"
#include "platform/VersionInfo.h"
#include "platform/Windows.h"

namespace {

const UnicodeString KOffice12General = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common\\General");
const UnicodeString KOffice14General = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common\\General");
const UnicodeString KOffice12Common = QStringLiteral("Software\\Microsoft\\Office\\12.0\\Common");
const UnicodeString KOffice14Common = QStringLiteral("Software\\Microsoft\\Office\\14.0\\Common");

TThemeNotifier *GSharedNotifier = nullptr;

} // namespace

// ---- THandleList ----

HWND THandleList::GetInteger(int Index) const
{
    std::lock_guard<std::mutex> lock(FLock);
    return static_cast<HWND>(TList::Items(Index));
}

void THandleList::SetInteger(int Index, HWND Value)
{
    std::lock_guard<std::mutex> lock(FLock);
    TList::SetItems(Index, Value);
}

int THandleList::Add(HWND Value)
{
    std::lock_guard<std::mutex> lock(FLock);
    return TList::Add(Value);
}

void THandleList::Insert(int Index, HWND Value)
{
    std::lock_guard<std::mutex> lock(FLock);
    TList::Insert(Index, Value);
}

void THandleList::Delete(int Index)
{
    std::lock_guard<std::mutex> lock(FLock);
    TList::Delete(Index);
}

void THandleList::DeleteValue(HWND Value)
{
    std::lock_guard<std::mutex> lock(FLock);
    const int Index = TList::IndexOf(Value);
    if (Index >= 0)
        TList::Delete(Index);
}

bool THandleList::HasValue(HWND Value) const
{
    std::lock_guard<std::mutex> lock(FLock);
    return TList::IndexOf(Value) >= 0;
}

int THandleList::Count() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return TList::Count();
}

std::vector<HWND> THandleList::Snapshot() const
{
    std::lock_guard<std::mutex> lock(FLock);
    std::vector<HWND> Result;
    Result.reserve(static_cast<std::size_t>(TList::Count()));
    for (int i = 0; i < TList::Count(); ++i)
        Result.push_back(static_cast<HWND>(TList::Items(i)));
    return Result;
}

// ---- TRegMonitorThread ----

TRegMonitorThread::TRegMonitorThread()
    : TThread(true), FReg(std::make_unique<TRegistry>(KEY_READ)), FWinList(std::make_unique<THandleList>())
{
}

TRegMonitorThread::~TRegMonitorThread()
{
    // Execute works on the members below: it must be over before they go.
    if (Started() && !Finished()) {
        Stop();
        WaitFor();
    }
}

void TRegMonitorThread::Stop()
{
    Terminate();
    if (HANDLE Event = FEvent.load())
        SetEvent(Event);
}

DWORD TRegMonitorThread::GetFilter()
{
    if (FFilter == 0)
        FFilter = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_ATTRIBUTES | REG_NOTIFY_CHANGE_LAST_SET |
                  REG_NOTIFY_CHANGE_SECURITY;
    return FFilter;
}

void TRegMonitorThread::Notify()
{
    // A copy: windows may register and unregister while the messages go out.
    const std::vector<HWND> Targets = FWinList->Snapshot();
    const UnicodeString KeyText = FKey;
    const WPARAM Root = static_cast<WPARAM>(FRootKey);
    const auto KeyParam = reinterpret_cast<LPARAM>(&KeyText);
    Synchronize([&] {
        if (FWnd)
            SendMessage(FWnd, WM_OFFICETHEMECHANGED, Root, KeyParam);
        for (HWND Target : Targets)
            SendMessage(Target, WM_OFFICETHEMECHANGED, Root, KeyParam);
    });
}

void TRegMonitorThread::Execute()
{
    FReg->SetRootKey(FRootKey);
    if (!FReg->OpenKeyReadOnly(FKey))
        throw Exception(QStringLiteral("Unable to open registry key ") + FKey);
    // Stop may come at any moment from now on: it finds the event through FEvent.
    HANDLE Event = CreateEventW(nullptr, true, false, QStringLiteral("RegMonitorChange"));
    FEvent = Event;
    const UnicodeString Path = FReg->CurrentPath();
    RegNotifyChangeKeyValue(FRootKey, Path, true, GetFilter(), Event, true);
    while (!Terminated()) {
        if (WaitForSingleObject(Event, INFINITE) != WAIT_OBJECT_0)
            continue;
        if (Terminated())
            break;
        try {
            Notify();
        } catch (...) {
            // A window that fails to take the message does not end the watch.
        }
        ResetEvent(Event);
        RegNotifyChangeKeyValue(FRootKey, Path, true, GetFilter(), Event, true);
    }
    FEvent = nullptr;
    CloseHandle(Event);
    FReg->CloseKey();
}

// ---- TThemeNotifierWindow ----

TThemeNotifierWindow::TThemeNotifierWindow(TComponent *AOwner) : TWinControl(AOwner)
{
    SetVisible(false);
}

void TThemeNotifierWindow::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_OFFICETHEMECHANGED && OnOfficeThemeChange)
        OnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

// ---- TThemeNotifier ----

TThemeNotifier::TThemeNotifier(TComponent *AOwner) : TComponent(AOwner)
{
    if (ComponentState().Contains(TComponentStateItem::csDesigning))
        return;
    const int Version = OfficeSettingsVersion();
    if (Version != 1 && Version != 2)
        return;
    FNotifier = new TThemeNotifierWindow(this);
    if (auto *ParentWindow = dynamic_cast<TWinControl *>(AOwner))
        FNotifier->SetParent(ParentWindow);
    FNotifier->OnOfficeThemeChange = [this](TObject *) {
        if (OnOfficeThemeChange)
            OnOfficeThemeChange(this);
    };
    FThread = std::make_unique<TRegMonitorThread>();
    FThread->SetWnd(FNotifier->Handle());
    FThread->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    FThread->SetKey(Version == 2 ? KOffice14Common : KOffice12Common);
    FThread->SetRootKey(HKEY_CURRENT_USER);
    FThread->SetWatchSub(true);
    FThread->OnTerminate = [this](TObject *Sender) { ThreadEnded(Sender); };
    RegMonitorThread = FThread.get();
    FThread->Start();
}

TThemeNotifier::~TThemeNotifier()
{
    if (FThread) {
        FThread->Stop();
        if (FThread->Started())
            FThread->WaitFor();
        FThread.reset();
    }
    RegMonitorThread = nullptr;
    if (GSharedNotifier == this)
        GSharedNotifier = nullptr;
}

void TThemeNotifier::ThreadEnded(TObject *)
{
    // Runs on the user-interface thread once the watcher's work is over (a key that could not
    // be opened ends it early); the object itself goes with the notifier.
    RegMonitorThread = nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Handle)
{
    if (RegMonitorThread && !RegMonitorThread->WinList()->HasValue(Handle))
        RegMonitorThread->WinList()->Add(Handle);
}

void TThemeNotifier::UnRegisterWindow(HWND Handle)
{
    if (RegMonitorThread)
        RegMonitorThread->WinList()->DeleteValue(Handle);
}

// ---- detection ----

int OfficeSettingsVersion()
{
    TRegistry Reg(KEY_READ);
    Reg.SetRootKey(HKEY_CURRENT_USER);
    if (Reg.KeyExists(QLatin1Char('\\') + KOffice14General))
        return 2;
    if (Reg.KeyExists(QLatin1Char('\\') + KOffice12General))
        return 1;
    return 0;
}

int ReadOfficeThemeValue(TRegistry *Registry, const UnicodeString &Key)
{
    if (!Registry)
        return -1;
    int Result = -1;
    try {
        if (Registry->OpenKeyReadOnly(QLatin1Char('\\') + Key)) {
            if (Registry->ValueExists(QStringLiteral("Theme")) &&
                Registry->GetDataType(QStringLiteral("Theme")) == rdInteger)
                Result = Registry->ReadInteger(QStringLiteral("Theme"));
            Registry->CloseKey();
        }
    } catch (const Exception &) {
        Registry->CloseKey();
        Result = -1;
    }
    return Result;
}

TOfficeTheme CurrentOfficeTheme()
{
    TRegistry Reg(KEY_READ);
    Reg.SetRootKey(HKEY_CURRENT_USER);
    const int V2010 = ReadOfficeThemeValue(&Reg, KOffice14Common);
    switch (V2010) {
    case -1:
        break;
    case 1:
        return ot2010Blue;
    case 2:
        return ot2010Silver;
    case 3:
        return ot2010Black;
    default:
        return ot2003Blue;
    }
    const int V2007 = ReadOfficeThemeValue(&Reg, KOffice12Common);
    switch (V2007) {
    case -1:
        // No Office theme; the XP colour scheme is not read here, as this system has none.
        return otUnknown;
    case 1:
        return ot2007Blue;
    case 2:
        return ot2007Silver;
    case 3:
        return ot2007Black;
    default:
        return ot2003Blue;
    }
}

int CurrentXPColorScheme()
{
    if (!IsWinXPOrLater() || !ThemeLibraryAvailable())
        return 0;
    if (!SystemFunctionExists(QStringLiteral("uxtheme.dll"), QStringLiteral("IsThemeActive")) || !IsThemeActive() ||
        !IsComCtl6())
        return 0;
    UnicodeString FileName, ColorName, SizeName;
    if (FAILED(GetCurrentThemeName(FileName, ColorName, SizeName)))
        return 0;
    if (ColorName.contains(QLatin1String("NormalColor")))
        return 1;
    if (ColorName.contains(QLatin1String("HomeStead")))
        return 2;
    if (ColorName.contains(QLatin1String("Metallic")))
        return 3;
    return 0;
}

bool IsWinXPOrLater()
{
    OSVERSIONINFO Info;
    if (!GetVersionEx(Info))
        return false;
    return Info.dwMajorVersion > 5 || (Info.dwMajorVersion == 5 && Info.dwMinorVersion > 0);
}

bool IsComCtl6()
{
    const Cardinal Version = GetFileVersion(QStringLiteral("COMCTL32.DLL"));
    return Version != 0xFFFFFFFFu && (Version >> 16) > 5;
}

bool HasLocaleInfoEx() { return SystemFunctionExists(QStringLiteral("kernel32"), QStringLiteral("GetLocaleInfoEx")); }

UnicodeString DefaultUIFontName()
{
    return HasLocaleInfoEx() ? QStringLiteral("Segoe UI") : QStringLiteral("Tahoma");
}

TThemeNotifier *SharedThemeNotifier(TComponent *AOwner)
{
    if (!GSharedNotifier) {
        TComponent *Owner = AOwner;
        if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
            Owner = Application->MainForm();
        GSharedNotifier = new TThemeNotifier(Owner);
    }
    return GSharedNotifier;
}
