// Cell graphics: check boxes, radio buttons, images, progress bars and the other kinds a cell
// can hold, placed beside the cell's text.
#include "grid/view/ExtGridPaintContext.h"

void TExtStringGrid::DrawCellGraphic(TCellPaintContext &Ctx, TRect &ARect)
{
}

void TExtStringGrid::DrawEditorButtons(TCellPaintContext &Ctx)
{
}
