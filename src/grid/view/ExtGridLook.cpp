// The look of the grid's cell controls.
#include "grid/core/ExtGrid.h"

TControlLook::TControlLook(TExtStringGrid *AGrid)
    : DropDownHeader(new THeaderAppearance(this)), DropDownFooter(new TFooterAppearance(this)), FGrid(AGrid)
{
}

TControlLook::~TControlLook()
{
    delete DropDownHeader;
    delete DropDownFooter;
}

void TControlLook::SetControlStyle(TControlStyle Value)
{
    if (Value == FControlStyle)
        return;
    FControlStyle = Value;
    if (FGrid)
        FGrid->Invalidate();
}
