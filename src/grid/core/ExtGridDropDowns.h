#pragma once
// The grid's drop-down in-place editors: one template holds what every drop-down editor does
// between show and hide (the keys it keeps from a dialog, commit and cancel, handing navigation
// back to the grid, the grid's key-press and change events); each editor adds its differences.
// Kept apart from ExtGrid.h so that only the grid's editing code sees the drop-down controls.

#include "dropdowns/ExtCalculatorDropDown.h"
#include "dropdowns/ExtMemoDropDown.h"
#include "dropdowns/ExtTimePickerDropDown.h"
#include "dropdowns/ExtMultiColumnDropDown.h"
#include "dropdowns/ExtTrackBarDropDown.h"
#include "grid/core/ExtGrid.h"

template <class TControlT>
class TGridDropDownEditor : public TControlT {
public:
    explicit TGridDropDownEditor(TComponent *AOwner);
    // Auto-complete is allowed after the last key (not after Backspace or Delete).
    bool WorkMode = true;

protected:
    void KeyDown(Word &Key, TShiftState Shift) override;
    void KeyPress(WideChar &Key) override;
    void Change() override;
    void DoExit() override;
    void WMSetFocus(TWMSetFocus &Message) override;
    void CMWantSpecialKey(TCMWantSpecialKey &Message) override;
    // The wheel stays with the cell editor: passed on to the grid, it would move the grid off
    // the cell being edited.
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override
    {
        TControlT::DoMouseWheelDown(Shift, MousePos);
        return true;
    }
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override
    {
        TControlT::DoMouseWheelUp(Shift, MousePos);
        return true;
    }

    // Enter and Escape are wanted from a dialog as well as Tab.
    virtual bool WantsEnterAndEscape() const { return false; }
    // A click that started the edit puts the caret under the mouse.
    virtual bool CaretToMouse() const { return true; }
    // Escape puts the cell text back; the plain setter bypasses formatting.
    virtual void RestoreText(const UnicodeString &Cell) { this->SetTextInternal(Cell); }
    // Runs before the commit check of Enter.
    virtual void BeforeEnterCommit() {}
    // The text the commit check validates and writes.
    virtual UnicodeString EditorText() { return this->Text(); }
    // Whether the key goes through the editor's commit and navigation steps.
    virtual bool HandlesKey(Word Key, bool Open) const;
    // Whether Enter, Up or Down runs the commit check before the key takes effect.
    virtual bool ChecksKey(Word Key) const { return true; }

    TExtStringGrid *FGrid;

private:
    bool CommitCheck(bool ForTab);
};

class TGridMemoDropDown : public TGridDropDownEditor<TExtMemoDropDown> {
public:
    explicit TGridMemoDropDown(TComponent *AOwner);

protected:
    // The memo's lines are the value, not the one display line of the edit.
    UnicodeString EditorText() override;
};

class TGridTrackbarDropDown : public TGridDropDownEditor<TExtTrackBarDropDown> {
public:
    explicit TGridTrackbarDropDown(TComponent *AOwner);

protected:
    bool WantsEnterAndEscape() const override { return true; }
    // The formatting setter, so that the position follows the restored text.
    void RestoreText(const UnicodeString &Cell) override { SetText(Cell); }
};

class TGridCalculatorDropDown : public TGridDropDownEditor<TExtCalculatorDropdown> {
public:
    explicit TGridCalculatorDropDown(TComponent *AOwner);

protected:
    // Enter commits the result of a pending calculation.
    void BeforeEnterCommit() override { CalcResult(); }
};

class TGridTimepickerDropDown : public TGridDropDownEditor<TExtTimePickerDropDown> {
public:
    explicit TGridTimepickerDropDown(TComponent *AOwner);
};

// The multi-column drop-down over a cell; its code is in ExtGridGridPickers.cpp.
class TGridGridDropDown : public TGridDropDownEditor<TExtMultiColumnDropDown> {
public:
    explicit TGridGridDropDown(TComponent *AOwner);

protected:
    // The cell text comes back as it was, not completed from the items.
    void RestoreText(const UnicodeString &Cell) override { SetTextQuiet(Cell); }
};

// The memo's lines as the one text a cell holds.
UnicodeString MemoCellText(TExtMemoDropDown *Memo);
