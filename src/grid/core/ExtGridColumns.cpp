// Columns of the string grid as the application knows them: found by their header, followed
// through the user's moves back to the order they had first, headed from the header lists; and
// the small settings objects of grouping, drag and drop, balloons and modified rows.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUtil.h"
#include "controls/esgdd.h"

#include <algorithm>
#include <vector>

// ---- column lookup ----

int TExtStringGrid::ColumnByHeader(const UnicodeString &AValue)
{
    // Row 0 by its real index: a hidden header row keeps its texts in the hidden-row store.
    const TGridItem *hidden = FGridItems ? FGridItems->Find(0) : nullptr;
    const int row = hidden ? -1 : DisplRowIndex(0);
    for (int c = 0; c < TotalColCount(); ++c) {
        UnicodeString s;
        if (hidden)
            s = c < hidden->Items()->Count() ? hidden->Items()->Strings(c) : UnicodeString();
        else if (row < RowCount())
            s = Store().Text(c, row);
        if (s == AValue)
            return c;
    }
    return -1;
}

// ---- column order ----

int TExtStringGrid::ColumnPosition(int ACol)
{
    if (FColumnOrder->Count() == 0)
        return ACol;
    int pos = ACol;
    const int n = std::min(FColumnOrder->Count(), TotalColCount());
    for (int p = 0; p < n; ++p)
        if (FColumnOrder->Items(p) == ACol) {
            pos = p;
            break;
        }
    if (FGroupColumn != -1 && FGroupColumn <= ACol)
        --pos;
    return pos;
}

int TExtStringGrid::ColumnAtPosition(int ACol)
{
    if (FColumnOrder->Count() == 0)
        SetColumnOrder();
    if (FColumnOrder->Count() == 0 || ACol < 0 || ACol >= FColumnOrder->Count())
        return ACol;
    int v = FColumnOrder->Items(ACol);
    if (FGroupColumn != -1 && v >= FGroupColumn)
        ++v;
    return v;
}

void TExtStringGrid::ResetColumnOrder()
{
    UnHideColumnsAll();
    if (FColumnOrder->Count() == 0) {
        SetColumnOrder();
        return;
    }
    // Only an order that names each of the leading positions once can be sorted back; anything
    // else (a list left behind by inserted or removed columns) would move columns for ever.
    const int n = std::min(FColumnOrder->Count(), ColCount());
    std::vector<bool> seen(std::size_t(n), false);
    for (int i = 0; i < n; ++i) {
        const int v = FColumnOrder->Items(i);
        if (v < 0 || v >= n || seen[std::size_t(v)])
            return;
        seen[std::size_t(v)] = true;
    }
    bool moved = true;
    while (moved) {
        moved = false;
        for (int i = 0; i < n; ++i) {
            const int v = FColumnOrder->Items(i);
            if (v < i) {
                MoveColumn(i, v);
                moved = true;
            }
        }
    }
}

// ---- header lists ----

void TExtStringGrid::SetColumnHeaders(TStrings *Value)
{
    FColumnHeaders->Assign(Value);
    if (FixedRows() > 0)
        ClearColumnHeaders();
    ShowColumnHeaders();
}

void TExtStringGrid::ClearColumnHeaders()
{
    for (int i = 0; i < ColCount() && RowCount() > 0; ++i)
        SetCells(i, 0, UnicodeString());
}

void TExtStringGrid::SetRowHeaders(TStrings *Value)
{
    FRowHeaders->Assign(Value);
    if (Designing() && FixedCols() > 0)
        ClearRowHeaders();
    ShowRowHeaders();
}

void TExtStringGrid::ClearRowHeaders()
{
    for (int i = 0; i < RowCount() && ColCount() > 0; ++i)
        SetCells(0, i, UnicodeString());
}

// ---- settings objects ----

void TGrouping::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TGrouping *>(Source);
    if (!src)
        return;
    GroupCountFormat = src->GroupCountFormat;
    HeaderColor = src->HeaderColor;
    HeaderColorTo = src->HeaderColorTo;
    HeaderTextColor = src->HeaderTextColor;
    HeaderUnderline = src->HeaderUnderline;
    MergeHeader = src->MergeHeader;
    MergeSummary = src->MergeSummary;
    ShowGroupCount = src->ShowGroupCount;
    SummaryColor = src->SummaryColor;
    SummaryColorTo = src->SummaryColorTo;
    SummaryTextColor = src->SummaryTextColor;
    SummaryLine = src->SummaryLine;
    AutoCheckGroup = src->AutoCheckGroup;
    AutoSelectGroup = src->AutoSelectGroup;
}

void TDragDropSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TDragDropSettings *>(Source);
    if (!src)
        return;
    FOleDropTarget = src->FOleDropTarget;
    FOleDropRTF = src->FOleDropRTF;
    OleDropSource = src->OleDropSource;
    OleAcceptFiles = src->OleAcceptFiles;
    OleAcceptText = src->OleAcceptText;
    OleAcceptURLs = src->OleAcceptURLs;
    OleAppendRows = src->OleAppendRows;
    OleInsertRows = src->OleInsertRows;
    OleRemoveRows = src->OleRemoveRows;
    OleEntireRows = src->OleEntireRows;
    OleCopyAlways = src->OleCopyAlways;
    OleColumnDragDrop = src->OleColumnDragDrop;
    OleColumnsOnly = src->OleColumnsOnly;
    OleColumnReorder = src->OleColumnReorder;
    ShowCells = src->ShowCells;
}

void TDragDropSettings::SetOleDropRTF(bool Value)
{
    AllowRTFDragDrop(Value);
    FOleDropRTF = Value;
}

void TBalloonSettings::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TBalloonSettings *>(Source);
    if (!src)
        return;
    TextColor = src->TextColor;
    BackgroundColor = src->BackgroundColor;
    InitialDelay = src->InitialDelay;
    AutoHideDelay = src->AutoHideDelay;
    ReshowDelay = src->ReshowDelay;
    FEnable = src->FEnable;
}

void TBalloonSettings::SetEnable(bool Value)
{
    FEnable = Value;
    if (OnEnableChange)
        OnEnableChange(this);
}

void TShowModified::Assign(TPersistent *Source)
{
    auto *src = dynamic_cast<TShowModified *>(Source);
    if (!src)
        return;
    FColor = src->FColor;
    Enabled = src->Enabled;
}

void TShowModified::SetColor(TColor Value)
{
    FColor = Value;
    if (OnChange)
        OnChange(this);
}
