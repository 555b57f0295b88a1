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

void TExtStringGrid::SetNodeState(int ARow, bool Value)
{
    if (!IsNode(ARow) || GetNodeState(ARow) == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

void TExtStringGrid::RemoveNode(int ARow)
{
    ExpandSingleNode(ARow);
    const int R = DisplRowIndex(ARow);
    TCellGraphic *g = NodeGraphic(R);
    if (!g)
        return;
    ChangeNodeLevels(R, g->CellIndex(), -1);
    RemoveCellGraphic(0, R);
    if (FNumNodes > 0)
        --FNumNodes;
}

void TExtStringGrid::RemoveAllNodes()
{
    for (int r = 0; r < RowCount(); ++r) {
        if (!IsNode(r))
            continue;
        ExpandNode(RealRowIndex(r));
        ChangeNodeLevels(r, GetNodeSpan(r), -1);
        RemoveCellGraphic(0, r);
        if (FNumNodes > 0)
            --FNumNodes;
    }
    Invalidate();
}

// ---- expanding and contracting ----

void TExtStringGrid::ExpandNode(int ARow)
{
    if (FCellNode->ExpandOne()) {
        const int count = RowCount();
        for (int r = FixedRows(); r < count && r < RowCount(); ++r)
            if (IsNode(r) && !GetNodeState(r))
                ContractNode(RealRowIndex(r));
    }
    ExpandSingleNode(ARow);
}

void TExtStringGrid::ExpandSingleNode(int ARow)
{
    const int R = DisplRowIndex(ARow);
    TCellGraphic *g = NodeGraphic(R);
    if (!g || !g->CellBoolean())
        return;
    g->SetCellBoolean(false);
    const int E = g->CellIndex() == 0 ? NextNodeRow(R) : R + 1;
    const int from = RealRowIndex(R) + 1;
    const int to = RealRowIndex(E) - 1;
    const int row = Row(), top = TopRow();
    const bool disjunct = FMouseActions->DisjunctRowSelectDirect();
    FMouseActions->SetDisjunctRowSelectDirect(false);
    const bool rowSelect = Options().Contains(goRowSelect);
    if (rowSelect)
        SetOptions(Options() - TGridOptions{goRowSelect});
    const bool lock = FNumCellControls == 0;
    if (lock)
        BeginUpdate();
    try {
        if (from <= to)
            UnHideRows(from, to);
    } catch (...) {
        FMouseActions->SetDisjunctRowSelectDirect(disjunct);
        if (lock)
            EndUpdate();
        throw;
    }
    if (rowSelect) {
        SetOptions(Options() + TGridOptions{goRowSelect});
        if (row < RowCount())
            SetRow(row);
        if (top < RowCount())
            SetTopRow(top);
    }
    FMouseActions->SetDisjunctRowSelectDirect(disjunct);
    if (lock)
        EndUpdate();
    CalcFooter(-1);
}

void TExtStringGrid::ContractNode(int ARow)
{
    HideInplaceEdit();
    FForceSel = true;
    const int R = DisplRowIndex(ARow);
    TCellGraphic *g = NodeGraphic(R);
    if (!g || g->CellBoolean()) {
        FForceSel = false;
        return;
    }
    g->SetCellBoolean(true);
    int E = g->CellIndex() > 0 ? std::min(R + g->CellIndex(), RowCount()) : NextNodeRow(R);
    const int S = R + 1;
    int i = S;
    while (i < E) {
        TCellGraphic *inner = NodeGraphic(i);
        if (inner && inner->CellBoolean()) {
            // Its hidden rows come back with the outer node's.
            inner->SetCellBoolean(false);
            HideRows(RealRowIndex(S), RealRowIndex(i));
            E = E - (i - S) - inner->CellIndex();
            i = S;
        } else {
            ++i;
        }
    }
    if (i > S)
        HideRows(RealRowIndex(S), RealRowIndex(i - 1));
    FForceSel = false;
    CalcFooter(-1);
}

void TExtStringGrid::ExpandAll()
{
    BeginUpdate();
    try {
        // Every contracted node gives back the hidden rows right after it, all in one step; a
        // contracted node that surfaces with them is taken in the next pass.
        for (;;) {
            ++FFilterLevel;
            const int level = FFilterLevel;
            bool any = false;
            const std::vector<int> &keys = FGridItems->SortedIdx();
            for (int r = FixedRows(); r < RowCount(); ++r) {
                TCellGraphic *g = NodeGraphic(r);
                if (!g || !g->CellBoolean())
                    continue;
                g->SetCellBoolean(false);
                const int from = RealRowIndex(r) + 1, to = RealRowIndex(r + 1) - 1;
                for (auto k = std::lower_bound(keys.begin(), keys.end(), from); k != keys.end() && *k <= to; ++k) {
                    FGridItems->SortedItem(int(k - keys.begin()))->Level = level;
                    any = true;
                }
            }
            if (any)
                UnHideRowList();
            --FFilterLevel;
            if (!any)
                break;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CalcFooter(-1);
}

void TExtStringGrid::ContractAll()
{
    BeginUpdate();
    try {
        ExpandAll();
        TIntList rows(0, 0);
        for (int r = FixedRows(); r < RowCount();) {
            TCellGraphic *g = NodeGraphic(r);
            if (!g) {
                ++r;
                continue;
            }
            g->SetCellBoolean(true);
            // A span of 0 reaches the next node row or the end, as a single contract does.
            const int end = std::min(g->CellIndex() > 0 ? r + g->CellIndex() : NextNodeRow(r), RowCount());
            for (int k = r + 1; k < end; ++k)
                rows.Add(k);
            r = std::max(end, r + 1);
        }
        if (rows.Count() > 0) {
            HideRowList(&rows);
            // The node rows are hidden directly, not as a filter level that a filter would undo.
            for (int k = 0; k < FGridItems->Count(); ++k)
                if (FGridItems->Items(k)->Level == FFilterLevel)
                    FGridItems->Items(k)->Level = 0;
            --FFilterLevel;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellControlsUpdate(false);
    CalcFooter(-1);
}

bool TExtStringGrid::IsNodeGlyphHit(int ARow, int X)
{
    if (!FMouseActions->PreciseNodeClick)
        return true;
    const int L = CellHasProperties(0, ARow) ? PropsOf(0, ARow)->NodeLevel() : 0;
    const int I = FCellNode->NodeIndent();
    int W = 4, M = 4;
    switch (FCellNode->NodeType()) {
    case cn3D:
        W = 6;
        M = 0;
        break;
    case cnGlyph: {
        TBitmap *glyph = FCellNode->ExpandGlyph();
        const bool empty = !glyph || glyph->Width() == 0;
        W = empty ? 0 : glyph->Width() / 2;
        M = empty ? 0 : 2;
        break;
    }
    case cnLeaf:
        W = 8;
        M = 2;
        break;
    default:
        break;
    }
    if (BiDiMode() == bdRightToLeft) {
        const int V = RowCount() - FixedRows() > VisibleRowCount() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        return Width() - 2 - L * I - W <= X + V && X + V < Width() - (L - 1) * I;
    }
    return M + (L - 1) * I < X && X < W + L * I;
}

// ---- child rows ----
// The grid's row insertion and removal move the hidden rows and the in-cell controls behind
// the row by real index, so the tree only keeps its spans, counts and levels here.

void TExtStringGrid::InsertChildRow(int ARow, int InsertAt)
{
    const int R = DisplRowIndex(ARow);
    const int P = GetParentRow(R);
    int L = 1;
    if (P != -1) {
        UpdateNodeSpan(P, 1);
        UpdateSubNodeCount(P, 1);
        ExpandNode(RealRowIndex(P));
        L = GetNodeLevel(P);
        int last = P, lastLevel = L;
        while (lastLevel > 1 && last >= FixedRows()) {
            const int A = GetParentRow(last);
            if (A == -1 || A == last)
                break;
            if (GetNodeLevel(A) < lastLevel) {
                UpdateNodeSpan(A, 1);
                UpdateSubNodeCount(A, 1);
                ExpandNode(RealRowIndex(A));
                lastLevel = GetNodeLevel(A);
            }
            last = A;
        }
    }
    int pos = R + InsertAt;
    if (IsNode(R) && InsertAt == 0) {
        // The node row's content becomes its first child; the node row keeps only its node.
        pos = R + 1;
        InsertRows(pos, 1, true);
        for (int c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, pos, GridCells(c, R));
            SetGridCell(c, R, UnicodeString());
            if (c == 0)
                continue;
            TObject *o = GridObjects(c, R);
            SetGridObject(c, R, nullptr);
            SetGridObject(c, pos, o);
            if (auto *props = dynamic_cast<TCellProperties *>(o))
                props->SetOwnerRow(pos);
        }
    } else {
        InsertRows(pos, 1, true);
    }
    if (P != -1 && pos >= 0 && pos < RowCount())
        CellProperties(0, pos)->SetNodeLevel(L);
}

void TExtStringGrid::RemoveChildRow(int ARow)
{
    const int R = DisplRowIndex(ARow);
    int P = GetParentRow(R);
    if (P != -1) {
        const int L = GetNodeLevel(P);
        if (GetNodeSpan(P) > 1) {
            UpdateNodeSpan(P, -1);
            UpdateSubNodeCount(P, -1);
        }
        for (;;) {
            ExpandNode(RealRowIndex(P));
            if (GetNodeLevel(P) <= 1)
                break;
            const int A = GetParentRow(P);
            if (A == -1 || A == P || GetNodeLevel(A) >= L)
                break;
            P = A;
            if (GetNodeSpan(P) > 1) {
                UpdateNodeSpan(P, -1);
                UpdateSubNodeCount(P, -1);
            }
        }
    }
    DeleteRowRange(DisplRowIndex(ARow), 1);
    if (FMaxRowCount > 0)
        --FMaxRowCount;
}

void TExtStringGrid::InsertNormalRow(int ARow)
{
    InsertRows(DisplRowIndex(ARow), 1, true);
}

void TExtStringGrid::RemoveNormalRow(int ARow)
{
    RemoveRows(ARow, 1);
    if (FMaxRowCount > 0)
        --FMaxRowCount;
}

void TExtStringGrid::SetSummaryRow(int ARow)
{
    const int R = DisplRowIndex(ARow);
    if (R >= 0 && R < RowCount())
        CreateCellGraphic(0, R)->SetCellType(ctSummary);
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
    // ACol is a real column, as for the other expand operations; the square lies in the cell
    // where it shows.
    R = TRect(0, 0, 0, 0);
    const TPoint b = BaseCell(ACol, ARow);
    if (GetCellType(b.X, b.Y) != ctExpand)
        return;
    const TRect C = CellRect(DisplColOfReal(ACol), ARow);
    R = TRect(C.Right - 13, C.Top + 2, C.Right - 2, C.Top + 13);
}
