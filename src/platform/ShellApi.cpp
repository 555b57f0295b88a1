#include "platform/ShellApi.h"

#include "platform/Dialogs.h"
#include "platform/FileUtils.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <memory>
#include <mutex>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unordered_map>
#include <vector>

extern char **environ;

namespace {

struct THandleObject {
    virtual ~THandleObject() = default;
    // Waits for the object to be signalled for at most timeout (none when empty).
    virtual bool Wait(std::chrono::milliseconds timeout, bool infinite) = 0;
};

struct TProcessState {
    std::mutex Lock;
    std::condition_variable Changed;
    pid_t Pid = 0;
    bool Ended = false;
    DWORD ExitCode = STILL_ACTIVE;
};

struct TProcessObject : THandleObject {
    std::shared_ptr<TProcessState> State;

    bool Wait(std::chrono::milliseconds timeout, bool infinite) override
    {
        std::unique_lock<std::mutex> lock(State->Lock);
        if (infinite) {
            State->Changed.wait(lock, [this] { return State->Ended; });
            return true;
        }
        return State->Changed.wait_for(lock, timeout, [this] { return State->Ended; });
    }
};

struct TEventObject : THandleObject {
    std::mutex Lock;
    std::condition_variable Changed;
    bool ManualReset = false;
    bool Signalled = false;

    bool Wait(std::chrono::milliseconds timeout, bool infinite) override
    {
        std::unique_lock<std::mutex> lock(Lock);
        const auto isSet = [this] { return Signalled; };
        const bool got = infinite ? (Changed.wait(lock, isSet), true) : Changed.wait_for(lock, timeout, isSet);
        if (got && !ManualReset)
            Signalled = false;
        return got;
    }
};

// Handles are keys of this table, so a stale or invented handle is only an unknown key.
class THandleTable {
public:
    HANDLE Add(std::shared_ptr<THandleObject> object)
    {
        std::lock_guard<std::mutex> lock(FLock);
        FNext += 4;
        FObjects.emplace(FNext, std::move(object));
        return reinterpret_cast<HANDLE>(FNext);
    }
    std::shared_ptr<THandleObject> Find(HANDLE handle)
    {
        std::lock_guard<std::mutex> lock(FLock);
        const auto it = FObjects.find(reinterpret_cast<std::uintptr_t>(handle));
        return it == FObjects.end() ? nullptr : it->second;
    }
    bool Remove(HANDLE handle)
    {
        std::lock_guard<std::mutex> lock(FLock);
        return FObjects.erase(reinterpret_cast<std::uintptr_t>(handle)) > 0;
    }

private:
    std::mutex FLock;
    std::uintptr_t FNext = 0;
    std::unordered_map<std::uintptr_t, std::shared_ptr<THandleObject>> FObjects;
};

THandleTable &Handles()
{
    static THandleTable table;
    return table;
}

std::shared_ptr<TProcessObject> FindProcess(HANDLE handle)
{
    return std::dynamic_pointer_cast<TProcessObject>(Handles().Find(handle));
}

// Every started program gets a thread that waits for its end and collects its status, so
// the status is there for GetExitCodeProcess and no ended program lingers as a zombie, even
// when nobody holds or closes its handle.
void StartReaper(const std::shared_ptr<TProcessState> &state)
{
    std::thread([state] {
        int status = 0;
        pid_t r;
        do
            r = ::waitpid(state->Pid, &status, 0);
        while (r < 0 && errno == EINTR);
        DWORD code = 0;
        if (r == state->Pid) {
            if (WIFEXITED(status))
                code = static_cast<DWORD>(WEXITSTATUS(status));
            else if (WIFSIGNALED(status))
                code = 128u + static_cast<DWORD>(WTERMSIG(status));
        }
        if (r < 0 && errno == ECHILD) {
            // Children are collected by the system here (SIGCHLD ignored): the program ends
            // when its id goes away, and its code is lost.
            while (::kill(state->Pid, 0) == 0 || errno != ESRCH)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::lock_guard<std::mutex> lock(state->Lock);
        state->Ended = true;
        state->ExitCode = code;
        state->Changed.notify_all();
    }).detach();
}

std::intptr_t ShellErrorOf(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return SE_ERR_FNF;
    case EACCES:
    case EPERM:
    case EISDIR:
        return SE_ERR_ACCESSDENIED;
    case ENOEXEC:
        return SE_ERR_BADFORMAT;
    default:
        return SE_ERR_OOM;
    }
}

} // namespace

