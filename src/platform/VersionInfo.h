#pragma once
// What the program may ask about the system it runs on: the system version, the file version
// of a system module and whether a system module offers a named entry point.
//
// The answers are those of the one system the program was made for, so that every machine
// draws and decides alike: version 6.1 (build 7601, NT platform), the common-controls module
// in version 5.82 (its classic look) and the locale calls of 6.0 and later. The visual-styles
// module counts only while a theme provider is installed (UxTheme.h).

#include "platform/System.h"

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFO {
    DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFO);
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    UnicodeString szCSDVersion;
};
using TOSVersionInfo = OSVERSIONINFO;

// Fills the record; false when its size field is not that of the record.
bool GetVersionEx(OSVERSIONINFO &Info);
inline bool GetVersionExW(OSVERSIONINFO &Info) { return GetVersionEx(Info); }

// The file version of a module: major version in the high word, minor in the low word;
// 0xFFFFFFFF for a file without version information. Names are compared without regard to
// case, with or without a folder and the ".DLL" extension.
Cardinal GetFileVersion(const UnicodeString &FileName);

// True when the system module (for example "kernel32", "user32.dll", "uxtheme.dll") is present
// and offers the named entry point.
bool SystemFunctionExists(const UnicodeString &Module, const UnicodeString &Function);
