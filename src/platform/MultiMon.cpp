#include "platform/MultiMon.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

std::optional<std::vector<TScreenMonitor>> &TestLayout()
{
    static std::optional<std::vector<TScreenMonitor>> layout;
    return layout;
}

TRect FromQRect(const QRect &R)
{
    return {R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
}

// Monitor handles are 1-based indices into the layout, so that a null handle stays invalid.
HMONITOR ToHandle(std::size_t Index)
{
    return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(Index + 1));
}

long long DistanceSquared(const TRect &R, TPoint P)
{
    const long long dx = P.X < R.Left ? R.Left - P.X : (P.X >= R.Right ? P.X - R.Right + 1 : 0);
    const long long dy = P.Y < R.Top ? R.Top - P.Y : (P.Y >= R.Bottom ? P.Y - R.Bottom + 1 : 0);
    return dx * dx + dy * dy;
}

} // namespace

std::vector<TScreenMonitor> ScreenLayout()
{
    if (TestLayout() && !TestLayout()->empty())
        return *TestLayout();
    std::vector<TScreenMonitor> result;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QScreen *primary = QGuiApplication::primaryScreen();
        if (primary)
            result.push_back({FromQRect(primary->geometry()), FromQRect(primary->availableGeometry())});
        for (QScreen *s : QGuiApplication::screens())
            if (s != primary)
                result.push_back({FromQRect(s->geometry()), FromQRect(s->availableGeometry())});
    }
    if (result.empty())
        result.push_back({TRect(0, 0, 1024, 768), TRect(0, 0, 1024, 768)});
    return result;
}

void SetScreenLayout(const std::vector<TScreenMonitor> &Monitors)
{
    TestLayout() = Monitors;
}

void ResetScreenLayout()
{
    TestLayout().reset();
}

HMONITOR MonitorFromPoint(TPoint Pt, DWORD Flags)
{
    const std::vector<TScreenMonitor> layout = ScreenLayout();
    std::size_t nearest = 0;
    long long best = LLONG_MAX;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const long long d = DistanceSquared(layout[i].Bounds, Pt);
        if (d == 0)
            return ToHandle(i);
        if (d < best) {
            best = d;
            nearest = i;
        }
    }
    if (Flags == MONITOR_DEFAULTTONEAREST)
        return ToHandle(nearest);
    if (Flags == MONITOR_DEFAULTTOPRIMARY)
        return ToHandle(0);
    return nullptr;
}

BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO *Info)
{
    const std::vector<TScreenMonitor> layout = ScreenLayout();
    const auto index = reinterpret_cast<std::uintptr_t>(Monitor);
    if (!Info || index == 0 || index > layout.size())
        return FALSE;
    Info->rcMonitor = layout[index - 1].Bounds;
    Info->rcWork = layout[index - 1].WorkArea;
    Info->dwFlags = index == 1 ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}
