// Text direction of controls.

#include "platform/Controls.h"
#include "platform/WinGdi.h"

#include <atomic>

namespace {
std::atomic<bool> GMiddleEast{false};
}

bool SysLocaleMiddleEast() { return GMiddleEast.load(); }

void SetSysLocaleMiddleEast(bool Value) { GMiddleEast = Value; }

TBiDiMode TControl::BiDiMode() const
{
    if (FParentBiDiMode && FParent)
        return FParent->BiDiMode();
    return FBiDiMode;
}

void TControl::SetBiDiMode(TBiDiMode Value)
{
    FBiDiMode = Value;
    FParentBiDiMode = false;
}

bool TControl::UseRightToLeftAlignment() const
{
    return SysLocaleMiddleEast() && BiDiMode() == bdRightToLeft;
}

bool TControl::UseRightToLeftReading() const
{
    return SysLocaleMiddleEast() && BiDiMode() != bdLeftToRight;
}

LongInt TControl::DrawTextBiDiModeFlagsReadingOnly() const
{
    return UseRightToLeftReading() ? static_cast<LongInt>(DT_RTLREADING) : 0;
}

LongInt TControl::DrawTextBiDiModeFlags(LongInt Flags) const
{
    LongInt Result = Flags;
    if (UseRightToLeftAlignment()) {
        if ((Result & static_cast<LongInt>(DT_RIGHT)) == static_cast<LongInt>(DT_RIGHT))
            Result &= ~static_cast<LongInt>(DT_RIGHT);
        else if ((Result & static_cast<LongInt>(DT_CENTER)) != static_cast<LongInt>(DT_CENTER))
            Result |= static_cast<LongInt>(DT_RIGHT);
    }
    return Result | DrawTextBiDiModeFlagsReadingOnly();
}
