// Hidden columns and the mapping between real and display indices of columns and rows.
#include "grid/core/ExtGrid.h"

#include <algorithm>

namespace {
// Columns from here on are never hidden and map to themselves.
constexpr int MaxHideCol = 512;
} // namespace

bool TExtStringGrid::IsHiddenColumn(int ColIndex) const
{
    if (ColIndex < 0 || ColIndex >= MaxHideCol)
        return false;
    return !FVisibleCol[std::size_t(ColIndex)];
}

int TExtStringGrid::RealToDisplCol(int A) const
{
    if (A >= MaxHideCol || FNumHidden == 0 || A <= 0)
        return A;
    int D = A;
    for (int I = 0; I < A; ++I)
        if (!FVisibleCol[std::size_t(I)])
            --D;
    return D;
}

int TExtStringGrid::DisplToRealCol(int D) const
{
    if (D >= MaxHideCol || FNumHidden == 0 || D < 0)
        return D;
    int Shown = 0;
    for (int J = 0; J < MaxHideCol; ++J) {
        if (!FVisibleCol[std::size_t(J)])
            continue;
        if (Shown == D)
            return J;
        ++Shown;
    }
    return 0;
}

void TExtStringGrid::HideColumns(int FromCol, int ToCol)
{
    HideEditor();
    // The flags cover real columns below 512 only: a column beyond cannot be told hidden later,
    // so hiding it would lose it.
    for (int C = std::max(FromCol, 0); C <= ToCol && C < MaxHideCol; ++C) {
        if (!FVisibleCol[std::size_t(C)] || C >= ColCount() + FNumHidden || ColCount() <= 1)
            continue;
        const int D = RealToDisplCol(C);
        FAllColWidths[std::size_t(C)] = SmallInt(ColWidths(D));
        for (int I = D; I < ColCount() - 1; ++I)
            SetColWidths(I, ColWidths(I + 1));
        ++FNumHidden;
        FVisibleCol[std::size_t(C)] = false;
        if (Col() == ColCount() - 1 && Col() > 0)
            SetCol(Col() - 1);
        SetColCount(ColCount() - 1);
    }
    Invalidate();
}

void TExtStringGrid::UnHideColumns(int FromCol, int ToCol)
{
    HideEditor();
    for (int C = std::max(FromCol, 0); C <= ToCol && C < MaxHideCol; ++C) {
        if (FVisibleCol[std::size_t(C)])
            continue;
        --FNumHidden;
        FVisibleCol[std::size_t(C)] = true;
        SetColCount(ColCount() + 1);
        const int D = RealToDisplCol(C);
        for (int I = ColCount() - 1; I > D; --I)
            SetColWidths(I, ColWidths(I - 1));
        SetColWidths(D, FAllColWidths[std::size_t(C)]);
    }
    Invalidate();
}
