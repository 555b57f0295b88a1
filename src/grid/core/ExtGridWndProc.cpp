// The first steps of the grid's window procedure: the posted end of an edit and the
// notifications of the grid's own editor controls.
#include "grid/core/ExtGrid.h"

#include "platform/Messages.h"


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
    if (Message.Msg == WM_COMMAND && EditCombo && EditCombo->HandleAllocated() &&
        reinterpret_cast<HWND>(Message.LParam) == EditCombo->Handle()) {
        const Word code = HiWord(static_cast<std::uintptr_t>(Message.WParam));
        if (code == CBN_CLOSEUP || code == CBN_DROPDOWN) {
            TBaseGrid::WndProc(Message);
            if (code == CBN_CLOSEUP)
                ComboClosedUp();
            else
                DoComboDropDown(Row(), RealColIndex(Col()));
            return;
        }
    }
    if (Message.Msg == WM_NOTIFY) {
        TWMNotify n(Message);
        WMNotify(n);
        n.Store();
        return;
    }
    if (Message.Msg == CM_DESIGNHITTEST) {
        TBaseGrid::WndProc(Message);
        if (Designing() && FShowDesignHelper) {
            const auto xy = static_cast<std::uintptr_t>(Message.LParam);
            const int item = DesignHelperHitTest(static_cast<SmallInt>(LoWord(xy)), static_cast<SmallInt>(HiWord(xy)));
            if (item != FLastDesignChoice) {
                const TRect cr = ClientRect();
                const TRect panel(cr.Right - 150, cr.Bottom - 70, cr.Right, cr.Bottom);
                if (HandleAllocated())
                    ::InvalidateRect(Handle(), &panel, false);
            }
            FLastDesignChoice = item;
            if (item >= 1 && item <= 4)
                Message.Result = 1;
        }
        return;
    }
    if (Message.Msg == WM_MOUSEMOVE) {
        TBaseGrid::WndProc(Message);
        const auto xy = static_cast<std::uintptr_t>(Message.LParam);
        RenewCellHint(static_cast<SmallInt>(LoWord(xy)), static_cast<SmallInt>(HiWord(xy)));
        return;
    }
    TBaseGrid::WndProc(Message);
}

void TExtStringGrid::ComboClosedUp()
{
    // A pick in the list is taken at once and the combo put away.
    if (FMouseActions->DirectComboClose && EditMode && (EditControl == edComboEdit || EditControl == edComboList)) {
        const int k = EditCombo->ItemIndex();
        if (k >= 0 && k < EditCombo->Items()->Count())
            EditCombo->SetText(EditCombo->Items()->Strings(k));
        FireComboChange(k);
        EditControl = edComboEdit;
        EditMode = true;
        const bool direct = FMouseActions->DirectEdit;
        FMouseActions->DirectEdit = false;
        HideInplaceEdit();
        FMouseActions->DirectEdit = direct;
        if (CanFocus())
            SetFocus();
    }
    DoComboCloseUp(Row(), RealColIndex(Col()));
}

void TExtStringGrid::EditComboChange(TObject *)
{
    if (EditMode && (EditControl == edComboEdit || EditControl == edComboList))
        FireComboChange(EditControl == edComboEdit && EditCombo->ItemIndex() >= 0 &&
                                EditCombo->Items()->Strings(EditCombo->ItemIndex()) != EditCombo->Text()
                            ? -1
                            : EditCombo->ItemIndex());
}