UnicodeString ShellErrorText(std::intptr_t Code)
{
    switch (Code) {
    case SE_ERR_FNF: return QStringLiteral("The system cannot find the file specified");
    case SE_ERR_ACCESSDENIED: return QStringLiteral("Access is denied");
    case SE_ERR_OOM: return QStringLiteral("There is not enough memory or there are not enough resources to start the program");
    case SE_ERR_BADFORMAT: return QStringLiteral("The file is not a valid program");
    case SE_ERR_NOASSOC: return QStringLiteral("No program is associated with the file for this operation");
    default: return QStringLiteral("The program could not be started (error %1)").arg(qint64(Code));
    }
}

namespace {

struct TSpawnAttr {
    posix_spawnattr_t Attr;
    TSpawnAttr() { posix_spawnattr_init(&Attr); }
    ~TSpawnAttr() { posix_spawnattr_destroy(&Attr); }
};

struct TSpawnActions {
    posix_spawn_file_actions_t Actions;
    TSpawnActions() { posix_spawn_file_actions_init(&Actions); }
    ~TSpawnActions() { posix_spawn_file_actions_destroy(&Actions); }
};

} // namespace

bool ShellExecuteExW(SHELLEXECUTEINFOW *pExecInfo)
{
    if (!pExecInfo)
        return false;
    SHELLEXECUTEINFOW &info = *pExecInfo;
    info.hProcess = nullptr;
    const QString verb = info.lpVerb.trimmed();
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0) {
        info.hInstApp = SE_ERR_NOASSOC;
        return false;
    }
    QString path = info.lpFile;
    if (path.contains(QLatin1Char('\\')) && !QFileInfo::exists(path))
        path = NativePath(path);
    if (path.isEmpty()) {
        info.hInstApp = SE_ERR_FNF;
        return false;
    }

    std::vector<QByteArray> args;
    args.push_back(QFile::encodeName(path));
    for (const QString &a : QProcess::splitCommand(info.lpParameters))
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    TSpawnAttr attr;
    // The program starts with a clean signal state and in a group of its own, so that what
    // we ignore or block, and an interrupt at our terminal, do not reach it.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGCHLD, SIGALRM, SIGUSR1, SIGUSR2})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attr.Attr, &none);
    posix_spawnattr_setsigdefault(&attr.Attr, &defaults);
    posix_spawnattr_setpgroup(&attr.Attr, 0);
    posix_spawnattr_setflags(&attr.Attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    TSpawnActions actions;
    QByteArray folder;
    if (!info.lpDirectory.isEmpty()) {
        QString dir = info.lpDirectory;
        if (dir.contains(QLatin1Char('\\')) && !QFileInfo::exists(dir))
            dir = NativePath(dir);
        folder = QFile::encodeName(dir);
        posix_spawn_file_actions_addchdir_np(&actions.Actions, folder.constData());
    }

    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, args.front().constData(), &actions.Actions, &attr.Attr, argv.data(), environ);
    if (rc != 0) {
        info.hInstApp = ShellErrorOf(rc);
        return false;
    }

    auto state = std::make_shared<TProcessState>();
    state->Pid = pid;
    StartReaper(state);
    info.hInstApp = 42;
    if (info.fMask & SEE_MASK_NOCLOSEPROCESS) {
        auto process = std::make_shared<TProcessObject>();
        process->State = state;
        info.hProcess = Handles().Add(process);
    }
    return true;
}

bool GetExitCodeProcess(HANDLE hProcess, DWORD *lpExitCode)
{
    const auto process = FindProcess(hProcess);
    if (!process || !lpExitCode)
        return false;
    std::lock_guard<std::mutex> lock(process->State->Lock);
    *lpExitCode = process->State->Ended ? process->State->ExitCode : STILL_ACTIVE;
    return true;
}

