// Header cells: the background of each look, the edges of the classic looks, the row indicator
// and the sort and filter glyphs.
#include "grid/view/ExtGridPaintContext.h"

void TExtStringGrid::DrawHeaderLook(TCellPaintContext &Ctx)
{
}

void TExtStringGrid::DrawHeaderEdges(TCellPaintContext &Ctx, TRect R)
{
}
