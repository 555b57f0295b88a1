// The entry of the benchmark programs that draw or make windows: they need an application,
// offscreen unless the caller chose a platform.
#include "GuiBenchRun.h"

#include <cstdlib>

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return RunGuiBenchmarks(argc, argv);
}
