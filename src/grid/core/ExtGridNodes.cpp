// Rows as a tree: a node row holds a ctNode graphic in column 0 and covers the rows below it (its
// span); contracting a node hides those rows, expanding shows them again. The level of every row
// lives in its column-0 cell properties and follows the spans. Also the expand button of a
// cell, which switches its row between two heights.
#include "grid/core/ExtGrid.h"

#include <algorithm>

// ---- node queries ----

TCellGraphic *TExtStringGrid::NodeGraphic(int ARow)
{
    // The slot itself: column 0 may answer a row check box for every row.
    if (ARow < 0 || !CellHasProperties(0, ARow))
        return nullptr;
    auto *g = dynamic_cast<TCellGraphic *>(PropsOf(0, ARow)->GraphicObject());
    return g && g->CellType() == ctNode ? g : nullptr;
}

bool TExtStringGrid::IsNode(int ARow)
{
    return NodeGraphic(ARow) != nullptr;
}

bool TExtStringGrid::IsSummary(int ARow)
{
    if (ARow < 0 || !CellHasProperties(0, ARow))
        return false;
    auto *g = dynamic_cast<TCellGraphic *>(PropsOf(0, ARow)->GraphicObject());
    return g && g->CellType() == ctSummary;
}

bool TExtStringGrid::GetNodeState(int ARow)
{
    TCellGraphic *g = NodeGraphic(ARow);
    return g && g->CellBoolean();
}

int TExtStringGrid::GetNodeLevel(int ARow)
{
    return NodeGraphic(ARow) ? PropsOf(0, ARow)->NodeLevel() : -1;
}

int TExtStringGrid::GetNodeSpan(int ARow)
{
    TCellGraphic *g = NodeGraphic(ARow);
    return g ? g->CellIndex() : -1;
}

void TExtStringGrid::SetNodeSpan(int ARow, int Span)
{
    if (TCellGraphic *g = NodeGraphic(ARow))
        g->SetCellIndex(Span);
}

void TExtStringGrid::UpdateNodeSpan(int ARow, int Delta)
{
    if (TCellGraphic *g = NodeGraphic(ARow))
        g->SetCellIndex(g->CellIndex() + Delta);
}

int TExtStringGrid::GetSubNodeCount(int ARow)
{
    TCellGraphic *g = NodeGraphic(ARow);
    return g ? g->CellErrFrom() : 0;
}

void TExtStringGrid::UpdateSubNodeCount(int ARow, int Delta)
{
    if (TCellGraphic *g = NodeGraphic(ARow))
        g->SetCellErrFrom(g->CellErrFrom() + Delta);
}

int TExtStringGrid::NextNodeRow(int ARow)
{
    for (int r = ARow + 1; r < RowCount(); ++r)
        if (IsNode(r))
            return r;
    return RowCount();
}

int TExtStringGrid::GetParentRow(int ARow)
{
    if (FNumNodes == 0)
        return -1;
    int P = -1, limit = 65535;
    if (IsNode(ARow)) {
        P = ARow;
        limit = GetNodeLevel(ARow);
    }
    int C = 0;
    for (int r = std::min(ARow, RowCount() - 1); r >= FixedRows(); --r) {
        if (!IsNode(r) || GetNodeLevel(r) >= limit)
            continue;
        const int sp = GetNodeSpan(r);
        if (GetNodeState(r))
            C += sp - 1;
        if (ARow < r + sp - C)
            return r;
    }
    return P;
}

int TExtStringGrid::GetNodeSpanType(int ARow)
{
    if (IsNode(ARow))
        return 0;
    const int next = ARow + 1;
    if (ARow < RowCount() - FFixedFooters - 1 && CellHasProperties(0, next)) {
        const int own = CellHasProperties(0, ARow) ? PropsOf(0, ARow)->NodeLevel() : 0;
        if (PropsOf(0, next)->NodeLevel() >= own)
            return 2;
    }
    return 1;
}

// ---- adding and removing nodes ----

void TExtStringGrid::ChangeNodeLevels(int From, int Count, int Delta)
{
    const int last = std::min(From + Count, RowCount());
    for (int r = std::max(From, 0); r < last; ++r) {
        if (Delta < 0 && !CellHasProperties(0, r))
            continue;
        TCellProperties *p = CellProperties(0, r);
        p->SetNodeLevel(std::max(p->NodeLevel() + Delta, 0));
    }
}

void TExtStringGrid::AddNode(int ARow, int Span)
{
    const int R = DisplRowIndex(ARow);
    if (R < 0 || R >= RowCount())
        return;
    TCellGraphic *g = CreateCellGraphic(0, R);
    g->SetCellType(ctNode);
    g->SetCellAngle(R);
    g->SetCellBoolean(false);
    g->SetCellIndex(Span);
    g->SetCellHAlign(haBeforeText);
    g->SetCellVAlign(vaCenter);
    g->SetCellErrFrom(0);
    g->SetCellVar(-1);
    ChangeNodeLevels(R, Span, 1);
    if (FNumNodes == 0 && HandleAllocated())
        Invalidate();
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

// ---- expand buttons ----

void TExtStringGrid::AddExpand(int ACol, int ARow, int ExpandedHeight)
{
    TCellGraphic *g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctExpand);
    g->SetCellAngle(ExpandedHeight);
    g->SetCellVar(false);
    g->SetCellIndex(RowHeights(ARow));
}

void TExtStringGrid::RemoveExpand(int ACol, int ARow)
{
    RemoveCellGraphicOfType(ACol, ARow, ctExpand);
}

bool TExtStringGrid::HasExpand(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    return GetCellType(b.X, b.Y) == ctExpand;
}

bool TExtStringGrid::ToggleExpand(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctExpand)
        return false;
    g->SetCellVar(!g->CellVar().toBool());
    return g->CellVar().toBool();
}

bool TExtStringGrid::GetExpandState(int ACol, int ARow)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctExpand && g->CellVar().toBool();
}

int TExtStringGrid::GetExpandHeight(int ACol, int ARow, bool Expanded)
{
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic *g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctExpand)
        return DefaultRowHeight();
    return Expanded ? g->CellAngle() : g->CellIndex();
}

void TExtStringGrid::GetExpandButtonRect(int ACol, int ARow, TRect &R)
{
    R = TRect(0, 0, 0, 0);
    const TPoint b = BaseCell(RealColIndex(ACol), ARow);
    if (GetCellType(b.X, b.Y) != ctExpand)
        return;
    const TRect C = CellRect(ACol, ARow);
    R = TRect(C.Right - 13, C.Top + 2, C.Right - 2, C.Top + 13);
}
