// Checking an edited value before it is stored: the application may accept, correct or refuse
// it, and a refused value puts the user back into the editor on the same cell.
#include "grid/core/ExtGrid.h"

#include "controls/ExtGridUndoRedo.h"
#include "dropdowns/ExtGridCheck.h"

void TExtStringGrid::SaveOldCellValue(int ACol, int ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const int r = RealColIndex(ACol);
    FOldCellText = (r >= 0 && ARow >= 0 && r < TotalColCount() && ARow < RowCount()) ? GridCells(r, ARow) : UnicodeString();
    FOldCellTextWide = DecodeWideText(FOldCellText);
    FOldModifiedValue = Modified();
}

UnicodeString TExtStringGrid::GetCurrentCell()
{
    const TPoint b = BaseCell(RealColIndex(Col()), Row());
    if (b.X < 0 || b.Y < 0 || b.X >= TotalColCount() || b.Y >= RowCount())
        return UnicodeString();
    return GridCells(b.X, b.Y);
}

void TExtStringGrid::SetCurrentCell(const UnicodeString &Value)
{
    SetCellEx(RealColIndex(Col()), Row(), Value);
}

UnicodeString TExtStringGrid::GetCurrentCellText()
{
    return Cells(RealColIndex(Col()), Row());
}

void TExtStringGrid::SetCurrentCellText(const UnicodeString &Value)
{
    SetCells(RealColIndex(Col()), Row(), Value);
}

bool TExtStringGrid::RunCellValidation(const std::function<void(bool &Valid)> &Check)
{
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    try {
        Check(valid);
        const bool editing = FEditing;
        SaveOldCellValue(Col(), Row());
        FEditing = editing;
    } catch (...) {
        FValidating = false;
        throw;
    }
    FValidating = false;
    if (valid)
        HideFocusWindow();
    return valid;
}

void TExtStringGrid::ReopenRefusedEdit(int ARow)
{
    if (Col() != FOldCol || Row() != ARow)
        FocusCell(FOldCol, ARow, true);
    SetModified(FOldModifiedValue);
    FValidating = false;
    FEditing = true;
    ShowInplaceEdit();
}

bool TExtStringGrid::ValidateCell(const UnicodeString &NewValue)
{
    return RunCellValidation([&](bool &valid) {
        const int c = RealColIndex(FOldCol), r = FOldRow;
        FNewCellText = NewValue;
        if (NewValue != FOldCellText || AlwaysValidate) {
            const bool changed = NewValue != FOldCellText;
            const bool advance = FNavigation->AdvanceOnEnter;
            FNavigation->AdvanceOnEnter = false;
            UnicodeString value = NewValue;
            if (FCellChecker && FCellChecker->AutoCorrect)
                value = FCellChecker->Correct(c, r, value);
            if (OnCellValidate)
                OnCellValidate(this, c, r, value, valid);
            // Only a value that is kept marks the grid and the row as changed.
            if (valid && value != FOldCellText) {
                FGridModified = true;
                if (FixedCols() > 0) {
                    SetRowModified(RealRowIndex(Row()), true);
                    if (FShowModified->Enabled)
                        RepaintCell(0, Row());
                }
            }
            if (valid)
                FooterColumnChanged(c);
            if (FCellChecker && FCellChecker->AutoMarkError)
                value = FCellChecker->MarkError(c, r, value);
            // The undo list keeps what the cell held before this edit.
            if (valid && UndoRedo())
                UndoRedo()->RegisterChange(c, r, FOldCellText, value);
            if (valid && changed)
                DoCellsChanged(TRect(c, r, c, r));
            FNavigation->AdvanceOnEnter = advance;
            FNewCellText = value;
            if (valid) {
                SetCellEx(c, r, value);
                // Inside a merged range the cell keeps the value too, not only the base cell
                // that the cell writes lead to.
                const TPoint b = BaseCell(c, r);
                if (b.X != c || b.Y != r) {
                    SetGridCell(c, r, value);
                    SetCellEx(b.X, b.Y, value);
                }
            } else {
                FLastValidation = false;
                HideEditor();
                SetCellEx(c, r, value != NewValue ? value : FOldCellText);
                if (!value.isEmpty() && value != NewValue)
                    FNewCellText = value;
                else
                    FNewCellText = FOldCellText;
                ReopenRefusedEdit(r);
                if (TExtInplaceEdit *e = NormalEdit(); e && e->Visible() && IsTextEditorType(EditControl))
                    e->SetText(FNewCellText);
                ShowInvalidEntryTip();
            }
            FOldCellText = GridCells(c, r);
        }
    });
}

bool TExtStringGrid::ValidateCellWide(const UnicodeString &NewValue)
{
    return RunCellValidation([&](bool &valid) {
        const int c = RealColIndex(FOldCol), r = FOldRow;
        FNewCellText = NewValue;
        if (NewValue != FOldCellTextWide || AlwaysValidate) {
            const bool changed = NewValue != FOldCellTextWide;
            const bool advance = FNavigation->AdvanceOnEnter;
            FNavigation->AdvanceOnEnter = false;
            UnicodeString value = NewValue;
            FooterColumnChanged(c);
            if (OnCellValidateWide)
                OnCellValidateWide(this, c, r, value, valid);
            if (valid && value != FOldCellTextWide) {
                FGridModified = true;
                if (FShowModified->Enabled && FixedCols() > 0) {
                    SetRowModified(FOldRow, true);
                    RepaintCell(0, Row());
                }
            }
            if (valid && changed)
                DoCellsChanged(TRect(c, r, c, r));
            FNavigation->AdvanceOnEnter = advance;
            FNewCellText = value;
            if (valid) {
                SetWideCells(c, r, value);
            } else {
                HideEditor();
                SetWideCells(c, r, value != NewValue ? value : FOldCellTextWide);
                ReopenRefusedEdit(r);
            }
            FOldCellTextWide = WideCells(c, r);
        }
    });
}

void TExtStringGrid::ShowInvalidEntryTip()
{
    if (InvalidEntryTitle.isEmpty() && InvalidEntryText.isEmpty())
        return;
    FLastInvalidTipTitle = InvalidEntryTitle;
    FLastInvalidTipText = InvalidEntryText;
    const int icon = InvalidEntryIcon == ieInfo ? TTI_INFO : InvalidEntryIcon == ieWarning ? TTI_WARNING
                     : InvalidEntryIcon == ieError                                            ? TTI_ERROR
                                                                                              : TTI_NONE;
    // On the special editor in use (a combo's edit field), else on the text editor.
    if (FSpecialEditor || !EditMode) {
        if (auto *combo = dynamic_cast<TCustomComboBox *>(EditCtrl)) {
            if (combo->Style() != csDropDownList)
                combo->ShowBalloonTip(InvalidEntryTitle, InvalidEntryText, icon);
            return;
        }
        if (auto *edit = dynamic_cast<TCustomEdit *>(EditCtrl)) {
            edit->ShowBalloonTip(InvalidEntryTitle, InvalidEntryText, icon);
            return;
        }
        if (EditCtrl)
            return;
    }
    if (TExtInplaceEdit *e = NormalEdit(); e && e->HandleAllocated())
        e->ShowBalloonTip(InvalidEntryTitle, InvalidEntryText, icon);
}
