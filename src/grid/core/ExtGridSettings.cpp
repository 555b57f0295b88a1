// The settings objects the string grid owns: what the grid's core relies on of them.
#include "grid/core/ExtGrid.h"

#include <atomic>

namespace {
std::atomic<int> GLiveObjects{0};
}

int ExtGridLiveObjects() { return GLiveObjects.load(); }
TExtGridLiveCount::TExtGridLiveCount() { ++GLiveObjects; }
TExtGridLiveCount::TExtGridLiveCount(const TExtGridLiveCount &) { ++GLiveObjects; }
TExtGridLiveCount::~TExtGridLiveCount() { --GLiveObjects; }

void TBalloonSettings::SetEnable(bool Value)
{
    if (Value == FEnable)
        return;
    FEnable = Value;
    if (OnEnableChange)
        OnEnableChange(this);
}

void TShowModified::SetColor(TColor Value)
{
    if (Value == FColor)
        return;
    FColor = Value;
    if (OnChange)
        OnChange(this);
}

void TGrouping::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TGrouping *>(Source);
    if (!src)
        return;
    HeaderColor = src->HeaderColor;
    HeaderColorTo = src->HeaderColorTo;
    SummaryColor = src->SummaryColor;
    SummaryColorTo = src->SummaryColorTo;
    HeaderLineWidth = src->HeaderLineWidth;
    SummaryLineWidth = src->SummaryLineWidth;
    HeaderLineColor = src->HeaderLineColor;
    SummaryLineColor = src->SummaryLineColor;
    HeaderUnderline = src->HeaderUnderline;
    SummaryLine = src->SummaryLine;
    ShowGroupCount = src->ShowGroupCount;
    GroupCountFormat = src->GroupCountFormat;
}
