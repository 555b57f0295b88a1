// The configurator's start-up as the user waits for it: every form made in the program's order
// and the main window shown and painted, against a bare window of the main window's size shown
// and painted by the same program. The ratio of the two is what start-up costs beyond the
// window system's own share.
//
// Two ways: a fresh process per start (this program runs itself as the child, from its entry to
// the shown window, as a user's start is), and repeated starts inside one process (the forms'
// own share, without the loading of the program and the window system's first use).
//
// Without a display it runs on Qt's offscreen platform. Under an X server (for example
// `xvfb-run -a build/release/bin/startup_bench`) it times the windows as the server maps and
// exposes them, which is what a user's desktop does.
#include "app/UProgram.h"
#include "core/UAbout.h"
#include "core/UBoot.h"
#include "core/UEtherNetIP_Master_Access.h"
#include "core/UFabricoreFirmWare.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/USoftOptions.h"
#include "editors/bacnet/UBACnetSlaveSetAccess.h"
#include "editors/bacnet/UBACnet_Eng_Unit.h"
#include "editors/can/UReceiveCAN.h"
#include "editors/can/UTransmitCAN.h"
#include "editors/canopen/USet_PDO_Access.h"
#include "editors/canopen/USet_SDO_Client_Access.h"
#include "editors/canopen/USet_SDO_Server_Access.h"
#include "editors/gsdml/UProfinetFileName.h"
#include "editors/knx/UKNXAccess.h"
#include "editors/mqtt/UMQTT_Set_Topic.h"
#include "editors/mqtt/UTopicTemplate.h"
#include "editors/snmp/USNMP_Trap_Access.h"
#include "platform/FileUtils.h"
#include "platform/Forms.h"
#include "support/GuiBenchRun.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <string>
#include <vector>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

// One program folder for the run: the first start makes its folders and later ones find them,
// as every start after the first does.
const QTemporaryDir &ProgramDir()
{
    static QTemporaryDir dir;
    return dir;
}

// Lets the window system map the window and the first paint reach the screen: on a real display
// the window is exposed only when the server has mapped it.
void LetItShow(QWidget *Window = nullptr)
{
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    QElapsedTimer waited;
    waited.start();
    while (Window && (!Window->windowHandle() || !Window->windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

void BM_ProgramStartToShownMainWindow(benchmark::State &state)
{
    SetProgramFolder(ProgramDir().path());
    for (auto _ : state) {
        Application->Initialize();
        Create_Program_Forms();
        FFabricoreFirmWare->Show();
        LetItShow(FFabricoreFirmWare->WidgetIfAllocated());
        benchmark::DoNotOptimize(FFabricoreFirmWare->Showing());
        state.PauseTiming();
        if (!FFabricoreFirmWare->Showing())
            state.SkipWithError("the main window did not show");
        Free_Program_Forms();
        LetItShow();
        state.ResumeTiming();
    }
    SetProgramFolder(QString());
}

// The window system's share: a plain window of the main window's client size.
void BM_BareWindowToShown(benchmark::State &state)
{
    for (auto _ : state) {
        auto w = std::make_unique<QWidget>();
        w->resize(694, 396);
        w->show();
        LetItShow(w.get());
        benchmark::DoNotOptimize(w->isVisible());
        state.PauseTiming();
        w.reset();
        LetItShow();
        state.ResumeTiming();
    }
}

// ---- a fresh process per start ----

const char *const ChildSwitch = "--start-child=";
std::string SelfPath;

// The child's part: from its entry to the window shown, then one byte to the parent.
int RunChild(const char *What, int argc, char **argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<QWidget> bare;
    QWidget *shown = nullptr;
    if (std::strcmp(What, "bare") == 0) {
        bare = std::make_unique<QWidget>();
        bare->resize(694, 396);
        bare->show();
        shown = bare.get();
    } else {
        SetProgramFolder(QString::fromLocal8Bit(What));
        Application->Initialize();
        Create_Program_Forms();
        FFabricoreFirmWare->Show();
        shown = FFabricoreFirmWare->WidgetIfAllocated();
    }
    LetItShow(shown);
    const char done = 1;
    if (::write(STDOUT_FILENO, &done, 1) != 1)
        return 1;
    // What the program does on its way out is not part of its start.
    std::_Exit(0);
}

// Starts this program as a child that shows What and waits for its word that the window shows.
bool TimeChildStart(const std::string &What)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string arg = ChildSwitch + What;
    char *args[] = {SelfPath.data(), arg.data(), nullptr};
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, SelfPath.c_str(), &actions, nullptr, args, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    char done = 0;
    const bool shown = started && ::read(fds[0], &done, 1) == 1 && done == 1;
    ::close(fds[0]);
    int status = 0;
    if (started)
        ::waitpid(pid, &status, 0);
    return shown;
}

// The two starts in turn, so that whatever else the machine does weighs on both alike; the
// counters give the medians of each and of their ratio.
void BM_FreshProcessMainOverBare(benchmark::State &state)
{
    const std::string folder = ProgramDir().path().toStdString();
    std::vector<double> main, bare, ratio;
    const auto timed = [](const std::string &What, double &Ms) {
        const auto t0 = std::chrono::steady_clock::now();
        const bool shown = TimeChildStart(What);
        Ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        return shown;
    };
    for (auto _ : state) {
        double m = 0, b = 0;
        if (!timed("bare", b) || !timed(folder, m)) {
            state.SkipWithError("a window did not show");
            break;
        }
        main.push_back(m);
        bare.push_back(b);
        ratio.push_back(m / b);
    }
    const auto median = [](std::vector<double> v) {
        if (v.empty())
            return 0.0;
        std::nth_element(v.begin(), v.begin() + std::ptrdiff_t(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    state.counters["main_ms"] = median(main);
    state.counters["bare_ms"] = median(bare);
    state.counters["ratio"] = median(ratio);
}

void BM_FreshProcessToShownMainWindow(benchmark::State &state)
{
    const std::string folder = ProgramDir().path().toStdString();
    for (auto _ : state)
        if (!TimeChildStart(folder))
            state.SkipWithError("the main window did not show");
}

void BM_FreshProcessToShownBareWindow(benchmark::State &state)
{
    for (auto _ : state)
        if (!TimeChildStart("bare"))
            state.SkipWithError("the window did not show");
}

} // namespace

BENCHMARK(BM_FreshProcessMainOverBare)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_FreshProcessToShownMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FreshProcessToShownBareWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProgramStartToShownMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWindowToShown)->Unit(benchmark::kMillisecond);

// An entry of its own in place of the shared one: the child's part, then the shared steps.
int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc > 1 && std::strncmp(argv[1], ChildSwitch, std::strlen(ChildSwitch)) == 0)
        return RunChild(argv[1] + std::strlen(ChildSwitch), argc, argv);
    char self[4096];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    SelfPath = n > 0 ? std::string(self, static_cast<size_t>(n)) : std::string(argv[0]);
    return RunGuiBenchmarks(argc, argv);
}
