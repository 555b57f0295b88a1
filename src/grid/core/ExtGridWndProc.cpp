// The first steps of the grid's window procedure: the posted end of an edit and the
// notifications of the grid's own editor controls.
#include "grid/core/ExtGrid.h"


void TExtStringGrid::WndProc(TMessage &Message)
{
    if (ExtGrid::WM_GRIDEDITDONE != 0 && Message.Msg == ExtGrid::WM_GRIDEDITDONE) {
        if (OnEditCellDone)
            OnEditCellDone(this, int(Message.WParam), int(Message.LParam));
        if (FMouseActions->EditOnDblClickOnly()) {
            HideInplaceEdit();
            EditMode = false;
            SetOptions(Options() - TGridOptions{goEditing});
        }
        return;
    }
    TBaseGrid::WndProc(Message);
}

void TExtStringGrid::EditComboChange(TObject *)
{
    if (EditMode && (EditControl == edComboEdit || EditControl == edComboList))
        FireComboChange(EditControl == edComboEdit && EditCombo->ItemIndex() >= 0 &&
                                EditCombo->Items()->Strings(EditCombo->ItemIndex()) != EditCombo->Text()
                            ? -1
                            : EditCombo->ItemIndex());
}
