#pragma once
// Monitors and work areas. The layout comes from Qt's screens, unless a test sets one of its own
// (SetScreenLayout): then MonitorFromPoint, GetMonitorInfo, SPI_GETWORKAREA and the screen size
// of GetSystemMetrics all answer from it. The first monitor is the primary one.

#include "platform/Types.h"
#include "platform/Windows.h"

#include <vector>

struct TScreenMonitor {
    TRect Bounds;
    TRect WorkArea;
};

// The monitors as they are now (at least one).
std::vector<TScreenMonitor> ScreenLayout();
void SetScreenLayout(const std::vector<TScreenMonitor> &Monitors);
void ResetScreenLayout();

struct HMONITOR__;
using HMONITOR = HMONITOR__ *;
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
};

// The monitor holding the point; outside every monitor, by Flags: none, the primary or the
// nearest one.
HMONITOR MonitorFromPoint(TPoint Pt, DWORD Flags);
BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO *Info);
inline BOOL GetMonitorInfoW(HMONITOR Monitor, MONITORINFO *Info) { return GetMonitorInfo(Monitor, Info); }

// SystemParametersInfo(SPI_GETWORKAREA, 0, TRect *, 0): the primary monitor's work area.
constexpr UINT SPI_GETWORKAREA = 0x0030;
