// The grid's two item drop-downs over a cell: the multi-column list and the grid of items. The
// application fills them in the editor-property event; the cell text picks the item.
#include "grid/core/ExtGridDropDowns.h"
#include "grid/dropdown/ExtCustomGridDropDown.h"

TGridGridDropDown::TGridGridDropDown(TComponent *AOwner) : TGridDropDownEditor<TExtMultiColumnDropDown>(AOwner)
{
    // In a cell the text is typed as well.
    SetEditorEnabled(true);
}

TGridExtGridDropDown::TGridExtGridDropDown(TComponent *AOwner)
    : TGridDropDownEditor<TCustomExtGridDropDown>(AOwner)
{
    SetEditorEnabled(true);
}

TGridExtGridDropDown *TExtStringGrid::ExtGridDropDown()
{
    if (!EditExtGridDropDown)
        EditExtGridDropDown = PrepareDropDownEditor(NewDropDown<TGridExtGridDropDown>(this));
    return EditExtGridDropDown;
}

TGridGridDropDown *TExtStringGrid::GridDropDown()
{
    if (!EditGridDropDown)
        EditGridDropDown = PrepareDropDownEditor(NewDropDown<TGridGridDropDown>(this));
    return EditGridDropDown;
}

void TExtStringGrid::SetGridPickerValue(const UnicodeString &EditText)
{
    if (EditControl == edGridDropDown) {
        TGridGridDropDown *d = GridDropDown();
        d->BeginUpdate();
        d->EndUpdate();
        d->SetItemIndex(EditText.isEmpty() ? 0 : d->GetItemIndex(EditText));
        d->SetTextQuiet(EditText);
        return;
    }
    TGridExtGridDropDown *d = ExtGridDropDown();
    if (d->GetExtColGrid())
        d->GetExtColGrid()->SetFixedRowAlways(true);
    d->BeginUpdate();
    d->EndUpdate();
    if (d->UseItems) {
        UnicodeString found;
        int index = 0;
        if (!EditText.isEmpty())
            d->LookupText(EditText, found, index);
        d->SetItemIndex(index);
    }
    d->SetTextQuiet(EditText);
}
