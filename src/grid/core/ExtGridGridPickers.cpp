// The grid's two item drop-downs over a cell: the multi-column list and the grid of items. The
// application fills them in the editor-property event; the cell text picks the item.
#include "grid/core/ExtGridDropDowns.h"

TGridGridDropDown::TGridGridDropDown(TComponent *AOwner) : TGridDropDownEditor<TExtMultiColumnDropDown>(AOwner)
{
    // In a cell the text is typed as well.
    SetEditorEnabled(true);
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
    }
}
