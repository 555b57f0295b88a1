#pragma once
// The grid's picker editors: the colour drop-down (it writes the colour's text and the cell
// colour), the image drop-down (it writes the cell's image index) and the detail drop-down (it
// writes the chosen caption), each over the shared drop-down editor.

#include "dropdowns/ExtColorPickerDropDown.h"
#include "dropdowns/ExtDetailDropDown.h"
#include "dropdowns/ExtImagePickerDropDown.h"
#include "grid/core/ExtGridDropDowns.h"

class TGridColorDropDown : public TGridDropDownEditor<TExtColorPickerDropDown> {
public:
    explicit TGridColorDropDown(TComponent *AOwner);
    // The colour and list entry loaded when the editor was shown.
    TColor ShownColor = clNone;
    int ShownIndex = -1;

protected:
    bool WantsEnterAndEscape() const override { return true; }
    bool CaretToMouse() const override { return false; }
    // Open, only Tab, Enter and Escape; closed, Home as well.
    bool HandlesKey(Word Key, bool Open) const override;
    bool ChecksKey(Word Key) const override { return Key == VK_RETURN; }
    // Escape: the commit writes the colour, so the shown one comes back first.
    void RestoreText(const UnicodeString &Cell) override;
    UnicodeString EditorText() override { return SelectedColorText(); }
};

class TGridImageDropDown : public TGridDropDownEditor<TExtImagePickerDropDown> {
public:
    explicit TGridImageDropDown(TComponent *AOwner);
    // The item chosen when the editor was shown.
    int ShownIndex = -1;

protected:
    bool CaretToMouse() const override { return false; }
    // Escape: the commit writes the image index, so the shown one comes back first.
    void RestoreText(const UnicodeString &Cell) override;
};

class TGridDetailPickerDropDown : public TGridDropDownEditor<TExtDetailDropDown> {
public:
    explicit TGridDetailPickerDropDown(TComponent *AOwner);

protected:
    bool CaretToMouse() const override { return false; }
};
