// Dimensions of the string grid and its update lock.
#include "grid/core/ExtGrid.h"

void TExtStringGrid::BeginUpdate()
{
    if (!Visible())
        return;
    ++FUpdateCount;
    Perform(WM_SETREDRAW, 0, 0);
}

void TExtStringGrid::EndUpdate()
{
    // The count comes down also while the grid is hidden: a grid hidden between Begin and End
    // would otherwise stay locked for good.
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (!Visible() || FUpdateCount > 0 || DestroyingState())
        return;
    Perform(WM_SETREDRAW, 1, 0);
    Invalidate();
    DrawBorder();
}
