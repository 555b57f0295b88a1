// The live count of the settings objects the string grid owns (their behaviour lives beside the
// features that use them).
#include "grid/core/ExtGrid.h"

#include <atomic>

namespace {
std::atomic<int> GLiveObjects{0};
}

int ExtGridLiveObjects() { return GLiveObjects.load(); }
TExtGridLiveCount::TExtGridLiveCount() { ++GLiveObjects; }
TExtGridLiveCount::TExtGridLiveCount(const TExtGridLiveCount &) { ++GLiveObjects; }
TExtGridLiveCount::~TExtGridLiveCount() { --GLiveObjects; }
