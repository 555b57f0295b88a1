#pragma once
// Shell and process services: opening a web link with the desktop's handler, and starting a
// program whose end is awaited through its process handle.
//
// Handles are opaque values of a process-wide table (never pointers to be dereferenced), so an
// unknown or closed handle is refused instead of crashing. Started programs are reaped by the
// platform as soon as they end, whether or not their handle is still open, so a program that
// outlives its waiter never stays behind as a zombie.

#include "platform/System.h"
#include "platform/Windows.h"

#include <cstdint>

inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOW = 5;

inline constexpr DWORD SEE_MASK_NOCLOSEPROCESS = 0x40;
inline constexpr DWORD STILL_ACTIVE = 259;

// Failure codes of the shell calls (values up to 32 mean failure, as the classic calls report).
inline constexpr std::intptr_t SE_ERR_FNF = 2;
inline constexpr std::intptr_t SE_ERR_ACCESSDENIED = 5;
inline constexpr std::intptr_t SE_ERR_OOM = 8;
inline constexpr std::intptr_t SE_ERR_BADFORMAT = 11;
inline constexpr std::intptr_t SE_ERR_NOASSOC = 31;
// The system's text for one of the codes above ("The system cannot find the file specified").
UnicodeString ShellErrorText(std::intptr_t Code);

struct SHELLEXECUTEINFOW {
    DWORD cbSize = 0;
    DWORD fMask = 0;
    void *hwnd = nullptr;
    // Empty or "open": run lpFile. No other verb is known.
    UnicodeString lpVerb;
    // The program file; "\" separators are taken as folder separators.
    UnicodeString lpFile;
    // The command-line text; split into arguments as a shell would (blanks, double quotes).
    UnicodeString lpParameters;
    // The working folder of the program; empty keeps ours.
    UnicodeString lpDirectory;
    // Accepted and ignored: a program here decides itself whether it shows a window.
    int nShow = 0;
    // Above 32 after a start; otherwise one of the SE_ERR_ codes.
    std::intptr_t hInstApp = 0;
    // The started process when fMask holds SEE_MASK_NOCLOSEPROCESS, else null.
    HANDLE hProcess = nullptr;
};

// Starts the program as it is (a binary or a script with its "#!" line). False when it cannot
// be started, with the reason in hInstApp.
bool ShellExecuteExW(SHELLEXECUTEINFOW *pExecInfo);

// STILL_ACTIVE while the process runs, then its exit status (128 + signal number for a
// process ended by a signal). False for a handle that is no process.
bool GetExitCodeProcess(HANDLE hProcess, DWORD *lpExitCode);

// The process id behind a process handle, 0 for any other handle.
DWORD GetProcessId(HANDLE Process);

// Events are local to this process, so the name is not shared with anyone and is ignored.
HANDLE CreateEventW(void *lpEventAttributes, bool bManualReset, bool bInitialState, const UnicodeString &lpName);
bool SetEvent(HANDLE hEvent);
bool ResetEvent(HANDLE hEvent);

// Waits until the event is set (an auto-reset event is then reset) or the process has ended,
// at most dwMilliseconds; WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED for an unknown handle.
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Releases the handle; closing a process handle leaves the process running.
bool CloseHandle(HANDLE hObject);

// lpOperation "open" (or empty) of a web address hands it to the desktop's URL handler.
// Returns a value above 32 when it was handed over, else SE_ERR_NOASSOC (no handler, or a verb
// other than "open") or SE_ERR_FNF (no address). Nothing else is run: a text that is not an
// absolute address is not started as a program.
std::intptr_t ShellOpenURL(const UnicodeString &lpOperation, const UnicodeString &lpFile);

// lpOperation "open" (or empty) of an existing local document the program wrote (a page,
// text, XML, PDF or picture, told by its extension) hands its file URL to the desktop's
// handler. Returns a value above 32 when it was handed over; SE_ERR_FNF when there is no such
// regular file or it may be run as a program; SE_ERR_NOASSOC for another verb, another kind of
// file or no handler.
std::intptr_t ShellOpenDocument(const UnicodeString &lpOperation, const UnicodeString &lpFile);

// True when the text names a file by its path rather than an address with a scheme.
bool IsPlainPath(const UnicodeString &Text);

// The window only parents error boxes of the original call; whatever window handle the
// caller holds is accepted and not used. A plain path opens as a document, anything else as
// a web address.
template <class TWindow>
std::intptr_t ShellExecuteW(TWindow /*hwnd*/, const UnicodeString &lpOperation, const UnicodeString &lpFile,
                            const UnicodeString & /*lpParameters*/, const UnicodeString & /*lpDirectory*/, int /*nShowCmd*/)
{
    return IsPlainPath(lpFile) ? ShellOpenDocument(lpOperation, lpFile) : ShellOpenURL(lpOperation, lpFile);
}

// Opens a web link as ShellExecuteW "open" does and, when the desktop cannot take it (no web
// browser is set up), says so in an error box that names the link, rather than doing nothing
// where the user clicked. True when the link was handed over.
bool ShellOpenWebLink(const UnicodeString &Link);

// --- icons of the shell's system image list ------------------------------------------------------

class TCustomImageList;
class QImage;

inline constexpr unsigned SHGFI_LARGEICON = 0x0000;
inline constexpr unsigned SHGFI_SMALLICON = 0x0001;
inline constexpr unsigned SHGFI_USEFILEATTRIBUTES = 0x0010;
inline constexpr unsigned SHGFI_SYSICONINDEX = 0x4000;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

struct SHFILEINFOW {
    int iIcon = 0;
    DWORD dwAttributes = 0;
};

// With SHGFI_SYSICONINDEX: iIcon receives the index of the path's icon in the shared system image
// list (SHGFI_SMALLICON: 16 px, else 32 px) and the result is that list (ShellSystemImageList);
// SHGFI_USEFILEATTRIBUTES takes the icon from the name and FileAttributes without looking at the
// file. 0 when there is no icon or no SHGFI_SYSICONINDEX.
std::uintptr_t SHGetFileInfoW(const UnicodeString &Path, DWORD FileAttributes, SHFILEINFOW *Info, unsigned Flags);
// The shared system image list of 16 px (Large false) or 32 px icons; it fills as icons are asked for.
TCustomImageList *ShellSystemImageList(bool Large);

// Where the shell's icons come from: the desktop's file icons by default; tests install fixed ones.
class TShellIconProvider {
public:
    virtual ~TShellIconProvider() = default;
    // The provider's own index of the icon of Path (from the file when FromFile, else from its
    // name and whether it is a folder); -1 for none.
    virtual int IconIndex(const UnicodeString &Path, bool FromFile, bool Folder) = 0;
    // Icon Index at Size x Size pixels (a null image when there is none).
    virtual QImage IconImage(int Index, int Size) = 0;
};
// Installs Provider (not owned; nullptr restores the default) and empties the system image lists;
// returns the one installed before (nullptr for the default).
TShellIconProvider *SetShellIconProvider(TShellIconProvider *Provider);
