// The grid's colour, image and detail picker editors and the grid's side of them: what each
// shows of the cell and what its commit writes back.
#include "grid/core/ExtGridPickers.h"

#include "platform/SysUtils.h"

// ---- the editors ----

TGridColorDropDown::TGridColorDropDown(TComponent *AOwner) : TGridDropDownEditor<TExtColorPickerDropDown>(AOwner) {}

bool TGridColorDropDown::HandlesKey(Word Key, bool Open) const
{
    if (Open)
        return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
    return Key == VK_HOME || TGridDropDownEditor<TExtColorPickerDropDown>::HandlesKey(Key, Open);
}

void TGridColorDropDown::RestoreText(const UnicodeString &Cell)
{
    SetItemIndex(ShownIndex);
    SetSelectedColor(ShownColor);
    SetTextInternal(Cell);
}

TGridImageDropDown::TGridImageDropDown(TComponent *AOwner) : TGridDropDownEditor<TExtImagePickerDropDown>(AOwner) {}

void TGridImageDropDown::RestoreText(const UnicodeString &Cell)
{
    SetItemIndex(ShownIndex);
    SetTextInternal(Cell);
}

TGridDetailPickerDropDown::TGridDetailPickerDropDown(TComponent *AOwner)
    : TGridDropDownEditor<TExtDetailDropDown>(AOwner)
{
}

// ---- the grid's side ----

TGridColorDropDown *TExtStringGrid::ColorPickerDropDown()
{
    if (!EditColorPickerDropDown) {
        EditColorPickerDropDown = PrepareDropDownEditor(NewDropDown<TGridColorDropDown>(this));
        EditColorPickerDropDown->AddDefaultColors();
        EditColorPickerDropDown->OnSelect = [this](TObject *) { DoColorSelect(); };
    }
    return EditColorPickerDropDown;
}

TGridImageDropDown *TExtStringGrid::ImagePickerDropDown()
{
    if (!EditImagePickerDropDown) {
        EditImagePickerDropDown = PrepareDropDownEditor(NewDropDown<TGridImageDropDown>(this));
        EditImagePickerDropDown->OnSelect = [this](TObject *) { DoImageSelect(); };
    }
    return EditImagePickerDropDown;
}

void TExtStringGrid::DoColorSelect()
{
    if (OnColorSelect && EditColorPickerDropDown)
        OnColorSelect(this, Col(), Row(), EditColorPickerDropDown->SelectedColor(),
                      EditColorPickerDropDown->SelectedColorText());
}

void TExtStringGrid::DoImageSelect()
{
    if (OnImageSelect && EditImagePickerDropDown)
        OnImageSelect(this, Col(), Row(), EditImagePickerDropDown->ItemIndex());
}

TGridDetailPickerDropDown *TExtStringGrid::DetailPickerDropDown()
{
    if (!EditDetailPickerDropDown)
        EditDetailPickerDropDown = PrepareDropDownEditor(NewDropDown<TGridDetailPickerDropDown>(this));
    return EditDetailPickerDropDown;
}

TExtCustomDropDown *TExtStringGrid::PickerEditorOf(TEditorType Type)
{
    switch (Type) {
    case edColorPickerDropDown: return ColorPickerDropDown();
    case edImagePickerDropDown: return ImagePickerDropDown();
    case edDetailDropDown: return DetailPickerDropDown();
    default: return nullptr;
    }
}

void TExtStringGrid::ShowPickerValue(int ACol, int ARow, const UnicodeString &EditText)
{
    switch (EditControl) {
    case edDetailDropDown: {
        TGridDetailPickerDropDown *d = DetailPickerDropDown();
        d->SetEditorEnabled(true);
        d->SetText(EditText);
        const int i = d->Items()->IndexOf(d->Text());
        if (i >= 0)
            d->SetItemIndex(i);
        break;
    }
    case edColorPickerDropDown: {
        TGridColorDropDown *d = ColorPickerDropDown();
        d->SetSelectedColor(HasCellTypeIn(ACol, ARow, {ctShape}) ? GetShapeColor(ACol, ARow) : Colors(ACol, ARow));
        d->ShownColor = d->SelectedColor();
        d->ShownIndex = d->ItemIndex();
        break;
    }
    case edImagePickerDropDown: {
        TGridImageDropDown *d = ImagePickerDropDown();
        const bool listImage = HasCellTypeIn(ACol, ARow, {ctImageList});
        if (listImage || HasCellTypeIn(ACol, ARow, {ctDataImage})) {
            d->SetImages(GridImages());
            if (d->Items()->Count() == 0)
                d->AddImagesFromImageList();
            int index = -1;
            if (listImage)
                GetImageIdx(ACol, ARow, index);
            else
                index = Ints(ACol, ARow);
            d->SetImageIndex(index);
        }
        const int i = d->ItemIndex();
        d->SetText(i >= 0 && i < d->Items()->Count() ? d->Items()->Items(i)->Caption() : UnicodeString());
        d->ShownIndex = i;
        break;
    }
    default: break;
    }
}

bool TExtStringGrid::CommitPickerValue(int ACol, int ARow)
{
    if (EditControl == edColorPickerDropDown) {
        TGridColorDropDown *d = ColorPickerDropDown();
        TColor colour = d->SelectedColor();
        UnicodeString text = d->SelectedColorText();
        if (OnColorSelected)
            OnColorSelected(this, ACol, ARow, colour, text);
        WriteEditValue(ACol, ARow, text);
        if (HasCellTypeIn(ACol, ARow, {ctShape}))
            SetShapeColor(ACol, ARow, colour);
        else
            SetColors(ACol, ARow, colour);
        return true;
    }
    if (EditControl == edImagePickerDropDown) {
        int index = ImagePickerDropDown()->GetImageIndex();
        if (OnImageSelected)
            OnImageSelected(this, ACol, ARow, index);
        if (HasCellTypeIn(ACol, ARow, {ctImageList}))
            SetImageIdx(ACol, ARow, index);
        else if (HasCellTypeIn(ACol, ARow, {ctDataImage}))
            WriteEditValue(ACol, ARow, IntToStr(index));
        return true;
    }
    return false;
}
