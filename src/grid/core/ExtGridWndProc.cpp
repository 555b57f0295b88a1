// The grid's window procedure: its own reactions to window messages before the platform's
// (window end, the posted end of an edit, a cancelled column move, the proportional bars, theme
// changes, the border, the editors' notifications, panning and the wheel).
#include "grid/core/ExtGrid.h"

#include "platform/Messages.h"
#include "platform/StdCtrls.h"
#include "platform/Windows.h"

#include <initializer_list>
#include <string>

void TExtStringGrid::WndProc(TMessage &Message)
{
    if (Message.Msg == WM_DESTROY) {
        // The theme notifier lets go of the window in DestroyWnd.
        if (FGridTimerID != 0 && HandleAllocated())
            KillTimer(Handle(), UINT_PTR(FGridTimerID));
        if (wheelpan)
            StopPanning();
    }
    if (DestroyingState()) {
        TBaseGrid::WndProc(Message);
        return;
    }
    if (Message.Msg == CM_SHOWINGCHANGED && !Showing())
        CloseFilterLists();
    const TGridRect oldSel = Selection();
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
    // Here the set-cursor message also comes while the button is held (no capture to hold it
    // back), so only a released button tells a move that lost it.
    if (Message.Msg == WM_SETCURSOR && Screen && Screen->Cursor() == crDrag &&
        (GridState() == gsColMoving || GridState() == gsRowMoving) && FEnhRowColMove && GetKeyState(VK_LBUTTON) >= 0) {
        // A move that lost its button: the drag look and the move timer go.
        Screen->SetCursor(crDefault);
        if (MoveButton) {
            MoveButton->SetEnabled(false);
            MoveButton->SetVisible(false);
        }
        if (HandleAllocated())
            KillTimer(Handle(), 1);
        FGridState = gsNormal;
    }
    if (!Designing()) {
        const bool paint = Message.Msg == WM_PAINT && FPaintCount == 0 && FScrollProportional;
        if (paint || Message.Msg == WM_SIZE || Message.Msg == WM_LBUTTONUP) {
            UpdateVScrollProportional();
            UpdateHScrollProportional();
        }
    }
    if ((Message.Msg == WM_THEMECHANGED || Message.Msg == 2993) && FAutoThemeAdapt)
        UpdateOfficeTheme();
    // The platform tells of a new visual style with the theme message.
    if (Message.Msg == WM_THEMECHANGED)
        CMStyleChanged(Message);
    if (Message.Msg == WM_NCPAINT) {
        TBaseGrid::WndProc(Message);
        if (FUpdateCount <= 0) {
            DrawBorder();
            Message.Result = 0;
        }
        return;
    }
    if (Message.Msg == WM_COMMAND && Message.LParam != 0 && EditorNotification(Message))
        return;
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
    // Panning: its timer's steps, and its start and end by the buttons and keys.
    if (Message.Msg == WM_TIMER && Message.WParam == PanTimerID && wheelmsg != 0 && wheelpan &&
        FIntelliPan != ipNone) {
        PanStep(oldSel);
        return;
    }
    if (Message.Msg == WM_MBUTTONDOWN && wheelmsg != 0 && !wheelpan && FIntelliPan != ipNone &&
        RowCount() > FixedRows()) {
        const auto xy = static_cast<std::uintptr_t>(Message.LParam);
        StartPanning(static_cast<SmallInt>(LoWord(xy)), static_cast<SmallInt>(HiWord(xy)));
        return;
    }
    if (wheelpan && (Message.Msg == WM_MBUTTONDOWN || Message.Msg == WM_LBUTTONDOWN ||
                     Message.Msg == WM_RBUTTONDOWN || Message.Msg == WM_KEYDOWN)) {
        StopPanning();
    }
    if (wheelmsg != 0 && Message.Msg == wheelmsg && !wheelpan) {
        LRESULT parent = 0;
        if (Parent())
            parent = Parent()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
        if (parent == 0) {
            WheelStep(Message, oldSel);
            return;
        }
    }
    const int oldRow = Row();
    TBaseGrid::WndProc(Message);
    if (Row() != oldRow && FSyncGrid->SelectionRow && !DestroyingState())
        SetRow(Row());
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

bool TExtStringGrid::EditorNotification(TMessage &Message)
{
    const Word code = HiWord(static_cast<std::uintptr_t>(Message.WParam));
    const auto from = reinterpret_cast<HWND>(Message.LParam);
    auto isFrom = [from](TWinControl *C) { return C && C->HandleAllocated() && C->Handle() == from; };
    if (code == EN_CHANGE && FShowEditProcess) {
        TBaseGrid::WndProc(Message);
        // Only what the user typed shows: the text an editor is filled with when it opens (a
        // spin editor's 0 for an empty cell) is no change of the cell.
        const std::initializer_list<TCustomEdit *> editors{NormalEdit(), FSpinEdit, EditBtn};
        for (TCustomEdit *e : editors)
            if (isFrom(e) && e->Modified())
                ShowEditProcess(e);
        return true;
    }
    if (code != CBN_SELCHANGE && code != CBN_EDITCHANGE)
        return false;
    if (isFrom(EditCombo)) {
        if (EditMode && (EditControl == edComboEdit || EditControl == edComboList))
            EditComboChange(EditCombo);
    } else if (TWinControl *link = EditLink() ? EditLink()->GetEditControl() : nullptr; isFrom(link) && OnComboChange) {
        const auto index = static_cast<int>(link->Perform(CB_GETCURSEL, 0, 0));
        UnicodeString text;
        if (index != -1) {
            const auto len = link->Perform(CB_GETLBTEXTLEN, WPARAM(index), 0);
            if (len > 0) {
                std::u16string buffer(static_cast<std::size_t>(len) + 1, u'\0');
                link->Perform(CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data()));
                text = QString::fromUtf16(buffer.data(), len);
            }
        }
        OnComboChange(this, Col(), Row(), index, text);
    }
    // An edited text is announced once more by where it shows: the display column, no item.
    if (code == CBN_EDITCHANGE && OnComboChange)
        OnComboChange(this, Col(), Row(), -1, EditCombo ? EditCombo->Text() : UnicodeString());
    return false;
}

void TExtStringGrid::ShowEditProcess(TCustomEdit *Editor)
{
    if (FShowEditProcess && !FEditStart && EditMode && Editor)
        SetEditText(Col(), Row(), Editor->Text());
}