DWORD GetProcessId(HANDLE Process)
{
    const auto process = FindProcess(Process);
    return process ? static_cast<DWORD>(process->State->Pid) : 0;
}

HANDLE CreateEventW(void * /*lpEventAttributes*/, bool bManualReset, bool bInitialState, const UnicodeString & /*lpName*/)
{
    auto event = std::make_shared<TEventObject>();
    event->ManualReset = bManualReset;
    event->Signalled = bInitialState;
    return Handles().Add(event);
}

namespace {

bool SetEventState(HANDLE hEvent, bool signalled)
{
    const auto event = std::dynamic_pointer_cast<TEventObject>(Handles().Find(hEvent));
    if (!event)
        return false;
    std::lock_guard<std::mutex> lock(event->Lock);
    event->Signalled = signalled;
    if (signalled)
        event->Changed.notify_all();
    return true;
}

} // namespace

bool SetEvent(HANDLE hEvent) { return SetEventState(hEvent, true); }

bool ResetEvent(HANDLE hEvent) { return SetEventState(hEvent, false); }

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    const auto object = Handles().Find(hHandle);
    if (!object)
        return WAIT_FAILED;
    const bool infinite = dwMilliseconds == INFINITE;
    return object->Wait(std::chrono::milliseconds(infinite ? 0 : dwMilliseconds), infinite) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

bool CloseHandle(HANDLE hObject)
{
    return Handles().Remove(hObject);
}

std::intptr_t ShellOpenURL(const UnicodeString &lpOperation, const UnicodeString &lpFile)
{
    const QString verb = lpOperation.trimmed();
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return SE_ERR_NOASSOC;
    const QUrl url(lpFile.trimmed(), QUrl::StrictMode);
    if (lpFile.trimmed().isEmpty() || !url.isValid() || url.isRelative() || url.host().isEmpty())
        return SE_ERR_FNF;
    // Only web links are handed on: the desktop's handler for other schemes (files above all)
    // might run something.
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return SE_ERR_NOASSOC;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return SE_ERR_NOASSOC;
    return QDesktopServices::openUrl(url) ? 42 : SE_ERR_NOASSOC;
}

bool ShellOpenWebLink(const UnicodeString &Link)
{
    if (ShellOpenURL(QStringLiteral("open"), Link) > 32)
        return true;
    MessageDlg(QStringLiteral("The link could not be opened: no web browser is set up on this computer.\n\n%1")
                   .arg(Link.trimmed()),
               mtError, TMsgDlgButtons{mbOK}, 0);
    return false;
}

bool IsPlainPath(const UnicodeString &Text)
{
    const QString t = Text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.startsWith(u'/') || t.startsWith(u'\\') || t.startsWith(u'.'))
        return true;
    // "C:\..." is a drive, not a scheme; anything else with a colon is an address.
    const qsizetype colon = t.indexOf(u':');
    return colon < 0 || (colon == 1 && t.size() > 2 && (t[2] == u'\\' || t[2] == u'/'));
}

std::intptr_t ShellOpenDocument(const UnicodeString &lpOperation, const UnicodeString &lpFile)
{
    const QString verb = lpOperation.trimmed();
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return SE_ERR_NOASSOC;
    if (lpFile.trimmed().isEmpty())
        return SE_ERR_FNF;
    const QFileInfo info(NativePath(lpFile.trimmed()));
    // The desktop's handler decides by the file's type, and a file that may be run could be
    // taken as a program: only documents that are no program go.
    if (!info.exists() || !info.isFile() || info.isExecutable())
        return SE_ERR_FNF;
    static const QStringList documents = {
        QStringLiteral("htm"), QStringLiteral("html"), QStringLiteral("xhtml"), QStringLiteral("xml"),
        QStringLiteral("txt"), QStringLiteral("csv"),  QStringLiteral("pdf"),   QStringLiteral("rtf"),
        QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"),   QStringLiteral("bmp"),
        QStringLiteral("gif")};
    if (!documents.contains(info.suffix().toLower()))
        return SE_ERR_NOASSOC;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return SE_ERR_NOASSOC;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? 42 : SE_ERR_NOASSOC;
}
